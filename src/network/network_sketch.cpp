#include "network/network_sketch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "core/angles.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;

struct Extent {
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  double span() const { return std::max({maxX - minX, maxY - minY, 1.0}); }
};

Extent ExtentOf(const NetworkResult& r) {
  Extent e;
  for (const NetworkPointResult& p : r.points) {
    e.minX = std::min(e.minX, p.x);
    e.maxX = std::max(e.maxX, p.x);
    e.minY = std::min(e.minY, p.y);
    e.maxY = std::max(e.maxY, p.y);
  }
  return e;
}

void Triangle(Sketch& s, double x, double y, double size) {
  const double h = size, w = size * 0.866;
  s.ops.push_back(SketchLine{y - w, x - h / 2, y + w, x - h / 2, kRed});
  s.ops.push_back(SketchLine{y + w, x - h / 2, y, x + h, kRed});
  s.ops.push_back(SketchLine{y, x + h, y - w, x - h / 2, kRed});
}

// The ellipse as a closed polygon of 48 sides; a (major) along the azimuth.
void EllipsePolygon(Sketch& s, const NetworkPointResult& p, double scale) {
  const double t = DegreesToRadians(p.ellipseAzimuth);
  const double a = p.ellipseA * scale, b = p.ellipseB * scale;
  double px = 0, py = 0;
  for (int k = 0; k <= 48; ++k) {
    const double u = 2 * kTruePi * k / 48;
    const double along = a * std::cos(u), across = b * std::sin(u);
    const double x = p.x + along * std::cos(t) - across * std::sin(t);
    const double y = p.y + along * std::sin(t) + across * std::cos(t);
    if (k > 0) s.ops.push_back(SketchLine{py, px, y, x, kCyan});
    px = x;
    py = y;
  }
}

void Lines(Sketch& s, const NetworkResult& r, const std::map<std::string, int>& index) {
  std::set<std::pair<int, int>> sides, sights;
  for (const NetworkObservationResult& o : r.observations) {
    const int a = index.at(o.station), b = index.at(o.target);
    const auto key = std::pair{std::min(a, b), std::max(a, b)};
    (o.kind == K::Distance ? sides : sights).insert(key);
    if (o.kind == K::Angle) {
      const int c = index.at(o.back);
      sights.insert({std::min(a, c), std::max(a, c)});
    }
  }
  const auto draw = [&](const std::pair<int, int>& k) {
    const NetworkPointResult &p = r.points[k.first], &q = r.points[k.second];
    s.ops.push_back(SketchLine{p.y, p.x, q.y, q.x, kBlack});
  };
  s.ops.push_back(SketchStyle{LineStyle::Dotted});
  for (const auto& k : sights)
    if (!sides.count(k)) draw(k);
  s.ops.push_back(SketchStyle{LineStyle::Solid});
  for (const auto& k : sides) draw(k);
}

std::string Times(double factor) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.0f", factor);
  return buffer;
}

}  // namespace

double EllipseExaggeration(const NetworkResult& r) {
  double largest = 0;
  for (const NetworkPointResult& p : r.points) largest = std::max(largest, p.ellipseA);
  return EllipseMagnification(largest, ExtentOf(r).span() / 20);
}

Sketch NetworkSketch(const NetworkResult& r, double exaggeration) {
  Sketch s;
  if (r.points.empty()) return s;
  const Extent e = ExtentOf(r);
  const double margin = e.span() * 0.08;
  const SketchScale frame = FrameWithLabels(e.minX, e.maxX, e.minY, e.maxY, margin);
  s.ops.push_back(frame);
  s.ops.push_back(SketchText{frame.left, frame.top, "误差椭圆放大 " + Times(exaggeration) + " 倍"});
  std::map<std::string, int> index;
  for (std::size_t i = 0; i < r.points.size(); ++i) index[r.points[i].name] = static_cast<int>(i);
  s.ops.push_back(SketchWidth{1});
  Lines(s, r, index);
  if (r.largestResidual >= 0) {
    const NetworkObservationResult& o = r.observations[r.largestResidual];
    const NetworkPointResult &p = r.points[index.at(o.station)], &q = r.points[index.at(o.target)];
    s.ops.push_back(SketchWidth{3});
    s.ops.push_back(SketchLine{p.y, p.x, q.y, q.x, kMagenta});
    s.ops.push_back(SketchText{(p.y + q.y) / 2, (p.x + q.x) / 2, "最大残差"});
    s.ops.push_back(SketchWidth{1});
  }
  const double scale = exaggeration / 1000;
  for (const NetworkPointResult& p : r.points) {
    if (p.known) Triangle(s, p.x, p.y, e.span() / 60);
    s.ops.push_back(SketchPoint{p.y, p.x, p.known ? kRed : kBlack});
    if (!p.known && p.ellipseA > 0) EllipsePolygon(s, p, scale);
    s.ops.push_back(SketchText{p.y, p.x, p.name});
  }
  return s;
}

}  // namespace korvane::network
