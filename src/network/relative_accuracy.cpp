// Relative accuracy of the observed sides: the cofactors of the coordinate
// difference of two points, Q_ii + Q_jj − Q_ij − Q_ji, from the elements of
// the inverse normal matrix the selected inverse holds for every pair of
// unknowns that share an observation.
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "network/network_quality_figures.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;

// The 2×2 cofactor block of point i with point j (zero for a known point).
struct Block {
  double xx = 0, xy = 0, yx = 0, yy = 0;
};

Block Cofactors(const Model& m, const adjust::NormalSolver& solver, int i, int j) {
  const int ci = m.column[i], cj = m.column[j];
  if (ci < 0 || cj < 0) return {};
  return {solver.inverse(ci, cj), solver.inverse(ci, cj + 1), solver.inverse(ci + 1, cj), solver.inverse(ci + 1, cj + 1)};
}

NetworkRelativeAccuracy Relative(const Model& m, const adjust::NormalSolver& solver, double s0, int i, int j) {
  const Block ii = Cofactors(m, solver, i, i), jj = Cofactors(m, solver, j, j), ij = Cofactors(m, solver, i, j);
  const double qxx = ii.xx + jj.xx - 2 * ij.xx;
  const double qyy = ii.yy + jj.yy - 2 * ij.yy;
  const double qxy = ii.xy + jj.xy - ij.xy - ij.yx;
  NetworkPointResult ellipse;
  Ellipse(qxx, qyy, qxy, s0, ellipse);
  NetworkRelativeAccuracy a;
  a.from = i;
  a.to = j;
  a.ellipseA = ellipse.ellipseA;
  a.ellipseB = ellipse.ellipseB;
  a.ellipseAzimuth = ellipse.ellipseAzimuth;
  const double dx = m.x[j] - m.x[i], dy = m.y[j] - m.y[i];
  a.distance = std::hypot(dx, dy);
  if (a.distance > 0) {
    const double cx = dx / a.distance, cy = dy / a.distance;
    a.sigmaS = s0 * std::sqrt(std::max(cx * cx * qxx + 2 * cx * cy * qxy + cy * cy * qyy, 0.0));
    a.ratio = a.sigmaS / (a.distance * 1000);
  }
  return a;
}

}  // namespace

void FillRelativeAccuracy(const Model& m, const adjust::NormalSolver& solver, double s0, NetworkResult& r) {
  r.relative.clear();
  r.weakestPoint = r.weakestSide = -1;
  std::unordered_set<std::uint64_t> seen;
  const auto add = [&](int i, int j) {
    if (i < 0 || j < 0 || i == j || (m.column[i] < 0 && m.column[j] < 0)) return;
    const auto key = (static_cast<std::uint64_t>(std::min(i, j)) << 32) | static_cast<std::uint32_t>(std::max(i, j));
    if (!seen.insert(key).second) return;
    r.relative.push_back(Relative(m, solver, s0, i, j));
  };
  // Every side an observation runs along: station to target, and for an
  // angle also station to back sight.
  for (const Observation& o : m.obs) {
    add(o.at, o.to);
    if (o.kind == K::Angle) add(o.at, o.back);
  }
  for (std::size_t k = 0; k < r.relative.size(); ++k)
    if (r.weakestSide < 0 || r.relative[k].ratio > r.relative[r.weakestSide].ratio) r.weakestSide = static_cast<int>(k);
  for (std::size_t i = 0; i < r.points.size(); ++i)
    if (!r.points[i].known && (r.weakestPoint < 0 || r.points[i].sp > r.points[r.weakestPoint].sp))
      r.weakestPoint = static_cast<int>(i);
}

}  // namespace korvane::network
