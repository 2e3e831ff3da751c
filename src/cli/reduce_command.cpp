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
      "S horizontal distance (m), HM mean height of the line (m), Y its mean Y (m, with 500 km,\n"
      "with or without the zone prefix), H0 height of the projection surface (m, default 0).\n"
      "Prints ym (m), dS1 = -S(HM-H0)/R and dS2 = S ym^2/(2R^2) (mm), the distance on the\n"
      "surface and on the plane (m), and the factors 1-(HM-H0)/R, 1+ym^2/(2R^2) and their sum.");
  parser.addOption({"radius", "Earth radius R in km (default 6371.27).", "km", ""});
  parser.addPositionalArgument("values", "S HM Y [H0]");
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
