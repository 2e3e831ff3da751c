#pragma once
// A row of push buttons along the foot of a window: each button named as the
// control it is, with its caption and what a click does.
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace korvane::ui {

class ButtonRow {
 public:
  explicit ButtonRow(QWidget* owner) : bar_(new QWidget(owner)), row_(new QHBoxLayout(bar_)), owner_(owner) {}

  template <typename Slot>
  QPushButton* add(const char* name, const char* caption, Slot slot) {
    auto* button = new QPushButton(QString::fromUtf8(caption), bar_);
    button->setObjectName(name);
    QObject::connect(button, &QPushButton::clicked, owner_, slot);
    row_->addWidget(button);
    return button;
  }
  QWidget* widget() const { return bar_; }

 private:
  QWidget* bar_;
  QHBoxLayout* row_;
  QWidget* owner_;
};

}  // namespace korvane::ui
