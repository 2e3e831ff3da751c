#include "core/angles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/decimal_form.h"
#include "core/text_utils.h"
#include "core/typed_values.h"

namespace korvane {
namespace {

// A decimal text read as a double; a value too small for a normal double
// reads as its nearest denormal or zero, never as an error.
double ReadDecimal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

}  // namespace

DmsParts SplitDms(double dms) {
  const DecimalForm form = ToDecimalForm(std::fabs(dms), 15);
  const int n = static_cast<int>(form.digits.size());
  DmsParts parts;
  std::string fraction;  // decimal digits after the point
  for (int i = 0; i < form.exponent && i < n; ++i) parts.degrees = parts.degrees * 10 + (form.digits[i] - '0');
  for (int i = n; i < form.exponent; ++i) parts.degrees *= 10;
  for (int i = 0; i < -form.exponent; ++i) fraction.push_back('0');
  for (int i = std::max(form.exponent, 0); i < n; ++i) fraction.push_back(form.digits[i]);
  while (fraction.size() < 2) fraction.push_back('0');
  parts.minutes = (fraction[0] - '0') * 10 + (fraction[1] - '0');
  if (fraction.size() > 2) {
    std::string secText = fraction.substr(2);
    while (secText.size() < 2) secText.push_back('0');
    parts.seconds = ReadDecimal(secText.substr(0, 2)) + ReadDecimal("0." + secText.substr(2));
  }
  return parts;
}

bool ValidDms(double dms) {
  if (!std::isfinite(dms)) return false;
  const DmsParts parts = SplitDms(dms);
  return parts.minutes < 60 && parts.seconds < 60.0;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a trimmed text is a sign, digits and at most one point with digits
// on at least one side.
bool PlainDecimal(std::string_view text) {
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  const std::size_t firstDigit = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  std::string_view fraction;
  if (i < text.size() && text[i] == '.') {
    fraction = text.substr(i + 1);
    for (const char c : fraction)
      if (!IsDigit(c)) return false;
  } else if (i != text.size()) {
    return false;
  }
  return i != firstDigit || !fraction.empty();
}

}  // namespace

std::optional<double> ParseDms(std::string_view text, DmsSyntax syntax) {
  const std::string trimmed = Trim(text);
  if (syntax == DmsSyntax::PlainDecimal && !PlainDecimal(trimmed)) return std::nullopt;
  const std::optional<double> dms = ReadNumber(trimmed);
  if (!dms || !ValidDms(*dms)) return std::nullopt;
  return dms;
}

namespace {

// Degrees of |dms|, split on the decimal digits of its 15-digit form so that
// 1.2 is 1°20'00" and never 1°19'59.99...".
double SplitDmsMagnitude(double dms) {
  const DmsParts parts = SplitDms(dms);
  return parts.degrees + parts.minutes / 60.0 + parts.seconds / 3600.0;
}

double Sign(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// Steps 2 to 5 of the conversion to DMS notation for a non-negative value.
double MagnitudeToDms(double a) {
  double d = std::floor(a);
  const double minutesExact = (a - d) * 60.0;
  double m = std::floor(minutesExact);
  double sec = (minutesExact - m) * 60.0;
  // Seconds of 59.99... that only floating-point noise keeps below a whole
  // minute are a whole minute.
  if (60.0 - sec < 1e-8) {
    m += 1;
    sec = 0;
  }
  if (m >= 60) {
    d += 1;
    m -= 60;
  }
  if (sec < 0) sec = 0;
  const double r = d + m / 100.0 + sec / 10000.0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", r);
  return ReadDecimal(buffer);
}

}  // namespace

double DmsToDegrees(double dms) { return Sign(dms) * SplitDmsMagnitude(dms); }

double DmsToRadians(double dms) { return Sign(dms) * SplitDmsMagnitude(dms) * kTraverseDegreeFactor; }

double RightToLeftAngle(double dms) { return 360.0 - SplitDmsMagnitude(dms); }

double DegreesToDms(double degrees) { return Sign(degrees) * MagnitudeToDms(std::fabs(degrees)); }

double DegreesToDmsCarried(double degrees) {
  const double dms = DegreesToDms(degrees);
  if (ValidDms(dms)) return dms;
  const DmsParts parts = SplitDms(dms);
  double whole = parts.degrees;
  int minutes = parts.minutes + 1;
  if (minutes >= 60) {
    minutes -= 60;
    whole += 1;
  }
  const double magnitude = whole + minutes / 100.0;
  return dms < 0 ? -magnitude : magnitude;
}

double RadiansToDms(double radians) {
  return Sign(radians) * MagnitudeToDms(std::fabs(radians) / kTraverseDegreeFactor);
}

namespace {

// Units of the last printed place in a second of arc.
long long UnitsPerSecond(int secondDecimals) { return static_cast<long long>(PowerOfTen(secondDecimals)); }

DmsFields FromDecimalDigits(double dms, int secondDecimals) {
  const int decimals = 4 + secondDecimals;
  // The printed digits: degrees, then two of minutes, then the seconds.
  const DecimalForm form = RoundDecimals(ToDecimalForm(std::fabs(dms), 15), decimals);
  const std::string text = FixedText(form, decimals);
  const std::size_t point = text.find('.');
  DmsFields f;
  f.secondDecimals = secondDecimals;
  f.degrees = std::stod(text.substr(0, point));
  f.minutes = std::stoi(text.substr(point + 1, 2));
  f.secondUnits = std::stoll(text.substr(point + 3));
  const long long fullMinute = 60 * UnitsPerSecond(secondDecimals);
  if (f.secondUnits >= fullMinute) {
    f.secondUnits -= fullMinute;
    f.minutes += 1;
  }
  if (f.minutes >= 60) {
    f.minutes -= 60;
    f.degrees += 1;
  }
  FullTurnAsZero(f);
  f.negative = dms < 0 && (f.degrees != 0 || f.minutes != 0 || f.secondUnits != 0);
  return f;
}

// Whole units of the last printed place split into degrees, minutes, seconds.
DmsFields FromWholeUnits(long long units, long long perMinute, int secondDecimals) {
  DmsFields f;
  f.secondDecimals = secondDecimals;
  f.degrees = static_cast<double>(units / (60 * perMinute));
  f.minutes = static_cast<int>(units / perMinute % 60);
  f.secondUnits = units % perMinute;
  return f;
}

DmsFields FromSecondsHalfEven(double degrees, int secondDecimals) {
  const double x = std::fabs(degrees);
  const double perSecond = static_cast<double>(UnitsPerSecond(secondDecimals));
  double d = std::floor(x);
  const double f = (x - d) * 60.0;
  double m = std::floor(f);
  double units = std::nearbyint((f - m) * 60.0 * perSecond);
  if (units >= 60.0 * perSecond) {
    units -= 60.0 * perSecond;
    m += 1;
  }
  if (m >= 60) {
    m -= 60;
    d += 1;
  }
  DmsFields fields;
  fields.secondDecimals = secondDecimals;
  fields.degrees = d;
  fields.minutes = static_cast<int>(m);
  fields.secondUnits = static_cast<long long>(units);
  return fields;
}

}  // namespace

DmsFields RoundDms(double value, int secondDecimals, DmsRounding rounding) {
  if (!std::isfinite(value)) {
    DmsFields f;
    f.negative = value < 0;
    f.degrees = std::fabs(value);
    f.secondDecimals = secondDecimals;
    return f;
  }
  const long long perSecond = UnitsPerSecond(secondDecimals);
  DmsFields f;
  switch (rounding) {
    case DmsRounding::DecimalDigits:
      return FromDecimalDigits(value, secondDecimals);
    case DmsRounding::WholeUnitsHalfEven: {
      const double perDegree = 3600.0 * static_cast<double>(perSecond);
      const long long units = static_cast<long long>(std::nearbyint(std::fabs(value) * perDegree));
      f = FromWholeUnits(units, 60 * perSecond, secondDecimals);
      f.negative = value < 0 && units != 0;
      return f;
    }
    case DmsRounding::WholeUnitsHalfAway: {
      const long long units = std::llround(std::fabs(value) * 3600.0 * static_cast<double>(perSecond));
      f = FromWholeUnits(units, 60 * perSecond, secondDecimals);
      f.negative = value < 0 && units > 0;
      return f;
    }
    case DmsRounding::SecondsHalfEven:
      f = FromSecondsHalfEven(value, secondDecimals);
      f.negative = value < 0 && (f.degrees != 0 || f.minutes != 0 || f.secondUnits != 0);
      return f;
  }
  return f;
}

void FullTurnAsZero(DmsFields& fields) {
  if (fields.degrees == 360 && fields.minutes == 0 && fields.secondUnits == 0) fields.degrees = 0;
}

namespace {

std::string WholeDegrees(double degrees) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", degrees);
  return buffer;
}

std::string TwoDigits(long long n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The seconds' digits: two of whole seconds, then the decimals, no point.
std::string SecondDigits(const DmsFields& f) {
  std::string seconds = std::to_string(f.secondUnits);
  const std::size_t width = static_cast<std::size_t>(f.secondDecimals + 2);
  if (seconds.size() < width) seconds.insert(0, width - seconds.size(), '0');
  return seconds;
}

}  // namespace

std::string DmsSymbolText(const DmsFields& f) {
  const long long perSecond = UnitsPerSecond(f.secondDecimals);
  std::string text = std::string(f.negative ? "-" : "") + WholeDegrees(f.degrees) + "°" + TwoDigits(f.minutes) + "′" +
                     TwoDigits(f.secondUnits / perSecond);
  if (f.secondDecimals > 0) {
    std::string decimals = std::to_string(f.secondUnits % perSecond);
    decimals.insert(0, static_cast<std::size_t>(f.secondDecimals) - std::min(decimals.size(), static_cast<std::size_t>(f.secondDecimals)), '0');
    text += "." + decimals;
  }
  return text + "″";
}

std::string DmsNotationText(const DmsFields& f) {
  return std::string(f.negative ? "-" : "") + WholeDegrees(f.degrees) + "." + TwoDigits(f.minutes) + SecondDigits(f);
}

double DmsNotationValue(const DmsFields& f) {
  DmsFields magnitude = f;
  magnitude.negative = false;
  const double value = std::stod(DmsNotationText(magnitude));
  return f.negative ? -value : value;
}

double RoundDmsForPrint(double dms, int secondDecimals) {
  if (!std::isfinite(dms)) return dms;
  return DmsNotationValue(RoundDms(dms, secondDecimals, DmsRounding::DecimalDigits));
}

double DegreesToRadians(double degrees) { return degrees * kTruePi / 180.0; }

double RadiansToDegrees(double radians) { return radians * 180.0 / kTruePi; }

namespace {

// Degrees, minutes and seconds of a DMS value split on its binary value; the
// tiny offsets keep a value like 8.08 (typed, held as 8.0799999...) at 8°08'00".
void SplitBinary(double dms, double& d, double& m, double& s) {
  d = std::floor(dms + 1e-10);
  const double rest = (dms - d) * 100;
  m = std::floor(rest + 1e-8);
  s = (rest - m) * 100;
  if (std::fabs(s) < 1e-7) s = 0;
}

}  // namespace

double DmsToRad(double dms) {
  double d, m, s;
  SplitBinary(dms, d, m, s);
  return (d + m / 60 + s / 3600) * kTruePi / 180;
}

double RadToDms(double radians) {
  double seconds = radians * kRhoSeconds;
  const double d = std::floor(seconds / 3600);
  seconds -= d * 3600;
  const double m = std::floor(seconds / 60);
  seconds -= m * 60;
  return d + m / 100 + seconds / 10000;
}

double WrapIntoTurn(double angle, double turn) {
  double a = std::fmod(angle, turn);
  if (a < 0) a += turn;
  // A tiny negative value rounds up to a full turn.
  return a >= turn ? 0.0 : a;
}

double Wrap(double radians) { return WrapIntoTurn(radians, 2 * kTruePi); }

double WrapSigned(double radians) {
  const double a = Wrap(radians);
  return a > kTruePi ? a - 2 * kTruePi : a;
}

double WrapDegrees(double degrees) { return WrapIntoTurn(degrees, 360.0); }

double WrapLongitude(double degrees) { return WrapIntoTurn(degrees + 180.0, 360.0) - 180.0; }

double WrapOnce(double azimuth) { return azimuth >= 360.0 ? azimuth - 360.0 : azimuth; }

double WrapOnceBelowZero(double degrees) { return degrees < 0 ? degrees + 360.0 : degrees; }

double ReverseAzimuth(double azimuth) { return azimuth >= 180.0 ? azimuth - 180.0 : azimuth + 180.0; }

double Azimuth(double x1, double y1, double x2, double y2) { return Wrap(std::atan2(y2 - y1, x2 - x1)); }

}  // namespace korvane
