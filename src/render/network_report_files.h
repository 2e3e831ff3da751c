#pragma once
// The HTML report of a network adjustment and its sketch picture, written
// side by side through the atomic writers (window and batch program alike).
#include <string>

#include "network/network_adjustment.h"
#include "render/rigorous_report_files.h"

namespace korvane {

// Writes the picture beside the report (ReportImagePath), then the report
// under `reportPath` (already the final name, see ReportFileName). A
// read-only report is refused before anything is written.
ReportFilesWrite WriteNetworkReportFiles(const std::string& reportPath, const NetworkInput& input,
                                         const NetworkResult& result, const NetworkOptions& options);
// Writes only the sketch picture (BMP, or PNG/JPEG by the name's ending).
bool SaveNetworkSketch(const std::string& path, const NetworkResult& result, std::string* failure = nullptr);

}  // namespace korvane
