#pragma once
// One linearised observation equation v = a·dx + w with its weight 1/σ²: the
// unknowns it touches (at most six: two points and an orientation), their
// coefficients, and the misclosure w = computed − observed at the current
// values of the unknowns. The observation model chooses the units.
#include <array>

namespace korvane::adjust {

struct Row {
  std::array<int, 6> cols{};
  std::array<double, 6> coef{};
  int count = 0;
  double w = 0;       // computed - observed at the current values
  double weight = 0;  // 1 / σ²
  // Adds a coefficient; a negative column (a fixed quantity) adds nothing,
  // an unknown already in the row gets the sum.
  void add(int col, double a) {
    if (col < 0) return;
    for (int k = 0; k < count; ++k) {
      if (cols[k] == col) {
        coef[k] += a;
        return;
      }
    }
    cols[count] = col;
    coef[count++] = a;
  }
};

}  // namespace korvane::adjust
