#include "services/least_squares_comparison.h"

#include <cmath>

#include "io/atomic_output.h"
#include "core/numbers.h"
#include "core/text_utils.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "services/network_report_files.h"
#include "render/sketch_renderer.h"
#include "report/html.h"
#include "traverse/rigorous_report.h"

namespace korvane::services {

namespace {

using report::Html;
using report::Tag;

constexpr Tag kTableStart("<table border=1 cellpadding=3>");
constexpr Tag kTableEnd("</table>");

std::string Metres(double value) { return FormatFixed(value, "#0.000"); }
std::string Tenths(double value) { return FormatFixed(value, "#0.0"); }
Html Red(const std::string& text, bool mark) { return report::RedIf(text, mark); }

Html Row(std::initializer_list<Html> cells, bool heading = false) {
  std::vector<Html> row;
  for (const Html& cell : cells) row.push_back(heading ? report::Th(cell) : report::Td(cell));
  return report::Tr(row);
}

// The largest coordinate difference between the two solutions, mm, and its station.
struct LargestDifference {
  double mm = 0;
  std::string name;
};

LargestDifference Largest(const traverse::RigorousResult& w, const network::SingleTraverseLeastSquares& ls) {
  LargestDifference largest;
  for (int i = 0; i < w.n; ++i) {
    const double d = std::hypot(ls.x[i] - w.x[i], ls.y[i] - w.y[i]) * 1000;
    if (d > largest.mm) largest = {d, ls.names[i]};
  }
  return largest;
}

void Statistics(const ComparisonReportInput& in, const report::PageLines& out) {
  const network::NetworkResult& n = in.leastSquares.network;
  out.push_back(Tag("<P><B>最小二乘平差统计：</B><BR>"));
  out.push_back(kTableStart);
  out.push_back(Row({"验后单位权中误差：σ0=" + FormatFixed(n.sigma0, "#0.000"),
                     "多余观测数：f=" + std::to_string(n.degreesOfFreedom)}));
  // "χ2": the superscript two has no GBK code.
  const std::string chi = "χ2检验(95%)：" + FormatFixed(n.chiSquare, "#0.00") + "，区间[" +
                          FormatFixed(n.chiLower, "#0.00") + "，" + FormatFixed(n.chiUpper, "#0.00") + "]" +
                          (n.chiTestPassed ? "，通过" : "，未通过");
  out.push_back(Row({Red(chi, !n.chiTestPassed), "迭代次数：" + std::to_string(n.iterations)}));
  const LargestDifference largest = Largest(in.weighted, in.leastSquares);
  const double fs = in.weighted.fs * 1000;
  out.push_back(Row({"两种平差最大点位差：" + Tenths(largest.mm) + "mm" +
                         (largest.name.empty() ? std::string() : "（" + largest.name + "）"),
                     "加权平差闭合差：fβ=" + Tenths(in.weighted.fBetaSeconds) + "″，fs=" + Tenths(fs) +
                         "mm，0.5fs=" + Tenths(fs / 2) + "mm，导线全长：ΣS=" + Metres(in.weighted.totalLengthRaw) +
                         "m"}));
  out.push_back(kTableEnd);
  // The weighted adjustment turns degrees into radians with the rounded factor
  // its tables have always used; the least-squares solution uses the true one.
  out.push_back(Tag("<P>") + "注：加权平差以0.017453292将角度化为弧度（较精确值每千米边长约差0.16mm），此差异与平差方法无关。");
}

void Coordinates(const ComparisonReportInput& in, const report::PageLines& out) {
  const traverse::RigorousResult& w = in.weighted;
  const network::SingleTraverseLeastSquares& ls = in.leastSquares;
  out.push_back(Tag("<P><B>坐标比较（差值 = 最小二乘 － 加权平差，由未取舍的坐标计算）：</B><BR>"));
  out.push_back(kTableStart);
  out.push_back(Row({"点号", "加权平差X(m)", "加权平差Y(m)", "最小二乘X(m)", "最小二乘Y(m)", "ΔX(mm)", "ΔY(mm)",
                     "Δ(mm)", "mx(mm)", "my(mm)"},
                    true));
  for (int i = 0; i < w.n; ++i) {
    const double dx = (ls.x[i] - w.x[i]) * 1000, dy = (ls.y[i] - w.y[i]) * 1000;
    const bool known = i == 0 || i == w.n - 1;
    out.push_back(Row({ls.names[i], Metres(w.x[i]), Metres(w.y[i]), Metres(ls.x[i]), Metres(ls.y[i]), Tenths(dx),
                       Tenths(dy), Tenths(std::hypot(dx, dy)), known ? "已知" : Tenths(ls.sx[i]),
                       known ? "已知" : Tenths(ls.sy[i])}));
  }
  out.push_back(kTableEnd);
}

std::string ObservationName(const network::NetworkObservationResult& o) {
  if (o.kind == network::NetworkObservationKind::Angle) return o.back + "—" + o.station + "—" + o.target;
  return o.station + "—" + o.target;
}

void Residuals(const ComparisonReportInput& in, const report::PageLines& out) {
  out.push_back(report::Wrap(Tag("<P><B>"),
                             "最小二乘平差观测值（标准化改正数大于" + NumberText(network::kStandardisedResidualLimit) +
                                 "者标记为红色）：",
                             Tag("</B><BR>")));
  out.push_back(kTableStart);
  out.push_back(Row({"观测", "观测值", "平差值", "改正数", "标准化改正数"}, true));
  for (const network::NetworkObservationResult& o : in.leastSquares.network.observations) {
    const bool angle = o.kind == network::NetworkObservationKind::Angle;
    if (!angle && o.kind != network::NetworkObservationKind::Distance) continue;
    const std::string observed = angle ? network::DmsText(o.observed, 1) : Metres(o.observed);
    const std::string adjusted = angle ? network::DmsText(o.adjusted, 1) : Metres(o.adjusted);
    const std::string v = Tenths(o.residual) + (angle ? "″" : "mm");
    const std::string w = FormatFixed(o.standardised, "#0.00") + (o.largest ? "（最大）" : "");
    out.push_back(Row({ObservationName(o), observed, adjusted, v,
                       Red(w, o.standardised > network::kStandardisedResidualLimit)}));
  }
  out.push_back(kTableEnd);
}

}  // namespace

std::string LeastSquaresReportPath(std::string_view reportPath) {
  const std::string path(reportPath);
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (!hasExtension) return path + "_最小二乘";
  return path.substr(0, dot) + "_最小二乘" + path.substr(dot);
}

std::vector<std::string> ComparisonReportLines(const ComparisonReportInput& in) {
  const std::vector<std::string>& names = in.leastSquares.names;
  const std::string first = names.empty() ? std::string() : Trim(names.front());
  const std::string last = names.empty() ? std::string() : Trim(names.back());
  const std::string heading = "附合导线(" + first + "—" + last + ")加权平差与严密平差（最小二乘）比较";
  std::vector<std::string> lines;
  const report::PageLines out(lines);
  report::PageStart(out, report::Meta::ContentType, in.charset, heading);
  out.push_back(report::Wrap(Tag("<H3><P ALIGN=CENTER>"), heading, Tag("</H3>")));
  Statistics(in, out);
  Coordinates(in, out);
  Residuals(in, out);
  if (!in.imageName.empty()) {
    out.push_back(report::Wrap(Tag("<P><B>"),
                               "最小二乘平差略图（误差椭圆放大" +
                                   NumberText(EllipseExaggeration(in.leastSquares.network)) + "倍）：",
                               Tag("</B><BR>")));
    out.push_back(report::Wrap(Tag("<IMG SRC=\""), in.imageName, Tag("\" border=0 align=center>")));
  }
  out.push_back(Tag("</body>"));
  out.push_back(Tag("</html>"));
  return lines;
}

ReportFilesWrite WriteLeastSquaresComparison(const std::string& reportPath,
                                             const formats::TraverseObservations& observations,
                                             const traverse::RigorousResult& weighted) {
  ReportFilesWrite write;
  const std::string path = LeastSquaresReportPath(reportPath);
  write.refusal = io::DestinationRefusal(path);
  if (write.refusal) return write;
  const network::SingleTraverseLeastSquares solved = network::AdjustSingleTraverseByNetwork(observations, weighted);
  if (!solved.ok()) {
    write.refusal = solved.refusal;
    return write;
  }
  // The report and its picture as a pair, as for the weighted report.
  const Sketch sketch = NetworkSketch(solved.network, EllipseExaggeration(solved.network));
  const ComparisonReportInput input{weighted, solved, report::ReportImageName(path)};
  const std::vector<std::string> lines = ComparisonReportLines(input);
  return WriteReportWithPicture(
      path, render::SketchOperations(sketch),
      QSize(network::kNetworkSketchWidth, network::kNetworkSketchHeight), [&](const io::LineSink& sink) {
        for (const std::string& line : lines) sink(line);
      });
}

}  // namespace korvane::services
