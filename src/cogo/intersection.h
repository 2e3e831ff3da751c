#pragma once
// Forward intersection (前方交会) of a new point P from two known points A
// and B. The triangle A, B, P is labelled counter-clockwise: P lies to the
// left of the line A→B (X north, Y east, seen on the map). By angles the
// interior angles α at A and β at B give P by the cotangent formula
//   XP = (XA·cotβ + XB·cotα + (YB − YA)) / (cotα + cotβ)
//   YP = (YA·cotβ + YB·cotα − (XB − XA)) / (cotα + cotβ);
// by distances (边长交会) the sides SA = AP and SB = BP give P to the left of
// A→B, or to the right when that side is chosen. An intersection angle at P
// below 30° or above 150° is weak: the point is computed with a warning.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "cogo/plane_survey.h"

namespace korvane::cogo::intersection {

using cogo::PlanePoint;

// The intersection angle at P is acceptable from 30° to 150°.
inline constexpr double kWeakBelowDegrees = 30.0;
inline constexpr double kWeakAboveDegrees = 150.0;

struct AngleInput {
  PlanePoint a, b;
  double alphaDms = 0;  // interior angle at A, DMS notation
  double betaDms = 0;   // interior angle at B, DMS notation
};

struct DistanceInput {
  PlanePoint a, b;
  double sa = 0;  // A to P, metres
  double sb = 0;  // B to P, metres
  bool right = false;  // P to the right of A→B
};

struct Result {
  std::optional<Message> refusal;  // nothing was computed
  std::optional<Message> warning;  // computed, but the geometry is weak
  PlanePoint p;
  double angleAtP = 0;  // intersection angle at P, degrees
  std::string x, y;     // to the millimetre
  std::string angleText;
};

Result ByAngles(const AngleInput& input);
Result ByDistances(const DistanceInput& input);

// The same from typed texts: XA, YA, XB, YB, α, β (DMS) or XA, YA, XB, YB,
// SA, SB; an unusable text is refused with the name of its field.
Result ByAngles(const std::vector<std::string>& texts);
Result ByDistances(const std::vector<std::string>& texts, bool right);

}  // namespace korvane::cogo::intersection
