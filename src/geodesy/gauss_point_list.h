#pragma once
// A list of points converted by the Gauss–Krüger projection: one point a
// line, its name and two values (B, L in DMS notation, or X, Y in metres),
// separated by commas (also "，") or, without commas, by blanks. Fields after
// the two values (a height, a code) are carried over unchanged. Empty lines
// and lines beginning with "#" are skipped. The output has the same form, so
// a converted list reads back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "geodesy/gauss_kruger.h"

namespace korvane::geodesy {

// Largest point list read (16 MiB, itself accepted).
inline constexpr std::uintmax_t kMaxPointListBytes = 16ull * 1024 * 1024;

struct ListResult {
  std::optional<Message> refusal;
  // The file or one of its lines cannot be read, as opposed to a point the
  // projection refuses.
  bool unusable = false;
  std::vector<std::string> lines;  // the converted lines, comma-separated
  std::int64_t points = 0;
};

// A line that is no point of a list: "坐标文件第N行格式不对！", title "请检查文本".
Message BadListLine(std::int64_t number);

// Converts a whole list; the first line that cannot be read or computed
// refuses the list, naming its line number.
ListResult ConvertPointList(std::string_view text, const Settings& settings);
// Reads a regular file of at most kMaxPointListBytes (GBK or UTF-8),
// converts it and replaces `output` atomically (GBK, CR LF). Nothing is
// written when the list is refused.
ListResult ConvertPointListFile(const std::string& input, const std::string& output,
                                const Settings& settings);

}  // namespace korvane::geodesy
