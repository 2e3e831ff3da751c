#pragma once
// The simple adjustment of the four traverse kinds: the observation table and
// the start data go in, the results table (line by line) and the sketch come out.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/observation_table.h"
#include "core/sketch.h"
#include "formats/start_data.h"
#include "formats/traverse_kind.h"
#include "traverse/pipeline.h"
#include "traverse/report_format.h"

namespace korvane::traverse {

struct SimpleInput {
  formats::TraverseKind kind = formats::TraverseKind::Connecting;
  formats::ObservationTable table;
  formats::StartRecord start;
  // Name of the end point of the open and no-orientation kinds: the second
  // name of the opened data file, or "终点" when none was opened.
  std::string endName = "终点";
  // Whether to draw the sketch; the batch program needs it only when asked.
  bool withSketch = true;
  // Whether to keep the adjusted points for a drawing or a coordinate list.
  bool withPoints = false;
  // When set, each line of the results table goes to it as it is written
  // and the result's lines stay empty.
  traverse::LineSink onLine;
};

// The adjusted traverse as drawings and coordinate lists take it: the
// stations in order (a closed traverse ends on its first station again),
// the sketch's ellipses of the new points (radii in millimetres) and the
// orientation lines to points given by their coordinates.
struct TraversePoints {
  std::vector<std::string> names;
  std::vector<double> x, y, h;
  std::vector<bool> known;
  std::vector<SketchEllipse> ellipses;
  double magnification = 1;  // of the ellipses, as the sketch enlarges them
  struct Orientation {
    double fromX = 0, fromY = 0, x = 0, y = 0;
    std::string label;  // as the sketch labels the orientation point
  };
  std::vector<Orientation> orientations;
};

struct SimpleResult {
  // Lines of the results table; each is shown followed by a line break.
  // After a refusal this holds what was written before it (possibly nothing).
  std::vector<std::string> lines;
  std::optional<Message> refusal;
  // False when the observation table itself was refused (too short, an empty
  // or a non-numeric cell): nothing was computed from it.
  bool tableAccepted = true;
  Sketch sketch;  // empty unless the adjustment succeeded
  TraversePoints points;  // empty unless asked for and the adjustment succeeded
  bool ok() const { return !refusal.has_value(); }
};

// Checks the input's table, reads it once and adjusts the stations it holds.
SimpleResult AdjustTraverse(const SimpleInput& input);
// The same for stations already read (the table of the input is not used):
// observed stations, or stations already in the kinds' precision (see
// traverse::StationReader), with the known points of the input's start data
// or of the given start values.
SimpleResult AdjustObservations(const SimpleInput& input, const formats::TraverseObservations& observations);
SimpleResult AdjustStations(const SimpleInput& input, std::vector<traverse::Station> stations);
SimpleResult AdjustStations(const SimpleInput& input, std::vector<traverse::Station> stations,
                            const traverse::StartValues& start);

// The results pane's text: every line followed by "\n".
std::string ResultsText(const SimpleResult& result);

}  // namespace korvane::traverse
