// The calculator window opened from the main menu: its two views, buttons,
// keyboard, edit menu and clipboard, help window and statistics.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "ui/utilities/calculator_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

class CalculatorWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOnceInTheStandardView();
  void viewsShowAndHideTheFrames();
  void buttonsComputeLeftToRight();
  void keyboardOfTheDisplayPressesButtons();
  void copyAndSelectAll();
  void helpWindowOpensAndCloses();
  void statisticsAndAngleMode();
  void refusalsAreShownAndTheProgramCanBeLeft();
};

namespace {

CalculatorWindow* Open(MainWindowHarness& h) {
  h.window->findChild<QAction*>("m_kxjsq")->trigger();
  CalculatorWindow* w = h.window->shell().window<CalculatorWindow>("calculator");
  if (!w) qFatal("the calculator did not open");
  return w;
}

QLineEdit* DisplayOf(CalculatorWindow* w) { return w->findChild<QLineEdit*>("Text1"); }

void Click(CalculatorWindow* w, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto* button = w->findChild<QPushButton*>(name);
    if (!button) qFatal("no button %s", name);
    button->click();
  }
}

QAction* Action(CalculatorWindow* w, const char* name) { return w->findChild<QAction*>(name); }

}  // namespace

void CalculatorWindowTest::opensOnceInTheStandardView() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  QVERIFY(w->isVisible());
  QCOMPARE(w->objectName(), QString("Calculator"));
  QCOMPARE(w->windowTitle(), QString::fromUtf8("标准型计算器"));
  QVERIFY(DisplayOf(w)->text().isEmpty());
  Click(w, {"Command7"});
  h.window->findChild<QAction*>("m_kxjsq")->trigger();
  QCOMPARE(h.window->shell().window<CalculatorWindow>("calculator"), w);
  QCOMPARE(DisplayOf(w)->text(), QString("7"));
  // Closed with 退出, it opens again empty.
  Click(w, {"Command18"});
  QTRY_VERIFY(h.window->shell().window<CalculatorWindow>("calculator") == nullptr);
  QVERIFY(DisplayOf(Open(h))->text().isEmpty());
}

void CalculatorWindowTest::viewsShowAndHideTheFrames() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  for (const char* frame : {"Frame_hs", "Frame_tj", "Frame_jd"})
    QVERIFY2(!w->findChild<QGroupBox*>(frame)->isVisible(), frame);
  QCOMPARE(w->findChild<QGroupBox*>("Frame_hs")->title(), QString::fromUtf8("函数"));
  QCOMPARE(w->findChild<QGroupBox*>("Frame_tj")->title(), QString::fromUtf8("统计"));
  const int standardHeight = w->height();
  Action(w, "mnuScientific")->trigger();
  QCOMPARE(w->windowTitle(), QString::fromUtf8("科学型计算器"));
  for (const char* frame : {"Frame_hs", "Frame_tj", "Frame_jd"})
    QVERIFY2(w->findChild<QGroupBox*>(frame)->isVisible(), frame);
  QVERIFY(w->width() > 0 && w->height() >= standardHeight);
  Action(w, "mnuStandard")->trigger();
  QCOMPARE(w->windowTitle(), QString::fromUtf8("标准型计算器"));
  QVERIFY(!w->findChild<QGroupBox*>("Frame_hs")->isVisible());
}

void CalculatorWindowTest::buttonsComputeLeftToRight() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  Click(w, {"Command2", "Command13", "Command3"});
  QCOMPARE(DisplayOf(w)->text(), QString("2+3"));
  Click(w, {"Command15", "Command4", "Command17"});
  QCOMPARE(DisplayOf(w)->text(), QString("20"));
  Click(w, {"Command30", "Command12", "Command8", "Command16", "Command2", "Command17"});
  QCOMPARE(DisplayOf(w)->text(), QString("-4"));
  Click(w, {"Command39"});
  QCOMPARE(DisplayOf(w)->text(), QString("-"));
  Click(w, {"Command30", "Command41"});
  QCOMPARE(DisplayOf(w)->text(), QString("3.14159265358979"));
  QCOMPARE(w->findChild<QPushButton*>("Command31")->toolTip(), QString::fromUtf8("阶乘"));
}

void CalculatorWindowTest::keyboardOfTheDisplayPressesButtons() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  QLineEdit* display = DisplayOf(w);
  QTest::keyClicks(display, "12+3");
  QCOMPARE(display->text(), QString("12+3"));
  QTest::keyClick(display, Qt::Key_Backspace);
  QCOMPARE(display->text(), QString("12+"));
  QTest::keyClicks(display, "8*2");
  QTest::keyClick(display, Qt::Key_Return);
  QCOMPARE(display->text(), QString("40"));
  QTest::keyClicks(display, "/4=");
  QCOMPARE(display->text(), QString("10"));
  QTest::keyClicks(display, "ab");
  QCOMPARE(display->text(), QString("10"));
}

void CalculatorWindowTest::copyAndSelectAll() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  Click(w, {"Command1", "Command2", "Command11", "Command5"});
  QMenu* edit = w->editMenu();
  emit edit->aboutToShow();
  QVERIFY(!Action(w, "mnuCopy")->isEnabled());
  Action(w, "mnuSelectAll")->trigger();
  QCOMPARE(DisplayOf(w)->selectedText(), QString("12.5"));
  emit edit->aboutToShow();
  QVERIFY(Action(w, "mnuCopy")->isEnabled());
  QApplication::clipboard()->setText("old");
  Action(w, "mnuCopy")->trigger();
  QCOMPARE(QApplication::clipboard()->text(), QString("12.5"));
  QCOMPARE(Action(w, "mnuCopy")->shortcut(), QKeySequence("Ctrl+C"));
  QCOMPARE(Action(w, "mnuSelectAll")->shortcut(), QKeySequence("Ctrl+A"));
  // A right click on the window pops up the same menu.
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(w, &event);
  QTRY_VERIFY(edit->isVisible());
  edit->close();
}

void CalculatorWindowTest::helpWindowOpensAndCloses() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  Action(w, "mnuHelp")->trigger();
  CalculatorHelp* help = w->helpWindow();
  QVERIFY(help && help->isVisible());
  QCOMPARE(help->objectName(), QString("Help"));
  QCOMPARE(help->windowTitle(), QString::fromUtf8("帮助"));
  QCOMPARE(help->findChild<QLabel*>("Label1")->text(), QString::fromUtf8("多功能科学计算器简介"));
  const QString text = help->findChild<QLabel*>("Label2")->text();
  QVERIFY(text.contains("Enter") && text.contains("Backspace") && text.contains(QString::fromUtf8("撤消")));
  Action(w, "mnuHelp")->trigger();
  QCOMPARE(w->helpWindow(), help);
  auto* close = help->findChild<QPushButton*>("Command1");
  QCOMPARE(close->text(), QString::fromUtf8("关闭"));
  close->click();
  QTRY_VERIFY(w->helpWindow() == nullptr);
}

void CalculatorWindowTest::statisticsAndAngleMode() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  Action(w, "mnuScientific")->trigger();
  for (const char* digit : {"Command2", "Command4", "Command4", "Command4", "Command5", "Command5", "Command7",
                            "Command9"})
    Click(w, {digit, "Command38"});
  Click(w, {"Command32"});
  QCOMPARE(DisplayOf(w)->text(), QString("8"));
  Click(w, {"Command36"});
  QCOMPARE(DisplayOf(w)->text(), QString("2"));
  Click(w, {"Command37"});
  QCOMPARE(DisplayOf(w)->text(), QString("2.1380899352994"));
  QCOMPARE(w->findChild<QPushButton*>("Command36")->toolTip(), QString::fromUtf8("样本均方差"));
  Click(w, {"Command30", "Command3", "Command10", "Command19"});
  QVERIFY(DisplayOf(w)->text().startsWith("-0.988"));
  w->findChild<QRadioButton*>("Option_jd")->click();
  Click(w, {"Command30", "Command3", "Command10", "Command19"});
  QCOMPARE(DisplayOf(w)->text(), QString("0.5"));
  Click(w, {"Command30", "Command1", "Command40_0"});
  QCOMPARE(DisplayOf(w)->text(), QString("1.5707963267949"));
  QVERIFY(h.messages.shown.empty());
}

void CalculatorWindowTest::refusalsAreShownAndTheProgramCanBeLeft() {
  MainWindowHarness h;
  CalculatorWindow* w = Open(h);
  Click(w, {"Command5", "Command16", "Command10", "Command17"});
  QCOMPARE(h.messages.lastText(), QString::fromUtf8("除数不能为零！"));
  QCOMPARE(h.messages.lastTitle(), QString::fromUtf8("数据错误警告"));
  QVERIFY(DisplayOf(w)->text().isEmpty());
  Action(w, "mnuScientific")->trigger();
  Click(w, {"Command10", "Command40_14"});
  QCOMPARE(h.messages.lastText(), QString::fromUtf8("函数无意义！"));
  Action(w, "mnuExit")->trigger();
  QCOMPARE(h.endRequests, 1);
}

QTEST_MAIN(CalculatorWindowTest)
#include "calculator_window_test.moc"
