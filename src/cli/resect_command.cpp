// korvane-cli resect: the station P from three known points and two angles.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "export/figures.h"
#include "export_options.h"
#include "cogo/resection.h"

namespace korvane::cli {
namespace {

int RunResect(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString(
      "由已知点 A、B、C（X 向北，Y 向东，米）和在测站 P 顺时针观测的角度（度.分秒）\n"
      "后方交会求 P 点：ALPHA = ∠BPC（由 B 转到 C），BETA = ∠CPA（由 C 转到 A）。\n"
      "输出 P 的 X、Y（到毫米），每行一个。P 到过 A、B、C 的危险圆（半径 R）的距离\n"
      "小于 R/5 时在标准错误输出“注意: …”；小于 R/100 时拒绝计算。\n") + kExitStatusNote);
  parser.addPositionalArgument("数值", "八个数值；负数写在 -- 之后");
  AddExportOptions(parser);
  if (const auto status = ParseCommandLine(parser, kResectCommand, args)) return *status;
  ExportOptions exports;
  if (const auto status = ReadExportOptions(parser, kResectCommand, exports)) return *status;
  if (const auto status = RefuseDestinations({exports.dxf, exports.points}, {})) return *status;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 8) return UsageError(kResectCommand, "应为八个数值");
  std::vector<std::string> values;
  for (const QString& value : positional) values.push_back(value.toStdString());
  const cogo::resection::Result r = cogo::resection::Resect(values);
  if (const int status = PrintPoint(r); status != 0) return status;
  std::cout.flush();
  return WriteExports(exports, exporting::ResectionFigure(values, r), {});
}

}  // namespace

const Command kResectCommand{"resect", "resect [--] XA YA XB YB XC YC ALPHA BETA [--dxf FILE.dxf] [--points FILE [--utf8]]",
                              RunResect};
}  // namespace korvane::cli
