// A generated network (a grid with direction sets, angles and distances,
// observations with normal errors from a fixed seed) adjusted by the engine
// and by a dense Gauss-Newton solve written here from the observation
// equations alone: numerical derivatives, the full normal matrix inverted,
// ellipses from its eigenvalues.
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <map>
#include <numbers>
#include <random>

#include "network/network_adjustment.h"

using namespace korvane::formats;
using namespace korvane::network;

namespace korvane {
namespace {

constexpr double kRho = 180 * 3600 / std::numbers::pi;

double Az(double x1, double y1, double x2, double y2) {
  double a = std::atan2(y2 - y1, x2 - x1);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}
double Dms(double rad) {
  double sec = std::fmod(rad + 4 * std::numbers::pi, 2 * std::numbers::pi) * kRho;
  const double d = std::floor(sec / 3600), m = std::floor((sec - d * 3600) / 60);
  return d + m / 100 + (sec - d * 3600 - m * 60) / 10000;
}

struct Generated {
  formats::NetworkInput input;
  std::map<std::string, std::pair<double, double>> truth;
};

std::string Name(int i, int j) { return "P" + std::to_string(i) + "_" + std::to_string(j); }

Generated MakeGrid() {
  Generated g;
  std::mt19937 random(20261208);
  std::normal_distribution<double> normal(0, 1);
  const int rows = 4, cols = 5;
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      g.truth[Name(i, j)] = {1000 + 400 * i + 30 * std::sin(j * 1.3), 2000 + 450 * j + 25 * std::cos(i * 2.1)};
  formats::NetworkInput& in = g.input;
  in.precision = {1.5, 2.5, 2.0, 2.0};
  for (const auto& name : {Name(0, 0), Name(rows - 1, cols - 1), Name(0, cols - 1)})
    in.known.push_back({name, g.truth[name].first, g.truth[name].second, 0});
  const auto at = [&](const std::string& n) { return g.truth.at(n); };
  const auto azimuth = [&](const std::string& a, const std::string& b) {
    return Az(at(a).first, at(a).second, at(b).first, at(b).second);
  };
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const std::string st = Name(i, j);
      formats::NetworkDirectionSet set{st, {}, 0};
      const double zero = normal(random);
      for (auto [di, dj] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}}) {
        if (i + di < 0 || i + di >= rows || j + dj < 0 || j + dj >= cols) continue;
        const std::string t = Name(i + di, j + dj);
        set.directions.push_back({t, Dms(azimuth(st, t) - zero + normal(random) * 1.5 / kRho), 0});
        if (di + dj == 1 && (di == 1 || dj == 1)) {
          const double s = std::hypot(at(t).first - at(st).first, at(t).second - at(st).second);
          in.distances.push_back({st, t, s + normal(random) * (2.0 + 2.0 * s / 1000) / 1000, 0});
        }
      }
      in.sets.push_back(set);
      if (j > 0 && j + 1 < cols && i == 1) {
        const std::string b = Name(i, j - 1), f = Name(i, j + 1);
        in.angles.push_back({st, b, f, Dms(azimuth(st, f) - azimuth(st, b) + normal(random) * 2.5 / kRho), 0});
      }
    }
  }
  return g;
}

// The dense solve: unknowns X, Y of the new points (mm) and one orientation
// per set (seconds), observation functions evaluated directly.
struct Dense {
  std::vector<std::string> names;
  std::map<std::string, std::pair<double, double>> xy;
  std::vector<double> z;
  Eigen::MatrixXd q;
  double sigma0 = 0;
  int dof = 0;
};

std::vector<double> Observe(const formats::NetworkInput& in, const Dense& d, std::vector<double>& observed,
                            std::vector<double>& sigma) {
  std::vector<double> computed;
  observed.clear();
  sigma.clear();
  const auto az = [&](const std::string& a, const std::string& b) {
    return Az(d.xy.at(a).first, d.xy.at(a).second, d.xy.at(b).first, d.xy.at(b).second);
  };
  const auto wrap = [](double v) { return std::remainder(v, 2 * std::numbers::pi) * kRho; };
  const auto toRad = [](double dms) {
    const double deg = std::floor(dms + 1e-10), m = std::floor((dms - deg) * 100 + 1e-8);
    return (deg + m / 60 + ((dms - deg) * 100 - m) * 100 / 3600) * std::numbers::pi / 180;
  };
  for (std::size_t s = 0; s < in.sets.size(); ++s) {
    for (const formats::NetworkDirection& dir : in.sets[s].directions) {
      computed.push_back(wrap(az(in.sets[s].station, dir.target) - d.z[s] / kRho - toRad(dir.dms)));
      observed.push_back(0);
      sigma.push_back(in.precision.directionSec);
    }
  }
  for (const formats::NetworkAngle& a : in.angles) {
    computed.push_back(wrap(az(a.station, a.fore) - az(a.station, a.back) - toRad(a.dms)));
    observed.push_back(0);
    sigma.push_back(in.precision.angleSec);
  }
  for (const formats::NetworkDistance& s : in.distances) {
    const auto p = d.xy.at(s.from), q = d.xy.at(s.to);
    computed.push_back(std::hypot(q.first - p.first, q.second - p.second) * 1000);
    observed.push_back(s.metres * 1000);
    sigma.push_back(in.precision.aMm + in.precision.bPpm * s.metres / 1000);
  }
  return computed;
}

void Perturb(Dense& d, int k, double h) {
  const int points = static_cast<int>(d.names.size());
  if (k < 2 * points) {
    auto& p = d.xy.at(d.names[k / 2]);
    (k % 2 == 0 ? p.first : p.second) += h / 1000;
  } else {
    d.z[k - 2 * points] += h;
  }
}

Dense SolveDense(const Generated& g) {
  Dense d;
  d.xy = g.truth;
  for (const auto& [name, xy] : g.truth) {
    bool known = false;
    for (const auto& k : g.input.known) known = known || k.name == name;
    if (!known) d.names.push_back(name);
  }
  d.z.assign(g.input.sets.size(), 0);
  for (std::size_t s = 0; s < g.input.sets.size(); ++s) {
    const auto& set = g.input.sets[s];
    const auto a = d.xy.at(set.station), b = d.xy.at(set.directions[0].target);
    const double dms = set.directions[0].dms;
    const double deg = std::floor(dms), m = std::floor((dms - deg) * 100 + 1e-8);
    d.z[s] = (Az(a.first, a.second, b.first, b.second) - (deg + m / 60 + ((dms - deg) * 100 - m) * 100 / 3600) *
                                                            std::numbers::pi / 180) * kRho;
  }
  const int u = static_cast<int>(2 * d.names.size() + d.z.size());
  std::vector<double> observed, sigma;
  for (int iteration = 0; iteration < 10; ++iteration) {
    const std::vector<double> f0 = Observe(g.input, d, observed, sigma);
    const int n = static_cast<int>(f0.size());
    Eigen::MatrixXd a(n, u);
    for (int k = 0; k < u; ++k) {
      Perturb(d, k, 1e-3);
      const std::vector<double> f1 = Observe(g.input, d, observed, sigma);
      Perturb(d, k, -2e-3);
      const std::vector<double> f2 = Observe(g.input, d, observed, sigma);
      Perturb(d, k, 1e-3);
      for (int i = 0; i < n; ++i) a(i, k) = (f1[i] - f2[i]) / 2e-3;
    }
    Eigen::VectorXd p(n), w(n);
    for (int i = 0; i < n; ++i) {
      p(i) = 1 / (sigma[i] * sigma[i]);
      w(i) = f0[i] - observed[i];
    }
    const Eigen::MatrixXd normal = a.transpose() * p.asDiagonal() * a;
    d.q = normal.inverse();
    const Eigen::VectorXd dx = -d.q * (a.transpose() * p.asDiagonal() * w);
    for (int k = 0; k < u; ++k) Perturb(d, k, dx(k));
    d.dof = n - u;
    if (dx.head(2 * d.names.size()).cwiseAbs().maxCoeff() < 1e-4) break;
  }
  const std::vector<double> f = Observe(g.input, d, observed, sigma);
  double vtpv = 0;
  for (std::size_t i = 0; i < f.size(); ++i) vtpv += std::pow(f[i] - observed[i], 2) / (sigma[i] * sigma[i]);
  d.sigma0 = std::sqrt(vtpv / d.dof);
  return d;
}

TEST(NetworkDense, SigmaZeroCoordinatesAndEllipsesAgreeWithADenseSolve) {
  const Generated g = MakeGrid();
  const network::NetworkOutcome outcome = network::AdjustNetwork(g.input);
  ASSERT_TRUE(outcome.ok()) << outcome.refusal->text;
  const network::NetworkResult& r = outcome.result;
  const Dense d = SolveDense(g);
  EXPECT_EQ(r.degreesOfFreedom, d.dof);
  EXPECT_NEAR(r.sigma0, d.sigma0, 1e-6 * d.sigma0);
  double redundancy = 0;
  for (const network::NetworkObservationResult& o : r.observations) redundancy += o.redundancy;
  EXPECT_NEAR(redundancy, r.degreesOfFreedom, 1e-6);  // the redundancy numbers add up to f
  int checked = 0;
  for (const network::NetworkPointResult& p : r.points) {
    if (p.known) continue;
    const int k = static_cast<int>(std::find(d.names.begin(), d.names.end(), p.name) - d.names.begin());
    ASSERT_LT(k, static_cast<int>(d.names.size()));
    SCOPED_TRACE(p.name);
    EXPECT_NEAR(p.x, d.xy.at(p.name).first, 2e-5);
    EXPECT_NEAR(p.y, d.xy.at(p.name).second, 2e-5);
    const Eigen::Matrix2d block = d.q.block(2 * k, 2 * k, 2, 2) * d.sigma0 * d.sigma0;
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2d> eigen(block);
    EXPECT_NEAR(p.ellipseA, std::sqrt(eigen.eigenvalues()(1)), 1e-4);
    EXPECT_NEAR(p.ellipseB, std::sqrt(eigen.eigenvalues()(0)), 1e-4);
    EXPECT_NEAR(p.sx, std::sqrt(block(0, 0)), 1e-4);
    EXPECT_NEAR(p.sy, std::sqrt(block(1, 1)), 1e-4);
    // The major axis: its azimuth's direction is the eigenvector of the larger value.
    const Eigen::Vector2d major = eigen.eigenvectors().col(1);
    const double t = p.ellipseAzimuth * std::numbers::pi / 180;
    EXPECT_NEAR(std::fabs(major(0) * std::cos(t) + major(1) * std::sin(t)), 1.0, 1e-6);
    ++checked;
  }
  EXPECT_EQ(checked, 17);
  EXPECT_TRUE(r.observations.at(r.largestResidual).largest);
}

TEST(NetworkDense, WithoutPrecisionTheCoordinatesAreTheSame) {
  const Generated g = MakeGrid();
  network::NetworkOptions quick;
  quick.precision = false;
  const network::NetworkOutcome full = network::AdjustNetwork(g.input), fast = AdjustNetwork(g.input, quick);
  ASSERT_TRUE(full.ok() && fast.ok());
  EXPECT_FALSE(fast.result.precisionComputed);
  for (std::size_t i = 0; i < full.result.points.size(); ++i) {
    EXPECT_EQ(full.result.points[i].x, fast.result.points[i].x);
    EXPECT_EQ(fast.result.points[i].ellipseA, 0);
  }
  EXPECT_EQ(full.result.sigma0, fast.result.sigma0);
}

}  // namespace
}  // namespace korvane
