#include "traverse/pipeline.h"

#include <cmath>

#include "core/angles.h"
#include "core/geometry.h"
#include "core/numbers.h"
#include "formats/observation_check.h"
#include "core/text_utils.h"
#include "traverse/traverse_toolkit.h"

namespace korvane::traverse {
namespace {

// Provisional heights from the forward observations and the raw distances,
// the projection plane, and the mean height it defaults to.
void ProvisionalHeights(Reduction& r) {
  const int n = r.n();
  r.provisionalHeights.resize(static_cast<std::size_t>(n) + 1);
  r.provisionalHeights[0] = r.start.startH;
  for (int i = 0; i < n; ++i) {
    const Station& s = r.stations[i];
    r.provisionalHeights[i + 1] = traverse::ProvisionalHeight(r.provisionalHeights[i], s.distance,
                                                              s.verticalForward, s.instrumentForward,
                                                              s.targetForward);
  }
  r.meanHeight = traverse::MeanHeight(r.provisionalHeights, static_cast<std::size_t>(n));
  r.planeHeight = r.start.projectionHeight != 0 ? r.start.projectionHeight : r.meanHeight;
}

// Distances of the first `legs` legs reduced to the projection plane.
void ReduceDistances(Reduction& r, int legs) {
  r.reductionMm.resize(static_cast<std::size_t>(legs));
  r.reduced.resize(static_cast<std::size_t>(legs));
  for (int i = 0; i < legs; ++i) {
    const float ds = static_cast<float>(
        ProjectionReductionMm(r.provisionalHeights[i], r.provisionalHeights[i + 1], r.planeHeight, r.stations[i].distance));
    r.reductionMm[i] = ds;
    r.reduced[i] = ds / kMillimetresPerMetre + r.stations[i].distance;
  }
  r.reducedSum = traverse::SumOf<double>(r.reduced);
}

// Left angles: a right angle is typed with a leading minus.
void LeftAngles(Reduction& r) {
  r.beta.resize(r.stations.size());
  for (std::size_t i = 0; i < r.stations.size(); ++i) {
    const Station& s = r.stations[i];
    // Decimal degrees, negative for a right angle.
    const double typed = DmsToDegrees(s.angleDms);
    r.beta[i] = typed < 0 ? RightToLeftAngle(s.angleDms) : typed;
  }
  r.betaSum = traverse::SumOf<double>(r.beta);
}

}  // namespace

std::optional<Message> CheckTable(const formats::ObservationTable& table) {
  const int n = table.stationCount();
  if (n < 1) return Message{"数据不构成导线，不接受计算！", "提醒", MessageIcon::Information};
  for (int i = 1; i <= n; ++i) {
    if (auto refusal = CheckRow(i, table.rows[static_cast<std::size_t>(i - 1)])) return refusal;
  }
  return std::nullopt;
}

std::optional<Message> CheckRow(int row, const formats::ObservationRow& cells) {
  for (int j = 2; j <= formats::kObservationColumns; ++j) {
    if (auto refusal = formats::CheckObservationCell(row, j, cells[j - 1])) return refusal;
  }
  return std::nullopt;
}

void StationReader::add(const formats::ObservationRow& cells) {
  if (refusal) return;
  refusal = CheckRow(static_cast<int>(stations.size()) + 1, cells);
  if (!refusal) stations.push_back(LoadStation(cells));
}

StartValues ReadStartValues(const formats::StartRecord& record) {
  auto value = [&](formats::StartItem item) { return EngineValue(record, item); };
  StartValues v;
  v.startX = value(formats::StartItem::StartX);
  v.startY = value(formats::StartItem::StartY);
  v.startH = value(formats::StartItem::StartHeight);
  v.orientX = value(formats::StartItem::StartOrientX);
  v.orientY = value(formats::StartItem::StartOrientY);
  v.endX = value(formats::StartItem::EndX);
  v.endY = value(formats::StartItem::EndY);
  v.endH = value(formats::StartItem::EndHeight);
  v.endOrientX = value(formats::StartItem::EndOrientX);
  v.endOrientY = value(formats::StartItem::EndOrientY);
  v.projectionHeight = value(formats::StartItem::ProjectionHeight);
  v.additiveConstant = value(formats::StartItem::AdditiveConstant);
  v.scaleConstant = value(formats::StartItem::ScaleConstant);
  return v;
}

std::optional<Message> CheckStartAzimuths(formats::TraverseKind kind, const StartValues& start) {
  if (kind == formats::TraverseKind::NoOrientation || !start.azimuthForm()) return std::nullopt;
  const bool endAzimuth = kind == formats::TraverseKind::Connecting;
  if (ValidDms(start.orientX) && (!endAzimuth || ValidDms(start.endOrientX))) return std::nullopt;
  return Message{"起始数据中的方位角有误，请重新输入起始数据！", "请检查", MessageIcon::Information};
}

std::vector<Station> LoadStations(const formats::TraverseObservations& observations) {
  std::vector<Station> stations;
  stations.reserve(observations.stations.size());
  for (const formats::ObservedStation& observed : observations.stations) stations.push_back(LoadStation(observed));
  return stations;
}

Station LoadStation(const formats::ObservedStation& o) {
  Station s;
  s.name = TrimLeft(o.name);
  s.angleDms = o.angleDms;
  s.verticalDms = o.verticalForwardDms;
  s.distance = static_cast<float>(o.distance);
  s.instrumentForward = static_cast<float>(o.instrumentForward);
  s.targetForward = static_cast<float>(o.targetForward);
  s.verticalForward = DmsToRadians(o.verticalForwardDms);
  s.instrumentBack = static_cast<float>(o.instrumentBack);
  s.targetBack = static_cast<float>(o.targetBack);
  s.verticalBack = DmsToRadians(o.verticalBackDms);
  return s;
}

Station LoadStation(const formats::ObservationRow& cells) { return LoadStation(formats::ReadObservedStation(cells)); }


double LegHeightDifference(const Station& s, double d) {
  const double forward =
      traverse::SightHeightDifference(s.verticalForward, d, s.instrumentForward, s.targetForward);
  if (s.oneWay()) return traverse::CurvatureRefraction(d) + forward;
  const double back = traverse::SightHeightDifference(s.verticalBack, d, s.instrumentBack, s.targetBack);
  return traverse::TwoWayMean(forward, back);
}

bool AnyOneWayLeg(const std::vector<Station>& stations, std::size_t legs) {
  for (std::size_t i = 0; i < legs && i < stations.size(); ++i)
    if (stations[i].oneWay()) return true;
  return false;
}

AdjustedPoints AdjustPoints(const std::vector<double>& dx, const std::vector<double>& dy,
                            const std::vector<double>& legWeight, double fx, double fy, double startX,
                            double startY) {
  AdjustedPoints p;
  // The weights already sum to one.
  std::vector<double> vx = traverse::DistributeMisclosure(legWeight, 1.0, fx);
  std::vector<double> vy = traverse::DistributeMisclosure(legWeight, 1.0, fy);
  p.correctionXmm.resize(vx.size());
  p.correctionYmm.resize(vy.size());
  for (std::size_t i = 0; i < vx.size(); ++i) {
    p.correctionXmm[i] = traverse::TenthsOfMillimetre(vx[i]);
    p.correctionYmm[i] = traverse::TenthsOfMillimetre(vy[i]);
  }
  const std::size_t legs = vx.size();
  // Each correction is spent once its coordinates are carried: a long
  // traverse never holds both sets beside the points.
  p.x = traverse::CarryCoordinates(startX, traverse::CorrectedIncrements<double>(dx, vx),
                                   traverse::RoundToMillimetre);
  std::vector<double>().swap(vx);
  p.y = traverse::CarryCoordinates(startY, traverse::CorrectedIncrements<double>(dy, vy),
                                   traverse::RoundToMillimetre);
  std::vector<double>().swap(vy);
  p.adjusted.resize(legs);
  for (std::size_t i = 0; i < legs; ++i)
    p.adjusted[i] = PointDistance(p.x[i], p.y[i], p.x[i + 1], p.y[i + 1]);
  return p;
}

HeightClosure CloseHeights(const Reduction& red, const std::vector<double>& adjusted, double adjustedSum,
                           const std::optional<double>& endHeight) {
  HeightClosure h;
  h.difference.resize(adjusted.size());
  for (std::size_t i = 0; i < adjusted.size(); ++i)
    h.difference[i] = LegHeightDifference(red.stations[i], adjusted[i]);
  h.sum = traverse::SumOf<double>(h.difference);
  h.misclosure = endHeight ? traverse::HeightMisclosure<double>(h.sum, red.start.startH, *endHeight) : h.sum;
  const double length = adjustedSum > 0 ? adjustedSum : 0;
  h.perKm = traverse::CorrectionPerKm(h.misclosure, length);
  h.correction = traverse::DistributeMisclosure(adjusted, length, h.misclosure);
  h.height = traverse::CarryHeights(red.start.startH, h.difference, h.correction);
  return h;
}

Reduction Reduce(std::vector<Station> stations, const StartValues& start, int reducedLegs) {
  Reduction r;
  r.start = start;
  r.stations = std::move(stations);
  ProvisionalHeights(r);
  ReduceDistances(r, reducedLegs);
  LeftAngles(r);
  return r;
}

Reduction Reduce(const formats::ObservationTable& table, const formats::StartRecord& record, int reducedLegs) {
  return Reduce(LoadStations(formats::ReadTraverseStations(table)), ReadStartValues(record), reducedLegs);
}

}  // namespace korvane::traverse
