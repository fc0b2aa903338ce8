// The decision of one condition: the positions of object codes, the group quantifiers, the aspect
// test and the kinds ASP, IN and INCL with their forms on a pair of charts.
#include <cmath>
#include <set>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/condition_eval_internal.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "platform/core/prompter.h"

namespace condeval {

Members Resolve(const CFunc& set, int code, const std::string& label) {
  Members m;
  if (IsGroupCode(code)) {
    m.family = IsPlanetGroupCode(code) ? Family::kPoint
               : IsSignGroupCode(code) ? Family::kSign
                                       : Family::kHouse;
    const GroupRecord* group = set.groups.LookUpGroup(label, code, m.quantifier);
    if (!group) {
      m.found = false;
      return m;
    }
    m.count = group->count;
    for (int i = 0; i < group->count; ++i)
      m.index[static_cast<std::size_t>(i)] = group->members[static_cast<std::size_t>(i)];
    return m;
  }
  m.count = 1;
  if (IsPointCode(code)) {
    m.family = Family::kPoint;
    m.index[0] = code;
  } else if (IsSignCode(code)) {
    m.family = Family::kSign;
    m.index[0] = code - kSignBase;
  } else if (IsHouseCode(code)) {
    m.family = Family::kHouse;
    m.index[0] = code - kHouseBase;
  } else if (IsRulerCode(code)) {
    m.family = Family::kRuler;
    m.index[0] = code - kRulerBase;
  } else {
    m.family = Family::kFixed;
  }
  return m;
}

// The point that rules house `house`: the configuration's ruler of the sign on its cusp (the cusp
// truncated to whole degrees); -1 when the cusp is absent or the sign has no ruling point.
int RulerPoint(const Chart& chart, const Configuration& config, int house) {
  const AngleValue cusp = chart.GetCusp(house);
  if (!cusp.IsSet()) return -1;
  const int sign = static_cast<int>(std::trunc(NormalizeDegrees(cusp.Get()))) / 30;
  const int ruler = config.signRulers[static_cast<std::size_t>(sign % 12)];
  return IsPointCode(ruler) ? ruler : -1;
}

// The chart point behind a member, for orb classes: the point itself, or a house's ruler; -1 for
// every other member.
int PointOf(const Chart& chart, const Configuration& config, Family family, int index) {
  if (family == Family::kPoint) return index;
  if (family == Family::kRuler) return RulerPoint(chart, config, index);
  return -1;
}

double Position(const Chart& chart, const Configuration& config, const QueryCondition& c,
                Family family, int index) {
  switch (family) {
    case Family::kPoint:
      return chart.GetPointLongitude(index).Get();
    case Family::kSign:
      return index * 30.0;
    case Family::kHouse:
      return chart.GetCusp(index).Get();
    case Family::kRuler: {
      const int point = RulerPoint(chart, config, index);
      return point < 0 ? kAbsent : chart.GetPointLongitude(point).Get();
    }
    case Family::kFixed:
      return c.w[8] + c.w[9] * 30.0 + c.w[10] / 60.0;
  }
  return kAbsent;
}

std::vector<Placed> PlaceMembers(const Chart& chart, const Configuration& config,
                                 const QueryCondition& c, const Members& m) {
  std::vector<Placed> out;
  out.reserve(static_cast<std::size_t>(m.count));
  for (int i = 0; i < m.count; ++i) {
    const int index = m.index[static_cast<std::size_t>(i)];
    out.push_back({m.family, index, Position(chart, config, c, m.family, index),
                   PointOf(chart, config, m.family, index)});
  }
  return out;
}

double FoldAngle(double angle) {
  angle = NormalizeDegrees(angle);
  return angle > 180.0 ? 360.0 - angle : angle;
}

bool ClassBitsSet(int mask, int type, bool major) {
  const int classBit = type >= 0 && type <= 3 ? type : kMaskOtherClass;
  return (mask >> classBit & 1) && (mask >> (major ? kMaskMajor : kMaskMinor) & 1);
}

// The aspect test of two positions under the condition's aspect choice, with the orb class of
// the pair for the system's orbs. An absent position never matches.
bool AspectHolds(const QueryCondition& c, const AspectSystem* system, double p, double q,
                 int orbClass) {
  if (IsAbsent(p) || IsAbsent(q)) return false;
  const double separation = AspectSeparation(p, q);
  const double ownOrb = c.w[12] + c.w[13] / 60.0 + kOrbMargin;
  const int choice = c.w[4];
  if (choice == kArbitraryAngle)
    return std::fabs(FoldAngle(c.w[17] + c.w[18] / 60.0) - separation) <= ownOrb;
  if (!system) return false;
  const bool systemOrbs = c.w[11] == 1;
  if (choice == kAnyAspectOfClasses) {
    const int mask = c.w[14];
    if (systemOrbs) {
      const AspectMatch m = system->FindAspect(p, q, OrbColumnOfClass(orbClass));
      if (!m.Found() || !ClassBitsSet(mask, m.type, m.major == 1)) return false;
      return mask >> (m.result == 2 ? kMaskExact : kMaskInexact) & 1;
    }
    for (const Aspect& a : system->Aspects())
      if (ClassBitsSet(mask, a.type, a.IsMajor()) &&
          std::fabs(FoldAngle(a.angle) - separation) <= ownOrb)
        return true;
    return false;
  }
  if (choice < 0 || choice >= system->Count()) return false;  // told once before the run
  if (systemOrbs) {
    const AspectMatch m = system->FindAspect(p, q, OrbColumnOfClass(orbClass));
    return m.Found() && m.position == choice;
  }
  return std::fabs(FoldAngle(system->GetAspect(choice).angle) - separation) <= ownOrb;
}

// The orb class of a pair for the system's orbs: two chart points (a ruler counts as its ruling
// point) the configuration's class of the pair; a pair with a house cusp word 15; others word 16.
int PairOrbClass(const QueryCondition& c, const Configuration& config, const Placed& a,
                 const Placed& b) {
  if (a.point >= 0 && b.point >= 0) return config.GetPairOrbClass(a.point, b.point);
  if (a.family == Family::kHouse || b.family == Family::kHouse) return c.w[15];
  return c.w[16];
}

bool SameObject(const Placed& a, const Placed& b) {
  return a.family == b.family && a.index == b.index &&
         (a.family == Family::kPoint || a.family == Family::kSign || a.family == Family::kHouse);
}

// The part-match result of one member: 1 it matched every member of the second object, 2 some,
// 0 none.
int PartMatch(int matched, int tried) {
  if (matched == 0) return 0;
  return matched == tried ? 1 : 2;
}

// The quantifiers over the part-match results of the first object's members.
int Combine(char first, char second, const std::vector<int>& parts) {
  const auto passes = [second](int part) { return second == 'A' ? part == 1 : part >= 1; };
  if (first == 'A') {
    for (const int part : parts)
      if (!passes(part)) return 0;
    return 1;
  }
  for (const int part : parts)
    if (passes(part)) return 1;
  return 0;
}

const AspectSystem* SystemOf(const ChartContext& ctx, const QueryCondition& c) {
  return ctx.FindSystem(c.text3);
}

int SignOfPosition(double x) { return static_cast<int>(std::trunc(NormalizeDegrees(x))) / 30; }

}  // namespace condeval

namespace {

using namespace condeval;

int EvaluateAsp(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                const QueryCondition& c) {
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members second = Resolve(set, c.w[3], c.text2);
  if (!first.found || !second.found) return -1;
  const Configuration& config = ctx.Config();
  const AspectSystem* system = SystemOf(ctx, c);
  const std::vector<Placed> as = PlaceMembers(chart, config, c, first);
  const std::vector<Placed> bs = PlaceMembers(chart, config, c, second);
  std::vector<int> parts;
  parts.reserve(as.size());
  for (const Placed& a : as) {
    int held = 0, failed = 0;
    for (const Placed& b : bs) {
      if (SameObject(a, b)) continue;
      if (AspectHolds(c, system, a.position, b.position, PairOrbClass(c, config, a, b)))
        ++held;
      else
        ++failed;
    }
    parts.push_back(PartMatch(held, held + failed));
  }
  return Combine(first.quantifier, second.quantifier, parts);
}

int EvaluateIn(const CFunc& set, const ChartContext& ctx, const Chart& chart,
               const QueryCondition& c) {
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members places = Resolve(set, c.w[3], c.text2);
  if (!places.found) return -1;
  if (!first.found) return 0;
  const bool signs = IsSignLike(c.w[3]);
  std::vector<int> parts;
  for (const Placed& a : PlaceMembers(chart, ctx.Config(), c, first)) {
    // An absent position lies nowhere, not even in an empty group of places.
    if (IsAbsent(a.position)) {
      parts.push_back(0);
      continue;
    }
    if (places.count == 0) {
      parts.push_back(1);
      continue;
    }
    const int where = signs ? SignOfPosition(a.position) : chart.HouseOf(a.position);
    int in = 0;
    for (int i = 0; i < places.count; ++i)
      if (places.index[static_cast<std::size_t>(i)] == where) ++in;
    parts.push_back(PartMatch(in, places.count));
  }
  return Combine(first.quantifier, places.quantifier, parts);
}

int EvaluateIncl(const CFunc& set, const Chart& chart, const QueryCondition& c) {
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members second = Resolve(set, c.w[3], c.text2);
  if (!second.found) return -1;
  if (!first.found) return 0;
  const bool secondIsHouse = IsHouseLike(c.w[3]);
  const int wanted = c.w[4];
  std::vector<int> parts;
  for (int i = 0; i < first.count; ++i) {
    const int a = first.index[static_cast<std::size_t>(i)];
    if (second.count == 0) {
      parts.push_back(1);
      continue;
    }
    int matched = 0;
    for (int j = 0; j < second.count; ++j) {
      const int b = second.index[static_cast<std::size_t>(j)];
      const int test = secondIsHouse ? chart.SignInHouse(a, b) : chart.SignOnHouseCusps(b, a);
      if ((wanted == 0 && test == 2) || (wanted == 1 && test == 1) || (wanted == 2 && test >= 1))
        ++matched;
    }
    parts.push_back(PartMatch(matched, second.count));
  }
  return Combine(first.quantifier, second.quantifier, parts);
}

int EvaluatePairAsp(const CFunc& set, const ChartContext& ctx, const Chart& chart1,
                    const Chart& chart2, const QueryCondition& c) {
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members second = Resolve(set, c.w[3], c.text2);
  if (!first.found || !second.found) return -1;
  const Configuration& config = ctx.Config();
  const AspectSystem* system = SystemOf(ctx, c);
  const std::vector<Placed> as = PlaceMembers(chart1, config, c, first);
  const std::vector<Placed> bs = PlaceMembers(chart2, config, c, second);
  const auto holds = [&](const Placed& a, const Placed& b) {
    return AspectHolds(c, system, a.position, b.position, PairOrbClass(c, config, a, b));
  };
  const bool eachA = first.quantifier == 'A', eachB = second.quantifier == 'A';
  if (eachA && eachB) {
    for (const Placed& a : as)
      for (const Placed& b : bs)
        if (!holds(a, b)) return 0;
    return 1;
  }
  if (eachA) {  // some single b in aspect with every a
    for (const Placed& b : bs) {
      bool all = true;
      for (const Placed& a : as) all = all && holds(a, b);
      if (all) return 1;
    }
    return 0;
  }
  if (eachB) {  // some single a in aspect with every b
    for (const Placed& a : as) {
      bool all = true;
      for (const Placed& b : bs) all = all && holds(a, b);
      if (all) return 1;
    }
    return 0;
  }
  for (const Placed& a : as)
    for (const Placed& b : bs)
      if (holds(a, b)) return 1;
  return 0;
}

int EvaluatePairIn(const CFunc& set, const ChartContext& ctx, const Chart& chart1,
                   const Chart& chart2, const QueryCondition& c) {
  const Chart& objectChart = c.w[11] == 0 ? chart1 : chart2;
  const Chart& houseChart = c.w[11] == 0 ? chart2 : chart1;
  const Members first = Resolve(set, c.w[2], c.text1);
  const Members places = Resolve(set, c.w[3], c.text2);
  if (!places.found) return -1;
  if (!first.found || first.count == 0) return 0;
  const bool oneOf = c.w[2] == kPlanetGroupOneOf || c.w[2] == kHouseGroupOneOf;
  int matched = 0;
  for (const Placed& a : PlaceMembers(objectChart, ctx.Config(), c, first)) {
    const int house = IsAbsent(a.position) ? -1 : houseChart.HouseOf(a.position);
    bool match = false;
    for (int i = 0; i < places.count && house >= 0; ++i)
      match = match || places.index[static_cast<std::size_t>(i)] == house;
    if (match) ++matched;
  }
  return oneOf ? (matched > 0 ? 1 : 0) : (matched == first.count ? 1 : 0);
}

}  // namespace

int CFunc::QueryConditionEvaluate(const ChartContext& ctx, const Chart& chart, int index,
                                  int record) const {
  if (index < 0 || index >= count_) return -1;
  const QueryCondition& c = conditions_[static_cast<std::size_t>(index)];
  switch (c.Kind()) {
    case kCondAsp:
      return EvaluateAsp(*this, ctx, chart, c);
    case kCondIn:
      return EvaluateIn(*this, ctx, chart, c);
    case kCondIncl:
      return EvaluateIncl(*this, chart, c);
    case kCondInterval:
      return condeval::QueryConditionInterval(*this, ctx, chart, c);
    case kCondMoreLess:
      return condeval::QueryConditionMoreLess(*this, ctx, chart, c);
    case kCondBeforeAfter:
      return condeval::QueryConditionBeforeAfter(*this, ctx, chart, c);
    case kCondContext:
      return condeval::QueryConditionContext(*this, chart, c, record);
    case kCondConf:
      return condeval::QueryConditionConf(*this, ctx, chart, c);
    case kCondQuant:
      return condeval::QueryConditionQuant(*this, ctx, chart, c);
    default:
      return 0;
  }
}

int CFunc::QueryConditionEvaluatePair(const ChartContext& ctx, const Chart& chart1,
                                      const Chart& chart2, int index) const {
  if (index < 0 || index >= count_) return -1;
  const QueryCondition& c = conditions_[static_cast<std::size_t>(index)];
  if (c.Kind() == kCondPairAsp) return EvaluatePairAsp(*this, ctx, chart1, chart2, c);
  if (c.Kind() == kCondPairIn) return EvaluatePairIn(*this, ctx, chart1, chart2, c);
  return 0;
}

std::vector<double> CFunc::GenerateE(const ChartContext& ctx, const Chart& chart, int index) const {
  std::vector<double> out;
  if (index < 0 || index >= count_) return out;
  const QueryCondition& c = conditions_[static_cast<std::size_t>(index)];
  const Members m = Resolve(*this, c.w[2], c.text1);
  for (const Placed& p : PlaceMembers(chart, ctx.Config(), c, m)) out.push_back(p.position);
  return out;
}

std::vector<int> CFunc::GenerateENums(int index) const {
  std::vector<int> out;
  if (index < 0 || index >= count_) return out;
  const QueryCondition& c = conditions_[static_cast<std::size_t>(index)];
  const int code = c.w[2];
  if (IsSignCode(code) || IsHouseCode(code)) {
    out.push_back(IsHouseLike(c.w[3]) ? code - kSignBase : code - kHouseBase);
    return out;
  }
  const Members m = Resolve(*this, code, c.text1);
  out.assign(m.index.begin(), m.index.begin() + m.count);
  return out;
}

namespace {

// The group codes of a condition with the texts of their labels.
std::vector<std::pair<int, const std::string*>> GroupObjects(const QueryCondition& c) {
  std::vector<std::pair<int, const std::string*>> out;
  const auto add = [&out](int code, const std::string& label) {
    if (IsGroupCode(code)) out.emplace_back(code, &label);
  };
  switch (c.Kind()) {
    case kCondConf:
      add(c.w[14] / 1000, c.text1);
      add(c.w[14] % 1000, c.text2);
      break;
    case kCondQuant:
      if (c.w[2] != 3) add(c.w[3], c.text1);
      break;
    case kCondInterval:
    case kCondMoreLess:
      if (c.w[3] == 0 || c.w[3] == 5 || c.w[3] == 6) add(c.w[2], c.text1);
      break;
    case kCondContext:
      break;
    default:
      add(c.w[2], c.text1);
      add(c.w[3], c.text2);
  }
  return out;
}

}  // namespace

int CFunc::ReportRunProblems(const ChartContext& ctx) const {
  int faults = 0;
  std::set<std::string> missing;
  bool badAspect = false;
  for (int i = 0; i < count_; ++i) {
    const QueryCondition& c = conditions_[static_cast<std::size_t>(i)];
    if (!c.Enabled() && mode != 2) continue;
    for (const auto& [code, label] : GroupObjects(c)) {
      char quantifier = 0;
      if (!groups.LookUpGroup(*label, code, quantifier) && missing.insert(*label).second) {
        ++faults;
        platform::GetPrompter().ShowMessage(kMsgGroupNotFound,
                                            GetMessageText(kMsgGroupNotFound) + "\n" + *label + ".",
                                            platform::Icon::Warning);
      }
    }
    const bool aspKind = c.Kind() == kCondAsp || c.Kind() == kCondPairAsp;
    if (aspKind && c.w[4] >= 0 && c.w[4] < kAnyAspectOfClasses) {
      const AspectSystem* system = ctx.FindSystem(c.text3);
      if (system && c.w[4] >= system->Count()) {
        ++faults;
        badAspect = true;
      }
    }
  }
  if (badAspect) ShowAspectMessage(kAspMsgBadPosition);
  return faults;
}
