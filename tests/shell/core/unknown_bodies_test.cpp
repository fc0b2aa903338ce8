// A chart dated where Chiron and the asteroids cannot be known: computed charts leave them out,
// the wheel draws none of them, and the chart information names each with the years it is known.
#include <gtest/gtest.h>

#include <string>
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
  struct Case {
    int year;
    char era;
    bool asteroidsKnown;
  };
  const Case cases[] = {{500, 'A', false}, {999, 'A', false}, {1000, 'A', true},
                        {1550, 'A', true}, {2900, 'A', true}, {200, 'B', false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + c.era);
    const Chart chart = NatalChartOf(c.year, c.era);
    for (int point = kChiron; point <= kPsyche; ++point)
      EXPECT_EQ(chart.points[point].longitude.IsSet(), c.asteroidsKnown) << point;
    // Pluto, the planets and the hypothetical points stay at every date.
    for (const int point : {0, 1, 5, kPluto, 16, 20, 22})
      EXPECT_TRUE(chart.points[point].longitude.IsSet()) << point;

    // The wheel with every object shown draws no glyph of a body left out.
    Configuration config;
    for (int i = 0; i < Configuration::kObjectCount; ++i)
      config.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
    testing_support::TempFolder folder;
    Aspectarium systems;
    systems.SetFolder(folder.Path());
    platform::RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    WheelWithAspects wheel(config, systems);
    wheel.Draw(dc, chart, platform::Rect{0, 0, 20000, -20000});
    int asteroidGlyphs = 0;
    for (const wheel::PlacedGlyph& g : wheel.Glyphs())
      if (g.point >= kChiron && g.point <= kPsyche) ++asteroidGlyphs;
    EXPECT_EQ(asteroidGlyphs, c.asteroidsKnown ? 6 : 0);

    int listed = 0;
    for (const PointHouseRow& row : PointHouseRows(chart))
      if (row.point >= kChiron && row.point <= kPsyche) ++listed;
    EXPECT_EQ(listed, c.asteroidsKnown ? 6 : 0);

    // The chart information says which bodies are missing and for which years they are known.
    const std::vector<ChartInfoRow> unknown = UnknownBodyRows(chart);
    ASSERT_EQ(unknown.size(), c.asteroidsKnown ? 0u : 6u);
    const std::vector<ChartInfoRow> info = ChartInfoRows(chart);
    for (std::size_t i = 0; i < unknown.size(); ++i) {
      EXPECT_EQ(unknown[i].label,
                GetMessageText(kMsgPointNameFirst + kChiron + static_cast<int>(i)));
      EXPECT_NE(unknown[i].value.find("1000-3000"), std::string::npos) << unknown[i].value;
      EXPECT_EQ(info[info.size() - unknown.size() + i].value, unknown[i].value);
    }
  }
}

}  // namespace
