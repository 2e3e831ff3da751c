#pragma once
// The traverse data file of the simple adjustment: a first line with the kind
// letter and a second name, then nine comma-separated fields per station; and
// the saving of a results table.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "formats/observation_table.h"
#include "formats/traverse_kind.h"

namespace korvane::formats {

// Most stations a traverse data file may hold: the batch program reads them
// within its memory bound (a fixed start-up plus ten times the file's size).
inline constexpr int kMaxTraverseFileStations = 1000000;

struct TraverseFileLoad {
  std::optional<Message> refusal;  // set when the file is not accepted
  ObservationTable table;          // the stations, cells with leading blanks removed
  std::string kindLetter;          // line 0 of the field list, trimmed
  std::string secondName;          // line 1: the end point's name for open and no-orientation kinds
  std::string firstStation;        // the first station's name, leading blanks removed
};

// Receives the station rows of an accepted file in order, one at a time.
using StationRowVisitor = std::function<void(const ObservationRow&)>;

// Loads the text of a data file for the kind selected in the window. On a
// refusal nothing else in the result is meaningful. With a visitor the rows
// go to it (after the whole file has been accepted) instead of into the table.
TraverseFileLoad LoadTraverseText(std::string_view text, TraverseKind selected,
                                  const StationRowVisitor& visit = {});
// Reads the file (GBK or UTF-8) and loads it; an unreadable file is a refusal.
TraverseFileLoad LoadTraverseFile(const std::string& path, TraverseKind selected);

// The stations without the blank rows at their end (every cell blank or
// empty), such as a row opened by moving on past the last cell; the first row
// is always kept, so that a blank table is named by its first cell.
ObservationTable WithoutBlankTrailingRows(ObservationTable table);
// Whether any station cell holds more than blanks.
bool HoldsObservations(const ObservationTable& table);

struct TraverseDataLines {
  std::optional<Message> refusal;  // the first cell that cannot be saved
  std::vector<std::string> lines;  // without line breaks
};

// The lines of the data file that reads back into the table: the kind letter
// and the second name, then the nine cells of each station joined by ",",
// leading blanks removed as reading removes them. The letter and the second
// name are those the table was loaded with when given; otherwise the kind's
// letter, and the last station's name for the connecting and closed kinds or
// "终点" for the others. Blank rows at the end are left out. An empty cell is
// refused with the compute check's message, and so is a cell holding what a
// data file cannot hold (a comma, a line break, a character outside GBK).
TraverseDataLines TraverseFileLines(const ObservationTable& table, TraverseKind kind,
                                    std::string_view loadedLetter = {}, std::string_view loadedSecondName = {});

// Refusal shown when the results pane is empty.
Message NothingToSaveMessage();
// Writes the results text followed by one line break, replacing the file
// (GBK, CR LF). Returns an empty string on success, otherwise the reason.
std::string SaveResultsText(const std::string& path, std::string_view paneText);
// The same for the lines of a results table (the pane shows each followed by
// a line break), without joining them first.
std::string SaveResultsLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace korvane::formats
