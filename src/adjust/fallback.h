#pragma once

namespace korvane::adjust {

// The most unknowns whose vanishing pivot the QR of the weighted design
// matrix judges; above it the pivot's unknown is named at once, for the QR's
// work grows far faster than the network's.
inline constexpr int kFallbackUnknowns = 2000;

// The largest factor of the normal equations taken on: its values (8 bytes
// each; the selected inverse takes as many again) and the operations its
// factorisation needs, as the ordering predicts them before any is done. A
// network whose observations join its points too densely is refused instead
// of exhausting the memory or running for hours.
inline constexpr double kMostFactorValues = 1e8;
inline constexpr double kMostFactorOperations = 1e11;

}  // namespace korvane::adjust
