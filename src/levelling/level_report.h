#pragma once
// The HTML report of a levelling adjustment (GBK), values over their limit
// in red: the parameters, the hand table of a line or loop or the network's
// heights, corrections, misclosures and accuracy figures.
#include <string>
#include <vector>

#include "levelling/level_adjust.h"
#include "report/report_file.h"

namespace korvane::levelling {

std::vector<std::string> LevelReportLines(const LevelResult& result, const std::string& charset = "gbk");
// Replaces the file with the report in GBK and CR LF through the atomic
// writer, unless the file is read-only.
report::ReportWrite WriteLevelReport(const std::string& path, const LevelResult& result);

}  // namespace korvane::levelling
