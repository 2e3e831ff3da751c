// Every HTML report writes a name that holds characters HTML reserves as
// character references: the page shows the name and nothing in it can open a
// tag. The builder keeps its own tags and escapes every text given to it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/level_file.h"
#include "formats/network_file.h"
#include "formats/rigorous_data_file.h"
#include "io/text_file.h"
#include "levelling/level_adjust.h"
#include "levelling/level_report.h"
#include "network/network_report.h"
#include "network/network_sketch.h"
#include "network/single_traverse_network.h"
#include "report/html.h"
#include "services/least_squares_comparison.h"
#include "standards/tolerance.h"
#include "traverse/rigorous_adjustment.h"
#include "traverse/rigorous_report.h"
#include "traverse/weighted_limits.h"

namespace korvane {
namespace {

// The point P1 of each data file is named so (tests/data/*/html_names.*).
const std::string kName = "P<&\">1";
const std::string kEscaped = "P&lt;&amp;&quot;&gt;1";

std::string Data(const std::string& file) { return std::string(KORVANE_TEST_DATA) + "/" + file; }

std::string Page(const std::vector<std::string>& lines) {
  std::string page;
  for (const std::string& line : lines) page += line + "\n";
  return page;
}

// The name appears escaped `times` times and never raw; the page keeps its tags.
void ExpectEscaped(const std::string& page, int times) {
  EXPECT_EQ(page.find(kName), std::string::npos) << page;
  int found = 0;
  for (auto at = page.find(kEscaped); at != std::string::npos; at = page.find(kEscaped, at + 1)) ++found;
  EXPECT_EQ(found, times) << page;
  EXPECT_EQ(page.rfind("<html>", 0), 0u);
}

struct Weighted {
  formats::RigorousFileLoad load;
  traverse::RigorousResult result;
};

Weighted AdjustWeighted() {
  std::string error;
  Weighted w{formats::LoadRigorousFile(Data("rigorous/html_names.dat"), error), {}};
  EXPECT_TRUE(error.empty() && w.load.ok()) << error;
  const traverse::RigorousOutcome out = traverse::AdjustRigorous(w.load.table, w.load.params, [](const Message&) { return true; });
  EXPECT_TRUE(out.ok());
  w.result = out.result;
  return w;
}

TEST(ReportPages, WeightedReportEscapesNamesHeadingAndPicture) {
  const Weighted w = AdjustWeighted();
  const standards::ToleranceRow& row = standards::SelectToleranceRow("ybc3");
  const traverse::ToleranceLimits limits = DeriveLimits(row, w.result);
  const traverse::ToleranceMarks marks = CheckTolerance(row, limits, w.result, true);
  const std::string page = Page(traverse::RigorousReportLines(
      {w.load.table, w.load.params, w.result, row, limits, marks, true, kName + ".bmp"}));
  // Start table, corrections, observations and final results; the picture.
  ExpectEscaped(page, 5);
  const std::string start = "起点B&amp;&lt;&quot;";
  EXPECT_NE(page.find("<title>附合导线(" + start + "—终点C)平差成果表</title>"), std::string::npos);
  EXPECT_NE(page.find("<H3><P ALIGN=CENTER>附合导线(" + start + "—终点C)平差成果表</H3>"), std::string::npos);
  EXPECT_NE(page.find("<IMG SRC=\"" + kEscaped + ".bmp\"   border=0"), std::string::npos);
}

TEST(ReportPages, ComparisonReportEscapesNames) {
  const Weighted w = AdjustWeighted();
  const network::SingleTraverseLeastSquares ls = network::AdjustSingleTraverseByNetwork(formats::ReadWeightedTraverse(w.load.table, w.load.params).observations, w.result);
  ASSERT_TRUE(ls.ok());
  const std::string page = Page(services::ComparisonReportLines({w.result, ls, kName + ".bmp"}));
  // The coordinate row, three angles and two sides; the picture.
  ExpectEscaped(page, 7);
  EXPECT_NE(page.find("<td>" + kEscaped + "</td>"), std::string::npos);
  EXPECT_NE(page.find("<title>附合导线(起点B&amp;&lt;&quot;—终点C)"), std::string::npos);
}

TEST(ReportPages, NetworkReportEscapesNames) {
  std::string error;
  const formats::NetworkFileLoad load = formats::LoadNetworkFile(Data("network/html_names.net"), error);
  ASSERT_TRUE(error.empty() && load.ok()) << error;
  network::NetworkOptions options;
  options.checkTolerance = true;
  const network::NetworkOutcome out = network::AdjustNetwork(load.input, options);
  ASSERT_TRUE(out.ok());
  const std::string page = Page(network::NetworkReportLines({load.input, out.result, options, 1, kName + ".bmp"}));
  // The point row, its traverse, five observations; the picture; two sides in
  // the relative accuracy and five observations in the reliability table.
  ExpectEscaped(page, 15);
  EXPECT_NE(page.find("<IMG SRC=\"" + kEscaped + ".bmp\" border=0>"), std::string::npos);
  // The chi-square line and the reliability table reach the GBK file whole.
  EXPECT_NE(page.find("卡方 v&#7488;Pv = "), std::string::npos);
  EXPECT_EQ(io::DecodeGbk(io::EncodeGbk(page)), page);
}

TEST(ReportPages, LevellingReportsEscapeNames) {
  for (const auto& [file, times] : {std::pair{"levelling/html_names_line.lev", 1}, {"levelling/html_names_network.lev", 6}}) {
    std::string error;
    const formats::LevelFileLoad load = formats::LoadLevelFile(Data(file), error);
    ASSERT_TRUE(error.empty() && load.ok()) << file << error;
    const levelling::LevelOutcome out = levelling::Adjust(levelling::SuggestedMethod(load.data), load.data);
    ASSERT_TRUE(out.ok()) << file;
    SCOPED_TRACE(file);
    ExpectEscaped(Page(levelling::LevelReportLines(out.result)), times);
  }
}

// The comparison report of the bundled traverses as its file holds it (GBK,
// CR LF): the weighted report's figures, the least-squares ones, and the note
// on the weighted method's degree-to-radian factor.
TEST(ReportPages, ComparisonReportsKeepTheirBytes) {
  for (const std::string name : {"connecting", "one_way"}) {
    std::string error;
    const formats::RigorousFileLoad load =
        formats::LoadRigorousFile(std::string(KORVANE_EXAMPLES) + "/rigorous/" + name + ".dat", error);
    ASSERT_TRUE(error.empty() && load.ok()) << name;
    const traverse::RigorousOutcome out = traverse::AdjustRigorous(load.table, load.params, [](const Message&) { return true; });
    ASSERT_TRUE(out.ok());
    const network::SingleTraverseLeastSquares ls = network::AdjustSingleTraverseByNetwork(formats::ReadWeightedTraverse(load.table, load.params).observations, out.result);
    std::string page;
    for (const std::string& line : services::ComparisonReportLines({out.result, ls, name + "_最小二乘.bmp"}))
      page += line + "\r\n";
    std::ifstream file(Data("rigorous_reports/" + name + "_最小二乘.html"), std::ios::binary);
    EXPECT_EQ(io::EncodeGbk(page), std::string(std::istreambuf_iterator<char>(file), {})) << name;
  }
}

// Text is escaped wherever it meets markup; the tags stay as written.
TEST(ReportPages, BuilderEscapesTextAndKeepsTags) {
  using report::Html;
  using report::Tag;
  EXPECT_EQ(report::Escape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c'");
  // What a GBK page cannot hold goes as a character reference, not as "?";
  // Chinese, degrees, seconds and the Greek letters GBK has stay as they are.
  EXPECT_EQ(report::Escape("卡方 vᵀPv，∇ = 3.5″ 2°σ₀ m²"), "卡方 v&#7488;Pv，&#8711; = 3.5″ 2°σ&#8320; m&#178;");
  EXPECT_EQ(report::Td("x<y" + report::Red("&") + Tag("<BR>")).str(), "<td>x&lt;y<FONT COLOR=#FF0000>&amp;</FONT><BR></td>");
  EXPECT_EQ(report::Tr({"<", Html(Tag("<th></th>"))}).str(), "<tr>&lt;<th></th></tr>");
  EXPECT_EQ(report::MarkRed("1<2"), "<FONT COLOR=#FF0000>1&lt;2</FONT>");
  std::vector<std::string> lines;
  report::PageStart(report::PageLines(lines), report::Meta::ContentType, "gbk", "a&b");
  EXPECT_EQ(lines, (std::vector<std::string>{"<html>", "<head>",
                                             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">",
                                             "<title>a&amp;b</title>", "</head>", "<body>"}));
}

}  // namespace
}  // namespace korvane
