#include "formats/traverse_observations.h"

#include "core/numbers.h"
#include "core/text_utils.h"
#include "formats/observation_check.h"

namespace korvane::formats {
namespace {

// Grid columns of a known-point row: name, X, Y, H.
constexpr int kKnownName = 1, kKnownX = 2, kKnownY = 3, kKnownH = 4;
// Observation columns checked before a computation (the name is not).
constexpr int kFirstObservation = 2, kLastObservation = 9;

TraverseKnownPoint KnownPointAt(const RigorousTable& table, int row) {
  return TraverseKnownPoint{table.at(row, kKnownName), ParseLenient(table.at(row, kKnownX)),
                            ParseLenient(table.at(row, kKnownY)), ParseLenient(table.at(row, kKnownH))};
}

// A station row of the weighted grid: its columns 1 to 9 are the nine cells.
ObservationRow StationCells(const RigorousTable& table, int row) {
  ObservationRow cells;
  for (int c = 0; c < kObservationColumns; ++c) cells[static_cast<std::size_t>(c)] = table.at(row, c + 1);
  return cells;
}

}  // namespace

ObservedStation ReadObservedStation(const ObservationRow& cells) {
  const auto value = [&cells](int column) { return ParseLenient(cells[static_cast<std::size_t>(column - 1)]); };
  ObservedStation s;
  s.name = cells[0];
  s.angleDms = value(2);
  s.distance = value(3);
  s.instrumentForward = value(4);
  s.targetForward = value(5);
  s.verticalForwardDms = value(6);
  s.instrumentBack = value(7);
  s.targetBack = value(8);
  s.verticalBackDms = value(9);
  return s;
}

TraverseObservations ReadTraverseStations(const ObservationTable& table) {
  TraverseObservations t;
  t.stations.reserve(table.rows.size());
  for (const ObservationRow& row : table.rows) t.stations.push_back(ReadObservedStation(row));
  return t;
}

TraverseObservationsRead ReadWeightedTraverse(const RigorousTable& table, const RigorousParameters& params) {
  TraverseObservationsRead read;
  if (table.stationCount() < 2) {
    read.refusal = Message{"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information};
    return read;
  }
  // The first empty or unusable cell, row by row, named by its grid row.
  for (int r = RigorousTable::stationRow(1); r <= RigorousTable::stationRow(table.stationCount()); ++r) {
    for (int c = kFirstObservation; c <= kLastObservation; ++c) {
      if ((read.refusal = CheckObservationCell(r, c, table.at(r, c)))) return read;
    }
  }
  TraverseObservations& t = read.observations;
  t.orientation = KnownPointAt(table, 1);
  t.start = KnownPointAt(table, 2);
  t.end = KnownPointAt(table, table.endRow());
  t.connection = KnownPointAt(table, table.connectRow());
  t.stations.reserve(static_cast<std::size_t>(table.stationCount()));
  for (int i = 1; i <= table.stationCount(); ++i)
    t.stations.push_back(ReadObservedStation(StationCells(table, RigorousTable::stationRow(i))));
  t.priorAngleError = ParseLenient(params.priorAngleError);
  t.additiveConstant = ParseLenient(params.additiveConstant);
  t.scaleConstant = ParseLenient(params.scaleConstant);
  const std::string projection = Trim(params.projectionHeight);
  t.projectionOff = projection == "N" || projection == "n";
  t.projectionHeight = ParseLenient(params.projectionHeight);
  return read;
}

}  // namespace korvane::formats
