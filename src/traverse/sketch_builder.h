#pragma once
// The sketches of the simple traverses as drawing operations in survey
// coordinates: points and names, black legs, red ellipses, cyan dotted
// orientation lines.
#include <string>
#include <vector>

#include "core/sketch.h"

namespace korvane::traverse {

struct SketchPlace {
  double x = 0, y = 0;  // northing, easting
};

// Ellipse of a new point from its coordinate corrections in millimetres: a
// correction of exactly 0 counts as 2; radius √(ex² + ey²) in millimetres,
// ratio ex / ey.
SketchEllipse CorrectionEllipse(const SketchPlace& at, double correctionX, double correctionY);

struct TraverseSketchInput {
  std::vector<std::string> names;
  std::vector<SketchPlace> points;
  // Extra places that widen the drawing (orientation points).
  std::vector<SketchPlace> extent;
  // Radii in millimetres: the sketch enlarges them all by one 1-2-5 step.
  std::vector<SketchEllipse> ellipses;
  struct Orientation {
    SketchPlace from, to;
    std::string label;  // printed at `to`; empty for none
  };
  std::vector<Orientation> orientations;
};

// The scale (bounding box widened by 400 m), the points with their names
// (a closed traverse's last point, its first again, is not named twice), the
// legs, the ellipses enlarged so that the largest is about a thirtieth of the
// shorter side, with a caption saying how many times, then the orientation
// points and dotted lines.
Sketch BuildTraverseSketch(const TraverseSketchInput& input);
// The sketch's rectangle and how many times it enlarges the ellipses.
SketchScale TraverseSketchFrame(const TraverseSketchInput& input);
double TraverseSketchMagnification(const TraverseSketchInput& input);

// The point at a distance from (x0, y0) along an azimuth in decimal degrees,
// rounded to millimetres.
SketchPlace PointAlong(double x0, double y0, double azimuthDegrees, double distance);

}  // namespace korvane::traverse
