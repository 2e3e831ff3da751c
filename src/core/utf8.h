#pragma once
// Checking and mending UTF-8: every text inside the program is valid UTF-8.
#include <string>
#include <string_view>

namespace korvane {

// Valid UTF-8 in the strict sense: shortest forms only, no surrogates, no
// code point above U+10FFFF.
bool IsStrictUtf8(std::string_view bytes);
// The text with every maximal invalid subpart replaced by one U+FFFD
// (ED A0 80, a surrogate, gives three; a truncated E4 B8 gives one).
std::string SanitizeUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);
// Appends a code point (at most U+10FFFF, no surrogate) in UTF-8.
void AppendUtf8(char32_t c, std::string& out);

}  // namespace korvane
