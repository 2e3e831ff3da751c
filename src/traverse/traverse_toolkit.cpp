#include "traverse/traverse_toolkit.h"

#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"

namespace korvane::traverse {

double NextAzimuth(double previous, double leftAngle) {
  return WrapOnce(ReverseAzimuth(previous) + leftAngle);
}

double NextAzimuth(double previous, double leftAngle, double correction) {
  return WrapOnce(ReverseAzimuth(previous) + leftAngle + correction);
}

std::vector<double> LegAzimuths(double firstLeg, const std::vector<double>& leftAngles, std::size_t legs) {
  std::vector<double> azimuths(legs);
  double a = firstLeg;
  for (std::size_t i = 0; i < legs; ++i) {
    if (i > 0) a = NextAzimuth(a, leftAngles[i]);
    azimuths[i] = a;
  }
  return azimuths;
}

std::vector<double> PropagateAzimuths(double arriving, const std::vector<double>& leftAngles,
                                      std::size_t legs) {
  if (legs == 0) return {};
  return LegAzimuths(NextAzimuth(arriving, leftAngles[0]), leftAngles, legs);
}

std::vector<double> PropagateAzimuths(double arriving, const std::vector<double>& leftAngles,
                                      const std::vector<double>& corrections, std::size_t legs) {
  std::vector<double> azimuths(legs);
  double a = arriving;
  for (std::size_t i = 0; i < legs; ++i) {
    a = NextAzimuth(a, leftAngles[i], corrections[i]);
    azimuths[i] = a;
  }
  return azimuths;
}

double AngularMisclosure(double computed, double known) {
  double f = computed - known;
  if (std::fabs(std::fabs(f) - kFullTurn) < kAngularMisclosureLimit)
    f += f > 0 ? -kFullTurn : kFullTurn;
  return f;
}

bool AngularMisclosureGross(double misclosure) {
  return std::fabs(misclosure) > kAngularMisclosureLimit;
}

bool LinearMisclosureGross(double misclosure) { return misclosure > kLinearMisclosureLimit; }

std::vector<double> DistributeMisclosure(const std::vector<double>& weights, double weightSum,
                                         double misclosure) {
  std::vector<double> corrections(weights.size());
  for (std::size_t i = 0; i < weights.size(); ++i) corrections[i] = MisclosureShare(weights[i], weightSum, misclosure);
  return corrections;
}

Increments LegIncrements(const std::vector<double>& azimuths, const std::vector<double>& distances,
                         std::size_t legs) {
  Increments inc;
  inc.dx.resize(legs);
  inc.dy.resize(legs);
  for (std::size_t i = 0; i < legs; ++i) {
    inc.dx[i] = distances[i] * std::cos(azimuths[i] * kTraverseDegreeFactor);
    inc.dy[i] = distances[i] * std::sin(azimuths[i] * kTraverseDegreeFactor);
  }
  return inc;
}

double RoundToMillimetre(double value) { return RoundFixed(value, "#0.000"); }

double CorrectionPerKm(double heightMisclosure, double length) {
  if (length == 0) return 0;
  return -(heightMisclosure * kMillimetresPerKilometre) / length;
}

double ProvisionalHeight(double previous, double distance, double verticalForward, double instrument,
                         double target) {
  return distance * std::tan(verticalForward) + previous + instrument - target;
}

double ProjectionReductionMm(double h1, double h2, double planeHeight, double distance) {
  const double lineHeight = (h1 + h2 + kSightHeightSum) / 2;
  return -(lineHeight - planeHeight) * distance / kEarthRadiusKm;
}

double CurvatureRefraction(double distance, double refraction) {
  const double radius = kMeanEarthRadiusKm * kMetresPerKilometre;
  return (1.0 - refraction) * distance * distance / (2.0 * radius);
}

double SightHeightDifference(double vertical, double distance, double instrument, double target) {
  return std::tan(vertical) * distance + instrument - target;
}

}  // namespace korvane::traverse
