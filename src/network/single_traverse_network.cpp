#include "network/single_traverse_network.h"

#include <cmath>
#include <map>
#include <set>

#include "core/numbers.h"
#include "core/text_utils.h"
#include "core/angles.h"

namespace korvane::network {
namespace {

// Held in plan only.
formats::NetworkKnownPoint KnownAt(const formats::TraverseKnownPoint& point, const std::string& name) {
  return formats::NetworkKnownPoint{name, point.x, point.y, 0};
}

// Point names of the network: the names typed where they are unique
// and not empty, otherwise "站" and the station number ("A", "D" for the
// orientation points). Station 1 is B and station n is C.
std::vector<std::string> PointNames(const formats::TraverseObservations& t, const traverse::RigorousResult& w,
                                    std::string& a, std::string& d) {
  std::set<std::string> used;
  const auto unique = [&used](std::string name, const std::string& fallback) {
    name = Trim(name);
    if (name.empty() || !used.insert(name).second) {
      name = fallback;
      while (!used.insert(name).second) name += "'";
    }
    return name;
  };
  a = unique(t.orientation.name, "A");
  std::vector<std::string> names(static_cast<std::size_t>(w.n));
  names[0] = unique(t.start.name, "B");
  names[w.n - 1] = unique(t.end.name, "C");
  d = unique(t.connection.name, "D");
  for (int i = 1; i + 1 < w.n; ++i) names[i] = unique(t.stations[static_cast<std::size_t>(i)].name, "站" + std::to_string(i + 1));
  return names;
}

double LeftAngleDms(double degrees) {
  return RadToDms(Wrap(DegreesToRadians(degrees)));
}

}  // namespace

formats::NetworkInput SingleTraverseAsNetwork(const formats::TraverseObservations& t, const traverse::RigorousResult& w) {
  formats::NetworkInput in;
  std::string a, d;
  const std::vector<std::string> names = PointNames(t, w, a, d);
  const double m0 = t.priorAngleError;
  const double ca = t.additiveConstant, cb = t.scaleConstant;
  if (m0 > 0) in.precision.angleSec = m0;
  if (ca >= 0 && cb >= 0 && ca + cb > 0) {
    in.precision.aMm = ca;
    in.precision.bPpm = cb;
  }
  in.hasPrecision = true;
  in.known = {KnownAt(t.orientation, a), KnownAt(t.start, names[0]), KnownAt(t.end, names[w.n - 1]),
              KnownAt(t.connection, d)};
  for (int i = 0; i < w.n; ++i) {
    const std::string& back = i == 0 ? a : names[i - 1];
    const std::string& fore = i == w.n - 1 ? d : names[i + 1];
    in.angles.push_back(formats::NetworkAngle{names[i], back, fore, LeftAngleDms(w.betaDegrees[i]), 0});
  }
  for (int i = 0; i + 1 < w.n; ++i)
    in.distances.push_back(formats::NetworkDistance{names[i], names[i + 1], w.reducedLength[i], 0});
  return in;
}

SingleTraverseLeastSquares AdjustSingleTraverseByNetwork(const formats::TraverseObservations& observations,
                                                         const traverse::RigorousResult& weighted,
                                                         const NetworkOptions& options) {
  SingleTraverseLeastSquares out;
  if (weighted.n < 2 || static_cast<int>(weighted.reducedLength.size()) != weighted.n - 1 ||
      observations.stations.size() != static_cast<std::size_t>(weighted.n)) {
    out.refusal = Message{"导线至少需要两个测站。", formats::kNetworkTitle, MessageIcon::Warning};
    return out;
  }
  const formats::NetworkInput input = SingleTraverseAsNetwork(observations, weighted);
  NetworkOutcome outcome = AdjustNetwork(input, options);
  if (!outcome.ok()) {
    out.refusal = outcome.refusal;
    return out;
  }
  std::map<std::string, const NetworkPointResult*> byName;
  for (const NetworkPointResult& p : outcome.result.points) byName[p.name] = &p;
  for (int i = 0; i < weighted.n; ++i) {
    const NetworkPointResult& p = *byName.at(input.angles[i].station);
    out.names.push_back(observations.stations[static_cast<std::size_t>(i)].name);
    out.x.push_back(p.x);
    out.y.push_back(p.y);
    out.sx.push_back(p.sx);
    out.sy.push_back(p.sy);
  }
  out.network = std::move(outcome.result);
  return out;
}

}  // namespace korvane::network
