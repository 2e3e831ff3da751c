// Forward intersection, resection and centring corrections, driven by the
// case tables intersection.txt, resection.txt, centring.txt and
// centring_geometry.txt: hand-worked rows, and round trips that observe a
// known point from its coordinates and solve it back.
#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"
#include "support/case_table.h"
#include "cogo/centring.h"
#include "cogo/intersection.h"
#include "cogo/plane_survey.h"
#include "cogo/resection.h"

namespace korvane {
namespace {

using cogo::PlanePoint;
using testing::DataRow;
using testing::ReadDataTable;

PlanePoint Point(const DataRow& row, const char* x, const char* y) { return {row.number(x), row.number(y)}; }

// A clockwise angle from one azimuth to another in DMS notation.
double TurnDms(double fromRadians, double toRadians) {
  return DegreesToDms(RadiansToDegrees(Wrap(toRadians - fromRadians)));
}

// The message column: none, "warn:TEXT" or "refuse:TEXT". Returns true when
// a point is to be checked.
template <typename Result>
bool MessagesAsExpected(const Result& r, const std::string& expected) {
  const auto contains = [](const std::optional<Message>& m, const std::string& text) {
    return m && m->text.find(text) != std::string::npos;
  };
  if (expected.rfind("refuse:", 0) == 0) {
    EXPECT_TRUE(contains(r.refusal, expected.substr(7))) << (r.refusal ? r.refusal->text : "no refusal");
    return false;
  }
  EXPECT_FALSE(r.refusal) << r.refusal->text;
  if (expected.rfind("warn:", 0) == 0)
    EXPECT_TRUE(contains(r.warning, expected.substr(5))) << (r.warning ? r.warning->text : "no warning");
  else
    EXPECT_FALSE(r.warning) << r.warning->text;
  return !r.refusal;
}

template <typename Result>
void ExpectPoint(const Result& r, const DataRow& row) {
  const double tol = row.number("tol");
  EXPECT_NEAR(r.p.x, row.number("X"), tol);
  EXPECT_NEAR(r.p.y, row.number("Y"), tol);
  // The printed figures are the millimetres of the point.
  EXPECT_EQ(r.x, cogo::MetreText(r.p.x));
  EXPECT_EQ(r.y, cogo::MetreText(r.p.y));
}

cogo::intersection::Result SolveIntersectionRow(const DataRow& row) {
  const std::string kind = row["kind"];
  const bool right = kind.ends_with("-right");
  if (kind.rfind("round-", 0) != 0) {
    const std::vector<std::string> texts{row["XA"], row["YA"], row["XB"], row["YB"], row["obs1"], row["obs2"]};
    return kind == "angles" ? cogo::intersection::ByAngles(texts) : cogo::intersection::ByDistances(texts, right);
  }
  const PlanePoint a = Point(row, "XA", "YA"), b = Point(row, "XB", "YB");
  const PlanePoint p = Point(row, "X", "Y");
  if (kind == "round-angles")
    return cogo::intersection::ByAngles({a, b, TurnDms(cogo::Azimuth(a, p), cogo::Azimuth(a, b)),
                                   TurnDms(cogo::Azimuth(b, a), cogo::Azimuth(b, p))});
  return cogo::intersection::ByDistances({a, b, cogo::Distance(a, p), cogo::Distance(b, p), right});
}

TEST(ForwardIntersection, SolvesTheTableOfCases) {
  for (const DataRow& row : ReadDataTable("intersection.txt")) {
    SCOPED_TRACE(row["case"] + ", line " + std::to_string(row.line));
    const cogo::intersection::Result r = SolveIntersectionRow(row);
    if (MessagesAsExpected(r, row["message"])) ExpectPoint(r, row);
  }
}

cogo::resection::Result SolveResectionRow(const DataRow& row) {
  if (row["kind"] == "fixed")
    return cogo::resection::Resect(std::vector<std::string>{row["XA"], row["YA"], row["XB"], row["YB"], row["XC"],
                                                      row["YC"], row["alpha"], row["beta"]});
  const PlanePoint a = Point(row, "XA", "YA"), b = Point(row, "XB", "YB"), c = Point(row, "XC", "YC");
  const PlanePoint p = Point(row, "X", "Y");
  const double toA = cogo::Azimuth(p, a), toB = cogo::Azimuth(p, b), toC = cogo::Azimuth(p, c);
  return cogo::resection::Resect({a, b, c, TurnDms(toB, toC), TurnDms(toC, toA)});
}

TEST(Resection, SolvesTheTableOfCases) {
  for (const DataRow& row : ReadDataTable("resection.txt")) {
    SCOPED_TRACE(row["case"] + ", line " + std::to_string(row.line));
    const cogo::resection::Result r = SolveResectionRow(row);
    if (MessagesAsExpected(r, row["message"])) ExpectPoint(r, row);
  }
}

TEST(Centring, PrintsTheTableOfCorrections) {
  for (const DataRow& row : ReadDataTable("centring.txt")) {
    SCOPED_TRACE(row["case"] + ", line " + std::to_string(row.line));
    const cogo::centring::Result r =
        cogo::centring::Correct({row["S"], row["e"], row["theta"], row["e1"], row["theta1"], row["observed"]});
    if (row["c"].rfind("refuse:", 0) == 0) {
      ASSERT_TRUE(r.refusal);
      EXPECT_NE(r.refusal->text.find(row["c"].substr(7)), std::string::npos) << r.refusal->text;
      continue;
    }
    ASSERT_FALSE(r.refusal) << r.refusal->text;
    EXPECT_EQ(r.stationText, row["c"]);
    EXPECT_EQ(r.targetText, row["r"]);
    EXPECT_EQ(r.totalText, row["total"]);
    EXPECT_EQ(r.correctedDms, row["corrected"]);
  }
}

TEST(Centring, CorrectedDirectionIsTheDirectionBetweenTheCentres) {
  int large = 0;
  for (const DataRow& row : ReadDataTable("centring_geometry.txt")) {
    SCOPED_TRACE(row["case"] + ", line " + std::to_string(row.line));
    const PlanePoint b = Point(row, "XB", "YB"), y = Point(row, "XY", "YY");
    const PlanePoint b1 = Point(row, "XB1", "YB1"), t1 = Point(row, "XT1", "YT1");
    const double sight = cogo::Azimuth(y, t1);
    cogo::centring::Input in;
    in.s = cogo::Distance(b, b1);
    in.e = cogo::Distance(y, b);
    in.thetaDms = in.e > 0 ? TurnDms(cogo::Azimuth(y, b), sight) : 0;
    in.e1 = cogo::Distance(t1, b1);
    in.theta1Dms = in.e1 > 0 ? TurnDms(cogo::Azimuth(t1, b1), cogo::Azimuth(t1, y)) : 0;
    in.observedDms = DegreesToDms(RadiansToDegrees(sight));
    const cogo::centring::Result r = cogo::centring::Correct(in);
    ASSERT_FALSE(r.refusal) << r.refusal->text;
    const double gap = WrapSigned(*r.correctedDegrees * std::numbers::pi / 180 - cogo::Azimuth(b, b1));
    EXPECT_LE(std::fabs(gap) * kRhoSeconds, row.number("tol"));
    if (std::fabs(r.total) > 10.0) ++large;
  }
  // Most cases move the direction by far more than the tolerance.
  EXPECT_GE(large, 4);
}

}  // namespace
}  // namespace korvane
