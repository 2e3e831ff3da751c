#include "traverse/rigorous_sketch.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/survey_constants.h"
#include "core/text_utils.h"

namespace korvane::traverse {
namespace {

void KnownPointMark(const SketchSink& draw, double east, double north) {
  draw(SketchBox{east - 8, north - 8, east + 8, north + 8, kMagenta});
}

// The stations and both orientation points set the area, widened by 250 m.
SketchScale RigorousFrame(const formats::RigorousTable& table, const RigorousResult& result) {
  const double xA = ParseLenient(table.at(1, 2)), yA = ParseLenient(table.at(1, 3));
  const double xD = ParseLenient(table.at(table.connectRow(), 2));
  const double yD = ParseLenient(table.at(table.connectRow(), 3));
  double minX = std::min(xA, xD), maxX = std::max(xA, xD);
  double minY = std::min(yA, yD), maxY = std::max(yA, yD);
  for (int i = 0; i < result.n; ++i) {
    minX = std::min(minX, result.x[i]);
    maxX = std::max(maxX, result.x[i]);
    minY = std::min(minY, result.y[i]);
    maxY = std::max(maxY, result.y[i]);
  }
  return FrameWithLabels(minX, maxX, minY, maxY, 250);
}

}  // namespace

double RigorousEllipseMagnification(const formats::RigorousTable& table, const RigorousResult& result) {
  double largest = 0;
  for (int i = 0; i + 2 < result.n; ++i) largest = std::max(largest, result.ellipseRadius(i));
  // The picture shows the frame whole at one scale: its shorter side in
  // metres may be the frame's longer one.
  const SketchScale frame = RigorousFrame(table, result);
  const double metresPerPixel = std::max((frame.right - frame.left) / kRigorousSketchWidth,
                                         (frame.top - frame.bottom) / kRigorousSketchHeight);
  const double shorter = std::min(kRigorousSketchWidth, kRigorousSketchHeight) * metresPerPixel;
  return EllipseMagnification(largest, shorter / 30);
}

void DrawRigorousSketch(const formats::RigorousTable& table, const RigorousResult& result, const SketchSink& draw) {
  const int n = result.n;
  if (n < 1) return;
  const double xA = ParseLenient(table.at(1, 2)), yA = ParseLenient(table.at(1, 3));
  const double xD = ParseLenient(table.at(table.connectRow(), 2));
  const double yD = ParseLenient(table.at(table.connectRow(), 3));
  const SketchScale frame = RigorousFrame(table, result);
  draw(frame);

  for (int i = 0; i < n; ++i) {
    draw(SketchPoint{result.y[i], result.x[i], kBlack});
    draw(SketchText{result.y[i], result.x[i], " " + Trim(table.stationName(i))});
  }
  for (int i = 0; i + 1 < n; ++i) {
    draw(SketchLine{result.y[i], result.x[i], result.y[i + 1], result.x[i + 1], kBlack});
  }
  // Every new point gets the ellipse of the side that ends there, all
  // enlarged alike so that the largest can be seen.
  if (n > 2) {
    const double times = RigorousEllipseMagnification(table, result);
    draw(SketchText{frame.left, frame.top, EllipseMagnificationText(times)});
    for (int i = 0; i + 2 < n; ++i) {
      const double ratio = result.ellipseX(i) / result.ellipseY(i);
      const double radius = result.ellipseRadius(i) * times / kMillimetresPerMetre;
      draw(SketchEllipse{result.y[i + 1], result.x[i + 1], radius, ratio, kRed});
    }
  }

  draw(SketchPoint{yA, xA, kBlack});
  KnownPointMark(draw, yA, xA);
  draw(SketchText{yA, xA, " " + Trim(table.at(1, 1)) + "(定向)"});
  draw(SketchPoint{yD, xD, kBlack});
  KnownPointMark(draw, yD, xD);
  draw(SketchText{yD, xD, " " + Trim(table.at(table.connectRow(), 1)) + "(附合方向)"});
  KnownPointMark(draw, result.y[0], result.x[0]);
  KnownPointMark(draw, result.y[n - 1], result.x[n - 1]);

  draw(SketchWidth{2});
  draw(SketchLine{yA, xA, result.y[0], result.x[0], kCyan});
  draw(SketchLine{yD, xD, result.y[n - 1], result.x[n - 1], kCyan});
}

Sketch RigorousSketch(const formats::RigorousTable& table, const RigorousResult& result) {
  Sketch sketch;
  DrawRigorousSketch(table, result, [&](const SketchOp& op) { sketch.ops.push_back(op); });
  return sketch;
}

}  // namespace korvane::traverse
