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

// Adds the options of a zone; `to` names the new zone of a zone change,
// `which` is the zone as the help calls it.
void AddZoneOptions(QCommandLineParser& parser, const QString& to, const QString& which) {
  const QString fallback = to.isEmpty() ? "默认 6" : "默认同 --zone-width";
  parser.addOption({to + "zone-width", which + "的带宽：3 或 6（" + fallback + "）。", "degrees",
                    to.isEmpty() ? "6" : ""});
  parser.addOption({to + "zone", which + "的带号。", "N"});
  parser.addOption({to + "central-meridian", which + "的中央子午线（度.分秒）。", "L0"});
  parser.addOption({to + "prefix", which + "的 Y 含带号（带号×1,000,000 m）。"});
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
      "forward：B L（度.分秒）→ X Y；inverse：X Y → B L；\n"
      "zone：X Y → --to 所指新带的 X Y。\n"
      "X 向北，Y 向东 = 500 km + 东向距离（加 --prefix 时再加 带号×1,000,000 m）。\n"
      "X、Y 到 0.001 m，B、L 到 0.00001″。\n"
      "6° 带第 n 带：L0 = 6n − 3；3° 带第 n 带：L0 = 3n。\n"
      "不做坐标系（基准）转换。加 --convergence 时每行另输出子午线收敛角（度.分秒）\n"
      "和长度比。点列表：每行一个点，点名,数值,数值[,其他字段]；此时标准输出显示\n"
      "转换的点数。");
  parser.addOption({"ellipsoid", "cgcs2000（默认）、krassovsky（北京54）\n或 iag75（西安80）。",
                    "name", "cgcs2000"});
  AddZoneOptions(parser, "", "输入投影带");
  AddZoneOptions(parser, "to-", "新投影带");
  parser.addOption({"convergence", "另输出子午线收敛角和长度比。"});
  parser.addOption({"input", "要转换的点列表文件（GBK 或 UTF-8）。", "file"});
  parser.addOption({"output", "写出转换后的列表的文件（GBK，CR LF）。", "file"});
  AddExportOptions(parser);
  parser.addPositionalArgument("问题", "forward（正算）、inverse（反算）或 zone（换带）");
  parser.addPositionalArgument("数值", "成对的数值");
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
