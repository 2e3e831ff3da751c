#pragma once
// Limits of levelling misclosures by grade and terrain, and the a-priori
// error per km of each grade.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/level_data.h"

namespace korvane::standards {

// Limit of a line or loop misclosure: factor·√L (L in km) or factor·√n.
struct LimitRule {
  double factor = 0;            // mm
  bool perSetUp = false;        // the formula takes the number of set-ups
  bool lengthFallback = false;  // 山地 with a grade that has only the length formula
  std::string formula;          // e.g. "±20√L"
};

LimitRule ClosureLimitRule(formats::Grade grade, formats::Terrain terrain);
double ClosureLimitMm(const LimitRule& rule, double size);
// The sections must carry the quantity the limit formula takes (lengths for
// 平地, set-ups for 山地 except where the length formula stands in).
std::optional<Message> CheckLimitBasis(const formats::Parameters& params);
// What the report says about the formula in use, e.g. that 山地 二等 uses the
// length formula; empty when nothing needs saying.
std::string LimitNote(const formats::Parameters& params);

// The a-priori error of unit weight the chi-square test compares with: the
// grade's error per km (二等 2 mm … 图根 20 mm) with length weights; with
// set-up weights half the set-up limit factor, the same ratio that links the
// length limits to the errors per km. `known` is false where no such value
// exists.
struct PriorError {
  bool known = false;
  double mm = 0;
  std::string unit;  // "mm/√km" or "mm/√站"
};
PriorError PriorUnitError(const formats::Parameters& params);
double PriorErrorPerKm(formats::Grade grade);

// The limits table of the standards window, one row per grade.
struct LimitTableRow {
  std::string grade, flat, hilly, priorPerKm;
};
std::vector<LimitTableRow> LevellingLimitTable();

}  // namespace korvane::standards
