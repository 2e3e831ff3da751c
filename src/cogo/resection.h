#pragma once
// Resection (后方交会): the station P from three known points A, B, C and
// the two angles observed at P, α = ∠BPC and β = ∠CPA, each turned clockwise
// (from the direction to B to the direction to C, and from C to A).
//
// The two angles place P on two circles through C: one through B and C, one
// through C and A. An inversion about C turns both circles into straight
// lines; P is the image of their crossing. The lines are parallel only when
// the circles coincide, which is the danger circle through A, B and C, so
// the solution has no singularity besides it. P closer to the danger circle
// than R/5 (R its radius) is warned about, closer than R/100 is refused.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "cogo/plane_survey.h"

namespace korvane::cogo::resection {

using cogo::PlanePoint;

// Fractions of the danger circle's radius: a warning below the first, a
// refusal below the second.
inline constexpr double kWarnFraction = 1.0 / 5.0;
inline constexpr double kRefuseFraction = 1.0 / 100.0;

struct Input {
  PlanePoint a, b, c;
  double alphaDms = 0;  // ∠BPC clockwise, DMS notation
  double betaDms = 0;   // ∠CPA clockwise, DMS notation
};

struct Result {
  std::optional<Message> refusal;
  std::optional<Message> warning;
  PlanePoint p;
  double radius = 0;          // of the danger circle, metres
  double dangerDistance = 0;  // of P from the danger circle, metres
  std::string x, y, radiusText, dangerText;
};

Result Resect(const Input& input);
// From typed texts: XA, YA, XB, YB, XC, YC, α, β (DMS notation).
Result Resect(const std::vector<std::string>& texts);

}  // namespace korvane::cogo::resection
