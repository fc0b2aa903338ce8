#include "forecast/core/crossing_search.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/speed_limits.h"

namespace {

// Steps shorter than this are never taken while approaching: an hour, or the time in which the
// separation can change by 0.1 degree when that is shorter (the Moon: about 9 minutes). Two
// crossings closer together than this, around a station, can be seen as none.
constexpr double kLongestFloorDays = 1.0 / 24.0;
constexpr double kFloorArcDeg = 0.1;
constexpr double kOneSecond = 1.0 / 86400.0;
// A search that has computed this many positions gives up (not found). Far above what any
// search of a period of the transit table needs; it only guarantees the end.
constexpr int kMaxEvaluations = 400000;

// The separation of the pair at a moment of UT, counting the positions computed.
class Probe {
 public:
  Probe(const Ephemeris& ephemeris, const CrossingPair& pair) : e_(ephemeris), pair_(pair) {}

  double At(double jdUt) {
    const JdTt tt = ToTt(JdUt{jdUt});
    const double lonA = e_.Position(pair_.body, tt, pair_.lunarPoints).longitude;
    ++evaluations;
    double target = pair_.fixedLongitude;
    if (pair_.target >= 0) {
      target = e_.Position(pair_.target, tt, pair_.lunarPoints).longitude;
      ++evaluations;
    }
    return SignedSeparation(lonA, target + pair_.offset);
  }
  bool Exhausted() const { return evaluations >= kMaxEvaluations; }

  int evaluations = 0;

 private:
  const Ephemeris& e_;
  const CrossingPair& pair_;
};

bool IsPast(double separation) { return separation > 0.0; }

// A change of side through the target itself, not through the opposite point (where the folded
// separation jumps between -180 and 180).
bool Crossed(double s0, double s1) {
  return IsPast(s0) != IsPast(s1) && std::fabs(s1 - s0) < 180.0;
}

bool IsUsable(const CrossingPair& pair) {
  if (!IsBody(pair.body) || !std::isfinite(pair.offset)) return false;
  if (pair.target >= 0) return IsBody(pair.target);
  return pair.target == -1 && !IsAbsent(pair.fixedLongitude) && std::isfinite(pair.fixedLongitude);
}

}  // namespace

double SignedSeparation(double longitude, double target) {
  const double d = longitude - target;
  return d - 360.0 * std::round(d / 360.0);
}

double MaxRelativeSpeed(const CrossingPair& pair) {
  const double forwardA = GetPlanetMaxSpeed(pair.body);
  const double backA = GetPlanetMaxBackSpeed(pair.body);
  if (pair.target < 0) return std::max(forwardA, backA);
  return std::max(forwardA + GetPlanetMaxBackSpeed(pair.target),
                  backA + GetPlanetMaxSpeed(pair.target));
}

CrossingResult FindNextCrossing(const Ephemeris& ephemeris, const CrossingPair& pair, JdUt start,
                                JdUt end, CrossingTolerance tolerance) {
  CrossingResult result;
  if (!IsUsable(pair) || !std::isfinite(start.days) || !std::isfinite(end.days) ||
      end.days < start.days)
    return result;
  const double speed = MaxRelativeSpeed(pair);
  const double floorDays = std::min(kLongestFloorDays, kFloorArcDeg / speed);
  const double closeDays = std::max(tolerance.days, kOneSecond);
  Probe probe(ephemeris, pair);

  // Approach: the step |s| / V can at most just reach the target.
  double lo = start.days, sLo = probe.At(lo);
  double hi = lo, sHi = sLo;
  for (;;) {
    if (lo >= end.days || probe.Exhausted()) {
      result.evaluations = probe.evaluations;
      return result;
    }
    hi = std::min(end.days, lo + std::max(floorDays, std::fabs(sLo) / speed));
    sHi = probe.At(hi);
    if (Crossed(sLo, sHi)) break;
    lo = hi;
    sLo = sHi;
  }
  // Halve the bracket, keeping its far end on the far side of the crossing.
  while (std::fabs(sHi) >= tolerance.degrees && hi - lo > closeDays && !probe.Exhausted()) {
    const double mid = 0.5 * (lo + hi);
    const double sMid = probe.At(mid);
    if (IsPast(sMid) == IsPast(sLo)) {
      lo = mid;
      sLo = sMid;
    } else {
      hi = mid;
      sHi = sMid;
    }
  }
  result.found = true;
  result.moment = JdUt{hi};
  result.evaluations = probe.evaluations;
  return result;
}
