#include "geodesy/gauss_point_list.h"

#include "formats/line_fields.h"
#include "io/atomic_output.h"
#include "core/message_text.h"
#include "io/text_file.h"
#include "core/text_utils.h"

namespace korvane::geodesy {
namespace {

const char* const kFileTitle = "请检查";

Message FileMessage(std::string text) { return Message{std::move(text), kFileTitle, MessageIcon::Warning}; }

// The fields of a line: comma-separated when it holds a comma, else
// separated by blanks and tabs.
std::vector<std::string> LineFields(std::string_view line) {
  std::string text(line);
  for (std::size_t pos = text.find("，"); pos != std::string::npos; pos = text.find("，", pos))
    text.replace(pos, 3, ",");
  std::vector<std::string> fields;
  if (text.find(',') != std::string::npos) {
    for (const std::string& field : Split(text, ',')) fields.push_back(Trim(field));
    return fields;
  }
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = text.find_first_not_of(" \t", pos);
    if (start == std::string::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    fields.push_back(text.substr(start, end - start));
    pos = end;
  }
  return fields;
}

// One line converted into `out`; a refusal names the line.
std::optional<Message> ConvertLine(std::string_view line, std::int64_t number, const Settings& settings,
                                   std::string& out, bool& unusable) {
  const std::vector<std::string> fields = LineFields(line);
  if (fields.size() < 3 || fields[0].empty()) {
    unusable = true;
    return BadListLine(number);
  }
  const Solution s = Solve(settings, fields[1], fields[2]);
  if (s.refusal) {
    unusable = s.unreadable;
    Message m = *s.refusal;
    m.text = "第" + std::to_string(number) + "行（" + Quoted(fields[0]) + "）：" + m.text;
    return m;
  }
  out = fields[0] + "," + s.first + "," + s.second;
  for (std::size_t i = 3; i < fields.size(); ++i) out += "," + fields[i];
  return std::nullopt;
}

}  // namespace

Message BadListLine(std::int64_t number) {
  return Message{"坐标文件第" + std::to_string(number) + "行格式不对！", "请检查文本", MessageIcon::Warning};
}

ListResult ConvertPointList(std::string_view text, const Settings& settings) {
  ListResult r;
  formats::LineCursor cursor(text);
  std::string_view line;
  for (std::int64_t number = 1; cursor.next(line); ++number) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    std::string out;
    if ((r.refusal = ConvertLine(trimmed, number, settings, out, r.unusable))) {
      r.lines.clear();
      r.points = 0;
      return r;
    }
    r.lines.push_back(std::move(out));
    ++r.points;
  }
  if (r.points == 0) {
    r.refusal = FileMessage("文件中没有点！");
    r.unusable = true;
  }
  return r;
}

ListResult ConvertPointListFile(const std::string& input, const std::string& output,
                                const Settings& settings) {
  if (std::optional<Message> refusal = io::DestinationRefusal(output, {input})) {
    ListResult r;
    r.refusal = std::move(refusal);
    r.unusable = true;
    return r;
  }
  const io::TextFileRead read = io::ReadTextFile(input, kMaxPointListBytes);
  if (!read.ok) {
    ListResult r;
    r.refusal = FileMessage(read.error);
    r.unusable = true;
    return r;
  }
  ListResult r = ConvertPointList(read.text, settings);
  if (r.refusal) return r;
  if (const std::string error = io::WriteLinesAtomically(output, r.lines); !error.empty()) {
    r.refusal = FileMessage("结果无法保存：" + output + "\n" + error);
    r.unusable = true;
  }
  return r;
}

}  // namespace korvane::geodesy
