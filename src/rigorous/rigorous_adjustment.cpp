#include "rigorous/rigorous_adjustment.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "core/observation_check.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

double Cell(const RigorousTable& table, int row, int column) {
  return ParseLenient(table.at(row, column));
}

// The azimuth propagation takes a full turn off once when a value reaches 360.
double WrapOnce(double azimuth) { return azimuth >= 360 ? azimuth - 360 : azimuth; }

// Rounding as the report prints; a negative zero becomes 0 so that it is
// written as " 0".
double Round(double value, const char* pattern) { return RoundFixed(value, pattern) + 0.0; }

bool AskToContinue(const AskOkCancel& ask, const Message& question) {
  return ask && ask(question);
}

std::optional<Message> ValidateObservations(const RigorousTable& table) {
  for (int r = RigorousTable::stationRow(1); r <= table.rows() - 4; ++r) {
    for (int c = 2; c <= 9; ++c) {
      if (auto refusal = CheckObservationCell(r, c, table.at(r, c))) return refusal;
    }
  }
  return std::nullopt;
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
  if (table.rows() < 9) {
    outcome.refusal = Message{"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information};
    return outcome;
  }
  if (auto refusal = ValidateObservations(table)) {
    outcome.refusal = refusal;
    return outcome;
  }

  RigorousResult& res = outcome.result;
  const int n = table.stationCount();
  const int sides = n - 1;
  res.n = n;

  // Observations of stations 1..n (index i - 1).
  std::vector<double> s(n), iF(n), vF(n), aF(n), iB(n), vB(n), aB(n);
  res.names.resize(n);
  res.betaDegrees.resize(n);
  for (int i = 0; i < n; ++i) {
    const int r = RigorousTable::stationRow(i + 1);
    res.names[i] = table.at(r, 1);
    const double betaDms = Cell(table, r, 2);
    // A right angle is typed with a leading minus and turned into the left angle.
    res.betaDegrees[i] = betaDms < 0 ? RightToLeftAngle(betaDms) : DmsToDegrees(betaDms);
    s[i] = Cell(table, r, 3);
    iF[i] = Cell(table, r, 4);
    vF[i] = Cell(table, r, 5);
    aF[i] = DmsToRadians(Cell(table, r, 6));
    iB[i] = Cell(table, r, 7);
    vB[i] = Cell(table, r, 8);
    aB[i] = DmsToRadians(Cell(table, r, 9));
  }

  const double xA = Cell(table, 1, 2), yA = Cell(table, 1, 3);
  const double xB = Cell(table, 2, 2), yB = Cell(table, 2, 3), hB = Cell(table, 2, 4);
  const int rowC = table.endRow(), rowD = table.connectRow();
  const double xC = Cell(table, rowC, 2), yC = Cell(table, rowC, 3), hC = Cell(table, rowC, 4);
  const double xD = Cell(table, rowD, 2), yD = Cell(table, rowD, 3);

  // Approximate heights for the projection step: H0(1) = H_B, then forward
  // trigonometric levelling along every row, the end point's row included.
  std::vector<double> h0(n + 1);
  h0[0] = hB;
  for (int i = 0; i < n; ++i) h0[i + 1] = s[i] * std::tan(aF[i]) + h0[i] + iF[i] - vF[i];
  double heightSum = 0;
  for (int i = 0; i < n; ++i) heightSum += h0[i];
  res.meanHeight = Round(heightSum / n, "#0.000");

  const std::string projectionText = Trim(params.Text_tym);
  res.projectionOff = projectionText == "N" || projectionText == "n";
  res.projectionNumber = ParseLenient(params.Text_tym);
  double hm = res.projectionNumber;
  if (hm == 0) hm = res.meanHeight;
  res.projectionHeight = hm;

  // Projection corrections (mm) and reduced lengths (m).
  res.projectionMm.resize(sides);
  res.reducedLength.resize(sides);
  for (int i = 0; i < sides; ++i) {
    res.projectionMm[i] =
        res.projectionOff ? 0.0 : -((h0[i] + h0[i + 1] + 2.9) / 2 - hm) * s[i] / 6371.27;
    res.reducedLength[i] = s[i] + res.projectionMm[i] / 1000;
  }

  const double azAB = AzimuthFromPoints(xB, yB, xA, yA);
  const double azCD = AzimuthFromPoints(xD, yD, xC, yC);
  // Lengths of the sides around the stations: A-B, the traverse sides, C-D.
  std::vector<double> around(n + 1);
  around[0] = PointDistance(xA, yA, xB, yB);
  for (int i = 0; i < sides; ++i) around[i + 1] = res.reducedLength[i];
  around[n] = PointDistance(xC, yC, xD, yD);

  // Coordinate weights from the distance-meter error model, or the lengths
  // when no a-priori angle error is given.
  const double m0 = ParseLenient(params.Text_cj);
  const double a = ParseLenient(params.Text_j);
  const double b = ParseLenient(params.Text_c);
  res.coordinateWeight.resize(sides);
  double sumQ = 0;
  for (int i = 0; i < sides; ++i) {
    const double sigma = a + b * res.reducedLength[i] * 0.001;
    res.coordinateWeight[i] = m0 != 0 ? sigma * sigma / (m0 * m0) : res.reducedLength[i];
    sumQ += res.coordinateWeight[i];
  }

  // Angle weights from the difference of the two sides meeting at the station.
  // An angle of 0 carries no weight (its station takes no correction).
  res.angleWeight.resize(n);
  double sumW = 0;
  for (int i = 0; i < n; ++i) {
    const double halfAngle = std::fabs(res.betaDegrees[i]) / 2;
    res.angleWeight[i] = halfAngle > 0 ? std::fabs(around[i + 1] - around[i]) / std::sqrt(halfAngle) : 0.0;
    sumW += res.angleWeight[i];
  }

  // Azimuths from the observed angles; the last is the computed C->D.
  double azimuth = WrapOnce(ReverseAzimuth(azAB) + res.betaDegrees[0]);
  for (int i = 1; i < n; ++i) azimuth = WrapOnce(ReverseAzimuth(azimuth) + res.betaDegrees[i]);
  double fBeta = azimuth - azCD;
  if (std::fabs(std::fabs(fBeta) - 360) < 1) fBeta = fBeta > 0 ? fBeta - 360 : fBeta + 360;
  res.fBetaDegrees = fBeta;
  if (std::fabs(fBeta) > 1 && !AskToContinue(ask, AngularMisclosureQuestion())) {
    outcome.refusal = AngularMisclosureQuestion();
    return outcome;
  }

  // Angle corrections; with no weight anywhere the misclosure stays undistributed.
  res.vBetaDegrees.resize(n);
  res.vBetaSeconds.resize(n);
  res.adjustedBeta.resize(n);
  for (int i = 0; i < n; ++i) {
    res.vBetaDegrees[i] = sumW != 0 ? -fBeta * res.angleWeight[i] / sumW : 0.0;
    res.vBetaSeconds[i] = Round(res.vBetaDegrees[i] * 3600, "#0.0");
    res.adjustedBeta[i] = Round(DegreesToDms(res.betaDegrees[i] + res.vBetaDegrees[i]), "#0.0000");
  }

  // Adjusted azimuths and coordinate increments.
  std::vector<double> dx(sides), dy(sides);
  double adjusted = WrapOnce(ReverseAzimuth(azAB) + res.betaDegrees[0] + res.vBetaDegrees[0]);
  double sumDx = 0, sumDy = 0;
  for (int i = 0; i < sides; ++i) {
    if (i > 0) adjusted = WrapOnce(ReverseAzimuth(adjusted) + res.betaDegrees[i] + res.vBetaDegrees[i]);
    dx[i] = res.reducedLength[i] * std::cos(adjusted * kDegreeFactor);
    dy[i] = res.reducedLength[i] * std::sin(adjusted * kDegreeFactor);
    sumDx += dx[i];
    sumDy += dy[i];
  }

  res.fx = sumDx - (xC - xB);
  res.fy = sumDy - (yC - yB);
  res.fs = std::sqrt(res.fx * res.fx + res.fy * res.fy);
  if (res.fs > 1.5 && !AskToContinue(ask, LinearMisclosureQuestion())) {
    outcome.refusal = LinearMisclosureQuestion();
    return outcome;
  }

  // Coordinate corrections and coordinates; with no weight anywhere the
  // misclosure stays undistributed.
  res.vx.resize(sides);
  res.vy.resize(sides);
  res.x.resize(n);
  res.y.resize(n);
  res.x[0] = xB;
  res.y[0] = yB;
  for (int i = 0; i < sides; ++i) {
    res.vx[i] = sumQ != 0 ? -res.coordinateWeight[i] * res.fx / sumQ : 0.0;
    res.vy[i] = sumQ != 0 ? -res.coordinateWeight[i] * res.fy / sumQ : 0.0;
    res.x[i + 1] = res.x[i] + dx[i] + res.vx[i];
    res.y[i + 1] = res.y[i] + dy[i] + res.vy[i];
  }

  double sumVBeta2 = 0;
  for (int i = 0; i < n; ++i) sumVBeta2 += std::pow(res.vBetaDegrees[i] * 3600, 2);
  res.mBeta = Round(std::sqrt(sumVBeta2 / n), "#0.0");

  // Adjusted sides.
  res.adjustedLength.resize(sides);
  res.lengthChange.resize(sides);
  res.lengthChangeMm.resize(sides);
  res.relativeCorrection.resize(sides);
  res.pointErrorMm.resize(sides);
  double weakest = 100000000;
  double sumSa = 0, sumE2 = 0, sumDs2 = 0;
  for (int i = 0; i < sides; ++i) {
    const double sa = PointDistance(res.x[i], res.y[i], res.x[i + 1], res.y[i + 1]);
    const double ds = sa - res.reducedLength[i];
    res.adjustedLength[i] = sa;
    res.lengthChange[i] = ds;
    res.lengthChangeMm[i] = Round(ds * 1000, "#0.0");
    if (ds != 0) {
      const double ratio = std::fabs(std::floor(sa / ds));
      res.relativeCorrection[i] = "1/" + StrNumber(ratio);
      if (ratio < weakest) weakest = ratio;
    }
    const double ex = res.vx[i] * 1000, ey = res.vy[i] * 1000;
    res.pointErrorMm[i] = Round(std::sqrt(ex * ex + ey * ey), "#0.0");
    sumSa += sa;
    sumE2 += ex * ex + ey * ey;
    sumDs2 += (ds * 1000) * (ds * 1000);
  }
  res.weakestSide = "1/" + FormatFixed(weakest, "#0");
  res.totalLengthRaw = sumSa;
  res.meanSide = Round(sumSa / sides, "#0.000");
  res.m = Round(std::sqrt(sumE2 / sides), "#0.0");
  res.ms = Round(std::sqrt(sumDs2 / sides), "#0.0");
  if (res.fs != 0) res.relativeClosure = "1 /" + StrNumber(std::floor(sumSa / res.fs));

  // Height differences on the adjusted lengths.
  res.hForward.resize(sides);
  res.hBack.resize(sides);
  res.hMean.resize(sides);
  res.hMeanReported.resize(sides);
  res.discrepancy.resize(sides);
  res.oneWay.resize(sides);
  double sumHm = 0;
  for (int i = 0; i < sides; ++i) {
    const double sa = res.adjustedLength[i];
    const double forward = std::tan(aF[i]) * sa + iF[i] - vF[i];
    const double back = std::tan(aB[i]) * sa + iB[i] - vB[i];
    res.hForward[i] = Round(forward, "#0.000");
    res.hBack[i] = Round(back, "#0.000");
    res.oneWay[i] = iB[i] == 0;
    res.hMean[i] = res.oneWay[i] ? 0.13 * std::pow(sa / 1000, 2) + forward : (forward - back) / 2;
    res.hMeanReported[i] = Round(res.hMean[i], "#0.000");
    res.discrepancy[i] = Round(std::fabs(res.hForward[i] + res.hBack[i]), "#0.000");
    sumHm += res.hMean[i];
  }

  // Height misclosure, distributed in proportion to the adjusted lengths.
  res.fh = sumHm + hB - hC;
  res.deltaKm = sumSa != 0 ? Round(-res.fh * 1000000 / sumSa, "#0.0") : 0.0;
  res.vh.resize(sides);
  res.vhMm.resize(sides);
  res.h.resize(n);
  res.h[0] = hB;
  double sumMh2 = 0;
  for (int i = 0; i < sides; ++i) {
    res.vh[i] = sumSa != 0 ? -res.adjustedLength[i] * res.fh / sumSa : 0.0;
    res.vhMm[i] = Round(res.vh[i] * 1000, "#0.0");
    res.h[i + 1] = res.h[i] + res.hMean[i] + res.vh[i];
    sumMh2 += std::pow(res.vhMm[i] * 1000 / (res.adjustedLength[i] + 0.00001), 2);
  }
  res.mh = Round(std::sqrt(sumMh2 / sides), "#0.0");

  res.fxMm = Round(res.fx * 1000, "#0.0");
  res.fyMm = Round(res.fy * 1000, "#0.0");
  res.fsMm = Round(res.fs * 1000, "#0.0");
  res.fhMm = Round(res.fh * 1000, "#0.0");
  res.fBetaSeconds = Round(fBeta * 3600, "#0.0");
  res.totalLength = Round(sumSa, "#0.000");

  // Ellipse figures: a direction without correction is drawn with 5 mm.
  res.ellipseX.resize(sides);
  res.ellipseY.resize(sides);
  res.ellipseRadius.resize(sides);
  for (int i = 0; i < sides; ++i) {
    res.ellipseX[i] = res.vx[i] == 0 ? 5.0 : std::fabs(res.vx[i]) * 1000;
    res.ellipseY[i] = res.vy[i] == 0 ? 5.0 : std::fabs(res.vy[i]) * 1000;
    res.ellipseRadius[i] = std::sqrt(res.ellipseX[i] * res.ellipseX[i] + res.ellipseY[i] * res.ellipseY[i]);
  }
  return outcome;
}

}  // namespace korvane
