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

constexpr const char* kUsage =
    "rigorous --data FILE.dat [--check] [--standard 城市测量规范|工程测量规范|水工测量规范] "
    "[--grade 三等|四等|五等|一级|二级|三级|图根] [--continue] [--html OUT.html] [--pdf FILE.pdf] [--dxf FILE.dxf] [--points FILE [--utf8]]";

struct RigorousOptions {
  std::string data;
  bool check = false;
  std::string standard = standards::kInitialStandard;
  std::string grade = standards::kInitialGrade;
  bool gradeGiven = false;
  bool standardGiven = false;
  bool answerOk = false;
  bool html = false;
  std::string htmlPath;
  std::string pdf;
  ExportOptions exports;
};

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  for (const std::string& each : items) {
    if (each == item) return true;
  }
  return false;
}

// Reads the options; the exit status when the command ends here.
std::optional<int> ParseOptions(const std::vector<std::string>& args, RigorousOptions& opt) {
  static const std::vector<std::string> grades = {"三等", "四等", "五等", "一级", "二级", "三级", "图根"};
  QCommandLineParser parser;
  parser.setApplicationDescription("Weighted adjustment of a single connecting traverse from its data file.");
  const QCommandLineOption data("data", "The traverse data file of the weighted adjustment.", "FILE.dat");
  const QCommandLineOption check("check", "Check the results against the standard's limits.");
  const QCommandLineOption standard("standard", "城市测量规范 (default), 工程测量规范 or 水工测量规范.", "STANDARD");
  const QCommandLineOption grade("grade", "三等, 四等, 五等, 一级, 二级, 三级 or 图根.", "GRADE");
  const QCommandLineOption answerOk("continue", "Answer OK to the questions about a large misclosure.");
  const QCommandLineOption html("html", "Write the HTML report (GBK) and its picture beside it.", "OUT.html");
  const QCommandLineOption pdf = PdfOption();
  parser.addOptions({data, check, standard, grade, answerOk, html, pdf});
  AddExportOptions(parser);
  if (const auto status = ParseCommandLine(parser, kRigorousCommand, args)) return status;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(kRigorousCommand, ExtraArgument(parser.positionalArguments().front()));
  opt.data = ArgBytes(parser.value(data));
  opt.check = parser.isSet(check);
  opt.answerOk = parser.isSet(answerOk);
  opt.standardGiven = parser.isSet(standard);
  if (opt.standardGiven) opt.standard = parser.value(standard).toStdString();
  if (opt.standardGiven && !Contains(standards::Standards(), opt.standard))
    return UsageError(kRigorousCommand, "未知的规范：" + opt.standard);
  opt.gradeGiven = parser.isSet(grade);
  if (opt.gradeGiven) opt.grade = parser.value(grade).toStdString();
  if (opt.gradeGiven && !Contains(grades, opt.grade))
    return UsageError(kRigorousCommand, "未知的等级：" + opt.grade);
  opt.html = parser.isSet(html);
  opt.htmlPath = ArgBytes(parser.value(html));
  if (const auto status = ReadExportOptions(parser, kRigorousCommand, opt.exports)) return status;
  if (opt.data.empty()) return UsageError(kRigorousCommand, MissingOption("--data"));
  if (opt.html && opt.htmlPath.empty()) return UsageError(kRigorousCommand, "选项 --html 缺少文件名");
  opt.pdf = ArgBytes(parser.value(pdf));
  if (parser.isSet(pdf) && opt.pdf.empty()) return UsageError(kRigorousCommand, "选项 --pdf 缺少文件名");
  // Picking a standard refills the grade list and sets its text, as the
  // window does; an explicit grade is then chosen from it.
  if (opt.standardGiven && !opt.gradeGiven) opt.grade = standards::GradesForStandard(opt.standard).text;
  return std::nullopt;
}

int RunRigorous(const std::vector<std::string>& args) {
  RigorousOptions opt;
  if (const auto status = ParseOptions(args, opt)) return *status;
  if (opt.html) {
    const std::string path = report::ReportFileName(opt.htmlPath);
    if (const auto status = RefuseDestinations({path, report::ReportImagePath(path)}, {opt.data})) return *status;
  }
  if (const auto status = RefuseDestinations({opt.pdf, opt.exports.dxf, opt.exports.points}, {opt.data})) return *status;

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

  const standards::ToleranceRow& row = standards::SelectToleranceRow(standards::ToleranceCode(opt.standard, opt.grade));
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
  if (write.refusal) {
    PrintMessage(*write.refusal);
    return 1;
  }
  if (!write.error.empty()) {
    std::cerr << "korvane-cli rigorous: " << write.error << "\n";
    return 1;
  }
  return WriteExports(opt.exports, exporting::RigorousFigure(load.table, outcome.result), {opt.data});
}

}  // namespace

const Command kRigorousCommand{"rigorous", kUsage, RunRigorous};
}  // namespace korvane::cli
