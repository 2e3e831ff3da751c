#include "simple/open_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"

namespace korvane::simple {
namespace {

double Reduce360(double a) { return a >= 360 ? a - 360 : a; }

}  // namespace

float LateralError(float length, int n) {
  // 25: a 5" angle error squared; 1: a 1" error of the start orientation.
  return static_cast<float>(RoundFixed(length * std::sqrt(25 * (n + 1.5) / 3 + 1) / 206.265, "#0.0"));
}

float LongitudinalError(double legError, int n) {
  const double nn = n;
  return static_cast<float>(RoundFixed(std::sqrt(nn * legError * legError + 20 * nn * nn), "#0.0"));
}

double MeanLegError(double a, double b, float length, int n) {
  if (!(b > 0) || n < 1) return 0;
  return a + b * (static_cast<double>(length) / n) / 1000;
}

OpenSolution SolveOpen(const ObservationTable& table, const StartRecord& start, const std::string& endName) {
  OpenSolution s;
  s.endName = endName;
  const int n = table.stationCount();
  s.red = Reduce(table, start, n);
  const StartValues& v = s.red.start;
  s.length = s.red.reducedSum;

  s.startAzimuth = v.azimuthForm() ? DmsToDegrees(v.orientX)
                                   : AzimuthFromPoints(v.startX, v.startY, v.orientX, v.orientY);

  s.azimuth.resize(static_cast<std::size_t>(n));
  s.x.assign(static_cast<std::size_t>(n) + 1, 0);
  s.y.assign(static_cast<std::size_t>(n) + 1, 0);
  s.height.assign(static_cast<std::size_t>(n) + 1, 0);
  s.heightDifference.resize(static_cast<std::size_t>(n));
  s.x[0] = v.startX;
  s.y[0] = v.startY;
  s.height[0] = v.startH;
  double a = ReverseAzimuth(s.startAzimuth);
  for (int i = 0; i < n; ++i) {
    a = Reduce360((i == 0 ? a : ReverseAzimuth(a)) + s.red.beta[i]);
    s.azimuth[i] = a;
    const double sp = s.red.reduced[i];
    s.x[i + 1] = RoundFixed(s.x[i] + sp * std::cos(a * kDegreeFactor), "#0.000");
    s.y[i + 1] = RoundFixed(s.y[i] + sp * std::sin(a * kDegreeFactor), "#0.000");
    s.heightDifference[i] = LegHeightDifference(s.red.stations[i], sp);
    s.height[i + 1] = s.height[i] + s.heightDifference[i];
  }

  s.lateralError = LateralError(s.length, n);
  s.legError = MeanLegError(v.constantA, v.constantB, s.length, n);
  s.longitudinalError = LongitudinalError(s.legError, n);
  return s;
}

}  // namespace korvane::simple
