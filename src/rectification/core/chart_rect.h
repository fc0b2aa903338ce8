// The natal chart of one trial birth moment as the event scorers use it, and the scoring of one
// life event against it by the fourteen methods in four groups.
//
// Each group builds the chart of its forecasting technique for the event's date (progressed,
// transit, directed; the life point needs none), only when at least one of its methods is on,
// looks for aspects between that chart's points and the natal houses, house rulers and planets
// the event names, and writes one weighted score per method that is on.
#pragma once

#include <array>
#include <span>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/status.h"
#include "rectification/core/life_event.h"
#include "rectification/core/rect_scoring_setup.h"

class ChartRect : public Chart {
 public:
  // A copy of the trial chart, not yet computed.
  explicit ChartRect(const Chart& trial);

  // Computes the copy without speeds (its own house system), then Prepare().
  Status Compute();
  // The same with the settings of `ctx` (a run builds one context and passes it down).
  Status Compute(const ChartContext& ctx);
  // Takes the lookups the scorers use from the points and cusps as they stand (after positions
  // were set by hand, in tests).
  void Prepare();

  // The natal cusps as plain degrees (-777.0 when absent).
  const std::array<double, 12>& CuspDegrees() const { return cuspDegrees_; }
  // The natal house 0..11 of point 0..29; -1 when it or the cusps are absent.
  int HouseOfPoint(int point) const;

 private:
  std::array<double, 12> cuspDegrees_{};
  std::array<int, 30> houseOfPoint_{};
};

// What one event is scored against: the trial's natal chart and, for the event's date, the
// progressed chart (computed without speeds), the transit and the directed chart (with speeds)
// and the life point's longitude (-777.0 when absent). A chart a group does not need may be null.
struct EventCharts {
  const ChartRect* natal = nullptr;
  const Chart* progressed = nullptr;
  const Chart* transit = nullptr;
  const Chart* directed = nullptr;
  double lifePoint = kAbsent;
};

// The score of method 0..13 by its setting (0 main, 1 additional); 0 for a method that is off,
// one out of range, or when the chart the method needs is missing.
double ScoreMethod(int method, const EventCharts& charts, const LifeEvent& event,
                   const RectScoringSetup& setup);

// The four groups. Each builds its chart for the event's date when one of its methods is on and
// writes the score of each method that is on, in method order, into slots[counter], advancing
// the counter. A chart that cannot be built gives those methods 0 and its status is returned.
// Error 107 (nothing written) when the slots cannot hold the group's scores.
Status ScoreProgressions(const ChartRect& natal, const LifeEvent& event,
                         const RectScoringSetup& setup, std::span<double> slots, int& counter);
Status ScoreTransits(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                     std::span<double> slots, int& counter);
Status ScoreDirections(const ChartRect& natal, const LifeEvent& event,
                       const RectScoringSetup& setup, std::span<double> slots, int& counter);
Status ScoreLifePoint(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                      std::span<double> slots, int& counter);

// The life point of the scorers for a birth at the natal chart's moment on the event's date;
// -777.0 without a message when the event lies before the birth.
double LifePointAtEvent(const ChartRect& natal, const LifeEvent& event,
                        const RectScoringSetup& setup);

// The four groups in order; `slots` holds setup.MethodsOn() scores, set to 0 first. Returns the
// first failure of a group (its methods score 0; the other groups still run).
Status ScoreEvent(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                  std::span<double> slots);

// The transit chart of the event's date at the natal chart's place and zone, computed with speeds.
// It does not depend on the trial birth time, so a run over many trials builds it once per event.
Status MakeEventTransit(const ChartContext& ctx, const ChartRect& natal, const LifeEvent& event,
                        Chart& out);
// ScoreEvent with the settings of `ctx`; `transit`, when given, is the event's transit chart built
// beforehand by MakeEventTransit for the same place (else the group builds it); `progressed`, when
// given, is where the progressed chart takes its bodies from (a track of the event over the run's
// trials), its houses computed exactly. The directed chart is the natal chart moved by the arc.
Status ScoreEvent(const ChartContext& ctx, const ChartRect& natal, const LifeEvent& event,
                  const RectScoringSetup& setup, std::span<double> slots,
                  const Chart* transit = nullptr, const BodySource* progressed = nullptr);
