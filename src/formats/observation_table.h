#pragma once
// The traverse observation table: one row per station with nine text cells
// (name, horizontal angle, distance, forward instrument height, target height,
// vertical angle, back instrument height, target height, vertical angle).
#include <array>
#include <string>
#include <vector>

namespace korvane::formats {

inline constexpr int kObservationColumns = 9;

// Cells 0..8 hold the grid's columns 1..9 as typed.
using ObservationRow = std::array<std::string, kObservationColumns>;

struct ObservationTable {
  std::vector<ObservationRow> rows;  // station rows 1..n in order
  int stationCount() const { return static_cast<int>(rows.size()); }
  // Text of grid cell (row, column) with row 1..n and column 1..9.
  const std::string& cell(int row, int column) const { return rows[row - 1][column - 1]; }
};

}  // namespace korvane::formats
