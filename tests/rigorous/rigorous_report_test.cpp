// The report's lines for a small traverse, the limits table and marks, the
// file name rules and the writing of the file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/numbers.h"
#include "io/text_file.h"
#include "traverse/rigorous_report.h"
#include "rigorous_fixture.h"
#include "support/test_folder.h"
#include "support/case_table.h"

using namespace korvane::formats;
using namespace korvane::io;
using namespace korvane::report;
using namespace korvane::standards;
using namespace korvane::traverse;

namespace korvane {
namespace {

using testing_rigorous::FourStationTable;
using testing_rigorous::MakeTable;
using testing_rigorous::Params;

// One side of 100.007 m between B (100, 0) and C (200, 0): 7 mm too long,
// C 4 mm higher than the levelling says.
formats::RigorousTable OneSideTable() {
  return MakeTable({"A", "0", "0", "50"}, {"B", "100", "0", "50"},
                   {{"B", "180", "100.007", "1.5", "1.5", "0", "1.5", "1.5", "0"},
                    {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
                   {"C", "200", "0", "50.004"}, {"D", "300", "0", "50"});
}

struct Report {
  formats::RigorousTable table;
  formats::RigorousParameters params;
  traverse::RigorousResult result;
  const standards::ToleranceRow* row;
  traverse::ToleranceLimits limits;
  traverse::ToleranceMarks marks;
  std::vector<std::string> lines;
};

Report Make(const formats::RigorousTable& table, const formats::RigorousParameters& params, const std::string& code, bool checked) {
  Report r{table, params, {}, &standards::SelectToleranceRow(code), {}, {}, {}};
  const traverse::RigorousOutcome out = traverse::AdjustRigorous(r.table, r.params, [](const Message&) { return true; });
  EXPECT_TRUE(out.ok());
  r.result = out.result;
  r.limits = DeriveLimits(*r.row, r.result);
  r.marks = CheckTolerance(*r.row, r.limits, r.result, checked);
  r.lines = traverse::RigorousReportLines({r.table, r.params, r.result, *r.row, r.limits, r.marks, checked, "t.bmp"});
  return r;
}

std::vector<std::string> Repeat(const std::string& line, int count) { return std::vector<std::string>(count, line); }

void Append(std::vector<std::string>& to, const std::vector<std::string>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

TEST(RigorousReport, LinesOfAOneSideTraverse) {
  const Report r = Make(OneSideTable(), Params("N", "", "5", "5"), "ybc3", false);
  std::vector<std::string> want = {
      "<html>", "<head>", "<meta charset=\"gbk\">", "<title>附合导线(B—C)平差成果表</title>", "</head>", "<body>",
      "<html>", "<H3><P ALIGN=CENTER>附合导线(B—C)平差成果表</H3>", "<tr>", "<P><B>起算数据表：<BR>",
      "<table border=1 align=>", "<td>编   号</th>", "<td> 测站名</th>", "<td>  X坐标</th>", "<td>  Y坐标</th>",
      "<td>  高程H</th>"};
  Append(want, Repeat("<td></th>", 5));
  const std::string blank = "<th></th></a>";
  Append(want, {"<tr>", "<td><a=''>定向点", "<td><a=''>A", "<td><a=''>0.000", "<td><a=''>0.000", "<td><a=''>50"});
  Append(want, Repeat(blank, 5));
  Append(want, {"<tr>", "<td><a=''>起  点", "<td><a=''>B", "<td><a=''>100.000", "<td><a=''>0.000", "<td><a=''>50"});
  Append(want, Repeat(blank, 5));
  Append(want, {"<tr>", "<td><a=''>编  号", "<td><a=''> 测站名", "<td><a=''>  水平角", "<td><a=''>  平  距",
                "<td><a=''>往仪高", "<td><a=''>往标高", "<td><a=''>往竖角", "<td><a=''>返仪高", "<td><a=''>返标高",
                "<td><a=''>返竖角"});
  Append(want, {"<tr>", "<td><a=''> 1", "<td><a=''>B", "<td><a=''>180", "<td><a=''>100.007", "<td><a=''>1.5",
                "<td><a=''>1.5", "<td><a=''>0.000", "<td><a=''>1.5", "<td><a=''>1.5", "<td><a=''>0.000"});
  Append(want, {"<tr>", "<td><a=''> 2", "<td><a=''>C", "<td><a=''>180"});
  Append(want, Repeat("<td><a=''>0.000", 7));
  Append(want, {"<tr>", "<td><a=''>编  号", "<td><a=''> 测站名", "<td><a=''>  X坐标", "<td><a=''>  Y坐标",
                "<td><a=''>  高程H"});
  Append(want, Repeat(blank, 5));
  Append(want, {"<tr>", "<td><a=''>终  点", "<td><a=''>C", "<td><a=''>200.000", "<td><a=''>0.000", "<td><a=''>50.004"});
  Append(want, Repeat(blank, 5));
  Append(want, {"<tr>", "<td><a=''>附合点", "<td><a=''>D", "<td><a=''>300.000", "<td><a=''>0.000", "<td><a=''>50"});
  Append(want, Repeat(blank, 5));
  Append(want, {"</table>", "<P>",
                "<P><B>导线相关特征值：<FONT COLOR=#FF0000></FONT><BR>", "<table border=1 align=>",
                "<td><a=''>高程投影面：(无) </a>", "<td><a=''>测距仪加乘常数：a=5；     b=5</a>", "<tr>",
                "<td><a=''>测角先验中误差：m0=″</a>", "<td><a=''>平均边长：D= 100m</a>", "<tr>",
                "<td><a=''>X增量闭合差：fΔx= 7mm</a>", "<td><a=''>导线总长：S= 100m</a>", "<tr>",
                "<td><a=''>Y增量闭合差：fΔy= 0mm</a>", "<tr>",
                "<td><a=''>方位角闭合差：fβ= 0″</a>", "<td><a=''>边长闭合差：fs= 7mm</a>", "<tr>",
                "<td><a=''>导线全长相对闭合差：Κ=fs/∑s＝1 / 14285</a>", "<td><a=''>最弱边边长相对误差：S弱=1/14286</a>",
                "<tr>",
                "<td><a=''>高程闭合差：fh=-4mm</a>", "<td><a=''>髙差每千米改正数：δkm= 40mm</a>", "<tr>",
                "<td><a=''>水平测角中误差：mβ=± 0″</a>", "<td><a=''>髙差每千米中误差：mh=± 40mm</a>", "<tr>",
                "<td><a=''>测距中误差：ms=± 7mm</a>", "<td><a=''>观测值点位中误差：m=± 7mm</a>",
                "</table>", "<P>",
                "<P><B>导线相关改正数一览表：<BR>", "<table border=1 align=>", "<td>测站名</th>", "<td>水平角改正(″)</th>",
                "<td>S投影改正(mm)</th>", "<td>S平差改正(mm)</th>", "<td>高差改正(mm)</th>", "<td>点位误差(mm)</th>",
                "<tr>", "<td><a=''>B</a>", "<td><a=''> 0</a>", "<td><a=''> 0</a>", "<td><a=''>-7</a>",
                "<td><a=''> 4</a>", "<td><a=''>± 7</a>", "</table>", "<P>",
                "<P><B>平差后的观测数据：<BR>", "<table border=1 align=>", "<td>测站名</th>", "<td>水平角</th>",
                "<td>h往(m)</th>", "<td>h返(m)</th>", "<td>h中数(m)</th>", "<td>不符值(m)</th>", "<td>h限差(m)</th>",
                "<td>平距S(m)</th>", "<td>Δs/S</th>",
                "<tr>", "<td><a=''>B</a>", "<td><a=''> 180</a>", "<td><a=''> 0</a>", "<td><a=''> 0</a>",
                "<td><a=''> 0</a>", "<td><a=''> 0</a>", "<td><a=''>未限定</a>", "<td><a=''> 100</a>",
                "<td><a=''>1/ 14286</a>",
                "<tr>", "<td><a=''>C</a>", "<td><a=''> 180</a>"});
  Append(want, Repeat(blank, 5));
  Append(want, {"</table>", "<P>",
                "<P><B>平差最终结果：<BR>", "<table border=1 align=>", "<td>编  号</th>", "<td>测站名</th>",
                "<td>纵坐标X(m)</th>", "<td>横坐标Y(m)</th>", "<td>高程H(m)</th>", "<td>等  级</th>", "<td>标志</th>",
                "<tr>", "<td><a=''>起算点</a>", "<td><a=''>A</a>", "<td><a=''>0.000</a>", "<td><a=''>0.000</a>",
                "<td><a=''>50.000</a>", "<td><a=''>四等</a>", "<td><a=''>埋  石</a>",
                "<tr>",
                "<tr>", "<td><a=''>起算点</a>", "<td><a=''>B</a>", "<td><a=''> 100</a>", "<td><a=''> 0</a>",
                "<td><a=''> 50</a>", "<td><a=''>四等</a>", "<td><a=''>埋  石</a>",
                "<tr>", "<td><a=''>起算点</a>", "<td><a=''>C</a>", "<td><a=''>200.000</a>", "<td><a=''>0.000</a>",
                "<td><a=''>50.004</a>", "<td><a=''>四等</a>", "<td><a=''>埋  石</a>",
                "<tr>", "<td><a=''>起算点</a>", "<td><a=''>D</a>", "<td><a=''>300.000</a>", "<td><a=''>0.000</a>",
                "<td><a=''>50.000</a>", "<td><a=''>四等</a>", "<td><a=''>埋  石</a>",
                "</table>", "<p>", "<IMG SRC=t.bmp   border=0 align=center  HEIGHT=709 WIDTH=502>"});
  ASSERT_EQ(r.lines.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_EQ(r.lines[k], want[k]) << "line " << k;
}

std::size_t Find(const std::vector<std::string>& lines, const std::string& line, std::size_t from = 0) {
  return static_cast<std::size_t>(std::find(lines.begin() + from, lines.end(), line) - lines.begin());
}

TEST(RigorousReport, LimitsTableAndMarksWhenChecked) {
  // ybg6 has no strict distance-error rule; the +13" misclosure on four
  // stations is inside 60 sqrt(4) = 120".
  const Report r = Make(FourStationTable(), Params("0", "5", "5", "5"), "ybg6", true);
  const auto& l = r.lines;
  const std::size_t title = Find(l, "<P><B>导线限差表：标定等级《工程测量规范》（GB50026─93）图根导线<BR>");
  ASSERT_LT(title, l.size());
  EXPECT_EQ(l[title + 2], "<td><a=''>导线总长：S≤测图比例尺分母m</a>");
  EXPECT_EQ(l[title + 3], "<td><a=''>平均边长：D=1.5倍测图最大视距m</a>");
  EXPECT_EQ(l[title + 5], "<td><a=''>测距中误差：ms无严格规定</a>");
  EXPECT_EQ(l[title + 6], "<td><a=''>测角中误差：mβ≤ 30″</a>");
  EXPECT_EQ(l[title + 8], "<td><a=''>方位角闭合差：fβ≤ 120″</a>");
  EXPECT_EQ(l[title + 9], "<td><a=''>高程闭合差：fh≤" + StrNumber(r.limits.fh) + "mm</a>");
  EXPECT_EQ(l[title + 14], "<td><a=''>边长闭合差：fs≤" + StrNumber(r.limits.fs) + "mm</a>");
  EXPECT_EQ(l[title + 15], "<td><a=''>导线全长相对闭合差：k≤1/2000</a>");
  EXPECT_EQ(l[title + 16], "</table>");
  EXPECT_LT(Find(l, "<P><B>导线相关特征值：<FONT COLOR=#FF0000>超限数据标记为红色！</FONT><BR>"), l.size());
  // The discrepancy limit 100 sqrt(4) = 200 mm is written in metres.
  EXPECT_EQ(std::count(l.begin(), l.end(), "<td><a=''> .2</a>"), 3);
  EXPECT_EQ(Find(l, "<td><a=''>未限定</a>"), l.size());
  // The final table names the grades of this row.
  EXPECT_EQ(std::count(l.begin(), l.end(), "<td><a=''>三级</a>"), 4);
  EXPECT_EQ(std::count(l.begin(), l.end(), "<td><a=''>图根</a>"), 2);
  // A projection on the mean height names it.
  EXPECT_EQ(l[Find(l, "<table border=1 align=>", title + 18) + 1],
            "<td><a=''>高程投影面：(为测区平均高程面)Hm=" + StrNumber(r.result.meanHeight) + "m</a>");

  // ybc1 is strict enough to mark the angular and the height misclosures.
  const Report strict = Make(FourStationTable(), Params("120.5", "5", "5", "5"), "ybc1", true);
  const auto& s = strict.lines;
  EXPECT_LT(Find(s, "<td><a=''>方位角闭合差：fβ=<FONT COLOR=#FF0000> 13</FONT>″</a>"), s.size());
  EXPECT_LT(Find(s, "<td><a=''>高程投影面：Hm= 120.5m</a>"), s.size());
}

TEST(RigorousReport, OneWaySideShowsNoBackValueAndNoDiscrepancy) {
  formats::RigorousTable t = FourStationTable();
  for (int c = 7; c <= 9; ++c) t.at(5, c) = "0";  // P1 -> P2 downhill, one way
  const Report r = Make(t, Params("N", "5", "5", "5"), "ybc6", true);
  const auto& l = r.lines;
  const std::size_t p1 = Find(l, "<td><a=''>P1</a>", Find(l, "<P><B>平差后的观测数据：<BR>"));
  ASSERT_LT(p1, l.size());
  EXPECT_EQ(l[p1 + 2], "<td><a=''>" + StrNumber(r.result.hForward[1]) + "</a>");
  EXPECT_LT(r.result.hForward[1], 0);
  EXPECT_EQ(l[p1 + 3], "<th></th></a>");
  EXPECT_EQ(l[p1 + 5], "<td><a=''></a>");
  // The two-way side before it shows its discrepancy of 10 mm.
  EXPECT_EQ(l[p1 - 10 + 5], "<td><a=''> .01</a>");
}

TEST(RigorousReport, FileNameRules) {
  EXPECT_EQ(report::ReportFileName(""), "");
  EXPECT_EQ(report::ReportFileName("Result.HTM"), "Result.HTM");
  EXPECT_EQ(report::ReportFileName("/tmp/Out/Result.HTML"), "/tmp/Out/Result.HTML");
  EXPECT_EQ(report::ReportFileName("REPORT.HTML"), "REPORT.HTML");
  EXPECT_EQ(report::ReportFileName("Report.Txt"), "Report.Txt.html");
  EXPECT_EQ(report::ReportFileName("out/report.txt"), "out/report.txt.html");
  EXPECT_EQ(report::ReportFileName("report"), "report.html");
  EXPECT_EQ(report::ReportFileName("r.ht"), "r.ht.html");
  EXPECT_EQ(report::ReportFileName("成果.Htm"), "成果.Htm");
  EXPECT_EQ(report::ReportImagePath("/tmp/Out/REPORT.HTML"), "/tmp/Out/REPORT.bmp");
  // A name in GBK bytes: the picture keeps the bytes, the IMG line reads them as GBK.
  EXPECT_EQ(report::ReportImagePath("\xb3\xc9\xb9\xfb.html"), "\xb3\xc9\xb9\xfb.bmp");
  EXPECT_EQ(report::ReportImageName("\xb3\xc9\xb9\xfb.html"), "成果.bmp");
  EXPECT_EQ(report::ReportImagePath("/tmp/Out/result.html"), "/tmp/Out/result.bmp");
  EXPECT_EQ(report::ReportImageName("/tmp/Out/result.htm"), "result.bmp");
  EXPECT_EQ(report::ReportImageName("a.b/report.txt.html"), "report.txt.bmp");
}

TEST(RigorousReport, ImageLineQuotesNamesWithBlanks) {
  Report r = Make(OneSideTable(), Params("N", "", "5", "5"), "ybc3", false);
  const auto lines =
      traverse::RigorousReportLines({r.table, r.params, r.result, *r.row, r.limits, r.marks, false, "my report.bmp"});
  EXPECT_EQ(lines.back(), "<IMG SRC=\"my report.bmp\"   border=0 align=center  HEIGHT=709 WIDTH=502>");
}

TEST(RigorousReport, WritesGbkWithCrLfAndReplacesTheFile) {
  TestFolder folder;
  const std::string path = folder.file("report.html");
  Report r = Make(FourStationTable(), Params("0", "5", "5", "5"), "ybs1", true);
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(100000, 'x');
  }
  const report::ReportWrite w = report::WriteReport(path, r.lines);
  ASSERT_TRUE(w.ok()) << w.error;
  const std::string bytes = korvane::testing::FileBytes(path);
  EXPECT_EQ(bytes.find("xxxxxxxx"), std::string::npos);
  // Every character of the report survives the code page.
  std::string joined;
  for (const auto& line : r.lines) joined += line + "\r\n";
  EXPECT_EQ(bytes, io::EncodeGbk(joined));
  EXPECT_EQ(io::DecodeText(bytes), joined);
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 8), "<html>\r\n");

  // A read-only file is left alone.
  ::chmod(path.c_str(), 0444);
  const report::ReportWrite ro = report::WriteReport(path, {"<html>"});
  ASSERT_TRUE(ro.refusal.has_value());
  EXPECT_EQ(*ro.refusal, report::ReadOnlyReportMessage());
  EXPECT_EQ(ro.refusal->text, "文件只读,请先改变文件属性");
  EXPECT_EQ(korvane::testing::FileBytes(path), bytes);
  ::chmod(path.c_str(), 0644);
}

}  // namespace
}  // namespace korvane
