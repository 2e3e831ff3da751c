#include "traverse/pipeline.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "formats/observation_check.h"
#include "traverse/simple_adjustment.h"
#include "support/case_table.h"
#include "traverse_fixture.h"

using namespace korvane::formats;

namespace korvane::traverse {
namespace {

using korvane::testing::Flat;
using korvane::testing::Start;
using korvane::testing::Table;

// Station rows written NAME,ANGLE,DISTANCE and joined by ";".
ObservationTable FlatRows(const std::string& text) {
  ObservationTable t;
  std::stringstream rows(text);
  for (std::string row; std::getline(rows, row, ';');) {
    std::vector<std::string> cells;
    std::stringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');) cells.push_back(field);
    cells.resize(3);
    t.rows.push_back(Flat(cells[0], cells[1], cells[2]));
  }
  return t;
}

TEST(TableCheck, RefusesTooFewRowsAndNamesTheFirstBadCell) {
  for (const korvane::testing::DataRow& row : korvane::testing::ReadDataTable("traverse_grid_refusals.txt", '|')) {
    SCOPED_TRACE("traverse_grid_refusals.txt line " + std::to_string(row.line));
    ObservationTable t = FlatRows(row["stations"]);
    for (const korvane::testing::TypedCell& cell : korvane::testing::ReadTypedCells(row["typed"]))
      t.rows[static_cast<std::size_t>(cell.row - 1)][static_cast<std::size_t>(cell.column - 1)] = cell.text;
    const auto refusal = CheckTable(t);
    if (row["message"].empty()) {
      EXPECT_FALSE(refusal) << refusal->text;
      continue;
    }
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, (Message{row["message"], row["title"], MessageIcon::Information}));
  }
}

TEST(TableCheck, TheWindowFindsTheCellARefusalNames) {
  // The window puts the surveyor on the cell a refusal names; a file's line
  // or any other text names no cell.
  const std::pair<std::string, std::pair<int, int>> named[] = {
      {"第3行第7未输入数据！", {3, 7}},
      {"第2行第4列数据输入有误！", {2, 4}},
      {"第12行第10列数据输入有误！", {12, 10}},
      {"文本中第3行格式不对！", {0, 0}},
      {"第3行第", {0, 0}},
      {"数据不构成导线，不接受计算！", {0, 0}}};
  for (const auto& [text, place] : named) {
    const auto cell = CellNamedBy(text);
    EXPECT_EQ(cell ? std::pair(cell->row, cell->column) : std::pair(0, 0), place) << text;
  }
}

TEST(TableCheck, RefusalLeavesThePaneUncleared) {
  SimpleInput input;
  input.table = Table({Flat("A", "", "100")});
  const SimpleResult r = AdjustTraverse(input);
  ASSERT_FALSE(r.ok());
  EXPECT_FALSE(r.tableAccepted);
  EXPECT_TRUE(r.lines.empty());
  EXPECT_TRUE(r.sketch.ops.empty());
}

TEST(Reduction, MeanPlaneWorkedExample) {
  // Heights 100, 101, 102 from the instrument-minus-target differences.
  const ObservationTable t = Table({{"A", "90", "1000", "1", "0", "0", "0", "0", "0"},
                                    {"B", "90", "500", "1", "0", "0", "0", "0", "0"},
                                    {"C", "90", "0", "0", "0", "0", "0", "0", "0"}});
  const Reduction r = Reduce(t, Start({{3, "100"}}), 2);
  EXPECT_FLOAT_EQ(r.provisionalHeights[1], 101.0f);
  EXPECT_FLOAT_EQ(r.provisionalHeights[2], 102.0f);
  EXPECT_FLOAT_EQ(r.meanHeight, 101.0f);
  EXPECT_FLOAT_EQ(r.planeHeight, 101.0f);
  // -((100 + 101 + 2.9) / 2 - 101) * 1000 / 6371.27
  EXPECT_NEAR(r.reductionMm[0], -0.14911, 0.00001);
  EXPECT_NEAR(r.reduced[0], 1000 - 0.14911e-3, 1e-8);
  EXPECT_NEAR(r.reducedSum, r.reduced[0] + r.reduced[1], 1e-3);
}

TEST(Reduction, UserPlaneAndMeanRoundedToMillimetres) {
  const ObservationTable t = Table({{"A", "90", "300", "0.0004", "0", "0", "0", "0", "0"},
                                    {"B", "90", "0", "0", "0", "0", "0", "0", "0"}});
  // Heights 10 and 10.0004: the mean 10.0002 is held as 10.000.
  const Reduction mean = Reduce(t, Start({{3, "10"}}), 1);
  EXPECT_FLOAT_EQ(mean.meanHeight, 10.0f);
  const Reduction user = Reduce(t, Start({{3, "10"}, {11, "510"}}), 1);
  EXPECT_FLOAT_EQ(user.planeHeight, 510.0f);
  // The line 1.45 m above the marks, 498.55 m below the plane: the leg grows.
  EXPECT_NEAR(user.reductionMm[0], (510 - (10 + 10.0004 + 2.9) / 2) * 300 / 6371.27, 1e-4);
}

TEST(Reduction, RightAnglesBecomeLeftAngles) {
  const ObservationTable t = Table({Flat("A", "-90.3", "100"), Flat("B", "45.3", "0")});
  const Reduction r = Reduce(t, StartRecord{}, 1);
  EXPECT_DOUBLE_EQ(r.beta[0], 269.5);
  EXPECT_DOUBLE_EQ(r.beta[1], 45.5);
  EXPECT_DOUBLE_EQ(r.betaSum, 315.0);
}

TEST(LegHeight, OneWayCarriesCurvatureTwoWayIsTheMean) {
  Station s;
  s.instrumentForward = 1.5f;
  s.targetForward = 1.5f;
  // (1 - k) D² / (2R) with k = 0.14 and R = 6371 km: 0.0675 m over 1 km.
  EXPECT_NEAR(LegHeightDifference(s, 1000), 0.0674933, 1e-7);
  EXPECT_NEAR(LegHeightDifference(s, 2000), 0.2699733, 1e-7);

  s.verticalForward = std::atan(0.01);
  EXPECT_NEAR(LegHeightDifference(s, 500), 5.0168733, 1e-7);

  // Forward +1.2 over the instrument heights, back -0.8: the mean is 1.0.
  Station two;
  two.instrumentForward = 1.7f;
  two.targetForward = 0.5f;
  two.instrumentBack = 1.2f;
  two.targetBack = 2.0f;
  EXPECT_NEAR(LegHeightDifference(two, 1000), 1.0, 1e-6);
}

}  // namespace
}  // namespace korvane::traverse
