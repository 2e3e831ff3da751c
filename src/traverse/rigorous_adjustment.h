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
#include "formats/rigorous_table.h"
#include "formats/traverse_observations.h"

namespace korvane::traverse {

// Everything the tolerance check, the report and the sketch need. Only what
// cannot be had again cheaply is kept per station; the other figures of a
// station or a side are worked out from it when asked for, by the same
// arithmetic the adjustment used, so a long traverse costs little memory.
struct RigorousResult {
  int n = 0;  // stations; sides are n - 1

  // Per station (n values).
  std::vector<double> betaDegrees;  // observed left angle, decimal degrees
  std::vector<double> x, y, h;      // adjusted coordinates and heights

  // Per side (n - 1 values).
  std::vector<double> reducedLength;  // S'
  std::vector<double> projectionMm;   // projection correction, mm (unrounded)
  std::vector<double> hForward;       // 3 decimals
  std::vector<double> hBack;          // 3 decimals
  std::vector<double> hMean;          // unrounded mean height difference
  std::vector<bool> oneWay;           // back instrument height 0

  // Sums and constants the per-station figures are worked out from.
  double knownSideStart = 0;    // A-B
  double knownSideEnd = 0;      // C-D
  double angleWeightSum = 0;    // sum of w
  double coordinateWeightSum = 0;  // sum of q
  double priorAngleError = 0, additiveConstant = 0, scaleConstant = 0;

  // Angle weight w, its correction (degrees, unrounded; seconds, 1 decimal)
  // and the adjusted angle (DMS notation, whole seconds) of station i.
  double angleWeight(int i) const;
  double vBetaDegrees(int i) const;
  double vBetaSeconds(int i) const;
  double adjustedBeta(int i) const;

  // Side i: coordinate weight q, coordinate corrections (m), adjusted length
  // S_a, its change (m unrounded; mm, 1 decimal), the relative correction
  // "1/ N" (empty when S_a = S'), the point error e (mm, 1 decimal).
  double coordinateWeight(int i) const;
  double vx(int i) const;
  double vy(int i) const;
  double adjustedLength(int i) const;
  double lengthChange(int i) const;
  double lengthChangeMm(int i) const;
  std::string relativeCorrection(int i) const;
  double pointErrorMm(int i) const;
  // Mean height difference (3 decimals), |h_f + h_b| (3 decimals), the height
  // correction (m unrounded; mm, 1 decimal).
  double hMeanReported(int i) const;
  double discrepancy(int i) const;
  double vh(int i) const;
  double vhMm(int i) const;
  // The error ellipse of the sketch at the side's end, mm.
  double ellipseX(int i) const;
  double ellipseY(int i) const;
  double ellipseRadius(int i) const;

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

// Adjusts the traverse. A question answered with Cancel (or put to an empty
// callback) stops the computation and is returned as the refusal; fewer than
// two stations are refused.
RigorousOutcome AdjustRigorous(const formats::TraverseObservations& observations, const AskOkCancel& ask);
// The same for the traverse in the window's grid, read first (its refusal is
// returned as the outcome's).
RigorousOutcome AdjustRigorous(const formats::RigorousTable& table, const formats::RigorousParameters& params,
                               const AskOkCancel& ask);

}  // namespace korvane::traverse
