// The report and the sketch of a network with a gross error: what is over
// its limit is red, the largest residual is marked in both.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <variant>

#include "formats/network_file.h"
#include "report/html.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "standards/tolerance.h"
#include "traverse/weighted_limits.h"

using namespace korvane::formats;
using namespace korvane::network;
using korvane::report::MarkRed;

namespace korvane {
namespace {

TEST(NetworkReport, GrossErrorIsRedInTheReportAndMarkedInTheSketch) {
  std::string error;
  NetworkFileLoad load =
      LoadNetworkFile((std::filesystem::path(KORVANE_TEST_DATA) / "network" / "junction.net").string(), error);
  ASSERT_TRUE(load.ok());
  load.input.distances.at(1).metres += 0.05;  // P1-P2 5 cm too long
  NetworkOptions options;
  options.checkTolerance = true;
  options.toleranceCode = "ybc1";
  const NetworkOutcome outcome = AdjustNetwork(load.input, options);
  ASSERT_TRUE(outcome.ok());
  const NetworkResult& r = outcome.result;
  EXPECT_FALSE(r.chiTestPassed);
  const NetworkObservationResult& largest = r.observations.at(r.largestResidual);
  EXPECT_EQ(largest.kind, NetworkObservationKind::Distance);
  EXPECT_GT(largest.standardised, kStandardisedResidualLimit);
  EXPECT_TRUE(std::any_of(r.traverses.begin(), r.traverses.end(), [](const NetworkTraverse& t) { return t.relativeOver; }));

  const NetworkReportInput in{load.input, r, options, EllipseExaggeration(r), "junction.bmp"};
  std::string html;
  for (const std::string& line : NetworkReportLines(in)) html += line + "\n";
  const std::string red = MarkRed("@");
  const std::string redStart = red.substr(0, red.find('@')), redEnd = red.substr(red.find('@') + 1);
  EXPECT_NE(html.find(redStart + "卡方"), std::string::npos);
  EXPECT_NE(html.find("未通过" + redEnd), std::string::npos);
  EXPECT_NE(html.find(MarkRed("最大")), std::string::npos);
  EXPECT_NE(html.find("<IMG SRC=\"junction.bmp\""), std::string::npos);

  const Sketch sketch = NetworkSketch(r, in.exaggeration);
  int magenta = 0, ellipseSides = 0;
  for (const SketchOp& op : sketch.ops) {
    if (const auto* line = std::get_if<SketchLine>(&op)) {
      magenta += line->color == kMagenta ? 1 : 0;
      ellipseSides += line->color == kCyan ? 1 : 0;
    }
  }
  EXPECT_EQ(magenta, 1);
  EXPECT_EQ(ellipseSides, 7 * 48);  // one polygon per new point
}

}  // namespace
}  // namespace korvane
