// The lunar-transit search: the dated moments at which the Moon of a chart forms aspects to chosen
// points within a period around the chart's moment (to the chart's own moving points, or to the
// points and cusps of the natal chart behind it), with the Moon's entries into the signs. For
// each aspect it gives the moment the Moon enters the orb, the exact aspect and the moment it
// leaves the orb.
//
// The search works on the clock of the Source the chart is cast for (the progressed moment of a
// progressed chart): the period becomes an interval of that clock and the Moon's longitudes at its
// ends (the window); every candidate (a transit point) whose Moon target can lie in the window is
// timed by the bounded crossing search, and the moment found is carried back to the clock of the
// person's life and the zone of the chart. Qt-free and re-entrant: it reads only its ChartContext.
#pragma once

#include <cstdint>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "forecast/core/lunar_trans_page.h"
#include "forecast/core/lunar_trans_settings.h"
#include "foundation/datetime/moment.h"
#include "foundation/numbers/angles.h"
#include "foundation/status.h"
#include "platform/core/progress_sink.h"

// Target codes: 0..33 a chart point, 1000 + h the cusp of house h, 1100 + s the ingress into s.
inline constexpr int kLunarCuspTarget = 1000;
inline constexpr int kLunarIngressTarget = 1100;

// One candidate event: a target, an aspect side and phase, and the Moon's longitude there.
struct LunarTransitPoint {
  std::int16_t target = 0;
  std::uint16_t count = 1;
  std::int16_t aspect = -1;   // position in the aspect system
  std::uint8_t orbClass = 0;  // 1..5; 0 for ingresses
  char side = 'R';            // 'L' the point's longitude minus the angle, 'R' plus it
  char phase = 'E';           // 'I' entering the orb, 'E' exact, 'O' leaving it
  double moonTarget = kAbsent;
  double pointLongitude = kAbsent;  // at the chart's moment
  char motion = 'D';                // the point's 'R'/'D'; cusps and ingresses 'D'

  bool IsIngress() const { return target >= kLunarIngressTarget; }
  bool IsCusp() const { return target >= kLunarCuspTarget && target < kLunarIngressTarget; }
};

struct LunarTransitEvent : LunarTransitPoint {
  Moment when;             // local time of the chart's zone
  double julianDay = 0.0;  // of `when`, the sort key
};

class CLunarTrans {
 public:
  CLunarTrans(const LunarTransSettings& settings, const Chart& chart)
      : settings_(settings), chart_(chart) {}

  // Defines the window, builds the transit points and times them. Returns the number of events,
  // or -1 when no event was found (message 97 is then reported) or the run was refused (message
  // 96: no aspect system of the settings' name). A Cancel on `progress` keeps the events timed so
  // far (-1 without a message when there are none). The window and the points stay readable
  // afterwards.
  int Compute(const ChartContext& ctx, platform::ProgressSink* progress = nullptr);

  // Appends a transit point.
  void SetTrPoint(int target, double moonTarget, int aspect, char side, char phase, int orbClass,
                  double pointLongitude, char motion);

  const std::vector<LunarTransitPoint>& Points() const { return points_; }
  const std::vector<LunarTransitEvent>& Events() const { return events_; }
  int EventCount() const { return static_cast<int>(events_.size()); }
  double FirstLongitude() const { return firstLongitude_; }
  double LastLongitude() const { return lastLongitude_; }
  // What the last Compute reported (ok, message 96 or 97).
  const Status& Problem() const { return problem_; }

  // x lies in the arc from a to b (a != b; a < b: a <= x <= b; a > b: x >= a or x <= b).
  static bool InArc(double x, double a, double b);

 private:
  struct Window;
  bool DefineWindow(const ChartContext& ctx, Window& w) const;
  void BuildPoints(const ChartContext& ctx, const AspectSystem& system, const Chart& targets,
                   const Window& w);
  void AddIngresses(const AspectSystem& system, const Window& w);
  void TimeEvents(const ChartContext& ctx, const AspectSystem& system, const Window& w,
                  platform::ProgressSink* progress);
  void SortEvents();

  LunarTransSettings settings_;
  const Chart& chart_;
  std::vector<LunarTransitPoint> points_;
  std::vector<LunarTransitEvent> events_;
  double firstLongitude_ = kAbsent;
  double lastLongitude_ = kAbsent;
  Status problem_;
};
