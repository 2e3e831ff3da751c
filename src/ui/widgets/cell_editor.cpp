#include "ui/widgets/cell_editor.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

namespace korvane::ui {

namespace {

const char* const kGridTip =
    "注意：水平右角时数值前加“－”；髙差单程时所有返测栏输为“0”！";

}  // namespace

void SetUpGrid(QTableWidget* grid, int columns, int numberWidth) {
  grid->setObjectName("MSFlexGrid1");
  grid->setColumnCount(columns);
  grid->horizontalHeader()->setMinimumSectionSize(40);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setDefaultSectionSize(28);
  grid->setColumnWidth(0, numberWidth);
  for (int c = 1; c < columns; ++c) grid->setColumnWidth(c, 92);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setToolTip(QString::fromUtf8(kGridTip));
  grid->setFocusPolicy(Qt::StrongFocus);
}

CellEditor::CellEditor(QTableWidget* grid, QWidget* area, CellEditorRules rules)
    : QObject(area), grid_(grid), area_(area), rules_(std::move(rules)) {
  box_ = new QLineEdit(area);
  box_->setObjectName("TextShuJu");
  box_->setFrame(false);
  box_->hide();
  box_->installEventFilter(this);
  grid_->installEventFilter(this);

  connect(grid_, &QTableWidget::cellClicked, this, &CellEditor::onCellClicked);
  connect(box_, &QLineEdit::textChanged, this, &CellEditor::onTextChanged);
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, &CellEditor::closeOnScroll);
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
          &CellEditor::closeOnScroll);
}

bool CellEditor::isOpen() const { return box_->isVisible(); }

void CellEditor::writeCell(int row, int column, const QString& text) {
  if (row < 0 || row >= grid_->rowCount() || column < 0 || column >= grid_->columnCount()) return;
  QTableWidgetItem* item = grid_->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row, column, item);
  }
  item->setText(text);
}

void CellEditor::onCellClicked(int row, int column) {
  // The number column is not edited: a click there edits the row's name.
  if (column == 0 && rules_.editable(row, 1)) column = 1;
  if (!rules_.editable(row, column)) return;
  const QTableWidgetItem* item = grid_->item(row, column);
  openAt(row, column, item ? item->text() : QString(), true);
}

void CellEditor::open() {
  const int row = grid_->currentRow();
  const int column = std::max(1, grid_->currentColumn());
  if (row < 0 || !rules_.editable(row, column)) return;
  const QTableWidgetItem* item = grid_->item(row, column);
  openAt(row, column, item ? item->text() : QString(), true);
}

void CellEditor::openTyping(const QString& typed) {
  const int row = grid_->currentRow();
  const int column = std::max(1, grid_->currentColumn());
  if (row < 0 || !rules_.editable(row, column)) return;
  openAt(row, column, typed, false);
}

void CellEditor::openAt(int row, int column, const QString& text, bool selectAll) {
  // Bringing the cell into view is part of opening it, not a scroll that
  // should close the box.
  navigating_ = true;
  grid_->setCurrentCell(row, column);
  if (!grid_->item(row, column)) writeCell(row, column, QString());
  before_ = grid_->item(row, column)->text();
  grid_->doItemsLayout();
  grid_->scrollToItem(grid_->item(row, column));
  navigating_ = false;

  const QRect cell = grid_->visualItemRect(grid_->item(row, column));
  const QPoint topLeft = grid_->viewport()->mapTo(area_, cell.topLeft());
  box_->setGeometry(topLeft.x() + 1, topLeft.y() + 1, std::max(8, cell.width() - 2),
                    std::max(8, cell.height() - 2));
  row_ = row;
  column_ = column;
  box_->setText(text);
  box_->show();
  box_->raise();
  box_->setFocus(Qt::MouseFocusReason);
  if (selectAll) {
    box_->selectAll();
  } else {
    box_->end(false);
  }
  if (rules_.opened) rules_.opened(row);
}

void CellEditor::moveOn() {
  writeCell(row_, column_, box_->text());
  int row = row_;
  int column = column_ + 1;
  while (column <= rules_.lastColumn(row) && !rules_.editable(row, column)) ++column;
  if (column > rules_.lastColumn(row)) {
    do {
      ++row;
    } while (row < grid_->rowCount() && !rules_.editable(row, 1));
    column = 1;
  }
  if (row >= grid_->rowCount()) {
    // The end of the table: the edit is done.
    box_->hide();
    grid_->setFocus(Qt::OtherFocusReason);
    return;
  }
  const QTableWidgetItem* item = grid_->item(row, column);
  openAt(row, column, item ? item->text() : QString(), true);
}

void CellEditor::onTextChanged(const QString& text) {
  if (discarding_) return;
  writeCell(row_, column_, text);
}

bool CellEditor::boxKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
      box_->hide();
      grid_->setFocus(Qt::OtherFocusReason);
      stepCurrentRow(key == Qt::Key_Up ? -1 : 1);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
      moveOn();
      return true;
    case Qt::Key_Escape:
      // Escape gives the cell back the text it had when the box opened: the
      // box takes it too, so the commit on focus loss keeps it.
      discarding_ = true;
      box_->setText(before_);
      discarding_ = false;
      writeCell(row_, column_, before_);
      box_->hide();
      grid_->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}

void CellEditor::stepCurrentRow(int step) {
  // The grid's current cell moves one row in the same column, and stays put
  // at the first and the last row; the cell is not opened.
  const int row = std::clamp(grid_->currentRow() + step, 0, grid_->rowCount() - 1);
  if (row >= 0) grid_->setCurrentCell(row, std::max(0, grid_->currentColumn()));
}

bool CellEditor::gridKey(const QKeyEvent& key) {
  // A printable key on the current cell starts typing into it.
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = key.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  const int row = grid_->currentRow();
  if (row < 0 || !rules_.editable(row, std::max(1, grid_->currentColumn()))) return false;
  openTyping(text);
  return true;
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    if (gridKey(*static_cast<QKeyEvent*>(event))) return true;
  } else if (watched == box_ && event->type() == QEvent::KeyPress) {
    if (boxKey(static_cast<QKeyEvent*>(event)->key())) return true;
  } else if (watched == box_ && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Switching to another window or opening the box's context menu is not
    // the end of the edit.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      commitOnFocusLoss();
    }
  }
  return QObject::eventFilter(watched, event);
}

void CellEditor::commitOnFocusLoss() {
  if (discarding_) return;
  writeCell(row_, column_, box_->text());
  box_->setCursorPosition(0);
  if (box_->isVisible()) box_->hide();
}

void CellEditor::commitAndClose() {
  if (!box_->isVisible()) return;
  commitOnFocusLoss();
}

void CellEditor::discard() {
  discarding_ = true;
  box_->hide();
  box_->clear();
  discarding_ = false;
}

void CellEditor::closeOnScroll() {
  if (navigating_) return;
  // The box would float over the wrong cell once the grid has moved: an open
  // edit is closed with its text kept. Other controls are left alone.
  if (!box_->isVisible()) return;
  commitOnFocusLoss();
  grid_->setFocus(Qt::OtherFocusReason);
}

}  // namespace korvane::ui
