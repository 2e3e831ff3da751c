#pragma once
// Levelling adjustment: the single line between two benchmarks and the
// single loop from one benchmark by the classic hand table (misclosure,
// limit, corrections in proportion to L or n), and the junction network by
// least squares by parameters with weights 1/L or 1/n.
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/level_data.h"
#include "standards/level_limits.h"

namespace korvane::levelling {

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct PointResult {
  std::string name;
  double height = 0;           // adjusted height, m
  bool known = false;          // a benchmark
  double errorMm = kNoValue;   // standard error of the adjusted height (network only)
};

struct SectionResult {
  formats::Section section;
  double correctionMm = 0;  // unrounded
  double adjustedDh = 0;    // m
};

// A misclosure: of an independent loop, or of a line between two benchmarks.
struct Misclosure {
  std::string route;        // the points passed, e.g. "A-1-2-B"
  bool betweenBenchmarks = false;
  double wMm = 0;           // observed minus should, mm
  double size = 0;          // km or set-ups
  double limitMm = 0;
  bool overLimit = false;
};

// Two-sided test at 95 % of the a-posteriori against the a-priori error of unit weight.
struct VarianceTest {
  bool done = false;
  std::string why;        // why it was not done
  double statistic = 0;   // r·s0²/σ0²
  double lower = 0, upper = 0;
  bool passed = false;
  // The a-posteriori error is significantly larger than the grade allows.
  bool tooLarge() const { return done && statistic > upper; }
};

struct LevelResult {
  formats::Method method = formats::Method::Network;
  formats::Parameters params;
  standards::LimitRule rule;
  std::string limitNote;              // e.g. 山地 falling back to the length formula
  std::vector<PointResult> points;    // line/loop: in route order; network: benchmarks then new points
  std::vector<SectionResult> sections;
  std::vector<Misclosure> misclosures;
  double totalSize = 0;               // ΣL or Σn of the line or loop
  double perUnitCorrectionMm = 0;     // line/loop: −fh/ΣL (or /Σn)
  int redundancy = 0;
  double sigma0Mm = kNoValue;         // a-posteriori error of unit weight
  standards::PriorError prior;
  VarianceTest test;
  // A misclosure over its limit, or an error of unit weight significantly
  // larger than the grade's (one significantly smaller is reported, not flagged).
  bool anyOverLimit() const;
};

struct LevelOutcome {
  std::optional<Message> refusal;
  LevelResult result;
  bool ok() const { return !refusal.has_value(); }
};

LevelOutcome AdjustLine(const formats::LevelData& data);
LevelOutcome AdjustLoop(const formats::LevelData& data);
LevelOutcome AdjustNetwork(const formats::LevelData& data);
LevelOutcome Adjust(formats::Method method, const formats::LevelData& data);
// The method the data call for: a single line or loop when the sections run
// one after another between benchmarks in the file's order, else the network.
formats::Method SuggestedMethod(const formats::LevelData& data);

// Shared by the engines: the refusal of data that cannot be computed at all.
std::optional<Message> CheckCommon(const formats::LevelData& data);
Message Refusal(const std::string& text);
// The misclosures of the independent loops and of the lines between
// benchmarks, from a spanning tree of the sections.
std::vector<Misclosure> IndependentMisclosures(const formats::LevelData& data, const standards::LimitRule& rule);
VarianceTest TestVariance(double sigma0Mm, int redundancy, const standards::PriorError& prior);

}  // namespace korvane::levelling
