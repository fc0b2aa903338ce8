#include "astro/ephemeris/moon_theory.h"

#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/series_data.h"

namespace {

constexpr double kArcsecToRad = M_PI / (180.0 * 3600.0);

struct Series {
  double value = 0.0, rate = 0.0;  // rate per century
};

// Sum of the terms of one coordinate (0 longitude, 1 latitude, 2 distance) at T centuries.
Series Evaluate(int coordinate, double t) {
  const auto terms = ElpTerms();
  Series out;
  for (const ElpSeries& s : ElpIndex()) {
    if (s.coordinate != coordinate) continue;
    double sum = 0.0, sumRate = 0.0;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const ElpTerm& k = terms[i];
      const double arg = k.phase + t * (k.f1 + t * (k.f2 + t * (k.f3 + t * k.f4)));
      const double argRate = k.f1 + t * (2.0 * k.f2 + t * (3.0 * k.f3 + t * 4.0 * k.f4));
      sum += k.a * std::sin(arg);
      sumRate += k.a * argRate * std::cos(arg);
    }
    const double tp = std::pow(t, s.power);
    const double tpRate = s.power == 0 ? 0.0 : s.power * std::pow(t, s.power - 1);
    out.value += tp * sum;
    out.rate += tp * sumRate + tpRate * sum;
  }
  return out;
}

}  // namespace

void MoonGeocentricState(double jdTt, Vector3& positionKm, Vector3& velocityKmPerDay) {
  const double t = (jdTt - 2451545.0) / 36525.0;
  const auto w1 = ElpMeanLongitude();
  Series v = Evaluate(0, t);
  const Series u = Evaluate(1, t);
  const Series r = Evaluate(2, t);
  v.value = w1[0] + t * (w1[1] + t * (w1[2] + t * (w1[3] + t * w1[4]))) + v.value * kArcsecToRad;
  v.rate = w1[1] + t * (2.0 * w1[2] + t * (3.0 * w1[3] + t * 4.0 * w1[4])) + v.rate * kArcsecToRad;
  const double lat = u.value * kArcsecToRad, latRate = u.rate * kArcsecToRad;

  // Mean ecliptic of date, longitudes from the fixed departure point.
  const double cv = std::cos(v.value), sv = std::sin(v.value);
  const double cu = std::cos(lat), su = std::sin(lat);
  const Vector3 p{r.value * cu * cv, r.value * cu * sv, r.value * su};
  const Vector3 dp{r.rate * cu * cv - r.value * su * latRate * cv - r.value * cu * sv * v.rate,
                   r.rate * cu * sv - r.value * su * latRate * sv + r.value * cu * cv * v.rate,
                   r.rate * su + r.value * cu * latRate};

  // Rotation about the node of the ecliptic of date onto the J2000 ecliptic (IAU 2006 angles).
  const EclipticPrecession pr = EclipticPrecessionAt(JdTt{jdTt});
  const double s = std::sin(0.5 * pr.piA);
  const double pw = s * std::sin(pr.bigPiA), qw = s * std::cos(pr.bigPiA);
  const double ra = 2.0 * std::sqrt(1.0 - pw * pw - qw * qw);
  const Matrix3 toJ2000{{{1.0 - 2.0 * pw * pw, 2.0 * pw * qw, pw * ra},
                         {2.0 * pw * qw, 1.0 - 2.0 * qw * qw, -qw * ra},
                         {-pw * ra, qw * ra, 1.0 - 2.0 * pw * pw - 2.0 * qw * qw}}};
  positionKm = toJ2000 * p;
  velocityKmPerDay = toJ2000 * (dp / 36525.0);
}
