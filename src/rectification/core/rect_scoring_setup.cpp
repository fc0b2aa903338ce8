#include "rectification/core/rect_scoring_setup.h"

#include <algorithm>
#include <cmath>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/numbers/angles.h"
#include "rectification/core/life_event_list.h"

namespace {

using Block = cfg::RectificationSettings;

// The scorers' life-point methods.
constexpr int kFirstLifePointMethod = 11;

bool IsPoint(int i) { return i >= 0 && i < 30; }

}  // namespace

void RectScoringSetup::SetSystem(int group, const AspectSystem& system) {
  if (group < 0 || group >= kRectGroupCount) return;
  const auto g = static_cast<std::size_t>(group);
  systems[g] = system;
  aspectIndices[g].clear();
  for (const Aspect& a : system.Aspects()) aspectIndices[g].push_back(ClassifyAspectAngle(a));
}

bool RectScoringSetup::HasSystem(int group) const {
  return group >= 0 && group < kRectGroupCount &&
         !systems[static_cast<std::size_t>(group)].GetName().empty();
}

bool RectScoringSetup::GroupIsOn(int group) const {
  if (group < 0 || group >= kRectGroupCount) return false;
  for (int m = kGroupFirstMethod[static_cast<std::size_t>(group)];
       m < kGroupFirstMethod[static_cast<std::size_t>(group) + 1]; ++m)
    if (IsOn(m)) return true;
  return false;
}

int RectScoringSetup::MethodsOn() const {
  int n = 0;
  for (int m = 0; m < kRectMethodCount; ++m) n += IsOn(m) ? 1 : 0;
  return n;
}

int RectScoringSetup::RulerOf(double longitude, int row) const {
  if (IsAbsent(longitude) || !std::isfinite(longitude) || row < 0 || row > 1) return -1;
  const int sign = static_cast<int>(NormalizeDegrees(longitude)) / 30;
  const int ruler = rulers[static_cast<std::size_t>(12 * row + sign)];
  return IsPoint(ruler) ? ruler : -1;
}

OrbColumn RectScoringSetup::PairColumn(int a, int b) const {
  const int ca = IsPoint(a) ? orbClasses[static_cast<std::size_t>(a)] : 5;
  const int cb = IsPoint(b) ? orbClasses[static_cast<std::size_t>(b)] : 5;
  return OrbColumnOfClass(std::min(ca, cb));
}

std::array<std::string, kRectGroupCount> RectificationSystemNames(const Configuration& config) {
  const cfg::ByteBlock& block = config.rectification;
  return {block.Get(Block::kProgressionsSystem), block.Get(Block::kTransitsSystem),
          block.Get(Block::kDirectionsSystem), block.Get(Block::kLifePointSystem)};
}

RectScoringSetup MakeRectScoringSetup(const Configuration& config, const Aspectarium& aspectarium,
                                      const std::array<std::string, kRectGroupCount>& names) {
  RectScoringSetup setup;
  for (int m = 0; m < kRectMethodCount; ++m) {
    const std::uint16_t v = config.rectification.Get(Block::kMethod[static_cast<std::size_t>(m)]);
    // A setting outside 0..2 is taken as the method switched off.
    setup.methods[static_cast<std::size_t>(m)] = v <= kMethodOff ? v : kMethodOff;
  }
  for (int g = 0; g < kRectGroupCount; ++g)
    if (const AspectSystem* s = aspectarium.FindSystem(names[static_cast<std::size_t>(g)]))
      setup.SetSystem(g, *s);
  setup.rulers = config.rulers;
  (void)config.ListDignityPlanets(&setup.dignityPlanets);
  for (int p = 0; p < 30; ++p)
    setup.orbClasses[static_cast<std::size_t>(p)] = config.GetOrbClass(p);
  return setup;
}

std::vector<Status> CheckBeforeRun(const RectScoringSetup& setup,
                                   const std::array<std::string, kRectGroupCount>& names,
                                   const LifeEventList& events, const Moment& latestBirth) {
  std::vector<Status> messages;
  if (setup.dignityPlanets.empty() && setup.MethodsOn() > 0)
    messages.push_back(Status::Message(kMsgNoDignityPlanets));
  for (int g = 0; g < kRectGroupCount; ++g)
    if (setup.GroupIsOn(g) && !setup.HasSystem(g))
      messages.push_back(
          Status::Message(kMsgAspectSystemNotFound, names[static_cast<std::size_t>(g)]));
  bool lifePointOn = false;
  for (int m = kFirstLifePointMethod; m < kRectMethodCount; ++m) lifePointOn |= setup.IsOn(m);
  if (lifePointOn) {
    for (int i = 0; i < events.Count(); ++i) {
      const LifeEvent& e = events.Event(i);
      if (e.InUse() && e.moment.JulianDay() < latestBirth.JulianDay()) {
        messages.push_back(Status::Message(kMsgLifePointBirthLater));
        break;
      }
    }
  }
  return messages;
}
