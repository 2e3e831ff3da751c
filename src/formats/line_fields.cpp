#include "formats/line_fields.h"

#include <algorithm>

namespace korvane::formats {

bool LineCursor::next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  // A plain scan: find_first_of would look each character up in the set.
  std::size_t end = pos_;
  while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
  if (end == text_.size()) {
    line = text_.substr(pos_);
    pos_ = text_.size();
    return true;
  }
  line = text_.substr(pos_, end - pos_);
  pos_ = end + 1;
  if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return true;
}

std::vector<std::string_view> NonEmptyFields(std::string_view line, std::size_t limit) {
  std::vector<std::string_view> fields;
  fields.reserve(std::min<std::size_t>(limit + 1, 16));  // one allocation for a usual line
  std::size_t start = 0;
  while (start <= line.size() && fields.size() <= limit) {
    std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) comma = line.size();
    if (comma > start) fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

}  // namespace korvane::formats
