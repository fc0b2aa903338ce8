// The condition kinds that search the whole chart: CONF (an aspect figure among the chart's
// points and cusps) and QUANT (a count of points in places or of aspects, compared with a number).
//
// A configuration is searched vertex by vertex: each next vertex must be an aspect partner of the
// one before at the row's next angle, so only the paths that stay in the figure are followed,
// where trying every ordered tuple of candidates would take up to 10^10 steps per chart. The
// members (vertex restrictions) are matched last, but a partial path whose vertices can no longer
// take distinct members is given up at once.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "conditions/core/aspect_configurations.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/condition_eval_internal.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"

namespace condeval {

namespace {

constexpr int kCandidateCount = 46;  // points 0..33, cusps 34..45
constexpr int kFirstCusp = 34;
constexpr int kMaxVertices = 6;
constexpr int kNodes[2] = {16, 17};
// The angle of an aspect found by the system's search must lie this close to the row's angle.
constexpr double kAngleMatch = 0.01;

using Mask = std::uint64_t;  // a set of candidates
constexpr Mask Bit(int candidate) { return Mask{1} << candidate; }
constexpr Mask kPointsMask = (Mask{1} << kFirstCusp) - 1;

// The candidates of a chart that a condition admits, with their longitudes.
struct Candidates {
  std::array<double, kCandidateCount> longitude{};
  Mask admitted = 0;  // admitted and present
};

Candidates CollectCandidates(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                             int objectSet, int cuspWord, int nodeFlag) {
  Candidates out;
  for (int i = 0; i < kCandidateCount; ++i) {
    const AngleValue value =
        i < kFirstCusp ? chart.GetPointLongitude(i) : chart.GetCusp(i - kFirstCusp);
    out.longitude[static_cast<std::size_t>(i)] = value.Get();
    if (value.IsSet() && set.IsObjectAdmitted(ctx, i, objectSet, cuspWord, nodeFlag))
      out.admitted |= Bit(i);
  }
  return out;
}

template <typename F>
void ForEachBit(Mask mask, F f) {
  while (mask) {
    f(std::countr_zero(mask));
    mask &= mask - 1;
  }
}

// The aspect test of a configuration between two candidates at an angle of the table.
class AngleTest {
 public:
  AngleTest(const ChartContext& ctx, const QueryCondition& c, const Candidates& candidates)
      : config_(ctx.Config()),
        system_(SystemOf(ctx, c)),
        candidates_(candidates),
        systemOrbs_(c.w[11] == 1),
        ownOrb_(c.w[12] + c.w[13] / 60.0 + kOrbMargin),
        cuspPairClass_(c.w[17]) {}

  bool Holds(int i, int j, double angle) const {
    const double p = candidates_.longitude[static_cast<std::size_t>(i)];
    const double q = candidates_.longitude[static_cast<std::size_t>(j)];
    if (!systemOrbs_) return std::fabs(angle - AspectSeparation(p, q)) <= ownOrb_;
    if (!system_) return false;
    // Two cusps take the condition's class; a point with a point or a cusp the point's class.
    const int orbClass =
        i >= kFirstCusp && j >= kFirstCusp ? cuspPairClass_ : config_.GetPairOrbClass(i, j);
    const AspectMatch m = system_->FindAspect(p, q, OrbColumnOfClass(orbClass));
    return m.Found() &&
           std::fabs(FoldAngle(system_->GetAspect(m.position).angle) - angle) <= kAngleMatch;
  }

  // The partners of every candidate at an angle.
  std::array<Mask, kCandidateCount> Partners(double angle) const {
    std::array<Mask, kCandidateCount> out{};
    ForEachBit(candidates_.admitted, [&](int i) {
      ForEachBit(candidates_.admitted & ~Bit(i), [&](int j) {
        if (j > i && Holds(i, j, angle)) {
          out[static_cast<std::size_t>(i)] |= Bit(j);
          out[static_cast<std::size_t>(j)] |= Bit(i);
        }
      });
    });
    return out;
  }

 private:
  const Configuration& config_;
  const AspectSystem* system_;
  const Candidates& candidates_;
  bool systemOrbs_;
  double ownOrb_;
  int cuspPairClass_;
};

// The candidates that member `slot` (0..5) of a configuration allows: members 1 and 2 are object
// codes (a point, a cusp, a house ruler, a planet or house group), members 3 to 6 candidates; 700
// any chart point. A group that is not found allows none.
Mask MemberMask(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                const QueryCondition& c, int slot) {
  const int packed = c.w[static_cast<std::size_t>(14 + slot / 2)];
  const int member = slot % 2 == 0 ? packed / 1000 : packed % 1000;
  if (member == kAnyPlanet) return kPointsMask;
  if (slot >= 2) return member >= 0 && member < kCandidateCount ? Bit(member) : 0;
  if (IsPointCode(member)) return Bit(member);
  if (IsHouseCode(member)) return Bit(kFirstCusp + member - kHouseBase);
  if (IsRulerCode(member)) {
    const int point = RulerPoint(chart, ctx.Config(), member - kRulerBase);
    return point >= 0 && point < kFirstCusp ? Bit(point) : 0;
  }
  if (member == kPlanetGroupOneOf || member == kHouseGroupOneOf) {
    const Members group = Resolve(set, member, slot == 0 ? c.text1 : c.text2);
    if (!group.found) return 0;
    Mask mask = 0;
    for (int i = 0; i < group.count; ++i) {
      const int index = group.index[static_cast<std::size_t>(i)];
      mask |= member == kPlanetGroupOneOf ? Bit(index) : Bit(kFirstCusp + index % 12);
    }
    return mask & (member == kPlanetGroupOneOf ? kPointsMask : ~kPointsMask);
  }
  return 0;
}

// The sets of members already taken by a partial figure: bit s of the state is set when the
// vertices so far can take the members of subset s, each a different one.
using MatchState = std::uint64_t;
constexpr MatchState kNothingTaken = 1;  // the empty subset

MatchState TakeMember(MatchState state, unsigned allowedSlots) {
  MatchState out = 0;
  for (unsigned taken = 0; taken < 64; ++taken) {
    if (!(state >> taken & 1)) continue;
    for (unsigned free = allowedSlots & ~taken; free; free &= free - 1)
      out |= MatchState{1} << (taken | (free & -free));
  }
  return out;
}

// The search of a configuration on one chart.
class ConfSearch {
 public:
  ConfSearch(const AspectConfiguration& row, const QueryCondition& c, const Candidates& candidates,
             const AngleTest& test, const std::array<Mask, kMaxVertices>& slots)
      : row_(row), c_(c), candidates_(candidates), test_(test), slots_(slots), n_(row.members) {
    partners_.reserve(8);
  }

  bool Run() { return n_ == 3 ? Triangle() : Polygon(); }

 private:
  using PartnerTable = std::array<Mask, kCandidateCount>;

  // The partners of every candidate at an angle, worked out once per angle.
  const PartnerTable& PartnersAt(double angle) {
    for (const auto& [a, table] : partners_)
      if (a == angle) return table;
    partners_.emplace_back(angle, test_.Partners(angle));
    return partners_.back().second;
  }

  // Three vertices x, y, z: the row's angles for (x, y), (x, z), (y, z), or (unless the first
  // vertex must stand at the apex) a cyclic rotation of them; x meets member 1, y 2, z 3.
  bool Triangle() {
    const std::array<double, 3> g = {row_.angles[0], row_.angles[1], row_.angles[2]};
    const int rotations = c_.w[8] == 1 ? 1 : 3;
    for (int r = 0; r < rotations; ++r) {
      const PartnerTable& xy = PartnersAt(g[static_cast<std::size_t>(r)]);
      const PartnerTable& xz = PartnersAt(g[static_cast<std::size_t>((r + 1) % 3)]);
      const PartnerTable& yz = PartnersAt(g[static_cast<std::size_t>((r + 2) % 3)]);
      bool found = false;
      ForEachBit(candidates_.admitted & slots_[0], [&](int x) {
        if (found) return;
        ForEachBit(xy[static_cast<std::size_t>(x)] & slots_[1], [&](int y) {
          const Mask z = xz[static_cast<std::size_t>(x)] & yz[static_cast<std::size_t>(y)] &
                         slots_[2] & ~Bit(x) & ~Bit(y);
          found = found || z != 0;
        });
      });
      if (found) return true;
    }
    return false;
  }

  // Four to six vertices round the zodiac: each vertex to the next (the last to the first) at the
  // row's next angle, every next vertex behind the one before, so that the figure runs once round
  // the circle one way; the oppositions of the variants that hold them; the members in any order.
  bool Polygon() {
    std::array<Mask, kCandidateCount> behind{};
    ForEachBit(candidates_.admitted,
               [&](int v) { behind[static_cast<std::size_t>(v)] = Behind(v); });
    for (int k = 0; k < n_; ++k) {
      const PartnerTable& partners = PartnersAt(row_.angles[static_cast<std::size_t>(k)]);
      for (int v = 0; v < kCandidateCount; ++v) {
        const Mask next =
            partners[static_cast<std::size_t>(v)] & behind[static_cast<std::size_t>(v)];
        next_[static_cast<std::size_t>(k)][static_cast<std::size_t>(v)] = next;
        ForEachBit(next, [&](int u) {
          previous_[static_cast<std::size_t>(k)][static_cast<std::size_t>(u)] |= Bit(v);
        });
      }
    }
    if (row_.withOppositions) {
      opposition_ = PartnersAt(180.0);
      // Four vertices: the first and third at twice the third angle when the angles come in equal
      // pairs (120-120-60-60: a grand trine), opposite when they alternate (120-60-120-60).
      const auto& g = row_.angles;
      if (n_ == 4 && g[0] == g[1] && g[2] == g[3]) {
        firstThird_ = PartnersAt(2.0 * g[2]);
        checkFirstThird_ = true;
      } else if (n_ == 4 && g[0] == g[2] && g[1] == g[3]) {
        firstThird_ = opposition_;
        checkFirstThird_ = true;
      }
    }
    if (!QuickCount()) return false;
    match_[0] = kNothingTaken;
    return Extend(0);
  }

  // The candidates that lie behind candidate v (less than 180 degrees ahead counts as ahead).
  Mask Behind(int v) const {
    Mask out = 0;
    ForEachBit(candidates_.admitted, [&](int u) {
      if (Wrap360(candidates_.longitude[static_cast<std::size_t>(u)] -
                  candidates_.longitude[static_cast<std::size_t>(v)]) >= 180.0)
        out |= Bit(u);
    });
    return out;
  }

  // A figure of n vertices needs n candidates each of which could stand at some vertex: a
  // partner ahead at the angle into that vertex and one behind at the angle out of it; the
  // variants with oppositions need candidates with an opposite partner (two of four vertices, all
  // six of the hexagram). It never rules out a chart in which the search would find the figure.
  bool QuickCount() const {
    int possible = 0, opposed = 0;
    ForEachBit(candidates_.admitted, [&](int v) {
      bool fits = false;
      for (int k = 0; k < n_ && !fits; ++k)
        fits =
            next_[static_cast<std::size_t>(k)][static_cast<std::size_t>(v)] != 0 &&
            previous_[static_cast<std::size_t>((k + n_ - 1) % n_)][static_cast<std::size_t>(v)] !=
                0;
      if (fits) ++possible;
      if (row_.withOppositions && opposition_[static_cast<std::size_t>(v)] != 0) ++opposed;
    });
    if (possible < n_) return false;
    return !row_.withOppositions || opposed >= (n_ == 4 ? 2 : n_);
  }

  unsigned SlotsOf(int v) const {
    unsigned out = 0;
    for (int s = 0; s < n_; ++s)
      if (slots_[static_cast<std::size_t>(s)] & Bit(v)) out |= 1u << s;
    return out;
  }

  // The oppositions a vertex at `depth` closes with the vertices before it.
  bool OppositionsHold(int depth, int v) const {
    if (!row_.withOppositions) return true;
    const auto opposite = [&](int a) {
      return (opposition_[static_cast<std::size_t>(tuple_[static_cast<std::size_t>(a)])] &
              Bit(v)) != 0;
    };
    if (n_ == 4) {
      if (depth == 2 && checkFirstThird_)
        return (firstThird_[static_cast<std::size_t>(tuple_[0])] & Bit(v)) != 0;
      if (depth == 3) return opposite(1);
      return true;
    }
    // The hexagram: each vertex opposite the third after it.
    return depth < 3 || opposite(depth - 3);
  }

  bool Extend(int depth) {
    Mask choices =
        depth == 0 ? candidates_.admitted
                   : next_[static_cast<std::size_t>(depth - 1)]
                          [static_cast<std::size_t>(tuple_[static_cast<std::size_t>(depth - 1)])] &
                         ~used_;
    // The last vertex must lead back to the first.
    if (depth == n_ - 1)
      choices &= previous_[static_cast<std::size_t>(n_ - 1)][static_cast<std::size_t>(tuple_[0])];
    bool found = false;
    ForEachBit(choices, [&](int v) {
      if (found || !OppositionsHold(depth, v)) return;
      const MatchState state = TakeMember(match_[static_cast<std::size_t>(depth)], SlotsOf(v));
      if (state == 0) return;  // these vertices cannot take distinct members
      if (depth == n_ - 1) {
        found = true;
        return;
      }
      tuple_[static_cast<std::size_t>(depth)] = v;
      match_[static_cast<std::size_t>(depth + 1)] = state;
      used_ |= Bit(v);
      found = Extend(depth + 1);
      used_ &= ~Bit(v);
    });
    return found;
  }

  const AspectConfiguration& row_;
  const QueryCondition& c_;
  const Candidates& candidates_;
  const AngleTest& test_;
  const std::array<Mask, kMaxVertices>& slots_;
  const int n_;
  // Per angle k of the row: the partners of each candidate at that angle lying behind it, and the
  // candidates of which it is such a partner.
  std::array<std::array<Mask, kCandidateCount>, kMaxVertices> next_{};
  std::array<std::array<Mask, kCandidateCount>, kMaxVertices> previous_{};
  std::vector<std::pair<double, PartnerTable>> partners_;
  PartnerTable opposition_{};
  PartnerTable firstThird_{};
  bool checkFirstThird_ = false;
  std::array<int, kMaxVertices> tuple_{};
  std::array<MatchState, kMaxVertices + 1> match_{};
  Mask used_ = 0;
};

// The count comparison of QUANT: 0 equal to word 8, 1 more, 2 less, 3 from word 8 to word 9
// (word 9 itself only when word 10 is 1).
bool CountPasses(const QueryCondition& c, int count) {
  switch (c.w[4]) {
    case 0:
      return count == c.w[8];
    case 1:
      return count > c.w[8];
    case 2:
      return count < c.w[8];
    case 3:
      return count >= c.w[8] && (count < c.w[9] || (c.w[10] == 1 && count == c.w[9]));
    default:
      return false;
  }
}

// The counts of the members of the counted object, each -1 for an absent member, decided by the
// quantifier: one-of as soon as one count passes, each when every count passes, or, when text 2
// is not empty, the sum of the counts compared.
int DecideCounts(const QueryCondition& c, char quantifier, const std::vector<int>& counts) {
  if (!c.text2.empty()) {
    int sum = 0;
    for (const int n : counts) sum += n > 0 ? n : 0;
    return CountPasses(c, sum) ? 1 : 0;
  }
  const auto passes = [&c](int n) { return n >= 0 && CountPasses(c, n); };
  if (quantifier == 'A') {
    for (const int n : counts)
      if (!passes(n)) return 0;
    return 1;
  }
  for (const int n : counts)
    if (passes(n)) return 1;
  return 0;
}

char QuantifierOfCode(int code) {
  return code == kPlanetGroupEach || code == kSignGroupEach || code == kHouseGroupEach ? 'A' : 'N';
}

// The admitted chart points (0..33) in a sign or a house.
int PointsIn(const Chart& chart, const Candidates& candidates, bool house, int place) {
  int count = 0;
  ForEachBit(candidates.admitted & kPointsMask, [&](int i) {
    const double x = candidates.longitude[static_cast<std::size_t>(i)];
    if ((house ? chart.HouseOf(x) : SignOfPosition(x)) == place) ++count;
  });
  return count;
}

Placed PlacedCandidate(const Candidates& candidates, int i) {
  const double x = candidates.longitude[static_cast<std::size_t>(i)];
  return i < kFirstCusp ? Placed{Family::kPoint, i, x, i}
                        : Placed{Family::kHouse, i - kFirstCusp, x, -1};
}

}  // namespace

int QueryConditionConf(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                       const QueryCondition& c) {
  ConfigurationTable table;
  BuildConfigurationTable(table);
  if (c.w[2] < 0 || c.w[2] >= kConfigurationCount) return 0;
  const AspectConfiguration& row = table[static_cast<std::size_t>(c.w[2])];
  const Candidates candidates = CollectCandidates(set, ctx, chart, c.w[3], c.w[4], c.w[10]);
  if (std::popcount(candidates.admitted) < row.members) return 0;
  std::array<Mask, kMaxVertices> slots{};
  for (int s = 0; s < row.members; ++s)
    slots[static_cast<std::size_t>(s)] =
        MemberMask(set, ctx, chart, c, c.w[9] == 1 ? 0 : s) & candidates.admitted;
  const AngleTest test(ctx, c, candidates);
  return ConfSearch(row, c, candidates, test, slots).Run() ? 1 : 0;
}

int QueryConditionQuant(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                        const QueryCondition& c) {
  const Candidates candidates = CollectCandidates(set, ctx, chart, c.w[17], c.w[18], c.w[16]);
  const int what = c.w[2], object = c.w[3];
  if (what == 0) {
    // Points in a sign or a house, or in each member place of a group.
    const Members places = Resolve(set, object, c.text1);
    const bool house = IsHouseLike(object);
    std::vector<int> counts;
    for (int i = 0; places.found && i < places.count; ++i)
      counts.push_back(
          PointsIn(chart, candidates, house, places.index[static_cast<std::size_t>(i)]));
    return DecideCounts(c, QuantifierOfCode(object), counts);
  }
  if (what == 1 || what == 2) {
    // Points in the sign or the house that holds the object.
    const Members m = Resolve(set, object, c.text1);
    const std::vector<Placed> placed = PlaceMembers(chart, ctx.Config(), c, m);
    if (placed.empty() || IsAbsent(placed[0].position)) return 0;
    const double x = placed[0].position;
    const int place = what == 1 ? SignOfPosition(x) : chart.HouseOf(x);
    if (place < 0) return 0;
    return CountPasses(c, PointsIn(chart, candidates, what == 2, place)) ? 1 : 0;
  }
  // Aspects: any aspect of the classes of the mask, by the system's orbs or the own orb.
  QueryCondition aspect = c;
  aspect.w[4] = kAnyAspectOfClasses;
  const AspectSystem* system = SystemOf(ctx, c);
  const Configuration& config = ctx.Config();
  const auto inAspect = [&](const Placed& a, const Placed& b) {
    return AspectHolds(aspect, system, a.position, b.position, PairOrbClass(c, config, a, b));
  };
  if (what == 3) {
    // Every pair of admitted candidates once.
    int count = 0;
    ForEachBit(candidates.admitted, [&](int i) {
      const Placed a = PlacedCandidate(candidates, i);
      ForEachBit(candidates.admitted & ~((Bit(i) << 1) - 1), [&](int j) {
        if (inAspect(a, PlacedCandidate(candidates, j))) ++count;
      });
    });
    return CountPasses(c, count) ? 1 : 0;
  }
  // The aspects of each member of the object to every admitted candidate other than itself.
  const Members m = Resolve(set, object, c.text1);
  std::vector<int> counts;
  for (const Placed& member : PlaceMembers(chart, config, c, m)) {
    if (IsAbsent(member.position)) {
      counts.push_back(-1);
      continue;
    }
    const int self = member.family == Family::kHouse ? kFirstCusp + member.index % 12
                     : member.point >= 0             ? member.point
                                                     : -1;
    int count = 0;
    ForEachBit(candidates.admitted, [&](int j) {
      if (j != self && inAspect(member, PlacedCandidate(candidates, j))) ++count;
    });
    counts.push_back(count);
  }
  return DecideCounts(c, QuantifierOfCode(object), counts);
}

}  // namespace condeval

int CFunc::IsObjectAdmitted(const ChartContext& context, int candidate, int objectSet, int cuspWord,
                            int nodeFlag) const {
  using condeval::kFirstCusp;
  if (candidate == -1) return 1;
  if (candidate >= kFirstCusp && candidate < condeval::kCandidateCount) {
    if (cuspWord == 0) return 0;
    const int house = candidate - kFirstCusp;
    // "Angular": the cusps of houses 1, 4, 7 and 10 only.
    return cuspWord != 1 || house % 3 == 0 ? 1 : 0;
  }
  if (candidate < 0 || candidate >= kFirstCusp) return 0;
  if (candidate == condeval::kNodes[0] || candidate == condeval::kNodes[1])
    return nodeFlag == 1 ? 1 : 0;
  switch (objectSet) {
    case 0:
      return candidate <= 9 ? 1 : 0;
    case 1:
      return context.Config().DisplayFlag(candidate) != 'N' ? 1 : 0;
    case 2:
      return 1;
    default:
      return 0;
  }
}
