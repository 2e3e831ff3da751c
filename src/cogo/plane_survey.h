#pragma once
// Plane surveying arithmetic shared by the intersection, resection and
// centring tools: points with X north and Y east, azimuths clockwise from
// north, and the angle and length texts the tools show.
#include <string>

namespace korvane::cogo {

struct PlanePoint {
  double x = 0;  // northing, metres
  double y = 0;  // easting, metres
};

// Coordinates are typed and computed below this magnitude (metres).
inline constexpr double kCoordinateLimit = 1e8;
// True when both coordinates are finite and within the limit.
bool Reachable(PlanePoint p);

// Azimuth of the direction from `from` to `to`, radians in [0, 2π).
double Azimuth(PlanePoint from, PlanePoint to);
double Distance(PlanePoint p, PlanePoint q);
// DMS notation to radians with the true π (the tools need better than the
// traverse's literal degree factor to close to a tenth of a millimetre).
double RadiansFromDms(double dms);

// Metres as printed, to the millimetre ("#0.000").
std::string MetreText(double metres);
// An angle in degrees as 29°59′58.0″, the seconds to 0.1″ with 60″ carried;
// a negative angle keeps its sign in front.
std::string AngleText(double degrees);
// Seconds of arc to 0.01″, the sign in front when negative ("-12.34").
std::string SecondsText(double seconds);

}  // namespace korvane::cogo
