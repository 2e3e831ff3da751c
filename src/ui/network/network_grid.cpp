#include "ui/network/network_grid.h"

#include <QHeaderView>
#include <QTableWidget>

#include "ui/widgets/cell_editor.h"

namespace korvane::ui {

namespace {

// Empty rows kept below the data so that typing can go on.
constexpr int kSpareRows = 5;

}  // namespace

NetworkGrid::NetworkGrid(QWidget* area, const char* objectName, const QStringList& captions, int emptyRows)
    : QObject(area) {
  grid_ = new QTableWidget(area);
  grid_->setObjectName(objectName);
  grid_->setColumnCount(static_cast<int>(captions.size()) + 1);
  grid_->setHorizontalHeaderLabels(QStringList{QString::fromUtf8("序号")} + captions);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->verticalHeader()->setVisible(false);
  grid_->verticalHeader()->setDefaultSectionSize(26);
  grid_->setColumnWidth(0, 48);
  for (int c = 1; c <= captions.size(); ++c) grid_->setColumnWidth(c, 96);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->setFocusPolicy(Qt::StrongFocus);

  CellEditorRules rules;
  rules.editable = [this](int row, int column) {
    return row >= 0 && row < grid_->rowCount() && column >= 1 && column < grid_->columnCount();
  };
  rules.lastColumn = [this](int) { return grid_->columnCount() - 1; };
  // Typing into the last row makes room for the next one.
  rules.opened = [this](int row) {
    if (row == grid_->rowCount() - 1) appendRows(1);
  };
  editor_ = new CellEditor(grid_, area, std::move(rules));
  appendRows(emptyRows);
}

int NetworkGrid::rows() const { return grid_->rowCount(); }

int NetworkGrid::columns() const { return grid_->columnCount() - 1; }

QString NetworkGrid::text(int row, int column) const {
  const QTableWidgetItem* item = grid_->item(row, column + 1);
  return item ? item->text() : QString();
}

void NetworkGrid::setText(int row, int column, const QString& text) {
  if (row < 0 || row >= rows() || column < 0 || column >= columns()) return;
  QTableWidgetItem* item = grid_->item(row, column + 1);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row, column + 1, item);
  }
  item->setText(text);
}

TableRows NetworkGrid::contents() const {
  TableRows out(static_cast<std::size_t>(rows()));
  std::size_t used = 0;
  for (int r = 0; r < rows(); ++r) {
    for (int c = 0; c < columns(); ++c) {
      out[r].push_back(text(r, c).trimmed().toStdString());
      if (!out[r].back().empty()) used = static_cast<std::size_t>(r) + 1;
    }
  }
  out.resize(used);
  return out;
}

void NetworkGrid::fill(const TableRows& contents) {
  editor_->discard();
  grid_->setRowCount(0);
  appendRows(static_cast<int>(contents.size()) + kSpareRows);
  for (std::size_t r = 0; r < contents.size(); ++r) {
    for (std::size_t c = 0; c < contents[r].size(); ++c) {
      setText(static_cast<int>(r), static_cast<int>(c), QString::fromStdString(contents[r][c]));
    }
  }
  grid_->scrollToTop();
}

void NetworkGrid::insertRow() {
  editor_->commitAndClose();
  const int at = grid_->currentRow() < 0 ? rows() : grid_->currentRow();
  grid_->insertRow(at);
  numberRows();
  // The new row is the one to type into.
  grid_->setCurrentCell(at, std::max(1, grid_->currentColumn()));
}

bool NetworkGrid::deleteRow() {
  editor_->commitAndClose();
  const int row = grid_->currentRow();
  if (row < 0 || row >= rows()) return false;
  editor_->discard();
  grid_->removeRow(row);
  if (rows() == 0) appendRows(1);
  numberRows();
  return true;
}

void NetworkGrid::appendRows(int count) {
  const int first = rows();
  grid_->setRowCount(first + count);
  numberRows();
}

void NetworkGrid::numberRows() {
  const QBrush fixed = grid_->palette().button();
  for (int r = 0; r < rows(); ++r) {
    QTableWidgetItem* item = grid_->item(r, 0);
    if (!item) {
      item = new QTableWidgetItem;
      item->setBackground(fixed);
      item->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(r, 0, item);
    }
    item->setText(QString::number(r + 1));
  }
}

}  // namespace korvane::ui
