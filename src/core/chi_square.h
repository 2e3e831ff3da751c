#pragma once
// The chi-square distribution: its quantiles for the variance test of an
// adjustment.
namespace korvane {

// P(X <= x) for X chi-square with `dof` degrees of freedom (dof >= 1).
double ChiSquareCdf(double x, int dof);
// The x with P(X <= x) = p, for 0 < p < 1.
double ChiSquareQuantile(double p, int dof);

}  // namespace korvane
