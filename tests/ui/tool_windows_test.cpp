// The correction and projection windows opened from the main menu and driven
// by the cases of tests/data/tool_windows.txt.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::testing;

class ToolWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void casesOfTheTable();
  void entriesOpenOneWindowAndLeaveToTheMainWindow();
};

namespace {

void Set(QWidget* w, const QString& name, const QString& value) {
  if (name == "tabs") {
    w->findChild<QTabWidget*>("tabs")->setCurrentIndex(value.toInt());
  } else if (name == "click") {
    w->findChild<QPushButton*>(value)->click();
  } else if (auto* box = w->findChild<QLineEdit*>(name)) {
    box->setText(value);
  } else if (auto* button = w->findChild<QAbstractButton*>(name)) {
    button->setChecked(value == "1");
  } else {
    QFAIL(qPrintable("no control " + name));
  }
}

QWidget* Open(MainWindowHarness& h, const char* entry) {
  h.window->findChild<QAction*>(entry)->trigger();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w != h.window.get() && w->findChild<QPushButton*>("tczcx")) return w;
  return nullptr;
}

}  // namespace

void ToolWindowsTest::casesOfTheTable() {
  QFile table(QString(KORVANE_TEST_DATA) + "/tool_windows.txt");
  QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
  QTemporaryDir out;
  int cases = 0;
  while (!table.atEnd()) {
    const QString line = QString::fromUtf8(table.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    QStringList f = line.split('|');
    for (QString& field : f) field = field.trimmed().replace("@DATA@", KORVANE_TEST_DATA).replace("@OUT@", out.path());
    QVERIFY2(f.size() == 7, qPrintable(line));
    MainWindowHarness h;
    QWidget* w = Open(h, f[0].toUtf8().constData());
    QVERIFY2(w && w->objectName() == f[1], qPrintable(line));
    for (const auto& [name, value] : Pairs(f[2])) Set(w, name, value);
    for (const QString& path : f[4].split(';', Qt::SkipEmptyParts)) h.files.answers.push_back(path);
    w->findChild<QPushButton*>(f[3])->click();
    for (const auto& [name, value] : Pairs(f[5])) QCOMPARE(w->findChild<QLineEdit*>(name)->text(), value);
    if (f[6] == "(none)")
      QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
    else
      QVERIFY2(h.messages.lastText().contains(f[6]), qPrintable(h.messages.lastText()));
    ++cases;
  }
  QVERIFY(cases >= 10);
}

void ToolWindowsTest::entriesOpenOneWindowAndLeaveToTheMainWindow() {
  MainWindowHarness h;
  for (const char* entry : {"m_zbtygz", "m_zbhs", "m_bctygz", "m_dxgcjsgz"}) {
    QAction* action = h.window->findChild<QAction*>(entry);
    QVERIFY2(action && action->isEnabled(), entry);
  }
  // Both entries of the projection show the one window.
  QWidget* first = Open(h, "m_zbtygz");
  QVERIFY(first);
  QCOMPARE(Open(h, "m_zbhs"), first);
  QCOMPARE(h.window->shell().window("gauss"), first);
  for (const char* entry : {"m_zbtygz", "m_bctygz", "m_dxgcjsgz"}) {
    QPointer<QWidget> w = Open(h, entry);
    QVERIFY(w);
    w->findChild<QPushButton*>("tczcx")->click();
    QTRY_VERIFY(!w || !w->isVisible());
    QVERIFY(h.window->isVisible());
  }
  QTRY_VERIFY(!h.window->shell().window("gauss"));
}

QTEST_MAIN(ToolWindowsTest)
#include "tool_windows_test.moc"
