#pragma once
// The stages every simple adjustment runs first: the table check, the start
// data, the loaded stations, provisional heights, the projection plane, the
// reduced distances and the left angles; and the height difference of a leg.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/observation_table.h"
#include "formats/start_data.h"
#include "formats/traverse_kind.h"
#include "formats/traverse_observations.h"
#include "traverse/traverse_toolkit.h"

namespace korvane::traverse {

// A station as the simple kinds compute with it: distances and heights in
// single precision, the vertical angles also in radians.
struct Station {
  std::string name;     // leading blanks removed
  double angleDms = 0;  // the typed horizontal angle
  double verticalDms = 0;  // the typed forward vertical angle
  float distance = 0;
  float instrumentForward = 0, targetForward = 0;
  double verticalForward = 0;  // radians
  float instrumentBack = 0, targetBack = 0;
  double verticalBack = 0;  // radians
  bool oneWay() const { return instrumentBack == 0; }
};

// The thirteen start-data records as numbers.
struct StartValues {
  double startX = 0, startY = 0;
  double startH = 0;
  double orientX = 0, orientY = 0;  // records 4 and 5
  double endX = 0, endY = 0, endH = 0;
  double endOrientX = 0, endOrientY = 0;  // records 9 and 10
  double projectionHeight = 0;            // record 11
  double additiveConstant = 0;            // distance meter, mm (record 12)
  double scaleConstant = 0;               // distance meter, ppm (record 13)
  // Record 5 reads 0: record 4 (and 9) hold azimuths in DMS notation.
  bool azimuthForm() const { return orientY == 0; }
};

struct Reduction {
  std::vector<Station> stations;  // index 0 is station 1
  StartValues start;
  std::vector<double> provisionalHeights; // H0(1 .. n+1)
  double meanHeight = 0;                  // Hmean, rounded to millimetres
  double planeHeight = 0;                 // Hm as used
  std::vector<float> reductionMm;         // δSp of the reduced legs
  std::vector<double> reduced;            // Sp of the reduced legs
  double reducedSum = 0;                  // ΣSp over the reduced legs
  std::vector<double> beta;               // left angles, decimal degrees
  double betaSum = 0;
  int n() const { return static_cast<int>(stations.size()); }
};

// Too few rows, an empty or a non-numeric cell of columns 2 to 9.
std::optional<Message> CheckTable(const formats::ObservationTable& table);
// The first empty or non-numeric cell of columns 2 to 9 of row `row` (1..n).
std::optional<Message> CheckRow(int row, const formats::ObservationRow& cells);
StartValues ReadStartValues(const formats::StartRecord& record);
// An azimuth of the azimuth form that the kind reads (records 4 and, for the
// connecting kind, 9) whose minutes or seconds are 60 or more.
std::optional<Message> CheckStartAzimuths(formats::TraverseKind kind, const StartValues& start);
// The observed stations in the simple kinds' precision; later stages use these.
std::vector<Station> LoadStations(const formats::TraverseObservations& observations);
Station LoadStation(const formats::ObservedStation& observed);
// A grid row read and taken into that precision.
Station LoadStation(const formats::ObservationRow& cells);

// Stations read from rows handed over one at a time, as a file is read, so
// that the texts of a long table are never held: each row is checked as the
// table check would, and the first refused row ends the reading.
struct StationReader {
  std::vector<Station> stations;
  std::optional<Message> refusal;
  void add(const formats::ObservationRow& cells);
};
// Runs the reduction for the first `reducedLegs` legs.
Reduction Reduce(std::vector<Station> stations, const StartValues& start, int reducedLegs);
Reduction Reduce(const formats::ObservationTable& table, const formats::StartRecord& record, int reducedLegs);

// The coordinate misclosure distributed over the legs by their weights and
// the points carried from the start, rounded to millimetres at every point.
struct AdjustedPoints {
  std::vector<double> correctionXmm, correctionYmm;  // per leg, 0.1 mm
  std::vector<double> x, y;                          // per point
  std::vector<double> adjusted;                      // Sa per leg
};
AdjustedPoints AdjustPoints(const std::vector<double>& dx, const std::vector<double>& dy,
                            const std::vector<double>& legWeight, double fx, double fy, double startX,
                            double startY);

// Heights over the adjusted distances, their misclosure closed in proportion
// to the distances; a closed traverse has no end height.
struct HeightClosure {
  std::vector<double> difference;  // h per leg
  double sum = 0, misclosure = 0, perKm = 0;
  std::vector<double> correction;  // per leg, m
  std::vector<double> height;      // per point
};
HeightClosure CloseHeights(const Reduction& red, const std::vector<double>& adjusted, double adjustedSum,
                           const std::optional<double>& endHeight);

// A kind's solution takes the adjusted points and the closed heights into its
// fields of the same names; each kind keeps its own precision of the
// millimetre figures.
template <typename Solution>
void TakePoints(Solution& s, AdjustedPoints p) {
  s.correctionXmm = std::move(p.correctionXmm);
  s.correctionYmm = std::move(p.correctionYmm);
  s.x = std::move(p.x);
  s.y = std::move(p.y);
  s.adjusted = std::move(p.adjusted);
}
template <typename Solution>
void TakeHeights(Solution& s, HeightClosure h) {
  using Mm = typename decltype(s.heightCorrectionMm)::value_type;
  s.heightDifference = std::move(h.difference);
  s.heightSum = h.sum;
  s.fh = h.misclosure;
  s.correctionPerKm = h.perKm;
  s.heightCorrectionMm.resize(h.correction.size());
  for (std::size_t i = 0; i < h.correction.size(); ++i)
    s.heightCorrectionMm[i] = static_cast<Mm>(traverse::TenthsOfMillimetre(h.correction[i]));
  s.height = std::move(h.height);
}

// Trigonometric height difference of a leg over the distance d: one-way legs
// with the curvature and refraction term, two-way legs as the mean of the
// forward and the negated back difference.
double LegHeightDifference(const Station& station, double d);
// Whether any of the first `legs` legs is observed one way only.
bool AnyOneWayLeg(const std::vector<Station>& stations, std::size_t legs);

}  // namespace korvane::traverse
