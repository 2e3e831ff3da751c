#include "adjust/normal_solver.h"

#include <cholmod.h>

#include <Eigen/Dense>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseQR>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

namespace korvane::adjust {

using SpMat = Eigen::SparseMatrix<double>;

// The supernodal Cholesky factor P N Pᵀ = L Lᵀ. CHOLMOD (SuiteSparse) orders
// the unknowns (minimum degree alone, so that the same equations always give
// the same factor) and finds the supernodes: runs of columns that share one
// row pattern, each with a dense block of L (rows × columns, column-major).
// The numbers are computed here, multifrontally: a supernode gathers its
// columns of N and the updates its children pass up, factors its diagonal
// block, and passes up the update of the rows below it.
class Factor {
 public:
  using Matrix = Eigen::MatrixXd;

  // The symbolic factor of the pattern of n (its lower triangle).
  void analyse(SpMat& n) {
    cholmod_common common{};
    cholmod_start(&common);
    common.nmethods = 1;
    common.method[0].ordering = CHOLMOD_AMD;
    common.postorder = 1;
    common.supernodal = CHOLMOD_SUPERNODAL;
    // Supernodes of columns with exactly one pattern, none merged with
    // explicit zeros: a long traverse's factor would otherwise hold three
    // times its values, and the junction lattice gains nothing by it.
    for (int level = 0; level < 3; ++level) {
      common.nrelax[level] = 0;
      common.zrelax[level] = 0;
    }
    common.print = 0;
    cholmod_sparse a = View(n);
    cholmod_factor* l = cholmod_analyze(&a, &common);
    int status = common.status;
    if (l != nullptr && status >= CHOLMOD_OK && l->is_super == 0) status = CHOLMOD_INVALID;  // asked for supernodes
    if (l != nullptr && status >= CHOLMOD_OK) {
      const auto copy = [](const void* from, std::size_t count) {
        const int* first = static_cast<const int*>(from);
        return std::vector<int>(first, first + count);
      };
      size_ = static_cast<int>(l->n);
      supernodes_ = static_cast<int>(l->nsuper);
      original_ = copy(l->Perm, l->n);
      super_ = copy(l->super, l->nsuper + 1);
      pi_ = copy(l->pi, l->nsuper + 1);
      px_ = copy(l->px, l->nsuper + 1);
      rows_ = copy(l->s, l->ssize);
      values_ = l->xsize;
      operations_ = common.fl;
      mostBelow_ = 0;
      for (int sn = 0; sn < supernodes_; ++sn)
        mostBelow_ = std::max(mostBelow_, rowCount(sn) - (firstColumn(sn + 1) - firstColumn(sn)));
    }
    cholmod_free_factor(&l, &common);
    cholmod_finish(&common);
    if (status == CHOLMOD_OUT_OF_MEMORY || status == CHOLMOD_TOO_LARGE) throw std::bad_alloc();
    if (status < CHOLMOD_OK) throw std::runtime_error("cholmod_analyze status " + std::to_string(status));
    Gather(n);
  }

  // False when a pivot is not positive; minor() is then its permuted column.
  bool factorise(const SpMat& n) {
    x_.resize(values_);
    minor_ = size_;
    std::vector<Matrix> update(static_cast<std::size_t>(supernodes_));
    std::vector<int> place(static_cast<std::size_t>(size_), -1);
    const double* value = n.valuePtr();
    for (int s = 0; s < supernodes_; ++s) {
      const int first = firstColumn(s), k = firstColumn(s + 1) - first, count = rowCount(s), m = count - k;
      const int* r = rows(s);
      for (int t = 0; t < count; ++t) place[static_cast<std::size_t>(r[t])] = t;
      Eigen::Map<Matrix> l(x_.data() + block(s), count, k);
      l.setZero();
      // N's columns of the supernode.
      for (int c = 0; c < k; ++c)
        for (int e = gatherStart_[static_cast<std::size_t>(first + c)]; e < gatherStart_[static_cast<std::size_t>(first + c + 1)]; ++e)
          l(place[static_cast<std::size_t>(gatherRow_[static_cast<std::size_t>(e)])], c) += value[gatherFrom_[static_cast<std::size_t>(e)]];
      // The children's updates, added onto the rows they share with it.
      Matrix own = Matrix::Zero(m, m);
      for (int child : children_[static_cast<std::size_t>(s)]) {
        Matrix& u = update[static_cast<std::size_t>(child)];
        const int* cr = rows(child) + (firstColumn(child + 1) - firstColumn(child));
        const auto cm = static_cast<int>(u.rows());
        for (int b = 0; b < cm; ++b)
          if (place[static_cast<std::size_t>(cr[b])] < 0) throw std::logic_error("supernodal factor: an update outside its parent");
        for (int b = 0; b < cm; ++b) {
          const int pb = place[static_cast<std::size_t>(cr[b])];
          for (int a = b; a < cm; ++a) {
            const int pa = place[static_cast<std::size_t>(cr[a])];
            if (pb < k)
              l(pa, pb) += u(a, b);
            else
              own(pa - k, pb - k) += u(a, b);
          }
        }
        u.resize(0, 0);
      }
      // Eigen's blocked in-place Cholesky, which tells the first pivot that
      // is not positive (the public LLT says only that one was).
      auto diagonal = l.topRows(k);
      const Eigen::Index failed = Eigen::internal::llt_inplace<double, Eigen::Lower>::blocked(diagonal);
      if (failed >= 0) {
        minor_ = first + static_cast<int>(failed);
        return false;
      }
      if (m > 0) {
        auto below = l.bottomRows(m);
        diagonal.triangularView<Eigen::Lower>().adjoint().solveInPlace<Eigen::OnTheRight>(below);
        own.selfadjointView<Eigen::Lower>().rankUpdate(below, -1.0);
        update[static_cast<std::size_t>(s)] = std::move(own);
      }
      for (int t = 0; t < count; ++t) place[static_cast<std::size_t>(r[t])] = -1;
    }
    return true;
  }

  int size() const { return size_; }
  int minor() const { return minor_; }
  // Original index of permuted column k, and the permuted column of an
  // original index.
  int original(int k) const { return original_[static_cast<std::size_t>(k)]; }
  int permuted(int i) const { return permuted_[static_cast<std::size_t>(i)]; }
  // The supernode that holds permuted column k.
  int superOf(int k) const { return superOf_[static_cast<std::size_t>(k)]; }
  int supernodes() const { return supernodes_; }
  int firstColumn(int s) const { return super_[static_cast<std::size_t>(s)]; }
  int rowCount(int s) const { return pi_[static_cast<std::size_t>(s) + 1] - pi_[static_cast<std::size_t>(s)]; }
  const int* rows(int s) const { return rows_.data() + pi_[static_cast<std::size_t>(s)]; }
  std::size_t block(int s) const { return static_cast<std::size_t>(px_[static_cast<std::size_t>(s)]); }
  std::size_t values() const { return values_; }
  double operations() const { return operations_; }
  const double* value() const { return x_.data(); }
  // The pivot d_k = L_kk² of permuted column k, k below minor().
  double pivot(int s, int k) const {
    const int at = k - firstColumn(s);
    const double lkk = x_[block(s) + static_cast<std::size_t>(at) * static_cast<std::size_t>(rowCount(s) + 1)];
    return lkk * lkk;
  }
  // B := N⁻¹ B by the two triangular solves, supernode by supernode; the
  // columns of B together, so that L is read once for all of them.
  void solve(Eigen::Ref<Matrix> b) const {
    const Eigen::Index columns = b.cols();
    // By rows, so that the rows a supernode gathers and scatters are whole;
    // kept from solve to solve.
    work_.resize(size_, columns);
    part_.resize(mostBelow_, columns);
    for (int k = 0; k < size_; ++k) work_.row(k) = b.row(original(k));
    for (int s = 0; s < supernodes_; ++s) {
      const int first = firstColumn(s), k = firstColumn(s + 1) - first, m = rowCount(s) - k;
      const Eigen::Map<const Matrix> l(value() + block(s), k + m, k);
      auto yj = work_.middleRows(first, k);
      l.topRows(k).triangularView<Eigen::Lower>().solveInPlace(yj);
      auto part = part_.topRows(m);
      part.noalias() = l.bottomRows(m) * yj;
      const int* r = rows(s) + k;
      for (int t = 0; t < m; ++t) work_.row(r[t]) -= part.row(t);
    }
    for (int s = supernodes_ - 1; s >= 0; --s) {
      const int first = firstColumn(s), k = firstColumn(s + 1) - first, m = rowCount(s) - k;
      const Eigen::Map<const Matrix> l(value() + block(s), k + m, k);
      const int* r = rows(s) + k;
      auto part = part_.topRows(m);
      for (int t = 0; t < m; ++t) part.row(t) = work_.row(r[t]);
      auto yj = work_.middleRows(first, k);
      yj.noalias() -= l.bottomRows(m).transpose() * part;
      l.topRows(k).triangularView<Eigen::Lower>().adjoint().solveInPlace(yj);
    }
    for (int k = 0; k < size_; ++k) b.row(original(k)) = work_.row(k);
  }

 private:
  // The lower triangle of n as CHOLMOD's symmetric matrix, without a copy.
  static cholmod_sparse View(SpMat& n) {
    cholmod_sparse a{};
    a.nrow = a.ncol = static_cast<std::size_t>(n.rows());
    a.nzmax = static_cast<std::size_t>(n.nonZeros());
    a.p = n.outerIndexPtr();
    a.i = n.innerIndexPtr();
    a.x = n.valuePtr();
    a.stype = -1;
    a.itype = CHOLMOD_INT;
    a.xtype = CHOLMOD_REAL;
    a.dtype = CHOLMOD_DOUBLE;
    a.sorted = 1;
    a.packed = 1;
    return a;
  }
  // Where each element of n's lower triangle goes in the permuted order: the
  // column, the row and the element's place in n's values, by column; and
  // each supernode's children (the supernodes whose first row below their
  // columns is one of its columns).
  void Gather(const SpMat& n) {
    permuted_.assign(static_cast<std::size_t>(size_), 0);
    for (int k = 0; k < size_; ++k) permuted_[static_cast<std::size_t>(original(k))] = k;
    gatherStart_.assign(static_cast<std::size_t>(size_) + 1, 0);
    for (int j = 0; j < size_; ++j)
      for (int e = n.outerIndexPtr()[j]; e < n.outerIndexPtr()[j + 1]; ++e) {
        const int a = permuted(n.innerIndexPtr()[e]), b = permuted(j);
        ++gatherStart_[static_cast<std::size_t>(std::min(a, b)) + 1];
      }
    for (int k = 0; k < size_; ++k) gatherStart_[static_cast<std::size_t>(k) + 1] += gatherStart_[static_cast<std::size_t>(k)];
    gatherRow_.resize(static_cast<std::size_t>(n.nonZeros()));
    gatherFrom_.resize(static_cast<std::size_t>(n.nonZeros()));
    std::vector<int> next(gatherStart_.begin(), gatherStart_.end() - 1);
    for (int j = 0; j < size_; ++j)
      for (int e = n.outerIndexPtr()[j]; e < n.outerIndexPtr()[j + 1]; ++e) {
        const int a = permuted(n.innerIndexPtr()[e]), b = permuted(j);
        const int at = next[static_cast<std::size_t>(std::min(a, b))]++;
        gatherRow_[static_cast<std::size_t>(at)] = std::max(a, b);
        gatherFrom_[static_cast<std::size_t>(at)] = e;
      }
    superOf_.assign(static_cast<std::size_t>(size_), 0);
    for (int s = 0; s < supernodes_; ++s)
      for (int k = firstColumn(s); k < firstColumn(s + 1); ++k) superOf_[static_cast<std::size_t>(k)] = s;
    children_.assign(static_cast<std::size_t>(supernodes_), {});
    for (int s = 0; s < supernodes_; ++s) {
      const int k = firstColumn(s + 1) - firstColumn(s);
      if (rowCount(s) > k) children_[static_cast<std::size_t>(superOf(rows(s)[k]))].push_back(s);
    }
  }

  int size_ = 0, supernodes_ = 0, minor_ = 0;
  std::vector<int> original_, permuted_, superOf_, super_, pi_, px_, rows_;
  std::size_t values_ = 0;
  double operations_ = 0;
  int mostBelow_ = 0;  // the most rows below a supernode's columns
  std::vector<double> x_;
  using RowMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
  mutable RowMatrix work_, part_;  // the solves' workspace
  std::vector<int> gatherStart_, gatherRow_, gatherFrom_;
  std::vector<std::vector<int>> children_;
};

// The elements Z of N⁻¹ (permuted) on the pattern of the factor, supernode by
// supernode from the last. With J a supernode's columns and R the rows below
// them, L̃ = L_RJ L_JJ⁻¹ and D_J = L_JJ L_JJᵀ (the block LDLᵀ),
//   Z_RJ = −Z_RR L̃,   Z_JJ = D_J⁻¹ − L̃ᵀ Z_RJ,
// where Z_RR lies in the later supernodes that hold the rows R: every row of
// R after r is in the pattern of column r.
void SelectedInverse(const Factor& l, std::vector<double>& z) {
  using Eigen::Index;
  using Matrix = Eigen::MatrixXd;
  z.assign(l.values(), 0.0);
  std::vector<Index> place;  // where each row of R lies in the rows of the supernode holding it
  Matrix zrr;
  for (int sn = l.supernodes() - 1; sn >= 0; --sn) {
    const Index k = l.firstColumn(sn + 1) - l.firstColumn(sn), count = l.rowCount(sn), m = count - k;
    const Eigen::Map<const Matrix> lj(l.value() + l.block(sn), count, k);
    Eigen::Map<Matrix> zj(z.data() + l.block(sn), count, k);
    Matrix inverse = Matrix::Identity(k, k);
    lj.topRows(k).triangularView<Eigen::Lower>().solveInPlace(inverse);  // L_JJ⁻¹
    Matrix zjj = inverse.transpose() * inverse.triangularView<Eigen::Lower>();
    if (m > 0) {
      const Matrix tilde = lj.bottomRows(m) * inverse.triangularView<Eigen::Lower>();
      const int* r = l.rows(sn) + k;
      zrr.resize(m, m);
      place.resize(static_cast<std::size_t>(m));
      for (Index a = 0; a < m;) {
        // The rows a..b−1 are columns of supernode p; Z of their columns at
        // the rows a.. of R is in p's block.
        const int p = l.superOf(r[a]), first = l.firstColumn(p), pCount = l.rowCount(p);
        const int* pRows = l.rows(p);
        Index b = a;
        while (b < m && r[b] < l.firstColumn(p + 1)) ++b;
        Index at = r[a] - first;
        for (Index t = a; t < m; ++t) {
          while (at < pCount && pRows[at] < r[t]) ++at;
          if (at == pCount || pRows[at] != r[t]) throw std::logic_error("selected inverse: pattern not closed");
          place[static_cast<std::size_t>(t)] = at;
        }
        const double* zp = z.data() + l.block(p);
        for (Index c = a; c < b; ++c) {
          const double* column = zp + static_cast<std::size_t>(r[c] - first) * static_cast<std::size_t>(pCount);
          for (Index t = c; t < m; ++t) zrr(t, c) = column[place[static_cast<std::size_t>(t)]];
        }
        a = b;
      }
      const Matrix zrj = -(zrr.selfadjointView<Eigen::Lower>() * tilde);
      zjj.noalias() -= tilde.transpose() * zrj;
      zj.bottomRows(m) = zrj;
    }
    // One value for both halves of the symmetric diagonal block.
    zj.topRows(k) = zjj.selfadjointView<Eigen::Lower>();
  }
}

struct NormalSolver::Impl {
  Factor factor;
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
  // Selected inverse on the supernodal pattern of the factor, block by
  // block as L's values (permuted order).
  std::vector<double> z;
  Eigen::VectorXd columnScale;  // of the design matrix before its QR
  Eigen::MatrixXd dense; // the inverse when the QR solved the system
  // The datum defect (empty without one): the null space G, T = (C G)⁻¹ C,
  // the held unknowns, H = Q₀ Tᵀ and M = T Q₀ Tᵀ.
  Eigen::MatrixXd g, t, h, m;
  std::vector<char> held;
};

NormalSolver::NormalSolver(int fallbackLimit, double mostFactorValues, double mostFactorOperations)
    : impl_(std::make_unique<Impl>()),
      fallbackLimit_(fallbackLimit),
      mostFactorValues_(mostFactorValues),
      mostFactorOperations_(mostFactorOperations) {}
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

// A pivot d_k = L_kk² is N_kk less the sum of L_kj², terms as large as
// N_kk itself: its rounding error is a few units of N_kk's last place. A
// pivot within kPivotRounding of those units is indistinguishable from zero;
// a larger one is small only because the network is long or weakly held, and
// the factor is sound.
constexpr double kPivotRounding = 1000 * std::numeric_limits<double>::epsilon();

// The first permuted pivot that vanishes against the matrix's own diagonal,
// as an original column; -1 when every pivot is sound. A factorisation that
// stopped at a pivot that is not positive has it as its first vanishing one.
int VanishingPivot(const Factor& l, const std::vector<int>& diagonalAt, const SpMat& n, bool complete) {
  const int last = complete ? l.size() : l.minor();
  for (int s = 0; s < l.supernodes(); ++s) {
    const int end = std::min(l.firstColumn(s + 1), last);
    for (int k = l.firstColumn(s); k < end; ++k) {
      const int col = l.original(k);
      const double d = l.pivot(s, k);
      if (!(d > kPivotRounding * n.valuePtr()[diagonalAt[static_cast<std::size_t>(col)]]) || !std::isfinite(d)) return col;
    }
    if (end == last) break;
  }
  return complete ? -1 : l.original(last);
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
  tooLarge_ = false;
  // An unknown no observation touches is named at once.
  for (int i = 0; i < unknowns; ++i) {
    if (!(s.normal.valuePtr()[s.diagonalAt[static_cast<std::size_t>(i)]] > 0)) {
      singular_ = i;
      return false;
    }
  }
  if (!s.analysed || s.unknowns != unknowns) {
    s.factor.analyse(s.normal);
    s.analysed = true;
    s.unknowns = unknowns;
  }
  if (factorValues() > mostFactorValues_ || factorOperations() > mostFactorOperations_) {
    singular_ = -1;
    tooLarge_ = true;
    return false;
  }
  const bool complete = s.factor.factorise(s.normal);
  singular_ = VanishingPivot(s.factor, s.diagonalAt, s.normal, complete);
  if (singular_ < 0) {
    dx = rhs;
    s.factor.solve(dx);
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
    Eigen::VectorXd y = rhs;
    if (fallback_)
      y = s.dense * rhs;
    else
      s.factor.solve(y);
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
  SelectedInverse(s.factor, s.z);
  prepareDatumInverse();
}

// The diagonal of the inverse normal matrix.
Eigen::VectorXd NormalSolver::inverseDiagonal() {
  prepareInverse();
  Eigen::VectorXd diagonal(impl_->unknowns);
  for (int i = 0; i < impl_->unknowns; ++i) diagonal[i] = inverse(i, i);
  return diagonal;
}

Eigen::MatrixXd NormalSolver::solveNormal(Eigen::MatrixXd rhs) const {
  const Impl& s = *impl_;
  // A held unknown of a free network's minimal datum has no row of Q₀.
  for (Eigen::Index i = 0; i < rhs.rows(); ++i)
    if (Held(s.held, static_cast<int>(i))) rhs.row(i).setZero();
  if (fallback_)
    rhs = s.dense * rhs;
  else
    s.factor.solve(rhs);
  for (Eigen::Index i = 0; i < rhs.rows(); ++i)
    if (Held(s.held, static_cast<int>(i))) rhs.row(i).setZero();
  // b lies in the row space of the design, so Q·b = S·Q₀·b.
  if (s.g.size() > 0) rhs -= s.g * (s.t * rhs);
  return rhs;
}

double NormalSolver::factorValues() const { return static_cast<double>(impl_->factor.values()); }
double NormalSolver::factorOperations() const { return impl_->factor.operations(); }

std::string FactorTooLarge(const NormalSolver& solver) {
  const auto whole = [](double v) { return std::to_string(static_cast<long long>(std::ceil(v))); };
  return "法方程的分解约需 " + whole(solver.factorValues() * 16 / 1e6) + " MB 内存、" + whole(solver.factorOperations() / 1e8) +
         " 亿次运算，超出本程序的限度（" + whole(kMostFactorValues * 16 / 1e6) + " MB、" + whole(kMostFactorOperations / 1e8) +
         " 亿次）：网中观测把点连得过密，请把网分成几部分平差。";
}

double NormalSolver::inverse(int i, int j) const { return toDatum(i, j, minimalInverse(i, j)); }

double NormalSolver::minimalInverse(int i, int j) const {
  const Impl& s = *impl_;
  if (fallback_) return s.dense(i, j);
  int r = s.factor.permuted(i), c = s.factor.permuted(j);
  if (r < c) std::swap(r, c);
  const Factor& l = s.factor;
  const int sn = s.factor.superOf(c);
  const int first = l.firstColumn(sn), count = l.rowCount(sn);
  const int* rows = l.rows(sn);
  const int* it = std::lower_bound(rows, rows + count, r);
  if (it == rows + count || *it != r) return 0;
  return s.z[l.block(sn) + static_cast<std::size_t>(c - first) * static_cast<std::size_t>(count) + static_cast<std::size_t>(it - rows)];
}

}  // namespace korvane::adjust
