#pragma once
// The chi-square distribution for the global test of an adjustment.
namespace korvane::network {

// P(χ² ≤ x) with `dof` degrees of freedom (the regularised lower incomplete
// gamma function P(dof/2, x/2)).
double ChiSquareCdf(double x, int dof);
// The x with P(χ² ≤ x) = p, 0 < p < 1, dof ≥ 1.
double ChiSquareQuantile(double p, int dof);

}  // namespace korvane::network
