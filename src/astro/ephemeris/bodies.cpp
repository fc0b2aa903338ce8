#include "astro/ephemeris/bodies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "astro/ephemeris/lunar_points.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/planet_theory.h"
#include "foundation/datetime/fdate.h"

namespace {

constexpr Planet kPlanets[] = {Planet::Mercury, Planet::Venus,  Planet::Mars,   Planet::Jupiter,
                               Planet::Saturn,  Planet::Uranus, Planet::Neptune};

PointPosition Compute(int point, LunarVariant variant, double jdTt, bool withSpeed) {
  const bool mean = variant == LunarVariant::Mean;
  switch (point) {
    case 0:
      return withSpeed ? ApparentSun(jdTt) : ApparentSunPlace(jdTt);
    case 1:
      return withSpeed ? ApparentMoon(jdTt) : ApparentMoonPlace(jdTt);
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
      return withSpeed ? ApparentPlanet(PlanetOfPoint(point), jdTt)
                       : ApparentPlanetPlace(PlanetOfPoint(point), jdTt);
    case kNorthNode:
    case kSouthNode: {
      const PointPosition node = withSpeed
                                     ? (mean ? MeanLunarNode(jdTt) : TrueLunarNode(jdTt))
                                     : (mean ? MeanLunarNodePlace(jdTt) : TrueLunarNodePlace(jdTt));
      return point == kSouthNode ? OppositePoint(node) : node;
    }
    case kBlackMoon:
    case kLunarPerigee: {
      const PointPosition apogee =
          withSpeed ? (mean ? MeanLunarApogee(jdTt) : OsculatingLunarApogee(jdTt))
                    : (mean ? MeanLunarApogeePlace(jdTt) : OsculatingLunarApogeePlace(jdTt));
      return point == kLunarPerigee ? OppositePoint(apogee) : apogee;
    }
    default:
      if (IsMinorBody(point)) return MinorBodyApparent(point, jdTt);
      return PointPosition{};
  }
}

}  // namespace

Planet PlanetOfPoint(int point) { return kPlanets[point - 2]; }

bool BodyKnownAt(int point, double jdTt) {
  return IsBody(point) && std::isfinite(jdTt) && MinorBodyKnownAt(point, jdTt);
}

bool BodyKnownSpan(int point, double& firstJdTt, double& endJdTt) {
  return IsBody(point) && MinorBodyKnownSpan(point, firstJdTt, endJdTt);
}

bool ClipToKnownSpan(std::initializer_list<int> points, JdUt& start, JdUt& end) {
  constexpr double kOneSecond = 1.0 / 86400.0;
  for (int point : points) {
    double first = 0.0, until = 0.0;
    if (!BodyKnownSpan(point, first, until)) continue;
    start.days = std::max(start.days, ToUt(JdTt{first}).days + kOneSecond);
    end.days = std::min(end.days, ToUt(JdTt{until}).days - kOneSecond);
  }
  return start.days <= end.days;
}

bool BodyKnownYears(int point, int& firstYear, int& lastYear) {
  double first = 0.0, end = 0.0;
  if (!IsBody(point) || !MinorBodyKnownSpan(point, first, end)) return false;
  // The year of the first day inside the span, and that of the last.
  const auto year = [](double jd) {
    return FDate::FromDayNumber(static_cast<std::int64_t>(std::floor(jd + 0.5))).AstronomicalYear();
  };
  firstYear = year(std::ceil(first - 0.5) + 0.5);
  lastYear = year(std::ceil(end - 0.5) - 0.5);
  return true;
}

PointPosition TheoryPosition(int point, LunarVariant variant, double jdTt) {
  return Compute(point, variant, jdTt, true);
}

PointPosition TheoryPlace(int point, LunarVariant variant, double jdTt) {
  return Compute(point, variant, jdTt, false);
}
