#include "standards/level_limits.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace korvane::standards {
namespace {

// mm per √km on flat ground, mm per √set-up on hilly ground (0: none), a-priori mm per km.
struct GradeFactors {
  double flat, hilly, perKm;
};
const GradeFactors kFactors[] = {
    {4, 0, 2},     // 二等
    {12, 4, 6},    // 三等
    {20, 6, 10},   // 四等
    {30, 0, 15},   // 五等
    {40, 12, 20},  // 图根
};

const GradeFactors& FactorsOf(formats::Grade grade) { return kFactors[static_cast<int>(grade)]; }

std::string Factor(double value) { return NumberText(value); }

}  // namespace

LimitRule ClosureLimitRule(formats::Grade grade, formats::Terrain terrain) {
  const GradeFactors& f = FactorsOf(grade);
  LimitRule rule;
  if (terrain == formats::Terrain::Hilly && f.hilly > 0) {
    rule.factor = f.hilly;
    rule.perSetUp = true;
    rule.formula = "±" + Factor(f.hilly) + "√n";
    return rule;
  }
  rule.factor = f.flat;
  rule.lengthFallback = terrain == formats::Terrain::Hilly;
  rule.formula = "±" + Factor(f.flat) + "√L";
  return rule;
}

double ClosureLimitMm(const LimitRule& rule, double size) { return rule.factor * std::sqrt(std::max(size, 0.0)); }

std::optional<Message> CheckLimitBasis(const formats::Parameters& params) {
  const LimitRule rule = ClosureLimitRule(params.grade, params.terrain);
  const bool hasSetUps = params.weighting == formats::Weighting::SetUps;
  if (rule.perSetUp == hasSetUps) return std::nullopt;
  const std::string what = GradeName(params.grade) + TerrainName(params.terrain);
  if (rule.perSetUp)
    return Message{what + "的闭合差限差" + rule.formula + "按测站数计算，请以测站数n定权并填写各段测站数。",
                   "权与限差不符", MessageIcon::Warning};
  return Message{what + "的闭合差限差" + rule.formula + "按路线长度(km)计算，请以距离L定权并填写各段长度。",
                 "权与限差不符", MessageIcon::Warning};
}

std::string LimitNote(const formats::Parameters& params) {
  const LimitRule rule = ClosureLimitRule(params.grade, params.terrain);
  if (!rule.lengthFallback) return {};
  return GradeName(params.grade) + "水准无山地限差公式，山地也按平地公式" + rule.formula + "(L以km计)计算限差。";
}

double PriorErrorPerKm(formats::Grade grade) { return FactorsOf(grade).perKm; }

PriorError PriorUnitError(const formats::Parameters& params) {
  PriorError prior;
  if (params.weighting == formats::Weighting::Length) {
    prior = {true, PriorErrorPerKm(params.grade), "mm/√km"};
    return prior;
  }
  const GradeFactors& f = FactorsOf(params.grade);
  if (f.hilly > 0) prior = {true, f.hilly / 2, "mm/√站"};
  return prior;
}

std::vector<LimitTableRow> LevellingLimitTable() {
  std::vector<LimitTableRow> rows;
  for (const std::string& name : formats::GradeNames()) {
    const formats::Grade grade = *formats::GradeByName(name);
    const LimitRule flat = ClosureLimitRule(grade, formats::Terrain::Flat);
    const LimitRule hilly = ClosureLimitRule(grade, formats::Terrain::Hilly);
    const std::string hillyText = hilly.lengthFallback ? flat.formula + "（同平地）" : hilly.formula;
    rows.push_back({name, flat.formula, hillyText, "±" + Factor(PriorErrorPerKm(grade))});
  }
  return rows;
}

}  // namespace korvane::standards
