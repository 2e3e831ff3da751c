// korvane-cli reduce: a horizontal distance reduced to the reference surface
// and to the Gauss–Krüger plane.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "geodesy/distance_reduction.h"

namespace korvane::cli {
namespace {

int RunReduce(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "S 水平距离（米），HM 边的平均高程（米），\n"
      "Y 边的平均横坐标（米，含 500 km，可带带号），H0 投影面高程（米，默认 0）。\n"
      "输出 ym（米）、dS1 = −S(HM−H0)/R 和 dS2 = S·ym²/(2R²)（毫米）、\n"
      "投影面上和高斯平面上的距离（米），以及投影面比例 1 − (HM−H0)/R、\n"
      "高斯投影比例 1 + ym²/(2R²) 和综合比例 1 − (HM−H0)/R + ym²/(2R²)。");
  parser.addOption({"radius", "地球半径 R（km，默认 6371.27）。", "km", ""});
  parser.addPositionalArgument("数值", "S HM Y [H0]");
  if (const auto status = ParseCommandLine(parser, kReduceCommand, args)) return *status;
  const QStringList v = parser.positionalArguments();
  if (v.size() != 3 && v.size() != 4) return UsageError(kReduceCommand, "应为 S HM Y 三个数值，可再加 H0");
  const geodesy::DistanceResult r = geodesy::ReduceDistance(
      {v[0].toStdString(), v[1].toStdString(), v.size() == 4 ? v[3].toStdString() : std::string(),
       v[2].toStdString(), parser.value("radius").toStdString()});
  if (r.refusal) return Refuse(*r.refusal);
  std::cout << "ym " << r.ymText << "\n"
            << "dS1 " << r.surfaceCorrectionText << "\n"
            << "dS2 " << r.planeCorrectionText << "\n"
            << "S1 " << r.surfaceDistanceText << "\n"
            << "Sp " << r.planeDistanceText << "\n"
            << "K1 " << r.surfaceFactorText << "\n"
            << "K2 " << r.planeFactorText << "\n"
            << "K " << r.factorText << "\n";
  return 0;
}

}  // namespace

const Command kReduceCommand{"reduce", "reduce [--radius KM] -- S HM Y [H0]", RunReduce};
}  // namespace korvane::cli
