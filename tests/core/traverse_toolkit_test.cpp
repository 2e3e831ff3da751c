#include "traverse/traverse_toolkit.h"
#include "core/sketch.h"
#include "support/case_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace korvane::traverse {
namespace {

TEST(AzimuthClosure, CasesFromTable) {
  const int cases = korvane::testing::ForEachTableLine(KORVANE_TEST_DATA "/azimuth_closure.txt",
                                                       [](const std::string& line, std::istringstream& fields,
                                                          const korvane::testing::Tolerance& tolerance) {
    std::string kind;
    double a = 0, b = 0, expected = 0;
    fields >> kind >> a;
    if (kind == "next" || kind == "misclosure") fields >> b;
    fields >> expected;
    const double within = tolerance.in("deg");
    if (kind == "next") EXPECT_NEAR(NextAzimuth(a, b), expected, within) << line;
    else if (kind == "misclosure") EXPECT_NEAR(AngularMisclosure(a, b), expected, within) << line;
    else if (kind == "angle_gross") EXPECT_EQ(AngularMisclosureGross(a), expected != 0) << line;
    else if (kind == "linear_gross") EXPECT_EQ(LinearMisclosureGross(a), expected != 0) << line;
    else ADD_FAILURE() << "unknown case " << line;
  });
  EXPECT_GE(cases, 20);
}

TEST(EllipseMagnification, OneTwoFiveSteps) {
  const int cases = korvane::testing::ForEachTableLine(KORVANE_TEST_DATA "/ellipse_magnification.txt",
                                                       [](const std::string& line, std::istringstream& fields) {
    double largest = 0, wanted = 0, expected = 0;
    fields >> largest >> wanted >> expected;
    EXPECT_EQ(EllipseMagnification(largest, wanted), expected) << line;
  });
  EXPECT_GE(cases, 10);
  EXPECT_EQ(EllipseMagnificationText(5000), "误差椭圆放大5000倍");
}

// The precision and rounding the kinds choose change the carried figures.
TEST(CarriedValues, PrecisionAndRoundingAreTheCallersChoice) {
  // Propagation with corrections adds each correction after its angle.
  const std::vector<double> az = PropagateAzimuths(90, {100, 200, 10}, {0.5, -0.5, 0}, 3);
  ASSERT_EQ(az.size(), 3u);
  EXPECT_NEAR(az[0], 10.5, 1e-12);
  EXPECT_NEAR(az[1], 30, 1e-12);
  EXPECT_NEAR(az[2], 220, 1e-12);

  // Corrections sum to the negated misclosure; no weight, no correction.
  const std::vector<double> v = DistributeMisclosure({1, 3}, 4, 0.8);
  EXPECT_NEAR(v[0], -0.2, 1e-15);
  EXPECT_NEAR(v[1], -0.6, 1e-15);
  EXPECT_EQ(DistributeMisclosure({1, 3}, 0, 0.8), (std::vector<double>{0, 0}));

  // Millimetre rounding at every point accumulates; unrounded does not.
  const std::vector<double> steps{0.0004, 0.0004, 0.0004};
  EXPECT_DOUBLE_EQ(CarryCoordinates(100.0, steps, RoundToMillimetre).back(), 100.0);
  EXPECT_NEAR(CarryCoordinates(100.0, steps, Unrounded).back(), 100.0012, 1e-9);

  // A single-precision sum loses what a double keeps.
  const std::vector<double> legs{100000.0, 0.001, 0.001};
  EXPECT_FLOAT_EQ(SumOf<float>(legs), 100000.0f);
  EXPECT_NEAR(SumOf<double>(legs), 100000.002, 1e-9);
}

}  // namespace
}  // namespace korvane::traverse
