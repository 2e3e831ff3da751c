#include "ui/widgets/tool_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::ui {

QLineEdit* AddBox(QGridLayout* grid, int row, int column, const char* name, const char* caption,
                  const char* tooltip, bool readOnly) {
  auto* label = new QLabel(QString::fromUtf8(caption));
  auto* box = new QLineEdit;
  box->setObjectName(name);
  box->setReadOnly(readOnly);
  box->setToolTip(QString::fromUtf8(tooltip));
  box->setMinimumWidth(150);
  label->setBuddy(box);
  grid->addWidget(label, row, column);
  grid->addWidget(box, row, column + 1);
  return box;
}

QWidget* ButtonRow(QWidget* parent, std::initializer_list<ButtonSpec> buttons) {
  auto* bar = new QWidget(parent);
  auto* row = new QHBoxLayout(bar);
  for (const ButtonSpec& entry : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(entry.caption), bar);
    button->setObjectName(entry.name);
    QObject::connect(button, &QPushButton::clicked, bar, entry.action);
    row->addWidget(button);
  }
  return bar;
}

void ClearBoxes(QWidget* window, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (auto* box = window->findChild<QLineEdit*>(name)) box->clear();
}

void SetBox(QWidget* window, const char* name, const std::string& text) {
  if (auto* box = window->findChild<QLineEdit*>(name)) box->setText(QString::fromStdString(text));
}

std::string BoxText(const QWidget* window, const char* name) {
  const auto* box = window->findChild<QLineEdit*>(name);
  return box ? box->text().toStdString() : std::string();
}

}  // namespace korvane::ui
