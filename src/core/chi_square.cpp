#include "core/chi_square.h"

#include <cmath>

namespace korvane {
namespace {

// Regularised lower incomplete gamma function P(a, x): by its series below
// a + 1, by the continued fraction of Q = 1 - P above.
double LowerSeries(double a, double x) {
  double term = 1.0 / a, sum = term;
  for (int k = 1; k < 100000; ++k) {
    term *= x / (a + k);
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * 1e-16) break;
  }
  return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

double UpperFraction(double a, double x) {
  const double tiny = 1e-300;
  double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
  for (int i = 1; i < 100000; ++i) {
    const double an = -i * (i - a);
    b += 2;
    d = an * d + b;
    if (std::fabs(d) < tiny) d = tiny;
    c = b + an / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1 / d;
    const double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1) < 1e-16) break;
  }
  return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

double RegularisedGammaP(double a, double x) {
  if (x <= 0) return 0;
  if (x < a + 1) return LowerSeries(a, x);
  return 1 - UpperFraction(a, x);
}

}  // namespace

double ChiSquareCdf(double x, int dof) { return RegularisedGammaP(dof / 2.0, x / 2.0); }

double ChiSquareQuantile(double p, int dof) {
  // The distribution function grows monotonically: bisection on a bracket
  // that is widened until it holds p.
  double low = 0, high = dof + 10.0;
  while (ChiSquareCdf(high, dof) < p) high *= 2;
  for (int i = 0; i < 200 && high - low > 1e-12 * (1 + high); ++i) {
    const double mid = (low + high) / 2;
    (ChiSquareCdf(mid, dof) < p ? low : high) = mid;
  }
  return (low + high) / 2;
}

}  // namespace korvane
