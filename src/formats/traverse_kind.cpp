#include "formats/traverse_kind.h"

namespace korvane::formats {

std::optional<TraverseKind> KindFromLetter(std::string_view letter) {
  if (letter == "F" || letter == "f") return TraverseKind::Connecting;
  if (letter == "B" || letter == "b") return TraverseKind::Closed;
  if (letter == "Z" || letter == "z") return TraverseKind::Open;
  if (letter == "W" || letter == "w") return TraverseKind::NoOrientation;
  return std::nullopt;
}

char KindLetter(TraverseKind kind) {
  switch (kind) {
    case TraverseKind::Connecting: return 'F';
    case TraverseKind::Closed: return 'B';
    case TraverseKind::Open: return 'Z';
    case TraverseKind::NoOrientation: return 'W';
  }
  return 'F';
}

}  // namespace korvane::formats
