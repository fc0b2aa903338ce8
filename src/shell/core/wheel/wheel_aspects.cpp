#include "shell/core/wheel/wheel_aspects.h"

#include <cmath>
#include <string>

namespace wheel {

bool IsPointShown(const Configuration& config, const Chart& chart, int point) {
  if (point < 0 || point >= kWheelObjectCount) return false;
  const AngleValue& longitude = chart.points[point].longitude;
  return config.DisplayFlag(point) != 'N' && longitude.IsSet() && std::isfinite(longitude.Get());
}

const AspectSystem* SystemOfChart(const Chart& chart, const Configuration& config,
                                  Aspectarium& systems) {
  std::string name = chart.definition.AspectSystemName();
  if (name.empty() || !systems.HasSystem(name)) {
    const int kind = chart.definition.Kind();
    name = config.GetSystemName(
        kind < Configuration::kChartKindCount ? kind : Configuration::kDisplaySystemSlot);
  }
  return systems.GetCurrentSystem(name);
}

bool FilterPasses(const cfg::AspectFilter& filter, const AspectMatch& match) {
  if (!match.Found()) return false;
  std::int32_t byType = filter.other;
  switch (match.type) {
    case kAspectHarmonious:
      byType = filter.harmonious;
      break;
    case kAspectTense:
      byType = filter.tense;
      break;
    case kAspectCreative:
      byType = filter.creative;
      break;
    case kAspectKarmic:
      byType = filter.karmic;
      break;
    default:
      break;
  }
  const std::int32_t byStrength = match.major == 1 ? filter.major : filter.minor;
  const std::int32_t byExactness = match.result == 2 ? filter.exact : filter.inexact;
  return byType != 0 && byStrength != 0 && byExactness != 0;
}

namespace {

bool TakesPart(const Configuration& config, const Chart& chart, int point, bool secondSwitch) {
  if (!IsPointShown(config, chart, point)) return false;
  const cfg::ObjectFlags flags = config.GetObjectFlags(point);
  return secondSwitch ? flags.aspect2 : flags.aspect1;
}

void AddIfPasses(std::vector<WheelAspect>& out, const AspectSystem& system,
                 const Configuration& config, const Chart& chartA, int chartIndexA, int a,
                 const Chart& chartB, int chartIndexB, int b) {
  const OrbColumn column = OrbColumnOfClass(config.GetPairOrbClass(a, b));
  const AspectMatch match = system.FindAspectBetween(chartA.points[a].longitude.Get(),
                                                     chartB.points[b].longitude.Get(), column);
  if (!FilterPasses(config.aspectFilter, match)) return;
  out.push_back({chartIndexA, a, chartIndexB, b, match.position, match.result == 2});
}

}  // namespace

std::vector<WheelAspect> FindWheelAspects(const Chart& chart, int chartIndex,
                                          const AspectSystem& system, const Configuration& config) {
  std::vector<WheelAspect> found;
  const bool second = chartIndex == 1;
  for (int a = 0; a < kWheelObjectCount; ++a) {
    if (!TakesPart(config, chart, a, second)) continue;
    for (int b = a + 1; b < kWheelObjectCount; ++b) {
      if (TakesPart(config, chart, b, second))
        AddIfPasses(found, system, config, chart, chartIndex, a, chart, chartIndex, b);
    }
  }
  return found;
}

std::vector<WheelAspect> FindWheelAspectsBetween(const Chart& inner, const Chart& outer,
                                                 const AspectSystem& system,
                                                 const Configuration& config) {
  std::vector<WheelAspect> found;
  for (int a = 0; a < kWheelObjectCount; ++a) {
    if (!TakesPart(config, inner, a, false)) continue;
    for (int b = 0; b < kWheelObjectCount; ++b) {
      if (TakesPart(config, outer, b, true))
        AddIfPasses(found, system, config, inner, 0, a, outer, 1, b);
    }
  }
  return found;
}

AspectLineLook LookOfAspect(const Aspect& aspect, bool exact, const cfg::AspectFilter& filter,
                            bool printing) {
  const int deviceBit = printing ? 2 : 1;
  AspectLineLook look;
  look.colourNumber = exact ? aspect.exactColor : aspect.color;
  if ((filter.dashedLines & deviceBit) != 0) {
    switch (aspect.lineStyle) {
      case 1:
        look.style = platform::PenStyle::Dash;
        break;
      case 2:
        look.style = platform::PenStyle::Dot;
        break;
      case 3:
        look.style = platform::PenStyle::DashDot;
        break;
      default:
        break;
    }
  }
  look.thick = (filter.thickLines & deviceBit) != 0 && aspect.thickness == 1;
  return look;
}

}  // namespace wheel
