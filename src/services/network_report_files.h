#pragma once
// The HTML report of a network adjustment and its sketch picture, written
// side by side through the atomic writers (window and batch program alike).
#include <string>

#include "network/network_adjustment.h"
#include "services/rigorous_report_files.h"

namespace korvane::services {

// Writes the report under `reportPath` (already the final name, see
// ReportFileName) and its picture as a pair (WriteReportWithPicture).
ReportFilesWrite WriteNetworkReportFiles(const std::string& reportPath, const formats::NetworkInput& input,
                                         const network::NetworkResult& result, const network::NetworkOptions& options,
                                         const std::vector<std::string>& inputs = {});
// Writes only the sketch picture (BMP, or PNG/JPEG by the name's ending);
// an empty string, or why it could not be written.
std::string SaveNetworkSketch(const std::string& path, const network::NetworkResult& result);

}  // namespace korvane::services
