#pragma once
#include <optional>
#include <string_view>

namespace korvane::formats {

// The four simple traverse kinds of the main window.
enum class TraverseKind { Connecting, Closed, Open, NoOrientation };

// The kind letter of a traverse data file: F, B, Z, W in either case.
std::optional<TraverseKind> KindFromLetter(std::string_view letter);
char KindLetter(TraverseKind kind);

}  // namespace korvane::formats
