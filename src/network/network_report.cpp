#include "network/network_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/text_utils.h"
#include "network/network_datum.h"
#include "network/network_quality_report.h"
#include "standards/tolerance.h"
#include "report/html.h"
#include "network/network_report_cells.h"

namespace korvane::network {
namespace {

using K = NetworkObservationKind;
using namespace cells;

const char* KindName(const NetworkObservationResult& o) {
  switch (o.kind) {
    case K::Direction: return "方向";
    case K::Angle: return "角度";
    case K::Distance: return "边长";
    case K::Azimuth: return o.fixed() ? "固定方位角" : "方位角";
  }
  return "";
}

std::string Value(const NetworkObservationResult& o, double v) {
  return o.kind == K::Distance ? Fixed(v, "#0.0000") : DmsText(v, 2);
}

std::string Residual(const NetworkObservationResult& o) {
  return Fixed(o.residual, "#0.00") + (o.kind == K::Distance ? "mm" : "″");
}

// A point's figures: name, X, Y and, with the precision, mx, my, mp, E, F, φ.
std::vector<std::string> PointCells(const NetworkPointResult& p, bool precision) {
  std::vector<std::string> cells{p.name, Fixed(p.x, "#0.000"), Fixed(p.y, "#0.000")};
  if (precision) {
    for (double v : {p.sx, p.sy, p.sp, p.ellipseA, p.ellipseB}) cells.push_back(Fixed(v, "#0.0"));
    cells.push_back(DmsText(DegreesToDms(p.ellipseAzimuth), 0));
  }
  return cells;
}

std::string PointLine(const NetworkPointResult& p, bool precision, const char* sep) {
  std::string line;
  for (const std::string& cell : PointCells(p, precision)) line += (line.empty() ? "" : sep) + cell;
  return line;
}

std::string ChiText(const NetworkResult& r) {
  if (r.degreesOfFreedom <= 0) return "无多余观测，不作卡方检验";
  return "卡方 vᵀPv = " + Fixed(r.chiSquare, "#0.000") + "，95% 区间 [" + Fixed(r.chiLower, "#0.000") + ", " +
         Fixed(r.chiUpper, "#0.000") + "]，" + (r.chiTestPassed ? "通过" : "未通过");
}

std::string TraverseName(const NetworkTraverse& t) {
  std::string name;
  for (const std::string& s : t.stations) name += (name.empty() ? "" : "-") + s;
  return name;
}

using report::Html;
using report::Tag;
using report::Tr;

void AddRow(const report::PageLines& out, const std::vector<Html>& cells) { out.push_back(Tr(cells)); }

void SummaryTable(const NetworkReportInput& in, const report::PageLines& out) {
  const NetworkResult& r = in.result;
  const formats::NetworkPrecision& p = in.input.precision;
  int unknownPoints = 0;
  for (const NetworkPointResult& pt : r.points) unknownPoints += pt.known ? 0 : 1;
  out.push_back(Tag("<P><B>平差概况：</B><BR>"));
  out.push_back(kTableStart);
  AddRow(out, {Cell("方向中误差 " + NumberText(p.directionSec) + "″"), Cell("角度中误差 " + NumberText(p.angleSec) + "″"),
            Cell("测距中误差 " + NumberText(p.aMm) + "mm + " + NumberText(p.bPpm) + "ppm")});
  AddRow(out, {Cell("已知点 " + std::to_string(r.points.size() - unknownPoints) + " 个，待定点 " +
                 std::to_string(unknownPoints) + " 个"),
            Cell("观测值 " + std::to_string(r.observationCount) + " 个，固定方位角 " + std::to_string(r.constraints) + " 个"),
            Cell("未知数 " + std::to_string(r.unknowns) + " 个，" +
                 (r.datum.free() ? "秩亏 " + std::to_string(r.datum.defect()) + "，" : std::string()) +
                 "多余观测 f = " + std::to_string(r.degreesOfFreedom))});
  AddRow(out, {Cell("验后单位权中误差 σ0 = " + Fixed(r.sigma0, "#0.000") + "（先验 1）"),
            Cell(ChiText(r), r.degreesOfFreedom > 0 && !r.chiTestPassed),
            Cell("迭代 " + std::to_string(r.iterations) + " 次" + (r.usedFallbackSolver ? "（QR 分解求解）" : ""))});
  if (r.datum.free())
    AddRow(out, {report::Wrap(Tag("<td colspan=3>"), "基准：" + DatumText(r.datum), Tag("</td>"))});
  out.push_back(kTableEnd);
}

void PointTable(const NetworkReportInput& in, const report::PageLines& out) {
  const NetworkResult& r = in.result;
  out.push_back(Tag("<P><B>平差坐标及精度（误差椭圆为 1σ，按验后 σ0 缩放）：</B><BR>"));
  out.push_back(kTableStart);
  AddRow(out, {Head("点名"), Head("X(m)"), Head("Y(m)"), Head("mx(mm)"), Head("my(mm)"), Head("mp(mm)"), Head("E(mm)"),
            Head("F(mm)"), Head("φ")});
  for (const NetworkPointResult& p : r.points) {
    if (p.known) {
      AddRow(out, {Cell(p.name + "（已知）"), Cell(Fixed(p.x, "#0.000")), Cell(Fixed(p.y, "#0.000")), Cell(""), Cell(""),
                Cell(""), Cell(""), Cell(""), Cell("")});
      continue;
    }
    std::vector<Html> cells{Cell(p.name), Cell(Fixed(p.x, "#0.000")), Cell(Fixed(p.y, "#0.000"))};
    for (double v : {p.sx, p.sy, p.sp, p.ellipseA, p.ellipseB})
      cells.push_back(Cell(r.precisionComputed ? Fixed(v, "#0.0") : ""));
    cells.push_back(Cell(r.precisionComputed ? DmsText(DegreesToDms(p.ellipseAzimuth), 0) : ""));
    AddRow(out, cells);
  }
  out.push_back(kTableEnd);
}

void TraverseTable(const NetworkReportInput& in, const report::PageLines& out) {
  const NetworkResult& r = in.result;
  if (r.traverses.empty()) return;
  const standards::ToleranceRow& row = standards::SelectToleranceRow(in.options.toleranceCode);
  out.push_back(report::Wrap(Tag("<P><B>"), "导线闭合差（" + row.title + "）：", Tag("</B><BR>")));
  out.push_back(kTableStart);
  AddRow(out, {Head("导线"), Head("长度(m)"), Head("fβ(″)"), Head("限差(″)"), Head("fx(mm)"), Head("fy(mm)"), Head("fs(mm)"),
            Head("相对闭合差"), Head("限差")});
  for (const NetworkTraverse& t : r.traverses) {
    AddRow(out, {Cell(TraverseName(t)), Cell(Fixed(t.length, "#0.000")),
              Cell(t.hasAngular ? Fixed(t.fBetaSec, "#0.0") : std::string("无定向"), t.fBetaOver),
              Cell(t.hasAngular ? Fixed(t.fBetaLimitSec, "#0.0") : std::string("")), Cell(Fixed(t.fx * 1000, "#0.0")),
              Cell(Fixed(t.fy * 1000, "#0.0")), Cell(Fixed(t.fs * 1000, "#0.0")),
              Cell(t.relativeClosure.empty() ? std::string("0") : t.relativeClosure, t.relativeOver),
              Cell("1/" + NumberText(t.relativeLimit))});
  }
  out.push_back(kTableEnd);
}

void ObservationTable(const NetworkReportInput& in, const report::PageLines& out) {
  const NetworkResult& r = in.result;
  out.push_back(report::Wrap(Tag("<P><B>"),
                             "观测值平差结果（标准化残差大于 " + NumberText(kCriticalW) +
                                 " 者为红色，最大者标“最大”）：",
                             Tag("</B><BR>")));
  out.push_back(kTableStart);
  AddRow(out, {Head("行"), Head("类型"), Head("测站/起点"), Head("后视"), Head("照准/终点"), Head("观测值"), Head("平差值"),
            Head("改正数 v"), Head("σ"), Head("多余观测分量 r"), Head("标准化残差"), Head("")});
  for (const NetworkObservationResult& o : r.observations) {
    const bool precise = r.precisionComputed && !o.fixed();
    const bool over = precise && o.standardised > kCriticalW;
    AddRow(out, {Cell(std::to_string(o.line)), Cell(KindName(o)), Cell(o.station), Cell(o.back), Cell(o.target),
              Cell(Value(o, o.observed)), Cell(Value(o, o.adjusted)), Cell(Residual(o)),
              Cell(o.fixed() ? std::string("固定") : Fixed(o.sigma, "#0.00")),
              Cell(precise ? Fixed(o.redundancy, "#0.000") : ""), Cell(precise ? Fixed(o.standardised, "#0.00") : "", over),
              Cell(o.largest ? "最大" : "", o.largest)});
  }
  out.push_back(kTableEnd);
}

}  // namespace

std::string DmsText(double dms, int decimals) {
  DmsFields fields = RoundDms(std::fabs(dms), decimals, DmsRounding::DecimalDigits);
  // The report's sign rule: the minus of a negative value stays even where it rounds to 0.
  fields.negative = dms < 0;
  return DmsSymbolText(fields);
}

std::vector<std::string> NetworkResultLines(const NetworkResult& r) {
  std::vector<std::string> out;
  for (const NetworkPointResult& p : r.points)
    if (!p.known) out.push_back(PointLine(p, r.precisionComputed, ", "));
  out.push_back("");
  for (std::string& line : NetworkSummaryLines(r)) out.push_back(std::move(line));
  return out;
}

std::vector<std::string> NetworkPointTable(const NetworkResult& r) {
  std::vector<std::vector<std::string>> rows{{"点名", "X(m)", "Y(m)"}};
  if (r.precisionComputed)
    for (const char* head : {"mx(mm)", "my(mm)", "mp(mm)", "E(mm)", "F(mm)", "φ"}) rows[0].push_back(head);
  for (const NetworkPointResult& p : r.points)
    if (!p.known) rows.push_back(PointCells(p, r.precisionComputed));
  std::vector<int> width(rows[0].size(), 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], DisplayWidth(row[c]));
  // Names to the left, figures to the right of their columns, two blanks
  // between; the azimuth φ starts its column, since fonts differ in the width
  // of its degree, minute and second signs.
  std::vector<std::string> out;
  for (const auto& row : rows) {
    std::string line = PadRightToWidth(row[0], width[0]);
    for (std::size_t c = 1; c < row.size(); ++c) {
      const bool azimuth = r.precisionComputed && c + 1 == row.size();
      line += std::string(static_cast<std::size_t>((azimuth ? 0 : width[c] - DisplayWidth(row[c])) + 2), ' ') + row[c];
    }
    out.push_back(line);
  }
  return out;
}

std::vector<std::string> NetworkSummaryLines(const NetworkResult& r) {
  std::vector<std::string> out;
  // Fixed points need no word; a free network's datum is named first.
  if (r.datum.free()) out.push_back("基准: " + DatumText(r.datum));
  out.push_back("σ0 = " + Fixed(r.sigma0, "#0.000") + ", f = " + std::to_string(r.degreesOfFreedom) + ", " + ChiText(r) +
                ", 迭代 " + std::to_string(r.iterations) + " 次");
  for (const NetworkTraverse& t : r.traverses) {
    out.push_back("导线 " + TraverseName(t) + ": fβ = " + (t.hasAngular ? Fixed(t.fBetaSec, "#0.0") + "″" : "无定向") +
                  (t.fBetaOver ? "（超限）" : "") + ", fx = " + Fixed(t.fx * 1000, "#0.0") + "mm, fy = " +
                  Fixed(t.fy * 1000, "#0.0") + "mm, fs = " + Fixed(t.fs * 1000, "#0.0") + "mm, K = " +
                  (t.relativeClosure.empty() ? std::string("0") : t.relativeClosure) + (t.relativeOver ? "（超限）" : ""));
  }
  if (r.largestResidual >= 0) {
    const NetworkObservationResult& o = r.observations[r.largestResidual];
    out.push_back(std::string("最大残差: 第 ") + std::to_string(o.line) + " 行 " + KindName(o) + " " + o.station +
                  (o.back.empty() ? "" : "-" + o.back) + "-" + o.target + ", v = " + Residual(o) +
                  (r.precisionComputed ? ", 标准化残差 " + Fixed(o.standardised, "#0.00") : std::string()));
  }
  for (std::string& line : NetworkQualityLines(r)) out.push_back(std::move(line));
  return out;
}

std::vector<std::string> NetworkReportLines(const NetworkReportInput& in) {
  std::vector<std::string> lines;
  const report::PageLines out(lines);
  report::PageStart(out, report::Meta::Charset, in.charset, "导线网严密平差");
  out.push_back(Tag("<h3>导线网严密平差（最小二乘）</h3>"));
  // The tables beside the picture; without a picture they take the width.
  const bool picture = !in.imageName.empty();
  if (picture) out.push_back(Tag("<table><tr><td valign=top>"));
  SummaryTable(in, out);
  PointTable(in, out);
  TraverseTable(in, out);
  if (picture) {
    out.push_back(Tag("</td><td valign=top>"));
    out.push_back(report::Wrap(Tag("<IMG SRC=\""), in.imageName, Tag("\" border=0>")));
    out.push_back(Tag("<P>") + "误差椭圆放大 " + NumberText(in.exaggeration) + " 倍；洋红粗线为标准化残差最大的观测。");
    out.push_back(Tag("</td></tr></table>"));
  }
  ObservationTable(in, out);
  NetworkQualitySections(in, out);
  out.push_back(Tag("</body>"));
  out.push_back(Tag("</html>"));
  return lines;
}

}  // namespace korvane::network
