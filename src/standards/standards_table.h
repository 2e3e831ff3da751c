#pragma once
// The tables of the read-only standards window: the traverse limits of the
// three standards the weighted adjustment checks against, and the levelling
// limits.
#include <string>
#include <vector>

namespace korvane::standards {

struct TextTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
};

TextTable TraverseStandardsTable();
TextTable LevellingStandardsTable();
// The notes printed under the levelling table.
std::vector<std::string> LevellingStandardsNotes();

}  // namespace korvane::standards
