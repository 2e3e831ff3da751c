// korvane-cli level: levelling adjustment from its data file — a single line
// or loop by the hand table, or a junction network by least squares — with
// the results table on standard output and, on request, the HTML report.
#include <QCommandLineParser>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "levelling/level_adjust.h"
#include "formats/level_file.h"
#include "levelling/level_report.h"
#include "levelling/level_table.h"
#include "pdf_output.h"
#include "services/printable_reports.h"
#include "export/figures.h"
#include "export_options.h"

namespace korvane::cli {
namespace {

constexpr const char* kLevelUsage = "level --data FILE [--method auto|line|loop|network] [--html OUT.html] [--pdf FILE.pdf] [--points FILE [--utf8]]";

std::optional<formats::Method> MethodByName(const std::string& name, const formats::LevelData& data) {
  if (name == "auto") return levelling::SuggestedMethod(data);
  if (name == "line") return formats::Method::Line;
  if (name == "loop") return formats::Method::Loop;
  if (name == "network") return formats::Method::Network;
  return std::nullopt;
}

int RunLevel(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "水准平差。数据文件由以下几种行组成：\n"
      "  PARAM, L|n, 二等|三等|四等|五等|图根, 平地|山地\n"
      "  BM, 点名, 高程\n"
      "  SEC, 起点, 终点, 高差, 距离或测站数\n"
      "line：单一附合环（两个已知水准点之间），\n"
      "loop：单一闭合环（从一个已知水准点出发），\n"
      "network：水准交叉网，按最小二乘平差；\n"
      "auto 在测段按文件顺序首尾相接时选 line 或 loop，否则选 network。");
  const QCommandLineOption data("data", "水准数据文件（GBK 或 UTF-8）。", "FILE");
  const QCommandLineOption method("method", "auto（默认）、line、loop 或 network。", "METHOD", "auto");
  const QCommandLineOption html("html", "把 HTML 报告（GBK）写到此文件。", "OUT.html");
  const QCommandLineOption pdf = PdfOption();
  parser.addOptions({data, method, html, pdf});
  AddExportOptions(parser, false);
  if (const auto status = ParseCommandLine(parser, kLevelCommand, args)) return *status;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(kLevelCommand, ExtraArgument(parser.positionalArguments().front()));
  const std::string path = ArgBytes(parser.value(data));
  if (path.empty()) return UsageError(kLevelCommand, MissingOption("--data"));
  if (parser.isSet(html) && parser.value(html).isEmpty()) return UsageError(kLevelCommand, "选项 --html 缺少文件名");
  const std::string htmlPath = ArgBytes(parser.value(html));
  const std::string pdfPath = ArgBytes(parser.value(pdf));
  if (parser.isSet(pdf) && pdfPath.empty()) return UsageError(kLevelCommand, "选项 --pdf 缺少文件名");
  ExportOptions exports;
  if (const auto status = ReadExportOptions(parser, kLevelCommand, exports, false)) return *status;
  if (const auto status = RefuseDestinations({htmlPath, pdfPath, exports.points}, {path})) return *status;

  std::string error;
  const formats::LevelFileLoad load = formats::LoadLevelFile(path, error);
  if (!error.empty()) {
    std::cerr << "korvane-cli level: " << error << "\n";
    return 1;
  }
  if (load.refusal) return Refuse(*load.refusal);
  const auto chosen = MethodByName(parser.value(method).toStdString(), load.data);
  if (!chosen) return UsageError(kLevelCommand, "未知的平差方法：" + parser.value(method).toStdString() +
                                                  "（应为 auto、line、loop 或 network）");
  const levelling::LevelOutcome outcome = levelling::Adjust(*chosen, load.data);
  if (!outcome.ok()) return Refuse(*outcome.refusal);
  std::cout << levelling::LevelTableText(outcome.result);
  std::cout.flush();
  if (!pdfPath.empty()) {
    const auto make = [&outcome] { return services::LevelReportPrint(outcome.result); };
    if (const int status = WritePdfFile("level", pdfPath, make, {path}); status != 0) return status;
  }
  if (!parser.isSet(html)) return WriteHeightExport(exports, exporting::LevelHeights(outcome.result), {path});
  const report::ReportWrite write = levelling::WriteLevelReport(htmlPath, outcome.result);
  if (const int status = WriteStatus(kLevelCommand, write); status != 0) return status;
  return WriteHeightExport(exports, exporting::LevelHeights(outcome.result), {path});
}

}  // namespace

const Command kLevelCommand{"level", kLevelUsage, RunLevel};
}  // namespace korvane::cli
