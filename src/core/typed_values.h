#pragma once
// Figures typed into the correction and projection tools: read strictly (a
// text that is not wholly a number is refused, never read as 0) and printed
// with a fixed number of decimals.
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// A plain decimal number ("12", "-0.5", "3.", "1e3"), blanks around it
// allowed; anything else, or a value that is not finite, gives nothing.
std::optional<double> ReadNumber(std::string_view text);
// A whole number without sign or decimals, at most nine digits.
std::optional<int> ReadCount(std::string_view text);
// An angle in DMS notation (8.080236 is 8°08'02.36"), as decimal degrees.
// Only plain decimals are angles, and their minutes and seconds must be
// below 60: 30.75 is no angle.
std::optional<double> ReadDmsDegrees(std::string_view text);

// The value rounded half away from zero to `decimals` places, never "-0.000".
std::string FixedDecimals(double value, int decimals);
// Decimal degrees in DMS notation with the seconds to `secondDecimals`
// places, 60" carried into the minute and 60' into the degree (9.5 with 5
// places gives "9.300000000").
std::string DmsDecimals(double degrees, int secondDecimals);

}  // namespace korvane
