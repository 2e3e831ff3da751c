#pragma once
// The network window's two tables and its precision boxes as network
// records, and back. A table row is one record: the points as name, X, Y
// and an optional mark 基准 (or DATUM) of a free network's datum point; the
// observations as type (方向组, 方向, 角度, 距离, 方位角; the file's keywords
// SET, DIR, ANGLE, DIST, AZI are taken too), station or start point,
// target / back sight / end point, fore sight, value and the optional own
// standard deviation (″, or mm for a distance). Rows are read by the network file's own reader, so a table is
// refused for the same reasons as a file, with its row number.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "formats/network_file.h"

namespace korvane::ui {

using TableRows = std::vector<std::vector<std::string>>;

// The precision boxes: direction ″, angle ″, a mm, b ppm; an empty box
// takes the default deviation.
using PrecisionTexts = std::array<std::string, 4>;

struct NetworkTablesRead {
  std::optional<Message> refusal;
  formats::NetworkInput input;
  bool ok() const { return !refusal.has_value(); }
};

NetworkTablesRead NetworkFromTables(const TableRows& known, const TableRows& observations,
                                    const PrecisionTexts& precision);

TableRows KnownPointRows(const formats::NetworkInput& input);
// Direction sets (the 方向组 row, then its directions), angles, distances and
// fixed azimuths, the type in Chinese.
TableRows ObservationRows(const formats::NetworkInput& input);
// Empty boxes when the file gave no deviations.
PrecisionTexts PrecisionBoxes(const formats::NetworkInput& input);

}  // namespace korvane::ui
