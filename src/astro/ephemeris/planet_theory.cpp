#include "astro/ephemeris/planet_theory.h"

#include "astro/ephemeris/series_sets.h"

void HeliocentricState(Planet p, double jdTt, Vector3& positionAu, Vector3& velocityAuPerDay) {
  FullSeries().PlanetState(p, jdTt, positionAu, velocityAuPerDay);
}
