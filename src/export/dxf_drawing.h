#pragma once
// A figure as a DXF R12 (AC1009) drawing in ASCII, written by dxflib: survey
// X (north) becomes CAD Y and survey Y (east) CAD X, in metres, so that the
// drawing lies over a map of the same grid. Known points are triangles, new
// points circles, each with a point entity at its exact place; names and
// heights are texts; error ellipses are closed polylines of 72 vertices,
// enlarged as the figure says, and the title tells by how much. Texts are
// GBK, the drawing's code page ANSI_936.
#include <string>
#include <vector>

#include "export/figure.h"

namespace korvane::exporting {

// The layers, in the order the drawing declares them.
inline constexpr const char* kKnownPointLayer = "已知点";
inline constexpr const char* kNewPointLayer = "待定点";
inline constexpr const char* kNameLayer = "点名";
inline constexpr const char* kHeightLayer = "高程";
inline constexpr const char* kLineLayer = "导线边";
inline constexpr const char* kEllipseLayer = "误差椭圆";
inline constexpr const char* kRelativeEllipseLayer = "相对误差椭圆";
inline constexpr const char* kTitleLayer = "标题";

// Vertices of an ellipse's polyline.
inline constexpr int kEllipseVertices = 72;

// The title text: the figure's title and, when it has ellipses, "误差椭圆放大N倍".
std::string DrawingTitle(const Figure& figure);

// The whole file, its texts in GBK.
std::string DxfDrawing(const Figure& figure);

}  // namespace korvane::exporting
