#include "report/html.h"

#include <unordered_map>

#include "io/text_file.h"

namespace korvane::report {
namespace {

// The code point of the UTF-8 sequence of `length` bytes at `p`.
char32_t CodePoint(const unsigned char* p, std::size_t length) {
  if (length == 2) return ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
  if (length == 3) return ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
  return ((p[0] & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
}

// Whether a GBK page can hold the character: the common Chinese characters
// at once, any other asked of the codec once per thread and remembered.
bool InGbk(std::string_view character, char32_t code) {
  if (code >= 0x4E00 && code <= 0x9FA5) return true;
  thread_local std::unordered_map<char32_t, bool> known;
  const auto found = known.find(code);
  if (found != known.end()) return found->second;
  const bool held = io::DecodeGbk(io::EncodeGbk(character)) == character;
  known.emplace(code, held);
  return held;
}

}  // namespace

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      default: break;
    }
    const auto lead = static_cast<unsigned char>(c);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) {
      out += c;
      continue;
    }
    // A character the GBK page cannot hold (vᵀPv, ∇) is written as its
    // character reference, which the browser shows as the character.
    const std::string_view character = text.substr(i, length);
    const char32_t code = CodePoint(reinterpret_cast<const unsigned char*>(character.data()), length);
    if (InGbk(character, code)) out += character;
    else out += "&#" + std::to_string(static_cast<std::uint32_t>(code)) + ";";
    i += length - 1;
  }
  return out;
}

Html Wrap(Tag open, const Html& content, Tag close) { return open + content + close; }

Html Red(const Html& content) { return Wrap(Tag("<FONT COLOR=#FF0000>"), content, Tag("</FONT>")); }

Html RedIf(const Html& content, bool mark) { return mark ? Red(content) : content; }

std::string MarkRed(std::string_view text) { return Red(Html(text)).str(); }

Html Td(const Html& content) { return Wrap(Tag("<td>"), content, Tag("</td>")); }

Html Th(const Html& content) { return Wrap(Tag("<th>"), content, Tag("</th>")); }

Html Tr(std::initializer_list<Html> cells) { return Tr(std::vector<Html>(cells)); }

Html Tr(const std::vector<Html>& cells) {
  Html row(Tag("<tr>"));
  for (const Html& cell : cells) row += cell;
  return row + Tag("</tr>");
}

void PageStart(const PageLines& out, Meta meta, std::string_view charset, const Html& title) {
  const Html metaLine = meta == Meta::Charset
                            ? Wrap(Tag("<meta charset=\""), Html(charset), Tag("\">"))
                            : Wrap(Tag("<meta http-equiv=\"Content-Type\" content=\"text/html; charset="), Html(charset), Tag("\">"));
  for (const Html& line : {Html(Tag("<html>")), Html(Tag("<head>")), metaLine, Wrap(Tag("<title>"), title, Tag("</title>")),
                           Html(Tag("</head>")), Html(Tag("<body>"))})
    out.push_back(line);
}

}  // namespace korvane::report
