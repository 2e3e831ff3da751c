#include "traverse/rigorous_report.h"

#include <algorithm>

#include "core/numbers.h"
#include "report/html.h"
#include "io/atomic_output.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "traverse/traverse_toolkit.h"

namespace korvane::traverse {
namespace {

using report::Html;
using report::Tag;
using LineOut = report::PageLines;

// The weighted report's own cells, as it has always written them.
Html HeaderCell(const Html& text) { return report::Wrap(Tag("<td>"), text, Tag("</th>")); }
Html ValueCell(const Html& text) { return report::Wrap(Tag("<td><a=''>"), text, Tag("</a>")); }
Html RawCell(const Html& text) { return Tag("<td><a=''>") + text; }
constexpr Tag kBlankCell("<th></th></a>");
constexpr Tag kTableStart("<table border=1 align=>");
constexpr Tag kRowStart("<tr>");
constexpr Tag kTableEnd("</table>");
constexpr Tag kParagraph("<P>");

Html Marked(const std::string& text, bool mark) { return report::RedIf(text, mark); }
// A number rounded to k decimals and written with a leading blank when not negative.
std::string Rounded(double value, std::string_view pattern) { return StrNumber(RoundFixed(value, pattern) + 0.0); }
// A known-point value as typed, written with three decimals and no blank.
std::string KnownValue(std::string_view text) { return FormatFixed(ParseLenient(Trim(text)), "#0.000"); }

// The image reference keeps its attributes; a name with blanks is quoted.
Html ImageLine(const std::string& name) {
  Html src = name;
  if (name.find_first_of(" \t'\"<>") != std::string::npos) src = Tag("\"") + src + Tag("\"");
  return report::Wrap(Tag("<IMG SRC="), src, Tag("   border=0 align=center  HEIGHT=709 WIDTH=502>"));
}

void StartDataTable(const RigorousReportInput& in, const LineOut& out) {
  const formats::RigorousTable& t = in.table;
  out.push_back(Tag("<P><B>起算数据表：<BR>"));
  out.push_back(kTableStart);
  for (int c = 0; c < formats::kRigorousColumns; ++c) out.push_back(HeaderCell(t.at(0, c)));
  const std::string known[] = {t.at(1, 2), t.at(1, 3), t.at(2, 2), t.at(2, 3),
                               t.at(t.endRow(), 2), t.at(t.endRow(), 3),
                               t.at(t.connectRow(), 2), t.at(t.connectRow(), 3)};
  for (int r = 1; r < t.rows(); ++r) {
    out.push_back(kRowStart);
    for (int c = 0; c < formats::kRigorousColumns; ++c) {
      const std::string text = t.at(r, c);
      if (Trim(text).empty()) {
        out.push_back(kBlankCell);
        continue;
      }
      Html line = RawCell(text);
      // Cells that repeat a known point's coordinate are shown to millimetres.
      for (const std::string& k : known) {
        if (text == k) {
          line = RawCell(KnownValue(k));
          break;
        }
      }
      out.push_back(line);
    }
  }
  out.push_back(kTableEnd);
  out.push_back(kParagraph);
}

void LimitsTable(const RigorousReportInput& in, const LineOut& out) {
  const ToleranceRow& row = in.row;
  const ToleranceLimits& lim = in.limits;
  out.push_back(report::Wrap(Tag("<P><B>"), row.title, Tag("<BR>")));
  out.push_back(kTableStart);
  out.push_back(ValueCell("导线总长：S" + row.printedLength()));
  out.push_back(ValueCell("平均边长：D=" + row.printedMeanSide()));
  out.push_back(kRowStart);
  out.push_back(ValueCell(row.msLimit == 0 ? std::string("测距中误差：ms无严格规定")
                                           : "测距中误差：ms≤" + StrNumber(row.msLimit) + "mm"));
  out.push_back(ValueCell(row.mBetaLimit == 0 ? std::string("测角中误差：mβ无严格规定")
                                              : "测角中误差：mβ≤" + StrNumber(row.mBetaLimit) + "″"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("方位角闭合差：fβ≤" + StrNumber(lim.fBeta) + "″"));
  out.push_back(ValueCell("高程闭合差：fh≤" + StrNumber(lim.fh) + "mm"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("X增量闭合差：fΔx≤" + StrNumber(lim.fdx) + "mm"));
  out.push_back(ValueCell("Y增量闭合差：fΔy≤" + StrNumber(lim.fdx) + "mm"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("边长闭合差：fs≤" + StrNumber(lim.fs) + "mm"));
  out.push_back(ValueCell("导线全长相对闭合差：k≤" + row.kText));
  out.push_back(kTableEnd);
  out.push_back(kParagraph);
}

std::string ProjectionText(const RigorousReportInput& in) {
  const RigorousResult& res = in.result;
  const std::string hm = res.projectionHeight == 0 ? std::string("测区平均高程") : StrNumber(res.projectionHeight);
  if (res.projectionNumber == 0) {
    if (res.projectionOff) return "高程投影面：(无) ";
    return "高程投影面：(为测区平均高程面)Hm=" + hm + "m";
  }
  return "高程投影面：Hm=" + hm + "m";
}

void CharacteristicValues(const RigorousReportInput& in, const LineOut& out) {
  const RigorousResult& res = in.result;
  const ToleranceMarks& mk = in.marks;
  out.push_back(Tag("<P><B>导线相关特征值：") + report::Red(in.checked ? "超限数据标记为红色！" : "") + Tag("<BR>"));
  out.push_back(kTableStart);
  out.push_back(ValueCell(ProjectionText(in)));
  out.push_back(ValueCell("测距仪加乘常数：a=" + Trim(in.params.additiveConstant) + "；     b=" +
                          Trim(in.params.scaleConstant)));
  out.push_back(kRowStart);
  out.push_back(ValueCell("测角先验中误差：m0=" + Trim(in.params.priorAngleError) + "″"));
  out.push_back(ValueCell("平均边长：D=" + StrNumber(res.meanSide) + "m"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("X增量闭合差：fΔx=" + Marked(StrNumber(res.fxMm), mk.fx) + "mm"));
  out.push_back(ValueCell("导线总长：S=" + Marked(StrNumber(res.totalLength), mk.totalLength) + "m"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("Y增量闭合差：fΔy=" + Marked(StrNumber(res.fyMm), mk.fy) + "mm"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("方位角闭合差：fβ=" + Marked(StrNumber(res.fBetaSeconds), mk.fBeta) + "″"));
  out.push_back(ValueCell("边长闭合差：fs=" + Marked(StrNumber(res.fsMm), mk.fs) + "mm"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("导线全长相对闭合差：Κ=fs/∑s＝" + Marked(res.relativeClosure, mk.relativeClosure)));
  out.push_back(ValueCell("最弱边边长相对误差：S弱=" + res.weakestSide));
  out.push_back(kRowStart);
  out.push_back(ValueCell("高程闭合差：fh=" + Marked(StrNumber(res.fhMm), mk.fh) + "mm"));
  out.push_back(ValueCell("髙差每千米改正数：δkm=" + Marked(StrNumber(res.deltaKm), mk.deltaKm) + "mm"));
  out.push_back(kRowStart);
  out.push_back(ValueCell("水平测角中误差：mβ=±" + Marked(StrNumber(res.mBeta), mk.mBeta) + "″"));
  out.push_back(ValueCell("髙差每千米中误差：mh=±" + Marked(StrNumber(res.mh), mk.mh) + "mm"));
  // The report is GBK, which has no superscript two: the page writes it as a
  // character reference, which every browser shows as "²".
  if (std::find(res.oneWay.begin(), res.oneWay.end(), true) != res.oneWay.end())
    out.push_back(ValueCell(traverse::kOneWayCorrectionNote));
  out.push_back(kRowStart);
  out.push_back(ValueCell("测距中误差：ms=±" + Marked(StrNumber(res.ms), mk.ms) + "mm"));
  out.push_back(ValueCell("观测值点位中误差：m=±" + Marked(StrNumber(res.m), mk.m) + "mm"));
  out.push_back(kTableEnd);
  out.push_back(kParagraph);
}

void CorrectionsTable(const RigorousReportInput& in, const LineOut& out) {
  const RigorousResult& res = in.result;
  out.push_back(Tag("<P><B>导线相关改正数一览表：<BR>"));
  out.push_back(kTableStart);
  for (const char* caption : {"测站名", "水平角改正(″)", "S投影改正(mm)", "S平差改正(mm)", "高差改正(mm)", "点位误差(mm)"}) {
    out.push_back(HeaderCell(caption));
  }
  for (int i = 0; i + 1 < res.n; ++i) {
    out.push_back(kRowStart);
    out.push_back(ValueCell(Trim(in.table.stationName(i))));
    out.push_back(ValueCell(StrNumber(res.vBetaSeconds(i))));
    out.push_back(ValueCell(Rounded(res.projectionMm[i], "#0.0")));
    out.push_back(ValueCell(StrNumber(res.lengthChangeMm(i))));
    out.push_back(ValueCell(StrNumber(res.vhMm(i))));
    out.push_back(ValueCell("±" + StrNumber(res.pointErrorMm(i))));
  }
  out.push_back(kTableEnd);
  out.push_back(kParagraph);
}

void ObservationsTable(const RigorousReportInput& in, const LineOut& out) {
  const RigorousResult& res = in.result;
  const ToleranceMarks& mk = in.marks;
  out.push_back(Tag("<P><B>平差后的观测数据：<BR>"));
  out.push_back(kTableStart);
  for (const char* caption : {"测站名", "水平角", "h往(m)", "h返(m)", "h中数(m)", "不符值(m)", "h限差(m)", "平距S(m)", "Δs/S"}) {
    out.push_back(HeaderCell(caption));
  }
  for (int i = 0; i + 1 < res.n; ++i) {
    out.push_back(kRowStart);
    out.push_back(ValueCell(Trim(in.table.stationName(i))));
    out.push_back(ValueCell(StrNumber(res.adjustedBeta(i))));
    out.push_back(ValueCell(StrNumber(res.hForward[i])));
    out.push_back(res.oneWay[i] ? Html(kBlankCell) : ValueCell(StrNumber(res.hBack[i])));
    out.push_back(ValueCell(StrNumber(res.hMeanReported(i))));
    // A one-way side has no back observation to disagree with.
    const std::string discrepancy = res.oneWay[i] ? std::string() : StrNumber(res.discrepancy(i));
    out.push_back(ValueCell(Marked(discrepancy, mk.discrepancy[i])));
    out.push_back(ValueCell(SideLimitText(mk, in.limits, i)));
    out.push_back(ValueCell(Rounded(res.adjustedLength(i), "#0.000")));
    out.push_back(ValueCell(res.relativeCorrection(i)));
  }
  const formats::RigorousTable& t = in.table;
  out.push_back(kRowStart);
  out.push_back(ValueCell(Trim(t.at(t.endRow(), 1))));
  out.push_back(ValueCell(StrNumber(res.adjustedBeta(res.n - 1))));
  for (int k = 0; k < 5; ++k) out.push_back(kBlankCell);
  out.push_back(kTableEnd);
  out.push_back(kParagraph);
}

void KnownPointRow(const formats::RigorousTable& t, int r, const ToleranceRow& row, const LineOut& out) {
  out.push_back(kRowStart);
  out.push_back(ValueCell("起算点"));
  out.push_back(ValueCell(Trim(t.at(r, 1))));
  for (int c = 2; c <= 4; ++c) out.push_back(ValueCell(KnownValue(t.at(r, c))));
  out.push_back(ValueCell(row.knownGrade));
  out.push_back(ValueCell("埋  石"));
}

void FinalResults(const RigorousReportInput& in, const LineOut& out) {
  const RigorousResult& res = in.result;
  const formats::RigorousTable& t = in.table;
  out.push_back(Tag("<P><B>平差最终结果：<BR>"));
  out.push_back(kTableStart);
  for (const char* caption : {"编  号", "测站名", "纵坐标X(m)", "横坐标Y(m)", "高程H(m)", "等  级", "标志"}) {
    out.push_back(HeaderCell(caption));
  }
  KnownPointRow(t, 1, in.row, out);
  out.push_back(kRowStart);
  for (int k = 1; k < res.n; ++k) {
    const bool start = k == 1;
    out.push_back(kRowStart);
    out.push_back(ValueCell(start ? std::string("起算点") : StrNumber(static_cast<double>(k - 1))));
    out.push_back(ValueCell(t.stationName(k - 1)));
    out.push_back(ValueCell(Rounded(res.x[k - 1], "#0.000")));
    out.push_back(ValueCell(Rounded(res.y[k - 1], "#0.000")));
    out.push_back(ValueCell(Rounded(res.h[k - 1], "#0.000")));
    out.push_back(ValueCell(start ? in.row.knownGrade : in.row.newGrade));
    out.push_back(ValueCell(start ? "埋  石" : "刻  石"));
  }
  KnownPointRow(t, t.endRow(), in.row, out);
  KnownPointRow(t, t.connectRow(), in.row, out);
  out.push_back(kTableEnd);
}

}  // namespace

void WriteRigorousReportLines(const RigorousReportInput& in, const io::LineSink& sink) {
  const LineOut out(sink);
  const formats::RigorousTable& t = in.table;
  const std::string heading = "附合导线(" + t.at(2, 1) + "—" + t.at(t.endRow(), 1) + ")平差成果表";
  report::PageStart(out, report::Meta::Charset, in.charset, heading);
  out.push_back(Tag("<html>"));
  out.push_back(report::Wrap(Tag("<H3><P ALIGN=CENTER>"), heading, Tag("</H3>")));
  out.push_back(kRowStart);
  StartDataTable(in, out);
  if (in.checked) LimitsTable(in, out);
  CharacteristicValues(in, out);
  CorrectionsTable(in, out);
  ObservationsTable(in, out);
  FinalResults(in, out);
  out.push_back(Tag("<p>"));
  out.push_back(ImageLine(in.imageName));
}

std::vector<std::string> RigorousReportLines(const RigorousReportInput& in) {
  std::vector<std::string> lines;
  WriteRigorousReportLines(in, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace korvane::traverse
