// The network window driven through its object names: both menu entries,
// the tables filled from a network file, compute with the adjusted
// coordinates checked against the figures the file states, the report and
// the sketch, saving the tables, and tables refused with their row.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QtTest>

#include "io/text_file.h"
#include "ui/network/network_grid.h"
#include "ui/network/network_window.h"
#include "ui/traverse/plot_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

const QString kNetworks = QString(KORVANE_TEST_DATA) + "/network/";

struct NetworkHarness : MainWindowHarness {
  NetworkWindow* w = nullptr;
  QTemporaryDir scratch;

  explicit NetworkHarness(const char* entry = "m_dxw") {
    window->findChild<QAction*>(entry)->trigger();
    w = window->shell().window<NetworkWindow>("network");
    if (!w) qFatal("the menu entry opened no window");
    (void)QTest::qWaitForWindowExposed(w);
  }
  template <typename T>
  T* get(const char* name) const {
    T* found = w->findChild<T*>(name);
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  void click(const char* button) { get<QPushButton>(button)->click(); }
  void open(const QString& path) {
    files.answers.push_back(path);
    click("command_dk");
  }
};

// The text of a GBK (or UTF-8) file as the program reads it.
QString Decoded(const QString& path) {
  const TextFileRead read = ReadTextFile(path.toStdString());
  return read.ok ? QString::fromStdString(read.text) : QString();
}

struct Expected {
  QString name;
  double x, y;
};

// The "# EXPECT, name, X, Y" lines of a network file and its "# TOLERANCE_MM".
QList<Expected> ExpectedPoints(const QString& path, double& toleranceMm) {
  QList<Expected> points;
  for (const QString& line : Decoded(path).split('\n')) {
    const QStringList f = line.trimmed().split(',');
    if (f.size() == 4 && f[0] == "# EXPECT") points << Expected{f[1].trimmed(), f[2].toDouble(), f[3].toDouble()};
    if (f.size() == 2 && f[0] == "# TOLERANCE_MM") toleranceMm = f[1].toDouble();
  }
  return points;
}

// The row of a point in the results table: name, X, Y, mx, my, mp, E, F, φ.
QStringList PointLine(const QString& results, const QString& name) {
  for (const QString& line : results.split('\n')) {
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    if (f.size() >= 3 && f[0] == name) return f;
  }
  return {};
}

QList<QStringList> Rows(const NetworkGrid& g) {
  QList<QStringList> rows;
  for (int r = 0; r < g.rows(); ++r) {
    QStringList row;
    for (int c = 0; c < g.columns(); ++c) row << g.text(r, c);
    rows << row;
  }
  return rows;
}

}  // namespace

class NetworkWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void bothEntriesOpenTheOneWindow();
  void computeGivesTheStatedCoordinates_data();
  void computeGivesTheStatedCoordinates();
  void savedTablesReadBackWhole();
  void snoopingIsOfferedAndVarianceComponentsChosen();
  void ownDeviationsAndDatumPointsReadBackWhole();
  void refusedTablesNameTheirRow_data();
  void refusedTablesNameTheirRow();
};

void NetworkWindowTest::bothEntriesOpenTheOneWindow() {
  NetworkHarness h("m_jddx");
  QVERIFY(h.window->findChild<QAction*>("m_jddx")->isEnabled());
  QVERIFY(h.w->isVisible());
  QCOMPARE(h.w->objectName(), QString("form_dxw"));
  QCOMPARE(h.w->windowTitle(), QString("结点导线平差（最小二乘）"));
  for (const char* name : {"Text_fx", "Text_cj", "Text_a", "Text_b"}) QVERIFY2(h.w->findChild<QLineEdit*>(name), name);
  QVERIFY(!h.get<QPushButton>("bcbg")->isEnabled());
  QVERIFY(!h.get<QComboBox>("Co1")->isVisible());
  h.get<QCheckBox>("Ch1")->setChecked(true);
  QVERIFY(h.get<QComboBox>("Co1")->isVisible());
  h.w->knownGrid().setText(0, 0, "A");
  h.window->findChild<QAction*>("m_dxw")->trigger();
  QCOMPARE(h.window->shell().window<NetworkWindow>("network"), h.w);
  QCOMPARE(h.w->windowTitle(), QString("导线网平差（最小二乘）"));
  QCOMPARE(h.w->knownGrid().text(0, 0), QString("A"));
  // The row commands act on the table last worked in, at its current row.
  NetworkGrid& obs = h.w->observationGrid();
  obs.setText(0, 0, "DIST");
  const int rows = obs.rows();
  obs.grid()->setCurrentCell(0, 1);
  h.click("Command_tj");
  QCOMPARE(obs.rows(), rows + 1);
  QVERIFY(obs.text(0, 0).isEmpty());
  QCOMPARE(obs.text(1, 0), QString("DIST"));
  QCOMPARE(obs.grid()->item(1, 0)->text(), QString("2"));
  h.click("Command_sc");
  QCOMPARE(obs.rows(), rows);
  QCOMPARE(obs.text(0, 0), QString("DIST"));
  QCOMPARE(h.w->knownGrid().text(0, 0), QString("A"));
  // Closing keeps the tables for the next opening.
  h.click("tc");
  QVERIFY(!h.w->isVisible());
  h.window->findChild<QAction*>("m_dxw")->trigger();
  QCOMPARE(h.w->knownGrid().text(0, 0), QString("A"));
}

void NetworkWindowTest::computeGivesTheStatedCoordinates_data() {
  QTest::addColumn<QString>("file");
  for (const char* file : {"junction.net", "directions.net", "fixed_azimuth.net", "no_orientation.net", "gbk_names.net",
                           "observed_azimuth.net"}) {
    QTest::newRow(file) << QString(file);
  }
}

void NetworkWindowTest::computeGivesTheStatedCoordinates() {
  QFETCH(QString, file);
  NetworkHarness h;
  double toleranceMm = 0;
  const QList<Expected> expected = ExpectedPoints(kNetworks + file, toleranceMm);
  QVERIFY(!expected.isEmpty() && toleranceMm > 0);
  h.open(kNetworks + file);
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("打开文件"));
  h.click("js");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY(h.w->hasResult());
  const QString results = h.w->resultText();
  // Printed to millimetres: the stated tolerance plus half a millimetre.
  const double tolerance = (toleranceMm + 0.5) / 1000;
  for (const Expected& p : expected) {
    const QStringList line = PointLine(results, p.name);
    QVERIFY2(!line.isEmpty(), qPrintable(p.name + " missing in\n" + results));
    QVERIFY2(std::abs(line[1].toDouble() - p.x) <= tolerance, qPrintable(line.join(',')));
    QVERIFY2(std::abs(line[2].toDouble() - p.y) <= tolerance, qPrintable(line.join(',')));
  }
  // The rows stand in the columns of their heading, units given there.
  const QStringList lines = results.split('\n');
  const QString heading = lines.at(1);
  QCOMPARE(heading.split(' ', Qt::SkipEmptyParts),
           QStringList({"点名", "X(m)", "Y(m)", "mx(mm)", "my(mm)", "mp(mm)", "E(mm)", "F(mm)", "φ"}));
  // Display columns up to the end of the n-th blank-separated field (a
  // Chinese character two columns wide).
  const auto fieldEnd = [](const QString& line, int n) {
    int column = 0, field = -1;
    bool inField = false;
    for (const QChar c : line) {
      const bool blank = c == ' ';
      if (!blank && !inField) ++field;
      if (blank && inField && field == n) return column;
      inField = !blank;
      column += c.unicode() < 0x80 ? 1 : 2;
    }
    return column;
  };
  for (const Expected& p : expected) {
    const QStringList cells = PointLine(results, p.name);
    QVERIFY2(cells.size() == 9 && cells[5].toDouble() > 0, qPrintable(cells.join(' ')));
    for (const QString& line : lines) {
      if (line.split(' ', Qt::SkipEmptyParts) != cells) continue;
      for (int f = 1; f < 8; ++f) QCOMPARE(fieldEnd(line, f), fieldEnd(heading, f));
      // The azimuth φ starts its column.
      QCOMPARE(fieldEnd(line.left(line.lastIndexOf(' ') + 1), 9), fieldEnd(heading.left(heading.lastIndexOf(' ') + 1), 9));
    }
  }
  QVERIFY(results.contains(QString("σ0 = ")));
  QVERIFY(results.contains(QString("误差椭圆放大")));
  QVERIFY(h.w->plotWindow() && h.w->plotWindow()->isVisible());
  QVERIFY(!h.w->plotWindow()->canvas()->sketch().ops.empty());

  // The report, its picture beside it; the chosen name, kept as typed, gets
  // its extension.
  h.files.answers.push_back(h.scratch.filePath("Network"));
  h.click("bcbg");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("保存HTML文件"));
  QVERIFY(!QFileInfo::exists(h.scratch.filePath("network.html")));
  const QString report = Decoded(h.scratch.filePath("Network.html"));
  QVERIFY(report.startsWith("<html>"));
  QVERIFY(report.contains("Network.bmp"));
  for (const Expected& p : expected) QVERIFY2(report.contains(p.name), qPrintable(p.name));
  QFile picture(h.scratch.filePath("Network.bmp"));
  QVERIFY(picture.open(QIODevice::ReadOnly));
  QVERIFY(picture.read(2) == "BM");
}

void NetworkWindowTest::savedTablesReadBackWhole() {
  NetworkHarness h;
  h.open(kNetworks + "directions.net");
  const QList<QStringList> known = Rows(h.w->knownGrid());
  const QList<QStringList> observations = Rows(h.w->observationGrid());
  QCOMPARE(h.get<QLineEdit>("Text_fx")->text(), QString("1.8"));
  // The grid names the records in Chinese; the file keeps its keywords.
  QCOMPARE(h.w->observationGrid().text(0, 0), QString("方向组"));
  QCOMPARE(h.w->observationGrid().text(1, 0), QString("方向"));
  const QString path = h.scratch.filePath("copy.net");
  h.files.answers.push_back(path);
  h.click("bc");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY(Decoded(path).startsWith("PARAM, 1.8, 2.5, 3, 2\r\n"));
  QVERIFY(Decoded(path).contains("\r\nSET, K1\r\nDIR, K1, "));
  // Emptied and read back: the same tables and boxes.
  h.w->knownGrid().fill({});
  h.w->observationGrid().fill({});
  h.get<QLineEdit>("Text_fx")->clear();
  h.open(path);
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(Rows(h.w->knownGrid()), known);
  QCOMPARE(Rows(h.w->observationGrid()), observations);
  QCOMPARE(h.get<QLineEdit>("Text_fx")->text(), QString("1.8"));
  // A row the reader refuses is not saved: the file stays as it was.
  const QByteArray before = [&] {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  h.w->observationGrid().setText(2, 4, "abc");
  h.files.answers.push_back(path);
  h.click("bc");
  QCOMPARE(h.messages.lastText(), QString("观测数据表第 3 行：角度“abc”不是数值。"));
  QFile after(path);
  QVERIFY(after.open(QIODevice::ReadOnly));
  QCOMPARE(after.readAll(), before);
}

void NetworkWindowTest::ownDeviationsAndDatumPointsReadBackWhole() {
  NetworkHarness h;
  // Own deviations stand in the last column, where the file gave them.
  h.open(kNetworks + "observed_azimuth.net");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const QList<QStringList> observations = Rows(h.w->observationGrid());
  QVERIFY(observations.contains(QStringList({"距离", "S", "T1", "", "308.5672", "1.5"})));
  QVERIFY(observations.contains(QStringList({"距离", "T1", "T2", "", "313.3753", ""})));
  QVERIFY(observations.contains(QStringList({"方向组", "T2", "", "", "", ""})));
  QVERIFY(observations.contains(QStringList({"方位角", "T2", "T3", "", "116.29533", "3"})));
  const QString path = h.scratch.filePath("own.net");
  h.files.answers.push_back(path);
  h.click("bc");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const QString saved = Decoded(path);
  QVERIFY(saved.contains("\r\nDIST, S, T1, 308.5672, 1.5\r\n"));
  QVERIFY(saved.contains("\r\nDIST, T1, T2, 313.3753\r\n"));
  QVERIFY(saved.contains("\r\nAZI, T2, T3, 116.29533, 3\r\n"));
  h.w->observationGrid().fill({});
  h.open(path);
  QCOMPARE(Rows(h.w->observationGrid()).mid(0, observations.size()), observations);

  // A free network: the datum column reads 基准, the results name the datum.
  h.open(kNetworks + "gama/wolf_free.net");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(Rows(h.w->knownGrid()).at(0), QStringList({"1", "726419.33", "184423.28", "基准"}));
  h.click("js");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY2(h.w->resultText().contains("基准: 自由网：基准点 1, 2, 3, 4, 5, 6, 7, 8, 9；最小范数解消除秩亏 3（两个平移、旋转）"),
           qPrintable(h.w->resultText()));
  h.files.answers.push_back(path);
  h.click("bc");
  QVERIFY(Decoded(path).contains("\r\nPOINT, 1, 726419.33, 184423.28, DATUM\r\n"));
}

void NetworkWindowTest::refusedTablesNameTheirRow_data() {
  QTest::addColumn<QStringList>("known");
  QTest::addColumn<QStringList>("observations");
  QTest::addColumn<QString>("message");
  QFile cases(QString(KORVANE_TEST_DATA) + "/network_window_refusals.txt");
  QVERIFY(cases.open(QIODevice::ReadOnly | QIODevice::Text));
  while (!cases.atEnd()) {
    const QString line = QString::fromUtf8(cases.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList f = line.split('|');
    QVERIFY2(f.size() == 3, qPrintable(line));
    QTest::newRow(qPrintable(line)) << f[0].split(';') << f[1].split(';') << f[2];
  }
}

void NetworkWindowTest::refusedTablesNameTheirRow() {
  QFETCH(QStringList, known);
  QFETCH(QStringList, observations);
  QFETCH(QString, message);
  NetworkHarness h;
  const auto fill = [](NetworkGrid& grid, const QStringList& rows) {
    TableRows table;
    for (const QString& row : rows) {
      table.emplace_back();
      for (const QString& cell : row.split('/')) table.back().push_back(cell.toStdString());
    }
    grid.fill(table);
  };
  fill(h.w->knownGrid(), known);
  fill(h.w->observationGrid(), observations);
  h.click("js");
  QCOMPARE(h.messages.lastText(), message);
  QCOMPARE(h.messages.lastTitle(), QString("导线网平差"));
  QVERIFY(!h.w->hasResult());
  QVERIFY(!h.get<QPushButton>("bcbg")->isEnabled());
}

// A network with two blunders: the window offers snooping (default 否);
// 是 adjusts it again without them; the check box re-weights the groups.
void NetworkWindowTest::snoopingIsOfferedAndVarianceComponentsChosen() {
  NetworkHarness h;
  h.open(kNetworks + "gama/generated.net");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  h.messages.answers.push_back(false);
  h.click("js");
  QCOMPARE(h.messages.shown.size(), std::size_t{1});
  QCOMPARE(h.messages.lastTitle(), QString("数据探测"));
  // Lines are the rows of the observation table here.
  QVERIFY2(h.messages.lastText().contains("最大 |w| = 8.71（第 55 行 方向 P07-P11）"), qPrintable(h.messages.lastText()));
  QCOMPARE(h.messages.defaults.back(), false);
  QVERIFY(h.w->hasResult());
  QVERIFY(h.w->resultText().contains("超限: 第 55 行 方向 P07-P11, w = 8.71"));
  QVERIFY(!h.w->resultText().contains("剔除"));
  h.messages.answers.push_back(true);
  h.click("js");
  QCOMPARE(h.messages.shown.size(), std::size_t{2});
  const QString snooped = h.w->resultText();
  QVERIFY2(snooped.contains("剔除 第 1 次: 第 55 行 方向 P07-P11") && snooped.contains("剔除 第 2 次: 第 113 行 边长 P05-P06"),
           qPrintable(snooped));
  QVERIFY(snooped.contains("σ0 = 0.952, f = 70"));
  QVERIFY(!snooped.contains("超限"));
  // Variance components of the groups, without snooping.
  h.get<QCheckBox>("Ch_fcfl")->setChecked(true);
  h.messages.answers.push_back(false);
  h.click("js");
  QVERIFY2(h.w->resultText().contains("方差分量 方向: σ先验"), qPrintable(h.w->resultText()));
  QVERIFY(h.w->resultText().contains("方差分量迭代"));
}

QTEST_MAIN(NetworkWindowTest)
#include "network_window_test.moc"
