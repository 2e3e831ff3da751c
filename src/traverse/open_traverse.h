#pragma once
// The open (branch) traverse: azimuths, coordinates and heights carried from
// the known start point with nothing to close on, and the error estimates of
// its last, weakest point.
#include <string>
#include <vector>

#include "traverse/pipeline.h"
#include "traverse/report_format.h"

namespace korvane::traverse {

struct OpenSolution {
  Reduction red;
  std::string endName;
  double startAzimuth = 0;       // α0, orientation point towards A
  double length = 0;             // L = ΣSp
  std::vector<double> azimuth;   // per leg
  std::vector<double> x, y;      // points 1 .. n+1, millimetres
  std::vector<double> heightDifference;
  std::vector<double> height;    // points 1 .. n+1
  double legError = 0;           // m, mm per leg, from the distance meter
  float lateralError = 0;        // mq, mm
  float longitudinalError = 0;   // ml, mm
};

// The stations reduced over all their legs.
OpenSolution SolveOpen(Reduction red, const std::string& endName);
OpenSolution SolveOpen(const formats::ObservationTable& table, const formats::StartRecord& start, const std::string& endName);

// mq = L √(25 (n + 1.5) / 3 + 1) / 206.265, rounded to 0.1 mm.
float LateralError(double length, int n);
// ml = √(n m² + 20 n²), rounded to 0.1 mm.
float LongitudinalError(double legError, int n);
// The nominal error of a mean leg from the constants, 0 when b is not given.
double MeanLegError(double a, double b, double length, int n);

void WriteOpenReport(const OpenSolution& s, std::vector<std::string>& lines, const LineSink& sink = {});

}  // namespace korvane::traverse
