// The sketch renderer paints the operations into a picture and saves it in
// the format its file name asks for.
#include "render/sketch_renderer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace korvane::render;

namespace korvane {
namespace {

// Drawing is antialiased: a pixel "is" a colour when it is nearer to it
// than to the white background.
int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}
bool Near(QRgb pixel, QRgb colour) { return Distance(pixel, colour) < Distance(pixel, qRgb(255, 255, 255)); }

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Near(image.pixel(x, y), colour)) ++count;
  return count;
}

// The colour appears within a pixel of (x, y).
bool ColourAround(const QImage& image, int x, int y, QRgb colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (Near(image.pixel(x + dx, y + dy), colour)) return true;
  return false;
}

Sketch Sample() {
  Sketch s;
  s.ops = {SketchScale{0, 100, 100, 0},
           SketchLine{0, 0, 100, 100, kBlack},
           SketchEllipse{50, 50, 20, 0.5, kRed},
           SketchText{10, 90, "定向"},
           SketchStyle{LineStyle::Dotted},
           SketchWidth{3},
           SketchLine{0, 100, 100, 0, kCyan}};
  return s;
}

TEST(SketchRenderer, DrawsLinesEllipsesAndText) {
  const QImage image = render::RenderSketch(Sample(), QSize(200, 200));
  ASSERT_EQ(image.size(), QSize(200, 200));
  // The black diagonal runs from the lower left to the upper right corner.
  EXPECT_TRUE(ColourAround(image, 50, 150, qRgb(0, 0, 0)));
  EXPECT_FALSE(ColourAround(image, 50, 100, qRgb(0, 0, 0)));
  EXPECT_GT(CountColour(image, qRgb(255, 0, 0)), 20);
  EXPECT_GT(CountColour(image, qRgb(0, 255, 255)), 20);
  // The ellipse is flat: 40 px wide, 20 px high around the centre.
  EXPECT_TRUE(ColourAround(image, 100 + 40, 100, qRgb(255, 0, 0)));
  EXPECT_TRUE(ColourAround(image, 100, 100 - 20, qRgb(255, 0, 0)));
  EXPECT_FALSE(ColourAround(image, 100, 100 - 40, qRgb(255, 0, 0)));
  // The label leaves dark pixels near its anchor (10, 90) = pixel (20, 20).
  int dark = 0;
  for (int y = 20; y < 45; ++y)
    for (int x = 20; x < 60; ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  EXPECT_GT(dark, 10);
}

TEST(SketchRenderer, KeepsTheScaleEqualOnBothAxes) {
  Sketch s;
  s.ops = {SketchScale{0, 100, 200, 0}, SketchEllipse{100, 50, 25, 1, kRed}};
  const QImage image = render::RenderSketch(s, QSize(400, 400));
  // 200 m across 400 px: 2 px per metre, centred vertically; the circle stays round.
  EXPECT_TRUE(ColourAround(image, 200 + 50, 200, qRgb(255, 0, 0)));
  EXPECT_TRUE(ColourAround(image, 200, 200 - 50, qRgb(255, 0, 0)));
  EXPECT_FALSE(ColourAround(image, 200 + 100, 200, qRgb(255, 0, 0)));
}

TEST(SketchRenderer, SavesByExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("s.PNG"), bmp = dir.filePath("s.bmp"), other = dir.filePath("s.pic");
  ASSERT_EQ(render::SaveSketchImage(Sample(), png.toStdString(), QSize(120, 80)), "");
  ASSERT_EQ(render::SaveSketchImage(Sample(), bmp.toStdString(), QSize(120, 80)), "");
  ASSERT_EQ(render::SaveSketchImage(Sample(), other.toStdString(), QSize(120, 80)), "");
  auto head = [](const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(4) : QByteArray();
  };
  EXPECT_EQ(head(png), QByteArray("\x89PNG", 4));
  EXPECT_EQ(head(bmp).left(2), QByteArray("BM"));
  EXPECT_EQ(head(other).left(2), QByteArray("BM"));
  EXPECT_NE(render::SaveSketchImage(Sample(), dir.filePath("missing/s.png").toStdString(), QSize(10, 10)), "");
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  // Painting text needs a GUI application but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
