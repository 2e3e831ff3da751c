#include "cogo/resection.h"

#include <cmath>
#include <complex>
#include <numbers>

#include "core/angles.h"
#include "cogo/figure_text.h"

namespace korvane::cogo::resection {
namespace {

// A point as X + iY: the argument of a difference is then its azimuth, and
// a factor e^{iφ} turns a direction clockwise by φ.
using Z = std::complex<double>;

Z AsZ(PlanePoint p) { return {p.x, p.y}; }

// Known points closer than this are one point.
constexpr double kShortestSide = 0.001;
// The angles recomputed at P must give back the observed ones to this, in
// radians (1″); otherwise the observations fit no point.
constexpr double kAngleCheck = 1.0 / kRhoSeconds;

Result Refused(const std::string& text) {
  Result r;
  r.refusal = Message{text, "提示", MessageIcon::Warning};
  return r;
}

double Cross(Z p, Z q) { return p.real() * q.imag() - p.imag() * q.real(); }

struct Circle {
  Z centre;
  double radius = 0;
};

// The circle through three points; none when they lie on one line.
std::optional<Circle> Circumcircle(Z a, Z b, Z c) {
  const Z ab = b - a, ac = c - a;
  const double twiceArea = Cross(ab, ac);
  if (std::fabs(twiceArea) <= 1e-12 * std::abs(ab) * std::abs(ac)) return std::nullopt;
  const Z offset = (std::norm(ab) * ac - std::norm(ac) * ab) * Z(0, -1) / (2 * twiceArea);
  return Circle{a + offset, std::abs(offset)};
}

// The crossing of the two lines the circles become after inversion about C
// (coordinates relative to C); none when the lines are parallel.
std::optional<Z> InvertedCrossing(Z a, Z b, double alpha, double beta) {
  const Z ia = 1.0 / a, ib = 1.0 / b;
  const Z alongB = ib * std::polar(1.0, -alpha);
  const Z alongA = ia * std::polar(1.0, beta);
  const double det = Cross(alongB, alongA);
  if (std::fabs(det) <= 1e-15 * std::abs(alongB) * std::abs(alongA)) return std::nullopt;
  const double t = Cross(ia - ib, alongA) / det;
  return ib + t * alongB;
}

// The clockwise angle from the direction P→from to P→to, in [0, 2π).
double TurnAt(Z p, Z from, Z to) { return Wrap(std::arg((to - p) / (from - p))); }

std::string WarningText(double distance, double radius) {
  return "P点距危险圆" + cogo::MetreText(distance) + "m，小于危险圆半径R=" + cogo::MetreText(radius) +
         "m的1/5，交会点精度较差！";
}

}  // namespace

Result Resect(const Input& in) {
  const Z a = AsZ(in.a), b = AsZ(in.b), c = AsZ(in.c);
  if (!std::isfinite(std::abs(a) + std::abs(b) + std::abs(c))) return Refused("已知点坐标无效！");
  if (std::abs(a - b) < kShortestSide || std::abs(b - c) < kShortestSide || std::abs(c - a) < kShortestSide)
    return Refused("已知点A、B、C中有重合的点！");
  const double alpha = cogo::RadiansFromDms(in.alphaDms);
  const double beta = cogo::RadiansFromDms(in.betaDms);
  // Seen from outside the triangle the points can follow A, C, B clockwise:
  // then α and β add up to more than 360°.
  if (!(alpha > 0 && beta > 0)) return Refused("α、β必须大于0°！");
  const std::optional<Circle> danger = Circumcircle(a, b, c);
  if (!danger) return Refused("已知点A、B、C在一条直线上，无法后方交会！");
  const std::optional<Z> u = InvertedCrossing(a - c, b - c, alpha, beta);
  Result r;
  r.radius = danger->radius;
  if (u && std::abs(*u) > 0) {
    const Z p = c + 1.0 / *u;
    r.p = {p.real(), p.imag()};
    r.dangerDistance = std::fabs(std::abs(p - danger->centre) - danger->radius);
  }
  if (!u || !std::isfinite(r.p.x) || !std::isfinite(r.p.y) || r.dangerDistance < kRefuseFraction * r.radius)
    return Refused("P点位于危险圆上或离危险圆太近（小于R/100），无法可靠确定！");
  if (!cogo::Reachable(r.p)) return Refused("观测角与已知点不符：P点坐标超出范围！");
  const Z p = AsZ(r.p);
  if (std::abs(p - a) < kShortestSide || std::abs(p - b) < kShortestSide || std::abs(p - c) < kShortestSide)
    return Refused("观测角与已知点不符：P点与已知点重合！");
  if (std::fabs(WrapSigned(TurnAt(p, b, c) - alpha)) > kAngleCheck ||
      std::fabs(WrapSigned(TurnAt(p, c, a) - beta)) > kAngleCheck)
    return Refused("观测角与已知点不符，没有满足α、β的P点！");
  r.x = cogo::MetreText(r.p.x);
  r.y = cogo::MetreText(r.p.y);
  r.radiusText = cogo::MetreText(r.radius);
  r.dangerText = cogo::MetreText(r.dangerDistance);
  if (r.dangerDistance < kWarnFraction * r.radius)
    r.warning = Message{WarningText(r.dangerDistance, r.radius), "注意", MessageIcon::Warning};
  return r;
}

Result Resect(const std::vector<std::string>& texts) {
  using cogo::FigureKind;
  const cogo::Figures f = cogo::ReadFigures(
      texts, {{"XA", FigureKind::Coordinate}, {"YA", FigureKind::Coordinate}, {"XB", FigureKind::Coordinate},
              {"YB", FigureKind::Coordinate}, {"XC", FigureKind::Coordinate}, {"YC", FigureKind::Coordinate},
              {"α", FigureKind::Angle}, {"β", FigureKind::Angle}});
  if (f.refusal) return Result{f.refusal};
  const auto& v = f.values;
  return Resect(Input{{*v[0], *v[1]}, {*v[2], *v[3]}, {*v[4], *v[5]}, *v[6], *v[7]});
}

}  // namespace korvane::cogo::resection
