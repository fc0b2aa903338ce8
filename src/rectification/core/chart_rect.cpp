#include "rectification/core/chart_rect.h"

#include <algorithm>
#include <optional>

#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/ephemeris/speed_limits.h"
#include "astro/houses/house_position.h"
#include "foundation/errors/error_report.h"

namespace {

constexpr int kMoon = 1;
constexpr int kAscendantCusp = 0;
constexpr int kMidheavenCusp = 9;
// Planets from index 7 on (Saturn and beyond) weigh more in methods 7 and 12.
constexpr int kFirstSlowPlanet = 7;
// A planet whose greatest daily motion exceeds this counts as fast (degrees per day).
constexpr double kFastPlanetSpeed = 0.2;
// Aspect indices of ClassifyAspectAngle.
constexpr int kConjunction = 0;
constexpr int kOpposition = 1;

// The factors of one weighting row; 1 leaves the score as it is.
struct Factors {
  double minor = 1.0;    // the aspect is not major
  double side = 1.0;     // the side code is not 0
  double conj = 1.0;     // a conjunction
  double conjOpp = 1.0;  // a conjunction or an opposition
  double wide = 1.0;     // within the ordinary orb only (not the exact one)
};

bool IsFast(int planet) { return GetPlanetMaxSpeed(planet) > kFastPlanetSpeed; }

// The aspect tests and weighting steps of one method of one group.
class Scorer {
 public:
  Scorer(const EventCharts& charts, const LifeEvent& event, const RectScoringSetup& setup,
         int group, int method)
      : c_(charts),
        natal_(*charts.natal),
        event_(event),
        setup_(setup),
        system_(setup.systems[static_cast<std::size_t>(group)]),
        indices_(setup.aspectIndices[static_cast<std::size_t>(group)]),
        main_(setup.methods[static_cast<std::size_t>(method)] == kMethodMain) {}

  double Method0() const {
    const double moon = Lon(*c_.progressed, kMoon);
    double sum = 0.0;
    for (int h : event_.houses)
      sum += Weigh(moon, Cusp(h), Column1(), B(8, 4), {.minor = 0.5, .side = 2, .conj = 1.25});
    return sum;
  }

  double Method1() const {
    const double moon = Lon(*c_.progressed, kMoon);
    const Factors f{.minor = 0.5, .side = 2, .conj = 1.25};
    double sum = 0.0;
    for (int h : event_.houses) {
      if (const int r = Ruler(h, 0); r >= 0)
        sum += Weigh(moon, NatalLon(r), Column1(), B(5, 2.5), f) * Marked(r, 1.3);
      if (const int r = Ruler(h, 1); r >= 0)
        sum += Weigh(moon, NatalLon(r), Column1(), B(2, 1), f) * Marked(r, 1.3);
    }
    return sum;
  }

  double Method2() const {
    const int house = HouseOfLongitude(natal_.CuspDegrees(), Lon(*c_.progressed, kMoon));
    return event_.HasHouse(house) ? B(30, 15) : 0.0;
  }

  double Method3() const {
    const Factors f{.minor = 0.3, .side = 2, .conj = 1.5, .wide = 0.3};
    // Both switches of this scorer are on: every aspect found counts 2.5 x 2.5.
    constexpr double kSwitches = 2.5 * 2.5;
    double sum = 0.0;
    for (int h : event_.houses) {
      const int r1 = Ruler(h, 0), r2 = Ruler(h, 1);
      for (int p : setup_.dignityPlanets) {
        if (!event_.HasPlanet(p)) continue;
        const double moving = Lon(*c_.progressed, p);
        sum += Weigh(moving, Cusp(h), Pair(p, p), B(0.5, 0.25), f) * kSwitches;
        if (r1 >= 0) sum += Weigh(moving, NatalLon(r1), Pair(p, r1), B(0.5, 0.25), f) * kSwitches;
        if (r2 >= 0) sum += Weigh(moving, NatalLon(r2), Pair(p, r2), B(0.4, 0.2), f) * kSwitches;
      }
    }
    return sum;
  }

  double Method4() const {
    const Factors f{.minor = 0.5, .side = 1.2, .conj = 1.25};
    double sum = 0.0;
    for (int h : event_.houses)
      for (int p : setup_.dignityPlanets) {
        if (p == kMoon) continue;
        sum += Weigh(Lon(*c_.transit, p), Cusp(h), Pair(p, p), B(1.8, 0.9), f) * Pace(p, 0.4, 0.9) *
               Marked(p, 1.3);
      }
    return sum;
  }

  double Method5() const {
    const Factors f{.minor = 0.3, .side = 1.3, .conjOpp = 1.5, .wide = 0.3};
    double sum = 0.0;
    for (int h : event_.houses) {
      const int r1 = Ruler(h, 0), r2 = Ruler(h, 1);
      for (int p : setup_.dignityPlanets) {
        const double moving = Lon(*c_.transit, p);
        const double common = Pace(p, 0.4, 0.9) * Marked(p, 1.3);
        if (r1 >= 0) sum += Weigh(moving, NatalLon(r1), Pair(p, r1), B(2, 1), f) * common;
        if (r2 >= 0) sum += Weigh(moving, NatalLon(r2), Pair(p, r2), B(1.6, 0.8), f) * common;
      }
    }
    return sum;
  }

  double Method6() const {
    const Factors f{.minor = 0.3, .conjOpp = 1.5, .wide = 0.3};
    const Chart& transit = *c_.transit;
    const auto one = [&](int p, int ruler, double base) {
      if (ruler < 0 || ruler == p) return 0.0;
      double w = Weigh(Lon(transit, p), Lon(transit, ruler), Pair(p, ruler), base, f);
      w *= Marked(p, 1.3);
      if (IsFast(p) || IsFast(ruler)) w *= 0.5;
      if (p == kMoon || ruler == kMoon) w *= 0.1;
      return w;
    };
    double sum = 0.0;
    for (int h : event_.houses) {
      const int r1 = Ruler(h, 0), r2 = Ruler(h, 1);
      for (int p : setup_.dignityPlanets) sum += one(p, r1, B(1.2, 0.6)) + one(p, r2, B(0.8, 0.4));
    }
    return sum;
  }

  double Method7() const {
    if (event_.houses.empty()) return 0.0;
    const Factors f{.minor = 0.2, .side = 1.3, .conjOpp = 1.3, .wide = 0.6};
    double once = 0.0;
    for (int t : setup_.dignityPlanets) {
      double planetFactor = Marked(t, 1.3) * (IsFast(t) ? 0.5 : 1.0);
      planetFactor *= t == kMoon ? 0.1 : t >= kFirstSlowPlanet ? 1.3 : 1.0;
      const double moving = Lon(*c_.transit, t);
      for (int n : setup_.dignityPlanets) {
        if (!event_.HasHouse(natal_.HouseOfPoint(n))) continue;
        once += Weigh(moving, NatalLon(n), Pair(t, t), B(0.5, 0.25), f) * planetFactor;
      }
    }
    // The sum counts once for each house of the event.
    return once * static_cast<double>(event_.houses.size());
  }

  double Method8() const {
    const Factors f{.minor = 0.3, .side = 1.3, .conjOpp = 1.5, .wide = 0.3};
    const double asc = c_.directed->cusps[kAscendantCusp].Get();
    const double mc = c_.directed->cusps[kMidheavenCusp].Get();
    double sum = 0.0;
    for (int p : event_.planets) {
      sum += Weigh(NatalLon(p), asc, Pair(p, p), B(16, 8), f);
      sum += Weigh(NatalLon(p), mc, Pair(p, p), B(16, 8), f);
    }
    return sum;
  }

  double Method9() const {
    const Factors f{.minor = 0.3, .side = 1.3, .conjOpp = 1.5, .wide = 0.3};
    double sum = 0.0;
    for (int h : event_.houses)
      for (int p : setup_.dignityPlanets)
        sum += Weigh(Lon(*c_.directed, p), Cusp(h), Pair(p, p), B(3, 1.5), f) * Marked(p, 1.3);
    return sum;
  }

  double Method10() const {
    const Factors f{.minor = 0.3, .side = 1.3, .conjOpp = 1.5, .wide = 0.3};
    double sum = 0.0;
    for (int h : event_.houses) {
      const int r1 = Ruler(h, 0), r2 = Ruler(h, 1);
      for (int p : setup_.dignityPlanets) {
        const double moving = Lon(*c_.directed, p);
        if (r1 >= 0)
          sum += Weigh(moving, NatalLon(r1), Pair(p, r1), B(3.8, 1.9), f) * Marked(p, 1.3);
        if (r2 >= 0)
          sum += Weigh(moving, NatalLon(r2), Pair(p, r2), B(1.6, 0.8), f) * Marked(p, 1.3);
      }
    }
    return sum;
  }

  double Method11() const {
    const Factors f{.minor = 0.5, .side = 2, .conj = 1.5, .wide = 0.8};
    double sum = 0.0;
    for (int h : event_.houses) sum += Weigh(c_.lifePoint, Cusp(h), Column1(), B(5, 2.5), f);
    return sum;
  }

  double Method12() const {
    const Factors f{.minor = 0.3, .side = 2, .conj = 1.5, .wide = 0.3};
    double sum = 0.0;
    for (int h : event_.houses) {
      const int r1 = Ruler(h, 0), r2 = Ruler(h, 1);
      // Both tests weigh by the index of the first ruler.
      const double slow = r1 >= kFirstSlowPlanet ? 1.5 : 1.0;
      if (r1 >= 0) sum += Weigh(c_.lifePoint, NatalLon(r1), Pair(r1, r1), B(10, 5), f) * slow;
      if (r2 >= 0) sum += Weigh(c_.lifePoint, NatalLon(r2), Pair(r2, r2), B(6, 3), f) * slow;
    }
    return sum;
  }

  double Method13() const {
    const int house = HouseOfLongitude(natal_.CuspDegrees(), c_.lifePoint);
    double sum = event_.HasHouse(house) ? B(8, 4) : 0.0;
    for (int n : setup_.dignityPlanets) {
      if (!event_.HasHouse(natal_.HouseOfPoint(n))) continue;
      const AspectMatch m = system_.FindAspectBetween(c_.lifePoint, NatalLon(n), Column1());
      if (!m.Found() || m.major == 0) continue;  // major aspects only
      sum += Weigh(m, B(14, 7), {.conj = 1.5, .wide = 0.3});
    }
    return sum;
  }

 private:
  double B(double mainWeight, double additionalWeight) const {
    return main_ ? mainWeight : additionalWeight;
  }
  static double Lon(const Chart& chart, int point) {
    return point >= 0 && point < kChartPointCount
               ? chart.points[static_cast<std::size_t>(point)].longitude.Get()
               : kAbsent;
  }
  double NatalLon(int point) const { return Lon(natal_, point); }
  double Cusp(int h) const { return natal_.CuspDegrees()[static_cast<std::size_t>(h % 12)]; }
  int Ruler(int h, int row) const { return setup_.RulerOf(Cusp(h), row); }
  static OrbColumn Column1() { return OrbColumnOfClass(1); }
  OrbColumn Pair(int a, int b) const { return setup_.PairColumn(a, b); }
  double Marked(int planet, double f) const { return event_.HasPlanet(planet) ? f : 1.0; }
  // "fast": the planet can move more than 0.2 degree a day; "quick": it moves at more than half
  // its greatest speed in the transit chart. A retrograde speed is negative and never quick.
  double Pace(int planet, double fast, double quick) const {
    const double max = GetPlanetMaxSpeed(planet);
    double w = max > kFastPlanetSpeed ? fast : 1.0;
    if (2.0 * c_.transit->points[static_cast<std::size_t>(planet)].speed > max) w *= quick;
    return w;
  }

  double Weigh(double moving, double target, OrbColumn column, double base,
               const Factors& f) const {
    const AspectMatch m = system_.FindAspectBetween(moving, target, column);
    return m.Found() ? Weigh(m, base, f) : 0.0;
  }
  double Weigh(const AspectMatch& m, double base, const Factors& f) const {
    if (m.position < 0 || m.position >= static_cast<int>(indices_.size())) return 0.0;
    const int index = indices_[static_cast<std::size_t>(m.position)];
    double w = base;
    if (m.major == 0) w *= f.minor;
    if (m.side != 0) w *= f.side;
    if (index == kConjunction) w *= f.conj;
    if (index == kConjunction || index == kOpposition) w *= f.conjOpp;
    if (m.result == 0) w *= f.wide;
    return w;
  }

  const EventCharts& c_;
  const ChartRect& natal_;
  const LifeEvent& event_;
  const RectScoringSetup& setup_;
  const AspectSystem& system_;
  const std::vector<int>& indices_;
  bool main_;
};

int GroupOf(int method) {
  for (int g = 0; g < kRectGroupCount; ++g)
    if (method < kGroupFirstMethod[static_cast<std::size_t>(g) + 1]) return g;
  return kRectGroupCount;
}

// The chart that methods of `group` move.
bool HasChartFor(int group, const EventCharts& c) {
  switch (group) {
    case kGroupProgressions:
      return c.progressed != nullptr;
    case kGroupTransits:
      return c.transit != nullptr;
    case kGroupDirections:
      return c.directed != nullptr;
    default:
      return true;
  }
}

// Writes the scores of the group's methods that are on into the slots.
Status WriteGroup(int group, const EventCharts& charts, const LifeEvent& event,
                  const RectScoringSetup& setup, std::span<double> slots, int& counter) {
  for (int m = kGroupFirstMethod[static_cast<std::size_t>(group)];
       m < kGroupFirstMethod[static_cast<std::size_t>(group) + 1]; ++m) {
    if (!setup.IsOn(m)) continue;
    slots[static_cast<std::size_t>(counter++)] = ScoreMethod(m, charts, event, setup);
  }
  return Status::Ok();
}

int MethodsOnIn(int group, const RectScoringSetup& setup) {
  int n = 0;
  for (int m = kGroupFirstMethod[static_cast<std::size_t>(group)];
       m < kGroupFirstMethod[static_cast<std::size_t>(group) + 1]; ++m)
    n += setup.IsOn(m) ? 1 : 0;
  return n;
}

using MakeDerived = Status (*)(const ChartContext&, Chart&, const Chart&, const Moment&);

// Builds and computes a derived chart (with or without speeds). With a caller's context, a
// directed chart is the natal chart moved by the arc, and a progressed one takes its bodies from
// `bodies` when given.
Status BuildDerived(const ChartContext* ctx, MakeDerived make, bool withSpeeds,
                    const ChartRect& natal, const Moment& moment, Chart& derived,
                    const BodySource* bodies = nullptr) {
  // Without a context of the caller's, one snapshot of the current settings serves both steps.
  std::optional<ChartContext> own;
  if (ctx == nullptr) own.emplace(ChartContext::FromCurrentSettings());
  const ChartContext& use = ctx != nullptr ? *ctx : *own;
  Status built = make(use, derived, natal, moment);
  if (!built.ok()) return built;
  if (ctx != nullptr && make == &MakeDirected) return DirectFromComputedNatal(use, derived, natal);
  if (bodies != nullptr) return ChartCalculateWithBodies(use, derived, *bodies, withSpeeds);
  return withSpeeds ? ChartCalculate(use, derived, 0) : derived.CalculatePositions(use, 0);
}

// One group with a derived chart: built (with or without speeds) only when a method is on;
// `prebuilt`, when given, is that chart built beforehand.
Status ScoreDerivedGroup(const ChartContext* ctx, int group, MakeDerived make, bool withSpeeds,
                         const ChartRect& natal, const LifeEvent& event,
                         const RectScoringSetup& setup, std::span<double> slots, int& counter,
                         const Chart* prebuilt = nullptr, const BodySource* bodies = nullptr) {
  const int n = MethodsOnIn(group, setup);
  if (n == 0) return Status::Ok();
  if (counter < 0 || counter + n > static_cast<int>(slots.size()))
    return Status::Error(kErrParameter, "ChartRect", group);
  Chart own;
  const Chart* derived = prebuilt;
  Status built;
  if (derived == nullptr) {
    built = BuildDerived(ctx, make, withSpeeds, natal, event.moment, own, bodies);
    derived = &own;
  }
  if (!built.ok()) {
    for (int i = 0; i < n; ++i) slots[static_cast<std::size_t>(counter++)] = 0.0;
    return built;
  }
  EventCharts charts;
  charts.natal = &natal;
  if (group == kGroupProgressions) charts.progressed = derived;
  if (group == kGroupTransits) charts.transit = derived;
  if (group == kGroupDirections) charts.directed = derived;
  return WriteGroup(group, charts, event, setup, slots, counter);
}

}  // namespace

ChartRect::ChartRect(const Chart& trial) : Chart(trial) { Prepare(); }

Status ChartRect::Compute() {
  const Status st = CalculatePositions(ChartContext::FromCurrentSettings(), 0);
  Prepare();
  return st;
}

Status ChartRect::Compute(const ChartContext& ctx) {
  const Status st = CalculatePositions(ctx, 0);
  Prepare();
  return st;
}

void ChartRect::Prepare() {
  for (int h = 0; h < 12; ++h) cuspDegrees_[static_cast<std::size_t>(h)] = cusps[h].Get();
  for (int p = 0; p < 30; ++p)
    houseOfPoint_[static_cast<std::size_t>(p)] =
        HouseOfLongitude(cuspDegrees_, points[static_cast<std::size_t>(p)].longitude.Get());
}

int ChartRect::HouseOfPoint(int point) const {
  return point >= 0 && point < 30 ? houseOfPoint_[static_cast<std::size_t>(point)] : -1;
}

double ScoreMethod(int method, const EventCharts& charts, const LifeEvent& event,
                   const RectScoringSetup& setup) {
  const int group = GroupOf(method);
  if (!setup.IsOn(method) || charts.natal == nullptr || !HasChartFor(group, charts)) return 0.0;
  const Scorer s(charts, event, setup, group, method);
  switch (method) {
    case 0:
      return s.Method0();
    case 1:
      return s.Method1();
    case 2:
      return s.Method2();
    case 3:
      return s.Method3();
    case 4:
      return s.Method4();
    case 5:
      return s.Method5();
    case 6:
      return s.Method6();
    case 7:
      return s.Method7();
    case 8:
      return s.Method8();
    case 9:
      return s.Method9();
    case 10:
      return s.Method10();
    case 11:
      return s.Method11();
    case 12:
      return s.Method12();
    case 13:
      return s.Method13();
    default:
      return 0.0;
  }
}

Status ScoreProgressions(const ChartRect& natal, const LifeEvent& event,
                         const RectScoringSetup& setup, std::span<double> slots, int& counter) {
  return ScoreDerivedGroup(nullptr, kGroupProgressions, &MakeProgressed, false, natal, event, setup,
                           slots, counter);
}

Status ScoreTransits(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                     std::span<double> slots, int& counter) {
  return ScoreDerivedGroup(nullptr, kGroupTransits, &MakeTransit, true, natal, event, setup, slots,
                           counter);
}

Status ScoreDirections(const ChartRect& natal, const LifeEvent& event,
                       const RectScoringSetup& setup, std::span<double> slots, int& counter) {
  return ScoreDerivedGroup(nullptr, kGroupDirections, &MakeDirected, true, natal, event, setup,
                           slots, counter);
}

double LifePointAtEvent(const ChartRect& natal, const LifeEvent& event,
                        const RectScoringSetup& setup) {
  const Moment& birth = natal.definition.GetCountSrc().moment;
  // Checked once before a run (CheckBeforeRun): no message from inside it.
  if (birth.JulianDay() > event.moment.JulianDay()) return kAbsent;
  return LifePoint::CountPosition(setup.lifePoint, birth, event.moment);
}

Status ScoreLifePoint(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                      std::span<double> slots, int& counter) {
  const int n = MethodsOnIn(kGroupLifePoint, setup);
  if (n == 0) return Status::Ok();
  if (counter < 0 || counter + n > static_cast<int>(slots.size()))
    return Status::Error(kErrParameter, "ChartRect", kGroupLifePoint);
  EventCharts charts;
  charts.natal = &natal;
  charts.lifePoint = LifePointAtEvent(natal, event, setup);
  return WriteGroup(kGroupLifePoint, charts, event, setup, slots, counter);
}

Status ScoreEvent(const ChartRect& natal, const LifeEvent& event, const RectScoringSetup& setup,
                  std::span<double> slots) {
  std::fill(slots.begin(), slots.end(), 0.0);
  int counter = 0;
  Status first;
  const auto keep = [&](Status st) {
    if (first.ok() && !st.ok()) first = std::move(st);
  };
  keep(ScoreProgressions(natal, event, setup, slots, counter));
  keep(ScoreTransits(natal, event, setup, slots, counter));
  keep(ScoreDirections(natal, event, setup, slots, counter));
  keep(ScoreLifePoint(natal, event, setup, slots, counter));
  return first;
}

Status MakeEventTransit(const ChartContext& ctx, const ChartRect& natal, const LifeEvent& event,
                        Chart& out) {
  return BuildDerived(&ctx, &MakeTransit, true, natal, event.moment, out);
}

Status ScoreEvent(const ChartContext& ctx, const ChartRect& natal, const LifeEvent& event,
                  const RectScoringSetup& setup, std::span<double> slots, const Chart* transit,
                  const BodySource* progressed) {
  std::fill(slots.begin(), slots.end(), 0.0);
  int counter = 0;
  Status first;
  const auto keep = [&](Status st) {
    if (first.ok() && !st.ok()) first = std::move(st);
  };
  keep(ScoreDerivedGroup(&ctx, kGroupProgressions, &MakeProgressed, false, natal, event, setup,
                         slots, counter, nullptr, progressed));
  keep(ScoreDerivedGroup(&ctx, kGroupTransits, &MakeTransit, true, natal, event, setup, slots,
                         counter, transit));
  keep(ScoreDerivedGroup(&ctx, kGroupDirections, &MakeDirected, true, natal, event, setup, slots,
                         counter));
  keep(ScoreLifePoint(natal, event, setup, slots, counter));
  return first;
}
