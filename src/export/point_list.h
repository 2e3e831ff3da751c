#pragma once
// Coordinate lists as surveyors pass them on: one point a line,
// "name,X,Y[,H][,mx,my,mp]" without a header, X, Y and H to the millimetre,
// mx, my and mp in millimetres to 0.1 mm where the method gives them. A
// levelling result gives a height list, "name,H[,mH]". Names holding a comma
// cannot be written. The Gauss–Krüger tool's point-list reader reads both.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "export/figure.h"

namespace korvane::exporting {

struct ListLines {
  std::optional<Message> refusal;  // a name holding a comma
  std::vector<std::string> lines;  // UTF-8, without line breaks
};

// A coordinate or height as the lists and drawings write it: to the millimetre.
std::string Metres(double value);

// The listed points of a figure, in its order.
ListLines CoordinateLines(const Figure& figure);
ListLines HeightLines(const std::vector<HeightPoint>& points);

// A coordinate list read back: every line "name,X,Y[,H][,mx,my,mp]" (3, 4, 6
// or 7 fields, also separated by "，"); empty lines are skipped. The first
// line that is not of this form refuses the whole list:
// "坐标文件第N行格式不对！", title "请检查文本", and no point is returned.
struct ListRead {
  std::optional<Message> refusal;
  std::vector<FigurePoint> points;
};
ListRead ReadCoordinateList(std::string_view text);
// The same from a regular file of at most 16 MiB, GBK or UTF-8; a file that
// cannot be read is refused with the reason.
ListRead ReadCoordinateListFile(const std::string& path);

// Known points typed by name, looked up in a list: the list's point for each
// name (none for an empty name or one the list lacks), and the names it lacks.
struct NameLookup {
  std::vector<std::optional<FigurePoint>> points;
  std::vector<std::string> missing;
};
NameLookup LookUpNames(const std::vector<FigurePoint>& list, const std::vector<std::string>& names);
// "坐标文件中没有点：A、B", title "提示".
Message MissingNamesMessage(const std::vector<std::string>& missing);

}  // namespace korvane::exporting
