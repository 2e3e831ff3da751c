#include "ui/traverse/rigorous_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

#include "ui/widgets/cell_editor.h"

namespace korvane::ui {

namespace {

bool IsCaptionRow(int row, int rows) { return row == 0 || row == 3 || row == rows - 3; }

bool IsKnownPointRow(int row, int rows) {
  return row == 1 || row == 2 || row == rows - 2 || row == rows - 1;
}

// The last column that takes input on a row: the known points have a name,
// X, Y and H.
int LastInputColumn(int row, int rows) { return IsKnownPointRow(row, rows) ? 4 : 9; }

}  // namespace

RigorousGrid::RigorousGrid(QWidget* area) : QObject(area) {
  grid_ = new QTableWidget(area);
  SetUpGrid(grid_, formats::kRigorousColumns, 70);
  grid_->horizontalHeader()->setVisible(false);

  // The structure of the table changes only through the row commands, the
  // number of sides and opening a file: opening the last row appends nothing.
  CellEditorRules rules;
  rules.editable = [this](int row, int column) {
    const int n = grid_->rowCount();
    return row > 0 && row < n && !IsCaptionRow(row, n) && column >= 1 &&
           column <= LastInputColumn(row, n);
  };
  rules.lastColumn = [this](int row) { return LastInputColumn(row, grid_->rowCount()); };
  editor_ = new CellEditor(grid_, area, std::move(rules));
  fill(formats::InitialRigorousTable());
}

QLineEdit* RigorousGrid::editBox() const { return editor_->box(); }

int RigorousGrid::rows() const { return grid_->rowCount(); }

QString RigorousGrid::text(int row, int column) const {
  const QTableWidgetItem* item = grid_->item(row, column);
  return item ? item->text() : QString();
}

void RigorousGrid::setText(int row, int column, const QString& text) {
  if (row < 0 || row >= rows() || column < 0 || column >= formats::kRigorousColumns) return;
  QTableWidgetItem* item = grid_->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row, column, item);
  }
  item->setText(text);
}

int RigorousGrid::currentRow() const { return grid_->currentRow(); }

int RigorousGrid::currentColumn() const { return std::max(0, grid_->currentColumn()); }

void RigorousGrid::setCurrentCell(int row, int column) {
  if (row < 0 || row >= rows()) return;
  grid_->setCurrentCell(row, column);
}

bool RigorousGrid::isFixed(int row, int column) const {
  const int n = rows();
  return column == 0 || IsCaptionRow(row, n) || column > LastInputColumn(row, n);
}

formats::RigorousTable RigorousGrid::table() const {
  formats::RigorousTable table;
  table.resizeRows(rows());
  for (int r = 0; r < rows(); ++r) {
    for (int c = 0; c < formats::kRigorousColumns; ++c) table.at(r, c) = text(r, c).toStdString();
  }
  return table;
}

void RigorousGrid::fill(const formats::RigorousTable& table) {
  editor_->discard();
  grid_->setRowCount(table.rows());
  for (int r = 0; r < table.rows(); ++r) {
    for (int c = 0; c < formats::kRigorousColumns; ++c) setText(r, c, QString::fromStdString(table.at(r, c)));
  }
  styleFixedCells();
}

void RigorousGrid::styleFixedCells() {
  const QBrush fixed = grid_->palette().button();
  const QBrush input = grid_->palette().base();
  for (int r = 0; r < rows(); ++r) {
    for (int c = 0; c < formats::kRigorousColumns; ++c) {
      QTableWidgetItem* item = grid_->item(r, c);
      const bool isFixedCell = isFixed(r, c);
      item->setBackground(isFixedCell ? fixed : input);
      item->setTextAlignment(c == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    }
  }
}

void RigorousGrid::rebuildStations(int stations) {
  formats::RigorousTable t = table();
  t.eraseRows(formats::RigorousTable::stationRow(1), std::max(t.stationCount(), 0));
  ResizeStations(t, stations);
  fill(t);
  setCurrentCell(formats::RigorousTable::stationRow(1), 1);
}

bool RigorousGrid::insertRow() { return changeStations(true); }

bool RigorousGrid::deleteRow() { return changeStations(false); }

// A station row put in at the current row, or the current one taken out; the
// rows of the known points and the closing rows stay.
bool RigorousGrid::changeStations(bool inserting) {
  editor_->commitAndClose();
  const int row = currentRow();
  const int column = currentColumn();
  if (!(3 < row && row < rows() - (inserting ? 2 : 3))) return false;
  formats::RigorousTable t = table();
  if (inserting)
    t.insertRows(row, 1);
  else
    t.eraseRows(row, 1);
  NumberStations(t);
  fill(t);
  setCurrentCell(inserting ? row : std::min(row, rows() - 4 >= 4 ? rows() - 4 : 3), column);
  return true;
}

}  // namespace korvane::ui
