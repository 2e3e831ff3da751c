// The quality sections after the residuals: relative accuracy of the
// observed sides with the weakest point and side, the w-test with internal
// and external reliability, the observations snooping left out, and the
// variance components of the observation groups.
#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "network/network_quality_report.h"
#include "network/network_report_cells.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;
using namespace cells;
using report::Html;
using report::Tag;

const char* KindName(K kind) {
  switch (kind) {
    case K::Direction: return "方向";
    case K::Angle: return "角度";
    case K::Distance: return "边长";
    case K::Azimuth: return "方位角";
  }
  return "";
}

std::string InverseT(const NetworkRelativeAccuracy& a) {
  return a.ratio > 0 ? "1/" + NumberText(std::floor(1 / a.ratio)) : std::string("0");
}

std::string SideName(const NetworkResult& r, const NetworkRelativeAccuracy& a) {
  return r.points[a.from].name + "-" + r.points[a.to].name;
}

std::string EffectText(const NetworkObservationResult& o) {
  return o.mdbEffect < 0 ? std::string("未计算") : Fixed(o.mdbEffect, "#0.0") + "mm";
}

// A group's deviation scaled by `factor`: a distance group whose deviations
// all come from PARAM as a mm + b ppm, otherwise seconds or mm.
std::string Deviation(const NetworkVarianceComponent& g, double factor) {
  if (g.kind == K::Distance && g.fromParam)
    return Fixed(g.paramA * factor, "#0.0") + "mm+" + Fixed(g.paramB * factor, "#0.0") + "ppm";
  return Fixed(g.prior * factor, "#0.0") + (g.kind == K::Distance ? "mm" : "″");
}

std::string IterationText(const NetworkVarianceEstimation& v) {
  return "方差分量迭代 " + std::to_string(v.iterations) + " 次" +
         (v.converged ? std::string() : "，未收敛（各组比值未全部进入 1±0.01）");
}

std::string SnoopEndText(SnoopEnd end) {
  switch (end) {
    case SnoopEnd::Clean: return "已无 |w| 超过临界值的观测，探测结束。";
    case SnoopEnd::Untestable:
      return "仍有 |w| 超过临界值的观测，但其多余观测分量 r < 0.1（不可检验）或剔除后有点无法确定，未再剔除。";
    case SnoopEnd::RoundLimit:
      return "已剔除 " + std::to_string(kMaxSnoopRounds) + " 个观测，达到上限，探测停止；请检查观测数据。";
    case SnoopEnd::NoRedundancy: return "多余观测已不足以再剔除，探测停止。";
    case SnoopEnd::None: break;
  }
  return "";
}

}  // namespace

std::string ObservationText(K kind, const std::string& station, const std::string& back, const std::string& target) {
  return std::string(KindName(kind)) + " " + station + (back.empty() ? "" : "-" + back) + "-" + target;
}

std::string AmountText(K kind, double value) { return Fixed(value, "#0.00") + (kind == K::Distance ? "mm" : "″"); }

std::vector<std::string> NetworkQualityLines(const NetworkResult& r) {
  std::vector<std::string> out;
  if (r.precisionComputed) {
    for (const NetworkRelativeAccuracy& a : r.relative)
      out.push_back("相对精度: " + r.points[a.from].name + ", " + r.points[a.to].name + ", " + Fixed(a.distance, "#0.000") +
                    ", " + Fixed(a.ellipseA, "#0.0") + ", " + Fixed(a.ellipseB, "#0.0") + ", " +
                    DmsText(DegreesToDms(a.ellipseAzimuth), 0) + ", " + Fixed(a.sigmaS, "#0.0") + ", " + InverseT(a));
    if (r.weakestPoint >= 0)
      out.push_back("最弱点: " + r.points[r.weakestPoint].name + ", mp = " + Fixed(r.points[r.weakestPoint].sp, "#0.0") + "mm");
    if (r.weakestSide >= 0)
      out.push_back("最弱边: " + SideName(r, r.relative[r.weakestSide]) + ", 1/T = " + InverseT(r.relative[r.weakestSide]));
    if (r.degreesOfFreedom <= 0) {
      out.push_back("w检验: 无多余观测，不作检验");
    } else if (r.largestResidual >= 0) {
      const NetworkObservationResult& o = r.observations[r.largestResidual];
      out.push_back("w检验: 最大|w| = " + Fixed(o.standardised, "#0.00") + "（第 " + std::to_string(o.line) + " 行 " +
                    ObservationText(o.kind, o.station, o.back, o.target) + "），临界值 " + NumberText(kCriticalW));
    }
    for (const NetworkObservationResult& o : r.observations) {
      if (!(o.standardised > kCriticalW)) continue;
      out.push_back("超限: 第 " + std::to_string(o.line) + " 行 " + ObservationText(o.kind, o.station, o.back, o.target) +
                    ", w = " + Fixed(o.standardised, "#0.00") + ", ∇ = " + AmountText(o.kind, o.mdb) +
                    ", 对坐标最大影响 " + EffectText(o));
    }
  }
  for (std::size_t k = 0; k < r.snooping.size(); ++k) {
    const NetworkSnoopRound& s = r.snooping[k];
    out.push_back("剔除 第 " + std::to_string(k + 1) + " 次: 第 " + std::to_string(s.line) + " 行 " +
                  ObservationText(s.kind, s.station, s.back, s.target) + ", w = " + Fixed(s.w, "#0.00"));
  }
  if (r.variance.done) {
    for (const NetworkVarianceComponent& g : r.variance.groups) {
      std::string line = std::string("方差分量 ") + KindName(g.kind) + ": σ先验 " + Deviation(g, 1);
      if (g.estimated)
        line += ", σ估 " + Deviation(g, g.factor) + ", 比 " + Fixed(g.factor, "#0.00");
      else
        line += ", 多余观测数 " + Fixed(g.redundancy, "#0.00") + "，不足 1，不估计";
      out.push_back(line);
    }
    out.push_back(IterationText(r.variance));
  }
  return out;
}

namespace {

void Heading(const report::PageLines& out, const std::string& text) {
  out.push_back(report::Wrap(Tag("<P><B>"), text, Tag("</B><BR>")));
}

void RelativeTable(const NetworkResult& r, const report::PageLines& out) {
  if (r.relative.empty()) return;
  Heading(out, "相对精度（有观测相连的点对；相对误差椭圆为 1σ，与点位误差椭圆用同一 σ0；mS 为边长方向的相对中误差）：");
  out.push_back(kTableStart);
  out.push_back(report::Tr({Head("点1"), Head("点2"), Head("S(m)"), Head("E(mm)"), Head("F(mm)"), Head("φ"), Head("mS(mm)"),
                            Head("1/T")}));
  for (std::size_t k = 0; k < r.relative.size(); ++k) {
    const NetworkRelativeAccuracy& a = r.relative[k];
    const bool weakest = static_cast<int>(k) == r.weakestSide;
    out.push_back(report::Tr({Cell(r.points[a.from].name), Cell(r.points[a.to].name), Cell(Fixed(a.distance, "#0.000")),
                              Cell(Fixed(a.ellipseA, "#0.0")), Cell(Fixed(a.ellipseB, "#0.0")),
                              Cell(DmsText(DegreesToDms(a.ellipseAzimuth), 0)), Cell(Fixed(a.sigmaS, "#0.0")),
                              Cell(InverseT(a) + (weakest ? "（最弱边）" : ""))}));
  }
  out.push_back(kTableEnd);
  std::string weakest;
  if (r.weakestPoint >= 0)
    weakest = "最弱点 " + r.points[r.weakestPoint].name + "，mp = " + Fixed(r.points[r.weakestPoint].sp, "#0.0") + "mm";
  if (r.weakestSide >= 0)
    weakest += (weakest.empty() ? "" : "；") + std::string("最弱边 ") + SideName(r, r.relative[r.weakestSide]) +
               "，1/T = " + InverseT(r.relative[r.weakestSide]);
  if (!weakest.empty()) out.push_back(Tag("<P>") + (weakest + "。"));
}

void ReliabilityTable(const NetworkResult& r, const report::PageLines& out) {
  // The report is GBK text: no ∇ in it (the batch program's lines have it).
  Heading(out, "粗差检验与可靠性（w = v/(σ·√r)，σ 为先验中误差；临界值 " + NumberText(kCriticalW) +
                   "，α0 = 0.1%；检验功效 80%，δ0 = " + NumberText(kPowerDelta0) +
                   "；内部可靠性为最小可探测粗差 σ·δ0/√r，外部可靠性为该粗差对坐标的最大影响）：");
  if (r.degreesOfFreedom <= 0) {
    out.push_back(Tag("<P>") + "无多余观测，不作检验。");
  } else if (r.largestResidual >= 0) {
    const NetworkObservationResult& o = r.observations[r.largestResidual];
    const bool over = o.standardised > kCriticalW;
    out.push_back(Tag("<P>") +
                  report::RedIf("最大 |w| = " + Fixed(o.standardised, "#0.00") + "（第 " + std::to_string(o.line) + " 行 " +
                                    ObservationText(o.kind, o.station, o.back, o.target) + "）" +
                                    (over ? "，超过临界值。" : "，未超过临界值。"),
                                over));
  }
  out.push_back(kTableStart);
  out.push_back(report::Tr({Head("行"), Head("观测"), Head("v"), Head("σ"), Head("r"), Head("|w|"),
                            Head("最小可探测粗差"), Head("对坐标最大影响(mm)")}));
  for (const NetworkObservationResult& o : r.observations) {
    if (!(o.sigma > 0)) continue;  // a fixed azimuth
    const bool testable = o.redundancy >= kTestableRedundancy;
    const bool over = o.standardised > kCriticalW;
    out.push_back(report::Tr({Cell(std::to_string(o.line)), Cell(ObservationText(o.kind, o.station, o.back, o.target)),
                              Cell(AmountText(o.kind, o.residual)), Cell(AmountText(o.kind, o.sigma)),
                              Cell(Fixed(o.redundancy, "#0.000") + (testable ? "" : "（不可检验）")),
                              Cell(o.redundancy > 0 ? Fixed(o.standardised, "#0.00") : "", over),
                              Cell(o.mdb > 0 ? AmountText(o.kind, o.mdb) : ""),
                              Cell(o.mdbEffect >= 0 ? Fixed(o.mdbEffect, "#0.0") : "")}));
  }
  out.push_back(kTableEnd);
  const bool partial = std::any_of(r.observations.begin(), r.observations.end(),
                                   [](const NetworkObservationResult& o) { return o.mdb > 0 && o.mdbEffect < 0; });
  if (partial) out.push_back(Tag("<P>") + "网较大，外部可靠性只对 |w| 超过临界值的观测计算。");
}

void SnoopTable(const NetworkResult& r, const report::PageLines& out) {
  if (r.snoopEnd == SnoopEnd::None) return;
  Heading(out, "数据探测（逐次剔除 |w| 最大且超过 " + NumberText(kCriticalW) +
                   " 的观测，r < 0.1 者不剔除；以上结果为剔除后的平差结果）：");
  if (!r.snooping.empty()) {
    out.push_back(kTableStart);
    out.push_back(report::Tr({Head("次"), Head("行"), Head("观测"), Head("v"), Head("σ"), Head("r"), Head("w"),
                              Head("剔除前 σ0"), Head("剔除前 f")}));
    for (std::size_t k = 0; k < r.snooping.size(); ++k) {
      const NetworkSnoopRound& s = r.snooping[k];
      out.push_back(report::Tr({Cell(std::to_string(k + 1)), Cell(std::to_string(s.line)),
                                Cell(ObservationText(s.kind, s.station, s.back, s.target)),
                                Cell(AmountText(s.kind, s.residual)), Cell(AmountText(s.kind, s.sigma)),
                                Cell(Fixed(s.redundancy, "#0.000")), Cell(Fixed(s.w, "#0.00"), true),
                                Cell(Fixed(s.sigma0, "#0.000")), Cell(std::to_string(s.degreesOfFreedom))}));
    }
    out.push_back(kTableEnd);
  }
  out.push_back(Tag("<P>") + ("共剔除 " + std::to_string(r.snooping.size()) + " 个观测，剔除后 σ0 = " +
                              Fixed(r.snoopSigma0, "#0.000") + "，f = " + std::to_string(r.snoopDegreesOfFreedom) + "。" +
                              SnoopEndText(r.snoopEnd)));
}

void VarianceTable(const NetworkResult& r, const report::PageLines& out) {
  if (!r.variance.done) return;
  Heading(out, "方差分量估计（各组 σ估 = σ先验·√(v'Pv/r)，r 为该组多余观测分量之和，迭代至各组比值在 1±0.01 之内；"
               "以上结果按估计的中误差重新定权）：");
  out.push_back(kTableStart);
  out.push_back(report::Tr({Head("观测组"), Head("个数"), Head("多余观测数 r"), Head("σ先验"), Head("σ估"), Head("比")}));
  for (const NetworkVarianceComponent& g : r.variance.groups) {
    out.push_back(report::Tr({Cell(KindName(g.kind)), Cell(std::to_string(g.count)), Cell(Fixed(g.redundancy, "#0.00")),
                              Cell(Deviation(g, 1)), Cell(g.estimated ? Deviation(g, g.factor) : "不估计（r < 1）"),
                              Cell(g.estimated ? Fixed(g.factor, "#0.00") : "")}));
  }
  out.push_back(kTableEnd);
  out.push_back(Tag("<P>") + report::RedIf(IterationText(r.variance) + "。", !r.variance.converged));
}

}  // namespace

std::optional<Message> SnoopOffer(const NetworkResult& r) {
  if (r.snoopEnd != SnoopEnd::None || !r.precisionComputed || r.largestResidual < 0) return std::nullopt;
  const NetworkObservationResult& o = r.observations[r.largestResidual];
  if (!(o.standardised > kCriticalW)) return std::nullopt;
  int over = 0;
  for (const NetworkObservationResult& e : r.observations) over += e.standardised > kCriticalW ? 1 : 0;
  return Message{std::to_string(over) + " 个观测的标准化残差 |w| 超过临界值 " + NumberText(kCriticalW) + "，最大 |w| = " +
                     Fixed(o.standardised, "#0.00") + "（第 " + std::to_string(o.line) + " 行 " +
                     ObservationText(o.kind, o.station, o.back, o.target) +
                     "）。\n是否进行数据探测：逐个剔除 |w| 最大的观测并重新平差，直到没有超限的观测？",
                 "数据探测", MessageIcon::Question};
}

void NetworkQualitySections(const NetworkReportInput& in, const report::PageLines& out) {
  const NetworkResult& r = in.result;
  if (r.precisionComputed) {
    RelativeTable(r, out);
    ReliabilityTable(r, out);
  }
  SnoopTable(r, out);
  VarianceTable(r, out);
}

}  // namespace korvane::network
