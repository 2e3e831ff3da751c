#pragma once
// The quality figures of a solved network and the hooks of snooping and
// variance components into one adjustment. Internal to the network module.
#include <vector>

#include "adjust/normal_solver.h"
#include "network/network_model.h"

namespace korvane::network {

// The 1σ ellipse of the cofactors scaled by s0 into the point's sx, sy, sp
// and ellipse (network_results.cpp).
void Ellipse(double qxx, double qyy, double qxy, double s0, NetworkPointResult& p);

// Relative ellipses, σ_S/S of every observed pair, the weakest point and side.
void FillRelativeAccuracy(const Model& m, const adjust::NormalSolver& solver, double s0, NetworkResult& r);
// Minimal detectable biases and their largest effect on the coordinates.
void FillReliability(const Model& m, const adjust::NormalSolver& solver, NetworkResult& r);

// Leaves out the options' excluded observations and scales the a-priori
// deviations of the groups; returns the index among the network's records
// of every observation kept.
std::vector<int> KeepObservations(Model& m, const NetworkOptions& options);

// Snooping and the variance components around single adjustments.
NetworkOutcome AdjustWithQuality(const formats::NetworkInput& input, const NetworkOptions& options);
// The variance components: adjustments re-weighted until the factors
// settle, from `first`, the network adjusted with `options` (which may carry
// snooping's exclusions) and the deviations as given.
NetworkOutcome EstimateVarianceComponents(const formats::NetworkInput& input, const NetworkOptions& options,
                                          NetworkOutcome first);

}  // namespace korvane::network
