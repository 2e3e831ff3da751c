#include "core/decimal_form.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace korvane {

namespace {

__extension__ using Wide = unsigned __int128;

// 10^0 … 10^22; with a 53-bit mantissa the product stays below 2^127.
constexpr int kMaxScale = 22;
constexpr std::array<Wide, kMaxScale + 1> kWidePowers = [] {
  std::array<Wide, kMaxScale + 1> powers{};
  Wide power = 1;
  for (Wide& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

// Digits of a scientific text d.ddde[+-]xx, without the point.
int MantissaDigits(const char* begin, const char* e) {
  return static_cast<int>(e - begin) - (std::find(begin, e, '.') != e ? 1 : 0);
}

// Whether the shortest text can stand for the rounding to `significant`
// digits: the value's step to the next one of its type must be finer than
// the step of the last digit kept (always so for a double and 15 digits).
template <typename Shortest>
bool ShortestIsRounding(double value, const char* e, const char* end, int significant) {
  if constexpr (std::is_same_v<Shortest, double>) {
    return significant <= 15;
  } else {
    int exp10 = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exp10);
    const auto v = static_cast<Shortest>(std::fabs(value));
    const double step = static_cast<double>(std::nextafter(v, std::numeric_limits<Shortest>::infinity()) - v);
    return step < 0.99 * std::pow(10.0, exp10 - significant + 1);
  }
}

// The value's decimal form; `Shortest` is the type whose shortest text is
// tried first (a 32-bit value's own, not that of its widened double).
template <typename Shortest>
DecimalForm DecimalFormOf(double value, int significant) {
  DecimalForm form;
  if (value == 0.0 || !std::isfinite(value)) return form;
  form.negative = value < 0;
  if (const auto scaled = ToScaledDecimal(value, significant)) {
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, scaled->mantissa);
    auto count = static_cast<int>(r.ptr - text);
    form.exponent = count - scaled->scale;
    while (count > 0 && text[count - 1] == '0') --count;
    form.digits.assign(text, static_cast<std::size_t>(count));
    return form;
  }
  // Exact and locale-free: d.ddddde[+-]xx, correctly rounded. The shortest
  // text that reads back as the value, when it has no more digits than
  // asked for, is that rounding already (it lies within half a unit in the
  // last place of the value, nearer than any other text of that many
  // digits), and it is much quicker to find.
  char buffer[64];
  const char* const begin = buffer;
  std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<Shortest>(std::fabs(value)),
                                         std::chars_format::scientific);
  if (r.ec != std::errc()) return form;
  const char* end = r.ptr;
  const char* e = std::find(begin, end, 'e');
  if (MantissaDigits(begin, e) > significant || !ShortestIsRounding<Shortest>(value, e, end, significant)) {
    r = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                      significant - 1);
    if (r.ec != std::errc()) return form;
    end = r.ptr;
    e = std::find(begin, end, 'e');
  }
  form.digits.reserve(static_cast<std::size_t>(significant));
  for (const char* c = begin; c != e; ++c)
    if (*c != '.') form.digits.push_back(*c);
  int exp10 = 0;
  const char* digits = e + 1;
  if (*digits == '+') ++digits;
  std::from_chars(digits, end, exp10);
  while (!form.digits.empty() && form.digits.back() == '0') form.digits.pop_back();
  form.exponent = exp10 + 1;
  if (form.digits.empty()) form.negative = false;
  return form;
}

}  // namespace

std::uint64_t PowerOfTen(int exponent) { return static_cast<std::uint64_t>(kWidePowers[exponent]); }

std::optional<ScaledDecimal> ToScaledDecimal(double value, int significant) {
  if (value == 0.0 || !std::isfinite(value) || significant < 1 || significant > 17) return std::nullopt;
  // |value| = m * 2^-shift exactly, m a whole number below 2^53; subnormal
  // values (below 1e-307) take the general way.
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  if (biased == 0) return std::nullopt;
  constexpr std::uint64_t kHidden = std::uint64_t{1} << 52;
  const std::uint64_t m = (bits & (kHidden - 1)) | kHidden;
  const int shift = 1075 - biased;
  const Wide low = kWidePowers[significant - 1], high = kWidePowers[significant];
  // The value lies in [2^(p-1), 2^p) with p = 53 - shift, so its decimal
  // exponent is floor((p-1)·log10 2) + 1 or one more (1233/4096 is log10 2
  // closely enough for every double); the whole part of m * 10^scale *
  // 2^-shift must have `significant` digits.
  const int lowExponent = ((52 - shift) * 1233 >> 12) + 1;
  int scale = significant - lowExponent;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (scale < 0 || scale > kMaxScale || shift <= 0 || shift >= 128) return std::nullopt;
    const Wide product = static_cast<Wide>(m) * kWidePowers[scale];
    const Wide whole = product >> shift;
    if (whole < low) {
      ++scale;
      continue;
    }
    if (whole >= high) {
      --scale;
      continue;
    }
    const Wide rest = product - (whole << shift);
    const Wide half = Wide{1} << (shift - 1);
    const bool up = rest > half || (rest == half && (whole & 1) != 0);
    return ScaledDecimal{value < 0, static_cast<std::uint64_t>(whole) + (up ? 1 : 0), scale};
  }
  return std::nullopt;
}

DecimalForm ToDecimalForm(double value, int significant) { return DecimalFormOf<double>(value, significant); }

DecimalForm ToDecimalForm(float value, int significant) { return DecimalFormOf<float>(value, significant); }

DecimalForm RoundDecimals(const DecimalForm& form, int decimals) {
  // Number of significant digits kept: those before the point plus `decimals`.
  const int keep = form.exponent + decimals;
  if (static_cast<int>(form.digits.size()) <= keep) return form;
  DecimalForm rounded = form;
  if (keep < 0) {
    rounded.digits.clear();
    rounded.negative = form.negative;
    return rounded;
  }
  const bool up = form.digits[keep] >= '5';
  rounded.digits = form.digits.substr(0, keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && rounded.digits[i] == '9') {
      rounded.digits[i] = '0';
      --i;
    }
    if (i >= 0) {
      ++rounded.digits[i];
    } else {
      rounded.digits.insert(rounded.digits.begin(), '1');
      ++rounded.exponent;
    }
  }
  while (!rounded.digits.empty() && rounded.digits.back() == '0') rounded.digits.pop_back();
  // A negative value that rounds to zero keeps its sign, as the fixed
  // formats print it ("-0.0").
  return rounded;
}

std::string FixedText(const DecimalForm& form, int decimals) {
  const int n = static_cast<int>(form.digits.size());
  std::string text;
  text.reserve(static_cast<std::size_t>(std::max(form.exponent, 1) + decimals + 2));
  if (form.negative) text.push_back('-');
  for (int i = 0; i < form.exponent; ++i) text.push_back(i < n ? form.digits[i] : '0');
  if (form.exponent <= 0) text.push_back('0');
  if (decimals > 0) {
    text.push_back('.');
    for (int i = 0; i < decimals; ++i) {
      const int index = form.exponent + i;
      text.push_back(index >= 0 && index < n ? form.digits[index] : '0');
    }
  }
  return text;
}

}  // namespace korvane
