#include "levelling/level_table.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/text_utils.h"
#include "formats/level_file.h"

namespace korvane::levelling {
namespace {

const char* const kOver = "  超限";

std::string Cell(const std::string& text, int width) { return PadRightToWidth(text, width); }

int NameWidth(const LevelResult& r) {
  int width = 8;
  for (const PointResult& p : r.points) width = std::max(width, DisplayWidth(p.name) + 2);
  return width;
}

std::string WeightText(formats::Weighting w) { return w == formats::Weighting::Length ? "按距离定权" : "按测站数定权"; }

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (const std::string& c : cells) line += c;
  return TrimRight(line);
}

void LimitLines(const LevelResult& r, std::vector<std::string>& out) {
  if (!r.limitNote.empty()) out.push_back("注：" + r.limitNote);
}

// The hand table of a line or a loop.
void SingleTable(const LevelResult& r, std::vector<std::string>& out) {
  const int w = NameWidth(r);
  const Misclosure& fh = r.misclosures.front();
  out.push_back(Join({Cell("点名", w), Cell(SizeCaption(r.params.weighting), 12), Cell("实测高差(m)", 14),
                      Cell("改正数(mm)", 12), Cell("改正后高差(m)", 16), "高程(m)"}));
  double sumDh = 0, sumV = 0, sumAdjusted = 0;
  for (std::size_t i = 0; i < r.points.size(); ++i) {
    out.push_back(Join({Cell(r.points[i].name, w + 12 + 14 + 12 + 16), MetresText(r.points[i].height)}));
    if (i == r.sections.size()) break;
    const SectionResult& s = r.sections[i];
    out.push_back(Join({Cell("", w), Cell(SizeText(s.section.size, r.params.weighting), 12),
                        Cell(MetresText(s.section.dh), 14), Cell(MmText(s.correctionMm), 12),
                        MetresText(s.adjustedDh)}));
    sumDh += s.section.dh, sumV += s.correctionMm, sumAdjusted += s.adjustedDh;
  }
  out.push_back(Join({Cell("∑", w), Cell(SizeText(r.totalSize, r.params.weighting), 12), Cell(MetresText(sumDh), 14),
                      Cell(MmText(sumV), 12), MetresText(sumAdjusted)}));
  out.push_back("");
  const std::string should = r.method == formats::Method::Line ? "∑h测-(H终-H始)" : "∑h测";
  out.push_back("辅助计算：fh = " + should + " = " + MmText(fh.wMm) + "mm");
  out.push_back("          fh容 = " + r.rule.formula + " = " + LimitText(fh.limitMm) + "mm" +
                (fh.overLimit ? std::string(kOver) : std::string()));
  out.push_back(std::string("          ") + (r.params.weighting == formats::Weighting::Length ? "每千米" : "每测站") +
                "改正数 = -fh/" + (r.params.weighting == formats::Weighting::Length ? "∑L" : "∑n") + " = " +
                MmText(r.perUnitCorrectionMm) + "mm");
  LimitLines(r, out);
}

void NetworkHeights(const LevelResult& r, std::vector<std::string>& out) {
  const int w = NameWidth(r);
  out.push_back("一、平差后高程");
  out.push_back(Join({Cell("点名", w), Cell("高程(m)", 14), "中误差(mm)"}));
  for (const PointResult& p : r.points) {
    const std::string error = p.known ? std::string("已知") : std::isnan(p.errorMm) ? std::string("—") : "±" + FormatFixed(p.errorMm, "#0.0");
    out.push_back(Join({Cell(p.name, w), Cell(MetresText(p.height), 14), error}));
  }
}

void NetworkSections(const LevelResult& r, std::vector<std::string>& out) {
  const int w = NameWidth(r);
  out.push_back("二、测段改正数");
  out.push_back(Join({Cell("起点", w), Cell("终点", w), Cell(SizeCaption(r.params.weighting), 12),
                      Cell("实测高差(m)", 14), Cell("改正数(mm)", 12), "平差高差(m)"}));
  for (const SectionResult& s : r.sections)
    out.push_back(Join({Cell(s.section.from, w), Cell(s.section.to, w), Cell(SizeText(s.section.size, r.params.weighting), 12),
                        Cell(MetresText(s.section.dh), 14), Cell(MmText(s.correctionMm), 12), MetresText(s.adjustedDh)}));
}

void NetworkMisclosures(const LevelResult& r, std::vector<std::string>& out) {
  out.push_back("三、闭合差（独立闭合环及已知点间附合路线）");
  if (r.misclosures.empty()) {
    out.push_back("无闭合条件");
    return;
  }
  int w = 10;
  for (const Misclosure& m : r.misclosures) w = std::max(w, DisplayWidth(m.route) + 2);
  out.push_back(Join({Cell("路线", w), Cell("类别", 6), Cell(r.params.weighting == formats::Weighting::Length ? "长度(km)" : "测站数", 12),
                      Cell("闭合差(mm)", 12), "限差(mm)"}));
  for (const Misclosure& m : r.misclosures)
    out.push_back(Join({Cell(m.route, w), Cell(m.betweenBenchmarks ? "附合" : "闭合", 6),
                        Cell(SizeText(m.size, r.params.weighting), 12), Cell(MmText(m.wMm), 12),
                        LimitText(m.limitMm) + (m.overLimit ? kOver : "")}));
  out.push_back("限差公式：" + r.rule.formula);
  LimitLines(r, out);
}

void NetworkAccuracy(const LevelResult& r, std::vector<std::string>& out) {
  out.push_back("四、精度评定");
  out.push_back("多余观测数 r = " + std::to_string(r.redundancy));
  out.push_back("单位权中误差 μ = " + UnitErrorText(r));
  out.push_back("卡方检验(双侧，95%)：" + TestText(r.test, r.prior));
}

}  // namespace

std::string MetresText(double metres) { return FormatFixed(metres + 0.0, "#0.0000"); }

std::string MmText(double mm) {
  std::string text = FormatFixed(mm + 0.0, "#0.0");
  if (text == "-0.0") text = "0.0";
  if (text != "0.0" && text[0] != '-') text = "+" + text;
  return text;
}

std::string SizeText(double size, formats::Weighting weighting) {
  if (weighting == formats::Weighting::Length) return FormatFixed(size, "#0.000");
  return NumberText(size);
}

std::string LimitText(double mm) { return "±" + FormatFixed(mm, "#0.0"); }

std::string UnitErrorText(const LevelResult& r) {
  if (std::isnan(r.sigma0Mm)) return "无多余观测，无法计算";
  return "±" + FormatFixed(r.sigma0Mm, "#0.0") + (r.params.weighting == formats::Weighting::Length ? "mm/√km（每千米）" : "mm/√站（每测站）");
}

std::string TestText(const VarianceTest& t, const standards::PriorError& prior) {
  if (!t.done) return t.why;
  return "先验 σ0 = ±" + NumberText(prior.mm) + prior.unit + "，统计量 r(μ/σ0)^2 = " + FormatFixed(t.statistic, "#0.000") +
         "，接受区间 [" + FormatFixed(t.lower, "#0.000") + ", " + FormatFixed(t.upper, "#0.000") + "]，" +
         (t.passed                     ? "通过"
          : t.statistic < t.lower ? "未通过（μ显著小于先验中误差，请检查等级和各段的距离或测站数）"
                                  : "未通过（μ显著大于先验中误差）");
}

std::string ResultTitle(const LevelResult& r) {
  const char* kind = r.method == formats::Method::Line   ? "单一附合水准路线平差计算表"
                     : r.method == formats::Method::Loop ? "单一闭合水准路线平差计算表"
                                                : "水准交叉网平差成果表";
  return std::string(kind) + "（" + GradeName(r.params.grade) + "，" + TerrainName(r.params.terrain) + "，" +
         WeightText(r.params.weighting) + "）";
}

std::vector<std::string> LevelTableLines(const LevelResult& r) {
  std::vector<std::string> out = {ResultTitle(r), ""};
  if (r.method != formats::Method::Network) {
    SingleTable(r, out);
    return out;
  }
  NetworkHeights(r, out);
  out.push_back("");
  NetworkSections(r, out);
  out.push_back("");
  NetworkMisclosures(r, out);
  out.push_back("");
  NetworkAccuracy(r, out);
  return out;
}

std::string LevelTableText(const LevelResult& r) {
  std::string text;
  for (const std::string& line : LevelTableLines(r)) text += line + "\n";
  return text;
}

}  // namespace korvane::levelling
