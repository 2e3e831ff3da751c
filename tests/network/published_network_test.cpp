// Networks from adjustment textbooks: every adjusted coordinate within 1 mm
// of the value the source publishes (tests/data/network/published/README.md),
// and networks adjusted by GNU Gama (tests/data/network/gama/README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "core/text_utils.h"
#include "formats/network_file.h"
#include "network/network_adjustment.h"

using namespace korvane::network;

namespace korvane {
namespace {

namespace fs = std::filesystem;
const fs::path kPublished = fs::path(KORVANE_TEST_DATA) / "network" / "published";

struct Published {
  std::string source;  // the first comment line
  std::map<std::string, std::pair<double, double>> points;
};

Published ReadBook(const fs::path& path) {
  Published book;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (book.source.empty()) book.source = line.substr(1);
      continue;
    }
    std::istringstream fields(line);
    std::string name;
    double x = 0, y = 0;
    if (fields >> name >> x >> y) book.points[name] = {x, y};
  }
  return book;
}

// The adjustment of a network file; a file that does not read or adjust is
// a failure.
std::optional<NetworkResult> AdjustFile(const fs::path& path) {
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile(path.string(), error);
  if (!error.empty() || !load.ok()) {
    ADD_FAILURE() << path << ": " << (error.empty() ? load.refusal->text : error);
    return std::nullopt;
  }
  NetworkOutcome outcome = AdjustNetwork(load.input);
  if (!outcome.ok()) {
    ADD_FAILURE() << path << ": " << outcome.refusal->text;
    return std::nullopt;
  }
  return std::move(outcome.result);
}

// Every point of the book's table within `tolerance` (m); the number found.
int WithinBook(const Published& book, const NetworkResult& r, double tolerance) {
  int found = 0;
  for (const NetworkPointResult& p : r.points) {
    const auto it = book.points.find(p.name);
    if (it == book.points.end()) continue;
    ++found;
    EXPECT_NEAR(p.x, it->second.first, tolerance) << p.name;
    EXPECT_NEAR(p.y, it->second.second, tolerance) << p.name;
  }
  return found;
}

TEST(PublishedNetworks, AdjustedCoordinatesWithinOneMillimetreOfTheBook) {
  constexpr double kTolerance = 0.001;
  for (const std::string name : {"niemeier", "benning83", "lother1"}) {
    SCOPED_TRACE(name);
    const Published book = ReadBook(kPublished / (name + ".book.expect"));
    ASSERT_NE(book.source.find("published"), std::string::npos) << "the table states its source";
    ASSERT_GE(book.points.size(), 2u);
    const std::optional<NetworkResult> result = AdjustFile(kPublished / (name + ".net"));
    ASSERT_TRUE(result);
    EXPECT_EQ(WithinBook(book, *result, kTolerance), static_cast<int>(book.points.size()));
    // Sound textbook data pass the two-sided test of σ0.
    EXPECT_TRUE(result->chiTestPassed) << result->sigma0;
  }
}

// Networks with observations of their own deviation, a target read twice, an
// observed azimuth and a free network, against GNU Gama's adjustment of the
// same data (tests/data/network/gama/README.md): coordinates within 0.5 mm,
// σ0 to Gama's printed digits, the same degrees of freedom and error ellipses.
struct GamaResult {
  std::map<std::string, std::pair<double, double>> points;
  double sigma0 = 0;        // from Gama's [pvv]
  int f = -1;
  double printedSigma0 = -1;  // "m0' aposteriori:     0.70"
  int printedDecimals = 0;
  int defect = -1;          // "Network defect    :     3"
  // "point mp mxy a b φ …" of the mean error ellipses, mm and degrees.
  struct Ellipse {
    double mp = 0, a = 0, b = 0, phi = 0;
  };
  std::map<std::string, Ellipse> ellipses;
};

GamaResult ReadGama(const fs::path& folder, const std::string& name) {
  GamaResult gama;
  std::ifstream expect(folder / (name + ".expect"));
  std::string line;
  while (std::getline(expect, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string first;
    if (line.rfind("#!", 0) == 0) {
      std::string key, fKey;
      fields >> first >> key >> gama.sigma0 >> fKey >> gama.f;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    double x = 0, y = 0;
    if (fields >> first >> x >> y) gama.points[first] = {x, y};
  }
  std::ifstream text(folder / (name + ".gama.txt"));
  bool ellipses = false;
  while (std::getline(text, line)) {
    if (line.rfind("=====", 0) == 0) {
      ellipses = true;
      continue;
    }
    if (ellipses) {
      std::istringstream fields(line);
      std::string point;
      GamaResult::Ellipse e;
      double mxy = 0;
      if (fields >> point >> e.mp >> mxy >> e.a >> e.b >> e.phi) gama.ellipses[point] = e;
      continue;
    }
    if (const auto at = line.find("m0' aposteriori:"); at != std::string::npos) {
      const std::string value = Trim(line.substr(at + 16, line.find("[pvv]") - at - 16));
      gama.printedSigma0 = std::stod(value);
      gama.printedDecimals = static_cast<int>(value.size() - value.find('.') - 1);
    }
    if (const auto at = line.find("Network defect    :"); at != std::string::npos)
      gama.defect = std::stoi(line.substr(at + 19));
  }
  return gama;
}

TEST(GamaNetworks, CoordinatesSigmaZeroAndFreedomAsGamaGivesThem) {
  const fs::path folder = fs::path(KORVANE_TEST_DATA) / "network" / "gama";
  int cases = 0;
  for (const std::string name :
       {"ghilani16_1", "ghilani_wolf", "zoltan_rep", "wolf_free", "generated", "generated_removed"}) {
    SCOPED_TRACE(name);
    const GamaResult gama = ReadGama(folder, name);
    ASSERT_GE(gama.points.size(), 1u);
    ASSERT_GT(gama.sigma0, 0);
    ASSERT_GT(gama.printedDecimals, 0);
    const std::optional<NetworkResult> result = AdjustFile(folder / (name + ".net"));
    ASSERT_TRUE(result);
    const NetworkResult& r = *result;
    double largest = 0;
    int found = 0;
    for (const NetworkPointResult& p : r.points) {
      const auto it = gama.points.find(p.name);
      if (it == gama.points.end()) continue;
      ++found;
      largest = std::max({largest, std::fabs(p.x - it->second.first), std::fabs(p.y - it->second.second)});
    }
    EXPECT_EQ(found, static_cast<int>(gama.points.size()));
    // Gama gives its coordinates to 0.01 mm; they agree to that, well inside 0.5 mm.
    EXPECT_LE(largest, 0.00001) << "largest coordinate difference to Gama, m";
    EXPECT_EQ(r.degreesOfFreedom, gama.f);
    EXPECT_NEAR(r.sigma0, gama.sigma0, 0.0005);
    EXPECT_NEAR(r.sigma0, gama.printedSigma0, 0.5 * std::pow(10.0, -gama.printedDecimals));
    EXPECT_EQ(r.datum.defect(), gama.defect);
    // The ellipses as Gama prints them (0.1 mm, 0.1°), a free network's too.
    EXPECT_EQ(gama.ellipses.size(), gama.points.size());
    for (const NetworkPointResult& p : r.points) {
      const auto it = gama.ellipses.find(p.name);
      if (it == gama.ellipses.end()) continue;
      EXPECT_NEAR(p.sp, it->second.mp, 0.051) << p.name;
      EXPECT_NEAR(p.ellipseA, it->second.a, 0.051) << p.name;
      EXPECT_NEAR(p.ellipseB, it->second.b, 0.051) << p.name;
      if (it->second.a - it->second.b > 1) {
        const double turn = std::remainder(p.ellipseAzimuth - it->second.phi, 180.0);
        EXPECT_NEAR(turn, 0, 0.051) << p.name;
      }
    }
    // Where the source publishes its coordinates, within 1 mm of them too.
    if (fs::exists(folder / (name + ".book.expect"))) {
      const Published book = ReadBook(folder / (name + ".book.expect"));
      ASSERT_NE(book.source.find("published"), std::string::npos);
      EXPECT_EQ(WithinBook(book, r, 0.001), static_cast<int>(book.points.size()));
    }
    ++cases;
  }
  EXPECT_EQ(cases, 6);
}

}  // namespace
}  // namespace korvane
