// Charts derived from a chart: relocated and geodetic charts, Local Space charts and thematic
// charts. Each is a computed copy; the source chart is never changed.
#pragma once

#include <string>
#include <string_view>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/place.h"
#include "foundation/status.h"

// Mode 0 relocation: the chart cast for the same instant at `place`. Mode 1 geodetic: the same
// with geodetic houses. Message 486 for a geodetic chart at 66.5 degrees of latitude or more,
// message 470 when the chart's house system has no geodetic variant, error 107 for another mode.
// Each derived chart reads only the context it is given.
Status MakeRelocatedChart(const ChartContext& ctx, Chart& out, const Chart& chart, int mode,
                          const Place& place);

// The title of a chart relocated (mode 0) or made geodetic (mode 1) at `place`: the word of the
// mode (message 1935 or 1936) and the place's town, or its coordinates when it has no town, cut
// to the title's width.
std::string RelocatedTitle(int mode, const Place& place);
// The title is one RelocatedTitle gives: it says what the chart is, so no kind is added to it.
bool IsRelocatedTitle(std::string_view title);

// The Local Space chart of a chart (marker 3.0): bodies at their azimuths, houses the twelve
// directions (docs/decisions.md).
Status MakeLocalSpaceChart(const ChartContext& ctx, Chart& out, const Chart& chart);

// The choice of a thematic chart (the thematic-chart settings of the configuration).
struct ThematicChoice {
  int kind = 0;       // 0 one planet (real), 1 one planet (symbolic), 2 two planets
  int planet = 0;     // body 0..29, or 30 an arbitrary point
  int planet2 = 0;    // body 0..29 (two planets)
  int house = 0;      // kind 0: 0..3 for houses I, IV, VII, X; kind 1: house 0..11
  int direction = 0;  // two planets: 0 add, 1 subtract
  int point = 0;      // the arbitrary point in minutes of arc
};

// 0 when a real thematic chart (kind 0) can be made of `chart`, else the message that refuses
// it: 489 for a chart of kind 2, 5, 7, 8, 9 or a composite, 490 for a house system other than
// 0, 1, 2, 5, 6 or 7. Other kinds are never refused here.
int ThematicRefusal(const Chart& chart, int kind);

// The choice held in the thematic-chart settings of a configuration.
ThematicChoice ThematicChoiceFromSettings(const Configuration& config);

// Kind 0 (real, marker 2.0): the chart moved to the moment nearest to its own at which the planet
// stands on the chosen angle. Kind 1 (symbolic, marker 1.0): the houses turned so that the chosen
// house begins at the planet. Kind 2 (symbolic, marker 1.0): the houses turned by the arc from
// the first planet to the second (direction 0) or back (1). The title becomes message 492.
// Message 489 when a real chart is asked of a chart of kind 2, 5, 7, 8, 9 or a composite, message
// 490 when its house system is not 0, 1, 2, 5, 6 or 7; error 107 for a choice out of range or a
// planet that is absent or never reaches the angle.
Status MakeThematicChart(const ChartContext& ctx, Chart& out, const Chart& chart,
                         const ThematicChoice& choice);
