#include "network/network_adjustment.h"

#include <algorithm>
#include <cmath>

#include "adjust/normal_solver.h"
#include "core/message_text.h"
#include "core/angles.h"
#include "network/network_datum.h"
#include "network/network_model.h"
#include "network/network_quality_figures.h"
#include "network/network_rows.h"
#include "network/network_traverses.h"

namespace korvane::network {
namespace {

using network::Model;
using network::NetworkRefusal;
using adjust::NormalSolver;
using network::Row;
using K = NetworkObservationKind;

// Corrections (mm) below which the iteration stops.
constexpr double kConvergedMm = 0.01;
// Corrections beyond 1000 km, or growing for five iterations, mean divergence.
constexpr double kDivergedMm = 1e9;

// The point (an X or Y column) or the direction set (its orientation column)
// an unknown belongs to; isSet tells which, name is empty for neither.
struct Owner {
  bool isSet = false;
  std::string name;
};

Owner OwnerOf(const Model& m, int column) {
  for (std::size_t i = 0; i < m.names.size(); ++i)
    if (m.column[i] >= 0 && (m.column[i] == column || m.column[i] + 1 == column)) return {false, Quoted(m.names[i])};
  for (std::size_t s = 0; s < m.setColumn.size(); ++s)
    if (m.setColumn[s] == column) return {true, Quoted(m.names[m.setStation[s]])};
  return {};
}

std::string UnknownName(const Model& m, int column) {
  const Owner owner = OwnerOf(m, column);
  if (owner.name.empty()) return "未知数";
  return owner.isSet ? "测站“" + owner.name + "”的方向组定向角" : "待定点“" + owner.name + "”";
}

// A vanishing pivot in a network too large for the QR's verdict.
Message BeyondFallback(const Model& m, int column, int limit) {
  const std::string why = "法方程在此数值奇异（网中未知数 " + std::to_string(m.unknowns) + " 个，多于 " +
                          std::to_string(limit) + " 个时不再以 QR 分解细判），";
  const Owner owner = OwnerOf(m, column);
  if (owner.name.empty()) return NetworkRefusal("网形无法确定：" + why + "请检查观测值和已知数据。");
  if (owner.isSet)
    return NetworkRefusal("测站“" + owner.name + "”的方向组定向角无法确定：" + why + "请检查该方向组的方向值。");
  return NetworkRefusal("点“" + owner.name + "”无法确定：" + why + "请检查与该点有关的观测值和已知数据。");
}

bool Finite(const Row& r) {
  return std::isfinite(r.w) && std::all_of(r.coef.begin(), r.coef.begin() + r.count, [](double c) { return std::isfinite(c); });
}

// The rows of every observation; an azimuth between known points constrains
// nothing and has none.
std::optional<Message> Rows(const Model& m, std::vector<Row>& rows) {
  rows.clear();
  rows.reserve(m.obs.size());
  for (const network::Observation& o : m.obs) {
    Row r = network::Linearise(m, o);
    if (!Finite(r))
      return NetworkRefusal("第 " + std::to_string(o.line) + " 行的观测值无法计算：点“" + Quoted(m.names[o.at]) + "”与“" +
                            Quoted(m.names[o.to]) + "”的坐标重合。");
    if (o.fixed() && r.count == 0) continue;
    rows.push_back(r);
  }
  return std::nullopt;
}

void Apply(Model& m, const Eigen::VectorXd& dx, double& largestMm) {
  largestMm = 0;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    if (m.column[i] < 0) continue;
    const double ddx = dx(m.column[i]), ddy = dx(m.column[i] + 1);
    m.x[i] += ddx / 1000;
    m.y[i] += ddy / 1000;
    largestMm = std::max({largestMm, std::fabs(ddx), std::fabs(ddy)});
  }
  for (std::size_t s = 0; s < m.setColumn.size(); ++s)
    m.orientation[s] = Wrap(m.orientation[s] + dx(m.setColumn[s]) / kRhoSeconds);
}

bool Stopped(const NetworkOptions& options) { return options.stopRequested && options.stopRequested(); }

std::optional<Message> Iterate(Model& m, const NetworkOptions& options, NormalSolver& solver, int& iterations) {
  double previous = kDivergedMm;
  int growing = 0;
  const NetworkDatum datum = FreeNetworkDatum(m);
  for (iterations = 1; iterations <= options.maxIterations; ++iterations) {
    if (Stopped(options)) return NetworkRefusal(kNetworkStopped);
    std::vector<Row> rows;
    if (auto refusal = Rows(m, rows)) return refusal;
    if (datum.free()) {
      // The inner constraints at the current coordinates.
      Eigen::MatrixXd g, c;
      DatumMatrices(m, datum, g, c);
      if (!solver.setDatum(g, c))
        return NetworkRefusal("自由网的基准点不能确定网的位置" + std::string(datum.rotation ? "、方向" : "") +
                              (datum.scale ? "和尺度" : "") + "：基准点重合或过少，请检查标 DATUM 的点。");
    }
    Eigen::VectorXd dx;
    if (!solver.solve(rows, m.unknowns, dx)) {
      if (solver.tooLarge()) return NetworkRefusal(adjust::FactorTooLarge(solver));
      const int col = solver.singularColumn();
      if (solver.beyondFallback()) return BeyondFallback(m, col, options.fallbackLimit);
      return NetworkRefusal("法方程奇异，" + (col >= 0 ? UnknownName(m, col) : std::string("网形")) +
                            "无法由观测值唯一确定（缺少观测或已知数据）。");
    }
    double largest = 0;
    Apply(m, dx, largest);
    if (!std::isfinite(largest) || largest > kDivergedMm || (growing = largest > previous ? growing + 1 : 0) >= 5)
      return NetworkRefusal("平差迭代发散：近似坐标与观测值不符，请检查观测值与点名。");
    if (largest < kConvergedMm) return std::nullopt;
    previous = largest;
  }
  return NetworkRefusal("平差迭代 " + std::to_string(options.maxIterations) + " 次后改正数仍未小于 0.01 mm，未收敛。");
}

}  // namespace

// Precision figures and traverse misclosures of a solved network (network_results.cpp).
void FillResult(const Model& m, const NetworkOptions& options, adjust::NormalSolver& solver, NetworkResult& r);

NetworkOutcome AdjustNetwork(const formats::NetworkInput& input, const NetworkOptions& options) {
  if (options.snoop || options.varianceComponents) return AdjustWithQuality(input, options);
  NetworkOutcome out;
  Model m;
  if (auto refusal = BuildModel(input, m)) {
    out.refusal = refusal;
    return out;
  }
  const std::vector<int> kept = KeepObservations(m, options);
  if (m.obs.empty()) {
    out.refusal = NetworkRefusal("网中没有观测值（DIR、ANGLE、DIST 或 AZI），无法平差。");
    return out;
  }
  if (m.unknowns == 0) {
    out.refusal = NetworkRefusal("网中没有待定点，也没有方向组，无需平差。");
    return out;
  }
  if (auto refusal = CheckDatumPoints(FreeNetworkDatum(m))) {
    out.refusal = refusal;
    return out;
  }
  if (auto refusal = Approximate(m)) {
    out.refusal = refusal;
    return out;
  }
  const Model approximate = m;
  NormalSolver solver(options.fallbackLimit);
  if (auto refusal = Iterate(m, options, solver, out.result.iterations)) {
    out.refusal = refusal;
    return out;
  }
  if (Stopped(options)) {
    out.refusal = NetworkRefusal(kNetworkStopped);
    return out;
  }
  FillResult(m, options, solver, out.result);
  for (std::size_t k = 0; k < kept.size(); ++k) out.result.observations[k].index = kept[k];
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    out.result.points[i].approxX = approximate.x[i];
    out.result.points[i].approxY = approximate.y[i];
  }
  out.result.traverses = FindTraverses(input, out.result, options);
  return out;
}

}  // namespace korvane::network
