#include "traverse/no_orientation_traverse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "traverse/report_format.h"
#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;

namespace korvane::traverse {
namespace {

using korvane::testing::Flat;
using korvane::testing::Start;
using korvane::testing::Table;

using korvane::testing::Has;

// A (1000, 1000), north 100 m to P, east 100 m to B (1100, 1100). The angle
// at A is arbitrary; at P the left angle from A to B is 270°.
SimpleInput Corner(const std::string& firstAngle, const std::string& secondLeg = "100") {
  SimpleInput in;
  in.kind = formats::TraverseKind::NoOrientation;
  in.table = Table({Flat("A", firstAngle, "100"), Flat("P", "270", secondLeg)});
  in.start = Start({{1, "1000"}, {2, "1000"}, {3, "10"}, {6, "1100"}, {7, "1100"}, {8, "10"}, {11, "11.45"}});
  in.endName = "B";
  return in;
}

TEST(NoOrientationTraverse, ErrorFreeDataIsTurnedOntoTheKnownLine) {
  const SimpleInput in = Corner("50");
  const NoOrientationOutcome out = SolveNoOrientation(in.table, in.start, in.endName);
  ASSERT_FALSE(out.refusal);
  const NoOrientationSolution& s = out.solution;
  // Assumed first leg 181 + 50 = 231°, true 0°: the turn is 231°.
  // The degree factor 0.017453292 in the sines and cosines keeps the turn
  // 0.03" short of 231°.
  EXPECT_NEAR(s.turn, 231, 2e-5);
  EXPECT_NEAR(s.azimuth[0], 0, 2e-5);
  EXPECT_NEAR(s.fs, 0, 5e-5);
  EXPECT_DOUBLE_EQ(s.correctionXmm[0], 0.0);
  EXPECT_NEAR(s.x[1], 1100, 0.0005);
  EXPECT_NEAR(s.y[2], 1100, 0.0005);
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Has(r.lines, "  真假方位角差： αAB= 231  度.分秒"));
  EXPECT_TRUE(Has(r.lines, "  导线总长：    S=200.000 m"));
}

TEST(NoOrientationTraverse, TurnNearFullCircleWrapsTheFirstAzimuth) {
  // 181 + 178.9 = 359.9 assumed against 0 true: Δα = 359.9 and α′(1) comes
  // out at the edge of [0, 360).
  const SimpleInput in = Corner("178.54");
  const NoOrientationSolution s = SolveNoOrientation(in.table, in.start, in.endName).solution;
  EXPECT_NEAR(s.turn, 359.9, 2e-5);
  EXPECT_GE(s.azimuth[0], 0);
  EXPECT_LT(s.azimuth[0], 360);
  EXPECT_NEAR(s.x[1], 1100, 0.0005);
}

TEST(NoOrientationTraverse, MisclosureDistributedAndHeightsClosed) {
  SimpleInput in = Corner("50", "100.04");
  in.start.record(8) = "10.02";
  const NoOrientationOutcome out = SolveNoOrientation(in.table, in.start, in.endName);
  ASSERT_FALSE(out.refusal);
  const NoOrientationSolution& s = out.solution;
  EXPECT_GT(s.fs, 0.01);
  EXPECT_DOUBLE_EQ(s.x[2], 1100.0);
  EXPECT_DOUBLE_EQ(s.y[2], 1100.0);
  // Two one-way legs of about 100 m rise 0.675 mm each by curvature and
  // refraction, (1 - 0.14) × 100² / (2 × 6371 km).
  EXPECT_NEAR(s.fh, 0.00135 - 0.02, 2e-6);
  EXPECT_NEAR(s.height[2], 10.02, 1e-9);
  // Equal legs share equally.
  EXPECT_DOUBLE_EQ(s.correctionXmm[0], s.correctionXmm[1]);
  EXPECT_NEAR(s.correctionPerKm, 0.01865e6 / s.adjustedSum, 0.05);
}

TEST(NoOrientationTraverse, LinearLimitAndNoLines) {
  const SimpleResult ok = AdjustTraverse(Corner("50", "101.4"));
  EXPECT_TRUE(ok.ok());
  const SimpleResult r = AdjustTraverse(Corner("50", "102.5"));
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.refusal->text, "边长闭合差已超过1.5米，不再接受计算！");
  EXPECT_EQ(r.refusal->title, "警告");
  EXPECT_TRUE(r.lines.empty());
  EXPECT_TRUE(r.tableAccepted);
}

// One leg from A (1000, 1000) north to B (1100, 1000).
SimpleInput OneLeg(const std::string& leg, const std::string& endHeight) {
  SimpleInput in;
  in.kind = formats::TraverseKind::NoOrientation;
  in.table = Table({Flat("A", "10", leg)});
  in.start = Start({{1, "1000"}, {2, "1000"}, {3, "10"}, {6, "1100"}, {7, "1000"}, {8, endHeight}, {11, "11.45"}});
  return in;
}

TEST(NoOrientationTraverse, WidthRefusalsKeepTheTableSoFar) {
  // 1234.5 mm too long: a 7-character correction.
  const SimpleResult plane = AdjustTraverse(OneLeg("101.2345", "10"));
  ASSERT_FALSE(plane.ok());
  EXPECT_EQ(plane.refusal->text, "平面闭合差远远超限，不接受继续计算！");
  EXPECT_EQ(plane.refusal->title, "提醒");
  EXPECT_EQ(plane.lines.back(), "  点  号   δX(mm)  δY(mm)  δH(mm)  δS投影(mm)  δS平差(mm)");
  EXPECT_TRUE(plane.sketch.ops.empty());

  const SimpleResult height = AdjustTraverse(OneLeg("100", "11.2345"));
  ASSERT_FALSE(height.ok());
  EXPECT_EQ(height.refusal->text, "高程闭合差远远超限，不接受继续计算！");
  EXPECT_EQ(height.lines.back(), "  点  号   δX(mm)  δY(mm)  δH(mm)  δS投影(mm)  δS平差(mm)");

  // 999.9 mm still fits.
  EXPECT_TRUE(AdjustTraverse(OneLeg("100", "10.9999")).ok());
}

TEST(NoOrientationTraverse, ExactClosureAndReportLabels) {
  SimpleInput in = Corner("50");
  in.start.record(12) = "5";
  in.start.record(13) = "5";
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.lines[0], "     **********  无定向导线( A-B段)平差成果表 **********");
  EXPECT_EQ(r.lines[7], "  终点(B)：X＝1100.000   终点(B)：Y＝1100.000");
  EXPECT_EQ(r.lines[10], "  测距仪加常数：a＝5.0  测距仪乘常数： b＝5.0");
  EXPECT_TRUE(Has(r.lines, "   B                      1100.000      1100.000        10.000"));
}

}  // namespace
}  // namespace korvane::traverse
