// The commands of the network window that reach the engine and the files:
// open and save data, the row commands, compute, the report and the sketch.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "export/figures.h"
#include "export/point_list.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "services/network_report_files.h"
#include "services/printable_reports.h"
#include "report/report_file.h"
#include "ui/widgets/background_run.h"
#include "ui/widgets/cell_editor.h"
#include "ui/network/network_grid.h"
#include "ui/network/network_window.h"
#include "ui/shell/platform.h"
#include "ui/traverse/plot_window.h"
#include "ui/shell/report_printing.h"
#include "ui/shell/user_prompts.h"
#include "traverse/rigorous_report.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

void NetworkWindow::refuse(const std::string& what, const QString& path, const std::string& why) {
  messages_.inform(this, Message{what + path.toStdString() + "\n" + why, "请检查", MessageIcon::Warning});
}

QString NetworkWindow::chooseDataFile(bool saving) {
  FileDialogRequest request;
  request.title = QString::fromUtf8(saving ? "保存文件" : "打开文件");
  request.filters = {QString::fromUtf8("网文件(*.NET *.net)"), QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)")};
  if (!saving) request.filters << QString::fromUtf8("所有文件(*)");
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  request.defaultSuffix = saving ? "net" : "";
  const QString path = saving ? WithDefaultSuffix(files_.saveFile(this, request), "net")
                              : files_.openFile(this, request);
  if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
  return path;
}

void NetworkWindow::openData() {
  known_->editor().commitAndClose();
  observations_->editor().commitAndClose();
  const QString path = chooseDataFile(false);
  if (path.isEmpty()) return;
  const BusyCursor busy;
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile(path.toStdString(), error);
  if (!error.empty()) return refuse("数据无法读取：", path, error);
  // A refused file leaves the tables and the boxes as they were.
  if (!load.ok()) return messages_.inform(this, *load.refusal);
  known_->fill(KnownPointRows(load.input));
  observations_->fill(ObservationRows(load.input));
  const PrecisionTexts texts = PrecisionBoxes(load.input);
  for (std::size_t i = 0; i < texts.size(); ++i) precisionBoxes_[i]->setText(QString::fromStdString(texts[i]));
  forgetResult();
  pages_->setCurrentIndex(0);
}

void NetworkWindow::saveData() {
  known_->editor().commitAndClose();
  observations_->editor().commitAndClose();
  // Only records the reader accepts are saved, so that the file opens again.
  const NetworkTablesRead read = NetworkFromTables(known_->contents(), observations_->contents(), precisionTexts());
  if (!read.ok()) return messages_.inform(this, *read.refusal);
  const bool plotShown = plot_ && plot_->isVisible();
  if (plotShown) plot_->hide();
  const QString path = chooseDataFile(true);
  if (plotShown) plot_->show();
  if (path.isEmpty()) return;
  const BusyCursor busy;
  const std::string error = SaveNetworkFile(path.toStdString(), read.input);
  if (!error.empty()) refuse("数据无法保存：", path, error);
}

void NetworkWindow::insertRow() { activeGrid().insertRow(); }

void NetworkWindow::deleteRow() {
  if (!activeGrid().deleteRow()) {
    messages_.inform(this, Message{"请先选中要删除的行！", "提醒", MessageIcon::Information});
  }
}

void NetworkWindow::compute() {
  known_->editor().commitAndClose();
  observations_->editor().commitAndClose();
  forgetResult();
  const BusyCursor busy;
  const NetworkTablesRead read = NetworkFromTables(known_->contents(), observations_->contents(), precisionTexts());
  if (!read.ok()) return messages_.inform(this, *read.refusal);
  network::NetworkOptions chosen = options();
  // Off the interface thread; 取消 stops it at the next iteration.
  const auto adjust = [this, &read](network::NetworkOptions wanted) {
    return RunOffInterface(this, QString::fromUtf8("正在平差…"), [&read, wanted](const std::atomic<bool>& stop) mutable {
      wanted.stopRequested = [&stop] { return stop.load(); };
      return AdjustNetwork(read.input, wanted);
    });
  };
  std::optional<network::NetworkOutcome> outcome = adjust(chosen);
  if (!outcome) return;
  if (!outcome->ok()) return messages_.inform(this, *outcome->refusal);
  if (const auto offer = network::SnoopOffer(outcome->result); offer && messages_.askYesNo(this, *offer, false)) {
    chosen.snoop = true;
    outcome = adjust(chosen);
    if (!outcome) return;
    if (!outcome->ok()) return messages_.inform(this, *outcome->refusal);
  }
  computed_ = std::make_unique<Computed>(Computed{read.input, std::move(outcome->result), chosen});
  QStringList lines{QString::fromUtf8("未知点平差坐标及精度（误差椭圆 E、F 为 1σ，φ 为 E 的方位角）：")};
  for (const std::string& line : NetworkPointTable(computed_->result)) lines << QString::fromStdString(line);
  lines << QString();
  for (const std::string& line : NetworkSummaryLines(computed_->result)) lines << QString::fromStdString(line);
  const double exaggeration = EllipseExaggeration(computed_->result);
  lines << QString() << QString::fromUtf8("草图中误差椭圆放大 %1 倍。").arg(exaggeration, 0, 'g', 12);
  results_->setPlainText(lines.join('\n'));
  pages_->setCurrentIndex(1);
  for (QPushButton* command : resultCommands_) command->setEnabled(true);
  showSketch();
}

void NetworkWindow::showSketch() {
  if (!computed_) return;
  if (!plot_) plot_ = new PlotWindow(nullptr, messages_, files_);
  plot_->showSketch(NetworkSketch(computed_->result, EllipseExaggeration(computed_->result)));
}

void NetworkWindow::saveReport() {
  if (!computed_) return;
  const bool plotShown = plot_ && plot_->isVisible();
  if (plotShown) plot_->hide();
  FileDialogRequest request;
  request.title = QString::fromUtf8(report::kReportDialogTitle);
  request.filters = {QString::fromUtf8("HTML文件(*.HTML *.html *.htm)")};
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  const std::string path = report::ReportFileName(files_.saveFile(this, request).toStdString());
  if (!path.empty()) {
    lastFolder_ = QFileInfo(QString::fromStdString(path)).absolutePath();
    const BusyCursor busy;
    const services::ReportFilesWrite write =
        services::WriteNetworkReportFiles(path, computed_->input, computed_->result, computed_->options);
    if (write.refusal) messages_.inform(this, *write.refusal);
    if (!write.error.empty()) refuse("报告无法保存：", QString::fromStdString(path), write.error);
  }
  if (plotShown) plot_->show();
}

void NetworkWindow::printReport(bool pdf) {
  if (!computed_) return;
  const render::PrintableReport report = services::NetworkReportPrint(computed_->input, computed_->result, computed_->options);
  if (pdf) SaveReportPdf(this, files_, messages_, report, lastFolder_);
  else PrintReport(this, report);
}

void NetworkWindow::exportDrawing() {
  if (computed_) ExportDrawing({this, messages_, files_, lastFolder_}, exporting::NetworkFigure(computed_->result));
}

void NetworkWindow::exportCoordinates() {
  if (computed_) ExportCoordinates({this, messages_, files_, lastFolder_}, exporting::NetworkFigure(computed_->result));
}

void NetworkWindow::readKnownPoints() {
  known_->editor().commitAndClose();
  std::vector<std::string> names;
  for (int r = 0; r < known_->rows(); ++r) names.push_back(known_->text(r, 0).trimmed().toStdString());
  ReadKnownPoints({this, messages_, files_, lastFolder_}, names, [this](std::size_t r, const exporting::FigurePoint& p) {
    known_->setText(static_cast<int>(r), 1, QString::fromStdString(exporting::Metres(p.x)));
    known_->setText(static_cast<int>(r), 2, QString::fromStdString(exporting::Metres(p.y)));
    forgetResult();
  });
}

}  // namespace korvane::ui
