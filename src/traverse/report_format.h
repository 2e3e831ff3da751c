#pragma once
// Short names for the number texts of the results tables. A float argument
// is written from its 7-digit decimal form, a double from its 15-digit form.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/numbers.h"

namespace korvane::traverse {

template <typename T> std::string F1(T v) { return FormatFixed(v, "#0.0"); }
template <typename T> std::string F3(T v) { return FormatFixed(v, "#0.000"); }
template <typename T> std::string F5(T v) { return FormatFixed(v, "#0.00000"); }
template <typename T> std::string S(T v) { return StrNumber(v); }
// StrNumber of a fixed text read back, as in S(F3(x)).
inline std::string SText(std::string_view text) { return StrNumber(ParseLenient(text)); }
// The same for a value's own fixed text: SF3(x) is SText(F3(x)) without the text.
template <typename T> std::string SF1(T v) { return StrNumber(RoundFixed(v, "#0.0")); }
template <typename T> std::string SF3(T v) { return StrNumber(RoundFixed(v, "#0.000")); }
// A misclosure rounded to 0.1; one that rounds to nothing is written without
// a sign.
inline double Tenths(double v) { return RoundFixed(v, "#0.0") + 0.0; }

// The pieces of a table row in one string, sized once: the rows of a long
// table are written without growing their text piece by piece.
template <typename... Pieces>
std::string Joined(const Pieces&... pieces) {
  std::string line;
  line.reserve((std::string_view(pieces).size() + ...));
  (line.append(pieces), ...);
  return line;
}

// The rules of the tables: 34 dashes after the given indent.
std::string Rule(int indent);
// "1 /" and the whole number of the summed length over the linear
// misclosure; a closure that prints as 0.0 mm reads "1 / ∞".
std::string RelativeMisclosureText(double lengthSum, double fs);

// Receives each line of a results table as soon as it is written.
using LineSink = std::function<void(std::string_view)>;

// The results pane being written: lines appended one by one, or handed to
// the sink when there is one (a long table is then never held whole).
struct ReportLines {
  std::vector<std::string>& lines;
  const LineSink& sink;
  void add(std::string line) {
    if (sink) sink(line);
    else lines.push_back(std::move(line));
  }
};

// The planar and height width refusals of the correction rows.
Message PlaneWidthRefusal();
Message HeightWidthRefusal();

}  // namespace korvane::traverse
