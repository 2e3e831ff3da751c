#pragma once
// The arithmetic every traverse engine shares: azimuths carried from leg to
// leg, the angular misclosure, a misclosure distributed by weights, values
// carried along the legs, and the reductions and height differences of a leg.
// The engines differ on purpose in precision (single-precision sums in the
// simple kinds) and in rounding (millimetres at every point, or none); where
// they differ, the routine takes the sum type or the rounding as a parameter.
#include <cstddef>
#include <vector>

#include "core/numbers.h"
#include "core/survey_constants.h"

namespace korvane::traverse {

// Azimuth of the next leg: the reverse of the previous azimuth plus the left
// angle at the station, wrapped once.
double NextAzimuth(double previous, double leftAngle);
// The same with an angle correction added after the angle.
double NextAzimuth(double previous, double leftAngle, double correction);
// Azimuths of `legs` legs from the azimuth of the first leg.
std::vector<double> LegAzimuths(double firstLeg, const std::vector<double>& leftAngles, std::size_t legs);
// Azimuths of `legs` legs from the azimuth arriving at the first station.
std::vector<double> PropagateAzimuths(double arriving, const std::vector<double>& leftAngles,
                                      std::size_t legs);
// The same with each angle's correction added after the angle.
std::vector<double> PropagateAzimuths(double arriving, const std::vector<double>& leftAngles,
                                      const std::vector<double>& corrections, std::size_t legs);

// Computed minus known closing azimuth; a misclosure within a degree of a
// full turn is brought back by that turn, so that closing across north counts
// as small.
double AngularMisclosure(double computed, double known);
bool AngularMisclosureGross(double misclosure);  // beyond 1°
bool LinearMisclosureGross(double misclosure);   // beyond 1.5 m

// One observation's share −f·w/Σw of the misclosure f; none when the weights
// sum to nothing.
inline double MisclosureShare(double weight, double weightSum, double misclosure) {
  return weightSum == 0 ? 0.0 : -(misclosure * weight / weightSum);
}
// Corrections −f·w(i)/Σw that distribute the misclosure f; none at all when
// the weights sum to nothing.
std::vector<double> DistributeMisclosure(const std::vector<double>& weights, double weightSum,
                                         double misclosure);

// The sum of values accumulated in `Sum` precision.
template <typename Sum, typename Value>
Sum SumOf(const std::vector<Value>& values, std::size_t count) {
  Sum sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum = static_cast<Sum>(sum + values[i]);
  return sum;
}
template <typename Sum, typename Value>
Sum SumOf(const std::vector<Value>& values) {
  return SumOf<Sum>(values, values.size());
}

// Coordinate increments of the legs along their azimuths.
struct Increments {
  std::vector<double> dx, dy;
};
Increments LegIncrements(const std::vector<double>& azimuths, const std::vector<double>& distances,
                         std::size_t legs);

// A correction in metres as reported: millimetres to 0.1, computed in the
// value's own precision.
template <typename Real>
double TenthsOfMillimetre(Real metres) {
  return RoundFixed(metres * static_cast<Real>(kMillimetresPerMetre), "#0.0");
}

// Rounding of a carried coordinate: to millimetres, or none.
double RoundToMillimetre(double value);
inline double Unrounded(double value) { return value; }

// Coordinates carried along the legs: c(1) = start, c(i+1) = round(c(i) +
// increment(i)), each increment held in `Increment` precision first.
template <typename Increment, typename Rounding>
std::vector<double> CarryCoordinates(double start, const std::vector<Increment>& increments, Rounding round) {
  std::vector<double> c(increments.size() + 1);
  c[0] = start;
  for (std::size_t i = 0; i < increments.size(); ++i) c[i + 1] = round(c[i] + increments[i]);
  return c;
}
// Increments with their corrections, held in `Increment` precision.
template <typename Increment>
std::vector<Increment> CorrectedIncrements(const std::vector<double>& increments,
                                           const std::vector<double>& corrections) {
  std::vector<Increment> out(corrections.size());
  for (std::size_t i = 0; i < corrections.size(); ++i)
    out[i] = static_cast<Increment>(increments[i] + corrections[i]);
  return out;
}

// Heights carried along the legs with the corrected height differences:
// H(i+1) = H(i) + (h(i) + v(i)).
template <typename Real>
std::vector<Real> CarryHeights(Real start, const std::vector<Real>& differences,
                               const std::vector<Real>& corrections) {
  std::vector<Real> h(differences.size() + 1);
  h[0] = start;
  for (std::size_t i = 0; i < differences.size(); ++i) h[i + 1] = h[i] + (differences[i] + corrections[i]);
  return h;
}

// Heights carried along the legs without corrections: H(i+1) = H(i) + h(i).
template <typename Real>
std::vector<Real> CarryHeights(Real start, const std::vector<Real>& differences) {
  std::vector<Real> h(differences.size() + 1);
  h[0] = start;
  for (std::size_t i = 0; i < differences.size(); ++i) h[i + 1] = h[i] + differences[i];
  return h;
}

// Height misclosure Σh + H(start) − H(end), held in `Real`.
template <typename Real>
Real HeightMisclosure(double differenceSum, double startHeight, double endHeight) {
  return static_cast<Real>(differenceSum + startHeight - endHeight);
}
// Height correction per kilometre in millimetres; 0 over no length.
double CorrectionPerKm(double heightMisclosure, double length);

// Provisional height of the next station from the forward observations.
double ProvisionalHeight(double previous, double distance, double verticalForward, double instrument,
                         double target);
// Mean of the first `count` provisional heights, rounded to millimetres.
template <typename Real>
double MeanHeight(const std::vector<Real>& heights, std::size_t count) {
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += heights[i];
  return RoundToMillimetre(sum / static_cast<double>(count));
}
// Reduction of a leg to the projection plane in millimetres, from the heights
// of its two marks.
double ProjectionReductionMm(double h1, double h2, double planeHeight, double distance);

// Earth curvature and refraction (1 − k)·D²/(2R) in metres of a one-way
// height over the horizontal distance D in metres, R the mean earth radius.
double CurvatureRefraction(double distance, double refraction = kRefractionCoefficient);
// The line a results table adds when a one-way leg carries that correction.
inline constexpr const char* kOneWayCorrectionNote = "单向高差已加球气差改正：(1－k)D²/2R，k=0.14，R=6371km";

// One-way height difference tan(α)·D + i − v of a leg over the distance D.
double SightHeightDifference(double vertical, double distance, double instrument, double target);
// Mean of a forward difference and the negated back difference.
inline double TwoWayMean(double forward, double back) { return (forward - back) / 2; }

}  // namespace korvane::traverse
