// The results table of the Tremin rectification without a window: colour classes, row texts in
// result order, the drawing of a row through a recording device context, and the printed pages.
// The recording device context measures a text-face character as half an em wide and one em
// high; an em is size x 96 / 720 units (2500: 333.3).
#include "rectification/core/tremin_results.h"

#include <gtest/gtest.h>

#include "astro/chart/chart_context.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "rectification/core/tremin_fixture.h"

namespace {

TEST(TreminResults, ColourClassesOfTheMean) {
  const std::pair<int, int> rows[] = {{3150, 4}, {3149, 5}, {3000, 5}, {2999, 1},
                                      {2850, 1}, {2849, 3}, {2700, 3}, {2699, 2},
                                      {2550, 2}, {2549, 8}, {0, 8}};
  for (const auto& [mean, colour] : rows) EXPECT_EQ(TmScoreColour(mean), colour) << mean;
}

// A search over 10:00..10:01 at 20 s (four moments) whose scores are set by hand.
struct ScoredSearch : SearchFixture {
  TmSearch search;
  explicit ScoredSearch(int order) {
    settings.resultOrder = order;
    settings.minimumScore = 0;
    const ChartContext ctx(config, aspectarium);
    RectInterval interval;
    interval.start = {1985, 6, 15, 10, 0};
    interval.end = {1985, 6, 15, 10, 1};
    EXPECT_TRUE(search.Prepare(ctx, chart, events, settings, interval).ok());
    PossInt& p = search.Moments();
    p.directions = {3001, -1, 2555, 3300};
    p.progressions = {2999, 900, 2544, 3000};
    p.SelectResults(settings.minimumScore, settings.resultOrder);
  }
};

TEST(TreminResults, RowsInTimeOrderAndInScoreOrder) {
  struct Case {
    const char* name;
    int order;
    std::vector<std::string> times;
    std::vector<int> means;
  };
  // Means: moment 0 (3001 + 2999) / 2 = 3000; moment 2 5099 / 2 = 2549; moment 3 3150.
  const Case cases[] = {
      {"by time", 0, {"10:00:00", "10:00:40", "10:01:00"}, {3000, 2549, 3150}},
      {"by score", 1, {"10:01:00", "10:00:00", "10:00:40"}, {3150, 3000, 2549}},
  };
  for (const Case& c : cases) {
    ScoredSearch s(c.order);
    ASSERT_EQ(TmResultCount(s.search), 3) << c.name;
    for (int r = 0; r < 3; ++r) {
      const TmResultRow row = TmResultRowOf(s.search, r);
      EXPECT_EQ(row.date, "15:06:1985") << c.name;
      EXPECT_EQ(row.time, c.times[static_cast<std::size_t>(r)]) << c.name;
      EXPECT_EQ(row.mean, c.means[static_cast<std::size_t>(r)]) << c.name;
    }
  }
  ScoredSearch s(0);
  const TmResultRow row = TmResultRowOf(s.search, 1);
  EXPECT_EQ(std::tie(row.directions, row.progressions, row.total),
            std::tie("255.5", "254.4", "254.9"));
  // The moment a double click opens: local time, 10:00:40 on 15 June 1985.
  const Moment m = TmResultMoment(s.search, 1);
  EXPECT_EQ(m.time.SecondsOfDay(), 10 * 3600 + 40);
  EXPECT_EQ(m.date.Day(), 15);
}

TEST(TreminResults, RowIsDrawnInItsColumnsAndColours) {
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  const TmTableMetrics m = MeasureTmTable(dc, 2500, 1.2);
  // 'W' is 167 wide, "00:00:0000 " 1833: the unit widens to 367 so the date clears the time.
  EXPECT_EQ(m.unit, 367);
  EXPECT_NEAR(m.pitch, 333 * 1.2, 1e-9);

  const TmResultRow row{"15:06:1985", "10:00:40", "255.5", "254.4", "254.9", 2549};
  struct Case {
    const char* name;
    TmInk ink;
    bool selected;
    int fill;  // palette number of the band, -1 none, 0 the background
    int text;  // palette number of the text
  };
  const Case cases[] = {
      {"screen", TmInk::kScreen, false, 0, 8},
      {"screen selected", TmInk::kScreen, true, 16, 8},
      {"colour paper", TmInk::kPaperColour, false, -1, 8},
      {"black paper", TmInk::kPaperBlack, false, -1, 0},
  };
  const platform::Color background{250, 250, 240};
  for (const Case& c : cases) {
    dc.Clear();
    DrawTmRow(dc, m, row, {200, -1000}, c.selected, c.ink, background);
    const auto& calls = dc.Calls();
    std::size_t k = 0;
    if (c.fill >= 0) {
      ASSERT_EQ(calls[0].kind, platform::RecordedCall::FillRect) << c.name;
      EXPECT_EQ(calls[0].points,
                (std::vector<platform::Point>{{180, -1000}, {200 + 22 * 367, -1400}}))
          << c.name;
      EXPECT_EQ(calls[0].color, c.fill == 0 ? background : ColorByIndex(c.fill)) << c.name;
      k = 1;
    }
    ASSERT_EQ(calls.size(), k + 5) << c.name;
    const int offsets[] = {0, 5, 10, 14, 18};
    for (int i = 0; i < 5; ++i) {
      const platform::RecordedCall& t = calls[k + static_cast<std::size_t>(i)];
      EXPECT_EQ(t.points[0], (platform::Point{200 + offsets[i] * 367, -1000})) << c.name << i;
      EXPECT_EQ(t.color, ColorByIndex(c.text)) << c.name;
      EXPECT_EQ(t.bkMode, platform::BkMode::Transparent) << c.name;
    }
  }
}

TEST(TreminResults, HeadingAndEmptyTable) {
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  const TmTableMetrics m{2500, 400, 500.0};
  DrawTmHeading(dc, m, -100);
  DrawTmEmpty(dc, m, {200, -600});
  const auto& calls = dc.Calls();
  ASSERT_EQ(calls.size(), 6u);
  const std::pair<int, platform::Point> expected[] = {{541, {200, -100}},  {542, {4200, -100}},
                                                      {543, {5800, -100}}, {544, {7400, -100}},
                                                      {549, {200, -600}},  {550, {200, -1100}}};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].text, GetMessageText(expected[i].first)) << i;
    EXPECT_EQ(calls[i].points[0], expected[i].second) << i;
  }
}

TEST(TreminResults, PrintedPagesAreClampedAndEndWithoutABlankPage) {
  Configuration config;  // margins 1500, 1500, 1000, 1500
  struct Case {
    const char* name;
    double pitch;
    int unit, maxColumns, wide;
    int rows, columns, step;
  };
  const Case cases[] = {
      // (26200 - 3000) / 400 = 58; (20500 - 2500) / 6600 = 2.7.
      {"default margins", 400.0, 300, 4, 0, 58, 2, 6600},
      {"wide columns", 400.0, 300, 4, 1, 58, 2, 6900},
      {"columns of the settings", 400.0, 100, 2, 0, 58, 2, 2200},
      {"no columns allowed", 400.0, 100, 0, 0, 58, 1, 2200},
      {"a font taller than the page", 30000.0, 300, 4, 0, 1, 2, 6600},
  };
  for (const Case& c : cases) {
    config.wideColumns = c.wide;
    const TmPrintLayout p = LayOutTmPrint(config, {2500, c.unit, c.pitch}, c.maxColumns, 1);
    EXPECT_EQ(p.layout.Rows(), c.rows) << c.name;
    EXPECT_EQ(p.layout.Columns(), c.columns) << c.name;
    EXPECT_EQ(p.columnStep, c.step) << c.name;
    EXPECT_EQ(p.layout.Order(), lists::ColumnOrder::kDown) << c.name;
    EXPECT_EQ(std::pair(p.left, p.top), std::pair(1700, 4100)) << c.name;
  }
  config.wideColumns = 0;
  const TmPrintLayout p = LayOutTmPrint(config, {2500, 300, 400.0}, 4, 0);
  const std::pair<int, int> pages[] = {{0, 0}, {1, 1}, {116, 1}, {117, 2}, {232, 2}};
  for (const auto& [results, count] : pages) EXPECT_EQ(p.layout.PageCount(results), count);
}

TEST(TreminResults, PageHeadTitlesAndNumbersTheLaterPagesUnderTheBlock) {
  SearchFixture f;
  for (int page : {1, 2}) {
    platform::RecordingDc dc(600.0, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    DrawTmPageHead(dc, f.chart, f.config, page);
    std::vector<std::pair<std::string, platform::Point>> titles;
    for (const platform::RecordedCall& c : dc.Calls())
      if (c.kind == platform::RecordedCall::Text && c.font.pointSize == 3800)
        titles.emplace_back(c.text, c.points[0]);
    // The block: three lines 380 apart, the last 235 + 59 high (ascent and descent of 2200), from
    // 150 below the top margin (1500):
    // the title 100 under it, centred between the margins (1500, 1000); the number a line lower.
    const int top = -(1500 + 150 + 2 * 380 + 294 + 100);
    std::vector<std::pair<std::string, platform::Point>> expected{
        {GetMessageText(kMsgTreminPrintTitle), {10750, top}}};
    if (page == 2)
      expected.push_back({"(" + GetMessageText(kMsgPageWord) + " 2)", {10750, top - 507}});
    EXPECT_EQ(titles, expected) << page;
  }
}

}  // namespace
