// Relative accuracy, reliability, data snooping and variance components of
// the network adjustment against figures worked by hand, planted blunders
// and networks simulated with known deviations.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "support/case_table.h"
#include "core/angles.h"
#include "formats/network_file.h"
#include "network/network_adjustment.h"
#include "network/network_report.h"

using namespace korvane::network;
using korvane::testing::ForEachTableLine;
using korvane::testing::Tolerance;

namespace korvane {
namespace {

namespace fs = std::filesystem;
const fs::path kNetworks = fs::path(KORVANE_TEST_DATA) / "network";

formats::NetworkInput Load(const std::string& name) {
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile((kNetworks / name).string(), error);
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_TRUE(load.ok()) << name << ": " << (load.refusal ? load.refusal->text : "");
  return load.input;
}

NetworkResult Adjust(const formats::NetworkInput& input, const NetworkOptions& options = {}) {
  const NetworkOutcome outcome = AdjustNetwork(input, options);
  EXPECT_TRUE(outcome.ok()) << (outcome.refusal ? outcome.refusal->text : "");
  return outcome.result;
}

const NetworkObservationResult* AtLine(const NetworkResult& r, int line) {
  for (const NetworkObservationResult& o : r.observations)
    if (o.line == line) return &o;
  return nullptr;
}

const NetworkRelativeAccuracy* Side(const NetworkResult& r, const std::string& a, const std::string& b) {
  for (const NetworkRelativeAccuracy& s : r.relative) {
    const std::string& from = r.points[s.from].name;
    const std::string& to = r.points[s.to].name;
    if ((from == a && to == b) || (from == b && to == a)) return &s;
  }
  return nullptr;
}

TEST(NetworkReliability, FiguresWorkedByHand) {
  const NetworkResult r = Adjust(Load("quality/by_hand_blunder.net"));
  ASSERT_EQ(r.degreesOfFreedom, 1);
  const int rows = ForEachTableLine(
      (kNetworks / "quality/by_hand_utf8.txt").string(),
      [&r](const std::string& line, std::istringstream& fields, const Tolerance& tolerance) {
        SCOPED_TRACE(line);
        const double tol = tolerance.in("");
        std::string what;
        fields >> what;
        if (what == "observation") {
          int at = 0;
          double red = 0, w = 0, mdb = 0, effect = 0;
          ASSERT_TRUE(fields >> at >> red >> w >> mdb >> effect);
          const NetworkObservationResult* o = AtLine(r, at);
          ASSERT_NE(o, nullptr);
          EXPECT_NEAR(o->redundancy, red, tol);
          EXPECT_NEAR(o->standardised, w, tol);
          EXPECT_NEAR(o->mdb, mdb, tol);
          EXPECT_NEAR(o->mdbEffect, effect, tol);
          return;
        }
        std::string from, to;
        double e = 0, f = 0, phi = 0, ms = 0;
        ASSERT_EQ(what, "relative");
        ASSERT_TRUE(fields >> from >> to >> e >> f >> phi >> ms);
        const NetworkRelativeAccuracy* s = Side(r, from, to);
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s->ellipseA, e, tol);
        EXPECT_NEAR(s->ellipseB, f, tol);
        EXPECT_NEAR(s->ellipseAzimuth, phi, 0.01);
        EXPECT_NEAR(s->sigmaS, ms, tol);
        EXPECT_NEAR(s->ratio, s->sigmaS / (s->distance * 1000), 1e-15);
      });
  EXPECT_EQ(rows, 5);
  // Against a known point the relative ellipse is the point's own.
  const NetworkPointResult& p = r.points.back();
  ASSERT_EQ(p.name, "P");
  EXPECT_NEAR(Side(r, "K1", "P")->ellipseA, p.ellipseA, 1e-9);
  EXPECT_EQ(r.points[r.weakestPoint].name, "P");
  EXPECT_EQ(&r.relative[r.weakestSide], Side(r, "K1", "P"));
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// Adds `amount` (seconds or mm) to the record at the file line.
bool Plant(formats::NetworkInput& input, int line, double amount) {
  const auto turn = [amount](double& dms) { dms = RadToDms(DmsToRad(dms) + amount / kRhoSeconds); };
  for (formats::NetworkDirectionSet& set : input.sets)
    for (formats::NetworkDirection& d : set.directions)
      if (d.line == line) return turn(d.dms), true;
  for (formats::NetworkAngle& a : input.angles)
    if (a.line == line) return turn(a.dms), true;
  for (formats::NetworkDistance& d : input.distances)
    if (d.line == line) return d.metres += amount / 1000, true;
  return false;
}

TEST(NetworkSnooping, PlantedBlundersAreLeftOutAndSigma0ComesBack) {
  const int rows = ForEachTableLine((kNetworks / "quality/snooping_utf8.txt").string(), [](const std::string& line,
                                                                              std::istringstream& fields) {
    SCOPED_TRACE(line);
    std::string name, planted, leftOut;
    double low = 0, high = 0;
    ASSERT_TRUE(fields >> name >> planted >> leftOut >> low >> high);
    formats::NetworkInput input = Load(name);
    std::istringstream plants(planted == "-" ? "" : planted);
    for (std::string item; std::getline(plants, item, ',');) {
      const int at = std::stoi(item.substr(0, item.find(':')));
      ASSERT_TRUE(Plant(input, at, std::stod(item.substr(item.find(':') + 1)))) << "no record at line " << at;
    }
    // Redundancy numbers depend on the geometry and the weights alone.
    const NetworkResult before = Adjust(input);
    std::set<int> lines;
    std::istringstream list(leftOut);
    for (std::string item; std::getline(list, item, ',');) {
      const int at = std::stoi(item);
      ASSERT_NE(AtLine(before, at), nullptr) << at;
      EXPECT_GE(AtLine(before, at)->redundancy, 0.3) << "line " << at;
      EXPECT_GT(AtLine(before, at)->standardised, kCriticalW) << "line " << at;
      lines.insert(at);
    }
    NetworkOptions snoop;
    snoop.snoop = true;
    const NetworkResult r = Adjust(input, snoop);
    std::set<int> left;
    for (const NetworkSnoopRound& round : r.snooping) {
      EXPECT_GT(round.w, kCriticalW);
      EXPECT_GE(round.redundancy, kTestableRedundancy);
      left.insert(round.line);
    }
    EXPECT_EQ(left, lines);
    EXPECT_EQ(r.snoopEnd, SnoopEnd::Clean);
    EXPECT_EQ(r.degreesOfFreedom, before.degreesOfFreedom - static_cast<int>(lines.size()));
    EXPECT_EQ(r.snoopSigma0, r.sigma0);
    EXPECT_GE(r.sigma0, low);
    EXPECT_LE(r.sigma0, high);
    for (const NetworkObservationResult& o : r.observations) EXPECT_LE(o.standardised, kCriticalW) << o.line;
  });
  EXPECT_EQ(rows, 7);
}

// An observation whose w exceeds the critical value but that the others
// cannot check: snooping stops instead of leaving the point undetermined.
TEST(NetworkSnooping, StopsWhereNothingMoreCanBeLeftOut) {
  NetworkOptions snoop;
  snoop.snoop = true;
  const NetworkResult r = Adjust(Load("quality/by_hand_blunder.net"), snoop);
  EXPECT_TRUE(r.snooping.empty());
  EXPECT_EQ(r.snoopEnd, SnoopEnd::NoRedundancy);
  EXPECT_EQ(r.degreesOfFreedom, 1);
  // Without snooping the window offers it; after snooping it does not.
  EXPECT_TRUE(SnoopOffer(Adjust(Load("quality/by_hand_blunder.net"))).has_value());
  EXPECT_FALSE(SnoopOffer(r).has_value());
}

// The window's 取消: asked before each iteration and before the precision
// figures, a stop ends the adjustment there, also in snooping's rounds.
TEST(NetworkStop, AStopRequestEndsTheAdjustmentWhereverItComes) {
  const formats::NetworkInput input = Load("junction.net");
  const NetworkResult whole = Adjust(input);
  const int asks = whole.iterations + 1;
  for (int stopAt = 1; stopAt <= asks; ++stopAt) {
    for (const bool snoop : {false, true}) {
      SCOPED_TRACE(std::to_string(stopAt) + (snoop ? " snooping" : ""));
      int asked = 0;
      NetworkOptions options;
      options.snoop = snoop;
      options.stopRequested = [&asked, stopAt] { return ++asked >= stopAt; };
      const NetworkOutcome stopped = AdjustNetwork(input, options);
      ASSERT_FALSE(stopped.ok());
      EXPECT_EQ(stopped.refusal->text, kNetworkStopped);
      EXPECT_EQ(asked, stopAt);
    }
  }
  NetworkOptions never;
  never.stopRequested = [] { return false; };
  EXPECT_EQ(Adjust(input, never).sigma0, whole.sigma0);
}

TEST(NetworkVarianceComponents, DistanceGroupSimulatedWithTwiceItsDeviation) {
  // NETWORK  GROUP  FACTOR  TOLERANCE  LEAST_r_g
  const struct {
    const char* network;
    NetworkObservationKind kind;
    double factor, tolerance, leastRedundancy;
  } cases[] = {
      {"quality/generated/grid2_900.net", NetworkObservationKind::Distance, 2.0, 0.2, 100},
      {"quality/generated/grid2_900.net", NetworkObservationKind::Angle, 1.0, 0.1, 100},
      {"quality/generated/grid400.net", NetworkObservationKind::Distance, 1.0, 0.1, 100},
      {"quality/generated/grid400.net", NetworkObservationKind::Angle, 1.0, 0.1, 100},
  };
  std::map<std::string, NetworkResult> adjusted;
  NetworkOptions estimate;
  estimate.varianceComponents = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.network) + " kind " + std::to_string(static_cast<int>(c.kind)));
    if (!adjusted.count(c.network)) adjusted[c.network] = Adjust(Load(c.network), estimate);
    const NetworkResult& r = adjusted[c.network];
    ASSERT_TRUE(r.variance.done);
    EXPECT_TRUE(r.variance.converged);
    EXPECT_LE(r.variance.iterations, kMaxVarianceIterations);
    const NetworkVarianceComponent* group = nullptr;
    for (const NetworkVarianceComponent& g : r.variance.groups)
      if (g.kind == c.kind) group = &g;
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->estimated);
    EXPECT_GE(group->redundancy, c.leastRedundancy);
    EXPECT_NEAR(group->factor, c.factor, c.tolerance);
    // The re-weighted solution has a unit-weight deviation of about 1.
    EXPECT_NEAR(r.sigma0, 1.0, 0.02);
  }
}

TEST(NetworkVarianceComponents, GroupsWithoutOneRedundantObservationKeepTheirDeviation) {
  NetworkOptions estimate;
  estimate.varianceComponents = true;
  const NetworkResult r = Adjust(Load("quality/by_hand_blunder.net"), estimate);
  ASSERT_EQ(r.variance.groups.size(), 2u);
  for (const NetworkVarianceComponent& g : r.variance.groups) {
    EXPECT_FALSE(g.estimated);
    EXPECT_LT(g.redundancy, kMinGroupRedundancy);
    EXPECT_EQ(g.factor, 1.0);
  }
  EXPECT_TRUE(r.variance.converged);
  EXPECT_EQ(r.variance.iterations, 1);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// GNU Gama prints no relative ellipses; its standard deviation of an
// adjusted distance is the relative covariance projected on the side, and its
// ellipse of a point joined to a fixed point is that side's relative ellipse.
TEST(NetworkRelativeAccuracy, SidesAndEllipsesAsGnuGamaGivesThem) {
  std::map<std::string, NetworkResult> adjusted;
  std::map<std::string, std::set<std::string>> fixed;
  std::map<std::string, double> worst;  // per network, mm
  int sides = 0, ellipses = 0;
  const int rows = ForEachTableLine(
      (kNetworks / "gama" / "relative_utf8.txt").string(),
      [&](const std::string& line, std::istringstream& fields, const Tolerance& tolerance) {
        SCOPED_TRACE(line);
        std::string name, what;
        ASSERT_TRUE(fields >> name >> what);
        if (!adjusted.count(name)) adjusted[name] = Adjust(Load("gama/" + name + ".net"));
        const NetworkResult& r = adjusted[name];
        const double tol = tolerance.in("mm");
        if (what == "fixed") {
          for (std::string p; fields >> p;) fixed[name].insert(p);
          return;
        }
        if (what == "side") {
          std::string from, to;
          double sigma = 0;
          ASSERT_TRUE(fields >> from >> to >> sigma);
          const NetworkRelativeAccuracy* s = Side(r, from, to);
          if (fixed[name].count(from) && fixed[name].count(to)) {
            // Between two fixed points there is nothing to report.
            EXPECT_EQ(s, nullptr);
            EXPECT_EQ(sigma, 0);
            return;
          }
          ASSERT_NE(s, nullptr);
          EXPECT_NEAR(s->sigmaS, sigma, tol);
          worst[name] = std::max(worst[name], std::fabs(s->sigmaS - sigma));
          ++sides;
          return;
        }
        ASSERT_EQ(what, "ellipse");
        std::string point;
        double a = 0, b = 0, alpha = 0;
        ASSERT_TRUE(fields >> point >> a >> b >> alpha);
        for (const NetworkRelativeAccuracy& s : r.relative) {
          const std::string& p = r.points[s.from].name;
          const std::string& q = r.points[s.to].name;
          if (!((p == point && fixed[name].count(q)) || (q == point && fixed[name].count(p)))) continue;
          EXPECT_NEAR(s.ellipseA, a, tol);
          EXPECT_NEAR(s.ellipseB, b, tol);
          if (a - b > 1) {
            EXPECT_NEAR(std::remainder(s.ellipseAzimuth - alpha, 180.0), 0, 0.5);
          }
          worst[name] = std::max({worst[name], std::fabs(s.ellipseA - a), std::fabs(s.ellipseB - b)});
          ++ellipses;
          break;
        }
      });
  EXPECT_GT(rows, 100);
  EXPECT_GE(sides, 100);
  EXPECT_GE(ellipses, 10);
  std::cout << "relative accuracy against Gama, " << sides << " sides and " << ellipses << " ellipses; largest difference:";
  for (const auto& [name, mm] : worst) std::cout << " " << name << " " << mm << " mm";
  std::cout << "\n";
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// generated.blunders: the two planted blunders of gama/generated.net and the
// normalised residuals (|w|) GNU Gama gives the largest of them, in generated.net and in generated_removed.net (the same
// network without the two records).
TEST(NetworkSnooping, GamaGeneratedNetworkWithTwoBlunders) {
  std::ifstream in(kNetworks / "gama" / "generated.blunders");
  ASSERT_TRUE(in);
  std::set<int> planted;
  std::string network = "generated.net";
  std::map<std::string, NetworkResult> adjusted;
  double sigma0After = 0;
  int fAfter = 0, compared = 0;
  for (std::string line; std::getline(in, line);) {
    SCOPED_TRACE(line);
    if (line.rfind("blunder line ", 0) == 0) planted.insert(std::stoi(line.substr(13)));
    if (line.rfind("# gama-local on generated_removed", 0) == 0) {
      network = "generated_removed.net";
      const std::size_t at = line.find("sigma0 ");
      sigma0After = std::stod(line.substr(at + 7));
      fAfter = std::stoi(line.substr(line.find(", f ") + 4));
    }
    if (line.rfind("line ", 0) != 0) continue;
    const int at = std::stoi(line.substr(5));
    const double w = std::stod(line.substr(line.find("normalized") + 10));
    if (!adjusted.count(network)) adjusted[network] = Adjust(Load("gama/" + network));
    const NetworkObservationResult* o = AtLine(adjusted[network], at);
    ASSERT_NE(o, nullptr);
    EXPECT_NEAR(o->standardised, w, 0.006);  // Gama prints two decimals
    ++compared;
  }
  EXPECT_EQ(planted, (std::set<int>{65, 120}));
  EXPECT_GE(compared, 10);
  // The redundancy numbers add up to the degrees of freedom.
  for (const auto& [name, r] : adjusted) {
    double sum = 0;
    for (const NetworkObservationResult& o : r.observations) sum += o.redundancy;
    EXPECT_NEAR(sum, r.degreesOfFreedom, 1e-6) << name;
  }
  NetworkOptions snoop;
  snoop.snoop = true;
  const NetworkResult r = Adjust(Load("gama/generated.net"), snoop);
  std::set<int> left;
  for (const NetworkSnoopRound& round : r.snooping) left.insert(round.line);
  EXPECT_EQ(left, planted);
  ASSERT_EQ(r.snooping.size(), 2u);
  EXPECT_EQ(r.snooping[0].line, 65);  // the larger |w| first
  EXPECT_NEAR(r.sigma0, sigma0After, 0.0005);
  EXPECT_EQ(r.degreesOfFreedom, fAfter);
}

}  // namespace
}  // namespace korvane
