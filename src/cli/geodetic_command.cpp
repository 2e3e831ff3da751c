// korvane-cli geodetic: the direct problem by the series (as the window shows
// it) and the exact inverse problem, with angles in DMS notation.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "geodesy/geodetic.h"

namespace korvane::cli {
namespace {

constexpr const char* kGeodeticUsage =
    "geodetic direct|inverse [--ellipsoid krassovsky|iag75|cgcs2000|wgs84] -- B1 A12 L1 S12 | B1 L1 B2 L2";

int RunDirect(const std::vector<std::string>& v, geodesy::EllipsoidId ellipsoid) {
  const geodesy::DirectResult r = geodesy::SolveDirect({v[0], v[1], v[2], v[3], ellipsoid});
  if (r.refusal) return Refuse(*r.refusal);
  std::cout << r.b2 << "\n" << r.l2 << "\n" << r.a21 << "\n";
  return 0;
}

int RunInverse(const std::vector<std::string>& v, geodesy::EllipsoidId ellipsoid) {
  const geodesy::InverseResult r = geodesy::SolveInverse({v[0], v[1], v[2], v[3], ellipsoid});
  if (r.refusal) return Refuse(*r.refusal);
  std::cout << r.s12Text << "\n" << r.a12Text << "\n" << r.a21Text << "\n";
  return 0;
}

int RunGeodetic(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "direct：B1 A12 L1 S12 → B2、L2、A21（级数解）\n"
      "inverse：B1 L1 B2 L2 → S12（米）、A12、A21（严密解）\n"
      "角度为度.分秒（8.080236 即 8°08′02.36″）；负数写在 -- 之后。");
  parser.addOption({"ellipsoid", "krassovsky（克氏，默认）、iag75、cgcs2000 或 wgs84。", "name", "krassovsky"});
  parser.addPositionalArgument("问题", "direct（正算）或 inverse（反算）");
  parser.addPositionalArgument("数值", "四个数值");
  if (const auto status = ParseCommandLine(parser, kGeodeticCommand, args)) return *status;
  const auto ellipsoid = geodesy::EllipsoidByName(parser.value("ellipsoid").toStdString());
  if (!ellipsoid) return UsageError(kGeodeticCommand, "未知的椭球：" + parser.value("ellipsoid").toStdString());
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 5) return UsageError(kGeodeticCommand, "应为 direct 或 inverse 及四个数值");
  std::vector<std::string> values;
  for (int i = 1; i < 5; ++i) values.push_back(positional[i].toStdString());
  if (positional[0] == "direct") return RunDirect(values, *ellipsoid);
  if (positional[0] == "inverse") return RunInverse(values, *ellipsoid);
  return UsageError(kGeodeticCommand, "未知的问题：" + positional[0].toStdString() + "（应为 direct 或 inverse）");
}

}  // namespace

const Command kGeodeticCommand{"geodetic", kGeodeticUsage, RunGeodetic};
}  // namespace korvane::cli
