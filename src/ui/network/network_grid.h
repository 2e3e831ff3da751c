#pragma once
// A data table of the network window: a number column and text columns
// under a heading row, typed through the shared cell editor (Tab and Enter
// move on, opening the last row appends an empty one), with the row commands
// insert and delete at the current row.
#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QTableWidget;
class QWidget;

namespace korvane::ui {

class CellEditor;

using TableRows = std::vector<std::vector<std::string>>;

class NetworkGrid : public QObject {
  Q_OBJECT
 public:
  // `captions` head the text columns; column 0 holds the row numbers.
  NetworkGrid(QWidget* area, const char* objectName, const QStringList& captions, int emptyRows);

  QTableWidget* grid() const { return grid_; }
  CellEditor& editor() const { return *editor_; }
  int rows() const;
  int columns() const;  // text columns, the number column not counted
  // Text column c (0-based, the number column not counted).
  QString text(int row, int column) const;
  void setText(int row, int column, const QString& text);

  // The text columns of every row, trimmed; trailing empty rows left out.
  TableRows contents() const;
  // Shows the rows, followed by a few empty ones to type into.
  void fill(const TableRows& rows);

  // An empty row above the current one (at the end when none is current),
  // which becomes current; and the removal of the current row, false when
  // there is no current row.
  void insertRow();
  bool deleteRow();

 private:
  void appendRows(int count);
  void numberRows();

  QTableWidget* grid_;
  CellEditor* editor_;
};

}  // namespace korvane::ui
