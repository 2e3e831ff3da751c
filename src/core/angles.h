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
