#include "ui/shell/report_printing.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

void PrintReport(QWidget* parent, const render::PrintableReport& report) {
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  // The pages are laid out on the whole sheet, with margins of their own.
  printer->setFullPage(true);
  printer->setDocName(report.title);
  auto* preview = new QPrintPreviewDialog(printer.get(), parent);
  preview->setObjectName("printPreview");
  preview->setWindowTitle(QString::fromUtf8("打印预览"));
  preview->setAttribute(Qt::WA_DeleteOnClose);
  // The connection keeps the printer and the report as long as the dialog lives.
  QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                   [printer, report](QPrinter* target) { PaintReport(*target, report); });
  preview->open();
}

void SaveReportPdf(QWidget* parent, FileDialogs& files, MessageBoxes& messages, const render::PrintableReport& report,
                   QString& folder) {
  FileDialogRequest request;
  request.title = QString::fromUtf8("保存为PDF");
  request.filters = {QString::fromUtf8("PDF文件(*.pdf *.PDF)")};
  request.folder = folder.isEmpty() ? QDir::homePath() : folder;
  request.defaultSuffix = "pdf";
  const QString path = WithDefaultSuffix(files.saveFile(parent, request), "pdf");
  if (path.isEmpty()) return;
  folder = QFileInfo(path).absolutePath();
  report::ReportWrite write;
  {
    const BusyCursor busy;
    write = WriteReportPdf(path.toStdString(), report);
  }
  if (write.refusal) messages.inform(parent, *write.refusal);
  else if (!write.error.empty())
    messages.inform(parent, Message{"PDF文件无法保存：" + write.error, "提示", MessageIcon::Warning});
}

}  // namespace korvane::ui
