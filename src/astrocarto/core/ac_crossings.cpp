// The crossings of the planetary lines (parans) and the latitude band of each.
#include <algorithm>
#include <cmath>

#include "astrocarto/core/ac_lines.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr double kBandLimit = 5400.0;  // 90 degrees in arc-minutes

std::int16_t Minutes(double value) {
  return static_cast<std::int16_t>(std::clamp(std::trunc(value), -kBandLimit, kBandLimit));
}

bool IsNodePair(int a, int b) {
  return (a == ACLines::kNorthNode && b == ACLines::kSouthNode) ||
         (a == ACLines::kSouthNode && b == ACLines::kNorthNode);
}

}  // namespace

void ACLines::FindCrossings(int mode, const AstroCartPage& settings) {
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
    const double apart = AngleDifference180(a / static_cast<double>(density_),
                                            b / static_cast<double>(density_));
    if (!(apart < orbDeg) || a == extreme(i) || b == extreme(j)) break;
  }
  return beyond(Sample(i, a), Sample(j, b));
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
  const double difference = si - sj;
  // A zero difference is the crossing itself; the sample after it does not count again.
  const bool crossed =
      (previous < 0.0 && difference >= 0.0) || (previous > 0.0 && difference <= 0.0);
  previous = difference;
  if (!crossed || std::fabs(si) > settings.crossingLatitudeLimit) return -1;
  const double orb = settings.crossingOrb;
  const bool iFlatter = std::fabs(si - Sample(i, s - 1)) <= std::fabs(sj - Sample(j, s - 1));
  const int flat = iFlatter ? i : j;
  const double latitude = (Sample(flat, s - 1) + Sample(flat, s)) / 2.0;
  const double longitude = Wrap360(s / static_cast<double>(density_)) - 180.0;
  // In minutes from whole numbers, so that 0.2 degrees is 12' and not 11.99999'.
  const double minutes = (s % (360 * density_)) * 60.0 / density_ - 10800.0;
  Crossing c;
  c.firstBody = static_cast<std::uint8_t>(GetPointOfLine(i));
  c.secondBody = static_cast<std::uint8_t>(GetPointOfLine(j));
  c.firstAngle = AngleAt(i, longitude, si);
  c.secondAngle = AngleAt(j, longitude, si);
  c.latitude = Minutes(latitude * 60.0);
  c.longitude = static_cast<std::int16_t>(std::trunc(minutes));
  if (settings.crossingBand == 0) {
    c.upper = Minutes(si * 60.0 + orb);
    c.lower = Minutes(si * 60.0 - orb);
  } else {
    c.upper = Minutes(WalkBand(i, j, s, orb / 60.0, true) * 60.0);
    c.lower = Minutes(WalkBand(i, j, s, orb / 60.0, false) * 60.0);
  }
  crossings_.push_back(c);
  return 0;
}

int ACLines::DefineMCICCross(int mode, int i, int m, char kind, const AstroCartPage& settings) {
  if (mode != kBetweenCharts && IsNodePair(GetPointOfLine(i), GetPointOfLine(m))) return -2;
  const double meridian = kind == 'M' ? Mc(m) : Ic(m);
  if (IsAbsent(meridian) || IsAbsent(BodyLongitude(i))) return -2;
  const int s = std::min(RoundToNearest(Wrap360(meridian + 180.0) * density_), SampleCount() - 1);
  const double latitude = s == 0 ? Sample(i, 0) : (Sample(i, s - 1) + Sample(i, s)) / 2.0;
  if (IsAbsent(Sample(i, s)) || (s > 0 && IsAbsent(Sample(i, s - 1)))) return -2;
  if (std::fabs(latitude) > settings.crossingLatitudeLimit) return -2;
  Crossing c;
  c.firstBody = static_cast<std::uint8_t>(GetPointOfLine(i));
  c.secondBody = static_cast<std::uint8_t>(GetPointOfLine(m));
  c.firstAngle = AngleAt(i, Wrap360(s / static_cast<double>(density_)) - 180.0, Sample(i, s));
  c.secondAngle = kind;
  c.latitude = Minutes(latitude * 60.0);
  // An MC or IC past 180 E is given west of Greenwich.
  const double longitude = meridian >= 180.0 ? meridian - 360.0 : meridian;
  c.longitude = static_cast<std::int16_t>(std::trunc(longitude * 60.0));
  c.upper = Minutes(latitude * 60.0 + settings.crossingOrb);
  c.lower = Minutes(latitude * 60.0 - settings.crossingOrb);
  crossings_.push_back(c);
  return 0;
}
