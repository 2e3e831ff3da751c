#pragma once
// Total-station point files read as a stream, up to the first empty line:
// GBK or UTF-8 (with or without a byte-order mark), one record per line.
// Only regular files are read, lines are bounded, memory stays small
// whatever the size of the file.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::utilities {

constexpr std::size_t kMaxPointLineBytes = 1 << 20;

struct PointFileStats {
  std::int64_t linesRead = 0;  // lines up to the first empty line
  std::int64_t firstWideLine = 0;
  std::int64_t wideLines = 0;
};

// Receives output text; false stops the conversion (a write failed).
using TextSink = std::function<bool(std::string_view text)>;

// True when the text holds no byte above 0x7F (GBK and UTF-8 agree on it).
bool IsAsciiText(std::string_view bytes);

// Reads the lines up to the first empty line as UTF-8 text, each followed by
// "\n". Files larger than maxBytes are refused. Returns an empty string on
// success, otherwise the reason.
std::string ReadPointLines(const std::string& path, std::int64_t maxBytes, std::string& text,
                           std::int64_t& lines);

// Converts a point file record by record, handing the output (UTF-8, lines
// ending in lineEnd) to the sink in pieces. Returns an empty string on
// success, otherwise the reason.
std::string ConvertPointFile(const std::string& path, const std::vector<int>& columns,
                             const std::string& lineEnd, const TextSink& sink,
                             PointFileStats& stats);

}  // namespace korvane::utilities
