#pragma once
// The limits of the national standards applied to one weighted traverse: the
// limits that depend on the traverse, and the marking of every value over its
// limit.
#include <string>
#include <string_view>
#include <vector>

#include "standards/tolerance.h"
#include "traverse/rigorous_adjustment.h"

namespace korvane::traverse {

using standards::ToleranceRow;

struct ToleranceLimits {
  double fBeta = 0;  // seconds, 1 decimal
  double fs = 0;     // mm, 1 decimal
  double fsRaw = 0;  // mm, unrounded
  double fdx = 0;    // mm, 1 decimal (the same for X and Y)
  double fh = 0;     // mm, 1 decimal
  std::vector<int> side;  // per-side discrepancy limit, whole mm
};

ToleranceLimits DeriveLimits(const ToleranceRow& row, const RigorousResult& result);

// Which report values are over their limits; with the check off nothing is
// marked and every side's limit reads "未限定".
struct ToleranceMarks {
  bool relativeClosure = false, fs = false, m = false;
  bool fx = false, fy = false;
  bool totalLength = false;
  bool fBeta = false;
  bool fh = false, mh = false, deltaKm = false;
  bool mBeta = false, ms = false;
  std::vector<bool> discrepancy;  // per side
  bool checked = false;           // the sides' limits are printed
};

ToleranceMarks CheckTolerance(const ToleranceRow& row, const ToleranceLimits& limits,
                              const RigorousResult& result, bool checked);

// The discrepancy limit of side i as the report prints it: metres, or
// "未限定" when the check is off.
std::string SideLimitText(const ToleranceMarks& marks, const ToleranceLimits& limits, std::size_t side);

}  // namespace korvane::traverse
