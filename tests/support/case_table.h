#pragma once
// The one reader of the case tables under tests/data (the grammar is in
// tests/data/README.md). A table is text, one case a line; empty lines and
// lines starting with "#" are skipped, and a line
//
//   tolerance 0.1 mm
//
// states how far a computed figure may lie from the table's for every row
// after it, until the next such line. Two kinds of table:
//   - named columns: a header line naming the columns, then rows split at a
//     separator (ReadDataTable);
//   - blank-separated fields the test reads itself (ForEachTableLine).
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::testing {

// A tolerance with its unit. Lengths are kept in metres, angles in degrees;
// a tolerance written without a unit is a plain number.
class Tolerance {
 public:
  Tolerance() = default;
  // "0.1 mm", "2 sec", "1e-9"; an unknown unit or a missing value fails the
  // test that reads the table and gives a tolerance of no kind.
  static Tolerance Parse(const std::string& text);
  // The tolerance in UNIT ("m", "mm", "deg", "sec", "" for a plain number);
  // a unit of another kind fails the test and gives NaN.
  double in(std::string_view unit) const;
  bool stated() const { return kind_ != Kind::kNone; }

 private:
  enum class Kind { kNone, kNumber, kLength, kAngle };
  Kind kind_ = Kind::kNone;
  double base_ = 0;  // metres, degrees or the plain number
  std::string text_;
};

struct DataRow {
  int line = 0;
  std::vector<std::pair<std::string, std::string>> fields;
  Tolerance tolerance;  // of the last "tolerance" line above the row
  const std::string& operator[](const std::string& column) const;
  double number(const std::string& column) const { return std::stod((*this)[column]); }
};

std::string TrimField(const std::string& s);
// A cell's escapes: \n, \r, \t and \xHH (the byte HH); a backslash before
// any other character stands for that character (\" is ", \\ is \).
std::string UnescapeCell(const std::string& text);
// The whole of a file as bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);
std::vector<std::string> SplitFields(const std::string& line, char separator);

// Reads tests/data/NAME, a table with named columns. A missing file, a row
// whose field count differs from the header's and a table without cases fail
// the test.
std::vector<DataRow> ReadDataTable(const std::string& name, char separator = ',');

// Gives every case line of the table at PATH to ROW with its fields as a
// stream, and the tolerance in force to the overload that takes it; returns
// how many lines there were (-1 when the table cannot be opened).
int ForEachTableLine(const std::string& path,
                     const std::function<void(const std::string& line, std::istringstream& fields,
                                              const Tolerance& tolerance)>& row);
int ForEachTableLine(const std::string& path,
                     const std::function<void(const std::string& line, std::istringstream& fields)>& row);

// Cells typed into a grid, written ROW,COLUMN="TEXT" and joined by ";" (the
// quotes keep blanks and may hold ";"); a malformed list fails the test.
struct TypedCell {
  int row = 0, column = 0;
  std::string text;
};
std::vector<TypedCell> ReadTypedCells(const std::string& list);

}  // namespace korvane::testing
