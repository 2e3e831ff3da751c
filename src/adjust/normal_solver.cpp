#include "adjust/normal_solver.h"

#include <Eigen/Dense>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseQR>
#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane::adjust {

using SpMat = Eigen::SparseMatrix<double>;
using Ldlt = Eigen::SimplicialLDLT<SpMat, Eigen::Lower>;

struct NormalSolver::Impl {
  Ldlt ldlt;
  Eigen::SparseQR<SpMat, Eigen::COLAMDOrdering<int>> qr;
  bool analysed = false;
  int unknowns = 0;
  SpMat normal;
  // From one iteration to the next the rows touch the same unknowns: the
  // pattern of the normal matrix is kept, with the place in its values of
  // every product a row adds (`scatter`, in the order the rows give them) and
  // the rows' columns it was made for (`key`).
  bool patternKept = false;
  std::vector<int> key, scatter, diagonalAt;
  // Selected inverse on the pattern of the factor (permuted order).
  std::vector<double> zDiag, zLower;
  Eigen::VectorXi perm;  // original index -> permuted index
  Eigen::VectorXd columnScale;  // of the design matrix before its QR
  Eigen::MatrixXd dense; // the inverse when the QR solved the system
  // The datum defect (empty without one): the null space G, T = (C G)⁻¹ C,
  // the held unknowns, H = Q₀ Tᵀ and M = T Q₀ Tᵀ.
  Eigen::MatrixXd g, t, h, m;
  std::vector<char> held;
};

NormalSolver::NormalSolver(int fallbackLimit) : impl_(std::make_unique<Impl>()), fallbackLimit_(fallbackLimit) {}
NormalSolver::~NormalSolver() = default;

namespace {

bool Held(const std::vector<char>& held, int col) { return !held.empty() && held[static_cast<std::size_t>(col)]; }

// The normal equations; a held unknown keeps only a unit diagonal, so that
// it stays zero.
SpMat NormalMatrix(const std::vector<Row>& rows, int u, const std::vector<char>& held, Eigen::VectorXd& rhs) {
  std::vector<Eigen::Triplet<double>> triplets;
  triplets.reserve(rows.size() * 15);
  rhs = Eigen::VectorXd::Zero(u);
  for (const Row& r : rows) {
    for (int a = 0; a < r.count; ++a) {
      if (Held(held, r.cols[a])) continue;
      rhs(r.cols[a]) -= r.weight * r.coef[a] * r.w;
      for (int b = 0; b < r.count; ++b) {
        if (r.cols[b] < r.cols[a] || Held(held, r.cols[b])) continue;
        triplets.emplace_back(r.cols[b], r.cols[a], r.weight * r.coef[a] * r.coef[b]);
      }
    }
  }
  // Every unknown gets its diagonal element, even when nothing observes it.
  for (int i = 0; i < u; ++i) triplets.emplace_back(i, i, Held(held, i) ? 1.0 : 0.0);
  SpMat n(u, u);
  n.setFromTriplets(triplets.begin(), triplets.end());
  return n;
}

// A pivot d_k of LDLᵀ is N_kk less the sum of L_kj² d_j, terms as large as
// N_kk itself: its rounding error is a few units of N_kk's last place. A
// pivot within kPivotRounding of those units is indistinguishable from zero;
// a larger one is small only because the network is long or weakly held, and
// the factor is sound.
constexpr double kPivotRounding = 1000 * std::numeric_limits<double>::epsilon();

// The first permuted pivot that vanishes against the matrix's own diagonal,
// as an original column; -1 when every pivot is sound. A factorisation that
// stopped at an exactly zero pivot has it as its first vanishing one.
int VanishingPivot(const Ldlt& ldlt, const SpMat& n) {
  const Eigen::VectorXd d = ldlt.vectorD();
  const auto& pinv = ldlt.permutationPinv().indices();
  for (int k = 0; k < d.size(); ++k) {
    const int col = pinv(k);
    if (!(d(k) > kPivotRounding * n.coeff(col, col)) || !std::isfinite(d(k))) return col;
  }
  return -1;
}

// The weighted design matrix; a held unknown has a unit row of its own.
SpMat WeightedDesign(const std::vector<Row>& rows, int u, const std::vector<char>& held, Eigen::VectorXd& rhs) {
  std::vector<Eigen::Triplet<double>> triplets;
  const auto count = static_cast<Eigen::Index>(rows.size() + std::count(held.begin(), held.end(), 1));
  rhs = Eigen::VectorXd::Zero(count);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double root = std::sqrt(rows[i].weight);
    rhs(static_cast<Eigen::Index>(i)) = -root * rows[i].w;
    for (int a = 0; a < rows[i].count; ++a)
      if (!Held(held, rows[i].cols[a])) triplets.emplace_back(static_cast<int>(i), rows[i].cols[a], root * rows[i].coef[a]);
  }
  int extra = static_cast<int>(rows.size());
  for (int c = 0; c < static_cast<int>(held.size()); ++c)
    if (held[static_cast<std::size_t>(c)]) triplets.emplace_back(extra++, c, 1.0);
  SpMat a(count, u);
  a.setFromTriplets(triplets.begin(), triplets.end());
  a.makeCompressed();
  return a;
}

// The columns of every row, in order: the pattern of the normal matrix the rows make.
bool SameColumns(const std::vector<Row>& rows, const std::vector<int>& key) {
  std::size_t k = 0;
  for (const Row& r : rows) {
    if (k + 1 + static_cast<std::size_t>(r.count) > key.size() || key[k++] != r.count) return false;
    for (int a = 0; a < r.count; ++a)
      if (key[k++] != r.cols[a]) return false;
  }
  return k == key.size();
}

std::vector<int> ColumnsKey(const std::vector<Row>& rows) {
  std::vector<int> key;
  for (const Row& r : rows) {
    key.push_back(r.count);
    key.insert(key.end(), r.cols.begin(), r.cols.begin() + r.count);
  }
  return key;
}

// The place of element (row, col) of the lower triangle in the values of a
// compressed column-major matrix that holds it.
int PlaceOf(const SpMat& n, int row, int col) {
  const int* first = n.innerIndexPtr() + n.outerIndexPtr()[col];
  const int* last = n.innerIndexPtr() + n.outerIndexPtr()[col + 1];
  return static_cast<int>(std::lower_bound(first, last, row) - n.innerIndexPtr());
}

}  // namespace

// The normal equations of the rows: the first time (or when the rows touch
// other unknowns) through triplets, keeping where each product goes; then
// straight into the kept pattern. Either way each element is the sum of the
// same products in the same order.
void NormalSolver::assemble(const std::vector<Row>& rows, int u, Eigen::VectorXd& rhs) {
  Impl& s = *impl_;
  if (!s.patternKept || s.normal.rows() != u || !SameColumns(rows, s.key)) {
    s.normal = NormalMatrix(rows, u, s.held, rhs);
    s.normal.makeCompressed();
    s.scatter.clear();
    for (const Row& r : rows)
      for (int a = 0; a < r.count; ++a) {
        if (Held(s.held, r.cols[a])) continue;
        for (int b = 0; b < r.count; ++b)
          if (r.cols[b] >= r.cols[a] && !Held(s.held, r.cols[b])) s.scatter.push_back(PlaceOf(s.normal, r.cols[b], r.cols[a]));
      }
    s.diagonalAt.resize(static_cast<std::size_t>(u));
    for (int i = 0; i < u; ++i) s.diagonalAt[static_cast<std::size_t>(i)] = PlaceOf(s.normal, i, i);
    s.key = ColumnsKey(rows);
    s.patternKept = true;
    s.analysed = false;  // a new pattern is ordered anew
    return;
  }
  rhs = Eigen::VectorXd::Zero(u);
  double* value = s.normal.valuePtr();
  std::fill(value, value + s.normal.nonZeros(), 0.0);
  for (int i = 0; i < u; ++i)
    if (Held(s.held, i)) value[s.diagonalAt[static_cast<std::size_t>(i)]] = 1.0;
  const int* place = s.scatter.data();
  for (const Row& r : rows)
    for (int a = 0; a < r.count; ++a) {
      if (Held(s.held, r.cols[a])) continue;
      rhs(r.cols[a]) -= r.weight * r.coef[a] * r.w;
      for (int b = 0; b < r.count; ++b)
        if (r.cols[b] >= r.cols[a] && !Held(s.held, r.cols[b])) value[*place++] += r.weight * r.coef[a] * r.coef[b];
    }
}

bool NormalSolver::setDatum(const Eigen::MatrixXd& nullSpace, const Eigen::MatrixXd& constraints) {
  Impl& s = *impl_;
  s.g.resize(0, 0);
  s.t.resize(0, 0);
  s.held.clear();
  s.analysed = false;  // the held unknowns change the pattern
  s.patternKept = false;
  const Eigen::Index k = nullSpace.cols();
  if (k == 0) return true;
  const Eigen::MatrixXd cg = constraints * nullSpace;
  Eigen::FullPivLU<Eigen::MatrixXd> lu(cg);
  // Constraints on too few unknowns (all datum points in one place, or a
  // single one where a rotation is to be removed) leave C G singular.
  lu.setThreshold(1e-10);
  if (lu.rank() < k) return false;
  // The held unknowns: the k constrained columns the pivoting QR finds most
  // independent, so that the minimal datum is well conditioned.
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(constraints);
  if (qr.rank() < k) return false;
  s.held.assign(static_cast<std::size_t>(nullSpace.rows()), 0);
  for (Eigen::Index i = 0; i < k; ++i) s.held[static_cast<std::size_t>(qr.colsPermutation().indices()(i))] = 1;
  s.g = nullSpace;
  s.t = lu.solve(constraints);
  return true;
}

bool NormalSolver::solve(const std::vector<Row>& rows, int unknowns, Eigen::VectorXd& dx) {
  Impl& s = *impl_;
  Eigen::VectorXd rhs;
  assemble(rows, unknowns, rhs);
  beyond_ = false;
  fallback_ = false;
  // An unknown no observation touches is named at once.
  for (int i = 0; i < unknowns; ++i) {
    if (!(s.normal.valuePtr()[s.diagonalAt[static_cast<std::size_t>(i)]] > 0)) {
      singular_ = i;
      return false;
    }
  }
  if (!s.analysed || s.unknowns != unknowns) {
    s.ldlt.analyzePattern(s.normal);
    s.analysed = true;
    s.unknowns = unknowns;
  }
  s.ldlt.factorize(s.normal);
  singular_ = VanishingPivot(s.ldlt, s.normal);
  if (singular_ < 0 && s.ldlt.info() != Eigen::Success) singular_ = 0;
  if (singular_ < 0) {
    dx = s.ldlt.solve(rhs);
    toDatum(dx);
    return dx.allFinite();
  }
  // A vanishing pivot. The QR's work grows far faster than the network's, so
  // a large network is refused at the pivot's unknown.
  if (unknowns > fallbackLimit_) {
    beyond_ = true;
    return false;
  }
  // The rank of the weighted design matrix decides, its columns scaled to
  // unit length so that the rank threshold is the same for every unknown
  // (a fixed azimuth's weight would otherwise hide the ordinary columns).
  Eigen::VectorXd b;
  SpMat a = WeightedDesign(rows, unknowns, s.held, b);
  if (a.rows() < unknowns) return false;
  s.columnScale = s.normal.diagonal().cwiseSqrt().cwiseInverse();
  a = a * s.columnScale.asDiagonal();
  s.qr.compute(a);
  if (s.qr.info() != Eigen::Success) return false;
  if (s.qr.rank() < unknowns) {
    singular_ = s.qr.colsPermutation().indices()(s.qr.rank());
    return false;
  }
  dx = s.columnScale.cwiseProduct(s.qr.solve(b));
  toDatum(dx);
  singular_ = -1;
  fallback_ = true;
  return dx.allFinite();
}

void NormalSolver::toDatum(Eigen::VectorXd& dx) const {
  const Impl& s = *impl_;
  if (s.g.size() == 0) return;
  dx -= s.g * (s.t * dx);
}

// H = Q₀ Tᵀ by one solve per row of T (the held unknowns' rows of Q₀ are
// zero), and M = T H.
void NormalSolver::prepareDatumInverse() {
  Impl& s = *impl_;
  if (s.g.size() == 0) return;
  const Eigen::Index u = s.g.rows(), k = s.g.cols();
  s.h.resize(u, k);
  for (Eigen::Index j = 0; j < k; ++j) {
    Eigen::VectorXd rhs = s.t.row(j).transpose();
    for (Eigen::Index i = 0; i < u; ++i)
      if (s.held[static_cast<std::size_t>(i)]) rhs(i) = 0;
    Eigen::VectorXd y = fallback_ ? Eigen::VectorXd(s.dense * rhs) : Eigen::VectorXd(s.ldlt.solve(rhs));
    for (Eigen::Index i = 0; i < u; ++i)
      if (s.held[static_cast<std::size_t>(i)]) y(i) = 0;
    s.h.col(j) = y;
  }
  s.m = s.t * s.h;
}

// Q = Q₀ − G Hᵀ − H Gᵀ + G M Gᵀ, element (i, j).
double NormalSolver::toDatum(int i, int j, double q0) const {
  const Impl& s = *impl_;
  if (s.g.size() == 0) return q0;
  if (s.held[static_cast<std::size_t>(i)] || s.held[static_cast<std::size_t>(j)]) q0 = 0;
  return q0 - s.g.row(i).dot(s.h.row(j)) - s.h.row(i).dot(s.g.row(j)) + s.g.row(i) * s.m * s.g.row(j).transpose();
}

void NormalSolver::prepareInverse() {
  Impl& s = *impl_;
  if (fallback_) {
    // With the scaled design A S P = Q R, N⁻¹ = S P R⁻¹ R⁻ᵀ Pᵀ S: the
    // triangular factor keeps the digits the normal matrix has lost, and
    // every unknown keeps its variance.
    const int n = s.unknowns;
    const SpMat r = s.qr.matrixR().topLeftCorner(n, n);
    const Eigen::MatrixXd rInverse =
        Eigen::MatrixXd(r).triangularView<Eigen::Upper>().solve(Eigen::MatrixXd::Identity(n, n));
    const Eigen::MatrixXd permuted = rInverse * rInverse.transpose();
    const auto& p = s.qr.colsPermutation().indices();
    s.dense.resize(n, n);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        s.dense(p(i), p(j)) = s.columnScale(p(i)) * permuted(i, j) * s.columnScale(p(j));
    prepareDatumInverse();
    return;
  }
  const SpMat& l = s.ldlt.matrixL().nestedExpression();
  const Eigen::VectorXd d = s.ldlt.vectorD();
  const int n = static_cast<int>(d.size());
  s.perm = s.ldlt.permutationP().indices();
  s.zDiag.assign(n, 0);
  s.zLower.assign(static_cast<std::size_t>(l.nonZeros()), 0);
  const int* outer = l.outerIndexPtr();
  const int* inner = l.innerIndexPtr();
  const double* value = l.valuePtr();
  // Z(r, c) for r > c lives in column c of the factor's pattern, and every row
  // of column j's pattern below c is in column c's pattern as well: one walk
  // down column c finds each Z(r, c) that column j needs, used for both sums
  // it enters. place[r] is row r's place in column j's pattern (-1: absent).
  std::vector<int> place(static_cast<std::size_t>(n), -1);
  std::vector<double> sum;
  for (int j = n - 1; j >= 0; --j) {
    const int begin = outer[j], count = outer[j + 1] - begin;
    sum.assign(static_cast<std::size_t>(count), 0.0);
    for (int a = 0; a < count; ++a) place[static_cast<std::size_t>(inner[begin + a])] = a;
    for (int a = 0; a < count; ++a) {
      const int c = inner[begin + a];
      const double lc = value[begin + a];
      sum[static_cast<std::size_t>(a)] += lc * s.zDiag[static_cast<std::size_t>(c)];
      for (int t = outer[c]; t < outer[c + 1]; ++t) {
        const int b = place[static_cast<std::size_t>(inner[t])];
        if (b < 0) continue;
        const double zrc = s.zLower[static_cast<std::size_t>(t)];
        sum[static_cast<std::size_t>(b)] += lc * zrc;
        sum[static_cast<std::size_t>(a)] += value[begin + b] * zrc;
      }
    }
    double diag = 1 / d(j);
    for (int a = 0; a < count; ++a) {
      place[static_cast<std::size_t>(inner[begin + a])] = -1;
      s.zLower[static_cast<std::size_t>(begin + a)] = -sum[static_cast<std::size_t>(a)];
      diag += value[begin + a] * sum[static_cast<std::size_t>(a)];
    }
    s.zDiag[static_cast<std::size_t>(j)] = diag;
  }
  prepareDatumInverse();
}

// Q_ii = Σ_k y_k² / D_k with L y = P e_i. The solution of a unit right-hand
// side is non-zero only on the path from its column up the elimination tree,
// so each solve walks that path instead of the whole factor.
Eigen::VectorXd NormalSolver::inverseDiagonal() {
  Impl& s = *impl_;
  const int u = s.unknowns;
  if (fallback_) {
    prepareInverse();
    Eigen::VectorXd diagonal = s.dense.diagonal();
    for (int i = 0; i < u; ++i) diagonal[i] = toDatum(i, i, diagonal[i]);
    return diagonal;
  }
  const SpMat& lower = s.ldlt.matrixL().nestedExpression();
  const Eigen::VectorXd& d = s.ldlt.vectorD();
  const auto& order = s.ldlt.permutationP().indices();
  Eigen::VectorXd diagonal(u), y = Eigen::VectorXd::Zero(u);
  std::vector<int> path;
  for (int i = 0; i < u; ++i) {
    path.clear();
    int c = order[i];
    y[c] = 1;
    while (c >= 0) {
      path.push_back(c);
      int parent = -1;
      for (SpMat::InnerIterator it(lower, c); it; ++it) {
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
  if (s.g.size() > 0) {
    prepareDatumInverse();
    for (int i = 0; i < u; ++i) diagonal[i] = toDatum(i, i, diagonal[i]);
  }
  return diagonal;
}

Eigen::VectorXd NormalSolver::solveNormal(const Eigen::VectorXd& b) const {
  const Impl& s = *impl_;
  // A held unknown of a free network's minimal datum has no row of Q₀.
  Eigen::VectorXd rhs = b;
  for (Eigen::Index i = 0; i < rhs.size(); ++i)
    if (Held(s.held, static_cast<int>(i))) rhs(i) = 0;
  Eigen::VectorXd y = fallback_ ? Eigen::VectorXd(s.dense * rhs) : Eigen::VectorXd(s.ldlt.solve(rhs));
  for (Eigen::Index i = 0; i < y.size(); ++i)
    if (Held(s.held, static_cast<int>(i))) y(i) = 0;
  // b lies in the row space of the design, so Q·b = S·Q₀·b.
  toDatum(y);
  return y;
}

double NormalSolver::inverse(int i, int j) const { return toDatum(i, j, minimalInverse(i, j)); }

double NormalSolver::minimalInverse(int i, int j) const {
  const Impl& s = *impl_;
  if (fallback_) return s.dense(i, j);
  int r = s.perm(i), c = s.perm(j);
  if (r == c) return s.zDiag[r];
  if (r < c) std::swap(r, c);
  const SpMat& l = s.ldlt.matrixL().nestedExpression();
  const int* first = l.innerIndexPtr() + l.outerIndexPtr()[c];
  const int* last = l.innerIndexPtr() + l.outerIndexPtr()[c + 1];
  const int* it = std::lower_bound(first, last, r);
  if (it == last || *it != r) return 0;
  return s.zLower[static_cast<std::size_t>(it - l.innerIndexPtr())];
}

}  // namespace korvane::adjust
