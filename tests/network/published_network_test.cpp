// Networks from adjustment textbooks: every adjusted coordinate within 1 mm
// of the value the source publishes (tests/data/network/published/README.md).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

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

TEST(PublishedNetworks, AdjustedCoordinatesWithinOneMillimetreOfTheBook) {
  constexpr double kTolerance = 0.001;
  for (const std::string name : {"niemeier", "benning83", "lother1"}) {
    SCOPED_TRACE(name);
    const Published book = ReadBook(kPublished / (name + ".book.expect"));
    ASSERT_NE(book.source.find("published"), std::string::npos) << "the table states its source";
    ASSERT_GE(book.points.size(), 2u);
    std::string error;
    const formats::NetworkFileLoad load = formats::LoadNetworkFile((kPublished / (name + ".net")).string(), error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_TRUE(load.ok()) << load.refusal->text;
    const NetworkOutcome outcome = AdjustNetwork(load.input);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal->text;
    int found = 0;
    for (const NetworkPointResult& p : outcome.result.points) {
      const auto it = book.points.find(p.name);
      if (it == book.points.end()) continue;
      ++found;
      EXPECT_NEAR(p.x, it->second.first, kTolerance) << p.name;
      EXPECT_NEAR(p.y, it->second.second, kTolerance) << p.name;
    }
    EXPECT_EQ(found, static_cast<int>(book.points.size()));
    // Sound textbook data pass the two-sided test of σ0.
    EXPECT_TRUE(outcome.result.chiTestPassed) << outcome.result.sigma0;
  }
}

}  // namespace
}  // namespace korvane
