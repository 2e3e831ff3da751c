#include "traverse/sketch_builder.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/survey_constants.h"

namespace korvane::traverse {
namespace {

constexpr double kMargin = 400;
constexpr double kZeroCorrection = 2;

}  // namespace

SketchEllipse CorrectionEllipse(const SketchPlace& at, double correctionX, double correctionY) {
  const double ex = correctionX == 0 ? kZeroCorrection : std::fabs(correctionX);
  const double ey = correctionY == 0 ? kZeroCorrection : std::fabs(correctionY);
  return SketchEllipse{at.y, at.x, std::sqrt(ex * ex + ey * ey), ex / ey, kRed};
}

SketchPlace PointAlong(double x0, double y0, double azimuthDegrees, double distance) {
  const double a = azimuthDegrees * kTraverseDegreeFactor;
  return SketchPlace{RoundFixed(x0 + distance * std::cos(a), "#0.000"),
                     RoundFixed(y0 + distance * std::sin(a), "#0.000")};
}

SketchScale TraverseSketchFrame(const TraverseSketchInput& in) {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool first = true;
  auto widen = [&](const SketchPlace& p) {
    if (first) {
      minX = maxX = p.x;
      minY = maxY = p.y;
      first = false;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  };
  for (const SketchPlace& p : in.points) widen(p);
  for (const SketchPlace& p : in.extent) widen(p);
  return FrameWithLabels(minX, maxX, minY, maxY, kMargin);
}

double TraverseSketchMagnification(const TraverseSketchInput& in) {
  double largest = 0;
  for (const SketchEllipse& e : in.ellipses) largest = std::max(largest, e.radius);
  return TraverseEllipseMagnification(largest, TraverseSketchFrame(in));
}

Sketch BuildTraverseSketch(const TraverseSketchInput& in) {
  Sketch sketch;
  auto& ops = sketch.ops;
  ops.reserve(in.points.size() * 4 + in.orientations.size() * 3 + 4);
  const SketchScale frame = TraverseSketchFrame(in);
  ops.push_back(frame);

  auto nameOf = [&](std::size_t i) { return i < in.names.size() ? in.names[i] : std::string(); };
  for (std::size_t i = 0; i < in.points.size(); ++i) {
    const SketchPlace& p = in.points[i];
    ops.push_back(SketchPoint{p.y, p.x, kBlack});
    const SketchPlace& start = in.points.front();
    const bool backOnFirst = i > 0 && p.x == start.x && p.y == start.y && nameOf(i) == nameOf(0);
    if (!backOnFirst) ops.push_back(SketchText{p.y, p.x, nameOf(i)});
  }
  for (std::size_t i = 0; i + 1 < in.points.size(); ++i) {
    const SketchPlace& a = in.points[i];
    const SketchPlace& b = in.points[i + 1];
    ops.push_back(SketchLine{a.y, a.x, b.y, b.x, kBlack});
  }
  if (!in.ellipses.empty()) {
    const double times = TraverseSketchMagnification(in);
    ops.push_back(SketchText{frame.left, frame.top, EllipseMagnificationText(times)});
    const double metres = times / kMillimetresPerMetre;
    for (SketchEllipse e : in.ellipses) {
      e.radius *= metres;
      ops.push_back(e);
    }
  }

  if (!in.orientations.empty()) {
    for (const auto& o : in.orientations) {
      ops.push_back(SketchPoint{o.to.y, o.to.x, kBlack});
      if (!o.label.empty()) ops.push_back(SketchText{o.to.y, o.to.x, o.label});
    }
    ops.push_back(SketchStyle{LineStyle::Dotted});
    for (const auto& o : in.orientations)
      ops.push_back(SketchLine{o.from.y, o.from.x, o.to.y, o.to.x, kCyan});
    ops.push_back(SketchStyle{LineStyle::Solid});
  }
  return sketch;
}

}  // namespace korvane::traverse
