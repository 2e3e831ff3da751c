#include "traverse/open_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "traverse/traverse_toolkit.h"

namespace korvane::traverse {

float LateralError(double length, int n) {
  const double factor =
      std::sqrt(kOpenAngleErrorSquared * (n + 1.5) / 3 + kOpenOrientationErrorSquared);
  return static_cast<float>(RoundFixed(length * factor / kRhoSecondsPerMillimetre, "#0.0"));
}

float LongitudinalError(double legError, int n) {
  const double nn = n;
  const double squared = nn * legError * legError + kOpenLongitudinalTerm * nn * nn;
  return static_cast<float>(RoundFixed(std::sqrt(squared), "#0.0"));
}

double MeanLegError(double a, double b, double length, int n) {
  if (!(b > 0) || n < 1) return 0;
  return a + b * (length / n) / kMetresPerKilometre;
}

OpenSolution SolveOpen(Reduction red, const std::string& endName) {
  OpenSolution s;
  s.endName = endName;
  s.red = std::move(red);
  const StartValues& v = s.red.start;
  const std::size_t n = s.red.stations.size();
  s.length = s.red.reducedSum;

  s.startAzimuth =
      v.azimuthForm() ? DmsToDegrees(v.orientX) : AzimuthFromPoints(v.startX, v.startY, v.orientX, v.orientY);
  s.azimuth = traverse::PropagateAzimuths(s.startAzimuth, s.red.beta, n);
  // Nothing to close on: every point is carried and rounded to millimetres.
  const traverse::Increments inc = traverse::LegIncrements(s.azimuth, s.red.reduced, n);
  s.x = traverse::CarryCoordinates(v.startX, inc.dx, traverse::RoundToMillimetre);
  s.y = traverse::CarryCoordinates(v.startY, inc.dy, traverse::RoundToMillimetre);
  s.heightDifference.resize(n);
  for (std::size_t i = 0; i < n; ++i)
    s.heightDifference[i] = LegHeightDifference(s.red.stations[i], s.red.reduced[i]);
  s.height = traverse::CarryHeights(v.startH, s.heightDifference);

  const int stations = static_cast<int>(n);
  s.lateralError = LateralError(s.length, stations);
  s.legError = MeanLegError(v.additiveConstant, v.scaleConstant, s.length, stations);
  s.longitudinalError = LongitudinalError(s.legError, stations);
  return s;
}

OpenSolution SolveOpen(const formats::ObservationTable& table, const formats::StartRecord& start, const std::string& endName) {
  return SolveOpen(Reduce(table, start, table.stationCount()), endName);
}

}  // namespace korvane::traverse
