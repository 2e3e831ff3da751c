#include "report/html.h"

namespace korvane::report {

std::string MarkRed(std::string_view text) {
  return "<FONT COLOR=#FF0000>" + std::string(text) + "</FONT>";
}

}  // namespace korvane::report
