// The sketch of the adjusted traverse: area, legs, ellipses, known points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "traverse/rigorous_sketch.h"
#include "rigorous_fixture.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace korvane {
namespace {

template <typename T>
std::vector<T> OpsOf(const Sketch& s) {
  std::vector<T> out;
  for (const auto& op : s.ops) {
    if (const T* p = std::get_if<T>(&op)) out.push_back(*p);
  }
  return out;
}

traverse::RigorousResult AdjustOk(const formats::RigorousTable& t) {
  const traverse::RigorousOutcome out =
      traverse::AdjustRigorous(t, testing_rigorous::Params("N", "5", "5", "5"), [](const Message&) { return true; });
  EXPECT_TRUE(out.ok());
  return out.result;
}

TEST(RigorousSketch, FourStations) {
  const formats::RigorousTable t = testing_rigorous::FourStationTable();
  const traverse::RigorousResult r = AdjustOk(t);
  const Sketch s = RigorousSketch(t, r);
  ASSERT_FALSE(s.ops.empty());
  const auto* scale = std::get_if<SketchScale>(&s.ops.front());
  ASSERT_NE(scale, nullptr);
  // Stations span X 850..1000, Y 1000 (A)..1600, and D at Y 1800 is taken
  // in so that its label shows; a fifth of the 1300 m span is added on the
  // right and a twentieth below for the labels.
  EXPECT_NEAR(scale->left, 1000 - 250, 1e-9);
  EXPECT_NEAR(scale->right, 1800 + 250 + 260, 1e-9);
  EXPECT_NEAR(scale->top, 1000 + 250, 0.01);
  EXPECT_NEAR(scale->bottom, 850 - 250 - 65, 0.02);

  const auto ellipses = OpsOf<SketchEllipse>(s);
  ASSERT_EQ(ellipses.size(), 2u);  // at the two new points
  EXPECT_EQ(ellipses[0].color, kRed);
  EXPECT_DOUBLE_EQ(ellipses[0].east, r.y[1]);
  EXPECT_DOUBLE_EQ(ellipses[0].north, r.x[1]);
  // Enlarged by the 1-2-5 step that makes the largest at most a thirtieth of
  // the picture's shorter side, and more than 2/5 of that. The 502 × 709
  // pixel picture shows the 1560 m wide frame across its width and more than
  // its 715 m height: the shorter side is 1560 m (52 m).
  const double largest = std::max(r.ellipseRadius(0), r.ellipseRadius(1)) / 1000;
  const double times = ellipses[0].radius / (r.ellipseRadius(0) / 1000);
  EXPECT_NEAR(ellipses[1].radius / (r.ellipseRadius(1) / 1000), times, 1e-6);
  const double wanted = (scale->right - scale->left) / 30;
  EXPECT_LE(largest * times, wanted);
  EXPECT_GT(largest * times, wanted * 0.4);
  bool captioned = false;
  for (const SketchText& text : OpsOf<SketchText>(s))
    captioned = captioned || text.text == "误差椭圆放大" + std::to_string(std::llround(times)) + "倍";
  EXPECT_TRUE(captioned);
  EXPECT_DOUBLE_EQ(ellipses[1].ratio, r.ellipseX(1) / r.ellipseY(1));

  const auto lines = OpsOf<SketchLine>(s);
  ASSERT_EQ(lines.size(), 5u);  // three legs, two orientation lines
  for (int i = 0; i < 3; ++i) EXPECT_EQ(lines[i].color, kBlack);
  EXPECT_EQ(lines[3].color, kCyan);
  EXPECT_DOUBLE_EQ(lines[3].east1, 1000);  // from A
  EXPECT_DOUBLE_EQ(lines[4].east1, 1800);  // from D
  EXPECT_DOUBLE_EQ(lines[4].east2, r.y[3]);

  const auto boxes = OpsOf<SketchBox>(s);
  ASSERT_EQ(boxes.size(), 4u);
  for (const auto& b : boxes) {
    EXPECT_EQ(b.color, kMagenta);
    EXPECT_NEAR(b.east2 - b.east1, 16, 1e-9);
  }
  const auto texts = OpsOf<SketchText>(s);
  ASSERT_EQ(texts.size(), 7u);  // four stations, the ellipses' caption, A and D
  EXPECT_EQ(texts[0].text, " B");
  EXPECT_EQ(texts[5].text, " A(定向)");
  EXPECT_EQ(texts[6].text, " D(附合方向)");
  // The orientation lines are drawn twice as wide.
  bool wide = false;
  for (const auto& op : s.ops) {
    if (const auto* w = std::get_if<SketchWidth>(&op)) wide = w->width == 2;
    if (const auto* l = std::get_if<SketchLine>(&op)) {
      EXPECT_EQ(wide, l->color == kCyan);
    }
  }
}

TEST(RigorousSketch, TwoStationsHaveNoEllipse) {
  const formats::RigorousTable t = testing_rigorous::MakeTable(
      {"A", "0", "0", "0"}, {"B", "100", "0", "0"},
      {{"B", "180", "100.007", "0", "0", "0", "0", "0", "0"}, {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
      {"C", "200", "0", "0"}, {"D", "300", "0", "0"});
  const Sketch s = RigorousSketch(t, AdjustOk(t));
  EXPECT_TRUE(OpsOf<SketchEllipse>(s).empty());
  EXPECT_EQ(OpsOf<SketchLine>(s).size(), 3u);
  EXPECT_EQ(OpsOf<SketchBox>(s).size(), 4u);
}

TEST(RigorousSketch, ZeroCorrectionIsDrawnWithFiveMillimetres) {
  // A traverse running due north: corrections only in X.
  const formats::RigorousTable t = testing_rigorous::MakeTable(
      {"A", "0", "0", "0"}, {"B", "100", "0", "0"},
      {{"B", "180", "100.007", "0", "0", "0", "0", "0", "0"},
       {"P", "180", "150.003", "0", "0", "0", "0", "0", "0"},
       {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
      {"C", "350", "0", "0"}, {"D", "400", "0", "0"});
  const traverse::RigorousResult r = AdjustOk(t);
  EXPECT_EQ(r.ellipseY(0), 5.0);
  const auto e = OpsOf<SketchEllipse>(RigorousSketch(t, r));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_NEAR(e[0].ratio, r.ellipseX(0) / 5.0, 1e-12);
  EXPECT_NEAR(r.ellipseRadius(0), std::hypot(r.ellipseX(0), 5.0), 1e-12);
}

}  // namespace
}  // namespace korvane
