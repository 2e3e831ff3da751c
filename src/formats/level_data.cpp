#include "formats/level_data.h"

namespace korvane::formats {

const std::vector<std::string>& GradeNames() {
  static const std::vector<std::string> names = {"二等", "三等", "四等", "五等", "图根"};
  return names;
}

const std::vector<std::string>& TerrainNames() {
  static const std::vector<std::string> names = {"平地", "山地"};
  return names;
}

std::string GradeName(Grade grade) { return GradeNames()[static_cast<std::size_t>(grade)]; }
std::string TerrainName(Terrain terrain) { return TerrainNames()[static_cast<std::size_t>(terrain)]; }
std::string WeightingCode(Weighting weighting) { return weighting == Weighting::Length ? "L" : "n"; }

std::string MethodName(Method method) {
  switch (method) {
    case Method::Line: return "单一附合环";
    case Method::Loop: return "单一闭合环";
    case Method::Network: return "水准交叉网";
  }
  return {};
}

std::optional<Grade> GradeByName(std::string_view name) {
  const auto& names = GradeNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<Grade>(i);
  return std::nullopt;
}

std::optional<Terrain> TerrainByName(std::string_view name) {
  const auto& names = TerrainNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<Terrain>(i);
  return std::nullopt;
}

std::optional<Weighting> WeightingByCode(std::string_view code) {
  if (code == "L" || code == "l") return Weighting::Length;
  if (code == "n" || code == "N") return Weighting::SetUps;
  return std::nullopt;
}

std::string SizeCaption(Weighting weighting) {
  return weighting == Weighting::Length ? "距离L(km)" : "测站数n";
}

}  // namespace korvane::formats
