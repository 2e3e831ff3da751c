#pragma once
// The network file: one comma-separated record per line (GBK or UTF-8, CR LF
// or LF); blank lines and lines starting with "#" are ignored.
//   PARAM, direction_sec, angle_sec, a_mm, b_ppm   a-priori deviations
//   POINT, name, X, Y                              a fixed point
//   POINT, name, X, Y, DATUM                       a datum point of a free network
//   SET, station                                   starts a direction set
//   DIR, station, target, value[, σ″]              direction of the set, DMS
//   ANGLE, station, back, fore, value[, σ″]        left angle back -> fore, DMS
//   DIST, from, to, value[, σ_mm]                  horizontal distance, m
//   AZI, from, to, value                           fixed azimuth, DMS
//   AZI, from, to, value, σ″                       observed grid azimuth, DMS
// The optional σ is the observation's own a-priori standard deviation and
// overrides PARAM for it. A file mixes no fixed and datum points.
// A malformed line is refused with its line number and the reason.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

namespace korvane::formats {

// Largest network file read.
inline constexpr std::uintmax_t kMaxNetworkFileBytes = 64ull * 1024 * 1024;
// Most records (observation and point lines) a network file may hold.
inline constexpr int kMaxNetworkRecords = 1000000;

// A-priori standard deviations; a distance S (m) has σ = a + b·S/1000 mm.
struct NetworkPrecision {
  double directionSec = 2.0;
  double angleSec = 2.8;
  double aMm = 2.0;
  double bPpm = 2.0;
  bool operator==(const NetworkPrecision&) const = default;
};

// Every record remembers the file line it came from (0 when typed in a
// window), so that refusals and residual tables can point back at it.
// A POINT: fixed, or in a free network a datum point whose coordinates are
// approximate and take part in the minimum-norm datum.
struct NetworkKnownPoint {
  std::string name;
  double x = 0, y = 0;  // X north, Y east, metres
  int line = 0;
  bool datum = false;
};

// `sigma` of an observation: its own a-priori standard deviation (seconds,
// or mm for a distance) where the record gave one; PARAM's otherwise.
struct NetworkDirection {
  std::string target;
  double dms = 0;  // direction reading, DMS notation, [0, 360)
  int line = 0;
  std::optional<double> sigma;
};

// The directions observed at one station in one set; the set has its own
// orientation unknown.
struct NetworkDirectionSet {
  std::string station;
  std::vector<NetworkDirection> directions;
  int line = 0;  // the SET line
};

// Left angle at `station`, clockwise from `back` to `fore`.
struct NetworkAngle {
  std::string station, back, fore;
  double dms = 0;
  int line = 0;
  std::optional<double> sigma;
};

struct NetworkDistance {
  std::string from, to;
  double metres = 0;
  int line = 0;
  std::optional<double> sigma;
};

// A grid azimuth from -> to: fixed (error-free) without a sigma, an
// observation (gyro or GNSS, reduced by the meridian convergence) with one.
struct NetworkAzimuth {
  std::string from, to;
  double dms = 0;
  int line = 0;
  std::optional<double> sigma;
};

// The contents of a network file, records grouped by kind in file order.
struct NetworkInput {
  NetworkPrecision precision;
  bool hasPrecision = false;  // a PARAM line was given
  std::vector<NetworkKnownPoint> known;
  std::vector<NetworkDirectionSet> sets;
  std::vector<NetworkAngle> angles;
  std::vector<NetworkDistance> distances;
  std::vector<NetworkAzimuth> azimuths;
};

struct NetworkFileLoad {
  std::optional<Message> refusal;  // a malformed line: its number and the reason
  NetworkInput input;
  bool ok() const { return !refusal.has_value(); }
};

// The title of every refusal about a network file or its adjustment.
inline constexpr const char* kNetworkTitle = "导线网平差";

// The line of the first POINT marked DATUM, 0 when none is.
int FirstDatumLine(const NetworkInput& input);
// True when the POINTs are datum points of a free network.
bool IsFreeNetwork(const NetworkInput& input);

// Reads the records of a network file's text (UTF-8 inside the program).
NetworkFileLoad ParseNetworkText(std::string_view text);
// Reads a regular file of at most kMaxNetworkFileBytes (GBK or UTF-8); an
// unreadable file is reported in `error`, not as a refusal.
NetworkFileLoad LoadNetworkFile(const std::string& path, std::string& error);

// The text of a network file for the input (lines separated by "\n"): PARAM,
// the known points, the direction sets, angles, distances and azimuths.
std::string NetworkText(const NetworkInput& input);
// Writes the file in GBK with CR LF through the atomic writer. Returns an
// empty string on success, otherwise the reason.
std::string SaveNetworkFile(const std::string& path, const NetworkInput& input);

}  // namespace korvane::formats
