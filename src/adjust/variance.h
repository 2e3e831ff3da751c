#pragma once
// The a-posteriori unit-weight deviation and its two-sided chi-square test,
// redundancy numbers and standardised residuals.
#include "adjust/observation_row.h"

namespace korvane::adjust {

class NormalSolver;

// σ0 = sqrt(vᵀPv / f); 0 without redundant observations.
double Sigma0(double vtpv, int degreesOfFreedom);

// The statistic f·σ0²/σ²(a priori) (= vᵀPv when the weights carry the a-priori
// deviations) against the 2.5 % and 97.5 % quantiles of χ²(f).
struct ChiSquareTest {
  double statistic = 0;
  double lower = 0;
  double upper = 0;
  bool passed = false;
};
ChiSquareTest TwoSidedChiSquare(double statistic, int degreesOfFreedom);

// The redundancy number r = 1 − p·a Q aᵀ of a row, Q the inverse normal
// matrix of a solved system (prepareInverse() done), clamped to [0, 1].
double Redundancy(const Row& row, const NormalSolver& solver);

// |v| / (σ·sqrt(r)); 0 for an observation without redundancy (r ≤ 10⁻⁶).
double Standardised(double residual, double sigma, double redundancy);

}  // namespace korvane::adjust
