// Computing a chart from its definition: bodies with speeds and 'R'/'D' flags, house cusps,
// points 30..33, then what the kind makes of them (draconic, directed, harmonic) and what a
// derived chart makes of them (Local Space, symbolic thematic).
#pragma once

#include <functional>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/time_scales.h"
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

// Where a computation takes the bodies 0..29 from: the ephemeris, or (a long run over neighbouring
// moments) positions interpolated between moments computed exactly.
using BodySource = std::function<BodyPosition(int body, JdTt tt)>;

// ChartCalculate (flag 0, with speeds when `speeds`) with the bodies taken from `bodies`; the
// houses and everything drawn from them are computed exactly as ever.
Status ChartCalculateWithBodies(const ChartContext& ctx, Chart& chart, const BodySource& bodies,
                                bool speeds);

// The directed chart `directed` (as MakeDirected defines it) of the natal chart `natal` computed
// beforehand with the same house system: its points and cusps are the natal chart's moved by the
// arc, so the natal moment is not cast again. The same positions as ChartCalculate of `directed`.
Status DirectFromComputedNatal(const ChartContext& ctx, Chart& directed, const Chart& natal);
