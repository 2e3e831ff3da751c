#include "traverse_file.h"

#include "numbers.h"
#include "text_file.h"
#include "text_utils.h"

namespace korvane {
namespace {

Message CheckText(std::string text) { return Message{std::move(text), "请检查文本", MessageIcon::Information}; }

TraverseFileLoad Refuse(Message message) {
  TraverseFileLoad load;
  load.refusal = std::move(message);
  return load;
}

std::string KindTitle(TraverseKind kind) {
  switch (kind) {
    case TraverseKind::Connecting: return "  附合导线计算：";
    case TraverseKind::Closed: return "  闭合导线计算：";
    case TraverseKind::Open: return "  支导线计算：";
    case TraverseKind::NoOrientation: return "  无定向导线计算：";
  }
  return {};
}

}  // namespace

TraverseFileLoad LoadTraverseText(std::string_view text, TraverseKind selected) {
  // Every non-empty field of every line, in file order, as the staging list.
  std::vector<std::string> fields;
  int linesRead = 0;
  for (const std::string& line : SplitLines(text)) {
    if (line.empty()) break;
    int count = 0;
    for (const std::string& field : Split(line, ',')) {
      if (field.empty()) continue;
      fields.push_back(field);
      ++count;
    }
    ++linesRead;
    if (linesRead == 1 && count != 2) return Refuse(CheckText("文本中第1行格式不对！"));
    if (linesRead > 1 && count != kObservationColumns)
      return Refuse(CheckText("文本中第" + StrNumber(static_cast<double>(linesRead)) + "行，列数不对"));
  }
  if (fields.empty())
    return Refuse(Message{"此为空文本，不予接受！", "抱歉", MessageIcon::Information});
  if (linesRead < 2) return Refuse(CheckText("文本格式不对！"));

  TraverseFileLoad load;
  load.kindLetter = Trim(fields[0]);
  load.secondName = fields[1];
  const std::string firstStation = fields.size() > 2 ? TrimLeft(fields[2]) : std::string();
  const auto kind = KindFromLetter(load.kindLetter);
  if (!kind || *kind != selected) {
    return Refuse(Message{"文本中导线类型输入有误或与窗体上导线类型的选择不一致！", "提醒",
                          MessageIcon::Information});
  }
  const std::string& otherEnd = selected == TraverseKind::Closed ? firstStation : load.secondName;
  load.titleLabel = firstStation + "(至)" + otherEnd + KindTitle(selected);

  const int stations = linesRead - 1;
  load.table.rows.resize(static_cast<std::size_t>(stations));
  for (int i = 0; i < stations; ++i)
    for (int c = 0; c < kObservationColumns; ++c)
      load.table.rows[i][c] = TrimLeft(fields[2 + static_cast<std::size_t>(i) * kObservationColumns + c]);
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

}  // namespace korvane
