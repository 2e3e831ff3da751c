#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/decimal_form.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

constexpr int kDoubleDigits = 15;
constexpr int kFloatDigits = 7;

// Digits of the plain form "[-]digits[.digits]" (a point may end it), or -1
// for any other text. Nearly every cell of a data file is in this form.
int PlainDigits(std::string_view text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  int digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsAsciiDigit(text[i])) ++digits;
    else if (text[i] == '.' && !point && digits > 0) point = true;
    else return -1;
  }
  return digits > 0 ? digits : -1;
}

int PatternDecimals(std::string_view pattern) {
  const auto point = pattern.find('.');
  if (point == std::string_view::npos) return 0;
  int decimals = 0;
  for (std::size_t i = point + 1; i < pattern.size() && pattern[i] == '0'; ++i) ++decimals;
  return decimals;
}

// The most places the quick way below handles: 10^19 still fits 64 bits.
constexpr int kMaxQuickDecimals = 19;

// A value's `significant`-digit form rounded half away from zero to
// `decimals` places, as a whole number of units of 10^-decimals: the same
// rounding as RoundDecimals on the value's decimal form, without its text.
// Nothing when the value takes the general way or the units overflow.
std::optional<std::uint64_t> RoundedUnits(const ScaledDecimal& s, int decimals) {
  if (decimals < 0 || decimals > kMaxQuickDecimals) return std::nullopt;
  if (s.scale <= decimals) {
    const std::uint64_t factor = PowerOfTen(decimals - s.scale);
    if (s.mantissa > UINT64_MAX / factor) return std::nullopt;
    return s.mantissa * factor;
  }
  const int dropped = s.scale - decimals;
  // A mantissa of at most 10^17 is below half of 10^18: nothing is left.
  if (dropped > 18) return 0;
  const std::uint64_t unit = PowerOfTen(dropped);
  const std::uint64_t rest = s.mantissa % unit;
  return s.mantissa / unit + (rest >= unit - rest ? 1 : 0);
}

// The fixed text of a whole number of units of 10^-decimals.
std::string FixedUnitsText(bool negative, std::uint64_t units, int decimals) {
  char text[48];
  char* p = text;
  if (negative) *p++ = '-';
  const std::uint64_t unit = PowerOfTen(decimals);
  p = std::to_chars(p, text + sizeof text, units / unit).ptr;
  if (decimals > 0) {
    *p++ = '.';
    char fraction[24];
    const auto end = std::to_chars(fraction, fraction + sizeof fraction, units % unit).ptr;
    const auto written = static_cast<int>(end - fraction);
    for (int i = written; i < decimals; ++i) *p++ = '0';
    p = std::copy(fraction, end, p);
  }
  return std::string(text, p);
}

// FormatFixed of a value with `significant` digits.
std::string FormatFixedDigits(double value, int significant, std::string_view pattern) {
  const int decimals = PatternDecimals(pattern);
  if (const auto scaled = ToScaledDecimal(value, significant))
    if (const auto units = RoundedUnits(*scaled, decimals)) return FixedUnitsText(scaled->negative, *units, decimals);
  return FixedText(RoundDecimals(ToDecimalForm(value, significant), decimals), decimals);
}

// RoundFixed of a value with `significant` digits: the fixed text read back.
// The quick way divides two exact doubles, which rounds to the nearest as
// reading the decimal text does.
double RoundFixedDigits(double value, int significant, std::string_view pattern) {
  constexpr int kExactPowers = 22;  // 10^22 is the last power of ten a double holds exactly
  static constexpr auto kPowers = [] {
    std::array<double, kExactPowers + 1> powers{};
    double power = 1;
    for (double& p : powers) {
      p = power;
      power *= 10;
    }
    return powers;
  }();
  const int decimals = PatternDecimals(pattern);
  if (const auto scaled = ToScaledDecimal(value, significant)) {
    constexpr std::uint64_t kExactWhole = std::uint64_t{1} << 53;
    double magnitude = -1;
    if (scaled->scale <= decimals) {
      magnitude = static_cast<double>(scaled->mantissa) / kPowers[scaled->scale];
    } else if (const auto units = RoundedUnits(*scaled, decimals); units && *units <= kExactWhole) {
      magnitude = static_cast<double>(*units) / kPowers[decimals];
    }
    if (magnitude >= 0) return scaled->negative ? -magnitude : magnitude;
  }
  return ParseLenient(FixedText(RoundDecimals(ToDecimalForm(value, significant), decimals), decimals));
}

// The exponent form d.ddddE[+-]xx, written at `p`.
char* WriteExponentText(char* p, const DecimalForm& form) {
  *p++ = form.digits[0];
  if (form.digits.size() > 1) {
    *p++ = '.';
    p = std::copy(form.digits.begin() + 1, form.digits.end(), p);
  }
  const int e = form.exponent - 1;
  *p++ = 'E';
  *p++ = e < 0 ? '-' : '+';
  const int magnitude = std::abs(e);
  if (magnitude < 10) *p++ = '0';
  return std::to_chars(p, p + 8, magnitude).ptr;
}

// The shortest text of a value in its decimal form; `leadingZero` writes the
// "0" before the point of values below 1 in magnitude, `blank` a blank before
// values that are not negative.
std::string ShortText(const DecimalForm& form, int significant, bool leadingZero, bool blank = false) {
  const bool negative = form.negative && !form.digits.empty();
  // At most 17 digits, 3 zeros after the point, sign, point and exponent.
  char text[48];
  char* p = text;
  if (negative) *p++ = '-';
  else if (blank) *p++ = ' ';
  const int n = static_cast<int>(form.digits.size());
  if (form.digits.empty()) {
    *p++ = '0';
  } else if (form.exponent > significant || form.exponent < -3) {
    p = WriteExponentText(p, form);
  } else if (form.exponent <= 0) {
    if (leadingZero) *p++ = '0';
    *p++ = '.';
    p = std::fill_n(p, -form.exponent, '0');
    p = std::copy(form.digits.begin(), form.digits.end(), p);
  } else if (n <= form.exponent) {
    p = std::copy(form.digits.begin(), form.digits.end(), p);
    p = std::fill_n(p, form.exponent - n, '0');
  } else {
    p = std::copy(form.digits.begin(), form.digits.begin() + form.exponent, p);
    *p++ = '.';
    p = std::copy(form.digits.begin() + form.exponent, form.digits.end(), p);
  }
  return std::string(text, p);
}

std::string StrNumberForm(const DecimalForm& form, int significant) {
  return ShortText(form, significant, false, true);
}

// A plain number of at most 15 digits: the digits as a whole number and the
// places after the point are both exact doubles, so one division rounds to
// the nearest as reading the text does.
double ReadShortPlain(std::string_view text) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = text[0] == '-';
  std::uint64_t whole = 0;
  int places = -1;
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    if (text[i] == '.') {
      places = 0;
      continue;
    }
    whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (places >= 0) ++places;
  }
  const double value = static_cast<double>(whole) / kPowers[places < 0 ? 0 : places];
  return negative ? -value : value;
}

}  // namespace

double ParseLenient(std::string_view text) {
  const int plainDigits = PlainDigits(text);
  if (plainDigits > 0 && plainDigits <= 15) return ReadShortPlain(text);
  if (plainDigits > 0) {
    // Read in place; from_chars rounds to the nearest double as strtod does.
    // Values out of range take the general way below.
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size()) return std::isfinite(value) ? value : 0.0;
  }
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') compact.push_back(c);
  std::string number;
  std::size_t i = 0;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) number.push_back(compact[i++]);
  bool anyDigit = false;
  bool point = false;
  while (i < compact.size()) {
    const char c = compact[i];
    if (IsAsciiDigit(c)) {
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number.push_back(c);
    ++i;
  }
  if (!anyDigit) return 0.0;
  // An exponent counts only when it has at least one digit.
  if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e' || compact[i] == 'D' ||
                             compact[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) exponent.push_back(compact[j++]);
    std::string digits;
    while (j < compact.size() && IsAsciiDigit(compact[j])) digits.push_back(compact[j++]);
    if (!digits.empty()) number += exponent + digits;
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

CellCheck IsNumericCell(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return CellCheck::Empty;
  // A plain number whose probe below has at most 15 digits is printed back
  // digit for digit: valid without the round trip.
  if (const int digits = PlainDigits(trimmed); digits > 0 && digits + 2 <= 15) return CellCheck::Valid;
  std::string probe;
  if (trimmed[0] == '-' || trimmed[0] == '+')
    probe = "1" + trimmed.substr(1) + "1";
  else
    probe = "1" + trimmed + "1";
  if (trimmed[0] == '.') return CellCheck::Invalid;
  if (CharCount(StrNumber(ParseLenient(probe))) < CharCount(probe)) return CellCheck::Invalid;
  return CellCheck::Valid;
}

std::string FormatFixed(double value, std::string_view pattern) {
  return FormatFixedDigits(value, kDoubleDigits, pattern);
}

std::string FormatFixed(float value, std::string_view pattern) {
  return FormatFixedDigits(value, kFloatDigits, pattern);
}

double RoundFixed(double value, std::string_view pattern) { return RoundFixedDigits(value, kDoubleDigits, pattern); }

double RoundFixed(float value, std::string_view pattern) { return RoundFixedDigits(value, kFloatDigits, pattern); }

std::string StrNumber(double value) {
  return StrNumberForm(ToDecimalForm(value, kDoubleDigits), kDoubleDigits);
}

std::string StrNumber(float value) {
  return StrNumberForm(ToDecimalForm(value, kFloatDigits), kFloatDigits);
}

std::string NumberText(double value) {
  return ShortText(ToDecimalForm(value, kDoubleDigits), kDoubleDigits, true);
}

std::string NumberText(float value) {
  return ShortText(ToDecimalForm(value, kFloatDigits), kFloatDigits, true);
}

std::string ReadTextLine(std::string_view text, int k) {
  if (k < 0) return {};
  const auto lines = SplitLines(text);
  if (k >= static_cast<int>(lines.size())) return {};
  return lines[static_cast<std::size_t>(k)];
}

std::string ExactDecimal(double value) {
  char buffer[512];  // room for the longest fixed form of a double
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::fixed);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace korvane
