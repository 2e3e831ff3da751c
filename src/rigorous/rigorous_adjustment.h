#pragma once
// Weighted adjustment of one connecting traverse oriented at both ends:
// every misclosure is distributed over the observations in proportion to
// per-observation weights (angle weights from the two sides meeting at a
// station, coordinate weights from the distance-meter error model or the side
// lengths), followed by the accuracy figures of the adjusted traverse.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "rigorous/rigorous_table.h"

namespace korvane {

// Everything the tolerance check, the report and the sketch need.
struct RigorousResult {
  int n = 0;                       // stations; sides are n - 1
  std::vector<std::string> names;  // station names as typed, 1..n at [0..n-1]

  // Per station (n values).
  std::vector<double> betaDegrees;     // observed left angle, decimal degrees
  std::vector<double> angleWeight;     // w
  std::vector<double> vBetaDegrees;    // angle correction, degrees (unrounded)
  std::vector<double> vBetaSeconds;    // angle correction, seconds, 1 decimal
  std::vector<double> adjustedBeta;    // beta', DMS notation, whole seconds
  std::vector<double> x, y, h;         // adjusted coordinates and heights

  // Per side (n - 1 values).
  std::vector<double> reducedLength;   // S'
  std::vector<double> projectionMm;    // projection correction, mm (unrounded)
  std::vector<double> coordinateWeight;  // q
  std::vector<double> vx, vy;          // coordinate corrections, m
  std::vector<double> adjustedLength;  // S_a
  std::vector<double> lengthChangeMm;  // (S_a - S') * 1000, 1 decimal
  std::vector<double> lengthChange;    // S_a - S', m, unrounded
  std::vector<std::string> relativeCorrection;  // "1/ N", empty when S_a = S'
  std::vector<double> pointErrorMm;    // e, 1 decimal
  std::vector<double> hForward;        // 3 decimals
  std::vector<double> hBack;           // 3 decimals
  std::vector<double> hMean;           // unrounded mean height difference
  std::vector<double> hMeanReported;   // 3 decimals
  std::vector<double> discrepancy;     // |h_f + h_b|, 3 decimals
  std::vector<bool> oneWay;            // back instrument height 0
  std::vector<double> vh;              // height correction, m (unrounded)
  std::vector<double> vhMm;            // height correction, mm, 1 decimal
  std::vector<double> ellipseX, ellipseY, ellipseRadius;  // mm, for the sketch

  // Misclosures as reported.
  double fBetaSeconds = 0;   // 1 decimal
  double fxMm = 0, fyMm = 0, fsMm = 0, fhMm = 0;  // 1 decimal
  double fBetaDegrees = 0, fx = 0, fy = 0, fs = 0, fh = 0;  // unrounded, degrees / m
  std::string relativeClosure;  // "1 / N", empty when fs = 0
  double totalLength = 0;       // sum of S_a, 3 decimals
  double totalLengthRaw = 0;    // sum of S_a, unrounded
  double meanSide = 0;          // D, 3 decimals
  std::string weakestSide;      // "1/N"

  // Accuracy figures (1 decimal).
  double mBeta = 0;        // seconds
  double ms = 0;           // mm
  double m = 0;            // mm
  double mh = 0;           // mm per km
  double deltaKm = 0;      // mm per km

  double projectionHeight = 0;   // Hm actually used
  double meanHeight = 0;         // survey-area mean height, 3 decimals
  bool projectionOff = false;    // "N" or "n"
  double projectionNumber = 0;   // the number typed in the projection box
};

struct RigorousOutcome {
  std::optional<Message> refusal;  // set when the computation stopped
  RigorousResult result;
  bool ok() const { return !refusal.has_value(); }
};

// The questions put to the caller when a misclosure is gross.
Message AngularMisclosureQuestion();
Message LinearMisclosureQuestion();

// Adjusts the traverse in the table. A question answered with Cancel (or put
// to an empty callback) stops the computation and is returned as the refusal.
RigorousOutcome AdjustRigorous(const RigorousTable& table, const RigorousParameters& params,
                               const AskOkCancel& ask);

}  // namespace korvane
