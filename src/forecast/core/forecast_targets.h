// The targets a forecast run takes, by the choices its settings page offers: chart points (by
// group), house cusps and aspects. The lunar transits and the life point share them.
#pragma once

struct Aspect;
class Configuration;

namespace forecast {

// Chart point i under the point choice (1 the ten planets, 2 the points shown on the wheel,
// 3 every point, else none); the nodes (points 16 and 17) go by `withNodes` alone.
bool TargetPointTaken(int pointChoice, bool withNodes, const Configuration& config, int i);
// House cusp h (0..11) under the house choice (1 the Ascendant, 2 the MC, 3 the four angles,
// 4 every cusp, else none).
bool TargetHouseTaken(int houseChoice, int h);
// An aspect under the aspect choice (0 the conjunction alone, 1 the major aspects, else all).
bool TargetAspectTaken(int aspectChoice, const Aspect& aspect);

}  // namespace forecast
