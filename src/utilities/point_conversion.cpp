#include "utilities/point_conversion.h"

#include <algorithm>
#include <cstring>

#include "core/text_utils.h"

namespace korvane::utilities {

std::vector<int> DefaultPointColumns() { return {1, 2, 3, 4, 5}; }

bool IsCountLine(std::string_view firstLine) {
  return CharCount(firstLine) <= kCountLineMaxChars;
}

std::size_t FindLineBreak(std::string_view text, std::size_t from) {
  // Eight bytes at a time: a byte equal to LF or CR makes its lane zero.
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const std::uint64_t lf = word ^ (kOnes * '\n'), cr = word ^ (kOnes * '\r');
    if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHigh) break;
  }
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') return i;
  }
  return std::string_view::npos;
}

bool NextRecordLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  const std::size_t end = FindLineBreak(rest, 0);
  if (end == 0) return false;  // an empty line ends the records
  if (end == std::string_view::npos) {
    line = rest;
    rest = {};
    return true;
  }
  line = rest.substr(0, end);
  std::size_t next = end + 1;
  if (rest[end] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
  rest.remove_prefix(next);
  return true;
}

PointConverter::PointConverter(std::vector<int> columns, std::string lineEnd)
    : columns_(std::move(columns)), lineEnd_(std::move(lineEnd)) {}

std::string PointConverter::CountLine(std::int64_t linesRead, bool hasCountLine) const {
  // A file with no line at all still counts as one (its empty first line).
  const std::int64_t n = std::max<std::int64_t>(linesRead, 1);
  return std::to_string(hasCountLine ? n - 1 : n) + lineEnd_;
}

void PointConverter::Take(std::string_view line, std::int64_t lineNumber, bool output,
                          std::string& out) {
  // Fields are views into the line, or into the value carried from the
  // lines before, which is updated once the line is read.
  std::string_view current = carried_;
  bool fromLine = false;
  int present = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    const std::string_view part =
        line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (present == kPointFieldsRead) {
      // Fields past the sixth are ignored, and do not change the current value.
      if (firstWideLine_ == 0) firstWideLine_ = lineNumber;
      ++wideLines_;
      break;
    }
    if (!part.empty()) {
      current = part;
      fromLine = true;
    }
    fields_[present++] = current;
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (output) {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (i > 0) out.push_back(',');
      // A record shorter than the column has nothing there.
      if (columns_[i] <= present) out.append(fields_[columns_[i] - 1]);
    }
    if (!columns_.empty()) out.append(lineEnd_);
  }
  if (fromLine) carried_.assign(current);
}

PointConversion ConvertPointText(std::string_view text, const std::vector<int>& columns,
                                 std::string_view lineEnd) {
  PointConversion result;
  std::string_view rest = text;
  std::string_view line;
  std::vector<std::string_view> lines;
  while (NextRecordLine(rest, line)) lines.push_back(line);
  result.linesRead = static_cast<std::int64_t>(lines.size());
  const bool hasCountLine = lines.empty() || IsCountLine(lines.front());
  PointConverter converter(columns, std::string(lineEnd));
  result.text = converter.CountLine(result.linesRead, hasCountLine);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool output = !(hasCountLine && i == 0);
    converter.Take(lines[i], static_cast<std::int64_t>(i) + 1, output, result.text);
  }
  result.firstWideLine = converter.firstWideLine();
  result.wideLines = converter.wideLines();
  return result;
}

std::string WideLinesNote(std::int64_t firstWideLine, std::int64_t wideLines) {
  if (wideLines == 0) return {};
  return "第" + std::to_string(firstWideLine) + "行等" + std::to_string(wideLines) +
         "行字段多于6个，多余字段已忽略";
}

bool ParsePointColumns(std::string_view text, std::vector<int>& columns) {
  columns.clear();
  if (Trim(text).empty()) return true;
  for (const std::string& part : Split(text, ',')) {
    const std::string name = Trim(part);
    if (name.size() != 1 || name[0] < '1' || name[0] > '0' + kPointColumns) return false;
    const int column = name[0] - '0';
    if (std::find(columns.begin(), columns.end(), column) != columns.end()) return false;
    columns.push_back(column);
  }
  return true;
}

}  // namespace korvane::utilities
