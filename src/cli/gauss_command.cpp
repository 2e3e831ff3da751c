// korvane-cli gauss: Gauss–Krüger forward, inverse and zone change of the
// points given after "--", or of a point list file.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "export/figures.h"
#include "export_options.h"
#include "geodesy/gauss_point_list.h"

namespace korvane::cli {
namespace {

constexpr const char* kGaussUsage =
    "gauss forward|inverse|zone [--ellipsoid cgcs2000|krassovsky|iag75] [--zone-width 3|6] "
    "(--zone N | --central-meridian L0) [--prefix] [zone: --to-zone-width 3|6 (--to-zone N | "
    "--to-central-meridian L0) --to-prefix] [--convergence] (-- VALUES... | --input FILE --output FILE) "
    "[forward, zone: --dxf FILE.dxf] [--points FILE [--utf8]]";

// Adds the options of a zone; `to` names the new zone of a zone change.
void AddZoneOptions(QCommandLineParser& parser, const QString& to, const QString& which) {
  const QString fallback = to.isEmpty() ? "6" : "--zone-width";
  parser.addOption({to + "zone-width", "Zone width of the " + which + " zone: 3 or 6 (default " + fallback + ").",
                    "degrees", to.isEmpty() ? "6" : ""});
  parser.addOption({to + "zone", "Number of the " + which + " zone.", "N"});
  parser.addOption({to + "central-meridian", "Central meridian of the " + which + " zone (DMS notation).", "L0"});
  parser.addOption({to + "prefix", "Y of the " + which + " zone carries the zone number times 1,000,000 m."});
}

// The zone options as a zone; an empty text when they are usable.
std::string ReadZone(const QCommandLineParser& parser, const QString& to, geodesy::ZoneSpec& zone) {
  // The new zone has the width of the input zone unless it is given.
  const QString width = parser.value(parser.isSet(to + "zone-width") ? to + "zone-width" : "zone-width");
  if (width != "3" && width != "6") return "--" + to.toStdString() + "zone-width 只能是 3 或 6";
  const bool byNumber = parser.isSet(to + "zone");
  if (byNumber == parser.isSet(to + "central-meridian"))
    return "--" + to.toStdString() + "zone 与 --" + to.toStdString() + "central-meridian 须给出且只给出一个";
  zone.width = width.toInt();
  zone.byCentralMeridian = !byNumber;
  zone.number = parser.value(to + "zone").toStdString();
  zone.centralMeridian = parser.value(to + "central-meridian").toStdString();
  zone.prefix = parser.isSet(to + "prefix");
  return {};
}

// The drawing and the list of the converted points (forward and zone change).
int WritePointFiles(const geodesy::Settings& settings, const ExportOptions& exports,
                    const std::vector<std::string>& lines, const std::vector<std::string>& inputs) {
  const char* title = settings.problem == geodesy::Problem::Forward ? "高斯投影正算" : "换带计算";
  return WriteExports(exports, exporting::GaussFigure(title, lines), inputs);
}

// The points given after "--" are named 1, 2, … in the drawing and the list.
int RunValues(const geodesy::Settings& settings, const QStringList& values, bool convergence,
              const ExportOptions& exports) {
  if (values.isEmpty() || values.size() % 2 != 0)
    return UsageError(kGaussCommand, "-- 之后应为成对的数值");
  std::vector<std::string> lines;
  for (int i = 0; i < values.size(); i += 2) {
    const geodesy::Solution s = geodesy::Solve(settings, values[i].toStdString(), values[i + 1].toStdString());
    if (s.refusal) return Refuse(*s.refusal);
    std::cout << s.first << " " << s.second;
    if (convergence) std::cout << " " << s.gamma << " " << s.k;
    std::cout << "\n";
    lines.push_back(std::to_string(i / 2 + 1) + "," + s.first + "," + s.second);
  }
  std::cout.flush();
  return WritePointFiles(settings, exports, lines, {});
}

int RunFile(const geodesy::Settings& settings, const QCommandLineParser& parser, const ExportOptions& exports) {
  if (!parser.isSet("input") || !parser.isSet("output"))
    return UsageError(kGaussCommand, "点文件须同时给出 --input 和 --output");
  const geodesy::ListResult r = geodesy::ConvertPointListFile(ArgBytes(parser.value("input")),
                                                          ArgBytes(parser.value("output")), settings);
  if (r.refusal) {
    PrintMessage(*r.refusal);
    return r.unusable ? 1 : 2;
  }
  std::cout << r.points << "\n";
  std::cout.flush();
  return WritePointFiles(settings, exports, r.lines, {ArgBytes(parser.value("input"))});
}

void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "forward: B L (DMS notation) -> X Y; inverse: X Y -> B L; zone: X Y -> X Y in the --to zone.\n"
      "X north, Y east = 500 km + easting (+ zone x 1,000,000 m with the prefix), 0.001 m;\n"
      "B, L to 0.00001\". 6-degree zone n: L0 = 6n - 3; 3-degree zone n: L0 = 3n.\n"
      "No datum transformation. With --convergence each line adds the convergence of the\n"
      "meridians (DMS) and the scale. A point list: one point a line, name,value,value[,more];\n"
      "standard output then shows the number of points converted.");
  parser.addOption({"ellipsoid", "cgcs2000 (default), krassovsky (Beijing 1954) or iag75 (Xi'an 1980).",
                    "name", "cgcs2000"});
  AddZoneOptions(parser, "", "input");
  AddZoneOptions(parser, "to-", "new");
  parser.addOption({"convergence", "Also print the convergence of the meridians and the scale."});
  parser.addOption({"input", "Point list file to convert (GBK or UTF-8).", "file"});
  parser.addOption({"output", "File the converted list is written to (GBK, CR LF).", "file"});
  AddExportOptions(parser);
  parser.addPositionalArgument("problem", "forward, inverse or zone");
  parser.addPositionalArgument("values", "pairs of values");
}

int RunGauss(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  AddOptions(parser);
  if (const auto status = ParseCommandLine(parser, kGaussCommand, args)) return *status;
  geodesy::Settings settings;
  const auto datum = geodesy::DatumByName(parser.value("ellipsoid").toStdString());
  if (!datum) return UsageError(kGaussCommand, "未知的椭球：" + parser.value("ellipsoid").toStdString());
  settings.datum = *datum;
  QStringList positional = parser.positionalArguments();
  const QString problem = positional.isEmpty() ? QString() : positional.takeFirst();
  if (problem == "forward") settings.problem = geodesy::Problem::Forward;
  else if (problem == "inverse") settings.problem = geodesy::Problem::Inverse;
  else if (problem == "zone") settings.problem = geodesy::Problem::ZoneChange;
  else return UsageError(kGaussCommand, "应为 forward、inverse 或 zone");
  if (const std::string why = ReadZone(parser, "", settings.zone); !why.empty()) return UsageError(kGaussCommand, why);
  if (settings.problem == geodesy::Problem::ZoneChange) {
    if (const std::string why = ReadZone(parser, "to-", settings.target); !why.empty())
      return UsageError(kGaussCommand, why);
  }
  ExportOptions exports;
  if (const auto status = ReadExportOptions(parser, kGaussCommand, exports)) return *status;
  if (settings.problem == geodesy::Problem::Inverse && (!exports.dxf.empty() || !exports.points.empty()))
    return UsageError(kGaussCommand, "--dxf 与 --points 只用于 forward 和 zone");
  std::vector<std::string> inputs;
  if (parser.isSet("input")) inputs.push_back(ArgBytes(parser.value("input")));
  if (const auto status = RefuseDestinations({exports.dxf, exports.points}, inputs)) return *status;
  if (parser.isSet("input") || parser.isSet("output")) {
    if (!positional.isEmpty()) return UsageError(kGaussCommand, "数值与点文件只能给出一种");
    return RunFile(settings, parser, exports);
  }
  return RunValues(settings, positional, parser.isSet("convergence"), exports);
}

}  // namespace

const Command kGaussCommand{"gauss", kGaussUsage, RunGauss};
}  // namespace korvane::cli
