#include "astro/ephemeris/series_sets.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/planet_theory.h"
#include "foundation/numbers/vector_state.h"

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

// The kernels run over vectors of `bytes`: 8 doubles with AVX-512, 4 with AVX2 (the kernels
// compiled for them, which fuse their multiply-adds), else 2. The blocks' columns come in whole
// multiples of kLanes.
constexpr std::size_t kLanes = 8;
template <int bytes>
struct LanesOf {
  typedef double Vector __attribute__((vector_size(bytes)));
  // The same, read from any double of an array (no alignment beyond the double's).
  typedef double Unaligned __attribute__((vector_size(bytes), aligned(8), may_alias));
};
template <int bytes>
using Lanes = typename LanesOf<bytes>::Vector;
template <int bytes>
constexpr std::size_t kWidth = bytes / sizeof(double);

// The lanes of x[i ...] (a macro: a function returning a vector changes its calling convention
// with the instruction set).
#define VELM_LANES_AT(x, i) \
  (*reinterpret_cast<const typename LanesOf<bytes>::Unaligned*>((x) + (i)))

// The sum of a vector's lanes.
template <int bytes>
[[gnu::always_inline]] inline double LanesTotal(const Lanes<bytes>& v) {
  double total[kWidth<bytes>];
  for (std::size_t i = 0; i < kWidth<bytes>; ++i) total[i] = v[i];
  for (std::size_t half = kWidth<bytes> / 2; half > 0; half /= 2)
    for (std::size_t i = 0; i < half; ++i) total[i] += total[i + half];
  return total[0];
}

// sin x and cos x of every lane without a library call: x is brought to [-pi, pi] by whole turns
// (the rounding by adding and taking away 1.5 * 2^52), the sine and cosine of x / 4 come from
// their Taylor series to the 13th and 12th powers (below 4e-13 on [-pi/4, pi/4]), and the double
// angle twice gives those of x (within 2e-12: a tenth of a millimetre on the Moon's largest
// term).
template <int bytes>
[[gnu::always_inline]] inline void SinCos(const Lanes<bytes>& x, Lanes<bytes>& s, Lanes<bytes>& c) {
  constexpr double kRound = 6755399441055744.0;
  constexpr double kInvTwoPi = 0.15915494309189535;
  constexpr double kTwoPiHi = 6.2831853071795862, kTwoPiLo = 2.4492935982947064e-16;
  const Lanes<bytes> turns = (x * kInvTwoPi + kRound) - kRound;
  const Lanes<bytes> y = 0.25 * ((x - turns * kTwoPiHi) - turns * kTwoPiLo);
  const Lanes<bytes> y2 = y * y;
  Lanes<bytes> ps = y2 * (1.0 / 6227020800) - 1.0 / 39916800;
  Lanes<bytes> pc = y2 * (1.0 / 479001600) - 1.0 / 3628800;
  ps = ps * y2 + 1.0 / 362880;
  pc = pc * y2 + 1.0 / 40320;
  ps = ps * y2 - 1.0 / 5040;
  pc = pc * y2 - 1.0 / 720;
  ps = ps * y2 + 1.0 / 120;
  pc = pc * y2 + 1.0 / 24;
  ps = ps * y2 - 1.0 / 6;
  pc = pc * y2 - 0.5;
  const Lanes<bytes> sy = (y * y2) * ps + y;
  const Lanes<bytes> cy = y2 * pc + 1.0;
  const Lanes<bytes> s2 = 2.0 * sy * cy, c2 = (cy - sy) * (cy + sy);
  s = 2.0 * s2 * c2;
  c = (c2 - s2) * (c2 + s2);
}

// A column group's coordinates as bits (1 << coordinate); the groups in the order of the columns
// (SeriesSet's blocks): the latitude alone, with the longitude, all three, the longitude with the
// distance, the distance alone.
constexpr int kGroupCoordinates[] = {2, 3, 7, 5, 4};

// Sums of one block and their derivatives by the block's time variable, per coordinate.
struct Sums {
  double value = 0.0, rate = 0.0, accel = 0.0;
};
using CoordinateSums = std::array<Sums, 3>;

// VSOP87, the columns from..to of one power of time, whose terms are in the coordinates `mask`:
// for each frequency C the cosine and sine of C tau, then per coordinate p cos + q sin (= A cos(B
// + C tau) summed over its terms) and its derivative, added into `value` and `rate`.
template <int bytes, int mask>
[[gnu::always_inline]] inline void VsopGroup(const SeriesSet::VsopBlock& block, std::size_t from,
                                             std::size_t to, double tau, Lanes<bytes> (&value)[3],
                                             Lanes<bytes> (&rate)[3]) {
  for (std::size_t i = from; i < to; i += kWidth<bytes>) {
    const Lanes<bytes> c = VELM_LANES_AT(block.c.data(), i);
    Lanes<bytes> sine, cosine;
    SinCos<bytes>(c * tau, sine, cosine);
    for (std::size_t k = 0; k < 3; ++k) {
      if (!(mask & (1 << k))) continue;
      const Lanes<bytes> p = VELM_LANES_AT(block.p[k].data(), i);
      const Lanes<bytes> q = VELM_LANES_AT(block.q[k].data(), i);
      value[k] += p * cosine + q * sine;
      rate[k] += c * (q * cosine - p * sine);
    }
  }
}

template <int bytes>
[[gnu::always_inline]] inline void SumColumns(const SeriesSet::VsopBlock& block, double tau,
                                              CoordinateSums& out) {
  Lanes<bytes> value[3] = {}, rate[3] = {};
  const auto& g = block.groups;
  VsopGroup<bytes, kGroupCoordinates[0]>(block, g[0], g[1], tau, value, rate);
  VsopGroup<bytes, kGroupCoordinates[1]>(block, g[1], g[2], tau, value, rate);
  VsopGroup<bytes, kGroupCoordinates[2]>(block, g[2], g[3], tau, value, rate);
  VsopGroup<bytes, kGroupCoordinates[3]>(block, g[3], g[4], tau, value, rate);
  VsopGroup<bytes, kGroupCoordinates[4]>(block, g[4], g[5], tau, value, rate);
  for (std::size_t k = 0; k < 3; ++k) {
    out[k].value += LanesTotal<bytes>(value[k]);
    out[k].rate += LanesTotal<bytes>(rate[k]);
  }
}

// ELP, the columns from..to of one power of time, whose terms are in the coordinates `mask`: for
// each frequency the angle f1 T + f2 T^2 + f3 T^3 + f4 T^4 with its first and second derivatives
// and its cosine and sine, then per coordinate p cos + q sin (= A sin(phase + angle) summed over
// its terms) with its first and second derivatives.
template <int bytes, int mask>
[[gnu::always_inline]] inline void ElpGroup(const SeriesSet::ElpBlock& block, std::size_t from,
                                            std::size_t to, double t, Lanes<bytes> (&value)[3],
                                            Lanes<bytes> (&rate)[3], Lanes<bytes> (&accel)[3]) {
  for (std::size_t i = from; i < to; i += kWidth<bytes>) {
    const Lanes<bytes> f1 = VELM_LANES_AT(block.f1.data(), i);
    const Lanes<bytes> f2 = VELM_LANES_AT(block.f2.data(), i);
    const Lanes<bytes> f3 = VELM_LANES_AT(block.f3.data(), i);
    const Lanes<bytes> f4 = VELM_LANES_AT(block.f4.data(), i);
    Lanes<bytes> sine, cosine;
    SinCos<bytes>(t * (f1 + t * (f2 + t * (f3 + t * f4))), sine, cosine);
    const Lanes<bytes> r = f1 + t * (2.0 * f2 + t * (3.0 * f3 + t * 4.0 * f4));
    const Lanes<bytes> a = 2.0 * f2 + t * (6.0 * f3 + t * 12.0 * f4);
    for (std::size_t k = 0; k < 3; ++k) {
      if (!(mask & (1 << k))) continue;
      const Lanes<bytes> p = VELM_LANES_AT(block.p[k].data(), i);
      const Lanes<bytes> q = VELM_LANES_AT(block.q[k].data(), i);
      const Lanes<bytes> v = p * cosine + q * sine, slope = q * cosine - p * sine;
      value[k] += v;
      rate[k] += r * slope;
      accel[k] += a * slope - r * r * v;
    }
  }
}

template <int bytes>
[[gnu::always_inline]] inline void SumColumns(const SeriesSet::ElpBlock& block, double t,
                                              CoordinateSums& out) {
  Lanes<bytes> value[3] = {}, rate[3] = {}, accel[3] = {};
  const auto& g = block.groups;
  ElpGroup<bytes, kGroupCoordinates[0]>(block, g[0], g[1], t, value, rate, accel);
  ElpGroup<bytes, kGroupCoordinates[1]>(block, g[1], g[2], t, value, rate, accel);
  ElpGroup<bytes, kGroupCoordinates[2]>(block, g[2], g[3], t, value, rate, accel);
  ElpGroup<bytes, kGroupCoordinates[3]>(block, g[3], g[4], t, value, rate, accel);
  ElpGroup<bytes, kGroupCoordinates[4]>(block, g[4], g[5], t, value, rate, accel);
  for (std::size_t k = 0; k < 3; ++k) {
    out[k].value += LanesTotal<bytes>(value[k]);
    out[k].rate += LanesTotal<bytes>(rate[k]);
    out[k].accel += LanesTotal<bytes>(accel[k]);
  }
}

#undef VELM_LANES_AT

// The sums of a block of either series at time `t`, by the widest kernels the processor runs.
template <typename Block>
void SumPlain(const Block& block, double t, CoordinateSums& out) {
  SumColumns<16>(block, t, out);
}
#ifdef VELM_SERIES_AVX2
template <typename Block>
[[gnu::target("avx2,fma")]] void SumAvx2(const Block& block, double t, CoordinateSums& out) {
  SumColumns<32>(block, t, out);
}
// The AVX-512 kernels work on whole 512-bit registers: g++ asks for them with a preferred vector
// width in the target, clang (which takes no width there) with its own attribute.
#if defined(__clang__)
#define VELM_TARGET_AVX512 [[gnu::target("avx512f,fma"), clang::min_vector_width(512)]]
#else
#define VELM_TARGET_AVX512 [[gnu::target("avx512f,fma,prefer-vector-width=512")]]
#endif
template <typename Block>
VELM_TARGET_AVX512 void SumAvx512(const Block& block, double t, CoordinateSums& out) {
  SumColumns<64>(block, t, out);
}
// The widest kernels the processor runs: 2 AVX-512, 1 AVX2 with FMA, 0 neither.
int Widest() {
  static const int widest = __builtin_cpu_supports("avx512f")                                 ? 2
                            : __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") ? 1
                                                                                              : 0;
  return widest;
}
#endif

template <typename Block>
CoordinateSums SumBlock(const Block& block, double t) {
  CoordinateSums out{};
#ifdef VELM_SERIES_AVX2
  if (Widest() == 2) {
    SumAvx512(block, t, out);
    return out;
  }
  if (Widest() == 1) {
    SumAvx2(block, t, out);
    return out;
  }
#endif
  SumPlain(block, t, out);
  return out;
}

// A value with its first and second derivatives, for the Moon's coordinates.
struct Jet {
  double v = 0.0, d = 0.0, dd = 0.0;
};
Jet operator*(const Jet& a, const Jet& b) {
  return Jet{a.v * b.v, a.d * b.v + a.v * b.d, a.dd * b.v + 2.0 * a.d * b.d + a.v * b.dd};
}
// The sine and cosine of a.
void SinCos(const Jet& a, Jet& sine, Jet& cosine) {
  const double s = std::sin(a.v), c = std::cos(a.v);
  sine = Jet{s, c * a.d, c * a.dd - s * a.d * a.d};
  cosine = Jet{c, -s * a.d, -s * a.dd - c * a.d * a.d};
}

// t^k with its first and second derivatives.
Jet PowerJet(double t, int k) {
  Jet power{1.0, 0.0, 0.0};
  for (int i = 0; i < k; ++i) power = power * Jet{t, 1.0, 0.0};
  return power;
}

// The blocks of one planet or of the Moon in the making: one per power of time, one column per
// frequency, the terms of a frequency that come again (in another coordinate or twice in one)
// added into its column.
template <typename Block, typename Frequency>
class BlockBuilder {
 public:
  // Adds amplitude `p` of the cosine and `q` of the sine to coordinate `k` of `frequency` in the
  // block of `power`.
  void Add(int power, const Frequency& frequency, int k, double p, double q) {
    Pending& block = blocks_[power];
    const auto [at, added] = block.column.try_emplace(frequency, block.frequencies.size());
    if (added) block.frequencies.push_back(frequency);
    block.terms.push_back(Term{at->second, k, p, q});
  }

  // The blocks in increasing power. The columns are laid out so that each coordinate's are one
  // run: those of the latitude alone, of the latitude and the longitude, of all three, of the
  // longitude and the distance, of the distance alone (a column of the longitude alone goes with
  // the longitude and the distance, one of the latitude and the distance with all three); each
  // group is filled up with columns of no terms (frequency zero) to a whole number of lanes.
  template <typename SetFrequency>
  std::vector<Block> Finish(SetFrequency setFrequency) const {
    constexpr int kLon = 1, kLat = 2, kDist = 4;  // a column's coordinates, as bits
    std::vector<Block> out;
    for (const auto& [power, pending] : blocks_) {
      std::vector<int> coordinates(pending.frequencies.size(), 0);
      for (const Term& t : pending.terms) coordinates[t.column] |= 1 << t.k;
      for (int& c : coordinates) {
        if (c == kLon) c = kLon | kDist;
        if (c == (kLat | kDist)) c = kLat | kLon | kDist;
      }
      Block block;
      block.power = power;
      std::vector<std::size_t> place(pending.frequencies.size());
      std::size_t n = 0;
      for (std::size_t g = 0; g < std::size(kGroupCoordinates); ++g) {
        block.groups[g] = n;
        for (std::size_t column = 0; column < coordinates.size(); ++column)
          if (coordinates[column] == kGroupCoordinates[g]) {
            place[column] = n++;
            setFrequency(block, pending.frequencies[column]);
          }
        for (; n % kLanes != 0; ++n) setFrequency(block, Frequency{});
      }
      block.groups.back() = n;
      for (std::size_t k = 0; k < 3; ++k) {
        block.p[k].assign(n, 0.0);
        block.q[k].assign(n, 0.0);
      }
      for (const Term& t : pending.terms) {
        block.p[static_cast<std::size_t>(t.k)][place[t.column]] += t.p;
        block.q[static_cast<std::size_t>(t.k)][place[t.column]] += t.q;
      }
      out.push_back(std::move(block));
    }
    return out;
  }

 private:
  struct Term {
    std::size_t column;
    int k;
    double p, q;
  };
  struct Pending {
    std::map<Frequency, std::size_t> column;
    std::vector<Frequency> frequencies;
    std::vector<Term> terms;
  };
  std::map<int, Pending> blocks_;
};

}  // namespace

SeriesCut FastPathCut(double tauReach) {
  SeriesCut cut;
  cut.tauReach = tauReach;
  // Mercury .. Neptune, radians. Within a millennium of J2000 the thresholds stand where the worst
  // error they add reaches what the farther ones add over 3000 BC-3000 AD (below 0.1" for every
  // body: docs/decisions.md).
  if (tauReach <= 1.0) {
    cut.planetRad = {2e-8, 5e-9, 4e-9, 2e-9, 1.2e-8, 1e-8, 1.2e-8, 2.5e-8};
    cut.moonArcsec = 7e-4;
  } else {
    cut.planetRad = {1.5e-8, 4e-9, 3e-9, 2e-9, 1e-8, 8e-9, 1e-8, 2e-8};
    cut.moonArcsec = 5e-4;
  }
  return cut;
}

SeriesCut PerturberCut() {
  SeriesCut cut;
  cut.planetRad = {1e-7, 1e-7, 1e-7, 1e-7, 1e-8, 1e-8, 1e-8, 1e-8};
  return cut;
}

SeriesSet::SeriesSet(const SeriesCut& cut) {
  CleanVectorState();  // a cut of some milliseconds (foundation/numbers/vector_state.h)
  // A term A cos(B + C tau) is p cos(C tau) + q sin(C tau) with p = A cos B, q = -A sin B.
  std::array<BlockBuilder<VsopBlock, double>, 8> planets;
  const auto vsopTerms = VsopTerms();
  for (const VsopSeries& s : VsopIndex()) {
    const double reach = std::pow(cut.tauReach, s.power);
    const double scale = s.coordinate == 2 ? kMeanDistanceAu[s.planet] : 1.0;
    const double threshold = cut.planetRad[s.planet] * scale;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const VsopTerm& t = vsopTerms[i];
      if (!(std::fabs(t.a) * reach >= threshold)) continue;
      planets[s.planet].Add(s.power, t.c, s.coordinate, t.a * std::cos(t.b), -t.a * std::sin(t.b));
      ++planetTerms_[s.planet];
    }
  }
  for (std::size_t p = 0; p < planets.size(); ++p)
    planets_[p] = planets[p].Finish([](VsopBlock& block, double c) { block.c.push_back(c); });

  // A term A sin(phase + angle) is p cos(angle) + q sin(angle) with p = A sin phase, q = A cos
  // phase.
  using Polynomial = std::array<double, 4>;
  BlockBuilder<ElpBlock, Polynomial> moon;
  const double centuryReach = 10.0 * cut.tauReach;
  const auto elpTerms = ElpTerms();
  for (const ElpSeries& s : ElpIndex()) {
    const double reach = std::pow(centuryReach, s.power);
    const double threshold =
        s.coordinate == 2 ? cut.moonArcsec * kArcsecToRad * kMoonMeanDistanceKm : cut.moonArcsec;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const ElpTerm& t = elpTerms[i];
      if (!(std::fabs(t.a) * reach >= threshold)) continue;
      moon.Add(s.power, Polynomial{t.f1, t.f2, t.f3, t.f4}, s.coordinate, t.a * std::sin(t.phase),
               t.a * std::cos(t.phase));
      ++moonTerms_;
    }
  }
  moon_ = moon.Finish([](ElpBlock& block, const Polynomial& f) {
    block.f1.push_back(f[0]);
    block.f2.push_back(f[1]);
    block.f3.push_back(f[2]);
    block.f4.push_back(f[3]);
  });
}

void SeriesSet::PlanetState(Planet planet, double jdTt, Vector3& positionAu,
                            Vector3& velocityAuPerDay) const {
  const double tau = (jdTt - 2451545.0) / kDaysPerMillennium;
  double value[3] = {}, rate[3] = {};  // rate per millennium
  double tauK = 1.0, tauKRate = 0.0;   // tau^k and its derivative
  int k = 0;
  for (const VsopBlock& block : planets_[static_cast<int>(planet)]) {
    for (; k < block.power; ++k) {
      tauKRate = tauKRate * tau + tauK;
      tauK *= tau;
    }
    const CoordinateSums sums = SumBlock(block, tau);
    for (int c = 0; c < 3; ++c) {
      value[c] += tauK * sums[c].value;
      rate[c] += tauK * sums[c].rate + tauKRate * sums[c].value;
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

MoonMotion SeriesSet::Moon(double jdTt) const {
  const double t = (jdTt - 2451545.0) / 36525.0;
  Jet coordinate[3];  // per century
  for (const ElpBlock& block : moon_) {
    const CoordinateSums sums = SumBlock(block, t);
    const Jet power = PowerJet(t, block.power);
    for (int c = 0; c < 3; ++c) {
      const Jet sum = Jet{sums[c].value, sums[c].rate, sums[c].accel} * power;
      coordinate[c].v += sum.v;
      coordinate[c].d += sum.d;
      coordinate[c].dd += sum.dd;
    }
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
  Jet sinLat, cosLat, sinLon, cosLon;
  SinCos(lat, sinLat, cosLat);
  SinCos(lon, sinLon, cosLon);
  const Jet rcu = r * cosLat;
  const Jet x = rcu * cosLon, y = rcu * sinLon, z = r * sinLat;

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
  out.acceleration = toJ2000 * Vector3{x.dd, y.dd, z.dd} * (kPerDay * kPerDay);
  return out;
}

std::size_t SeriesSet::PlanetTermCount(Planet planet) const {
  return planetTerms_[static_cast<std::size_t>(planet)];
}

std::size_t SeriesSet::MoonTermCount() const { return moonTerms_; }

const SeriesSet& FullSeries() {
  static const SeriesSet full{SeriesCut{}};
  return full;
}

const SeriesSet& CutSeries(double jdTt) {
  const double tau = std::fabs(jdTt - 2451545.0) / kDaysPerMillennium;
  std::size_t band = 0;
  while (band + 1 < kCutBands.size() && !(tau <= kCutBands[band])) ++band;
  static std::array<std::once_flag, kCutBands.size()> made;
  static std::array<std::unique_ptr<const SeriesSet>, kCutBands.size()> sets;
  std::call_once(made[band], [band] {
    sets[band] = std::make_unique<const SeriesSet>(FastPathCut(kCutBands[band]));
  });
  return *sets[band];
}

const SeriesSet& PerturberSeries() {
  static const SeriesSet perturbers{PerturberCut()};
  return perturbers;
}
