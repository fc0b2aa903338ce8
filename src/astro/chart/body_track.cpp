#include "astro/chart/body_track.h"

#include <cmath>

#include "astro/chart/chart_math.h"
#include "foundation/numbers/angles.h"

const BodyTrack::Node& BodyTrack::NodeAt(std::int64_t index) {
  auto found = nodes_.find(index);
  if (found != nodes_.end()) return found->second;
  Node node;
  const JdTt tt{static_cast<double>(index) * kStepDays};
  for (int body = 0; body < kBodyCount; ++body)
    node[static_cast<std::size_t>(body)] = chartmath::BodyAtTt(ctx_, body, tt);
  return nodes_.emplace(index, node).first->second;
}

BodyPosition BodyTrack::At(int body, JdTt tt) {
  if (body < 0 || body >= kBodyCount || !std::isfinite(tt.days))
    return chartmath::BodyAtTt(ctx_, body, tt);
  // Nodes i-1, i, i+1, i+2 around tt, which lies in [i, i+1) steps.
  const double steps = tt.days / kStepDays;
  const auto i = static_cast<std::int64_t>(std::floor(steps));
  const double u = steps - static_cast<double>(i);
  std::array<BodyPosition, 4> p;
  for (std::int64_t k = 0; k < 4; ++k) {
    p[static_cast<std::size_t>(k)] = NodeAt(i - 1 + k)[static_cast<std::size_t>(body)];
    if (IsAbsent(p[static_cast<std::size_t>(k)].longitude))
      return chartmath::BodyAtTt(ctx_, body, tt);
  }
  // Lagrange weights of the nodes at -1, 0, 1, 2 for the point u.
  const std::array<double, 4> w{-u * (u - 1) * (u - 2) / 6, (u + 1) * (u - 1) * (u - 2) / 2,
                                -(u + 1) * u * (u - 2) / 2, (u + 1) * u * (u - 1) / 6};
  // Longitudes unwrapped from node 0 so that a passage through 0 Aries is smooth.
  const double base = p[1].longitude;
  BodyPosition out;
  double longitude = 0.0;
  for (std::size_t k = 0; k < 4; ++k) {
    longitude += w[k] * (base + chartmath::Wrap180(p[k].longitude - base));
    out.latitude += w[k] * p[k].latitude;
    out.speed += w[k] * p[k].speed;
  }
  out.longitude = NormalizeDegrees(longitude);
  return out;
}
