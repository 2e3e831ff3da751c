// Internal and external reliability (Baarda): the minimal detectable bias
// ∇ = σ·δ0/√r of every observation and the largest change of a coordinate
// that bias causes, Δx = N⁻¹·aᵀ·p·∇.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "network/network_quality_figures.h"
#include "network/network_rows.h"

namespace korvane::network {
namespace {

// Below this the observation is controlled by no other: no bias of it can be detected.
constexpr double kNoRedundancy = 1e-6;
// The external reliability of every observation takes one solve with the
// factor per observation; above this many unknowns × observations (a few
// hundred points) only the observations over the critical value get it, the
// largest |w| first, so that the adjustment keeps its speed.
constexpr double kEveryObservationWork = 1e6;
constexpr std::size_t kMostFlagged = 200;

double LargestEffect(const Model& m, const adjust::NormalSolver& solver, const Observation& o, double bias) {
  const Row row = Linearise(m, o);
  Eigen::VectorXd b = Eigen::VectorXd::Zero(m.unknowns);
  for (int a = 0; a < row.count; ++a) b(row.cols[a]) = row.coef[a] * row.weight * bias;
  const Eigen::VectorXd dx = solver.solveNormal(b);
  double largest = 0;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    const int c = m.column[i];
    if (c >= 0) largest = std::max({largest, std::fabs(dx(c)), std::fabs(dx(c + 1))});
  }
  return largest;
}

}  // namespace

void FillReliability(const Model& m, const adjust::NormalSolver& solver, NetworkResult& r) {
  std::vector<int> testable;
  for (std::size_t k = 0; k < m.obs.size(); ++k) {
    NetworkObservationResult& e = r.observations[k];
    if (!(m.obs[k].sigma > 0) || e.redundancy <= kNoRedundancy) continue;
    e.mdb = m.obs[k].sigma * kPowerDelta0 / std::sqrt(e.redundancy);
    testable.push_back(static_cast<int>(k));
  }
  const bool every = static_cast<double>(m.unknowns) * static_cast<double>(testable.size()) <= kEveryObservationWork;
  if (!every) {
    std::erase_if(testable, [&r](int k) { return !(r.observations[k].standardised > kCriticalW); });
    std::sort(testable.begin(), testable.end(),
              [&r](int a, int b) { return r.observations[a].standardised > r.observations[b].standardised; });
    if (testable.size() > kMostFlagged) testable.resize(kMostFlagged);
  }
  for (int k : testable) r.observations[k].mdbEffect = LargestEffect(m, solver, m.obs[k], r.observations[k].mdb);
}

}  // namespace korvane::network
