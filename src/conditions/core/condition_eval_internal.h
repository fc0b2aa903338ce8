// Means shared by the evaluators of the condition kinds (not for use outside conditions/core):
// object codes resolved to their members and positions, the aspect test of two positions and the
// orb class of a pair.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "astro/chart/chart_context.h"
#include "conditions/core/cfunc.h"

class AspectSystem;

namespace condeval {

// Orbs are inclusive, whatever the binary rounding (as in the aspect systems).
inline constexpr double kOrbMargin = 1e-9;

enum class Family { kPoint, kSign, kHouse, kRuler, kFixed };

// An object code resolved to its members: one for a single object, the group's members for a
// group code. `found` is false for a group label that names no group.
struct Members {
  Family family = Family::kPoint;
  int count = 0;
  std::array<int, GroupRecord::kMaxMembers> index{};
  char quantifier = 'N';  // 'N' one-of, 'A' each
  bool found = true;
};

// A member with its position and the chart point behind it (-1 when none).
struct Placed {
  Family family;
  int index;
  double position;
  int point;
};

Members Resolve(const CFunc& set, int code, const std::string& label);
// The point that rules house `house` (the configuration's ruler of the sign on its cusp); -1 when
// the cusp is absent or the sign has no ruling point.
int RulerPoint(const Chart& chart, const Configuration& config, int house);
// The members with their positions (a fixed degree from words 8 to 10 of the condition).
std::vector<Placed> PlaceMembers(const Chart& chart, const Configuration& config,
                                 const QueryCondition& c, const Members& m);
// The sign 0..11 of a longitude truncated to whole degrees.
int SignOfPosition(double x);
// The separation of two longitudes folded into [0, 180].
double FoldAngle(double angle);
// The aspect test of two positions under the condition's aspect choice (word 4), orb source
// (word 11), own orb (words 12, 13) and class mask (word 14); an absent position never matches.
bool AspectHolds(const QueryCondition& c, const AspectSystem* system, double p, double q,
                 int orbClass);
// The orb class of a pair for the system's orbs: two chart points the configuration's class of
// the pair, a pair with a house cusp word 15, others word 16.
int PairOrbClass(const QueryCondition& c, const Configuration& config, const Placed& a,
                 const Placed& b);
// The aspect system of the context named by text 3, or nullptr.
const AspectSystem* SystemOf(const ChartContext& ctx, const QueryCondition& c);

// The kinds decided on the chart's values (condition_quantities.cpp) and by searches over the
// whole chart (condition_configurations.cpp): 1 holds, 0 does not, -1 error.
int QueryConditionMoreLess(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                           const QueryCondition& c);
int QueryConditionInterval(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                           const QueryCondition& c);
int QueryConditionBeforeAfter(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                              const QueryCondition& c);
int QueryConditionContext(const CFunc& set, const Chart& chart, const QueryCondition& c,
                          int record);
int QueryConditionConf(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                       const QueryCondition& c);
int QueryConditionQuant(const CFunc& set, const ChartContext& ctx, const Chart& chart,
                        const QueryCondition& c);

}  // namespace condeval
