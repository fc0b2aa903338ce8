#include "astro/chart/rise_set.h"

#include <algorithm>
#include <cmath>

#include "astro/chart/chart_math.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/instant.h"
#include "astro/houses/angles.h"
#include "foundation/numbers/angles.h"

using chartmath::Wrap180;

namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
// The moment is settled when a Newton step is shorter than this; it is then moved half as much
// past the passage, so that a search from it in the same direction finds the next one.
constexpr double kSettledDays = 0.1 * kSecondDays;
constexpr double kPastDays = 0.05 * kSecondDays;
constexpr int kMaxSteps = 8;
// Mean sidereal time gained per day of UT, degrees.
constexpr double kSiderealDegPerDay = 360.0 * kSiderealRate;
// Every degree of the ecliptic rises and sets within this latitude (90 degrees less the largest
// obliquity, with a margin).
constexpr double kClosedFormLatitude = 66.5;

// What depends on the moment only, taken once per search.
struct Frame {
  double obliquityDeg;  // true obliquity
  double equinoxesDeg;  // equation of the equinoxes, complementary terms included
};

Frame FrameAt(double ut) {
  const JdTt tt = ToTt(JdUt{ut});
  const Nutation n = NutationAt(tt);
  const double meanObliquity = MeanObliquityDeg(tt);
  return Frame{meanObliquity + n.obliquityDeg,
               n.longitudeDeg * CosDeg(meanObliquity) + EquationOfEquinoxesComplementaryDeg(tt)};
}

// The right ascension of the meridian (degrees) at which the ecliptic degree `lambda` stands on
// the angle: its right ascension for the Midheaven, that plus 180 for the Imum Coeli, its oblique
// ascension less 90 for the Ascendant and its oblique descension plus 90 (the oblique ascension
// of the opposite degree less 90) for the Descendant. Nothing when the degree does not reach the
// horizon at that latitude.
std::optional<double> ArmcOfDegree(double lambda, int selector, double latitude, double eps) {
  double ra = 0.0, dec = 0.0;
  chartmath::EclipticToEquatorial(lambda, 0.0, eps, ra, dec);
  if (selector == 2) return ra;
  if (selector == 3) return ra + 180.0;
  const double x = TanDeg(latitude) * TanDeg(dec);
  if (!(std::fabs(x) < 1.0)) return std::nullopt;
  const double ascensional = std::asin(x) * 180.0 / M_PI;
  return selector == 0 ? ra - ascensional - 90.0 : ra + ascensional + 90.0;
}

// The old way, kept for the cases the closed form does not serve: the angle of the place at each
// moment from the whole time frame, followed in steps until the degree passes it.
AnglePassage FollowAngle(const ChartContext& ctx, int body, int selector, double longitude,
                         const Place& place, double fromUt, double spanDays) {
  AnglePassage result;
  const auto offset = [&](double t) {
    const Instant when = MakeInstant(JdUt{t});
    const double armc = NormalizeDegrees(when.apparentSiderealTimeDeg + place.EastLongitudeDeg());
    double angle = selector < 2 ? AscendantDeg(armc, place.LatitudeDeg(), when.trueObliquityDeg)
                                : MidheavenDeg(armc, when.trueObliquityDeg);
    if (selector == 1 || selector == 3) angle += 180.0;
    double lon = longitude;
    if (body >= 0) {
      lon = chartmath::BodyAt(ctx, body, JdUt{t}).longitude;
      ++result.positions;
    }
    return Wrap180(angle - lon);
  };
  // Near the polar circles the Ascendant sweeps whole signs within minutes: finer steps there.
  const double step = std::fabs(place.LatitudeDeg()) > 60.0 ? 1.0 / 144.0 : 1.0 / 24.0;
  result.ut = chartmath::FindUpwardZero(offset, fromUt, spanDays, step, 0.1 * kSecondDays);
  return result;
}

// The closed-form start and the Newton steps; nothing when they do not serve (the caller then
// follows the angle).
std::optional<double> SolvePassage(const ChartContext& ctx, int body, int selector,
                                   double longitude, const Place& place, double fromUt,
                                   double spanDays, int& positions) {
  const Frame frame = FrameAt(fromUt);
  const double latitude = place.LatitudeDeg(), east = place.EastLongitudeDeg();
  // The body's degree and its speed (degrees a day) at a moment.
  const auto bodyAt = [&](double t, double& lambda, double& speed) {
    if (body < 0) {
      lambda = longitude;
      speed = 0.0;
      return;
    }
    const BodyPosition p = chartmath::BodyAt(ctx, body, JdUt{t});
    ++positions;
    lambda = p.longitude;
    speed = p.speed;
  };
  const auto armcAt = [&](double t) {
    const JdUt ut{t};
    return GreenwichMeanSiderealDeg(ut, ToTt(ut)) + frame.equinoxesDeg + east;
  };
  // The rate at which the meridian overtakes the degree's target, degrees a day.
  const auto closingRate = [&](double lambda, double speed, double& target) {
    const std::optional<double> a = ArmcOfDegree(lambda, selector, latitude, frame.obliquityDeg);
    if (!a) return 0.0;
    target = *a;
    if (speed == 0.0) return kSiderealDegPerDay;
    constexpr double h = 0.01;
    const std::optional<double> ahead =
        ArmcOfDegree(lambda + h, selector, latitude, frame.obliquityDeg);
    const std::optional<double> behind =
        ArmcOfDegree(lambda - h, selector, latitude, frame.obliquityDeg);
    if (!ahead || !behind) return 0.0;
    return kSiderealDegPerDay - Wrap180(*ahead - *behind) / (2.0 * h) * speed;
  };

  double lambda = 0.0, speed = 0.0, target = 0.0;
  bodyAt(fromUt, lambda, speed);
  double rate = closingRate(lambda, speed, target);
  if (rate < 0.5 * kSiderealDegPerDay) return std::nullopt;
  // The first moment on the searched side at which the meridian reaches the target, the degree
  // moving on at its present speed; a passage at the start itself is not the one searched.
  const double ahead = Wrap360(target - armcAt(fromUt));  // the arc still to go, [0, 360)
  double t = spanDays > 0.0 ? fromUt + (ahead > 0.0 ? ahead : 360.0) / rate
                            : fromUt - (ahead > 0.0 ? 360.0 - ahead : 360.0) / rate;
  for (int step = 0; step < kMaxSteps; ++step) {
    bodyAt(t, lambda, speed);
    rate = closingRate(lambda, speed, target);
    if (rate < 0.5 * kSiderealDegPerDay) return std::nullopt;
    const double move = Wrap180(armcAt(t) - target) / rate;
    t -= move;
    if (std::fabs(move) < kSettledDays) {
      t += kPastDays;
      const bool wantedSide = spanDays > 0.0 ? t > fromUt : t < fromUt;
      if (!wantedSide) return std::nullopt;
      return t;
    }
  }
  return std::nullopt;
}

}  // namespace

AnglePassage FindAnglePassage(const ChartContext& ctx, int body, int selector, double longitude,
                              const Place& place, double fromUt, double spanDays) {
  AnglePassage result;
  if (selector < 0 || selector > 3 || (body < 0 && IsAbsent(longitude)) || body >= kBodyCount ||
      !std::isfinite(fromUt) || !(spanDays != 0.0) || !std::isfinite(spanDays))
    return result;
  if (body >= 0) {
    // Only the moments at which the body's place is known are searched.
    JdUt lo{std::min(fromUt, fromUt + spanDays)}, hi{std::max(fromUt, fromUt + spanDays)};
    if (!ClipToKnownSpan({body}, lo, hi)) return result;
    const double from = std::clamp(fromUt, lo.days, hi.days);
    spanDays = spanDays > 0.0 ? hi.days - from : lo.days - from;
    fromUt = from;
    if (spanDays == 0.0) return result;
  }
  if (std::fabs(place.LatitudeDeg()) < kClosedFormLatitude) {
    const std::optional<double> t =
        SolvePassage(ctx, body, selector, longitude, place, fromUt, spanDays, result.positions);
    if (t) {
      if (std::fabs(*t - fromUt) <= std::fabs(spanDays)) result.ut = t;
      return result;
    }
  }
  const int spent = result.positions;
  result = FollowAngle(ctx, body, selector, longitude, place, fromUt, spanDays);
  result.positions += spent;
  return result;
}
