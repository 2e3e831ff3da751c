#include "traverse/closing_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "traverse/traverse_toolkit.h"
#include "traverse/report_format.h"

namespace korvane::traverse {
namespace {

Message Warning(std::string text) { return Message{std::move(text), "警告", MessageIcon::Information}; }

}  // namespace

AngleShares AngleWeights(const std::vector<double>& beta, double betaSum) {
  AngleShares shares;
  shares.weight.resize(beta.size());
  int zeros = 0;
  for (double b : beta) zeros += b == 0 ? 1 : 0;
  for (std::size_t i = 0; i < beta.size(); ++i) {
    if (zeros > 0)
      shares.weight[i] = beta[i] == 0 ? 1 : 0;
    else
      shares.weight[i] = betaSum / beta[i];
    shares.total += shares.weight[i];
  }
  if (shares.total == 0 || !std::isfinite(shares.total)) {
    // No usable weights (angles summing to nothing): equal shares.
    shares.total = 0;
    for (double& w : shares.weight) {
      w = 1;
      shares.total += 1;
    }
  }
  return shares;
}

std::vector<double> LegWeights(const std::vector<double>& reduced, double a, double b) {
  std::vector<double> q(reduced.size(), 0.0);
  if (b > 0) {
    double sum = 0;
    for (std::size_t i = 0; i < reduced.size(); ++i) {
      q[i] = a + b * reduced[i] / kMetresPerKilometre;
      sum += q[i];
    }
    if (sum > 0) {
      for (double& w : q) w /= sum;
      return q;
    }
  }
  // b = 0, and also a negative b or nominal errors that sum to nothing: the
  // misclosure still has to be distributed, so the legs share it by length.
  double sum = 0;
  for (double s : reduced) sum += s;
  for (std::size_t i = 0; i < reduced.size(); ++i) q[i] = sum > 0 ? reduced[i] / sum : 0;
  if (!(sum > 0) && !q.empty())
    for (double& w : q) w = 1.0 / static_cast<double>(q.size());
  return q;
}

namespace {

// Orientation at both ends; record 5 decides the form for both.
void Orient(ClosingSolution& s) {
  const StartValues& v = s.red.start;
  if (v.azimuthForm()) {
    s.startAzimuth = DmsToDegrees(v.orientX);
    s.closingAzimuth = DmsToDegrees(v.endOrientX);
  } else {
    s.startAzimuth = AzimuthFromPoints(v.startX, v.startY, v.orientX, v.orientY);
    s.closingAzimuth = AzimuthFromPoints(v.endOrientX, v.endOrientY, v.endX, v.endY);
  }
  if (s.closed) s.closingAzimuth = ReverseAzimuth(s.startAzimuth);
}

// Provisional azimuths and the angular misclosure, then its corrections in
// inverse proportion to the angles (degrees, per station).
std::optional<Message> CloseAngles(ClosingSolution& s, std::vector<double>& correction) {
  const std::vector<double>& beta = s.red.beta;
  const std::size_t n = beta.size();
  const double computed = traverse::PropagateAzimuths(s.startAzimuth, beta, n).back();
  s.angularMisclosure = traverse::AngularMisclosure(computed, s.closingAzimuth);
  if (traverse::AngularMisclosureGross(s.angularMisclosure))
    return Warning("角度闭合差已超过1度，不再接受计算！");
  const AngleShares shares = AngleWeights(beta, s.red.betaSum);
  correction = traverse::DistributeMisclosure(shares.weight, shares.total, s.angularMisclosure);
  s.angleCorrectionSeconds.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    double printed = -RoundFixed(-correction[i] * kSecondsPerDegree, "#0.0");
    if (printed == 0) printed = 0;  // no "-0"
    s.angleCorrectionSeconds[i] = printed;
  }
  return std::nullopt;
}

// Adjusted azimuths, the increments of the legs and the coordinate misclosure.
std::optional<Message> CloseCoordinates(ClosingSolution& s, std::vector<double> correction,
                                        traverse::Increments& inc, std::size_t legs) {
  const std::vector<double>& beta = s.red.beta;
  // The adjusted angles in place of their corrections, then the azimuths.
  correction.resize(legs);
  for (std::size_t i = 0; i < legs; ++i) correction[i] = beta[i] + correction[i];
  const std::vector<double> azimuth = traverse::PropagateAzimuths(s.startAzimuth, correction, legs);
  std::vector<double>().swap(correction);
  inc = traverse::LegIncrements(azimuth, s.red.reduced, legs);
  s.sumDx = traverse::SumOf<double>(inc.dx);
  s.sumDy = traverse::SumOf<double>(inc.dy);
  const StartValues& v = s.red.start;
  if (s.closed) {
    s.fx = s.sumDx;
    s.fy = s.sumDy;
  } else {
    s.fx = s.sumDx - (v.endX - v.startX);
    s.fy = s.sumDy - (v.endY - v.startY);
  }
  s.fs = std::sqrt(s.fy * s.fy + s.fx * s.fx);
  if (traverse::LinearMisclosureGross(s.fs)) return Warning("边长闭合差已超过1.5米，不再接受计算！");
  return std::nullopt;
}

// Coordinate corrections by leg weights; every point rounded to millimetres.
void AdjustCoordinates(ClosingSolution& s, const traverse::Increments& inc, std::size_t legs) {
  const StartValues& v = s.red.start;
  // The closed kind reduced one leg more (back onto the start point).
  if (s.red.reduced.size() == legs) {
    s.legWeight = LegWeights(s.red.reduced, v.additiveConstant, v.scaleConstant);
  } else {
    const std::vector<double> legReduced(s.red.reduced.begin(), s.red.reduced.begin() + legs);
    s.legWeight = LegWeights(legReduced, v.additiveConstant, v.scaleConstant);
  }
  TakePoints(s, AdjustPoints(inc.dx, inc.dy, s.legWeight, s.fx, s.fy, v.startX, v.startY));
  s.adjustedSum = traverse::SumOf<double>(s.adjusted);
  s.distanceChangeMm.resize(legs);
  for (std::size_t i = 0; i < legs; ++i)
    s.distanceChangeMm[i] =
        traverse::TenthsOfMillimetre(static_cast<float>(s.adjusted[i] - s.red.reduced[i]));
  s.relativeMisclosure = RelativeMisclosureText(s.adjustedSum, s.fs);
}

// Heights over the adjusted distances, closed in proportion to them.
void AdjustHeights(ClosingSolution& s) {
  const std::optional<double> endHeight = s.closed ? std::nullopt : std::optional<double>(s.red.start.endH);
  TakeHeights(s, CloseHeights(s.red, s.adjusted, s.adjustedSum, endHeight));
}

}  // namespace

ClosingOutcome SolveClosing(Reduction red, bool closed) {
  ClosingOutcome out;
  ClosingSolution& s = out.solution;
  s.closed = closed;
  s.red = std::move(red);
  const std::size_t legs = s.red.stations.size() - 1;
  Orient(s);
  std::vector<double> angleCorrection;
  if ((out.refusal = CloseAngles(s, angleCorrection))) return out;
  traverse::Increments inc;
  if ((out.refusal = CloseCoordinates(s, std::move(angleCorrection), inc, legs))) return out;
  AdjustCoordinates(s, inc, legs);
  inc = {};  // the increments are spent: a long traverse closes its heights without them
  AdjustHeights(s);
  return out;
}

int ClosingReducedLegs(int stations, bool closed) { return closed ? stations : stations - 1; }

ClosingOutcome SolveClosing(const formats::ObservationTable& table, const formats::StartRecord& start, bool closed) {
  return SolveClosing(Reduce(table, start, ClosingReducedLegs(table.stationCount(), closed)), closed);
}

}  // namespace korvane::traverse
