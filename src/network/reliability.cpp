// Internal and external reliability (Baarda): the minimal detectable bias
// ∇ = σ·δ0/√r of every observation and the largest change of a coordinate
// that bias causes, Δx = N⁻¹·aᵀ·p·∇.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

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

// The columns of the right-hand sides solved together.
constexpr Eigen::Index kSolvedTogether = 8;

// The largest effect on a coordinate of each bias: ∇_k·N⁻¹·a_kᵀ·p_k, for
// the observations `which`, solved kSolvedTogether at a time.
void LargestEffects(const Model& m, const adjust::NormalSolver& solver, const std::vector<int>& which, NetworkResult& r) {
  Eigen::MatrixXd dx;  // one buffer for every group of right-hand sides
  for (std::size_t start = 0; start < which.size(); start += kSolvedTogether) {
    const auto count = static_cast<Eigen::Index>(std::min<std::size_t>(kSolvedTogether, which.size() - start));
    dx.setZero(m.unknowns, count);
    for (Eigen::Index j = 0; j < count; ++j) {
      const int k = which[start + static_cast<std::size_t>(j)];
      const Row row = Linearise(m, m.obs[k]);
      for (int a = 0; a < row.count; ++a) dx(row.cols[a], j) = row.coef[a] * row.weight * r.observations[k].mdb;
    }
    dx = solver.solveNormal(std::move(dx));
    for (Eigen::Index j = 0; j < count; ++j) {
      double largest = 0;
      for (std::size_t i = 0; i < m.names.size(); ++i) {
        const int c = m.column[i];
        if (c >= 0) largest = std::max({largest, std::fabs(dx(c, j)), std::fabs(dx(c + 1, j))});
      }
      r.observations[which[start + static_cast<std::size_t>(j)]].mdbEffect = largest;
    }
  }
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
  LargestEffects(m, solver, testable, r);
}

}  // namespace korvane::network
