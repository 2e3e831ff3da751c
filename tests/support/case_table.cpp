#include "support/case_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

namespace korvane::testing {
namespace {

struct Unit {
  std::string_view name;
  int kind;  // 1 length (metres), 2 angle (degrees)
  double factor;
};

constexpr Unit kUnits[] = {
    {"km", 1, 1000.0},        {"m", 1, 1.0},           {"cm", 1, 0.01},          {"mm", 1, 0.001},
    {"deg", 2, 1.0},          {"min", 2, 1.0 / 60},    {"sec", 2, 1.0 / 3600},
};

const Unit* FindUnit(std::string_view name) {
  for (const Unit& unit : kUnits)
    if (unit.name == name) return &unit;
  return nullptr;
}

// "tolerance 0.1 mm" gives "0.1 mm"; any other line gives nothing.
bool ToleranceLine(const std::string& line, std::string& rest) {
  static const std::string keyword = "tolerance";
  if (line.compare(0, keyword.size(), keyword) != 0) return false;
  if (line.size() > keyword.size() && line[keyword.size()] != ' ' && line[keyword.size()] != '\t') return false;
  rest = TrimField(line.substr(keyword.size()));
  return true;
}

// Every case line of the file with its number and the tolerance in force.
template <typename Row>
int ScanTable(const std::string& path, Row row) {
  std::ifstream table(path);
  if (!table.is_open()) return -1;
  int count = 0;
  Tolerance tolerance;
  std::string line, rest;
  for (int number = 1; std::getline(table, line); ++number) {
    const std::string trimmed = TrimField(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    if (ToleranceLine(trimmed, rest)) {
      tolerance = Tolerance::Parse(rest);
      EXPECT_TRUE(tolerance.stated()) << path << " line " << number << ": " << line;
      continue;
    }
    if (line.back() == '\r') line.pop_back();
    row(number, line, tolerance);
    ++count;
  }
  return count;
}

}  // namespace

Tolerance Tolerance::Parse(const std::string& text) {
  Tolerance tolerance;
  tolerance.text_ = text;
  std::istringstream in(text);
  double value = 0;
  std::string unit, extra;
  if (!(in >> value) || !std::isfinite(value) || value < 0) {
    ADD_FAILURE() << "tolerance without a value: \"" << text << "\"";
    return tolerance;
  }
  in >> unit >> extra;
  if (!extra.empty()) {
    ADD_FAILURE() << "tolerance with more than a value and a unit: \"" << text << "\"";
    return tolerance;
  }
  if (unit.empty()) {
    tolerance.kind_ = Kind::kNumber;
    tolerance.base_ = value;
    return tolerance;
  }
  const Unit* known = FindUnit(unit);
  if (known == nullptr) {
    ADD_FAILURE() << "tolerance in an unknown unit: \"" << text << "\"";
    return tolerance;
  }
  tolerance.kind_ = known->kind == 1 ? Kind::kLength : Kind::kAngle;
  tolerance.base_ = value * known->factor;
  return tolerance;
}

double Tolerance::in(std::string_view unit) const {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  if (unit.empty()) {
    if (kind_ == Kind::kNumber) return base_;
    ADD_FAILURE() << "tolerance \"" << text_ << "\" used as a plain number";
    return nan;
  }
  const Unit* known = FindUnit(unit);
  const Kind wanted = known == nullptr ? Kind::kNone : known->kind == 1 ? Kind::kLength : Kind::kAngle;
  if (known == nullptr || wanted != kind_) {
    ADD_FAILURE() << "tolerance \"" << text_ << "\" used in " << unit;
    return nan;
  }
  return base_ / known->factor;
}

const std::string& DataRow::operator[](const std::string& column) const {
  static const std::string empty;
  for (const auto& [name, value] : fields)
    if (name == column) return value;
  return empty;
}

std::string TrimField(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string UnescapeCell(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      bytes.push_back(text[i]);
      continue;
    }
    const char c = text[++i];
    if (c == 'x') {
      bytes.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      bytes.push_back(c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c);
    }
  }
  return bytes;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SplitFields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, separator)) fields.push_back(TrimField(field));
  if (!line.empty() && line.back() == separator) fields.emplace_back();
  return fields;
}

std::vector<DataRow> ReadDataTable(const std::string& name, char separator) {
  const std::string path = std::string(KORVANE_TEST_DATA) + "/" + name;
  std::vector<DataRow> rows;
  std::vector<std::string> header;
  const int lines = ScanTable(path, [&](int number, const std::string& line, const Tolerance& tolerance) {
    const std::vector<std::string> fields = SplitFields(line, separator);
    if (header.empty()) {
      header = fields;
      return;
    }
    EXPECT_EQ(fields.size(), header.size()) << name << " line " << number;
    DataRow row;
    row.line = number;
    row.tolerance = tolerance;
    for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row.fields.emplace_back(header[i], fields[i]);
    rows.push_back(std::move(row));
  });
  EXPECT_GE(lines, 0) << "cannot open " << path;
  EXPECT_FALSE(rows.empty()) << name << " holds no cases";
  return rows;
}

int ForEachTableLine(const std::string& path,
                     const std::function<void(const std::string& line, std::istringstream& fields,
                                              const Tolerance& tolerance)>& row) {
  return ScanTable(path, [&](int, const std::string& line, const Tolerance& tolerance) {
    std::istringstream fields(line);
    row(line, fields, tolerance);
  });
}

int ForEachTableLine(const std::string& path,
                     const std::function<void(const std::string& line, std::istringstream& fields)>& row) {
  return ForEachTableLine(path, [&](const std::string& line, std::istringstream& fields, const Tolerance&) {
    row(line, fields);
  });
}

std::vector<TypedCell> ReadTypedCells(const std::string& list) {
  std::vector<TypedCell> cells;
  std::size_t at = 0;
  while (at < list.size()) {
    const std::size_t comma = list.find(',', at), open = list.find("=\"", at);
    const std::size_t close = open == std::string::npos ? open : list.find('"', open + 2);
    if (comma >= open || close == std::string::npos) {
      ADD_FAILURE() << "typed cells not written ROW,COLUMN=\"TEXT\": " << list;
      return cells;
    }
    TypedCell cell;
    cell.row = std::stoi(list.substr(at, comma - at));
    cell.column = std::stoi(list.substr(comma + 1, open - comma - 1));
    cell.text = list.substr(open + 2, close - open - 2);
    cells.push_back(std::move(cell));
    at = list.find(';', close);
    at = at == std::string::npos ? list.size() : at + 1;
  }
  return cells;
}

}  // namespace korvane::testing
