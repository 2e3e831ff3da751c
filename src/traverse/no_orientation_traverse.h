#pragma once
// The no-orientation traverse between two known points: computed in an
// assumed orientation, turned onto the known line A→B, and its remaining
// coordinate and height misclosures distributed.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "traverse/pipeline.h"
#include "traverse/report_format.h"

namespace korvane::traverse {

struct NoOrientationSolution {
  Reduction red;
  std::string endName;
  double trueAzimuth = 0;      // αAB
  double assumedAzimuth = 0;   // αAB′
  double turn = 0;             // Δα, degrees in [0, 360)
  double turnDms = 0;          // Δα in DMS, 0.1″
  std::vector<double> azimuth; // turned azimuth per leg
  double fx = 0, fy = 0, fs = 0;
  std::vector<double> legWeight;
  std::vector<double> correctionXmm, correctionYmm;  // per leg, 0.1 mm
  std::vector<double> x, y;                          // points 1 .. n+1
  std::vector<double> adjusted;                      // Sa per leg
  double adjustedSum = 0;
  std::vector<float> distanceChangeMm;               // δSa per leg, 0.1 mm
  std::string relativeMisclosure;
  std::vector<double> heightDifference;
  double heightSum = 0, fh = 0, correctionPerKm = 0;
  std::vector<float> heightCorrectionMm;             // per leg, 0.1 mm
  std::vector<double> height;                        // points 1 .. n+1
};

struct NoOrientationOutcome {
  std::optional<Message> refusal;
  NoOrientationSolution solution;
};

// The stations reduced over all their legs.
NoOrientationOutcome SolveNoOrientation(Reduction red, const std::string& endName);
NoOrientationOutcome SolveNoOrientation(const formats::ObservationTable& table, const formats::StartRecord& start,
                                        const std::string& endName);

std::optional<Message> WriteNoOrientationReport(const NoOrientationSolution& s,
                                                std::vector<std::string>& lines, const LineSink& sink = {});

}  // namespace korvane::traverse
