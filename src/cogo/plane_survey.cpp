#include "cogo/plane_survey.h"

#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"

namespace korvane::cogo {

bool Reachable(PlanePoint p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kCoordinateLimit &&
         std::fabs(p.y) < kCoordinateLimit;
}

double Azimuth(PlanePoint from, PlanePoint to) { return korvane::Azimuth(from.x, from.y, to.x, to.y); }

double Distance(PlanePoint p, PlanePoint q) { return std::hypot(q.x - p.x, q.y - p.y); }

double RadiansFromDms(double dms) { return DegreesToRadians(DmsToDegrees(dms)); }

namespace {

// A value that rounds to zero prints without a sign: "0.000", never "-0.000".
std::string Unsigned0(std::string text) {
  if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

std::string MetreText(double metres) { return Unsigned0(FormatFixed(metres, "#0.000")); }

std::string AngleText(double degrees) {
  return DmsSymbolText(RoundDms(degrees, 1, DmsRounding::WholeUnitsHalfEven));
}

std::string SecondsText(double seconds) { return Unsigned0(FormatFixed(seconds, "#0.00")); }

}  // namespace korvane::cogo
