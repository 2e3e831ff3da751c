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
      "DISTANCE 斜距（米；加 --horizontal 时为平距），\n"
      "ANGLE 竖直角（度.分秒；加 --zenith 时为天顶距），\n"
      "I 仪器高，V 目标高，HA 测站高程（米）。\n"
      "输出平距 D、未加改正的高差、球气差改正 f = (1−k)D²/(2R)（R = 6371 km）、高差 h，\n"
      "给出 HA 时再输出 HB = HA + h。");
  parser.addOption({"horizontal", "DISTANCE 为平距。"});
  parser.addOption({"zenith", "ANGLE 为天顶距。"});
  parser.addOption({"k", "大气折光系数（默认 0.14）。", "k", ""});
  parser.addPositionalArgument("数值", "DISTANCE ANGLE I V [HA]");
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
