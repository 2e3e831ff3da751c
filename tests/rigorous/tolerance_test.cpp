// Row selection by standard and grade, the derived limits and the marks.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "standards/tolerance.h"
#include "traverse/weighted_limits.h"

using namespace korvane::standards;
using namespace korvane::traverse;

namespace korvane {
namespace {

// A result with just the figures the check reads.
RigorousResult Figures(int n, double total) {
  RigorousResult r;
  r.n = n;
  r.totalLength = total;
  r.totalLengthRaw = total;
  const int sides = n - 1;
  r.reducedLength.assign(sides, total / sides);
  r.hForward.assign(sides, 0.0);
  r.hBack.assign(sides, 0.0);
  r.oneWay.assign(sides, false);
  return r;
}

TEST(ToleranceSelection, CodesFollowTheSelectorsExactly) {
  // Untouched selectors: the grade text carries a leading blank.
  EXPECT_EQ(ToleranceCode(kInitialStandard, kInitialGrade), "ybc3");
  const char* grades[] = {"三等", "四等", "一级", "二级", "三级", "图根"};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(ToleranceCode("城市测量规范", grades[k]), "ybc" + std::to_string(k + 1));
    EXPECT_EQ(ToleranceCode("工程测量规范", grades[k]), "ybg" + std::to_string(k + 1));
  }
  EXPECT_EQ(ToleranceCode("水工测量规范", "三等"), "ybs1");
  EXPECT_EQ(ToleranceCode("水工测量规范", "四等"), "ybs2");
  EXPECT_EQ(ToleranceCode("水工测量规范", "五等"), "ybs3");
  // Combinations outside the table fall back to ybc3.
  EXPECT_EQ(ToleranceCode("水工测量规范", "一级"), "ybc3");
  EXPECT_EQ(ToleranceCode("城市测量规范", "五等"), "ybc3");
  EXPECT_EQ(ToleranceCode("工程测量规范", " 一级"), "ybc3");
  EXPECT_EQ(ToleranceCode("", "三等"), "ybc3");
  EXPECT_EQ(SelectToleranceRow(" ybs2 ").code, "ybs2");
  EXPECT_EQ(SelectToleranceRow("nonsense").code, "ybc3");
}

TEST(ToleranceSelection, GradeListIsRefilledWhenAStandardIsPicked) {
  const GradeChoice water = GradesForStandard("水工测量规范");
  EXPECT_EQ(water.text, "五等");
  EXPECT_EQ(water.items, (std::vector<std::string>{"三等", "四等", "五等"}));
  for (const char* standard : {"工程测量规范", "城市测量规范"}) {
    const GradeChoice c = GradesForStandard(standard);
    EXPECT_EQ(c.text, "一级");
    EXPECT_EQ(c.items, (std::vector<std::string>{"三等", "四等", "一级", "二级", "三级", "图根"}));
  }
  EXPECT_EQ(Standards(), (std::vector<std::string>{"城市测量规范", "工程测量规范", "水工测量规范"}));
}

TEST(ToleranceRows, FifteenRowsWithTheirTexts) {
  const auto& rows = ToleranceRows();
  ASSERT_EQ(rows.size(), 15u);
  std::set<std::string> codes;
  for (const auto& r : rows) codes.insert(r.code);
  EXPECT_EQ(codes.size(), 15u);
  const ToleranceRow& c2 = SelectToleranceRow("ybc2");
  EXPECT_EQ(c2.title, "导线限差表：标定等级《城市测量规范》（CJJ 8－99；1999-02-10发布）四等导线");
  EXPECT_EQ(SelectToleranceRow("ybg1").title, "导线限差表：标定等级《工程测量规范》（GB50026─93）三等导线");
  EXPECT_EQ(SelectToleranceRow("ybs3").title, "导线限差表：标定等级《水利水电工程施工测量规范》（SL52─93）五等导线");
  EXPECT_EQ(SelectToleranceRow("ybs1").kText, "1/55000～1/70000");
  // Printed length texts: from the numbers by default, fixed texts for five rows.
  const ToleranceRow& c3 = SelectToleranceRow("ybc3");
  EXPECT_EQ(c3.printedLength(), "≤ 3600m");
  EXPECT_EQ(c3.printedMeanSide(), " 300m左右");
  EXPECT_EQ(c3.knownGrade, "四等");
  EXPECT_EQ(c3.newGrade, "一级");
  EXPECT_EQ(SelectToleranceRow("ybc6").printedLength(), "=900～3000 m左右");
  EXPECT_EQ(SelectToleranceRow("ybg6").printedLength(), "≤测图比例尺分母m");
  EXPECT_EQ(SelectToleranceRow("ybg6").printedMeanSide(), "1.5倍测图最大视距m");
  EXPECT_EQ(SelectToleranceRow("ybs2").printedMeanSide(), "300～700 m左右");
  // The relative-closure divisors.
  const double dens[] = {60, 40, 14, 10, 6, 4, 55, 35, 15, 10, 5, 2, 70, 50, 25};
  for (int k = 0; k < 15; ++k) EXPECT_EQ(rows[k].kden / 1000, dens[k]) << rows[k].code;
}

TEST(ToleranceLimits, DerivedFromTheTraverse) {
  RigorousResult r = Figures(5, 1234.567);
  r.reducedLength = {250, 360, 400.5, 224.067};
  const ToleranceLimits c3 = DeriveLimits(SelectToleranceRow("ybc3"), r);
  EXPECT_DOUBLE_EQ(c3.fBeta, 22.4);                         // 10 sqrt(5) = 22.36
  EXPECT_DOUBLE_EQ(c3.fs, 88.2);                            // 1234.567 / 14 = 88.18
  EXPECT_DOUBLE_EQ(c3.fdx, 62.4);                           // 88.18 / 1.414 = 62.36
  EXPECT_DOUBLE_EQ(c3.fh, 33.3);                            // 30 sqrt(1.234567) = 33.33
  EXPECT_EQ(c3.side, (std::vector<int>{30, 36, 37, 28}));   // 60 sqrt(S/1000)
  // ybg6: height misclosure 0.4 mm per metre, one discrepancy limit 100 sqrt(n).
  const ToleranceLimits g6 = DeriveLimits(SelectToleranceRow("ybg6"), r);
  EXPECT_DOUBLE_EQ(g6.fBeta, 134.2);                        // 60 sqrt(5)
  EXPECT_DOUBLE_EQ(g6.fs, 617.3);                           // 1234.567 / 2 = 617.28
  EXPECT_DOUBLE_EQ(g6.fdx, 436.6);                          // 617.2835 / 1.414 = 436.55
  EXPECT_DOUBLE_EQ(g6.fh, 493.8);                           // 400 * 1.234567
  EXPECT_EQ(g6.side, (std::vector<int>{223, 223, 223, 223}));
  // Linear discrepancy rules.
  EXPECT_EQ(DeriveLimits(SelectToleranceRow("ybc6"), r).side, (std::vector<int>{100, 144, 160, 89}));
  EXPECT_EQ(DeriveLimits(SelectToleranceRow("ybs1"), r).side, (std::vector<int>{12, 18, 20, 11}));
  EXPECT_EQ(DeriveLimits(SelectToleranceRow("ybs2"), r).side, (std::vector<int>{17, 25, 28, 15}));
}

TEST(ToleranceCheck, MarksOnlyValuesOverTheirLimits) {
  RigorousResult r = Figures(3, 1000);
  r.fs = 0.05;  // 1/20000
  r.fsMm = 50;
  r.fxMm = 30;
  r.fyMm = -40;
  r.fBetaSeconds = -17.4;
  r.fhMm = 30.1;
  r.mBeta = 5.1;
  r.ms = 15;
  r.hForward = {1.2, -0.3};
  r.hBack = {-1.153, 0.348};  // discrepancies 0.047 and 0.048
  const ToleranceRow& row = SelectToleranceRow("ybc3");
  const ToleranceLimits lim = DeriveLimits(row, r);  // fBeta 17.3, fs 71.4, fdx 50.5, fh 30.0, sides 42
  ToleranceMarks m = CheckTolerance(row, lim, r, true);
  EXPECT_FALSE(m.relativeClosure);
  EXPECT_FALSE(m.fs);
  EXPECT_FALSE(m.m);
  EXPECT_FALSE(m.fx);
  EXPECT_FALSE(m.fy);
  EXPECT_FALSE(m.totalLength);
  EXPECT_TRUE(m.fBeta);
  EXPECT_TRUE(m.fh && m.mh && m.deltaKm);
  EXPECT_TRUE(m.mBeta);
  EXPECT_FALSE(m.ms);  // equal is not over
  EXPECT_EQ(m.discrepancy, (std::vector<bool>{true, true}));
  EXPECT_EQ(SideLimitText(m, lim, 0), " .042");
  EXPECT_EQ(SideLimitText(m, lim, 1), " .042");

  // Relative closure over its limit marks K, fs and m together.
  r.fs = 0.08;
  m = CheckTolerance(row, lim, r, true);
  EXPECT_TRUE(m.relativeClosure && m.fs && m.m);
  // A value printed equal to its printed limit is not marked.
  r.fBetaSeconds = 17.3;
  r.fxMm = -50.5;
  EXPECT_FALSE(CheckTolerance(row, lim, r, true).fBeta);
  EXPECT_FALSE(CheckTolerance(row, lim, r, true).fx);
  r.totalLength = 3600.001;
  EXPECT_TRUE(CheckTolerance(row, lim, r, true).totalLength);

  // Unchecked: nothing is marked and every side reads "未限定".
  m = CheckTolerance(row, lim, r, false);
  EXPECT_FALSE(m.relativeClosure || m.fs || m.m || m.fx || m.fy || m.totalLength || m.fBeta || m.fh || m.mBeta ||
               m.ms);
  EXPECT_EQ(m.discrepancy, (std::vector<bool>{false, false}));
  EXPECT_EQ(SideLimitText(m, lim, 0), "未限定");
  EXPECT_EQ(SideLimitText(m, lim, 1), "未限定");
}

TEST(ToleranceCheck, WaterResourcesRowsTestTheStricterDenominator) {
  RigorousResult r = Figures(4, 3000);
  r.fs = 3000.0 / 60000;  // 1/60000: inside 1/55000 but not 1/70000
  r.fsMm = 50;
  const ToleranceRow& row = SelectToleranceRow("ybs1");
  EXPECT_TRUE(CheckTolerance(row, DeriveLimits(row, r), r, true).relativeClosure);
  r.fs = 3000.0 / 70001;
  EXPECT_FALSE(CheckTolerance(row, DeriveLimits(row, r), r, true).relativeClosure);
  // A traverse without linear misclosure is never over its relative closure.
  r.fs = 0;
  EXPECT_FALSE(CheckTolerance(row, DeriveLimits(row, r), r, true).relativeClosure);
}

TEST(ToleranceCheck, NoStrictRuleAndOneWaySidesAreNeverMarked) {
  RigorousResult r = Figures(3, 500);
  r.ms = 99;
  r.mBeta = 99;
  const ToleranceRow& c6 = SelectToleranceRow("ybc6");
  ToleranceMarks m = CheckTolerance(c6, DeriveLimits(c6, r), r, true);
  EXPECT_FALSE(m.ms);
  EXPECT_FALSE(m.mBeta);
  const ToleranceRow& g6 = SelectToleranceRow("ybg6");
  m = CheckTolerance(g6, DeriveLimits(g6, r), r, true);
  EXPECT_FALSE(m.ms);
  EXPECT_TRUE(m.mBeta);  // 99 > 30

  // One-way sides, uphill and downhill, with discrepancies far over the limit.
  r.oneWay = {true, true};
  r.hForward = {2.5, -2.5};
  r.hBack = {0.0, 5.0};  // discrepancies of 2.5 m
  m = CheckTolerance(c6, DeriveLimits(c6, r), r, true);
  EXPECT_EQ(m.discrepancy, (std::vector<bool>{false, false}));
  r.oneWay = {false, false};
  m = CheckTolerance(c6, DeriveLimits(c6, r), r, true);
  EXPECT_EQ(m.discrepancy, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace korvane
