#pragma once
// The traverses of an adjusted network: chains of distances between known
// or junction points, with their angular and coordinate misclosures from the
// observations and the adjusted end points, checked against the limits of
// the chosen standard and grade.
#include <vector>

#include "network/network_adjustment.h"

namespace korvane::network {

std::vector<NetworkTraverse> FindTraverses(const formats::NetworkInput& input, const NetworkResult& result,
                                           const NetworkOptions& options);

}  // namespace korvane::network
