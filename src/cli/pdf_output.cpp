#include "pdf_output.h"

#include <iostream>

#include "cli_options.h"
#include "gui_application.h"

namespace korvane::cli {

QCommandLineOption PdfOption() {
  return QCommandLineOption("pdf", "另把报告写成 PDF 文件（A4，注页码）。", "FILE.pdf");
}

int WritePdfFile(const char* command, const std::string& path, const std::function<render::PrintableReport()>& make,
                 const std::vector<std::string>& inputs) {
  const auto app = EnsureGuiApplication();
  const report::ReportWrite write = WriteReportPdf(path, make(), inputs);
  if (write.refusal) {
    PrintMessage(*write.refusal);
    return 1;
  }
  if (!write.error.empty()) {
    std::cerr << "korvane-cli " << command << ": " << write.error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace korvane::cli
