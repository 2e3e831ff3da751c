// The total-station point conversion: any bytes as a point file, with any
// column list, convert or are refused with a message. The first byte gives
// the number of columns (0 to 5) and whether lines end in CR LF; the next
// five bytes give the columns (repeats allowed, as the engine takes any
// list); the rest is the file. The file is converted as the batch program
// does (read twice as a stream) and as the window does (read into the pane,
// then converted in memory): both must agree.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf8.h"
#include "fuzz_check.h"
#include "utilities/point_conversion.h"
#include "utilities/point_file.h"

namespace {

using namespace korvane;
using namespace korvane::utilities;

constexpr std::size_t kHeader = 1 + korvane::utilities::kPointColumns;

// One in-memory regular file, rewritten for every input.
const std::string& FilePath(std::string_view bytes) {
  static const int fd = memfd_create("points", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  FUZZ_CHECK(fd >= 0);
  FUZZ_CHECK(ftruncate(fd, 0) == 0);
  FUZZ_CHECK(pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
  return path;
}

std::vector<std::string_view> Lines(std::string_view text, std::string_view lineEnd) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(lineEnd);
    FUZZ_CHECK(end != std::string_view::npos);  // every line ends with the line end
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + lineEnd.size());
  }
  return lines;
}

// The count line heads the output and equals the number of lines after it;
// every output line has one field per column.
void CheckOutput(std::string_view text, const std::vector<int>& columns, std::string_view lineEnd,
                 std::int64_t linesRead) {
  FUZZ_CHECK(IsStrictUtf8(text));
  const std::vector<std::string_view> lines = Lines(text, lineEnd);
  FUZZ_CHECK(!lines.empty());
  const std::string count(lines.front());
  FUZZ_CHECK(!count.empty() && count.find_first_not_of("0123456789") == std::string::npos);
  const std::int64_t records = std::stoll(count);
  FUZZ_CHECK(records == linesRead || records == linesRead - 1 || (linesRead == 0 && records == 0));
  if (columns.empty()) {
    FUZZ_CHECK(lines.size() == 1);
    return;
  }
  FUZZ_CHECK(static_cast<std::int64_t>(lines.size()) - 1 == records);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::size_t commas = 0;
    for (char c : lines[i]) commas += c == ',';
    FUZZ_CHECK(commas + 1 == columns.size());
    FUZZ_CHECK(lines[i].find_first_of("\r\n") == std::string_view::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  std::vector<int> columns;
  for (int i = 0; i < data[0] % (korvane::utilities::kPointColumns + 1); ++i) columns.push_back(data[1 + i] % korvane::utilities::kPointColumns + 1);
  const std::string lineEnd = data[0] & 0x80 ? "\r\n" : "\n";
  const std::string_view bytes(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);
  const std::string& path = FilePath(bytes);

  std::string streamed;
  korvane::utilities::PointFileStats stats;
  const std::string error = ConvertPointFile(path, columns, lineEnd, [&](std::string_view text) {
    streamed.append(text);
    return true;
  }, stats);
  std::string pane;
  std::int64_t paneLines = 0;
  const std::string readError = korvane::utilities::ReadPointLines(path, 1 << 30, pane, paneLines);
  FUZZ_CHECK(error.empty() == readError.empty());
  if (!error.empty()) return 0;  // refused with its reason
  CheckOutput(streamed, columns, lineEnd, stats.linesRead);
  FUZZ_CHECK(IsStrictUtf8(pane));
  FUZZ_CHECK(paneLines == stats.linesRead);

  const korvane::utilities::PointConversion inMemory = korvane::utilities::ConvertPointText(pane, columns, lineEnd);
  FUZZ_CHECK(inMemory.text == streamed);
  FUZZ_CHECK(inMemory.linesRead == stats.linesRead);
  FUZZ_CHECK(inMemory.firstWideLine == stats.firstWideLine && inMemory.wideLines == stats.wideLines);
  FUZZ_CHECK(IsStrictUtf8(korvane::utilities::WideLinesNote(stats.firstWideLine, stats.wideLines)));

  // A column list written out reads back, unless it repeats a column.
  std::string list;
  for (std::size_t i = 0; i < columns.size(); ++i) list += (i ? "," : "") + std::to_string(columns[i]);
  std::vector<int> parsed;
  if (korvane::utilities::ParsePointColumns(list, parsed)) FUZZ_CHECK(parsed == columns);
  return 0;
}
