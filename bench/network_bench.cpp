// Cost of the network adjustment: a grid of 10,000 new points below a row of
// 100 known points, 20,000 distances and 20,000 angles with normal errors
// from a fixed seed; solved with all iterations, and with every precision
// figure (ellipses, redundancies, standardised residuals).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "network/network_adjustment.h"

using namespace korvane::formats;
using namespace korvane::network;

namespace {

using korvane::formats::NetworkInput;

constexpr double kRho = 180 * 3600 / std::numbers::pi;

double Dms(double rad) {
  double sec = std::fmod(rad + 4 * std::numbers::pi, 2 * std::numbers::pi) * kRho;
  const double d = std::floor(sec / 3600), m = std::floor((sec - d * 3600) / 60);
  return d + m / 100 + (sec - d * 3600 - m * 60) / 10000;
}

struct Grid {
  int rows, cols;
  std::vector<double> x, y;
  std::string name(int i, int j) const { return std::to_string(i) + "-" + std::to_string(j); }
  double az(int a, int b) const {
    const double t = std::atan2(y[b] - y[a], x[b] - x[a]);
    return t < 0 ? t + 2 * std::numbers::pi : t;
  }
};

// Row 0 is known; rows 1..rows-1 are new. At every point the angle from the
// west neighbour to the north one and from the south neighbour to the east one.
NetworkInput MakeNetwork(int rows, int cols) {
  Grid g{rows, cols, {}, {}};
  std::mt19937 random(42);
  std::normal_distribution<double> normal(0, 1);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) {
      g.x.push_back(1000 + 200.0 * i + 20 * std::sin(0.7 * j + i));
      g.y.push_back(5000 + 200.0 * j + 20 * std::cos(0.9 * i - j));
    }
  NetworkInput in;
  const auto id = [cols](int i, int j) { return i * cols + j; };
  for (int j = 0; j < cols; ++j) in.known.push_back({g.name(0, j), g.x[id(0, j)], g.y[id(0, j)], 0});
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const int p = id(i, j);
      if (i + 1 < rows) {
        const int q = id(i + 1, j);
        const double s = std::hypot(g.x[q] - g.x[p], g.y[q] - g.y[p]);
        in.distances.push_back({g.name(i, j), g.name(i + 1, j), s + normal(random) * 0.0024, 0});
      }
      if (j + 1 < cols && i > 0) {
        const int q = id(i, j + 1);
        const double s = std::hypot(g.x[q] - g.x[p], g.y[q] - g.y[p]);
        in.distances.push_back({g.name(i, j), g.name(i, j + 1), s + normal(random) * 0.0024, 0});
      }
      if (i > 0 && i + 1 < rows && j + 1 < cols && p % 32 == 0) {  // a few diagonals: 40,000 in all
        const int q = id(i + 1, j + 1);
        const double s = std::hypot(g.x[q] - g.x[p], g.y[q] - g.y[p]);
        in.distances.push_back({g.name(i, j), g.name(i + 1, j + 1), s + normal(random) * 0.0024, 0});
      }
      const auto angle = [&](int bi, int bj, int fi, int fj) {
        if (bi < 0 || bj < 0 || fi >= rows || fj >= cols || bi >= rows || bj >= cols || fi < 0 || fj < 0) return;
        const int b = id(bi, bj), f = id(fi, fj);
        in.angles.push_back({g.name(i, j), g.name(bi, bj), g.name(fi, fj),
                             Dms(g.az(p, f) - g.az(p, b) + normal(random) * 2.8 / kRho), 0});
      };
      angle(i, j - 1, i + 1, j);
      angle(i - 1, j, i, j + 1);
    }
  }
  return in;
}

const NetworkInput& Network() {
  static const NetworkInput network = MakeNetwork(101, 100);
  return network;
}

void BM_NetworkSolve(benchmark::State& state) {
  const NetworkInput& in = Network();
  korvane::network::NetworkOptions options;
  options.precision = false;
  for (auto _ : state) {
    const korvane::network::NetworkOutcome out = korvane::network::AdjustNetwork(in, options);
    if (!out.ok()) state.SkipWithError(out.refusal->text.c_str());
    benchmark::DoNotOptimize(out.result.sigma0);
  }
  state.counters["observations"] = static_cast<double>(in.distances.size() + in.angles.size());
}
BENCHMARK(BM_NetworkSolve)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NetworkWithPrecision(benchmark::State& state) {
  const NetworkInput& in = Network();
  for (auto _ : state) {
    const korvane::network::NetworkOutcome out = korvane::network::AdjustNetwork(in);
    if (!out.ok()) state.SkipWithError(out.refusal->text.c_str());
    benchmark::DoNotOptimize(out.result.sigma0);
  }
}
BENCHMARK(BM_NetworkWithPrecision)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
