// The passage of a body's ecliptic degree over an angle of a place: the moment at which the
// Ascendant, Descendant, Midheaven or Imum Coeli of the place stands on the body's longitude (or
// on a fixed longitude). Risings and settings of the chart services, the planetary hours and the
// lunar day are such passages.
//
// The search starts at the moment given in closed form: the right ascension of the meridian at
// which the degree reaches the angle (its right ascension for the meridian, its oblique
// ascension or descension for the horizon) less the sidereal time, which grows linearly with
// time. Newton steps on the body's own motion then settle the moment, usually in two or three
// positions of the body. Nutation, obliquity and the equation of the equinoxes are taken once per
// search, at its start (they move by less than 0.3" over two days). Where the closed form does
// not hold (beyond 66.5 degrees of latitude, where a degree of the ecliptic may never rise, or
// when the steps do not settle) the angle is followed in steps of an hour (ten minutes beyond 60
// degrees) with the whole time frame of each moment, as a check of every case.
#pragma once

#include <optional>

#include "astro/chart/chart_context.h"
#include "foundation/datetime/place.h"

struct AnglePassage {
  std::optional<double> ut;  // Julian day of Universal Time, at or just past the passage
  int positions = 0;         // positions of the body computed on the way
};

// Selector 0 Ascendant, 1 Descendant, 2 Midheaven, 3 Imum Coeli. Body 0..29, or -1 for the fixed
// `longitude`. The first passage after `fromUt` (span > 0) or before it (span < 0), within |span|
// days and, for a body, where its place is known (ClipToKnownSpan); nothing when there is none
// there, or for a selector, body or longitude that gives none.
// The moment is found to 0.1 second of time and returned past the passage by at most that much.
AnglePassage FindAnglePassage(const ChartContext& ctx, int body, int selector, double longitude,
                              const Place& place, double fromUt, double spanDays);
