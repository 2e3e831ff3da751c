// The junction network (水准交叉网) by least squares by parameters: the
// unknowns are the heights of the new points, each section an observation
// H_to − H_from = dh + v with weight 1/L (or 1/n), so that the unit weight is
// one km (or one set-up). The normal equations are sparse and positive
// definite once every point hangs on a benchmark; Eigen's simplicial LDLᵀ
// factorisation solves them.
#include <Eigen/Sparse>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/chi_square.h"
#include "levelling/level_adjust.h"
#include "levelling/level_tree.h"

namespace korvane::levelling {
namespace {

using SparseMatrix = Eigen::SparseMatrix<double>;

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

struct Normal {
  SparseMatrix n;
  Eigen::VectorXd rhs;
};

Normal FormNormals(const formats::LevelData& data, const LevelTree& t, int u) {
  std::vector<Eigen::Triplet<double>> entries;
  Normal out{SparseMatrix(u, u), Eigen::VectorXd::Zero(u)};
  for (std::size_t k = 0; k < data.sections.size(); ++k) {
    const double p = 1 / data.sections[k].size;
    const double l = Reduced(t, data.sections[k], k);
    const int i = Unknown(t, t.to[k]), j = Unknown(t, t.from[k]);
    if (i >= 0) entries.emplace_back(i, i, p), out.rhs[i] += p * l;
    if (j >= 0) entries.emplace_back(j, j, p), out.rhs[j] -= p * l;
    if (i >= 0 && j >= 0) entries.emplace_back(i, j, -p), entries.emplace_back(j, i, -p);
  }
  out.n.setFromTriplets(entries.begin(), entries.end());
  return out;
}

// The diagonal of the inverse of N = Pᵀ L D Lᵀ P: Q_ii = Σ_k y_k² / D_k with
// L y = P e_i. The solution of a unit right-hand side is non-zero only on
// the path from its column up the elimination tree, so each solve walks that
// path instead of the whole factor.
Eigen::VectorXd InverseDiagonal(const Eigen::SimplicialLDLT<SparseMatrix>& ldlt, int u) {
  const SparseMatrix& lower = ldlt.matrixL().nestedExpression();
  const Eigen::VectorXd& d = ldlt.vectorD();
  const auto& order = ldlt.permutationP().indices();
  Eigen::VectorXd diagonal(u), y = Eigen::VectorXd::Zero(u);
  std::vector<int> path;
  for (int i = 0; i < u; ++i) {
    path.clear();
    int c = order[i];
    y[c] = 1;
    while (c >= 0) {
      path.push_back(c);
      int parent = -1;
      for (SparseMatrix::InnerIterator it(lower, c); it; ++it) {
        if (it.row() <= c) continue;
        y[it.row()] -= it.value() * y[c];
        if (parent < 0 || it.row() < parent) parent = static_cast<int>(it.row());
      }
      c = parent;
    }
    double sum = 0;
    for (int k : path) sum += y[k] * y[k] / d[k], y[k] = 0;
    diagonal[i] = sum;
  }
  return diagonal;
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
  test.done = true;
  test.statistic = redundancy * sigma0Mm * sigma0Mm / (prior.mm * prior.mm);
  test.lower = ChiSquareQuantile(0.025, redundancy);
  test.upper = ChiSquareQuantile(0.975, redundancy);
  test.passed = test.statistic >= test.lower && test.statistic <= test.upper;
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
    const Normal normal = FormNormals(data, t, u);
    Eigen::SimplicialLDLT<SparseMatrix> ldlt(normal.n);
    if (ldlt.info() != Eigen::Success || !(ldlt.vectorD().minCoeff() > 0))
      return {Refusal("法方程奇异，无法求解：请检查网的连接和各段的距离或测站数。"), {}};
    x = ldlt.solve(normal.rhs);
    q = InverseDiagonal(ldlt, u);
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
  if (r.redundancy > 0) r.sigma0Mm = std::sqrt(pvv / r.redundancy);
  FillPoints(data, t, x, q, r);
  r.misclosures = IndependentMisclosures(data, r.rule);
  r.test = TestVariance(r.sigma0Mm, r.redundancy, r.prior);
  return out;
}

}  // namespace korvane::levelling
