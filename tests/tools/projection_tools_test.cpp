// Gauss–Krüger projection against the exact transverse Mercator of an
// independent tool, the distance reduction and the one-way trigonometric
// height against figures worked by hand: all from tables under tests/data.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/angles.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "support/case_table.h"
#include "geodesy/distance_reduction.h"
#include "geodesy/gauss_point_list.h"
#include "cogo/one_way_height.h"
#include "core/typed_values.h"

using namespace korvane::io;

namespace korvane {
namespace {

using testing::DataRow;
using testing::ReadDataTable;

constexpr double kMetreTolerance = 0.0001;         // 0.1 mm
constexpr double kSecondTolerance = 0.0001 / 3600;  // 0.0001" in degrees

std::string Shown(const std::optional<Message>& m) { return m ? m->title + ": " + m->text : std::string(); }

geodesy::Settings SettingsOf(const DataRow& row, geodesy::Problem problem, bool prefix) {
  geodesy::Settings s;
  s.problem = problem;
  s.datum = geodesy::DatumByName(row["ellipsoid"]).value();
  s.zone = {std::stoi(row["width"]), false, row["zone"], "", prefix};
  if (!row["zone2"].empty()) s.target = {std::stoi(row["width2"]), false, row["zone2"], "", prefix};
  return s;
}

// Y of a row with the zone number in front.
std::string PrefixedY(const std::string& y, const std::string& zone) {
  return FixedDecimals(std::stod(y) + std::stoi(zone) * geodesy::kZonePrefixFactor, 6);
}

// Forward with and without the prefix, and back: the typed angles return to
// the printed digit.
TEST(GaussKruger, ForwardAndInverseAgreeWithTheReferenceTool) {
  for (const DataRow& row : ReadDataTable("gauss_kruger.txt")) {
    if (row["kind"] != "forward") continue;
    SCOPED_TRACE("gauss_kruger.txt line " + std::to_string(row.line));
    for (const bool prefix : {false, true}) {
      const std::string y = prefix ? PrefixedY(row["Y"], row["zone"]) : row["Y"];
      const geodesy::Solution f = geodesy::Solve(SettingsOf(row, geodesy::Problem::Forward, prefix), row["B"], row["L"]);
      ASSERT_FALSE(f.refusal) << Shown(f.refusal);
      EXPECT_NEAR(f.result.first, row.number("X"), kMetreTolerance);
      EXPECT_NEAR(f.result.second, std::stod(y), kMetreTolerance);
      const geodesy::Solution i = geodesy::Solve(SettingsOf(row, geodesy::Problem::Inverse, prefix), row["X"], y);
      ASSERT_FALSE(i.refusal) << Shown(i.refusal);
      EXPECT_NEAR(i.result.first, DmsToDegrees(std::stod(row["B"])), kSecondTolerance);
      EXPECT_NEAR(i.result.second, DmsToDegrees(std::stod(row["L"])), kSecondTolerance);
      EXPECT_EQ(i.first, row["B"]);
      EXPECT_EQ(i.second, row["L"]);
    }
  }
}

TEST(GaussKruger, ZoneChangeIsInverseThenForward) {
  for (const DataRow& row : ReadDataTable("gauss_kruger.txt")) {
    if (row["kind"] != "zone") continue;
    SCOPED_TRACE("gauss_kruger.txt line " + std::to_string(row.line));
    const geodesy::Solution z = geodesy::Solve(SettingsOf(row, geodesy::Problem::ZoneChange, false), row["X"], row["Y"]);
    ASSERT_FALSE(z.refusal) << Shown(z.refusal);
    EXPECT_NEAR(z.result.first, row.number("X2"), kMetreTolerance);
    EXPECT_NEAR(z.result.second, row.number("Y2"), kMetreTolerance);
    // The same change with both prefixes on, and back again.
    const geodesy::Solution p = geodesy::Solve(SettingsOf(row, geodesy::Problem::ZoneChange, true), row["X"],
                                           PrefixedY(row["Y"], row["zone"]));
    ASSERT_FALSE(p.refusal) << Shown(p.refusal);
    EXPECT_NEAR(p.result.second, std::stod(PrefixedY(row["Y2"], row["zone2"])), kMetreTolerance);
    geodesy::Settings back = SettingsOf(row, geodesy::Problem::ZoneChange, false);
    std::swap(back.zone, back.target);
    const geodesy::Solution b = geodesy::Solve(back, row["X2"], row["Y2"]);
    EXPECT_NEAR(b.result.first, row.number("X"), kMetreTolerance);
    EXPECT_NEAR(b.result.second, row.number("Y"), kMetreTolerance);
  }
}

// A point list with Chinese names, comments and a height column goes
// forward and back to the same figures, through files written in GBK.
TEST(GaussKruger, PointListFileRoundTrip) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvane_gauss_list_test";
  std::filesystem::create_directories(dir);
  geodesy::Settings settings;
  settings.zone = {3, false, "39", "", true};
  const std::string source = std::string(KORVANE_TEST_DATA) + "/gauss_points/geographic.txt";
  const geodesy::ListResult forward = geodesy::ConvertPointListFile(source, (dir / "plane.txt").string(), settings);
  ASSERT_FALSE(forward.refusal) << Shown(forward.refusal);
  settings.problem = geodesy::Problem::Inverse;
  const geodesy::ListResult back =
      geodesy::ConvertPointListFile((dir / "plane.txt").string(), (dir / "back.txt").string(), settings);
  ASSERT_FALSE(back.refusal) << Shown(back.refusal);
  // Names and further fields come back as they were; B and L within 0.0001"
  // (the plane coordinates were rounded to the millimetre on the way).
  const std::vector<std::string> expected =
      SplitLines(io::ReadTextFile(std::string(KORVANE_TEST_DATA) + "/gauss_points/geographic_back.txt").text);
  const std::vector<std::string> written = SplitLines(io::ReadTextFile((dir / "back.txt").string()).text);
  ASSERT_EQ(written.size(), expected.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    const std::vector<std::string> got = Split(written[i], ','), want = Split(expected[i], ',');
    ASSERT_EQ(got.size(), want.size()) << written[i];
    for (std::size_t k = 0; k < got.size(); ++k) {
      if (k == 1 || k == 2)
        EXPECT_NEAR(DmsToDegrees(std::stod(got[k])), DmsToDegrees(std::stod(want[k])), kSecondTolerance) << written[i];
      else
        EXPECT_EQ(got[k], want[k]);
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(DistanceReduction, HandWorkedLines) {
  for (const DataRow& row : ReadDataTable("distance_reduction.txt")) {
    SCOPED_TRACE("distance_reduction.txt line " + std::to_string(row.line));
    const geodesy::DistanceResult r = geodesy::ReduceDistance({row["S"], row["Hm"], row["H0"], row["Y"], row["R"]});
    if (row["dS1"].find(':') != std::string::npos) {
      EXPECT_EQ(Shown(r.refusal), row["dS1"]);
      continue;
    }
    ASSERT_FALSE(r.refusal) << Shown(r.refusal);
    const double tol = row.number("tol");
    EXPECT_NEAR(r.ym, row.number("ym"), tol);
    EXPECT_NEAR(r.surfaceCorrection * 1000, row.number("dS1"), tol);
    EXPECT_NEAR(r.planeCorrection * 1000, row.number("dS2"), tol);
    EXPECT_NEAR(r.planeDistance * 1000, row.number("Sp") * 1000, tol);
    EXPECT_NEAR(r.factor, row.number("K"), 1e-9);
  }
}

TEST(OneWayHeight, HandWorkedLegs) {
  for (const DataRow& row : ReadDataTable("one_way_height.txt")) {
    SCOPED_TRACE("one_way_height.txt line " + std::to_string(row.line));
    cogo::height::OneWayInput in;
    in.distanceKind = row["distance_kind"] == "slope" ? cogo::height::DistanceKind::Slope : cogo::height::DistanceKind::Horizontal;
    in.angleKind = row["angle_kind"] == "zenith" ? cogo::height::AngleKind::Zenith : cogo::height::AngleKind::Vertical;
    in = {in.distanceKind, in.angleKind, row["distance"], row["angle"], row["i"], row["v"], row["k"], row["HA"]};
    const cogo::height::OneWayResult r = cogo::height::ComputeOneWayHeight(in);
    if (row["D"].find(':') != std::string::npos) {
      EXPECT_EQ(Shown(r.refusal), row["D"]);
      continue;
    }
    ASSERT_FALSE(r.refusal) << Shown(r.refusal);
    const double tol = row.number("tol");
    EXPECT_NEAR(r.horizontal, row.number("D"), tol);
    EXPECT_NEAR(r.elevation, row.number("dh"), tol);
    EXPECT_NEAR(r.correction, row.number("f"), tol);
    EXPECT_NEAR(r.height, row.number("h"), tol);
    EXPECT_EQ(r.targetHeight.has_value(), !row["HB"].empty());
    if (r.targetHeight) {
      EXPECT_NEAR(*r.targetHeight, row.number("HB"), tol);
    }
  }
}

}  // namespace
}  // namespace korvane
