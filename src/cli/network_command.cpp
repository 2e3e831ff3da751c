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
      "导线网的最小二乘平差（记录 PARAM、POINT、SET、DIR、ANGLE、DIST、AZI）。\n"
      "观测值后可带该观测自己的先验中误差（秒，DIST 为 mm）；带中误差的 AZI\n"
      "为观测的坐标方位角。标有 DATUM 的 POINT 为基准点，构成自由网。\n"
      "输出一行表头，然后每个未知点一行：点名、X、Y（m），\n"
      "mx、my、mp、E、F（mm），E 的方位角；\n"
      "然后是自由网的基准、σ0 与卡方检验、各条导线的闭合差和最大残差；\n"
      "然后是每对由观测相连的点的相对精度（相对精度: 点1, 点2, S(m), E(mm), F(mm),\n"
      "φ, mS(mm), 1/T）、最弱点和最弱边、w检验（标准化残差的临界值 3.29，α0 = 0.1 %），\n"
      "|w| 超过临界值的观测每个一行“超限”（其可发现的最小粗差 ∇ 及该粗差对坐标的\n"
      "最大影响）。");
  const QCommandLineOption data("data", "网文件（GBK 或 UTF-8）。", "FILE");
  const QCommandLineOption html("html", "写出 HTML 报告（GBK），图片放在旁边。", "OUT.html");
  const QCommandLineOption sketch("sketch", "写出草图图片（BMP，或按扩展名写 PNG、JPEG）。", "IMG");
  const QCommandLineOption check("check", "按规范和等级检核导线闭合差。");
  const QCommandLineOption snoop(
      "snoop",
      "数据探测：每次剔除一个 |w| 最大且超过 3.29 的观测\n"
      "（多余观测分量 r < 0.1 的观测、剔除后有点无法确定的\n"
      "观测不剔除），直到没有超限的观测；每个剔除的观测输出\n"
      "一行；结果为剔除这些观测后的平差结果。");
  const QCommandLineOption variance(
      "variance-components",
      "方差分量估计：按残差和多余观测分量重新估计各观测组\n"
      "（方向、角度、距离、方位角）的先验 σ，迭代至各组\n"
      "比值都在 1 ± 0.01 之内（至多平差 30 次；r < 1 的组\n"
      "保留原 σ；距离组的 a、b 一起缩放）；每组输出一行，\n"
      "再输出迭代次数；结果按新的权计算。");
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
  // The report's picture is the sketch: asked for under the same name, it is one output.
  std::string image = report.empty() ? report : report::ReportImagePath(report);
  if (!opt.sketch.empty() && !image.empty() && SameOutput(opt.sketch, image)) image.clear();
  if (const auto status =
          RefuseDestinations({opt.sketch, opt.pdf, report, image, opt.exports.dxf, opt.exports.points}, {opt.data}))
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
