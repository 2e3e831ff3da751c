#include "traverse/no_orientation_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "traverse/traverse_toolkit.h"
#include "traverse/closing_traverse.h"
#include "traverse/report_format.h"

namespace korvane::traverse {
namespace {

// The orientation assumed for the direction arriving at A.
constexpr double kAssumedOrientation = 1.0;

// The traverse in the assumed orientation, the end point it reaches, and the
// turn that brings its line A→B′ onto the known line A→B.
void FindTurn(NoOrientationSolution& s) {
  const StartValues& v = s.red.start;
  const std::size_t n = s.red.stations.size();
  const std::vector<double> assumed = traverse::PropagateAzimuths(kAssumedOrientation, s.red.beta, n);
  const traverse::Increments inc = traverse::LegIncrements(assumed, s.red.reduced, n);
  const double sumX = traverse::SumOf<double>(inc.dx);
  const double sumY = traverse::SumOf<double>(inc.dy);
  s.trueAzimuth = AzimuthFromPoints(v.endX, v.endY, v.startX, v.startY);
  s.assumedAzimuth = AzimuthFromPoints(v.startX + sumX, v.startY + sumY, v.startX, v.startY);
  // Azimuths from points come in degrees of kTraverseRadianFactor per radian, the
  // increments take kTraverseDegreeFactor radians per degree; the turn is taken in
  // the increments' degrees, so that it brings B′ exactly onto the line A→B
  // however long the traverse.
  s.turn = (s.assumedAzimuth - s.trueAzimuth) / (kTraverseRadianFactor * kTraverseDegreeFactor);
  s.turn = WrapOnceBelowZero(s.turn);
  s.turnDms = RoundDmsForPrint(DegreesToDms(s.turn), 1);
}

// Azimuth of the first leg turned onto the known line, within one turn.
double TurnedFirstAzimuth(const NoOrientationSolution& s) {
  // fmod, not repeated subtraction: a huge value would never come down.
  return WrapDegrees(ReverseAzimuth(kAssumedOrientation) + s.red.beta[0] - s.turn);
}

// The turned traverse and its coordinate misclosure on B.
std::optional<Message> CloseOnEnd(NoOrientationSolution& s, traverse::Increments& inc) {
  const StartValues& v = s.red.start;
  const std::size_t n = s.red.stations.size();
  s.azimuth = traverse::LegAzimuths(TurnedFirstAzimuth(s), s.red.beta, n);
  inc = traverse::LegIncrements(s.azimuth, s.red.reduced, n);
  s.fx = traverse::SumOf<double>(inc.dx) - (v.endX - v.startX);
  s.fy = traverse::SumOf<double>(inc.dy) - (v.endY - v.startY);
  s.fs = std::sqrt(s.fx * s.fx + s.fy * s.fy);
  if (traverse::LinearMisclosureGross(s.fs))
    return Message{"边长闭合差已超过1.5米，不再接受计算！", "警告", MessageIcon::Information};
  return std::nullopt;
}

// Coordinate corrections by leg weights and coordinates rounded to millimetres.
void AdjustCoordinates(NoOrientationSolution& s, const traverse::Increments& inc) {
  const StartValues& v = s.red.start;
  const std::vector<double>& sp = s.red.reduced;
  s.legWeight = LegWeights(sp, v.additiveConstant, v.scaleConstant);
  TakePoints(s, AdjustPoints(inc.dx, inc.dy, s.legWeight, s.fx, s.fy, v.startX, v.startY));
  s.adjustedSum = traverse::SumOf<double>(s.adjusted);
  s.distanceChangeMm.resize(s.adjusted.size());
  for (std::size_t i = 0; i < s.adjusted.size(); ++i)
    s.distanceChangeMm[i] = static_cast<float>(traverse::TenthsOfMillimetre(s.adjusted[i] - sp[i]));
  s.relativeMisclosure = RelativeMisclosureText(s.adjustedSum, s.fs);
}

// Heights closed on B in proportion to the adjusted distances.
void AdjustHeights(NoOrientationSolution& s) {
  TakeHeights(s, CloseHeights(s.red, s.adjusted, s.adjustedSum, s.red.start.endH));
}

}  // namespace

NoOrientationOutcome SolveNoOrientation(Reduction red, const std::string& endName) {
  NoOrientationOutcome out;
  NoOrientationSolution& s = out.solution;
  s.endName = endName;
  s.red = std::move(red);
  FindTurn(s);
  traverse::Increments inc;
  if ((out.refusal = CloseOnEnd(s, inc))) return out;
  AdjustCoordinates(s, inc);
  inc = {};  // the increments are spent: a long traverse closes its heights without them
  AdjustHeights(s);
  return out;
}

NoOrientationOutcome SolveNoOrientation(const formats::ObservationTable& table, const formats::StartRecord& start,
                                        const std::string& endName) {
  return SolveNoOrientation(Reduce(table, start, table.stationCount()), endName);
}

}  // namespace korvane::traverse
