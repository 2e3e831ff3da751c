#pragma once
// Building blocks of the small tool windows: labelled boxes in a grid found
// again by their object names, and a row of named buttons.
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>

class QGridLayout;
class QLineEdit;
class QWidget;

namespace korvane::ui {

// A box named `name` with its caption in column `column` and the box beside
// it; output boxes are read-only.
QLineEdit* AddBox(QGridLayout* grid, int row, int column, const char* name, const char* caption,
                  const char* tooltip, bool readOnly);

struct ButtonSpec {
  const char* name;
  const char* caption;
  std::function<void()> action;
};
// A row of buttons in a widget of its own.
QWidget* ButtonRow(QWidget* parent, std::initializer_list<ButtonSpec> buttons);

// The texts of the boxes of `window` named in the list, emptied.
void ClearBoxes(QWidget* window, std::initializer_list<const char*> names);
void SetBox(QWidget* window, const char* name, const std::string& text);
std::string BoxText(const QWidget* window, const char* name);

}  // namespace korvane::ui
