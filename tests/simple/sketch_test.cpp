// The sketches as drawing operations: scale, ellipses and orientation lines.
#include "traverse/sketch_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "traverse/simple_adjustment.h"
#include "traverse_fixture.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace korvane {
namespace {

using testing::Flat;
using testing::Start;
using testing::Table;

template <typename T> std::vector<T> OpsOf(const Sketch& s) {
  std::vector<T> out;
  for (const SketchOp& op : s.ops)
    if (const T* t = std::get_if<T>(&op)) out.push_back(*t);
  return out;
}

std::vector<SketchLine> CyanLines(const Sketch& s) {
  std::vector<SketchLine> out;
  for (const SketchLine& l : OpsOf<SketchLine>(s))
    if (l.color == kCyan) out.push_back(l);
  return out;
}

TEST(CorrectionEllipse, ZeroCountsAsTwoMillimetres) {
  const SketchEllipse e = traverse::CorrectionEllipse({10, 20}, 3, -4);
  EXPECT_DOUBLE_EQ(e.radius, 5);
  EXPECT_DOUBLE_EQ(e.ratio, 0.75);
  EXPECT_DOUBLE_EQ(e.east, 20);
  EXPECT_DOUBLE_EQ(e.north, 10);
  EXPECT_EQ(e.color, kRed);
  const SketchEllipse z = traverse::CorrectionEllipse({0, 0}, 0, 0);
  EXPECT_DOUBLE_EQ(z.radius, std::sqrt(8.0));
  EXPECT_DOUBLE_EQ(z.ratio, 1);
}

TEST(ClosedSketch, EndOrientationIsTheStartOrientation) {
  traverse::SimpleInput in;
  in.kind = formats::TraverseKind::Closed;
  in.table = Table({Flat("G1", "90", "100"), Flat("G2", "-90", "100"), Flat("G3", "-90", "100"),
                    Flat("G4", "-90", "100"), Flat("G1", "180", "0")});
  in.start = Start({{1, "500"}, {2, "500"}, {3, "10"}, {4, "500"}, {5, "400"}, {11, "11.45"}});
  const traverse::SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  const auto cyan = CyanLines(r.sketch);
  ASSERT_EQ(cyan.size(), 2u);
  for (const SketchLine& l : cyan) {
    EXPECT_DOUBLE_EQ(l.east1, 500);
    EXPECT_DOUBLE_EQ(l.north1, 500);
    EXPECT_DOUBLE_EQ(l.east2, 400);
    EXPECT_DOUBLE_EQ(l.north2, 500);
  }
  // Three new points carry ellipses; the start point closing the loop none.
  EXPECT_EQ(OpsOf<SketchEllipse>(r.sketch).size(), 3u);
  // G1 is named once, though the loop comes back onto it.
  std::vector<std::string> texts;
  for (const SketchText& t : OpsOf<SketchText>(r.sketch)) texts.push_back(t.text);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "G1"), 1);
  const auto scale = OpsOf<SketchScale>(r.sketch);
  ASSERT_EQ(scale.size(), 1u);
  // The orientation point widens it; 400 m around, and a fifth of the larger
  // span (1000 m with the margins) on the right and a twentieth below for the labels.
  EXPECT_DOUBLE_EQ(scale[0].left, 400 - 400);
  EXPECT_DOUBLE_EQ(scale[0].right, 600 + 400 + 0.2 * 1000);
  EXPECT_DOUBLE_EQ(scale[0].top, 600 + 400);
  EXPECT_DOUBLE_EQ(scale[0].bottom, 500 - 400 - 0.05 * 1000);
}

TEST(ConnectingSketch, AzimuthFormPlacesOrientationPoints150mAway) {
  traverse::SimpleInput in;
  in.table = Table({Flat("A", "90", "100"), Flat("C", "270", "0")});
  // Arriving eastwards at A (α0 = 90), north to C, leaving it eastwards (αE = 90).
  in.start = Start({{1, "0"}, {2, "0"}, {4, "90"}, {6, "100"}, {7, "0"}, {9, "90"}, {11, "1.45"}});
  const traverse::SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  const auto cyan = CyanLines(r.sketch);
  ASSERT_EQ(cyan.size(), 2u);
  EXPECT_NEAR(cyan[0].east2, -150, 1e-3);
  EXPECT_NEAR(cyan[0].north2, 0, 1e-3);
  EXPECT_NEAR(cyan[1].east2, 150, 1e-3);
  EXPECT_NEAR(cyan[1].north2, 100, 1e-3);
  // The dotted style is set before the orientation lines, then reset.
  bool dotted = false;
  for (const SketchOp& op : r.sketch.ops) {
    if (const auto* s = std::get_if<SketchStyle>(&op)) dotted = s->style == LineStyle::Dotted;
    if (const auto* l = std::get_if<SketchLine>(&op)) {
      EXPECT_EQ(dotted, l->color == kCyan);
    }
  }
  std::vector<std::string> texts;
  for (const SketchText& t : OpsOf<SketchText>(r.sketch)) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"A", "C", "定向", "附合方向"}));
  EXPECT_TRUE(OpsOf<SketchEllipse>(r.sketch).empty());  // no new point
}

TEST(OpenSketch, EllipsesGrowAlongTheTraverse) {
  traverse::SimpleInput in;
  in.kind = formats::TraverseKind::Open;
  in.table = Table({Flat("A", "134.3", "1000"), Flat("P", "180", "1000")});
  in.start = Start({{1, "100"}, {2, "200"}, {4, "45.3"}, {11, "1.45"}});
  in.endName = "E";
  const traverse::SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  const auto ellipses = OpsOf<SketchEllipse>(r.sketch);
  ASSERT_EQ(ellipses.size(), 2u);
  // n = 2, L = 2000: mq = 2000 √(25 × 3.5 / 3 + 1) / 206.265 = 53.3, ml = √80 = 8.9;
  // radii in mm, drawn 2000 times enlarged: the largest, 11.14 mm, becomes
  // 22.3 m, about a thirtieth of the picture's 1360 m width (45.3 m).
  const double m = std::sqrt(53.3 * 53.3 + 8.9 * 8.9) / 10;
  EXPECT_NEAR(ellipses[0].radius, (m + 1.0 / 3) * 2, 1e-4);
  EXPECT_NEAR(ellipses[1].radius, (2 * m + 1.0 / 3) * 2, 1e-4);
  std::vector<std::string> texts;
  for (const SketchText& t : OpsOf<SketchText>(r.sketch)) texts.push_back(t.text);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "误差椭圆放大2000倍"), 1);
  EXPECT_NEAR(ellipses[1].ratio, 53.3 / 8.9, 1e-4);
  EXPECT_NEAR(ellipses[1].north, 2100, 1e-6);
  // The orientation point 200 m back along the arriving line (225.5°).
  const auto cyan = CyanLines(r.sketch);
  ASSERT_EQ(cyan.size(), 1u);
  EXPECT_NEAR(cyan[0].north2, 100 + 200 * std::cos(225.5 * 3.141592653589793 / 180), 1e-3);
  EXPECT_NEAR(cyan[0].east2, 200 + 200 * std::sin(225.5 * 3.141592653589793 / 180), 1e-3);
  // The scale covers the points only: Y 200 ± 400, X 100 - 400 to 2100 + 400,
  // with a twentieth of the 2800 m span below for the labels.
  const auto scale = OpsOf<SketchScale>(r.sketch);
  EXPECT_NEAR(scale[0].bottom, -300 - 140, 1e-3);
  EXPECT_NEAR(scale[0].top, 2500, 1e-3);
}

TEST(NoOrientationSketch, NoOrientationLinesAndNoEllipseAtB) {
  traverse::SimpleInput in;
  in.kind = formats::TraverseKind::NoOrientation;
  in.table = Table({Flat("A", "50", "100"), Flat("P", "270", "100")});
  in.start = Start({{1, "1000"}, {2, "1000"}, {6, "1100"}, {7, "1100"}, {11, "1.45"}});
  const traverse::SimpleResult r = AdjustTraverse(in);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(CyanLines(r.sketch).empty());
  EXPECT_EQ(OpsOf<SketchEllipse>(r.sketch).size(), 1u);
  EXPECT_EQ(OpsOf<SketchLine>(r.sketch).size(), 2u);
  EXPECT_EQ(OpsOf<SketchPoint>(r.sketch).size(), 3u);
}

}  // namespace
}  // namespace korvane
