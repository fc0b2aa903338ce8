#include "astro/ephemeris/series_sets.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/planet_theory.h"

// The kernels are compiled a second time for AVX2 and FMA where the compiler can target them.
#if defined(__GNUC__) && defined(__x86_64__)
#define VELM_SERIES_AVX2 1
#endif

namespace {

constexpr double kDaysPerMillennium = 365250.0;
constexpr double kArcsecToRad = M_PI / (180.0 * 3600.0);
// Mean distances from the Sun, au (Mercury .. Neptune), and the Moon's from the Earth, km.
constexpr std::array<double, 8> kMeanDistanceAu = {0.387, 0.723, 1.0,   1.524,
                                                   5.203, 9.537, 19.19, 30.07};
constexpr double kMoonMeanDistanceKm = 385000.0;
// GM of the Earth plus the Moon, km^3 / day^2.
constexpr double kGmEarthMoon = (398600.4356 + 4902.8001) * 86400.0 * 86400.0;

// Terms handled per pass of a kernel: their sines and cosines fit in the first-level cache.
constexpr std::size_t kChunk = 256;

// a * b + c; fused where the processor has it (the AVX2 kernels).
template <bool fused>
[[gnu::always_inline]] inline double MulAdd(double a, double b, double c) {
  if constexpr (fused)
    return std::fma(a, b, c);
  else
    return a * b + c;
}

// sin x and cos x without a library call, so that a loop over them vectorises: x is brought to
// [-pi, pi] by whole turns (the rounding by adding and taking away 1.5 * 2^52), the sine and
// cosine of x / 4 come from their Taylor series to the 16th power (below 5e-17 on
// [-pi/4, pi/4]), and the double angle twice gives those of x.
template <bool fused>
[[gnu::always_inline]] inline void SinCos(double x, double& s, double& c) {
  constexpr double kRound = 6755399441055744.0;
  constexpr double kInvTwoPi = 0.15915494309189535;
  constexpr double kTwoPiHi = 6.2831853071795862, kTwoPiLo = 2.4492935982947064e-16;
  const double turns = (x * kInvTwoPi + kRound) - kRound;
  const double y = 0.25 * MulAdd<fused>(-turns, kTwoPiLo, MulAdd<fused>(-turns, kTwoPiHi, x));
  const double y2 = y * y;
  double ps = -1.0 / 1307674368000, pc = -1.0 / 87178291200;
  ps = MulAdd<fused>(ps, y2, 1.0 / 6227020800);
  pc = MulAdd<fused>(pc, y2, 1.0 / 479001600);
  ps = MulAdd<fused>(ps, y2, -1.0 / 39916800);
  pc = MulAdd<fused>(pc, y2, -1.0 / 3628800);
  ps = MulAdd<fused>(ps, y2, 1.0 / 362880);
  pc = MulAdd<fused>(pc, y2, 1.0 / 40320);
  ps = MulAdd<fused>(ps, y2, -1.0 / 5040);
  pc = MulAdd<fused>(pc, y2, -1.0 / 720);
  ps = MulAdd<fused>(ps, y2, 1.0 / 120);
  pc = MulAdd<fused>(pc, y2, 1.0 / 24);
  ps = MulAdd<fused>(ps, y2, -1.0 / 6);
  pc = MulAdd<fused>(pc, y2, -0.5);
  const double sy = MulAdd<fused>(y * y2, ps, y);
  const double cy = MulAdd<fused>(y2, pc, 1.0);
  const double s2 = 2.0 * sy * cy, c2 = (cy - sy) * (cy + sy);
  s = 2.0 * s2 * c2;
  c = (c2 - s2) * (c2 + s2);
}

// Sums of one block and their derivatives by the block's time variable.
struct Sums {
  double value = 0.0, rate = 0.0, accel = 0.0;
};

// The sum of n values, in four running sums so that the additions overlap.
[[gnu::always_inline]] inline double Total(const double* x, std::size_t n) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    s0 += x[i];
    s1 += x[i + 1];
    s2 += x[i + 2];
    s3 += x[i + 3];
  }
  for (; i < n; ++i) s0 += x[i];
  return (s0 + s1) + (s2 + s3);
}

// VSOP87: sum A cos(B + C tau) and its derivative.
template <bool fused>
[[gnu::always_inline]] inline Sums VsopBody(const SeriesSet::VsopBlock& block, double tau) {
  double values[kChunk], rates[kChunk];
  Sums out;
  for (std::size_t first = 0; first < block.a.size(); first += kChunk) {
    const std::size_t n = std::min(kChunk, block.a.size() - first);
    const double* __restrict a = block.a.data() + first;
    const double* __restrict b = block.b.data() + first;
    const double* __restrict c = block.c.data() + first;
    for (std::size_t i = 0; i < n; ++i) {
      double sine, cosine;
      SinCos<fused>(MulAdd<fused>(c[i], tau, b[i]), sine, cosine);
      values[i] = a[i] * cosine;
      rates[i] = -a[i] * c[i] * sine;
    }
    out.value += Total(values, n);
    out.rate += Total(rates, n);
  }
  return out;
}

// ELP: sum A sin(phase + f1 T + f2 T^2 + f3 T^3 + f4 T^4), its first and (when `second`) its
// second derivative.
template <bool fused, bool second>
[[gnu::always_inline]] inline Sums ElpBody(const SeriesSet::ElpBlock& block, double t) {
  double values[kChunk], rates[kChunk], accels[kChunk];
  Sums out;
  for (std::size_t first = 0; first < block.a.size(); first += kChunk) {
    const std::size_t n = std::min(kChunk, block.a.size() - first);
    const double* __restrict a = block.a.data() + first;
    const double* __restrict ph = block.phase.data() + first;
    const double* __restrict f1 = block.f1.data() + first;
    const double* __restrict f2 = block.f2.data() + first;
    const double* __restrict f3 = block.f3.data() + first;
    const double* __restrict f4 = block.f4.data() + first;
    for (std::size_t i = 0; i < n; ++i) {
      double sine, cosine;
      SinCos<fused>(ph[i] + t * (f1[i] + t * (f2[i] + t * (f3[i] + t * f4[i]))), sine, cosine);
      const double rate = f1[i] + t * (2.0 * f2[i] + t * (3.0 * f3[i] + t * 4.0 * f4[i]));
      values[i] = a[i] * sine;
      rates[i] = a[i] * rate * cosine;
      if constexpr (second) {
        const double accel = 2.0 * f2[i] + t * (6.0 * f3[i] + t * 12.0 * f4[i]);
        accels[i] = a[i] * (accel * cosine - rate * rate * sine);
      }
    }
    out.value += Total(values, n);
    out.rate += Total(rates, n);
    if constexpr (second) out.accel += Total(accels, n);
  }
  return out;
}

Sums VsopPlain(const SeriesSet::VsopBlock& block, double tau) {
  return VsopBody<false>(block, tau);
}
Sums ElpPlain(const SeriesSet::ElpBlock& block, double t, bool second) {
  return second ? ElpBody<false, true>(block, t) : ElpBody<false, false>(block, t);
}

#ifdef VELM_SERIES_AVX2
[[gnu::target("avx2,fma")]] Sums VsopAvx2(const SeriesSet::VsopBlock& block, double tau) {
  return VsopBody<true>(block, tau);
}
[[gnu::target("avx2,fma")]] Sums ElpAvx2(const SeriesSet::ElpBlock& block, double t, bool second) {
  return second ? ElpBody<true, true>(block, t) : ElpBody<true, false>(block, t);
}
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}
Sums SumBlock(const SeriesSet::VsopBlock& block, double tau) {
  return HasAvx2() ? VsopAvx2(block, tau) : VsopPlain(block, tau);
}
Sums SumBlock(const SeriesSet::ElpBlock& block, double t, bool second) {
  return HasAvx2() ? ElpAvx2(block, t, second) : ElpPlain(block, t, second);
}
#else
Sums SumBlock(const SeriesSet::VsopBlock& block, double tau) { return VsopPlain(block, tau); }
Sums SumBlock(const SeriesSet::ElpBlock& block, double t, bool second) {
  return ElpPlain(block, t, second);
}
#endif

// A value with its first and second derivatives, for the Moon's coordinates.
struct Jet {
  double v = 0.0, d = 0.0, dd = 0.0;
};
Jet operator*(const Jet& a, const Jet& b) {
  return Jet{a.v * b.v, a.d * b.v + a.v * b.d, a.dd * b.v + 2.0 * a.d * b.d + a.v * b.dd};
}
Jet Sin(const Jet& a) {
  const double s = std::sin(a.v), c = std::cos(a.v);
  return Jet{s, c * a.d, c * a.dd - s * a.d * a.d};
}
Jet Cos(const Jet& a) {
  const double s = std::sin(a.v), c = std::cos(a.v);
  return Jet{c, -s * a.d, -s * a.dd - c * a.d * a.d};
}

// t^k with its first and second derivatives.
Jet PowerJet(double t, int k) {
  if (k == 0) return Jet{1.0, 0.0, 0.0};
  const double below1 = std::pow(t, k - 1);
  const double below2 = k >= 2 ? std::pow(t, k - 2) : 0.0;
  return Jet{below1 * t, k * below1, k * (k - 1) * below2};
}

}  // namespace

SeriesCut FastPathCut() {
  SeriesCut cut;
  // Mercury .. Neptune, radians.
  cut.planetRad = {1.5e-8, 4e-9, 3e-9, 2e-9, 1e-8, 8e-9, 1e-8, 2e-8};
  cut.moonArcsec = 5e-4;
  return cut;
}

SeriesCut PerturberCut() {
  SeriesCut cut;
  cut.planetRad = {1e-7, 1e-7, 1e-7, 1e-7, 1e-8, 1e-8, 1e-8, 1e-8};
  return cut;
}

SeriesSet::SeriesSet(const SeriesCut& cut) {
  const auto vsopTerms = VsopTerms();
  for (const VsopSeries& s : VsopIndex()) {
    const double reach = std::pow(SeriesCut::kTauReach, s.power);
    const double scale = s.coordinate == 2 ? kMeanDistanceAu[s.planet] : 1.0;
    const double threshold = cut.planetRad[s.planet] * scale;
    VsopBlock block;
    block.power = s.power;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const VsopTerm& t = vsopTerms[i];
      if (!(std::fabs(t.a) * reach >= threshold)) continue;
      block.a.push_back(t.a);
      block.b.push_back(t.b);
      block.c.push_back(t.c);
    }
    if (!block.a.empty()) planets_[s.planet][s.coordinate].push_back(std::move(block));
  }
  const auto elpTerms = ElpTerms();
  for (const ElpSeries& s : ElpIndex()) {
    const double reach = std::pow(SeriesCut::kCenturyReach, s.power);
    const double threshold =
        s.coordinate == 2 ? cut.moonArcsec * kArcsecToRad * kMoonMeanDistanceKm : cut.moonArcsec;
    ElpBlock block;
    block.power = s.power;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const ElpTerm& t = elpTerms[i];
      if (!(std::fabs(t.a) * reach >= threshold)) continue;
      block.a.push_back(t.a);
      block.phase.push_back(t.phase);
      block.f1.push_back(t.f1);
      block.f2.push_back(t.f2);
      block.f3.push_back(t.f3);
      block.f4.push_back(t.f4);
    }
    if (!block.a.empty()) moon_[s.coordinate].push_back(std::move(block));
  }
}

void SeriesSet::PlanetState(Planet planet, double jdTt, Vector3& positionAu,
                            Vector3& velocityAuPerDay) const {
  const double tau = (jdTt - 2451545.0) / kDaysPerMillennium;
  double value[3], rate[3];  // rate per millennium
  for (int coordinate = 0; coordinate < 3; ++coordinate) {
    value[coordinate] = rate[coordinate] = 0.0;
    for (const VsopBlock& block : planets_[static_cast<int>(planet)][coordinate]) {
      const Sums sum = SumBlock(block, tau);
      const int k = block.power;
      const double tauK = k == 0 ? 1.0 : std::pow(tau, k);
      const double tauKRate = k == 0 ? 0.0 : k * std::pow(tau, k - 1);
      value[coordinate] += tauK * sum.value;
      rate[coordinate] += tauK * sum.rate + tauKRate * sum.value;
    }
  }
  const double l = value[0], b = value[1], r = value[2];
  const double dl = rate[0] / kDaysPerMillennium, db = rate[1] / kDaysPerMillennium,
               dr = rate[2] / kDaysPerMillennium;
  const double cl = std::cos(l), sl = std::sin(l), cb = std::cos(b), sb = std::sin(b);
  positionAu = Vector3{r * cb * cl, r * cb * sl, r * sb};
  velocityAuPerDay =
      Vector3{dr * cb * cl - r * sb * db * cl - r * cb * sl * dl,
              dr * cb * sl - r * sb * db * sl + r * cb * cl * dl, dr * sb + r * cb * db};
}

MoonMotion SeriesSet::Moon(double jdTt, bool acceleration) const {
  const double t = (jdTt - 2451545.0) / 36525.0;
  Jet coordinate[3];  // per century
  for (int c = 0; c < 3; ++c)
    for (const ElpBlock& block : moon_[c]) {
      const Sums s = SumBlock(block, t, acceleration);
      const Jet sum = Jet{s.value, s.rate, s.accel} * PowerJet(t, block.power);
      coordinate[c].v += sum.v;
      coordinate[c].d += sum.d;
      coordinate[c].dd += sum.dd;
    }
  const auto w1 = ElpMeanLongitude();
  const Jet meanLongitude{w1[0] + t * (w1[1] + t * (w1[2] + t * (w1[3] + t * w1[4]))),
                          w1[1] + t * (2.0 * w1[2] + t * (3.0 * w1[3] + t * 4.0 * w1[4])),
                          2.0 * w1[2] + t * (6.0 * w1[3] + t * 12.0 * w1[4])};
  const Jet lon{meanLongitude.v + coordinate[0].v * kArcsecToRad,
                meanLongitude.d + coordinate[0].d * kArcsecToRad,
                meanLongitude.dd + coordinate[0].dd * kArcsecToRad};
  const Jet lat{coordinate[1].v * kArcsecToRad, coordinate[1].d * kArcsecToRad,
                coordinate[1].dd * kArcsecToRad};
  const Jet& r = coordinate[2];

  // Mean ecliptic of date, longitudes from the fixed departure point.
  const Jet rcu = r * Cos(lat);
  const Jet x = rcu * Cos(lon), y = rcu * Sin(lon), z = r * Sin(lat);

  // Rotation about the node of the ecliptic of date onto the J2000 ecliptic (IAU 2006 angles).
  const EclipticPrecession pr = EclipticPrecessionAt(JdTt{jdTt});
  const double s = std::sin(0.5 * pr.piA);
  const double pw = s * std::sin(pr.bigPiA), qw = s * std::cos(pr.bigPiA);
  const double ra = 2.0 * std::sqrt(1.0 - pw * pw - qw * qw);
  const Matrix3 toJ2000{{{1.0 - 2.0 * pw * pw, 2.0 * pw * qw, pw * ra},
                         {2.0 * pw * qw, 1.0 - 2.0 * qw * qw, -qw * ra},
                         {-pw * ra, qw * ra, 1.0 - 2.0 * pw * pw - 2.0 * qw * qw}}};
  constexpr double kPerDay = 1.0 / 36525.0;
  MoonMotion out;
  out.position = toJ2000 * Vector3{x.v, y.v, z.v};
  out.velocity = toJ2000 * Vector3{x.d, y.d, z.d} * kPerDay;
  if (acceleration) {
    out.acceleration = toJ2000 * Vector3{x.dd, y.dd, z.dd} * (kPerDay * kPerDay);
  } else {
    const double d = out.position.Length();
    out.acceleration = out.position * (-kGmEarthMoon / (d * d * d));
  }
  return out;
}

std::size_t SeriesSet::PlanetTermCount(Planet planet) const {
  std::size_t n = 0;
  for (const auto& coordinate : planets_[static_cast<int>(planet)])
    for (const VsopBlock& block : coordinate) n += block.a.size();
  return n;
}

std::size_t SeriesSet::MoonTermCount() const {
  std::size_t n = 0;
  for (const auto& coordinate : moon_)
    for (const ElpBlock& block : coordinate) n += block.a.size();
  return n;
}

const SeriesSet& FullSeries() {
  static const SeriesSet full{SeriesCut{}};
  return full;
}

const SeriesSet& CutSeries() {
  static const SeriesSet cut{FastPathCut()};
  return cut;
}

const SeriesSet& PerturberSeries() {
  static const SeriesSet perturbers{PerturberCut()};
  return perturbers;
}
