#include "traverse/rigorous_adjustment.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "core/text_utils.h"
#include "traverse/traverse_toolkit.h"

namespace korvane::traverse {
namespace {

// A direction without coordinate correction is drawn with this many mm.
constexpr double kEllipseFallbackMm = 5.0;
// The weakest-side search starts above any ratio a traverse can reach.
constexpr double kWeakestSideStart = 100000000;
// Added to a side's length in the height error so that a zero-length side
// does not divide by zero, metres.
constexpr double kZeroLengthGuard = 0.00001;

// Rounding as the report prints; a negative zero becomes 0 so that it is
// written as " 0".
double Round(double value, const char* pattern) { return RoundFixed(value, pattern) + 0.0; }

// Sizes every given per-station or per-side list at once.
template <typename... Lists>
void SizeLists(int size, Lists&... lists) {
  (lists.resize(static_cast<std::size_t>(size)), ...);
}

bool AskToContinue(const AskOkCancel& ask, const Message& question) { return ask && ask(question); }

Message NotATraverse() { return {"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information}; }

// One station's leg as the adjustment computes with it.
struct Observation {
  double distance = 0;                              // S, m
  double instrumentForward = 0, targetForward = 0;  // m
  double verticalForward = 0;                       // radians
  double instrumentBack = 0, targetBack = 0;        // m
  double verticalBack = 0;                          // radians
};

struct KnownPoint {
  double x = 0, y = 0, h = 0;
};

KnownPoint Known(const formats::TraverseKnownPoint& p) { return KnownPoint{p.x, p.y, p.h}; }

// The observations and the known points; the stages below read the legs from it.
struct Traverse {
  const formats::TraverseObservations& observations;
  KnownPoint a, b, c, d;  // orientation, start, end and connecting points
  Observation at(int i) const {
    const formats::ObservedStation& s = observations.stations[static_cast<std::size_t>(i)];
    return Observation{s.distance,       s.instrumentForward, s.targetForward, DmsToRadians(s.verticalForwardDms),
                       s.instrumentBack, s.targetBack,        DmsToRadians(s.verticalBackDms)};
  }
};

Traverse LoadTraverse(const formats::TraverseObservations& observations, RigorousResult& res) {
  Traverse t{observations, Known(observations.orientation), Known(observations.start), Known(observations.end),
             Known(observations.connection)};
  const int n = static_cast<int>(observations.stations.size());
  res.betaDegrees.resize(n);
  for (int i = 0; i < n; ++i) {
    const double betaDms = observations.stations[static_cast<std::size_t>(i)].angleDms;
    // A right angle is typed with a leading minus and turned into the left angle.
    res.betaDegrees[i] = betaDms < 0 ? RightToLeftAngle(betaDms) : DmsToDegrees(betaDms);
  }
  res.priorAngleError = observations.priorAngleError;
  res.additiveConstant = observations.additiveConstant;
  res.scaleConstant = observations.scaleConstant;
  return t;
}

// Approximate heights by forward trigonometric levelling along every row (the
// end point's row included), the projection height, and the sides reduced to it.
void ReduceToProjection(const Traverse& t, RigorousResult& res) {
  const int n = res.n, sides = n - 1;
  std::vector<double> h0(n + 1);
  h0[0] = t.b.h;
  for (int i = 0; i < n; ++i) {
    const Observation o = t.at(i);
    h0[i + 1] = traverse::ProvisionalHeight(h0[i], o.distance, o.verticalForward, o.instrumentForward,
                                            o.targetForward);
  }
  res.meanHeight = traverse::MeanHeight(h0, static_cast<std::size_t>(n)) + 0.0;

  res.projectionOff = t.observations.projectionOff;
  res.projectionNumber = t.observations.projectionHeight;
  double hm = res.projectionNumber;
  if (hm == 0) hm = res.meanHeight;
  res.projectionHeight = hm;

  SizeLists(sides, res.projectionMm, res.reducedLength);
  for (int i = 0; i < sides; ++i) {
    const double s = t.at(i).distance;
    res.projectionMm[i] = res.projectionOff ? 0.0 : traverse::ProjectionReductionMm(h0[i], h0[i + 1], hm, s);
    res.reducedLength[i] = s + res.projectionMm[i] / kMillimetresPerMetre;
  }
}

// The sums of the coordinate weights and of the angle weights, and the known
// sides the first and the last angle weight depend on.
void Weights(const Traverse& t, RigorousResult& res) {
  res.knownSideStart = PointDistance(t.a.x, t.a.y, t.b.x, t.b.y);
  res.knownSideEnd = PointDistance(t.c.x, t.c.y, t.d.x, t.d.y);
  res.coordinateWeightSum = 0;
  for (int i = 0; i + 1 < res.n; ++i) res.coordinateWeightSum += res.coordinateWeight(i);
  res.angleWeightSum = 0;
  for (int i = 0; i < res.n; ++i) res.angleWeightSum += res.angleWeight(i);
}

std::vector<double> AngleCorrections(const RigorousResult& res) {
  std::vector<double> v(static_cast<std::size_t>(res.n));
  for (int i = 0; i < res.n; ++i) v[i] = res.vBetaDegrees(i);
  return v;
}

// The closing azimuth from the observed angles, the last being the computed
// C->D, checked against the known one; with no weight anywhere the
// misclosure stays undistributed.
bool CloseAngles(const Traverse& t, RigorousResult& res, const AskOkCancel& ask) {
  const int n = res.n;
  const double azAB = AzimuthFromPoints(t.b.x, t.b.y, t.a.x, t.a.y);
  const double azCD = AzimuthFromPoints(t.d.x, t.d.y, t.c.x, t.c.y);
  const double computed = traverse::PropagateAzimuths(azAB, res.betaDegrees, n).back();
  res.fBetaDegrees = traverse::AngularMisclosure(computed, azCD);
  if (traverse::AngularMisclosureGross(res.fBetaDegrees) && !AskToContinue(ask, AngularMisclosureQuestion()))
    return false;
  double sumVBeta2 = 0;
  for (int i = 0; i < n; ++i) sumVBeta2 += std::pow(res.vBetaDegrees(i) * kSecondsPerDegree, 2);
  res.mBeta = Round(std::sqrt(sumVBeta2 / n), "#0.0");
  return true;
}

// The corrections of one coordinate's increments.
template <typename Correction>
std::vector<double> CoordinateCorrections(std::size_t sides, Correction correction) {
  std::vector<double> v(sides);
  for (std::size_t i = 0; i < sides; ++i) v[i] = correction(static_cast<int>(i));
  return v;
}

// Carries one coordinate along the corrected increments and releases them:
// X(i+1) = X(i) + (Δx + vx).
template <typename Correction>
std::vector<double> CarryCorrected(double start, std::vector<double>& increments, Correction correction) {
  const std::vector<double> corrected = traverse::CorrectedIncrements<double>(
      increments, CoordinateCorrections(increments.size(), correction));
  std::vector<double>().swap(increments);
  return traverse::CarryCoordinates(start, corrected, traverse::Unrounded);
}

// Adjusted azimuths, increments, the coordinate misclosure and its
// distribution; the coordinates are not rounded, so X(n), Y(n) equal C.
bool CloseCoordinates(const Traverse& t, RigorousResult& res, const AskOkCancel& ask) {
  const std::size_t sides = static_cast<std::size_t>(res.n - 1);
  const double azAB = AzimuthFromPoints(t.b.x, t.b.y, t.a.x, t.a.y);
  traverse::Increments inc = traverse::LegIncrements(
      traverse::PropagateAzimuths(azAB, res.betaDegrees, AngleCorrections(res), sides), res.reducedLength, sides);
  res.fx = traverse::SumOf<double>(inc.dx) - (t.c.x - t.b.x);
  res.fy = traverse::SumOf<double>(inc.dy) - (t.c.y - t.b.y);
  res.fs = std::sqrt(res.fx * res.fx + res.fy * res.fy);
  if (traverse::LinearMisclosureGross(res.fs) && !AskToContinue(ask, LinearMisclosureQuestion()))
    return false;
  res.x = CarryCorrected(t.b.x, inc.dx, [&](int i) { return res.vx(i); });
  res.y = CarryCorrected(t.b.y, inc.dy, [&](int i) { return res.vy(i); });
  return true;
}

// The sums over the adjusted sides, the weakest side and the accuracy figures.
void SideFigures(RigorousResult& res) {
  const int sides = res.n - 1;
  double weakest = kWeakestSideStart;
  double sumE2 = 0, sumDs2 = 0, sumSa = 0;
  for (int i = 0; i < sides; ++i) {
    const double sa = res.adjustedLength(i);
    const double ds = res.lengthChange(i);
    sumSa += sa;
    if (ds != 0) weakest = std::min(weakest, std::fabs(std::floor(sa / ds)));
    const double ex = res.vx(i) * kMillimetresPerMetre, ey = res.vy(i) * kMillimetresPerMetre;
    sumE2 += ex * ex + ey * ey;
    sumDs2 += (ds * kMillimetresPerMetre) * (ds * kMillimetresPerMetre);
  }
  res.weakestSide = "1/" + FormatFixed(weakest, "#0");
  res.totalLengthRaw = sumSa;
  res.meanSide = Round(sumSa / sides, "#0.000");
  res.m = Round(std::sqrt(sumE2 / sides), "#0.0");
  res.ms = Round(std::sqrt(sumDs2 / sides), "#0.0");
  if (res.fs != 0) res.relativeClosure = "1 /" + StrNumber(std::floor(sumSa / res.fs));
}

// Height differences on the adjusted lengths, forward, back and their mean.
void HeightDifferences(const Traverse& t, RigorousResult& res) {
  const int sides = res.n - 1;
  SizeLists(sides, res.hForward, res.hBack, res.hMean, res.oneWay);
  for (int i = 0; i < sides; ++i) {
    const Observation o = t.at(i);
    const double sa = res.adjustedLength(i);
    const double forward =
        traverse::SightHeightDifference(o.verticalForward, sa, o.instrumentForward, o.targetForward);
    const double back = traverse::SightHeightDifference(o.verticalBack, sa, o.instrumentBack, o.targetBack);
    res.hForward[i] = Round(forward, "#0.000");
    res.hBack[i] = Round(back, "#0.000");
    res.oneWay[i] = o.instrumentBack == 0;
    res.hMean[i] =
        res.oneWay[i] ? traverse::CurvatureRefraction(sa) + forward
                      : traverse::TwoWayMean(forward, back);
  }
}

// Height misclosure, distributed in proportion to the adjusted lengths.
void CloseHeights(const Traverse& t, RigorousResult& res) {
  const int sides = res.n - 1;
  const double sumSa = res.totalLengthRaw;
  res.fh = traverse::HeightMisclosure<double>(traverse::SumOf<double>(res.hMean), t.b.h, t.c.h);
  res.deltaKm = Round(traverse::CorrectionPerKm(res.fh, sumSa), "#0.0");
  res.h.resize(res.n);
  res.h[0] = t.b.h;
  double sumMh2 = 0;
  for (int i = 0; i < sides; ++i) {
    res.h[i + 1] = res.h[i] + res.hMean[i] + res.vh(i);
    sumMh2 += std::pow(
        res.vhMm(i) * kMillimetresPerMetre / (res.adjustedLength(i) + kZeroLengthGuard), 2);
  }
  res.mh = Round(std::sqrt(sumMh2 / sides), "#0.0");
}

// Misclosures as reported.
void ReportFigures(RigorousResult& res) {
  res.fxMm = traverse::TenthsOfMillimetre(res.fx) + 0.0;
  res.fyMm = traverse::TenthsOfMillimetre(res.fy) + 0.0;
  res.fsMm = traverse::TenthsOfMillimetre(res.fs) + 0.0;
  res.fhMm = traverse::TenthsOfMillimetre(res.fh) + 0.0;
  res.fBetaSeconds = Round(res.fBetaDegrees * kSecondsPerDegree, "#0.0");
  res.totalLength = Round(res.totalLengthRaw, "#0.000");
}

}  // namespace

Message AngularMisclosureQuestion() {
  return {"角度闭合差已超过1度，要继续计算吗？", "警告", MessageIcon::Warning};
}

Message LinearMisclosureQuestion() {
  return {"边长闭合差已超过1.5米，要继续计算吗？", "警告", MessageIcon::Warning};
}

double RigorousResult::angleWeight(int i) const {
  // The sides meeting at the station: A-B before the first, C-D after the last.
  const double before = i == 0 ? knownSideStart : reducedLength[i - 1];
  const double after = i == n - 1 ? knownSideEnd : reducedLength[i];
  const double halfAngle = std::fabs(betaDegrees[i]) / 2;
  // An angle of 0 carries no weight.
  return halfAngle > 0 ? std::fabs(after - before) / std::sqrt(halfAngle) : 0.0;
}

double RigorousResult::vBetaDegrees(int i) const {
  return traverse::MisclosureShare(angleWeight(i), angleWeightSum, fBetaDegrees);
}

double RigorousResult::vBetaSeconds(int i) const {
  return Round(vBetaDegrees(i) * kSecondsPerDegree, "#0.0");
}

double RigorousResult::adjustedBeta(int i) const {
  return RoundDmsForPrint(DegreesToDms(betaDegrees[i] + vBetaDegrees(i)), 0);
}

// From the distance-meter error model, or the length when no a-priori angle
// error is given.
double RigorousResult::coordinateWeight(int i) const {
  const double sigma = additiveConstant + scaleConstant * reducedLength[i] * kKilometresPerMetre;
  return priorAngleError != 0 ? sigma * sigma / (priorAngleError * priorAngleError) : reducedLength[i];
}

double RigorousResult::vx(int i) const {
  return traverse::MisclosureShare(coordinateWeight(i), coordinateWeightSum, fx);
}

double RigorousResult::vy(int i) const {
  return traverse::MisclosureShare(coordinateWeight(i), coordinateWeightSum, fy);
}

double RigorousResult::adjustedLength(int i) const { return PointDistance(x[i], y[i], x[i + 1], y[i + 1]); }

double RigorousResult::lengthChange(int i) const { return adjustedLength(i) - reducedLength[i]; }

double RigorousResult::lengthChangeMm(int i) const { return traverse::TenthsOfMillimetre(lengthChange(i)) + 0.0; }

std::string RigorousResult::relativeCorrection(int i) const {
  const double ds = lengthChange(i);
  if (ds == 0) return {};
  return "1/" + StrNumber(std::fabs(std::floor(adjustedLength(i) / ds)));
}

double RigorousResult::pointErrorMm(int i) const {
  const double ex = vx(i) * kMillimetresPerMetre, ey = vy(i) * kMillimetresPerMetre;
  return Round(std::sqrt(ex * ex + ey * ey), "#0.0");
}

double RigorousResult::hMeanReported(int i) const { return Round(hMean[i], "#0.000"); }

double RigorousResult::discrepancy(int i) const { return Round(std::fabs(hForward[i] + hBack[i]), "#0.000"); }

double RigorousResult::vh(int i) const { return traverse::MisclosureShare(adjustedLength(i), totalLengthRaw, fh); }

double RigorousResult::vhMm(int i) const { return traverse::TenthsOfMillimetre(vh(i)) + 0.0; }

// A direction without coordinate correction is drawn with a fixed size.
double RigorousResult::ellipseX(int i) const {
  const double v = vx(i);
  return v == 0 ? kEllipseFallbackMm : std::fabs(v) * kMillimetresPerMetre;
}

double RigorousResult::ellipseY(int i) const {
  const double v = vy(i);
  return v == 0 ? kEllipseFallbackMm : std::fabs(v) * kMillimetresPerMetre;
}

double RigorousResult::ellipseRadius(int i) const {
  const double ex = ellipseX(i), ey = ellipseY(i);
  return std::sqrt(ex * ex + ey * ey);
}

RigorousOutcome AdjustRigorous(const formats::TraverseObservations& observations, const AskOkCancel& ask) {
  RigorousOutcome outcome;
  if (observations.stations.size() < 2) {
    outcome.refusal = NotATraverse();
    return outcome;
  }
  RigorousResult& res = outcome.result;
  res.n = static_cast<int>(observations.stations.size());
  const Traverse t = LoadTraverse(observations, res);
  ReduceToProjection(t, res);
  Weights(t, res);
  if (!CloseAngles(t, res, ask)) {
    outcome.refusal = AngularMisclosureQuestion();
    return outcome;
  }
  if (!CloseCoordinates(t, res, ask)) {
    outcome.refusal = LinearMisclosureQuestion();
    return outcome;
  }
  SideFigures(res);
  HeightDifferences(t, res);
  CloseHeights(t, res);
  ReportFigures(res);
  return outcome;
}

RigorousOutcome AdjustRigorous(const formats::RigorousTable& table, const formats::RigorousParameters& params,
                               const AskOkCancel& ask) {
  const formats::TraverseObservationsRead read = formats::ReadWeightedTraverse(table, params);
  if (!read.ok()) return RigorousOutcome{read.refusal, {}};
  return AdjustRigorous(read.observations, ask);
}

}  // namespace korvane::traverse
