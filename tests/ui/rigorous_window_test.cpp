// The rigorous-adjustment window driven through its object names: the table
// and its editor, the parameter boxes, the data file, and compute with the
// report compared with the batch program's.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

#include "io/text_file.h"
#include "ui/widgets/cell_editor.h"
#include "ui/shell/goodbye_window.h"
#include "ui/traverse/plot_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/traverse/rigorous_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::io;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

struct RigorousHarness : MainWindowHarness {
  RigorousWindow* w = nullptr;
  QTemporaryDir scratch;

  RigorousHarness() {
    window->findChild<QAction*>("m_dandx")->trigger();
    w = window->shell().window<RigorousWindow>("rigorous");
    if (!w) qFatal("the menu entry opened no window");
    (void)QTest::qWaitForWindowExposed(w);
  }
  template <typename T>
  T* get(const char* name) const {
    T* found = w->findChild<T*>(name);
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QLineEdit* box(const char* name) const { return get<QLineEdit>(name); }
  RigorousGrid& grid() const { return w->grid(); }
  // The pointer enters the caption label, then the button is clicked.
  void run(const char* label, const char* button) {
    Enter(get<QLabel>(label));
    QPushButton* b = get<QPushButton>(button);
    Enter(b);
    b->click();
  }
  void open(const QString& path) {
    files.answers.push_back(path);
    run("Label7", "command_dk");
  }
  QString write(const char* name, const QByteArray& gbkText) {
    const QString path = scratch.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", name);
    f.write(gbkText);
    return path;
  }
};

void Click(RigorousGrid& g, int row, int column) {
  QTableWidget* t = g.grid();
  t->scrollToItem(t->item(row, column));
  QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier,
                    t->visualItemRect(t->item(row, column)).center());
}

QList<QStringList> Rows(const RigorousGrid& g) {
  QList<QStringList> rows;
  for (int r = 0; r < g.rows(); ++r) {
    QStringList row;
    for (int c = 0; c < 10; ++c) row << g.text(r, c);
    rows << row;
  }
  return rows;
}

QStringList Boxes(const RigorousHarness& h) {
  QStringList texts;
  for (const char* name : {"Text_dxbs", "Text_cj", "Text_j", "Text_c", "Text_tym"}) {
    texts << h.box(name)->text();
  }
  return texts;
}

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A data file text: the parameter line, four known points and the stations.
QByteArray DataText(const QString& first, int stations) {
  QString text = first + "\r\nA,1000,1000,10\r\nB,900,1100,11\r\nC,950,1900,12\r\nD,1000,2000,13\r\n";
  for (int i = 1; i <= stations; ++i) {
    text += QString("S%1,180.0000,100,1.5,1.5,0,1.5,1.5,0\r\n").arg(i);
  }
  return text.toUtf8() + "\r\n";
}

}  // namespace

class RigorousWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menuOpensTheWindowWithItsControls();
  void numberOfSidesLaysOutEmptyStationRows();
  void keyboardEntryFollowsTheTableLayout();
  void rowCommandsKeepToTheStations();
  void openCorrectsTheNumberOfSides();
  void refusedOpenLeavesEverythingAsItWas();
  void savedDataReadsBackWhole();
  void parameterBoxesAndComputeAvailability();
  void computeWritesTheBatchProgramsReport_data();
  void computeWritesTheBatchProgramsReport();
  void backEditAndComputeAgain();
  void grossMisclosureAsksAndCancelStops();
  void leastSquaresReportBesideTheWeightedOne_data();
  void leastSquaresReportBesideTheWeightedOne();
  void closingSaysGoodbye();
};

void RigorousWindowTest::menuOpensTheWindowWithItsControls() {
  RigorousHarness h;
  QVERIFY(!h.window->isVisible());
  QVERIFY(h.w->isVisible());
  QCOMPARE(h.w->objectName(), QString("form_ddx"));
  QCOMPARE(h.w->windowTitle(), QString("单导线严密平差"));
  for (const char* name : {"Label2", "L_10", "Label_b", "Label_shuru", "Label_cj", "Label_miao",
                           "Label_cs", "Label_j", "Label_c", "Label_tym", "Label_mi"}) {
    QVERIFY2(h.w->findChild<QLabel*>(name), name);
  }
  const char* pairs[][3] = {{"Label3", "js", "计    算"},       {"Label4", "bc", "保存数据"},
                            {"Label7", "command_dk", "打开数据"}, {"Label8", "Command_tj", "插入一行"},
                            {"Label6", "Command_sc", "删除该行"}, {"Label9", "Command_back", "返    回"},
                            {"Label5", "tc", "退   出"}};
  for (const auto& p : pairs) {
    QCOMPARE(h.get<QPushButton>(p[1])->text(), QString::fromUtf8(p[2]));
    QVERIFY(h.get<QLabel>(p[0])->text().endsWith(QString::fromUtf8(p[2])));
  }
  QCOMPARE(h.get<QPushButton>("Command_back")->toolTip(), QString("计算后有效"));
  QVERIFY(!h.get<QLabel>("Label9")->isEnabled());
  QVERIFY(!h.get<QLabel>("Label3")->isEnabled());
  QCOMPARE(h.box("Text_tym")->toolTip(), QString("不投影输入“N”或“n”，默认测区平均高程面请输“0”！"));
  QCOMPARE(h.get<QComboBox>("Co1")->toolTip(), QString("参照规范"));
  QCOMPARE(h.get<QComboBox>("Co2")->currentText(), QString(" 一级"));
  QCOMPARE(h.box("Text1")->text(), QString("ybc3"));
  QVERIFY(!h.get<QComboBox>("Co1")->isVisible());
  h.get<QCheckBox>("Ch1")->setChecked(true);
  QVERIFY(h.get<QComboBox>("Co1")->isVisible());
  h.get<QComboBox>("Co1")->setCurrentText("水工测量规范");
  QCOMPARE(h.get<QComboBox>("Co2")->currentText(), QString("五等"));
  QCOMPARE(h.get<QComboBox>("Co2")->count(), 3);
  QCOMPARE(h.box("Text1")->text(), QString("ybs3"));

  RigorousGrid& g = h.grid();
  QCOMPARE(g.grid()->objectName(), QString("MSFlexGrid1"));
  QCOMPARE(g.rows(), 8);
  const QStringList col0 = {"编   号", "定向点", "起  点", "编  号", "1", "编  号", "终  点", "附合点"};
  for (int r = 0; r < 8; ++r) QCOMPARE(g.text(r, 0), col0[r]);
  QCOMPARE(g.text(3, 2), QString("  水平角"));
  QCOMPARE(g.text(5, 4), QString("  高程H"));
  // The same window comes up again with its state.
  g.setText(1, 1, "A");
  h.window->findChild<QAction*>("m_dandx")->trigger();
  QCOMPARE(h.window->shell().window<RigorousWindow>("rigorous"), h.w);
  QCOMPARE(h.w->grid().text(1, 1), QString("A"));
}

void RigorousWindowTest::numberOfSidesLaysOutEmptyStationRows() {
  RigorousHarness h;
  RigorousGrid& g = h.grid();
  g.setText(1, 1, "A");
  g.setText(4, 1, "old");
  QTest::keyClicks(h.box("Text_dxbs"), "5");
  QCOMPARE(g.rows(), 6 + 7);
  for (int i = 1; i <= 6; ++i) {
    QCOMPARE(g.text(3 + i, 0), QString(" %1").arg(i));
    for (int c = 1; c < 10; ++c) QVERIFY(g.text(3 + i, c).isEmpty());
  }
  QCOMPARE(g.text(1, 1), QString("A"));  // the known points stay
  QCOMPARE(g.text(10, 0), QString("编  号"));
  QCOMPARE(g.text(11, 0), QString("终  点"));
  g.setText(5, 1, "typed");
  QTest::keyClicks(h.box("Text_dxbs"), "1");  // 51 sides
  QCOMPARE(g.rows(), 52 + 7);
  QVERIFY(g.text(5, 1).isEmpty());
  QCOMPARE(g.text(55, 0), QString(" 52"));
  QTest::keyClick(h.box("Text_dxbs"), Qt::Key_Backspace);
  QCOMPARE(g.rows(), 6 + 7);
}

void RigorousWindowTest::keyboardEntryFollowsTheTableLayout() {
  RigorousHarness h;
  QTest::keyClicks(h.box("Text_dxbs"), "1");  // two stations
  RigorousGrid& g = h.grid();
  QLineEdit* box = g.editBox();
  // A click into the last row appends nothing.
  Click(g, 8, 2);
  QCOMPARE(g.rows(), 9);
  QTest::keyClick(box, Qt::Key_Escape);
  // Tab and Enter visit A and B (columns 1-4), the stations (1-9), then C
  // and D, skipping the caption rows; after D the edit ends.
  struct Visit { int row, last; };
  const Visit visits[] = {{1, 4}, {2, 4}, {4, 9}, {5, 9}, {7, 4}, {8, 4}};
  Click(g, 1, 1);
  for (const Visit& v : visits) {
    for (int c = 1; c <= v.last; ++c) {
      QVERIFY(box->isVisible());
      QCOMPARE(g.editor().row(), v.row);
      QCOMPARE(g.editor().column(), c);
      QTest::keyClicks(box, QString("%1.%2").arg(v.row).arg(c));
      QTest::keyClick(box, c % 2 ? Qt::Key_Tab : Qt::Key_Return);
    }
  }
  QVERIFY(!box->isVisible());
  QCOMPARE(g.rows(), 9);
  for (const Visit& v : visits) {
    for (int c = 1; c <= v.last; ++c) QCOMPARE(g.text(v.row, c), QString("%1.%2").arg(v.row).arg(c));
  }
  QCOMPARE(g.text(3, 1), QString(" 测站名"));
  QVERIFY(g.text(1, 5).isEmpty());
  // Typing on a caption cell opens nothing; on a station cell it starts
  // the edit with the typed character.
  g.setCurrentCell(6, 1);
  QTest::keyClicks(g.grid(), "x");
  QVERIFY(!box->isVisible());
  QCOMPARE(g.text(6, 1), QString(" 测站名"));
  g.setCurrentCell(4, 3);
  QTest::keyClicks(g.grid(), "7");
  QVERIFY(box->isVisible());
  QCOMPARE(g.text(4, 3), QString("7"));
}

void RigorousWindowTest::rowCommandsKeepToTheStations() {
  RigorousHarness h;
  QTest::keyClicks(h.box("Text_dxbs"), "2");  // three stations, rows 4..6
  RigorousGrid& g = h.grid();
  g.setText(4, 1, "P1");
  g.setText(5, 1, "P2");
  g.setText(6, 1, "P3");
  // Insert on the caption row below the stations appends a station.
  g.setCurrentCell(7, 1);
  h.run("Label8", "Command_tj");
  QCOMPARE(g.rows(), 11);
  QCOMPARE(g.text(6, 1), QString("P3"));
  QCOMPARE(g.text(7, 0), QString(" 4"));
  QVERIFY(g.text(7, 1).isEmpty());
  QCOMPARE(g.text(8, 0), QString("编  号"));
  QCOMPARE(h.box("Text_dxbs")->text(), QString(" 3"));
  // Delete there is refused.
  g.setCurrentCell(8, 1);
  h.run("Label6", "Command_sc");
  QCOMPARE(h.messages.lastText(), QString("非观测数据严禁删除！"));
  QCOMPARE(h.messages.lastTitle(), QString("提醒"));
  QCOMPARE(g.rows(), 11);
  // Insert on a known point is refused; inside the stations it renumbers.
  g.setCurrentCell(2, 1);
  h.run("Label8", "Command_tj");
  QCOMPARE(h.messages.lastText(), QString("只能在观测数据栏插入行！"));
  QCOMPARE(h.messages.lastTitle(), QString("注意"));
  g.setCurrentCell(5, 2);
  h.run("Label8", "Command_tj");
  QCOMPARE(g.text(6, 1), QString("P2"));
  QVERIFY(g.text(5, 1).isEmpty());
  QCOMPARE(g.text(8, 0), QString(" 5"));
  QCOMPARE(h.box("Text_dxbs")->text(), QString(" 4"));
  g.setCurrentCell(4, 1);
  h.run("Label6", "Command_sc");
  QCOMPARE(g.text(4, 0), QString(" 1"));
  QVERIFY(g.text(4, 1).isEmpty());
  QCOMPARE(g.text(5, 1), QString("P2"));
  QCOMPARE(h.box("Text_dxbs")->text(), QString(" 3"));
  QCOMPARE(h.messages.shown.size(), size_t(2));
}

void RigorousWindowTest::openCorrectsTheNumberOfSides() {
  RigorousHarness h;
  h.open(h.write("seven.dat", DataText(" 7, 5, 5, 5, 0", 10)));
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  RigorousGrid& g = h.grid();
  QCOMPARE(g.rows(), 17);
  QCOMPARE(g.text(13, 1), QString("S10"));
  QCOMPARE(g.text(13, 0), QString(" 10"));
  QCOMPARE(g.text(15, 1), QString("C"));
  QCOMPARE(h.box("Text_dxbs")->text(), QString(" 9"));
  QCOMPARE(h.get<QLabel>("L_10")->text(), QString("告示：您错输导线边数  7，程序已修正为 9！"));
  QCOMPARE(h.box("Text_cj")->text(), QString(" 5"));
  QCOMPARE(h.box("Text_tym")->text(), QString("0"));
  QCOMPARE(h.files.requests.back().title, QString("打开文件"));
  // A correct file clears the notice.
  h.open(h.write("nine.dat", DataText(" 9, 5, 5, 5, 0", 10)));
  QVERIFY(h.get<QLabel>("L_10")->text().isEmpty());
}

void RigorousWindowTest::refusedOpenLeavesEverythingAsItWas() {
  RigorousHarness h;
  h.open(h.write("good.dat", DataText(" 3, 5, 5, 5, 12.5", 4)));
  h.grid().setText(5, 2, "mine");
  const QList<QStringList> table = Rows(h.grid());
  const QStringList boxes = Boxes(h);
  const struct {
    QByteArray text;
    const char* message;
  } refused[] = {
      {" 3, 5, 5, 5\r\nA,1,2,3\r\n\r\n", "文本中第1行格式不对！"},
      {DataText(" 3, 5, 5, 5, 0", 4).replace("B,900,1100,11", "B,900,1100"), "文本中第3行格式不对！"},
      {"\r\n", "此为空文本，不予接受！"},
  };
  for (const auto& r : refused) {
    h.open(h.write("bad.dat", r.text));
    QCOMPARE(h.messages.lastText(), QString::fromUtf8(r.message));
    QCOMPARE(Rows(h.grid()), table);
    QCOMPARE(Boxes(h), boxes);
  }
}

void RigorousWindowTest::savedDataReadsBackWhole() {
  RigorousHarness h;
  QTest::keyClicks(h.box("Text_dxbs"), "1");
  QTest::keyClicks(h.box("Text_cj"), "2.5");
  RigorousGrid& g = h.grid();
  g.setText(1, 1, "A");
  g.setText(4, 1, "B");
  g.setText(4, 2, "90.3000");
  const QString path = h.scratch.filePath("saved.DAT");
  {
    QFile old(path);  // an older, longer file the user agreed to replace
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));
  }
  h.files.answers.push_back(path);
  h.run("Label4", "bc");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("保存文件"));
  const QByteArray saved = Contents(path);
  QVERIFY(saved.startsWith(" 1, 2.5, 0, 0,  0\r\nA,  0,  0,  0\r\n"));
  QVERIFY(saved.contains("\r\nB,90.3000,  0,  0,  0,  0,  0,  0,  0\r\n"));
  QVERIFY(saved.endsWith("\r\n\r\n"));
  QVERIFY(!saved.contains('x'));
  // Read back: every field is there.
  h.box("Text_cj")->clear();
  h.open(path);
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.grid().rows(), 9);
  QCOMPARE(h.grid().text(4, 2), QString("90.3000"));
  QCOMPARE(h.grid().text(5, 9), QString("  0"));
  QCOMPARE(h.box("Text_cj")->text(), QString(" 2.5"));
}

void RigorousWindowTest::parameterBoxesAndComputeAvailability() {
  RigorousHarness h;
  QLabel* compute = h.get<QLabel>("Label3");
  QLineEdit* tym = h.box("Text_tym");
  for (const char* name : {"Text_dxbs", "Text_j", "Text_c"}) {
    QTest::keyClicks(h.box(name), "1");
    QVERIFY(!compute->isEnabled());
  }
  QTest::keyClicks(h.box("Text_cj"), "5");
  QVERIFY(compute->isEnabled());
  h.box("Text_c")->clear();
  QVERIFY(!compute->isEnabled());
  QTest::keyClicks(h.box("Text_c"), "0");
  // The border shows while a box has the focus; the projection box empties
  // itself on entry and gets nine blanks before a number on leaving.
  tym->setText("50");
  tym->setFocus(Qt::TabFocusReason);
  QVERIFY(tym->hasFrame());
  QVERIFY(tym->text().isEmpty());
  QTest::keyClicks(tym, "12.5");
  h.box("Text_cj")->setFocus(Qt::TabFocusReason);
  QVERIFY(!tym->hasFrame());
  QCOMPARE(tym->text(), QString("         12.5"));
  tym->setFocus(Qt::TabFocusReason);
  h.box("Text_cj")->setFocus(Qt::TabFocusReason);
  QVERIFY(tym->text().isEmpty());
  // The pointer on compute fills an empty projection box.
  Enter(compute);
  Enter(h.get<QPushButton>("js"));
  QCOMPARE(tym->text(), QString("测区平均高程"));
  QVERIFY(!h.get<QLabel>("Label_mi")->isVisible());
  // Zeros read from a file leave boxes empty that still count as given.
  h.open(QString(KORVANE_EXAMPLES) + "/rigorous/one_way.dat");
  QVERIFY(h.box("Text_j")->text().isEmpty());
  QVERIFY(compute->isEnabled());
}

void RigorousWindowTest::computeWritesTheBatchProgramsReport_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<bool>("check");
  QTest::addColumn<QString>("standard");
  QTest::addColumn<QString>("grade");
  QFile cases(QString(KORVANE_TEST_DATA) + "/rigorous_window_cases.txt");
  QVERIFY(cases.open(QIODevice::ReadOnly | QIODevice::Text));
  while (!cases.atEnd()) {
    const QString line = QString::fromUtf8(cases.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList f = line.split('|');
    QVERIFY2(f.size() == 4, qPrintable(line));
    QTest::newRow(qPrintable(line)) << f[0] << (f[1] == "1") << f[2] << f[3];
  }
}

namespace {

// The batch program's report and picture for the same data and options.
void RunBatch(const QString& data, const QString& html, bool check, const QString& standard,
              const QString& grade) {
  QStringList args = {"rigorous", "--data", data, "--html", html};
  if (check) args << "--check";
  if (!standard.isEmpty()) args << "--standard" << standard;
  if (!grade.isEmpty()) args << "--grade" << grade;
  QProcess cli;
  cli.start(KORVANE_CLI, args);
  QVERIFY(cli.waitForFinished(60000));
  QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
}

// Computes in the window, accepts the save offer and names the report.
void ComputeAndSave(RigorousHarness& h, const QString& html) {
  h.messages.answers = {true};
  h.files.answers.push_back(html);
  h.run("Label3", "js");
}

void CompareWithBatch(const QString& windowHtml, const QString& cliHtml) {
  const QByteArray report = Contents(windowHtml);
  QVERIFY(report.startsWith("<html>"));
  QCOMPARE(report, Contents(cliHtml));
  QString windowImage = windowHtml;
  QString cliImage = cliHtml;
  windowImage.replace(".html", ".bmp");
  cliImage.replace(".html", ".bmp");
  const QByteArray picture = Contents(windowImage);
  QVERIFY(picture.startsWith("BM"));
  QVERIFY(picture == Contents(cliImage));
}

}  // namespace

void RigorousWindowTest::computeWritesTheBatchProgramsReport() {
  QFETCH(QString, file);
  QFETCH(bool, check);
  QFETCH(QString, standard);
  QFETCH(QString, grade);
  RigorousHarness h;
  const QString data = QString(KORVANE_EXAMPLES) + "/rigorous/" + file;
  h.open(data);
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  h.get<QCheckBox>("Ch1")->setChecked(check);
  if (!standard.isEmpty()) h.get<QComboBox>("Co1")->setCurrentText(standard);
  if (!grade.isEmpty()) h.get<QComboBox>("Co2")->setCurrentText(grade);
  QDir(h.scratch.path()).mkdir("window");
  QDir(h.scratch.path()).mkdir("batch");
  // The chosen name is kept as typed and gets its extension.
  ComputeAndSave(h, h.scratch.filePath("window/Report"));
  QVERIFY2(h.messages.shown.size() == 1, qPrintable(h.messages.lastText()));
  QCOMPARE(h.messages.lastText(), QString("要保存结果吗？"));
  QCOMPARE(h.files.requests.back().title, QString("保存HTML文件"));
  RunBatch(data, h.scratch.filePath("batch/Report.html"), check, standard, grade);
  CompareWithBatch(h.scratch.filePath("window/Report.html"), h.scratch.filePath("batch/Report.html"));
  // The sketch is in the plot window and the inputs are locked.
  QVERIFY(h.w->plotWindow() && h.w->plotWindow()->isVisible());
  QVERIFY(!h.w->plotWindow()->canvas()->sketch().ops.empty());
  QVERIFY(h.w->afterCompute());
  QVERIFY(!h.get<QLabel>("Label3")->isEnabled());
  QVERIFY(!h.get<QPushButton>("js")->isVisible());
  QVERIFY(!h.get<QLabel>("Label7")->isEnabled());
  QVERIFY(!h.box("Text_dxbs")->isEnabled());
  QVERIFY(!h.get<QCheckBox>("Ch1")->isEnabled());
  QVERIFY(h.get<QLabel>("Label9")->isEnabled());
}

void RigorousWindowTest::backEditAndComputeAgain() {
  RigorousHarness h;
  h.open(QString(KORVANE_EXAMPLES) + "/rigorous/connecting.dat");
  h.messages.answers = {false};  // no report this time
  h.run("Label3", "js");
  QVERIFY(h.w->afterCompute());
  h.run("Label9", "Command_back");
  QVERIFY(!h.w->plotWindow()->isVisible());
  QVERIFY(!h.w->afterCompute());
  QVERIFY(h.box("Text_dxbs")->isEnabled());
  QVERIFY(h.box("Text_dxbs")->hasFocus());
  QVERIFY(h.get<QLabel>("Label3")->isEnabled());
  QVERIFY(!h.get<QLabel>("Label9")->isEnabled());
  // A distance changed by 2 cm, typed into the table.
  RigorousGrid& g = h.grid();
  Click(g, 5, 3);
  QTest::keyClicks(g.editBox(), "254.965");
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  const QString edited = h.scratch.filePath("edited.dat");
  h.files.answers.push_back(edited);
  h.run("Label4", "bc");
  ComputeAndSave(h, h.scratch.filePath("again.html"));
  QVERIFY2(h.messages.lastText() == QString("要保存结果吗？"), qPrintable(h.messages.lastText()));
  QDir(h.scratch.path()).mkdir("batch");
  RunBatch(edited, h.scratch.filePath("batch/again.html"), false, {}, {});
  CompareWithBatch(h.scratch.filePath("again.html"), h.scratch.filePath("batch/again.html"));
  QVERIFY(Contents(h.scratch.filePath("again.html")).contains("254.965"));
}

void RigorousWindowTest::grossMisclosureAsksAndCancelStops() {
  RigorousHarness h;
  h.open(QString(KORVANE_EXAMPLES) + "/rigorous/connecting.dat");
  h.grid().setText(5, 2, "213.2501");  // two degrees off
  h.messages.answers = {false};
  h.run("Label3", "js");
  QCOMPARE(h.messages.shown.size(), size_t(1));
  QCOMPARE(h.messages.lastText(), QString("角度闭合差已超过1度，要继续计算吗？"));
  QVERIFY(!h.w->afterCompute());
  QVERIFY(!h.w->plotWindow());
  // OK goes on to the linear misclosure, which is asked too.
  h.messages.answers = {true, false};
  h.run("Label3", "js");
  QCOMPARE(h.messages.shown.size(), size_t(3));
  QCOMPARE(h.messages.lastText(), QString("边长闭合差已超过1.5米，要继续计算吗？"));
  QVERIFY(!h.w->afterCompute());
  // OK to both computes; Cancel to the report offer writes nothing.
  h.messages.answers = {true, true, false};
  h.run("Label3", "js");
  QVERIFY2(h.w->afterCompute(), qPrintable(h.messages.texts().join('|')));
  QCOMPARE(h.messages.lastText(), QString("要保存结果吗？"));
  QVERIFY(h.files.requests.back().title != QString("保存HTML文件"));
}

void RigorousWindowTest::leastSquaresReportBesideTheWeightedOne_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("ticked");
  QFile cases(QString(KORVANE_TEST_DATA) + "/rigorous_least_squares_cases.txt");
  QVERIFY(cases.open(QIODevice::ReadOnly | QIODevice::Text));
  while (!cases.atEnd()) {
    const QString line = QString::fromUtf8(cases.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList f = line.split('|');
    QVERIFY2(f.size() == 2, qPrintable(line));
    QTest::newRow(qPrintable(line)) << f[0] << (f[1] == "1");
  }
}

namespace {

// The comparison report's coordinate rows: name, weighted X, Y, least-squares
// X, Y, differences ΔX, ΔY, Δ in mm.
QList<QStringList> ComparisonRows(const QString& html) {
  QList<QStringList> rows;
  static const QRegularExpression cell("<td>([^<]*)</td>");
  for (const QString& line : html.split("\r\n")) {
    QStringList cells;
    for (auto it = cell.globalMatch(line); it.hasNext();) cells << it.next().captured(1);
    if (cells.size() == 10) rows << cells;
  }
  return rows;
}

double Figure(const QString& html, const QString& before) {
  const int at = html.indexOf(before);
  if (at < 0) return -1;
  static const QRegularExpression number("-?[0-9.]+");
  return number.match(html, at + before.size()).captured(0).toDouble();
}

}  // namespace

void RigorousWindowTest::leastSquaresReportBesideTheWeightedOne() {
  QFETCH(QString, name);
  QFETCH(bool, ticked);
  RigorousHarness h;
  h.open(QString(KORVANE_EXAMPLES) + "/rigorous/" + name + ".dat");
  QCheckBox* box = h.get<QCheckBox>("Ch_zxec");
  QCOMPARE(box->text(), QString("严密平差（最小二乘）"));
  QVERIFY(!box->isChecked());
  box->setChecked(ticked);
  ComputeAndSave(h, h.scratch.filePath(name + ".html"));
  QVERIFY2(h.messages.shown.size() == 1, qPrintable(h.messages.lastText()));
  QVERIFY(!box->isEnabled());
  // The weighted report is the one written before the comparison existed.
  QCOMPARE(Contents(h.scratch.filePath(name + ".html")),
           Contents(QString(KORVANE_TEST_DATA) + "/rigorous_reports/" + name + ".html"));
  const QString comparison = h.scratch.filePath(name + "_最小二乘.html");
  QCOMPARE(QFile::exists(comparison), ticked);
  QCOMPARE(QFile::exists(h.scratch.filePath(name + "_最小二乘.bmp")), ticked);
  if (!ticked) return;
  const QString html = QString::fromStdString(ReadTextFile(comparison.toStdString()).text);
  QVERIFY(html.startsWith("<html>\r\n"));
  QVERIFY(html.contains("charset=gbk"));
  QVERIFY(html.contains(name + "_最小二乘.bmp"));
  const QList<QStringList> rows = ComparisonRows(html);
  QCOMPARE(rows.size(), h.grid().table().stationCount());
  double largest = 0;
  for (const QStringList& r : rows) {
    QVERIFY2(html.contains(r[0]), qPrintable(r[0]));
    // The differences agree with the printed coordinates to their rounding.
    QVERIFY2(std::abs((r[3].toDouble() - r[1].toDouble()) * 1000 - r[5].toDouble()) <= 1.05, qPrintable(r.join(' ')));
    QVERIFY2(std::abs((r[4].toDouble() - r[2].toDouble()) * 1000 - r[6].toDouble()) <= 1.05, qPrintable(r.join(' ')));
    largest = std::max(largest, r[7].toDouble());
  }
  // Both solutions end on the known points. Inside they distribute the same
  // misclosures differently: they differ by no more than half the linear
  // misclosure and the angular misclosure carried over the whole traverse.
  QCOMPARE(rows.front()[7].toDouble(), 0.0);
  QCOMPARE(rows.back()[7].toDouble(), 0.0);
  QCOMPARE(Figure(html, "两种平差最大点位差："), largest);
  const double bound =
      Figure(html, "0.5fs=") + std::abs(Figure(html, "fβ=")) / 206264.8 * Figure(html, "ΣS=") * 1000;
  qInfo().noquote() << name << "largest difference" << largest << "mm, 0.5 fs" << Figure(html, "0.5fs=") << "mm";
  QVERIFY2(largest <= bound, qPrintable(html));
  QVERIFY(!html.contains('?'));  // every character has its GBK code
}

void RigorousWindowTest::closingSaysGoodbye() {
  RigorousHarness h;
  h.run("Label5", "tc");
  QVERIFY(!h.w->isVisible());
  QVERIFY(h.window->goodbyeWindow() && h.window->goodbyeWindow()->isVisible());
}

QTEST_MAIN(RigorousWindowTest)
#include "rigorous_window_test.moc"
