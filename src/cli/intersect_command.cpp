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
  parser.setApplicationDescription(
      "Forward intersection of P from the known points A and B; A, B, P run counter-clockwise,\n"
      "so P lies to the left of A->B (X north, Y east).\n"
      "angles: ALPHA at A and BETA at B, interior angles in DMS notation (45.3015 is 45°30'15\").\n"
      "distances: SA = AP and SB = BP in metres; --right puts P to the right of A->B.\n"
      "Prints X and Y of P to the millimetre, one a line. An intersection angle at P below 30°\n"
      "or above 150° is reported on standard error (\"注意: ...\"); the point is still printed.\n"
      "Exit status: 0 done, 1 usage error, 2 refused (\"title: message\" on standard error).");
  const QCommandLineOption right("right", "P to the right of A->B (distances only).");
  parser.addOption(right);
  AddExportOptions(parser);
  parser.addPositionalArgument("method", "angles or distances");
  parser.addPositionalArgument("values", "six numbers; negative ones after --");
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
