// One traverse through the three methods of a single connecting traverse:
// the simple adjustment of the connecting kind, the weighted distribution and
// the least-squares solution as a network, all three from the one reading of
// the traverse. The table traverse_methods.txt names the traverse, the two
// methods and the figure compared, under the tolerance the largest difference
// along the traverse must keep.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "formats/rigorous_data_file.h"
#include "formats/traverse_observations.h"
#include "network/single_traverse_network.h"
#include "support/case_table.h"
#include "traverse/closing_traverse.h"
#include "traverse/rigorous_adjustment.h"

namespace korvane {
namespace {

// Adjusted stations of one method, station 1 on B and the last on C.
struct Stations {
  std::vector<double> x, y, h;  // h empty where the method carries no heights
};

// The known points and the instrument constants of the traverse as the start
// data of the simple kinds would hold them (A and D as points, not azimuths).
traverse::StartValues StartOf(const formats::TraverseObservations& t) {
  traverse::StartValues v;
  v.startX = t.start.x;
  v.startY = t.start.y;
  v.startH = t.start.h;
  v.orientX = t.orientation.x;
  v.orientY = t.orientation.y;
  v.endX = t.end.x;
  v.endY = t.end.y;
  v.endH = t.end.h;
  v.endOrientX = t.connection.x;
  v.endOrientY = t.connection.y;
  v.projectionHeight = t.projectionHeight;
  v.additiveConstant = t.additiveConstant;
  v.scaleConstant = t.scaleConstant;
  return v;
}

// The three solutions of the traverse in the data file.
std::map<std::string, Stations> Solve(const std::string& file) {
  std::map<std::string, Stations> out;
  std::string error;
  const formats::RigorousFileLoad load = formats::LoadRigorousFile(file, error);
  EXPECT_TRUE(error.empty() && load.ok()) << file << ": " << error;
  const formats::TraverseObservationsRead read = formats::ReadWeightedTraverse(load.table, load.params);
  EXPECT_TRUE(read.ok()) << file;
  if (!read.ok()) return out;
  const formats::TraverseObservations& t = read.observations;
  // The simple method has no switch for "no projection": the traverse must
  // be reduced to a plane in both.
  EXPECT_FALSE(t.projectionOff) << file;

  const traverse::RigorousOutcome weighted = traverse::AdjustRigorous(t, [](const Message&) { return true; });
  EXPECT_TRUE(weighted.ok()) << file;
  if (!weighted.ok()) return out;
  out["weighted"] = {weighted.result.x, weighted.result.y, weighted.result.h};

  const network::SingleTraverseLeastSquares ls = network::AdjustSingleTraverseByNetwork(t, weighted.result);
  EXPECT_TRUE(ls.ok()) << file;
  if (ls.ok()) out["least-squares"] = {ls.x, ls.y, {}};

  const int n = static_cast<int>(t.stations.size());
  traverse::Reduction red =
      traverse::Reduce(traverse::LoadStations(t), StartOf(t), traverse::ClosingReducedLegs(n, false));
  const traverse::ClosingOutcome simple = traverse::SolveClosing(std::move(red), false);
  EXPECT_FALSE(simple.refusal) << file;
  if (!simple.refusal) out["simple"] = {simple.solution.x, simple.solution.y, simple.solution.height};
  return out;
}

// The largest difference of the figure along the traverse, in metres.
double LargestDifference(const Stations& a, const Stations& b, const std::string& figure) {
  EXPECT_EQ(a.x.size(), b.x.size());
  double largest = 0;
  for (std::size_t i = 0; i < a.x.size() && i < b.x.size(); ++i) {
    if (figure == "plane") {
      largest = std::max(largest, std::hypot(a.x[i] - b.x[i], a.y[i] - b.y[i]));
    } else {
      EXPECT_EQ(figure, "height");
      EXPECT_FALSE(a.h.empty() || b.h.empty()) << "a method without heights";
      if (i < a.h.size() && i < b.h.size()) largest = std::max(largest, std::fabs(a.h[i] - b.h[i]));
    }
  }
  return largest;
}

TEST(TraverseMethods, OneTraverseAgreesAcrossTheThreeMethods) {
  std::map<std::string, std::map<std::string, Stations>> solved;
  for (const testing::DataRow& row : testing::ReadDataTable("traverse_methods.txt")) {
    SCOPED_TRACE("traverse_methods.txt line " + std::to_string(row.line));
    const std::string file = row["traverse"];
    if (!solved.count(file)) solved[file] = Solve(std::string(KORVANE_TEST_DATA) + "/traverse_methods/" + file);
    const std::map<std::string, Stations>& methods = solved[file];
    ASSERT_TRUE(methods.count(row["first"]) && methods.count(row["second"])) << "unknown or failed method";
    const double largest = LargestDifference(methods.at(row["first"]), methods.at(row["second"]), row["figure"]);
    ASSERT_TRUE(row.tolerance.stated());
    EXPECT_LE(largest, row.tolerance.in("m"))
        << row["first"] << " and " << row["second"] << " differ by " << largest * 1000 << " mm in " << row["figure"];
  }
}

}  // namespace
}  // namespace korvane
