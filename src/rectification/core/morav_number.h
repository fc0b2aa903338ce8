// The Morav number: one zodiac position from the Sun, the Moon and Saturn of a chart, offered to
// the rectifier as a sensitive degree of the birth.
#pragma once

#include "astro/chart/chart.h"
#include "platform/core/dc.h"

// (3 Saturn + 3 Moon + 2 Sun) / 8 reduced to [0, 360), computed in the method's own order of
// halvings; -777.0 when any of the three is absent.
double MoravNumber(double sun, double moon, double saturn);
double MoravNumber(const Chart& chart);

// Draws the position in the glyph face over a client area of `clientPixels`: 0.1 mm units, the
// largest size (at most 10000) at which the glyph face fits a third of the height, centred for six
// characters and a fifth of the height below the top. An absent position draws nothing. The
// mapping mode and the font are left as they were.
void DrawMoravNumber(platform::Dc& dc, platform::Size clientPixels, double position);
