#pragma once
// Reduction of a measured horizontal distance S to the reference surface and
// then to the Gauss–Krüger plane:
//   ΔS1 = −S·(Hm − H0)/R        (H0 the height of the projection surface, 0
//                                for the ellipsoid itself)
//   ΔS2 = +S·ym²/(2R²)          (ym the mean distance from the central
//                                meridian: Y − 500 km, zone prefix removed)
//   Sp  = S + ΔS1 + ΔS2 = K·S,  K = 1 − (Hm − H0)/R + ym²/(2R²).
// The Δy²/(24R²) term is left out: below 0.002 mm for a 1 km line whose ends
// differ by 1 km in Y.
#include <optional>
#include <string>

#include "core/message.h"

namespace korvane::geodesy {

struct DistanceInput {
  std::string distance;          // S, metres
  std::string meanHeight;        // Hm, metres
  std::string projectionHeight;  // H0, metres; empty for 0
  std::string meanY;             // Y of the line's middle, metres, with or without the prefix
  std::string radiusKm;          // R, kilometres; empty for the traverse reduction's 6371.27
};

struct DistanceResult {
  std::optional<Message> refusal;
  double ym = 0;                 // metres
  double surfaceCorrection = 0;  // ΔS1, metres
  double planeCorrection = 0;    // ΔS2, metres
  double surfaceDistance = 0;    // S + ΔS1
  double planeDistance = 0;      // S + ΔS1 + ΔS2
  double surfaceFactor = 0, planeFactor = 0, factor = 0;
  // As shown: ym to 0.001 m, corrections in mm to 0.01, distances to
  // 0.0001 m, factors to eight decimals.
  std::string ymText, surfaceCorrectionText, planeCorrectionText, surfaceDistanceText,
      planeDistanceText, surfaceFactorText, planeFactorText, factorText;
};

DistanceResult ReduceDistance(const DistanceInput& input);

}  // namespace korvane::geodesy
