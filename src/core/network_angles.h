#pragma once
// Exact angle arithmetic of the network adjustment (full-precision π, angles
// in radians inside, DMS notation at the edges).
namespace korvane {

inline constexpr double kRhoSeconds = 206264.80624709636;  // seconds per radian

// DMS notation to radians and back; the DMS value is non-negative.
double DmsToRad(double dms);
double RadToDms(double radians);
// An angle brought into [0, 2π).
double Wrap(double radians);
// An angle brought into (-π, π].
double WrapSigned(double radians);
// Azimuth of the line from (x1, y1) to (x2, y2), X north, Y east, [0, 2π).
double Azimuth(double x1, double y1, double x2, double y2);

}  // namespace korvane
