#include "cogo/intersection.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"

#include "cogo/figure_text.h"

namespace korvane::cogo::intersection {
namespace {

using cogo::FigureField;
using cogo::FigureKind;

// A and B closer than this are one point: no base line.
constexpr double kShortestBase = 0.001;

bool Finite(PlanePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

Result Refused(const std::string& text) {
  Result r;
  r.refusal = Message{text, "提示", MessageIcon::Warning};
  return r;
}

// Fills the printed figures and the warning of a weak intersection angle.
Result Finished(PlanePoint p, double angleAtP) {
  // Lines that meet at a vanishing angle put P beyond any survey.
  if (!cogo::Reachable(p)) return Refused("交会角过小，交会点坐标超出范围！");
  Result r;
  r.p = p;
  r.angleAtP = angleAtP;
  r.x = cogo::MetreText(p.x);
  r.y = cogo::MetreText(p.y);
  r.angleText = cogo::AngleText(angleAtP);
  if (angleAtP < kWeakBelowDegrees)
    r.warning = Message{"交会角γ=" + r.angleText + "，小于30°，交会点精度较差！", "注意", MessageIcon::Warning};
  else if (angleAtP > kWeakAboveDegrees)
    r.warning = Message{"交会角γ=" + r.angleText + "，大于150°，交会点精度较差！", "注意", MessageIcon::Warning};
  return r;
}

std::vector<FigureField> BaseFields(const char* third, const char* fourth, FigureKind kind) {
  return {{"XA", FigureKind::Coordinate}, {"YA", FigureKind::Coordinate}, {"XB", FigureKind::Coordinate},
          {"YB", FigureKind::Coordinate}, {third, kind},                  {fourth, kind}};
}

}  // namespace

Result ByAngles(const AngleInput& in) {
  if (!Finite(in.a) || !Finite(in.b)) return Refused("已知点坐标无效！");
  if (cogo::Distance(in.a, in.b) < kShortestBase) return Refused("A、B两点重合，无法交会！");
  const double alphaDeg = DmsToDegrees(in.alphaDms);
  const double betaDeg = DmsToDegrees(in.betaDms);
  if (!(alphaDeg > 0 && alphaDeg < 180 && betaDeg > 0 && betaDeg < 180))
    return Refused("交会角α、β必须大于0°且小于180°！");
  // The angle at P from the typed angles, free of trigonometric noise at 30° and 150°.
  const double gamma = 180.0 - alphaDeg - betaDeg;
  if (gamma <= 0) return Refused("α与β之和不小于180°，两方向线不相交！");
  const double alpha = cogo::RadiansFromDms(in.alphaDms);
  const double beta = cogo::RadiansFromDms(in.betaDms);
  const double cotA = std::cos(alpha) / std::sin(alpha);
  const double cotB = std::cos(beta) / std::sin(beta);
  const double sum = cotA + cotB;
  const double dx = in.b.x - in.a.x;
  const double dy = in.b.y - in.a.y;
  // Relative to A, so that large coordinates keep their millimetres.
  const PlanePoint p{in.a.x + (dx * cotA + dy) / sum, in.a.y + (dy * cotA - dx) / sum};
  return Finished(p, gamma);
}

Result ByDistances(const DistanceInput& in) {
  if (!Finite(in.a) || !Finite(in.b)) return Refused("已知点坐标无效！");
  const double d = cogo::Distance(in.a, in.b);
  if (d < kShortestBase) return Refused("A、B两点重合，无法交会！");
  if (!(in.sa > 0 && in.sb > 0 && std::isfinite(in.sa) && std::isfinite(in.sb))) return Refused("边长SA、SB必须大于0！");
  const double gap = std::max(d - (in.sa + in.sb), std::fabs(in.sa - in.sb) - d);
  if (gap > 1e-9 * (in.sa + in.sb + d))
    return Refused("两边长与AB边长构不成三角形，两圆不相交！");
  // Foot of P on the base, then the offset at right angles to it.
  const double along = (in.sa * in.sa - in.sb * in.sb + d * d) / (2 * d);
  const double offset = std::sqrt(std::max(0.0, in.sa * in.sa - along * along));
  const double ux = (in.b.x - in.a.x) / d;
  const double uy = (in.b.y - in.a.y) / d;
  // The left normal of A→B is (uy, −ux): towards the smaller azimuth.
  const double side = in.right ? -1.0 : 1.0;
  const PlanePoint p{in.a.x + along * ux + side * offset * uy, in.a.y + along * uy - side * offset * ux};
  const double cosGamma = (in.sa * in.sa + in.sb * in.sb - d * d) / (2 * in.sa * in.sb);
  const double gamma = RadiansToDegrees(std::acos(std::clamp(cosGamma, -1.0, 1.0)));
  return Finished(p, gamma);
}

Result ByAngles(const std::vector<std::string>& texts) {
  const cogo::Figures f = cogo::ReadFigures(texts, BaseFields("α", "β", FigureKind::Angle));
  if (f.refusal) return Result{f.refusal};
  return ByAngles(AngleInput{{*f.values[0], *f.values[1]}, {*f.values[2], *f.values[3]}, *f.values[4], *f.values[5]});
}

Result ByDistances(const std::vector<std::string>& texts, bool right) {
  const cogo::Figures f = cogo::ReadFigures(texts, BaseFields("SA", "SB", FigureKind::Distance));
  if (f.refusal) return Result{f.refusal};
  return ByDistances(
      DistanceInput{{*f.values[0], *f.values[1]}, {*f.values[2], *f.values[3]}, *f.values[4], *f.values[5], right});
}

}  // namespace korvane::cogo::intersection
