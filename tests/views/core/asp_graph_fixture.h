// The aspect graph's tests share the ephemeris tables, pairs and aspects made by hand, the systems
// "WIDE" (a conjunction whose orbs take in every separation) and "TEST" (conjunction, square and an
// angle of no known kind, 17 degrees, at position 2), and a birth in Moscow.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "support/test_support.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_data.h"

namespace aspgraph_test {

inline std::shared_ptr<const Ephemeris> SharedTables() {
  static const std::shared_ptr<const Ephemeris> tables = [] {
    auto e = std::make_shared<Ephemeris>();
    EXPECT_TRUE(e->Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return e;
  }();
  return tables;
}

inline Aspect MakeAspect(double angle, std::array<double, 6> orbs, int colour, int exactColour) {
  Aspect a;
  a.angle = angle;
  a.orbs = orbs;
  a.color = static_cast<std::uint16_t>(colour);
  a.exactColor = static_cast<std::uint16_t>(exactColour);
  return a;
}

inline AspGraphPair Pair(int fromBody, int fromTechnique, int fromConverse, int toBody,
                         int toTechnique, int toConverse, std::string system = "WIDE") {
  AspGraphPair p;
  p.systemName = std::move(system);
  p.fromBody = static_cast<std::int16_t>(fromBody);
  p.fromTechnique = static_cast<std::int16_t>(fromTechnique);
  p.fromConverse = static_cast<std::int16_t>(fromConverse);
  p.toBody = static_cast<std::int16_t>(toBody);
  p.toTechnique = static_cast<std::int16_t>(toTechnique);
  p.toConverse = static_cast<std::int16_t>(toConverse);
  return p;
}

class AspGraphFixture : public ::testing::Test {
 protected:
  AspGraphFixture() {
    WriteSystem("WIDE", {MakeAspect(0, {180, 180, 180, 180, 180, 0.5}, 12, 9)});
    WriteSystem("TEST", {MakeAspect(0, {8, 7, 6, 5, 4, 1}, 12, 9),
                         MakeAspect(90, {6, 5, 4, 3, 2.5, 0.5}, 2, 10),
                         MakeAspect(17, {4, 4, 4, 4, 4, 0}, 5, 13)});
    EXPECT_TRUE(systems_.LoadAll(folder_.Path()).empty());
    (void)firstDay_.SetDate(1, 1, 2014, 'A');
  }

  void WriteSystem(const char* name, std::vector<Aspect> aspects) {
    AspectSystem system(name, folder_.Path() / SystemFileName(name));
    system.SetAspects(std::move(aspects));
    ASSERT_TRUE(system.SaveSystem().ok());
  }

  ChartContext Context() const { return ChartContext(config_, systems_, SharedTables()); }

  // Born in Moscow on 1 January 1958 at 00:00, zone +3: at 56 years the true solar arc and the
  // birth arc are some tenths of a degree apart.
  static Source Birth() {
    Source s;
    (void)s.moment.date.SetDate(1, 1, 1958, 'A');
    (void)s.zone.SetTime(3, 0, '+');
    (void)s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "");
    return s;
  }
  static Chart Natal() {
    Chart chart;
    chart.definition.sources[0] = Birth();
    return chart;
  }

  // A store of one list of `pairs`, selected, with the first day 1 January 2014.
  CAspGraphData Store(const std::vector<AspGraphPair>& pairs, int period = 0,
                      int houseClass = 1) const {
    CAspGraphData data;
    EXPECT_TRUE(data.AddList("list", period, houseClass).ok());
    for (const AspGraphPair& p : pairs) EXPECT_TRUE(data.AddPair(0, p).ok());
    data.SetSelectedIndex(0);
    data.SetFirstDay(firstDay_);
    return data;
  }
  // A calculation prepared on the natal chart for one list of `pairs`.
  CAspGraphCalc Prepared(const std::vector<AspGraphPair>& pairs, int period = 0,
                         int houseClass = 1) const {
    CAspGraphCalc calc;
    calc.Prepare(Natal(), Store(pairs, period, houseClass));
    return calc;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
  Aspectarium systems_;
  Configuration config_;
  FDate firstDay_;
};

}  // namespace aspgraph_test
