#include "ui/hover_command.h"

#include <QChildEvent>
#include <QResizeEvent>

namespace korvane {

void HoverLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  if (isEnabled()) emit hovered();
}

void CommandPlace::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  for (QObject* child : children()) {
    if (auto* widget = qobject_cast<QWidget*>(child)) widget->setGeometry(rect());
  }
}

void CommandPlace::childEvent(QChildEvent* event) {
  QWidget::childEvent(event);
  if (event->added()) {
    if (auto* widget = qobject_cast<QWidget*>(event->child())) widget->setGeometry(rect());
  }
}

}  // namespace korvane
