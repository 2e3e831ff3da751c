#pragma once
// The levelling data file: comma-separated lines, blank lines and lines
// starting with "#" ignored,
//   PARAM, L|n, 二等|三等|四等|五等|图根, 平地|山地
//   BM, name, H                 a known benchmark (m)
//   SEC, from, to, dh, L_or_n   an observed height difference (m) and the
//                               section's length (km) or number of set-ups
// read as GBK or UTF-8 and written in GBK with CR LF.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "formats/level_data.h"

namespace korvane::formats {

// Largest levelling data file read, and most benchmarks or sections it holds.
inline constexpr std::uintmax_t kMaxLevelFileBytes = 4ull * 1024 * 1024;
inline constexpr std::size_t kMaxLevelRecords = 20000;
// Bounds of the values read, beyond which a figure cannot be a levelling observation.
inline constexpr double kMaxHeight = 10000;      // |H| and |dh|, m
inline constexpr double kMaxLengthKm = 10000;    // section length
inline constexpr double kMaxSetUps = 1000000;    // section set-ups

struct LevelFileLoad {
  std::optional<Message> refusal;  // names the line and what is wrong with it
  LevelData data;
  bool ok() const { return !refusal.has_value(); }
};

// Reads the text of a data file. Without a PARAM line the parameters are
// L, 四等, 平地.
LevelFileLoad ParseLevelText(std::string_view text);
// Reads the file (a regular file within the size bound); an unreadable file
// is reported with its reason in `error`, not as a refusal.
LevelFileLoad LoadLevelFile(const std::string& path, std::string& error);

// The data typed into the window's tables, cells as typed: benchmarks (name,
// H) and sections (from, to, dh, L or n). Rows left empty are skipped; a
// refusal names the table, the row and what is wrong.
LevelFileLoad DataFromTables(const Parameters& params, const std::vector<std::vector<std::string>>& benchmarks,
                             const std::vector<std::vector<std::string>>& sections);

// The file's text (lines separated by "\n"): a heading comment, the PARAM
// line, the benchmarks and the sections.
std::string LevelDataText(const LevelData& data);
// Writes the file in GBK with CR LF through the atomic writer; returns an
// empty string on success, otherwise the reason.
std::string SaveLevelFile(const std::string& path, const LevelData& data);

// Reads one figure as the file does: a plain decimal number, nothing else.
std::optional<double> ReadFigure(std::string_view text);

}  // namespace korvane::formats
