#include "network/network_rows.h"

#include <cmath>

#include "core/angles.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;

// Partial derivatives of the azimuth a -> b (seconds per mm) added to the row
// with the given sign.
void AddAzimuth(const Model& m, int a, int b, double sign, Row& row) {
  const double dx = m.x[b] - m.x[a], dy = m.y[b] - m.y[a];
  const double s2 = (dx * dx + dy * dy) * 1000;
  const double ax = sign * kRhoSeconds * dy / s2, ay = -sign * kRhoSeconds * dx / s2;
  if (m.column[a] >= 0) {
    row.add(m.column[a], ax);
    row.add(m.column[a] + 1, ay);
  }
  if (m.column[b] >= 0) {
    row.add(m.column[b], -ax);
    row.add(m.column[b] + 1, -ay);
  }
}

}  // namespace

double Computed(const Model& m, const Observation& o) {
  const auto az = [&m](int a, int b) { return Azimuth(m.x[a], m.y[a], m.x[b], m.y[b]); };
  switch (o.kind) {
    case K::Direction: return Wrap(az(o.at, o.to) - m.orientation[o.set]);
    case K::Angle: return Wrap(az(o.at, o.to) - az(o.at, o.back));
    case K::Azimuth: return az(o.at, o.to);
    case K::Distance: return std::hypot(m.x[o.to] - m.x[o.at], m.y[o.to] - m.y[o.at]);
  }
  return 0;
}

Row Linearise(const Model& m, const Observation& o) {
  Row row;
  const double computed = Computed(m, o);
  if (o.kind == K::Distance) {
    const double dx = m.x[o.to] - m.x[o.at], dy = m.y[o.to] - m.y[o.at];
    const double s = std::hypot(dx, dy);
    if (m.column[o.at] >= 0) {
      row.add(m.column[o.at], -dx / s);
      row.add(m.column[o.at] + 1, -dy / s);
    }
    if (m.column[o.to] >= 0) {
      row.add(m.column[o.to], dx / s);
      row.add(m.column[o.to] + 1, dy / s);
    }
    row.w = (computed - o.value) * 1000;
    row.weight = 1 / (o.sigma * o.sigma);
    return row;
  }
  AddAzimuth(m, o.at, o.to, 1, row);
  if (o.kind == K::Angle) AddAzimuth(m, o.at, o.back, -1, row);
  if (o.kind == K::Direction) row.add(m.setColumn[o.set], -1);
  row.w = WrapSigned(computed - o.value) * kRhoSeconds;
  const double sigma = o.fixed() ? kFixedAzimuthSigma : o.sigma;
  row.weight = 1 / (sigma * sigma);
  return row;
}

}  // namespace korvane::network
