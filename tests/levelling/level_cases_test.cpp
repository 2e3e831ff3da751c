// The levelling case tables: data files read or refused, adjustments of the
// files under tests/data/levelling against figures worked by hand, and the
// chi-square quantiles against the printed tables.
#include <gtest/gtest.h>

#include <cmath>

#include "support/case_table.h"
#include "core/chi_square.h"
#include "levelling/level_adjust.h"
#include "formats/level_file.h"

using namespace korvane::formats;

using namespace korvane::levelling;
using korvane::ChiSquareCdf;
using korvane::ChiSquareQuantile;
using korvane::testing::DataRow;
using korvane::testing::ReadDataTable;

namespace {

korvane::formats::LevelData LoadData(const std::string& name) {
  std::string error;
  const korvane::formats::LevelFileLoad load = korvane::formats::LoadLevelFile(std::string(KORVANE_TEST_DATA) + "/levelling/" + name, error);
  EXPECT_TRUE(error.empty()) << name << ": " << error;
  EXPECT_TRUE(load.ok()) << name << ": " << (load.refusal ? load.refusal->text : "");
  return load.data;
}

korvane::formats::Method MethodByName(const std::string& name) {
  if (name == "line") return korvane::formats::Method::Line;
  if (name == "loop") return korvane::formats::Method::Loop;
  return korvane::formats::Method::Network;
}

const Misclosure* FindMisclosure(const LevelResult& r, const std::string& route) {
  if (route.empty()) return r.misclosures.empty() ? nullptr : &r.misclosures.front();
  for (const Misclosure& m : r.misclosures)
    if (m.route == route) return &m;
  return nullptr;
}

// The figure a row asks for, or NaN when the result does not hold it.
double Figure(const LevelResult& r, const DataRow& row) {
  const std::string& what = row["what"];
  const std::string& item = row["item"];
  if (what == "height") {
    for (const PointResult& p : r.points)
      if (p.name == item) return p.height;
  } else if (what == "correction_mm" || what == "adjusted_dh") {
    const std::size_t k = std::stoul(item) - 1;
    if (k < r.sections.size()) return what == "correction_mm" ? r.sections[k].correctionMm : r.sections[k].adjustedDh;
  } else if (what == "fh_mm" || what == "limit_mm" || what == "over") {
    if (const Misclosure* m = FindMisclosure(r, item))
      return what == "fh_mm" ? m->wMm : what == "limit_mm" ? m->limitMm : m->overLimit;
    std::string routes;
    for (const Misclosure& m : r.misclosures) routes += m.route + "; ";
    ADD_FAILURE() << "no route " << item << " among " << routes;
  } else if (what == "note") {
    return r.limitNote.find(item) != std::string::npos ? 1 : 0;
  } else if (what == "per_unit_mm") {
    return r.perUnitCorrectionMm;
  } else if (what == "redundancy") {
    return r.redundancy;
  } else if (what == "misclosures") {
    return static_cast<double>(r.misclosures.size());
  }
  return std::nan("");
}

}  // namespace

TEST(LevelFileCases, ReadOrRefusedWithTheLineAndReason) {
  for (const DataRow& row : ReadDataTable("levelling/file_cases_utf8.txt", '|')) {
    SCOPED_TRACE("file_cases_utf8.txt line " + std::to_string(row.line));
    const korvane::formats::LevelFileLoad load = korvane::formats::ParseLevelText(korvane::testing::UnescapeCell(row["text"]));
    const std::string& expected = row["expected"];
    if (expected.rfind("ok ", 0) == 0) {
      ASSERT_TRUE(load.ok()) << load.refusal->text;
      EXPECT_EQ("ok " + std::to_string(load.data.benchmarks.size()) + " " + std::to_string(load.data.sections.size()),
                expected);
      // What is read is written and read back unchanged.
      const korvane::formats::LevelFileLoad again = korvane::formats::ParseLevelText(LevelDataText(load.data));
      ASSERT_TRUE(again.ok());
      EXPECT_EQ(again.data, load.data);
    } else {
      ASSERT_FALSE(load.ok());
      EXPECT_NE(load.refusal->text.find(expected), std::string::npos) << load.refusal->text;
      EXPECT_FALSE(load.refusal->title.empty());
    }
  }
}

TEST(LevelAdjustCases, FiguresWorkedByHand) {
  for (const DataRow& row : ReadDataTable("levelling/adjust_cases.csv")) {
    SCOPED_TRACE("adjust_cases.csv line " + std::to_string(row.line) + ": " + row["file"] + " " + row["what"] + " " +
                 row["item"]);
    const LevelOutcome outcome = Adjust(MethodByName(row["method"]), LoadData(row["file"]));
    if (row["what"] == "refusal") {
      ASSERT_FALSE(outcome.ok());
      EXPECT_NE(outcome.refusal->text.find(row["item"]), std::string::npos) << outcome.refusal->text;
      continue;
    }
    ASSERT_TRUE(outcome.ok()) << outcome.refusal->text;
    EXPECT_NEAR(Figure(outcome.result, row), row.number("expected"), row.number("tolerance"));
  }
}

TEST(ChiSquare, QuantilesOfThePrintedTables) {
  for (const DataRow& row : ReadDataTable("levelling/chi_square.csv")) {
    SCOPED_TRACE("chi_square.csv line " + std::to_string(row.line));
    const int dof = std::stoi(row["dof"]);
    const double x = ChiSquareQuantile(row.number("p"), dof);
    EXPECT_NEAR(x, row.number("quantile"), row.number("tolerance"));
    EXPECT_NEAR(ChiSquareCdf(x, dof), row.number("p"), 1e-9);
  }
}
