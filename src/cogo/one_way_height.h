#pragma once
// One-way trigonometric height from a station A to a target B:
//   h = D·tan α + (1 − k)·D²/(2R) + i − v      (horizontal distance D)
//   h = S·sin α + (1 − k)·D²/(2R) + i − v      (slope distance S, D = S·cos α)
// α the vertical angle (or 90° − the zenith angle), i the instrument and v
// the target height, k the coefficient of refraction, R the mean earth
// radius.
#include <optional>
#include <string>

#include "core/message.h"

namespace korvane::cogo::height {

enum class DistanceKind { Slope, Horizontal };
enum class AngleKind { Vertical, Zenith };

struct OneWayInput {
  DistanceKind distanceKind = DistanceKind::Slope;
  AngleKind angleKind = AngleKind::Vertical;
  std::string distance;       // metres
  std::string angle;          // DMS notation
  std::string instrument;     // i, metres
  std::string target;         // v, metres
  std::string refraction;     // k; empty for 0.14
  std::string stationHeight;  // H of A, metres; empty when unknown
};

struct OneWayResult {
  std::optional<Message> refusal;
  double horizontal = 0;       // D
  double elevation = 0;        // D·tan α or S·sin α
  double correction = 0;       // (1 − k)·D²/(2R)
  double height = 0;           // h with the (1 − k) correction
  std::optional<double> targetHeight;  // H of B, when H of A is given
  // As shown: metres to 0.001, the correction to 0.0001 m; the target height
  // empty when unknown.
  std::string horizontalText, elevationText, correctionText, heightText, targetHeightText;
};

OneWayResult ComputeOneWayHeight(const OneWayInput& input);

}  // namespace korvane::cogo::height
