#pragma once
// The normal equations of the network: a supernodal sparse Cholesky factor
// (CHOLMOD's fill-reducing ordering and supernodes, the numbers computed here
// in dense blocks) with a check of every pivot against the rounding error it
// carries. When a pivot vanishes in a network of at most `fallbackLimit`
// unknowns, a sparse QR of the weighted design matrix decides between a rank
// deficiency (the singular unknown is named) and a system the normal
// equations cannot hold in double precision (solved by the QR, the inverse
// taken from its triangular factor). Above that size the unknown of the
// vanishing pivot is named at once. The elements of the inverse on the
// factor's pattern, its diagonal among them, come from the selected-inverse
// recurrence, supernode by supernode.
//
// A network without a datum (a free network) has a defect: changes of the
// unknowns no observation sees (shifts, a rotation, a scale). setDatum()
// gives them and the constraints the solution is to meet; the equations are
// then solved with as many unknowns held at zero as the defect (a minimal
// datum chosen among the constrained unknowns) and the solution and the
// inverse are carried onto the constraints by the S-transformation
// x = (I − G (C G)⁻¹ C) x₀, Q = S Q₀ Sᵀ.
#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <memory>
#include <string>
#include <vector>

#include "adjust/fallback.h"
#include "adjust/observation_row.h"

namespace korvane::adjust {

class NormalSolver {
 public:
  explicit NormalSolver(int fallbackLimit = kFallbackUnknowns, double mostFactorValues = kMostFactorValues,
                        double mostFactorOperations = kMostFactorOperations);
  ~NormalSolver();
  // The datum defect: `nullSpace` (unknowns × k) spans the changes no
  // observation sees, `constraints` (k × unknowns) the conditions the
  // solution meets (for the minimum norm over some unknowns, the null space's
  // rows of those unknowns, zero elsewhere). Returns false, and keeps no
  // datum, when the constraints cannot remove the defect (C G singular). An
  // empty null space clears the datum.
  bool setDatum(const Eigen::MatrixXd& nullSpace, const Eigen::MatrixXd& constraints);
  // Forms and solves the normal equations of the rows. Returns false when
  // the system is singular; singularColumn() then names the unknown and
  // beyondFallback() tells whether it was named without the QR's verdict.
  // Returns false as well, with tooLarge(), when the factor would exceed
  // its bounds.
  bool solve(const std::vector<Row>& rows, int unknowns, Eigen::VectorXd& dx);
  bool tooLarge() const { return tooLarge_; }
  int singularColumn() const { return singular_; }
  bool beyondFallback() const { return beyond_; }
  bool usedFallback() const { return fallback_; }
  // The size of the factor of the last solve: its values and the
  // operations of its factorisation.
  double factorValues() const;
  double factorOperations() const;
  // Elements of the inverse normal matrix; valid for pairs of unknowns that
  // share an observation, after a successful solve.
  void prepareInverse();
  double inverse(int i, int j) const;
  // The diagonal of the inverse normal matrix, after a successful solve
  // (prepares the inverse).
  Eigen::VectorXd inverseDiagonal();
  // N⁻¹·B, column by column, after a successful solve (and prepareInverse()
  // when the QR solved the system). Many columns at once cost little more
  // than one.
  Eigen::MatrixXd solveNormal(Eigen::MatrixXd b) const;

 private:
  void assemble(const std::vector<Row>& rows, int unknowns, Eigen::VectorXd& rhs);
  void toDatum(Eigen::VectorXd& dx) const;
  double toDatum(int i, int j, double minimal) const;
  void prepareDatumInverse();
  double minimalInverse(int i, int j) const;
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int fallbackLimit_;
  double mostFactorValues_, mostFactorOperations_;
  bool tooLarge_ = false;
  int singular_ = -1;
  bool beyond_ = false;
  bool fallback_ = false;
};

// The refusal of a factor beyond its bounds, with what it would have taken.
std::string FactorTooLarge(const NormalSolver& solver);

}  // namespace korvane::adjust
