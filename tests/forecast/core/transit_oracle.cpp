#include "transit_oracle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace oracle {

namespace {

double Fold(double d) { return d - 360.0 * std::floor((d + 180.0) / 360.0); }

BodyPosition At(int body, double jdUt, LunarVariant variant) {
  return Tables().Position(body, ToTt(JdUt{jdUt}), variant);
}

double TargetLongitude(const Pair& p, double jdUt) {
  const double base = p.target < 0 ? p.fixedLongitude : At(p.target, jdUt, p.variant).longitude;
  return base + p.offset;
}

// A change of side through the target, not a jump across the opposite point.
bool Crosses(double s0, double s1) { return (s0 > 0.0) != (s1 > 0.0) && std::fabs(s1 - s0) < 90.0; }

double Bisect(const Pair& pair, double lo, double sLo, double hi) {
  while (hi - lo > kSecond) {
    const double mid = 0.5 * (lo + hi);
    const double s = Separation(pair, mid);
    if ((s > 0.0) == (sLo > 0.0)) {
      lo = mid;
      sLo = s;
    } else {
      hi = mid;
    }
  }
  return 0.5 * (lo + hi);
}

}  // namespace

const Ephemeris& Tables() {
  static const Ephemeris e = [] {
    Ephemeris loaded;
    EXPECT_TRUE(loaded.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

double Separation(const Pair& pair, double jdUt) {
  return Fold(At(pair.body, jdUt, pair.variant).longitude - TargetLongitude(pair, jdUt));
}

double SeparationRate(const Pair& pair, double jdUt) {
  const double target = pair.target < 0 ? 0.0 : At(pair.target, jdUt, pair.variant).speed;
  return At(pair.body, jdUt, pair.variant).speed - target;
}

std::vector<double> Crossings(const Pair& pair, double start, double limit, double grid,
                              bool firstOnly) {
  std::vector<double> found;
  double t = start, s = Separation(pair, t);
  while (t < limit && !(firstOnly && !found.empty())) {
    const double next = std::min(limit, t + grid);
    const double sNext = Separation(pair, next);
    if (Crosses(s, sNext)) found.push_back(Bisect(pair, t, s, next));
    t = next;
    s = sNext;
  }
  return found;
}

std::optional<double> FirstCrossing(const Pair& pair, double start, double limit, double grid) {
  const std::vector<double> first = Crossings(pair, start, limit, grid, true);
  return first.empty() ? std::nullopt : std::optional<double>(first.front());
}

}  // namespace oracle
