#pragma once
// The decimal form of a binary floating-point value with a given number of
// significant digits; the number texts of the results tables are cut from it.
#include <string>

namespace korvane {

struct DecimalForm {
  bool negative = false;
  std::string digits;  // significant digits without trailing zeros; empty for zero
  int exponent = 0;    // value = 0.d1d2d3... x 10^exponent
};

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
