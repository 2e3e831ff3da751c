#include "core/typed_values.h"

#include <charconv>
#include <cmath>
#include <algorithm>

#include "core/angles.h"
#include "core/decimal_form.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ReadNumber(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> ReadCount(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty() || trimmed.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : trimmed) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<double> ReadDmsDegrees(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::size_t i = (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) ? 1 : 0;
  const std::size_t firstDigit = i;
  while (i < trimmed.size() && IsDigit(trimmed[i])) ++i;
  std::string_view fraction;
  if (i < trimmed.size() && trimmed[i] == '.') {
    fraction = std::string_view(trimmed).substr(i + 1);
    for (const char c : fraction)
      if (!IsDigit(c)) return std::nullopt;
  } else if (i != trimmed.size()) {
    return std::nullopt;
  }
  if (i == firstDigit && fraction.empty()) return std::nullopt;
  const std::optional<double> dms = ReadNumber(trimmed);
  if (!dms || !ValidDms(*dms)) return std::nullopt;
  return DmsToDegrees(*dms);
}

std::string FixedDecimals(double value, int decimals) {
  std::string text = FixedText(RoundDecimals(ToDecimalForm(value, 15), decimals), decimals);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string DmsDecimals(double degrees, int secondDecimals) {
  double unitsPerSecond = 1;
  for (int i = 0; i < secondDecimals; ++i) unitsPerSecond *= 10;
  // The angle in whole units of the last printed place, so that carrying
  // 60" into the minute is exact.
  const long long units = std::llround(std::fabs(degrees) * 3600.0 * unitsPerSecond);
  const long long perMinute = std::llround(60 * unitsPerSecond);
  const long long perDegree = 60 * perMinute;
  const long long d = units / perDegree;
  const long long m = (units % perDegree) / perMinute;
  const long long s = units % perMinute;
  std::string seconds = std::to_string(s);
  seconds.insert(0, static_cast<std::size_t>(secondDecimals + 2) - std::min(seconds.size(), static_cast<std::size_t>(secondDecimals + 2)), '0');
  return std::string(degrees < 0 && units > 0 ? "-" : "") + std::to_string(d) + "." + (m < 10 ? "0" : "") +
         std::to_string(m) + seconds;
}

}  // namespace korvane
