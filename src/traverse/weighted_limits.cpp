#include "traverse/weighted_limits.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::traverse {

namespace {

// Whole millimetres below the value; a value beyond what an int holds (only
// reachable through absurd parameters) is held at the nearest end, and one
// that is no number at all gives 0.
int FloorToInt(double value) {
  if (std::isnan(value)) return 0;
  const double floored = std::floor(value);
  if (floored >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (floored <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(floored);
}

}  // namespace

ToleranceLimits DeriveLimits(const ToleranceRow& row, const RigorousResult& result) {
  ToleranceLimits limits;
  const double total = result.totalLength;
  limits.fBeta = RoundFixed(row.kBeta * std::sqrt(static_cast<double>(result.n)), "#0.0");
  limits.fsRaw = total / (row.kden / 1000);
  limits.fs = RoundFixed(limits.fsRaw, "#0.0");
  limits.fdx = RoundFixed(limits.fsRaw / 1.414, "#0.0");
  // The mapping-control grade of the engineering standard limits the height
  // misclosure per metre of traverse (0.4 mm per metre).
  if (row.code == "ybg6") {
    limits.fh = RoundFixed(400 * total / 1000, "#0.0");
  } else {
    limits.fh = RoundFixed(row.kh * std::sqrt(total / 1000), "#0.0");
  }
  limits.side.resize(result.reducedLength.size());
  for (std::size_t i = 0; i < limits.side.size(); ++i) {
    const double length = result.reducedLength[i];
    double value = 0;
    switch (row.rule) {
      case standards::DiscrepancyRule::SqrtKilometres: value = row.kd * std::sqrt(length / 1000); break;
      case standards::DiscrepancyRule::PerKilometre: value = row.kd * length / 1000; break;
      case standards::DiscrepancyRule::SqrtStations: value = row.kd * std::sqrt(static_cast<double>(result.n)); break;
    }
    limits.side[i] = FloorToInt(value);
  }
  return limits;
}

ToleranceMarks CheckTolerance(const ToleranceRow& row, const ToleranceLimits& limits,
                              const RigorousResult& result, bool checked) {
  ToleranceMarks marks;
  const std::size_t sides = result.n > 1 ? static_cast<std::size_t>(result.n - 1) : 0;
  marks.discrepancy.assign(sides, false);
  marks.checked = checked;
  if (!checked) return marks;
  // The reported (rounded) values are compared, so that a value printed equal
  // to its printed limit is never marked.
  if (result.fs != 0 && result.totalLengthRaw / result.fs < row.kden) {
    marks.relativeClosure = marks.fs = marks.m = true;
  }
  marks.fx = std::fabs(result.fxMm) > limits.fdx;
  marks.fy = std::fabs(result.fyMm) > limits.fdx;
  marks.totalLength = result.totalLength > row.lmax;
  marks.fBeta = std::fabs(result.fBetaSeconds) > limits.fBeta;
  if (std::fabs(result.fhMm) > limits.fh) marks.fh = marks.mh = marks.deltaKm = true;
  marks.mBeta = row.mBetaLimit != 0 && result.mBeta > row.mBetaLimit;
  marks.ms = row.msLimit != 0 && result.ms > row.msLimit;
  for (std::size_t i = 0; i < sides; ++i) {
    const double limit = limits.side[i] / 1000.0;
    // A one-way side has no back observation and so no discrepancy.
    marks.discrepancy[i] = !result.oneWay[i] && result.discrepancy(static_cast<int>(i)) > limit;
  }
  return marks;
}

std::string SideLimitText(const ToleranceMarks& marks, const ToleranceLimits& limits, std::size_t side) {
  return marks.checked ? StrNumber(limits.side[side] / 1000.0) : std::string("未限定");
}

}  // namespace korvane::traverse
