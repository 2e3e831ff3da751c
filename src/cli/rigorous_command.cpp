// korvane-cli rigorous: the weighted adjustment of a connecting traverse from
// its data file, with the tolerance check and the HTML report.
#include <QString>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "core/message.h"
#include "export/figures.h"
#include "export_options.h"
#include "gui_application.h"
#include "pdf_output.h"
#include "services/printable_reports.h"
#include "services/rigorous_report_files.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_data_file.h"
#include "report/report_file.h"
#include "standards/tolerance.h"

namespace korvane::cli {
namespace {

constexpr const char* kRigorousUsage =
    "rigorous --data FILE.dat [--check] [--standard 城市测量规范|工程测量规范|水工测量规范] "
    "[--grade 三等|四等|五等|一级|二级|三级|图根] [--continue] [--html OUT.html] [--pdf FILE.pdf] [--dxf FILE.dxf] [--points FILE [--utf8]]";

struct RigorousOptions {
  std::string data;
  bool check = false;
  std::string toleranceCode;
  bool answerOk = false;
  bool html = false;
  std::string htmlPath;
  std::string pdf;
  ExportOptions exports;
};

// Reads the options; the exit status when the command ends here.
std::optional<int> ParseOptions(const std::vector<std::string>& args, RigorousOptions& opt) {
  QCommandLineParser parser;
  const StandardGradeOptions tolerance;
  parser.setApplicationDescription("按加权平差数据文件对单一附合导线做加权平差，结果写到标准输出。");
  const QCommandLineOption data("data", "加权平差的导线数据文件。", "FILE.dat");
  const QCommandLineOption check("check", "按规范和等级检核限差。");
  const QCommandLineOption answerOk("continue", "对闭合差过大的询问回答“确定”。");
  const QCommandLineOption html("html", "写出 HTML 报告（GBK），草图图片放在旁边。", "OUT.html");
  const QCommandLineOption pdf = PdfOption();
  parser.addOptions({data, check, tolerance.standard, tolerance.grade, answerOk, html, pdf});
  AddExportOptions(parser);
  if (const auto status = ParseCommandLine(parser, kRigorousCommand, args)) return status;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(kRigorousCommand, ExtraArgument(parser.positionalArguments().front()));
  opt.data = ArgBytes(parser.value(data));
  opt.check = parser.isSet(check);
  opt.answerOk = parser.isSet(answerOk);
  const standards::StandardGradeChoice chosen = tolerance.choose(parser);
  if (chosen.refusal) return UsageError(kRigorousCommand, *chosen.refusal);
  opt.toleranceCode = chosen.code;
  opt.html = parser.isSet(html);
  opt.htmlPath = ArgBytes(parser.value(html));
  if (const auto status = ReadExportOptions(parser, kRigorousCommand, opt.exports)) return status;
  if (opt.data.empty()) return UsageError(kRigorousCommand, MissingOption("--data"));
  if (opt.html && opt.htmlPath.empty()) return UsageError(kRigorousCommand, "选项 --html 缺少文件名");
  opt.pdf = ArgBytes(parser.value(pdf));
  if (parser.isSet(pdf) && opt.pdf.empty()) return UsageError(kRigorousCommand, "选项 --pdf 缺少文件名");
  return std::nullopt;
}

int RunRigorous(const std::vector<std::string>& args) {
  RigorousOptions opt;
  if (const auto status = ParseOptions(args, opt)) return *status;
  const std::string htmlPath = opt.html ? report::ReportFileName(opt.htmlPath) : std::string();
  const std::string imagePath = opt.html ? report::ReportImagePath(htmlPath) : std::string();
  if (const auto status = RefuseDestinations({htmlPath, imagePath, opt.pdf, opt.exports.dxf, opt.exports.points}, {opt.data}))
    return *status;

  std::string error;
  formats::RigorousFileLoad load = formats::LoadRigorousFile(opt.data, error);
  if (!error.empty()) {
    std::cerr << "korvane-cli rigorous: " << error << "\n";
    return 1;
  }
  if (load.refusal) return Refuse(*load.refusal);
  if (!load.notice.empty()) std::cerr << load.notice << "\n";

  const AskOkCancel ask = [&](const Message&) { return opt.answerOk; };
  const traverse::RigorousOutcome outcome = traverse::AdjustRigorous(load.table, load.params, ask);
  if (!outcome.ok()) return Refuse(*outcome.refusal);

  const standards::ToleranceRow& row = standards::SelectToleranceRow(opt.toleranceCode);
  const traverse::ToleranceLimits limits = DeriveLimits(row, outcome.result);
  const traverse::ToleranceMarks marks = CheckTolerance(row, limits, outcome.result, opt.check);

  if (!opt.html) {
    // Printed, the report is UTF-8 and names the picture it would sit beside.
    traverse::RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, opt.check, "1.bmp", "utf-8"};
    WriteRigorousReportLines(input, [](std::string_view line) { std::cout << line << '\n'; });
    std::cout.flush();
  }
  if (!opt.pdf.empty()) {
    const traverse::RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, opt.check, {}};
    if (const int status = WritePdfFile("rigorous", opt.pdf, [&] { return services::RigorousReportPrint(input); }, {opt.data});
        status != 0)
      return status;
  }
  if (!opt.html) return WriteExports(opt.exports, exporting::RigorousFigure(load.table, outcome.result), {opt.data});

  // The renderer of the picture needs a GUI application object.
  auto app = EnsureGuiApplication();
  const std::string path = report::ReportFileName(opt.htmlPath);
  traverse::RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, opt.check, {}};
  const services::ReportFilesWrite write = services::WriteRigorousReportFiles(path, input, {opt.data});
  if (const int status = WriteStatus(kRigorousCommand, write); status != 0) return status;
  return WriteExports(opt.exports, exporting::RigorousFigure(load.table, outcome.result), {opt.data});
}

}  // namespace

const Command kRigorousCommand{"rigorous", kRigorousUsage, RunRigorous};
}  // namespace korvane::cli
