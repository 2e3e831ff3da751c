// The figures of an adjusted network: coordinates, residuals, σ0 with its
// chi-square test, and, from the diagonal blocks of the inverse normal
// matrix, standard deviations, error ellipses and standardised residuals.
#include <algorithm>
#include <cmath>

#include "adjust/normal_solver.h"
#include "adjust/variance.h"
#include "core/angles.h"
#include "network/network_datum.h"
#include "network/network_model.h"
#include "network/network_quality_figures.h"
#include "network/network_rows.h"

namespace korvane::network {
namespace {

using adjust::NormalSolver;
using K = NetworkObservationKind;

void FillObservations(const Model& m, NetworkResult& r) {
  r.observations.clear();
  r.observations.reserve(m.obs.size());
  for (const Observation& o : m.obs) {
    NetworkObservationResult e;
    e.kind = o.kind;
    e.station = m.names[o.at];
    e.target = m.names[o.to];
    if (o.back >= 0) e.back = m.names[o.back];
    e.line = o.line;
    e.set = o.set;
    const double computed = Computed(m, o);
    if (o.kind == K::Distance) {
      e.observed = o.value;
      e.adjusted = computed;
      e.residual = (computed - o.value) * 1000;
    } else {
      e.observed = RadToDms(o.value);
      e.adjusted = RadToDms(computed);
      e.residual = WrapSigned(computed - o.value) * kRhoSeconds;
    }
    e.sigma = o.sigma;
    r.observations.push_back(e);
  }
}

void Statistics(const Model& m, NetworkResult& r) {
  double vtpv = 0;
  int regular = 0, constraints = 0;
  for (std::size_t k = 0; k < m.obs.size(); ++k) {
    const Observation& o = m.obs[k];
    if (o.fixed()) {
      const bool constrains = m.column[o.at] >= 0 || m.column[o.to] >= 0;
      constraints += constrains ? 1 : 0;
      continue;
    }
    ++regular;
    const double v = r.observations[k].residual;
    vtpv += v * v / (o.sigma * o.sigma);
  }
  r.unknowns = m.unknowns;
  r.observationCount = regular;
  r.constraints = constraints;
  // A free network's datum constraints count as many as the defect they remove.
  r.degreesOfFreedom = regular + constraints - m.unknowns + r.datum.defect();
  r.chiSquare = vtpv;
  r.sigma0 = adjust::Sigma0(vtpv, r.degreesOfFreedom);
  if (r.degreesOfFreedom <= 0) return;
  const adjust::ChiSquareTest test = adjust::TwoSidedChiSquare(vtpv, r.degreesOfFreedom);
  r.chiLower = test.lower;
  r.chiUpper = test.upper;
  r.chiTestPassed = test.passed;
}

}  // namespace

void Ellipse(double qxx, double qyy, double qxy, double s0, NetworkPointResult& p) {
  p.sx = s0 * std::sqrt(std::max(qxx, 0.0));
  p.sy = s0 * std::sqrt(std::max(qyy, 0.0));
  p.sp = std::hypot(p.sx, p.sy);
  const double root = std::sqrt((qxx - qyy) * (qxx - qyy) + 4 * qxy * qxy);
  p.ellipseA = s0 * std::sqrt(std::max((qxx + qyy + root) / 2, 0.0));
  p.ellipseB = s0 * std::sqrt(std::max((qxx + qyy - root) / 2, 0.0));
  double phi = RadiansToDegrees(0.5 * std::atan2(2 * qxy, qxx - qyy));
  if (phi < 0) phi += 180;
  p.ellipseAzimuth = phi >= 180 ? phi - 180 : phi;
}

namespace {

void Precision(const Model& m, NormalSolver& solver, NetworkResult& r) {
  solver.prepareInverse();
  // Without redundant observations there is no a-posteriori σ0; the errors
  // are then scaled by the a-priori unit weight (1), not shown as zero.
  const double s0 = r.degreesOfFreedom > 0 ? r.sigma0 : 1.0;
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    const int c = m.column[i];
    if (c >= 0) Ellipse(solver.inverse(c, c), solver.inverse(c + 1, c + 1), solver.inverse(c, c + 1), s0, r.points[i]);
  }
  for (std::size_t k = 0; k < m.obs.size(); ++k) {
    const Observation& o = m.obs[k];
    if (o.fixed()) continue;
    NetworkObservationResult& e = r.observations[k];
    e.redundancy = adjust::Redundancy(Linearise(m, o), solver);
    e.standardised = adjust::Standardised(e.residual, o.sigma, e.redundancy);
  }
  r.precisionComputed = true;
}

void FlagLargest(NetworkResult& r) {
  double largest = -1;
  for (std::size_t k = 0; k < r.observations.size(); ++k) {
    const NetworkObservationResult& e = r.observations[k];
    if (e.fixed()) continue;
    const double size = r.precisionComputed ? e.standardised : std::fabs(e.residual) / e.sigma;
    if (size > largest) {
      largest = size;
      r.largestResidual = static_cast<int>(k);
    }
  }
  if (r.largestResidual >= 0) r.observations[r.largestResidual].largest = true;
}

}  // namespace

void FillResult(const Model& m, const NetworkOptions& options, NormalSolver& solver, NetworkResult& r) {
  r.points.clear();
  for (std::size_t i = 0; i < m.names.size(); ++i) {
    NetworkPointResult p;
    p.name = m.names[i];
    p.known = m.known[i];
    p.x = m.x[i];
    p.y = m.y[i];
    r.points.push_back(p);
  }
  r.setOrientationDms.clear();
  for (double z : m.orientation) r.setOrientationDms.push_back(RadToDms(z));
  FillObservations(m, r);
  r.datum = FreeNetworkDatum(m);
  Statistics(m, r);
  r.usedFallbackSolver = solver.usedFallback();
  if (options.precision) {
    Precision(m, solver, r);
    if (options.quality) {
      FillReliability(m, solver, r);
      FillRelativeAccuracy(m, solver, r.degreesOfFreedom > 0 ? r.sigma0 : 1.0, r);
    }
  }
  FlagLargest(r);
}

}  // namespace korvane::network
