// The junction network (水准交叉网) as an observation model of the adjustment
// core: the unknowns are the heights of the new points (mm, from the heights
// carried along the spanning tree), each section an observation
// H_to − H_from = dh + v with weight 1/L (or 1/n), so that the unit weight is
// one km (or one set-up). The normal equations are positive definite once
// every point hangs on a benchmark.
#include <algorithm>
#include <cmath>
#include <vector>

#include "adjust/normal_solver.h"
#include "adjust/variance.h"
#include "levelling/level_adjust.h"
#include "levelling/level_tree.h"

namespace korvane::levelling {
namespace {

// Unknown number of a node, or -1 for the datum and the benchmarks.
int Unknown(const LevelTree& t, int node) { return node > t.benchmarkCount ? node - t.benchmarkCount - 1 : -1; }

// Reduced observation of section k in mm: observed minus the difference of
// the heights carried along the tree.
double Reduced(const LevelTree& t, const formats::Section& s, std::size_t k) {
  return (s.dh - (t.potential[t.to[k]] - t.potential[t.from[k]])) * 1000;
}

std::optional<Message> Unreachable(const LevelTree& t) {
  for (std::size_t i = 1; i < t.names.size(); ++i)
    if (!t.reached[i])
      return Refusal("点" + t.names[i] + "与已知水准点不相连，无法求其高程：请检查测段的点名或补充观测。");
  return std::nullopt;
}

// The row of section k at zero corrections: v = dx_to − dx_from − l.
std::vector<adjust::Row> Rows(const formats::LevelData& data, const LevelTree& t) {
  std::vector<adjust::Row> rows(data.sections.size());
  for (std::size_t k = 0; k < data.sections.size(); ++k) {
    adjust::Row& row = rows[k];
    row.add(Unknown(t, t.to[k]), 1);
    row.add(Unknown(t, t.from[k]), -1);
    row.w = -Reduced(t, data.sections[k], k);
    row.weight = 1 / data.sections[k].size;
  }
  return rows;
}

void FillPoints(const formats::LevelData& data, const LevelTree& t, const Eigen::VectorXd& x, const Eigen::VectorXd& q,
                LevelResult& r) {
  for (const formats::Benchmark& b : data.benchmarks) r.points.push_back({b.name, b.height, true});
  for (std::size_t node = t.benchmarkCount + 1; node < t.names.size(); ++node) {
    const int i = Unknown(t, static_cast<int>(node));
    PointResult p{t.names[node], t.potential[node] + x[i] / 1000, false};
    if (r.redundancy > 0) p.errorMm = r.sigma0Mm * std::sqrt(std::max(q[i], 0.0));
    r.points.push_back(p);
  }
}

}  // namespace

VarianceTest TestVariance(double sigma0Mm, int redundancy, const standards::PriorError& prior) {
  VarianceTest test;
  if (redundancy <= 0) {
    test.why = "无多余观测，不作检验";
    return test;
  }
  if (!prior.known) {
    test.why = "该等级按测站数定权时无先验中误差，不作检验";
    return test;
  }
  const adjust::ChiSquareTest chi =
      adjust::TwoSidedChiSquare(redundancy * sigma0Mm * sigma0Mm / (prior.mm * prior.mm), redundancy);
  test.done = true;
  test.statistic = chi.statistic;
  test.lower = chi.lower;
  test.upper = chi.upper;
  test.passed = chi.passed;
  return test;
}

LevelOutcome AdjustNetwork(const formats::LevelData& data) {
  LevelOutcome out;
  if ((out.refusal = CheckCommon(data))) return out;
  const LevelTree t = GrowTree(data);
  if ((out.refusal = Unreachable(t))) return out;
  LevelResult& r = out.result;
  r.method = formats::Method::Network;
  r.params = data.params;
  r.rule = standards::ClosureLimitRule(data.params.grade, data.params.terrain);
  r.limitNote = standards::LimitNote(data.params);
  r.prior = standards::PriorUnitError(data.params);
  const int u = static_cast<int>(t.names.size()) - t.benchmarkCount - 1;
  Eigen::VectorXd x = Eigen::VectorXd::Zero(u), q = Eigen::VectorXd::Zero(u);
  if (u > 0) {
    adjust::NormalSolver solver;
    if (!solver.solve(Rows(data, t), u, x)) {
      if (solver.tooLarge()) return {Refusal(adjust::FactorTooLarge(solver)), {}};
      if (solver.singularColumn() < 0) return {Refusal("法方程病态，解不可信：请检查各段的距离或测站数。"), {}};
      return {Refusal("法方程奇异，无法求解：请检查网的连接和各段的距离或测站数。"), {}};
    }
    q = solver.inverseDiagonal();
    if (!x.allFinite() || !q.allFinite()) return {Refusal("法方程病态，解不可信：请检查各段的距离或测站数。"), {}};
  }
  double pvv = 0;
  for (std::size_t k = 0; k < data.sections.size(); ++k) {
    const formats::Section& s = data.sections[k];
    const int i = Unknown(t, t.to[k]), j = Unknown(t, t.from[k]);
    const double v = (i >= 0 ? x[i] : 0) - (j >= 0 ? x[j] : 0) - Reduced(t, s, k);
    r.sections.push_back({s, v, s.dh + v / 1000});
    pvv += v * v / s.size;
  }
  r.redundancy = static_cast<int>(data.sections.size()) - u;
  if (r.redundancy > 0) r.sigma0Mm = adjust::Sigma0(pvv, r.redundancy);
  FillPoints(data, t, x, q, r);
  r.misclosures = IndependentMisclosures(data, r.rule);
  r.test = TestVariance(r.sigma0Mm, r.redundancy, r.prior);
  return out;
}

}  // namespace korvane::levelling
