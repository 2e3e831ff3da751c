#include "formats/traverse_file.h"

#include <algorithm>

#include "formats/line_fields.h"
#include "formats/observation_check.h"
#include "core/numbers.h"
#include "io/text_file.h"
#include "core/text_utils.h"

namespace korvane::formats {
namespace {

Message CheckText(std::string text) { return Message{std::move(text), "请检查文本", MessageIcon::Information}; }

Message TooManyStations() {
  return CheckText("文本中测站数超过" + std::to_string(kMaxTraverseFileStations) + "个，不予接受！");
}

TraverseFileLoad Refuse(Message message) {
  TraverseFileLoad load;
  load.refusal = std::move(message);
  return load;
}

}  // namespace

TraverseFileLoad LoadTraverseText(std::string_view text, TraverseKind selected, const StationRowVisitor& visit) {
  // First pass: the field count of every line up to the first empty line.
  int linesRead = 0;
  std::vector<std::string_view> head;  // the fields of line 1 and of the first station
  LineCursor lines(text);
  for (std::string_view line; lines.next(line) && !line.empty();) {
    const std::vector<std::string_view> fields = NonEmptyFields(line, kObservationColumns);
    const int count = static_cast<int>(fields.size());
    ++linesRead;
    if (linesRead == 1 && count != 2) return Refuse(CheckText("文本中第1行格式不对！"));
    if (linesRead > 1 && count != kObservationColumns)
      return Refuse(CheckText("文本中第" + StrNumber(static_cast<double>(linesRead)) + "行，列数不对"));
    if (linesRead <= 2) head.insert(head.end(), fields.begin(), fields.end());
  }
  if (head.empty()) return Refuse(Message{"此为空文本，不予接受！", "抱歉", MessageIcon::Information});
  if (linesRead < 2) return Refuse(CheckText("文本格式不对！"));
  if (linesRead - 1 > kMaxTraverseFileStations) return Refuse(TooManyStations());

  TraverseFileLoad load;
  load.kindLetter = Trim(head[0]);
  load.secondName = std::string(head[1]);
  load.firstStation = TrimLeft(head[2]);
  const auto kind = KindFromLetter(load.kindLetter);
  if (!kind || *kind != selected) {
    return Refuse(Message{"文本中导线类型输入有误或与窗体上导线类型的选择不一致！", "提醒",
                          MessageIcon::Information});
  }
  // Second pass: the station rows, straight from the text into the table or
  // one by one to the visitor.
  if (!visit) load.table.rows.resize(static_cast<std::size_t>(linesRead - 1));
  ObservationRow visited;
  LineCursor rows(text);
  std::string_view line;
  rows.next(line);
  for (int i = 0; i < linesRead - 1; ++i) {
    rows.next(line);
    ObservationRow& row = visit ? visited : load.table.rows[static_cast<std::size_t>(i)];
    const std::vector<std::string_view> fields = NonEmptyFields(line, kObservationColumns);
    for (int c = 0; c < kObservationColumns; ++c) row[c] = TrimLeft(fields[c]);
    if (visit) visit(row);
  }
  return load;
}

TraverseFileLoad LoadTraverseFile(const std::string& path, TraverseKind selected) {
  const io::TextFileRead read = io::ReadTextFile(path);
  if (!read.ok) return Refuse(Message{read.error, "请检查文本", MessageIcon::Warning});
  return LoadTraverseText(read.text, selected);
}

ObservationTable WithoutBlankTrailingRows(ObservationTable table) {
  auto blank = [](const ObservationRow& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return Trim(cell).empty(); });
  };
  while (table.rows.size() > 1 && blank(table.rows.back())) table.rows.pop_back();
  return table;
}

bool HoldsObservations(const ObservationTable& table) {
  for (const ObservationRow& row : table.rows)
    for (const std::string& cell : row)
      if (!Trim(cell).empty()) return true;
  return false;
}

namespace {

// What in a cell a data file cannot give back: a comma or a line break would
// split the line, a character outside GBK would come back as "?".
std::string UnsavableCharacter(const std::string& cell) {
  if (cell.find(',') != std::string::npos) return "含有“,”";
  if (cell.find_first_of("\r\n") != std::string::npos) return "含有换行";
  const bool ascii = std::all_of(cell.begin(), cell.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && io::DecodeGbk(io::EncodeGbk(cell)) != cell) return "含有GBK以外的字符";
  return {};
}

}  // namespace

TraverseDataLines TraverseFileLines(const ObservationTable& typed, TraverseKind kind, std::string_view loadedLetter,
                                    std::string_view loadedSecondName) {
  TraverseDataLines out;
  const ObservationTable table = WithoutBlankTrailingRows(typed);
  const int n = table.stationCount();
  auto refuse = [&](Message message) {
    out.refusal = std::move(message);
    out.lines.clear();
    return out;
  };
  if (n == 0) return refuse(*CheckObservationCell(1, 1, ""));
  out.lines.reserve(static_cast<std::size_t>(n) + 1);
  out.lines.emplace_back();
  for (int r = 1; r <= n; ++r) {
    std::string line;
    for (int c = 1; c <= kObservationColumns; ++c) {
      const std::string cell = TrimLeft(table.cell(r, c));
      if (cell.empty()) return refuse(*CheckObservationCell(r, c, cell));
      const std::string bad = UnsavableCharacter(cell);
      if (!bad.empty()) {
        return refuse(Message{"第" + std::to_string(r) + "行第" + std::to_string(c) + "列" + bad + "，无法存入数据文件！",
                              "请检查", MessageIcon::Information});
      }
      if (c > 1) line += ',';
      line += cell;
    }
    out.lines.push_back(std::move(line));
  }
  const auto letterKind = KindFromLetter(Trim(loadedLetter));
  const std::string letter = letterKind && *letterKind == kind ? Trim(loadedLetter) : std::string(1, KindLetter(kind));
  std::string second(loadedSecondName);
  if (second.empty()) {
    const bool closing = kind == TraverseKind::Connecting || kind == TraverseKind::Closed;
    second = closing ? TrimLeft(table.cell(n, 1)) : "终点";
  }
  out.lines[0] = letter + "," + second;
  return out;
}

Message NothingToSaveMessage() { return Message{"未计算，没有结果！", "提示", MessageIcon::Information}; }

std::string SaveResultsText(const std::string& path, std::string_view paneText) {
  std::string text(paneText);
  text += "\n";
  return io::WriteTextFile(path, text);
}

std::string SaveResultsLines(const std::string& path, const std::vector<std::string>& lines) {
  return io::WriteLinesAtomically(path, lines, "\r\n");
}

}  // namespace korvane::formats
