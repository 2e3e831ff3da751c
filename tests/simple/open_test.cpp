#include "traverse/open_traverse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;

namespace korvane::traverse {
namespace {

using korvane::testing::Flat;
using korvane::testing::Start;
using korvane::testing::Table;

using korvane::testing::Has;

TEST(OpenTraverse, WeakestPointOfOneKilometreLeg) {
  EXPECT_FLOAT_EQ(LateralError(1000, 1), 22.7f);  // 1000 × 4.6726 / 206.265 = 22.65
  EXPECT_FLOAT_EQ(LongitudinalError(0, 1), 4.5f);  // √20
  EXPECT_FLOAT_EQ(LongitudinalError(0, 3), 13.4f);
  // 5 mm + 5 ppm on a 1000 m leg: m = 10, ml = √(100 + 20).
  EXPECT_DOUBLE_EQ(MeanLegError(5, 5, 1000, 1), 10.0);
  EXPECT_FLOAT_EQ(LongitudinalError(10, 1), 11.0f);
  EXPECT_DOUBLE_EQ(MeanLegError(5, 0, 1000, 1), 0.0);
  EXPECT_DOUBLE_EQ(MeanLegError(5, -2, 1000, 1), 0.0);

  SimpleInput in;
  in.kind = formats::TraverseKind::Open;
  in.table = Table({Flat("A", "134.3", "1000")});
  in.start = Start({{1, "100"}, {2, "200"}, {3, "10"}, {4, "45.3"}, {11, "11.45"}});
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Has(r.lines, "  最弱点点位横(X)向误差估值： mq=± 22.7mm"));
  EXPECT_TRUE(Has(r.lines, "  最弱点点位纵(Y)向误差估值： ml=± 4.5mm"));
  EXPECT_TRUE(Has(r.lines, "  导线总长：    S=1000.000m"));
}

TEST(OpenTraverse, AzimuthFormCarriesTheCoordinates) {
  // 45°30' arriving, 134°30' turned: the leg runs due north.
  SimpleInput in;
  in.kind = formats::TraverseKind::Open;
  in.table = Table({Flat("A", "134.3", "1000")});
  in.start = Start({{1, "100"}, {2, "200"}, {3, "10"}, {4, "45.3"}, {11, "11.45"}});
  const OpenSolution s = SolveOpen(in.table, in.start, "E");
  EXPECT_DOUBLE_EQ(s.startAzimuth, 45.5);
  EXPECT_NEAR(s.azimuth[0], 0, 1e-9);
  EXPECT_DOUBLE_EQ(s.x[1], 1100.0);
  EXPECT_DOUBLE_EQ(s.y[1], 200.0);
  // One-way leg: the curvature and refraction term 0.0675 m over 1000 m.
  EXPECT_NEAR(s.height[1], 10.0674933, 1e-7);
}

TEST(OpenTraverse, OrientationPointFormAndRightAngles) {
  // B (100, 100) to A (100, 200) runs east: α0 = 90. A right angle of 90°
  // at A turns the traverse south, a left angle of 90° at P then east.
  const formats::ObservationTable t = Table({Flat("A", "-90", "100"), Flat("P", "90", "50")});
  const formats::StartRecord start = Start({{1, "100"}, {2, "200"}, {4, "100"}, {5, "100"}, {11, "1.45"}});
  const OpenSolution s = SolveOpen(t, start, "终点");
  EXPECT_NEAR(s.startAzimuth, 90, 1e-6);
  EXPECT_NEAR(s.x[1], 0, 0.0005);
  EXPECT_NEAR(s.y[1], 200, 0.0005);
  EXPECT_NEAR(s.x[2], 0, 0.0005);
  EXPECT_NEAR(s.y[2], 250, 0.0005);
  EXPECT_FLOAT_EQ(s.length, 150.0f);
}

TEST(OpenTraverse, ReportNamesTheEndPoint) {
  SimpleInput in;
  in.kind = formats::TraverseKind::Open;
  in.table = Table({{"A", "90", "100", "1.5", "1.2", "0", "1.4", "1.7", "0"}, Flat("P", "180", "50")});
  in.start = Start({{1, "100"}, {2, "200"}, {3, "20"}, {4, "100"}, {5, "100"}, {11, "21.45"}, {12, "2"},
                    {13, "2"}});
  in.endName = "Z9";
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.lines[0], "     **********  支导线( A-Z9段)平差成果表 **********");
  EXPECT_EQ(r.lines[7], "  起点定向：  X＝100.000  起点定向：Y＝100.000");
  EXPECT_EQ(r.lines[8], "  投影高程面：Hm＝ 21.45m");
  EXPECT_EQ(r.lines[9], "  测距仪加常数：a＝2.0  测距仪乘常数： b＝2.0");
  EXPECT_TRUE(Has(r.lines, "  点  号    δS投影(mm)"));
  // East from B to A, 90° left turns north. Two-way leg: (0.3 - (-0.3)) / 2
  // = 0.3 m up to P; the one-way 50 m leg adds 0.3 mm of curvature.
  EXPECT_TRUE(Has(r.lines, "  最弱点点位横(X)向误差估值： mq=± 4mm"));
  EXPECT_TRUE(Has(r.lines, "  A           -0.0"));
  EXPECT_TRUE(Has(r.lines, "   A           100.000    100.000      200.000        20.000"));
  EXPECT_TRUE(Has(r.lines, "   P           50.000    200.000      200.000        20.300"));
  EXPECT_TRUE(Has(r.lines, "   Z9                    250.000      200.000        20.300"));

  in.endName = "终点";
  EXPECT_EQ(AdjustTraverse(in).lines[0], "     **********  支导线( A-终点段)平差成果表 **********");
}

}  // namespace
}  // namespace korvane::traverse
