// A chart dated where Chiron and the asteroids cannot be known: computed charts leave them out,
// the wheel draws none of them, and the chart information names each with the years it is known.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "shell/core/entry/chart_information.h"
#include "shell/core/wheel/wheel.h"
#include "support/test_support.h"

namespace {

constexpr int kChiron = 10, kPsyche = 15, kPluto = 9;

Chart NatalChartOf(int year, char era) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  s.SetName("Test");
  EXPECT_TRUE(s.moment.date.SetDate(15, 6, year, era).ok());
  EXPECT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  EXPECT_TRUE(s.place.SetPlace(41, 54, 'N', 12, 29, 'E', "Roma", "").ok());
  chart.houseSystem = 0;
  EXPECT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), chart, 1).ok());
  return chart;
}

TEST(UnknownBodies, LeftOutOfTheChartTheWheelAndThePointListWithTheReasonShown) {
  // The wheel with every object shown.
  Configuration config;
  for (int i = 0; i < Configuration::kObjectCount; ++i)
    config.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
  testing_support::TempFolder folder;
  Aspectarium systems;
  systems.SetFolder(folder.Path());
  WheelWithAspects wheel(config, systems);
  const auto isAsteroid = [](int point) { return point >= kChiron && point <= kPsyche; };
  // Chiron's known years begin in 1030, the asteroids' in 1000.
  for (const auto& [year, era, known, chironKnown] :
       {std::tuple(500, 'A', false, false), std::tuple(999, 'A', false, false),
        std::tuple(1000, 'A', true, false), std::tuple(1030, 'A', true, true),
        std::tuple(1550, 'A', true, true), std::tuple(2900, 'A', true, true),
        std::tuple(200, 'B', false, false)}) {
    SCOPED_TRACE(std::to_string(year) + era);
    const Chart chart = NatalChartOf(year, era);
    for (int point = kChiron; point <= kPsyche; ++point)
      EXPECT_EQ(chart.points[point].longitude.IsSet(), point == kChiron ? chironKnown : known)
          << point;
    const std::size_t knownCount = (known ? 5u : 0u) + (chironKnown ? 1u : 0u);
    // Pluto, the planets and the hypothetical points stay at every date.
    for (const int point : {0, 1, 5, kPluto, 16, 20, 22})
      EXPECT_TRUE(chart.points[point].longitude.IsSet()) << point;
    // Neither the wheel's glyphs nor the point list hold a body left out.
    platform::RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    wheel.Draw(dc, chart, platform::Rect{0, 0, 20000, -20000});
    const auto glyphs = wheel.Glyphs();
    const std::vector<PointHouseRow> rows = PointHouseRows(chart);
    EXPECT_EQ(
        std::count_if(glyphs.begin(), glyphs.end(), [&](auto& g) { return isAsteroid(g.point); }),
        static_cast<std::ptrdiff_t>(knownCount));
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [&](auto& r) { return isAsteroid(r.point); }),
              static_cast<std::ptrdiff_t>(knownCount));
    // The chart information says which bodies are missing and for which years they are known.
    const std::vector<ChartInfoRow> unknown = UnknownBodyRows(chart);
    ASSERT_EQ(unknown.size(), 6u - knownCount);
    const std::vector<ChartInfoRow> info = ChartInfoRows(chart);
    for (std::size_t i = 0; i < unknown.size(); ++i) {
      EXPECT_EQ(unknown[i].label,
                GetMessageText(kMsgPointNameFirst + kChiron + static_cast<int>(i)));
      EXPECT_NE(unknown[i].value.find(i == 0 ? "1030-3000" : "1000-3000"), std::string::npos)
          << unknown[i].value;
      EXPECT_EQ(info[info.size() - unknown.size() + i].value, unknown[i].value);
    }
  }
}

}  // namespace
