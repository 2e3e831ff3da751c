#include "core/utf8.h"

namespace korvane {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the valid sequence starting at bytes[i], or 0 when none does;
// `subpart` receives the length of the maximal invalid subpart (at least 1).
std::size_t ValidSequence(std::string_view bytes, std::size_t i, std::size_t& subpart) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char c = at(i);
  subpart = 1;
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;   // no overlong forms
    if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < n; ++k) {
    if (i + k >= bytes.size()) return 0;
    const unsigned char b = at(i + k);
    const bool ok = k == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
    if (!ok) return 0;
    subpart = k + 1;
  }
  return n;
}

}  // namespace

bool IsStrictUtf8(std::string_view bytes) {
  std::size_t i = 0, subpart = 0;
  while (i < bytes.size()) {
    const std::size_t n = ValidSequence(bytes, i, subpart);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0, subpart = 0;
  while (i < bytes.size()) {
    const std::size_t n = ValidSequence(bytes, i, subpart);
    if (n == 0) {
      out += kReplacement;
      i += subpart;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

void AppendUtf8(char32_t c, std::string& out) {
  const auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | c >> 6);
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | c >> 12);
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | c >> 18);
    byte(0x80 | (c >> 12 & 0x3F));
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

}  // namespace korvane
