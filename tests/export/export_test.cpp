// Coordinate and height lists: written through the atomic writer, read back
// by the list reader and by the Gauss–Krüger tool's point-list reader; lines
// that are no list line refused with nothing read.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/text_file.h"
#include "export/export_files.h"
#include "export/point_list.h"
#include "support/test_folder.h"
#include "geodesy/gauss_point_list.h"

namespace {

using namespace korvane;
using namespace korvane::exporting;
using namespace korvane::io;

FigurePoint Point(std::string name, double x, double y, std::optional<double> h = std::nullopt) {
  FigurePoint p;
  p.name = std::move(name);
  p.x = x;
  p.y = y;
  p.h = h;
  return p;
}

// Points of every form a list holds: with and without height and errors,
// negative and large coordinates, values that round up at the last digit,
// a Chinese name.
Figure SampleFigure() {
  Figure f;
  f.points.push_back(Point("K1", 3000, 2500, 52.35));
  FigurePoint p1 = Point("北山", 3150.2224999, 2812.4355, 55.9105);
  p1.mx = 3.44;
  p1.my = 1.65;
  p1.mp = 3.85;
  f.points.push_back(p1);
  FigurePoint p2 = Point("P2", -4920.4304, 38453245.1196);
  p2.mx = 0.04;
  p2.my = 12.25;
  p2.mp = 12.3;
  f.points.push_back(p2);
  FigurePoint label = Point("定向", 1, 1);
  label.listed = false;
  f.points.push_back(label);
  f.points.push_back(Point("髙1", 0.0004, -0.0004, -3.2));
  return f;
}

TEST(CoordinateList, WritesEveryListedPointToTheMillimetreAndTenthOfAMillimetre) {
  const ListLines list = CoordinateLines(SampleFigure());
  ASSERT_FALSE(list.refusal);
  const std::vector<std::string> expected = {
      "K1,3000.000,2500.000,52.350",
      "北山,3150.222,2812.436,55.911,3.4,1.7,3.9",
      "P2,-4920.430,38453245.120,0.0,12.3,12.3",
      "髙1,0.000,0.000,-3.200",
  };
  EXPECT_EQ(list.lines, expected);
}

// Export, read back: the same names and the same values as written.
TEST(CoordinateList, RoundTripsInGbkAndUtf8) {
  TestFolder folder;
  const Figure figure = SampleFigure();
  const ListLines lines = CoordinateLines(figure);
  for (const bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "GBK");
    const std::string path = folder.file(utf8 ? "utf8.txt" : "gbk.txt");
    ASSERT_TRUE(SaveCoordinateList(path, figure, utf8).ok());
    const std::string bytes = folder.read(utf8 ? "utf8.txt" : "gbk.txt");
    std::string joined;
    for (const std::string& line : lines.lines) joined += (utf8 ? line : EncodeGbk(line)) + "\r\n";
    EXPECT_EQ(bytes, joined);
    EXPECT_EQ(bytes.find("北山") != std::string::npos, utf8);

    const ListRead read = ReadCoordinateList(DecodeText(bytes));
    ASSERT_FALSE(read.refusal);
    const Figure back{"", read.points};
    EXPECT_EQ(CoordinateLines(back).lines, lines.lines);
    ASSERT_EQ(read.points.size(), 4u);
    EXPECT_EQ(read.points[1].name, "北山");
    EXPECT_DOUBLE_EQ(read.points[1].y, 2812.436);
    EXPECT_DOUBLE_EQ(*read.points[1].mp, 3.9);
    EXPECT_FALSE(read.points[2].h);
    EXPECT_DOUBLE_EQ(*read.points[2].my, 12.3);
    EXPECT_FALSE(read.points[3].mx);
  }
}

// The Gauss–Krüger tool takes the list as it is: every point converted, the
// fields after X and Y carried over unchanged.
TEST(CoordinateList, TheGaussKrugerPointListReaderReadsIt) {
  Figure figure;
  FigurePoint p = Point("北山", 3786911.4144, 500000, 45.678);
  p.mx = 1.2;
  p.my = 3.4;
  p.mp = 3.6;
  figure.points.push_back(p);
  figure.points.push_back(Point("K2", 3819153.27, 477039.978));
  TestFolder folder;
  ASSERT_TRUE(SaveCoordinateList(folder.file("list.txt"), figure, false).ok());
  geodesy::Settings settings;
  settings.problem = geodesy::Problem::Inverse;
  settings.zone.width = 3;
  settings.zone.number = "39";
  const geodesy::ListResult r = geodesy::ConvertPointList(DecodeText(folder.read("list.txt")), settings);
  ASSERT_FALSE(r.refusal) << r.refusal->text;
  ASSERT_EQ(r.points, 2);
  EXPECT_EQ(r.lines[0].substr(0, r.lines[0].find(',')), "北山");
  EXPECT_TRUE(r.lines[0].ends_with(",45.678,1.2,3.4,3.6")) << r.lines[0];
  EXPECT_EQ(std::count(r.lines[1].begin(), r.lines[1].end(), ','), 2) << r.lines[1];
}

std::string Unescaped(std::string text) {
  for (const auto& [from, to] : {std::pair{"\\n", "\n"}, std::pair{"\\r", "\r"}})
    for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + 1))
      text.replace(pos, 2, to);
  return text;
}

TEST(CoordinateList, ABadLineRefusesTheListAndNothingIsRead) {
  std::ifstream in(std::string(KORVANE_TEST_DATA) + "/coordinate_lists.txt");
  int cases = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> parts;
    std::stringstream ss(line);
    for (std::string part; std::getline(ss, part, '|');) parts.push_back(part);
    ASSERT_EQ(parts.size(), 3u) << line;
    const std::string text = Unescaped(parts[0].substr(0, parts[0].size() - 1));
    const int refused = std::stoi(parts[1]);
    SCOPED_TRACE(line);
    const ListRead read = ReadCoordinateList(text);
    if (refused == 0) {
      EXPECT_FALSE(read.refusal);
    } else {
      ASSERT_TRUE(read.refusal);
      EXPECT_EQ(read.refusal->text, "坐标文件第" + std::to_string(refused) + "行格式不对！");
      EXPECT_EQ(read.refusal->title, "请检查文本");
    }
    EXPECT_EQ(read.points.size(), static_cast<std::size_t>(std::stoi(parts[2])));
    ++cases;
  }
  EXPECT_GE(cases, 10);
}

// A name holding a comma cannot be written: the list is refused before the
// file is touched, whatever it held.
TEST(CoordinateList, ANameWithACommaIsRefusedAndTheFileKept) {
  TestFolder folder;
  folder.write("list.txt", "old\r\n");
  for (const char* name : {"P,1", "P，1"}) {
    Figure figure = SampleFigure();
    figure.points.push_back(Point(name, 1, 2));
    const ExportWrite write = SaveCoordinateList(folder.file("list.txt"), figure, false);
    ASSERT_FALSE(write.ok());
    EXPECT_TRUE(write.contentRefused);
    EXPECT_NE(write.problem->text.find(name), std::string::npos);
    EXPECT_EQ(folder.read("list.txt"), "old\r\n");
  }
  const ExportWrite heights = SaveHeightList(folder.file("list.txt"), {{"B,M", 1.0, std::nullopt}}, false);
  EXPECT_TRUE(heights.contentRefused);
  EXPECT_EQ(folder.read("list.txt"), "old\r\n");
}

TEST(HeightList, NameHeightAndItsErrorWhereTheMethodGivesOne) {
  TestFolder folder;
  const std::vector<HeightPoint> points = {{"BM1", 50, std::nullopt}, {"水准点2", 52.0065, 2.35}};
  ASSERT_TRUE(SaveHeightList(folder.file("h.txt"), points, true).ok());
  EXPECT_EQ(folder.read("h.txt"), "BM1,50.000\r\n水准点2,52.007,2.4\r\n");
}

// A read-only list or one of the input files is refused before anything is written.
TEST(CoordinateList, RefusedDestinationsStayAsTheyWere) {
  TestFolder folder;
  folder.write("locked.txt", "kept");
  ::chmod(folder.file("locked.txt").c_str(), 0444);
  const ExportWrite locked = SaveDrawing(folder.file("locked.txt"), SampleFigure());
  ASSERT_FALSE(locked.ok());
  EXPECT_FALSE(locked.contentRefused);
  EXPECT_EQ(locked.problem->text, "文件只读,请先改变文件属性");
  EXPECT_EQ(folder.read("locked.txt"), "kept");
  folder.write("input.dat", "data");
  const ExportWrite same = SaveCoordinateList(folder.file("input.dat"), SampleFigure(), false, {folder.file("input.dat")});
  ASSERT_FALSE(same.ok());
  EXPECT_EQ(folder.read("input.dat"), "data");
}

}  // namespace
