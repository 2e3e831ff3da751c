// The connecting and closed engines, checked against values worked out by
// hand and against a step-by-step recomputation with the closing formulas.
#include "traverse/closing_traverse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "traverse/report_format.h"
#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;

namespace korvane::traverse {
namespace {

using korvane::testing::Flat;
using korvane::testing::Start;
using korvane::testing::Table;

// A (1000, 1000) oriented from B (1000, 900); legs north 200 m, east 200 m,
// north 100 m to C (1300, 1200), closing onto D (1300, 1300). The plane at
// 51.45 m makes every reduction vanish for marks at 50 m.
formats::StartRecord SquareStart(const std::string& endHeight = "50") {
  return Start({{1, "1000"}, {2, "1000"}, {3, "50"}, {4, "1000"}, {5, "900"}, {6, "1300"}, {7, "1200"},
                {8, endHeight}, {9, "1300"}, {10, "1300"}, {11, "51.45"}});
}

formats::ObservationTable SquareTable(const std::string& secondAngle, const std::string& secondLeg) {
  return Table({Flat("A", "90", "200"), Flat("P1", secondAngle, secondLeg), Flat("P2", "90", "100"),
                Flat("C", "270", "0")});
}

TEST(ConnectingTraverse, DistanceErrorIsSpreadByLength) {
  const ClosingOutcome out = SolveClosing(SquareTable("270", "200.02"), SquareStart("50.03"), false);
  ASSERT_FALSE(out.refusal);
  const ClosingSolution& s = out.solution;
  EXPECT_NEAR(s.angularMisclosure, 0, 1e-9);
  // fx holds only the east leg's 200 m × cos(90 × 0.017453292); fy the
  // 200.02 m as read in single precision (200.0200043).
  EXPECT_NEAR(s.fx, 0, 1e-5);
  EXPECT_NEAR(s.fy, 0.0200043, 1e-7);
  // 20 mm over 200, 200.02 and 100 m of 500.02 m.
  EXPECT_DOUBLE_EQ(s.correctionYmm[0], -8.0);
  EXPECT_DOUBLE_EQ(s.correctionYmm[1], -8.0);
  EXPECT_DOUBLE_EQ(s.correctionYmm[2], -4.0);
  EXPECT_DOUBLE_EQ(s.y[1], 999.992);
  EXPECT_DOUBLE_EQ(s.y[2], 1200.004);
  EXPECT_DOUBLE_EQ(s.x[3], 1300.0);
  EXPECT_DOUBLE_EQ(s.y[3], 1200.0);
  EXPECT_DOUBLE_EQ(s.distanceChangeMm[1], -8.0);
  // 500.012 m over an fs of 20.0043 mm.
  EXPECT_EQ(s.relativeMisclosure, "1 / 24995");
  // One-way legs of 200, 200.012 and 100 m rise by (1 - 0.14) D² / (2 × 6371 km);
  // fh = Σh + 50 - 50.03, spread back by the adjusted lengths.
  const double sumH = 0.86 / (2 * 6371000.0) * (200.0 * 200.0 + 200.012 * 200.012 + 100.0 * 100.0);
  EXPECT_NEAR(s.fh, sumH - 0.03, 1e-9);
  EXPECT_DOUBLE_EQ(s.heightCorrectionMm[0], 9.6);  // 23.925 × 200 / 500.012
  EXPECT_DOUBLE_EQ(s.heightCorrectionMm[2], 4.8);
  EXPECT_NEAR(s.height[3], 50.03, 1e-9);
  EXPECT_EQ(SText(F1(s.correctionPerKm)), " 47.8");
}

TEST(ConnectingTraverse, AngleErrorRecomputedStepByStep) {
  // P1's angle is 12" too large; the shares go as 1/90 : 1/270.
  const ClosingOutcome out = SolveClosing(SquareTable("270.0012", "200"), SquareStart(), false);
  ASSERT_FALSE(out.refusal);
  const ClosingSolution& s = out.solution;
  EXPECT_NEAR(s.angularMisclosure * 3600, 12, 1e-6);
  EXPECT_EQ(s.angleCorrectionSeconds, (std::vector<double>{-4.5, -1.5, -4.5, -1.5}));

  // The adjusted azimuths are off by -4.5", +6" and +1.5" from 0, 90 and 0.
  const double rho = 3.141592653589793 / 180 / 3600;
  const double dx = 200 * std::cos(-4.5 * rho) + 200 * std::cos((90 * 3600 + 6) * rho) +
                    100 * std::cos(1.5 * rho) - 300;
  const double dy = 200 * std::sin(-4.5 * rho) + 200 * std::sin((90 * 3600 + 6) * rho) +
                    100 * std::sin(1.5 * rho) - 200;
  // Within the single-precision noise of the summed increments.
  EXPECT_NEAR(s.fx, dx, 6e-5);
  EXPECT_NEAR(s.fy, dy, 6e-5);
  EXPECT_EQ(SText(F1(s.fx * 1000)), "-5.8");
  // The corrected traverse lands on C.
  EXPECT_NEAR(s.x[3], 1300, 0.0015);
  EXPECT_NEAR(s.y[3], 1200, 0.0015);
}

// Two stations, one leg north: A(1) = 0 after the start azimuth 0 and 180°.
formats::ObservationTable NorthLeg(const std::string& endAngle, const std::string& leg = "100") {
  return Table({Flat("A", "180", leg), Flat("C", endAngle, "0")});
}
formats::StartRecord NorthStart(const std::string& closingAzimuth, const std::string& endX = "1100") {
  return Start({{1, "1000"}, {2, "1000"}, {4, "0"}, {6, endX}, {7, "1000"}, {9, closingAzimuth}, {11, "1.45"}});
}

TEST(ConnectingTraverse, MisclosureAcrossNorthCountsAsSmall) {
  // A(n) = 0.001°, closing azimuth 359.999°: fβ = +0.002° = 7.2".
  const ClosingOutcome out = SolveClosing(NorthLeg("180.00036"), NorthStart("359.59564"), false);
  ASSERT_FALSE(out.refusal);
  EXPECT_NEAR(out.solution.angularMisclosure, 0.002, 1e-9);
  EXPECT_EQ(SText(F1(out.solution.angularMisclosure * 3600)), " 7.2");
}

TEST(ConnectingTraverse, AngularLimitIsOneDegree) {
  const ClosingOutcome over = SolveClosing(NorthLeg("181.000036"), NorthStart("0"), false);
  ASSERT_TRUE(over.refusal);
  EXPECT_EQ(over.refusal->text, "角度闭合差已超过1度，不再接受计算！");
  EXPECT_EQ(over.refusal->title, "警告");

  // Exactly 1° passes; the 1800" corrections are whole and fit their column.
  SimpleInput input;
  input.table = NorthLeg("181");
  input.start = NorthStart("0");
  const SimpleResult r = AdjustTraverse(input);
  ASSERT_TRUE(r.ok());
  EXPECT_NE(std::find(r.lines.begin(), r.lines.end(), "  水平角闭合差： fβ= 3600″"), r.lines.end());

  // 3273" over 90° and 270.909°: 2456.8" for the small angle overflows.
  input.table = Table({Flat("A", "90", "100"), Flat("C", "270.5433", "0")});
  input.start = Start({{1, "0"}, {2, "0"}, {4, "0"}, {6, "0"}, {7, "-100"}, {9, "0"}, {11, "1.45"}});
  const SimpleResult wide = AdjustTraverse(input);
  ASSERT_FALSE(wide.ok());
  EXPECT_EQ(wide.refusal->text, "平面闭合差远远超限，不接受继续计算！");
  EXPECT_TRUE(wide.tableAccepted);
  EXPECT_EQ(wide.lines.back(), "  点  号     δβ″ δX(mm)  δY(mm)  δH(mm)  δS投影(mm)  δS平差(mm)");
}

TEST(ConnectingTraverse, LinearLimitIsOnePointFiveMetres) {
  const ClosingOutcome exact = SolveClosing(NorthLeg("180", "101.5"), NorthStart("0"), false);
  ASSERT_FALSE(exact.refusal);
  EXPECT_DOUBLE_EQ(exact.solution.fs, 1.5);

  SimpleInput input;
  input.table = NorthLeg("180", "101.5002");
  input.start = NorthStart("0");
  const SimpleResult r = AdjustTraverse(input);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.refusal->text, "边长闭合差已超过1.5米，不再接受计算！");
  EXPECT_EQ(r.refusal->title, "警告");
  EXPECT_TRUE(r.tableAccepted);
  EXPECT_TRUE(r.lines.empty());
}

TEST(AngleWeights, SmallAnglesTakeTheLargerShare) {
  const AngleShares s = AngleWeights({90, 270}, 360);
  EXPECT_NEAR(s.weight[0] / s.weight[1], 3.0, 1e-12);
  EXPECT_NEAR((s.weight[0] + s.weight[1]) / s.total, 1.0, 1e-6);

  // An angle of 0 is the limit of a vanishing angle: it takes everything.
  const AngleShares zero = AngleWeights({0, 180, 180}, 360);
  EXPECT_DOUBLE_EQ(zero.weight[0] / zero.total, 1.0);
  EXPECT_DOUBLE_EQ(zero.weight[1], 0.0);
  for (double w : zero.weight) EXPECT_TRUE(std::isfinite(w));
}

TEST(LegWeights, DistanceMeterConstantsOrLengths) {
  const std::vector<double> q = LegWeights({1000, 200}, 5, 5);
  EXPECT_NEAR(q[0], 10.0 / 16, 1e-12);
  EXPECT_NEAR(q[1], 6.0 / 16, 1e-12);
  // a alone has no effect.
  const std::vector<double> byLength = LegWeights({1000, 200}, 5, 0);
  EXPECT_NEAR(byLength[0], 1000.0 / 1200, 1e-7);
  // A negative b still distributes the misclosure, by length.
  const std::vector<double> negative = LegWeights({1000, 200}, 5, -5);
  EXPECT_NEAR(negative[0] + negative[1], 1.0, 1e-7);
  EXPECT_NEAR(negative[0], 1000.0 / 1200, 1e-7);
  // b > 0 with nominal errors summing to nothing or less: by length too.
  const std::vector<double> cancelled = LegWeights({1000, 200}, -20, 5);
  EXPECT_NEAR(cancelled[1], 200.0 / 1200, 1e-7);
}

TEST(ConnectingTraverse, NegativeMultiplicativeConstantStillCloses) {
  formats::StartRecord start = SquareStart();
  start.record(12) = "5";
  start.record(13) = "-3";
  const ClosingOutcome out = SolveClosing(SquareTable("270", "200.02"), start, false);
  ASSERT_FALSE(out.refusal);
  EXPECT_DOUBLE_EQ(out.solution.x[3], 1300.0);
  EXPECT_DOUBLE_EQ(out.solution.y[3], 1200.0);
}

TEST(RelativeMisclosure, WorkedExampleAndExactClosure) {
  EXPECT_EQ(RelativeMisclosureText(1234.5, 0.05), "1 / 24690");
  // A misclosure that prints as 0.0 mm is none to the reader.
  EXPECT_EQ(RelativeMisclosureText(1234.5, 0.0000499), "1 / ∞");
  EXPECT_EQ(RelativeMisclosureText(1234.5, 0.00005), "1 / 24690000");
  EXPECT_EQ(RelativeMisclosureText(1234.5, 0.0), "1 / ∞");
  EXPECT_EQ(RelativeMisclosureText(0.0, 0.0), "1 / ∞");
}

TEST(ConnectingTraverse, ExactClosureReadsAsInfinite) {
  const ClosingOutcome out = SolveClosing(NorthLeg("180"), NorthStart("0"), false);
  ASSERT_FALSE(out.refusal);
  EXPECT_LT(out.solution.fs, 1e-9);
  EXPECT_EQ(out.solution.relativeMisclosure, "1 / ∞");
}

TEST(ClosedTraverse, SquareClosesOnItsStartPoint) {
  // A square of 100 m walked clockwise (north, east, south, west) with
  // right angles of 90°, one side 30 mm long and one angle 8" small.
  const formats::ObservationTable t = Table({Flat("G1", "90", "100"), Flat("G2", "-90", "100.03"),
                                    Flat("G3", "-90.0008", "100"), Flat("G4", "-90", "100"),
                                    Flat("G1", "180", "0")});
  // Orientation point 100 m west of G1: α0 = 90, the first leg runs north.
  const formats::StartRecord start = Start({{1, "500"}, {2, "500"}, {3, "10"}, {4, "500"}, {5, "400"}, {11, "11.45"}});
  const ClosingOutcome out = SolveClosing(t, start, true);
  ASSERT_FALSE(out.refusal);
  const ClosingSolution& s = out.solution;
  EXPECT_NEAR(s.closingAzimuth, 270.0, 1e-6);
  EXPECT_NEAR(s.angularMisclosure * 3600, -8, 1e-3);
  EXPECT_EQ(s.fx, s.sumDx);
  EXPECT_EQ(s.fy, s.sumDy);
  EXPECT_NEAR(s.x.back(), 500, 0.0015);
  EXPECT_NEAR(s.y.back(), 500, 0.0015);
  EXPECT_NEAR(s.x[1], 600, 0.01);
  EXPECT_NEAR(s.y[1], 500, 0.01);
  // Four one-way legs of 100 m: (1 - 0.14) × 100² / (2 × 6371 km) each.
  EXPECT_NEAR(s.fh, 4 * 0.000674933, 1e-6);
}

TEST(ClosedTraverse, DistanceTypedInTheLastRowDoesNotSpoilTheClosure) {
  // The last row repeats G1; a distance typed there belongs to no leg and
  // takes no share of the misclosure.
  const formats::ObservationTable t = Table({Flat("G1", "90", "100"), Flat("G2", "-90", "100.03"),
                                    Flat("G3", "-90", "100"), Flat("G4", "-90", "100"),
                                    Flat("G1", "180", "250")});
  const formats::StartRecord start = Start({{1, "500"}, {2, "500"}, {4, "500"}, {5, "400"}, {11, "1.45"}});
  const ClosingOutcome out = SolveClosing(t, start, true);
  ASSERT_FALSE(out.refusal);
  double share = 0;
  for (double q : out.solution.legWeight) share += q;
  EXPECT_NEAR(share, 1.0, 1e-6);
  EXPECT_NEAR(out.solution.x.back(), 500, 0.0015);
  EXPECT_NEAR(out.solution.y.back(), 500, 0.0015);
}

}  // namespace
}  // namespace korvane::traverse
