#pragma once
// A sketch of a traverse as a list of drawing operations in survey
// coordinates (metres). Horizontal coordinates are eastings (Y), vertical
// ones northings (X); the scale operation fixes which rectangle is shown.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace korvane {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kMagenta{255, 0, 255};

// User coordinate system: left edge (smallest easting), top edge (largest
// northing), right edge, bottom edge.
struct SketchScale { double left, top, right, bottom; };
// A point mark.
struct SketchPoint { double east, north; Rgb color; };
struct SketchLine { double east1, north1, east2, north2; Rgb color; };
struct SketchBox { double east1, north1, east2, north2; Rgb color; };
// Ellipse centred on a point; radius is the longer semi-axis and ratio the
// vertical-to-horizontal ratio: ratio >= 1 makes the vertical semi-axis the
// radius and the horizontal one radius / ratio, ratio < 1 makes the
// horizontal one the radius and the vertical one radius * ratio.
struct SketchEllipse { double east, north, radius, ratio; Rgb color; };
// Text printed with its upper-left corner at the given point.
struct SketchText { double east, north; std::string text; };
struct SketchWidth { int width; };
enum class LineStyle { Solid, Dotted };
struct SketchStyle { LineStyle style; };

using SketchOp = std::variant<SketchScale, SketchPoint, SketchLine, SketchBox, SketchEllipse,
                              SketchText, SketchWidth, SketchStyle>;

struct Sketch {
  std::vector<SketchOp> ops;
};

// Receives a sketch's operations one at a time, in drawing order.
using SketchSink = std::function<void(const SketchOp&)>;
// Hands a sketch's operations to the sink as they are made, so that the
// sketch of a long traverse is drawn without being held whole.
using SketchSource = std::function<void(const SketchSink&)>;

// The rectangle a sketch shows around the points it draws (northings minX..maxX,
// eastings minY..maxY): `margin` metres on every side, and room for the
// labels, which hang to the right of and below their points, so that no name
// is cut at the picture's edge.
inline SketchScale FrameWithLabels(double minX, double maxX, double minY, double maxY, double margin) {
  const double left = minY - margin, right = maxY + margin;
  const double top = maxX + margin, bottom = minX - margin;
  const double span = std::max(right - left, top - bottom);
  return SketchScale{left, top, right + 0.2 * span, bottom - 0.05 * span};
}

// How many times the error ellipses of a sketch are enlarged: the step of 1,
// 2, 5, 10, 20, 50, … that brings the largest semi-axis, in millimetres, to
// at most `wanted` metres of the sketch; 1 when there is nothing to enlarge.
inline double EllipseMagnification(double largestMm, double wanted) {
  if (!(largestMm > 0) || !(wanted > 0)) return 1;
  const double times = wanted / (largestMm / 1000);
  if (!std::isfinite(times)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(times)));
  for (double step : {5.0, 2.0, 1.0})
    if (step * power <= times) return std::max(1.0, step * power);
  return std::max(1.0, power);
}
// The magnification of the ellipses of a sketch drawn in the frame's own
// proportions: the largest about a thirtieth of its shorter side.
inline double TraverseEllipseMagnification(double largestMm, const SketchScale& frame) {
  const double shorter = std::min(frame.right - frame.left, frame.top - frame.bottom);
  return EllipseMagnification(largestMm, shorter / 30);
}
// The caption that says so.
inline std::string EllipseMagnificationText(double magnification) {
  return "误差椭圆放大" + std::to_string(std::llround(magnification)) + "倍";
}

}  // namespace korvane
