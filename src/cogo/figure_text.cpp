#include "cogo/figure_text.h"

#include <cmath>

#include "core/angles.h"
#include "core/typed_values.h"
#include "cogo/plane_survey.h"

namespace korvane::cogo {
namespace {

const char* const kTitle = "请检查";

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

Message Refusal(const std::string& text) { return Message{text, kTitle, MessageIcon::Warning}; }

// Why a value cannot be a figure of this kind, or nothing when it can.
std::optional<std::string> RangeProblem(double value, FigureKind kind) {
  switch (kind) {
    case FigureKind::Coordinate:
      if (std::fabs(value) >= kCoordinateLimit) return "坐标超出范围";
      break;
    case FigureKind::Distance:
      if (value <= 0) return "边长必须大于0";
      if (value >= 1e6) return "边长超出范围";
      break;
    case FigureKind::Length:
      if (value < 0) return "不能为负";
      if (value >= 1e6) return "超出范围";
      break;
    case FigureKind::Angle:
      if (value < 0 || value >= 360) return "角度应在0至360度之间";
      if (!ValidDms(value)) return "分或秒不小于60";
      break;
  }
  return std::nullopt;
}

}  // namespace

Figures ReadFigures(const std::vector<std::string>& texts, const std::vector<FigureField>& fields) {
  Figures figures;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FigureField& field = fields[i];
    const std::string text = i < texts.size() ? Trimmed(texts[i]) : std::string();
    if (text.empty()) {
      if (field.optional) {
        figures.values.emplace_back();
        continue;
      }
      figures.refusal = Refusal("请输入" + field.caption + "！");
      return figures;
    }
    // The whole text must be one finite decimal number; a leading "+" is allowed.
    const std::optional<double> value = ReadNumber(text);
    if (!value) {
      figures.refusal = Refusal(field.caption + "输入有误！");
      return figures;
    }
    if (const auto problem = RangeProblem(*value, field.kind)) {
      figures.refusal = Refusal(field.caption + "输入有误：" + *problem + "！");
      return figures;
    }
    figures.values.push_back(value);
  }
  return figures;
}

}  // namespace korvane::cogo
