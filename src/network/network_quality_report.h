#pragma once
// The quality sections of the network's results: relative accuracy, the
// w-test with reliability, snooping and variance components, as the batch
// program's lines and as the report's tables. Internal to the network module.
#include <string>
#include <vector>

#include "network/network_adjustment.h"
#include "network/network_report.h"
#include "report/html.h"

namespace korvane::network {

// An observation that has a deviation (no fixed azimuth) as the lines name
// it: "方向 A-B", "角度 S-B-F", "边长 A-B", "方位角 A-B".
std::string ObservationText(NetworkObservationKind kind, const std::string& station, const std::string& back,
                            const std::string& target);
// A value of the observation's kind with its unit: seconds (″) or mm.
std::string AmountText(NetworkObservationKind kind, double value);

std::vector<std::string> NetworkQualityLines(const NetworkResult& r);
void NetworkQualitySections(const NetworkReportInput& in, const report::PageLines& out);

}  // namespace korvane::network
