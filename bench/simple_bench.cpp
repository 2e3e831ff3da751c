// Cost of the simple adjustment of each kind, from 10 to 100,000 stations;
// it must grow linearly with the number of stations.
#include <benchmark/benchmark.h>

#include <string>

#include "traverse/simple_adjustment.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace {

using korvane::formats::ObservationRow;
using korvane::traverse::SimpleInput;
using korvane::formats::TraverseKind;

// The traverse walks round a 100 m square again and again (north, east,
// south, west), turning 270° left at every station, with a millimetre of
// noise on every other leg; its points stay within the square.
constexpr double kSide = 100;
const double kCornerX[4] = {0, kSide, kSide, 0};
const double kCornerY[4] = {0, 0, kSide, kSide};

ObservationRow Row(int i, const std::string& angle, bool leg) {
  const std::string distance = leg ? (i % 2 ? "100.001" : "99.999") : "0";
  return {"P" + std::to_string(i), angle, distance, "1.5", "1.5", "0", leg ? "1.5" : "0",
          leg ? "1.5" : "0", "0"};
}

SimpleInput Traverse(TraverseKind kind, int n) {
  SimpleInput in;
  in.kind = kind;
  const bool closing = kind == TraverseKind::Connecting || kind == TraverseKind::Closed;
  if (kind == TraverseKind::Closed) n = (n - 1) / 4 * 4 + 1;  // back on the start point
  if (kind == TraverseKind::NoOrientation) n = n / 4 * 4 + 1;  // B one side north of A
  const int legs = closing ? n - 1 : n;
  in.table.rows.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    std::string angle = "270";
    if (i == 1 && kind == TraverseKind::Closed) angle = "180";
    if (i == n && kind == TraverseKind::Closed) angle = "90";
    in.table.rows.push_back(Row(i, angle, i <= legs));
  }
  const int end = legs % 4;
  // Arriving westwards (or northwards for the closed kind) at the start.
  const std::string startAzimuth = kind == TraverseKind::Closed ? "0" : "270";
  in.start.record(1) = "0";
  in.start.record(2) = "0";
  in.start.record(3) = "50";
  in.start.record(4) = startAzimuth;
  in.start.record(6) = std::to_string(kCornerX[end]);
  in.start.record(7) = std::to_string(kCornerY[end]);
  in.start.record(8) = "50";
  in.start.record(9) = std::to_string(end * 90);
  in.start.record(12) = "3";
  in.start.record(13) = "2";
  return in;
}

void Run(benchmark::State& state, TraverseKind kind) {
  const SimpleInput input = Traverse(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    korvane::traverse::SimpleResult result = korvane::traverse::AdjustTraverse(input);
    if (!result.ok()) {
      state.SkipWithError(result.refusal->text.c_str());
      break;
    }
    benchmark::DoNotOptimize(result.lines.data());
  }
  state.SetComplexityN(state.range(0));
}

void BM_Connecting(benchmark::State& s) { Run(s, TraverseKind::Connecting); }
void BM_Closed(benchmark::State& s) { Run(s, TraverseKind::Closed); }
void BM_Open(benchmark::State& s) { Run(s, TraverseKind::Open); }
void BM_NoOrientation(benchmark::State& s) { Run(s, TraverseKind::NoOrientation); }

#define KORVANE_SIZES RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Connecting)->KORVANE_SIZES;
BENCHMARK(BM_Closed)->KORVANE_SIZES;
BENCHMARK(BM_Open)->KORVANE_SIZES;
BENCHMARK(BM_NoOrientation)->KORVANE_SIZES;

}  // namespace

BENCHMARK_MAIN();
