#include "formats/observation_check.h"

#include <cmath>
#include <regex>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::formats {

bool IsUsableObservation(int column, double value) {
  if (!std::isfinite(value)) return false;
  switch (column) {
    case 2: return ValidDms(value) && std::fabs(DmsToDegrees(value)) < 360.0;
    case 3: return value >= 0.0 && value < kLongestDistance;
    case 6:
    case 9: return ValidDms(value) && std::fabs(DmsToDegrees(value)) < 90.0;
    default: return std::fabs(value) < kLargestHeight;
  }
}

std::optional<Message> CheckObservationCell(int row, int column, const std::string& text) {
  const auto where = [&] { return "第" + std::to_string(row) + "行第" + std::to_string(column); };
  switch (IsNumericCell(text)) {
    case CellCheck::Empty:
      return Message{where() + "未输入数据！", "请检查", MessageIcon::Information};
    case CellCheck::Invalid:
      return Message{where() + "列数据输入有误！", "请检查", MessageIcon::Information};
    case CellCheck::Valid:
      break;
  }
  // Blanks anywhere are passed over by the reading itself.
  if (!IsUsableObservation(column, ParseLenient(text)))
    return Message{where() + "列数据输入有误！", "请检查", MessageIcon::Information};
  return std::nullopt;
}

std::optional<NamedCell> CellNamedBy(const std::string& text) {
  static const std::regex named("^第([0-9]{1,6})行第([0-9]{1,2})(列|未)");
  std::smatch match;
  if (!std::regex_search(text, match, named)) return std::nullopt;
  return NamedCell{std::stoi(match[1].str()), std::stoi(match[2].str())};
}

}  // namespace korvane::formats
