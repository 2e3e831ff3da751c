#include "cogo/one_way_height.h"

#include <cmath>

#include "core/angles.h"
#include "core/survey_constants.h"
#include "traverse/traverse_toolkit.h"
#include "core/typed_values.h"

namespace korvane::cogo::height {
namespace {

constexpr double kMaxDistance = 100000.0;     // metres, as the traverses accept
constexpr double kMaxMarkHeight = 100.0;      // instrument and target heights, metres
constexpr double kMaxStationHeight = 100000.0;
constexpr double kDegreesToRadians = kTruePi / 180.0;

Message Refusal(std::string text) { return Message{std::move(text), "提示", MessageIcon::Information}; }

struct Figures {
  double distance = 0, alpha = 0, i = 0, v = 0, k = 0;
  std::optional<double> stationHeight;
};

bool Blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// The vertical angle in degrees, from a vertical or a zenith angle.
std::optional<Message> ReadAngle(const OneWayInput& in, double& alpha) {
  const auto angle = ReadDmsDegrees(in.angle);
  if (in.angleKind == AngleKind::Zenith) {
    if (!angle || *angle <= 0 || *angle >= 180) return Refusal("天顶距应大于0度且小于180度！");
    alpha = 90.0 - *angle;
  } else {
    if (!angle || std::fabs(*angle) >= 90) return Refusal("竖直角应在-90度与90度之间！");
    alpha = *angle;
  }
  return std::nullopt;
}

std::optional<Message> ReadFigures(const OneWayInput& in, Figures& f) {
  const auto d = ReadNumber(in.distance);
  if (!d || *d <= 0 || *d >= kMaxDistance) return Refusal("距离应大于0且小于100公里！");
  f.distance = *d;
  if (auto refusal = ReadAngle(in, f.alpha)) return refusal;
  const auto i = ReadNumber(in.instrument);
  const auto v = ReadNumber(in.target);
  if (!i || std::fabs(*i) >= kMaxMarkHeight) return Refusal("仪器高i输入有误！");
  if (!v || std::fabs(*v) >= kMaxMarkHeight) return Refusal("目标高v输入有误！");
  const auto k = Blank(in.refraction) ? std::optional(kRefractionCoefficient) : ReadNumber(in.refraction);
  if (!k || std::fabs(*k) >= 1) return Refusal("大气折光系数k应在-1与1之间！");
  f.i = *i;
  f.v = *v;
  f.k = *k;
  if (!Blank(in.stationHeight)) {
    f.stationHeight = ReadNumber(in.stationHeight);
    if (!f.stationHeight || std::fabs(*f.stationHeight) >= kMaxStationHeight) return Refusal("测站高程输入有误！");
  }
  return std::nullopt;
}

void Print(OneWayResult& r) {
  r.horizontalText = FixedDecimals(r.horizontal, 3);
  r.elevationText = FixedDecimals(r.elevation, 3);
  r.correctionText = FixedDecimals(r.correction, 4);
  r.heightText = FixedDecimals(r.height, 3);
  if (r.targetHeight) r.targetHeightText = FixedDecimals(*r.targetHeight, 3);
}

}  // namespace

OneWayResult ComputeOneWayHeight(const OneWayInput& input) {
  OneWayResult r;
  Figures f;
  if ((r.refusal = ReadFigures(input, f))) return r;
  const double alpha = f.alpha * kDegreesToRadians;
  if (input.distanceKind == DistanceKind::Slope) {
    r.horizontal = f.distance * std::cos(alpha);
    r.elevation = f.distance * std::sin(alpha);
  } else {
    r.horizontal = f.distance;
    r.elevation = f.distance * std::tan(alpha);
  }
  r.correction = traverse::CurvatureRefraction(r.horizontal, f.k);
  r.height = r.elevation + r.correction + f.i - f.v;
  if (f.stationHeight) r.targetHeight = *f.stationHeight + r.height;
  Print(r);
  return r;
}

}  // namespace korvane::cogo::height
