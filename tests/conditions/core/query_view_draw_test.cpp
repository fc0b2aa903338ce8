// The drawing of the query results view through RecordingDc (a text character is half an em wide,
// one em high; the em of size s is s x 96 / 720). Expected positions are worked out by hand.
#include "conditions/core/query_view_draw.h"

#include <gtest/gtest.h>

#include "conditions/query_test_support.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"

namespace {

using condition_test::kSunMoonSquare;
using platform::Answer;
using platform::RecordedCall;
using platform::RecordingDc;
using platform::Rect;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

std::vector<const RecordedCall*> CallsOf(const RecordingDc& dc, RecordedCall::Kind kind) {
  std::vector<const RecordedCall*> found;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == kind) found.push_back(&c);
  return found;
}

TEST(QueryViewBar, ButtonsFitTheWidth) {
  // Width 24001: "W" + six titles each followed by "WW" is 60 characters, 30 em = 4 x size wide,
  // so 6000 fits (24000): em 800, a "W" 400 wide. The bar 1.6 x 800 high; buttons from x = 400,
  // each its title and one "W" wide, one "W" apart, from 240 to 1040 below the top.
  RecordingDc dc;
  const QueryBarLayout bar = LayoutQueryBar(dc, 24001);
  EXPECT_EQ(bar.fontSize, 6000);
  EXPECT_EQ(bar.height, 1280);
  const std::array<Rect, kQueryBarButtons> expected = {{{400, -240, 5200, -1040},
                                                        {5600, -240, 9600, -1040},
                                                        {10000, -240, 15200, -1040},
                                                        {15600, -240, 18000, -1040},
                                                        {18400, -240, 20800, -1040},
                                                        {21200, -240, 23600, -1040}}};
  EXPECT_EQ(bar.buttons, expected);
  EXPECT_EQ(bar.ButtonAt({400, -240}), kBarLoad);
  EXPECT_EQ(bar.ButtonAt({23600, -1040}), kBarInvert);
  EXPECT_EQ(bar.ButtonAt({5400, -600}), -1);   // between two buttons
  EXPECT_EQ(bar.ButtonAt({1000, -1100}), -1);  // below them
  // Narrow windows: 4 x size below 1000 gives 200; nothing fits 300 and the bar keeps 100.
  EXPECT_EQ(LayoutQueryBar(dc, 1000).fontSize, 200);
  EXPECT_EQ(LayoutQueryBar(dc, 300).fontSize, 100);

  dc.Clear();
  DrawQueryBar(dc, bar, 24001);
  const auto fills = CallsOf(dc, RecordedCall::FillRect);
  ASSERT_EQ(fills.size(), 7u);
  EXPECT_EQ(fills[0]->color, ColorByIndex(15));
  EXPECT_EQ(fills[0]->points, (std::vector<platform::Point>{{0, 0}, {24001, -1280}}));
  EXPECT_EQ(fills[1]->color, ColorByIndex(16));
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{U(" ЗАГРУЗИТЬ "), U(" УДАЛИТЬ "),
                                                  U(" КОПИРОВАТЬ "), "  +  ", "  -  ", "  *  "}));
  EXPECT_EQ(CallsOf(dc, RecordedCall::Text)[0]->color, ColorByIndex(0));
  ASSERT_EQ(CallsOf(dc, RecordedCall::Line).size(), 1u);
  EXPECT_EQ(CallsOf(dc, RecordedCall::Line)[0]->points,
            (std::vector<platform::Point>{{0, -1280}, {24001, -1280}}));
}

TEST(QueryViewFonts, LargeFontOption) {
  const QueryViewSettings view{2400, 2500, 60, 100, true, true};
  EXPECT_EQ(QueryScreenFontSize(view, false), 2400);
  EXPECT_EQ(QueryScreenFontSize(view, true), 3600);
  EXPECT_EQ(QueryPrintFontSize(view, true), 2250);
  EXPECT_EQ(QueryScreenFontSize({50, 50, 0, 0, true, true}, false), 100);
  RecordingDc dc;
  EXPECT_EQ(QueryRowPitch(dc, 2400, 60), 320 + 60);
  EXPECT_EQ(QueryRowPitch(dc, 100, 0), 13);
}

// Rows 0..4: Cross, Ancient, Space (first.arc), Reform, Julian (second.arc).
class QueryViewDrawTest : public condition_test::QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    second_ = WriteFixtureArchive("second.arc", "kinds.txt");
    first_ = WriteFixtureArchive("first.arc", "charts.txt");
    UseConditions(kSunMoonSquare);
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    Run({false, {{first_, true}, {second_, true}}});
    archive_.resultHeaderLines = {"H1", "H2", std::string(200, 'x'), "H4"};
    results_.TakeOver(archive_);
  }
  std::string first_, second_;
  QueryResults results_;
};

TEST_F(QueryViewDrawTest, RowColoursAndColumns) {
  const struct {
    bool marked;
    bool current;
    int fill;
    int text;
  } cases[] = {
      {false, false, 15, 0}, {false, true, 1, 14}, {true, false, 15, 12}, {true, true, 1, 12}};
  for (const auto& c : cases) {
    if (results_.Row(0).marked != c.marked) results_.ToggleMark(0);
    RecordingDc dc;
    DrawQueryRow(dc, results_, 0, 0, 20000, 2000, 400, 2400, c.current);
    const auto fills = CallsOf(dc, RecordedCall::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->color, ColorByIndex(c.fill));
    EXPECT_EQ(fills[0]->points, (std::vector<platform::Point>{{0, -2000}, {20000, -2400}}));
    EXPECT_EQ(CallsOf(dc, RecordedCall::Text)[0]->color, ColorByIndex(c.text));
  }
  // Columns over three quarters of 20000 (15000): 0.24, 0.16, 0.14, 0.07, 0.09, 0.12, 0.08, 0.08;
  // the archive from 15000.
  RecordingDc dc;
  DrawQueryRow(dc, results_, 0, 0, 20000, 2000, 400, 2400, false);
  const auto texts = CallsOf(dc, RecordedCall::Text);
  ASSERT_EQ(texts.size(), 9u);
  const int xs[] = {0, 3600, 6000, 8100, 9150, 10500, 12300, 13500, 15000};
  const std::string cells[] = {"Cross",  U("Крест"), "01.01.2000", "00:00",
                               "+00:00", "",         "51N28",      "000W00"};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(texts[static_cast<std::size_t>(i)]->points.front(), (platform::Point{xs[i], -2000}));
    if (i < 8) {
      EXPECT_EQ(texts[static_cast<std::size_t>(i)]->text, cells[i]);
    }
  }
  // The archive's path shortened: with 18000 units the last quarter is 4500 wide (28 characters
  // of 160), less than the path needs.
  dc.Clear();
  DrawQueryRow(dc, results_, 0, 0, 18000, 2000, 400, 2400, false);
  ASSERT_GT(first_.size(), 28u);
  const std::string shown = dc.Texts().back();
  EXPECT_LE(static_cast<int>(shown.size()) * 160, 4500);
  EXPECT_EQ(shown.substr(0, 6), first_.substr(0, 3) + "...");
  EXPECT_EQ(shown.substr(shown.size() - 10), "/first.arc");
  // A date before Christ carries its era (in a wide row); on paper nothing is filled and the text
  // is black.
  results_.MarkAll();
  RecordingDc paper(600.0, true);
  DrawQueryRow(paper, results_, 1, 0, 40000, 2000, 400, 2400, true, true);
  EXPECT_TRUE(CallsOf(paper, RecordedCall::FillRect).empty());
  EXPECT_EQ(CallsOf(paper, RecordedCall::Text)[2]->text, U("20.05.0010 до н.э."));
  EXPECT_EQ(CallsOf(paper, RecordedCall::Text)[0]->color, ColorByIndex(0));
}

TEST_F(QueryViewDrawTest, PagesCarryTheHeaderLinesThenTheRows) {
  // Default margins 1500, 1500, 1000, 1500. Print font 2500 (em 333), gap 10000: a pitch of
  // 10333. The lines begin 1500 + 600 + 533 (the title's height) + 400 = 3033 below the top, and
  // 28200 - 3033 = 25167 leave room for 2 lines a page: 4 header lines and 5 rows in 5 pages.
  // The long header line is cut with "..." to 18100 units: 105 characters and the dots.
  RecordingDc dc(600.0, true);
  const QueryViewSettings view{2400, 2500, 60, 10000, true, true};
  const QueryPrintLayout layout = LayoutQueryPrint(dc, config_, view, results_);
  EXPECT_EQ(layout.pitch, 10333);
  EXPECT_EQ(layout.top, 3033);
  EXPECT_EQ(layout.left, 1700);
  EXPECT_EQ(layout.right, 19800);
  EXPECT_EQ(layout.linesPerPage, 2);
  EXPECT_EQ(layout.Pages(), 5);

  const std::string title = U("ЗАПРОС ПО АРХИВУ");
  const struct {
    int page;
    std::vector<std::string> texts;  // after the ornament
  } pages[] = {
      {1, {title, "H1", "H2"}},
      {2, {title + U(" (стр. 2)"), std::string(105, 'x') + "...", "H4"}},
      {3, {title + U(" (стр. 3)"), "Cross"}},
      {5, {title + U(" (стр. 5)"), "Julian"}},
  };
  for (const auto& p : pages) {
    SCOPED_TRACE(p.page);
    dc.Clear();
    DrawQueryPage(dc, config_, layout, results_, p.page);
    const std::vector<std::string> texts = dc.Texts();
    ASSERT_GE(texts.size(), p.texts.size() + 1);
    EXPECT_EQ(texts[0], "?;<=>");
    for (std::size_t i = 0; i < p.texts.size(); ++i) EXPECT_EQ(texts[i + 1], p.texts[i]);
  }
  // Page 3: rows 0 and 1 at 3033 and 3033 + 10333 below the top.
  dc.Clear();
  DrawQueryPage(dc, config_, layout, results_, 3);
  const auto texts = CallsOf(dc, RecordedCall::Text);
  EXPECT_EQ(texts[2]->points.front(), (platform::Point{1700, -3033}));
  EXPECT_EQ(texts[11]->points.front(), (platform::Point{1700, -13366}));
  EXPECT_EQ(texts[11]->text, "Ancient");
  // A gap of 8000 (pitch 8333) gives 3 lines a page: 9 lines fill 3 pages, no blank one after;
  // a gap of 100 (pitch 433) 58 lines a page.
  EXPECT_EQ(LayoutQueryPrint(dc, config_, {2400, 2500, 60, 8000, true, true}, results_).Pages(), 3);
  EXPECT_EQ(LayoutQueryPrint(dc, config_, {2400, 2500, 60, 100, true, true}, results_).Pages(), 1);
}

}  // namespace
