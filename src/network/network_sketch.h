#pragma once
// The sketch of an adjusted network: observed sides, sight lines without a
// distance (dotted), known points as triangles, error ellipses enlarged by a
// stated factor, the observation with the largest standardised residual
// marked in magenta.
#include "core/sketch.h"
#include "network/network_adjustment.h"

namespace korvane::network {

inline constexpr int kNetworkSketchWidth = 640;
inline constexpr int kNetworkSketchHeight = 640;

// The enlargement of the error ellipses: a round number (1, 2 or 5 times a
// power of ten) that draws the largest major semi-axis at about a twentieth
// of the network's extent; 1 when no ellipse has a size.
double EllipseExaggeration(const NetworkResult& result);

// The sketch, with the ellipses enlarged `exaggeration` times (ellipse semi-axes
// are millimetres; drawn in metres they are further divided by 1000).
Sketch NetworkSketch(const NetworkResult& result, double exaggeration);

}  // namespace korvane::network
