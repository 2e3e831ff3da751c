#include "cogo/plane_survey.h"

#include <cmath>
#include <numbers>

#include "core/angles.h"
#include "core/numbers.h"

namespace korvane::cogo {

bool Reachable(PlanePoint p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kCoordinateLimit &&
         std::fabs(p.y) < kCoordinateLimit;
}

double Azimuth(PlanePoint from, PlanePoint to) {
  return WrapTurn(std::atan2(to.y - from.y, to.x - from.x));
}

double Distance(PlanePoint p, PlanePoint q) { return std::hypot(q.x - p.x, q.y - p.y); }

double WrapTurn(double radians) {
  const double turn = 2 * std::numbers::pi;
  double r = std::fmod(radians, turn);
  if (r < 0) r += turn;
  return r >= turn ? 0.0 : r;
}

double WrapHalfTurn(double radians) {
  const double r = WrapTurn(radians);
  return r > std::numbers::pi ? r - 2 * std::numbers::pi : r;
}

double RadiansFromDms(double dms) { return DmsToDegrees(dms) * std::numbers::pi / 180.0; }

double DegreesFromRadians(double radians) { return radians * 180.0 / std::numbers::pi; }

namespace {

// A value that rounds to zero prints without a sign: "0.000", never "-0.000".
std::string Unsigned0(std::string text) {
  if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

std::string MetreText(double metres) { return Unsigned0(FormatFixed(metres, "#0.000")); }

std::string AngleText(double degrees) {
  const double tenths = std::nearbyint(std::fabs(degrees) * 36000.0);
  const long long whole = static_cast<long long>(tenths);
  const long long d = whole / 36000;
  const long long m = whole / 600 % 60;
  const long long s10 = whole % 600;
  std::string text = std::to_string(d) + "°" + (m < 10 ? "0" : "") + std::to_string(m) + "′" +
                     (s10 < 100 ? "0" : "") + std::to_string(s10 / 10) + "." + std::to_string(s10 % 10) + "″";
  return degrees < 0 && whole != 0 ? "-" + text : text;
}

std::string SecondsText(double seconds) { return Unsigned0(FormatFixed(seconds, "#0.00")); }

}  // namespace korvane::cogo
