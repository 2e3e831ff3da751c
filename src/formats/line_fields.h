#pragma once
// Walking a data file's lines and comma-separated fields as views into its
// text, so that reading a large file makes no copy of it per line or field.
#include <cstddef>
#include <string_view>
#include <vector>

namespace korvane::formats {

// Most stations a traverse or rigorous data file may hold.
inline constexpr int kMaxFileStations = 10000;

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  // The next line without its break (LF, CR LF or CR); false at the end. A
  // final line break gives no extra line.
  bool next(std::string_view& line);

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The non-empty comma-separated fields of a line, at most limit + 1 of them:
// enough to tell that a line has too many.
std::vector<std::string_view> NonEmptyFields(std::string_view line, std::size_t limit);

}  // namespace korvane::formats
