#pragma once
// A spanning tree of a levelling network, grown from the benchmarks: node 0
// stands for the datum and carries every benchmark as a child at its known
// height, so that a section closing a line between two benchmarks closes a
// cycle through node 0 as a loop closes one among new points.
#include <map>
#include <string>
#include <vector>

#include "formats/level_data.h"

namespace korvane::levelling {

struct LevelTree {
  std::vector<std::string> names;   // node 0 the datum, then benchmarks, then new points
  std::map<std::string, int> index;
  int benchmarkCount = 0;
  std::vector<int> from, to;        // per section, node numbers
  std::vector<int> parent;          // -1 for the datum and for unreached nodes
  std::vector<int> depth;           // edges from the datum
  std::vector<double> potential;    // height carried along the tree, m
  std::vector<double> distance;     // km or set-ups along the tree from the benchmark
  std::vector<bool> reached;
  std::vector<bool> treeSection;    // per section
};

LevelTree GrowTree(const formats::LevelData& data);

}  // namespace korvane::levelling
