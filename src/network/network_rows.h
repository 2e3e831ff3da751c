#pragma once
// One linearised observation equation: v = a·dx + w with the unknowns in mm
// (coordinates) and seconds (orientations), v and w in seconds or mm.
#include <array>

#include "network/network_model.h"

namespace korvane::network {

// A fixed azimuth is held by this a-priori deviation (seconds): its weight
// exceeds an ordinary angle's by about eight orders, so it is met to far
// below the printed digits while the normal matrix stays well conditioned.
inline constexpr double kFixedAzimuthSigma = 1e-4;

struct Row {
  std::array<int, 6> cols{};
  std::array<double, 6> coef{};
  int count = 0;
  double w = 0;       // computed - observed at the current coordinates
  double weight = 0;  // 1 / σ²
  bool fixed = false; // a fixed azimuth
  void add(int col, double a) {
    if (col < 0) return;
    for (int k = 0; k < count; ++k) {
      if (cols[k] == col) {
        coef[k] += a;
        return;
      }
    }
    cols[count] = col;
    coef[count++] = a;
  }
};

// The row of observation o at the model's current coordinates and orientations.
Row Linearise(const Model& m, const Observation& o);
// The observation's value computed from the current coordinates (radians or
// metres), for a direction reduced by its set's orientation.
double Computed(const Model& m, const Observation& o);

}  // namespace korvane::network
