#include "forecast/core/transit_dispatch.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/longitudes.h"
#include "astro/ephemeris/speed_limits.h"
#include "forecast/core/transit_bodies.h"
#include "foundation/numbers/angles.h"

namespace {

using namespace transit_body;

// Every crossing of one target longitude within the period.
void AppendMoments(const TransitSearchContext& context, int body, double target, JdUt start,
                   JdUt end, std::vector<JdUt>& moments) {
  JdUt from = start;
  for (;;) {
    const TransitResult r = NatalTargetNextTransit(context, body, target, from, end);
    if (r.status != 1 || r.moment.days > end.days || r.moment.days <= from.days) return;
    moments.push_back(r.moment);
    from = r.moment;
  }
}

}  // namespace

TransitResult NatalTargetNextTransit(const TransitSearchContext& context, int body,
                                     double natalLongitude, JdUt start, JdUt end) {
  if (!ClipToKnownSpan({body}, start, end)) return {};
  const bool direct = body == kSun || body == kMoon || body == kBlackMoon || body == kWhiteMoon;
  return direct ? DirectBodyNextTransit(context, body, natalLongitude, start, end)
                : PlanetNextTransit(context, body, natalLongitude, start, end);
}

int FasterBody(int a, int b) { return GetPlanetTurn(b) < GetPlanetTurn(a) ? b : a; }

int SearchFasterBody(int a, int b) {
  const auto inner = [](int x) { return x == kMercury || x == kVenus; };
  if (a == kSun && inner(b)) return b;
  if (b == kSun && inner(a)) return a;
  if (inner(a) && inner(b)) return kMercury;
  return FasterBody(a, b);
}

int MovingPairMeasuredBody(int faster, int slower) {
  return slower == kSun && (faster == kMercury || faster == kVenus) ? kSun : faster;
}

TransitResult MovingPairNextTransit(const TransitSearchContext& context, int faster, int slower,
                                    JdUt start, JdUt end) {
  if (!ClipToKnownSpan({faster, slower}, start, end)) return {};
  const int s = slower;
  switch (faster) {
    case kSun:
      return FastPointNextTransit(context, kSun, s, start, end);
    case kMercury:
      if (s == kSun) return Sun2MercuryOrVenusNextTransit(context, kMercury, start, end);
      if (s == kVenus) return Mercury2VenusNextTransit(context, start, end);
      return MercuryOrVenusNextTransit(context, kMercury, s, start, end);
    case kVenus:
      if (s == kSun) return Sun2MercuryOrVenusNextTransit(context, kVenus, start, end);
      return MercuryOrVenusNextTransit(context, kVenus, s, start, end);
    case kMars:
      return Mars2PlanetNextTransit(context, s, start, end);
    case kBlackMoon:
      if (s == kJupiter || s == kSaturn)
        return LunarPointNextTransit(context, kBlackMoon, s, start, end);
      return FastPointNextTransit(context, kBlackMoon, s, start, end);
    case kWhiteMoon:
      if (s == kJupiter) return LunarPointNextTransit(context, kWhiteMoon, s, start, end);
      return FastPointNextTransit(context, kWhiteMoon, s, start, end);
    default:
      if (faster >= kJupiter && faster <= kChiron)
        return OuterPlanetNextTransit(context, faster, s, start, end);
      return TransitResult{-1, JdUt{0.0}, 0};
  }
}

std::vector<JdUt> FixedTargetTransitMoments(const Ephemeris& ephemeris, LunarVariant lunarPoints,
                                            int body, double targetLongitude, double angle,
                                            JdUt start, JdUt end) {
  std::vector<JdUt> moments;
  if (IsAbsent(targetLongitude) || !std::isfinite(targetLongitude) || !std::isfinite(angle))
    return moments;
  const TransitSearchContext context{ephemeris, 0.0, 1, lunarPoints};
  const double plus = ShiftLongitude(targetLongitude, angle);
  const double minus = ShiftLongitudeBack(targetLongitude, angle);
  AppendMoments(context, body, plus, start, end, moments);
  if (AngleDifference180(plus, minus) > 1e-9)
    AppendMoments(context, body, minus, start, end, moments);
  std::sort(moments.begin(), moments.end(), [](JdUt x, JdUt y) { return x.days < y.days; });
  return moments;
}

std::vector<JdUt> MovingPairTransitMoments(const Ephemeris& ephemeris, LunarVariant lunarPoints,
                                           int body, int other, double angle, JdUt start, JdUt end,
                                           TargetTrack track) {
  std::vector<JdUt> moments;
  if (body == other || body == kMoon || other == kMoon || !std::isfinite(angle)) return moments;
  const int faster = SearchFasterBody(body, other);
  const int slower = faster == body ? other : body;
  const int moving = MovingPairMeasuredBody(faster, slower);
  const double alpha = Wrap360(moving == body ? angle : -angle);
  const TransitSearchContext context{ephemeris, alpha, 1, lunarPoints, track};
  double from = start.days;
  while (from <= end.days) {
    const TransitResult r = MovingPairNextTransit(context, faster, slower, JdUt{from}, end);
    if (r.status != 1 || r.moment.days < from || r.moment.days > end.days) break;
    moments.push_back(r.moment);
    from = r.moment.days + kNextSearchDays;
  }
  return moments;
}
