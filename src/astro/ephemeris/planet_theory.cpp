#include "astro/ephemeris/planet_theory.h"

#include <cmath>

#include "astro/ephemeris/series_data.h"

namespace {

constexpr double kDaysPerMillennium = 365250.0;

// Value and derivative (per millennium) of one coordinate of one planet at tau.
struct Series {
  double value = 0.0, rate = 0.0;
};

Series EvaluateCoordinate(int planet, int coordinate, double tau) {
  const auto terms = VsopTerms();
  Series out;
  double tauPower = 1.0;       // tau^k
  double tauPowerBelow = 0.0;  // k tau^(k-1)
  int power = 0;
  for (const VsopSeries& s : VsopIndex()) {
    if (s.planet != planet || s.coordinate != coordinate) continue;
    while (power < s.power) {
      tauPowerBelow = (power + 1) * tauPower;
      tauPower *= tau;
      ++power;
    }
    double sum = 0.0, sumRate = 0.0;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const VsopTerm& t = terms[i];
      const double arg = t.b + t.c * tau;
      sum += t.a * std::cos(arg);
      sumRate -= t.a * t.c * std::sin(arg);
    }
    out.value += tauPower * sum;
    out.rate += tauPower * sumRate + tauPowerBelow * sum;
  }
  return out;
}

}  // namespace

void HeliocentricState(Planet p, double jdTt, Vector3& positionAu, Vector3& velocityAuPerDay) {
  const double tau = (jdTt - 2451545.0) / kDaysPerMillennium;
  const int planet = static_cast<int>(p);
  const Series l = EvaluateCoordinate(planet, 0, tau);
  const Series b = EvaluateCoordinate(planet, 1, tau);
  const Series r = EvaluateCoordinate(planet, 2, tau);
  const double cl = std::cos(l.value), sl = std::sin(l.value);
  const double cb = std::cos(b.value), sb = std::sin(b.value);
  positionAu = Vector3{r.value * cb * cl, r.value * cb * sl, r.value * sb};
  const double dl = l.rate / kDaysPerMillennium;
  const double db = b.rate / kDaysPerMillennium;
  const double dr = r.rate / kDaysPerMillennium;
  velocityAuPerDay = Vector3{dr * cb * cl - r.value * sb * db * cl - r.value * cb * sl * dl,
                             dr * cb * sl - r.value * sb * db * sl + r.value * cb * cl * dl,
                             dr * sb + r.value * cb * db};
}
