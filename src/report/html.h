#pragma once
// Pieces of the HTML reports: every report writes its pages through these.
#include <string>
#include <string_view>

namespace korvane::report {

// A value over its limit as the reports write it.
std::string MarkRed(std::string_view text);

}  // namespace korvane::report
