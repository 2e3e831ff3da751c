#pragma once
// Centring corrections (归心改正) of a direction observed between two marks
// when the instrument or the target stood beside its mark centre.
//
// Elements: the eccentric distance e from the eccentric point to its centre,
// and the eccentric angle θ measured at the eccentric point, clockwise from
// the direction towards its own centre to the line of sight (towards the
// other end of the observed line). S is the distance between the two centres.
//   station centring  c″ = ρ″·e·sinθ / S     (instrument at Y beside centre B)
//   target centring   r″ = ρ″·e₁·sinθ₁ / S   (signal at T₁ beside centre B₁)
// both added to the observed direction. Computed without the small-angle
// approximation: c = arcsin(e·sinθ / S), r = arcsin(e₁·sinθ₁ / S), and with
// both ends eccentric δ = arcsin((e·sinθ + e₁·sinθ₁) / S), so that the
// corrected direction is the direction between the centres exactly.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"

namespace korvane::cogo::centring {

struct Input {
  double s = 0;         // between the centres, metres
  double e = 0;         // station eccentric distance, metres (0: centred)
  double thetaDms = 0;  // station eccentric angle, DMS notation
  double e1 = 0;        // target eccentric distance, metres (0: centred)
  double theta1Dms = 0; // target eccentric angle, DMS notation
  std::optional<double> observedDms;  // the observed direction, DMS notation
};

struct Result {
  std::optional<Message> refusal;
  double station = 0;  // c, seconds of arc
  double target = 0;   // r, seconds of arc
  double total = 0;    // δ, seconds of arc
  std::optional<double> correctedDegrees;  // observed + δ, in [0, 360)
  std::string stationText, targetText, totalText;  // seconds to 0.01″
  std::string correctedDms;  // DMS notation to 0.01″, empty without an observed direction
};

Result Correct(const Input& input);
// From typed texts: S, e, θ, e₁, θ₁ and the observed direction (may be empty).
Result Correct(const std::vector<std::string>& texts);

}  // namespace korvane::cogo::centring
