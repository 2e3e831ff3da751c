// korvane-cli intersect: forward intersection by two angles or two distances.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "export/figures.h"
#include "export_options.h"
#include "cogo/intersection.h"

namespace korvane::cli {
namespace {

int RunIntersect(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString(
      "由已知点 A、B 前方交会求 P 点；A、B、P 按逆时针方向排列，即 P 在 A→B 的左侧\n"
      "（X 向北，Y 向东）。\n"
      "angles：A 处的 ALPHA 和 B 处的 BETA，均为内角，度.分秒（45.3015 即 45°30′15″）。\n"
      "distances：边长 SA = AP、SB = BP（米）；--right 使 P 位于 A→B 的右侧。\n"
      "输出 P 的 X、Y（到毫米），每行一个。P 处的交会角小于 30° 或大于 150° 时\n"
      "在标准错误输出“注意: …”，仍输出点位。\n") + kExitStatusNote);
  const QCommandLineOption right("right", "P 位于 A→B 的右侧（只用于 distances）。");
  parser.addOption(right);
  AddExportOptions(parser);
  parser.addPositionalArgument("方法", "angles（测角交会）或 distances（测边交会）");
  parser.addPositionalArgument("数值", "六个数值；负数写在 -- 之后");
  if (const auto status = ParseCommandLine(parser, kIntersectCommand, args)) return *status;
  ExportOptions exports;
  if (const auto status = ReadExportOptions(parser, kIntersectCommand, exports)) return *status;
  if (const auto status = RefuseDestinations({exports.dxf, exports.points}, {})) return *status;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 7) return UsageError(kIntersectCommand, "应为 angles 或 distances 及六个数值");
  std::vector<std::string> values;
  for (int i = 1; i < 7; ++i) values.push_back(positional[i].toStdString());
  cogo::intersection::Result r;
  if (positional[0] == "angles" && !parser.isSet(right))
    r = cogo::intersection::ByAngles(values);
  else if (positional[0] == "distances")
    r = cogo::intersection::ByDistances(values, parser.isSet(right));
  else if (positional[0] == "angles")
    return UsageError(kIntersectCommand, "--right 只用于 distances");
  else
    return UsageError(kIntersectCommand, "未知的方法：" + positional[0].toStdString() + "（应为 angles 或 distances）");
  if (const int status = PrintPoint(r); status != 0) return status;
  std::cout.flush();
  return WriteExports(exports, exporting::IntersectionFigure(positional[0] == "angles" ? "前方交会" : "边长交会", values, r), {});
}

}  // namespace

const Command kIntersectCommand{
    "intersect",
    "intersect angles [--] XA YA XB YB ALPHA BETA | intersect distances [--right] -- XA YA XB YB SA SB "
    "[--dxf FILE.dxf] [--points FILE [--utf8]]",
    RunIntersect};
}  // namespace korvane::cli
