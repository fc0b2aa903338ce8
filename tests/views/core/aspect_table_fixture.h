// Aspect tables over charts set by hand and a small aspect system written into the test's folder.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "support/test_support.h"
#include "views/core/aspect_table.h"

namespace asptable_test {

inline Aspect MakeAspect(double angle, std::array<double, 6> orbs, bool major, int colour,
                         int exactColour) {
  Aspect a;
  a.angle = angle;
  a.orbs = orbs;
  a.major = major ? 1 : 0;
  a.color = static_cast<std::uint16_t>(colour);
  a.exactColor = static_cast<std::uint16_t>(exactColour);
  return a;
}

// A chart holding only the given points (index, longitude), cusps of houses (index, longitude)
// and the aspect system "TEST".
inline Chart ChartWith(std::initializer_list<std::pair<int, double>> points,
                       std::initializer_list<std::pair<int, double>> cusps = {}) {
  Chart chart;
  for (const auto& [index, longitude] : points) chart.points[index].longitude.Set(longitude);
  for (const auto& [house, longitude] : cusps) chart.cusps[house].Set(longitude);
  chart.definition.SetAspectSystemName("TEST");
  return chart;
}

class AspectTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // "TEST": conjunction, opposition, square (major), trine and sextile (minor); orbs by orb
    // column 0..4 and the exact orb last. Orb colour 12 (red), exact colour 9 (blue).
    AspectSystem test("TEST", folder_ / "TEST.ASP");
    test.SetAspects({MakeAspect(0, {8, 7, 6, 5, 4, 1}, true, 12, 9),
                     MakeAspect(180, {8, 7, 6, 5, 4, 1}, true, 12, 9),
                     MakeAspect(90, {6, 5, 4, 3, 2, 0.5}, true, 12, 9),
                     MakeAspect(120, {8, 7, 6, 5, 4, 1}, false, 12, 9),
                     MakeAspect(60, {5, 4, 3, 2, 1, 0.5}, false, 12, 9)});
    ASSERT_TRUE(test.SaveSystem().ok());
    // "CONJ": conjunctions within 1 degree only.
    AspectSystem conj("CONJ", folder_ / "CONJ.ASP");
    conj.SetAspects({MakeAspect(0, {1, 1, 1, 1, 1, 0.5}, true, 12, 9)});
    ASSERT_TRUE(conj.SaveSystem().ok());
    for (const Status& st : systems_.LoadAll(folder_.Path())) ASSERT_TRUE(st.ok());
    ASSERT_EQ(systems_.Count(), 2);
    config_.aspectTable.Set(cfg::AspectTableSettings::kMidpointSystem, "TEST");
  }

  // Only table points `points` switched on.
  void SwitchOn(std::initializer_list<int> points) {
    using S = cfg::AspectTableSettings;
    for (std::size_t k = 0; k < S::kPointSwitch.count; ++k)
      config_.aspectTable.Set(S::kPointSwitch[k], std::uint8_t{0});
    for (int k : points)
      config_.aspectTable.Set(S::kPointSwitch[static_cast<std::size_t>(k)], std::uint8_t{1});
  }
  // A table of `chart` with its points counted.
  AspectTable Counted(const Chart& chart) {
    AspectTable table(config_, systems_);
    table.LoadSettings(chart);
    table.CountPoints();
    return table;
  }
  void SetInt(cfg::Field<std::int32_t> field, int value) { config_.aspectTable.Set(field, value); }
  void SetShort(cfg::Field<std::int16_t> field, int value) {
    config_.aspectTable.Set(field, static_cast<std::int16_t>(value));
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
  Aspectarium systems_;
  Configuration config_;
};

}  // namespace asptable_test
