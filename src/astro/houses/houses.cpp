#include "astro/houses/houses.h"

#include <algorithm>
#include <cmath>

#include "astro/houses/angles.h"
#include "astro/houses/house_geometry.h"
#include "foundation/numbers/vector_state.h"

using house_geometry::CuspOfObliqueAscension;
using house_geometry::kDeg;
using house_geometry::Norm360;

namespace {

using Cusps = std::array<double, 12>;

// Cusp indices: cusps[i] begins house i + 1.
constexpr int kFirst = 0, kSecond = 1, kThird = 2, kTenth = 9, kEleventh = 10, kTwelfth = 11;

struct Sky {
  double armc, latitude, obliquity, asc, mc;
};

// Houses 4..9 lie opposite houses 10..3.
void FillOpposites(Cusps& c) {
  for (int i : {kTenth, kEleventh, kTwelfth, kFirst, kSecond, kThird}) {
    c[(i + 6) % 12] = Norm360(c[i] + 180.0);
  }
}

Cusps EqualFrom(double firstCuspDeg) {
  Cusps c;
  for (int i = 0; i < 12; ++i) c[i] = Norm360(firstCuspDeg + 30.0 * i);
  return c;
}

// The quadrants from MC to Ascendant and from Ascendant to IC, each divided in three along the
// ecliptic. Inside the polar circles the Ascendant may fall more than half a circle after the MC;
// the IC then takes the tenth cusp so that the houses still follow the zodiac.
Cusps PorphyryCusps(const Sky& s) {
  double top = s.mc;
  if (Norm360(s.asc - s.mc) > 180.0) top = Norm360(s.mc + 180.0);
  const double upper = Norm360(s.asc - top);
  const double lower = 180.0 - upper;
  Cusps c;
  c[kTenth] = top;
  c[kEleventh] = Norm360(top + upper / 3.0);
  c[kTwelfth] = Norm360(top + 2.0 * upper / 3.0);
  c[kFirst] = s.asc;
  c[kSecond] = Norm360(s.asc + lower / 3.0);
  c[kThird] = Norm360(s.asc + 2.0 * lower / 3.0);
  FillOpposites(c);
  return c;
}

// Each cusp halfway between two Porphyry cusps: the Porphyry points are the middles of the houses.
Cusps BhavaCusps(const Sky& s) {
  const Cusps p = PorphyryCusps(s);
  Cusps c;
  for (int i = 0; i < 12; ++i) {
    const double before = p[(i + 11) % 12];
    c[i] = Norm360(before + Norm360(p[i] - before) / 2.0);
  }
  return c;
}

// Cusps 11, 12, 2, 3 on the great circles through the north and south points given by the pole
// height and the oblique ascension of each; cusps 10 and 1 are the MC and the Ascendant.
template <typename PoleAndAscension>
Cusps CircleCusps(const Sky& s, PoleAndAscension poleAndAscension) {
  Cusps c;
  c[kTenth] = s.mc;
  c[kFirst] = s.asc;
  const int houses[] = {kEleventh, kTwelfth, kSecond, kThird};
  const double steps[] = {1.0, 2.0, 4.0, 5.0};  // thirty-degree steps from the meridian
  for (int k = 0; k < 4; ++k) {
    const auto [pole, ascension] = poleAndAscension(30.0 * steps[k]);
    c[houses[k]] = CuspOfObliqueAscension(ascension, pole, s.obliquity);
  }
  FillOpposites(c);
  return c;
}

struct PoleAscension {
  double pole, ascension;
};

// The celestial equator divided in equal arcs from the meridian.
Cusps RegiomontanusCusps(const Sky& s) {
  const double tanLat = std::tan(s.latitude * kDeg);
  return CircleCusps(s, [&](double a) {
    return PoleAscension{std::atan(tanLat * std::sin(a * kDeg)) / kDeg, s.armc + a};
  });
}

// The prime vertical divided in equal arcs from the zenith.
Cusps CampanusCusps(const Sky& s) {
  const double lat = s.latitude * kDeg;
  return CircleCusps(s, [&](double a) {
    const double offset = std::atan2(std::sin(a * kDeg) * std::cos(lat), std::cos(a * kDeg));
    const double pole = std::asin(std::clamp(std::sin(lat) * std::sin(a * kDeg), -1.0, 1.0));
    return PoleAscension{pole / kDeg, s.armc + offset / kDeg};
  });
}

// Poles in equal steps of tan(latitude) / 3 between the meridian and the horizon.
Cusps TopocentricCusps(const Sky& s) {
  const double tanLat = std::tan(s.latitude * kDeg);
  return CircleCusps(s, [&](double a) {
    const double steps = a < 90.0 ? a / 30.0 : 6.0 - a / 30.0;  // 1, 2 | 2, 1
    return PoleAscension{std::atan(tanLat * steps / 3.0) / kDeg, s.armc + a};
  });
}

// The ascendants of the moments that divide the diurnal semi-arc of the MC degree in thirds.
Cusps KochCusps(const Sky& s) {
  const double mcDeclination = std::asin(std::sin(s.obliquity * kDeg) * std::sin(s.mc * kDeg));
  // Ascensional difference; NaN inside the polar circles.
  const double ad = std::asin(std::tan(s.latitude * kDeg) * std::tan(mcDeclination)) / kDeg;
  // Oblique ascensions ARMC + 30 - 2/3 AD, + 60 - 1/3 AD, + 120 + 1/3 AD, + 150 + 2/3 AD.
  return CircleCusps(s, [&](double a) {
    return PoleAscension{s.latitude, s.armc + a + ad * (a / 30.0 - 3.0) / 3.0};
  });
}

// The ascensional difference of an ecliptic degree at the latitude; NaN where the degree is
// circumpolar.
double AscensionalDifferenceDeg(double longitudeDeg, const Sky& s) {
  const double declination =
      std::asin(std::sin(s.obliquity * kDeg) * std::sin(longitudeDeg * kDeg));
  return std::asin(std::tan(s.latitude * kDeg) * std::tan(declination)) / kDeg;
}

// Placidus: each cusp is the degree that has gone a third (two thirds) of its own semi-arc. The
// degree is the fixed point of "longitude -> right ascension at that fraction of its semi-arc ->
// longitude", found by Newton's steps on the difference between the two longitudes from the
// topocentric cusp, which lies close to it (a plain fixed-point walk converges slowly at high
// latitudes). NaN where the degree is circumpolar.
double PlacidusCusp(const Sky& s, double fraction, bool aboveHorizon, double guess) {
  const double sinObliquity = std::sin(s.obliquity * kDeg);
  const double cosObliquity = std::cos(s.obliquity * kDeg);
  const double tanLatitude = std::tan(s.latitude * kDeg);
  struct Difference {
    double degrees, slope;  // the longitude reached less the one started from, its derivative
  };
  auto step = [&](double longitude) {
    // The degree's declination, its ascensional difference, the right ascension at the fraction
    // of its semi-arc and the degree of that right ascension; each one's rate by the one before.
    const double l = longitude * kDeg;
    const double sinDeclination = sinObliquity * std::sin(l);
    const double cos2Declination = 1.0 - sinDeclination * sinDeclination;
    const double cosDeclination = std::sqrt(cos2Declination);
    const double sinAd = tanLatitude * sinDeclination / cosDeclination;
    const double ad = std::asin(sinAd) / kDeg;
    const double ra =
        (aboveHorizon ? s.armc + fraction * (90.0 + ad) : s.armc + 180.0 - fraction * (90.0 - ad)) *
        kDeg;
    const double sinRa = std::sin(ra), cosRa = std::cos(ra);
    const double degree = std::atan2(sinRa, cosRa * cosObliquity) / kDeg;
    const double declinationRate = sinObliquity * std::cos(l) / cosDeclination;
    const double adRate = tanLatitude / (cos2Declination * std::sqrt(1.0 - sinAd * sinAd));
    const double degreeRate =
        cosObliquity / (sinRa * sinRa + cosRa * cosRa * cosObliquity * cosObliquity);
    return Difference{std::remainder(degree - longitude, 360.0),
                      degreeRate * fraction * adRate * declinationRate - 1.0};
  };
  double x = guess;
  Difference d = step(x);
  for (int i = 0; i < 50 && std::isfinite(d.degrees) && std::fabs(d.degrees) > 1e-10; ++i) {
    // Where the slope vanishes, a plain step of the walk.
    x = std::fabs(d.slope) > 1e-9 ? x - d.degrees / d.slope : x + d.degrees;
    d = step(x);
  }
  return std::isfinite(d.degrees) ? Norm360(x + d.degrees) : d.degrees;
}

Cusps PlacidusCusps(const Sky& s) {
  const Cusps guess = TopocentricCusps(s);
  Cusps c;
  c[kTenth] = s.mc;
  c[kFirst] = s.asc;
  c[kEleventh] = PlacidusCusp(s, 1.0 / 3.0, true, guess[kEleventh]);
  c[kTwelfth] = PlacidusCusp(s, 2.0 / 3.0, true, guess[kTwelfth]);
  c[kSecond] = PlacidusCusp(s, 2.0 / 3.0, false, guess[kSecond]);
  c[kThird] = PlacidusCusp(s, 1.0 / 3.0, false, guess[kThird]);
  FillOpposites(c);
  return c;
}

// Alcabitius: the diurnal and nocturnal semi-arcs of the Ascendant degree divided in thirds on
// the equator and carried to the ecliptic along hour circles.
Cusps AlcabitiusCusps(const Sky& s) {
  const double sda = 90.0 + AscensionalDifferenceDeg(s.asc, s);
  const double nsa = 180.0 - sda;
  Cusps c;
  c[kTenth] = s.mc;
  c[kFirst] = s.asc;
  c[kEleventh] = EclipticOfRightAscensionDeg(s.armc + sda / 3.0, s.obliquity);
  c[kTwelfth] = EclipticOfRightAscensionDeg(s.armc + 2.0 * sda / 3.0, s.obliquity);
  c[kSecond] = EclipticOfRightAscensionDeg(s.armc + 180.0 - 2.0 * nsa / 3.0, s.obliquity);
  c[kThird] = EclipticOfRightAscensionDeg(s.armc + 180.0 - nsa / 3.0, s.obliquity);
  FillOpposites(c);
  return c;
}

// The equator divided from ARMC, carried to the ecliptic along hour circles (meridian system) or
// along circles of ecliptic longitude (Morinus).
Cusps EquatorCusps(const Sky& s, bool alongEclipticLongitude) {
  Cusps c;
  const double cosE = std::cos(s.obliquity * kDeg);
  for (int i = 0; i < 12; ++i) {
    const double ra = s.armc + 30.0 * (i - kTenth);
    if (alongEclipticLongitude) {
      const double a = ra * kDeg;
      c[i] = Norm360(std::atan2(std::sin(a) * cosE, std::cos(a)) / kDeg);
    } else {
      c[i] = EclipticOfRightAscensionDeg(ra, s.obliquity);
    }
  }
  return c;
}

// Horizontal (azimuthal) houses: the vertical circles every 30 degrees of azimuth from the
// meridian, the Campanus construction with the zenith in place of the north point. Cusp 10 is the
// MC, cusp 1 the Vertex; the cusps run against the order of the signs.
Cusps HorizontalCusps(const Sky& s) {
  const double coLatitude = s.latitude > 0.0 ? 90.0 - s.latitude : -90.0 - s.latitude;
  Sky turned{Norm360(s.armc + 180.0), coLatitude, s.obliquity, 0.0, 0.0};
  // The closed formula itself: on the turned sphere "east" has no meaning.
  turned.asc = CuspOfObliqueAscension(turned.armc + 90.0, turned.latitude, turned.obliquity);
  turned.mc = MidheavenDeg(turned.armc, turned.obliquity);
  Cusps c = CampanusCusps(turned);
  for (double& cusp : c) cusp = Norm360(cusp + 180.0);
  return c;
}

bool AllFinite(const Cusps& c) {
  for (double x : c) {
    if (!std::isfinite(x)) return false;
  }
  return true;
}

Cusps SemiArcCusps(const Sky& s, int system) {
  switch (system) {
    case kHousePlacidus:
      return PlacidusCusps(s);
    case kHouseKoch:
      return KochCusps(s);
    default:
      return AlcabitiusCusps(s);
  }
}

}  // namespace

bool HasGeodeticVariant(int system) {
  switch (system) {
    case kHousePlacidus:
    case kHouseTopocentric:
    case kHouseRegiomontanus:
    case kHouseCampanus:
    case kHouseKoch:
    case kHousePorphyry:
      return true;
    default:
      return false;
  }
}

bool IsKnownHouseSystem(int code) {
  if (code >= 0 && code < kHouseSystemCount) return true;
  return IsGeodeticHouseCode(code) && code < kGeodeticHouseOffset + kHouseSystemCount &&
         HasGeodeticVariant(BaseHouseSystem(code));
}

bool HouseSystemNeedsSun(int code) { return code == kHouseSolar || code == kHouseSun; }

bool HouseSystemNeedsMoon(int code) { return code == kHouseMoon; }

bool HouseSystemHasPolarFallback(int code) {
  const int system = BaseHouseSystem(code);
  return system == kHousePlacidus || system == kHouseKoch || system == kHouseMedical;
}

double HouseArmcDeg(double greenwichSiderealDeg, double eastLongitudeDeg, int code) {
  if (IsGeodeticHouseCode(code)) return Norm360(eastLongitudeDeg);
  return Norm360(greenwichSiderealDeg + eastLongitudeDeg);
}

std::optional<Houses> HouseCusps(const HouseInput& in) {
  CleanVectorState();  // as the positions (ephemeris.cpp)
  if (!IsKnownHouseSystem(in.system)) return std::nullopt;
  if (!std::isfinite(in.armcDeg) || !std::isfinite(in.latitudeDeg) ||
      !std::isfinite(in.obliquityDeg) || std::fabs(in.latitudeDeg) > 90.0) {
    return std::nullopt;
  }
  const bool sunMissing = IsAbsent(in.sunDeg) || !std::isfinite(in.sunDeg);
  const bool moonMissing = IsAbsent(in.moonDeg) || !std::isfinite(in.moonDeg);
  if ((HouseSystemNeedsSun(in.system) && sunMissing) ||
      (HouseSystemNeedsMoon(in.system) && moonMissing)) {
    return std::nullopt;
  }

  Sky s{Norm360(in.armcDeg), in.latitudeDeg, in.obliquityDeg, 0.0, 0.0};
  s.asc = AscendantDeg(s.armc, s.latitude, s.obliquity);
  s.mc = MidheavenDeg(s.armc, s.obliquity);

  Houses h;
  h.ascendantDeg = s.asc;
  h.mcDeg = s.mc;
  h.vertexDeg = VertexDeg(s.armc, s.latitude, s.obliquity);
  h.eastPointDeg = EastPointDeg(s.armc, s.obliquity);

  const int system = BaseHouseSystem(in.system);
  switch (system) {
    case kHousePlacidus:
    case kHouseKoch:
    case kHouseMedical: {
      // Inside the polar circles some degrees never rise or set and the semi-arcs are undefined.
      const bool polar = std::fabs(s.latitude) + std::fabs(s.obliquity) >= 90.0;
      if (!polar) h.cusps = SemiArcCusps(s, system);
      h.porphyryFallback = polar || !AllFinite(h.cusps);
      if (h.porphyryFallback) h.cusps = PorphyryCusps(s);
      break;
    }
    case kHouseTopocentric:
      h.cusps = TopocentricCusps(s);
      break;
    case kHouseRegiomontanus:
      h.cusps = RegiomontanusCusps(s);
      break;
    case kHouseEqualFromMc:
      h.cusps = EqualFrom(s.mc - 270.0);
      break;
    case kHouseEqualFromAsc:
      h.cusps = EqualFrom(s.asc);
      break;
    case kHouseCampanus:
      h.cusps = CampanusCusps(s);
      break;
    case kHousePorphyry:
      h.cusps = PorphyryCusps(s);
      break;
    case kHouseMeridian:
      h.cusps = EquatorCusps(s, false);
      break;
    case kHouseMorinus:
      h.cusps = EquatorCusps(s, true);
      break;
    case kHouseSolar:
    case kHouseSun:
      h.cusps = EqualFrom(in.sunDeg);
      break;
    case kHouseMoon:
      h.cusps = EqualFrom(in.moonDeg);
      break;
    case kHouseBrahmagupta:
      h.cusps = BhavaCusps(s);
      break;
    case kHouseEarth:
    case kHouseNatural:
      h.cusps = EqualFrom(0.0);
      break;
    case kHouseSignHouse:
      h.cusps = EqualFrom(std::floor(s.asc / 30.0) * 30.0);
      break;
    case kHouseHorizontal:
      h.cusps = HorizontalCusps(s);
      break;
  }
  return h;
}
