// The crossings of the planetary lines (parans) and the latitude band of each.
#include <algorithm>
#include <cmath>

#include "astrocarto/core/ac_lines.h"
#include "foundation/numbers/angles.h"
#include "foundation/numbers/vector_state.h"

namespace {

constexpr double kPoleArcsec = 324000.0;  // 90 degrees in arc-seconds
constexpr double kHalfTurnArcsec = 648000.0;
// The crossing of two lines is solved until its bracket is this narrow (degrees of longitude).
constexpr double kSolvedDeg = 1e-7;
constexpr int kMaxSolveSteps = 100;

// Degrees into whole arc-seconds, to the nearest, held within +-limit (latitudes within the
// poles).
std::int32_t Arcsec(double degrees, double limit = kPoleArcsec) {
  return static_cast<std::int32_t>(std::lround(std::clamp(degrees * 3600.0, -limit, limit)));
}

// A longitude into [-180, 180).
double WrapLongitude(double longitude) {
  return longitude - 360.0 * std::floor((longitude + 180.0) / 360.0);
}

// How near a crossing may lie to a place where the ecliptic is in the horizon and still be taken
// for that place (degrees of arc; crossings are kept in whole arc-seconds).
constexpr double kEclipticHorizonTolerance = 1.0 / 3600.0;

// Whether the ecliptic of the moment lies in the horizon at the place: one of its poles at the
// zenith (RAMC 270 and latitude 90 less the obliquity, or RAMC 90 and the same south).
bool EclipticInHorizon(const LineMoment& moment, double longitude, double latitude) {
  const double ramc = moment.siderealDeg + longitude;
  const double poleDeclination = 90.0 - moment.obliquityDeg;
  // The cosine of the arc between the zenith and the ecliptic's north pole (RA 270).
  const double cosArc = SinDeg(latitude) * SinDeg(poleDeclination) +
                        CosDeg(latitude) * CosDeg(poleDeclination) * CosDeg(ramc - 270.0);
  return std::fabs(cosArc) >= CosDeg(kEclipticHorizonTolerance);
}

bool IsNodePair(int a, int b) {
  return (a == ACLines::kNorthNode && b == ACLines::kSouthNode) ||
         (a == ACLines::kSouthNode && b == ACLines::kNorthNode);
}

}  // namespace

void ACLines::FindCrossings(int mode, const AstroCartPage& settings) {
  CleanVectorState();  // the search follows its dialog (foundation/numbers/vector_state.h)
  crossings_.clear();
  // One turn of longitude: segments s - 1 .. s for s = 1 .. 360 x density cover every longitude
  // once, so a crossing in the repeated last degree is not found twice.
  const auto scanPair = [this](int m, int i, int j, const AstroCartPage& values) {
    double previous = Sample(i, 0) - Sample(j, 0);
    for (int s = 1; s <= 360 * density_; ++s)
      if (DefineACDCCross(m, i, j, s, previous, values) == -2) return;
  };
  const int n = perChart_;
  if (n == 0 || (mode != kFirstChart && !twoCharts_)) return;
  if (mode == kFirstChart || mode == kSecondChart) {
    const int lo = mode == kFirstChart ? 0 : n, hi = lo + n;
    for (int i = lo; i < hi; ++i)
      for (int j = i + 1; j < hi; ++j) scanPair(mode, i, j, settings);
    for (int i = lo; i < hi; ++i)
      for (int j = lo; j < hi; ++j)
        for (const char kind : {'M', 'I'}) (void)DefineMCICCross(mode, i, j, kind, settings);
  } else if (mode == kBetweenCharts) {
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) scanPair(mode, i, n + j, settings);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        for (const char kind : {'M', 'I'}) (void)DefineMCICCross(mode, i, n + j, kind, settings);
  }
}

// Walks line i and line j from sample s of each, once round the circle at most, sample by sample
// toward higher latitudes (`up`) or lower ones. The walker that lags behind in latitude moves (both
// on a tie), each in the direction in which its own line rises (or falls) at s, so the two stay
// at about one latitude. The walk ends when their longitudes are the orb or more apart or one of
// them reaches its line's northernmost (southernmost) sample; the band ends at the higher (lower)
// of their latitudes there.
double ACLines::WalkBand(int i, int j, int s, double orbDeg, bool up) const {
  const int turn = 360 * density_;
  const auto wrap = [turn](int x) { return ((x % turn) + turn) % turn; };
  const auto extreme = [&](int k) { return up ? TopSample(k) : BottomSample(k); };
  const auto beyond = [up](double a, double b) { return up ? std::max(a, b) : std::min(a, b); };
  const auto ahead = [up](double a, double b) { return up ? a > b : a < b; };  // a beyond b
  s = wrap(s);
  if (s == extreme(i) || s == extreme(j)) return beyond(Sample(i, s), Sample(j, s));
  const auto direction = [&](int k) {
    const double next = Sample(k, wrap(s + 1)), previous = Sample(k, wrap(s - 1));
    return ahead(previous, next) ? -1 : 1;
  };
  const int di = direction(i), dj = direction(j);
  int a = s, b = s;
  for (int step = 0; step < 2 * turn; ++step) {
    const double la = Sample(i, a), lb = Sample(j, b);
    if (!ahead(la, lb)) a = wrap(a + di);
    if (!ahead(lb, la)) b = wrap(b + dj);
    const double apart =
        AngleDifference180(a / static_cast<double>(density_), b / static_cast<double>(density_));
    if (!(apart < orbDeg) || a == extreme(i) || b == extreme(j)) break;
  }
  return beyond(Sample(i, a), Sample(j, b));
}

double ACLines::SolveCrossing(int i, int j, double lon0, double d0, double lon1, double d1) const {
  if (d0 == 0.0) return lon0;
  if (d1 == 0.0) return lon1;
  // Regula falsi with the Illinois step: from the straight-line interpolation between the two
  // samples, it closes on the zero of the difference in a few steps (at once for lines taken as
  // straight between their samples).
  int side = 0;
  double x = lon0;
  for (int step = 0; step < kMaxSolveSteps && lon1 - lon0 > kSolvedDeg; ++step) {
    x = lon0 - d0 * (lon1 - lon0) / (d1 - d0);
    const double li = LatitudeAt(i, x), lj = LatitudeAt(j, x);
    if (IsAbsent(li) || IsAbsent(lj)) break;
    const double d = li - lj;
    if (d == 0.0) return x;
    if ((d < 0.0) == (d0 < 0.0)) {
      lon0 = x;
      d0 = d;
      if (side == -1) d1 /= 2.0;
      side = -1;
    } else {
      lon1 = x;
      d1 = d;
      if (side == 1) d0 /= 2.0;
      side = 1;
    }
  }
  return lon0 - d0 * (lon1 - lon0) / (d1 - d0);
}

bool ACLines::AtEclipticHorizon(int k, double longitude, double latitude) const {
  const LineBody& body = model_[static_cast<std::size_t>(k)];
  return !IsAbsent(body.eclipticLongitude) && !body.withLatitude &&
         EclipticInHorizon(Moment(HalfOfLine(k)), longitude, latitude);
}

int ACLines::DefineACDCCross(int mode, int i, int j, int s, double& previous,
                             const AstroCartPage& settings) {
  if (mode != kBetweenCharts && IsNodePair(GetPointOfLine(i), GetPointOfLine(j))) return -2;
  if (IsAbsent(BodyLongitude(i)) || IsAbsent(BodyLongitude(j))) return -2;
  const double si = Sample(i, s), sj = Sample(j, s);
  if (IsAbsent(si) || IsAbsent(sj) || IsAbsent(Sample(i, s - 1)) || IsAbsent(Sample(j, s - 1))) {
    previous = 0.0;
    return -1;
  }
  const double before = previous;
  const double difference = si - sj;
  // A zero difference is the crossing itself; the sample after it does not count again.
  const bool crossed =
      (previous < 0.0 && difference >= 0.0) || (previous > 0.0 && difference <= 0.0);
  previous = difference;
  if (!crossed) return -1;
  const double at =
      SolveCrossing(i, j, SampleLongitude(s - 1), before, SampleLongitude(s), difference);
  const double latitude = LatitudeAt(i, at);
  if (IsAbsent(latitude) || std::fabs(latitude) > settings.crossingLatitudeLimit) return -1;
  const double longitude = WrapLongitude(at);
  if (AtEclipticHorizon(i, longitude, latitude) && AtEclipticHorizon(j, longitude, latitude))
    return -1;
  const double orb = settings.crossingOrb / 60.0;  // degrees
  Crossing c;
  c.firstBody = static_cast<std::uint8_t>(GetPointOfLine(i));
  c.secondBody = static_cast<std::uint8_t>(GetPointOfLine(j));
  c.firstAngle = AngleAt(i, longitude);
  c.secondAngle = AngleAt(j, longitude);
  c.latitude = Arcsec(latitude);
  c.longitude = Arcsec(longitude, kHalfTurnArcsec);
  if (settings.crossingBand == 0) {
    c.upper = Arcsec(latitude + orb);
    c.lower = Arcsec(latitude - orb);
  } else {
    c.upper = Arcsec(WalkBand(i, j, s, orb, true));
    c.lower = Arcsec(WalkBand(i, j, s, orb, false));
  }
  crossings_.push_back(c);
  return 0;
}

int ACLines::DefineMCICCross(int mode, int i, int m, char kind, const AstroCartPage& settings) {
  if (mode != kBetweenCharts && IsNodePair(GetPointOfLine(i), GetPointOfLine(m))) return -2;
  const double meridian = kind == 'M' ? Mc(m) : Ic(m);
  if (IsAbsent(meridian) || IsAbsent(BodyLongitude(i))) return -2;
  // The horizon line at the meridian's own longitude (180 E is 180 W).
  const double longitude = WrapLongitude(meridian);
  const double latitude = LatitudeAt(i, longitude);
  if (IsAbsent(latitude) || std::fabs(latitude) > settings.crossingLatitudeLimit) return -2;
  const double orb = settings.crossingOrb / 60.0;
  Crossing c;
  c.firstBody = static_cast<std::uint8_t>(GetPointOfLine(i));
  c.secondBody = static_cast<std::uint8_t>(GetPointOfLine(m));
  c.firstAngle = AngleAt(i, longitude);
  c.secondAngle = kind;
  c.latitude = Arcsec(latitude);
  c.longitude = Arcsec(longitude, kHalfTurnArcsec);
  c.upper = Arcsec(latitude + orb);
  c.lower = Arcsec(latitude - orb);
  crossings_.push_back(c);
  return 0;
}
