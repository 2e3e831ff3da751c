#include "geodesy/gauss_kruger.h"

#include <GeographicLib/TransverseMercatorExact.hpp>
#include <cmath>
#include <memory>

#include "core/angles.h"
#include "core/typed_values.h"
#include "geodesy/notice.h"

namespace korvane::geodesy {
namespace {

// The projection of each ellipsoid, built once: building it costs more than
// projecting a point.
struct Projection {
  GeographicLib::TransverseMercatorExact tm;
  double quadrant;  // northing of the pole, the largest X there is
};

const Projection& ProjectionOf(Datum datum) {
  thread_local std::unique_ptr<Projection> built[3];
  std::unique_ptr<Projection>& p = built[static_cast<int>(datum)];
  if (!p) {
    const Axes axes = AxesOf(datum);
    GeographicLib::TransverseMercatorExact tm(axes.a, 1.0 / axes.inverseFlattening, 1.0);
    double e = 0, n = 0;
    tm.Forward(0, 90, 0, e, n);
    p = std::make_unique<Projection>(Projection{tm, n});
  }
  return *p;
}

Message TooFarMessage() {
  return Notice("点离中央子午线超过" + FixedDecimals(kMaxLongitudeOffset, 0) + "度，不在投影带内，无法计算！");
}

int ZoneCount(int width) { return width == 3 ? 120 : 60; }

// The zone whose own central meridian this is, or 0.
int ZoneOfMeridian(double centralMeridian, int width) {
  const double n = width == 3 ? centralMeridian / 3.0 : (centralMeridian + 3.0) / 6.0;
  if (n != std::floor(n) || n < 1 || n > ZoneCount(width)) return 0;
  return static_cast<int>(n);
}

ZoneCheck ZoneByNumber(const ZoneSpec& zoneAsked) {
  ZoneCheck check;
  const std::optional<int> n = ReadCount(zoneAsked.number);
  if (!n) {
    check.refusal = Notice("带号输入有误！");
  } else if (*n < 1 || *n > ZoneCount(zoneAsked.width)) {
    check.refusal = Notice(zoneAsked.width == 3 ? "3度带的带号应为1～120！" : "6度带的带号应为1～60！");
  } else {
    check.zone.number = *n;
    check.zone.centralMeridian = zoneAsked.width == 3 ? 3.0 * *n : 6.0 * *n - 3.0;
  }
  return check;
}

ZoneCheck ZoneByMeridian(const ZoneSpec& zoneAsked) {
  ZoneCheck check;
  const std::optional<double> l0 = ReadDmsDegrees(zoneAsked.centralMeridian);
  if (!l0) {
    check.refusal = Notice("中央子午线输入有误！");
  } else if (std::fabs(*l0) > 360.0) {
    check.refusal = Notice("中央子午线不能超过360度！");
  } else {
    check.zone.centralMeridian = *l0;
    check.zone.number = ZoneOfMeridian(*l0, zoneAsked.width);
    if (zoneAsked.prefix && check.zone.number == 0)
      check.refusal = Notice("中央子午线不是" + std::to_string(zoneAsked.width) + "度带的中央子午线，Y坐标不能加带号！");
  }
  return check;
}

}  // namespace

std::optional<Datum> DatumByName(std::string_view name) {
  if (name == "cgcs2000") return Datum::Cgcs2000;
  if (name == "krassovsky") return Datum::Krassovsky;
  if (name == "iag75") return Datum::Iag75;
  return std::nullopt;
}

Axes AxesOf(Datum datum) {
  switch (datum) {
    case Datum::Cgcs2000: return {6378137.0, 298.257222101};
    case Datum::Krassovsky: return {6378245.0, 298.3};
    case Datum::Iag75: return {6378140.0, 298.257};
  }
  return {6378137.0, 298.257222101};
}

ZoneCheck ResolveZone(const ZoneSpec& zoneAsked) {
  if (zoneAsked.width != 3 && zoneAsked.width != 6) return {Notice("投影带宽应为3度或6度！"), {}};
  ZoneCheck check = zoneAsked.byCentralMeridian ? ZoneByMeridian(zoneAsked) : ZoneByNumber(zoneAsked);
  check.zone.prefix = zoneAsked.prefix;
  return check;
}

Position Forward(Datum datum, const Zone& zone, double b, double l) {
  Position p;
  if (std::fabs(b) > 90.0) {
    p.refusal = Notice("纬度不能超过90度！");
    return p;
  }
  const double dl = WrapLongitude(l - zone.centralMeridian);
  if (std::fabs(dl) > kMaxLongitudeOffset) {
    p.refusal = TooFarMessage();
    return p;
  }
  double easting = 0;
  ProjectionOf(datum).tm.Forward(0, b, dl, easting, p.first, p.gamma, p.k);
  // With the prefix, Y keeps the zone number only while the easting, as
  // printed to the millimetre, stays within ±500 km.
  if (zone.prefix && (easting < -kFalseEasting || easting >= kFalseEasting - 0.0005)) {
    p.refusal = Notice("点离中央子午线超过500公里，Y坐标不能加带号！");
    return p;
  }
  p.second = easting + kFalseEasting + (zone.prefix ? zone.number * kZonePrefixFactor : 0.0);
  return p;
}

Position Inverse(Datum datum, const Zone& zone, double x, double y) {
  Position p;
  double easting = y - kFalseEasting;
  if (zone.prefix) {
    const double digits = std::floor(y / kZonePrefixFactor);
    if (digits != zone.number) {
      p.refusal = Notice("Y坐标的带号（" + FixedDecimals(digits, 0) + "）与投影带（" +
                          std::to_string(zone.number) + "）不符！");
      return p;
    }
    easting -= digits * kZonePrefixFactor;
  }
  const Projection& projection = ProjectionOf(datum);
  // Beyond the pole, or farther east or west than any point within the
  // longitude limit, there is nothing to compute.
  if (std::fabs(x) > projection.quadrant || std::fabs(easting) > 1000000.0) {
    p.refusal = std::fabs(x) > projection.quadrant ? Notice("X坐标超出地球范围，无法计算！") : TooFarMessage();
    return p;
  }
  double dl = 0;
  projection.tm.Reverse(0, easting, x, p.first, dl, p.gamma, p.k);
  if (!std::isfinite(p.first) || !std::isfinite(dl) || std::fabs(dl) > kMaxLongitudeOffset) {
    p.refusal = TooFarMessage();
    return p;
  }
  p.second = WrapLongitude(zone.centralMeridian + dl);
  return p;
}

namespace {

constexpr int kAngleSecondDecimals = 5;
constexpr int kGammaSecondDecimals = 3;
constexpr int kCoordinateDecimals = 3;
constexpr int kScaleDecimals = 8;

struct Typed {
  std::optional<Message> refusal;
  double first = 0, second = 0;
};

Typed ReadValues(Problem problem, std::string_view first, std::string_view second) {
  Typed t;
  const bool angles = problem == Problem::Forward;
  const std::optional<double> a = angles ? ReadDmsDegrees(first) : ReadNumber(first);
  const std::optional<double> b = angles ? ReadDmsDegrees(second) : ReadNumber(second);
  if (!a || !b) {
    const char* name = angles ? (a ? "L" : "B") : (a ? "Y" : "X");
    t.refusal = Notice(std::string(name) + "输入有误！");
    return t;
  }
  t.first = *a;
  t.second = *b;
  return t;
}

void PrintPlane(const Position& p, Solution& s) {
  s.first = FixedDecimals(p.first, kCoordinateDecimals);
  s.second = FixedDecimals(p.second, kCoordinateDecimals);
}

void PrintGeographic(const Position& p, std::string& b, std::string& l) {
  b = DmsDecimals(p.first, kAngleSecondDecimals);
  l = DmsDecimals(p.second, kAngleSecondDecimals);
}

// The zones of the settings; the target only for a zone change.
std::optional<Message> ResolveZones(const Settings& settings, Zone& zone, Zone& target) {
  const ZoneCheck from = ResolveZone(settings.zone);
  if (from.refusal) return from.refusal;
  zone = from.zone;
  if (settings.problem != Problem::ZoneChange) return std::nullopt;
  ZoneCheck to = ResolveZone(settings.target);
  if (to.refusal) to.refusal->text = "换算后的投影带：" + to.refusal->text;
  target = to.zone;
  return to.refusal;
}

}  // namespace

Solution Solve(const Settings& settings, std::string_view first, std::string_view second) {
  Solution s;
  Zone zone, target;
  if ((s.refusal = ResolveZones(settings, zone, target))) return s;
  const Typed typed = ReadValues(settings.problem, first, second);
  if (typed.refusal) {
    s.refusal = typed.refusal;
    s.unreadable = true;
    return s;
  }
  if (settings.problem == Problem::Forward) {
    s.result = Forward(settings.datum, zone, typed.first, typed.second);
    if (!(s.refusal = s.result.refusal)) PrintPlane(s.result, s);
  } else {
    s.result = Inverse(settings.datum, zone, typed.first, typed.second);
    if ((s.refusal = s.result.refusal)) return s;
    if (settings.problem == Problem::Inverse) {
      PrintGeographic(s.result, s.first, s.second);
    } else {
      PrintGeographic(s.result, s.b, s.l);
      s.result = Forward(settings.datum, target, s.result.first, s.result.second);
      if ((s.refusal = s.result.refusal)) {
        s.refusal->text = "换算后的投影带：" + s.refusal->text;
        return s;
      }
      PrintPlane(s.result, s);
    }
  }
  if (s.refusal) return s;
  s.gamma = DmsDecimals(s.result.gamma, kGammaSecondDecimals);
  s.k = FixedDecimals(s.result.k, kScaleDecimals);
  return s;
}

}  // namespace korvane::geodesy
