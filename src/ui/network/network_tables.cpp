#include "ui/network/network_tables.h"


#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::ui {

namespace {

const char* const kKnownTable = "已知点表";
const char* const kObservationTable = "观测数据表";
const char* const kObservationColumns[] = {"测站/起点", "照准点/后视点/终点", "前视点", "观测值", "中误差"};
// The mark of a datum point in the known-point table, beside the file's keyword.
const char* const kDatumCaption = "基准";

// The columns after the type that each record uses; the last, the
// observation's own deviation, may stay empty. The grid names a record in
// Chinese; the network file keeps its keyword, which the grid also takes.
struct RecordShape {
  const char* keyword;
  const char* caption;
  std::array<bool, 4> used;
  bool ownSigma;
};
const RecordShape kShapes[] = {{"SET", "方向组", {true, false, false, false}, false},
                               {"DIR", "方向", {true, true, false, true}, true},
                               {"ANGLE", "角度", {true, true, true, true}, true},
                               {"DIST", "距离", {true, true, false, true}, true},
                               {"AZI", "方位角", {true, true, false, true}, true}};
enum ShapeIndex { kSet, kDir, kAngle, kDist, kAzi };
const char* const kTypeList = "方向组、方向、角度、距离或方位角";


Message RowRefusal(const char* table, std::size_t row, const std::string& reason) {
  return Message{std::string(table) + "第 " + std::to_string(row + 1) + " 行：" + reason + "。", formats::kNetworkTitle,
                 MessageIcon::Warning};
}

// The reader's refusals speak of file lines; the tables' lines are their rows.
Message InTable(Message refusal, const std::string& where) {
  const std::string prefix = "网文件";
  if (refusal.text.compare(0, prefix.size(), prefix) == 0) {
    refusal.text = where + refusal.text.substr(prefix.size());
  } else {
    refusal.text = where + "：" + refusal.text;
  }
  return refusal;
}

bool Empty(const std::vector<std::string>& row) {
  for (const std::string& cell : row) {
    if (!Trim(cell).empty()) return false;
  }
  return true;
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : ",") + field;
  return line;
}

std::optional<std::string> CommaIn(const std::vector<std::string>& row) {
  for (const std::string& cell : row) {
    if (cell.find(',') != std::string::npos) return "“" + Trim(cell) + "”含有逗号";
  }
  return std::nullopt;
}

// One observation row as a record line; the reason when the row cannot be one.
std::string ObservationLine(std::vector<std::string> row, std::string& reason) {
  row.resize(6);
  const std::string type = Trim(row[0]);
  if (type.empty()) {
    reason = std::string("没有类型（") + kTypeList + "）";
    return {};
  }
  const std::string lower = ToLowerAscii(type);
  for (const RecordShape& shape : kShapes) {
    if (lower != ToLowerAscii(shape.keyword) && type != shape.caption) continue;
    std::vector<std::string> fields{shape.keyword};
    for (int c = 0; c < 4; ++c) {
      if (shape.used[c] && Trim(row[c + 1]).empty()) {
        reason = std::string("类型“") + shape.caption + "”缺少“" + kObservationColumns[c] + "”";
        return {};
      }
      if (shape.used[c]) {
        fields.push_back(row[c + 1]);
      } else if (!Trim(row[c + 1]).empty()) {
        reason = std::string("类型“") + shape.caption + "”不用“" + kObservationColumns[c] + "”栏";
        return {};
      }
    }
    if (!Trim(row[5]).empty()) {
      if (!shape.ownSigma) {
        reason = std::string("类型“") + shape.caption + "”不用“" + kObservationColumns[4] + "”栏";
        return {};
      }
      fields.push_back(row[5]);
    }
    return Joined(fields);
  }
  reason = "未知的类型“" + type + "”（应为" + kTypeList + "）";
  return {};
}

// The rows as the text of a network file, one line per row, an empty row an
// empty line; `toLine` turns a row into its record.
template <typename ToLine>
std::optional<Message> RowsAsText(const TableRows& rows, const char* table, ToLine toLine, std::string& text) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::string line;
    if (!Empty(rows[r])) {
      if (const auto comma = CommaIn(rows[r])) return RowRefusal(table, r, *comma);
      std::string reason;
      line = toLine(rows[r], reason);
      if (!reason.empty()) return RowRefusal(table, r, reason);
    }
    text += line + "\n";
  }
  return std::nullopt;
}

std::string KnownLine(std::vector<std::string> row, std::string& reason) {
  row.resize(4);
  const char* const names[] = {"点名", "X 坐标", "Y 坐标"};
  for (int c = 0; c < 3; ++c) {
    if (Trim(row[c]).empty()) {
      reason = std::string("缺少") + (c == 0 ? "" : " ") + names[c];
      return {};
    }
  }
  const std::string mark = Trim(row[3]);
  if (mark.empty()) {
    row.pop_back();
  } else if (mark == kDatumCaption || ToLowerAscii(mark) == "datum") {
    row[3] = "DATUM";
  } else {
    reason = std::string("基准栏“") + mark + "”应为“" + kDatumCaption + "”或空";
    return {};
  }
  return "POINT," + Joined(row);
}

std::optional<Message> ReadPrecision(const PrecisionTexts& boxes, formats::NetworkInput& input) {
  bool any = false;
  for (const std::string& box : boxes) any = any || !Trim(box).empty();
  if (!any) return std::nullopt;
  const formats::NetworkPrecision defaults;
  const double fallback[] = {defaults.directionSec, defaults.angleSec, defaults.aMm, defaults.bPpm};
  std::vector<std::string> fields{"PARAM"};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].find(',') != std::string::npos) return InTable({"“" + boxes[i] + "”含有逗号"}, "先验中误差");
    fields.push_back(Trim(boxes[i]).empty() ? ExactDecimal(fallback[i]) : boxes[i]);
  }
  formats::NetworkFileLoad load = formats::ParseNetworkText(Joined(fields));
  if (!load.ok()) return InTable(*load.refusal, "先验中误差");
  input.precision = load.input.precision;
  input.hasPrecision = true;
  return std::nullopt;
}

}  // namespace

NetworkTablesRead NetworkFromTables(const TableRows& known, const TableRows& observations,
                                    const PrecisionTexts& precision) {
  NetworkTablesRead read;
  if ((read.refusal = ReadPrecision(precision, read.input))) return read;
  std::string knownText, observationText;
  if ((read.refusal = RowsAsText(known, kKnownTable, KnownLine, knownText))) return read;
  if ((read.refusal = RowsAsText(observations, kObservationTable, ObservationLine, observationText))) return read;
  formats::NetworkFileLoad points = formats::ParseNetworkText(knownText);
  if (!points.ok()) {
    read.refusal = InTable(*points.refusal, kKnownTable);
    return read;
  }
  formats::NetworkFileLoad records = formats::ParseNetworkText(observationText);
  if (!records.ok()) {
    read.refusal = InTable(*records.refusal, kObservationTable);
    return read;
  }
  read.input.known = std::move(points.input.known);
  read.input.sets = std::move(records.input.sets);
  read.input.angles = std::move(records.input.angles);
  read.input.distances = std::move(records.input.distances);
  read.input.azimuths = std::move(records.input.azimuths);
  return read;
}

TableRows KnownPointRows(const formats::NetworkInput& input) {
  TableRows rows;
  for (const formats::NetworkKnownPoint& p : input.known)
    rows.push_back({p.name, ExactDecimal(p.x), ExactDecimal(p.y), p.datum ? kDatumCaption : ""});
  return rows;
}

TableRows ObservationRows(const formats::NetworkInput& input) {
  TableRows rows;
  const auto own = [](const std::optional<double>& sigma) { return sigma ? ExactDecimal(*sigma) : std::string(); };
  for (const formats::NetworkDirectionSet& s : input.sets) {
    rows.push_back({kShapes[kSet].caption, s.station, "", "", "", ""});
    for (const formats::NetworkDirection& d : s.directions)
      rows.push_back({kShapes[kDir].caption, s.station, d.target, "", ExactDecimal(d.dms), own(d.sigma)});
  }
  for (const formats::NetworkAngle& a : input.angles)
    rows.push_back({kShapes[kAngle].caption, a.station, a.back, a.fore, ExactDecimal(a.dms), own(a.sigma)});
  for (const formats::NetworkDistance& d : input.distances)
    rows.push_back({kShapes[kDist].caption, d.from, d.to, "", ExactDecimal(d.metres), own(d.sigma)});
  for (const formats::NetworkAzimuth& a : input.azimuths)
    rows.push_back({kShapes[kAzi].caption, a.from, a.to, "", ExactDecimal(a.dms), own(a.sigma)});
  return rows;
}

PrecisionTexts PrecisionBoxes(const formats::NetworkInput& input) {
  if (!input.hasPrecision) return {};
  const formats::NetworkPrecision& p = input.precision;
  return {ExactDecimal(p.directionSec), ExactDecimal(p.angleSec), ExactDecimal(p.aMm), ExactDecimal(p.bPpm)};
}

}  // namespace korvane::ui
