#pragma once
// The table of the rigorous-adjustment window (MSFlexGrid1): captions in
// rows 0, 3 and Rows-3, the known points A and B in rows 1 and 2, the
// stations from row 4 on, then C and D in the last two rows. Rows are counted
// as the window counts them, row 0 included. Cells are edited with the shared
// cell editor; the known-point rows take columns 1 to 4 only.
#include <QObject>
#include <QString>

#include "formats/rigorous_table.h"

class QLineEdit;
class QTableWidget;
class QWidget;

namespace korvane::ui {

class CellEditor;

class RigorousGrid : public QObject {
  Q_OBJECT
 public:
  // The grid and the edit box (TextShuJu) are created in the window area.
  explicit RigorousGrid(QWidget* area);

  QTableWidget* grid() const { return grid_; }
  CellEditor& editor() const { return *editor_; }
  QLineEdit* editBox() const;

  int rows() const;
  QString text(int row, int column) const;
  void setText(int row, int column, const QString& text);
  int currentRow() const;
  int currentColumn() const;
  void setCurrentCell(int row, int column);

  // The table as the engine, the report and the data file read it.
  formats::RigorousTable table() const;
  // Shows the table, captions and numbers included.
  void fill(const formats::RigorousTable& table);
  // Removes every station row and puts the given number of empty numbered
  // rows in their place; the known points stay.
  void rebuildStations(int stations);
  // Whether a cell belongs to a caption row or the number column.
  bool isFixed(int row, int column) const;

  // The row commands at the current row; false when the row does not allow
  // them (nothing changes then).
  bool insertRow();
  bool deleteRow();

 private:
  bool changeStations(bool inserting);
  void styleFixedCells();

  QTableWidget* grid_;
  CellEditor* editor_;
};

}  // namespace korvane::ui
