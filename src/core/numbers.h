#pragma once
// Reading typed numbers and writing numbers the way the results tables print them.
#include <string>
#include <string_view>

namespace korvane {

// Lenient parse of a typed number: blanks, tabs and line feeds are ignored,
// the longest numeric prefix is read ("12abc" gives 12), nothing numeric gives 0.
// A number too large to hold also gives 0.
double ParseLenient(std::string_view text);

enum class CellCheck { Empty, Invalid, Valid };
// The check every observation cell passes before a computation.
CellCheck IsNumericCell(std::string_view text);

// Fixed-decimal format for the patterns "#0.000", "#0.0", "#0.00000",
// "#0.0000" and "#0": rounded half away from zero on the value's decimal form
// (15 significant digits for a double, 7 for a float).
std::string FormatFixed(double value, std::string_view pattern);
std::string FormatFixed(float value, std::string_view pattern);
// FormatFixed and read back: the rounding every engine applies.
double RoundFixed(double value, std::string_view pattern);
double RoundFixed(float value, std::string_view pattern);

// Shortest decimal text with a leading blank for non-negative values and no
// "0" before the decimal point (0.5 gives " .5"); 15 significant digits for a
// double, 7 for a float.
std::string StrNumber(double value);
std::string StrNumber(float value);
// Like StrNumber without the leading blank and with the "0" (0.5 gives "0.5"):
// the general number text, up to 15 significant digits, in exponent form
// ("1E-05", "1E+15") when |x| >= 1E15 or 0 < |x| < 1E-4.
std::string NumberText(double value);
std::string NumberText(float value);

// The shortest decimal text that reads back to the same double, never in
// exponent form and never "-0" (0.0001 gives "0.0001", 1E6 "1000000"): the
// figures a saved file holds, so that it gives back exactly what was saved.
std::string ExactDecimal(double value);

// Line k (0-based) of a multi-line text, without its line break; a line past
// the end gives an empty text.
std::string ReadTextLine(std::string_view text, int k);

}  // namespace korvane
