#pragma once
// The results of a network adjustment as text (the batch program prints
// it) and as the HTML report (GBK, tables, values over their limits in red,
// the sketch picture beside it).
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "network/network_adjustment.h"

namespace korvane::network {

// A standardised residual above this is shown in red in the comparison of a
// single traverse; the network report marks those above kCriticalW.
inline constexpr double kStandardisedResidualLimit = 3.0;

// The line that heads the batch program's point lines.
inline constexpr const char* kNetworkPointHeader = "点名, X(m), Y(m), mx(mm), my(mm), mp(mm), E(mm), F(mm), φ";

// The results as plain lines: first one line per unknown point ("name, X, Y,
// mx, my, mp, E, F, φ"), then the statistics, the traverse misclosures and
// the largest residual.
std::vector<std::string> NetworkResultLines(const NetworkResult& result);
// The unknown points as a table in columns under a heading with units, for a
// monospaced CJK font (a Chinese character two columns wide).
std::vector<std::string> NetworkPointTable(const NetworkResult& result);
// The lines after the points: statistics, misclosures, largest residual.
std::vector<std::string> NetworkSummaryLines(const NetworkResult& result);

struct NetworkReportInput {
  const formats::NetworkInput& input;
  const NetworkResult& result;
  const NetworkOptions& options;
  double exaggeration = 1;      // of the ellipses in the picture
  std::string imageName;        // the picture's name relative to the report; empty: none
  std::string charset = "gbk";  // declared in the head
};

// The report's lines (UTF-8, without line breaks).
std::vector<std::string> NetworkReportLines(const NetworkReportInput& input);

// After an adjustment without snooping in which some |w| exceeds the
// critical value: the question whether to snoop (title "数据探测").
std::optional<Message> SnoopOffer(const NetworkResult& result);

// An angle in DMS notation written as 123°04′05.6″ with `decimals` decimals of seconds.
std::string DmsText(double dms, int decimals);

}  // namespace korvane::network
