// korvane-cli height: one-way trigonometric height with the curvature and
// refraction correction (1 - k) D^2 / (2R).
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_options.h"
#include "cogo/one_way_height.h"

namespace korvane::cli {
namespace {

int RunHeight(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "DISTANCE slope distance (m; horizontal with --horizontal), ANGLE vertical angle (DMS;\n"
      "zenith angle with --zenith), I instrument height, V target height, HA station height (m).\n"
      "Prints D, the height difference without correction, f = (1-k)D^2/(2R) with R = 6371 km,\n"
      "h, and HB = HA + h when HA is given.");
  parser.addOption({"horizontal", "DISTANCE is the horizontal distance."});
  parser.addOption({"zenith", "ANGLE is the zenith angle."});
  parser.addOption({"k", "Coefficient of refraction (default 0.14).", "k", ""});
  parser.addPositionalArgument("values", "DISTANCE ANGLE I V [HA]");
  if (const auto status = ParseCommandLine(parser, kHeightCommand, args)) return *status;
  const QStringList v = parser.positionalArguments();
  if (v.size() != 4 && v.size() != 5) return UsageError(kHeightCommand, "应为 距离 角度 仪器高 目标高 四个数值，可再加测站高程");
  cogo::height::OneWayInput in;
  in.distanceKind = parser.isSet("horizontal") ? cogo::height::DistanceKind::Horizontal : cogo::height::DistanceKind::Slope;
  in.angleKind = parser.isSet("zenith") ? cogo::height::AngleKind::Zenith : cogo::height::AngleKind::Vertical;
  in.distance = v[0].toStdString();
  in.angle = v[1].toStdString();
  in.instrument = v[2].toStdString();
  in.target = v[3].toStdString();
  in.refraction = parser.value("k").toStdString();
  if (v.size() == 5) in.stationHeight = v[4].toStdString();
  const cogo::height::OneWayResult r = cogo::height::ComputeOneWayHeight(in);
  if (r.refusal) return Refuse(*r.refusal);
  std::cout << "D " << r.horizontalText << "\n"
            << "dh " << r.elevationText << "\n"
            << "f " << r.correctionText << "\n"
            << "h " << r.heightText << "\n";
  if (r.targetHeight) std::cout << "HB " << r.targetHeightText << "\n";
  return 0;
}

}  // namespace

const Command kHeightCommand{"height", "height [--horizontal] [--zenith] [--k K] -- DISTANCE ANGLE I V [HA]",
                             RunHeight};
}  // namespace korvane::cli
