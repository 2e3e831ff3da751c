#pragma once
// The one way the HTML reports write their pages. Text given to the builder
// (a point name, a table cell, a heading, a title) is always escaped; markup
// comes only from tags fixed in the program's source (`Tag` can be made from a
// string literal alone), so no name read from a file can break or inject into
// a page.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/text_file.h"

namespace korvane::report {

// Text as a page shows it: `&`, `<`, `>` and `"` as character references,
// and so every character the GBK page cannot hold (vᵀPv, ∇: "&#7488;").
std::string Escape(std::string_view text);

// A fixed piece of markup written in the source: Tag("<td>"). The constructor
// runs at compile time, so only a literal can become a tag.
class Tag {
 public:
  explicit consteval Tag(const char* markup) : markup_(markup) {}
  std::string_view str() const { return markup_; }

 private:
  const char* markup_;
};

// A piece of a page: text made into one is escaped, tags are kept.
class Html {
 public:
  Html() = default;
  Html(std::string_view text) : markup_(Escape(text)) {}   // NOLINT(google-explicit-constructor)
  Html(const std::string& text) : markup_(Escape(text)) {}  // NOLINT(google-explicit-constructor)
  Html(const char* text) : markup_(Escape(text)) {}         // NOLINT(google-explicit-constructor)
  Html(Tag tag) : markup_(tag.str()) {}                     // NOLINT(google-explicit-constructor)

  const std::string& str() const { return markup_; }
  Html& operator+=(const Html& more) {
    markup_ += more.markup_;
    return *this;
  }

 private:
  std::string markup_;
};

// Joins two pieces; text on either side is escaped, tags are kept.
inline Html operator+(Html a, const Html& b) { return a += b; }

// `content` between two tags.
Html Wrap(Tag open, const Html& content, Tag close);
// A value over its limit as the reports write it (red), and red when `mark`.
Html Red(const Html& content);
Html RedIf(const Html& content, bool mark);
// The same as a string, for the pages' callers.
std::string MarkRed(std::string_view text);

// Table pieces: <td>…</td>, <th>…</th>, and a row <tr>…</tr> of cells.
Html Td(const Html& content);
Html Th(const Html& content);
Html Tr(std::initializer_list<Html> cells);
Html Tr(const std::vector<Html>& cells);

// Where a page's lines go, each given as markup: a sink (the file or the
// screen, as the lines are made, so that a long report is never held whole)
// or a list of lines.
class PageLines {
 public:
  explicit PageLines(io::LineSink sink) : sink_(std::move(sink)) {}
  explicit PageLines(std::vector<std::string>& lines)
      : sink_([&lines](std::string_view line) { lines.emplace_back(line); }) {}
  void push_back(const Html& line) const { sink_(line.str()); }

 private:
  io::LineSink sink_;
};

// The page's first lines: <html>, <head>, the meta line, the title, </head>, <body>.
enum class Meta { Charset, ContentType };  // <meta charset="…"> or the http-equiv form
void PageStart(const PageLines& out, Meta meta, std::string_view charset, const Html& title);

}  // namespace korvane::report
