#include "export/figures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "core/numbers.h"
#include "core/text_utils.h"
#include "network/network_sketch.h"
#include "traverse/rigorous_sketch.h"
#include "cogo/figure_text.h"

namespace korvane::exporting {
namespace {

using formats::TraverseKind;
using traverse::TraversePoints;
using network::NetworkObservationKind;
using network::NetworkObservationResult;
using network::NetworkPointResult;

void Leg(Figure& f, const FigurePoint& a, const FigurePoint& b) { f.lines.push_back({a.x, a.y, b.x, b.y}); }

const char* KindName(TraverseKind kind) {
  switch (kind) {
    case TraverseKind::Connecting: return "附合导线";
    case TraverseKind::Closed: return "闭合导线";
    case TraverseKind::Open: return "支导线";
    case TraverseKind::NoOrientation: return "无定向导线";
  }
  return "导线";
}

// Known points read from their typed coordinates, already accepted by the computation.
std::vector<cogo::PlanePoint> TypedPoints(const std::vector<std::string>& texts, int count) {
  std::vector<cogo::FigureField> fields;
  for (int i = 0; i < 2 * count; ++i) fields.push_back({std::string(i % 2 ? "Y" : "X"), cogo::FigureKind::Coordinate});
  const cogo::Figures read = cogo::ReadFigures(texts, fields);
  std::vector<cogo::PlanePoint> points;
  if (read.refusal) return points;
  for (int i = 0; i < count; ++i) points.push_back({*read.values[2 * i], *read.values[2 * i + 1]});
  return points;
}

FigurePoint Known(std::string name, const cogo::PlanePoint& p) {
  FigurePoint f;
  f.name = std::move(name);
  f.x = p.x;
  f.y = p.y;
  f.role = PointRole::Known;
  return f;
}

}  // namespace

Figure SimpleFigure(formats::TraverseKind kind, const traverse::TraversePoints& in) {
  Figure f;
  const std::size_t n = in.names.size();
  if (n == 0) return f;
  f.title = std::string(KindName(kind)) + "(" + in.names.front() + "—" + in.names.back() + ")";
  std::vector<FigurePoint> stations;
  for (std::size_t i = 0; i < n; ++i) {
    FigurePoint p;
    p.name = in.names[i];
    p.x = in.x[i];
    p.y = in.y[i];
    p.h = in.h[i];
    p.role = in.known[i] ? PointRole::Known : PointRole::New;
    stations.push_back(p);
  }
  // A closed traverse ends on its first station, the known point: the point
  // is drawn and listed once, the last leg ends on its given coordinates
  // (the results carried round may miss them by a millimetre).
  if (kind == TraverseKind::Closed && n > 1) stations.back() = stations.front();
  for (std::size_t i = 0; i + 1 < n; ++i) Leg(f, stations[i], stations[i + 1]);
  if (kind == TraverseKind::Closed && n > 1) stations.pop_back();
  f.points = stations;
  for (const TraversePoints::Orientation& o : in.orientations) {
    FigurePoint p = Known(o.label, {o.x, o.y});
    p.listed = false;
    f.points.push_back(p);
    f.lines.push_back({o.fromX, o.fromY, o.x, o.y});
  }
  for (const SketchEllipse& e : in.ellipses) f.ellipses.push_back(AxisEllipse(e.north, e.east, e.radius, e.ratio));
  f.magnification = in.magnification;
  return f;
}

Figure RigorousFigure(const formats::RigorousTable& table, const traverse::RigorousResult& r) {
  Figure f;
  const int n = r.n;
  if (n < 2) return f;
  const int d = table.connectRow();
  f.title = "附合导线(" + Trim(table.at(2, 1)) + "—" + Trim(table.at(table.endRow(), 1)) + ")平差成果";
  const FigurePoint a = Known(Trim(table.at(1, 1)), {ParseLenient(table.at(1, 2)), ParseLenient(table.at(1, 3))});
  const FigurePoint dPoint = Known(Trim(table.at(d, 1)), {ParseLenient(table.at(d, 2)), ParseLenient(table.at(d, 3))});
  f.points.push_back(a);
  for (int i = 0; i < n; ++i) {
    FigurePoint p;
    p.name = Trim(table.stationName(i));
    p.x = r.x[i];
    p.y = r.y[i];
    p.h = r.h[i];
    const bool known = i == 0 || i == n - 1;
    p.role = known ? PointRole::Known : PointRole::New;
    if (!known) {
      // The new point carries the figures of the side ending there, as the sketch draws them.
      p.mx = std::fabs(r.vx(i - 1)) * 1000;
      p.my = std::fabs(r.vy(i - 1)) * 1000;
      p.mp = r.pointErrorMm(i - 1);
      const double radius = r.ellipseRadius(i - 1);
      f.ellipses.push_back(AxisEllipse(p.x, p.y, radius, r.ellipseX(i - 1) / r.ellipseY(i - 1)));
    }
    f.points.push_back(p);
  }
  f.points.push_back(dPoint);
  for (std::size_t i = 0; i + 1 < f.points.size(); ++i) Leg(f, f.points[i], f.points[i + 1]);
  f.magnification = RigorousEllipseMagnification(table, r);
  return f;
}

Figure NetworkFigure(const network::NetworkResult& r) {
  Figure f;
  f.title = "导线网严密平差";
  std::map<std::string, std::size_t> index;
  for (const NetworkPointResult& p : r.points) {
    index[p.name] = f.points.size();
    FigurePoint q;
    q.name = p.name;
    q.x = p.x;
    q.y = p.y;
    q.role = p.known ? PointRole::Known : PointRole::New;
    if (!p.known && r.precisionComputed) {
      q.mx = p.sx;
      q.my = p.sy;
      q.mp = p.sp;
      if (p.ellipseA > 0) f.ellipses.push_back({p.x, p.y, p.ellipseA, p.ellipseB, p.ellipseAzimuth});
    }
    f.points.push_back(q);
  }
  // Each observed side once, whichever way it was measured.
  std::set<std::pair<std::size_t, std::size_t>> sides;
  for (const NetworkObservationResult& o : r.observations) {
    if (o.kind != NetworkObservationKind::Distance) continue;
    const auto a = index.find(o.station), b = index.find(o.target);
    if (a == index.end() || b == index.end()) continue;
    const auto key = std::minmax(a->second, b->second);
    if (sides.insert(key).second) Leg(f, f.points[key.first], f.points[key.second]);
  }
  // The relative ellipse of every observed pair, at the middle of its side.
  for (const network::NetworkRelativeAccuracy& side : r.relative) {
    if (side.ellipseA <= 0) continue;
    const NetworkPointResult& a = r.points[static_cast<std::size_t>(side.from)];
    const NetworkPointResult& b = r.points[static_cast<std::size_t>(side.to)];
    f.relativeEllipses.push_back(
        {(a.x + b.x) / 2, (a.y + b.y) / 2, side.ellipseA, side.ellipseB, side.ellipseAzimuth});
  }
  f.magnification = EllipseExaggeration(r);
  return f;
}

Figure GaussFigure(const std::string& title, const std::vector<std::string>& lines) {
  Figure f;
  f.title = title;
  for (const std::string& line : lines) {
    const std::vector<std::string> fields = Split(line, ',');
    if (fields.size() < 3) continue;
    FigurePoint p;
    p.name = fields[0];
    p.x = ParseLenient(fields[1]);
    p.y = ParseLenient(fields[2]);
    if (fields.size() > 3 && IsNumericCell(Trim(fields[3])) == CellCheck::Valid) p.h = ParseLenient(fields[3]);
    p.role = PointRole::Known;
    f.points.push_back(p);
  }
  return f;
}

Figure IntersectionFigure(const std::string& title, const std::vector<std::string>& texts,
                          const cogo::intersection::Result& result) {
  Figure f;
  f.title = title;
  const std::vector<cogo::PlanePoint> known = TypedPoints(texts, 2);
  if (known.size() != 2 || result.refusal) return f;
  f.points = {Known("A", known[0]), Known("B", known[1])};
  FigurePoint p;
  p.name = "P";
  p.x = result.p.x;
  p.y = result.p.y;
  f.points.push_back(p);
  Leg(f, f.points[0], f.points[1]);
  Leg(f, f.points[0], p);
  Leg(f, f.points[1], p);
  return f;
}

Figure ResectionFigure(const std::vector<std::string>& texts, const cogo::resection::Result& result) {
  Figure f;
  f.title = "后方交会";
  const std::vector<cogo::PlanePoint> known = TypedPoints(texts, 3);
  if (known.size() != 3 || result.refusal) return f;
  f.points = {Known("A", known[0]), Known("B", known[1]), Known("C", known[2])};
  FigurePoint p;
  p.name = "P";
  p.x = result.p.x;
  p.y = result.p.y;
  for (int i = 0; i < 3; ++i) Leg(f, p, f.points[static_cast<std::size_t>(i)]);
  f.points.push_back(p);
  return f;
}

std::vector<HeightPoint> LevelHeights(const levelling::LevelResult& result) {
  std::vector<HeightPoint> points;
  std::set<std::string> seen;
  for (const levelling::PointResult& p : result.points) {
    // A loop returns to its benchmark: each point once.
    if (!seen.insert(p.name).second) continue;
    HeightPoint h{p.name, p.height, std::nullopt};
    if (!p.known && std::isfinite(p.errorMm)) h.mh = p.errorMm;
    points.push_back(h);
  }
  return points;
}

}  // namespace korvane::exporting
