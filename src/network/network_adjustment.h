#pragma once
// Least-squares adjustment of traverse networks by parameters: unknown X, Y
// per new point and one orientation unknown per direction set; distances,
// directions, angles and observed azimuths weighted by their a-priori
// deviations (PARAM's or their own); fixed azimuths held exactly. Fixed points
// give the datum, or in a free network the minimum-norm constraints over its
// datum points do. Linearised and iterated until every coordinate correction
// is below 0.01 mm. Plain C++ with Eigen, no Qt.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "adjust/fallback.h"
#include "core/message.h"
#include "formats/network_file.h"
#include "network/network_quality.h"

namespace korvane::network {

// See NetworkOptions::fallbackLimit.
inline constexpr int kNetworkFallbackUnknowns = adjust::kFallbackUnknowns;

struct NetworkOptions {
  // Standard deviations, error ellipses, redundancies and standardised
  // residuals (the diagonal blocks of the inverse normal matrix). Off, only
  // the coordinates, residuals and σ0 are computed.
  bool precision = true;
  // With the precision figures, also the relative accuracy of the observed
  // sides and the reliability figures (∇ and its largest effect).
  bool quality = true;
  // Row code of the tolerance tables ("ybc1" ... "ybs3", see
  // rigorous/tolerance.h) the traverse misclosures are checked against, and
  // whether they are checked at all.
  std::string toleranceCode = "ybc3";
  bool checkTolerance = true;
  int maxIterations = 30;
  // The most unknowns for which a vanishing pivot of the normal equations is
  // judged by a sparse QR of the design matrix (and the inverse then taken in
  // full); a larger network is refused at the unknown of that pivot, so that
  // the work stays within a few seconds and a few hundred megabytes.
  int fallbackLimit = kNetworkFallbackUnknowns;
  // Data snooping: leave out the observation of the largest |w| above the
  // critical value, one at a time, until none exceeds it.
  bool snoop = false;
  // Re-estimate the a-priori deviation of every observation group
  // (directions, angles, distances, azimuths) until the factors settle.
  bool varianceComponents = false;
  // Observations (indices in the order the network's records are read)
  // left out, and factors on the a-priori deviations of the four groups in
  // the order of NetworkObservationKind; snooping and the variance
  // components set them for their rounds.
  std::vector<int> excluded;
  std::array<double, 4> deviationScale{1, 1, 1, 1};
  // Asked before every iteration and before the precision figures: true
  // ends the adjustment with the refusal kNetworkStopped (the window's 取消).
  std::function<bool()> stopRequested;
};

// The refusal of an adjustment stopped on request.
inline constexpr const char* kNetworkStopped = "平差已取消。";

struct NetworkPointResult {
  std::string name;
  bool known = false;
  double x = 0, y = 0;              // adjusted (known: given), metres, unrounded
  double approxX = 0, approxY = 0;  // approximate coordinates the iteration started from
  // Standard deviations scaled by the a-posteriori σ0, mm (0 for known points).
  double sx = 0, sy = 0, sp = 0;    // sp = sqrt(sx² + sy²)
  // The 1σ error ellipse: semi-axes in mm and the azimuth of the major axis
  // in degrees [0, 180), clockwise from north (X).
  double ellipseA = 0, ellipseB = 0, ellipseAzimuth = 0;
};

enum class NetworkObservationKind { Direction, Angle, Distance, Azimuth };

struct NetworkObservationResult {
  NetworkObservationKind kind = NetworkObservationKind::Distance;
  std::string station;  // direction/angle: station; distance/azimuth: from
  std::string target;   // direction: target; angle: fore; distance/azimuth: to
  std::string back;     // angle only
  int line = 0;         // file line of the record
  int set = -1;         // direction: index of its set in NetworkInput::sets
  // Observed and adjusted values: angular kinds in DMS notation (the adjusted
  // direction reduced by its set's orientation), distances in metres.
  double observed = 0, adjusted = 0;
  // Residual v = adjusted - observed: seconds for angular kinds, mm for
  // distances; 0 for fixed azimuths.
  double residual = 0;
  double sigma = 0;         // a-priori deviation, seconds or mm; 0 for a fixed azimuth
  double redundancy = 0;    // r = 1 - diagonal of the hat matrix
  double standardised = 0;  // |v| / (σ0_prior · σ · sqrt(r)); 0 when r ≈ 0
  bool largest = false;     // the largest standardised residual
  // Minimal detectable bias ∇ = σ·δ0/√r (seconds or mm; 0 when r ≈ 0) and its
  // largest effect on a coordinate, mm (negative when not computed).
  double mdb = 0;
  double mdbEffect = -1;
  int index = 0;            // the observation's index among the network's records
  // A fixed azimuth: held exactly, no residual, no deviation.
  bool fixed() const { return kind == NetworkObservationKind::Azimuth && sigma == 0; }
};

// A traverse between two known or junction points: the chain of stations
// whose every inner station has exactly two neighbours along distances.
struct NetworkTraverse {
  std::vector<std::string> stations;  // from the first end point to the other
  double length = 0;                  // sum of observed sides, metres
  // Angular misclosure from the approximate azimuths at both ends, seconds;
  // hasAngular is false where an end carries no orientation.
  bool hasAngular = false;
  double fBetaSec = 0;
  // Coordinate misclosure of the traverse carried from its first end with the
  // observed angles and distances, compared with the adjusted second end, m.
  double fx = 0, fy = 0, fs = 0;
  std::string relativeClosure;  // "1/N", empty when fs = 0
  // Limits of the chosen standard and grade and whether each is exceeded.
  double fBetaLimitSec = 0;
  double relativeLimit = 0;     // the denominator N of 1/N
  bool fBetaOver = false, relativeOver = false;
};

// The datum of a free network (its POINTs marked DATUM): the datum points,
// over which the coordinates have the minimum norm, and the defect the
// constraints removed. Empty when fixed points give the datum.
struct NetworkDatum {
  std::vector<std::string> points;
  bool rotation = false;  // the rotation was a defect: no azimuth observed
  bool scale = false;     // the scale was a defect: no distance observed
  bool free() const { return !points.empty(); }
  int defect() const { return free() ? 2 + (rotation ? 1 : 0) + (scale ? 1 : 0) : 0; }
};

struct NetworkResult {
  std::vector<NetworkPointResult> points;  // known points first, then new points in order found
  std::vector<NetworkObservationResult> observations;
  std::vector<double> setOrientationDms;   // orientation of every direction set, DMS
  std::vector<NetworkTraverse> traverses;
  int unknowns = 0, observationCount = 0, constraints = 0;
  int degreesOfFreedom = 0;
  double sigma0 = 0;          // a-posteriori unit weight deviation (a-priori 1)
  // Two-sided chi-square test at 95 % of vTPv with f degrees of freedom.
  double chiSquare = 0, chiLower = 0, chiUpper = 0;
  bool chiTestPassed = true;
  bool precisionComputed = false;
  int iterations = 0;
  int largestResidual = -1;   // index into observations, -1 when none
  bool usedFallbackSolver = false;  // a pivot of the sparse LDLᵀ vanished; QR was used
  // Relative accuracy of every pair of points joined by an observation, and
  // the weakest point (largest mp) and side (largest σ_S/S); -1 when none.
  std::vector<NetworkRelativeAccuracy> relative;
  int weakestPoint = -1, weakestSide = -1;
  std::vector<NetworkSnoopRound> snooping;
  SnoopEnd snoopEnd = SnoopEnd::None;
  double snoopSigma0 = 0;  // σ0 and f of the network snooping left
  int snoopDegreesOfFreedom = 0;
  NetworkVarianceEstimation variance;
  NetworkDatum datum;
};

struct NetworkOutcome {
  std::optional<Message> refusal;
  NetworkResult result;
  bool ok() const { return !refusal.has_value(); }
};

// Adjusts the network. A refusal (title kNetworkTitle) names the cause: a
// record naming a point twice as known, an observation of a point to itself,
// a non-positive distance, an unknown point no observation can locate, a
// network without a known point and an orientation, a singular system (in a
// network above the fall-back size: "点“P”无法确定：…" at the first unknown
// whose pivot vanished), a free network whose datum points cannot remove its
// defect, or an iteration that does not converge.
NetworkOutcome AdjustNetwork(const formats::NetworkInput& input, const NetworkOptions& options = {});

}  // namespace korvane::network
