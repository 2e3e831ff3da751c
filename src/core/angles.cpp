#include "core/angles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/decimal_form.h"

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

double DmsToRadians(double dms) { return Sign(dms) * SplitDmsMagnitude(dms) * kDegreeFactor; }

double RightToLeftAngle(double dms) { return 360.0 - SplitDmsMagnitude(dms); }

double DegreesToDms(double degrees) { return Sign(degrees) * MagnitudeToDms(std::fabs(degrees)); }

double RadiansToDms(double radians) {
  return Sign(radians) * MagnitudeToDms(std::fabs(radians) / kDegreeFactor);
}

double RoundDmsForPrint(double dms, int secondDecimals) {
  if (!std::isfinite(dms)) return dms;
  const int decimals = 4 + secondDecimals;
  // The printed digits: degrees, then two of minutes, then the seconds.
  const DecimalForm form = RoundDecimals(ToDecimalForm(std::fabs(dms), 15), decimals);
  const std::string text = FixedText(form, decimals);
  const std::size_t point = text.find('.');
  double degrees = std::stod(text.substr(0, point));
  int minutes = std::stoi(text.substr(point + 1, 2));
  long long secondUnits = std::stoll(text.substr(point + 3));
  long long fullMinute = 60;
  for (int i = 0; i < secondDecimals; ++i) fullMinute *= 10;
  if (secondUnits >= fullMinute) {
    secondUnits -= fullMinute;
    minutes += 1;
  }
  if (minutes >= 60) {
    minutes -= 60;
    degrees += 1;
  }
  if (degrees == 360 && minutes == 0 && secondUnits == 0) degrees = 0;
  std::string seconds = std::to_string(secondUnits);
  seconds.insert(0, static_cast<std::size_t>(std::max(0, secondDecimals + 2 - static_cast<int>(seconds.size()))), '0');
  const std::string wholeDegrees = FixedText(ToDecimalForm(degrees, 15), 0);
  const double magnitude =
      std::stod(wholeDegrees + "." + (minutes < 10 ? "0" : "") + std::to_string(minutes) + seconds);
  return dms < 0 && magnitude != 0 ? -magnitude : magnitude;
}

double ReverseAzimuth(double azimuth) { return azimuth >= 180.0 ? azimuth - 180.0 : azimuth + 180.0; }

}  // namespace korvane
