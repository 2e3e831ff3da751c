// Error-free traverses close: whatever their length and height, the results
// table shows no misclosure and the end point its known height.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "traverse/simple_adjustment.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace korvane {
namespace {

struct Case {
  std::string kind, levelling;
  int legs = 0;
  double leg = 0, height = 0;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  std::ifstream in(KORVANE_TEST_DATA "/perfect_traverses.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (char& c : line)
      if (c == ',') c = ' ';
    std::istringstream fields(line);
    Case c;
    fields >> c.kind >> c.legs >> c.leg >> c.height >> c.levelling;
    cases.push_back(c);
  }
  return cases;
}

std::string Text(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", v);
  return buffer;
}

// The traverse as surveyed: one row per station; the connecting kind ends on
// a station of its own, the others on the end point after the last leg.
struct Built {
  traverse::SimpleInput input;
  double endHeight = 0, length = 0;
};

Built Build(const Case& c) {
  constexpr double kStartX = 56789.012, kStartY = 43210.987;
  constexpr double kEarthRadiusKm = 6371.27, kRadius = 6371000.0, kRefraction = 0.14;
  Built b;
  const bool connecting = c.kind == "connecting";
  b.input.kind = connecting ? formats::TraverseKind::Connecting
                 : c.kind == "open" ? formats::TraverseKind::Open
                                    : formats::TraverseKind::NoOrientation;
  b.input.withSketch = false;
  const double startHeight = c.height + 0.123;
  const bool oneWay = c.levelling == "one-way";
  double reduced = 0;
  double rise = 0;
  for (int i = 0; i < c.legs; ++i) {
    const double leg = c.leg + 37 * (i % 5);
    // Level sights 1.45 m above marks at the plane's height: each leg is
    // shortened by 1.45 / R on the plane.
    reduced += leg - 1.45 * leg / (kEarthRadiusKm * 1000);
    if (oneWay) rise += (1 - kRefraction) * leg * leg / (2 * kRadius);
    b.input.table.rows.push_back({"P" + std::to_string(i + 1), "180", Text(leg), "1.55", "1.55", "0",
                                  oneWay ? "0" : "1.62", oneWay ? "0" : "1.62", "0"});
  }
  if (connecting) b.input.table.rows.push_back({"E", "180", "0", "0", "0", "0", "0", "0", "0"});
  b.length = reduced;
  b.endHeight = startHeight + rise;
  formats::StartRecord& s = b.input.start;
  s.record(1) = Text(kStartX);
  s.record(2) = Text(kStartY);
  s.record(3) = Text(startHeight);
  s.record(4) = "0";  // arriving due north: the first leg runs north
  s.record(5) = "0";
  s.record(6) = Text(kStartX + reduced);
  s.record(7) = Text(kStartY);
  s.record(8) = Text(b.endHeight);
  s.record(9) = "0";
  return b;
}

// The figure after `label` up to its unit.
std::string Figure(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& line : lines) {
    const auto at = line.find(label);
    if (at == std::string::npos) continue;
    const std::string rest = line.substr(at + label.size());
    return rest.substr(0, rest.find_first_not_of(" -0123456789."));
  }
  return "(no " + label + ")";
}

TEST(PerfectTraverse, PrintsNoMisclosure) {
  const std::vector<Case> cases = Cases();
  ASSERT_FALSE(cases.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind + " " + std::to_string(c.legs) + " legs at " + std::to_string(c.height) + " m, " +
                 c.levelling);
    const Built b = Build(c);
    const traverse::SimpleResult r = AdjustTraverse(b.input);
    ASSERT_TRUE(r.ok()) << r.refusal->text;
    if (c.kind == "open") {
      EXPECT_EQ(ParseLenient(Figure(r.lines, "导线总长：    S=")), RoundFixed(b.length, "#0.000"));
    } else {
      for (const char* label : {"fx=", "fy=", "fs=", "fh="}) {
        const std::string figure = Figure(r.lines, label);
        EXPECT_EQ(figure.find('-'), std::string::npos) << label << figure;
        EXPECT_EQ(ParseLenient(figure), 0.0) << label << figure;
      }
      EXPECT_NE(ResultsText(r).find("Κ=fs/∑s =1 / ∞\n"), std::string::npos);
    }
    // One-way legs carry the curvature and refraction term, and say so.
    const bool noted = ResultsText(r).find("\n  单向高差已加球气差改正：(1－k)D²/2R，k=0.14，R=6371km\n") !=
                       std::string::npos;
    EXPECT_EQ(noted, c.levelling == "one-way");
    // The last row of the final results ends with the end point's height.
    const std::string& last = r.lines[r.lines.size() - 2];
    const std::string height = last.substr(last.find_last_of(' ') + 1);
    EXPECT_EQ(ParseLenient(height), RoundFixed(b.endHeight, "#0.000")) << last;
  }
}

}  // namespace
}  // namespace korvane
