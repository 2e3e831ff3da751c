#pragma once
// Survey constants shared by the traverse engines. Every printed figure
// depends on these exact values, so none of them is typed anywhere else.

namespace korvane {

// Earth radius in kilometres used to reduce a distance to the projection plane.
inline constexpr double kEarthRadiusKm = 6371.27;
// Mean earth radius in kilometres of the earth-curvature-and-refraction
// correction (1 − k)·D²/(2R) of a one-way trigonometric height.
inline constexpr double kMeanEarthRadiusKm = 6371.0;
// Coefficient of refraction k usually taken for a line of sight by day.
inline constexpr double kRefractionCoefficient = 0.14;
// Added to the sum of the two mark heights: the line of sight runs 1.45 m above their mean.
inline constexpr double kSightHeightSum = 2.9;
// An angular misclosure beyond this many degrees is a gross error.
inline constexpr double kAngularMisclosureLimit = 1.0;
// A linear misclosure beyond this many metres is a gross error.
inline constexpr double kLinearMisclosureLimit = 1.5;
// A full turn in degrees.
inline constexpr double kFullTurn = 360.0;
// Millimetres in a metre, and in a kilometre: corrections are reported in mm.
inline constexpr double kMillimetresPerMetre = 1000.0;
inline constexpr double kMillimetresPerKilometre = 1000000.0;
// Metres in a kilometre, and kilometres in a metre (distance-meter scale
// constants are per kilometre).
inline constexpr double kMetresPerKilometre = 1000.0;
inline constexpr double kKilometresPerMetre = 0.001;
// Seconds of arc in a degree.
inline constexpr double kSecondsPerDegree = 3600.0;

// Weakest point of an open traverse: the square of a 5" angle error, the
// square of a 1" error of the start orientation, and ρ" over 1000 so that a
// length in metres gives millimetres.
inline constexpr double kOpenAngleErrorSquared = 25;
inline constexpr double kOpenOrientationErrorSquared = 1;
inline constexpr double kRhoSecondsPerMillimetre = 206.265;
// Weakest point of an open traverse: the per-station term of the longitudinal
// error, mm².
inline constexpr double kOpenLongitudinalTerm = 20;

}  // namespace korvane
