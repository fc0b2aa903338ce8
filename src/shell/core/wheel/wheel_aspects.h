// The aspect lines of the wheel: which aspects between the shown points the aspect filter lets
// through, and how each line looks on the screen or on paper.
#pragma once

#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "platform/core/dc.h"

namespace wheel {

// The chart objects that a wheel can show.
inline constexpr int kWheelObjectCount = Configuration::kObjectCount;

// True when chart object `point` (0..33) is drawn on the wheel: its display letter is not 'N' and
// the chart has its longitude (a finite number).
bool IsPointShown(const Configuration& config, const Chart& chart, int point);

// The aspect system a chart is shown with: the one the chart names, else the one of the
// configuration's slot for the chart's kind, else the first loaded; nullptr when none is loaded.
const AspectSystem* SystemOfChart(const Chart& chart, const Configuration& config,
                                  Aspectarium& systems);

// One aspect line: point `a` of chart `chartA` and point `b` of chart `chartB` (0 the inner or
// only chart, 1 the outer chart).
struct WheelAspect {
  int chartA = 0, a = 0;
  int chartB = 0, b = 0;
  int position = 0;  // of the aspect in its system
  bool exact = false;
};

// True when the aspect filter lets through an aspect of this nature, strength and exactness.
bool FilterPasses(const cfg::AspectFilter& filter, const AspectMatch& match);

// The aspects among the shown points of one chart that `system` finds at the orb of each pair's
// orb class and the filter lets through, pairs in point order. Chart 0 (the inner or only chart)
// takes the points with aspect switch 1, chart 1 (the outer chart) those with aspect switch 2.
std::vector<WheelAspect> FindWheelAspects(const Chart& chart, int chartIndex,
                                          const AspectSystem& system, const Configuration& config);
// The same between the shown points of the inner chart (aspect switch 1) and of the outer chart
// (aspect switch 2).
std::vector<WheelAspect> FindWheelAspectsBetween(const Chart& inner, const Chart& outer,
                                                 const AspectSystem& system,
                                                 const Configuration& config);

// The look of one aspect line: the aspect's colour (its exact colour when exact), its dashed style
// and its thickness, each only when the filter's bit for this device allows it (bit 0 the screen,
// bit 1 the printer).
struct AspectLineLook {
  int colourNumber = 0;
  platform::PenStyle style = platform::PenStyle::Solid;
  bool thick = false;
};
AspectLineLook LookOfAspect(const Aspect& aspect, bool exact, const cfg::AspectFilter& filter,
                            bool printing);

}  // namespace wheel
