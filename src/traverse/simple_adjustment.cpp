#include "traverse/simple_adjustment.h"

#include <cmath>
#include <optional>

#include "core/angles.h"
#include "traverse/closing_traverse.h"
#include "traverse/no_orientation_traverse.h"
#include "traverse/open_traverse.h"
#include "traverse/sketch_builder.h"

namespace korvane::traverse {
namespace {

using traverse::SketchPlace;
using traverse::TraverseSketchInput;

// Auxiliary orientation points are drawn this far from their known point.
constexpr double kClosingOrientationDistance = 150;
constexpr double kOpenOrientationDistance = 200;

std::vector<std::string> Names(const traverse::Reduction& red) {
  std::vector<std::string> names;
  names.reserve(red.stations.size() + 1);
  for (const auto& s : red.stations) names.push_back(s.name);
  return names;
}

std::vector<SketchPlace> Places(const std::vector<double>& x, const std::vector<double>& y) {
  std::vector<SketchPlace> places(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) places[i] = SketchPlace{x[i], y[i]};
  return places;
}

// The named points of a solution; the open kinds add their end point's name.
template <typename Solution>
TraverseSketchInput PointsOf(const Solution& s) {
  TraverseSketchInput in;
  in.names = Names(s.red);
  in.points = Places(s.x, s.y);
  return in;
}

TraverseSketchInput ClosingFigure(const traverse::ClosingSolution& s) {
  TraverseSketchInput in = PointsOf(s);
  const traverse::StartValues& v = s.red.start;
  const SketchPlace& start = in.points.front();
  const SketchPlace& end = in.points.back();
  SketchPlace startOrient{v.orientX, v.orientY};
  SketchPlace endOrient{v.endOrientX, v.endOrientY};
  if (v.azimuthForm()) {
    startOrient = traverse::PointAlong(start.x, start.y, ReverseAzimuth(s.startAzimuth),
                                     kClosingOrientationDistance);
    endOrient = traverse::PointAlong(end.x, end.y, s.closingAzimuth, kClosingOrientationDistance);
  }
  in.extent.push_back(startOrient);
  if (!s.closed) in.extent.push_back(endOrient);
  // New points only: the known end point carries no ellipse.
  for (std::size_t i = 0; i + 2 < in.points.size(); ++i)
    in.ellipses.push_back(traverse::CorrectionEllipse(in.points[i + 1], s.correctionXmm[i], s.correctionYmm[i]));
  in.orientations.push_back({start, startOrient, "定向"});
  if (s.closed) {
    // A closed traverse closes onto its own start orientation.
    in.orientations.push_back({start, startOrient, ""});
  } else {
    in.orientations.push_back({end, endOrient, "附合方向"});
  }
  return in;
}

TraverseSketchInput OpenFigure(const traverse::OpenSolution& s) {
  TraverseSketchInput in = PointsOf(s);
  in.names.push_back(s.endName);
  const traverse::StartValues& v = s.red.start;
  const SketchPlace& start = in.points.front();
  const SketchPlace orient =
      v.azimuthForm()
          ? traverse::PointAlong(start.x, start.y, ReverseAzimuth(s.startAzimuth), kOpenOrientationDistance)
          : SketchPlace{v.orientX, v.orientY};
  // Ellipses growing along the traverse from the weakest-point estimates,
  // radii in millimetres.
  const int n = s.red.n();
  const double q = s.lateralError == 0 ? 1.0 : std::fabs(static_cast<double>(s.lateralError));
  const double l = s.longitudinalError == 0 ? 1.0 : std::fabs(static_cast<double>(s.longitudinalError));
  const double m = std::sqrt(q * q + l * l) / 10;
  for (int i = 1; i <= n; ++i) {
    const SketchPlace& p = in.points[static_cast<std::size_t>(i)];
    in.ellipses.push_back(SketchEllipse{p.y, p.x, i * m + 1.0 / (n + 1), q / l, kRed});
  }
  in.orientations.push_back({start, orient, "定向"});
  return in;
}

TraverseSketchInput NoOrientationFigure(const traverse::NoOrientationSolution& s) {
  TraverseSketchInput in = PointsOf(s);
  in.names.push_back(s.endName);
  const std::size_t n = s.red.stations.size();
  for (std::size_t i = 0; i + 1 < n; ++i)
    in.ellipses.push_back(traverse::CorrectionEllipse(in.points[i + 1], s.correctionXmm[i], s.correctionYmm[i]));
  return in;
}

Sketch ClosingSketch(const traverse::ClosingSolution& s) { return traverse::BuildTraverseSketch(ClosingFigure(s)); }
Sketch OpenSketch(const traverse::OpenSolution& s) { return traverse::BuildTraverseSketch(OpenFigure(s)); }
Sketch NoOrientationSketch(const traverse::NoOrientationSolution& s) {
  return traverse::BuildTraverseSketch(NoOrientationFigure(s));
}

// What the sketch is drawn from, with the heights, for drawings and lists:
// the first station is known, and the last where the kind ends on a known
// point, which keeps its given coordinates (the results carried there may
// miss them by a millimetre); orientation points count only where they are
// given by coordinates (in the azimuth form the sketch's are only drawn
// along the azimuth).
TraversePoints PointsFrom(const TraverseSketchInput& in, const std::vector<double>& heights,
                          const std::optional<SketchPlace>& givenEnd, const traverse::StartValues& start) {
  TraversePoints p;
  const std::size_t n = in.points.size();
  for (std::size_t i = 0; i < n; ++i) {
    const bool knownEnd = givenEnd && i > 0 && i + 1 == n;
    p.names.push_back(i < in.names.size() ? in.names[i] : std::string());
    p.x.push_back(knownEnd ? givenEnd->x : in.points[i].x);
    p.y.push_back(knownEnd ? givenEnd->y : in.points[i].y);
    p.h.push_back(i < heights.size() ? heights[i] : 0.0);
    p.known.push_back(i == 0 || knownEnd);
  }
  p.ellipses = in.ellipses;
  p.magnification = traverse::TraverseSketchMagnification(in);
  if (!start.azimuthForm()) {
    for (const auto& o : in.orientations)
      if (!o.label.empty()) p.orientations.push_back({o.from.x, o.from.y, o.to.x, o.to.y, o.label});
  }
  return p;
}

TraversePoints ClosingPoints(const traverse::ClosingSolution& s) {
  const traverse::StartValues& v = s.red.start;
  const SketchPlace end = s.closed ? SketchPlace{v.startX, v.startY} : SketchPlace{v.endX, v.endY};
  return PointsFrom(ClosingFigure(s), s.height, end, v);
}
TraversePoints OpenPoints(const traverse::OpenSolution& s) {
  return PointsFrom(OpenFigure(s), s.height, std::nullopt, s.red.start);
}
TraversePoints NoOrientationPoints(const traverse::NoOrientationSolution& s) {
  const traverse::StartValues& v = s.red.start;
  return PointsFrom(NoOrientationFigure(s), s.height, SketchPlace{v.endX, v.endY}, v);
}

// A refusal of the adjustment, else the results table (which may itself stop
// at a correction too wide for its column) and, when it is complete, the sketch.
// The sketch is drawn only when it is asked for.
template <typename Outcome, typename Write, typename Draw, typename Points>
SimpleResult Finish(const Outcome& outcome, Write write, Draw draw, Points points, const SimpleInput& input) {
  SimpleResult result;
  result.refusal = outcome.refusal;
  if (!result.ok()) return result;
  result.refusal = write(outcome.solution, result.lines, input.onLine);
  if (result.ok() && input.withSketch) result.sketch = draw(outcome.solution);
  if (result.ok() && input.withPoints) result.points = points(outcome.solution);
  return result;
}

SimpleResult AdjustOpen(traverse::Reduction red, const SimpleInput& input) {
  SimpleResult result;
  const auto solution = traverse::SolveOpen(std::move(red), input.endName);
  traverse::WriteOpenReport(solution, result.lines, input.onLine);
  if (input.withSketch) result.sketch = OpenSketch(solution);
  if (input.withPoints) result.points = OpenPoints(solution);
  return result;
}

}  // namespace

SimpleResult AdjustTraverse(const SimpleInput& input) {
  if (auto refusal = traverse::CheckTable(input.table)) {
    SimpleResult result;
    result.refusal = refusal;
    result.tableAccepted = false;
    return result;
  }
  // The table's texts are read into numbers once; the kinds work on the stations.
  return AdjustObservations(input, formats::ReadTraverseStations(input.table));
}

SimpleResult AdjustObservations(const SimpleInput& input, const formats::TraverseObservations& observations) {
  return AdjustStations(input, traverse::LoadStations(observations));
}

SimpleResult AdjustStations(const SimpleInput& input, std::vector<traverse::Station> stations) {
  return AdjustStations(input, std::move(stations), traverse::ReadStartValues(input.start));
}

SimpleResult AdjustStations(const SimpleInput& input, std::vector<traverse::Station> stations,
                            const traverse::StartValues& start) {
  if (auto refusal = traverse::CheckStartAzimuths(input.kind, start)) {
    SimpleResult result;
    result.refusal = refusal;
    return result;
  }
  const int n = static_cast<int>(stations.size());
  switch (input.kind) {
    case formats::TraverseKind::Connecting:
    case formats::TraverseKind::Closed: {
      const bool closed = input.kind == formats::TraverseKind::Closed;
      traverse::Reduction red = traverse::Reduce(std::move(stations), start, traverse::ClosingReducedLegs(n, closed));
      return Finish(traverse::SolveClosing(std::move(red), closed), traverse::WriteClosingReport, ClosingSketch,
                    ClosingPoints, input);
    }
    case formats::TraverseKind::Open:
      return AdjustOpen(traverse::Reduce(std::move(stations), start, n), input);
    case formats::TraverseKind::NoOrientation:
      return Finish(traverse::SolveNoOrientation(traverse::Reduce(std::move(stations), start, n), input.endName),
                    traverse::WriteNoOrientationReport, NoOrientationSketch, NoOrientationPoints, input);
  }
  return SimpleResult{};
}

std::string ResultsText(const SimpleResult& result) {
  std::size_t size = 0;
  for (const auto& line : result.lines) size += line.size() + 1;
  std::string text;
  text.reserve(size);
  for (const auto& line : result.lines) {
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace korvane::traverse
