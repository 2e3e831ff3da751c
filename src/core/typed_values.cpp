#include "core/typed_values.h"

#include <charconv>
#include <cmath>
#include <algorithm>

#include "core/angles.h"
#include "core/decimal_form.h"
#include "core/text_utils.h"

namespace korvane {
namespace {

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
    if (!IsAsciiDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<double> ReadDmsDegrees(std::string_view text) {
  const std::optional<double> dms = ParseDms(text, DmsSyntax::PlainDecimal);
  if (!dms) return std::nullopt;
  return DmsToDegrees(*dms);
}

std::string FixedDecimals(double value, int decimals) {
  std::string text = FixedText(RoundDecimals(ToDecimalForm(value, 15), decimals), decimals);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string DmsDecimals(double degrees, int secondDecimals) {
  return DmsNotationText(RoundDms(degrees, secondDecimals, DmsRounding::WholeUnitsHalfAway));
}

}  // namespace korvane
