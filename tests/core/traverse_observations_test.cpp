// The traverse read from the weighted adjustment's grid and from the simple
// adjustment's grid: the same row gives the same station either way, the
// known points and the parameter boxes are read as the engines compute.
#include <gtest/gtest.h>

#include "formats/rigorous_data_file.h"
#include "formats/traverse_observations.h"
#include "support/case_table.h"

using namespace korvane::formats;

namespace korvane {
namespace {

TraverseObservations ReadFourStations(const RigorousParameters& params, RigorousTable* grid = nullptr) {
  std::string error;
  const RigorousFileLoad load = LoadRigorousFile(std::string(KORVANE_TEST_DATA) + "/rigorous/four_stations.dat", error);
  EXPECT_TRUE(error.empty() && load.ok()) << error;
  if (grid) *grid = load.table;
  const TraverseObservationsRead read = ReadWeightedTraverse(load.table, params);
  EXPECT_TRUE(read.ok());
  return read.observations;
}

void ExpectSameStation(const ObservedStation& a, const ObservedStation& b) {
  EXPECT_EQ(a.name, b.name);
  const double fields[2][8] = {
      {a.angleDms, a.distance, a.instrumentForward, a.targetForward, a.verticalForwardDms, a.instrumentBack,
       a.targetBack, a.verticalBackDms},
      {b.angleDms, b.distance, b.instrumentForward, b.targetForward, b.verticalForwardDms, b.instrumentBack,
       b.targetBack, b.verticalBackDms}};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(fields[0][k], fields[1][k]) << "field " << k + 2;
}

TEST(TraverseObservations, WeightedGridGivesStationsAndKnownPoints) {
  RigorousTable grid;
  const TraverseObservations t = ReadFourStations(RigorousParameters{}, &grid);
  ASSERT_EQ(t.stations.size(), 4u);
  EXPECT_EQ(t.orientation.name, "A");
  EXPECT_EQ(t.start.name, "B");
  EXPECT_EQ(t.end.name, "C");
  EXPECT_EQ(t.connection.name, "D");
  const TraverseKnownPoint* points[] = {&t.orientation, &t.start, &t.end, &t.connection};
  const double expected[4][3] = {{1000, 1000, 100}, {1000, 1200, 101}, {850, 1600, 102.584}, {850, 1800, 103}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(points[k]->x, expected[k][0]) << k;
    EXPECT_EQ(points[k]->y, expected[k][1]) << k;
    EXPECT_EQ(points[k]->h, expected[k][2]) << k;
  }
  const ObservedStation& b = t.stations[0];
  EXPECT_EQ(b.name, "B");
  EXPECT_EQ(b.angleDms, 180.001);
  EXPECT_EQ(b.distance, 200.004);
  EXPECT_EQ(b.instrumentForward, 1.5);
  EXPECT_EQ(b.targetForward, 1.6);
  EXPECT_EQ(b.verticalForwardDms, 0.3);
  EXPECT_EQ(b.instrumentBack, 1.6);
  EXPECT_EQ(b.targetBack, 1.5);
  EXPECT_EQ(b.verticalBackDms, -0.301);
  EXPECT_FALSE(b.oneWay());
  EXPECT_TRUE(t.stations[3].oneWay());

  // The simple adjustment's grid holding the same rows reads the same stations.
  ObservationTable simple;
  for (int i = 1; i <= grid.stationCount(); ++i) {
    ObservationRow row;
    for (int c = 0; c < kObservationColumns; ++c) row[c] = grid.at(RigorousTable::stationRow(i), c + 1);
    // Blanks inside a number are passed over by both.
    if (i == 2) row[2] = " 150.0 02";
    simple.rows.push_back(row);
  }
  const TraverseObservations same = ReadTraverseStations(simple);
  ASSERT_EQ(same.stations.size(), t.stations.size());
  for (std::size_t i = 0; i < t.stations.size(); ++i) ExpectSameStation(same.stations[i], t.stations[i]);
}

TEST(TraverseObservations, ParameterBoxesAsComputed) {
  for (const testing::DataRow& row : testing::ReadDataTable("rigorous_parameter_boxes.txt", '|')) {
    SCOPED_TRACE("rigorous_parameter_boxes.txt line " + std::to_string(row.line));
    RigorousParameters p;
    p.sideCount = "3";
    p.priorAngleError = row["m0"];
    p.additiveConstant = row["a"];
    p.scaleConstant = row["b"];
    p.projectionHeight = row["projection"];
    const TraverseObservations t = ReadFourStations(p);
    EXPECT_EQ(t.priorAngleError, row.number("m0 read"));
    EXPECT_EQ(t.additiveConstant, row.number("a read"));
    EXPECT_EQ(t.scaleConstant, row.number("b read"));
    EXPECT_EQ(t.projectionHeight, row.number("height read"));
    EXPECT_EQ(t.projectionOff, row["off"] == "yes");
  }
}

}  // namespace
}  // namespace korvane
