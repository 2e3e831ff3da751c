// The commands of the rigorous-adjustment window that reach the engine and
// the files: compute with the report offer (and the least-squares comparison
// beside it), save and open data, and the row commands.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "formats/observation_check.h"
#include "formats/traverse_file.h"
#include "services/least_squares_comparison.h"
#include "services/printable_reports.h"
#include "services/rigorous_report_files.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_data_file.h"
#include "report/report_file.h"
#include "traverse/rigorous_sketch.h"
#include "standards/tolerance.h"
#include "export/figures.h"
#include "export/point_list.h"
#include "core/text_utils.h"
#include "ui/widgets/cell_editor.h"
#include "ui/widgets/hover_command.h"
#include "ui/shell/platform.h"
#include "ui/shell/report_printing.h"
#include "ui/traverse/plot_window.h"
#include "ui/traverse/rigorous_grid.h"
#include "ui/traverse/rigorous_window.h"
#include "ui/widgets/standard_grade_picker.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

namespace {

Message CannotMessage(const std::string& what, const QString& path, const std::string& why) {
  return {what + path.toStdString() + "\n" + why, "请检查", MessageIcon::Warning};
}

bool IsQuestion(const Message& message) {
  return message == traverse::AngularMisclosureQuestion() || message == traverse::LinearMisclosureQuestion();
}

}  // namespace

void RigorousWindow::compute() {
  grid_->editor().commitAndClose();
  const formats::RigorousTable table = grid_->table();
  const formats::RigorousParameters params = parameters();
  const AskOkCancel ask = [this](const Message& question) {
    return messages_.askOkCancel(this, question);
  };
  // The grid is read once; the adjustment and the comparison work from what it holds.
  const formats::TraverseObservationsRead read = formats::ReadWeightedTraverse(table, params);
  traverse::RigorousOutcome outcome{read.refusal, {}};
  if (read.ok()) {
    BusyCursor busy;
    outcome = traverse::AdjustRigorous(read.observations, ask);
    if (outcome.ok()) {
      if (!plot_) plot_ = new PlotWindow(nullptr, messages_, files_);
      plot_->showSketch(RigorousSketch(table, outcome.result));
    }
  }
  if (!outcome.ok()) {
    if (const auto cell = formats::CellNamedBy(outcome.refusal->text)) grid_->setCurrentCell(cell->row, cell->column);
    // A question answered with Cancel stops quietly; anything else is said.
    if (!IsQuestion(*outcome.refusal)) messages_.inform(this, *outcome.refusal);
    return;
  }
  afterCompute_ = true;
  figure_ = exporting::RigorousFigure(table, outcome.result);
  setInputsUsable(false);
  offerReport(table, params, read.observations, outcome.result);
}

void RigorousWindow::offerReport(const formats::RigorousTable& table, const formats::RigorousParameters& params,
                                 const formats::TraverseObservations& observations,
                                 const traverse::RigorousResult& result) {
  const bool checked = tolerance_->checkWanted();
  const standards::ToleranceRow& row = standards::SelectToleranceRow(code_->text().toStdString());
  const traverse::ToleranceLimits limits = DeriveLimits(row, result);
  const traverse::ToleranceMarks marks = CheckTolerance(row, limits, result, checked);
  // Kept for 打印… and 保存为PDF… until 返回.
  report_ = std::make_unique<render::PrintableReport>(
      services::RigorousReportPrint(traverse::RigorousReportInput{table, params, result, row, limits, marks, checked, {}}));
  // Asked over the plot window, which stays on top of this one.
  if (!messages_.askOkCancel(plot_, report::SaveReportQuestion())) return;

  plot_->hide();
  FileDialogRequest request;
  request.title = QString::fromUtf8(report::kReportDialogTitle);
  request.filters = {QString::fromUtf8("HTML文件(*.HTML *.html *.htm)")};
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  const QString chosen = files_.saveFile(this, request);
  const std::string path = report::ReportFileName(chosen.toStdString());
  if (!path.empty()) {
    lastFolder_ = QFileInfo(QString::fromStdString(path)).absolutePath();
    const traverse::RigorousReportInput input{table, params, result, row, limits, marks, checked, {}};
    services::ReportFilesWrite write;
    {
      BusyCursor busy;
      write = services::WriteRigorousReportFiles(path, input);
    }
    if (write.refusal) messages_.inform(this, *write.refusal);
    if (!write.error.empty()) {
      messages_.inform(this, CannotMessage("报告无法保存：", QString::fromStdString(path), write.error));
    }
    if (write.ok() && leastSquares_->isChecked()) writeComparison(path, observations, result);
  }
  plot_->show();
}

void RigorousWindow::writeComparison(const std::string& reportPath, const formats::TraverseObservations& observations,
                                     const traverse::RigorousResult& result) {
  services::ReportFilesWrite write;
  {
    BusyCursor busy;
    write = services::WriteLeastSquaresComparison(reportPath, observations, result);
  }
  if (write.refusal) messages_.inform(this, *write.refusal);
  if (!write.error.empty()) {
    const QString path = QString::fromStdString(services::LeastSquaresReportPath(reportPath));
    messages_.inform(this, CannotMessage("比较报告无法保存：", path, write.error));
  }
}

void RigorousWindow::printReport(bool pdf) {
  if (!report_) {
    messages_.inform(this, formats::NothingToSaveMessage());
    return;
  }
  if (pdf) SaveReportPdf(this, files_, messages_, *report_, lastFolder_);
  else PrintReport(this, *report_);
}

QString RigorousWindow::chooseFile(bool saving) {
  FileDialogRequest request;
  request.title = QString::fromUtf8(saving ? "保存文件" : "打开文件");
  request.filters = {QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)"),
                     QString::fromUtf8("写字板文件(*.RTF *.rtf)")};
  if (!saving) request.filters << QString::fromUtf8("所有文件(*)");
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  request.defaultSuffix = saving ? "DAT" : "";
  QString path = saving ? WithDefaultSuffix(files_.saveFile(this, request), "DAT")
                        : files_.openFile(this, request);
  if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
  return path;
}

bool RigorousWindow::saveData() {
  grid_->editor().commitAndClose();
  // The plot window stays on top: it steps aside while the dialog is open.
  const bool plotShown = plot_ && plot_->isVisible();
  if (plotShown) plot_->hide();
  const QString path = chooseFile(true);
  if (plotShown) plot_->show();
  if (path.isEmpty()) return false;
  const formats::RigorousTable table = grid_->table();
  std::string error;
  {
    BusyCursor busy;
    error = SaveRigorousFile(path.toStdString(), table, parameters());
  }
  if (!error.empty()) {
    messages_.inform(this, CannotMessage("数据无法保存：", path, error));
    return false;
  }
  savedTable_ = table;
  return true;
}

void RigorousWindow::markSaved() { savedTable_ = grid_->table(); }

bool RigorousWindow::hasUnsavedRows() const {
  const formats::RigorousTable now = grid_->table();
  if (now == savedTable_) return false;
  // A table with nothing typed in it (rows made by the number of sides) has
  // nothing to lose.
  for (int r = 0; r < now.rows(); ++r)
    for (int c = 1; c < formats::kRigorousColumns; ++c)
      if (!grid_->isFixed(r, c) && !Trim(now.view(r, c)).empty()) return true;
  return false;
}

bool RigorousWindow::offerToSave() {
  grid_->editor().commitAndClose();
  if (!hasUnsavedRows()) return true;
  return SaveBeforeLeaving(messages_, this, [this] { return saveData(); });
}

void RigorousWindow::openData() {
  if (!offerToSave()) return;
  const QString path = chooseFile(false);
  if (path.isEmpty()) return;
  std::string error;
  formats::RigorousFileLoad load;
  {
    BusyCursor busy;
    load = formats::LoadRigorousFile(path.toStdString(), error);
    if (!load.refusal && error.empty()) grid_->fill(load.table);
  }
  if (!error.empty()) {
    messages_.inform(this, CannotMessage("数据无法读取：", path, error));
    return;
  }
  // A refused file leaves the table and the boxes as they were.
  if (load.refusal) {
    messages_.inform(this, *load.refusal);
    return;
  }
  grid_->setCurrentCell(formats::RigorousTable::stationRow(1), 1);
  const std::pair<QLineEdit*, const std::string*> values[] = {
      {sidesBox_, &load.params.sideCount},
      {angleErrorBox_, &load.params.priorAngleError},
      {additiveConstantBox_, &load.params.additiveConstant},
      {scaleConstantBox_, &load.params.scaleConstant},
      {projectionHeightBox_, &load.params.projectionHeight}};
  for (const auto& [box, value] : values) {
    box->setProperty(kReadZero, value->empty());
    box->setText(QString::fromStdString(*value));
  }
  notice_->setText(QString::fromStdString(load.notice));
  refreshCompute();
  markSaved();
}

void RigorousWindow::insertRow() {
  if (!grid_->insertRow()) {
    messages_.inform(this, Message{"只能在观测数据栏插入行！", "注意", MessageIcon::Information});
    return;
  }
  showSides();
}

void RigorousWindow::deleteRow() {
  if (!grid_->deleteRow()) {
    messages_.inform(this, Message{"非观测数据严禁删除！", "提醒", MessageIcon::Information});
    return;
  }
  showSides();
}

void RigorousWindow::exportDrawing() { ExportDrawing({this, messages_, files_, lastFolder_}, figure_); }
void RigorousWindow::exportCoordinates() { ExportCoordinates({this, messages_, files_, lastFolder_}, figure_); }

void RigorousWindow::readKnownPoints() {
  grid_->editor().commitAndClose();
  const formats::RigorousTable table = grid_->table();
  // A, B, C, D: name, X, Y and H in columns 1 to 4; only B and C take H.
  const int rows[] = {1, 2, table.endRow(), table.connectRow()};
  std::vector<std::string> names;
  for (int row : rows) names.push_back(Trim(table.at(row, 1)));
  ReadKnownPoints({this, messages_, files_, lastFolder_}, names, [&](std::size_t k, const exporting::FigurePoint& p) {
    grid_->setText(rows[k], 2, QString::fromStdString(exporting::Metres(p.x)));
    grid_->setText(rows[k], 3, QString::fromStdString(exporting::Metres(p.y)));
    if ((k == 1 || k == 2) && p.h) grid_->setText(rows[k], 4, QString::fromStdString(exporting::Metres(*p.h)));
  });
}

}  // namespace korvane::ui
