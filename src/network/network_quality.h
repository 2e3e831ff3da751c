#pragma once
// The quality figures of an adjusted network beyond the point ellipses:
// relative accuracy of the observed sides, Baarda's w-test with internal and
// external reliability, the story of data snooping and the estimated
// variance components of the observation groups.
#include <array>
#include <string>
#include <vector>

namespace korvane::network {

enum class NetworkObservationKind;

// Critical value of the w-test: α0 = 0.1 %, two-sided, normal distribution.
inline constexpr double kCriticalW = 3.29;
// Non-centrality for α0 = 0.1 % and a power of 80 %.
inline constexpr double kPowerDelta0 = 4.13;
// An observation with a smaller redundancy number is not testable: snooping
// never leaves it out.
inline constexpr double kTestableRedundancy = 0.1;
// Snooping leaves out at most this many observations.
inline constexpr int kMaxSnoopRounds = 20;
// Variance components: the factors σ̂/σ must come within 1 ± this, in at
// most kMaxVarianceIterations adjustments; a group with a smaller sum of
// redundancy numbers is not estimated.
inline constexpr double kVarianceTolerance = 0.01;
inline constexpr int kMaxVarianceIterations = 30;
inline constexpr double kMinGroupRedundancy = 1;

// The relative accuracy of two points joined by an observation, from
// σ0²·(Q_ii + Q_jj − Q_ij − Q_ji) with the σ0 of the absolute ellipses.
struct NetworkRelativeAccuracy {
  int from = -1, to = -1;  // indices into NetworkResult::points
  double distance = 0;     // adjusted side, m
  // The 1σ relative ellipse: semi-axes in mm, azimuth of the major axis in
  // degrees [0, 180).
  double ellipseA = 0, ellipseB = 0, ellipseAzimuth = 0;
  double sigmaS = 0;    // the relative covariance projected on the side, mm
  double ratio = 0;     // σ_S / S (1/T); 0 when σ_S is 0
};

// One observation left out by snooping, as the adjustment of its round saw it.
struct NetworkSnoopRound {
  NetworkObservationKind kind{};
  std::string station, back, target;
  int line = 0;
  double residual = 0, sigma = 0, redundancy = 0, w = 0;
  double sigma0 = 0;  // of the round's adjustment, before the removal
  int degreesOfFreedom = 0;
};

// Why snooping ended.
enum class SnoopEnd { None, Clean, Untestable, RoundLimit, NoRedundancy };

// One observation group's variance component.
struct NetworkVarianceComponent {
  NetworkObservationKind kind{};
  int count = 0;         // observations in the group
  double redundancy = 0; // r_g, the sum of the group's redundancy numbers
  bool estimated = false;
  // The group's a-priori deviation (seconds or mm; the quadratic mean when
  // its observations differ) and the factor σ̂/σ that re-weights it.
  double prior = 0;
  double factor = 1;
  // Every deviation of the group came from PARAM: a distance group is then
  // shown as a mm + b ppm with PARAM's a and b.
  bool fromParam = false;
  double paramA = 0, paramB = 0;
};

struct NetworkVarianceEstimation {
  bool done = false;
  std::vector<NetworkVarianceComponent> groups;
  int iterations = 0;
  bool converged = false;
};

}  // namespace korvane::network
