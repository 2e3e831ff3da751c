#pragma once

namespace korvane::adjust {

// The most unknowns whose vanishing pivot the QR of the weighted design
// matrix judges; above it the pivot's unknown is named at once, for the QR's
// work grows far faster than the network's.
inline constexpr int kFallbackUnknowns = 2000;

}  // namespace korvane::adjust
