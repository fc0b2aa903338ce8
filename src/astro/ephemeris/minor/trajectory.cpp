#include "astro/ephemeris/minor/trajectory.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace minor {

void BulirschStoerStep(const AccelerationFn& acceleration, double t, double h, int columns,
                       std::vector<Vector3>& r, std::vector<Vector3>& v) {
  const std::size_t n = r.size(), width = 2 * n;
  std::vector<Vector3> a0(n), a(n), rPrev(n), vPrev(n), rCur(n), vCur(n);
  // Neville's tableau one row deep: column k of the previous and of the current row, each the
  // positions then the velocities.
  std::vector<Vector3> previous(static_cast<std::size_t>(columns) * width);
  std::vector<Vector3> current(previous.size());
  acceleration(t, r, a0);
  for (int row = 0; row < columns; ++row) {
    const int substeps = 2 * (row + 1);
    const double hs = h / substeps;
    // Modified midpoint rule on (r, v)' = (v, a(r)).
    for (std::size_t i = 0; i < n; ++i) {
      rPrev[i] = r[i];
      vPrev[i] = v[i];
      rCur[i] = r[i] + v[i] * hs;
      vCur[i] = v[i] + a0[i] * hs;
    }
    for (int m = 1; m < substeps; ++m) {
      acceleration(t + m * hs, rCur, a);
      for (std::size_t i = 0; i < n; ++i) {
        const Vector3 rNext = rPrev[i] + vCur[i] * (2.0 * hs);
        const Vector3 vNext = vPrev[i] + a[i] * (2.0 * hs);
        rPrev[i] = rCur[i];
        vPrev[i] = vCur[i];
        rCur[i] = rNext;
        vCur[i] = vNext;
      }
    }
    acceleration(t + h, rCur, a);
    for (std::size_t i = 0; i < n; ++i) {
      current[i] = (rCur[i] + rPrev[i] + vCur[i] * hs) * 0.5;
      current[n + i] = (vCur[i] + vPrev[i] + a[i] * hs) * 0.5;
    }
    // Neville extrapolation in h^2 towards zero step.
    for (int k = 1; k <= row; ++k) {
      const double ratio = static_cast<double>(substeps) / (2.0 * (row - k + 1));
      const double factor = 1.0 / (ratio * ratio - 1.0);
      const Vector3* below = &current[static_cast<std::size_t>(k - 1) * width];
      const Vector3* before = &previous[static_cast<std::size_t>(k - 1) * width];
      Vector3* better = &current[static_cast<std::size_t>(k) * width];
      for (std::size_t i = 0; i < width; ++i)
        better[i] = below[i] + (below[i] - before[i]) * factor;
    }
    std::swap(previous, current);
  }
  const Vector3* best = &previous[static_cast<std::size_t>(columns - 1) * width];
  for (std::size_t i = 0; i < n; ++i) {
    r[i] = best[i];
    v[i] = best[n + i];
  }
}

Trajectory::Trajectory(AccelerationFn acceleration, double epochJd,
                       std::vector<StateVector> initial, double step, int columns)
    : acceleration_(std::move(acceleration)), epoch_(epochJd), step_(step), columns_(columns) {
  std::vector<Vector3> r, v;
  for (const StateVector& s : initial) {
    r.push_back(s.position);
    v.push_back(s.velocity);
  }
  nodes_.push_back(MakeNode(epochJd, std::move(r), std::move(v)));
}

Trajectory::Node Trajectory::MakeNode(double t, std::vector<Vector3> r,
                                      std::vector<Vector3> v) const {
  Node node;
  node.a.resize(r.size());
  acceleration_(t, r, node.a);
  node.r = std::move(r);
  node.v = std::move(v);
  return node;
}

void Trajectory::ExtendTo(double jd) {
  while (jd > LastJd()) {
    const long index = firstIndex_ + static_cast<long>(nodes_.size()) - 1;
    std::vector<Vector3> r = nodes_.back().r, v = nodes_.back().v;
    BulirschStoerStep(acceleration_, TimeOf(index), step_, columns_, r, v);
    nodes_.push_back(MakeNode(TimeOf(index + 1), std::move(r), std::move(v)));
  }
  while (jd < FirstJd()) {
    std::vector<Vector3> r = nodes_.front().r, v = nodes_.front().v;
    BulirschStoerStep(acceleration_, TimeOf(firstIndex_), -step_, columns_, r, v);
    --firstIndex_;
    nodes_.push_front(MakeNode(TimeOf(firstIndex_), std::move(r), std::move(v)));
  }
}

StateVector Trajectory::StateAt(int body, double jd) const {
  if (nodes_.size() < 2) return StateVector{nodes_.front().r[body], nodes_.front().v[body]};
  // Counted from the epoch, so that the result does not depend on how far the path was extended.
  const double fromEpoch = (jd - epoch_) / step_;
  const long last = static_cast<long>(nodes_.size()) - 2;
  const long i = std::clamp(static_cast<long>(std::floor(fromEpoch)) - firstIndex_, 0L, last);
  const Node& n0 = nodes_[static_cast<std::size_t>(i)];
  const Node& n1 = nodes_[static_cast<std::size_t>(i) + 1];
  const double s = fromEpoch - static_cast<double>(i + firstIndex_), h = step_;
  const double s2 = s * s, s3 = s2 * s, s4 = s3 * s, s5 = s4 * s;
  // Quintic Hermite basis on [0, 1] and its derivatives.
  const double b0 = 1 - 10 * s3 + 15 * s4 - 6 * s5, d0 = -30 * s2 + 60 * s3 - 30 * s4;
  const double b1 = s - 6 * s3 + 8 * s4 - 3 * s5, d1 = 1 - 18 * s2 + 32 * s3 - 15 * s4;
  const double b2 = 0.5 * (s2 - 3 * s3 + 3 * s4 - s5), d2 = s - 4.5 * s2 + 6 * s3 - 2.5 * s4;
  const double b3 = 0.5 * (s3 - 2 * s4 + s5), d3 = 1.5 * s2 - 4 * s3 + 2.5 * s4;
  const double b4 = -4 * s3 + 7 * s4 - 3 * s5, d4 = -12 * s2 + 28 * s3 - 15 * s4;
  const double b5 = 10 * s3 - 15 * s4 + 6 * s5, d5 = 30 * s2 - 60 * s3 + 30 * s4;
  const Vector3 &p0 = n0.r[body], &v0 = n0.v[body], &a0 = n0.a[body];
  const Vector3 &p1 = n1.r[body], &v1 = n1.v[body], &a1 = n1.a[body];
  StateVector out;
  out.position =
      p0 * b0 + v0 * (b1 * h) + a0 * (b2 * h * h) + p1 * b5 + v1 * (b4 * h) + a1 * (b3 * h * h);
  out.velocity =
      (p0 * d0 + v0 * (d1 * h) + a0 * (d2 * h * h) + p1 * d5 + v1 * (d4 * h) + a1 * (d3 * h * h)) /
      h;
  return out;
}

}  // namespace minor
