// Cost of the weighted adjustment and of its report as the traverse grows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "core/angles.h"
#include "core/numbers.h"
#include "traverse/rigorous_adjustment.h"
#include "traverse/rigorous_report.h"
#include "standards/tolerance.h"
#include "traverse/weighted_limits.h"

using namespace korvane::formats;
using namespace korvane::standards;
using namespace korvane::traverse;

namespace {

using korvane::formats::RigorousTable;

// A zigzag traverse running east: 150 m sides alternating 10° left and right
// of east, two-way levelling, small errors in angles and distances.
struct Traverse {
  RigorousTable table;
  korvane::formats::RigorousParameters params{"", "5", "5", "5", "0"};
};

Traverse MakeTraverse(int n) {
  Traverse t;
  t.table = korvane::formats::EmptyRigorousTable(n);
  RigorousTable& tb = t.table;
  const double side = 150, d2r = 0.017453292;
  double x = 5000, y = 2000, az = 80;
  auto set = [&](int r, int c, double v) { tb.at(r, c) = korvane::NumberText(korvane::RoundFixed(v, "#0.000")); };
  tb.at(1, 1) = "A";
  set(1, 2, x - 150 * std::cos(az * d2r));
  set(1, 3, y - 150 * std::sin(az * d2r));
  set(1, 4, 100);
  tb.at(2, 1) = "B";
  set(2, 2, x);
  set(2, 3, y);
  set(2, 4, 100);
  for (int i = 1; i <= n; ++i) {
    const int r = RigorousTable::stationRow(i);
    const double next = i == 1 ? az : (i % 2 == 0 ? 100 : 80);
    tb.at(r, 1) = "P" + std::to_string(i);
    // Left angle between the incoming and the outgoing azimuth.
    const double beta = std::fmod(next - az + 180 + 360, 360.0) + ((i % 3) - 1) * 2 / 3600.0;
    tb.at(r, 2) = korvane::NumberText(korvane::RoundFixed(korvane::DegreesToDms(beta), "#0.0000"));
    tb.at(r, 3) = korvane::NumberText(side + ((i % 5) - 2) * 0.001);
    for (int c : {4, 5, 7, 8}) tb.at(r, c) = "1.5";
    tb.at(r, 6) = "0.1";
    tb.at(r, 9) = "-0.1";
    az = next;
    if (i < n) {
      x += side * std::cos(az * d2r);
      y += side * std::sin(az * d2r);
    }
  }
  const int rc = tb.endRow(), rd = tb.connectRow();
  tb.at(rc, 1) = "C";
  set(rc, 2, x);
  set(rc, 3, y);
  set(rc, 4, 100 + (n - 1) * side * std::tan(d2r / 6) + 0.005);  // 0°10' up every side
  tb.at(rd, 1) = "D";
  set(rd, 2, x + 150 * std::cos(az * d2r));
  set(rd, 3, y + 150 * std::sin(az * d2r));
  set(rd, 4, 100);
  return t;
}

const korvane::AskOkCancel kContinue = [](const korvane::Message&) { return true; };

void BM_Adjust(benchmark::State& state) {
  const Traverse t = MakeTraverse(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    korvane::traverse::RigorousOutcome out = korvane::traverse::AdjustRigorous(t.table, t.params, kContinue);
    benchmark::DoNotOptimize(out);
  }
  state.SetComplexityN(state.range(0));
}

void BM_AdjustAndReport(benchmark::State& state) {
  const Traverse t = MakeTraverse(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const korvane::traverse::RigorousOutcome out = korvane::traverse::AdjustRigorous(t.table, t.params, kContinue);
    const korvane::standards::ToleranceRow& row = korvane::standards::SelectToleranceRow("ybc3");
    const korvane::traverse::ToleranceLimits lim = korvane::traverse::DeriveLimits(row, out.result);
    const korvane::traverse::ToleranceMarks marks = korvane::traverse::CheckTolerance(row, lim, out.result, true);
    auto lines = korvane::traverse::RigorousReportLines({t.table, t.params, out.result, row, lim, marks, true, "r.bmp"});
    benchmark::DoNotOptimize(lines);
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_Adjust)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AdjustAndReport)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
