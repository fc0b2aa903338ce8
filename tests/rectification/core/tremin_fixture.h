// The chart, aspect system and events the Tremin tests share.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/tremin_search.h"
#include "rectification/rect_birth.h"
#include "support/test_support.h"

// Moscow, 15 June 1985 08:00 +03:00, the shipped aspect system for both roles.
struct SearchFixture {
  testing_support::TempFolder folder;
  Aspectarium aspectarium;
  Configuration config;
  LifeEventList events;
  Chart chart;
  TmSearchSettings settings;

  SearchFixture() {
    rect_test::LoadShippedSystem(folder, aspectarium);
    EXPECT_TRUE(events.Add("move", 15, 6, 2015, "", "NNNYNNYNNNYN").ok());
    EXPECT_TRUE(events.Add("wedding", 2, 9, 2010, "", "NNNNNNYNNNNN").ok());
    chart = rect_test::BirthChart();
    settings.applyingSystem = "VELM";
    settings.separatingSystem = "VELM";
    settings.step = 3;  // 20 s
  }
};

// One aspect, the conjunction: orb 6 in every column, 0.5 exact.
inline AspectSystem ConjunctionOnly() {
  AspectSystem system("CONJ", {});
  Aspect a;
  a.angle = 0;
  a.orbs = {6, 6, 6, 6, 6, 0.5};
  EXPECT_EQ(system.AddAspect(a), 0);
  return system;
}

// Cusp h at 30h + offset; the method's eleven objects at `at` (0..9, then 20); the rest absent.
inline Chart MakeChart(const std::vector<double>& at, double offset = 0.0) {
  Chart c;
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(30.0 * h + offset);
  for (int k = 0; k < kTmObjectCount; ++k)
    c.points[static_cast<std::size_t>(kTmObjects[static_cast<std::size_t>(k)])].longitude.Set(
        at[static_cast<std::size_t>(k)]);
  return c;
}

inline std::vector<double> AllAt(double longitude) {
  return std::vector<double>(kTmObjectCount, longitude);
}
