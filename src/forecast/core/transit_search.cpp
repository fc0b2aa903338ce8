#include "forecast/core/transit_search.h"

#include <algorithm>

#include "forecast/core/crossing_search.h"
#include "forecast/core/transit_bodies.h"

namespace {

using namespace transit_body;
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 1.0 / 1440.0;

double P(const TransitSearchContext& c) { return std::max(1, c.precision); }

TransitResult Refused() { return TransitResult{}; }

TransitResult Run(const TransitSearchContext& c, CrossingPair pair, JdUt start, JdUt end,
                  CrossingTolerance tolerance) {
  pair.offset = c.alpha;
  pair.lunarPoints = c.lunarPoints;
  const CrossingResult r = FindNextCrossing(c.ephemeris, pair, start, end, tolerance, c.track);
  return TransitResult{r.found ? 1 : 0, r.moment, r.evaluations};
}

// A natal point is reached to one second of time, whatever the speed: near a station a slow
// planet takes hours to move one arc-second, and the list shows minutes.
TransitResult FixedTarget(const TransitSearchContext& c, int body, double natalLongitude,
                          JdUt start, JdUt end) {
  CrossingPair pair;
  pair.body = body;
  pair.fixedLongitude = natalLongitude;
  return Run(c, pair, start, end, {0.0, kSecond});
}

TransitResult MovingTarget(const TransitSearchContext& c, int a, int b, JdUt start, JdUt end,
                           CrossingTolerance tolerance) {
  CrossingPair pair;
  pair.body = a;
  pair.target = b;
  return Run(c, pair, start, end, tolerance);
}

// Tolerance P/600 degree, or a last bracket of P minutes.
CrossingTolerance SlowPairTolerance(const TransitSearchContext& c) {
  return {P(c) / 600.0, P(c) * kMinute};
}
// The crossing bracketed to P minutes of time, whatever the separation there.
CrossingTolerance MinuteScanTolerance(const TransitSearchContext& c) {
  return {0.0, P(c) * kMinute};
}

// Alpha in [0, 360).
double Alpha(const TransitSearchContext& c) { return Wrap360(c.alpha); }

}  // namespace

TransitResult DirectBodyNextTransit(const TransitSearchContext& context, int body,
                                    double natalLongitude, JdUt start, JdUt end) {
  // The true Black Moon does run backwards at times: the crossing search does not rely on
  // forward motion.
  return FixedTarget(context, body, natalLongitude, start, end);
}

TransitResult PlanetNextTransit(const TransitSearchContext& context, int body,
                                double natalLongitude, JdUt start, JdUt end) {
  return FixedTarget(context, body, natalLongitude, start, end);
}

TransitResult FastPointNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                   JdUt end) {
  const bool asteroid = b >= 11 && b <= 15;
  switch (a) {
    case kSun:
      if (b == 1 || b == kMercury || b == kVenus) return Refused();
      break;
    case kWhiteMoon:
      if (b < 6 || asteroid) return Refused();
      break;
    case kBlackMoon:
      if (b <= 6 || asteroid || b == kWhiteMoon) return Refused();
      break;
    default:
      return Refused();
  }
  const double degrees = P(context) / (a == kSun ? 1440.0 : 420.0);
  return MovingTarget(context, a, b, start, end, {degrees, P(context) * kMinute});
}

TransitResult Sun2MercuryOrVenusNextTransit(const TransitSearchContext& context, int p, JdUt start,
                                            JdUt end) {
  if (p != kMercury && p != kVenus) return Refused();
  // Beyond the greatest elongation of the planet from the Sun the aspect cannot occur: Mercury's
  // reaches 28.3 degrees, Venus's 47.8 (see docs/decisions.md).
  const double limit = p == kMercury ? 29.0 : 48.0;
  const double alpha = Alpha(context);
  if (alpha >= limit && alpha <= 360.0 - limit) return Refused();
  return MovingTarget(context, kSun, p, start, end, {P(context) / 600.0, P(context) / 3600.0});
}

TransitResult Mercury2VenusNextTransit(const TransitSearchContext& context, JdUt start, JdUt end) {
  const double alpha = Alpha(context);
  if (alpha >= 90.0 && alpha <= 270.0) return Refused();
  return MovingTarget(context, kMercury, kVenus, start, end, MinuteScanTolerance(context));
}

TransitResult MercuryOrVenusNextTransit(const TransitSearchContext& context, int p, int b,
                                        JdUt start, JdUt end) {
  // The Sun and the other inner planet have members of their own, with their elongation gates.
  if ((p != kMercury && p != kVenus) || b < kMars) return Refused();
  return MovingTarget(context, p, b, start, end, MinuteScanTolerance(context));
}

TransitResult Mars2PlanetNextTransit(const TransitSearchContext& context, int b, JdUt start,
                                     JdUt end) {
  if (b < kJupiter) return Refused();
  return MovingTarget(context, kMars, b, start, end, SlowPairTolerance(context));
}

TransitResult OuterPlanetNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                     JdUt end) {
  if (a < kJupiter || a > kChiron || b == a) return Refused();
  return MovingTarget(context, a, b, start, end, SlowPairTolerance(context));
}

TransitResult LunarPointNextTransit(const TransitSearchContext& context, int a, int b, JdUt start,
                                    JdUt end) {
  const bool handled =
      (a == kBlackMoon && (b == kJupiter || b == kSaturn)) || (a == kWhiteMoon && b == kJupiter);
  if (!handled) return Refused();
  return MovingTarget(context, a, b, start, end, SlowPairTolerance(context));
}
