// The results table of the connecting and closed kinds: labels, number
// forms, optional lines and the width refusals that cut the table short.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/text_utils.h"
#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace korvane {
namespace {

using testing::Flat;
using testing::Start;
using testing::Table;

using korvane::testing::Has;

SimpleInput Square(TraverseKind kind = TraverseKind::Connecting) {
  SimpleInput in;
  in.kind = kind;
  in.table = Table({Flat("K1", "90", "200"), {"P1", "270", "200.02", "1.5", "1.5", "0", "1.4", "1.4", "0"},
                    Flat("P2", "90", "100"), Flat("K9", "270", "0")});
  in.start = Start({{1, "1000"}, {2, "1000"}, {3, "50"}, {4, "1000"}, {5, "900"}, {6, "1300"}, {7, "1200"},
                    {8, "50.03"}, {9, "1300"}, {10, "1300"}, {11, "51.45"}});
  return in;
}

TEST(ConnectingReport, StartDataAndTitleInTheCoordinateForm) {
  const SimpleResult r = AdjustTraverse(Square());
  ASSERT_TRUE(r.ok());
  ASSERT_GE(r.lines.size(), 12u);
  EXPECT_EQ(r.lines[0], "     **********  附合导线( K1—K9段)平差成果表 **********");
  EXPECT_EQ(r.lines[1], "");
  EXPECT_EQ(r.lines[2], "");
  EXPECT_EQ(r.lines[3], "  起始数据表：");
  EXPECT_EQ(r.lines[4], "  ——————————————————————————————————");
  EXPECT_EQ(r.lines[5], "  起点(K1)：X＝1000.000   起点(K1)：Y＝1000.000");
  EXPECT_EQ(r.lines[6], "  起点(K1)：H＝50.000");
  EXPECT_EQ(r.lines[7], "  起点定向：  X＝1000.000  起点定向：Y＝900.000");
  EXPECT_EQ(r.lines[8], "  终点(K9)：X＝1300.000   终点(K9)：Y＝1200.000");
  EXPECT_EQ(r.lines[9], "  终点(K9)：H＝50.030");
  EXPECT_EQ(r.lines[10], "  终点定向：X＝1300.000  终点定向：Y＝1300.000");
  EXPECT_EQ(r.lines[11], "  投影高程面：Hm＝ 51.45m");
  // b = 0: no distance-meter line.
  EXPECT_EQ(r.lines[12], "  ——————————————————————————————————");
}

TEST(ConnectingReport, ObservationCharacteristicAndFinalLines) {
  const SimpleResult r = AdjustTraverse(Square());
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Has(r.lines, "  K1          90.00000 200         0         0          0.00000"));
  EXPECT_TRUE(Has(r.lines, "  P1          270.00000 200.02      1.5       1.5        0.00000"));
  // One-way legs keep empty back fields; P1 is two-way.
  EXPECT_TRUE(Has(r.lines, "  K1          " + std::string(31, ' ')));
  EXPECT_TRUE(Has(r.lines, "  P1           1.4        1.4       0        "));
  // Legs 1 and 3 are one-way: their curvature and refraction terms (2.7 +
  // 0.7 mm) against the 30 mm rise of the end point give fh = -26.6 mm. The
  // 200.02 m leg read in single precision puts fs a little over 20 mm.
  EXPECT_TRUE(Has(r.lines, "  导线总长：    S= 500.012m"));
  EXPECT_TRUE(Has(r.lines, "  水平角闭合差： fβ= 0″"));
  EXPECT_TRUE(Has(r.lines, "  y增量闭合差： fy= 20mm"));
  EXPECT_TRUE(Has(r.lines, "  边长闭合差： fs= 20mm"));
  EXPECT_TRUE(Has(r.lines, "  高程闭合差： fh=-26.6mm"));
  EXPECT_TRUE(Has(r.lines, "  高差每Km改正值： δKm= 53.2mm"));
  EXPECT_TRUE(Has(r.lines, "  单向高差已加球气差改正：(1－k)D²/2R，k=0.14，R=6371km"));
  EXPECT_TRUE(Has(r.lines, "  导线全长相对闭合差： Κ=fs/∑s =1 / 24995"));
  EXPECT_TRUE(Has(r.lines, "  点  号     δβ″ δX(mm)  δY(mm)  δH(mm)  δS投影(mm)  δS平差(mm)"));
  EXPECT_TRUE(Has(r.lines, "  K1           0"));
  EXPECT_TRUE(Has(r.lines, "  P2           0       0      -8        10.7      0           -8"));
  EXPECT_TRUE(Has(r.lines, "   P2           200.012     1200       1200.004         50.024"));
  EXPECT_TRUE(Has(r.lines, "   K9           100     1300       1200         50.03"));
  EXPECT_EQ(r.lines.back(), "  ——————————————————————————————————");
}

TEST(ConnectingReport, AzimuthFormAndDistanceMeterLine) {
  SimpleInput in = Square();
  in.start.record(4) = "90";
  in.start.record(5) = "";
  in.start.record(9) = "90";
  in.start.record(12) = "5";
  in.start.record(13) = "3";
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.lines[7], "  起始方位角： α＝90.00000");
  EXPECT_EQ(r.lines[10], "  附合方位角：α＝90.00000");
  EXPECT_EQ(r.lines[12], "  测距仪加常数：a＝5.0  测距仪乘常数： b＝3.0");
}

TEST(ConnectingReport, NegativeMisclosureInSeconds) {
  // The end azimuth 9" larger than reached: fβ = -0.0025° prints as -9.
  SimpleInput in = Square();
  in.start.record(4) = "90";
  in.start.record(5) = "";
  in.start.record(9) = "90.0009";
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Has(r.lines, "  水平角闭合差： fβ=-9″"));
}

TEST(ClosedReport, LabelsAndRules) {
  SimpleInput in;
  in.kind = TraverseKind::Closed;
  in.table = Table({Flat("G1", "90", "100"), Flat("G2", "-90", "100.03"), Flat("G3", "-90", "100"),
                    Flat("G4", "-90", "100"), Flat("G1", "180", "0")});
  in.start = Start({{1, "500"}, {2, "500"}, {3, "10"}, {4, "90"}, {11, "11.45"}});
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.lines[0], "     **********  闭合导线( G1-G1段)平差成果表 **********");
  EXPECT_EQ(r.lines[5], "  起终点(G1)：X＝500.000   起终点(G1)：Y＝500.000");
  EXPECT_EQ(r.lines[6], "  起终点(G1)：H＝10.000");
  EXPECT_EQ(r.lines[7], "  起始方位角： α＝90.00000");
  EXPECT_EQ(r.lines[8], "  附合方位角：α＝270.00000");
  EXPECT_EQ(r.lines[9], "  投影高程面：Hm＝ 11.45m");
  EXPECT_TRUE(Has(r.lines, " ——————————————————————————————————"));
  EXPECT_EQ(r.lines.back(), "   ——————————————————————————————————");

  in.start.record(4) = "500";
  in.start.record(5) = "400";
  const SimpleResult coords = AdjustTraverse(in);
  ASSERT_TRUE(coords.ok());
  EXPECT_EQ(coords.lines[7], "  定向：X＝500.000  定向：Y＝400.000");
}

TEST(WidthRefusal, HeightCorrectionTooWideStopsAfterPartialTable) {
  // 5 m of height misclosure over two equal legs: 2500.0 mm per leg.
  SimpleInput in;
  in.table = Table({Flat("A", "180", "100"), Flat("B", "180", "100"), Flat("C", "180", "0")});
  in.start = Start({{1, "0"}, {2, "0"}, {3, "10"}, {4, "0"}, {6, "200"}, {7, "0"}, {8, "15"}, {9, "0"},
                    {11, "11.45"}});
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.refusal->text, "高程闭合差远远超限，不接受继续计算！");
  EXPECT_EQ(r.refusal->title, "提醒");
  EXPECT_TRUE(r.tableAccepted);
  // The table stops after the first correction line (station A).
  ASSERT_GE(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[r.lines.size() - 2], "  点  号     δβ″ δX(mm)  δY(mm)  δH(mm)  δS投影(mm)  δS平差(mm)");
  EXPECT_EQ(TrimRight(r.lines.back()), "  A            0");
  EXPECT_TRUE(r.sketch.ops.empty());
}

TEST(WidthRefusal, WholeThousandsStillFit) {
  // 1.5 m east of the end point: the correction -1500 is 5 characters.
  SimpleInput in;
  in.table = Table({Flat("A", "180", "101.5"), Flat("C", "180", "0")});
  in.start = Start({{1, "0"}, {2, "0"}, {4, "0"}, {6, "100"}, {7, "0"}, {9, "0"}, {11, "1.45"}});
  const SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok()) << r.refusal->text;
  EXPECT_TRUE(Has(r.lines, "  边长闭合差： fs= 1500mm"));
}

TEST(ResultsText, EveryLineEndsWithALineBreak) {
  SimpleResult r;
  r.lines = {"a", "", "b"};
  EXPECT_EQ(ResultsText(r), "a\n\nb\n");
  EXPECT_EQ(ResultsText(SimpleResult{}), "");
}

}  // namespace
}  // namespace korvane
