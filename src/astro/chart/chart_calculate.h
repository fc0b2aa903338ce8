// Computing a chart from its definition: bodies with speeds and 'R'/'D' flags, house cusps,
// points 30..33, then what the kind makes of them (draconic, directed, harmonic) and what a
// derived chart makes of them (Local Space, symbolic thematic).
#pragma once

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/status.h"

// Point slots of the points that follow the bodies.
inline constexpr int kPointFortune = 30;
inline constexpr int kPointMisfortune = 31;  // the "cross of misfortune"
inline constexpr int kPointEast = 32;
inline constexpr int kPointVertex = 33;

// The house code of the calculation settings: the system, plus 100 when the settings ask for
// geodetic houses and the system has a geodetic variant.
int ConfiguredHouseSystem(const ChartContext& ctx);

// Computes the chart's points and cusps from its definition. `flag` 1: the chart takes the house
// system of the calculation settings (keeping its geodetic variant when it has one); 0: it keeps
// its own (the settings' when it has none). Error 107 when a derived moment cannot be held.
// The context is what the computation reads (ChartContext::FromCurrentSettings for the published
// settings).
Status ChartCalculate(const ChartContext& ctx, Chart& chart, int flag = 1);
