#include "cogo/centring.h"

#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "cogo/figure_text.h"
#include "cogo/plane_survey.h"

namespace korvane::cogo::centring {
namespace {

Result Refused(const std::string& text) {
  Result r;
  r.refusal = Message{text, "提示", MessageIcon::Warning};
  return r;
}

// The correction in seconds for the offset of the line of sight at right
// angles, in metres, over the distance between the centres.
double Seconds(double offset, double s) { return std::asin(offset / s) * kRhoSeconds; }

// Degrees in [0, 360) written in DMS notation with the seconds to 0.01″.
std::string DirectionDms(double degrees) {
  return NumberText(RoundDmsForPrint(DegreesToDms(degrees), 2));
}

}  // namespace

Result Correct(const Input& in) {
  if (!(in.s > 0 && std::isfinite(in.s))) return Refused("边长S必须大于0！");
  if (!(in.e >= 0 && in.e1 >= 0 && std::isfinite(in.e + in.e1))) return Refused("偏心距不能为负！");
  if (in.e + in.e1 >= in.s) return Refused("偏心距之和必须小于边长S！");
  const double sinTheta = std::sin(cogo::RadiansFromDms(in.thetaDms));
  const double sinTheta1 = std::sin(cogo::RadiansFromDms(in.theta1Dms));
  if (!std::isfinite(sinTheta) || !std::isfinite(sinTheta1)) return Refused("偏心角无效！");
  Result r;
  r.station = Seconds(in.e * sinTheta, in.s);
  r.target = Seconds(in.e1 * sinTheta1, in.s);
  r.total = Seconds(in.e * sinTheta + in.e1 * sinTheta1, in.s);
  r.stationText = cogo::SecondsText(r.station);
  r.targetText = cogo::SecondsText(r.target);
  r.totalText = cogo::SecondsText(r.total);
  if (in.observedDms) {
    // A correction of a few 1e-19″ below north wraps to 0, never to 360.
    r.correctedDegrees = WrapDegrees(DmsToDegrees(*in.observedDms) + r.total / 3600.0);
    r.correctedDms = DirectionDms(*r.correctedDegrees);
  }
  return r;
}

Result Correct(const std::vector<std::string>& texts) {
  using cogo::FigureKind;
  // A centred end leaves its two elements empty; an eccentric distance
  // without its angle is a slip.
  const cogo::Figures f = cogo::ReadFigures(texts, {{"S", FigureKind::Distance},
                                                      {"e", FigureKind::Length, true},
                                                      {"θ", FigureKind::Angle, true},
                                                      {"e₁", FigureKind::Length, true},
                                                      {"θ₁", FigureKind::Angle, true},
                                                      {"观测方向", FigureKind::Angle, true}});
  if (f.refusal) return Result{f.refusal};
  const auto& v = f.values;
  if (v[1].value_or(0) > 0 && !v[2]) return Refused("请输入测站偏心角θ！");
  if (v[3].value_or(0) > 0 && !v[4]) return Refused("请输入照准点偏心角θ₁！");
  return Correct(Input{*v[0], v[1].value_or(0), v[2].value_or(0), v[3].value_or(0), v[4].value_or(0), v[5]});
}

}  // namespace korvane::cogo::centring
