// The bodies 0..29 of a run of charts cast at neighbouring moments (the progressed charts of one
// event for every trial birth minute of a rectification): computed exactly at nodes a fixed step
// apart and interpolated between them by the cubic through the four nearest nodes. At the step of
// three hours the Moon, the fastest body, stays within a hundredth of a second of arc of the
// exact position. A body absent at one of the four nodes is computed exactly.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/time_scales.h"

class BodyTrack {
 public:
  static constexpr double kStepDays = 0.125;

  // Reads the ephemeris and the calculation settings of `ctx`, which outlives the track.
  explicit BodyTrack(const ChartContext& ctx) : ctx_(ctx) {}
  BodyTrack(const BodyTrack&) = delete;
  BodyTrack& operator=(const BodyTrack&) = delete;

  // Body 0..29 at `tt`: longitude (0..360), latitude and speed interpolated.
  BodyPosition At(int body, JdTt tt);
  // The track as the body source of a chart computation.
  BodySource Source() {
    return [this](int body, JdTt tt) { return At(body, tt); };
  }
  // Nodes computed so far (each one exact position of every body).
  int NodeCount() const { return static_cast<int>(nodes_.size()); }

 private:
  using Node = std::array<BodyPosition, kBodyCount>;
  const Node& NodeAt(std::int64_t index);

  const ChartContext& ctx_;
  std::unordered_map<std::int64_t, Node> nodes_;
};
