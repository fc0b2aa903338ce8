// What the event scorers of the rectification by events take from the configuration and the
// aspect systems. It is read once before a run and stays unchanged during it, so that scoring
// never reads the program-wide configuration and runs can leave the user-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/lifepoint/life_point.h"
#include "foundation/datetime/moment.h"
#include "foundation/status.h"

class Aspectarium;
class Configuration;
class LifeEventList;

inline constexpr int kRectMethodCount = 14;
// Method settings: 0 main, 1 additional (the lower base weight), 2 not taken into account.
inline constexpr std::uint16_t kMethodMain = 0;
inline constexpr std::uint16_t kMethodAdditional = 1;
inline constexpr std::uint16_t kMethodOff = 2;

// The four groups of methods, in the order they run, each with its own aspect system.
enum RectGroup : int {
  kGroupProgressions = 0,  // methods 0..3
  kGroupTransits = 1,      // methods 4..7
  kGroupDirections = 2,    // methods 8..10
  kGroupLifePoint = 3,     // methods 11..13
  kRectGroupCount = 4,
};
// The first method of each group, and one past the last group.
inline constexpr std::array<int, kRectGroupCount + 1> kGroupFirstMethod{0, 4, 8, 11, 14};

struct RectScoringSetup {
  std::array<std::uint16_t, kRectMethodCount> methods{};  // all main
  // Copies of the groups' aspect systems (SetSystem); a group without one finds no aspect.
  std::array<AspectSystem, kRectGroupCount> systems;
  // Per group and aspect position: the aspect index of its angle (0 conjunction, 1 opposition).
  std::array<std::vector<int>, kRectGroupCount> aspectIndices;
  // Rulers: 12 x row + sign; row 0 the ruler, row 1 the second ruler; -1 none.
  std::array<std::int16_t, 48> rulers{};
  // The distinct planets 0..29 of the rulers-and-exaltations table, in the order first met.
  std::vector<std::int16_t> dignityPlanets;
  // Orb class 1..5 of each chart point 0..29.
  std::array<int, 30> orbClasses{};
  // The life point of the scorers: by signs, direct, from Aries, seven years a sign.
  LifePoint lifePoint{"", 'S', 'D', 0, 7, std::nullopt};

  bool IsOn(int method) const {
    return method >= 0 && method < kRectMethodCount &&
           methods[static_cast<std::size_t>(method)] != kMethodOff;
  }
  // The group takes a copy of `system` and classifies its aspects.
  void SetSystem(int group, const AspectSystem& system);
  bool HasSystem(int group) const;
  bool GroupIsOn(int group) const;
  int MethodsOn() const;
  // Ruler of `row` (0 ruler, 1 second ruler) of the sign that holds `longitude`; -1 when there
  // is none, the table names no point 0..29 or the longitude is absent.
  int RulerOf(double longitude, int row) const;
  // The orb column of a pair of points 0..29: the smaller orb class of the two.
  OrbColumn PairColumn(int a, int b) const;
};

// The four aspect-system names of the rectification block by group, as stored there.
std::array<std::string, kRectGroupCount> RectificationSystemNames(const Configuration& config);
// The setup from a configuration (method settings 0..13 of its rectification block, rulers, orb
// classes) and the named aspect systems of `aspectarium` (names by group; RectificationSystemNames
// gives the configuration's own).
RectScoringSetup MakeRectScoringSetup(const Configuration& config, const Aspectarium& aspectarium,
                                      const std::array<std::string, kRectGroupCount>& names);

// The checks made once before a run, each a message to show once: 454 when the rulers table holds
// no planet (the methods that walk the dignity planets then score 0); 59 (naming the system) for
// a group with a method on whose aspect system is not loaded (that group then scores 0); 1003
// when a life-point method is on and an event in use is dated before `latestBirth` (the life point
// then scores 0 for that event and later trials).
std::vector<Status> CheckBeforeRun(const RectScoringSetup& setup,
                                   const std::array<std::string, kRectGroupCount>& names,
                                   const LifeEventList& events, const Moment& latestBirth);
