#pragma once
// The normal equations of the network: sparse LDLᵀ (Eigen's simplicial
// factorisation with a fill-reducing ordering) with a check of every pivot;
// when a pivot vanishes, a sparse QR of the weighted design matrix decides
// between a rank deficiency (the singular unknown is named) and a merely
// ill-conditioned system (solved by the QR). The diagonal blocks of the
// inverse come from the factor by the selected-inverse recurrence.
#include <Eigen/Sparse>
#include <memory>
#include <vector>

#include "network/network_rows.h"

namespace korvane::network {

class NormalSolver {
 public:
  NormalSolver();
  ~NormalSolver();
  // Forms and solves the normal equations of the rows. Returns false when
  // the system is singular; singularColumn() then names the unknown.
  bool solve(const std::vector<Row>& rows, int unknowns, Eigen::VectorXd& dx);
  int singularColumn() const { return singular_; }
  bool usedFallback() const { return fallback_; }
  // Elements of the inverse normal matrix; valid for pairs of unknowns that
  // share an observation, after a successful solve.
  void prepareInverse();
  double inverse(int i, int j) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int singular_ = -1;
  bool fallback_ = false;
};

}  // namespace korvane::network
