// The road of one simple adjustment for each traverse kind, through the real
// main window: kind, start data typed into the dialog, data file opened,
// compute, results pane compared with the batch program, save, back.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "formats/start_data.h"
#include "io/text_file.h"
#include "formats/traverse_file.h"
#include "traverse/simple_adjustment.h"
#include "ui/traverse/plot_window.h"
#include "ui/traverse/start_dialog.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::traverse;
using namespace korvane::ui;
using namespace korvane::testing;

namespace {

struct Case {
  const char* kindOption;
  TraverseKind kind;
  const char* computeLabel;
  const char* computeButton;
  bool azimuthForm;
  // Start-data fields by record number (1..13); empty ones are left blank.
  std::map<int, QString> start;
  QString data;  // the traverse data file
  QString title;  // Label1 after opening the file
};

const char* const kConnecting =
    "F,K2\n"
    "K1,87.12352,332.833,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "P1,225.28524,340.178,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "P2,134.20066,354.893,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "K2,138.39326,0.000,1.500,1.500,0.0000,1.500,1.500,0.0000\n";
const char* const kClosed =
    "B,K1\n"
    "K1,64.46038,304.136,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "Q1,255.16280,305.290,1.502,1.500,0.0001,0,0,0\n"
    "Q2,282.07121,318.275,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "Q3,-99.01535,316.231,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "K1,216.52096,0.000,1.500,1.500,0.0000,1.500,1.500,0.0000\n";
const char* const kOpen =
    "Z,Z3\n"
    "K1,63.26058,212.132,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "支1,218.09260,251.794,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "Z2,141.50340,169.706,1.500,1.500,0.0000,1.500,1.500,0.0000\n";
const char* const kNoOrientation =
    "W,K9\n"
    "K1,123.00000,297.325,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "W1,127.43400,296.811,1.500,1.500,0.0000,1.500,1.500,0.0000\n"
    "W2,234.47061,291.551,1.500,1.500,0.0000,1.500,1.500,0.0000\n";

QList<Case> Cases() {
  return {
      {"fhdx", TraverseKind::Connecting, "Label3", "js", false,
       {{1, "5000.000"}, {2, "3000.000"}, {3, "100.000"}, {4, "5300.000"}, {5, "2900.000"},
        {6, "5110.300"}, {7, "3950.800"}, {8, "100.020"}, {9, "5400.000"}, {10, "4100.000"}},
       kConnecting, "K1(至)K2  附合导线计算："},
      {"bhdx", TraverseKind::Closed, "Label3", "js", false,
       {{1, "5000.000"}, {2, "3000.000"}, {3, "100.000"}, {4, "5300.000"}, {5, "2900.000"},
        {12, "5"}, {13, "5"}},
       kClosed, "K1(至)K1  闭合导线计算："},
      {"zdx", TraverseKind::Open, "Label10", "js2", true,
       {{1, "5000.000"}, {2, "3000.000"}, {3, "100.000"}, {4, "161.3354"}, {11, "120"}},
       kOpen, "K1(至)Z3  支导线计算："},
      {"wdxdx", TraverseKind::NoOrientation, "Label10", "js2", false,
       {{1, "5000.000"}, {2, "3000.000"}, {3, "100.000"}, {6, "4950.000"}, {7, "3800.000"},
        {8, "100.015"}},
       kNoOrientation, "K1(至)K9  无定向导线计算："},
  };
}

QString WriteData(const QTemporaryDir& dir, const QString& name, const QString& text) {
  const QString path = dir.path() + "/" + name;
  if (!WriteTextFile(path.toStdString(), text.toStdString()).empty()) qFatal("cannot write");
  return path;
}

// 打开数据 with a data file written for the test.
void OpenDataFile(MainWindowHarness& h, const QTemporaryDir& files, const QString& name, const QString& text) {
  h.files.answers.push_back(WriteData(files, name, text));
  Enter(h.label("Label7"));
  h.button("command_dk")->click();
}

void EnterStartData(MainWindowHarness& h, const Case& c) {
  h.find<QRadioButton>(c.kindOption)->click();
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  StartDialog* d = h.window->startDialog();
  QVERIFY(d->isVisible());
  if (c.azimuthForm) d->findChild<QRadioButton*>("Option_df")->click();
  if (c.start.count(11)) d->findChild<QRadioButton*>("Option_zdy")->click();
  if (c.start.count(12)) d->findChild<QRadioButton*>("Option_ok")->click();
  for (const auto& [record, value] : c.start) QTest::keyClicks(d->field(record), value);
  d->findChild<QPushButton*>("Command_ok")->click();
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY(!d->isVisible());
}

// What the batch program prints for the same files, or a null string when
// it is not built.
QString CliTable(const QString& start, const QString& data) {
#ifdef KORVANE_CLI
  QProcess cli;
  cli.start(KORVANE_CLI, {"traverse", "--start", start, "--data", data});
  if (!cli.waitForFinished(30000)) return QString("(korvane-cli did not finish)");
  return QString::fromUtf8(cli.readAllStandardOutput());
#else
  (void)start;
  (void)data;
  return QString();
#endif
}

}  // namespace

class ComputeFlowTest : public QObject {
  Q_OBJECT
 private slots:
  void eachKindFromStartDataToBack_data();
  void eachKindFromStartDataToBack();
  void examplesMatchTheBatchProgram_data();
  void examplesMatchTheBatchProgram();
  void refusalsLeaveTheInputView();
  void refusedFileLeavesTheGridAlone();
  void plotWindowScrollsAndSavesPictures();
  void endPointNameBelongsToItsFile();
  void partialTableIsShownAfterARefusal();
};

void ComputeFlowTest::eachKindFromStartDataToBack_data() {
  QTest::addColumn<int>("index");
  QTest::newRow("connecting") << 0;
  QTest::newRow("closed") << 1;
  QTest::newRow("open") << 2;
  QTest::newRow("no-orientation") << 3;
}

void ComputeFlowTest::eachKindFromStartDataToBack() {
  QFETCH(int, index);
  const Case c = Cases()[index];
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  if (QTest::currentTestFailed()) return;

  // Open the data file.
  const QString dataPath = WriteData(files, "traverse.DAT", c.data);
  Enter(h.label("Label7"));
  h.files.answers.push_back(dataPath);
  h.button("command_dk")->click();
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("打开文件"));
  QCOMPARE(h.label("Label1")->text(), c.title);
  const QList<QStringList> gridBefore = GridRows(h.grid());
  QCOMPARE(gridBefore.size(), c.data.count('\n') - 1);

  // A click in the last row appends a blank row; reaching the compute
  // command removes it again.
  ClickCell(h.grid(), h.grid().rows() - 1, 1);
  QTest::keyClick(h.grid().editBox(), Qt::Key_Return);
  QCOMPARE(GridRows(h.grid()).size(), gridBefore.size() + 1);
  RunCommand(h, c.computeLabel, c.computeButton);
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));

  // The pane holds the table the engine writes for the same input.
  auto* pane = h.find<QPlainTextEdit>("RichTextBox1");
  const TraverseFileLoad load = LoadTraverseFile(dataPath.toStdString(), c.kind);
  SimpleInput input;
  input.kind = c.kind;
  input.table = load.table;
  input.start = ReadStartFile(h.window->startFilePath().toStdString());
  input.endName = load.secondName;
  const SimpleResult expected = AdjustTraverse(input);
  QVERIFY(expected.ok());
  QCOMPARE(pane->toPlainText(), QString::fromStdString(ResultsText(expected)));
  QVERIFY(pane->toPlainText().contains("平差成果表"));
  const QString cli = CliTable(h.window->startFilePath(), dataPath);
  if (!cli.isNull()) {
    QVERIFY(!cli.isEmpty());
    QCOMPARE(pane->toPlainText(), cli);
  }

  // Results state.
  QVERIFY(pane->isVisible());
  QVERIFY(!h.grid().grid()->isVisible());
  for (const char* kind : {"fhdx", "bhdx", "zdx", "wdxdx"}) {
    QVERIFY(!h.find<QRadioButton>(kind)->isEnabled());
  }
  QVERIFY(!h.label("Label7")->isEnabled());
  QVERIFY(!h.button("command_dk")->isVisible());
  QVERIFY(!h.label(c.computeLabel)->isEnabled());
  QVERIFY(!h.button(c.computeButton)->isVisible());
  // The used command's caption is hidden with it, the pointer moving or not.
  MoveOverBackground(*h.window);
  QVERIFY(!h.label(c.computeLabel)->isVisible());
  QVERIFY(h.label("Label9")->isEnabled());
  QVERIFY(h.button("Command_back")->isEnabled());
  QVERIFY(!h.window->findChild<QAction*>("mune_qssj")->isEnabled());
  PlotWindow* plot = h.window->plotWindow();
  QVERIFY(plot && plot->isVisible());
  QVERIFY(!plot->canvas()->sketch().ops.empty());
  QVERIFY(plot->windowFlags() & Qt::WindowStaysOnTopHint);
  // The compute label stays unavailable under the pointer.
  Enter(h.label(c.computeLabel));
  QVERIFY(!h.button(c.computeButton)->isVisible());

  // Save: replaces an existing file, GBK with CR LF.
  const QString savePath = files.path() + "/results.txt";
  {
    QFile old(savePath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(20000, '~'));
  }
  h.files.answers.push_back(savePath);
  RunCommand(h, "Label4", "bc");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("保存文件"));
  QFile saved(savePath);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  const std::string expectedBytes =
      EncodeGbk(ToCrLf(pane->toPlainText().toStdString() + "\n"));
  QCOMPARE(bytes, QByteArray::fromStdString(expectedBytes));
  QVERIFY(!bytes.contains('~'));
  QVERIFY(bytes.contains("\r\n"));
  QVERIFY(!bytes.contains("\n\n"));
  // A name without an extension gets ".DAT".
  h.files.answers.push_back(files.path() + "/named");
  RunCommand(h, "Label4", "bc");
  QVERIFY(QFile::exists(files.path() + "/named.DAT"));

  // 保存为PDF…: the table reads back from the PDF word for word, in order;
  // 打印… shows the same pages in the preview.
  h.files.answers.push_back(files.path() + "/results");
  RunCommand(h, "Label14", "bcpdf");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QProcess pdfText;
  pdfText.start("pdftotext", {"-layout", files.path() + "/results.pdf", "-"});
  QVERIFY(pdfText.waitForFinished(30000));
  const QStringList read = QString::fromUtf8(pdfText.readAllStandardOutput()).split(QRegularExpression("\\s+"));
  qsizetype next = 0;
  for (const QString& word : pane->toPlainText().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
    while (next < read.size() && read[next] != word) ++next;
    QVERIFY2(next < read.size(), qPrintable(word));
    ++next;
  }
  RunCommand(h, "Label13", "dy");
  QPrintPreviewDialog* preview = nullptr;
  QTRY_VERIFY((preview = h.window->findChild<QPrintPreviewDialog*>("printPreview")) != nullptr);
  QTRY_VERIFY(preview->findChild<QPrintPreviewWidget*>()->pageCount() >= 2);  // the table, the sketch
  preview->reject();

  // Back: the grid as it was, the input state again.
  RunCommand(h, "Label9", "Command_back");
  QVERIFY(!plot->isVisible());
  QVERIFY(!pane->isVisible());
  QVERIFY(pane->toPlainText().isEmpty());
  QVERIFY(h.grid().grid()->isVisible());
  QCOMPARE(GridRows(h.grid()), gridBefore);
  QVERIFY(!h.label("Label9")->isEnabled());
  QVERIFY(!h.button("Command_back")->isEnabled());
  QVERIFY(h.window->findChild<QAction*>("mune_qssj")->isEnabled());
  for (const char* kind : {"fhdx", "bhdx", "zdx", "wdxdx"}) {
    QVERIFY(h.find<QRadioButton>(kind)->isEnabled());
  }
  QVERIFY(h.find<QRadioButton>(c.kindOption)->isChecked());
  QVERIFY(h.label(c.computeLabel)->isEnabled());
  QVERIFY(h.label(c.computeLabel)->isVisible());
  const char* other = std::string(c.computeButton) == "js" ? "js2" : "js";
  QVERIFY(!h.button(other)->isVisible());
  // Open data stays unavailable until start data are confirmed again.
  QVERIFY(!h.label("Label7")->isEnabled());

  // Computing again gives the same table; saving with an empty pane after
  // back is refused.
  RunCommand(h, "Label9", "Command_back");
  h.messages.shown.clear();
  RunCommand(h, c.computeLabel, c.computeButton);
  QVERIFY(h.messages.shown.empty());
  QCOMPARE(pane->toPlainText(), QString::fromStdString(ResultsText(expected)));
  RunCommand(h, "Label9", "Command_back");
  RunCommand(h, "Label4", "bc");
  QCOMPARE(h.messages.lastText(), QString("未计算，没有结果！"));
  QCOMPARE(h.messages.lastTitle(), QString("提示"));
  h.messages.shown.clear();
  RunCommand(h, "Label14", "bcpdf");
  QCOMPARE(h.messages.lastText(), QString("未计算，没有结果！"));
}

void ComputeFlowTest::examplesMatchTheBatchProgram_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kindOption");
  QTest::addColumn<QString>("computeLabel");
  QTest::addColumn<QString>("computeButton");
  QTest::newRow("connecting") << "connecting" << "fhdx" << "Label3" << "js";
  QTest::newRow("closed") << "closed" << "bhdx" << "Label3" << "js";
  QTest::newRow("open") << "open" << "zdx" << "Label10" << "js2";
  QTest::newRow("no-orientation") << "no_orientation" << "wdxdx" << "Label10" << "js2";
}

void ComputeFlowTest::examplesMatchTheBatchProgram() {
  QFETCH(QString, name);
  QFETCH(QString, kindOption);
  QFETCH(QString, computeLabel);
  QFETCH(QString, computeButton);
  const QString base = QString(KORVANE_EXAMPLES) + "/" + name;
  if (!QFile::exists(base + ".dat") || !QFile::exists(base + ".ini")) {
    QSKIP("example files not present");
  }
  const StartRecord example = ReadStartFile((base + ".ini").toStdString());
  MainWindowHarness h;
  h.find<QRadioButton>(qPrintable(kindOption))->click();
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  StartDialog* d = h.window->startDialog();
  // Choose the forms the example's records are written in, then type them.
  if (kindOption != "wdxdx" && example.record(5).empty() && !example.record(4).empty()) {
    d->findChild<QRadioButton*>("Option_df")->click();
  }
  if (!example.record(11).empty()) d->findChild<QRadioButton*>("Option_zdy")->click();
  if (!example.record(12).empty() || !example.record(13).empty()) {
    d->findChild<QRadioButton*>("Option_ok")->click();
  }
  for (int k = 1; k <= 13; ++k) {
    if (d->field(k)->isVisibleTo(d)) {
      QTest::keyClicks(d->field(k), QString::fromStdString(example.record(k)));
    }
  }
  d->findChild<QPushButton*>("Command_ok")->click();
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const StartRecord saved = ReadStartFile(h.window->startFilePath().toStdString());
  for (int k = 1; k <= 13; ++k) {
    QCOMPARE(QString::fromStdString(saved.record(k)), QString::fromStdString(example.record(k)));
  }

  h.files.answers.push_back(base + ".dat");
  RunCommand(h, "Label7", "command_dk");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const QList<QStringList> before = GridRows(h.grid());
  RunCommand(h, qPrintable(computeLabel), qPrintable(computeButton));
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  const QString pane = h.find<QPlainTextEdit>("RichTextBox1")->toPlainText();
  QVERIFY(pane.contains("平差成果表"));
  const QString cli = CliTable(base + ".ini", base + ".dat");
  if (!cli.isNull()) QCOMPARE(pane, cli);
  RunCommand(h, "Label9", "Command_back");
  QCOMPARE(GridRows(h.grid()), before);
}

void ComputeFlowTest::refusalsLeaveTheInputView() {
  const Case c = Cases()[0];
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  // An empty cell: the table check refuses before anything is computed.
  OpenDataFile(h, files, "bad.dat", c.data);
  h.grid().setText(2, 3, "");
  RunCommand(h, "Label3", "js");
  QCOMPARE(h.messages.lastText(), QString("第2行第3未输入数据！"));
  QCOMPARE(h.messages.lastTitle(), QString("请检查"));
  QVERIFY(h.grid().grid()->isVisible());
  QVERIFY(!h.find<QWidget>("RichTextBox1")->isVisible());
  QVERIFY(h.label("Label3")->isEnabled());
  QVERIFY(!h.label("Label9")->isEnabled());
  QVERIFY(!h.window->plotWindow() || !h.window->plotWindow()->isVisible());

  // A gross angle error is refused with its warning.
  h.grid().setText(2, 3, "340.178");
  h.grid().setText(2, 2, "227.28524");
  RunCommand(h, "Label3", "js");
  QCOMPARE(h.messages.lastText(), QString("角度闭合差已超过1度，不再接受计算！"));
  QCOMPARE(h.messages.lastTitle(), QString("警告"));
  QVERIFY(h.grid().grid()->isVisible());
  QVERIFY(h.label("Label3")->isEnabled());
  QCOMPARE(h.grid().text(2, 2), QString("227.28524"));
}

void ComputeFlowTest::refusedFileLeavesTheGridAlone() {
  const Case c = Cases()[0];
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  ObservationGrid& g = h.grid();
  ClickCell(g, 1, 1);
  QTest::keyClicks(g.editBox(), "MINE");
  ClickCell(g, 2, 3);
  QTest::keyClicks(g.editBox(), "12.5");
  QTest::keyClick(g.editBox(), Qt::Key_Return);
  const QList<QStringList> before = GridRows(g);

  // The kind letter differs from the selected kind.
  OpenDataFile(h, files, "closed.dat", kClosed);
  QCOMPARE(h.messages.lastText(),
           QString("文本中导线类型输入有误或与窗体上导线类型的选择不一致！"));
  QCOMPARE(h.messages.lastTitle(), QString("提醒"));
  QCOMPARE(GridRows(g), before);
  // A line with a wrong number of fields.
  h.files.answers.push_back(WriteData(files, "short.dat", "F,K2\nK1,1,2,3\n"));
  h.button("command_dk")->click();
  QCOMPARE(h.messages.lastText(), QString("文本中第 2行，列数不对"));
  QCOMPARE(GridRows(g), before);
  // Cancelling the dialog does nothing but ask first about the rows typed.
  const size_t shown = h.messages.shown.size();
  h.button("command_dk")->click();
  QCOMPARE(h.messages.shown.size(), shown + 1);
  QCOMPARE(h.messages.lastText(), QString("观测数据尚未保存，是否保存？"));
  QCOMPARE(GridRows(g), before);
  QCOMPARE(h.label("Label1")->text(), QString());
}

void ComputeFlowTest::plotWindowScrollsAndSavesPictures() {
  const Case c = Cases()[3];
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  OpenDataFile(h, files, "w.dat", c.data);
  RunCommand(h, "Label10", "js2");
  PlotWindow* plot = h.window->plotWindow();
  QVERIFY(plot && plot->isVisible());
  QCOMPARE(plot->objectName(), QString("Form_wcty"));
  QCOMPARE(plot->windowTitle(), QString("误差椭圆"));
  QScrollArea* viewport = plot->viewport();
  QCOMPARE(viewport->objectName(), QString("Picture1"));
  QCOMPARE(plot->canvas()->objectName(), QString("Picture2"));
  QVERIFY(plot->canvas()->width() > viewport->viewport()->width());
  QVERIFY(plot->canvas()->height() > viewport->viewport()->height());
  QVERIFY(viewport->horizontalScrollBar()->maximum() > 0);
  QVERIFY(viewport->verticalScrollBar()->maximum() > 0);

  QAction* save = plot->findChild<QAction*>("mune_bc");
  QVERIFY(save);
  QCOMPARE(save->text(), QString("保存图形"));
  h.files.answers.push_back(files.path() + "/sketch");
  save->trigger();
  QCOMPARE(h.files.requests.back().title, QString("保存文件"));
  QFile bmp(files.path() + "/sketch.bmp");
  QVERIFY(bmp.open(QIODevice::ReadOnly));
  QCOMPARE(bmp.read(2), QByteArray("BM"));
  h.files.answers.push_back(files.path() + "/sketch.jpg");
  save->trigger();
  QFile jpg(files.path() + "/sketch.jpg");
  QVERIFY(jpg.open(QIODevice::ReadOnly));
  QCOMPARE(jpg.read(2), QByteArray("\xFF\xD8", 2));
  // The picture is the sketch: not a blank page.
  QImage picture(files.path() + "/sketch.bmp");
  QVERIFY(!picture.isNull());
  bool inked = false;
  for (int y = 0; y < picture.height() && !inked; y += 2) {
    for (int x = 0; x < picture.width() && !inked; x += 2) {
      inked = picture.pixelColor(x, y) != QColor(Qt::white);
    }
  }
  QVERIFY(inked);
  // Cancelling writes nothing and says nothing.
  const size_t shown = h.messages.shown.size();
  save->trigger();
  QCOMPARE(h.messages.shown.size(), shown);
}

void ComputeFlowTest::endPointNameBelongsToItsFile() {
  const Case c = Cases()[3];  // no-orientation, end point K9 named in the file
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  OpenDataFile(h, files, "w.dat", c.data);
  const QList<QStringList> loaded = GridRows(h.grid());
  // Editing a cell keeps the file's name for the end point.
  h.grid().setText(2, 4, "1.501");
  RunCommand(h, c.computeLabel, c.computeButton);
  auto* pane = h.find<QPlainTextEdit>("RichTextBox1");
  QVERIFY(pane->toPlainText().contains("K1-K9段"));
  RunCommand(h, "Label9", "Command_back");

  // New start data with 否: a new traverse, typed by hand, ends at "终点".
  h.messages.shown.clear();
  h.messages.answers = {false};
  h.window->findChild<QAction*>("mune_qssj")->trigger();
  h.window->startDialog()->findChild<QPushButton*>("Command_dq")->click();
  h.window->startDialog()->findChild<QPushButton*>("Command_ok")->click();
  QCOMPARE(h.messages.lastText(), QString("表格中已有观测数据，是否保留？"));
  QCOMPARE(h.label("Label1")->text(), QString());
  QCOMPARE(h.grid().rows(), 2);
  while (h.grid().rows() < loaded.size() + 1) h.grid().insertRow();
  for (int r = 0; r < loaded.size(); ++r)
    for (int col = 1; col < 10; ++col) h.grid().setText(r + 1, col, loaded[r][col]);
  RunCommand(h, c.computeLabel, c.computeButton);
  QVERIFY(!pane->toPlainText().contains("K9"));
  QVERIFY(pane->toPlainText().contains("终点"));
}

void ComputeFlowTest::partialTableIsShownAfterARefusal() {
  Case c = Cases()[0];
  c.start[8] = "190.020";  // an end height 90 m off: the height corrections overflow
  MainWindowHarness h;
  QTemporaryDir files;
  EnterStartData(h, c);
  OpenDataFile(h, files, "c.dat", c.data);
  RunCommand(h, c.computeLabel, c.computeButton);
  QCOMPARE(h.messages.lastText(), QString("高程闭合差远远超限，不接受继续计算！"));
  // The table as far as it got is shown, without a sketch.
  auto* pane = h.find<QPlainTextEdit>("RichTextBox1");
  QVERIFY(pane->isVisible());
  QVERIFY(!h.grid().grid()->isVisible());
  QVERIFY(pane->toPlainText().contains("导线特征值"));
  QVERIFY(!h.window->plotWindow() || !h.window->plotWindow()->isVisible());
  QVERIFY(h.label("Label9")->isEnabled());
  // 保存文本 saves what is shown; 返回 brings the grid back.
  const QString savePath = files.path() + "/partial.txt";
  h.files.answers.push_back(savePath);
  RunCommand(h, "Label4", "bc");
  QFile saved(savePath);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(),
           QByteArray::fromStdString(EncodeGbk(ToCrLf(pane->toPlainText().toStdString() + "\n"))));
  RunCommand(h, "Label9", "Command_back");
  QVERIFY(h.grid().grid()->isVisible());
  QVERIFY(h.label(c.computeLabel)->isEnabled());
}

QTEST_MAIN(ComputeFlowTest)
#include "compute_flow_test.moc"
