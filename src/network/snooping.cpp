// Data snooping (Baarda): the observation of the largest |w| above the
// critical value is left out and the network adjusted again, one at a time,
// until no |w| exceeds it. An observation with a redundancy number below
// kTestableRedundancy is never left out, nor one without which the network
// cannot be adjusted (a point would be undetermined).
#include <algorithm>
#include <numeric>

#include "network/network_quality_figures.h"

namespace korvane::network {
namespace {

// Candidates tried in one round before snooping gives up.
constexpr std::size_t kCandidatesPerRound = 5;

NetworkSnoopRound RoundOf(const NetworkResult& r, const NetworkObservationResult& o) {
  NetworkSnoopRound round;
  round.kind = o.kind;
  round.station = o.station;
  round.back = o.back;
  round.target = o.target;
  round.line = o.line;
  round.residual = o.residual;
  round.sigma = o.sigma;
  round.redundancy = o.redundancy;
  round.w = o.standardised;
  round.sigma0 = r.sigma0;
  round.degreesOfFreedom = r.degreesOfFreedom;
  return round;
}

// Snoops the adjusted network `out` (adjusted with `options`); on return
// `out` and `options` are those of the last round.
SnoopEnd Snoop(const formats::NetworkInput& input, NetworkOptions& options, NetworkOutcome& out,
               std::vector<NetworkSnoopRound>& rounds) {
  for (;;) {
    const NetworkResult& r = out.result;
    std::vector<int> over;
    for (std::size_t k = 0; k < r.observations.size(); ++k)
      if (r.observations[k].standardised > kCriticalW) over.push_back(static_cast<int>(k));
    if (over.empty()) return SnoopEnd::Clean;
    if (static_cast<int>(rounds.size()) >= kMaxSnoopRounds) return SnoopEnd::RoundLimit;
    // Leaving one out takes one degree of freedom; at least one must remain.
    if (r.degreesOfFreedom < 2) return SnoopEnd::NoRedundancy;
    std::stable_sort(over.begin(), over.end(), [&r](int a, int b) {
      return r.observations[a].standardised > r.observations[b].standardised;
    });
    std::erase_if(over, [&r](int k) { return r.observations[k].redundancy < kTestableRedundancy; });
    if (over.size() > kCandidatesPerRound) over.resize(kCandidatesPerRound);
    bool removed = false;
    for (int k : over) {
      NetworkOptions trial = options;
      trial.excluded.push_back(r.observations[k].index);
      NetworkOutcome next = AdjustNetwork(input, trial);
      if (!next.ok()) continue;
      rounds.push_back(RoundOf(r, r.observations[k]));
      options = std::move(trial);
      out = std::move(next);
      removed = true;
      break;
    }
    if (!removed) return SnoopEnd::Untestable;
  }
}

}  // namespace

std::vector<int> KeepObservations(Model& m, const NetworkOptions& options) {
  std::vector<int> kept(m.obs.size());
  std::iota(kept.begin(), kept.end(), 0);
  if (!options.excluded.empty()) {
    std::vector<bool> out(m.obs.size(), false);
    for (int k : options.excluded)
      if (k >= 0 && k < static_cast<int>(out.size())) out[k] = true;
    std::size_t to = 0;
    for (std::size_t k = 0; k < m.obs.size(); ++k) {
      if (out[k]) continue;
      m.obs[to] = m.obs[k];
      kept[to++] = static_cast<int>(k);
    }
    m.obs.resize(to);
    kept.resize(to);
  }
  for (Observation& o : m.obs) o.sigma *= options.deviationScale[static_cast<std::size_t>(o.kind)];
  return kept;
}

NetworkOutcome AdjustWithQuality(const formats::NetworkInput& input, const NetworkOptions& options) {
  NetworkOptions single = options;
  single.snoop = single.varianceComponents = false;
  single.precision = true;
  NetworkOutcome out = AdjustNetwork(input, single);
  if (!out.ok()) return out;
  std::vector<NetworkSnoopRound> rounds;
  SnoopEnd end = SnoopEnd::None;
  if (options.snoop) end = Snoop(input, single, out, rounds);
  const double sigma0 = out.result.sigma0;
  const int degreesOfFreedom = out.result.degreesOfFreedom;
  if (options.varianceComponents) out = EstimateVarianceComponents(input, single, std::move(out));
  if (!out.ok()) return out;
  out.result.snooping = std::move(rounds);
  out.result.snoopEnd = end;
  out.result.snoopSigma0 = sigma0;
  out.result.snoopDegreesOfFreedom = degreesOfFreedom;
  return out;
}

}  // namespace korvane::network
