#pragma once
// Gauss–Krüger projection: the exact transverse Mercator with scale 1 on the
// central meridian, forward (B, L → X, Y), inverse and the change of zone
// (inverse in one zone, forward in the other). X is north, Y east with
// 500 km added and, when the zone prefix is on, the zone number times
// 1,000,000 m in front. Coordinates stay on one ellipsoid: no datum is
// transformed.
#include <optional>
#include <string>
#include <string_view>

#include "core/message.h"

namespace korvane::geodesy {

enum class Datum { Cgcs2000, Krassovsky, Iag75 };

// "cgcs2000", "krassovsky" (Beijing 1954) or "iag75" (Xi'an 1980).
std::optional<Datum> DatumByName(std::string_view name);

struct Axes {
  double a = 0;                  // semi-major axis, metres
  double inverseFlattening = 0;  // 1/f
};
Axes AxesOf(Datum datum);

// Points farther than this from the central meridian (degrees of longitude)
// are refused: the zone and a good overlap into both neighbours fit, while
// beyond it the scale error passes 1:200 and a point in the wrong zone is
// the likely cause.
inline constexpr double kMaxLongitudeOffset = 6.0;
// False easting and the factor of the zone prefix, metres.
inline constexpr double kFalseEasting = 500000.0;
inline constexpr double kZonePrefixFactor = 1000000.0;

// A zone as the user chooses it: its number in the 3° or 6° system, or a
// central meridian (DMS notation), and whether Y carries the zone prefix.
struct ZoneSpec {
  int width = 6;  // 3 or 6
  bool byCentralMeridian = false;
  std::string number;           // typed zone number
  std::string centralMeridian;  // typed, DMS notation
  bool prefix = false;
};

// A zone ready for computing. number is 0 for a central meridian that is no
// zone's own (it cannot carry a prefix).
struct Zone {
  double centralMeridian = 0;  // decimal degrees
  int number = 0;
  bool prefix = false;
};

struct ZoneCheck {
  std::optional<Message> refusal;
  Zone zone;
};
// 6° zone n (1 to 60): L0 = 6n − 3; 3° zone n (1 to 120): L0 = 3n.
ZoneCheck ResolveZone(const ZoneSpec& zoneAsked);

// Results at one point, unrounded: X, Y as written (Y with false easting and
// prefix), or B, L in decimal degrees (L in [−180, 180)); the convergence of
// the meridians γ (degrees) and the scale k at the point.
struct Position {
  std::optional<Message> refusal;
  double first = 0, second = 0;
  double gamma = 0, k = 0;
};
Position Forward(Datum datum, const Zone& zone, double b, double l);
Position Inverse(Datum datum, const Zone& zone, double x, double y);

enum class Problem { Forward, Inverse, ZoneChange };

struct Settings {
  Problem problem = Problem::Forward;
  Datum datum = Datum::Cgcs2000;
  ZoneSpec zone;    // the zone of the input (and of the output but for a zone change)
  ZoneSpec target;  // a zone change's new zone
};

// One point computed from its two typed values (B, L in DMS notation, or X,
// Y in metres). B, L print in DMS notation to 0.00001", X, Y to 0.001 m, γ in
// DMS notation to 0.001", k to eight decimals.
struct Solution {
  std::optional<Message> refusal;
  bool unreadable = false;  // a typed value is no number (rather than refused)
  std::string first, second;  // X, Y or B, L of the result
  std::string b, l;           // a zone change's geographic position
  std::string gamma, k;       // at the result point
  Position result;            // the unrounded result
};
Solution Solve(const Settings& settings, std::string_view first, std::string_view second);

}  // namespace korvane::geodesy
