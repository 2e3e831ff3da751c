// 打印… and 保存为PDF… in the results windows (weighted traverse, levelling,
// network), one table of windows: nothing to print before a computation; the
// PDF file holds the report's text; a read-only target is refused and left
// as it was; the print preview shows the pages.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "ui/levelling/levelling_window.h"
#include "ui/network/network_window.h"
#include "ui/traverse/rigorous_window.h"
#include "ui_test_support.h"

using namespace korvane;
using namespace korvane::testing;

namespace {

struct WindowCase {
  const char* menuEntry;
  QString data;                                   // opened with 打开数据
  std::function<QWidget*(MainWindow&)> window;
  bool hover;          // commands are hover pairs: the caption label first
  QStringList inPdf;   // texts the PDF's text holds: a heading and adjusted values
};

QList<WindowCase> Cases() {
  const QString examples = KORVANE_EXAMPLES;
  return {
      {"m_dandx", examples + "/rigorous/connecting.dat", [](MainWindow& m) { return static_cast<QWidget*>(m.shell().window<RigorousWindow>("rigorous")); }, true,
       {"平差成果表", "3712.905", "2668.221", "3688.774", "3411.927"}},
      {"m_szjcw", examples + "/levelling/network.lev",
       [](MainWindow& m) { return static_cast<QWidget*>(m.shell().window<LevellingWindow>("levelling")); }, false,
       {"水准交叉网平差成果表", "52.0071", "53.5151", "51.0016"}},
      {"m_dxw", examples + "/network/junction.net", [](MainWindow& m) { return static_cast<QWidget*>(m.shell().window<NetworkWindow>("network")); }, false,
       {"导线网严密平差", "4920.430", "3245.120", "4830.939", "3851.228"}},
  };
}

const char* LabelOf(const char* button) {
  const std::pair<const char*, const char*> labels[] = {
      {"command_dk", "Label7"}, {"js", "Label3"}, {"dy", "Label13"}, {"bcpdf", "Label14"}};
  for (const auto& [b, l] : labels) {
    if (std::string(b) == button) return l;
  }
  return "";
}

void Run(QWidget* w, bool hover, const char* button) {
  if (hover) Enter(w->findChild<QLabel*>(LabelOf(button)));
  auto* b = w->findChild<QPushButton*>(button);
  if (!b) qFatal("no command %s", button);
  if (hover) Enter(b);
  b->click();
}

QString PdfText(const QString& path) {
  QProcess text;
  text.start("pdftotext", {"-layout", path, "-"});
  if (!text.waitForFinished(30000)) return {};
  return QString::fromUtf8(text.readAllStandardOutput());
}

}  // namespace

class ReportPrintTest : public QObject {
  Q_OBJECT
 private slots:
  void printAndPdfOfEachResultsWindow_data();
  void printAndPdfOfEachResultsWindow();
};

void ReportPrintTest::printAndPdfOfEachResultsWindow_data() {
  QTest::addColumn<int>("index");
  QTest::newRow("weighted") << 0;
  QTest::newRow("levelling") << 1;
  QTest::newRow("network") << 2;
}

void ReportPrintTest::printAndPdfOfEachResultsWindow() {
  QFETCH(int, index);
  const WindowCase c = Cases()[index];
  MainWindowHarness h;
  QTemporaryDir folder;
  h.window->findChild<QAction*>(c.menuEntry)->trigger();
  QWidget* w = c.window(*h.window);
  QVERIFY(w);
  (void)QTest::qWaitForWindowExposed(w);
  auto* pdfCommand = w->findChild<QPushButton*>("bcpdf");
  auto* printCommand = w->findChild<QPushButton*>("dy");
  QVERIFY(pdfCommand && printCommand);
  QCOMPARE(pdfCommand->text(), QString("保存为PDF…"));
  QCOMPARE(printCommand->text(), QString("打印…"));

  // Nothing computed: unavailable, or "nothing to save" without a dialog.
  h.files.answers.push_back(folder.filePath("early.pdf"));
  const std::size_t dialogs = h.files.requests.size();
  if (pdfCommand->isEnabled()) {
    Run(w, c.hover, "bcpdf");
    QCOMPARE(h.messages.lastText(), QString("未计算，没有结果！"));
  }
  QCOMPARE(h.files.requests.size(), dialogs);
  QVERIFY(!QFile::exists(folder.filePath("early.pdf")));
  h.files.answers.clear();
  h.messages.shown.clear();

  h.files.answers.push_back(c.data);
  Run(w, c.hover, "command_dk");
  h.messages.answers = {false};  // the weighted window's offer of the HTML report
  Run(w, c.hover, "js");
  h.messages.shown.erase(std::remove_if(h.messages.shown.begin(), h.messages.shown.end(),
                                        [](const Message& m) { return m.icon == MessageIcon::Question; }),
                         h.messages.shown.end());
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QVERIFY(pdfCommand->isEnabled() && printCommand->isEnabled());

  // A name without an ending gets ".pdf".
  h.files.answers.push_back(folder.filePath("报告"));
  Run(w, c.hover, "bcpdf");
  QVERIFY2(h.messages.shown.empty(), qPrintable(h.messages.lastText()));
  QCOMPARE(h.files.requests.back().title, QString("保存为PDF"));
  const QString pdf = folder.filePath("报告.pdf");
  QFile written(pdf);
  QVERIFY(written.open(QIODevice::ReadOnly));
  QVERIFY(written.read(5) == "%PDF-");
  const QString text = PdfText(pdf);
  for (const QString& expected : c.inPdf) QVERIFY2(text.contains(expected), qPrintable(expected));
  QVERIFY(text.contains("第 1 页 / 共") || text.contains("第1页/共"));

  // A read-only target: refused, the file as it was.
  const QString readOnly = folder.filePath("只读.pdf");
  {
    QFile old(readOnly);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  h.files.answers.push_back(readOnly);
  Run(w, c.hover, "bcpdf");
  QCOMPARE(h.messages.lastText(), QString("文件只读,请先改变文件属性"));
  QFile kept(readOnly);
  QVERIFY(kept.open(QIODevice::ReadOnly));
  QCOMPARE(kept.readAll(), QByteArray("old"));
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

  // 打印…: the preview with the report's pages, closed again.
  Run(w, c.hover, "dy");
  QPrintPreviewDialog* preview = nullptr;
  QTRY_VERIFY((preview = w->findChild<QPrintPreviewDialog*>("printPreview")) != nullptr);
  QVERIFY(preview->isVisible());
  auto* pages = preview->findChild<QPrintPreviewWidget*>();
  QVERIFY(pages);
  QTRY_VERIFY(pages->pageCount() >= 1);
  preview->reject();
  QTRY_VERIFY(w->findChild<QPrintPreviewDialog*>("printPreview") == nullptr);
}

QTEST_MAIN(ReportPrintTest)
#include "report_print_test.moc"
