// The geodetic problems against textbook figures and the exact geodesic.
#include "geodesy/geodetic.h"

#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "support/case_table.h"

namespace korvane::geodesy {
namespace {

using korvane::testing::DataRow;
using korvane::testing::ReadDataTable;

EllipsoidId EllipsoidIn(const DataRow& row) {
  const auto id = EllipsoidByName(row["ellipsoid"]);
  EXPECT_TRUE(id.has_value()) << "line " << row.line;
  return id.value_or(EllipsoidId::Krassovsky);
}

std::string Shown(const std::optional<Message>& refusal) {
  return refusal ? refusal->title + ": " + refusal->text : std::string();
}

// Difference of two azimuths in arc seconds, across north.
double AzimuthGapSeconds(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360.0 - d) * 3600.0;
}

TEST(GeodeticDirect, PrintsTheTableOfCases) {
  for (const DataRow& row : ReadDataTable("geodetic_direct_text.csv")) {
    SCOPED_TRACE(row["group"] + ", line " + std::to_string(row.line));
    const DirectResult r = SolveDirect({row["B1"], row["A12"], row["L1"], row["S12"], EllipsoidIn(row)});
    if (row["B2"].find(':') != std::string::npos) {
      EXPECT_EQ(Shown(r.refusal), row["B2"]);
      continue;
    }
    ASSERT_FALSE(r.refusal) << Shown(r.refusal);
    EXPECT_EQ(r.b2, row["B2"]);
    EXPECT_EQ(r.l2, row["L2"]);
    if (row["A21"] != "*") {
      EXPECT_EQ(r.a21, row["A21"]);
    }
  }
}

TEST(GeodeticDirect, RefusalsComputeNothingAndInform) {
  const DirectResult r = SolveDirect({"90", "0", "0", "10", EllipsoidId::Krassovsky});
  ASSERT_TRUE(r.refusal);
  EXPECT_EQ(r.refusal->icon, MessageIcon::Information);
  EXPECT_TRUE(r.b2.empty() && r.l2.empty() && r.a21.empty());
}

TEST(GeodeticDirect, WritesDegreesAsDmsText) {
  for (const DataRow& row : ReadDataTable("geodetic_dms_text.csv")) {
    const double degrees = row.number("degrees");
    const std::string text = row["kind"] == "azimuth" ? AzimuthDmsText(degrees) : DmsText(degrees);
    EXPECT_EQ(text, row["text"]) << "line " << row.line;
  }
}

// With S = 0 every latitude of whole minutes and of seconds with up to four
// decimals comes back as typed: 60" and 60' are carried.
TEST(GeodeticDirect, ZeroLengthReturnsEveryTypedLatitude) {
  int failures = 0;
  for (int d = 0; d < 90; d += 1)
    for (int m = 0; m < 60; ++m)
      for (const char* sec : {"", "00", "0001", "305", "5959", "599999"}) {
        char typed[32];
        std::snprintf(typed, sizeof typed, "%d.%02d%s", d, m, sec);
        const std::string expected = NumberText(ParseLenient(typed));
        const DirectResult r = SolveDirect({typed, "37.1", typed, "0", EllipsoidId::Krassovsky});
        if (r.b2 != expected || r.l2 != expected) {
          if (++failures < 5) ADD_FAILURE() << typed << " gives " << r.b2 << " and " << r.l2;
        }
        if (r.a21 != "217.1" && ++failures < 5) ADD_FAILURE() << typed << " back azimuth " << r.a21;
      }
  EXPECT_EQ(failures, 0);
}

// The series on lines from 1 m to 300 km against GeodSolve's exact points.
TEST(GeodeticDirect, SeriesMeetsItsToleranceOnEveryLine) {
  for (const DataRow& row : ReadDataTable("geodetic_lines.csv")) {
    SCOPED_TRACE("line " + std::to_string(row.line));
    const Ellipsoid e = EllipsoidOf(EllipsoidIn(row));
    const double b1 = row.number("B1"), l1 = row.number("L1"), a12 = row.number("A12");
    const double s = row.number("S12");
    const Point2 exact{row.number("B2"), row.number("L2"), std::fmod(row.number("azi2") + 540.0, 360.0)};
    const Point2 mine = ExactDirect(e, b1, l1, a12, s);
    EXPECT_NEAR(mine.b2, exact.b2, 1e-11);
    EXPECT_NEAR(mine.l2, exact.l2, 1e-11);
    EXPECT_LT(AzimuthGapSeconds(mine.a21, exact.a21), 1e-6);
    const Point2 series = SeriesDirect(e, b1, l1, a12, s);
    double gap = 0;
    GeographicLib::Geodesic(e.a, (e.a - e.b) / e.a).Inverse(series.b2, series.l2, exact.b2, exact.l2, gap);
    const double gapMm = gap * 1000.0;
    EXPECT_LE(gapMm, row.number("tol_mm"));
    EXPECT_NEAR(gapMm, row.number("diff_mm"), 0.05 * row.number("diff_mm") + 1e-4);
  }
}

// What the window prints beside the series is the exact point and their gap.
TEST(GeodeticDirect, ShowsTheExactSolutionAndTheGap) {
  const DirectResult r = SolveDirect({"70", "45", "105", "300000", EllipsoidId::Krassovsky});
  ASSERT_FALSE(r.refusal);
  const Ellipsoid e = EllipsoidOf(EllipsoidId::Krassovsky);
  const Point2 exact = ExactDirect(e, 70, 105, 45, 300000);
  EXPECT_EQ(r.exactB2, DmsText(exact.b2));
  EXPECT_EQ(r.exactL2, DmsText(exact.l2));
  EXPECT_EQ(r.exactA21, AzimuthDmsText(exact.a21));
  ASSERT_TRUE(r.differenceMm);
  EXPECT_NEAR(*r.differenceMm, 2020.0, 20.0);
  EXPECT_NE(r.b2, r.exactB2);
}

TEST(GeodeticDirect, LongitudeErrorFallsWithTheSixthPower) {
  for (const DataRow& row : ReadDataTable("geodetic_convergence.csv")) {
    const Ellipsoid e = EllipsoidOf(EllipsoidIn(row));
    const double b1 = row.number("B1"), a12 = row.number("A12");
    double previous = 0;
    for (double s : {50000.0, 100000.0, 200000.0}) {
      const double error = std::fabs(SeriesDirect(e, b1, 0, a12, s).l2 - ExactDirect(e, b1, 0, a12, s).l2);
      if (previous > 0) {
        EXPECT_GE(error / previous, row.number("min_factor")) << "line " << row.line << " at " << s << " m";
      }
      previous = error;
    }
  }
}

TEST(GeodeticDirect, EllipsoidsCarryTheirConstants) {
  const Ellipsoid k = EllipsoidOf(EllipsoidId::Krassovsky);
  EXPECT_EQ(k.c, 6399698.90178271);
  EXPECT_EQ(k.ePrime2, 0.0067385254147);
  EXPECT_NEAR(k.a, 6378245.0, 1e-4);
  EXPECT_NEAR(k.a / (k.a - k.b), 298.3, 1e-6);
  const Ellipsoid i = EllipsoidOf(EllipsoidId::Iag75);
  EXPECT_NEAR(i.a, 6378140.0, 1e-4);
  EXPECT_NEAR(i.a / (i.a - i.b), 298.257, 1e-6);
  for (auto [id, inverseFlattening] : {std::pair{EllipsoidId::Cgcs2000, 298.257222101},
                                       std::pair{EllipsoidId::Wgs84, 298.257223563}}) {
    const Ellipsoid e = EllipsoidOf(id);
    EXPECT_EQ(e.a, 6378137.0);
    EXPECT_NEAR(e.a / (e.a - e.b), inverseFlattening, 1e-7);
    EXPECT_NEAR(e.c, e.a * e.a / e.b, 1e-6);
    EXPECT_NEAR(e.ePrime2, (e.a * e.a - e.b * e.b) / (e.b * e.b), 1e-15);
  }
}

TEST(GeodeticInverse, MatchesTheTableOfLines) {
  for (const DataRow& row : ReadDataTable("geodetic_inverse.csv")) {
    SCOPED_TRACE(row["group"] + ", line " + std::to_string(row.line));
    const InverseResult r = SolveInverse({row["B1"], row["L1"], row["B2"], row["L2"], EllipsoidIn(row)});
    if (row["S12"].find(':') != std::string::npos) {
      EXPECT_EQ(Shown(r.refusal), row["S12"]);
      continue;
    }
    ASSERT_FALSE(r.refusal);
    EXPECT_NEAR(r.s12, row.number("S12"), row.number("tol_m"));
    EXPECT_EQ(r.s12Text, FormatFixed(r.s12, "#0.000"));
    const double tol = row.number("tol_s");
    if (row["A12"] != "*") {
      EXPECT_LT(AzimuthGapSeconds(r.a12, row.number("A12")), tol);
    }
    if (row["A21"] != "*") {
      EXPECT_LT(AzimuthGapSeconds(r.a21, row.number("A21")), tol);
    }
    // The printed azimuths read back within their last digit.
    EXPECT_LT(AzimuthGapSeconds(DmsToDegrees(ParseLenient(r.a12Text)), r.a12), 0.00005 + 1e-9);
    EXPECT_LT(AzimuthGapSeconds(DmsToDegrees(ParseLenient(r.a21Text)), r.a21), 0.00005 + 1e-9);
  }
}

}  // namespace
}  // namespace korvane::geodesy

namespace korvane {
namespace {

// "a+b" in the value column is the sum of the two, as a computation leaves it.
double ValueOf(const std::string& text) {
  const auto plus = text.find('+', 1);
  if (plus != std::string::npos && text[plus - 1] != 'E')
    return std::stod(text.substr(0, plus)) + std::stod(text.substr(plus + 1));
  return std::stod(text);
}

TEST(GeneralNumberText, WritesTheTableOfValues) {
  for (const korvane::testing::DataRow& row : korvane::testing::ReadDataTable("number_text.csv"))
    EXPECT_EQ(NumberText(ValueOf(row["value"])), row["text"]) << "line " << row.line;
}

}  // namespace
}  // namespace korvane
