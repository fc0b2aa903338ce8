#include "forecast/core/crossing_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/speed_limits.h"

namespace {

// Steps shorter than this are never taken while approaching: an hour, or the time in which the
// separation can change by 0.1 degree when that is shorter (the Moon: about 9 minutes). Two
// crossings closer together than this, around a station, are looked for where the separation
// turns within a step (FindCrossingInTurn).
constexpr double kLongestFloorDays = 1.0 / 24.0;
constexpr double kFloorArcDeg = 0.1;
constexpr double kOneSecond = 1.0 / 86400.0;
// A search that has computed this many positions gives up (not found). Far above what any
// search of a period of the transit table needs; it only guarantees the end.
constexpr int kMaxEvaluations = 400000;
// A turn of the separation within a step at the floor is followed on exact positions by at most
// this many probes, while the cubic through them says it may still reach within this many degrees
// of the target (a tenth of an arc-second).
constexpr int kTurnProbes = 6;
constexpr double kTurnSlackDeg = 0.1 / 3600.0;
// The most the separation may change in one step of the approach, degrees.
constexpr double kLargestStepArc = 179.0;

// The slower body of a moving pair is taken from cubic pieces through its positions and speeds
// at most this many days apart while the search approaches a crossing: the longest piece whose
// error stays under a few seconds of arc (more only for a body passing behind the Sun), far below
// the margin below; two days for the bodies not measured.
double TrackSpanDays(int body) {
  switch (body) {
    case 3:  // Venus
      return 4.0;
    case 4:  // Mars
      return 8.0;
    case 0:  // the Sun
      return 16.0;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:  // Jupiter .. Pluto, Chiron
    case 21:  // the White Moon
      return 32.0;
    default:
      return 2.0;
  }
}
// Steps computed on the track are shortened by this much separation, degrees, so that the track's
// error can never carry a step past a crossing.
constexpr double kTrackMarginDeg = 0.01;
// The track's speeds are widened by this much, degrees per day, where they bound a step.
constexpr double kTrackSpeedMargin = 0.01;

// The separation at one moment and its rate, degrees per day; `fitted` when the pair's slower
// body came from the track.
struct Sample {
  double t = 0.0, s = 0.0, rate = 0.0;
  double lonA = 0.0, speedA = 0.0;  // the body A, always computed
  bool fitted = false;
};

// The longest step over which a separation that may fall by `down` and rise by `up` degrees a day
// uses up neither the arc `arcDown` nor `arcUp`, nor moves by `largest` degrees.
double StepForArcs(double arcDown, double arcUp, double down, double up, double largest) {
  const auto limit = [](double arc, double rate) {
    return rate > 0.0 ? arc / rate : std::numeric_limits<double>::infinity();
  };
  const double fastest = std::max(down, up);
  const double wrapSafe = fastest > 0.0 ? largest / fastest : 0.0;
  return std::max(0.0, std::min({limit(arcDown, down), limit(arcUp, up), wrapSafe}));
}

// The longest step from separation s over which the target cannot be reached when the separation
// falls at most `down` and rises at most `up` degrees a day: s itself the way down, 360 - s the way
// up round the circle (for s below 0 the reverse), each less `margin`. A body that never runs
// backwards thus leaves a target it has just passed for most of a revolution. No step may move the
// separation by 180 degrees or more, so that a passage through the opposite point is never taken
// for a crossing.
double StepFor(double s, double margin, double down, double up) {
  const double past = std::fabs(s) - margin, round = 360.0 - std::fabs(s) - margin;
  return StepForArcs(s > 0.0 ? past : round, s > 0.0 ? round : past, down, up, kLargestStepArc);
}

// A body's longitude and speed at a moment of UT, one node of the track.
struct Node {
  double t = 0.0, longitude = 0.0, speed = 0.0;
};

// The separation of the pair at a moment of UT, counting the positions computed.
class Probe {
 public:
  Probe(const Ephemeris& ephemeris, const CrossingPair& pair, TargetTrack track, double limit)
      : e_(ephemeris), pair_(pair), limit_(limit) {
    if (track == TargetTrack::Fitted && pair.target >= 0) tracked_ = SlowerSmoothBody(pair);
    if (tracked_ >= 0) span_ = TrackSpanDays(tracked_);
    down_ = GetPlanetMaxBackSpeed(pair.body);
    up_ = GetPlanetMaxSpeed(pair.body);
    if (pair.target >= 0) {
      down_ += GetPlanetMaxSpeed(pair.target);
      up_ += GetPlanetMaxBackSpeed(pair.target);
    }
  }

  // Both bodies from the ephemeris.
  Sample Exact(double t) {
    Sample x;
    x.t = t;
    const BodyPosition a = Position(pair_.body, t);
    x.lonA = a.longitude;
    x.speedA = a.speed;
    if (pair_.target < 0) {
      x.s = SignedSeparation(a.longitude, pair_.fixedLongitude + pair_.offset);
      x.rate = a.speed;
      return x;
    }
    const BodyPosition b = Position(pair_.target, t);
    return Combine(x, b.longitude, b.speed);
  }

  // The target's slower body from the track where it covers t (extended ahead by one piece when
  // t lies within a piece's length of its end), the other body from the ephemeris.
  Sample Approach(double t) {
    if (tracked_ < 0) return Exact(t);
    const BodyPosition own = Position(tracked_ == pair_.body ? pair_.target : pair_.body, t);
    if (!haveNodes_ || t < n0_.t || t > n1_.t + span_) {
      const Node node = MakeNode(t);
      n0_ = n1_ = node;
      haveNodes_ = true;
      return Assemble(t, own, node.longitude, node.speed, false);
    }
    if (t > n1_.t) {
      n0_ = n1_;
      n1_ = MakeNode(std::max(t, std::min(n0_.t + span_, limit_)));
    }
    double lon, speed;
    Interpolate(t, lon, speed);
    return Assemble(t, own, lon, speed, t != n0_.t && t != n1_.t);
  }

  // The step from a sample: the longest one that no crossing can lie within (SafeStep), or the
  // floor when that is shorter; `floored` tells which.
  double Step(const Sample& from, double margin, double floorDays, bool& floored) {
    const double safe = SafeStep(from, margin, floorDays);
    floored = safe < floorDays;
    return std::max(floorDays, safe);
  }

  // A sample taken on the track within the track's error of the target, made exact: its side of
  // the target is then the bodies' own.
  void ConfirmNearTarget(Sample& x) {
    if (x.fitted && std::fabs(x.s) < kTrackMarginDeg) Confirm(x);
  }

  // A sample taken on the track, made exact: the slower body from the ephemeris at its moment.
  void Confirm(Sample& x) {
    if (!x.fitted) return;
    const BodyPosition b = Position(tracked_, x.t);
    if (tracked_ == pair_.target) {
      x = Combine(x, b.longitude, b.speed);
    } else {
      Sample y = x;
      y.lonA = b.longitude;
      y.speedA = b.speed;
      x = Combine(y, TargetLongitudeOf(x), TargetSpeedOf(x));
    }
    x.fitted = false;
  }

  bool Exhausted() const { return evaluations >= kMaxEvaluations; }

  int evaluations = 0;

 private:
  // The longest step from a sample that no crossing can lie within: from the bodies' motion
  // bounds, or longer where the track covers it, from the tracked body's own speeds over it and
  // the other body's bounds. `margin` is the separation the track's error may take, degrees.
  double SafeStep(const Sample& from, double margin, double floorDays) {
    const double bound = StepFor(from.s, margin, down_, up_);
    if (tracked_ < 0 || !haveNodes_ || from.t < n0_.t || from.t > n1_.t) return bound;
    if (from.t == n1_.t) {
      if (from.t + std::max(floorDays, bound) > n1_.t + span_ || from.t >= limit_) return bound;
      n0_ = n1_;
      n1_ = MakeNode(std::min(n0_.t + span_, limit_));
    }
    const double h = n1_.t - n0_.t;
    if (h <= 0.0) return bound;
    double low, high;
    SpeedRange((from.t - n0_.t) / h, low, high);
    low -= kTrackSpeedMargin;
    high += kTrackSpeedMargin;
    const int other = tracked_ == pair_.target ? pair_.body : pair_.target;
    const double up = GetPlanetMaxSpeed(other), back = GetPlanetMaxBackSpeed(other);
    // The rate of the separation (A's speed less B's) lies within [least, greatest].
    const double least = tracked_ == pair_.target ? -back - high : low - up;
    const double greatest = tracked_ == pair_.target ? up - low : high + back;
    const double fall = std::max(0.0, -least), rise = std::max(0.0, greatest);
    const double own = StepFor(from.s, margin, fall, rise);
    const double covered = n1_.t - from.t;
    if (own < covered) return std::max(bound, own);
    // Past the track's end the bounds take over from what the track's piece left of the arcs.
    const double arcDown = fall * covered, arcUp = rise * covered;
    const double past = std::fabs(from.s) - margin, round = 360.0 - std::fabs(from.s) - margin;
    const double leftDown = (from.s > 0.0 ? past : round) - arcDown;
    const double leftUp = (from.s > 0.0 ? round : past) - arcUp;
    const double beyond =
        StepForArcs(leftDown, leftUp, down_, up_, kLargestStepArc - std::max(arcDown, arcUp));
    return std::max(bound, covered + beyond);
  }

  BodyPosition Position(int body, double t) {
    ++evaluations;
    return e_.Position(body, ToTt(JdUt{t}), pair_.lunarPoints);
  }

  // The body of the pair that moves slower at its fastest, when its motion is smooth enough for
  // the track: not the Moon, nor a true node or apogee, which swing within days.
  static int SlowerSmoothBody(const CrossingPair& pair) {
    const auto fastest = [](int b) {
      return std::max(GetPlanetMaxSpeed(b), GetPlanetMaxBackSpeed(b));
    };
    const int slower = fastest(pair.target) <= fastest(pair.body) ? pair.target : pair.body;
    const bool swinging = slower >= 16 && slower <= 19 && pair.lunarPoints == LunarVariant::True;
    return slower == 1 || swinging ? -1 : slower;
  }

  Node MakeNode(double t) {
    const BodyPosition p = Position(tracked_, t);
    return Node{t, p.longitude, p.speed};
  }

  // Cubic Hermite piece between the two nodes.
  void Interpolate(double t, double& lon, double& speed) const {
    const double h = n1_.t - n0_.t;
    if (h <= 0.0) {
      lon = n0_.longitude;
      speed = n0_.speed;
      return;
    }
    const double u = (t - n0_.t) / h;
    const double d = SignedSeparation(n1_.longitude, n0_.longitude);
    const double h10 = u * (1.0 - u) * (1.0 - u), h01 = u * u * (3.0 - 2.0 * u),
                 h11 = u * u * (u - 1.0);
    lon = n0_.longitude + h10 * h * n0_.speed + h01 * d + h11 * h * n1_.speed;
    const double g10 = (1.0 - u) * (1.0 - 3.0 * u), g01 = 6.0 * u * (1.0 - u),
                 g11 = u * (3.0 * u - 2.0);
    speed = g10 * n0_.speed + g01 * d / h + g11 * n1_.speed;
  }

  // The least and greatest speed of the track's piece from u (0..1 of the piece) to its end.
  void SpeedRange(double u, double& low, double& high) const {
    const double h = n1_.t - n0_.t;
    const double m0 = n0_.speed, m1 = n1_.speed;
    const double d = SignedSeparation(n1_.longitude, n0_.longitude) / h;
    // The speed is the quadratic m0 + b u + a u^2.
    const double b = -4.0 * m0 + 6.0 * d - 2.0 * m1, a = 3.0 * m0 - 6.0 * d + 3.0 * m1;
    const auto at = [&](double x) { return m0 + x * (b + x * a); };
    low = std::min(at(u), at(1.0));
    high = std::max(at(u), at(1.0));
    if (a != 0.0) {
      const double vertex = -b / (2.0 * a);
      if (vertex > u && vertex < 1.0) {
        low = std::min(low, at(vertex));
        high = std::max(high, at(vertex));
      }
    }
  }

  // A sample from the untracked body's position and the tracked body's longitude and speed.
  Sample Assemble(double t, const BodyPosition& own, double lon, double speed, bool fitted) const {
    Sample x;
    x.t = t;
    x.fitted = fitted;
    if (tracked_ == pair_.target) {
      x.lonA = own.longitude;
      x.speedA = own.speed;
      x = Combine(x, lon, speed);
    } else {
      x.lonA = lon;
      x.speedA = speed;
      x = Combine(x, own.longitude, own.speed);
    }
    x.fitted = fitted;
    return x;
  }

  // The separation from A (in the sample) and the target body's longitude and speed.
  Sample Combine(Sample x, double lonB, double speedB) const {
    x.s = SignedSeparation(x.lonA, lonB + pair_.offset);
    x.rate = x.speedA - speedB;
    return x;
  }
  // The target body's longitude and speed as a sample holds them.
  double TargetLongitudeOf(const Sample& x) const { return x.lonA - x.s - pair_.offset; }
  double TargetSpeedOf(const Sample& x) const { return x.speedA - x.rate; }

  const Ephemeris& e_;
  const CrossingPair& pair_;
  const double limit_;
  int tracked_ = -1;   // the body taken from the track, or -1
  double span_ = 0.0;  // the longest piece of the track, days
  // The largest rates at which the separation can fall and rise, degrees per day.
  double down_ = 0.0, up_ = 0.0;
  bool haveNodes_ = false;
  Node n0_, n1_;
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

namespace {

// The next moment to probe inside the bracket [lo, hi]: a Newton step from the latest sample
// toward the separation `aim` when it lands inside and is under half the step before it, else the
// middle. A step shorter than half the time tolerance is lengthened to that, toward the crossing,
// so that the bracket closes around it.
double NextInside(const Sample& lo, const Sample& hi, const Sample& latest, double aim,
                  double closeDays, double& lastStep) {
  const double mid = 0.5 * (lo.t + hi.t);
  if (latest.rate == 0.0) return mid;
  double x = latest.t - (latest.s - aim) / latest.rate;
  // Newton's steps shrink quickly near a simple crossing; one that does not is replaced.
  if (!std::isfinite(x) || std::fabs(x - latest.t) > 0.5 * lastStep) {
    lastStep = hi.t - lo.t;
    return mid;
  }
  const double nudge = 0.5 * closeDays;
  if (std::fabs(x - latest.t) < nudge) x = latest.t + (x < latest.t ? -nudge : nudge);
  lastStep = std::fabs(x - latest.t);
  return x > lo.t && x < hi.t ? x : mid;
}

// The moment strictly inside [a, b] at which the cubic through the two samples' separations and
// rates comes closest to the target, and its separation there. False when the cubic has no
// extremum inside.
bool CubicExtremum(const Sample& a, const Sample& b, double& t, double& s) {
  const double h = b.t - a.t;
  if (!(h > 0.0)) return false;
  const double d = b.s - a.s, m0 = a.rate * h, m1 = b.rate * h;
  const auto at = [&](double u) {
    return a.s + m0 * u * (1.0 - u) * (1.0 - u) + d * u * u * (3.0 - 2.0 * u) +
           m1 * u * u * (u - 1.0);
  };
  // The cubic's derivative in u is m0 + c1 u + c2 u^2.
  const double c1 = -4.0 * m0 + 6.0 * d - 2.0 * m1, c2 = 3.0 * m0 - 6.0 * d + 3.0 * m1;
  double roots[2];
  int count = 0;
  if (c2 == 0.0) {
    if (c1 != 0.0) roots[count++] = -m0 / c1;
  } else {
    const double disc = c1 * c1 - 4.0 * c2 * m0;
    if (disc >= 0.0) {
      const double q = -0.5 * (c1 + std::copysign(std::sqrt(disc), c1));
      if (q != 0.0) roots[count++] = m0 / q;
      roots[count++] = q / c2;
    }
  }
  bool any = false;
  for (int i = 0; i < count; ++i) {
    const double u = roots[i];
    if (!(u > 0.0 && u < 1.0)) continue;
    const double value = at(u);
    if (!any || std::fabs(value) < std::fabs(s)) {
      t = a.t + u * h;
      s = value;
      any = true;
    }
  }
  return any;
}

// Moving toward the target (the separation shrinking).
bool Approaching(const Sample& x) { return x.s * x.rate < 0.0; }

// A step held at the floor may pass two crossings, when the separation reaches the target and
// turns back within it (a relative station). Where the cubic through the step's ends turns within
// the track's error of the target, the turn's deepest point is sought on the bodies' own positions;
// true with [lo, hi] a bracket of the first crossing when the separation passes the target there.
// `lo` and `hi` on the same side of the target, and made exact where the turn is sought.
bool FindCrossingInTurn(Probe& probe, Sample& lo, Sample& hi, double closeDays) {
  double t = 0.0, s = 0.0;
  if (IsPast(lo.s) != IsPast(hi.s) || std::fabs(hi.s - lo.s) >= 180.0) return false;
  if (!CubicExtremum(lo, hi, t, s)) return false;
  if (IsPast(s) == IsPast(lo.s) && std::fabs(s) > kTrackMarginDeg) return false;
  probe.Confirm(lo);
  probe.Confirm(hi);
  if (Crossed(lo.s, hi.s)) return true;
  Sample a = lo, b = hi;
  for (int i = 0; i < kTurnProbes && b.t - a.t > closeDays; ++i) {
    if (!CubicExtremum(a, b, t, s)) return false;
    if (IsPast(s) == IsPast(a.s) && std::fabs(s) > kTurnSlackDeg) return false;
    const Sample m = probe.Exact(t);
    if (Crossed(a.s, m.s)) {
      lo = a;
      hi = m;
      return true;
    }
    // Keep the part in which the separation turns.
    if (Approaching(m))
      a = m;
    else
      b = m;
  }
  return false;
}

// The approach and the bracket's narrowing on one probe; `retry` is set when the track led the
// approach to a bracket that the ephemeris does not confirm.
CrossingResult Search(Probe& probe, const CrossingPair& pair, JdUt start, JdUt end,
                      CrossingTolerance tolerance, bool& retry) {
  CrossingResult result;
  const double speed = MaxRelativeSpeed(pair);
  const double floorDays = std::min(kLongestFloorDays, kFloorArcDeg / speed);
  const double closeDays = std::max(tolerance.days, kOneSecond);

  // Approach: no step can pass the target, the last at most a floor's length.
  Sample lo = probe.Approach(start.days), hi = lo;
  probe.ConfirmNearTarget(lo);
  for (;;) {
    if (lo.t >= end.days || probe.Exhausted()) {
      result.evaluations = probe.evaluations;
      return result;
    }
    bool floored = false;
    const double step = probe.Step(lo, lo.fitted ? kTrackMarginDeg : 0.0, floorDays, floored);
    hi = probe.Approach(std::min(end.days, lo.t + step));
    probe.ConfirmNearTarget(hi);
    if (Crossed(lo.s, hi.s)) break;
    if (floored && FindCrossingInTurn(probe, lo, hi, closeDays)) break;
    lo = hi;
  }
  probe.Confirm(lo);
  probe.Confirm(hi);
  if (!Crossed(lo.s, hi.s)) {
    retry = true;
    result.evaluations = probe.evaluations;
    return result;
  }
  // Narrow the bracket, keeping its far end on the far side of the crossing.
  Sample latest = std::fabs(lo.s) < std::fabs(hi.s) ? lo : hi;
  double lastStep = 2.0 * (hi.t - lo.t);
  // Newton aims half the tolerance in degrees past the crossing, where a sample ends the search.
  const double aim = std::copysign(0.5 * tolerance.degrees, hi.s);
  while (std::fabs(hi.s) >= tolerance.degrees && hi.t - lo.t > closeDays && !probe.Exhausted()) {
    latest = probe.Exact(NextInside(lo, hi, latest, aim, closeDays, lastStep));
    if (IsPast(latest.s) == IsPast(lo.s))
      lo = latest;
    else
      hi = latest;
  }
  result.found = true;
  result.moment = JdUt{hi.t};
  result.evaluations = probe.evaluations;
  return result;
}

}  // namespace

CrossingResult FindNextCrossing(const Ephemeris& ephemeris, const CrossingPair& pair, JdUt start,
                                JdUt end, CrossingTolerance tolerance, TargetTrack track) {
  if (!IsUsable(pair) || !std::isfinite(start.days) || !std::isfinite(end.days) ||
      end.days < start.days)
    return CrossingResult{};
  // Only where both places are known: a window across an end of a body's known years is searched
  // on the part inside them.
  if (!ClipToKnownSpan({pair.body, pair.target < 0 ? pair.body : pair.target}, start, end))
    return CrossingResult{};
  bool retry = false;
  Probe probe(ephemeris, pair, track, end.days);
  CrossingResult result = Search(probe, pair, start, end, tolerance, retry);
  if (retry) {
    // The track misled the approach (a planet passing behind the Sun): search again without it.
    Probe direct(ephemeris, pair, TargetTrack::Direct, end.days);
    bool ignored = false;
    const int spent = result.evaluations;
    result = Search(direct, pair, start, end, tolerance, ignored);
    result.evaluations += spent;
  }
  return result;
}
