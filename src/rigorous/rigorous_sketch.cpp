#include "rigorous/rigorous_sketch.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

void KnownPointMark(Sketch& sketch, double east, double north) {
  sketch.ops.push_back(SketchBox{east - 8, north - 8, east + 8, north + 8, kMagenta});
}

}  // namespace

Sketch RigorousSketch(const RigorousTable& table, const RigorousResult& result) {
  Sketch sketch;
  const int n = result.n;
  if (n < 1) return sketch;
  const double xA = ParseLenient(table.at(1, 2)), yA = ParseLenient(table.at(1, 3));
  const double xD = ParseLenient(table.at(table.connectRow(), 2));
  const double yD = ParseLenient(table.at(table.connectRow(), 3));

  // The stations and both orientation points set the area, widened by 250 m.
  double minX = std::min(xA, xD), maxX = std::max(xA, xD);
  double minY = std::min(yA, yD), maxY = std::max(yA, yD);
  for (int i = 0; i < n; ++i) {
    minX = std::min(minX, result.x[i]);
    maxX = std::max(maxX, result.x[i]);
    minY = std::min(minY, result.y[i]);
    maxY = std::max(maxY, result.y[i]);
  }
  sketch.ops.push_back(FrameWithLabels(minX, maxX, minY, maxY, 250));

  for (int i = 0; i < n; ++i) {
    sketch.ops.push_back(SketchPoint{result.y[i], result.x[i], kBlack});
    sketch.ops.push_back(SketchText{result.y[i], result.x[i], " " + Trim(result.names[i])});
  }
  for (int i = 0; i + 1 < n; ++i) {
    sketch.ops.push_back(SketchLine{result.y[i], result.x[i], result.y[i + 1], result.x[i + 1], kBlack});
  }
  // Every new point gets the ellipse of the side that ends there.
  for (int i = 0; i + 2 < n; ++i) {
    const double ratio = result.ellipseX[i] / result.ellipseY[i];
    sketch.ops.push_back(SketchEllipse{result.y[i + 1], result.x[i + 1], result.ellipseRadius[i], ratio, kRed});
  }

  sketch.ops.push_back(SketchPoint{yA, xA, kBlack});
  KnownPointMark(sketch, yA, xA);
  sketch.ops.push_back(SketchText{yA, xA, " " + Trim(table.at(1, 1)) + "(定向)"});
  sketch.ops.push_back(SketchPoint{yD, xD, kBlack});
  KnownPointMark(sketch, yD, xD);
  sketch.ops.push_back(SketchText{yD, xD, " " + Trim(table.at(table.connectRow(), 1)) + "(附合方向)"});
  KnownPointMark(sketch, result.y[0], result.x[0]);
  KnownPointMark(sketch, result.y[n - 1], result.x[n - 1]);

  sketch.ops.push_back(SketchWidth{2});
  sketch.ops.push_back(SketchLine{yA, xA, result.y[0], result.x[0], kCyan});
  sketch.ops.push_back(SketchLine{yD, xD, result.y[n - 1], result.x[n - 1], kCyan});
  return sketch;
}

}  // namespace korvane
