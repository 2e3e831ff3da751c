#include "simple/pipeline.h"

#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/observation_check.h"
#include "core/text_utils.h"

namespace korvane::simple {
namespace {

constexpr double kEarthRadiusKm = 6371.27;
// The line of sight is taken 1.45 m above the mean of the two marks.
constexpr double kSightHeightSum = 2.9;
// Curvature and refraction in metres per square kilometre.
constexpr double kCurvature = 0.13;

double CellValue(const ObservationTable& table, int row, int column) {
  return ParseLenient(TrimLeft(table.cell(row, column)));
}

}  // namespace

std::optional<Message> CheckTable(const ObservationTable& table) {
  const int n = table.stationCount();
  if (n < 1) return Message{"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information};
  for (int i = 1; i <= n; ++i) {
    for (int j = 2; j <= kObservationColumns; ++j) {
      if (auto refusal = CheckObservationCell(i, j, table.cell(i, j))) return refusal;
    }
  }
  return std::nullopt;
}

StartValues ReadStartValues(const StartRecord& record) {
  StartValues v;
  v.startX = EngineValue(record, 1);
  v.startY = EngineValue(record, 2);
  v.startH = static_cast<float>(EngineValue(record, 3));
  v.orientX = EngineValue(record, 4);
  v.orientY = EngineValue(record, 5);
  v.endX = EngineValue(record, 6);
  v.endY = EngineValue(record, 7);
  v.endH = EngineValue(record, 8);
  v.endOrientX = EngineValue(record, 9);
  v.endOrientY = EngineValue(record, 10);
  v.projectionHeight = static_cast<float>(EngineValue(record, 11));
  v.constantA = EngineValue(record, 12);
  v.constantB = EngineValue(record, 13);
  return v;
}

std::vector<Station> LoadStations(const ObservationTable& table) {
  std::vector<Station> stations(static_cast<std::size_t>(table.stationCount()));
  for (int i = 1; i <= table.stationCount(); ++i) {
    Station& s = stations[static_cast<std::size_t>(i - 1)];
    s.name = TrimLeft(table.cell(i, 1));
    s.angleText = TrimLeft(table.cell(i, 2));
    s.verticalText = TrimLeft(table.cell(i, 6));
    s.angleDms = ParseLenient(s.angleText);
    s.betaRaw = DmsToDegrees(s.angleDms);
    s.distance = static_cast<float>(CellValue(table, i, 3));
    s.instrumentForward = static_cast<float>(CellValue(table, i, 4));
    s.targetForward = static_cast<float>(CellValue(table, i, 5));
    s.verticalForward = DmsToRadians(ParseLenient(s.verticalText));
    s.instrumentBack = static_cast<float>(CellValue(table, i, 7));
    s.targetBack = static_cast<float>(CellValue(table, i, 8));
    s.verticalBack = DmsToRadians(CellValue(table, i, 9));
  }
  return stations;
}

float ProjectionReductionMm(float h1, float h2, float planeHeight, float distance) {
  const double lineHeight = (static_cast<double>(h1) + h2 + kSightHeightSum) / 2;
  return static_cast<float>(-(lineHeight - planeHeight) * distance / kEarthRadiusKm);
}

float LegHeightDifference(const Station& s, double d) {
  const double forward = std::tan(s.verticalForward) * d + s.instrumentForward - s.targetForward;
  if (s.oneWay()) {
    const double km = d / 1000;
    return static_cast<float>(kCurvature * km * km + forward);
  }
  const double back = std::tan(s.verticalBack) * d + s.instrumentBack - s.targetBack;
  return static_cast<float>((forward - back) / 2);
}

Reduction Reduce(const ObservationTable& table, const StartRecord& record, int reducedLegs) {
  Reduction r;
  r.start = ReadStartValues(record);
  r.stations = LoadStations(table);
  const int n = r.n();

  // Provisional heights from the forward observations and the raw distances.
  r.provisionalHeights.resize(static_cast<std::size_t>(n) + 1);
  r.provisionalHeights[0] = r.start.startH;
  double heightSum = 0;
  for (int i = 0; i < n; ++i) {
    const Station& s = r.stations[i];
    r.provisionalHeights[i + 1] =
        static_cast<float>(s.distance * std::tan(s.verticalForward) + r.provisionalHeights[i] +
                           s.instrumentForward - s.targetForward);
    heightSum += r.provisionalHeights[i];
  }
  r.meanHeight = static_cast<float>(RoundFixed(heightSum / n, "#0.000"));
  r.planeHeight = r.start.projectionHeight != 0 ? r.start.projectionHeight : r.meanHeight;

  // Distances reduced to the projection plane.
  r.reductionMm.resize(static_cast<std::size_t>(reducedLegs));
  r.reduced.resize(static_cast<std::size_t>(reducedLegs));
  for (int i = 0; i < reducedLegs; ++i) {
    const float ds = ProjectionReductionMm(r.provisionalHeights[i], r.provisionalHeights[i + 1],
                                           r.planeHeight, r.stations[i].distance);
    r.reductionMm[i] = ds;
    r.reduced[i] = ds / 1000.0 + r.stations[i].distance;
    r.reducedSum = static_cast<float>(r.reducedSum + r.reduced[i]);
  }

  // Left angles: a right angle is typed with a leading minus.
  r.beta.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const Station& s = r.stations[i];
    r.beta[i] = s.betaRaw < 0 ? RightToLeftAngle(s.angleDms) : s.betaRaw;
    r.betaSum += r.beta[i];
  }
  return r;
}

}  // namespace korvane::simple
