#include "ui/traverse/observation_grid.h"

#include <QHeaderView>
#include <QTableWidget>

#include "core/message.h"
#include "core/text_utils.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

namespace {

const char* const kHeadings[10] = {"序   号", "  测站名", "  水平角", "  平  距", "  往仪高",
                                   "  往标高", "  往竖角", "  返仪高", "  返标高", "  返竖角"};

}  // namespace

ObservationGrid::ObservationGrid(QWidget* area, MessageBoxes& messages)
    : QObject(area), messages_(messages), area_(area) {
  grid_ = new QTableWidget(area);
  SetUpGrid(grid_, 10, 64);
  QStringList headings;
  for (const char* heading : kHeadings) headings << QString::fromUtf8(heading);
  grid_->setHorizontalHeaderLabels(headings);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->horizontalHeader()->setSectionsClickable(false);

  // Every cell of a station row takes input; opening the last row appends
  // a fresh numbered row below it, whether by a click or by the keyboard.
  CellEditorRules rules;
  rules.editable = [](int, int column) { return column >= 1 && column <= formats::kObservationColumns; };
  rules.lastColumn = [](int) { return formats::kObservationColumns; };
  rules.opened = [this](int tableRow) {
    if (tableRow + 1 == grid_->rowCount()) appendRow();
  };
  editor_ = new CellEditor(grid_, area, std::move(rules));
}

int ObservationGrid::rows() const { return grid_->rowCount() + 1; }

QString ObservationGrid::text(int row, int column) const {
  if (column < 0 || column >= grid_->columnCount()) return {};
  if (row == 0) return grid_->horizontalHeaderItem(column)->text();
  if (row < 1 || row >= rows()) return {};
  const QTableWidgetItem* item = grid_->item(row - 1, column);
  return item ? item->text() : QString();
}

void ObservationGrid::setText(int row, int column, const QString& text) {
  if (row < 1 || row >= rows() || column < 0 || column >= grid_->columnCount()) return;
  QTableWidgetItem* item = grid_->item(row - 1, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row - 1, column, item);
  }
  if (column == 0) {
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(grid_->palette().button());
    item->setTextAlignment(Qt::AlignCenter);
  }
  item->setText(text);
}

int ObservationGrid::currentRow() const { return grid_->currentRow() + 1; }

int ObservationGrid::currentColumn() const { return std::max(0, grid_->currentColumn()); }

void ObservationGrid::setCurrentCell(int row, int column) {
  if (row < 1 || row >= rows()) return;
  grid_->setCurrentCell(row - 1, column);
}

void ObservationGrid::setRows(int count) {
  const int old = rows();
  grid_->setRowCount(std::max(0, count - 1));
  for (int r = old; r < count; ++r) {
    for (int c = 0; c < 10; ++c) setText(r, c, QString());
  }
}

void ObservationGrid::renumber() {
  for (int r = 1; r < rows(); ++r) setText(r, 0, QString::number(r));
}

void ObservationGrid::setUp() {
  discardEditor();
  setRows(2);
  setText(1, 0, "1");
  setCurrentCell(1, 1);
}

void ObservationGrid::reset() {
  discardEditor();
  setRows(2);
  for (int c = 1; c < 10; ++c) setText(1, c, QString());
  renumber();
  setCurrentCell(1, 1);
}

formats::ObservationTable ObservationGrid::table() const {
  formats::ObservationTable table;
  for (int r = 1; r < rows(); ++r) {
    formats::ObservationRow row;
    for (int c = 1; c <= formats::kObservationColumns; ++c) row[c - 1] = text(r, c).toStdString();
    table.rows.push_back(row);
  }
  return table;
}

void ObservationGrid::fill(const formats::ObservationTable& table) {
  discardEditor();
  setRows(table.stationCount() + 1);
  for (int r = 1; r <= table.stationCount(); ++r) {
    for (int c = 1; c <= formats::kObservationColumns; ++c) {
      setText(r, c, QString::fromStdString(table.cell(r, c)));
    }
  }
  renumber();
  setCurrentCell(1, 1);
}

void ObservationGrid::openEditor() { editor_->open(); }

void ObservationGrid::appendRow() {
  const int oldRows = rows();
  setRows(oldRows + 1);
  setText(oldRows, 0, QString::number(oldRows));
}

void ObservationGrid::discardEditor() { editor_->discard(); }

void ObservationGrid::insertRow() {
  editor_->commitAndClose();
  if (rows() < 3) {
    setCurrentCell(1, 1);
    grid_->setFocus(Qt::OtherFocusReason);
  }
  const int row = std::max(1, currentRow());
  grid_->insertRow(row - 1);
  for (int c = 0; c < 10; ++c) setText(row, c, QString());
  renumber();
  grid_->setCurrentCell(grid_->rowCount() - 1, 0);
}

void ObservationGrid::deleteRow() {
  editor_->commitAndClose();
  if (rows() == 2) {
    messages_.inform(grid_->window(),
                     Message{"顶行严禁删除！", "提醒", MessageIcon::Information});
    return;
  }
  if (rows() < 2) return;
  const int row = currentRow() >= 1 ? currentRow() : 1;
  grid_->removeRow(row - 1);
  renumber();
  grid_->setCurrentCell(grid_->rowCount() - 1, 0);
}

void ObservationGrid::pruneTrailingRow() {
  editor_->commitAndClose();
  if (rows() <= 2) return;
  const int last = rows() - 1;
  setCurrentCell(last, 1);
  if (QString::fromStdString(TrimLeft(text(last, 1).toStdString())).isEmpty()) {
    grid_->removeRow(last - 1);
    grid_->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace korvane::ui
