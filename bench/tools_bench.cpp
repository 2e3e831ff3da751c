// Cost of one geodetic solution (series and exact beside it, and the inverse)
// and of a long calculator key sequence, which must grow linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "utilities/calculator.h"
#include "geodesy/geodetic.h"

namespace {

using namespace korvane;
using namespace korvane::utilities;

void BM_GeodeticDirect(benchmark::State& state) {
  const geodesy::DirectInput input{"47.46526470", "44.1213664", "35.49363300", "44797.2826",
                                    geodesy::EllipsoidId::Krassovsky};
  for (auto _ : state) benchmark::DoNotOptimize(geodesy::SolveDirect(input));
}
BENCHMARK(BM_GeodeticDirect);

void BM_GeodeticInverse(benchmark::State& state) {
  const geodesy::InverseInput input{"47.46526470", "35.49363300", "48.04096384", "36.14450505",
                                     geodesy::EllipsoidId::Wgs84};
  for (auto _ : state) benchmark::DoNotOptimize(geodesy::SolveInverse(input));
}
BENCHMARK(BM_GeodeticInverse);

// Values stored and summed up: "12 Data" n times, then the statistics.
void BM_CalculatorKeys(benchmark::State& state) {
  std::vector<std::string> keys;
  for (int i = 0; i < state.range(0); ++i) {
    keys.push_back(std::to_string(i % 997));
    keys.push_back(i % 3 ? "sqrt" : "Sin");
    keys.push_back("Data");
  }
  keys.insert(keys.end(), {"N", "Sum", "Mean", "SD", "SD1"});
  for (auto _ : state) {
    korvane::utilities::Calculator calculator;
    benchmark::DoNotOptimize(PressKeys(calculator, keys));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CalculatorKeys)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
