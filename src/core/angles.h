#pragma once
// Angle conversions in the surveyor's degrees.minutes-seconds notation (DMS):
// the integer part is whole degrees, the first two decimals minutes, the
// further decimals seconds and their fractions (8.080236 = 8°08'02.36").

namespace korvane {

// The literal constants every engine uses; they are not the exact
// mathematical values and the printed results depend on them.
inline constexpr double kDegreeFactor = 0.017453292;
inline constexpr double kPi = 3.141592654;
inline constexpr double kTwoPi = 6.283185307;
inline constexpr double kHalfPi = 1.570796327;
inline constexpr double kThreeHalfPi = 4.71238898;
inline constexpr double kRadianFactor = 57.29577951;

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

// Face-value conversions: 10.7 is 10° + 70'.
double DmsToDegrees(double dms);
double DmsToRadians(double dms);
// A right angle typed with a leading minus becomes the left angle 360 - |angle|.
double RightToLeftAngle(double dms);
double DegreesToDms(double degrees);
double RadiansToDms(double radians);
// A computed angle in DMS notation rounded for printing to `secondDecimals`
// decimals of seconds (0 for whole seconds, 1 for tenths), with seconds that
// round to 60 carried into the minute and 60 minutes into the degree, so no
// printed angle shows 60″ or 60′; a full turn 360°00′00″ becomes 0.
double RoundDmsForPrint(double dms, int secondDecimals);
// The opposite azimuth for azimuths in [0, 360): 180 gives 0, 0 gives 180.
double ReverseAzimuth(double azimuth);

}  // namespace korvane
