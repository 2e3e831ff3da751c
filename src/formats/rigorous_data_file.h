#pragma once
// The data file of the weighted adjustment: a parameter line (number of
// sides, m0, a, b, projection height), the four known points A, B, C, D
// (name, X, Y, H) and one line of nine fields per station, comma-separated,
// ended by an empty line.
#include <optional>
#include <string>
#include <string_view>

#include "core/message.h"
#include "formats/rigorous_table.h"

namespace korvane::formats {

struct RigorousFileLoad {
  std::optional<Message> refusal;  // the file is not accepted
  RigorousTable table;             // the filled table
  RigorousParameters params;       // the filled parameter boxes
  // Shown in the notice label when the number of sides in the file was wrong.
  std::string notice;
  bool ok() const { return !refusal.has_value(); }
};

// Fills a fresh table from the text of a data file.
RigorousFileLoad LoadRigorousText(std::string_view text);
// Reads the file (GBK or UTF-8) and loads it; an unreadable file is reported
// with its reason in `error`, not as a refusal.
RigorousFileLoad LoadRigorousFile(const std::string& path, std::string& error);

// The text the window saves: lines separated by "\n" (the file gets CR LF),
// ended by one empty line.
std::string RigorousDataText(const RigorousTable& table, const RigorousParameters& params);
// Writes the data file in GBK with CR LF, replacing an existing file.
// Returns an empty string on success, otherwise the reason.
std::string SaveRigorousFile(const std::string& path, const RigorousTable& table,
                             const RigorousParameters& params);

}  // namespace korvane::formats
