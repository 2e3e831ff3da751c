#pragma once
// The weighted single traverse beside its least-squares solution: a second
// HTML report, written next to the weighted report, with both sets of
// coordinates, their differences, the least-squares precision and
// residuals, and the least-squares sketch picture.
#include <string>
#include <string_view>
#include <vector>

#include "network/single_traverse_network.h"
#include "services/rigorous_report_files.h"

namespace korvane::services {

// The comparison report's name: the weighted report's name with "_最小二乘"
// before its extension (".../report.html" gives ".../report_最小二乘.html").
std::string LeastSquaresReportPath(std::string_view reportPath);

struct ComparisonReportInput {
  const traverse::RigorousResult& weighted;
  const network::SingleTraverseLeastSquares& leastSquares;
  std::string imageName;        // the picture's name relative to the report; empty: none
  std::string charset = "gbk";  // declared in the head; the file is GBK
};

// The report's lines (UTF-8, without line breaks).
std::vector<std::string> ComparisonReportLines(const ComparisonReportInput& input);

// Solves the traverse by least squares and writes the comparison report
// for the weighted report at `reportPath` (its picture beside it). A
// least-squares refusal or a read-only report is returned as the refusal
// and nothing is written.
ReportFilesWrite WriteLeastSquaresComparison(const std::string& reportPath,
                                             const formats::TraverseObservations& observations,
                                             const traverse::RigorousResult& weighted);

}  // namespace korvane::services
