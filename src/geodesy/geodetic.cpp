#include "geodesy/geodetic.h"

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/text_utils.h"
#include "core/typed_values.h"
#include "geodesy/notice.h"

namespace korvane::geodesy {
namespace {

// The seconds per radian and the degree factors of the series, derived from
// its literal π.
constexpr double kRho = 180.0 / kGeodeticPi * 3600.0;
constexpr double kToRadians = kGeodeticPi / 180.0;
constexpr double kToDegrees = 180.0 / kGeodeticPi;

// An ellipsoid given by its semi-major axis and inverse flattening.
Ellipsoid FromAxis(double a, double inverseFlattening) {
  const double b = a * (1.0 - 1.0 / inverseFlattening);
  return {a * a / b, (a * a - b * b) / (b * b), a, b};
}

// An ellipsoid given by c and e'²: a = c / √(1 + e'²), b = c / (1 + e'²).
Ellipsoid FromSeriesConstants(double c, double ePrime2) {
  return {c, ePrime2, c / std::sqrt(1.0 + ePrime2), c / (1.0 + ePrime2)};
}

// The opposite direction of an azimuth, in [0, 360).
double BackAzimuth(double azimuth) { return ReverseAzimuth(WrapDegrees(azimuth)); }

// The quantities at the first point every coefficient is built from.
struct Local {
  double t, t2, t4, e2, e4, n;
};

Local LocalAt(const Ellipsoid& e, double b1Radians) {
  Local q{};
  q.t = std::tan(b1Radians);
  q.t2 = q.t * q.t;
  q.t4 = q.t2 * q.t2;
  const double eta = std::sqrt(e.ePrime2) * std::cos(b1Radians);
  q.e2 = eta * eta;
  q.e4 = q.e2 * q.e2;
  q.n = e.c / std::sqrt(1.0 + q.e2);
  return q;
}

// Latitude difference in arc seconds.
double LatitudeSeries(const Local& q, double u, double v) {
  const double t = q.t, t2 = q.t2, t4 = q.t4, h2 = q.e2, h4 = q.e4, n = q.n;
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
  const double b10 = kRho * (1 + h2) / n;
  const double b20 = -3 * kRho * t * h2 * (1 + h2) / (2 * n2);
  const double b02 = -kRho * t * (1 + h2) / (2 * n2);
  const double b30 = kRho * (-h2 + t2 * h2 - 2 * h4 + 6 * t2 * h4) / (2 * n3);
  const double b12 = kRho * (-1 - 3 * t2 - 2 * h2 + 6 * t2 * h2 - h4 + 9 * t2 * h4) / (6 * n3);
  const double b40 = kRho * t * h2 / (2 * n4);
  const double b22 = kRho * t * (-4 - 6 * t2 + 9 * h2 + 3 * t2 * h2) / (12 * n4);
  const double b04 = kRho * t * (1 + 3 * t2 + 2 * h2 - 6 * t2 * h2) / (24 * n4);
  const double b32 = kRho * (-2 - 15 * t2 - 15 * t4) / (30 * n5);
  const double b14 = kRho * (1 + 30 * t2 + 45 * t4) / (120 * n5);
  const double u2 = u * u, v2 = v * v;
  return b10 * u + b20 * u2 + b02 * v2 + b30 * u2 * u + b12 * u * v2 + b40 * u2 * u2 +
         b22 * u2 * v2 + b04 * v2 * v2 + b32 * u2 * u * v2 + b14 * u * v2 * v2;
}

// Longitude difference in arc seconds. The u³v term carries +η²: the sign the
// expansion of the geodesic gives.
double LongitudeSeries(const Local& q, double u, double v, double cosB1) {
  const double t = q.t, t2 = q.t2, t4 = q.t4, h2 = q.e2, n = q.n;
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
  const double k = kRho / cosB1;
  const double l01 = k / n;
  const double l11 = k * t / n2;
  const double l21 = k * (1 + 3 * t2 + h2) / (3 * n3);
  const double l03 = -k * t2 / (3 * n3);
  const double l31 = k * t * (2 + 3 * t2 + h2) / (3 * n4);
  const double l13 = k * t * (-1 - 3 * t2 - h2) / (3 * n4);
  const double l41 = k * (2 + 15 * t2 + 15 * t4) / (15 * n5);
  const double l23 = k * (-1 - 20 * t2 - 30 * t4) / (15 * n5);
  const double l05 = k * (t2 + 3 * t4) / (15 * n5);
  const double u2 = u * u, v2 = v * v;
  return l01 * v + l11 * u * v + l21 * u2 * v + l03 * v2 * v + l31 * u2 * u * v +
         l13 * u * v2 * v + l41 * u2 * u2 * v + l23 * u2 * v2 * v + l05 * v2 * v2 * v;
}

// Azimuth difference in arc seconds.
double AzimuthSeries(const Local& q, double u, double v) {
  const double t = q.t, t2 = q.t2, t4 = q.t4, h2 = q.e2, h4 = q.e4, n = q.n;
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
  const double a01 = kRho * t / n;
  const double a11 = kRho * (1 + 2 * t2 + h2) / (2 * n2);
  const double a21 = kRho * t * (5 + 6 * t2 + h2 - 4 * h4) / (6 * n3);
  const double a03 = kRho * t * (-1 - 2 * t2 - h2) / (6 * n3);
  const double a31 = kRho * (5 + 28 * t2 + 24 * t4 + 6 * h2 + 8 * t2 * h2) / (24 * n4);
  const double a13 = kRho * (-1 - 20 * t2 - 24 * t4 - 2 * h2 - 8 * t2 * h2) / (24 * n4);
  const double a41 = kRho * t * (61 + 180 * t2 + 120 * t4) / (120 * n5);
  const double a23 = kRho * t * (-29 - 140 * t2 - 120 * t4) / (60 * n5);
  const double a05 = kRho * t * (1 + 20 * t2 + 24 * t4) / (120 * n5);
  const double u2 = u * u, v2 = v * v;
  return a01 * v + a11 * u * v + a21 * u2 * v + a03 * v2 * v + a31 * u2 * u * v +
         a13 * u * v2 * v + a41 * u2 * u2 * v + a23 * u2 * v2 * v + a05 * v2 * v2 * v;
}

// Seconds printed to 0.0001".
constexpr int kSecondDecimals = 4;

const GeographicLib::Geodesic& GeodesicOf(const Ellipsoid& e) {
  // One geodesic object per ellipsoid in use; building it costs more than a solution.
  thread_local Ellipsoid cached{};
  thread_local GeographicLib::Geodesic geodesic(6378137.0, 1 / 298.257223563);
  if (cached.a != e.a || cached.b != e.b) {
    geodesic = GeographicLib::Geodesic(e.a, (e.a - e.b) / e.a);
    cached = e;
  }
  return geodesic;
}

// What is typed in the boxes, read strictly: an empty box is 0; any other text
// must be one finite number, and an angle one with minutes and seconds
// below 60. The first box that is neither is named in the refusal.
class Boxes {
 public:
  // An angle in DMS notation, as decimal degrees.
  double angle(const std::string& text, const char* caption) {
    if (refusal || Trim(text).empty()) return 0;
    const std::optional<double> dms = ParseDms(text, DmsSyntax::AnyNumber);
    if (!dms) refusal = Notice(std::string(caption) + "输入有误！");
    return DmsToDegrees(dms.value_or(0));
  }
  double number(const std::string& text, const char* caption) {
    if (refusal) return 0;
    if (Trim(text).empty()) return 0;
    const std::optional<double> value = ReadNumber(text);
    if (!value) refusal = Notice(std::string(caption) + "输入有误！");
    return value.value_or(0);
  }
  std::optional<Message> refusal;
};

bool Finite(const Point2& p) {
  return std::isfinite(p.b2) && std::isfinite(p.l2) && std::isfinite(p.a21);
}

std::optional<double> DifferenceMm(const Ellipsoid& e, const Point2& series, const Point2& exact) {
  if (std::fabs(series.b2) > 90.0) return std::nullopt;
  double s = 0;
  GeodesicOf(e).Inverse(series.b2, series.l2, exact.b2, exact.l2, s);
  if (!std::isfinite(s)) return std::nullopt;
  return s * 1000.0;
}

}  // namespace

Ellipsoid EllipsoidOf(EllipsoidId id) {
  switch (id) {
    case EllipsoidId::Krassovsky: return FromSeriesConstants(6399698.90178271, 0.0067385254147);
    case EllipsoidId::Iag75: return FromSeriesConstants(6399596.65198801, 0.0067395018195);
    case EllipsoidId::Cgcs2000: return FromAxis(6378137.0, 298.257222101);
    case EllipsoidId::Wgs84: return FromAxis(6378137.0, 298.257223563);
  }
  return FromSeriesConstants(6399698.90178271, 0.0067385254147);
}

std::optional<EllipsoidId> EllipsoidByName(std::string_view name) {
  if (name == "krassovsky") return EllipsoidId::Krassovsky;
  if (name == "iag75") return EllipsoidId::Iag75;
  if (name == "cgcs2000") return EllipsoidId::Cgcs2000;
  if (name == "wgs84") return EllipsoidId::Wgs84;
  return std::nullopt;
}

Point2 SeriesDirect(const Ellipsoid& e, double b1, double l1, double a12, double s12) {
  const double b1Radians = b1 * kToRadians;
  const double a12Radians = a12 * kToRadians;
  const Local q = LocalAt(e, b1Radians);
  const double u = s12 * std::cos(a12Radians);
  const double v = s12 * std::sin(a12Radians);
  Point2 p;
  p.b2 = b1Radians * kToDegrees + LatitudeSeries(q, u, v) / 3600.0;
  p.l2 = l1 * kToRadians * kToDegrees + LongitudeSeries(q, u, v, std::cos(b1Radians)) / 3600.0;
  p.a21 = BackAzimuth(a12Radians * kToDegrees + AzimuthSeries(q, u, v) / 3600.0);
  return p;
}

Point2 ExactDirect(const Ellipsoid& e, double b1, double l1, double a12, double s12) {
  using GeographicLib::Geodesic;
  Point2 p;
  double azi2 = 0, s = 0, m12 = 0, bigM12 = 0, bigM21 = 0, area = 0;
  GeodesicOf(e).GenDirect(b1, l1, a12, false, s12,
                          Geodesic::LATITUDE | Geodesic::LONGITUDE | Geodesic::AZIMUTH |
                              Geodesic::LONG_UNROLL,
                          p.b2, p.l2, azi2, s, m12, bigM12, bigM21, area);
  p.a21 = BackAzimuth(azi2);
  return p;
}

std::string DmsText(double degrees) {
  return NumberText(DmsNotationValue(RoundDms(degrees, kSecondDecimals, DmsRounding::SecondsHalfEven)));
}

std::string AzimuthDmsText(double degrees) {
  DmsFields fields = RoundDms(WrapDegrees(degrees), kSecondDecimals, DmsRounding::SecondsHalfEven);
  FullTurnAsZero(fields);
  return NumberText(DmsNotationValue(fields));
}

DirectResult SolveDirect(const DirectInput& input) {
  DirectResult r;
  Boxes boxes;
  const double b1 = boxes.angle(input.b1, "B1");
  const double a12 = boxes.angle(input.a12, "A12");
  const double l1 = boxes.angle(input.l1, "L1");
  const double s12 = boxes.number(input.s12, "S12");
  if ((r.refusal = boxes.refusal)) return r;
  if (std::fabs(b1) >= 90.0) {
    r.refusal = Notice("纬度必须小于90度！");
    return r;
  }
  if (s12 < 0) {
    r.refusal = Notice("距离不能为负！");
    return r;
  }
  const Ellipsoid e = EllipsoidOf(input.ellipsoid);
  r.series = SeriesDirect(e, b1, l1, a12, s12);
  // A line so long that the series leaves the ellipsoid has no usable result.
  if (!Finite(r.series) || std::fabs(r.series.b2) > 90.0) {
    r.refusal = Notice("距离太长，无法计算！");
    return r;
  }
  r.exact = ExactDirect(e, b1, l1, a12, s12);
  r.b2 = DmsText(r.series.b2);
  r.l2 = DmsText(r.series.l2);
  r.a21 = AzimuthDmsText(r.series.a21);
  r.exactB2 = DmsText(r.exact.b2);
  r.exactL2 = DmsText(r.exact.l2);
  r.exactA21 = AzimuthDmsText(r.exact.a21);
  r.differenceMm = DifferenceMm(e, r.series, r.exact);
  return r;
}

InverseResult SolveInverse(const InverseInput& input) {
  InverseResult r;
  Boxes boxes;
  const double b1 = boxes.angle(input.b1, "B1");
  const double l1 = boxes.angle(input.l1, "L1");
  const double b2 = boxes.angle(input.b2, "B2");
  const double l2 = boxes.angle(input.l2, "L2");
  if ((r.refusal = boxes.refusal)) return r;
  if (std::fabs(b1) > 90.0 || std::fabs(b2) > 90.0) {
    r.refusal = Notice("纬度不能大于90度！");
    return r;
  }
  double azi1 = 0, azi2 = 0;
  GeodesicOf(EllipsoidOf(input.ellipsoid)).Inverse(b1, l1, b2, l2, r.s12, azi1, azi2);
  r.a12 = WrapDegrees(azi1);
  r.a21 = BackAzimuth(azi2);
  r.s12Text = FormatFixed(r.s12, "#0.000");
  r.a12Text = AzimuthDmsText(r.a12);
  r.a21Text = AzimuthDmsText(r.a21);
  return r;
}

}  // namespace korvane::geodesy
