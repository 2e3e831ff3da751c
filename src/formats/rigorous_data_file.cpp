#include "formats/rigorous_data_file.h"

#include <vector>

#include "formats/line_fields.h"
#include "core/numbers.h"
#include "io/text_file.h"
#include "core/text_utils.h"

namespace korvane::formats {
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

// The box text of a number read from the file: empty when it is 0. A field
// of more than eight characters keeps four decimals, as a long number does,
// also when text follows the number, so that the box saved and read again
// holds the same value.
std::string BoxNumber(const std::string& field) {
  double value = ParseLenient(field);
  if (CharCount(Trim(field)) > 8) value = RoundFixed(value, "#0.0000");
  return value == 0 ? std::string() : StrNumber(value);
}

// The projection height's box text: "N" (no projection) or a short field as
// it is; a longer field keeps four decimals of its number, as BoxNumber does.
std::string ProjectionText(const std::string& field) {
  const std::string trimmed = Trim(field);
  if (trimmed == "N" || trimmed == "n" || CharCount(trimmed) <= 8) return trimmed;
  return FormatFixed(ParseLenient(trimmed), "#0.0000");
}

// The parameter line's text of a box: " 0" for a zero or empty box, else a
// blank before the text as it stands (a box holding " 5" gives "  5").
std::string SavedBox(const std::string& text) {
  if (ParseLenient(text) == 0) return " 0";
  return " " + text;
}

std::string SavedCell(const std::string& text) { return Trim(text).empty() ? std::string("  0") : text; }

// The data end at the first empty line. Each line must hold its number of
// fields, so that a missing field never shifts the cells after it; `count`
// receives the number of lines.
std::optional<Message> CheckLines(std::string_view text, int& count) {
  count = 0;
  bool firstFieldBlank = true;
  LineCursor lines(text);
  for (std::string_view line; lines.next(line) && !line.empty(); ++count) {
    const std::size_t expected = count == 0 ? 5 : count <= 4 ? 4 : 9;
    const std::vector<std::string_view> present = NonEmptyFields(line, expected);
    if (present.size() != expected) return LineMessage(count + 1);
    if (count == 0) firstFieldBlank = Trim(present[0]).empty();
  }
  if (count == 0 || firstFieldBlank) return Message{"此为空文本，不予接受！", "抱歉", MessageIcon::Information};
  // The four known points must all be there.
  if (count < 5) return LineMessage(count + 1);
  if (count - 5 > kMaxFileStations)
    return Message{"文本中测站数超过" + std::to_string(kMaxFileStations) + "个，不予接受！", "抱歉",
                   MessageIcon::Information};
  return std::nullopt;
}

}  // namespace

RigorousFileLoad LoadRigorousText(std::string_view text) {
  RigorousFileLoad load;
  load.table = InitialRigorousTable();

  int count = 0;
  if (auto refusal = CheckLines(text, count)) {
    load.refusal = refusal;
    return load;
  }

  // Every field in file order, read line by line from the text.
  LineCursor reread(text);
  std::string_view line;
  auto lineFields = [&](std::size_t expected) {
    reread.next(line);
    std::vector<std::string> fields;
    for (std::string_view field : NonEmptyFields(line, expected)) fields.push_back(LongField(std::string(field)));
    return fields;
  };
  const int stations = count - 5;
  const int sides = std::max(stations - 1, 0);
  load.params.sideCount = StrNumber(static_cast<double>(sides));
  const std::vector<std::string> parameters = lineFields(5);
  if (ParseLenient(parameters[0]) != sides) {
    load.notice = "告示：您错输导线边数 " + parameters[0] + "，程序已修正为" + load.params.sideCount + "！";
  }
  load.params.priorAngleError = BoxNumber(parameters[1]);
  load.params.additiveConstant = BoxNumber(parameters[2]);
  load.params.scaleConstant = BoxNumber(parameters[3]);
  load.params.projectionHeight = ProjectionText(parameters[4]);

  // Each row is packed once, straight into room set aside for all of them,
  // with its caption or its station number (" 1", " 2", ...) in column 0.
  RigorousTable& t = load.table;
  t.insertRows(RigorousTable::stationRow(2), std::max(stations, 1) - 1);
  t.reserveText(text.size() + 8 * static_cast<std::size_t>(stations));
  auto fillRow = [&](int row, std::size_t count, std::string first) {
    const std::vector<std::string> fields = lineFields(count);
    RigorousRow texts{};
    texts[0] = std::move(first);
    for (std::size_t c = 1; c <= count; ++c) texts[c] = fields[c - 1];
    t.setRow(row, texts);
  };
  for (int row : {1, 2, t.endRow(), t.connectRow()}) fillRow(row, 4, t.at(row, 0));
  for (int i = 1; i <= stations; ++i) fillRow(RigorousTable::stationRow(i), 9, StrNumber(static_cast<double>(i)));
  if (stations == 0) t.at(RigorousTable::stationRow(1), 0) = StrNumber(1.0);
  return load;
}

RigorousFileLoad LoadRigorousFile(const std::string& path, std::string& error) {
  const io::TextFileRead read = io::ReadTextFile(path);
  if (!read.ok) {
    error = read.error.empty() ? "无法读取文件：" + path : read.error;
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
  return io::WriteTextFile(path, RigorousDataText(table, params));
}

}  // namespace korvane::formats
