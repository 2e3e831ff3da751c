#include "ui/widgets/hover_command.h"

#include <QChildEvent>
#include <QResizeEvent>

#include "ui/shell/platform.h"

namespace korvane::ui {

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

HoverPair AddHoverPair(CommandPlace* place, const char* labelName, const QString& labelText,
                       const char* buttonName, const QString& buttonText) {
  auto* label = new HoverLabel(labelText, place);
  label->setObjectName(labelName);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFont(UiFont(11));
  auto* button = new QPushButton(buttonText, place);
  button->setObjectName(buttonName);
  button->setFont(UiFont(11));
  button->hide();
  return HoverPair{label, button};
}

void ShowButton(const HoverPair& pair) {
  pair.label->hide();
  pair.button->show();
  pair.button->raise();
}

}  // namespace korvane::ui
