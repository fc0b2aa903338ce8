#include "astro/ephemeris/speed_limits.h"

#include <algorithm>

namespace {

constexpr int kBodies = 30;

template <typename Field, typename Better>
double Limit(int body, Field field, Better better) {
  const MotionLimits* table = MotionLimitsTable();
  if (body >= 0 && body < kBodies) return table[body].*field;
  double most = table[0].*field;
  for (int i = 1; i < kBodies; ++i)
    if (better(table[i].*field, most)) most = table[i].*field;
  return most;
}

bool Larger(double a, double b) { return a > b; }
bool Smaller(double a, double b) { return a < b; }

}  // namespace

double GetPlanetMaxSpeed(int body) { return Limit(body, &MotionLimits::maxSpeed, Larger); }
double GetPlanetMaxBackSpeed(int body) { return Limit(body, &MotionLimits::maxBackSpeed, Larger); }
double GetPlanetMaxDirectArc(int body) { return Limit(body, &MotionLimits::maxDirectArc, Larger); }
double GetPlanetMaxBackArc(int body) { return Limit(body, &MotionLimits::maxBackArc, Larger); }
double GetPlanetTurn(int body) { return Limit(body, &MotionLimits::turnYears, Smaller); }
