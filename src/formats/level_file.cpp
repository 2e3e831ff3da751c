#include "formats/level_file.h"

#include <cmath>
#include <set>
#include <vector>

#include "core/numbers.h"
#include "formats/line_fields.h"
#include "core/message_text.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "core/typed_values.h"

namespace korvane::formats {
namespace {

constexpr int kMaxNameChars = 64;

Message LineError(const std::string& place, int line, const std::string& why) {
  return {place + "第" + std::to_string(line) + "行：" + why, place.empty() ? "数据文件有误" : "数据输入有误",
          MessageIcon::Warning};
}

// The line's fields, trimmed; empty fields at its end are dropped.
std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  for (const std::string& piece : Split(line, ',')) fields.push_back(Trim(piece));
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

// A size beyond the bound of lengths is only possible for set-ups.
std::optional<Message> CheckLengths(const LevelData& data) {
  if (data.params.weighting == Weighting::Length)
    for (const Section& s : data.sections)
      if (s.size > kMaxLengthKm)
        return Message{"测段" + s.from + "—" + s.to + "的长度超过10000km", "数据有误", MessageIcon::Warning};
  return std::nullopt;
}

class Reader {
 public:
  explicit Reader(std::string place = {}) : place_(std::move(place)) {}
  std::optional<Message> line(int number, std::string_view text);
  std::optional<Message> benchmark(int n, const std::vector<std::string>& f);
  std::optional<Message> section(int n, const std::vector<std::string>& f);
  std::optional<Message> finish();
  LevelData data;

 private:
  Message error(int n, const std::string& why) const { return LineError(place_, n, why); }
  std::optional<Message> param(int n, const std::vector<std::string>& f);
  std::optional<Message> name(int n, const std::string& text, const char* what);
  bool paramSeen_ = false;
  std::set<std::string> benchmarkNames_;
  std::string place_;  // the table a row belongs to, empty for a file
};

std::optional<Message> Reader::line(int number, std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty() || trimmed[0] == '#') return std::nullopt;
  const std::vector<std::string> f = Fields(trimmed);
  const std::string tag = f.empty() ? std::string() : ToLowerAscii(f[0]);
  if (tag == "param") return param(number, f);
  if (tag == "bm") return benchmark(number, f);
  if (tag == "sec") return section(number, f);
  return error(number, "行首应为PARAM、BM或SEC");
}

std::optional<Message> Reader::name(int n, const std::string& text, const char* what) {
  if (text.empty()) return error(n, std::string(what) + "为空");
  if (CharCount(text) > kMaxNameChars)
    return error(n, std::string(what) + "超过" + std::to_string(kMaxNameChars) + "个字符");
  return std::nullopt;
}

std::optional<Message> Reader::param(int n, const std::vector<std::string>& f) {
  if (f.size() != 4) return error(n, "PARAM行应有4项：PARAM, L或n, 等级, 地形");
  if (paramSeen_) return error(n, "PARAM行重复");
  paramSeen_ = true;
  const auto weighting = WeightingByCode(f[1]);
  if (!weighting) return error(n, "定权方式“" + Quoted(f[1]) + "”应为L(距离)或n(测站数)");
  const auto grade = GradeByName(f[2]);
  if (!grade) return error(n, "等级“" + Quoted(f[2]) + "”应为二等、三等、四等、五等或图根");
  const auto terrain = TerrainByName(f[3]);
  if (!terrain) return error(n, "地形“" + Quoted(f[3]) + "”应为平地或山地");
  data.params = {*weighting, *grade, *terrain};
  return std::nullopt;
}

std::optional<Message> Reader::benchmark(int n, const std::vector<std::string>& f) {
  if (f.size() != 3) return error(n, "BM行应有3项：BM, 点名, 高程");
  if (auto bad = name(n, f[1], "点名")) return bad;
  const auto h = ReadFigure(f[2]);
  if (!h) return error(n, "高程“" + Quoted(f[2]) + "”不是数字");
  if (std::fabs(*h) > kMaxHeight) return error(n, "高程超出±10000m");
  if (!benchmarkNames_.insert(f[1]).second) return error(n, "已知点" + Quoted(f[1]) + "重复");
  if (data.benchmarks.size() >= kMaxLevelRecords) return error(n, "已知点超过" + std::to_string(kMaxLevelRecords) + "个");
  data.benchmarks.push_back({f[1], *h});
  return std::nullopt;
}

std::optional<Message> Reader::section(int n, const std::vector<std::string>& f) {
  if (f.size() != 5) return error(n, "SEC行应有5项：SEC, 起点, 终点, 高差, 距离或测站数");
  if (auto bad = name(n, f[1], "起点名")) return bad;
  if (auto bad = name(n, f[2], "终点名")) return bad;
  if (f[1] == f[2]) return error(n, "起点与终点相同");
  const auto dh = ReadFigure(f[3]);
  if (!dh) return error(n, "高差“" + Quoted(f[3]) + "”不是数字");
  if (std::fabs(*dh) > kMaxHeight) return error(n, "高差超出±10000m");
  const auto size = ReadFigure(f[4]);
  if (!size) return error(n, "距离或测站数“" + Quoted(f[4]) + "”不是数字");
  if (!(*size > 0) || *size > std::max(kMaxLengthKm, kMaxSetUps))
    return error(n, "距离或测站数应大于0且不超过" + ExactDecimal(kMaxSetUps));
  if (data.sections.size() >= kMaxLevelRecords) return error(n, "测段超过" + std::to_string(kMaxLevelRecords) + "个");
  data.sections.push_back({f[1], f[2], *dh, *size});
  return std::nullopt;
}

std::optional<Message> Reader::finish() {
  if (data.benchmarks.empty() && data.sections.empty())
    return Message{"文件中没有已知点(BM)和测段(SEC)，不予接受！", "抱歉", MessageIcon::Information};
  return CheckLengths(data);
}

}  // namespace

std::optional<double> ReadFigure(std::string_view text) {
  // The field is read whole: a blank inside it is no part of a figure.
  if (Trim(text).size() != text.size()) return std::nullopt;
  const std::optional<double> value = ReadNumber(text);
  if (!value) return std::nullopt;
  return *value + 0.0;  // no negative zero
}


LevelFileLoad ParseLevelText(std::string_view text) {
  Reader reader;
  LevelFileLoad load;
  LineCursor lines(text);
  int number = 0;
  for (std::string_view line; lines.next(line);) {
    if (auto bad = reader.line(++number, line)) {
      load.refusal = bad;
      return load;
    }
  }
  load.refusal = reader.finish();
  load.data = std::move(reader.data);
  return load;
}

LevelFileLoad DataFromTables(const Parameters& params, const std::vector<std::vector<std::string>>& benchmarks,
                             const std::vector<std::vector<std::string>>& sections) {
  static const char* const kBenchmarkColumns[] = {"点名", "高程"};
  static const char* const kSectionColumns[] = {"起点", "终点", "高差", "距离或测站数"};
  LevelFileLoad load;
  // Rows left wholly empty are skipped; a row partly filled must be complete.
  auto run = [&](const char* place, const char* tag, const std::vector<std::vector<std::string>>& rows,
                 const char* const* columns, std::size_t count, bool isSection) -> bool {
    Reader reader(place);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::vector<std::string> f = {tag};
      for (std::size_t c = 0; c < count; ++c) f.push_back(c < rows[r].size() ? Trim(rows[r][c]) : std::string());
      bool empty = true;
      for (std::size_t c = 1; c < f.size(); ++c) empty = empty && f[c].empty();
      if (empty) continue;
      const int n = static_cast<int>(r) + 1;
      for (std::size_t c = 1; c < f.size() && !load.refusal; ++c)
        if (f[c].empty()) load.refusal = LineError(place, n, std::string(columns[c - 1]) + "为空");
      if (!load.refusal) load.refusal = isSection ? reader.section(n, f) : reader.benchmark(n, f);
      if (load.refusal) return false;
    }
    if (isSection) load.data.sections = std::move(reader.data.sections);
    else load.data.benchmarks = std::move(reader.data.benchmarks);
    return true;
  };
  load.data.params = params;
  if (run("已知点表", "BM", benchmarks, kBenchmarkColumns, 2, false))
    if (run("测段表", "SEC", sections, kSectionColumns, 4, true)) load.refusal = CheckLengths(load.data);
  return load;
}

LevelFileLoad LoadLevelFile(const std::string& path, std::string& error) {
  const io::TextFileRead read = io::ReadTextFile(path, kMaxLevelFileBytes);
  if (!read.ok) {
    error = read.error;
    return {};
  }
  error.clear();
  return ParseLevelText(read.text);
}

std::string LevelDataText(const LevelData& data) {
  const Parameters& p = data.params;
  std::string text = "# 水准数据：PARAM 定权(L/n),等级,地形；BM 点名,高程(m)；SEC 起点,终点,高差(m),";
  text += p.weighting == Weighting::Length ? "距离(km)\n" : "测站数\n";
  text += "PARAM," + WeightingCode(p.weighting) + "," + GradeName(p.grade) + "," + TerrainName(p.terrain) + "\n";
  for (const Benchmark& b : data.benchmarks) text += "BM," + b.name + "," + ExactDecimal(b.height) + "\n";
  for (const Section& s : data.sections)
    text += "SEC," + s.from + "," + s.to + "," + ExactDecimal(s.dh) + "," + ExactDecimal(s.size) + "\n";
  return text;
}

std::string SaveLevelFile(const std::string& path, const LevelData& data) {
  return io::WriteTextFile(path, LevelDataText(data));
}

}  // namespace korvane::formats
