#include "ui/traverse/simple_results.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "export/figures.h"
#include "formats/traverse_file.h"
#include "services/printable_reports.h"
#include "ui/shell/platform.h"
#include "ui/shell/report_printing.h"
#include "ui/shell/user_prompts.h"
#include "ui/traverse/plot_window.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

SimpleResults::SimpleResults(QWidget* window, MessageBoxes& messages, FileDialogs& files, QString& folder)
    : window_(window), messages_(messages), files_(files), folder_(folder), pane_(new QPlainTextEdit(window)) {
  pane_->setObjectName("RichTextBox1");
  pane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane_->setFont(TableFont(10));
  pane_->hide();
}

SimpleResults::~SimpleResults() { delete plot_; }

void SimpleResults::showTable(const traverse::SimpleResult& result) {
  pane_->setPlainText(QString::fromStdString(ResultsText(result)));
}

void SimpleResults::showAdjusted(const traverse::SimpleResult& result, formats::TraverseKind kind) {
  if (!plot_) plot_ = new PlotWindow(nullptr, messages_, files_);
  plot_->showSketch(result.sketch);
  figure_ = exporting::SimpleFigure(kind, result.points);
}

void SimpleResults::clear() {
  closePlot();
  pane_->clear();
  figure_ = {};
}

void SimpleResults::closePlot() {
  if (plot_) plot_->close();
}

bool SimpleResults::holdsTable() const {
  if (!pane_->toPlainText().isEmpty()) return true;
  messages_.inform(window_, formats::NothingToSaveMessage());
  return false;
}

void SimpleResults::save() {
  if (!holdsTable()) return;
  FileDialogRequest request;
  request.title = QString::fromUtf8("保存文件");
  request.filters = {QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("写字板文件(*.RTF *.rtf)"),
                     QString::fromUtf8("WORD文档(*.doc)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)")};
  request.folder = folder_.isEmpty() ? QDir::homePath() : folder_;
  request.defaultSuffix = "DAT";
  const QString path = WithDefaultSuffix(files_.saveFile(window_, request), "DAT");
  if (path.isEmpty()) return;
  folder_ = QFileInfo(path).absolutePath();
  const std::string error = formats::SaveResultsText(path.toStdString(), pane_->toPlainText().toStdString());
  if (!error.empty()) {
    messages_.inform(window_, Message{"结果无法保存：" + path.toStdString() + "\n" + error, "请检查",
                                      MessageIcon::Warning});
  }
}

void SimpleResults::print(bool pdf) {
  if (!holdsTable()) return;
  const render::PrintableReport report = services::SimpleResultsPrint(pane_->toPlainText(), sketch_);
  if (pdf) SaveReportPdf(window_, files_, messages_, report, folder_);
  else PrintReport(window_, report);
}

void SimpleResults::exportDrawing() { ExportDrawing({window_, messages_, files_, folder_}, figure_); }

void SimpleResults::exportCoordinates() { ExportCoordinates({window_, messages_, files_, folder_}, figure_); }

}  // namespace korvane::ui
