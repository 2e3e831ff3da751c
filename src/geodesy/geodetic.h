#pragma once
// The geodetic problems on a reference ellipsoid: the direct problem by the
// fifth-order power series in u = S cos A and v = S sin A (coefficients at the
// first point), beside the exact geodesic solution, and the exact inverse
// problem. Angles are typed and shown in DMS notation.
#include <optional>
#include <string>
#include <string_view>

#include "core/message.h"

namespace korvane::geodesy {

enum class EllipsoidId { Krassovsky, Iag75, Cgcs2000, Wgs84 };

// The series works with the polar radius of curvature c = a²/b and the second
// eccentricity squared e'² = (a² − b²)/b²; the exact solution with a and b.
struct Ellipsoid {
  double c = 0;
  double ePrime2 = 0;
  double a = 0;
  double b = 0;
};

Ellipsoid EllipsoidOf(EllipsoidId id);
// "krassovsky", "iag75", "cgcs2000" or "wgs84".
std::optional<EllipsoidId> EllipsoidByName(std::string_view name);

// Latitude, longitude and back azimuth of the second point, decimal degrees.
struct Point2 {
  double b2 = 0;
  double l2 = 0;
  double a21 = 0;
};

// The series of the direct problem, unrounded. Inputs in decimal degrees and
// metres; the back azimuth is in [0, 360).
Point2 SeriesDirect(const Ellipsoid& e, double b1, double l1, double a12, double s12);
// The exact geodesic with the same inputs (longitude not wrapped).
Point2 ExactDirect(const Ellipsoid& e, double b1, double l1, double a12, double s12);

// Decimal degrees as DMS notation with the seconds to 0.0001 (ties to even),
// 60" carried into the minute and 60' into the degree, the sign in front,
// written as the general number text.
std::string DmsText(double degrees);
// The same for an azimuth, which stays in [0, 360): 359°59'59.99999" is 0.
std::string AzimuthDmsText(double degrees);

struct DirectInput {
  std::string b1, a12, l1, s12;  // as typed: DMS notation, DMS, DMS, metres
  EllipsoidId ellipsoid = EllipsoidId::Krassovsky;
};

struct DirectResult {
  std::optional<Message> refusal;
  Point2 series;
  Point2 exact;
  std::string b2, l2, a21;                 // the series, as shown
  std::string exactB2, exactL2, exactA21;  // the exact solution, as shown
  // Distance between the series' and the exact second point, millimetres;
  // empty when it cannot be measured.
  std::optional<double> differenceMm;
};

DirectResult SolveDirect(const DirectInput& input);

struct InverseInput {
  std::string b1, l1, b2, l2;  // DMS notation
  EllipsoidId ellipsoid = EllipsoidId::Krassovsky;
};

struct InverseResult {
  std::optional<Message> refusal;
  double s12 = 0;  // metres
  double a12 = 0;  // decimal degrees, [0, 360)
  double a21 = 0;  // back azimuth at the second point, [0, 360)
  std::string s12Text, a12Text, a21Text;
};

InverseResult SolveInverse(const InverseInput& input);

}  // namespace korvane::geodesy
