// The windows of 前方交会, 后方交会 and 归心改正 opened from the main menu,
// driven by the cases in tests/data/survey_tool_windows.txt: type, tick,
// compute, read the result boxes and the message shown.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/widgets/tool_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

class SurveyToolWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void computesTheTableOfCases();
  void editingAFigureClearsTheResults();
  void eachEntryOpensOneWindowThatComesBackAsLeft();
};

namespace {

ToolWindow* Open(MainWindowHarness& h, const QString& entry, const QString& window) {
  h.window->findChild<QAction*>(entry)->trigger();
  auto* w = h.window->findChild<ToolWindow*>(window);
  if (!w || !w->isVisible()) qFatal("%s did not open %s", qPrintable(entry), qPrintable(window));
  return w;
}

QLineEdit* Box(QWidget* w, const QString& name) {
  auto* box = w->findChild<QLineEdit*>(name);
  if (!box) qFatal("no box %s", qPrintable(name));
  return box;
}

void Enter(QWidget* w, const QString& typed) {
  for (const QString& item : typed.split(';', Qt::SkipEmptyParts)) {
    const qsizetype eq = item.indexOf('=');
    if (eq < 0) {
      auto* option = w->findChild<QAbstractButton*>(item.trimmed());
      if (!option) qFatal("no option %s", qPrintable(item));
      option->setChecked(true);
    } else {
      Box(w, item.left(eq).trimmed())->setText(item.mid(eq + 1).trimmed());
    }
  }
}

}  // namespace

void SurveyToolWindowsTest::computesTheTableOfCases() {
  QFile file(QString(KORVANE_TEST_DATA) + "/survey_tool_windows.txt");
  QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
  int cases = 0;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
    if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
    const QStringList part = line.split('|');
    QCOMPARE(part.size(), 5);
    MainWindowHarness h;
    ToolWindow* w = Open(h, part[0].trimmed(), part[1].trimmed());
    Enter(w, part[2]);
    w->findChild<QPushButton*>("js")->click();
    for (const QString& item : part[3].split(';', Qt::SkipEmptyParts)) {
      const qsizetype eq = item.indexOf('=');
      QCOMPARE(Box(w, item.left(eq).trimmed())->text(), item.mid(eq + 1).trimmed());
    }
    const QString message = part[4].trimmed();
    if (message.isEmpty())
      QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
    else
      QVERIFY2(h.messages.lastText().contains(message), qPrintable(line + " shows " + h.messages.lastText()));
    ++cases;
  }
  QVERIFY(cases >= 10);
}

void SurveyToolWindowsTest::editingAFigureClearsTheResults() {
  MainWindowHarness h;
  ToolWindow* w = Open(h, "m_gxgz", "gxgz");
  Enter(w, "Text_S=1000;Text_e=0.5;Text_theta=90");
  w->findChild<QPushButton*>("js")->click();
  QCOMPARE(Box(w, "Text_c")->text(), QString("103.13"));
  QTest::keyClick(Box(w, "Text_e"), Qt::Key_Backspace);
  QCOMPARE(Box(w, "Text_c")->text(), QString());
  // Enter in a box computes again with the edited figure (0.5 became 0.).
  QTest::keyClick(Box(w, "Text_e"), Qt::Key_Return);
  QCOMPARE(Box(w, "Text_c")->text(), QString("0.00"));
  w->findChild<QPushButton*>("qbqk")->click();
  QCOMPARE(Box(w, "Text_S")->text(), QString());
  QCOMPARE(Box(w, "Text_zgz")->text(), QString());
}

void SurveyToolWindowsTest::eachEntryOpensOneWindowThatComesBackAsLeft() {
  MainWindowHarness h;
  const char* entries[][2] = {{"m_qfjh", "qfjh"}, {"m_hfjh", "hfjh"}, {"m_gxgz", "gxgz"}};
  for (auto [entry, name] : entries) {
    ToolWindow* w = Open(h, entry, name);
    const QString first = QString(name) == "gxgz" ? "Text_S" : "Text_XA";
    Box(w, first)->setText("123");
    w->findChild<QPushButton*>("tczcx")->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(Open(h, entry, name), w);
    QCOMPARE(Box(w, first)->text(), QString("123"));
    QCOMPARE(h.window->findChildren<ToolWindow*>(name).size(), 1);
  }
}

QTEST_MAIN(SurveyToolWindowsTest)
#include "survey_tool_windows_test.moc"
