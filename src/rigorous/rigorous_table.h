#pragma once
// The table of the weighted single-traverse adjustment as the window holds it:
// ten text columns; row 0 known-point captions, rows 1 and 2 the orientation
// point A and the start point B, row 3 station captions, one row per station
// from row 4 on, then a caption row, the end point C and the connecting
// point D. The parameter boxes travel beside it as texts.
#include <array>
#include <string>
#include <vector>

namespace korvane {

inline constexpr int kRigorousColumns = 10;
// Rows besides the station rows: four captions-and-known-point rows at the
// top, three below the stations.
inline constexpr int kRigorousFixedRows = 7;

using RigorousRow = std::array<std::string, kRigorousColumns>;

struct RigorousTable {
  std::vector<RigorousRow> cells;

  int rows() const { return static_cast<int>(cells.size()); }
  int stationCount() const { return rows() - kRigorousFixedRows; }
  // Table row of station i (1-based).
  static int stationRow(int i) { return 3 + i; }
  int endRow() const { return rows() - 2; }      // C
  int connectRow() const { return rows() - 1; }  // D
  const std::string& at(int row, int column) const { return cells[row][column]; }
  std::string& at(int row, int column) { return cells[row][column]; }
};

// The parameters beside the table, as typed (the window's boxes Text_dxbs,
// Text_cj, Text_j, Text_c and Text_tym hold them).
struct RigorousParameters {
  std::string sideCount;         // number of traverse sides
  std::string priorAngleError;   // a-priori angle error m0, seconds
  std::string additiveConstant;  // distance-meter constant a, mm
  std::string scaleConstant;     // distance-meter proportional part b, mm/km
  std::string projectionHeight;  // projection height, "N"/"n" none, "0" mean height
};

// The table at window start: the captions and one empty station row whose
// number reads "1".
RigorousTable InitialRigorousTable();
// A table with the captions and the given number of empty station rows
// (at least one), numbered with a leading blank as the row commands number them.
RigorousTable EmptyRigorousTable(int stations);
// Makes the table hold the given number of station rows (at least one):
// rows are inserted as empty rows at row 4 or removed from the top of the
// station block; the known points and the captions are kept and the stations
// renumbered.
void ResizeStations(RigorousTable& table, int stations);
// Writes " 1", " 2", ... into column 0 of the station rows and rewrites the
// captions of the rows below them.
void NumberStations(RigorousTable& table);

}  // namespace korvane
