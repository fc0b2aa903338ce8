// Chart services that work on a Source alone.
#pragma once

#include "astro/chart/chart_context.h"
#include "foundation/datetime/source.h"

// Moves the Source's moment until body `body` (0 Sun, 1 Moon) stands at the target: `longitude`
// plus `angle` (reference -1), or the longitude of body `reference` (0..29) at the trial moment
// plus `angle`. `forward` 1 searches forward, 0 backward. Each step is the remaining arc divided by
// the body's mean daily motion (13 degrees a day for the Moon, 1 for the Sun), times
// `stepFactor` (0 or less reads as 1); the search stops within 1 minute of arc, after at most 200
// steps or beyond 60 days (400 for the Sun), or at a step where the place of `reference` is not
// known (BodyKnownAt). True when the target was reached (the moment is then moved).
bool SeekLuminaryLongitude(const ChartContext& ctx, Source& source, int body, int reference,
                           double longitude, double angle, int forward, double stepFactor);
