#include "core/geometry.h"

#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"

namespace korvane {

double AzimuthFromPoints(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  double angle = 0;
  if (dx == 0) {
    if (dy > 0) angle = kTraverseHalfPi;
    else if (dy < 0) angle = kTraverseThreeHalfPi;
    else angle = 0;
  } else if (dx > 0) {
    if (dy == 0) angle = 0;
    else if (dy > 0) angle = std::atan(dy / dx);
    else angle = std::atan(dy / dx) + kTraverseTwoPi;
  } else {
    angle = std::atan(dy / dx) + kTraversePi;
  }
  return angle * kTraverseRadianFactor;
}

double PolarX(double azimuthDms, double x0, float distance) {
  const double radians = std::fabs(DmsToRadians(azimuthDms));
  return RoundFixed(x0 + static_cast<double>(distance) * std::cos(radians), "#0.000");
}

double PolarY(double azimuthDms, double y0, float distance) {
  const double radians = std::fabs(DmsToRadians(azimuthDms));
  return RoundFixed(y0 + static_cast<double>(distance) * std::sin(radians), "#0.000");
}

double PointDistance(double x1, double y1, double x2, double y2) {
  return std::sqrt((y1 - y2) * (y1 - y2) + (x1 - x2) * (x1 - x2));
}

}  // namespace korvane
