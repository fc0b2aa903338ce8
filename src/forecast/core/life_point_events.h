// The dated events of the life point: the moments at which the point, travelling through the
// birth chart at its type's years per house or sign, enters the orb of, perfects and leaves each
// selected aspect to each selected point or cusp, and crosses the sign boundaries. One full cycle
// (12 x years) from the beginning age of the settings, in time order. Qt-free and re-entrant:
// the computation reads its ChartContext and the inputs it is given.
#pragma once

#include <cstdint>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/lifepoint/life_point.h"
#include "astro/lifepoint/life_point_all.h"
#include "forecast/core/life_point_settings.h"
#include "foundation/datetime/moment.h"
#include "foundation/numbers/angles.h"
#include "foundation/status.h"
#include "platform/core/progress_sink.h"

inline constexpr int kLifePointCuspTarget = 1000;
inline constexpr int kLifePointIngressTarget = 1100;

struct LifePointEvent {
  std::int16_t moving = 0;  // the life point
  std::int16_t target = 0;  // 0..33 a point, 1000 + h a cusp, 1100 + s the ingress into s
  std::int16_t aspect = -1;
  std::uint8_t orbGroup = 0;  // 1..5; 0 for ingresses
  char side = 'N';            // 'L' target + angle, 'R' target - angle, 'N' ingress
  char phase = 'E';           // 'E' exact, 'I' entering, 'O' leaving
  double reachLongitude = kAbsent;
  double targetLongitude = kAbsent;
  char targetMotion = 'D';
  Moment when;
  double age = 0.0;        // years since birth
  double julianDay = 0.0;  // of `when`, the sort key

  bool IsIngress() const { return target >= kLifePointIngressTarget; }
};

// True for the kinds that carry a natal chart behind them (transit, progressed, directed, return).
bool HasNatalBehind(int chartKind);

// The events of one life-point type over one cycle. The steps keep the names of the listing's
// steps; Compute runs them in order.
class LifePointComputation {
 public:
  LifePointComputation(const ChartContext& ctx, const Chart& chart, const LifePointAll& types)
      : ctx_(ctx), chart_(chart), types_(types) {}

  // Builds the view's natal chart, takes the type and the aspect system, counts, builds, times,
  // sorts and brings the list to the beginning age. The settings' beginning age is lowered to
  // 11 x years when it is not below that (message 434). Refused with a message and no events:
  // no types (442), no aspect system of the settings' name (96), a house type without cusps
  // (446); no admitted target, aspect or phase gives no events (message 433 on charts without a
  // natal chart behind them). A Cancel on `progress` leaves no events.
  Status Compute(LifePointSettings& settings, platform::ProgressSink* progress = nullptr);

  // The capacity: phases x admitted aspect sides x admitted targets, plus 12 with ingresses.
  static int CountEvents(const LifePointSettings& settings, const AspectSystem& system,
                         const Configuration& config);

  const std::vector<LifePointEvent>& Events() const { return events_; }
  int Capacity() const { return capacity_; }
  const Chart& Natal() const { return natal_; }
  const LifePoint& Type() const { return type_; }
  // The life point's longitude at the chart's moment (charts with a natal chart behind them);
  // -777.0 otherwise.
  double CurrentLongitude() const { return currentLongitude_; }
  const Moment& Birth() const { return natal_.definition.sources[0].moment; }

  // The steps, public for the tests.
  void BuildEvents(const LifePointSettings& settings, const AspectSystem& system);
  void SetEventLongitude(const AspectSystem& system, const Chart& targets);
  bool SetEventMoments(platform::ProgressSink* progress);
  void SortEvents();
  void UpdateEvents(double beginAge);
  void Update2NegativeAge(double beginAge);
  void SetType(const LifePoint& type) { type_ = type; }
  void SetBirth(const Source& birth) { natal_.definition.sources[0] = birth; }

 private:
  void AddEvent(const LifePointSettings& settings, int target, int aspect, int orbGroup, char side);
  void MoveByCycles(LifePointEvent& e, double cycles) const;

  const ChartContext& ctx_;
  const Chart& chart_;
  const LifePointAll& types_;
  Chart natal_;
  LifePoint type_;
  std::vector<LifePointEvent> events_;
  int capacity_ = 0;
  double currentLongitude_ = kAbsent;
};
