// The adjustment core on small systems checked against dense algebra: the
// solution, the inverse (selected elements and diagonal), redundancy numbers
// summing to the degrees of freedom, the QR fall-back within and beyond its
// size, a rank deficiency named at its unknown, the chi-square bounds, the
// minimum-norm datum of a system with a defect, one solver carried
// through iterations whose rows change, and networks large enough that the
// factor has many supernodes, each taking its children's updates.
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "adjust/normal_solver.h"
#include "adjust/variance.h"

using namespace korvane::adjust;

namespace korvane {
namespace {

Row MakeRow(std::vector<std::pair<int, double>> terms, double w, double weight) {
  Row r;
  for (const auto& [col, a] : terms) r.add(col, a);
  r.w = w;
  r.weight = weight;
  return r;
}

// A levelling loop of four new heights hung on two benchmarks (column -1),
// seven sections with unequal weights.
std::vector<Row> Loop() {
  return {MakeRow({{0, 1}, {-1, -1}}, 3.0, 1 / 2.0),  MakeRow({{1, 1}, {0, -1}}, -2.0, 1 / 1.5),
          MakeRow({{2, 1}, {1, -1}}, 1.0, 1 / 2.5),   MakeRow({{3, 1}, {2, -1}}, 4.0, 1 / 1.0),
          MakeRow({{-1, 1}, {3, -1}}, -6.0, 1 / 2.2), MakeRow({{2, 1}, {0, -1}}, 2.5, 1 / 1.8),
          MakeRow({{3, 1}, {1, -1}}, -1.5, 1 / 3.0)};
}

void Dense(const std::vector<Row>& rows, int u, Eigen::MatrixXd& n, Eigen::VectorXd& rhs) {
  n = Eigen::MatrixXd::Zero(u, u);
  rhs = Eigen::VectorXd::Zero(u);
  for (const Row& r : rows)
    for (int a = 0; a < r.count; ++a) {
      rhs(r.cols[a]) -= r.weight * r.coef[a] * r.w;
      for (int b = 0; b < r.count; ++b) n(r.cols[a], r.cols[b]) += r.weight * r.coef[a] * r.coef[b];
    }
}

TEST(AdjustCore, SolutionInverseAndRedundanciesMatchDenseAlgebra) {
  const std::vector<Row> rows = Loop();
  Eigen::MatrixXd n;
  Eigen::VectorXd rhs;
  Dense(rows, 4, n, rhs);
  const Eigen::MatrixXd q = n.inverse();
  NormalSolver solver;
  Eigen::VectorXd dx;
  ASSERT_TRUE(solver.solve(rows, 4, dx));
  EXPECT_FALSE(solver.usedFallback());
  EXPECT_LT((dx - q * rhs).cwiseAbs().maxCoeff(), 1e-12);
  const Eigen::VectorXd diagonal = solver.inverseDiagonal();
  solver.prepareInverse();
  double redundancies = 0;
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(diagonal(i), q(i, i), 1e-12);
    EXPECT_NEAR(solver.inverse(i, i), q(i, i), 1e-12);
  }
  for (const Row& r : rows) {
    // Unknowns sharing an observation are on the factor's pattern.
    if (r.count == 2) {
      EXPECT_NEAR(solver.inverse(r.cols[0], r.cols[1]), q(r.cols[0], r.cols[1]), 1e-12);
    }
    redundancies += Redundancy(r, solver);
  }
  EXPECT_NEAR(redundancies, 7 - 4, 1e-9);
}

// One solver carried from iteration to iteration: new misclosures and
// weights on the same unknowns go into the kept pattern, rows on other
// unknowns (a section left out, one hung on other points) make a new one;
// every solution and inverse is the dense one of those rows.
TEST(AdjustCore, ASolverKeptAcrossIterationsFollowsItsRows) {
  std::vector<std::vector<Row>> iterations(4, Loop());
  for (Row& r : iterations[1]) r.w *= -0.5, r.weight *= 1.5;
  iterations[2].erase(iterations[2].begin() + 5);
  iterations[3][6] = MakeRow({{3, 1}, {0, -1}}, 0.7, 1 / 2.0);
  NormalSolver solver;
  for (std::size_t k = 0; k < iterations.size(); ++k) {
    Eigen::MatrixXd n;
    Eigen::VectorXd rhs, dx;
    Dense(iterations[k], 4, n, rhs);
    const Eigen::MatrixXd q = n.inverse();
    ASSERT_TRUE(solver.solve(iterations[k], 4, dx)) << "iteration " << k;
    EXPECT_LT((dx - q * rhs).cwiseAbs().maxCoeff(), 1e-12) << "iteration " << k;
    solver.prepareInverse();
    for (const Row& r : iterations[k])
      EXPECT_NEAR(solver.inverse(r.cols[0], r.cols[r.count - 1]), q(r.cols[0], r.cols[r.count - 1]), 1e-12) << "iteration " << k;
  }
}

// Two unknowns held by one strong and one nearly parallel weak observation:
// the Cholesky pivot vanishes against rounding, the QR still solves it
// (x0 = −1, x1 = 3 meet every row).
std::vector<Row> NearlySingular() {
  return {MakeRow({{0, 1}, {1, 1}}, -2.0, 1e8), MakeRow({{0, 1}, {1, 1 + 1e-7}}, -2.0000003, 1e8),
          MakeRow({{0, 1}}, 1.0, 1e-6)};
}

TEST(AdjustCore, VanishingPivotGoesToTheQrWithinItsSizeAndIsNamedBeyond) {
  Eigen::VectorXd dx;
  NormalSolver within(2);
  ASSERT_TRUE(within.solve(NearlySingular(), 2, dx));
  EXPECT_TRUE(within.usedFallback());
  EXPECT_NEAR(dx(0), -1.0, 1e-6);
  EXPECT_NEAR(dx(1), 3.0, 1e-6);
  NormalSolver beyond(1);
  EXPECT_FALSE(beyond.solve(NearlySingular(), 2, dx));
  EXPECT_TRUE(beyond.beyondFallback());
  EXPECT_GE(beyond.singularColumn(), 0);
}

TEST(AdjustCore, RankDeficiencyAndUnobservedUnknownsAreNamed) {
  Eigen::VectorXd dx;
  NormalSolver solver;
  // Only the difference of 0 and 1 is observed.
  EXPECT_FALSE(solver.solve({MakeRow({{0, 1}, {1, -1}}, 1.0, 1), MakeRow({{0, -1}, {1, 1}}, 1.0, 1)}, 2, dx));
  EXPECT_FALSE(solver.beyondFallback());
  EXPECT_GE(solver.singularColumn(), 0);
  // Unknown 2 is in no row.
  EXPECT_FALSE(solver.solve({MakeRow({{0, 1}}, 1.0, 1), MakeRow({{1, 1}}, 1.0, 1)}, 3, dx));
  EXPECT_EQ(solver.singularColumn(), 2);
}

TEST(AdjustCore, DatumDefectTakesTheSolutionOfLeastNormOverTheDatumUnknowns) {
  std::vector<Row> rows = Loop();
  // Rebuild with the benchmarks as unknowns 4 (start) and 5 (end).
  rows[0] = MakeRow({{0, 1}, {4, -1}}, 3.0, 1 / 2.0);
  rows[4] = MakeRow({{5, 1}, {3, -1}}, -6.0, 1 / 2.2);
  const int u = 6;
  Eigen::MatrixXd n;
  Eigen::VectorXd rhs;
  Dense(rows, u, n, rhs);
  const Eigen::MatrixXd g = Eigen::MatrixXd::Ones(u, 1);
  // Least norm over every unknown (the pseudo-inverse), then over the two
  // benchmarks alone (the bordered system [N Cᵀ; C 0]).
  for (const std::vector<int>& datum : {std::vector<int>{0, 1, 2, 3, 4, 5}, std::vector<int>{4, 5}}) {
    SCOPED_TRACE(datum.size());
    Eigen::MatrixXd c = Eigen::MatrixXd::Zero(1, u);
    for (int i : datum) c(0, i) = 1;
    Eigen::MatrixXd bordered = Eigen::MatrixXd::Zero(u + 1, u + 1);
    bordered.topLeftCorner(u, u) = n;
    bordered.topRightCorner(u, 1) = c.transpose();
    bordered.bottomLeftCorner(1, u) = c;
    const Eigen::MatrixXd inverse = bordered.inverse();
    const Eigen::MatrixXd q = inverse.topLeftCorner(u, u);
    const Eigen::VectorXd expected = q * rhs;
    NormalSolver solver;
    ASSERT_TRUE(solver.setDatum(g, c));
    Eigen::VectorXd dx;
    ASSERT_TRUE(solver.solve(rows, u, dx));
    EXPECT_LT((dx - expected).cwiseAbs().maxCoeff(), 1e-10);
    EXPECT_NEAR((c * dx)(0), 0, 1e-10);
    const Eigen::VectorXd diagonal = solver.inverseDiagonal();
    solver.prepareInverse();
    double redundancies = 0;
    for (int i = 0; i < u; ++i) {
      EXPECT_NEAR(diagonal(i), q(i, i), 1e-10) << i;
      EXPECT_NEAR(solver.inverse(i, i), q(i, i), 1e-10) << i;
    }
    for (const Row& r : rows) {
      EXPECT_NEAR(solver.inverse(r.cols[0], r.cols[1]), q(r.cols[0], r.cols[1]), 1e-10);
      redundancies += Redundancy(r, solver);
    }
    // The datum takes no degree of freedom: 7 observations, 6 unknowns, defect 1.
    EXPECT_NEAR(redundancies, 7 - 6 + 1, 1e-9);
  }
  // Without a datum the defect is named; constraints on no unknown of the
  // null space cannot remove it.
  NormalSolver plain;
  Eigen::VectorXd dx;
  EXPECT_FALSE(plain.solve(rows, u, dx));
  EXPECT_FALSE(plain.setDatum(g, Eigen::MatrixXd::Zero(1, u)));
  // A datum that removes only part of a defect of two leaves it singular.
  rows.push_back(MakeRow({{6, 1}, {7, -1}}, 0.5, 1));
  NormalSolver partial;
  ASSERT_TRUE(partial.setDatum(Eigen::MatrixXd::Ones(8, 1), Eigen::MatrixXd::Ones(1, 8)));
  EXPECT_FALSE(partial.solve(rows, 8, dx));
}

// A side × side grid of new points, each joined to its east and south
// neighbours. A levelling grid has one unknown a point and a height
// difference a pair; a plane grid has x, y and an orientation a point, a
// distance and a direction a pair. Three corners are held by strong rows.
struct Grid {
  const char* name;
  int side;
  bool plane;
};

std::vector<Row> GridRows(const Grid& g, int& unknowns) {
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> uniform(-1, 1);
  const int points = g.side * g.side, per = g.plane ? 2 : 1;
  unknowns = points * per + (g.plane ? points : 0);
  std::vector<Row> rows;
  const auto pair = [&](int i, int j) {
    if (!g.plane) {
      rows.push_back(MakeRow({{i, 1}, {j, -1}}, uniform(random), 1 / (1.5 + uniform(random))));
      return;
    }
    const double angle = 3.2 * uniform(random), c = std::cos(angle), s = std::sin(angle);
    rows.push_back(MakeRow({{2 * i, -c}, {2 * i + 1, -s}, {2 * j, c}, {2 * j + 1, s}}, uniform(random), 0.25));
    rows.push_back(MakeRow({{2 * points + i, -1}, {2 * i, s}, {2 * i + 1, -c}, {2 * j, -s}, {2 * j + 1, c}}, uniform(random), 0.1));
    rows.push_back(MakeRow({{2 * points + j, -1}, {2 * j, -s}, {2 * j + 1, c}, {2 * i, s}, {2 * i + 1, -c}}, uniform(random), 0.1));
  };
  for (int r = 0; r < g.side; ++r)
    for (int c = 0; c < g.side; ++c) {
      const int p = r * g.side + c;
      if (c + 1 < g.side) pair(p, p + 1);
      if (r + 1 < g.side) pair(p, p + g.side);
    }
  for (int corner : {0, g.side - 1, points - 1})
    for (int k = 0; k < per; ++k) rows.push_back(MakeRow({{corner * per + k, 1}}, uniform(random), 100));
  return rows;
}

// The solution, every element of the inverse two unknowns of a row share,
// its diagonal and N⁻¹·B for nine columns at once, against dense algebra, to
// 1e-9 of the largest element of the inverse.
TEST(AdjustCore, ManySupernodesMatchDenseAlgebra) {
  for (const Grid& g : {Grid{"levelling 30 × 30", 30, false}, Grid{"plane 14 × 14", 14, true}}) {
    int u = 0;
    const std::vector<Row> rows = GridRows(g, u);
    Eigen::MatrixXd n;
    Eigen::VectorXd rhs, dx;
    Dense(rows, u, n, rhs);
    const Eigen::MatrixXd q = n.ldlt().solve(Eigen::MatrixXd::Identity(u, u));
    const double tolerance = 1e-9 * q.cwiseAbs().maxCoeff();
    NormalSolver solver(0);
    ASSERT_TRUE(solver.solve(rows, u, dx)) << g.name;
    EXPECT_LT((dx - q * rhs).cwiseAbs().maxCoeff(), tolerance * rhs.cwiseAbs().sum()) << g.name;
    solver.prepareInverse();
    double worst = 0;
    for (const Row& r : rows)
      for (int a = 0; a < r.count; ++a)
        for (int b = 0; b < r.count; ++b)
          worst = std::max(worst, std::fabs(solver.inverse(r.cols[a], r.cols[b]) - q(r.cols[a], r.cols[b])));
    EXPECT_LT(worst, tolerance) << g.name;
    EXPECT_LT((solver.inverseDiagonal() - q.diagonal()).cwiseAbs().maxCoeff(), tolerance) << g.name;
    const Eigen::MatrixXd b = Eigen::MatrixXd::Random(u, 9);
    EXPECT_LT((solver.solveNormal(b) - q * b).cwiseAbs().maxCoeff(), tolerance * b.cwiseAbs().colwise().sum().maxCoeff()) << g.name;
  }
}

// In a large system the first vanishing pivot names its unknown: two
// points observed only against each other, and a point in no row.
TEST(AdjustCore, VanishingPivotInALargeSystemIsNamed) {
  int u = 0;
  std::vector<Row> rows = GridRows({"levelling 20 × 20", 20, false}, u);
  rows.push_back(MakeRow({{u, 1}, {u + 1, -1}}, 0.5, 1));
  Eigen::VectorXd dx;
  NormalSolver solver(0);
  EXPECT_FALSE(solver.solve(rows, u + 2, dx));
  EXPECT_TRUE(solver.beyondFallback());
  EXPECT_TRUE(solver.singularColumn() == u || solver.singularColumn() == u + 1) << solver.singularColumn();
  rows.pop_back();
  EXPECT_FALSE(solver.solve(rows, u + 1, dx));
  EXPECT_EQ(solver.singularColumn(), u);
}

// A factor beyond either bound is refused before it is computed, saying
// what it would have taken; within both the same system is solved.
TEST(AdjustCore, FactorBeyondItsBoundsIsRefused) {
  int u = 0;
  const std::vector<Row> rows = GridRows({"levelling 30 × 30", 30, false}, u);
  Eigen::VectorXd dx;
  NormalSolver values(0, 1000, 1e11), operations(0, 1e8, 1e4), within(0, 1e5, 1e8);
  EXPECT_FALSE(values.solve(rows, u, dx));
  EXPECT_TRUE(values.tooLarge());
  EXPECT_GT(values.factorValues(), 1000);
  EXPECT_NE(FactorTooLarge(values).find(" MB 内存"), std::string::npos);
  EXPECT_FALSE(operations.solve(rows, u, dx));
  EXPECT_TRUE(operations.tooLarge());
  EXPECT_TRUE(within.solve(rows, u, dx));
  EXPECT_FALSE(within.tooLarge());
}

TEST(AdjustCore, SigmaZeroAndTwoSidedChiSquare) {
  EXPECT_DOUBLE_EQ(Sigma0(40.0, 10), 2.0);
  EXPECT_EQ(Sigma0(40.0, 0), 0);
  // χ²(10): 3.247 and 20.483.
  const ChiSquareTest test = TwoSidedChiSquare(12.0, 10);
  EXPECT_NEAR(test.lower, 3.247, 1e-3);
  EXPECT_NEAR(test.upper, 20.483, 1e-3);
  EXPECT_TRUE(test.passed);
  EXPECT_FALSE(TwoSidedChiSquare(2.0, 10).passed);
  EXPECT_FALSE(TwoSidedChiSquare(25.0, 10).passed);
  EXPECT_FALSE(TwoSidedChiSquare(1.0, 0).passed);
  EXPECT_DOUBLE_EQ(Standardised(-3.0, 2.0, 0.25), 3.0);
  EXPECT_EQ(Standardised(3.0, 2.0, 1e-9), 0);
}

}  // namespace
}  // namespace korvane
