#pragma once
// The floating edit box laid over a cell of a table widget, shared by the
// observation grid and the rigorous-adjustment table. It copies what is typed
// into the cell at every keystroke, commits when it loses the focus, closes
// on Up and Down, puts the cell's earlier text back on Escape, and moves on
// with Tab and Enter so that a whole traverse can be typed without the mouse. What differs between the tables
// (which cells take input, how far a row goes, what opening the last row
// does) is given as rules.
#include <QObject>
#include <QString>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace korvane::ui {

// Rows and columns here are those of the table widget (its first row is 0).
struct CellEditorRules {
  // Whether the cell takes typed text.
  std::function<bool(int row, int column)> editable;
  // The last column that Tab and Enter visit on the row.
  std::function<int(int row)> lastColumn;
  // Called after the editor opened on a cell; the main grid appends a row
  // when that cell is in its last row. May be empty.
  std::function<void(int row)> opened;
};

// The look and behaviour both grids share: no row numbers at the side, the
// number column `numberWidth` wide and the others 92 pixels, one cell
// selected at a time, no editing in place (the box does it), the hint on
// how angles and one-way heights are typed.
void SetUpGrid(QTableWidget* grid, int columns, int numberWidth);

class CellEditor : public QObject {
  Q_OBJECT
 public:
  // The box (TextShuJu) is created as a child of the window area.
  CellEditor(QTableWidget* grid, QWidget* area, CellEditorRules rules);

  QLineEdit* box() const { return box_; }
  // The cell the box was last opened on.
  int row() const { return row_; }
  int column() const { return column_; }
  bool isOpen() const;

  // Opens the box over the grid's current cell, as a click does: filled with
  // the cell's text, all of it selected so that typing replaces it.
  void open();
  // Opens the box over the current cell with one typed character.
  void openTyping(const QString& typed);
  // Writes the box's text into its cell and closes it.
  void commitAndClose();
  // Closes the box without writing its text anywhere.
  void discard();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool boxKey(int key);
  void stepCurrentRow(int step);
  bool gridKey(const QKeyEvent& key);
  void onCellClicked(int row, int column);
  void onTextChanged(const QString& text);
  void openAt(int row, int column, const QString& text, bool selectAll);
  void moveOn();
  void commitOnFocusLoss();
  void closeOnScroll();
  void writeCell(int row, int column, const QString& text);

  QTableWidget* grid_;
  QWidget* area_;
  QLineEdit* box_;
  CellEditorRules rules_;
  int row_ = 0;
  int column_ = 1;
  QString before_;  // the cell's text when the box was opened on it
  bool discarding_ = false;
  bool navigating_ = false;
};

}  // namespace korvane::ui
