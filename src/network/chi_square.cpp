#include "network/chi_square.h"

#include <cmath>

namespace korvane::network {
namespace {

double LowerGammaSeries(double a, double x) {
  double term = 1 / a, sum = term;
  for (int n = 1; n < 100000; ++n) {
    term *= x / (a + n);
    sum += term;
    if (term < sum * 1e-16) break;
  }
  return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// The upper function Q(a, x) by the continued fraction (modified Lentz).
double UpperGammaFraction(double a, double x) {
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

}  // namespace

double ChiSquareCdf(double x, int dof) {
  if (x <= 0) return 0;
  const double a = dof / 2.0, half = x / 2;
  return half < a + 1 ? LowerGammaSeries(a, half) : 1 - UpperGammaFraction(a, half);
}

double ChiSquareQuantile(double p, int dof) {
  double lo = 0, hi = dof + 20 * std::sqrt(2.0 * dof) + 100;
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    (ChiSquareCdf(mid, dof) < p ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

}  // namespace korvane::network
