#include "export/dxf_drawing.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/numbers.h"
#include "core/sketch.h"
#include "io/text_file.h"
#include "export/point_list.h"

namespace korvane::exporting {
namespace {

using io::EncodeGbk;

// dxflib's ASCII writer with its groups collected in memory rather than
// written to a file of its own: the bytes then go through the program's one
// atomic writer. The name given to the base writer is empty, so it opens no
// file.
class MemoryWriter : public DL_WriterA {
 public:
  MemoryWriter() : DL_WriterA("", DL_Codes::AC1009) {}
  const std::string& bytes() const { return bytes_; }

  void dxfReal(int gc, double value) const override {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value == 0 ? 0.0 : value);
    std::string s(text);
    // Trailing zeros go, one decimal stays.
    while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    group(gc, s);
  }
  void dxfInt(int gc, int value) const override { group(gc, std::to_string(value)); }
  void dxfHex(int gc, int value) const override {
    char text[32];
    std::snprintf(text, sizeof text, "%0X", static_cast<unsigned>(value));
    group(gc, text);
  }
  void dxfString(int gc, const char* value) const override { group(gc, value ? value : ""); }
  void dxfString(int gc, const std::string& value) const override { group(gc, value); }

 private:
  // A group: its code right-aligned in three places, then the value, each
  // on a line ending in CR LF.
  void group(int gc, std::string_view value) const {
    char code[16];
    std::snprintf(code, sizeof code, "%3d\r\n", gc);
    bytes_ += code;
    bytes_ += value;
    bytes_ += "\r\n";
  }
  mutable std::string bytes_;
};

// dxflib takes the version to write from out(), which also opens a file of
// its own; given no name it opens none (and returns none), but the version
// is set for the writing that follows.
class R12Dxf : public DL_Dxf {
 public:
  R12Dxf() { delete out("", DL_Codes::AC1009); }
};

// The style of every text (see Tables).
constexpr const char* kTextStyle = "KST32B";

struct LayerStyle {
  const char* name;
  int color;
};
constexpr LayerStyle kLayers[] = {
    {kKnownPointLayer, 1},  // red
    {kNewPointLayer, 7},    // white/black
    {kNameLayer, 7},
    {kHeightLayer, 3},      // green
    {kLineLayer, 7},
    {kEllipseLayer, 1},
    {kRelativeEllipseLayer, 5},  // blue
    {kTitleLayer, 7},
};

DL_Attributes On(const char* layer) { return DL_Attributes(EncodeGbk(layer), 256, 0, "BYLAYER", 1.0); }

struct Extent {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

Extent ExtentOf(const std::vector<FigurePoint>& points) {
  if (points.empty()) return {};
  const auto [south, north] = std::minmax_element(points.begin(), points.end(),
                                                  [](const FigurePoint& a, const FigurePoint& b) { return a.x < b.x; });
  const auto [west, east] = std::minmax_element(points.begin(), points.end(),
                                                [](const FigurePoint& a, const FigurePoint& b) { return a.y < b.y; });
  return {south->x, north->x, west->y, east->y};
}

// The size of the symbols: the 1-2-5 step at most a two-hundredth of the
// figure's extent, at least a centimetre.
double SymbolSize(const Extent& e) {
  const double wanted = std::max({e.maxX - e.minX, e.maxY - e.minY, 1.0}) / 200;
  double size = std::pow(10.0, std::floor(std::log10(wanted)));
  for (double step : {5.0, 2.0}) {
    if (step * size <= wanted) {
      size *= step;
      break;
    }
  }
  return std::max(size, 0.01);
}

void Text(R12Dxf& dxf, MemoryWriter& w, const char* layer, double east, double north, double height,
          const std::string& text) {
  dxf.writeText(w, DL_TextData(east, north, 0, east, north, 0, height, 1.0, 0, 0, 0, EncodeGbk(text), kTextStyle, 0),
                On(layer));
}

void Ellipse(R12Dxf& dxf, MemoryWriter& w, const char* layer, const FigureEllipse& e, double magnification) {
  const double t = e.azimuth * std::numbers::pi / 180;
  const double a = e.a * magnification / 1000, b = e.b * magnification / 1000;
  dxf.writePolyline(w, DL_PolylineData(kEllipseVertices, 0, 0, 1), On(layer));
  for (int k = 0; k < kEllipseVertices; ++k) {
    const double u = 2 * std::numbers::pi * k / kEllipseVertices;
    const double along = a * std::cos(u), across = b * std::sin(u);
    const double north = e.x + along * std::cos(t) - across * std::sin(t);
    const double east = e.y + along * std::sin(t) + across * std::cos(t);
    dxf.writeVertex(w, DL_VertexData(east, north, 0, 0));
  }
  dxf.writePolylineEnd(w);
}

void Tables(R12Dxf& dxf, MemoryWriter& w) {
  w.sectionTables();
  w.tableLinetypes(1);
  dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  w.tableEnd();
  w.tableLayers(static_cast<int>(std::size(kLayers)) + 1);
  dxf.writeLayer(w, DL_LayerData("0", 0), DL_Attributes("", 7, 0, "CONTINUOUS", 1.0));
  for (const LayerStyle& layer : kLayers)
    dxf.writeLayer(w, DL_LayerData(EncodeGbk(layer.name), 0), DL_Attributes("", layer.color, 0, "CONTINUOUS", 1.0));
  w.tableEnd();
  // The Chinese texts take the usual big font of Chinese CAD offices
  // (txt + gbcbig.shx). LibreCAD draws with fonts of its own and finds the
  // font of an R12 text by the style's name, not by its font file: the
  // style is named after its font holding the most Chinese characters
  // (kst32b; a name it lacks falls back to a font without any). STANDARD
  // stays for the programs that expect it.
  w.tableStyle(2);
  dxf.writeStyle(w, DL_StyleData("STANDARD", 0, 0.0, 1.0, 0.0, 0, 1.0, "txt", "gbcbig.shx"));
  dxf.writeStyle(w, DL_StyleData(kTextStyle, 0, 0.0, 1.0, 0.0, 0, 1.0, "txt", "gbcbig.shx"));
  w.tableEnd();
  w.sectionEnd();
}

void Points(R12Dxf& dxf, MemoryWriter& w, const Figure& f, double size) {
  const double textHeight = size * 1.5;
  for (const FigurePoint& p : f.points) {
    const bool known = p.role == PointRole::Known;
    const char* layer = known ? kKnownPointLayer : kNewPointLayer;
    dxf.writePoint(w, DL_PointData(p.y, p.x, 0), On(layer));
    if (known) {
      // An equilateral triangle around the point, its side twice the size.
      const double r = size * 2 / std::sqrt(3.0);
      dxf.writePolyline(w, DL_PolylineData(3, 0, 0, 1), On(layer));
      for (int k = 0; k < 3; ++k) {
        const double angle = std::numbers::pi / 2 + k * 2 * std::numbers::pi / 3;
        dxf.writeVertex(w, DL_VertexData(p.y + r * std::cos(angle), p.x + r * std::sin(angle), 0, 0));
      }
      dxf.writePolylineEnd(w);
    } else {
      dxf.writeCircle(w, DL_CircleData(p.y, p.x, 0, size), On(layer));
    }
    Text(dxf, w, kNameLayer, p.y + size * 1.5, p.x + size * 0.3, textHeight, p.name);
    if (p.h) Text(dxf, w, kHeightLayer, p.y + size * 1.5, p.x - size * 0.3 - textHeight, textHeight,
                  Metres(*p.h));
  }
}

}  // namespace

std::string DrawingTitle(const Figure& f) {
  if (f.ellipses.empty() && f.relativeEllipses.empty()) return f.title;
  return f.title + "  " + EllipseMagnificationText(f.magnification);
}

std::string DxfDrawing(const Figure& f) {
  R12Dxf dxf;
  MemoryWriter w;
  dxf.writeHeader(w);
  w.dxfString(9, "$DWGCODEPAGE");
  w.dxfString(3, "ANSI_936");
  w.dxfString(9, "$INSBASE");
  w.dxfReal(10, 0.0);
  w.dxfReal(20, 0.0);
  w.dxfReal(30, 0.0);
  w.sectionEnd();
  Tables(dxf, w);
  w.sectionBlocks();
  w.sectionEnd();

  w.sectionEntities();
  const Extent extent = ExtentOf(f.points);
  const double size = SymbolSize(extent);
  for (const FigureLine& l : f.lines) dxf.writeLine(w, DL_LineData(l.y1, l.x1, 0, l.y2, l.x2, 0), On(kLineLayer));
  for (const FigureEllipse& e : f.ellipses) Ellipse(dxf, w, kEllipseLayer, e, f.magnification);
  for (const FigureEllipse& e : f.relativeEllipses) Ellipse(dxf, w, kRelativeEllipseLayer, e, f.magnification);
  Points(dxf, w, f, size);
  if (!f.points.empty()) Text(dxf, w, kTitleLayer, extent.minY, extent.maxX + size * 6, size * 3, DrawingTitle(f));
  w.sectionEnd();
  w.dxfEOF();
  return w.bytes();
}

FigureEllipse AxisEllipse(double x, double y, double radius, double ratio) {
  // ratio >= 1: the north semi-axis is the radius, the east one radius / ratio.
  FigureEllipse e{x, y, radius, 0, 0};
  if (ratio >= 1) {
    e.b = radius / ratio;
  } else {
    e.b = radius * ratio;
    e.azimuth = 90;
  }
  return e;
}

}  // namespace korvane::exporting
