// The sums of the series against the published terms summed one by one, and every analytic
// derivative of the fast path against the difference of its values.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/lunar_points.h"
#include "astro/ephemeris/planet_theory.h"
#include "astro/ephemeris/series_sets.h"

namespace {

constexpr double kJ2000 = 2451545.0;
// 3000 BC, 1200, 2000 and 2990, at odd hours.
const double kDates[] = {625700.3, 2159355.7, kJ2000 + 0.29, 2813500.9};

// One coordinate of a planet summed term by term from the published table (radians or au).
double PublishedSum(int planet, int coordinate, double jd) {
  const double tau = (jd - kJ2000) / 365250.0;
  double value = 0.0;
  for (const VsopSeries& s : VsopIndex()) {
    if (s.planet != planet || s.coordinate != coordinate) continue;
    double sum = 0.0;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i)
      sum += VsopTerms()[i].a * std::cos(VsopTerms()[i].b + VsopTerms()[i].c * tau);
    value += sum * std::pow(tau, s.power);
  }
  return value;
}

// The Moon's distance (km) summed term by term: the sum of the distance terms.
double PublishedMoonDistance(double jd) {
  const double t = (jd - kJ2000) / 36525.0;
  double value = 0.0;
  for (const ElpSeries& s : ElpIndex()) {
    if (s.coordinate != 2) continue;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const ElpTerm& k = ElpTerms()[i];
      value += k.a * std::sin(k.phase + t * (k.f1 + t * (k.f2 + t * (k.f3 + t * k.f4)))) *
               std::pow(t, s.power);
    }
  }
  return value;
}

TEST(SeriesSets, TheFullSetSumsEveryPublishedTerm) {
  for (const double jd : kDates) {
    for (int planet = 0; planet < 8; ++planet) {
      Vector3 p, v;
      FullSeries().PlanetState(static_cast<Planet>(planet), jd, p, v);
      const double l = PublishedSum(planet, 0, jd), b = PublishedSum(planet, 1, jd);
      const double r = PublishedSum(planet, 2, jd);
      const Vector3 want{r * std::cos(b) * std::cos(l), r * std::cos(b) * std::sin(l),
                         r * std::sin(b)};
      // The sums differ in the order of their additions: 1e-9 of the radius is 0.0002".
      EXPECT_LT((p - want).Length() / r, 1e-9) << "planet " << planet << " at " << jd;
    }
    EXPECT_NEAR(FullSeries().Moon(jd).position.Length(), PublishedMoonDistance(jd), 1e-6) << jd;
  }
}

struct Derivative {
  const char* name;
  std::function<double(double)> value;  // at a TT Julian day
  std::function<double(double)> rate;   // its analytic rate per day
  double tolerance;                     // relative to the largest rate
  bool degrees = false;                 // a longitude: differences taken across 360 degrees
};

// x, y and z of a vector and of its rate, chosen by `axis`.
double Axis(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

std::vector<Derivative> Derivatives() {
  std::vector<Derivative> rows;
  for (int axis = 0; axis < 3; ++axis) {
    for (const Planet planet : {Planet::Mercury, Planet::Earth, Planet::Neptune}) {
      const auto state = [planet](double jd, bool rate) {
        Vector3 p, v;
        CutSeries(jd).PlanetState(planet, jd, p, v);
        return rate ? v : p;
      };
      rows.push_back({"planet velocity", [=](double jd) { return Axis(state(jd, false), axis); },
                      [=](double jd) { return Axis(state(jd, true), axis); }, 1e-6});
    }
    rows.push_back({"moon velocity",
                    [=](double jd) { return Axis(CutSeries(jd).Moon(jd).position, axis); },
                    [=](double jd) { return Axis(CutSeries(jd).Moon(jd).velocity, axis); }, 1e-6});
    rows.push_back({"moon acceleration",
                    [=](double jd) { return Axis(CutSeries(jd).Moon(jd).velocity, axis); },
                    [=](double jd) { return Axis(CutSeries(jd).Moon(jd).acceleration, axis); },
                    1e-6});
    rows.push_back(
        {"precession",
         [=](double jd) { return PrecessionFromJ2000(JdTt{jd}).m[axis][(axis + 1) % 3]; },
         [=](double jd) { return PrecessionRateFromJ2000(JdTt{jd}).m[axis][(axis + 1) % 3]; },
         1e-6});
  }
  rows.push_back({"nutation", [](double jd) { return NutationAt(JdTt{jd}).longitudeDeg; },
                  [](double jd) {
                    double rate = 0.0;
                    NutationAt(JdTt{jd}, rate);
                    return rate;
                  },
                  1e-5, true});
  rows.push_back(
      {"mean node", [](double jd) { return MeanLunarNode(jd, DateFrameAt(JdTt{jd})).longitude; },
       [](double jd) { return MeanLunarNode(jd, DateFrameAt(JdTt{jd})).speed; }, 1e-6, true});
  rows.push_back({"mean apogee",
                  [](double jd) { return MeanLunarApogee(jd, DateFrameAt(JdTt{jd})).longitude; },
                  [](double jd) { return MeanLunarApogee(jd, DateFrameAt(JdTt{jd})).speed; }, 1e-6,
                  true});
  return rows;
}

// Central differences of +-0.002 day (their own error is far below the tolerances); the longitudes
// of the mean points are taken across 360 degrees.
TEST(SeriesSets, AnalyticRatesAgreeWithDifferencesOfTheValues) {
  constexpr double h = 0.002;
  for (const Derivative& d : Derivatives()) {
    double largest = 0.0, worst = 0.0;
    for (const double jd : kDates) {
      double difference = d.value(jd + h) - d.value(jd - h);
      if (d.degrees) difference -= 360.0 * std::round(difference / 360.0);
      largest = std::max(largest, std::fabs(d.rate(jd)));
      worst = std::max(worst, std::fabs(difference / (2 * h) - d.rate(jd)));
    }
    EXPECT_GT(largest, 0.0) << d.name;
    EXPECT_LE(worst, d.tolerance * largest) << d.name;
  }
}

}  // namespace
