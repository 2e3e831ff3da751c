#pragma once
// Reads a case table under tests/data: every line that is neither empty nor
// a "#" comment is given to `row`; returns how many there were (-1 when the
// table cannot be opened).
#include <fstream>
#include <sstream>
#include <string>

namespace korvane::testing {

template <typename Row>
int ForEachTableLine(const std::string& path, Row row) {
  std::ifstream table(path);
  if (!table.is_open()) return -1;
  int count = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    row(line, fields);
    ++count;
  }
  return count;
}

}  // namespace korvane::testing
