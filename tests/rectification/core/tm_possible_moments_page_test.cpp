#include "rectification/core/tm_possible_moments_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"
#include "rectification/core/life_event_list.h"
#include "rectification/rect_birth.h"
#include "support/test_support.h"

namespace {

TEST(TmPossibleMoments, ColourByPossibility) {
  const std::pair<int, int> rows[] = {{100, 4}, {99, 5}, {98, 5}, {97, 1}, {95, 1}, {94, 3},
                                      {90, 3},  {89, 2}, {85, 2}, {84, 8}, {0, 8},  {-40, 8}};
  for (const auto& [p, colour] : rows) EXPECT_EQ(TmPossibilityColour(p), colour) << p;
}

// A search from 08:00 local time at +03:00 whose moments, 20 s apart, are marked by hand.
struct PageFixture {
  testing_support::TempFolder folder;
  Aspectarium aspectarium;
  Configuration config;
  LifeEventList events;
  Chart chart;
  TmSearch search;

  explicit PageFixture(std::vector<std::int16_t> possibility) {
    rect_test::LoadShippedSystem(folder, aspectarium);
    EXPECT_TRUE(events.Add("move", 15, 6, 2015, "", "NNNYNNNNNNNN").ok());
    chart = rect_test::BirthChart();
    TmSearchSettings settings;
    settings.applyingSystem = settings.separatingSystem = "VELM";
    settings.step = 3;
    settings.minimumPossibility = 64;
    RectInterval r;
    r.start = {1985, 6, 15, 8, 0};
    r.end = {1985, 6, 15, 8, 0};
    const ChartContext ctx(config, aspectarium);
    EXPECT_TRUE(search.Prepare(ctx, chart, events, settings, r).ok());
    search.Moments().PossMomInit(search.Moments().Begin(), static_cast<int>(possibility.size()),
                                 20);
    search.Moments().possibility = std::move(possibility);
    search.Moments().FillPositiveInts();
  }
};

TEST(TmPossibleMoments, RowsShowLocalTimesAndPossibility) {
  PageFixture f({84, 84, kTmImpossible, 100});
  const TmPossibleMomentsPage page(f.search);
  EXPECT_EQ(page.MinimumPossibility(), 64);
  ASSERT_EQ(page.Rows().size(), 2u);
  EXPECT_EQ(page.Rows()[0], (TmIntervalRow{"08:00:00", "08:00:20", "84", 8}));
  // An interval of one moment shows the same time twice.
  EXPECT_EQ(page.Rows()[1], (TmIntervalRow{"08:01:00", "08:01:00", "100", 4}));
}

TEST(TmPossibleMoments, NoPossibleMomentGivesAnEmptyList) {
  PageFixture f({kTmImpossible, kTmImpossible});
  TmPossibleMomentsPage page(f.search);
  EXPECT_TRUE(page.Rows().empty());
  EXPECT_TRUE(page.SetMinimumPossibility(0));
  EXPECT_TRUE(page.SetMinimumPossibility(100));
  EXPECT_FALSE(page.SetMinimumPossibility(101));
  EXPECT_FALSE(page.SetMinimumPossibility(-1));
  EXPECT_EQ(page.MinimumPossibility(), 100);
}

TEST(TmPossibleMoments, RowColumnsAndColours) {
  struct Row {
    const char* name;
    int fontSize;  // tenths of a point: the recording dc's characters are size x 96 / 1440 wide
    bool selected;
    std::vector<int> x;  // of the four texts
  };
  const Row rows[] = {
      // 8 characters of 4 units fit in 46: the columns stand at 0, 50, 60, 120.
      {"narrow_font", 60, false, {10, 60, 70, 130}},
      // 8 characters of 6 units = 48: every column moves by 48 / 46.
      {"wide_font_selected", 90, true, {10, 62, 72, 135}},
  };
  const TmIntervalRow item{"10:00:00", "10:20:00", "-37", 8};
  for (const Row& r : rows) {
    platform::RecordingDc dc;
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), r.fontSize});
    DrawTmIntervalRow(dc, {10, 5, 300, 25}, item, r.selected, platform::kWhite);
    const auto& calls = dc.Calls();
    ASSERT_EQ(calls.size(), 5u) << r.name;
    EXPECT_EQ(calls[0].kind, platform::RecordedCall::FillRect) << r.name;
    EXPECT_EQ(calls[0].color, r.selected ? ColorByIndex(16) : platform::kWhite) << r.name;
    EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"10:00:00", "-", "10:20:00", "-37"}));
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(calls[i + 1].points.at(0).x, r.x[i]) << r.name << " " << i;
      EXPECT_EQ(calls[i + 1].points.at(0).y, 5) << r.name;
      EXPECT_EQ(calls[i + 1].color, ColorByIndex(8)) << r.name;
      EXPECT_EQ(calls[i + 1].bkMode, platform::BkMode::Transparent) << r.name;
    }
  }
}

}  // namespace
