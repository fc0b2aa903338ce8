#include "astro/houses/angles.h"

#include <cmath>

#include "astro/ephemeris/instant.h"
#include "astro/houses/house_geometry.h"
#include "foundation/numbers/angles.h"

using house_geometry::kDeg;
using house_geometry::Norm360;

double AscendantDeg(double armcDeg, double latitudeDeg, double obliquityDeg) {
  return house_geometry::CuspOfObliqueAscension(armcDeg + 90.0, latitudeDeg, obliquityDeg);
}

double MidheavenDeg(double armcDeg, double obliquityDeg) {
  return EclipticOfRightAscensionDeg(armcDeg, obliquityDeg);
}

double VertexDeg(double armcDeg, double latitudeDeg, double obliquityDeg) {
  // The prime vertical is the horizon of the place a quarter turn away: co-latitude, and the
  // meridian turned by half a circle. Of its two intersections with the ecliptic the Vertex is
  // the western one, whose right ascension lies within half a circle before ARMC.
  double vertex =
      house_geometry::CuspOfObliqueAscension(armcDeg + 270.0, 90.0 - latitudeDeg, obliquityDeg);
  if (Norm360(MidheavenDeg(armcDeg, obliquityDeg) - vertex) > 180.0)
    vertex = Norm360(vertex + 180.0);
  return vertex;
}

double EastPointDeg(double armcDeg, double obliquityDeg) {
  return EclipticOfRightAscensionDeg(armcDeg + 90.0, obliquityDeg);
}

double EclipticOfRightAscensionDeg(double raDeg, double obliquityDeg) {
  const double ra = raDeg * kDeg;
  return Norm360(std::atan2(std::sin(ra), std::cos(ra) * std::cos(obliquityDeg * kDeg)) / kDeg);
}

std::array<double, 4> CalcAngles(double julianDay, double utHours, double eastLongitudeDeg,
                                 double latitudeDeg) {
  const double midnight = std::floor(julianDay + 0.5) - 0.5;
  const Instant when = MakeInstant(JdUt{midnight + utHours / 24.0});
  const double armc = Norm360(when.apparentSiderealTimeDeg + eastLongitudeDeg);
  const double asc = AscendantDeg(armc, latitudeDeg, when.trueObliquityDeg);
  const double mc = MidheavenDeg(armc, when.trueObliquityDeg);
  return {asc, Norm360(mc + 180.0), Norm360(asc + 180.0), mc};
}
