#include "astro/chart/chart_definition.h"

#include <algorithm>
#include <cmath>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_math.h"
#include "foundation/numbers/angles.h"

using chartmath::BodyAt;
using chartmath::UtOf;
using chartmath::Wrap180;

namespace {

// Key units, counted from 1 (0 reads as 1): arc 1 degree (a day of progressed time), 2 minute
// (an hour), 3 second (a minute); time 1 year, 2 month, 3 day.
double ArcUnit(std::uint16_t unit, bool progression) {
  switch (unit) {
    case 2:
      return progression ? 1.0 / 24.0 : 1.0 / 60.0;
    case 3:
      return progression ? 1.0 / 1440.0 : 1.0 / 3600.0;
    default:
      return 1.0;
  }
}

double TimeUnitDays(std::uint16_t unit) {
  switch (unit) {
    case 2:
      return kTropicalYearDays / 12.0;
    case 3:
      return 1.0;
    default:
      return kTropicalYearDays;
  }
}

// Arc (or progressed days) per day of life of the user's key.
double KeyRate(const ProgressionKey& key, bool progression) {
  const double arc = std::max<int>(key.arcCount, 1) * ArcUnit(key.arcUnit, progression);
  const double time = std::max<int>(key.timeCount, 1) * TimeUnitDays(key.timeUnit);
  return arc / time;
}

double DaysOfLife(const SuperSource& d) {
  return UtOf(d.sources[1]).days - UtOf(d.sources[0]).days;
}

// The body's mean period in days, bounding the return search.
double PeriodDays(int body) {
  static constexpr double kYears[10] = {1.0,   0.0748, 1.0,   1.0,   1.881,
                                        11.86, 29.46,  84.01, 164.8, 248.1};
  return kYears[body] * kTropicalYearDays;
}

// A scan step small enough that the body's longitude cannot pass a point twice within it.
double ScanStepDays(int body) {
  static constexpr double kSteps[10] = {10.0, 1.0, 2.0, 3.0, 5.0, 10.0, 10.0, 10.0, 10.0, 10.0};
  return kSteps[body];
}

Source WithMoment(const Source& source, const Moment& local) {
  Source s = source;
  s.AssignMoment(local);
  return s;
}

Status MakeDerivedChart(const ChartContext& ctx, Chart& out, const Chart& natal,
                        const Moment& target, std::uint16_t kind) {
  const SuperSource& from = natal.definition;
  SuperSource d;
  d.sources[0] = ComputingSource(from);
  d.sources[1] = WithMoment(d.sources[0], target);
  d.sources[2] = d.sources[1];
  d.SetKind(kind);
  d.SetTitle(from.Title());
  if (from.Kind() == kind) {
    d.keyKind = from.keyKind;
    d.key = from.key;
    d.converse = from.converse;
  } else {
    d.keyKind = kind == kChartTransit ? kNoKeyKind : 0;
  }
  ResetAspectSystemName(ctx, d);
  if (Status st = DeriveCountSource(d); !st.ok()) return st;
  Chart made;
  made.definition = d;
  made.houseSystem = natal.houseSystem;
  out = made;
  return Status::Ok();
}

}  // namespace

double DefineProgressionKoef(const SuperSource& definition) {
  switch (definition.keyKind) {
    case kProgressionTertiary:
      return 1.0 / kSiderealMonthDays;
    case kProgressionMinor:
      return kSiderealMonthDays / kTropicalYearDays;
    case kProgressionMean:
      return 1.0 / kSynodicMonthDays;
    case kProgressionUserKey:
      return KeyRate(definition.key, true);
    default:
      return 1.0 / kTropicalYearDays;
  }
}

double GetTimeFactor(const SuperSource& definition) {
  const double f = definition.Kind() == kChartProgressed ? DefineProgressionKoef(definition) : 1.0;
  return definition.converse == 1 ? -f : f;
}

double GetLunarDailyArc(const SuperSource& definition) {
  switch (definition.Kind()) {
    case kChartNatal:
    case kChartHorary:
    case kChartTransit:
      return 12.0;
    default:
      return 12.0 * std::fabs(GetTimeFactor(definition));
  }
}

double DefineDirectionKoef(const ChartContext& ctx, const SuperSource& definition) {
  switch (definition.keyKind) {
    case kDirectionMeanSolarArc:
      return kSunMeanMotionDeg / kTropicalYearDays;
    case kDirectionTrueSolarArc: {
      const double days = DaysOfLife(definition);
      if (std::fabs(days) < 1.0)
        return BodyAt(ctx, 0, UtOf(definition.sources[0])).speed / kTropicalYearDays;
      return std::fabs(DirectionArc(ctx, definition)) / std::fabs(days);
    }
    case kDirectionBirthArc:
      return BodyAt(ctx, 0, UtOf(definition.sources[0])).speed / kTropicalYearDays;
    case kDirectionProfections:
      return 30.0 / kTropicalYearDays;
    case kDirectionUserKey:
      return KeyRate(definition.key, false);
    default:
      return 1.0 / kTropicalYearDays;
  }
}

double DirectionArc(const ChartContext& ctx, const SuperSource& definition) {
  const double days = DaysOfLife(definition);
  double arc;
  if (definition.keyKind == kDirectionTrueSolarArc) {
    // The secondary-progressed Sun's arc from its place at birth.
    const JdUt birth = UtOf(definition.sources[0]);
    const double natalSun = BodyAt(ctx, 0, birth).longitude;
    const double progressedSun =
        BodyAt(ctx, 0, JdUt{birth.days + days / kTropicalYearDays}).longitude;
    arc = AngleDifference360(natalSun, progressedSun);
    if (days < 0.0) arc -= 360.0;
  } else {
    arc = DefineDirectionKoef(ctx, definition) * days;
  }
  return definition.converse == 1 ? -arc : arc;
}

Status MakeMidpointSource(SuperSource& definition) {
  const Source& a = definition.sources[0];
  const Source& b = definition.sources[1];
  Source mid = a;
  if (Status st = mid.SetUniversalTime(0.5 * (UtOf(a).days + UtOf(b).days)); !st.ok()) return st;
  const double lat = 0.5 * (a.place.LatitudeDeg() + b.place.LatitudeDeg());
  const double lonA = a.place.EastLongitudeDeg();
  const double lon = Wrap180(lonA + 0.5 * Wrap180(b.place.EastLongitudeDeg() - lonA));
  const int latMinutes = RoundToNearest(std::fabs(lat) * 60.0);
  int lonMinutes = RoundToNearest(std::fabs(lon) * 60.0);
  lonMinutes = std::min(lonMinutes, 180 * 60);
  if (Status st =
          mid.place.SetPlace(latMinutes / 60, latMinutes % 60, lat < 0.0 ? 'S' : 'N',
                             lonMinutes / 60, lonMinutes % 60, lon < 0.0 ? 'W' : 'E', "", "");
      !st.ok()) {
    return st;
  }
  definition.sources[2] = mid;
  return Status::Ok();
}

Status DeriveCountSource(SuperSource& definition) {
  switch (definition.Kind()) {
    case kChartTransit:
      definition.sources[2] = definition.sources[1];
      return Status::Ok();
    case kChartProgressed:
      return InterpolateSource(definition.sources[2], definition.sources[1], definition.sources[0],
                               GetTimeFactor(definition));
    case kChartSynastry:
      if (definition.keyKind == kCompositeSwitch) return MakeMidpointSource(definition);
      return Status::Ok();
    default:
      return Status::Ok();
  }
}

const Source& ComputingSource(const SuperSource& definition) {
  if (definition.Kind() == kChartSynastry && definition.keyKind == kCompositeSwitch)
    return definition.sources[2];
  return definition.GetCountSrc();
}

Status CountMomentOfRevolution(const ChartContext& ctx, SuperSource& definition) {
  const int body = definition.key.arcCount <= 9 ? definition.key.arcCount : 0;
  const double natal = BodyAt(ctx, body, UtOf(definition.sources[0])).longitude;
  const auto offset = [&](double t) {
    return Wrap180(BodyAt(ctx, body, JdUt{t}).longitude - natal);
  };
  const double start = UtOf(definition.sources[1]).days;
  // At or after the start: begin the scan a second before it.
  const auto t = chartmath::FindUpwardZero(offset, start - 1.0 / 86400.0, 1.5 * PeriodDays(body),
                                           ScanStepDays(body), 1e-7);
  if (!t) return Status::Error(kErrParameter, "SuperSource::CountMomentOfRevolution", body);
  return chartmath::MoveSourceToUt(definition.sources[1], *t);
}

Status CountMomentOfLunarPhase(const ChartContext& ctx, SuperSource& definition) {
  const JdUt birth = UtOf(definition.sources[0]);
  const double natal =
      AngleDifference360(BodyAt(ctx, 0, birth).longitude, BodyAt(ctx, 1, birth).longitude);
  const auto offset = [&](double t) {
    const JdUt ut{t};
    return Wrap180(AngleDifference360(BodyAt(ctx, 0, ut).longitude, BodyAt(ctx, 1, ut).longitude) -
                   natal);
  };
  const double start = UtOf(definition.sources[1]).days;
  const auto t = chartmath::FindUpwardZero(offset, start - 1.0 / 86400.0, 32.0, 1.0, 1e-7);
  if (!t) return Status::Error(kErrParameter, "SuperSource::CountMomentOfLunarPhase", 1);
  return chartmath::MoveSourceToUt(definition.sources[1], *t);
}

Status MakeProgressed(const ChartContext& ctx, Chart& out, const Chart& natal,
                      const Moment& target) {
  return MakeDerivedChart(ctx, out, natal, target, kChartProgressed);
}

Status MakeTransit(const ChartContext& ctx, Chart& out, const Chart& natal, const Moment& target) {
  return MakeDerivedChart(ctx, out, natal, target, kChartTransit);
}

Status MakeDirected(const ChartContext& ctx, Chart& out, const Chart& natal, const Moment& target) {
  return MakeDerivedChart(ctx, out, natal, target, kChartDirected);
}

void ResetAspectSystemName(const ChartContext& ctx, SuperSource& definition) {
  const int slot = definition.Kind() < Configuration::kChartKindCount ? definition.Kind() : 0;
  definition.SetAspectSystemName(ctx.Config().GetSystemName(slot));
}

void CheckAspectSystemName(const ChartContext& ctx, SuperSource& definition) {
  if (ctx.FindSystem(definition.AspectSystemName()) == nullptr)
    ResetAspectSystemName(ctx, definition);
}
