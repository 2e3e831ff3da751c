#include "geodesy/distance_reduction.h"

#include <cmath>

#include "core/survey_constants.h"
#include "core/typed_values.h"
#include "geodesy/gauss_kruger.h"
#include "geodesy/notice.h"

namespace korvane::geodesy {
namespace {

constexpr double kMaxDistance = 100000.0;  // metres, as the traverses accept
constexpr double kMaxHeight = 10000.0;     // metres above or below the ellipsoid
constexpr double kMinRadiusKm = 6000.0;
constexpr double kMaxRadiusKm = 7000.0;
constexpr double kPrefixFactor = 1000000.0;

struct Figures {
  double s = 0, hm = 0, h0 = 0, y = 0, radius = 0;
};

// An empty text gives the fallback.
std::optional<double> ReadOr(const std::string& text, double fallback) {
  if (text.find_first_not_of(" \t") == std::string::npos) return fallback;
  return ReadNumber(text);
}

std::optional<Message> ReadFigures(const DistanceInput& in, Figures& f) {
  const auto s = ReadNumber(in.distance);
  const auto hm = ReadNumber(in.meanHeight);
  const auto h0 = ReadOr(in.projectionHeight, 0.0);
  const auto y = ReadNumber(in.meanY);
  const auto r = ReadOr(in.radiusKm, kEarthRadiusKm);
  if (!s || *s <= 0 || *s >= kMaxDistance) return Notice("边长S应大于0且小于100公里！");
  if (!hm || std::fabs(*hm) > kMaxHeight) return Notice("平均高程Hm输入有误（应在±10000米以内）！");
  if (!h0 || std::fabs(*h0) > kMaxHeight) return Notice("投影面高程H0输入有误（应在±10000米以内）！");
  if (!y || *y < 0) return Notice("横坐标Y输入有误（应含500公里，可带带号）！");
  if (!r || *r < kMinRadiusKm || *r > kMaxRadiusKm) return Notice("地球半径R应在6000～7000公里之间！");
  f = {*s, *hm, *h0, *y, *r * kMetresPerKilometre};
  return std::nullopt;
}

void Print(DistanceResult& r) {
  r.ymText = FixedDecimals(r.ym, 3);
  r.surfaceCorrectionText = FixedDecimals(r.surfaceCorrection * kMillimetresPerMetre, 2);
  r.planeCorrectionText = FixedDecimals(r.planeCorrection * kMillimetresPerMetre, 2);
  r.surfaceDistanceText = FixedDecimals(r.surfaceDistance, 4);
  r.planeDistanceText = FixedDecimals(r.planeDistance, 4);
  r.surfaceFactorText = FixedDecimals(r.surfaceFactor, 8);
  r.planeFactorText = FixedDecimals(r.planeFactor, 8);
  r.factorText = FixedDecimals(r.factor, 8);
}

}  // namespace

DistanceResult ReduceDistance(const DistanceInput& input) {
  DistanceResult r;
  Figures f;
  if ((r.refusal = ReadFigures(input, f))) return r;
  // Y with the zone prefix in front: only the last six digits before the
  // point are the easting.
  const double y = f.y >= kPrefixFactor ? f.y - std::floor(f.y / kPrefixFactor) * kPrefixFactor : f.y;
  r.ym = y - kFalseEasting;
  const double heightTerm = (f.hm - f.h0) / f.radius;
  const double planeTerm = r.ym * r.ym / (2.0 * f.radius * f.radius);
  r.surfaceCorrection = -f.s * heightTerm;
  r.planeCorrection = f.s * planeTerm;
  r.surfaceDistance = f.s + r.surfaceCorrection;
  r.planeDistance = r.surfaceDistance + r.planeCorrection;
  r.surfaceFactor = 1.0 - heightTerm;
  r.planeFactor = 1.0 + planeTerm;
  r.factor = 1.0 - heightTerm + planeTerm;
  Print(r);
  return r;
}

}  // namespace korvane::geodesy
