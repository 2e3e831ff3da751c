// The export commands of the results windows, as listed in
// tests/data/export_windows.txt: each window computes its input, the command
// writes the drawing or the list to the file the dialog answers, and a
// read-only file is refused and kept.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include "formats/start_data.h"
#include "io/text_file.h"
#include "ui/levelling/levelling_window.h"
#include "ui/network/network_grid.h"
#include "ui/network/network_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/traverse/start_dialog.h"
#include "ui/traverse/rigorous_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

class ExportWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void exportsAsListed_data();
  void exportsAsListed();
  void knownPointsFromAList_data();
  void knownPointsFromAList();
};

namespace {

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* found = w->findChild<T*>(name);
  if (!found) qFatal("no child %s", name);
  return found;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString Expanded(QString text) { return text.replace("@EXAMPLES@", KORVANE_EXAMPLES); }

// The traverse window computes an example with its start data.
void ComputeTraverse(MainWindowHarness& h, const QString& name) {
  const QString base = QString(KORVANE_EXAMPLES) + "/" + name;
  h.find<QRadioButton>(name == "closed" ? "bhdx" : "fhdx")->click();
  // The example's start data typed into the dialog (both examples give
  // their orientation points by coordinates).
  const StartRecord example = ReadStartFile((base + ".ini").toStdString());
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  StartDialog* d = h.window->startDialog();
  if (!example.record(11).empty()) d->findChild<QRadioButton*>("Option_zdy")->click();
  if (!example.record(12).empty() || !example.record(13).empty()) d->findChild<QRadioButton*>("Option_ok")->click();
  for (int k = 1; k <= 13; ++k)
    if (d->field(k)->isVisibleTo(d)) QTest::keyClicks(d->field(k), QString::fromStdString(example.record(k)));
  d->findChild<QPushButton*>("Command_ok")->click();
  h.files.answers.push_front(base + ".dat");
  RunCommand(h, "Label7", "command_dk");
  RunCommand(h, "Label3", "js");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
}

// A window of plain buttons opens its input, computes it and runs the command.
void OpenComputeAndRun(MainWindowHarness& h, QWidget* w, const QString& input, const QByteArray& command) {
  h.files.answers.push_front(Expanded(input));
  Child<QPushButton>(w, "command_dk")->click();
  Child<QPushButton>(w, "js")->click();
  Child<QPushButton>(w, command.constData())->click();
}

// Opens the window, computes its input and runs the command; the window's
// messages go to the harness.
void Run(MainWindowHarness& h, const QString& window, const QString& input, const QByteArray& command) {
  if (window == "main") {
    if (input != "-") ComputeTraverse(h, input);
    const QByteArray label = command == "dcdxf" ? "Label15" : "Label16";
    RunCommand(h, label.constData(), command.constData());
  } else if (window == "rigorous") {
    h.window->findChild<QAction*>("m_dandx")->trigger();
    RigorousWindow* w = h.window->shell().window<RigorousWindow>("rigorous");
    h.files.answers.push_front(Expanded(input));
    w->openData();
    w->compute();  // the report it offers is declined
    h.messages.shown.clear();
    Child<QPushButton>(w, command.constData())->click();
  } else if (window == "network") {
    h.window->findChild<QAction*>("m_dxw")->trigger();
    OpenComputeAndRun(h, h.window->shell().window<NetworkWindow>("network"), input, command);
  } else if (window == "levelling") {
    h.window->findChild<QAction*>("m_szjcw")->trigger();
    OpenComputeAndRun(h, h.window->shell().window<LevellingWindow>("levelling"), input, command);
  } else {
    QFAIL(qPrintable("unknown window " + window));
  }
}

}  // namespace

void ExportWindowsTest::exportsAsListed_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("destination");
  QTest::addColumn<QString>("expected");
  QFile table(QString(KORVANE_TEST_DATA) + "/export_windows.txt");
  QVERIFY(table.open(QIODevice::ReadOnly));
  QTextStream in(&table);
  int rows = 0;
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.isEmpty() || line.startsWith('#')) continue;
    QStringList parts = line.split('|');
    QCOMPARE(parts.size(), 5);
    for (QString& part : parts) part = part.trimmed();
    const QString name = QString::number(++rows) + " " + parts[0] + " " + parts[2] + " " + parts[3];
    QTest::newRow(qPrintable(name)) << parts[0] << parts[1] << parts[2] << parts[3] << parts[4];
  }
  QVERIFY(rows >= 10);
}

void ExportWindowsTest::exportsAsListed() {
  QFETCH(QString, window);
  QFETCH(QString, input);
  QFETCH(QString, command);
  QFETCH(QString, destination);
  QFETCH(QString, expected);
  QTemporaryDir scratch;
  const QString readOnly = scratch.filePath("locked.txt");
  QVERIFY(WriteFile(readOnly, "kept"));
  QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QString path = destination == "@READONLY@" ? readOnly : scratch.filePath(destination);

  MainWindowHarness h;
  h.files.answers.push_back(path);
  Run(h, window, input, command.toUtf8());
  if (QTest::currentTestFailed()) return;

  const TextFileRead written = ReadTextFile(path.toStdString());
  if (destination == "@READONLY@") {
    QCOMPARE(QString::fromStdString(written.text), QString("kept"));
    QCOMPARE(h.messages.lastText(), expected);
  } else if (input == "-") {
    QCOMPARE(h.messages.lastText(), expected);
    QVERIFY(!QFile::exists(path));
  } else {
    QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
    QVERIFY2(written.ok, written.error.c_str());
    QVERIFY2(QString::fromStdString(written.text).contains(expected), qPrintable(expected));
  }
}

// 从坐标文件读入 in the network and weighted windows: the typed names of
// known points get their coordinates from the list; a name the list lacks is
// told; a list with a bad line is refused and nothing is filled.
void ExportWindowsTest::knownPointsFromAList_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QByteArray>("list");
  QTest::addColumn<QStringList>("filled");  // X, Y (and H) of the first two known points
  QTest::addColumn<QString>("message");
  const QByteArray list = "K1,3000.000,2500.000,52.350\r\nA,3842.12,2210.45\r\n\xb1\xb1\xc9\xbd,1.5,-2.25,7\r\n";
  QTest::newRow("network") << "network" << list << QStringList{"3842.120", "2210.450", "1.500", "-2.250"}
                           << "坐标文件中没有点：Z";
  QTest::newRow("weighted") << "weighted" << list
                            << QStringList{"3842.120", "2210.450", "1.500", "-2.250", "7.000"}
                            << "坐标文件中没有点：Z";
  QTest::newRow("network, bad line") << "network" << QByteArray("A,1,2\r\n北山,1\r\n") << QStringList{}
                                     << "坐标文件第2行格式不对！";
  QTest::newRow("weighted, bad line") << "weighted" << QByteArray("A,1,2\r\nB 1 2\r\n") << QStringList{}
                                      << "坐标文件第2行格式不对！";
}

void ExportWindowsTest::knownPointsFromAList() {
  QFETCH(QString, window);
  QFETCH(QByteArray, list);
  QFETCH(QStringList, filled);
  QFETCH(QString, message);
  QTemporaryDir scratch;
  const QString path = scratch.filePath("list.txt");
  QVERIFY(WriteFile(path, list));
  const QStringList names = {"A", "北山", "Z"};
  MainWindowHarness h;
  h.files.answers.push_back(path);
  QStringList cells;
  if (window == "network") {
    h.window->findChild<QAction*>("m_dxw")->trigger();
    NetworkWindow* w = h.window->shell().window<NetworkWindow>("network");
    for (int r = 0; r < names.size(); ++r) w->knownGrid().setText(r, 0, names[r]);
    Child<QPushButton>(w, "dzb")->click();
    for (int r = 0; r < 2; ++r) cells << w->knownGrid().text(r, 1) << w->knownGrid().text(r, 2);
    QCOMPARE(w->knownGrid().text(2, 1), QString());
  } else {
    h.window->findChild<QAction*>("m_dandx")->trigger();
    RigorousWindow* w = h.window->shell().window<RigorousWindow>("rigorous");
    // A, then B with its height; D is named Z, which the list lacks.
    const int rows[] = {1, 2, w->grid().table().connectRow()};
    for (int k = 0; k < 3; ++k) w->grid().setText(rows[k], 1, names[k]);
    w->readKnownPoints();
    cells << w->grid().text(1, 2) << w->grid().text(1, 3) << w->grid().text(2, 2) << w->grid().text(2, 3)
          << w->grid().text(2, 4);
    QCOMPARE(w->grid().text(rows[2], 2).trimmed(), QString());
  }
  QCOMPARE(h.messages.lastText(), message);
  if (filled.isEmpty()) {
    for (const QString& cell : cells) QCOMPARE(cell.trimmed(), QString());
  } else {
    QCOMPARE(cells, filled);
  }
}

QTEST_MAIN(ExportWindowsTest)
#include "export_windows_test.moc"
