#include "adjust/variance.h"

#include <algorithm>
#include <cmath>

#include "adjust/normal_solver.h"
#include "core/chi_square.h"

namespace korvane::adjust {

double Sigma0(double vtpv, int degreesOfFreedom) {
  return degreesOfFreedom > 0 ? std::sqrt(vtpv / degreesOfFreedom) : 0;
}

ChiSquareTest TwoSidedChiSquare(double statistic, int degreesOfFreedom) {
  ChiSquareTest test;
  test.statistic = statistic;
  if (degreesOfFreedom <= 0) return test;
  test.lower = ChiSquareQuantile(0.025, degreesOfFreedom);
  test.upper = ChiSquareQuantile(0.975, degreesOfFreedom);
  test.passed = statistic >= test.lower && statistic <= test.upper;
  return test;
}

double Redundancy(const Row& row, const NormalSolver& solver) {
  double aqa = 0;
  for (int a = 0; a < row.count; ++a)
    for (int b = 0; b < row.count; ++b) aqa += row.coef[a] * row.coef[b] * solver.inverse(row.cols[a], row.cols[b]);
  return std::clamp(1 - aqa * row.weight, 0.0, 1.0);
}

double Standardised(double residual, double sigma, double redundancy) {
  return redundancy > 1e-6 ? std::fabs(residual) / (sigma * std::sqrt(redundancy)) : 0;
}

}  // namespace korvane::adjust
