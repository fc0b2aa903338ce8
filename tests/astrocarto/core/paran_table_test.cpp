#include "astrocarto/core/paran_table.h"

#include <gtest/gtest.h>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "support/page_overlap.h"

namespace {

using platform::RecordedCall;
using platform::RecordingDc;

Crossing At(std::int32_t latitude, std::int32_t longitude) {
  Crossing c;
  c.firstBody = 4;
  c.firstAngle = 'D';
  c.secondBody = 9;
  c.secondAngle = 'I';
  c.latitude = latitude;
  c.longitude = longitude;
  return c;
}

TEST(ParanTable, RowShowsSouthAndWestWithPositiveNumbersInItsColumns) {
  ParanTable table;
  // 33 52 S, 70 40 W in arc-seconds.
  table.SetCrossings(ACLines::kFirstChart, {At(-(33 * 3600 + 52 * 60), -(70 * 3600 + 40 * 60))});
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  // At 1500 an em is 200 units, "W" of the text face 100 wide.
  table.DrawRow(dc, 0, {100, -300}, 1500, true);
  std::vector<std::pair<std::string, int>> drawn;
  for (const RecordedCall& call : dc.Calls())
    if (call.kind == RecordedCall::Text) drawn.emplace_back(call.text, call.points[0].x);
  const std::vector<std::pair<std::string, int>> expected{{std::string(1, 'M' + 4), 100},
                                                          {std::string(1, 'M' + 9), 600},
                                                          {"DS", 300},
                                                          {"IC", 800},
                                                          {"33S52", 1100},
                                                          {"070W40", 1500}};
  EXPECT_EQ(drawn, expected);
  for (const RecordedCall& call : dc.Calls()) EXPECT_EQ(call.color, ColorByIndex(4));
}

struct CoordinateCase {
  const char* name;
  std::int32_t latitude, longitude;  // arc-seconds
  const char* latitudeText;
  const char* longitudeText;
};

class CrossingCoordinates : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(CrossingCoordinates, RoundToTheMinute) {
  const CoordinateCase& c = GetParam();
  ParanTable table;
  table.SetCrossings(ACLines::kFirstChart, {At(c.latitude, c.longitude)});
  RecordingDc dc;
  table.DrawRow(dc, 0, {0, 0}, 1500, false);
  const std::vector<std::string> texts = dc.Texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[4], c.latitudeText);
  EXPECT_EQ(texts[5], c.longitudeText);
}

const CoordinateCase kCoordinates[] = {
    {"north_east", 55 * 3600 + 45 * 60, 37 * 3600 + 37 * 60, "55N45", "037E37"},
    {"half_minute_rounds_up", 29, 89 * 3600 + 59 * 60 + 30, "00N00", "090E00"},
    {"just_south_of_the_equator", -31, -29, "00S01", "000E00"},
    {"antimeridian", 0, -180 * 3600, "00N00", "180W00"},
};
INSTANTIATE_TEST_SUITE_P(ParanTable, CrossingCoordinates, ::testing::ValuesIn(kCoordinates),
                         [](const auto& info) { return std::string(info.param.name); });

struct ColumnCase {
  const char* name;
  int fontSize;
  int maxColumns;
  int columns;  // by hand from 20 glyph widths (one em each) against 21000 - 1500 - 1000 - 800 =
                // 17700
};

class PrintedColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(PrintedColumns, NeverAboveTheLimitAndAtLeastOne) {
  const ColumnCase& c = GetParam();
  RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  const Configuration config;
  const ParanPrintLayout l = ParanTable::LayoutPrint(dc, config, c.fontSize, 1.2, c.maxColumns, 0);
  EXPECT_EQ(l.layout.Columns(), c.columns);
}

const ColumnCase kColumns[] = {
    {"narrow_font_wide_page_held_at_the_limit", 100, 4, 4},  // 66 would fit
    {"limit_zero_counts_as_one", 2500, 0, 1},
    {"as_many_as_fit", 2500, 10, 2},  // 6660 per column, 17700 wide
    {"column_wider_than_the_page_still_one", 10000, 4, 1},
};
INSTANTIATE_TEST_SUITE_P(ParanTable, PrintedColumns, ::testing::ValuesIn(kColumns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParanTable, WindowsTwoThousandWidensTheColumnsToTwentyTwoGlyphs) {
  RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  struct Row {
    int fontSize;
    std::int32_t windows2000;  // any non-zero value is on
    double width;              // glyph widths of 333 at 2500, 280 at 2100
    int columns;               // of 17700, at most 4
  } const rows[] = {
      {2500, 0, 20 * 333, 2}, {2500, 1, 22 * 333, 2},
      {2500, 7, 22 * 333, 2}, {2100, 0, 20 * 280, 3},  // 16800 fit
      {2100, 1, 22 * 280, 2},                          // 18480 do not
  };
  for (const Row& row : rows) {
    Configuration config;
    config.windows2000 = row.windows2000;
    const ParanPrintLayout l = ParanTable::LayoutPrint(dc, config, row.fontSize, 1.2, 4, 0);
    EXPECT_DOUBLE_EQ(l.columnWidth, row.width) << row.fontSize << " " << row.windows2000;
    EXPECT_EQ(l.layout.Columns(), row.columns) << row.fontSize << " " << row.windows2000;
  }
}

TEST(ParanTable, PrintedRowsFillTheHeightBelowTheHead) {
  RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  const Configuration config;
  // At 2500 a row is 333 units high, 399.6 with the interval 1.2; the column headings stand 30 mm
  // below the top margin, the rows one pitch lower: (29700 - 1500 - 3000 - 399 - 1500) / 399.6 =
  // 58.3.
  const ParanPrintLayout l = ParanTable::LayoutPrint(dc, config, 2500, 1.2, 4, 1);
  EXPECT_EQ(l.layout.Rows(), 58);
  EXPECT_EQ(l.layout.Order(), lists::ColumnOrder::kDown);
  EXPECT_EQ(l.left, 1900);
  EXPECT_EQ(l.top, 4899);
}

TEST(ParanTable, PageHeadShowsTheChartsOfItsChoiceAndAFrameEndingBelowTheRows) {
  Chart first, second;
  first.definition.sources[0].SetName("First");
  second.definition.sources[0].SetName("Second");
  const Configuration config;
  RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  const ParanPrintLayout l = ParanTable::LayoutPrint(dc, config, 2500, 1.2, 4, 0);
  const auto texts = [&](int choice) {
    ParanTable table;
    table.SetCrossings(choice, {});
    dc.Clear();
    table.DrawPageHead(dc, config, l, first, &second, 2, 3);
    return dc.Texts();
  };
  const auto has = [](const std::vector<std::string>& all, const std::string& text) {
    return std::any_of(all.begin(), all.end(),
                       [&text](const std::string& t) { return t.find(text) != std::string::npos; });
  };
  std::vector<std::string> t = texts(ACLines::kBetweenCharts);
  EXPECT_TRUE(has(t, "First"));
  EXPECT_TRUE(has(t, "Second"));
  EXPECT_FALSE(has(t, "?;<=>"));
  EXPECT_TRUE(has(t, Cp1251("ПЕРЕСЕЧЕНИЯ ЛИНИЙ (стр. 2)")));
  // Both charts in a town of the longest name: each header keeps to its half of the head.
  for (Chart* c : {&first, &second})
    ASSERT_TRUE(c->definition.sources[0]
                    .place
                    .SetPlace(19, 48, 'N', 70, 41, 'W', Cp1251("Сан-Фелипе-де-Пуэрто-Плат"),
                              Cp1251("Доминиканская республика"))
                    .ok());
  texts(ACLines::kBetweenCharts);
  for (const std::string& fault : testing_support::PageOverlaps(dc, dc)) ADD_FAILURE() << fault;
  t = texts(ACLines::kSecondChart);
  EXPECT_TRUE(has(t, "Second"));
  EXPECT_FALSE(has(t, "First"));
  EXPECT_TRUE(has(t, "?;<=>"));
  // The frame's bottom: 4899 + 3 x 399.6 + 300 below the page's top.
  const auto frame = std::find_if(dc.Calls().begin(), dc.Calls().end(), [](const RecordedCall& c) {
    return c.kind == RecordedCall::RoundRect;
  });
  ASSERT_NE(frame, dc.Calls().end());
  EXPECT_EQ(std::min(frame->points[0].y, frame->points[1].y), -(4899 + 1198 + 300));
}

}  // namespace
