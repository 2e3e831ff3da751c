#include "report/html.h"

namespace korvane::report {

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
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
