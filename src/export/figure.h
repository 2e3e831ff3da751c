#pragma once
// The adjusted points of a computation as they leave the program: for a CAD
// drawing and for a coordinate list. Survey axes throughout: X north, Y east,
// metres; the drawing turns them into CAD axes.
#include <optional>
#include <string>
#include <vector>

namespace korvane::exporting {

enum class PointRole { Known, New };

struct FigurePoint {
  std::string name;
  double x = 0, y = 0;  // northing, easting, metres
  std::optional<double> h;
  PointRole role = PointRole::New;
  // Standard errors in millimetres where the method gives them (all three or none).
  std::optional<double> mx, my, mp;
  // Whether the point belongs in the coordinate list: orientation points drawn
  // under a label rather than a name stay out of it.
  bool listed = true;
};

// A traverse leg or an observed side.
struct FigureLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// An error ellipse: semi-axes in millimetres, the major one at `azimuth`
// degrees clockwise from north.
struct FigureEllipse {
  double x = 0, y = 0;
  double a = 0, b = 0;
  double azimuth = 0;
};

struct Figure {
  std::string title;  // the computation, e.g. "附合导线(K1—K9)"
  std::vector<FigurePoint> points;
  std::vector<FigureLine> lines;
  std::vector<FigureEllipse> ellipses;
  // Relative ellipses of the sides, centred at each side's midpoint.
  std::vector<FigureEllipse> relativeEllipses;
  // How many times the ellipses are drawn enlarged (a 1-2-5 step).
  double magnification = 1;
};

// A point of a levelling result: its height and, where the method gives it,
// the standard error of the height in millimetres.
struct HeightPoint {
  std::string name;
  double h = 0;
  std::optional<double> mh;
};

// The ellipse of a sketch drawn along the axes (SketchEllipse's radius and
// ratio, radius in millimetres) as semi-axes with their azimuth.
FigureEllipse AxisEllipse(double x, double y, double radius, double ratio);

}  // namespace korvane::exporting
