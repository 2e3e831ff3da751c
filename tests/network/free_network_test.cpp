// Free networks: the datum points, the defect the constraints remove, and
// what the datum must not change. The published free network (Wolf's, from
// tests/data/network/gama) is adjusted on variants of its datum: a datum
// changes the coordinates by a shift, a rotation and a scale only, never σ0,
// the degrees of freedom or a residual.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "core/angles.h"
#include "formats/network_file.h"
#include "io/text_file.h"
#include "network/network_adjustment.h"
#include "network/network_report.h"

using namespace korvane::network;

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::string WolfText() {
  return io::ReadTextFile((fs::path(KORVANE_TEST_DATA) / "network" / "gama" / "wolf_free.net").string()).text;
}

NetworkOutcome Adjust(const std::string& text) {
  const formats::NetworkFileLoad load = formats::ParseNetworkText(text);
  if (!load.ok()) ADD_FAILURE() << load.refusal->text;
  return AdjustNetwork(load.input);
}

std::map<std::string, std::pair<double, double>> Given(const std::string& text) {
  std::map<std::string, std::pair<double, double>> given;
  for (const formats::NetworkKnownPoint& k : formats::ParseNetworkText(text).input.known) given[k.name] = {k.x, k.y};
  return given;
}

// The shift, rotation (rad) and scale (ppm) that carry the given
// coordinates of the datum points onto the adjusted ones, about their
// centroid; a minimum-norm datum leaves all of them zero.
struct Helmert {
  double sx = 0, sy = 0, rotation = 0, scale = 0;
};

Helmert DatumMotion(const NetworkResult& r, const std::map<std::string, std::pair<double, double>>& given) {
  double cx = 0, cy = 0;
  for (const auto& [name, xy] : given) cx += xy.first, cy += xy.second;
  cx /= given.size();
  cy /= given.size();
  Helmert h;
  double rot = 0, scale = 0, norm = 0;
  for (const NetworkPointResult& p : r.points) {
    const auto it = given.find(p.name);
    if (it == given.end()) continue;
    const double dx = p.x - it->second.first, dy = p.y - it->second.second;
    const double x = it->second.first - cx, y = it->second.second - cy;
    h.sx += dx / given.size();
    h.sy += dy / given.size();
    rot += -y * dx + x * dy;
    scale += x * dx + y * dy;
    norm += x * x + y * y;
  }
  h.rotation = rot / norm;
  h.scale = scale / norm * 1e6;
  return h;
}

double Residual(const NetworkResult& r, int line) {
  for (const NetworkObservationResult& o : r.observations)
    if (o.line == line) return o.residual;
  ADD_FAILURE() << "no observation on line " << line;
  return 0;
}

TEST(FreeNetworks, DatumVariantsChangeNoResidual) {
  const std::string all = WolfText();
  const NetworkOutcome reference = Adjust(all);
  ASSERT_TRUE(reference.ok()) << reference.refusal->text;
  const NetworkResult& ref = reference.result;
  ASSERT_TRUE(ref.datum.free());
  EXPECT_EQ(ref.datum.points.size(), 9u);
  EXPECT_TRUE(ref.datum.rotation);
  EXPECT_FALSE(ref.datum.scale);
  EXPECT_EQ(ref.datum.defect(), 3);
  // Every point of a free network is adjusted and has its ellipse.
  for (const NetworkPointResult& p : ref.points) {
    EXPECT_FALSE(p.known) << p.name;
    EXPECT_GT(p.ellipseA, 0) << p.name;
  }

  // Datum only on points 1, 3, 5 and 7: the others' POINT lines left out
  // (their coordinates found from the observations). Left-out lines become
  // comments, so that every observation keeps its line.
  std::string some = std::regex_replace(all, std::regex("POINT, [2468], [^\\r\\n]*"), "#");
  // Datum on points 1 and 2 alone, the smallest that fixes a rotation.
  const std::string two = std::regex_replace(all, std::regex("POINT, [3-9], [^\\r\\n]*"), "#");
  struct Variant {
    const char* what;
    std::string text;
    int defect;
  };
  for (const Variant& v : {Variant{"datum 1, 3, 5, 7", some, 3}, Variant{"datum 1, 2", two, 3}}) {
    SCOPED_TRACE(v.what);
    const NetworkOutcome out = Adjust(v.text);
    ASSERT_TRUE(out.ok()) << out.refusal->text;
    EXPECT_EQ(out.result.datum.defect(), v.defect);
    EXPECT_EQ(out.result.degreesOfFreedom, ref.degreesOfFreedom);
    EXPECT_NEAR(out.result.sigma0, ref.sigma0, 1e-6);
    for (const NetworkObservationResult& o : ref.observations) {
      EXPECT_NEAR(Residual(out.result, o.line), o.residual, 1e-4) << o.line;
      EXPECT_NEAR(out.result.observations.at(&o - ref.observations.data()).redundancy, o.redundancy, 1e-6);
    }
  }
  // The minimum norm: over its datum points the adjusted coordinates neither
  // shift nor turn against the given ones.
  for (const std::string& text : {all, some, two}) {
    const NetworkOutcome out = Adjust(text);
    ASSERT_TRUE(out.ok());
    const Helmert h = DatumMotion(out.result, Given(text));
    EXPECT_NEAR(h.sx, 0, 1e-7);
    EXPECT_NEAR(h.sy, 0, 1e-7);
    EXPECT_NEAR(h.rotation, 0, 1e-10);
    EXPECT_GT(std::fabs(h.scale), 1);  // the observed distance sets the scale
  }
}

TEST(FreeNetworks, ScaleIsPartOfTheDatumWithoutDistancesAndAnAzimuthRemovesTheRotation) {
  const std::string directions = std::regex_replace(WolfText(), std::regex("DIST, [^\\r\\n]*"), "#");
  struct Case {
    const char* what;
    std::string extra;  // records added to the directions
    bool rotation;      // still part of the defect
    int observations;
  };
  // 9 points and 9 sets: 27 unknowns; the defect counts into f.
  for (const Case& c : {Case{"directions only", "", true, 37},
                        Case{"and an observed azimuth", "AZI, 1, 2, 88.224510, 5\n", false, 38}}) {
    SCOPED_TRACE(c.what);
    const NetworkOutcome out = Adjust(directions + c.extra);
    ASSERT_TRUE(out.ok()) << out.refusal->text;
    EXPECT_TRUE(out.result.datum.scale);
    EXPECT_EQ(out.result.datum.rotation, c.rotation);
    const int defect = c.rotation ? 4 : 3;
    EXPECT_EQ(out.result.datum.defect(), defect);
    EXPECT_EQ(out.result.degreesOfFreedom, c.observations - 27 + defect);
    // The datum points keep their scale; their rotation too unless an
    // azimuth turned them onto it.
    const Helmert h = DatumMotion(out.result, Given(directions));
    EXPECT_NEAR(h.scale, 0, 1e-4);
    if (c.rotation) EXPECT_NEAR(h.rotation, 0, 1e-10);
    else EXPECT_GT(std::fabs(h.rotation), 1e-7);
  }
}

// A triangle of sides some 500 km, every point a datum point given a few
// decimetres off: its size must not make the datum look degenerate.
TEST(FreeNetworks, DatumOfAWideNetworkIsNoDegenerateOne) {
  const std::map<std::string, std::pair<double, double>> truth{
      {"A", {3000000, 200000}}, {"B", {3000000, 700000}}, {"C", {3450000, 450000}}};
  const auto az = [&](const char* a, const char* b) {
    return Azimuth(truth.at(a).first, truth.at(a).second, truth.at(b).first, truth.at(b).second);
  };
  const auto dist = [&](const char* a, const char* b) {
    return std::hypot(truth.at(b).first - truth.at(a).first, truth.at(b).second - truth.at(a).second);
  };
  const auto dms = [](double rad) { return std::to_string(RadToDms(Wrap(rad))); };
  std::string text = "POINT, A, 3000000.3, 199999.8, DATUM\nPOINT, B, 2999999.6, 700000.2, DATUM\n"
                     "POINT, C, 3450000.1, 450000.4, DATUM\n";
  text += "SET, A\nDIR, A, B, 0\nDIR, A, C, " + dms(az("A", "C") - az("A", "B")) + "\n";
  text += "SET, B\nDIR, B, C, 0\nDIR, B, A, " + dms(az("B", "A") - az("B", "C")) + "\n";
  text += "ANGLE, C, A, B, " + dms(az("C", "B") - az("C", "A")) + "\n";
  for (const auto& [a, b] : {std::pair{"A", "B"}, std::pair{"B", "C"}, std::pair{"C", "A"}})
    text += std::string("DIST, ") + a + ", " + b + ", " + std::to_string(dist(a, b)) + "\n";
  const NetworkOutcome out = Adjust(text);
  ASSERT_TRUE(out.ok()) << out.refusal->text;
  EXPECT_EQ(out.result.datum.defect(), 3);
  EXPECT_EQ(out.result.degreesOfFreedom, 8 - 8 + 3);
  const Helmert h = DatumMotion(out.result, Given(text));
  EXPECT_NEAR(h.sx, 0, 1e-6);
  EXPECT_NEAR(h.sy, 0, 1e-6);
  EXPECT_NEAR(h.rotation, 0, 1e-11);
}

TEST(FreeNetworks, ReportNamesTheDatumAndTheDefect) {
  const NetworkOutcome out = Adjust(WolfText());
  ASSERT_TRUE(out.ok());
  const std::vector<std::string> lines = NetworkSummaryLines(out.result);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "基准: 自由网：基准点 1, 2, 3, 4, 5, 6, 7, 8, 9；最小范数解消除秩亏 3（两个平移、旋转）");
  const formats::NetworkInput input = formats::ParseNetworkText(WolfText()).input;
  const NetworkOptions options;
  std::string page;
  for (const std::string& line : NetworkReportLines({input, out.result, options})) page += line;
  EXPECT_NE(page.find("基准：自由网：基准点 1, 2, 3"), std::string::npos);
  // f = n − u + d: the defect stands beside the unknowns.
  EXPECT_NE(page.find("未知数 27 个，秩亏 3，多余观测 f = 14"), std::string::npos);
}

}  // namespace
}  // namespace korvane
