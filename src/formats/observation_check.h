#pragma once
// The check every observation cell passes before a computation: present,
// numeric, and a value that is an angle or a distance at all.
#include <optional>
#include <string>

#include "core/message.h"

namespace korvane::formats {

// Longest distance (metres, exclusive) and largest height magnitude that an
// observation may hold.
inline constexpr double kLongestDistance = 100000.0;
inline constexpr double kLargestHeight = 100000.0;

// Whether the number typed in observation column `column` (2 horizontal
// angle, 3 distance, 4/5/7/8 instrument and target heights, 6/9 vertical
// angles) can be computed with: an angle in DMS notation with minutes and
// seconds below 60, a horizontal angle below 360° and a vertical angle below
// 90° in magnitude after the DMS split, a distance finite, ≥ 0 and
// below 100,000 m, a height finite and below 100,000 m in magnitude.
bool IsUsableObservation(int column, double value);

// The refusal for the cell at (row, column) with the given text, or nothing
// when the cell is usable. `row` and `column` are the numbers the message
// names: "第N行第M未输入数据！" for an empty cell, "第N行第M列数据输入有误！"
// for one that is not a number or not a usable value.
std::optional<Message> CheckObservationCell(int row, int column, const std::string& text);

// The cell a refusal of CheckObservationCell names, read back from its text,
// so that the window can put the surveyor on it; nothing for other texts.
struct NamedCell {
  int row = 0;
  int column = 0;
};
std::optional<NamedCell> CellNamedBy(const std::string& text);

}  // namespace korvane::formats
