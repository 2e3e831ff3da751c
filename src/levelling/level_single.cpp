// The single line (单一附合环) and the single loop (单一闭合环) as a surveyor
// works them by hand: the misclosure fh, its limit, corrections in proportion
// to each section's length (or set-ups), kept unrounded, and the heights
// carried from the start benchmark.
#include <cmath>
#include <map>
#include <set>

#include "levelling/level_adjust.h"

namespace korvane::levelling {
namespace {

const formats::Benchmark* FindBenchmark(const formats::LevelData& data, const std::string& name) {
  for (const formats::Benchmark& b : data.benchmarks)
    if (b.name == name) return &b;
  return nullptr;
}

// The sections must run one after another, in the file's order, from a
// benchmark through new points to a benchmark.
std::optional<Message> CheckRoute(const formats::LevelData& data, formats::Method method) {
  const std::vector<formats::Section>& s = data.sections;
  if (!FindBenchmark(data, s.front().from))
    return Refusal("路线的起点" + s.front().from + "不是已知水准点：第一段应从已知点开始。");
  std::set<std::string> seen = {s.front().from};
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (i > 0 && s[i].from != s[i - 1].to)
      return Refusal("第" + std::to_string(i + 1) + "段的起点" + s[i].from + "不是上一段的终点" + s[i - 1].to +
                     "：各测段应按路线顺序首尾相接。");
    if (i + 1 == s.size()) break;
    if (FindBenchmark(data, s[i].to))
      return Refusal("路线中间的点" + s[i].to + "是已知点：单一路线只在两端有已知点，请用水准交叉网平差。");
    if (!seen.insert(s[i].to).second)
      return Refusal("点" + s[i].to + "在路线中出现两次：单一路线不能经过同一点两次，请用水准交叉网平差。");
  }
  const std::string& end = s.back().to;
  if (!FindBenchmark(data, end)) return Refusal("路线的终点" + end + "不是已知水准点。");
  if (method == formats::Method::Line && end == s.front().from)
    return Refusal("路线回到起点" + end + "：这是闭合环，请选单一闭合环。");
  if (method == formats::Method::Loop && end != s.front().from)
    return Refusal("路线的终点" + end + "不是起点" + s.front().from + "：这是附合路线，请选单一附合环。");
  return std::nullopt;
}

LevelOutcome AdjustSingle(const formats::LevelData& data, formats::Method method) {
  LevelOutcome out;
  if ((out.refusal = CheckCommon(data))) return out;
  if ((out.refusal = CheckRoute(data, method))) return out;
  LevelResult& r = out.result;
  r.method = method;
  r.params = data.params;
  r.rule = standards::ClosureLimitRule(data.params.grade, data.params.terrain);
  r.limitNote = standards::LimitNote(data.params);
  r.prior = standards::PriorUnitError(data.params);
  const double hStart = FindBenchmark(data, data.sections.front().from)->height;
  const double hEnd = FindBenchmark(data, data.sections.back().to)->height;
  double sum = 0;
  for (const formats::Section& s : data.sections) {
    sum += s.dh;
    r.totalSize += s.size;
  }
  Misclosure fh;
  fh.wMm = (sum - (hEnd - hStart)) * 1000;
  fh.size = r.totalSize;
  fh.limitMm = ClosureLimitMm(r.rule, r.totalSize);
  fh.overLimit = std::fabs(fh.wMm) > fh.limitMm;
  fh.betweenBenchmarks = method == formats::Method::Line;
  fh.route = data.sections.front().from;
  r.perUnitCorrectionMm = -fh.wMm / r.totalSize;

  double h = hStart;
  r.points.push_back({data.sections.front().from, hStart, true});
  for (std::size_t i = 0; i < data.sections.size(); ++i) {
    const formats::Section& s = data.sections[i];
    const double v = r.perUnitCorrectionMm * s.size;
    r.sections.push_back({s, v, s.dh + v / 1000});
    h += s.dh + v / 1000;
    const bool last = i + 1 == data.sections.size();
    // The end benchmark keeps its known height; the carried height closes on it.
    r.points.push_back({s.to, last ? hEnd : h, last});
    fh.route += "-" + s.to;
  }
  r.misclosures.push_back(fh);
  r.redundancy = 1;
  return out;
}

}  // namespace

Message Refusal(const std::string& text) { return {text, "无法平差", MessageIcon::Warning}; }

std::optional<Message> CheckCommon(const formats::LevelData& data) {
  if (data.benchmarks.empty()) return Refusal("没有已知水准点(BM)，无法平差。");
  if (data.sections.empty()) return Refusal("没有观测高差(SEC)，无法平差。");
  return standards::CheckLimitBasis(data.params);
}

bool LevelResult::anyOverLimit() const {
  for (const Misclosure& m : misclosures)
    if (m.overLimit) return true;
  return test.tooLarge();
}

LevelOutcome AdjustLine(const formats::LevelData& data) { return AdjustSingle(data, formats::Method::Line); }
LevelOutcome AdjustLoop(const formats::LevelData& data) { return AdjustSingle(data, formats::Method::Loop); }

formats::Method SuggestedMethod(const formats::LevelData& data) {
  if (data.benchmarks.empty() || data.sections.empty()) return formats::Method::Network;
  if (!CheckRoute(data, formats::Method::Line)) return formats::Method::Line;
  if (!CheckRoute(data, formats::Method::Loop)) return formats::Method::Loop;
  return formats::Method::Network;
}

LevelOutcome Adjust(formats::Method method, const formats::LevelData& data) {
  switch (method) {
    case formats::Method::Line: return AdjustLine(data);
    case formats::Method::Loop: return AdjustLoop(data);
    case formats::Method::Network: return AdjustNetwork(data);
  }
  return AdjustNetwork(data);
}

}  // namespace korvane::levelling
