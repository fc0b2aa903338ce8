#include "rectification/core/tremin_rect.h"

#include <algorithm>
#include <cmath>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/houses/house_position.h"
#include "astro/lifepoint/life_point.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr int kSun = 0, kMoon = 1, kJupiter = 5, kSaturn = 6;
constexpr int kEmpty = -1;
// Slot P of the sign-ruler table: Proserpina when she counts, else empty.
constexpr int kP = -2;
// Up to three ruling objects of each sign, Aries to Pisces.
constexpr std::array<std::array<int, 3>, 12> kRulerTable{{{4, 9, 0},
                                                          {3, kP, 1},
                                                          {2, kP, kEmpty},
                                                          {0, 1, 5},
                                                          {0, 1, 8},
                                                          {2, 7, kEmpty},
                                                          {3, kP, 6},
                                                          {4, 9, kEmpty},
                                                          {5, 8, 9},
                                                          {6, 7, 4},
                                                          {2, 7, 6},
                                                          {8, 5, 3}}};
// The natural houses (1..12) of the objects 0..9 and 20 (index 10).
constexpr std::array<std::array<int, 3>, kTmObjectCount> kObjectHouses{{{1, 4, 5},
                                                                        {2, 4, 5},
                                                                        {3, 6, 11},
                                                                        {2, 7, 12},
                                                                        {1, 8, 10},
                                                                        {4, 9, 12},
                                                                        {7, 10, 11},
                                                                        {6, 10, 11},
                                                                        {5, 9, 12},
                                                                        {1, 8, 9},
                                                                        {2, 3, 7}}};

// The angles of the object-to-point test: the five major ones, 72, and sixteen minor ones.
constexpr std::array<double, 5> kMajorAngles{0, 180, 90, 120, 60};
constexpr double kQuintile = 72;
constexpr std::array<double, 16> kMinorAngles{
    45, 135, 150, 30, 36, 108, 144, 20, 40, 80, 100, 140, 160, 51.42857, 102.85714, 77.142857};

// Index 0..10 of a method object, -1 for any other point.
int ObjectIndex(int object) {
  if (object >= 0 && object <= 9) return object;
  return object == kTmProserpina ? 10 : -1;
}

double Longitude(const Chart& chart, int point) {
  if (point < 0 || point >= kChartPointCount) return kAbsent;
  return chart.points[static_cast<std::size_t>(point)].longitude.Get();
}

double Cusp(const Chart& chart, int house) { return chart.cusps[house % 12].Get(); }

bool IsSet(double longitude) { return longitude != kAbsent && std::isfinite(longitude); }

bool AnyWindow(double d, double majorOrb, double quintileOrb, double minorOrb) {
  for (double a : kMajorAngles)
    if (TmAspectWindow(d, a, majorOrb)) return true;
  if (TmAspectWindow(d, kQuintile, quintileOrb)) return true;
  for (double a : kMinorAngles)
    if (TmAspectWindow(d, a, minorOrb)) return true;
  return false;
}

// Truncation toward zero of a sum of fractions, first rounded to a millionth so that a sum that is
// whole in exact arithmetic (eleven times 100/11) is not cut to the number below.
int TruncateSum(double x) { return static_cast<int>(std::trunc(std::round(x * 1e6) / 1e6)); }

bool ChartComplete(const Chart& chart) {
  for (const AngleValue& c : chart.cusps)
    if (!IsSet(c.Get())) return false;
  return true;
}

std::array<double, 12> CuspArray(const Chart& chart) {
  std::array<double, 12> out{};
  for (int h = 0; h < 12; ++h) out[static_cast<std::size_t>(h)] = chart.cusps[h].Get();
  return out;
}

}  // namespace

bool TmAspectWindow(double d, double angle, double orb) {
  return angle - orb - 0.033 < d && d < angle + orb + 0.033;
}

bool TmObjectToPoint(int object, double objectLongitude, double pointLongitude) {
  if (!IsSet(objectLongitude) || !IsSet(pointLongitude)) return false;
  const double d =
      AngleDifference180(NormalizeDegrees(objectLongitude), NormalizeDegrees(pointLongitude));
  if (object == kSun) return AnyWindow(d, 5, 4, 2);
  if (object == kMoon) return AnyWindow(d, 5, 3, 1.5);
  return AnyWindow(d, 5, 2, 1);
}

bool TmCuspToPoint(double cuspLongitude, double pointLongitude) {
  if (!IsSet(cuspLongitude) || !IsSet(pointLongitude)) return false;
  return AnyWindow(
      AngleDifference180(NormalizeDegrees(cuspLongitude), NormalizeDegrees(pointLongitude)), 5, 2,
      1);
}

std::vector<int> TmHousesOfObject(int object) {
  const int i = ObjectIndex(object);
  if (i < 0) return {};
  const auto& h = kObjectHouses[static_cast<std::size_t>(i)];
  return {h.begin(), h.end()};
}

int TmPairColumn(int a, int b) {
  const auto either = [&](int k) { return a == k || b == k; };
  if (either(kSun)) return 0;
  if (either(kMoon)) return 1;
  if (either(kJupiter)) return 2;
  if (either(kSaturn)) return 3;
  return 4;
}

TmPairTable::TmPairTable(const Chart& chart, const AspectSystem* applying,
                         const AspectSystem* separating) {
  for (int i = 0; i < kTmObjectCount; ++i)
    for (int j = i; j < kTmObjectCount; ++j) {
      const int a = kTmObjects[static_cast<std::size_t>(i)];
      const int b = kTmObjects[static_cast<std::size_t>(j)];
      const PointRecord& pa = chart.points[static_cast<std::size_t>(a)];
      const PointRecord& pb = chart.points[static_cast<std::size_t>(b)];
      if (!IsSet(pa.longitude.Get()) || !IsSet(pb.longitude.Get())) continue;
      const OrbColumn column{TmPairColumn(a, b)};
      bool found = false;
      if (applying != nullptr)
        found = applying
                    ->FindAspectMotion(pa.longitude.Get(), pa.speed, pb.longitude.Get(), pb.speed,
                                       column)
                    .result == 3;
      if (!found && separating != nullptr)
        found = separating
                    ->FindAspectMotion(pa.longitude.Get(), pa.speed, pb.longitude.Get(), pb.speed,
                                       column)
                    .result == 4;
      aspect_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = found;
      aspect_[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = found;
    }
}

bool TmPairTable::InAspect(int a, int b) const {
  const int i = ObjectIndex(a), j = ObjectIndex(b);
  if (i < 0 || j < 0) return false;
  return aspect_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
}

TmRect::TmRect(const AspectSystem* applying, const AspectSystem* separating)
    : applying_(applying), separating_(separating) {
  for (auto& row : rulers_) row.fill(kEmpty);
}

void TmRect::FillRulers(int proserpinaCounts) {
  proserpinaCounts_ = proserpinaCounts == 1 ? 1 : 0;
  for (std::size_t s = 0; s < 12; ++s)
    for (std::size_t k = 0; k < 3; ++k) {
      const int r = kRulerTable[s][k];
      rulers_[s][k] = r == kP ? (proserpinaCounts_ == 1 ? kTmProserpina : kEmpty) : r;
    }
}

int TmRect::Ruler(int sign, int slot) const {
  if (sign < 0 || sign >= 12 || slot < 0 || slot >= 3) return kEmpty;
  return rulers_[static_cast<std::size_t>(sign)][static_cast<std::size_t>(slot)];
}

bool TmRect::LinkedToPoint(const Chart& chart, const TmPairTable& pairs, int object,
                           double point) const {
  if (TmObjectToPoint(object, Longitude(chart, object), point)) return true;
  for (int j : kTmObjects) {
    if (j == object) continue;
    if (TmObjectToPoint(j, Longitude(chart, j), point) && pairs.InAspect(object, j)) return true;
  }
  return false;
}

bool TmRect::RulersLinked(const TmPairTable& pairs, int t, int e) const {
  if (t == kEmpty || e == kEmpty) return true;
  if (pairs.InAspect(t, e)) return true;
  for (int j : kTmObjects) {
    if (j == t || j == e) continue;
    if (pairs.InAspect(j, t) && pairs.InAspect(j, e)) return true;
  }
  return false;
}

int TmRect::Possibility(const Chart& trial) {
  const TmPairTable pairs(trial, applying_, separating_);

  // Proserpina rules her signs only when she aspects three planets or more.
  int partners = 0;
  for (int p = 0; p <= 9; ++p) partners += pairs.InAspect(p, kTmProserpina) ? 1 : 0;
  FillRulers(partners >= 3 ? 1 : 0);
  // Without cusps no house test can be made: nothing ties the moment.
  if (!ChartComplete(trial)) return kTmImpossible;

  // A: each object tied to 0 Aries, directly, through a partner, or through its houses' cusps.
  double a = 0.0;
  for (int k : kTmObjects) {
    if (LinkedToPoint(trial, pairs, k, 0.0)) {
      a += 100.0 / 11.0;
      continue;
    }
    int c = 0;
    for (int house : TmHousesOfObject(k)) c += TmCuspToPoint(Cusp(trial, house - 1), 0.0) ? 1 : 0;
    if (c == 0) return kTmImpossible;
    a += c * 100.0 / 33.0;
  }

  // B: the rulers of each sign tied to the cusp of the house of the same number.
  int tested = 0, hits = 0;
  for (int s = 0; s < 12; ++s) {
    bool any = false;
    for (int k = 0; k < 3; ++k) {
      const int t = Ruler(s, k);
      if (t == kEmpty) continue;
      ++tested;
      if (LinkedToPoint(trial, pairs, t, Cusp(trial, s))) {
        ++hits;
        any = true;
      }
    }
    if (!any) return kTmImpossible;
  }
  const double b = hits * 100.0 / tested;

  // C: the rulers of the signs each house spans, tied to its cusp or to the rulers of its row.
  const std::array<double, 12> cusps = CuspArray(trial);
  double c = 0.0;
  for (int h = 0; h < 12; ++h) {
    double sum = 0.0;
    int contributed = 0;
    for (int sign : InterceptedSigns(cusps, h)) {
      double signSum = 0.0;
      for (int k = 0; k < 3; ++k) {
        const int e = Ruler(sign, k);
        if (e == kEmpty) continue;
        double percent = 100.0;
        if (!TmObjectToPoint(e, Longitude(trial, e), Cusp(trial, h))) {
          int linked = 0;
          for (int r = 0; r < 3; ++r) linked += RulersLinked(pairs, Ruler(h, r), e) ? 1 : 0;
          percent = 100.0 * linked / 3.0;
        }
        signSum += percent;
        sum += percent;
        ++contributed;
      }
      if (signSum == 0.0) return kTmImpossible;
    }
    if (contributed == 0) return kTmImpossible;
    c += sum / contributed;
  }
  c /= 12.0;

  return TruncateSum(a + b + c - 200.0);
}

bool TmRect::FixedOrbAspect(double longitude, double from) const {
  if (applying_ == nullptr || !IsSet(longitude) || !IsSet(from)) return false;
  for (const Aspect& aspect : applying_->Aspects())
    if (aspect.TestFixedOrb(longitude, from) == 0) return true;
  return false;
}

void TmRect::SlotHits(const Chart& chart, const TmPairTable& pairs, int h, double longitude,
                      int& tested, int& hits) const {
  tested = 0;
  hits = 0;
  for (int k = 0; k < 3; ++k) {
    const int t = Ruler(h, k);
    if (t == kEmpty) continue;
    ++tested;
    bool hit = FixedOrbAspect(longitude, Longitude(chart, t));
    for (int j : kTmObjects) {
      if (hit) break;
      if (j != t && pairs.InAspect(t, j) && FixedOrbAspect(longitude, Longitude(chart, j)))
        hit = true;
    }
    hits += hit ? 1 : 0;
  }
}

std::vector<int> TmRect::SpannedRulers(const Chart& chart, int h) const {
  std::vector<int> gathered;
  for (int sign : InterceptedSigns(CuspArray(chart), h))
    for (int k = 0; k < 3; ++k) {
      const int r = Ruler(sign, k);
      if (r != kEmpty && std::find(gathered.begin(), gathered.end(), r) == gathered.end())
        gathered.push_back(r);
    }
  return gathered;
}

void TmRect::ScoreEntry(const Chart& trial, const TmPairTable& pairs, int h, double longitude,
                        int weight, double& sum, int& count) const {
  if (FixedOrbAspect(longitude, Cusp(trial, h))) {
    count += 1;
    sum += 3.0 * weight;
    return;
  }
  int tested = 0, hits = 0;
  SlotHits(trial, pairs, h, longitude, tested, hits);
  count += tested;
  sum += hits > 0 ? static_cast<double>(weight) * hits : -3.0 * weight;
}

std::optional<double> TmRect::EventScoreWith(const Chart& trial, const TmPairTable& pairs,
                                             const Chart& eventChart,
                                             const LifeEvent& event) const {
  double sum = 0.0;
  int count = 0;
  for (int h : event.houses) {
    if (h < 0 || h >= 12) continue;
    ScoreEntry(trial, pairs, h, Cusp(eventChart, h), 10, sum, count);
    for (int k = 0; k < 3; ++k)
      if (const int t = Ruler(h, k); t != kEmpty)
        ScoreEntry(trial, pairs, h, Longitude(eventChart, t), 3, sum, count);
    // The rulers of the signs the house spans, each object once.
    for (int r : SpannedRulers(trial, h))
      ScoreEntry(trial, pairs, h, Longitude(eventChart, r), 1, sum, count);
  }
  if (count == 0) return std::nullopt;
  return sum / count * 100.0;
}

std::optional<int> TmRect::MomentScore(const ChartContext& ctx, const Chart& trial,
                                       const std::vector<LifeEvent>& events, int series) {
  const TmPairTable pairs(trial, applying_, separating_);
  double sum = 0.0;
  int scored = 0;
  for (const LifeEvent& event : events) {
    if (!event.InUse()) continue;
    Chart eventChart;
    Status st = series == kTmSeriesDirections
                    ? MakeDirected(ctx, eventChart, trial, event.moment)
                    : MakeProgressed(ctx, eventChart, trial, event.moment);
    if (st.ok()) st = eventChart.CalculateMainBodies(ctx, 1);
    if (!st.ok()) continue;
    if (const std::optional<double> s = EventScoreWith(trial, pairs, eventChart, event)) {
      sum += *s;
      ++scored;
    }
  }
  if (scored == 0) return std::nullopt;
  return TruncateSum(sum / scored * 10.0);
}

// --- The year forecast ---

double TmRect::PointValue(const Chart& natal, const TmPairTable& pairs, double longitude,
                          int h) const {
  if (FixedOrbAspect(longitude, Cusp(natal, h))) return 100.0;
  int tested = 0, hits = 0;
  SlotHits(natal, pairs, h, longitude, tested, hits);
  if (hits == 0) return 0.0;
  return hits == tested ? 100.0 : 50.0;
}

double TmRect::HouseValue(const Chart& natal, const TmPairTable& pairs, const Chart& derived,
                          int h) const {
  const double cusp = PointValue(natal, pairs, Cusp(derived, h), h);

  double rowSum = 0.0;
  for (int k = 0; k < 3; ++k)
    if (const int t = Ruler(h, k); t != kEmpty)
      rowSum += PointValue(natal, pairs, Longitude(derived, t), h);
  const double w = Ruler(h, 2) == kEmpty ? 1.0 / 2.0 : 1.0 / 3.0;

  double spanned = 0.0;
  const std::vector<int> rulers = SpannedRulers(natal, h);
  for (int r : rulers) spanned += PointValue(natal, pairs, Longitude(derived, r), h);
  if (!rulers.empty()) spanned /= static_cast<double>(rulers.size());

  return (cusp + w * rowSum + spanned) / 3.0;
}

double TmRect::ForecastScore(const Chart& natal, const TmPairTable& pairs, const Chart& derived,
                             const LifeEvent& event) const {
  double sum = 0.0;
  int houses = 0;
  for (int h : event.houses) {
    if (h < 0 || h >= 12) continue;
    sum += HouseValue(natal, pairs, derived, h);
    ++houses;
  }
  return houses == 0 ? 0.0 : sum / houses;
}

double TmRect::ForecastEvent(const ChartContext& ctx, const Chart& natal, const Moment& date,
                             const LifeEvent& event, double& progression, double& direction,
                             double& lifePoint) {
  FillRulers(proserpinaCounts_);
  const TmPairTable pairs(natal, applying_, separating_);
  const auto derivedScore = [&](bool progressed) {
    Chart derived;
    Status st = progressed ? MakeProgressed(ctx, derived, natal, date)
                           : MakeDirected(ctx, derived, natal, date);
    if (st.ok()) st = derived.CalculateMainBodies(ctx, 1);
    return st.ok() ? ForecastScore(natal, pairs, derived, event) : 0.0;
  };
  progression = derivedScore(true);
  direction = derivedScore(false);

  lifePoint = 0.0;
  const Moment& birth = natal.definition.GetCountSrc().moment;
  if (birth.JulianDay() <= date.JulianDay()) {
    LifePoint type;
    type.mode = 'S';
    type.direction = 'D';
    type.first = 0;
    type.years = 7;
    const double point = LifePoint::CountPosition(type, birth, date);
    int houses = 0;
    for (int h : event.houses) {
      if (h < 0 || h >= 12) continue;
      lifePoint += PointValue(natal, pairs, point, h);
      ++houses;
    }
    if (houses > 0) lifePoint /= houses;
  }
  return (progression + direction) / 2.0;
}
