// Variance components of the observation groups (directions, angles,
// distances, azimuths): σ̂²_g = v_gᵀ·P_g·v_g / r_g with r_g the sum of the
// group's redundancy numbers, each group's deviations scaled by σ̂_g/σ_g and
// the network adjusted again until every factor lies within 1 ± 0.01. A
// distance group scales a and b of its deviations a + b·S together.
#include <cmath>

#include "network/network_quality_figures.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;
constexpr std::size_t kGroups = 4;

std::size_t Group(K kind) { return static_cast<std::size_t>(kind); }

// Whether the observation's deviation is the one PARAM gives its kind.
bool FromParam(const formats::NetworkPrecision& p, const NetworkObservationResult& e) {
  const auto same = [](double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b)); };
  switch (e.kind) {
    case K::Direction: return same(e.sigma, p.directionSec);
    case K::Angle: return same(e.sigma, p.angleSec);
    case K::Distance: return same(e.sigma, p.aMm + p.bPpm * e.observed / 1000);
    case K::Azimuth: return false;
  }
  return false;
}

std::array<NetworkVarianceComponent, kGroups> Groups(const formats::NetworkInput& input, const NetworkResult& r) {
  std::array<NetworkVarianceComponent, kGroups> g;
  std::array<double, kGroups> squares{};
  for (std::size_t k = 0; k < kGroups; ++k) {
    g[k].kind = static_cast<K>(k);
    g[k].fromParam = true;
  }
  for (const NetworkObservationResult& e : r.observations) {
    if (!(e.sigma > 0)) continue;  // a fixed azimuth
    NetworkVarianceComponent& c = g[Group(e.kind)];
    ++c.count;
    squares[Group(e.kind)] += e.sigma * e.sigma;
    c.fromParam = c.fromParam && FromParam(input.precision, e);
  }
  for (std::size_t k = 0; k < kGroups; ++k)
    if (g[k].count > 0) g[k].prior = std::sqrt(squares[k] / g[k].count);
  g[Group(K::Distance)].paramA = input.precision.aMm;
  g[Group(K::Distance)].paramB = input.precision.bPpm;
  return g;
}

}  // namespace

NetworkOutcome EstimateVarianceComponents(const formats::NetworkInput& input, const NetworkOptions& options,
                                          NetworkOutcome out) {
  if (!out.ok()) return out;
  std::array<NetworkVarianceComponent, kGroups> groups = Groups(input, out.result);
  NetworkOptions weighted = options;
  NetworkVarianceEstimation estimation;
  estimation.done = true;
  for (int iteration = 1;; ++iteration) {
    estimation.iterations = iteration;
    std::array<double, kGroups> vtpv{}, redundancy{};
    for (const NetworkObservationResult& e : out.result.observations) {
      if (!(e.sigma > 0)) continue;
      const double u = e.residual / e.sigma;
      vtpv[Group(e.kind)] += u * u;
      redundancy[Group(e.kind)] += e.redundancy;
    }
    std::array<double, kGroups> factor{1, 1, 1, 1};
    bool settled = true;
    for (std::size_t k = 0; k < kGroups; ++k) {
      NetworkVarianceComponent& g = groups[k];
      if (g.count == 0) continue;
      g.redundancy = redundancy[k];
      // A group with less than one redundant observation, or without any
      // residual, has no estimable variance and keeps its deviations.
      g.estimated = redundancy[k] >= kMinGroupRedundancy && vtpv[k] > 0;
      if (!g.estimated) {
        g.factor = weighted.deviationScale[k];
        continue;
      }
      factor[k] = std::sqrt(vtpv[k] / redundancy[k]);
      g.factor = weighted.deviationScale[k] * factor[k];
      settled = settled && std::fabs(factor[k] - 1) <= kVarianceTolerance;
    }
    if (settled) {
      estimation.converged = true;
      break;
    }
    if (iteration >= kMaxVarianceIterations) break;
    for (std::size_t k = 0; k < kGroups; ++k) weighted.deviationScale[k] *= factor[k];
    NetworkOutcome next = AdjustNetwork(input, weighted);
    if (!next.ok()) return next;
    out = std::move(next);
  }
  for (const NetworkVarianceComponent& g : groups)
    if (g.count > 0) estimation.groups.push_back(g);
  out.result.variance = std::move(estimation);
  return out;
}

}  // namespace korvane::network
