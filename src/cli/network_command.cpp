// korvane-cli network: least-squares adjustment of a traverse network from
// its network file, printed as text, with the HTML report and the sketch.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "core/text_utils.h"
#include "export/figures.h"
#include "export_options.h"
#include "gui_application.h"
#include "pdf_output.h"
#include "services/printable_reports.h"
#include "network/network_adjustment.h"
#include "formats/network_file.h"
#include "network/network_report.h"
#include "services/network_report_files.h"
#include "traverse/rigorous_report.h"
#include "standards/tolerance.h"

namespace korvane::cli {
namespace {

constexpr const char* kNetworkUsage =
    "network --data FILE [--html OUT.html] [--sketch IMG] [--pdf FILE.pdf] [--check] "
    "[--standard 城市测量规范|工程测量规范|水工测量规范] [--grade 三等|四等|五等|一级|二级|三级|图根] "
    "[--snoop] [--variance-components] [--dxf FILE.dxf] [--points FILE [--utf8]]";

struct NetworkCliOptions {
  std::string data, html, sketch, pdf;
  network::NetworkOptions engine;
  ExportOptions exports;
};

std::optional<int> ParseOptions(const std::vector<std::string>& args, NetworkCliOptions& opt) {
  QCommandLineParser parser;
  const StandardGradeOptions tolerance;
  parser.setApplicationDescription(
      "Least-squares adjustment of a traverse network (records PARAM, POINT, SET, DIR, ANGLE, DIST, AZI).\n"
      "An observation may carry its own standard deviation after its value (seconds, mm for DIST);\n"
      "AZI with one is an observed grid azimuth. POINTs marked DATUM make a free network.\n"
      "Prints a header line, then one line per unknown point: name, X, Y (m), mx, my, mp, E, F (mm),\n"
      "azimuth of E;\n"
      "then the datum of a free network, σ0 with the chi-square test, the traverse misclosures and\n"
      "the largest residual;\n"
      "then the relative accuracy of every pair of points joined by an observation (相对精度: 点1, 点2,\n"
      "S(m), E(mm), F(mm), φ, mS(mm), 1/T), the weakest point and side, the w-test (critical value 3.29,\n"
      "α0 = 0.1 %) with one 超限 line per observation over it (its minimal detectable bias ∇ and that\n"
      "bias's largest effect on a coordinate).");
  const QCommandLineOption data("data", "The network file (GBK or UTF-8).", "FILE");
  const QCommandLineOption html("html", "Write the HTML report (GBK) and its picture beside it.", "OUT.html");
  const QCommandLineOption sketch("sketch", "Write the sketch picture (BMP, or PNG/JPEG by its ending).", "IMG");
  const QCommandLineOption check("check", "Check the traverse misclosures against the standard's limits.");
  const QCommandLineOption snoop(
      "snoop",
      "Data snooping: leave out the observation of the largest |w| above 3.29, one at a time (never one\n"
      "with r < 0.1 or one whose removal leaves a point undetermined), until none exceeds it; prints one\n"
      "line per observation left out; the results are those of the network without them.");
  const QCommandLineOption variance(
      "variance-components",
      "Re-estimate the a-priori σ of each observation group (directions, angles, distances, azimuths)\n"
      "from its residuals and redundancy numbers, iterated until each factor is within 1 ± 0.01 (at\n"
      "most 30 adjustments; a group with r < 1 keeps its σ; a distance group scales a and b together);\n"
      "prints one line per group and the number of iterations; the results are re-weighted.");
  const QCommandLineOption pdf = PdfOption();
  parser.addOptions({data, html, sketch, pdf, check, tolerance.standard, tolerance.grade, snoop, variance});
  AddExportOptions(parser);
  if (const auto status = ParseCommandLine(parser, kNetworkCommand, args)) return status;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(kNetworkCommand, ExtraArgument(parser.positionalArguments().front()));
  opt.data = ArgBytes(parser.value(data));
  opt.html = ArgBytes(parser.value(html));
  opt.sketch = ArgBytes(parser.value(sketch));
  if (const auto status = ReadExportOptions(parser, kNetworkCommand, opt.exports)) return status;
  if (opt.data.empty()) return UsageError(kNetworkCommand, MissingOption("--data"));
  if (parser.isSet(html) && opt.html.empty()) return UsageError(kNetworkCommand, "选项 --html 缺少文件名");
  if (parser.isSet(sketch) && opt.sketch.empty()) return UsageError(kNetworkCommand, "选项 --sketch 缺少文件名");
  opt.pdf = ArgBytes(parser.value(pdf));
  if (parser.isSet(pdf) && opt.pdf.empty()) return UsageError(kNetworkCommand, "选项 --pdf 缺少文件名");
  const standards::StandardGradeChoice chosen = tolerance.choose(parser);
  if (chosen.refusal) return UsageError(kNetworkCommand, *chosen.refusal);
  opt.engine.toleranceCode = chosen.code;
  opt.engine.checkTolerance = parser.isSet(check);
  opt.engine.snoop = parser.isSet(snoop);
  opt.engine.varianceComponents = parser.isSet(variance);
  return std::nullopt;
}

int WriteFiles(const NetworkCliOptions& opt, const formats::NetworkInput& input, const network::NetworkResult& result) {
  if (opt.html.empty() && opt.sketch.empty() && opt.pdf.empty()) return 0;
  auto app = EnsureGuiApplication();
  if (!opt.pdf.empty()) {
    const auto make = [&] { return services::NetworkReportPrint(input, result, opt.engine); };
    if (const int status = WritePdfFile("network", opt.pdf, make, {opt.data}); status != 0) return status;
  }
  if (!opt.sketch.empty()) {
    if (const std::string error = services::SaveNetworkSketch(opt.sketch, result); !error.empty()) {
      std::cerr << "korvane-cli network: " << error << "\n";
      return 1;
    }
  }
  if (opt.html.empty()) return 0;
  const services::ReportFilesWrite write =
      services::WriteNetworkReportFiles(report::ReportFileName(opt.html), input, result, opt.engine, {opt.data});
  return WriteStatus(kNetworkCommand, write);
}

int RunNetwork(const std::vector<std::string>& args) {
  NetworkCliOptions opt;
  if (const auto status = ParseOptions(args, opt)) return *status;
  const std::string report = report::ReportFileName(opt.html);
  if (const auto status = RefuseDestinations({opt.sketch, opt.pdf, report, report.empty() ? report : report::ReportImagePath(report),
                                              opt.exports.dxf, opt.exports.points},
                                             {opt.data}))
    return *status;
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile(opt.data, error);
  if (!error.empty()) {
    std::cerr << "korvane-cli network: " << error << "\n";
    return 1;
  }
  if (load.refusal) return Refuse(*load.refusal);
  const network::NetworkOutcome outcome = AdjustNetwork(load.input, opt.engine);
  if (!outcome.ok()) return Refuse(*outcome.refusal);
  std::cout << network::kNetworkPointHeader << "\n";
  for (const std::string& line : NetworkResultLines(outcome.result)) std::cout << line << "\n";
  std::cout.flush();
  if (const int status = WriteFiles(opt, load.input, outcome.result)) return status;
  return WriteExports(opt.exports, exporting::NetworkFigure(outcome.result), {opt.data});
}

}  // namespace

const Command kNetworkCommand{"network", kNetworkUsage, RunNetwork};
}  // namespace korvane::cli
