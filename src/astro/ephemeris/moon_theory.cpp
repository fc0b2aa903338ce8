#include "astro/ephemeris/moon_theory.h"

#include "astro/ephemeris/series_sets.h"

void MoonGeocentricState(double jdTt, Vector3& positionKm, Vector3& velocityKmPerDay) {
  const MoonMotion m = FullSeries().Moon(jdTt);
  positionKm = m.position;
  velocityKmPerDay = m.velocity;
}
