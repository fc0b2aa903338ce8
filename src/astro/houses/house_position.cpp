#include "astro/houses/house_position.h"

#include <cmath>

#include "astro/houses/house_geometry.h"
#include "foundation/numbers/angles.h"

using house_geometry::Norm360;

namespace {

bool Usable(double deg) { return std::isfinite(deg) && !IsAbsent(deg); }

bool AllUsable(const std::array<double, 12>& cusps) {
  for (double c : cusps) {
    if (!Usable(c)) return false;
  }
  return true;
}

struct Arc {
  double start, length;  // forward from start
};

Arc HouseArc(const std::array<double, 12>& cusps, int house) {
  const double from = Norm360(cusps[house]);
  const double to = Norm360(cusps[(house + 1) % 12]);
  if (RunsBackwards(cusps)) return {to, Norm360(from - to)};
  return {from, Norm360(to - from)};
}

}  // namespace

// The forward arcs from each cusp to the next add up to one circle when the cusps follow the
// signs, and to eleven when they run backwards.
bool RunsBackwards(const std::array<double, 12>& cusps) {
  double total = 0.0;
  for (int i = 0; i < 12; ++i) total += Norm360(cusps[(i + 1) % 12] - cusps[i]);
  return total > 720.0;
}

int HouseOfLongitude(const std::array<double, 12>& cusps, double longitudeDeg) {
  if (!Usable(longitudeDeg) || !AllUsable(cusps)) return -1;
  const bool backwards = RunsBackwards(cusps);
  const double lon = Norm360(longitudeDeg);
  for (int i = 0; i < 12; ++i) {
    const double from = Norm360(cusps[i]);
    const double to = Norm360(cusps[(i + 1) % 12]);
    if (backwards ? Norm360(from - lon) < Norm360(from - to)
                  : Norm360(lon - from) < Norm360(to - from)) {
      return i;
    }
  }
  return 0;  // not reached: the twelve arcs together go round the whole circle
}

std::vector<int> InterceptedSigns(const std::array<double, 12>& cusps, int house) {
  if (!AllUsable(cusps)) return {};
  const Arc arc = HouseArc(cusps, ((house % 12) + 12) % 12);
  const int first = static_cast<int>(arc.start / 30.0) % 12;
  const double end = arc.start + arc.length;
  int count =
      static_cast<int>(std::floor(end / 30.0)) - static_cast<int>(std::floor(arc.start / 30.0)) + 1;
  if (arc.length > 0.0 && std::fmod(end, 30.0) == 0.0) --count;  // ends where a sign begins
  if (count > 12) count = 12;
  std::vector<int> signs;
  for (int k = 0; k < count; ++k) signs.push_back((first + k) % 12);
  return signs;
}
