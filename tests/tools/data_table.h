#pragma once
// Test cases kept as data under tests/data/: a header line naming the columns,
// then one case per line; lines starting with "#" and empty lines are skipped.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::testing {

struct DataRow {
  int line = 0;
  std::map<std::string, std::string> fields;
  const std::string& operator[](const std::string& column) const {
    static const std::string empty;
    const auto it = fields.find(column);
    return it == fields.end() ? empty : it->second;
  }
  double number(const std::string& column) const { return std::stod((*this)[column]); }
};

inline std::string TrimField(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

inline std::vector<std::string> SplitFields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, separator)) fields.push_back(TrimField(field));
  if (!line.empty() && line.back() == separator) fields.emplace_back();
  return fields;
}

inline std::vector<DataRow> ReadDataTable(const std::string& name, char separator = ',') {
  const std::string path = std::string(KORVANE_TEST_DATA) + "/" + name;
  std::ifstream in(path);
  EXPECT_TRUE(in.good()) << "cannot open " << path;
  std::vector<DataRow> rows;
  std::vector<std::string> header;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (TrimField(line).empty() || TrimField(line)[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(line, separator);
    if (header.empty()) {
      header = fields;
      continue;
    }
    EXPECT_EQ(fields.size(), header.size()) << name << " line " << number;
    DataRow row;
    row.line = number;
    for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row.fields[header[i]] = fields[i];
    rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << name << " holds no cases";
  return rows;
}

}  // namespace korvane::testing
