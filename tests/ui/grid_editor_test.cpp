// The observation grid editor driven through the real main window.
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

class GridEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithHeadingsAndOneNumberedRow();
  void clickOpensBoxOverCellAndAppendsInLastRow();
  void typingCopiesIntoCellAndFocusLossCommitsToOpenedCell();
  void upDownEnterEscapeCloseTheBox();
  void insertAndDeleteRenumber();
  void deleteRefusesTheLastStationRow();
  void pointerOnComputePrunesOneBlankTrailingRow();
  void scrollingClosesTheBoxKeepingItsText();
  void aWholeTraverseIsTypedWithoutTheMouse();
  void typingOnTheCurrentCellOpensItAndReplacesItsText();
};

void GridEditorTest::startsWithHeadingsAndOneNumberedRow() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  QCOMPARE(g.rows(), 2);
  const QStringList headings = {"序   号", "  测站名", "  水平角", "  平  距", "  往仪高",
                                "  往标高", "  往竖角", "  返仪高", "  返标高", "  返竖角"};
  for (int c = 0; c < 10; ++c) QCOMPARE(g.text(0, c), headings[c]);
  QCOMPARE(g.text(1, 0), QString("1"));
  for (int c = 1; c < 10; ++c) QVERIFY(g.text(1, c).isEmpty());
  QCOMPARE(g.grid()->objectName(), QString("MSFlexGrid1"));
  QCOMPARE(g.grid()->toolTip(),
           QString("注意：水平右角时数值前加“－”；髙差单程时所有返测栏输为“0”！"));
  QVERIFY(!g.editBox()->isVisible());
}

void GridEditorTest::clickOpensBoxOverCellAndAppendsInLastRow() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 2);
  QLineEdit* box = g.editBox();
  QCOMPARE(box->objectName(), QString("TextShuJu"));
  QVERIFY(box->isVisible());
  QVERIFY(box->hasFocus());
  QCOMPARE(g.editRow(), 1);
  QCOMPARE(g.editColumn(), 2);
  // The box lies over the clicked cell.
  QTableWidget* t = g.grid();
  const QRect cell = t->visualItemRect(t->item(0, 2));
  const QPoint cellInWindow = t->viewport()->mapTo(h.window->centralWidget(), cell.center());
  QVERIFY(box->geometry().contains(cellInWindow));
  QCOMPARE(g.rows(), 3);
  QCOMPARE(g.text(2, 0), QString("2"));
  // Clicking a row that is not the last appends nothing; the last one does.
  ClickCell(g, 1, 3);
  QCOMPARE(g.rows(), 3);
  ClickCell(g, 2, 1);
  QCOMPARE(g.rows(), 4);
  ClickCell(g, 3, 1);
  QCOMPARE(g.rows(), 5);
  QCOMPARE(g.text(4, 0), QString("4"));
}

void GridEditorTest::typingCopiesIntoCellAndFocusLossCommitsToOpenedCell() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 1);
  QLineEdit* box = g.editBox();
  QTest::keyClicks(box, "K");
  QCOMPARE(g.text(1, 1), QString("K"));
  QTest::keyClicks(box, "1");
  QCOMPARE(g.text(1, 1), QString("K1"));
  // Clicking another cell commits to the cell the box was opened on and
  // leaves the cursor on the new cell.
  ClickCell(g, 2, 3);
  QCOMPARE(g.text(1, 1), QString("K1"));
  QCOMPARE(g.currentRow(), 2);
  QCOMPARE(g.currentColumn(), 3);
  QCOMPARE(g.editRow(), 2);
  QCOMPARE(g.editColumn(), 3);
  QCOMPARE(box->text(), QString());
  QTest::keyClicks(box, "125.3");
  QCOMPARE(g.text(2, 3), QString("125.3"));
  QCOMPARE(g.text(1, 1), QString("K1"));
  // Any text is accepted by the editor.
  ClickCell(g, 1, 2);
  QTest::keyClicks(box, "abc");
  QCOMPARE(g.text(1, 2), QString("abc"));
}

void GridEditorTest::upDownEnterEscapeCloseTheBox() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 1);
  ClickCell(g, 2, 1);
  ClickCell(g, 3, 1);  // rows 1..4 now
  QCOMPARE(g.rows(), 5);
  ClickCell(g, 2, 4);
  QLineEdit* box = g.editBox();
  QTest::keyClicks(box, "1.5");
  QTest::keyClick(box, Qt::Key_Up);
  QVERIFY(!box->isVisible());
  QCOMPARE(g.text(2, 4), QString("1.5"));
  QCOMPARE(g.currentRow(), 1);
  QCOMPARE(g.currentColumn(), 4);
  QVERIFY(g.grid()->hasFocus());

  ClickCell(g, 2, 5);
  QTest::keyClicks(box, "2.5");
  QTest::keyClick(box, Qt::Key_Down);
  QVERIFY(!box->isVisible());
  QCOMPARE(g.text(2, 5), QString("2.5"));
  QCOMPARE(g.currentRow(), 3);
  // The new cell is not opened until it is clicked.
  QCOMPARE(g.editRow(), 2);

  // Enter commits the cell and opens the next one to the right.
  ClickCell(g, 3, 6);
  QTest::keyClicks(box, "0.3");
  QTest::keyClick(box, Qt::Key_Return);
  QVERIFY(box->isVisible());
  QCOMPARE(g.text(3, 6), QString("0.3"));
  QCOMPARE(g.editRow(), 3);
  QCOMPARE(g.editColumn(), 7);

  // Escape puts back what the cell held when the box opened: a value
  // opened by Enter and never touched, or one typed over, stays as it was.
  QCOMPARE(box->text(), QString());
  QTest::keyClicks(box, "7");
  QTest::keyClick(box, Qt::Key_Escape);
  QVERIFY(!box->isVisible());
  QCOMPARE(g.text(3, 7), QString());
  ClickCell(g, 3, 6);
  QCOMPARE(box->text(), QString("0.3"));
  QTest::keyClick(box, Qt::Key_Escape);
  QCOMPARE(g.text(3, 6), QString("0.3"));
  ClickCell(g, 3, 6);
  QTest::keyClicks(box, "9");
  QCOMPARE(g.text(3, 6), QString("9"));
  QTest::keyClick(box, Qt::Key_Escape);
  QVERIFY(!box->isVisible());
  QCOMPARE(g.text(3, 6), QString("0.3"));
  QCOMPARE(g.text(2, 5), QString("2.5"));
}

void GridEditorTest::insertAndDeleteRenumber() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  // Five station rows named A..E.
  const QStringList names = {"A", "B", "C", "D", "E"};
  for (int r = 1; r <= 5; ++r) {
    ClickCell(g, r, 1);
    QTest::keyClicks(g.editBox(), names[r - 1]);
  }
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  g.pruneTrailingRow();
  QCOMPARE(g.rows(), 6);

  g.setCurrentCell(3, 1);
  RunCommand(h, "Label8", "Command_tj");
  QCOMPARE(g.rows(), 7);
  for (int r = 1; r <= 6; ++r) QCOMPARE(g.text(r, 0), QString::number(r));
  QCOMPARE(g.text(3, 1), QString());
  QCOMPARE(g.text(4, 1), QString("C"));
  QCOMPARE(g.text(5, 1), QString("D"));
  QCOMPARE(g.text(6, 1), QString("E"));

  g.setCurrentCell(2, 2);
  RunCommand(h, "Label6", "Command_sc");
  QCOMPARE(g.rows(), 6);
  QCOMPARE(g.text(1, 1), QString("A"));
  QCOMPARE(g.text(2, 1), QString());
  QCOMPARE(g.text(3, 1), QString("C"));
  for (int r = 1; r <= 5; ++r) QCOMPARE(g.text(r, 0), QString::number(r));
  QVERIFY(h.messages.shown.empty());
}

void GridEditorTest::deleteRefusesTheLastStationRow() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 1);
  QTest::keyClicks(g.editBox(), "P1");
  ClickCell(g, 2, 1);
  QTest::keyClicks(g.editBox(), "P2");
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  g.pruneTrailingRow();
  QCOMPARE(g.rows(), 3);

  g.setCurrentCell(1, 1);
  RunCommand(h, "Label6", "Command_sc");
  QCOMPARE(g.rows(), 2);
  QCOMPARE(g.text(1, 0), QString("1"));
  QCOMPARE(g.text(1, 1), QString("P2"));

  RunCommand(h, "Label6", "Command_sc");
  QCOMPARE(g.rows(), 2);
  QCOMPARE(g.text(1, 1), QString("P2"));
  QCOMPARE(h.messages.shown.size(), size_t(1));
  QCOMPARE(h.messages.lastText(), QString("顶行严禁删除！"));
  QCOMPARE(h.messages.lastTitle(), QString("提醒"));
  QVERIFY(h.messages.shown.back().icon == MessageIcon::Information);
}

void GridEditorTest::pointerOnComputePrunesOneBlankTrailingRow() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 1);
  QTest::keyClicks(g.editBox(), "S1");
  ClickCell(g, 2, 1);
  ClickCell(g, 3, 1);
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  QCOMPARE(g.rows(), 5);  // S1 and three blank rows

  QPushButton* js = h.button("js");
  Enter(js);
  QCOMPARE(g.rows(), 4);
  Enter(js);
  QCOMPARE(g.rows(), 3);
  Enter(h.button("js2"));
  QCOMPARE(g.rows(), 2);
  // One station row is never removed, and a named last row stays.
  Enter(js);
  QCOMPARE(g.rows(), 2);
  ClickCell(g, 1, 1);
  ClickCell(g, 2, 1);
  QTest::keyClicks(g.editBox(), "  S2");
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  g.pruneTrailingRow();  // the blank third row goes
  QCOMPARE(g.rows(), 3);
  Enter(js);
  QCOMPARE(g.rows(), 3);
  QCOMPARE(g.currentRow(), 2);
  QCOMPARE(g.currentColumn(), 1);
}

void GridEditorTest::scrollingClosesTheBoxKeepingItsText() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  for (int r = 1; r <= 40; ++r) ClickCell(g, r, 1);
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  ClickCell(g, 2, 2);
  QTest::keyClicks(g.editBox(), "88.1");
  QScrollBar* bar = g.grid()->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  bar->setValue(bar->value() + 3);
  QVERIFY(!g.editBox()->isVisible());
  QCOMPARE(g.text(2, 2), QString("88.1"));
}

// Station rows typed with Tab between the cells and Enter after the last
// one; enough rows that the grid scrolls while the keyboard moves on.
void GridEditorTest::aWholeTraverseIsTypedWithoutTheMouse() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  const int stations = 30;
  auto cell = [](int r, int c) { return QString("%1.%2").arg(r).arg(c); };
  ClickCell(g, 1, 1);
  QLineEdit* box = g.editBox();
  for (int r = 1; r <= stations; ++r) {
    for (int c = 1; c <= 9; ++c) {
      QVERIFY2(box->isVisible(), qPrintable(cell(r, c)));
      QCOMPARE(g.editRow(), r);
      QCOMPARE(g.editColumn(), c);
      QTest::keyClicks(box, cell(r, c));
      QTest::keyClick(box, c == 9 ? Qt::Key_Return : Qt::Key_Tab);
    }
  }
  QVERIFY(g.grid()->verticalScrollBar()->value() > 0);
  // Nothing typed was lost, and the row after the last typed one is the
  // fresh numbered row that moving on appended.
  for (int r = 1; r <= stations; ++r) {
    QCOMPARE(g.text(r, 0), QString::number(r));
    for (int c = 1; c <= 9; ++c) QCOMPARE(g.text(r, c), cell(r, c));
  }
  QCOMPARE(g.editRow(), stations + 1);
  QCOMPARE(g.editColumn(), 1);
  QCOMPARE(g.rows(), stations + 3);
  QCOMPARE(g.text(stations + 2, 0), QString::number(stations + 2));
  QVERIFY(h.messages.shown.empty());
}

void GridEditorTest::typingOnTheCurrentCellOpensItAndReplacesItsText() {
  MainWindowHarness h;
  ObservationGrid& g = h.grid();
  QLineEdit* box = g.editBox();
  ClickCell(g, 1, 2);
  QTest::keyClicks(box, "90.1");
  QTest::keyClick(box, Qt::Key_Up);  // closes the box, the grid has the focus
  QVERIFY(!box->isVisible());
  g.setCurrentCell(1, 3);
  QTest::keyClicks(g.grid(), "1");
  QVERIFY(box->isVisible());
  QCOMPARE(g.editColumn(), 3);
  QCOMPARE(box->text(), QString("1"));
  QTest::keyClicks(box, "25");
  QCOMPARE(g.text(1, 3), QString("125"));
  // A filled cell opens with its text selected: typing replaces it.
  ClickCell(g, 1, 2);
  QCOMPARE(box->selectedText(), QString("90.1"));
  QTest::keyClicks(box, "45");
  QCOMPARE(g.text(1, 2), QString("45"));
  // Escape gives back the text typed over; the number column takes no typing.
  QTest::keyClick(box, Qt::Key_Escape);
  QCOMPARE(g.text(1, 2), QString("90.1"));
  g.setCurrentCell(1, 3);
  QTest::keyClicks(g.grid(), "7");
  QCOMPARE(g.text(1, 3), QString("7"));
  QTest::keyClick(box, Qt::Key_Escape);
  QCOMPARE(g.text(1, 3), QString("125"));
  g.setCurrentCell(2, 0);
  QTest::keyClicks(g.grid(), "x");
  QCOMPARE(g.editRow(), 2);
  QCOMPARE(g.editColumn(), 1);
  QCOMPARE(g.text(2, 1), QString("x"));
  QCOMPARE(g.text(2, 0), QString("2"));
}

QTEST_MAIN(GridEditorTest)
#include "grid_editor_test.moc"
