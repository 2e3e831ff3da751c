#include "decimal_form.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvane {

DecimalForm ToDecimalForm(double value, int significant) {
  DecimalForm form;
  if (value == 0.0 || !std::isfinite(value)) return form;
  form.negative = value < 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  // buffer: d.ddddde[+-]xx
  std::string text(buffer);
  const auto e = text.find('e');
  std::string mantissa = text.substr(0, e);
  const int exp10 = std::atoi(text.c_str() + e + 1);
  for (char c : mantissa)
    if (c != '.') form.digits.push_back(c);
  while (!form.digits.empty() && form.digits.back() == '0') form.digits.pop_back();
  form.exponent = exp10 + 1;
  if (form.digits.empty()) form.negative = false;
  return form;
}

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
  std::string integerPart;
  std::string fraction;
  const int n = static_cast<int>(form.digits.size());
  if (form.exponent > 0) {
    for (int i = 0; i < form.exponent; ++i) integerPart.push_back(i < n ? form.digits[i] : '0');
  }
  if (integerPart.empty()) integerPart.push_back('0');
  for (int i = 0; i < decimals; ++i) {
    const int index = form.exponent + i;
    fraction.push_back(index >= 0 && index < n ? form.digits[index] : '0');
  }
  std::string text;
  if (form.negative) text.push_back('-');
  text += integerPart;
  if (decimals > 0) {
    text.push_back('.');
    text += fraction;
  }
  return text;
}

}  // namespace korvane
