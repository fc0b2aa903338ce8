// Numerical integration of heliocentric motion and its dense output.
//
// The integrator is a fixed-step Gragg-Bulirsch-Stoer method: the modified midpoint rule with
// 2, 4, ..., 2k substeps and polynomial (Neville) extrapolation in h^2 to zero step, giving an
// order of 2k per step. The state at every step is kept with its acceleration, and positions
// between steps come from quintic Hermite interpolation of position, velocity and acceleration
// at the two neighbouring steps.
#pragma once

#include <deque>
#include <functional>
#include <span>
#include <vector>

#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/vector3.h"

namespace minor {

// The accelerations (au / day^2) of N bodies at TT Julian day `t` from their positions (au).
using AccelerationFn =
    std::function<void(double t, std::span<const Vector3> positions, std::span<Vector3> out)>;

// Advances the N states `r`, `v` from `t` by `h` days (h may be negative) with `columns`
// extrapolation columns (substep counts 2, 4, ..., 2 * columns).
void BulirschStoerStep(const AccelerationFn& acceleration, double t, double h, int columns,
                       std::vector<Vector3>& r, std::vector<Vector3>& v);

// A set of bodies integrated together from one epoch, forwards and backwards on demand, with
// steps of `step` days. Not thread-safe: its owner serialises the calls.
class Trajectory {
 public:
  Trajectory(AccelerationFn acceleration, double epochJd, std::vector<StateVector> initial,
             double step, int columns);

  // Integrates until `jd` lies inside the integrated stretch.
  void ExtendTo(double jd);
  // The interpolated state of body `body`; `jd` must be inside the integrated stretch.
  StateVector StateAt(int body, double jd) const;
  double FirstJd() const { return epoch_ + static_cast<double>(firstIndex_) * step_; }
  double LastJd() const {
    return epoch_ + static_cast<double>(firstIndex_ + static_cast<long>(nodes_.size()) - 1) * step_;
  }

 private:
  struct Node {
    std::vector<Vector3> r, v, a;
  };
  Node MakeNode(double t, std::vector<Vector3> r, std::vector<Vector3> v) const;
  double TimeOf(long index) const { return epoch_ + static_cast<double>(index) * step_; }

  AccelerationFn acceleration_;
  double epoch_, step_;
  int columns_;
  std::deque<Node> nodes_;  // node i holds the states at epoch + (firstIndex_ + i) * step
  long firstIndex_ = 0;
};

}  // namespace minor
