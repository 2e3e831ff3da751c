#pragma once
// A row (or column) of push buttons: each button named as the control it
// is, with its caption and what a click does. The window keeps the buttons
// it acts on later from what add() returns.
#include <QBoxLayout>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace korvane::ui {

class ButtonRow : public QWidget {
 public:
  explicit ButtonRow(QWidget* owner, QBoxLayout::Direction direction = QBoxLayout::LeftToRight)
      : QWidget(owner), row_(new QBoxLayout(direction, this)), owner_(owner) {}

  template <typename Slot>
  QPushButton* add(const char* name, const char* caption, Slot slot) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(name);
    QObject::connect(button, &QPushButton::clicked, owner_, slot);
    row_->addWidget(button);
    return button;
  }
  // Space that pushes the buttons after it to the far end (or those before
  // it to the near end).
  void addStretch() { row_->addStretch(); }

 private:
  QBoxLayout* row_;
  QWidget* owner_;
};

}  // namespace korvane::ui
