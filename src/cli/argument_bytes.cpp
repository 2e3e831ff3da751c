#include "argument_bytes.h"

#include <QList>
#include <QStringView>

namespace korvane::cli {
namespace {

constexpr char32_t kByteBase = 0x10FF00;  // U+10FF00 + byte stands for a lone byte

// The length of the valid UTF-8 character at the start of `bytes` (shortest
// form, no surrogate, at most U+10FFFF), or 0. A character of the range kept
// for lone bytes counts as invalid, so that it too comes back as its bytes.
std::size_t CharacterLength(std::string_view bytes, char32_t& code) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = b(0);
  std::size_t length = 0;
  if (lead < 0x80) return code = lead, 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
  else return 0;
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(i) & 0x3F);
  }
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code >= kByteBase) return 0;
  return length;
}

}  // namespace

QString ArgText(std::string_view bytes) {
  std::u32string codes;
  while (!bytes.empty()) {
    char32_t code = 0;
    std::size_t length = CharacterLength(bytes, code);
    if (length == 0) {
      code = kByteBase + static_cast<unsigned char>(bytes[0]);
      length = 1;
    }
    codes.push_back(code);
    bytes.remove_prefix(length);
  }
  return QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size()));
}

std::string ArgBytes(const QString& text) {
  std::string bytes;
  for (const char32_t code : text.toUcs4()) {
    if (code >= kByteBase && code <= kByteBase + 0xFF) {
      bytes.push_back(static_cast<char>(code - kByteBase));
    } else {
      const QString one = QString::fromUcs4(&code, 1);
      bytes += one.toUtf8().toStdString();
    }
  }
  return bytes;
}

}  // namespace korvane::cli
