#pragma once
// The decimal form of a binary floating-point value with a given number of
// significant digits; the number texts of the results tables are cut from it.
#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

struct DecimalForm {
  bool negative = false;
  std::string digits;  // significant digits without trailing zeros; empty for zero
  int exponent = 0;    // value = 0.d1d2d3... x 10^exponent
};

// A value rounded to a number of significant digits as a whole number and a
// power of ten: |value| ~ mantissa / 10^scale, with 0 <= scale <= 22.
struct ScaledDecimal {
  bool negative = false;
  std::uint64_t mantissa = 0;  // `significant` digits, or 10^significant after rounding up
  int scale = 0;
};
// Rounded to `significant` (at most 17) digits, half to even on the exact
// binary value, found in integer arithmetic. Nothing for zero, infinities,
// NaN and values whose scale falls outside 0..22 (below about 1e-7 or from
// 10^significant up), which take the general way.
std::optional<ScaledDecimal> ToScaledDecimal(double value, int significant);
// Exact powers of ten up to 10^19.
std::uint64_t PowerOfTen(int exponent);

// Rounded to `significant` digits (round half to even on the exact binary value).
DecimalForm ToDecimalForm(double value, int significant);
// The same for a 32-bit value (its exact value, found quicker).
DecimalForm ToDecimalForm(float value, int significant);
// Rounded half away from zero to `decimals` places after the point.
DecimalForm RoundDecimals(const DecimalForm& form, int decimals);
// Plain fixed-point text with exactly `decimals` places and at least one
// integer digit ("-" before negative values).
std::string FixedText(const DecimalForm& form, int decimals);

}  // namespace korvane
