#include "core/network_angles.h"

#include <cmath>
#include <numbers>

namespace korvane {
namespace {

// Degrees, minutes and seconds of a DMS value; the tiny offsets keep a value
// like 8.08 (typed, held as 8.0799999...) at 8°08'00".
void Split(double dms, double& d, double& m, double& s) {
  d = std::floor(dms + 1e-10);
  const double rest = (dms - d) * 100;
  m = std::floor(rest + 1e-8);
  s = (rest - m) * 100;
  if (std::fabs(s) < 1e-7) s = 0;
}

}  // namespace

double DmsToRad(double dms) {
  double d, m, s;
  Split(dms, d, m, s);
  return (d + m / 60 + s / 3600) * std::numbers::pi / 180;
}

double RadToDms(double radians) {
  double seconds = radians * kRhoSeconds;
  const double d = std::floor(seconds / 3600);
  seconds -= d * 3600;
  const double m = std::floor(seconds / 60);
  seconds -= m * 60;
  return d + m / 100 + seconds / 10000;
}

double Wrap(double radians) {
  const double turn = 2 * std::numbers::pi;
  double a = std::fmod(radians, turn);
  if (a < 0) a += turn;
  if (a >= turn) a -= turn;
  return a;
}

double WrapSigned(double radians) {
  double a = Wrap(radians);
  if (a > std::numbers::pi) a -= 2 * std::numbers::pi;
  return a;
}

double Azimuth(double x1, double y1, double x2, double y2) { return Wrap(std::atan2(y2 - y1, x2 - x1)); }

}  // namespace korvane
