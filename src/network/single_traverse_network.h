#pragma once
// The connecting traverse of the weighted adjustment (known points A, B at the
// start, C, D at the end, left angles at every station, reduced sides) solved
// as a network by least squares, so that both solutions can be compared.
#include <optional>
#include <string>
#include <vector>

#include "core/message.h"
#include "network/network_adjustment.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/traverse_observations.h"

namespace korvane::network {

struct SingleTraverseLeastSquares {
  std::optional<Message> refusal;
  // Per station as in the weighted result (station 1 is B, station n is C).
  std::vector<std::string> names;
  std::vector<double> x, y;      // adjusted coordinates, metres, unrounded
  std::vector<double> sx, sy;    // standard deviations, mm (0 at B and C)
  NetworkResult network;         // the full least-squares result
  bool ok() const { return !refusal.has_value(); }
};

// The traverse as a network: A, B, C, D known, the observed left angles at
// B ... C (A -> B -> 2 at B, n-1 -> C -> D at C) and the reduced sides S' of
// the weighted result; the angle deviation is the a-priori m0 and the
// distances take σ = a + b·S from the traverse's instrument precision (where
// m0 or both constants are 0, the network defaults 2.8″ and 2 mm + 2 ppm are
// used).
formats::NetworkInput SingleTraverseAsNetwork(const formats::TraverseObservations& observations,
                                              const traverse::RigorousResult& weighted);
// Builds the network above and adjusts it.
SingleTraverseLeastSquares AdjustSingleTraverseByNetwork(const formats::TraverseObservations& observations,
                                                         const traverse::RigorousResult& weighted,
                                                         const NetworkOptions& options = {});

}  // namespace korvane::network
