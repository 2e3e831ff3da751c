#include "network/network_datum.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/message_text.h"

namespace korvane::network {

using K = NetworkObservationKind;

NetworkDatum FreeNetworkDatum(const Model& m) {
  NetworkDatum datum;
  if (!m.free) return datum;
  for (std::size_t i = 0; i < m.names.size(); ++i)
    if (m.datum[i]) datum.points.push_back(m.names[i]);
  // A fixed azimuth in a free network is held like an observed one.
  const auto has = [&m](K kind) {
    return std::any_of(m.obs.begin(), m.obs.end(), [kind](const Observation& o) { return o.kind == kind; });
  };
  datum.rotation = !has(K::Azimuth);
  datum.scale = !has(K::Distance);
  return datum;
}

std::optional<Message> CheckDatumPoints(const NetworkDatum& datum) {
  if (!datum.free() || datum.points.size() >= 2 || !(datum.rotation || datum.scale)) return std::nullopt;
  return NetworkRefusal("自由网只有一个基准点“" + Quoted(datum.points.front()) + "”，不能确定网的" +
                        (datum.rotation ? std::string("旋转") : std::string("尺度")) +
                        "：请至少给出两个基准点（POINT, 点名, X, Y, DATUM）" +
                        (datum.rotation ? "，或观测方位角" : "，或观测距离") + "。");
}

void DatumMatrices(const Model& m, const NetworkDatum& datum, Eigen::MatrixXd& g, Eigen::MatrixXd& c) {
  const int k = datum.defect();
  g = Eigen::MatrixXd::Zero(m.unknowns, k);
  c = Eigen::MatrixXd::Zero(k, m.unknowns);
  // Rotation and scale about the centroid of the datum points, so that the
  // columns are nearly orthogonal.
  double cx = 0, cy = 0;
  int n = 0;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    if (!m.datum[i]) continue;
    cx += m.x[i];
    cy += m.y[i];
    ++n;
  }
  if (n > 0) cx /= n, cy /= n;
  // Distances in units of the datum points' spread, so that the rotation and
  // scale columns weigh as much as the shifts whatever the network's size.
  double spread = 0;
  for (std::size_t i = 0; i < m.names.size(); ++i)
    if (m.datum[i]) spread += ((m.x[i] - cx) * (m.x[i] - cx) + (m.y[i] - cy) * (m.y[i] - cy)) / n;
  spread = spread > 0 ? std::sqrt(spread) : 1;
  const int rotation = datum.rotation ? 2 : -1;
  const int scale = datum.scale ? (datum.rotation ? 3 : 2) : -1;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    const int col = m.column[i];
    if (col < 0) continue;
    const double dx = (m.x[i] - cx) / spread, dy = (m.y[i] - cy) / spread;
    g(col, 0) = 1;
    g(col + 1, 1) = 1;
    if (rotation >= 0) {
      g(col, rotation) = -dy;
      g(col + 1, rotation) = dx;
    }
    if (scale >= 0) {
      g(col, scale) = dx;
      g(col + 1, scale) = dy;
    }
  }
  // A rotation that moves a point at the spread by 1 mm turns every azimuth,
  // and so every set's orientation, by 0.001 / spread rad.
  if (rotation >= 0)
    for (int col : m.setColumn) g(col, rotation) = kRhoSeconds / 1000 / spread;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    if (!m.datum[i] || m.column[i] < 0) continue;
    c.col(m.column[i]) = g.row(m.column[i]).transpose();
    c.col(m.column[i] + 1) = g.row(m.column[i] + 1).transpose();
  }
}

std::string DatumText(const NetworkDatum& datum) {
  std::string names;
  for (const std::string& p : datum.points) names += (names.empty() ? "" : ", ") + p;
  std::string removed = "两个平移";
  if (datum.rotation) removed += "、旋转";
  if (datum.scale) removed += "、尺度";
  return "自由网：基准点 " + names + "；最小范数解消除秩亏 " + std::to_string(datum.defect()) + "（" + removed + "）";
}

}  // namespace korvane::network
