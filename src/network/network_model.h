#pragma once
// The network as the adjustment works on it: points by index, observations
// in radians and metres with their a-priori deviations, the unknowns'
// columns. Internal to the network module.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "network/network_adjustment.h"

namespace korvane::network {

struct Observation {
  NetworkObservationKind kind = NetworkObservationKind::Distance;
  int at = -1;    // station (direction, angle) or from point
  int to = -1;    // target, fore point or to point
  int back = -1;  // angle only
  int set = -1;   // direction only
  double value = 0;  // radians or metres
  double sigma = 0;  // seconds or mm; 0 for a fixed azimuth
  int line = 0;
  bool fixed() const { return kind == NetworkObservationKind::Azimuth && sigma == 0; }
};

struct Model {
  std::vector<std::string> names;
  std::vector<bool> known;        // fixed
  std::vector<bool> datum;        // a datum point of a free network (its coordinates approximate)
  bool free = false;              // a free network: datum points, no fixed point
  std::vector<double> x, y;       // current coordinates, metres
  std::vector<bool> located;      // approximate coordinates found
  std::vector<int> column;        // column of the point's X (Y follows), -1 when known
  std::vector<int> setStation;
  std::vector<int> setColumn;     // column of the set's orientation
  std::vector<double> orientation;  // radians
  std::vector<bool> oriented;
  std::vector<Observation> obs;
  int unknowns = 0;
  int knownCount() const;
  // Fixed points, or a free network's datum points: where the approximate
  // coordinates start from.
  bool given(int i) const { return known[i] || datum[i]; }
};

// Points, observations and unknowns of the input; a refusal for a record the
// adjustment cannot use.
std::optional<Message> BuildModel(const formats::NetworkInput& input, Model& model);
// Approximate coordinates of every new point and orientations of every set;
// a refusal names a point that cannot be located.
std::optional<Message> Approximate(Model& model);
// Azimuths of every set from the current coordinates (mean of its directions).
void OrientSets(Model& model);

Message NetworkRefusal(const std::string& text);

}  // namespace korvane::network
