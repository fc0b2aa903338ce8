// The layout and the bars of the Tremin forecast through a recording device context (a text-face
// character half an em wide, one em high; an em is size x 96 / 720 units). Every number is worked
// out by hand from the page fractions.
#include "rectification/core/tremin_forecast_draw.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "rectification/core/tremin_fixture.h"

namespace {

using platform::RecordedCall;

platform::RecordingDc HiMetricDc(bool printing = false) {
  platform::RecordingDc dc(96.0, printing);
  dc.SetMapMode(platform::MapMode::HiMetric);
  return dc;
}

TEST(TreminForecastDraw, ScreenAndPaperLayouts) {
  platform::RecordingDc dc = HiMetricDc();
  // A client area of 200 x 100 mm, font 2500 ('W' 333 high): left 1 %, top 0.5 %, text column
  // 22 %; the rows take 93 % of the 9950 below the top edge; a row is 4 x 333.
  const TmForecastLayout s = LayOutTmForecastScreen(dc, 20000, 10000, 2500);
  EXPECT_EQ(std::tie(s.left, s.top, s.textWidth, s.barLeft, s.barRight, s.rowsBottom),
            std::make_tuple(200, -50, 4400, 4800, 19600, -9304));
  EXPECT_DOUBLE_EQ(s.rowHeight, 1332.0);
  EXPECT_EQ(s.rowsPerPage, 6);  // 9254 / 1332 = 6.9
  // A window lower than one row still shows one.
  EXPECT_EQ(LayOutTmForecastScreen(dc, 20000, 500, 2500).rowsPerPage, 1);

  // Paper: A4 less the margins (1500, 1500, 1000, 1500) and the 2100 of the page head: 18500 x
  // 24600; top edge 1.5 % (369), text column 25 % (4625), a row 24231 / 17, the font the largest
  // whose 'W' (size x 96 / 720) is below a quarter row + 1 (357): 2600.
  const TmForecastLayout p = LayOutTmForecastPaper(dc, Configuration{});
  EXPECT_EQ(std::tie(p.left, p.top, p.textWidth, p.barLeft, p.barRight, p.rowsBottom),
            std::make_tuple(1500, -3969, 4625, 6310, 19815, -26504));
  EXPECT_NEAR(p.rowHeight, 24231.0 / 17.0, 1e-9);
  EXPECT_EQ(p.fontSize, 2600);
  EXPECT_EQ(p.rowsPerPage, 15);
  const std::pair<int, int> pages[] = {{0, 0}, {1, 1}, {15, 1}, {16, 2}, {30, 2}, {31, 3}};
  for (const auto& [rows, count] : pages) EXPECT_EQ(TmForecastPageCount(p, rows), count) << rows;
}

TEST(TreminForecastDraw, BarsAreAsLongAsTheirTotals) {
  platform::RecordingDc dc = HiMetricDc();
  const TmForecastLayout l = LayOutTmForecastScreen(dc, 20000, 10000, 2500);
  TmForecastRow row;
  row.text = "move";
  row.total = {100, 50, 0};
  DrawTmForecastPage(dc, l, {row}, {0}, 0, TmBarStyle::kFilled);

  // The bars fill four fifths of the row: slots of 355.2 from 133.2 below its top, 302 high.
  std::vector<RecordedCall> fills;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::FillRect && c.points[0].x == l.barLeft) fills.push_back(c);
  ASSERT_EQ(fills.size(), 2u);  // a total of 0 has no bar
  EXPECT_EQ(fills[0].points, (std::vector<platform::Point>{{4800, -183}, {19600, -485}}));
  EXPECT_EQ(fills[0].color, ColorByIndex(1));
  EXPECT_EQ(fills[1].points, (std::vector<platform::Point>{{4800, -538}, {12200, -840}}));
  EXPECT_EQ(fills[1].color, ColorByIndex(4));

  const auto text = [&](const std::string& t) {
    return std::find_if(dc.Calls().begin(), dc.Calls().end(),
                        [&](const RecordedCall& c) { return c.text == t; });
  };
  // The totals: white in the middle of a bar that holds them, black after an empty one.
  ASSERT_NE(text("100"), dc.Calls().end());
  EXPECT_EQ(text("100")->points[0].x, 12200);
  EXPECT_EQ(text("100")->color, platform::kWhite);
  EXPECT_EQ(text("50")->points[0].x, 8500);
  EXPECT_EQ(text("0")->points[0].x, 4800 + 62);
  EXPECT_EQ(text("0")->color, platform::kBlack);
  EXPECT_EQ(text("move")->points[0].x, 200);
  for (int m : {1047, 1048, 1049}) EXPECT_NE(text(GetMessageText(m)), dc.Calls().end()) << m;

  // The lines: across the page above the legend, and after the text column over the rows.
  std::vector<std::vector<platform::Point>> lines;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Line) lines.push_back(c.points);
  EXPECT_EQ(lines, (std::vector<std::vector<platform::Point>>{{{0, -9304}, {20000, -9304}},
                                                              {{4600, -50}, {4600, -9304}}}));
}

TEST(TreminForecastDraw, PaperBarsAreOutlinedWithoutTheFill) {
  struct Case {
    TmBarStyle style;
    platform::Color pen;
  };
  const Case cases[] = {{TmBarStyle::kOutlineColour, ColorByIndex(1)},
                        {TmBarStyle::kOutlineBlack, platform::kBlack}};
  for (const Case& c : cases) {
    platform::RecordingDc dc = HiMetricDc(true);
    const TmForecastLayout l = LayOutTmForecastPaper(dc, Configuration{});
    TmForecastRow row;
    row.total = {80, 0, 0};
    DrawTmForecastPage(dc, l, {row}, {0}, 0, c.style);
    std::vector<RecordedCall> bars;
    for (const RecordedCall& call : dc.Calls()) {
      EXPECT_NE(call.kind, RecordedCall::FillRect);
      if (call.kind == RecordedCall::Rectangle && call.points[0].x == l.barLeft)
        bars.push_back(call);
    }
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].pen.color, c.pen);
    EXPECT_TRUE(bars[0].brush.hollow);
    // 80 % of 13505.
    EXPECT_EQ(bars[0].points[1].x, 6310 + 10804);
  }
}

TEST(TreminForecastDraw, RowsFollowTheOrderFromTheFirstRow) {
  platform::RecordingDc dc = HiMetricDc();
  const TmForecastLayout l = LayOutTmForecastScreen(dc, 20000, 10000, 2500);
  std::vector<TmForecastRow> rows(9);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].text = "row" + std::to_string(i);
  const std::vector<int> order{8, 7, 6, 5, 4, 3, 2, 1, 0};
  DrawTmForecastPage(dc, l, rows, order, 2, TmBarStyle::kFilled);
  std::vector<std::pair<std::string, int>> shown;
  for (const RecordedCall& c : dc.Calls())
    if (c.text.rfind("row", 0) == 0) shown.emplace_back(c.text, c.points[0].y);
  // Six rows from the third of the order, 1332 apart, each text centred in its row.
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown.front(), (std::pair<std::string, int>("row6", -50 - (1332 - 333) / 2)));
  EXPECT_EQ(shown.back(), (std::pair<std::string, int>("row1", -50 - 5 * 1332 - (1332 - 333) / 2)));
}

TEST(TreminForecastDraw, PageHeadAndCaption) {
  SearchFixture f;
  for (int page : {1, 2}) {
    platform::RecordingDc dc = HiMetricDc(true);
    DrawTmForecastPageHead(dc, f.chart, f.config, 1990, page);
    const std::string title = GetMessageText(kMsgForecastTitle) + " 1990" +
                              (page == 1 ? "" : " (" + GetMessageText(kMsgPageWord) + " 2)");
    const auto found = std::find_if(dc.Calls().begin(), dc.Calls().end(),
                                    [&](const RecordedCall& c) { return c.text == title; });
    ASSERT_NE(found, dc.Calls().end()) << page;
    // At 40 points, under the chart's block and above the rows' page (2100 below the margin).
    EXPECT_EQ(found->font.pointSize, 4000);
    EXPECT_EQ(found->points[0].y, -(1500 + 150 + 2 * 380 + 294 + 100));
    EXPECT_GT(found->points[0].y - 533, -(1500 + kTmForecastPaperHead));
  }
  EXPECT_EQ(TmForecastCaption(-44), GetMessageText(kMsgForecastCaption) + "-44: ");
}

}  // namespace
