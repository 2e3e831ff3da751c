#pragma once
// The pieces both network report pages are built of: a figure in a fixed
// format, a cell (red when over its limit), a heading cell and the table's
// frame.
#include <string>

#include "core/numbers.h"
#include "report/html.h"

namespace korvane::network::cells {

// "+ 0.0" writes a negative zero as 0.
inline std::string Fixed(double v, const char* pattern) { return FormatFixed(v + 0.0, pattern); }
inline report::Html Cell(const report::Html& text, bool red = false) { return report::Td(report::RedIf(text, red)); }
inline report::Html Head(const report::Html& text) { return report::Th(text); }
inline constexpr report::Tag kTableStart("<table border=1>");
inline constexpr report::Tag kTableEnd("</table>");

}  // namespace korvane::network::cells
