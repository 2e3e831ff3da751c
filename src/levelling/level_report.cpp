#include "levelling/level_report.h"

#include <cmath>

#include "core/numbers.h"
#include "io/text_file.h"
#include "levelling/level_table.h"
#include "standards/tolerance.h"
#include "report/html.h"

namespace korvane::levelling {
namespace {

using report::Html;
using report::Tag;
using report::Th;
using report::Tr;
using report::Td;

Html Marked(const std::string& text, bool over) { return report::RedIf(text, over); }

Html Row(std::initializer_list<Html> cells, Html (*cell)(const Html&) = Td) {
  std::vector<Html> row;
  for (const Html& c : cells) row.push_back(cell(c));
  return Tr(row);
}

constexpr Tag kTableStart("<table border=1 cellspacing=0 cellpadding=3>");
constexpr Tag kTableEnd("</table>");

void SingleTable(const LevelResult& r, const report::PageLines& out) {
  out.push_back(Tag("<P><B>平差计算表：</B><BR>"));
  out.push_back(kTableStart);
  out.push_back(Row({"点名", SizeCaption(r.params.weighting), "实测高差(m)", "改正数(mm)", "改正后高差(m)", "高程(m)"}, Th));
  for (std::size_t i = 0; i < r.points.size(); ++i) {
    if (i > 0) {
      const SectionResult& s = r.sections[i - 1];
      out.push_back(Row({"", SizeText(s.section.size, r.params.weighting), MetresText(s.section.dh),
                         MmText(s.correctionMm), MetresText(s.adjustedDh), ""}));
    }
    out.push_back(Row({Html(r.points[i].name), "", "", "", "", MetresText(r.points[i].height)}));
  }
  out.push_back(kTableEnd);
  const Misclosure& fh = r.misclosures.front();
  out.push_back(Tag("<P>") + "闭合差 fh = " + Marked(MmText(fh.wMm) + "mm", fh.overLimit) + "；限差 fh容 = " + r.rule.formula + " = " +
                LimitText(fh.limitMm) + "mm；" + SizeCaption(r.params.weighting) + "合计 " +
                SizeText(r.totalSize, r.params.weighting) + "；每单位改正数 " + MmText(r.perUnitCorrectionMm) + "mm");
}

void NetworkTables(const LevelResult& r, const report::PageLines& out) {
  out.push_back(Tag("<P><B>平差后高程：</B><BR>"));
  out.push_back(kTableStart);
  out.push_back(Row({"点名", "高程(m)", "中误差(mm)"}, Th));
  for (const PointResult& p : r.points) {
    const std::string error = p.known ? std::string("已知") : std::isnan(p.errorMm) ? std::string("—") : "±" + FormatFixed(p.errorMm, "#0.0");
    out.push_back(Row({Html(p.name), MetresText(p.height), error}));
  }
  out.push_back(kTableEnd);
  out.push_back(Tag("<P><B>测段改正数：</B><BR>"));
  out.push_back(kTableStart);
  out.push_back(Row({"起点", "终点", SizeCaption(r.params.weighting), "实测高差(m)", "改正数(mm)", "平差高差(m)"}, Th));
  for (const SectionResult& s : r.sections)
    out.push_back(Row({Html(s.section.from), Html(s.section.to), SizeText(s.section.size, r.params.weighting),
                       MetresText(s.section.dh), MmText(s.correctionMm), MetresText(s.adjustedDh)}));
  out.push_back(kTableEnd);
  out.push_back(report::Wrap(Tag("<P><B>"), "闭合差（独立闭合环及已知点间附合路线），限差 " + r.rule.formula + "：", Tag("</B><BR>")));
  out.push_back(kTableStart);
  out.push_back(Row({"路线", "类别", r.params.weighting == formats::Weighting::Length ? "长度(km)" : "测站数", "闭合差(mm)", "限差(mm)"}, Th));
  for (const Misclosure& m : r.misclosures)
    out.push_back(Row({Html(m.route), m.betweenBenchmarks ? "附合" : "闭合", SizeText(m.size, r.params.weighting),
                       Marked(MmText(m.wMm), m.overLimit), LimitText(m.limitMm)}));
  out.push_back(kTableEnd);
  out.push_back(report::Wrap(Tag("<P><B>精度评定：</B><BR>"), "多余观测数 r = " + std::to_string(r.redundancy), Tag("<BR>")));
  out.push_back("单位权中误差 μ = " + UnitErrorText(r) + Tag("<BR>"));
  out.push_back("卡方检验(双侧，95%)：" + Marked(TestText(r.test, r.prior), r.test.tooLarge()));
}

}  // namespace

std::vector<std::string> LevelReportLines(const LevelResult& r, const std::string& charset) {
  const std::string title = ResultTitle(r);
  std::vector<std::string> lines;
  const report::PageLines out(lines);
  report::PageStart(out, report::Meta::Charset, charset, title);
  out.push_back(report::Wrap(Tag("<H3><P ALIGN=CENTER>"), title, Tag("</H3>")));
  out.push_back(Tag("<P>") + "等级：" + GradeName(r.params.grade) + "；地形：" + TerrainName(r.params.terrain) + "；定权：" +
                (r.params.weighting == formats::Weighting::Length ? "1/L" : "1/n") + "；闭合差限差：" + r.rule.formula + "mm");
  if (!r.limitNote.empty()) out.push_back(Tag("<P>") + "注：" + r.limitNote);
  if (r.anyOverLimit()) out.push_back(Tag("<P>") + report::Red("超限数据标记为红色！"));
  if (r.method == formats::Method::Network)
    NetworkTables(r, out);
  else
    SingleTable(r, out);
  out.push_back(Tag("</body>"));
  out.push_back(Tag("</html>"));
  return lines;
}

report::ReportWrite WriteLevelReport(const std::string& path, const LevelResult& result) {
  return report::WriteReport(path, LevelReportLines(result));
}

}  // namespace korvane::levelling
