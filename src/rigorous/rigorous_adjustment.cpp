#include "rigorous/rigorous_adjustment.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "core/observation_check.h"
#include "core/text_utils.h"
#include "core/traverse_toolkit.h"

namespace korvane {
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

std::optional<Message> ValidateObservations(const RigorousTable& table) {
  for (int r = RigorousTable::stationRow(1); r <= table.rows() - 4; ++r) {
    for (int c = 2; c <= 9; ++c) {
      if (auto refusal = CheckObservationCell(r, c, table.at(r, c))) return refusal;
    }
  }
  return std::nullopt;
}

// Too few stations, or an empty or non-numeric observation cell.
std::optional<Message> CheckTable(const RigorousTable& table) {
  if (table.rows() < 9) return Message{"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information};
  return ValidateObservations(table);
}

// One station row read into numbers.
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

// The table's texts read into numbers once; the stages below work on these.
struct Traverse {
  std::vector<Observation> stations;
  KnownPoint a, b, c, d;  // orientation, start, end and connecting points
  double priorAngleError = 0, additiveConstant = 0, scaleConstant = 0;
};

double Cell(const RigorousTable& table, int row, int column) { return ParseLenient(table.at(row, column)); }

KnownPoint ReadKnownPoint(const RigorousTable& table, int row) {
  return KnownPoint{Cell(table, row, 2), Cell(table, row, 3), Cell(table, row, 4)};
}

Traverse LoadTraverse(const RigorousTable& table, const RigorousParameters& params, RigorousResult& res) {
  Traverse t;
  const int n = table.stationCount();
  SizeLists(n, t.stations, res.names, res.betaDegrees);
  for (int i = 0; i < n; ++i) {
    const int r = RigorousTable::stationRow(i + 1);
    Observation& o = t.stations[i];
    res.names[i] = table.at(r, 1);
    const double betaDms = Cell(table, r, 2);
    // A right angle is typed with a leading minus and turned into the left angle.
    res.betaDegrees[i] = betaDms < 0 ? RightToLeftAngle(betaDms) : DmsToDegrees(betaDms);
    o.distance = Cell(table, r, 3);
    o.instrumentForward = Cell(table, r, 4);
    o.targetForward = Cell(table, r, 5);
    o.verticalForward = DmsToRadians(Cell(table, r, 6));
    o.instrumentBack = Cell(table, r, 7);
    o.targetBack = Cell(table, r, 8);
    o.verticalBack = DmsToRadians(Cell(table, r, 9));
  }
  t.a = ReadKnownPoint(table, 1);
  t.b = ReadKnownPoint(table, 2);
  t.c = ReadKnownPoint(table, table.endRow());
  t.d = ReadKnownPoint(table, table.connectRow());
  t.priorAngleError = ParseLenient(params.priorAngleError);
  t.additiveConstant = ParseLenient(params.additiveConstant);
  t.scaleConstant = ParseLenient(params.scaleConstant);
  return t;
}

// Approximate heights by forward trigonometric levelling along every row (the
// end point's row included), the projection height, and the sides reduced to it.
void ReduceToProjection(const Traverse& t, const RigorousParameters& params, RigorousResult& res) {
  const int n = res.n, sides = n - 1;
  std::vector<double> h0(n + 1);
  h0[0] = t.b.h;
  for (int i = 0; i < n; ++i) {
    const Observation& o = t.stations[i];
    h0[i + 1] = traverse::ProvisionalHeight(h0[i], o.distance, o.verticalForward, o.instrumentForward,
                                            o.targetForward);
  }
  res.meanHeight = traverse::MeanHeight(h0, static_cast<std::size_t>(n)) + 0.0;

  const std::string projectionText = Trim(params.projectionHeight);
  res.projectionOff = projectionText == "N" || projectionText == "n";
  res.projectionNumber = ParseLenient(params.projectionHeight);
  double hm = res.projectionNumber;
  if (hm == 0) hm = res.meanHeight;
  res.projectionHeight = hm;

  SizeLists(sides, res.projectionMm, res.reducedLength);
  for (int i = 0; i < sides; ++i) {
    const double s = t.stations[i].distance;
    res.projectionMm[i] = res.projectionOff ? 0.0 : traverse::ProjectionReductionMm(h0[i], h0[i + 1], hm, s);
    res.reducedLength[i] = s + res.projectionMm[i] / survey::kMillimetresPerMetre;
  }
}

// Coordinate weights from the distance-meter error model, or the lengths when
// no a-priori angle error is given; angle weights from the difference of the
// two sides meeting at the station (an angle of 0 carries no weight).
void Weights(const Traverse& t, RigorousResult& res) {
  const int n = res.n, sides = n - 1;
  const double m0 = t.priorAngleError;
  res.coordinateWeight.resize(sides);
  for (int i = 0; i < sides; ++i) {
    const double sigma =
        t.additiveConstant + t.scaleConstant * res.reducedLength[i] * survey::kKilometresPerMetre;
    res.coordinateWeight[i] = m0 != 0 ? sigma * sigma / (m0 * m0) : res.reducedLength[i];
  }
  // Lengths of the sides around the stations: A-B, the traverse sides, C-D.
  std::vector<double> around(n + 1);
  around[0] = PointDistance(t.a.x, t.a.y, t.b.x, t.b.y);
  for (int i = 0; i < sides; ++i) around[i + 1] = res.reducedLength[i];
  around[n] = PointDistance(t.c.x, t.c.y, t.d.x, t.d.y);
  res.angleWeight.resize(n);
  for (int i = 0; i < n; ++i) {
    const double halfAngle = std::fabs(res.betaDegrees[i]) / 2;
    res.angleWeight[i] = halfAngle > 0 ? std::fabs(around[i + 1] - around[i]) / std::sqrt(halfAngle) : 0.0;
  }
}

// Azimuths from the observed angles, the last being the computed C->D, and
// the corrections of the angles; with no weight anywhere the misclosure stays
// undistributed.
bool CloseAngles(const Traverse& t, RigorousResult& res, const AskOkCancel& ask) {
  const int n = res.n;
  const double azAB = AzimuthFromPoints(t.b.x, t.b.y, t.a.x, t.a.y);
  const double azCD = AzimuthFromPoints(t.d.x, t.d.y, t.c.x, t.c.y);
  const double computed = traverse::PropagateAzimuths(azAB, res.betaDegrees, n).back();
  res.fBetaDegrees = traverse::AngularMisclosure(computed, azCD);
  if (traverse::AngularMisclosureGross(res.fBetaDegrees) && !AskToContinue(ask, AngularMisclosureQuestion()))
    return false;
  res.vBetaDegrees = traverse::DistributeMisclosure(res.angleWeight, traverse::SumOf<double>(res.angleWeight),
                                                    res.fBetaDegrees);
  SizeLists(n, res.vBetaSeconds, res.adjustedBeta);
  for (int i = 0; i < n; ++i) {
    res.vBetaSeconds[i] = Round(res.vBetaDegrees[i] * survey::kSecondsPerDegree, "#0.0");
    res.adjustedBeta[i] = RoundDmsForPrint(DegreesToDms(res.betaDegrees[i] + res.vBetaDegrees[i]), 0);
  }
  double sumVBeta2 = 0;
  for (int i = 0; i < n; ++i) sumVBeta2 += std::pow(res.vBetaDegrees[i] * survey::kSecondsPerDegree, 2);
  res.mBeta = Round(std::sqrt(sumVBeta2 / n), "#0.0");
  return true;
}

// Adjusted azimuths, increments, the coordinate misclosure and its
// distribution; the coordinates are not rounded, so X(n), Y(n) equal C.
bool CloseCoordinates(const Traverse& t, RigorousResult& res, const AskOkCancel& ask) {
  const std::size_t sides = static_cast<std::size_t>(res.n - 1);
  const double azAB = AzimuthFromPoints(t.b.x, t.b.y, t.a.x, t.a.y);
  const std::vector<double> azimuths =
      traverse::PropagateAzimuths(azAB, res.betaDegrees, res.vBetaDegrees, sides);
  const traverse::Increments inc = traverse::LegIncrements(azimuths, res.reducedLength, sides);
  res.fx = traverse::SumOf<double>(inc.dx) - (t.c.x - t.b.x);
  res.fy = traverse::SumOf<double>(inc.dy) - (t.c.y - t.b.y);
  res.fs = std::sqrt(res.fx * res.fx + res.fy * res.fy);
  if (traverse::LinearMisclosureGross(res.fs) && !AskToContinue(ask, LinearMisclosureQuestion()))
    return false;
  const double sumQ = traverse::SumOf<double>(res.coordinateWeight);
  res.vx = traverse::DistributeMisclosure(res.coordinateWeight, sumQ, res.fx);
  res.vy = traverse::DistributeMisclosure(res.coordinateWeight, sumQ, res.fy);
  // The corrected increment first, then the coordinate: X(i+1) = X(i) + (Δx + vx).
  res.x = traverse::CarryCoordinates(t.b.x, traverse::CorrectedIncrements<double>(inc.dx, res.vx),
                                     traverse::Unrounded);
  res.y = traverse::CarryCoordinates(t.b.y, traverse::CorrectedIncrements<double>(inc.dy, res.vy),
                                     traverse::Unrounded);
  return true;
}

// Adjusted sides, their relative corrections and the accuracy figures.
void SideFigures(RigorousResult& res) {
  const int sides = res.n - 1;
  SizeLists(sides, res.adjustedLength, res.lengthChange, res.lengthChangeMm, res.relativeCorrection, res.pointErrorMm);
  double weakest = kWeakestSideStart;
  double sumE2 = 0, sumDs2 = 0;
  for (int i = 0; i < sides; ++i) {
    const double sa = PointDistance(res.x[i], res.y[i], res.x[i + 1], res.y[i + 1]);
    const double ds = sa - res.reducedLength[i];
    res.adjustedLength[i] = sa;
    res.lengthChange[i] = ds;
    res.lengthChangeMm[i] = traverse::TenthsOfMillimetre(ds) + 0.0;
    if (ds != 0) {
      const double ratio = std::fabs(std::floor(sa / ds));
      res.relativeCorrection[i] = "1/" + StrNumber(ratio);
      if (ratio < weakest) weakest = ratio;
    }
    const double ex = res.vx[i] * survey::kMillimetresPerMetre, ey = res.vy[i] * survey::kMillimetresPerMetre;
    res.pointErrorMm[i] = Round(std::sqrt(ex * ex + ey * ey), "#0.0");
    sumE2 += ex * ex + ey * ey;
    sumDs2 += (ds * survey::kMillimetresPerMetre) * (ds * survey::kMillimetresPerMetre);
  }
  const double sumSa = traverse::SumOf<double>(res.adjustedLength);
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
  SizeLists(sides, res.hForward, res.hBack, res.hMean, res.hMeanReported, res.discrepancy, res.oneWay);
  for (int i = 0; i < sides; ++i) {
    const Observation& o = t.stations[i];
    const double sa = res.adjustedLength[i];
    const double forward =
        traverse::SightHeightDifference(o.verticalForward, sa, o.instrumentForward, o.targetForward);
    const double back = traverse::SightHeightDifference(o.verticalBack, sa, o.instrumentBack, o.targetBack);
    res.hForward[i] = Round(forward, "#0.000");
    res.hBack[i] = Round(back, "#0.000");
    res.oneWay[i] = o.instrumentBack == 0;
    res.hMean[i] =
        res.oneWay[i] ? survey::kCurvatureRefraction * std::pow(sa / survey::kMetresPerKilometre, 2) + forward
                      : traverse::TwoWayMean(forward, back);
    res.hMeanReported[i] = Round(res.hMean[i], "#0.000");
    res.discrepancy[i] = Round(std::fabs(res.hForward[i] + res.hBack[i]), "#0.000");
  }
}

// Height misclosure, distributed in proportion to the adjusted lengths.
void CloseHeights(const Traverse& t, RigorousResult& res) {
  const int sides = res.n - 1;
  const double sumSa = res.totalLengthRaw;
  res.fh = traverse::HeightMisclosure<double>(traverse::SumOf<double>(res.hMean), t.b.h, t.c.h);
  res.deltaKm = Round(traverse::CorrectionPerKm(res.fh, sumSa), "#0.0");
  res.vh = traverse::DistributeMisclosure(res.adjustedLength, sumSa, res.fh);
  res.vhMm.resize(sides);
  res.h.resize(res.n);
  res.h[0] = t.b.h;
  double sumMh2 = 0;
  for (int i = 0; i < sides; ++i) {
    res.vhMm[i] = traverse::TenthsOfMillimetre(res.vh[i]) + 0.0;
    res.h[i + 1] = res.h[i] + res.hMean[i] + res.vh[i];
    sumMh2 +=
        std::pow(res.vhMm[i] * survey::kMillimetresPerMetre / (res.adjustedLength[i] + kZeroLengthGuard), 2);
  }
  res.mh = Round(std::sqrt(sumMh2 / sides), "#0.0");
}

// Misclosures as reported, and the ellipse figures of the sketch.
void ReportFigures(RigorousResult& res) {
  res.fxMm = traverse::TenthsOfMillimetre(res.fx) + 0.0;
  res.fyMm = traverse::TenthsOfMillimetre(res.fy) + 0.0;
  res.fsMm = traverse::TenthsOfMillimetre(res.fs) + 0.0;
  res.fhMm = traverse::TenthsOfMillimetre(res.fh) + 0.0;
  res.fBetaSeconds = Round(res.fBetaDegrees * survey::kSecondsPerDegree, "#0.0");
  res.totalLength = Round(res.totalLengthRaw, "#0.000");
  const int sides = res.n - 1;
  SizeLists(sides, res.ellipseX, res.ellipseY, res.ellipseRadius);
  for (int i = 0; i < sides; ++i) {
    res.ellipseX[i] =
        res.vx[i] == 0 ? kEllipseFallbackMm : std::fabs(res.vx[i]) * survey::kMillimetresPerMetre;
    res.ellipseY[i] =
        res.vy[i] == 0 ? kEllipseFallbackMm : std::fabs(res.vy[i]) * survey::kMillimetresPerMetre;
    res.ellipseRadius[i] = std::sqrt(res.ellipseX[i] * res.ellipseX[i] + res.ellipseY[i] * res.ellipseY[i]);
  }
}

}  // namespace

Message AngularMisclosureQuestion() {
  return {"角度闭合差已超过1度，要继续计算吗？", "警告", MessageIcon::Warning};
}

Message LinearMisclosureQuestion() {
  return {"边长闭合差已超过1.5米，要继续计算吗？", "警告", MessageIcon::Warning};
}

RigorousOutcome AdjustRigorous(const RigorousTable& table, const RigorousParameters& params,
                               const AskOkCancel& ask) {
  RigorousOutcome outcome;
  if ((outcome.refusal = CheckTable(table))) return outcome;
  RigorousResult& res = outcome.result;
  res.n = table.stationCount();
  const Traverse t = LoadTraverse(table, params, res);
  ReduceToProjection(t, params, res);
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

}  // namespace korvane
