#include "simple/closing_traverse.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "simple/report_format.h"

namespace korvane::simple {
namespace {

Message Warning(std::string text) { return Message{std::move(text), "警告", MessageIcon::Information}; }

double Reduce360(double a) { return a >= 360 ? a - 360 : a; }

}  // namespace

AngleShares AngleWeights(const std::vector<double>& beta, double betaSum) {
  AngleShares shares;
  shares.weight.resize(beta.size());
  int zeros = 0;
  for (double b : beta) zeros += b == 0 ? 1 : 0;
  for (std::size_t i = 0; i < beta.size(); ++i) {
    if (zeros > 0) shares.weight[i] = beta[i] == 0 ? 1 : 0;
    else shares.weight[i] = betaSum / beta[i];
    shares.total = static_cast<float>(shares.total + shares.weight[i]);
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
      q[i] = a + b * reduced[i] / 1000;
      sum += q[i];
    }
    if (sum > 0) {
      for (double& w : q) w /= sum;
      return q;
    }
  }
  // b = 0, and also a negative b or nominal errors that sum to nothing: the
  // misclosure still has to be distributed, so the legs share it by length.
  float sum = 0;
  for (double s : reduced) sum = static_cast<float>(sum + s);
  for (std::size_t i = 0; i < reduced.size(); ++i) q[i] = sum > 0 ? reduced[i] / sum : 0;
  if (!(sum > 0) && !q.empty())
    for (double& w : q) w = 1.0 / static_cast<double>(q.size());
  return q;
}

ClosingOutcome SolveClosing(const ObservationTable& table, const StartRecord& start, bool closed) {
  ClosingOutcome out;
  ClosingSolution& s = out.solution;
  s.closed = closed;
  const int n = table.stationCount();
  const int legs = n - 1;
  s.red = Reduce(table, start, closed ? n : legs);
  const StartValues& v = s.red.start;

  // Orientation at both ends; record 5 decides the form for both.
  if (v.azimuthForm()) {
    s.startAzimuth = DmsToDegrees(v.orientX);
    s.closingAzimuth = DmsToDegrees(v.endOrientX);
  } else {
    s.startAzimuth = AzimuthFromPoints(v.startX, v.startY, v.orientX, v.orientY);
    s.closingAzimuth = AzimuthFromPoints(v.endOrientX, v.endOrientY, v.endX, v.endY);
  }
  if (closed) s.closingAzimuth = ReverseAzimuth(s.startAzimuth);

  // Provisional azimuths and the angular misclosure.
  const std::vector<double>& beta = s.red.beta;
  double a = Reduce360(ReverseAzimuth(s.startAzimuth) + beta[0]);
  for (int i = 1; i < n; ++i) a = Reduce360(ReverseAzimuth(a) + beta[i]);
  double fb = a - s.closingAzimuth;
  if (std::fabs(std::fabs(fb) - 360) < 1) fb += fb > 0 ? -360 : 360;
  s.angularMisclosure = fb;
  if (std::fabs(fb) > 1) {
    out.refusal = Warning("角度闭合差已超过1度，不再接受计算！");
    return out;
  }

  // Angle corrections in inverse proportion to the angles.
  const AngleShares shares = AngleWeights(beta, s.red.betaSum);
  s.angleCorrection.resize(static_cast<std::size_t>(n));
  s.angleCorrectionText.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double share = fb * shares.weight[i] / shares.total;
    s.angleCorrection[i] = -share;
    double printed = -RoundFixed(share * 3600, "#0.0");
    if (printed == 0) printed = 0;  // no "-0"
    s.angleCorrectionText[i] = NumberText(printed);
  }

  // Adjusted azimuths and coordinate increments of the legs.
  s.azimuth.resize(static_cast<std::size_t>(legs));
  std::vector<double> dx(static_cast<std::size_t>(legs)), dy(static_cast<std::size_t>(legs));
  a = ReverseAzimuth(s.startAzimuth);
  for (int i = 0; i < legs; ++i) {
    const double adjustedAngle = beta[i] + s.angleCorrection[i];  // βa, then the azimuth
    a = Reduce360((i == 0 ? a : ReverseAzimuth(a)) + adjustedAngle);
    s.azimuth[i] = a;
    dx[i] = std::cos(a * kDegreeFactor) * s.red.reduced[i];
    dy[i] = std::sin(a * kDegreeFactor) * s.red.reduced[i];
    s.sumDx = static_cast<float>(s.sumDx + dx[i]);
    s.sumDy = static_cast<float>(s.sumDy + dy[i]);
  }
  if (closed) {
    s.fx = s.sumDx;
    s.fy = s.sumDy;
  } else {
    s.fx = static_cast<float>(s.sumDx - v.endX + v.startX);
    s.fy = static_cast<float>(s.sumDy - v.endY + v.startY);
  }
  s.fs = static_cast<float>(std::sqrt(static_cast<double>(s.fy) * s.fy + static_cast<double>(s.fx) * s.fx));
  if (s.fs > 1.5f) {
    out.refusal = Warning("边长闭合差已超过1.5米，不再接受计算！");
    return out;
  }

  // Coordinate corrections; every point is rounded to millimetres.
  const std::vector<double> legReduced(s.red.reduced.begin(), s.red.reduced.begin() + legs);
  s.legWeight = LegWeights(legReduced, v.constantA, v.constantB);
  s.correctionXmm.resize(static_cast<std::size_t>(legs));
  s.correctionYmm.resize(static_cast<std::size_t>(legs));
  s.x.assign(static_cast<std::size_t>(n), 0);
  s.y.assign(static_cast<std::size_t>(n), 0);
  s.x[0] = v.startX;
  s.y[0] = v.startY;
  s.adjusted.resize(static_cast<std::size_t>(legs));
  s.distanceChangeMm.resize(static_cast<std::size_t>(legs));
  for (int i = 0; i < legs; ++i) {
    const double vx = -s.legWeight[i] * s.fx;
    const double vy = -s.legWeight[i] * s.fy;
    s.correctionXmm[i] = RoundFixed(vx * 1000, "#0.0");
    s.correctionYmm[i] = RoundFixed(vy * 1000, "#0.0");
    const float dxa = static_cast<float>(dx[i] + vx);
    const float dya = static_cast<float>(dy[i] + vy);
    s.x[i + 1] = RoundFixed(s.x[i] + dxa, "#0.000");
    s.y[i + 1] = RoundFixed(s.y[i] + dya, "#0.000");
    s.adjusted[i] = PointDistance(s.x[i + 1], s.y[i + 1], s.x[i], s.y[i]);
    s.adjustedSum += s.adjusted[i];
    const float change = static_cast<float>(s.adjusted[i] - s.red.reduced[i]);
    s.distanceChangeMm[i] = RoundFixed(change * 1000, "#0.0");
  }
  s.relativeMisclosure = RelativeMisclosureText(s.adjustedSum, Widen(s.fs));

  // Heights over the adjusted distances, closed in proportion to them.
  s.heightDifference.resize(static_cast<std::size_t>(legs));
  for (int i = 0; i < legs; ++i) {
    s.heightDifference[i] = LegHeightDifference(s.red.stations[i], s.adjusted[i]);
    s.heightSum += s.heightDifference[i];
  }
  s.fh = closed ? s.heightSum : static_cast<float>(static_cast<double>(s.heightSum) + v.startH - v.endH);
  const bool hasLength = s.adjustedSum > 0;
  s.correctionPerKm = hasLength ? static_cast<float>(s.fh * -1000000.0 / s.adjustedSum) : 0.0f;
  s.heightCorrectionMm.resize(static_cast<std::size_t>(legs));
  s.height.assign(static_cast<std::size_t>(n), 0);
  s.height[0] = v.startH;
  for (int i = 0; i < legs; ++i) {
    const float vh = hasLength ? static_cast<float>(-s.adjusted[i] * s.fh / s.adjustedSum) : 0.0f;
    s.heightCorrectionMm[i] = RoundFixed(vh * 1000, "#0.0");
    s.height[i + 1] = s.height[i] + (s.heightDifference[i] + vh);
  }
  return out;
}

}  // namespace korvane::simple
