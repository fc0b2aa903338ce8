#include "astro/chart/chart_services.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/chart/rise_set.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/time_scales.h"
#include "astro/houses/angles.h"

using chartmath::BodyAt;
using chartmath::UtOf;
using chartmath::Wrap180;

namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
constexpr double kPolarLatitude = 66.5;
// The obliquity of J2000 (IAU 2006), for a chart whose moment gives none.
constexpr double kObliquityJ2000Deg = 23.4392794444;

// The longitude that an operand code of an Arabic part names; -777.0 when absent or unknown.
double OperandLongitude(const ChartContext& ctx, const Chart& chart, int code) {
  if (code >= 0 && code < kBodyCount) return chart.GetPointLongitude(code).Get();
  if (code >= 30 && code < 42) return chart.GetCusp(code - 30).Get();
  if (code >= 42 && code < 54) {
    const AngleValue cusp = chart.GetCusp(code - 42);
    if (!cusp.IsSet()) return kAbsent;
    const int sign = static_cast<int>(cusp.Get() / 30.0) % 12;
    const int ruler = ctx.Config().signRulers[sign];
    return ruler >= 0 && ruler < kBodyCount ? chart.GetPointLongitude(ruler).Get() : kAbsent;
  }
  return kAbsent;
}

// The Universal Time of the next (span > 0) or previous (span < 0) passage of the longitude over
// the angle.
std::optional<double> AngleEvent(const ChartContext& ctx, int body, int selector, double longitude,
                                 const Place& place, double fromUt, double spanDays) {
  return FindAnglePassage(ctx, body, selector, longitude, place, fromUt, spanDays).ut;
}

// The moment on the clock of `source` of a Universal Time.
bool LocalMoment(const Source& source, double ut, Moment& out) {
  Moment m;
  if (!m.SetMoment(ut + source.zone.GetCorrectionHours() / 24.0).ok()) return false;
  out = m;
  return true;
}

double Elongation(const ChartContext& ctx, double ut) {
  const JdUt t{ut};
  return AngleDifference360(BodyAt(ctx, 0, t).longitude, BodyAt(ctx, 1, t).longitude);
}

// The number of intervals between two moonrises (the Moon's degree on the Ascendant) at UT
// `first` and `last`, from where the Moon and the sidereal time stand at the two alone. At each
// rise the right ascension of the meridian is the Moon's degree's A, which grows with the degree
// (a turn of the degree, a turn of A, below the polar circle) and differs from it by less than
// 100 degrees: between the rises the meridian makes one turn per interval plus the turns of A,
// whose growth is the Moon's (known to a few tens of degrees from its mean motion, exactly from its
// places) plus the change of A less the degree. Nothing when the figure is not a whole number of
// turns to a quarter of a turn, or the rises are more than a lunation apart.
std::optional<int> MoonriseIntervals(const ChartContext& ctx, double first, double last) {
  constexpr double kSiderealDegPerDay = 360.98564736629, kMoonMeanDegPerDay = 13.176358;
  const double days = last - first;
  if (!(days >= 0.0) || days > 31.0) return std::nullopt;
  const double moonFirst = BodyAt(ctx, 1, JdUt{first}).longitude;
  const double moonLast = BodyAt(ctx, 1, JdUt{last}).longitude;
  const double meridianFirst = GreenwichApparentSiderealDeg(JdUt{first});
  const double meridianLast = GreenwichApparentSiderealDeg(JdUt{last});
  const double meridianTurned =
      Wrap180(meridianLast - meridianFirst - kSiderealDegPerDay * days) + kSiderealDegPerDay * days;
  const double moonMoved =
      Wrap180(moonLast - moonFirst - kMoonMeanDegPerDay * days) + kMoonMeanDegPerDay * days;
  // A less the degree, centred on the 90 degrees between the meridian and the Ascendant.
  const auto aLessDegree = [](double meridian, double moon) {
    return Wrap180(meridian - moon + 90.0) - 90.0;
  };
  const double turns =
      (meridianTurned - moonMoved -
       (aLessDegree(meridianLast, moonLast) - aLessDegree(meridianFirst, moonFirst))) /
      360.0;
  const double whole = std::round(turns);
  if (std::fabs(turns - whole) > 0.25 || whole < 0.0) return std::nullopt;
  return static_cast<int>(whole);
}

// The last new moon at or before `ut` (to a second): from the elongation and the two speeds at
// `ut`, then Newton steps on the elongation (two or three, each two positions). Nothing when the
// steps do not settle.
std::optional<double> LastNewMoon(const ChartContext& ctx, double ut) {
  constexpr int kMaxSteps = 8;
  const auto elongationAndRate = [&ctx](double t, double& rate) {
    const BodyPosition sun = BodyAt(ctx, 0, JdUt{t}), moon = BodyAt(ctx, 1, JdUt{t});
    rate = moon.speed - sun.speed;
    return AngleDifference360(sun.longitude, moon.longitude);
  };
  double rate = 0.0;
  const double since = elongationAndRate(ut, rate);  // [0, 360): the Moon's arc past the Sun
  if (!(rate > 5.0)) return std::nullopt;
  double t = ut - since / rate;
  for (int step = 0; step < kMaxSteps; ++step) {
    const double move = Wrap180(elongationAndRate(t, rate)) / rate;
    if (!(rate > 5.0)) return std::nullopt;
    t -= move;
    if (std::fabs(move) < kSecondDays) return t <= ut ? std::optional<double>(t) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

double Chart::CalculateArabicPart(const ChartContext& ctx, const Chart& chart, int a, int b, int c,
                                  int op1, int op2, bool dayNightRule) {
  const double la = OperandLongitude(ctx, chart, a), lb = OperandLongitude(ctx, chart, b),
               lc = OperandLongitude(ctx, chart, c);
  if (IsAbsent(la) || IsAbsent(lb) || IsAbsent(lc)) return kAbsent;
  const bool day = !dayNightRule || chart.IsDayChart();
  // +1 add, -1 subtract, 0 an unknown operator.
  const auto sign = [day](int op) {
    switch (op) {
      case 0:
        return 1;
      case 1:
        return -1;
      case 2:
        return day ? 1 : -1;
      case 3:
        return day ? -1 : 1;
      default:
        return 0;
    }
  };
  const int s1 = sign(op1), s2 = sign(op2);
  if (s1 == 0 || s2 == 0) return kAbsent;
  return NormalizeDegrees(la + s1 * lb + s2 * lc);
}

bool Chart::IsDayChart() const {
  const AngleValue sun = points[0].longitude;
  const AngleValue asc = ascendant.IsSet() ? ascendant : cusps[0];
  if (!sun.IsSet() || !asc.IsSet()) return true;
  const Source& source = ComputingSource(definition);
  const double latitude = source.place.LatitudeDeg();
  const JdTt tt = ToTt(UtOf(source));
  double obliquity = MeanObliquityDeg(tt) + NutationAt(tt).obliquityDeg;
  if (!std::isfinite(obliquity)) obliquity = kObliquityJ2000Deg;
  // The horizon that has this Ascendant at the chart's latitude: the Ascendant's degree stands on
  // it at hour angle -H0 or +H0; the meridian is the one of the two whose rising degree it is.
  const Equatorial a = EclipticToEquatorial(asc.Get(), 0.0, obliquity);
  const double cosH0 = std::clamp(-TanDeg(latitude) * TanDeg(a.declination), -1.0, 1.0);
  const double h0 = std::acos(cosH0) * 180.0 / M_PI;
  double ramc = a.rightAscension - h0;
  const double other = a.rightAscension + h0;
  if (AngleDifference180(AscendantDeg(other, latitude, obliquity), asc.Get()) <
      AngleDifference180(AscendantDeg(ramc, latitude, obliquity), asc.Get()))
    ramc = other;
  // Day when the Sun's centre is above that horizon. Below the polar circles this is the Sun
  // between the Descendant and the Ascendant through the MC; beyond them the MC may lie below
  // the horizon and only the altitude tells.
  const Equatorial s = EclipticToEquatorial(sun.Get(), points[0].latitude, obliquity);
  return SinDeg(latitude) * SinDeg(s.declination) +
             CosDeg(latitude) * CosDeg(s.declination) * CosDeg(ramc - s.rightAscension) >
         0.0;
}

bool Chart::FindRiseSetMoment(const ChartContext& ctx, int body, int selector, bool following,
                              Moment& out, double longitude) const {
  const Source& source = ComputingSource(definition);
  const std::optional<double> t = AngleEvent(ctx, body, selector, longitude, source.place,
                                             UtOf(source).days, following ? 2.0 : -2.0);
  return t && LocalMoment(source, *t, out);
}

bool Chart::FindNearestRiseSet(const ChartContext& ctx, int body, int selector, Moment& out,
                               double longitude) const {
  const Source& source = ComputingSource(definition);
  const double now = UtOf(source).days;
  const std::optional<double> before =
      AngleEvent(ctx, body, selector, longitude, source.place, now, -2.0);
  const std::optional<double> after =
      AngleEvent(ctx, body, selector, longitude, source.place, now, 2.0);
  if (!before && !after) return false;
  const double t = !before  ? *after
                   : !after ? *before
                            : (now - *before <= *after - now ? *before : *after);
  return LocalMoment(source, t, out);
}

bool Chart::FindRiseSetOnDate(const ChartContext& ctx, int selector, int body, Moment& out) const {
  if (selector != 0 && selector != 1) return false;
  const FDate& date = ComputingSource(definition).moment.date;
  Moment event;
  if (FindRiseSetMoment(ctx, body, selector, false, event) && event.date == date) {
    out = event;
    return true;
  }
  if (FindRiseSetMoment(ctx, body, selector, true, event) && event.date == date) {
    out = event;
    return true;
  }
  return false;
}

int Chart::GetLunarDay(const ChartContext& ctx) const {
  const Source& source = ComputingSource(definition);
  if (std::fabs(source.place.LatitudeDeg()) > kPolarLatitude) return -1;
  const double now = UtOf(source).days;
  // The last new moon: the elongation passing 0 upwards, searched backwards.
  const auto elongation = [&ctx](double t) { return Wrap180(Elongation(ctx, t)); };
  std::optional<double> newMoon = LastNewMoon(ctx, now + kSecondDays);
  if (!newMoon)
    newMoon = chartmath::FindUpwardZero(elongation, now + kSecondDays, -31.0, 1.0, kSecondDays);
  if (!newMoon) return -1;
  const std::optional<double> first = AngleEvent(ctx, 1, 0, kAbsent, source.place, *newMoon, 2.0);
  if (!first || *first > now) return 1;
  const std::optional<double> last = AngleEvent(ctx, 1, 0, kAbsent, source.place, now, -2.0);
  // The two searches settle on the same moonrise to a fraction of a second, from either side.
  if (last && *last >= *first - kSecondDays) {
    if (const std::optional<int> between = MoonriseIntervals(ctx, *first, std::max(*first, *last)))
      return 2 + *between;
  }
  // Moonrise after moonrise from the first.
  int day = 2;
  double t = *first;
  for (int i = 0; i < 31; ++i) {
    const std::optional<double> rise = AngleEvent(ctx, 1, 0, kAbsent, source.place, t, 2.0);
    if (!rise || *rise > now) break;
    ++day;
    t = *rise;
  }
  return day;
}

int Chart::GetKarmicCoefficient(const ChartContext& ctx) const {
  const AspectSystem* system = ctx.SystemOrCurrent(definition.AspectSystemName());
  if (system == nullptr) return 0;
  int all = 0, karmic = 0;
  for (int a = 0; a < 10; ++a) {
    for (int b = a + 1; b < 10; ++b) {
      const AngleValue la = GetPointLongitude(a), lb = GetPointLongitude(b);
      if (!la.IsSet() || !lb.IsSet()) continue;
      const int orbClass = ctx.Config().GetPairOrbClass(a, b);
      const AspectMatch m =
          system->FindAspectBetween(la.Get(), lb.Get(), OrbColumnOfClass(orbClass));
      if (!m.Found()) continue;
      ++all;
      if (m.type == kAspectKarmic) ++karmic;
    }
  }
  return all == 0 ? 0 : RoundToNearest(100.0 * karmic / all);
}

double Chart::FindLunarAspectMoment(const ChartContext& ctx, Moment& moment, int point,
                                    double angle, double offset, int forward,
                                    double toleranceArcmin) const {
  if (point < 0 || point > kPointVertex) return kAbsent;
  // The moment is on the clock of the Source the chart is computed for; the Moon and the point are
  // taken as the ephemeris gives them there (the points 30..33 from a natal chart cast there).
  Chart work = *this;
  work.definition.SetKind(kChartNatal);
  work.definition.sources[0] = ComputingSource(definition);
  const double zoneDays = work.definition.sources[0].zone.GetCorrectionHours() / 24.0;
  const double shift = angle + offset;
  // Only the moments at which the places of the Moon and the point are known are searched (the
  // points 30..33 wherever the Moon's is): a search that starts outside them, or runs out of them,
  // still finds what lies inside.
  constexpr double kSearchDays = 40.0;
  const double start = moment.JulianDay();
  JdUt knownFrom{start - zoneDays - kSearchDays}, knownTo{start - zoneDays + kSearchDays};
  if (!ClipToKnownSpan({1, point < kBodyCount ? point : 1}, knownFrom, knownTo)) return kAbsent;
  const double lo = knownFrom.days + zoneDays, hi = knownTo.days + zoneDays;
  double target = kAbsent;
  const auto gap = [&](double localJd) {
    const JdUt ut{localJd - zoneDays};
    const double moon = BodyAt(ctx, 1, ut).longitude;
    double lon;
    if (point < kBodyCount) {
      lon = BodyAt(ctx, point, ut).longitude;
    } else {
      Moment m;
      if (!m.SetMoment(localJd).ok()) return 0.0;
      work.definition.sources[0].AssignMoment(m);
      if (!work.CalculatePositions(ctx, 0).ok()) return 0.0;
      lon = work.points[point].longitude.Get();
      if (IsAbsent(lon)) return 0.0;
    }
    target = NormalizeDegrees(lon + shift);
    return Wrap180(moon - target);
  };
  const double tol = std::max(toleranceArcmin, 0.01) / 60.0;
  for (int pass = 0; pass < 2; ++pass) {
    const bool ahead = (pass == 0) == (forward == 1);
    const double from = std::clamp(start, lo, hi);
    // The Moon gains 10 to 15 degrees a day on any point: scan in half days, then refine.
    const std::optional<double> t =
        chartmath::FindUpwardZero(gap, from, ahead ? hi - from : lo - from, 0.5, kSecondDays);
    if (!t || std::fabs(gap(*t)) > tol) continue;
    Moment found;
    if (!found.SetMoment(*t).ok()) continue;
    moment = found;
    return target;
  }
  return kAbsent;
}

bool SeekLuminaryLongitude(const ChartContext& ctx, Source& source, int body, int reference,
                           double longitude, double angle, int forward, double stepFactor) {
  if (body != 0 && body != 1) return false;
  if (reference >= kBodyCount || (reference < 0 && IsAbsent(longitude))) return false;
  const double daily = body == 1 ? 13.0 : 1.0;
  const double factor = stepFactor > 0.0 ? stepFactor : 1.0;
  const double start = UtOf(source).days;
  double t = start;
  const double span = body == 1 ? 60.0 : 400.0;
  for (int i = 0; i < 200 && std::fabs(t - start) <= span; ++i) {
    const JdUt ut{t};
    // The reference's place must be known at every step, not only at the start.
    const BodyPosition ref = reference < 0 ? BodyPosition{} : BodyAt(ctx, reference, ut);
    if (!ref.known) return false;
    const double base = reference < 0 ? longitude : ref.longitude;
    const double target = NormalizeDegrees(base + angle);
    const double lon = BodyAt(ctx, body, ut).longitude;
    // The arc still to go in the direction of the search on the first step, then the nearer way.
    double remaining =
        i == 0 ? (forward == 1 ? AngleDifference360(lon, target) : -AngleDifference360(target, lon))
               : Wrap180(target - lon);
    if (std::fabs(Wrap180(target - lon)) <= 1.0 / 60.0) {
      return chartmath::MoveSourceToUt(source, t).ok();
    }
    t += remaining / daily * factor;
  }
  return false;
}
