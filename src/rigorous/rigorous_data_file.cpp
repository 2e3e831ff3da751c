#include "rigorous/rigorous_data_file.h"

#include <vector>

#include "core/numbers.h"
#include "core/text_file.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

Message LineMessage(int line) {
  const std::string number = std::to_string(line);
  return {"文本中第" + number + "行格式不对！", "请检查第" + number + "行", MessageIcon::Information};
}

// A field of more than eight characters: a number is kept with four decimals
// and every integer digit; any other text is kept whole.
std::string LongField(const std::string& field) {
  const std::string trimmed = Trim(field);
  if (CharCount(trimmed) <= 8) return field;
  if (IsNumericCell(trimmed) == CellCheck::Valid) return FormatFixed(ParseLenient(trimmed), "#0.0000");
  return trimmed;
}

// The box text of a number read from the file: empty when it is 0.
std::string BoxNumber(const std::string& field) {
  const double value = ParseLenient(field);
  return value == 0 ? std::string() : StrNumber(value);
}

// The parameter line's text of a box: " 0" for a zero or empty box, else a
// blank before the text.
std::string SavedBox(const std::string& text) {
  if (ParseLenient(text) == 0) return " 0";
  return " " + Trim(text);
}

std::string SavedCell(const std::string& text) { return Trim(text).empty() ? std::string("  0") : text; }

}  // namespace

RigorousFileLoad LoadRigorousText(std::string_view text) {
  RigorousFileLoad load;
  load.table = InitialRigorousTable();

  // The data end at the first empty line.
  std::vector<std::string> lines;
  for (std::string& line : SplitLines(text)) {
    if (line.empty()) break;
    lines.push_back(std::move(line));
  }
  const int count = static_cast<int>(lines.size());

  // Every non-empty field in file order; each line must hold its number of
  // fields, so that a missing field never shifts the cells after it.
  std::vector<std::string> fields;
  fields.reserve(lines.size() * 9);
  for (int k = 0; k < count; ++k) {
    int present = 0;
    for (const std::string& field : Split(lines[k], ',')) {
      if (field.empty()) continue;
      fields.push_back(LongField(field));
      ++present;
    }
    const int expected = k == 0 ? 5 : k <= 4 ? 4 : 9;
    if (present != expected) {
      load.refusal = LineMessage(k + 1);
      return load;
    }
  }
  if (fields.empty() || Trim(fields[0]).empty()) {
    load.refusal = Message{"此为空文本，不予接受！", "抱歉", MessageIcon::Information};
    return load;
  }
  // The four known points must all be there.
  if (count < 5) {
    load.refusal = LineMessage(count + 1);
    return load;
  }

  const int stations = count - 5;
  const int sides = std::max(stations - 1, 0);
  load.params.sideCount = StrNumber(static_cast<double>(sides));
  if (ParseLenient(fields[0]) != sides) {
    load.notice = "告示：您错输导线边数 " + fields[0] + "，程序已修正为" + load.params.sideCount + "！";
  }
  ResizeStations(load.table, stations);
  load.params.priorAngleError = BoxNumber(fields[1]);
  load.params.additiveConstant = BoxNumber(fields[2]);
  load.params.scaleConstant = BoxNumber(fields[3]);
  load.params.projectionHeight = Trim(fields[4]);

  RigorousTable& t = load.table;
  std::size_t next = 5;
  for (int row : {1, 2, t.endRow(), t.connectRow()}) {
    for (int c = 1; c <= 4; ++c) t.at(row, c) = fields[next++];
  }
  for (int i = 1; i <= stations; ++i) {
    for (int c = 1; c <= 9; ++c) t.at(RigorousTable::stationRow(i), c) = fields[next++];
  }
  return load;
}

RigorousFileLoad LoadRigorousFile(const std::string& path, std::string& error) {
  const TextFileRead read = ReadTextFile(path);
  if (!read.ok) {
    error = read.error.empty() ? "cannot read " + path : read.error;
    RigorousFileLoad load;
    load.table = InitialRigorousTable();
    return load;
  }
  error.clear();
  return LoadRigorousText(read.text);
}

std::string RigorousDataText(const RigorousTable& table, const RigorousParameters& params) {
  std::string text;
  text += SavedBox(params.sideCount) + "," + SavedBox(params.priorAngleError) + "," +
          SavedBox(params.additiveConstant) + "," + SavedBox(params.scaleConstant) + ",";
  const std::string projection = Trim(params.projectionHeight);
  if (projection == "N" || projection == "n") {
    text += " " + projection;
  } else {
    text += " " + StrNumber(ParseLenient(params.projectionHeight));
  }
  text += "\n";
  auto writeRow = [&](int row, int lastColumn) {
    for (int c = 1; c <= lastColumn; ++c) {
      text += SavedCell(table.at(row, c));
      text += c < lastColumn ? "," : "\n";
    }
  };
  for (int row : {1, 2, table.endRow(), table.connectRow()}) writeRow(row, 4);
  for (int i = 1; i <= table.stationCount(); ++i) writeRow(RigorousTable::stationRow(i), 9);
  text += "\n";
  return text;
}

std::string SaveRigorousFile(const std::string& path, const RigorousTable& table,
                             const RigorousParameters& params) {
  return WriteTextFile(path, RigorousDataText(table, params));
}

}  // namespace korvane
