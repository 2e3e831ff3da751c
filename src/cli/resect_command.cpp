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
  parser.setApplicationDescription(
      "Resection of the station P from the known points A, B, C (X north, Y east, metres)\n"
      "and the angles observed at P, turned clockwise, in DMS notation:\n"
      "ALPHA = angle BPC (from B to C), BETA = angle CPA (from C to A).\n"
      "Prints X and Y of P to the millimetre, one a line. P within R/5 of the danger circle\n"
      "through A, B, C (R its radius) is reported on standard error (\"注意: ...\"); within\n"
      "R/100 the computation is refused.\n"
      "Exit status: 0 done, 1 usage error, 2 refused (\"title: message\" on standard error).");
  parser.addPositionalArgument("values", "eight numbers; negative ones after --");
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
