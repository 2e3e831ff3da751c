#include "network/network_traverses.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "core/numbers.h"
#include "core/angles.h"
#include "standards/tolerance.h"

namespace korvane::network {
namespace {


class TraverseFinder {
 public:
  TraverseFinder(const formats::NetworkInput& in, const NetworkResult& r);
  std::vector<std::vector<int>> chains() const;
  std::optional<double> angleAt(int station, int back, int fore) const;
  // A reference point at the end point of the chain whose angle to the
  // chain's first side was observed; -1 when none.
  int reference(int end, int side) const;
  double azimuth(int a, int b) const { return Azimuth(r_.points[a].x, r_.points[a].y, r_.points[b].x, r_.points[b].y); }
  double side(int a, int b) const { return dist_.at({std::min(a, b), std::max(a, b)}); }
  const NetworkResult& result() const { return r_; }

 private:
  bool node(int p) const { return r_.points[p].known || neighbours_[p].size() != 2; }
  const NetworkResult& r_;
  std::map<std::string, int> index_;
  std::vector<std::vector<int>> neighbours_;
  std::map<std::pair<int, int>, double> dist_;
  struct StationAngle {
    int back, fore;
    double radians;
  };
  std::vector<std::vector<StationAngle>> angles_;  // per station, from angles and direction sets
};

TraverseFinder::TraverseFinder(const formats::NetworkInput& in, const NetworkResult& r) : r_(r) {
  for (std::size_t i = 0; i < r.points.size(); ++i) index_[r.points[i].name] = static_cast<int>(i);
  neighbours_.resize(r.points.size());
  for (const formats::NetworkDistance& d : in.distances) {
    const int a = index_.at(d.from), b = index_.at(d.to);
    if (dist_.try_emplace({std::min(a, b), std::max(a, b)}, d.metres).second) {
      neighbours_[a].push_back(b);
      neighbours_[b].push_back(a);
    }
  }
  angles_.resize(r.points.size());
  for (const formats::NetworkAngle& a : in.angles)
    angles_[index_.at(a.station)].push_back({index_.at(a.back), index_.at(a.fore), DmsToRad(a.dms)});
  for (const formats::NetworkDirectionSet& set : in.sets) {
    const std::size_t n = std::min<std::size_t>(set.directions.size(), 12);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j)
        if (i != j)
          angles_[index_.at(set.station)].push_back({index_.at(set.directions[i].target),
                                                     index_.at(set.directions[j].target),
                                                     Wrap(DmsToRad(set.directions[j].dms) - DmsToRad(set.directions[i].dms))});
  }
}

std::vector<std::vector<int>> TraverseFinder::chains() const {
  std::vector<std::vector<int>> result;
  std::set<std::pair<int, int>> walked;
  for (std::size_t start = 0; start < neighbours_.size(); ++start) {
    const int s = static_cast<int>(start);
    if (!node(s)) continue;
    for (int next : neighbours_[s]) {
      std::vector<int> chain{s};
      int prev = s, at = next;
      while (walked.insert({std::min(prev, at), std::max(prev, at)}).second) {
        chain.push_back(at);
        if (node(at)) break;
        const int forward = neighbours_[at][0] == prev ? neighbours_[at][1] : neighbours_[at][0];
        prev = at;
        at = forward;
      }
      if (chain.size() >= 3 && node(chain.back())) result.push_back(chain);
    }
  }
  return result;
}

std::optional<double> TraverseFinder::angleAt(int station, int back, int fore) const {
  for (const StationAngle& a : angles_[station]) {
    if (a.back == back && a.fore == fore) return a.radians;
    if (a.back == fore && a.fore == back) return Wrap(-a.radians);
  }
  return std::nullopt;
}

int TraverseFinder::reference(int end, int side) const {
  int found = -1;
  for (const StationAngle& a : angles_[end]) {
    const int q = a.back == side ? a.fore : a.fore == side ? a.back : -1;
    if (q < 0) continue;
    if (r_.points[q].known) return q;  // a known orientation point first
    if (found < 0) found = q;
  }
  return found;
}

// Misclosures of one chain, walked from chain[0] to chain.back().
NetworkTraverse Close(const TraverseFinder& f, const std::vector<int>& chain, int startRef, int endRef) {
  const NetworkResult& r = f.result();
  NetworkTraverse t;
  for (int p : chain) t.stations.push_back(r.points[p].name);
  const std::size_t sides = chain.size() - 1;
  std::vector<double> az(sides);
  az[0] = startRef >= 0 ? f.azimuth(chain[0], startRef) + *f.angleAt(chain[0], startRef, chain[1])
                        : f.azimuth(chain[0], chain[1]);
  for (std::size_t i = 1; i < sides; ++i) az[i] = az[i - 1] + kTruePi + *f.angleAt(chain[i], chain[i - 1], chain[i + 1]);
  t.hasAngular = startRef >= 0 && endRef >= 0;
  if (t.hasAngular) {
    const int e = chain.back();
    const double computed = az[sides - 1] + kTruePi + *f.angleAt(e, chain[sides - 1], endRef);
    const double misclosure = WrapSigned(computed - f.azimuth(e, endRef));
    t.fBetaSec = misclosure * kRhoSeconds;
    const double perAngle = misclosure / static_cast<double>(sides + 1);
    for (std::size_t i = 0; i < sides; ++i) az[i] -= perAngle * static_cast<double>(i + 1);
  }
  double x = r.points[chain[0]].x, y = r.points[chain[0]].y;
  for (std::size_t i = 0; i < sides; ++i) {
    const double s = f.side(chain[i], chain[i + 1]);
    t.length += s;
    x += s * std::cos(az[i]);
    y += s * std::sin(az[i]);
  }
  t.fx = x - r.points[chain.back()].x;
  t.fy = y - r.points[chain.back()].y;
  t.fs = std::hypot(t.fx, t.fy);
  if (t.fs > 0) t.relativeClosure = "1/" + NumberText(std::floor(t.length / t.fs));
  return t;
}

bool InnerAnglesObserved(const TraverseFinder& f, const std::vector<int>& chain) {
  for (std::size_t i = 1; i + 1 < chain.size(); ++i)
    if (!f.angleAt(chain[i], chain[i - 1], chain[i + 1])) return false;
  return true;
}

}  // namespace

std::vector<NetworkTraverse> FindTraverses(const formats::NetworkInput& input, const NetworkResult& result,
                                           const NetworkOptions& options) {
  const TraverseFinder finder(input, result);
  const standards::ToleranceRow& row = standards::SelectToleranceRow(options.toleranceCode);
  std::vector<NetworkTraverse> traverses;
  for (std::vector<int> chain : finder.chains()) {
    if (!InnerAnglesObserved(finder, chain)) continue;
    int startRef = finder.reference(chain.front(), chain[1]);
    int endRef = finder.reference(chain.back(), chain[chain.size() - 2]);
    // With one oriented end only, the traverse is carried from that end.
    if (startRef < 0 && endRef >= 0) {
      std::reverse(chain.begin(), chain.end());
      std::swap(startRef, endRef);
    }
    // The reference at the end is taken with the last station as back sight.
    if (endRef >= 0 && !finder.angleAt(chain.back(), chain[chain.size() - 2], endRef)) endRef = -1;
    NetworkTraverse t = Close(finder, chain, startRef, endRef);
    const int angles = static_cast<int>(chain.size());
    t.fBetaLimitSec = RoundFixed(row.kBeta * std::sqrt(static_cast<double>(angles)), "#0.0");
    t.relativeLimit = row.kden;
    if (options.checkTolerance) {
      t.fBetaOver = t.hasAngular && std::fabs(t.fBetaSec) > t.fBetaLimitSec;
      t.relativeOver = t.fs > 0 && t.length / t.fs < row.kden;
    }
    traverses.push_back(std::move(t));
  }
  return traverses;
}

}  // namespace korvane::network
