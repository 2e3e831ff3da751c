#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(ValidDms, RefusesMinutesOrSecondsOfSixty) {
  const int cases = ForEachTableLine(KORVANE_TEST_DATA "/dms_validity.txt",
                                     [](const std::string& line, std::istringstream& fields) {
    std::string text, expected;
    fields >> text >> expected;
    ASSERT_TRUE(expected == "valid" || expected == "refused") << line;
    // strtod, since a stream refuses denormal numbers and nan.
    EXPECT_EQ(ValidDms(std::strtod(text.c_str(), nullptr)), expected == "valid") << line;
  });
  EXPECT_GE(cases, 30);
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

TEST(RoundDmsForPrint, CarriesSixtySecondsAndSixtyMinutes) {
  const int cases = ForEachTableLine(KORVANE_TEST_DATA "/dms_print_rounding.txt",
                                     [](const std::string& line, std::istringstream& fields,
                                        const korvane::testing::Tolerance& tolerance) {
    double value = 0, expected = 0;
    int secondDecimals = 0;
    fields >> value >> secondDecimals >> expected;
    EXPECT_NEAR(RoundDmsForPrint(value, secondDecimals), expected, tolerance.in("")) << line;
  });
  EXPECT_GE(cases, 16);
}

TEST(DmsToDegrees, TinyValuesConvertToZero) {
  const int cases = ForEachTableLine(KORVANE_TEST_DATA "/dms_tiny_values.txt",
                                     [](const std::string& line, std::istringstream& fields,
                                        const korvane::testing::Tolerance& tolerance) {
    std::string direction, value, expected;
    fields >> direction >> value >> expected;
    // strtod, since a stream refuses denormal numbers.
    const double x = std::strtod(value.c_str(), nullptr);
    const double result = direction == "to_dms" ? DegreesToDms(x) : DmsToDegrees(x);
    EXPECT_NEAR(result, std::strtod(expected.c_str(), nullptr), tolerance.in("")) << line;
  });
  EXPECT_GE(cases, 8);
}
