#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <fstream>
#include <sstream>
#include <string>

#include "core/angles.h"
#include "core/geometry.h"
#include "support/case_table.h"

using namespace korvane;
using korvane::testing::ForEachTableLine;

TEST(DmsToDegrees, SplitsOnTheDecimalDigits) {
  EXPECT_DOUBLE_EQ(DmsToDegrees(8.3), 8.5);
  EXPECT_DOUBLE_EQ(DmsToDegrees(-8.3), -8.5);
  EXPECT_DOUBLE_EQ(DmsToDegrees(0.03), 0.05);
  EXPECT_DOUBLE_EQ(DmsToDegrees(0.003), 30.0 / 3600.0);
  // 1.2 is 1°20'00", never 1°19'59.99" from a binary product.
  EXPECT_DOUBLE_EQ(DmsToDegrees(1.2), 1.0 + 20.0 / 60.0);
  // Minutes of 60 or more are taken at face value.
  EXPECT_DOUBLE_EQ(DmsToDegrees(10.7), 10.0 + 70.0 / 60.0);
  EXPECT_DOUBLE_EQ(DmsToDegrees(8.080236), 8.0 + 8.0 / 60.0 + 2.36 / 3600.0);
  EXPECT_DOUBLE_EQ(DmsToDegrees(45.3015), 45.0 + 30.0 / 60.0 + 15.0 / 3600.0);
  EXPECT_DOUBLE_EQ(DmsToDegrees(0), 0);
  EXPECT_DOUBLE_EQ(DmsToDegrees(359.595999), 359.0 + 59.0 / 60.0 + 59.99 / 3600.0 + 0.0000 );
}

TEST(DmsToDegrees, RadiansUseTheProgramsDegreeFactor) {
  EXPECT_DOUBLE_EQ(DmsToRadians(90.3), 90.5 * 0.017453292);
  EXPECT_DOUBLE_EQ(DmsToRadians(-1.2), -(1.0 + 1.0 / 3.0) * 0.017453292);
}

TEST(RightToLeftAngle, IgnoresTheSign) {
  EXPECT_DOUBLE_EQ(RightToLeftAngle(-90.3), 269.5);
  EXPECT_DOUBLE_EQ(RightToLeftAngle(90.3), 269.5);
}

TEST(DegreesToDms, CarriesAMinuteLostToNoise) {
  EXPECT_DOUBLE_EQ(DegreesToDms(30.5), 30.3);
  EXPECT_DOUBLE_EQ(DegreesToDms(-0.25), -0.15);
  EXPECT_DOUBLE_EQ(DegreesToDms(10.1), 10.06);
  EXPECT_DOUBLE_EQ(DegreesToDms(45.0 + 30.0 / 60.0 + 15.0 / 3600.0), 45.3015);
  EXPECT_DOUBLE_EQ(DegreesToDms(0), 0);
  // Round trips through the notation for every whole minute of a turn.
  for (int minute = 0; minute < 360 * 60; minute += 7) {
    const double dms = (minute / 60) + (minute % 60) / 100.0;
    EXPECT_NEAR(DegreesToDms(DmsToDegrees(dms)), dms, 1e-12) << dms;
  }
  // Genuine seconds just below a whole minute stay seconds.
  EXPECT_NEAR(DegreesToDms(10.0 + 5.0 / 60.0 + 59.99 / 3600.0), 10.055999, 1e-12);
}

TEST(RadiansToDms, DividesByTheDegreeFactor) {
  EXPECT_NEAR(RadiansToDms(30.5 * 0.017453292), 30.3, 1e-12);
  EXPECT_NEAR(RadiansToDms(-0.25 * 0.017453292), -0.15, 1e-12);
}

TEST(ReverseAzimuth, TurnsHalfAWay) {
  EXPECT_DOUBLE_EQ(ReverseAzimuth(0), 180);
  EXPECT_DOUBLE_EQ(ReverseAzimuth(180), 0);
  EXPECT_DOUBLE_EQ(ReverseAzimuth(359.9), 179.9);
  EXPECT_DOUBLE_EQ(ReverseAzimuth(90), 270);
}

TEST(AzimuthFromPoints, PointsFromTheSecondPointToTheFirst) {
  EXPECT_NEAR(AzimuthFromPoints(100, 100, 0, 0), 45, 1e-7);
  EXPECT_NEAR(AzimuthFromPoints(0, 0, 100, 100), 225, 1e-7);
  EXPECT_NEAR(AzimuthFromPoints(0, 100, 0, 0), 90, 1e-7);
  EXPECT_NEAR(AzimuthFromPoints(0, -100, 0, 0), 270, 1e-7);
  EXPECT_DOUBLE_EQ(AzimuthFromPoints(100, 0, 0, 0), 0);
  EXPECT_NEAR(AzimuthFromPoints(0, 0, 100, 0), 180, 1e-7);
  EXPECT_NEAR(AzimuthFromPoints(100, -100, 0, 0), 315, 1e-7);
  EXPECT_DOUBLE_EQ(AzimuthFromPoints(5, 5, 5, 5), 0);
  // The program's constants, not the exact ones: pi/2 is 1.570796327.
  EXPECT_DOUBLE_EQ(AzimuthFromPoints(0, 100, 0, 0), 1.570796327 * 57.29577951);
}

TEST(PolarPoint, RoundsToMillimetres) {
  EXPECT_DOUBLE_EQ(PolarX(0, 1000, 100), 1100.0);
  EXPECT_DOUBLE_EQ(PolarY(0, 1000, 100), 1000.0);
  EXPECT_DOUBLE_EQ(PolarY(90, 1000, 100), 1100.0);
  EXPECT_DOUBLE_EQ(PolarX(45.3, 0, 100), 70.091);  // 100 cos 45°30'
  EXPECT_DOUBLE_EQ(PolarY(45.3, 0, 100), 71.325);
}

TEST(PointDistance, IsPythagoras) {
  EXPECT_DOUBLE_EQ(PointDistance(0, 0, 3, 4), 5);
  EXPECT_DOUBLE_EQ(PointDistance(3, 4, 0, 0), 5);
}

namespace {

// strtod, since a stream refuses denormal numbers and nan.
double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

const std::map<std::string, DmsRounding> kRules = {
    {"decimal_digits", DmsRounding::DecimalDigits},
    {"half_even", DmsRounding::WholeUnitsHalfEven},
    {"half_away", DmsRounding::WholeUnitsHalfAway},
    {"seconds_half_even", DmsRounding::SecondsHalfEven},
};

const std::map<std::string, std::function<double(double)>> kConversions = {
    {"to_degrees", DmsToDegrees},       {"to_dms", DegreesToDms},
    {"to_radians", DmsToRadians},       {"from_radians", RadiansToDms},
    {"true_radians", DegreesToRadians}, {"true_degrees", RadiansToDegrees},
    {"network_rad", DmsToRad},          {"network_dms", RadToDms},
    {"wrap_turn", Wrap},                {"wrap_signed", WrapSigned},
    {"wrap_degrees", WrapDegrees},      {"wrap_longitude", WrapLongitude},
    {"wrap_once", WrapOnce},            {"wrap_once_below_zero", WrapOnceBelowZero},
    {"reverse", ReverseAzimuth},
};

// "~" stands for a blank, "(empty)" for no text.
std::string TypedText(std::string text) {
  if (text == "(empty)") return {};
  for (char& c : text)
    if (c == '~') c = ' ';
  return text;
}

}  // namespace

TEST(AngleUnit, CaseTable) {
  std::map<std::string, int> kinds;
  const int cases = ForEachTableLine(KORVANE_TEST_DATA "/dms_cases.txt",
                                     [&](const std::string& line, std::istringstream& fields) {
    std::string kind;
    fields >> kind;
    ++kinds[kind];
    if (kind == "valid") {
      std::string text, expected;
      fields >> text >> expected;
      ASSERT_TRUE(expected == "valid" || expected == "refused") << line;
      EXPECT_EQ(ValidDms(Number(text)), expected == "valid") << line;
    } else if (kind == "round") {
      std::string value, expected;
      int decimals = 0;
      fields >> value >> decimals >> expected;
      EXPECT_NEAR(RoundDmsForPrint(Number(value), decimals), Number(expected), 1e-12) << line;
    } else if (kind == "plain" || kind == "any") {
      std::string text, expected;
      fields >> text >> expected;
      const std::optional<double> dms =
          ParseDms(TypedText(text), kind == "plain" ? DmsSyntax::PlainDecimal : DmsSyntax::AnyNumber);
      if (expected == "refused") {
        EXPECT_FALSE(dms) << line;
      } else {
        ASSERT_TRUE(dms) << line;
        EXPECT_NEAR(*dms, Number(expected), 1e-12) << line;
      }
    } else if (kind == "symbol" || kind == "notation") {
      std::string rule, value, expected;
      int decimals = 0;
      fields >> rule >> value >> decimals >> expected;
      ASSERT_TRUE(kRules.count(rule)) << line;
      const DmsFields printed = RoundDms(Number(value), decimals, kRules.at(rule));
      EXPECT_EQ(kind == "symbol" ? DmsSymbolText(printed) : DmsNotationText(printed), expected) << line;
    } else {
      ASSERT_TRUE(kConversions.count(kind)) << line;
      std::string value, expected;
      fields >> value >> expected;
      EXPECT_NEAR(kConversions.at(kind)(Number(value)), Number(expected), 1e-12) << line;
    }
  });
  // Every case of the former validity, rounding and tiny-value tables is here.
  EXPECT_GE(kinds["valid"], 31);
  EXPECT_GE(kinds["round"], 16);
  EXPECT_GE(kinds["to_degrees"] + kinds["to_dms"], 8 + 7);
  EXPECT_GE(kinds["symbol"] + kinds["notation"], 20);
  EXPECT_GE(cases, 140);
}

TEST(AngleUnit, OneAzimuthWrapServesRadiansAndDegrees) {
  // The same rule on either turn: a value one turn on wraps to itself.
  for (double x = -1000; x < 1000; x += 7.3) {
    EXPECT_NEAR(WrapDegrees(x + 360), WrapDegrees(x), 1e-9) << x;
    EXPECT_NEAR(Wrap(DegreesToRadians(x)), DegreesToRadians(WrapDegrees(x)), 1e-12) << x;
    EXPECT_LT(WrapDegrees(x), 360.0);
    EXPECT_GE(WrapLongitude(x), -180.0);
    EXPECT_LT(WrapLongitude(x), 180.0);
  }
}
