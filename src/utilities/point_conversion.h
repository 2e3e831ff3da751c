#pragma once
// Conversion of total-station point files: every record is a line of
// comma-separated fields; the chosen columns are written out in the chosen
// order, after a line with the number of records.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::utilities {

constexpr int kPointFieldsRead = 6;   // fields taken from a record
constexpr int kPointColumns = 5;      // fields that can be output ("1" to "5")
constexpr int kCountLineMaxChars = 7; // a first line this short is a record count

// The columns "1" to "5" in their natural order.
std::vector<int> DefaultPointColumns();

// True when the first line is a record count rather than a record: it has
// fewer than eight characters.
bool IsCountLine(std::string_view firstLine);

// Position of the first CR or LF at or after `from`, or npos.
std::size_t FindLineBreak(std::string_view text, std::size_t from);

// The next line of a text (line ends LF, CR LF or CR); false at the end of
// the text or at the first empty line, where reading stops.
bool NextRecordLine(std::string_view& rest, std::string_view& line);

// Converts records one after the other. The current value is carried from
// field to field and from line to line: an empty field repeats the last
// non-empty field read before it.
class PointConverter {
 public:
  PointConverter(std::vector<int> columns, std::string lineEnd);

  // The count line that heads the output: the records after a count line,
  // or all lines when the first line is a record.
  std::string CountLine(std::int64_t linesRead, bool hasCountLine) const;
  // Reads line number `lineNumber` (1-based) and, when `output`, appends its
  // output line to `out`.
  void Take(std::string_view line, std::int64_t lineNumber, bool output, std::string& out);

  // Lines with more than six fields: the first one and how many.
  std::int64_t firstWideLine() const { return firstWideLine_; }
  std::int64_t wideLines() const { return wideLines_; }

 private:
  std::vector<int> columns_;
  std::string lineEnd_;
  std::string carried_;  // the current value at the end of the last line
  std::string_view fields_[kPointFieldsRead];
  std::int64_t firstWideLine_ = 0;
  std::int64_t wideLines_ = 0;
};

struct PointConversion {
  std::string text;              // the count line and the output lines
  std::int64_t linesRead = 0;    // lines up to the first empty line
  std::int64_t firstWideLine = 0;
  std::int64_t wideLines = 0;
};

// Converts a whole text (the window's source pane).
PointConversion ConvertPointText(std::string_view text, const std::vector<int>& columns,
                                 std::string_view lineEnd = "\n");

// The status-bar note on records with more than six fields; empty when none.
std::string WideLinesNote(std::int64_t firstWideLine, std::int64_t wideLines);

// Reads a column list such as "3,2,1": numbers 1 to 5, each at most once.
// Returns false for anything else.
bool ParsePointColumns(std::string_view text, std::vector<int>& columns);

}  // namespace korvane::utilities
