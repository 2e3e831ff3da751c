#pragma once
// The observation grid and its floating edit box. Rows are counted the way
// the surveyor sees them: row 0 is the heading row, rows 1..Rows-1 are the
// stations, column 0 holds the serial number and columns 1..9 the nine
// observation fields.
#include <QObject>
#include <QString>

#include "formats/observation_table.h"
#include "ui/widgets/cell_editor.h"

class QLineEdit;
class QTableWidget;
class QWidget;

namespace korvane::ui {

class MessageBoxes;

class ObservationGrid : public QObject {
  Q_OBJECT
 public:
  // The grid (MSFlexGrid1) and the edit box (TextShuJu) are created as
  // children of the given window area.
  ObservationGrid(QWidget* area, MessageBoxes& messages);

  QTableWidget* grid() const { return grid_; }
  QLineEdit* editBox() const { return editor_->box(); }
  CellEditor& editor() const { return *editor_; }

  // Heading row included: a grid with one station row has 2 rows.
  int rows() const;
  // Text of cell (row, column), row >= 1; the heading row reads its heading.
  QString text(int row, int column) const;
  void setText(int row, int column, const QString& text);
  // The grid's current cell (row >= 1), or row 0 when there is none.
  int currentRow() const;
  int currentColumn() const;
  void setCurrentCell(int row, int column);
  int editRow() const { return editor_->row() + 1; }
  int editColumn() const { return editor_->column(); }

  // Heading row, one station row numbered "1", nothing else.
  void setUp();
  // A new traverse: one empty station row.
  void reset();
  // The stations as the engines read them.
  formats::ObservationTable table() const;
  // Replaces the stations with the table's rows, renumbered.
  void fill(const formats::ObservationTable& table);

  // The editing operations of the window.
  void openEditor();                    // a click on the current cell
  void insertRow();                     // 插入一行
  void deleteRow();                     // 删除该行
  void pruneTrailingRow();              // the pointer reaches a compute command
  // Closes the edit box without writing its text anywhere.
  void discardEditor();

 private:
  void renumber();
  void appendRow();
  void setRows(int rows);

  MessageBoxes& messages_;
  QWidget* area_;
  QTableWidget* grid_;
  CellEditor* editor_;
};

}  // namespace korvane::ui
