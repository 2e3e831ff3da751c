#pragma once
// The one owner of angles: the values of π the program computes with, the
// surveyor's degrees.minutes-seconds notation (DMS: the integer part is whole
// degrees, the first two decimals minutes, the further decimals seconds and
// their fractions, 8.080236 = 8°08'02.36"), its reading, checking and
// printing, the conversions and the azimuth wraps. No other file defines π or
// splits, checks, rounds or wraps an angle.
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// ---------------------------------------------------------------------------
// π and the literal constants the printed results depend on.

// The true π: the network adjustment, the plane tools (intersection,
// resection, centring, one-way height) and the sketches of error ellipses.
inline constexpr double kTruePi = std::numbers::pi;
// Seconds of arc in a radian, from the true π.
inline constexpr double kRhoSeconds = 206264.80624709636;

// The simple traverse (four kinds), its sketches and the weighted adjustment
// compute with these literals, not the exact values.
inline constexpr double kTraverseDegreeFactor = 0.017453292;  // radians per degree
inline constexpr double kTraversePi = 3.141592654;
inline constexpr double kTraverseTwoPi = 6.283185307;
inline constexpr double kTraverseHalfPi = 1.570796327;
inline constexpr double kTraverseThreeHalfPi = 4.71238898;
inline constexpr double kTraverseRadianFactor = 57.29577951;  // degrees per radian

// The π of the geodetic problems' series (and the ρ" derived from it) and of
// the calculator's inverse trigonometric keys; its text is what the
// calculator's π key enters.
inline constexpr double kGeodeticPi = 3.14159265358979;
inline constexpr const char* kGeodeticPiText = "3.14159265358979";

// ---------------------------------------------------------------------------
// Splitting and checking DMS notation.

// The parts of |dms| as its decimal digits write them, read from the value's
// 15-significant-digit form (the form every conversion splits): 0.5959 is
// 0°59'59", never 0°59'58.99..." from its binary value.
struct DmsParts {
  double degrees = 0;
  int minutes = 0;     // the first two decimals, 0 to 99
  double seconds = 0;  // the further decimals as seconds, below 100
};
DmsParts SplitDms(double dms);
// Whether a value is an angle in DMS notation: finite, with minutes and
// seconds below 60 (the sign does not matter). 10.7 (70') and 10.0060
// (60") are not; 10.5959999 (59'59.999") is. The conversions below take any
// value at its face value; every reader of a typed angle refuses one that
// fails this check.
bool ValidDms(double dms);

// How much of the number syntax a typed angle may use.
enum class DmsSyntax {
  PlainDecimal,  // sign, digits and a point only ("-8.080236"): the Gauss–Krüger boxes
  AnyNumber,     // any finite decimal number, exponent included ("8.08e0"): the geodetic problems
};
// A typed angle in DMS notation, blanks around it allowed: its value when the
// text is a number of the syntax and its minutes and seconds are below 60,
// otherwise nothing.
std::optional<double> ParseDms(std::string_view text, DmsSyntax syntax);

// ---------------------------------------------------------------------------
// Conversions.

// Face-value conversions split on the decimal digits: 10.7 is 10° + 70'.
double DmsToDegrees(double dms);
// With the simple traverse's degree factor (kTraverseDegreeFactor).
double DmsToRadians(double dms);
// A right angle typed with a leading minus becomes the left angle 360 - |angle|.
double RightToLeftAngle(double dms);
double DegreesToDms(double degrees);
// The same as a 15-significant-digit display writes it (the calculator's
// 度→度分秒 key): seconds that only the last digit rounds up to 60 are
// carried into the minute, and 60 minutes into the degree.
double DegreesToDmsCarried(double degrees);
// With the simple traverse's degree factor (kTraverseDegreeFactor).
double RadiansToDms(double radians);
// Exact conversions with the true π, written x·π/180 and x·180/π.
double DegreesToRadians(double degrees);
double RadiansToDegrees(double radians);
// The network adjustment's exact conversions of a non-negative DMS value. The
// split works on the binary value (tiny offsets keep a typed 8.08, held as
// 8.0799999..., at 8°08'00"), not on the decimal digits as DmsToDegrees does:
// the two can differ in the last bit, and the network's printed results were
// fixed with this one.
double DmsToRad(double dms);
double RadToDms(double radians);

// ---------------------------------------------------------------------------
// Azimuth wraps: one rule, an angle brought into [0, turn) with fmod, a tiny
// negative value that would round up to a full turn giving 0.

double WrapIntoTurn(double angle, double turn);
// Radians into [0, 2π) and into (−π, π].
double Wrap(double radians);
double WrapSigned(double radians);
// Degrees into [0, 360).
double WrapDegrees(double degrees);
// Degrees into [−180, 180): a longitude.
double WrapLongitude(double degrees);
// The simple traverse's rule for the next leg's azimuth (reverse azimuth plus
// a left angle below 360): one full turn taken off, once, when reached.
double WrapOnce(double azimuth);
// Its counterpart for the difference of two azimuths: one full turn added,
// once, to a negative value (the no-orientation traverse's turn Δα).
double WrapOnceBelowZero(double degrees);
// The opposite azimuth for azimuths in [0, 360): 180 gives 0, 0 gives 180.
double ReverseAzimuth(double azimuth);
// Azimuth of the line from (x1, y1) to (x2, y2), X north, Y east, radians in [0, 2π).
double Azimuth(double x1, double y1, double x2, double y2);

// ---------------------------------------------------------------------------
// Rounding for print and the printed forms.

// How an angle is rounded to the last printed place of its seconds. Each
// printed table was fixed with one of these, and they can differ in the last
// digit, so each stays under its own name.
enum class DmsRounding {
  // The DMS value's 15-digit decimal form rounded half up on its digits
  // (RoundDmsForPrint): the traverse reports, the network report, centring.
  DecimalDigits,
  // Degrees times 3600·10^k, rounded half to even (nearbyint): the plane
  // tools' angle texts.
  WholeUnitsHalfEven,
  // Degrees times 3600, times 10^k, rounded half away from zero (llround):
  // the Gauss–Krüger tools.
  WholeUnitsHalfAway,
  // Whole degrees and minutes cut off first, then the seconds times 10^k
  // rounded half to even: the geodetic problems.
  SecondsHalfEven,
};

// An angle rounded for print: whole degrees, minutes and the seconds in units
// of the last printed place, with 60" carried into the minute and 60' into the
// degree, so that no printed angle shows 60" or 60'.
struct DmsFields {
  bool negative = false;  // a minus is printed (never for a value that rounds to 0)
  double degrees = 0;
  int minutes = 0;
  long long secondUnits = 0;  // seconds × 10^secondDecimals
  int secondDecimals = 0;
};
// `value` is in DMS notation for DecimalDigits (where a full turn 360°00'00"
// prints as 0) and in decimal degrees for the others.
DmsFields RoundDms(double value, int secondDecimals, DmsRounding rounding);
// A rounded azimuth that reached a full turn (360°00'00") prints as 0.
void FullTurnAsZero(DmsFields& fields);

// 123°04′05.6″: degrees, two digits of minutes, two digits of seconds and
// their decimals.
std::string DmsSymbolText(const DmsFields& fields);
// DMS notation with every digit written: 9.300000000 for 9°30' to 0.00001".
std::string DmsNotationText(const DmsFields& fields);
// The value of the rounded DMS notation (9.3 for 9°30').
double DmsNotationValue(const DmsFields& fields);

// A computed angle in DMS notation rounded for printing to `secondDecimals`
// decimals of seconds (0 for whole seconds, 1 for tenths), with seconds that
// round to 60 carried into the minute and 60 minutes into the degree, so no
// printed angle shows 60″ or 60′; a full turn 360°00′00″ becomes 0.
double RoundDmsForPrint(double dms, int secondDecimals);

}  // namespace korvane
