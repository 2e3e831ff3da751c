#pragma once
// Small helpers on UTF-8 text where lengths count characters, not bytes.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// Number of characters (code points) of a UTF-8 text.
int CharCount(std::string_view text);
// The first n characters of a UTF-8 text.
std::string LeftChars(std::string_view text, int n);
std::string TrimLeft(std::string_view text);   // leading blanks removed
std::string TrimRight(std::string_view text);  // trailing blanks removed
std::string Trim(std::string_view text);
// The text followed by blanks up to width characters; a longer text is kept whole.
std::string PadRight(std::string_view text, int width);
// Columns a text takes in a GBK file and a monospaced CJK font: one for an
// ASCII character, two for any other (a Chinese character is two GBK bytes).
int DisplayWidth(std::string_view text);
// The text followed by blanks up to `width` display columns; a wider text is kept whole.
std::string PadRightToWidth(std::string_view text, int width);
std::string ToLowerAscii(std::string_view text);
// An ASCII digit 0-9 (not a locale's digits, nor a full-width one).
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
// A text of one or more ASCII digits and nothing else.
inline bool AllAsciiDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}
// Splits at every separator; empty pieces are kept.
std::vector<std::string> Split(std::string_view text, char separator);
// Splits a text into lines at LF, CR LF or CR; a final line break gives no extra line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace korvane
