#pragma once
// The datum of a free network: the defect its observations leave (two
// shifts, the rotation unless an azimuth is observed, the scale unless a
// distance is), and the inner constraints that give the solution of least
// norm over the datum points. Internal to the network module.
#include <Eigen/Dense>
#include <optional>

#include "core/message.h"
#include "network/network_adjustment.h"
#include "network/network_model.h"

namespace korvane::network {

// The datum points and the defect of a free network; empty for fixed points.
NetworkDatum FreeNetworkDatum(const Model& m);

// A refusal when the datum points cannot remove the defect: fewer than two
// where a rotation or a scale is to be removed.
std::optional<Message> CheckDatumPoints(const NetworkDatum& datum);

// At the model's current coordinates: the null space G (unknowns × defect;
// coordinates in mm, orientations in seconds) and the constraints C, the
// rows of G on the datum points' coordinates and zero elsewhere.
void DatumMatrices(const Model& m, const NetworkDatum& datum, Eigen::MatrixXd& g, Eigen::MatrixXd& c);

// The line that names the datum: "自由网：基准点 P1, P2, …；…".
std::string DatumText(const NetworkDatum& datum);

}  // namespace korvane::network
