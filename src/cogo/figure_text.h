#pragma once
// Reading the figures a surveyor types into a tool: coordinates, distances
// and angles in DMS notation, each checked before any computation so that a
// typing slip is named rather than computed with.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"

namespace korvane::cogo {

enum class FigureKind {
  Coordinate,  // metres, |value| below 100,000 km
  Distance,    // metres, above 0 and below 1000 km
  Length,      // metres, 0 or more and below 1000 km (an eccentric distance)
  Angle,       // DMS notation, 0 or more and below 360°, minutes and seconds below 60
};

struct FigureField {
  std::string caption;  // as the window labels it: "XA", "α", "S"
  FigureKind kind = FigureKind::Coordinate;
  bool optional = false;  // an empty optional field reads as absent
};

struct Figures {
  std::optional<Message> refusal;
  std::vector<std::optional<double>> values;  // one per field, DMS angles as typed
};

// Reads one text per field; the first unusable text gives the refusal that
// names its field.
Figures ReadFigures(const std::vector<std::string>& texts, const std::vector<FigureField>& fields);

}  // namespace korvane::cogo
