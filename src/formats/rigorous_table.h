#pragma once
// The table of the weighted single-traverse adjustment as the window holds it:
// ten text columns; row 0 known-point captions, rows 1 and 2 the orientation
// point A and the start point B, row 3 station captions, one row per station
// from row 4 on, then a caption row, the end point C and the connecting
// point D. The parameter boxes travel beside it as texts.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::formats {

inline constexpr int kRigorousColumns = 10;
// Rows besides the station rows: four captions-and-known-point rows at the
// top, three below the stations.
inline constexpr int kRigorousFixedRows = 7;

// One row's ten texts, as the captions are written.
using RigorousRow = std::array<std::string, kRigorousColumns>;

class RigorousTable {
 public:
  // A cell of a table that may be changed: assigning text replaces the cell,
  // reading it gives a copy of the text.
  class Cell {
   public:
    Cell(RigorousTable& table, int row, int column) : table_(table), row_(row), column_(column) {}
    Cell& operator=(std::string_view text) {
      table_.set(row_, column_, text);
      return *this;
    }
    Cell& operator=(const Cell& other) { return *this = std::string_view(other.str()); }
    std::string str() const { return std::as_const(table_).at(row_, column_); }
    operator std::string() const { return str(); }
    friend bool operator==(const Cell& cell, std::string_view text) { return cell.str() == text; }

   private:
    RigorousTable& table_;
    int row_, column_;
  };

  int rows() const { return static_cast<int>(rowStart_.size()); }
  int stationCount() const { return rows() - kRigorousFixedRows; }
  // Table row of station i (1-based).
  static int stationRow(int i) { return 3 + i; }
  int endRow() const { return rows() - 2; }      // C
  int connectRow() const { return rows() - 1; }  // D

  std::string at(int row, int column) const { return std::string(view(row, column)); }
  // The name typed for station i of the results, counted from 0.
  std::string stationName(int i) const { return at(stationRow(i + 1), 1); }
  Cell at(int row, int column) { return Cell(*this, row, column); }
  // The text of a cell, valid until the table is next changed.
  std::string_view view(int row, int column) const;
  void set(int row, int column, std::string_view text);
  void setRow(int row, const RigorousRow& texts);

  // Inserts empty rows before `row`, or removes rows from `row` on.
  void insertRows(int row, int count);
  void eraseRows(int row, int count);
  // Empty rows are appended, or rows removed from the end.
  void resizeRows(int rows);
  // Sets room aside for about that many more bytes of packed rows, so that
  // filling a large table does not copy it as it grows.
  void reserveText(std::size_t bytes) { pool_.reserve(pool_.size() + bytes); }

  bool operator==(const RigorousTable& other) const;

 private:
  std::string_view packedRow(int row) const;
  void replaceRow(int row, std::string_view packed);
  void appendEmptyRow();

  // The rows' cells packed one after the other into one text: a cell is its
  // length (one byte, or 0xFF followed by four bytes for a longer text) and
  // then its text, so that a table of thousands of stations holds little
  // more than its texts. A changed row is packed anew at the end; the space
  // of replaced rows is reclaimed once it is half the text.
  std::string pool_;
  std::vector<std::size_t> rowStart_;
  std::size_t replaced_ = 0;
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

}  // namespace korvane::formats
