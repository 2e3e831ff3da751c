#include "simple/no_orientation_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "simple/closing_traverse.h"
#include "simple/report_format.h"

namespace korvane::simple {
namespace {

// The orientation assumed for the direction arriving at A.
constexpr double kAssumedOrientation = 1.0;

double Reduce360(double a) { return a >= 360 ? a - 360 : a; }

// Azimuths of the legs from the given azimuth of the first leg.
std::vector<double> LegAzimuths(double first, const std::vector<double>& beta) {
  std::vector<double> az(beta.size());
  double a = first;
  for (std::size_t i = 0; i < beta.size(); ++i) {
    if (i > 0) a = Reduce360(ReverseAzimuth(a) + beta[i]);
    az[i] = a;
  }
  return az;
}

}  // namespace

NoOrientationOutcome SolveNoOrientation(const ObservationTable& table, const StartRecord& start,
                                        const std::string& endName) {
  NoOrientationOutcome out;
  NoOrientationSolution& s = out.solution;
  s.endName = endName;
  const int n = table.stationCount();
  s.red = Reduce(table, start, n);
  const StartValues& v = s.red.start;
  const std::vector<double>& sp = s.red.reduced;

  // The traverse in the assumed orientation and the end point it reaches.
  const std::vector<double> assumed =
      LegAzimuths(Reduce360(ReverseAzimuth(kAssumedOrientation) + s.red.beta[0]), s.red.beta);
  double sumX = 0, sumY = 0;
  for (int i = 0; i < n; ++i) {
    sumX += sp[i] * std::cos(assumed[i] * kDegreeFactor);
    sumY += sp[i] * std::sin(assumed[i] * kDegreeFactor);
  }
  s.trueAzimuth = AzimuthFromPoints(v.endX, v.endY, v.startX, v.startY);
  s.assumedAzimuth = AzimuthFromPoints(v.startX + sumX, v.startY + sumY, v.startX, v.startY);
  s.turn = s.assumedAzimuth - s.trueAzimuth;
  if (s.turn < 0) s.turn += 360;
  s.turnDms = RoundFixed(DegreesToDms(s.turn), "#0.00000");

  // Turned onto the known line A→B.
  double first = ReverseAzimuth(kAssumedOrientation) + s.red.beta[0] - s.turn;
  first = std::fmod(first, 360.0);
  if (first < 0) first += 360;
  if (first >= 360) first = 0;  // a tiny negative value rounds up to a full turn
  s.azimuth = LegAzimuths(first, s.red.beta);
  std::vector<double> dx(static_cast<std::size_t>(n)), dy(static_cast<std::size_t>(n));
  double sumDx = 0, sumDy = 0;
  for (int i = 0; i < n; ++i) {
    dx[i] = sp[i] * std::cos(s.azimuth[i] * kDegreeFactor);
    dy[i] = sp[i] * std::sin(s.azimuth[i] * kDegreeFactor);
    sumDx += dx[i];
    sumDy += dy[i];
  }
  s.fx = sumDx - (v.endX - v.startX);
  s.fy = sumDy - (v.endY - v.startY);
  s.fs = std::sqrt(s.fx * s.fx + s.fy * s.fy);
  if (s.fs > 1.5) {
    out.refusal = Message{"边长闭合差已超过1.5米，不再接受计算！", "警告", MessageIcon::Information};
    return out;
  }

  // Coordinate corrections and coordinates rounded to millimetres.
  s.legWeight = LegWeights(sp, v.constantA, v.constantB);
  s.correctionXmm.resize(static_cast<std::size_t>(n));
  s.correctionYmm.resize(static_cast<std::size_t>(n));
  s.x.assign(static_cast<std::size_t>(n) + 1, 0);
  s.y.assign(static_cast<std::size_t>(n) + 1, 0);
  s.x[0] = v.startX;
  s.y[0] = v.startY;
  s.adjusted.resize(static_cast<std::size_t>(n));
  s.distanceChangeMm.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double cx = -s.legWeight[i] * s.fx;
    const double cy = -s.legWeight[i] * s.fy;
    s.correctionXmm[i] = RoundFixed(cx * 1000, "#0.0");
    s.correctionYmm[i] = RoundFixed(cy * 1000, "#0.0");
    const float cdx = static_cast<float>(dx[i] + cx);
    const float cdy = static_cast<float>(dy[i] + cy);
    s.x[i + 1] = RoundFixed(s.x[i] + cdx, "#0.000");
    s.y[i + 1] = RoundFixed(s.y[i] + cdy, "#0.000");
    s.adjusted[i] = PointDistance(s.x[i], s.y[i], s.x[i + 1], s.y[i + 1]);
    s.adjustedSum = static_cast<float>(s.adjustedSum + s.adjusted[i]);
    s.distanceChangeMm[i] = static_cast<float>(RoundFixed((s.adjusted[i] - sp[i]) * 1000, "#0.0"));
  }
  s.relativeMisclosure = RelativeMisclosureText(Widen(s.adjustedSum), s.fs);

  // Heights closed on B in proportion to the adjusted distances.
  s.heightDifference.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    s.heightDifference[i] = LegHeightDifference(s.red.stations[i], s.adjusted[i]);
    s.heightSum += s.heightDifference[i];
  }
  s.fh = static_cast<float>(static_cast<double>(s.heightSum) + v.startH - v.endH);
  const bool hasLength = s.adjustedSum > 0;
  s.correctionPerKm = hasLength ? static_cast<float>(-s.fh * 1000000.0 / s.adjustedSum) : 0.0f;
  s.heightCorrectionMm.resize(static_cast<std::size_t>(n));
  s.height.assign(static_cast<std::size_t>(n) + 1, 0);
  s.height[0] = v.startH;
  for (int i = 0; i < n; ++i) {
    const float dh = hasLength ? static_cast<float>(-s.fh * s.adjusted[i] / s.adjustedSum) : 0.0f;
    s.heightCorrectionMm[i] = static_cast<float>(RoundFixed(dh * 1000, "#0.0"));
    s.height[i + 1] = s.height[i] + (s.heightDifference[i] + dh);
  }
  return out;
}

}  // namespace korvane::simple
