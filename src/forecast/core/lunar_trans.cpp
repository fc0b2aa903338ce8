#include "forecast/core/lunar_trans.h"

#include <algorithm>
#include <cmath>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/ephemeris/speed_limits.h"
#include "forecast/core/crossing_search.h"
#include "forecast/core/forecast_targets.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr int kMoon = 1;
constexpr int kOwnPointCount = 30;    // target 0: points 0..29
constexpr int kNatalPointCount = 34;  // target 1: points 0..33, then the cusps
// The Moon's slowest daily motion, with a margin; the widening of the window uses it.
constexpr double kMoonSlowestDaily = 11.75;
// The Moon never moves more than this in a day, so daily samples of its longitude can be unwrapped.
constexpr double kSampleDays = 1.0;
// A period by distance reaches at most 8 signs ahead: the Moon needs less than this for it.
constexpr double kDistanceSearchDays = 40.0;
constexpr double kSignSearchDays = 3.0;  // back to the beginning of the sign (30 degrees)
// The moment of a lunar event to one second, as the transit search's natal targets.
constexpr CrossingTolerance kTolerance{1.0 / 3600.0, 1.0 / 86400.0};
// Meetings of the Moon with one target within one period: the longest period the settings allow
// (30 years on each side of a progressed chart) is far below this many lunar months.
constexpr int kMaxMeetings = 1000;

}  // namespace

// The period on the Moon's clock and its longitudes there.
struct CLunarTrans::Window {
  double lo = 0.0, hi = 0.0;  // UT of the computing Source's clock
  bool wholeCircle = false;   // the Moon goes round at least once within the period
};

bool CLunarTrans::InArc(double x, double a, double b) {
  if (IsAbsent(x) || IsAbsent(a) || IsAbsent(b) || a == b) return false;
  if (a < b) return a <= x && x <= b;
  return x >= a || x <= b;
}

void CLunarTrans::SetTrPoint(int target, double moonTarget, int aspect, char side, char phase,
                             int orbClass, double pointLongitude, char motion) {
  LunarTransitPoint p;
  p.target = static_cast<std::int16_t>(target);
  p.aspect = static_cast<std::int16_t>(aspect);
  p.orbClass = static_cast<std::uint8_t>(orbClass);
  p.side = side;
  p.phase = phase;
  p.moonTarget = moonTarget;
  p.pointLongitude = pointLongitude;
  p.motion = motion;
  points_.push_back(p);
}

bool CLunarTrans::DefineWindow(const ChartContext& ctx, Window& w) const {
  const double uc = chartmath::UtOf(ComputingSource(chart_.definition)).days;
  const auto moonAt = [&](double ut) { return chartmath::BodyAt(ctx, kMoon, JdUt{ut}).longitude; };
  if (settings_.periodKind == 0) {
    // The chart moved by days of life: the computing moment follows at the rate of the kind, so a
    // converse chart's interval comes out reversed, which is the exchange of the two longitudes.
    const double after = settings_.yearsAfter * kTropicalYearDays + settings_.daysAfter;
    const double before = settings_.yearsBefore * kTropicalYearDays + settings_.daysBefore;
    Chart later = chart_, earlier = chart_;
    if (!later.AddStep(ctx, after).ok() || !earlier.AddStep(ctx, -before).ok()) return false;
    const double u1 = chartmath::UtOf(ComputingSource(later.definition)).days;
    const double u0 = chartmath::UtOf(ComputingSource(earlier.definition)).days;
    w.lo = std::min(u0, u1);
    w.hi = std::max(u0, u1);
  } else {
    const double l = moonAt(uc);
    const double signStart = 30.0 * std::floor(l / 30.0);
    const double first = settings_.from == 0 ? l : signStart;
    const double last =
        NormalizeDegrees(settings_.to == 1 ? l + 30.0 * settings_.signs : signStart + 30.0);
    CrossingPair pair;
    pair.body = kMoon;
    w.lo = uc;
    if (first != l) {
      pair.fixedLongitude = first;
      const CrossingResult r = FindNextCrossing(ctx.GetEphemeris(), pair,
                                                JdUt{uc - kSignSearchDays}, JdUt{uc}, kTolerance);
      if (r.found) w.lo = r.moment.days;
    }
    pair.fixedLongitude = last;
    const CrossingResult r = FindNextCrossing(ctx.GetEphemeris(), pair, JdUt{uc},
                                              JdUt{uc + kDistanceSearchDays}, kTolerance);
    if (!r.found) return false;
    w.hi = r.moment.days;
  }
  // The Moon's path over the period, unwrapped from daily samples, until it closes a circle.
  double travelled = 0.0, previous = moonAt(w.lo);
  for (double t = w.lo; t < w.hi && travelled < 360.0;) {
    t = std::min(w.hi, t + kSampleDays);
    const double now = moonAt(t);
    travelled += NormalizeDegrees(now - previous);
    previous = now;
  }
  w.wholeCircle = travelled >= 360.0;
  return true;
}

void CLunarTrans::BuildPoints(const ChartContext& ctx, const AspectSystem& system,
                              const Chart& targets, const Window& w) {
  const bool own = settings_.target == 0;
  const double arc = AngleDifference360(firstLongitude_, lastLongitude_);
  const double widenDays = 1.25 * arc / kMoonSlowestDaily;
  const auto addFor = [&](int code, double lon, char motion, int orbClass, int moverSpeedPoint) {
    // The window the Moon target may lie in: widened by the point's own motion for a moving
    // point; a window that reaches round the circle takes every target.
    double from = firstLongitude_, to = lastLongitude_;
    bool all = w.wholeCircle;
    if (moverSpeedPoint >= 0) {
      const double back = GetPlanetMaxBackSpeed(moverSpeedPoint) * widenDays;
      const double ahead = GetPlanetMaxSpeed(moverSpeedPoint) * widenDays;
      all = all || arc + back + ahead >= 360.0;
      from = NormalizeDegrees(from - back);
      to = NormalizeDegrees(to + ahead);
    }
    const OrbColumn column = OrbColumnOfClass(orbClass);
    for (int a = 0; a < system.Count(); ++a) {
      const Aspect& aspect = system.GetAspect(a);
      if (!forecast::TargetAspectTaken(settings_.aspects, aspect)) continue;
      const int cls = ClassifyAspectAngle(aspect);
      const bool oneSide = cls == 0 || cls == 1;
      for (int side = -1; side <= 1; side += 2) {
        if (side == 1 && oneSide) continue;
        const int wanted[3] = {settings_.entering, settings_.exact, settings_.leaving};
        for (int phase = -1; phase <= 1; ++phase) {
          if (wanted[phase + 1] == 0) continue;
          const double moon =
              NormalizeDegrees(lon + side * aspect.angle + phase * aspect.Orb(column));
          if (!all && !InArc(moon, from, to)) continue;
          SetTrPoint(code, moon, a, side < 0 ? 'L' : 'R', "IEO"[phase + 1], orbClass, lon, motion);
        }
      }
    }
  };
  const int pointCount = own ? kOwnPointCount : kNatalPointCount;
  for (int i = 0; i < pointCount; ++i) {
    if ((own && i == kMoon) ||
        !forecast::TargetPointTaken(settings_.planets, settings_.nodes != 0, ctx.Config(), i))
      continue;
    const double lon = targets.points[static_cast<std::size_t>(i)].longitude.Get();
    if (IsAbsent(lon)) continue;
    const int orbClass =
        settings_.planetOrbs == 1 ? ctx.Config().GetOrbClass(i) : settings_.planetOrbGroup;
    addFor(i, lon, targets.points[static_cast<std::size_t>(i)].status, orbClass, own ? i : -1);
  }
  if (own) return;
  for (int h = 0; h < 12; ++h) {
    const double lon = targets.cusps[static_cast<std::size_t>(h)].Get();
    if (!forecast::TargetHouseTaken(settings_.houses, h) || IsAbsent(lon)) continue;
    addFor(kLunarCuspTarget + h, lon, 'D', settings_.houseOrbGroup, -1);
  }
}

void CLunarTrans::AddIngresses(const AspectSystem& system, const Window& w) {
  int conjunction = -1;
  for (int a = 0; a < system.Count() && conjunction < 0; ++a)
    if (ClassifyAspectAngle(system.GetAspect(a)) == 0) conjunction = a;
  for (int s = 0; s < 12; ++s) {
    const double boundary = 30.0 * s;
    if (w.wholeCircle || InArc(boundary, firstLongitude_, lastLongitude_))
      SetTrPoint(kLunarIngressTarget + s, boundary, conjunction, 'R', 'E', 0, boundary, 'D');
  }
}

void CLunarTrans::TimeEvents(const ChartContext& ctx, const AspectSystem& system, const Window& w,
                             platform::ProgressSink* progress) {
  const SuperSource& def = chart_.definition;
  const double birthUt = chartmath::UtOf(def.sources[0]).days;
  double factor = GetTimeFactor(def);
  if (factor == 0.0 || !std::isfinite(factor)) factor = 1.0;
  const Source* base = def.GetBaseSource();
  const double zoneDays = (base ? base->zone : def.sources[0].zone).GetCorrectionHours() / 24.0;
  events_.reserve(points_.size());
  for (std::size_t k = 0; k < points_.size(); ++k) {
    if (progress) {
      if (progress->Cancelled()) break;
      progress->SetPos(static_cast<int>(100 * k / points_.size()));
    }
    const LunarTransitPoint& p = points_[k];
    CrossingPair pair;
    pair.body = kMoon;
    if (settings_.target == 0 && !p.IsIngress()) {
      // A moving point: the Moon meets the point's own longitude of the moment, shifted.
      const Aspect* aspect =
          p.aspect >= 0 && p.aspect < system.Count() ? &system.GetAspect(p.aspect) : nullptr;
      const double angle = aspect ? aspect->angle : 0.0;
      const double orb = aspect ? aspect->Orb(OrbColumnOfClass(p.orbClass)) : 0.0;
      const int phase = p.phase == 'I' ? -1 : p.phase == 'O' ? 1 : 0;
      pair.target = p.target;
      pair.offset = (p.side == 'L' ? -angle : angle) + phase * orb;
      pair.lunarPoints = chartmath::VariantOfPoint(ctx.Calculation(), p.target);
    } else {
      pair.fixedLongitude = p.moonTarget;
    }
    // The Moon runs forward only, so its longitude lies in the window exactly while the moment
    // lies in the period: the events found within the period are kept, any other is dropped. A
    // period of a lunar month or more (or a target running back against the Moon) can meet one
    // target twice; each meeting is an event.
    JdUt from{w.lo};
    for (int meeting = 0; meeting < kMaxMeetings; ++meeting) {
      const CrossingResult r =
          FindNextCrossing(ctx.GetEphemeris(), pair, from, JdUt{w.hi}, kTolerance);
      if (!r.found) break;
      from = r.moment;
      LunarTransitEvent e;
      static_cast<LunarTransitPoint&>(e) = p;
      const double lifeUt = birthUt + (r.moment.days - birthUt) / factor;
      e.julianDay = lifeUt + zoneDays;
      if (!e.when.SetMoment(e.julianDay).ok()) continue;
      events_.push_back(e);
    }
  }
  if (progress) progress->SetPos(100);
}

void CLunarTrans::SortEvents() {
  std::stable_sort(events_.begin(), events_.end(),
                   [](const LunarTransitEvent& a, const LunarTransitEvent& b) {
                     return a.julianDay < b.julianDay;
                   });
}

int CLunarTrans::Compute(const ChartContext& ctx, platform::ProgressSink* progress) {
  points_.clear();
  events_.clear();
  firstLongitude_ = lastLongitude_ = kAbsent;
  problem_ = Status::Ok();
  const AspectSystem* system = ctx.FindSystem(settings_.aspectSystem);
  if (!system) {
    problem_ = Status::Message(kMsgNoSuchAspectSystem);
    ReportStatus(problem_, "CLunarTrans::Compute");
    return -1;
  }
  Window w;
  if (DefineWindow(ctx, w)) {
    firstLongitude_ = chartmath::BodyAt(ctx, kMoon, JdUt{w.lo}).longitude;
    lastLongitude_ = chartmath::BodyAt(ctx, kMoon, JdUt{w.hi}).longitude;
    if (w.hi > w.lo) {
      if (settings_.target == 0) {
        BuildPoints(ctx, *system, chart_, w);
      } else {
        Chart natal;
        natal.definition.SetKind(kChartNatal);
        natal.definition.sources[0] = chart_.definition.sources[0];
        if (ChartCalculate(ctx, natal).ok()) BuildPoints(ctx, *system, natal, w);
      }
      if (settings_.ingresses == 1) AddIngresses(*system, w);
    }
  }
  if (progress) progress->Begin();
  if (!points_.empty()) TimeEvents(ctx, *system, w, progress);
  if (progress) progress->End();
  SortEvents();
  const bool cancelled = progress && progress->Cancelled();
  if (events_.empty() && !cancelled) {
    problem_ = Status::Message(kMsgNoTransitInInterval);
    ReportStatus(problem_, "CLunarTrans::Compute");
    return -1;
  }
  return events_.empty() ? -1 : EventCount();
}
