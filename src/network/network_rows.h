#pragma once
// The traverse network as an observation model of the adjustment core: one
// linearised observation equation v = a·dx + w per observation, with the
// unknowns in mm (coordinates) and seconds (orientations), v and w in seconds
// or mm.
#include "adjust/observation_row.h"
#include "network/network_model.h"

namespace korvane::network {

// A fixed azimuth is held by this a-priori deviation (seconds): its weight
// exceeds an ordinary angle's by about eight orders, so it is met to far
// below the printed digits while the normal matrix stays well conditioned.
inline constexpr double kFixedAzimuthSigma = 1e-4;

using adjust::Row;

// The row of observation o at the model's current coordinates and orientations.
Row Linearise(const Model& m, const Observation& o);
// The observation's value computed from the current coordinates (radians or
// metres), for a direction reduced by its set's orientation.
double Computed(const Model& m, const Observation& o);

}  // namespace korvane::network
