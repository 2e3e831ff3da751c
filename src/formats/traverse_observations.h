#pragma once
// A single traverse as numbers: its stations with the horizontal angle, the
// distance and the trigonometric-height sights of each leg, its known points
// and the precision of the instruments. The grids of the traverse windows and
// their data files are read into it once; the simple adjustment, the weighted
// adjustment and the least-squares solution of the same traverse all work
// from it, none from another one's grid.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/observation_table.h"
#include "formats/rigorous_table.h"

namespace korvane::formats {

// A station and the leg from it to the next station.
struct ObservedStation {
  std::string name;               // as typed
  double angleDms = 0;            // horizontal angle, DMS notation; a right angle is typed with a leading minus
  double distance = 0;            // horizontal distance to the next station, m
  double instrumentForward = 0;   // forward sight: instrument and target height, m,
  double targetForward = 0;
  double verticalForwardDms = 0;  // and vertical angle in DMS notation
  double instrumentBack = 0;      // back sight from the next station; an instrument
  double targetBack = 0;          // height of 0 means the leg is observed one way only
  double verticalBackDms = 0;
  bool oneWay() const { return instrumentBack == 0; }
};

struct TraverseKnownPoint {
  std::string name;  // as typed
  double x = 0, y = 0, h = 0;
};

struct TraverseObservations {
  std::vector<ObservedStation> stations;
  // A traverse connected at both ends: the orientation point A and the start
  // point B, the end point C and the connecting point D. Station 1 stands on
  // B and the last station on C.
  TraverseKnownPoint orientation, start, end, connection;
  double priorAngleError = 0;   // a-priori angle error m0, seconds
  double additiveConstant = 0;  // distance meter: a, mm
  double scaleConstant = 0;     // and b, mm/km
  double projectionHeight = 0;  // height of the projection plane as typed; 0: the survey area's mean height
  bool projectionOff = false;   // "N" or "n": the distances are not reduced
};

// The nine cells of a station row (name and the eight observations) read as
// numbers; blanks anywhere in a cell are passed over, an empty cell reads 0.
ObservedStation ReadObservedStation(const ObservationRow& cells);

// The stations of the simple adjustment's grid, row by row (its known points
// and instrument constants are the start data's).
TraverseObservations ReadTraverseStations(const ObservationTable& table);

struct TraverseObservationsRead {
  std::optional<Message> refusal;  // the grid cannot be computed
  TraverseObservations observations;
  bool ok() const { return !refusal.has_value(); }
};

// The weighted adjustment's grid and parameter boxes: refused when it holds
// fewer than two stations or an observation cell that is empty, not a number
// or no usable value (the message names the grid's row and column).
TraverseObservationsRead ReadWeightedTraverse(const RigorousTable& table, const RigorousParameters& params);

}  // namespace korvane::formats
