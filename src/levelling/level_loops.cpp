// The spanning tree of a network and the misclosures of its independent
// loops and of its lines between benchmarks: every section outside the tree
// closes exactly one of them.
#include <cmath>
#include <deque>

#include "levelling/level_adjust.h"
#include "levelling/level_tree.h"

namespace korvane::levelling {
namespace {

constexpr std::size_t kRouteShown = 24;  // points of a route written out in full

int NodeOf(LevelTree& tree, const std::string& name) {
  const auto [it, added] = tree.index.emplace(name, static_cast<int>(tree.names.size()));
  if (added) tree.names.push_back(name);
  return it->second;
}

struct Edge {
  int section;
  int other;
  double sign;  // +1 when the section runs towards `other`
};

// The points of the cycle a section outside the tree closes, from the common
// ancestor down to the section's start and back up from its end.
std::vector<int> CycleNodes(const LevelTree& t, int a, int b) {
  std::vector<int> up, down;
  while (t.depth[a] > t.depth[b]) up.push_back(a), a = t.parent[a];
  while (t.depth[b] > t.depth[a]) down.push_back(b), b = t.parent[b];
  while (a != b) up.push_back(a), a = t.parent[a], down.push_back(b), b = t.parent[b];
  std::vector<int> nodes;
  if (a != 0) nodes.push_back(a);
  nodes.insert(nodes.end(), up.rbegin(), up.rend());
  nodes.insert(nodes.end(), down.begin(), down.end());
  if (a != 0) nodes.push_back(a);
  return nodes;
}

std::string RouteText(const LevelTree& t, const std::vector<int>& nodes) {
  std::string route;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes.size() > kRouteShown && i == kRouteShown / 2) {
      route += "-…";
      i = nodes.size() - kRouteShown / 2;
    }
    route += (route.empty() ? "" : "-") + t.names[nodes[i]];
  }
  return route;
}

}  // namespace

LevelTree GrowTree(const formats::LevelData& data) {
  LevelTree t;
  NodeOf(t, "");  // the datum
  for (const formats::Benchmark& b : data.benchmarks) NodeOf(t, b.name);
  t.benchmarkCount = static_cast<int>(data.benchmarks.size());
  for (const formats::Section& s : data.sections) {
    t.from.push_back(NodeOf(t, s.from));
    t.to.push_back(NodeOf(t, s.to));
  }
  const std::size_t n = t.names.size();
  std::vector<std::vector<Edge>> edges(n);
  for (std::size_t k = 0; k < data.sections.size(); ++k) {
    edges[t.from[k]].push_back({static_cast<int>(k), t.to[k], 1});
    edges[t.to[k]].push_back({static_cast<int>(k), t.from[k], -1});
  }
  t.parent.assign(n, -1);
  t.depth.assign(n, 0);
  t.potential.assign(n, 0);
  t.distance.assign(n, 0);
  t.reached.assign(n, false);
  t.treeSection.assign(data.sections.size(), false);
  std::deque<int> queue;
  t.reached[0] = true;
  for (int i = 1; i <= t.benchmarkCount; ++i) {
    t.reached[i] = true;
    t.parent[i] = 0;
    t.depth[i] = 1;
    t.potential[i] = data.benchmarks[i - 1].height;
    queue.push_back(i);
  }
  while (!queue.empty()) {
    const int node = queue.front();
    queue.pop_front();
    for (const Edge& e : edges[node]) {
      if (t.reached[e.other]) continue;
      const formats::Section& s = data.sections[e.section];
      t.reached[e.other] = true;
      t.parent[e.other] = node;
      t.depth[e.other] = t.depth[node] + 1;
      t.potential[e.other] = t.potential[node] + e.sign * s.dh;
      t.distance[e.other] = t.distance[node] + s.size;
      t.treeSection[e.section] = true;
      queue.push_back(e.other);
    }
  }
  return t;
}

std::vector<Misclosure> IndependentMisclosures(const formats::LevelData& data, const standards::LimitRule& rule) {
  const LevelTree t = GrowTree(data);
  std::vector<Misclosure> out;
  for (std::size_t k = 0; k < data.sections.size(); ++k) {
    const int a = t.from[k], b = t.to[k];
    if (t.treeSection[k] || !t.reached[a] || !t.reached[b]) continue;
    const std::vector<int> nodes = CycleNodes(t, a, b);
    Misclosure m;
    m.route = RouteText(t, nodes);
    m.betweenBenchmarks = nodes.front() != nodes.back();
    m.wMm = (t.potential[a] + data.sections[k].dh - t.potential[b]) * 1000;
    // Along the tree, the distances from the common ancestor (or from the two benchmarks).
    int c = nodes.front() == nodes.back() ? nodes.front() : 0;
    m.size = t.distance[a] + t.distance[b] - 2 * t.distance[c] + data.sections[k].size;
    m.limitMm = ClosureLimitMm(rule, m.size);
    m.overLimit = std::fabs(m.wMm) > m.limitMm;
    out.push_back(m);
  }
  return out;
}

}  // namespace korvane::levelling
