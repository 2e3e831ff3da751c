#pragma once
// Building observation tables and start records for the engine tests.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "formats/observation_table.h"
#include "formats/start_data.h"

namespace korvane::testing {

inline formats::ObservationTable Table(std::initializer_list<formats::ObservationRow> rows) {
  formats::ObservationTable t;
  t.rows.assign(rows.begin(), rows.end());
  return t;
}

// A station row without height observations (all levelling cells 0).
inline formats::ObservationRow Flat(const std::string& name, const std::string& angle, const std::string& distance) {
  return {name, angle, distance, "0", "0", "0", "0", "0", "0"};
}

inline formats::StartRecord Start(std::initializer_list<std::pair<int, std::string>> fields) {
  formats::StartRecord r;
  for (const auto& [k, text] : fields) r.record(k) = text;
  return r;
}

// Decimal degrees in DMS notation with seconds to four decimals, for typing
// exact test angles.
inline std::string DmsText(double degrees) {
  const double a = std::fabs(degrees);
  long long tenThousandths = std::llround(a * 3600 * 10000);
  const long long d = tenThousandths / (3600LL * 10000);
  tenThousandths -= d * 3600LL * 10000;
  const long long m = tenThousandths / (60LL * 10000);
  tenThousandths -= m * 60LL * 10000;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld%06lld", degrees < 0 ? "-" : "", d, m, tenThousandths);
  return buf;
}

// Whether the results table holds exactly this line.
inline bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace korvane::testing
