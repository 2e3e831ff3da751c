#include "traverse_file.h"

#include "line_fields.h"
#include "numbers.h"
#include "text_file.h"
#include "text_utils.h"

namespace korvane {
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
  const TextFileRead read = ReadTextFile(path);
  if (!read.ok) return Refuse(Message{read.error, "请检查文本", MessageIcon::Warning});
  return LoadTraverseText(read.text, selected);
}

Message NothingToSaveMessage() { return Message{"未计算，没有结果！", "提示", MessageIcon::Information}; }

std::string SaveResultsText(const std::string& path, std::string_view paneText) {
  std::string text(paneText);
  text += "\n";
  return WriteTextFile(path, text);
}

std::string SaveResultsLines(const std::string& path, const std::vector<std::string>& lines) {
  return WriteLinesAtomically(path, lines, "\r\n");
}

}  // namespace korvane
