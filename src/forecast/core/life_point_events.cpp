#include "forecast/core/life_point_events.h"

#include <algorithm>
#include <cmath>

#include "astro/aspects/aspect.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "forecast/core/forecast_targets.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr int kPointCount = 34;
// Above this many events the steps report their progress.
constexpr std::size_t kProgressFrom = 200;

bool OneSided(const Aspect& aspect) {
  const int cls = ClassifyAspectAngle(aspect);
  return cls == 0 || cls == 1;
}

int PhasesOn(const LifePointSettings& s) {
  return (s.exact != 0) + (s.entering != 0) + (s.leaving != 0);
}

}  // namespace

bool HasNatalBehind(int kind) {
  return kind == kChartTransit || kind == kChartProgressed || kind == kChartDirected ||
         kind == kChartReturn;
}

int LifePointComputation::CountEvents(const LifePointSettings& s, const AspectSystem& system,
                                      const Configuration& config) {
  int targets = 0;
  for (int i = 0; i < kPointCount; ++i)
    targets += forecast::TargetPointTaken(s.pointTargets, s.withNodes != 0, config, i);
  for (int h = 0; h < 12; ++h) targets += forecast::TargetHouseTaken(s.houseTargets, h);
  int sides = 0;
  for (const Aspect& a : system.Aspects())
    if (forecast::TargetAspectTaken(s.aspectChoice, a)) sides += OneSided(a) ? 1 : 2;
  return PhasesOn(s) * sides * targets + (s.withIngresses != 0 ? 12 : 0);
}

void LifePointComputation::AddEvent(const LifePointSettings& s, int target, int aspect,
                                    int orbGroup, char side) {
  const std::pair<int, char> phases[] = {{s.exact, 'E'}, {s.entering, 'I'}, {s.leaving, 'O'}};
  for (const auto& [on, phase] : phases) {
    if (on == 0) continue;
    LifePointEvent e;
    e.target = static_cast<std::int16_t>(target);
    e.aspect = static_cast<std::int16_t>(aspect);
    e.orbGroup = static_cast<std::uint8_t>(orbGroup);
    e.side = side;
    e.phase = phase;
    events_.push_back(e);
  }
}

void LifePointComputation::BuildEvents(const LifePointSettings& s, const AspectSystem& system) {
  events_.clear();
  const Configuration& config = ctx_.Config();
  const auto aspectsOf = [&](int target, int orbGroup) {
    for (int a = 0; a < system.Count(); ++a) {
      const Aspect& aspect = system.GetAspect(a);
      if (!forecast::TargetAspectTaken(s.aspectChoice, aspect)) continue;
      AddEvent(s, target, a, orbGroup, 'L');
      if (!OneSided(aspect)) AddEvent(s, target, a, orbGroup, 'R');
    }
  };
  for (int i = 0; i < kPointCount; ++i) {
    if (!forecast::TargetPointTaken(s.pointTargets, s.withNodes != 0, config, i)) continue;
    aspectsOf(i, s.orbMode == 1 ? config.GetOrbClass(i) : s.planetOrbGroup);
  }
  for (int h = 0; h < 12; ++h)
    if (forecast::TargetHouseTaken(s.houseTargets, h))
      aspectsOf(kLifePointCuspTarget + h, s.houseOrbGroup);
  if (s.withIngresses == 0) return;
  int conjunction = -1;
  for (int a = 0; a < system.Count() && conjunction < 0; ++a)
    if (ClassifyAspectAngle(system.GetAspect(a)) == 0) conjunction = a;
  for (int sign = 0; sign < 12; ++sign) {
    LifePointEvent e;
    e.target = static_cast<std::int16_t>(kLifePointIngressTarget + sign);
    e.aspect = static_cast<std::int16_t>(conjunction);
    events_.push_back(e);
  }
}

void LifePointComputation::SetEventLongitude(const AspectSystem& system, const Chart& targets) {
  const bool converse = type_.direction == 'R';
  for (LifePointEvent& e : events_) {
    if (e.IsIngress()) {
      const int sign = e.target - kLifePointIngressTarget;
      e.reachLongitude = NormalizeDegrees(30.0 * sign + (converse ? 30.0 : 0.0));
      continue;
    }
    const bool cusp = e.target >= kLifePointCuspTarget;
    e.targetLongitude = targets.GetPointOrCuspLongitude(e.target).Get();
    e.targetMotion = cusp ? 'D' : targets.points[static_cast<std::size_t>(e.target)].status;
    if (IsAbsent(e.targetLongitude)) {
      e.reachLongitude = kAbsent;
      continue;
    }
    const bool known = e.aspect >= 0 && e.aspect < system.Count();
    const double angle = known ? system.GetAspect(e.aspect).angle : 0.0;
    const double orb = known ? system.GetAspect(e.aspect).Orb(OrbColumnOfClass(e.orbGroup)) : 0.0;
    const double point = NormalizeDegrees(e.targetLongitude + (e.side == 'L' ? angle : -angle));
    double reach = point;
    if (e.phase == 'I') reach = converse ? point + orb : point - orb;
    if (e.phase == 'O') reach = converse ? point - orb : point + orb;
    e.reachLongitude = NormalizeDegrees(reach);
  }
}

bool LifePointComputation::SetEventMoments(platform::ProgressSink* progress) {
  const Moment& birth = Birth();
  const bool report = progress && events_.size() > kProgressFrom;
  std::vector<LifePointEvent> timed;
  timed.reserve(events_.size());
  for (std::size_t k = 0; k < events_.size(); ++k) {
    if (report) {
      if (progress->Cancelled()) return false;
      if (k % 64 == 0) progress->SetPos(static_cast<int>(100 * k / events_.size()));
    }
    LifePointEvent& e = events_[k];
    // A target without a longitude has no event: the absent value is never reached.
    const std::optional<Moment> when = LifePoint::CalculateMoment(type_, birth, e.reachLongitude);
    if (!when) continue;
    e.when = *when;
    e.julianDay = e.when.JulianDay();
    e.age = e.when.YearsSince(birth);
    timed.push_back(e);
  }
  events_ = std::move(timed);
  return true;
}

void LifePointComputation::SortEvents() {
  std::stable_sort(
      events_.begin(), events_.end(),
      [](const LifePointEvent& a, const LifePointEvent& b) { return a.julianDay < b.julianDay; });
}

void LifePointComputation::MoveByCycles(LifePointEvent& e, double cycles) const {
  const double years = cycles * 12.0 * type_.years;
  e.when.AddYears(years);
  e.julianDay = e.when.JulianDay();
  e.age += years;
}

void LifePointComputation::UpdateEvents(double beginAge) {
  if (beginAge < 0.0) return;
  // The events at or below the beginning age (a prefix of the sorted list; all of it when every
  // event lies there) move, in their order, one cycle on to the end.
  const auto firstAbove = std::find_if(events_.begin(), events_.end(),
                                       [&](const LifePointEvent& e) { return e.age > beginAge; });
  for (auto it = events_.begin(); it != firstAbove; ++it) MoveByCycles(*it, 1.0);
  std::rotate(events_.begin(), firstAbove, events_.end());
}

void LifePointComputation::Update2NegativeAge(double beginAge) {
  if (beginAge >= 0.0 || type_.years <= 0) return;
  const double cycle = 12.0 * type_.years;
  const double k = std::ceil(-beginAge / cycle);
  for (LifePointEvent& e : events_) MoveByCycles(e, -(k - 1.0));
  // One more cycle back for every event that stays after the beginning age there.
  for (LifePointEvent& e : events_)
    if (e.age - cycle > beginAge) MoveByCycles(e, -1.0);
  // The moved events are a suffix that now comes first in time.
  for (std::size_t i = 0; i + 1 < events_.size(); ++i) {
    if (events_[i].age > events_[i + 1].age) {
      std::rotate(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(i + 1),
                  events_.end());
      break;
    }
  }
}

Status LifePointComputation::Compute(LifePointSettings& s, platform::ProgressSink* progress) {
  events_.clear();
  capacity_ = 0;
  currentLongitude_ = kAbsent;
  const int kind = chart_.definition.Kind();
  const bool natalBehind = HasNatalBehind(kind);
  natal_ = Chart();
  natal_.definition.SetKind(kChartNatal);
  natal_.definition.sources[0] =
      natalBehind ? chart_.definition.sources[0] : ComputingSource(chart_.definition);
  if (Status st = ChartCalculate(ctx_, natal_); !st.ok()) return st;

  const LifePoint* type =
      types_.Get(s.typeIndex >= 0 && s.typeIndex < types_.Count() ? s.typeIndex : 0);
  if (!type) return Status::Message(kMsgLifePointNoTypes);
  type_ = *type;
  const AspectSystem* system = ctx_.FindSystem(s.aspectSystemName);
  if (!system) return Status::Message(kMsgNoSuchAspectSystem);

  capacity_ = CountEvents(s, *system, ctx_.Config());
  const Chart& cuspChart = natalBehind ? natal_ : chart_;
  std::array<double, 12> cusps{};
  bool cuspsKnown = true;
  for (int h = 0; h < 12; ++h) {
    cusps[static_cast<std::size_t>(h)] = cuspChart.cusps[static_cast<std::size_t>(h)].Get();
    cuspsKnown = cuspsKnown && !IsAbsent(cusps[static_cast<std::size_t>(h)]);
  }
  if (type_.mode != 'S' && !cuspsKnown) return Status::Message(kMsgLifePointNoCusps);
  type_.cusps = cusps;
  if (natalBehind) {
    currentLongitude_ =
        LifePoint::CountPosition(type_, natal_.definition.sources[0], chart_.definition.sources[1]);
  } else if (capacity_ == 0) {
    return Status::Message(kMsgLifePointNoTransit);
  }
  if (capacity_ == 0) return Status::Ok();

  Status result;
  const int lastAge = 11 * type_.years;
  if (s.beginAge >= lastAge) {
    result = Status::Message(kMsgLifePointAgeTooLarge);
    s.beginAge = static_cast<std::int16_t>(lastAge);
  }
  if (progress) progress->Begin();
  BuildEvents(s, *system);
  SetEventLongitude(*system, s.toThisChart == 1 ? chart_ : natal_);
  const bool done = SetEventMoments(progress);
  if (progress) progress->End();
  if (!done) {
    events_.clear();
    return result;
  }
  SortEvents();
  UpdateEvents(s.beginAge);
  Update2NegativeAge(s.beginAge);
  return result;
}
