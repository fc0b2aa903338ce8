// Charts set by hand for the wheel tests, and the shipped glyph outlines.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "astro/chart/chart.h"
#include "foundation/drawing/glyph_file.h"
#include "platform/core/glyph_set.h"
#include "support/test_support.h"

namespace wheel_test {

// A chart with only the given points (index, longitude) and, when `withCusps`, the cusps below.
inline Chart ChartWith(std::initializer_list<std::pair<int, double>> points,
                       bool withCusps = true) {
  Chart chart;
  for (const auto& [index, longitude] : points) chart.points[index].longitude.Set(longitude);
  if (withCusps) {
    // Unequal houses, ASC 5°24' Virgo, MC 0°12' Gemini; each cusp opposite its partner.
    const double cusps[12] = {155.4, 178.0, 206.5, 240.2, 275.8, 308.9,
                              335.4, 358.0, 26.5,  60.2,  95.8,  128.9};
    for (int h = 0; h < 12; ++h) chart.cusps[h].Set(cusps[h]);
  }
  return chart;
}

// A natal chart with a stellium of six points in early Aries (Mercury 3°12', Jupiter 8°24',
// Mars 11°54', Part of Fortune 12°39', Sun 15°30', Uranus 18°42'), two retrograde planets and the
// nodes.
inline Chart KnownChart() {
  Chart chart = ChartWith({{0, 15.5},
                           {1, 232.75},
                           {2, 3.2},
                           {3, 41.1},
                           {4, 11.9},
                           {5, 8.4},
                           {6, 300.6},
                           {7, 18.7},
                           {8, 350.3},
                           {9, 295.0},
                           {10, 112.4},
                           {16, 78.25},
                           {17, 258.25},
                           {18, 190.6},
                           {30, 12.65}});
  for (const int retrograde : {2, 9, 16, 17}) {
    chart.points[retrograde].status = 'R';
    chart.points[retrograde].speed = -0.05;
  }
  return chart;
}

using testing_support::InstallShippedGlyphs;

}  // namespace wheel_test
