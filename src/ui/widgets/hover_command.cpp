#include "ui/widgets/hover_command.h"

#include <QChildEvent>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "ui/shell/platform.h"
#include "ui/shell/report_printing.h"

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

HoverCommandColumn::HoverCommandColumn(QWidget* parent, std::function<void(HoverLabel*)> hovered)
    : parent_(parent), layout_(new QVBoxLayout), hovered_(std::move(hovered)) {
  layout_->setSpacing(6);
}

HoverPair HoverCommandColumn::add(const char* labelName, const char* buttonName, const char* text,
                                  const char* buttonText) {
  lastPlace_ = new CommandPlace(parent_);
  lastPlace_->setFixedSize(200, 40);
  layout_->addWidget(lastPlace_);
  return addTo(lastPlace_, labelName, buttonName, text, buttonText ? buttonText : text);
}

HoverPair HoverCommandColumn::addToLastPlace(const char* labelName, const char* buttonName, const char* text) {
  return addTo(lastPlace_, labelName, buttonName, text, text);
}

HoverPair HoverCommandColumn::addTo(CommandPlace* place, const char* labelName, const char* buttonName,
                                    const char* text, const char* buttonText) {
  const HoverPair made = AddHoverPair(place, labelName, QString(15, ' ') + QString::fromUtf8(text), buttonName,
                                      QString::fromUtf8(buttonText));
  HoverLabel* label = made.label;
  QObject::connect(label, &HoverLabel::hovered, parent_, [hovered = hovered_, label] { hovered(label); });
  pairs_.push_back(made);
  return made;
}

HoverCommandColumn::OutputCommands HoverCommandColumn::addOutputCommands() {
  OutputCommands made;
  made.print = add("Label13", kPrintCommand, kPrintCaption);
  made.pdf = add("Label14", kPdfCommand, kPdfCaption);
  made.dxf = add("Label15", "dcdxf", "导出DXF…");
  made.coordinates = add("Label16", "dczb", "导出坐标…");
  return made;
}

HoverCommandColumn::TableCommands HoverCommandColumn::addTableCommands() {
  TableCommands made;
  made.open = add("Label7", "command_dk", "打开数据");
  made.insertRow = add("Label8", "Command_tj", "插入一行");
  made.deleteRow = add("Label6", "Command_sc", "删除该行");
  return made;
}

QVBoxLayout* HoverCommandColumn::finish() {
  layout_->addStretch();
  return layout_;
}

const HoverPair* HoverCommandColumn::pairOf(const HoverLabel* label) const {
  for (const HoverPair& pair : pairs_)
    if (pair.label == label) return &pair;
  return nullptr;
}

void HoverCommandColumn::showCaptions() const {
  for (const HoverPair& pair : pairs_) {
    pair.button->hide();
    pair.label->show();
  }
}

}  // namespace korvane::ui
