#pragma once
// The connecting traverse (known points and orientations at both ends) and the
// closed traverse (back onto its start point): angular closure distributed in
// inverse proportion to the angles, coordinate closure by leg weights, heights
// closed in proportion to the adjusted distances.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "traverse/pipeline.h"
#include "traverse/report_format.h"

namespace korvane::traverse {

struct ClosingSolution {
  bool closed = false;
  Reduction red;
  double startAzimuth = 0;    // α0: orientation point towards the start point
  double closingAzimuth = 0;  // αE: end point towards its orientation point
  double angularMisclosure = 0;                // fβ in degrees
  std::vector<double> angleCorrectionSeconds;  // as printed, to 0.1″
  double sumDx = 0, sumDy = 0;
  double fx = 0, fy = 0, fs = 0;
  std::vector<double> legWeight;               // q per leg, summing to 1
  std::vector<double> correctionXmm, correctionYmm;  // per leg, 0.1 mm
  std::vector<double> x, y;                    // per station, millimetres
  std::vector<double> adjusted;                // Sa per leg
  double adjustedSum = 0;
  std::vector<double> distanceChangeMm;        // δSa per leg, 0.1 mm
  std::string relativeMisclosure;
  std::vector<double> heightDifference;        // h per leg
  double heightSum = 0, fh = 0, correctionPerKm = 0;
  std::vector<double> heightCorrectionMm;      // per leg, 0.1 mm
  std::vector<double> height;                  // per station
};

struct ClosingOutcome {
  std::optional<Message> refusal;
  ClosingSolution solution;
};

// The stations reduced over ClosingReducedLegs legs.
ClosingOutcome SolveClosing(Reduction red, bool closed);
// The closed kind also reduces its last leg (back onto the start point).
int ClosingReducedLegs(int stations, bool closed);
// The table must have passed CheckTable.
ClosingOutcome SolveClosing(const formats::ObservationTable& table, const formats::StartRecord& start, bool closed);

// Angle weights Σβ / β(i) and their sum; the share of angle
// i in the misclosure is weight / sum. Angles of exactly 0 take the whole
// misclosure between them, as the limit of a vanishing angle does.
struct AngleShares {
  std::vector<double> weight;
  double total = 0;
};
AngleShares AngleWeights(const std::vector<double>& beta, double betaSum);
// Leg weights from the distance-meter constants (b > 0) or the lengths.
std::vector<double> LegWeights(const std::vector<double>& reduced, double a, double b);

// The results table; a correction too wide for its column ends it early.
std::optional<Message> WriteClosingReport(const ClosingSolution& s, std::vector<std::string>& lines,
                                          const LineSink& sink = {});

}  // namespace korvane::traverse
