// The export commands of the results windows, as listed in
// tests/data/export_windows.txt: each window computes its input, the command
// writes the drawing or the list to the file the dialog answers, and a
// read-only file is refused and kept.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <map>

#include "formats/start_data.h"
#include "io/text_file.h"
#include "ui/cogo/intersection_window.h"
#include "ui/cogo/resection_window.h"
#include "ui/geodesy/gauss_window.h"
#include "ui/levelling/levelling_window.h"
#include "ui/network/network_grid.h"
#include "ui/network/network_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/traverse/list_point_picker.h"
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
  void startPointsFromAList_data();
  void startPointsFromAList();
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

QString Expanded(QString text) {
  return text.replace("@EXAMPLES@", KORVANE_EXAMPLES).replace("@DATA@", KORVANE_TEST_DATA);
}

// The rows of a table of tests/data, its fields trimmed, each followed by
// its number; a row of another width than `columns` keeps its width.
QList<QStringList> DataRows(const char* file, int columns) {
  QList<QStringList> rows;
  QFile table(QString(KORVANE_TEST_DATA) + "/" + file);
  if (!table.open(QIODevice::ReadOnly)) qFatal("no table %s", file);
  QTextStream in(&table);
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.isEmpty() || line.startsWith('#')) continue;
    QStringList parts = line.split('|');
    for (QString& part : parts) part = part.trimmed();
    if (parts.size() == columns) parts << QString::number(rows.size() + 1);
    rows << parts;
  }
  return rows;
}

// A tool window driven as its settings say: boxes typed into (so that an
// edit after a computation counts as one), options chosen, pages shown,
// buttons pressed; answer= queues a file dialog's answer before the
// export's own.
void Drive(MainWindowHarness& h, QWidget* w, const QString& settings, const QString& scratch) {
  for (auto [name, value] : Pairs(settings)) {
    value = Expanded(value).replace("@OUT@", scratch);
    if (name == "tabs") {
      Child<QTabWidget>(w, "tabs")->setCurrentIndex(value.toInt());
    } else if (name == "click") {
      Child<QPushButton>(w, value.toUtf8().constData())->click();
    } else if (name == "answer") {
      h.files.answers.insert(h.files.answers.end() - 1, value);
    } else if (auto* box = w->findChild<QLineEdit*>(name)) {
      box->clear();
      QTest::keyClicks(box, value);
    } else {
      Child<QAbstractButton>(w, name.toUtf8().constData())->setChecked(value == "1");
    }
  }
}

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
// messages go to the harness. `enabled`: whether the command could be used.
void Run(MainWindowHarness& h, const QString& window, const QString& input, const QByteArray& command,
         const QString& scratch, bool& enabled) {
  enabled = true;
  const std::map<QString, const char*> tools = {
      {"gauss", "m_zbtygz"}, {"intersection", "m_qfjh"}, {"resection", "m_hfjh"}};
  if (const auto tool = tools.find(window); tool != tools.end()) {
    h.window->findChild<QAction*>(tool->second)->trigger();
    QWidget* w = h.window->shell().window(window);
    QVERIFY(w);
    if (input != "-") Drive(h, w, input, scratch);
    h.messages.shown.clear();
    auto* button = Child<QPushButton>(w, command.constData());
    enabled = button->isEnabled();
    if (enabled) button->click();
  } else if (window == "main") {
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
  const QList<QStringList> rows = DataRows("export_windows.txt", 5);
  for (const QStringList& parts : rows) {
    QCOMPARE(parts.size(), 6);
    const QString name = parts[5] + " " + parts[0] + " " + parts[2] + " " + parts[3];
    QTest::newRow(qPrintable(name)) << parts[0] << parts[1] << parts[2] << parts[3] << parts[4];
  }
  QVERIFY(rows.size() >= 10);
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
  bool enabled = true;
  Run(h, window, input, command.toUtf8(), scratch.path(), enabled);
  if (QTest::currentTestFailed()) return;

  const TextFileRead written = ReadTextFile(path.toStdString());
  expected.replace("\\r\\n", "\r\n");
  QCOMPARE(enabled, expected != "(disabled)");
  if (!enabled) {
    QVERIFY(!QFile::exists(path));
  } else if (destination == "@READONLY@") {
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

// 从坐标文件读入 of the start-data dialog, as listed in
// tests/data/start_points_from_list.txt: the picker asks for the roles the
// dialog shows, and the chosen points fill their boxes.
void ExportWindowsTest::startPointsFromAList_data() {
  for (const char* column : {"kind", "form", "list", "roles", "picks", "boxes", "message"})
    QTest::addColumn<QString>(column);
  const QList<QStringList> rows = DataRows("start_points_from_list.txt", 7);
  for (const QStringList& parts : rows) {
    QCOMPARE(parts.size(), 8);
    QTest::newRow(qPrintable(parts[7] + " " + parts[0] + " " + parts[2]))
        << parts[0] << parts[1] << parts[2] << parts[3] << parts[4] << parts[5] << parts[6];
  }
  QVERIFY(rows.size() >= 8);
}

void ExportWindowsTest::startPointsFromAList() {
  QFETCH(QString, kind);
  QFETCH(QString, form);
  QFETCH(QString, list);
  QFETCH(QString, roles);
  QFETCH(QString, picks);
  QFETCH(QString, boxes);
  QFETCH(QString, message);
  MainWindowHarness h;
  h.find<QRadioButton>(kind.toUtf8().constData())->click();
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  StartDialog* d = h.window->startDialog();
  QVERIFY(d && d->isVisible());
  if (form == "df") Child<QRadioButton>(d, "Option_df")->click();
  for (int k = 1; k <= 10; ++k)
    if (d->field(k)->isVisibleTo(d)) d->field(k)->setText("7");
  h.files.answers.push_back(QString(KORVANE_TEST_DATA) + "/start/" + list);
  Child<QPushButton>(d, "Command_dzb")->click();

  ListPointPicker* picker = d->picker();
  if (roles == "-") {
    QVERIFY(!picker);
  } else {
    QVERIFY(picker && picker->isVisible());
    QStringList asked;
    for (QComboBox* box : picker->findChildren<QComboBox*>()) asked << box->objectName();
    QCOMPARE(asked.join(','), roles);
    if (picks == "cancel") {
      Child<QPushButton>(picker, "Command_qx")->click();
    } else {
      for (const auto& [name, point] : Pairs(picks)) {
        auto* box = Child<QComboBox>(picker, name.toUtf8().constData());
        const int index = box->findText(point + "  (", Qt::MatchStartsWith);
        QVERIFY2(index > 0, qPrintable(point));
        box->setCurrentIndex(index);
      }
      Child<QPushButton>(picker, "Command_ok")->click();
    }
    QTRY_VERIFY(!d->picker());
  }
  for (const auto& [name, text] : Pairs(boxes)) QCOMPARE(Child<QLineEdit>(d, name.toUtf8().constData())->text(), text);
  if (message == "(none)") {
    QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  } else {
    QCOMPARE(h.messages.lastTitle() + ": " + h.messages.lastText(), message);
  }
}

QTEST_MAIN(ExportWindowsTest)
#include "export_windows_test.moc"
