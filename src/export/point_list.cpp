#include "export/point_list.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "formats/line_fields.h"
#include "core/numbers.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "geodesy/gauss_point_list.h"

namespace korvane::exporting {
namespace {

using formats::LineCursor;
using io::ReadTextFile;
using io::TextFileRead;

std::optional<Message> CommaInName(const std::string& name) {
  if (name.find(',') == std::string::npos && name.find("，") == std::string::npos) return std::nullopt;
  return Message{"点名“" + name + "”中含有逗号，无法写入坐标文件！", "请检查", MessageIcon::Warning};
}

// A value that rounds to nothing is written without its minus sign.
std::string Unsigned0(std::string text) {
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  return text;
}
std::string Tenths(double mm) { return Unsigned0(FormatFixed(mm, "#0.0")); }

// A number of the list: plain decimal notation, nothing else on the field.
std::optional<double> ListNumber(const std::string& field) {
  std::string_view text(field);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                        text.front() == '.'))
    return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::string Metres(double value) { return Unsigned0(FormatFixed(value, "#0.000")); }

ListLines CoordinateLines(const Figure& figure) {
  ListLines out;
  for (const FigurePoint& p : figure.points) {
    if (!p.listed) continue;
    if ((out.refusal = CommaInName(p.name))) {
      out.lines.clear();
      return out;
    }
    std::string line = p.name + "," + Metres(p.x) + "," + Metres(p.y);
    if (p.h) line += "," + Metres(*p.h);
    if (p.mx && p.my && p.mp) line += "," + Tenths(*p.mx) + "," + Tenths(*p.my) + "," + Tenths(*p.mp);
    out.lines.push_back(std::move(line));
  }
  return out;
}

ListLines HeightLines(const std::vector<HeightPoint>& points) {
  ListLines out;
  for (const HeightPoint& p : points) {
    if ((out.refusal = CommaInName(p.name))) {
      out.lines.clear();
      return out;
    }
    std::string line = p.name + "," + Metres(p.h);
    if (p.mh) line += "," + Tenths(*p.mh);
    out.lines.push_back(std::move(line));
  }
  return out;
}

ListRead ReadCoordinateList(std::string_view text) {
  ListRead read;
  LineCursor cursor(text);
  std::string_view raw;
  for (long long number = 1; cursor.next(raw); ++number) {
    std::string line = Trim(raw);
    if (line.empty()) continue;
    for (std::size_t pos = line.find("，"); pos != std::string::npos; pos = line.find("，", pos))
      line.replace(pos, 3, ",");
    std::vector<std::string> fields;
    for (const std::string& field : Split(line, ',')) fields.push_back(Trim(field));
    std::vector<double> values;
    bool usable = !fields.empty() && !fields[0].empty() &&
                  (fields.size() == 3 || fields.size() == 4 || fields.size() == 6 || fields.size() == 7);
    for (std::size_t i = 1; usable && i < fields.size(); ++i) {
      const std::optional<double> value = ListNumber(fields[i]);
      usable = value.has_value();
      if (usable) values.push_back(*value);
    }
    if (!usable) {
      read.points.clear();
      read.refusal = geodesy::BadListLine(number);
      return read;
    }
    FigurePoint p;
    p.name = fields[0];
    p.x = values[0];
    p.y = values[1];
    if (values.size() == 3 || values.size() == 6) p.h = values[2];
    if (values.size() >= 5) {
      const std::size_t m = values.size() - 3;
      p.mx = values[m];
      p.my = values[m + 1];
      p.mp = values[m + 2];
    }
    read.points.push_back(std::move(p));
  }
  return read;
}

ListRead ReadCoordinateListFile(const std::string& path) {
  const TextFileRead file = ReadTextFile(path, geodesy::kMaxPointListBytes);
  if (!file.ok) {
    ListRead read;
    read.refusal = Message{file.error, "请检查", MessageIcon::Warning};
    return read;
  }
  return ReadCoordinateList(file.text);
}

NameLookup LookUpNames(const std::vector<FigurePoint>& list, const std::vector<std::string>& names) {
  NameLookup lookup;
  for (const std::string& typed : names) {
    const std::string name = Trim(typed);
    const auto found = std::find_if(list.begin(), list.end(), [&](const FigurePoint& p) { return p.name == name; });
    if (name.empty() || found == list.end()) {
      if (!name.empty()) lookup.missing.push_back(name);
      lookup.points.emplace_back();
    } else {
      lookup.points.push_back(*found);
    }
  }
  return lookup;
}

Message MissingNamesMessage(const std::vector<std::string>& missing) {
  std::string names;
  for (const std::string& name : missing) names += (names.empty() ? "" : "、") + name;
  return Message{"坐标文件中没有点：" + names, "提示", MessageIcon::Information};
}

}  // namespace korvane::exporting
