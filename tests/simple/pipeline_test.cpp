#include "traverse/pipeline.h"

#include <gtest/gtest.h>

#include "formats/observation_check.h"
#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;

namespace korvane::traverse {
namespace {

using korvane::testing::Flat;
using korvane::testing::Start;
using korvane::testing::Table;

TEST(TableCheck, RefusesTooFewRowsAndNamesTheFirstBadCell) {
  const auto none = CheckTable(ObservationTable{});
  ASSERT_TRUE(none);
  EXPECT_EQ(none->text, "数据不构成导线，不接受计算！");
  EXPECT_EQ(none->title, "提醒");

  ObservationTable t = Table({Flat("A", "90", "100"), Flat("B", "90", "100"), Flat("C", "90", "0")});
  EXPECT_FALSE(CheckTable(t));

  t.rows[2][6] = "  ";  // row 3, grid column 7
  t.rows[1][3] = "1.5";
  const auto empty = CheckTable(t);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->text, "第3行第7未输入数据！");
  EXPECT_EQ(empty->title, "请检查");

  // Rows are checked before later rows, columns 2..9 in order within a row.
  t.rows[1][3] = ".5";  // row 2, column 4
  const auto invalid = CheckTable(t);
  ASSERT_TRUE(invalid);
  EXPECT_EQ(invalid->text, "第2行第4列数据输入有误！");
  EXPECT_EQ(invalid->title, "请检查");

  // The window puts the surveyor on the cell a refusal names; a file's line
  // or any other text names no cell.
  const std::pair<std::string, std::pair<int, int>> named[] = {
      {empty->text, {3, 7}},
      {invalid->text, {2, 4}},
      {"第12行第10列数据输入有误！", {12, 10}},
      {"文本中第3行格式不对！", {0, 0}},
      {"第3行第", {0, 0}},
      {none->text, {0, 0}}};
  for (const auto& [text, place] : named) {
    const auto cell = CellNamedBy(text);
    EXPECT_EQ(cell ? std::pair(cell->row, cell->column) : std::pair(0, 0), place) << text;
  }
}

TEST(TableCheck, AcceptsSignedNumbersAndLeavesNamesUnchecked) {
  ObservationTable t = Table({Flat("A-1", "-0.5", "+12"), Flat("", "12.", "0")});
  EXPECT_FALSE(CheckTable(t));
  t.rows[0][2] = "12a3";
  EXPECT_EQ(CheckTable(t)->text, "第1行第3列数据输入有误！");
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
