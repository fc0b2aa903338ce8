// The aspect graph's layout and drawing: the layout numbers on the screen and on the page
// (worked out by hand from the percentages), the samples across the plot and under a click, the
// scrolling, the time axis, the bars and dots of the samples with one glyph per run of an aspect,
// and the printed heading. Drawn into a RecordingDc (a text character half an em wide, a glyph
// one em; an em is size x 96 / 720 units).
#include "views/core/asp_graph_draw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/lists/list_navigation.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_data.h"
#include "views/core/asp_graph_layout.h"

namespace {

using platform::RecordedCall;
using platform::RecordingDc;

// A client area of 300 x 200 mm with ten rows: plot 84% x 87%, from x 16%, y -7%.
AspGraphLayout Screen() { return aspgraph::ScreenLayout({0, 0, 30000, -20000}, 10); }

TEST(AspGraphLayout, ScreenAndPrintNumbersFollowThePercentages) {
  const AspGraphLayout s = Screen();
  EXPECT_EQ(s.plotWidth, 25200);
  EXPECT_EQ(s.plotHeight, 17400);
  EXPECT_EQ(s.x0, 4800);
  EXPECT_EQ(s.y0, -1400);
  EXPECT_EQ(s.rowHeight, 1740);
  EXPECT_EQ(s.baselineOffset, 1252);  // 72% of the row

  // A4 less the margins 15, 15, 10, 15 mm: 18500 x 26700; the top and left margins count 1.5
  // times in the plot's size, the top margin is 5%.
  const cfg::PrintSettings print;
  const AspGraphLayout p = aspgraph::PrintLayout(print, 5);
  EXPECT_TRUE(p.printing);
  EXPECT_EQ(p.rowsPerPage, 8);     // at least eight rows
  EXPECT_EQ(p.plotWidth, 15447);   // 83.5%
  EXPECT_EQ(p.plotHeight, 21493);  // 80.5%
  EXPECT_EQ(p.x0, 1500 + 2960);    // 16%
  EXPECT_EQ(p.y0, -1500 - 2937);   // 11%
  EXPECT_EQ(p.rowHeight, 2686);
  EXPECT_EQ(p.baselineOffset, 1933);
  EXPECT_EQ(aspgraph::PrintLayout(print, 12).rowsPerPage, 12);
  EXPECT_EQ(aspgraph::ScreenLayout({0, 0, 30000, -20000}, 0).rowsPerPage, 1);
  EXPECT_EQ(aspgraph::ScreenLayout({0, 0, 30000, -20000}, 99).rowsPerPage, 24);
}

TEST(AspGraphLayout, TheVerticalScaleIsGuardedAgainstNoOrbs) {
  AspGraphLayout s = Screen();
  aspgraph::SetVerticalScale(s, 800);
  EXPECT_DOUBLE_EQ(s.verticalScale, 1252.0 / 800.0);
  aspgraph::SetVerticalScale(s, 0);
  EXPECT_EQ(s.verticalScale, 0.0);
}

TEST(AspGraphLayout, SamplesAcrossThePlotAndUnderAClick) {
  const AspGraphLayout s = Screen();
  // 1200 pixels across the 30000 units: the plot is 1008 pixels.
  struct {
    int pixels, speed, n;
  } counts[] = {{1200, 0, 252},  {1200, 1, 1108}, {1200, 2, 2016},
                {1200, 3, 4032}, {1200, 7, 1108}, {10000, 3, aspgraph::kMaxSamples},
                {0, 1, 1}};
  for (const auto& c : counts)
    EXPECT_EQ(aspgraph::SampleCount(s, c.pixels, 30000, c.speed), c.n)
        << c.pixels << ' ' << c.speed;

  struct {
    int i, n, x;
  } xs[] = {{0, 7, 4800}, {1, 7, 8400}, {3, 7, 15600}, {999, 1000, 29974}};
  for (const auto& c : xs) EXPECT_EQ(aspgraph::SampleX(s, c.i, c.n), c.x);

  struct {
    int x, sample;
  } clicks[] = {{4799, -1}, {4800, 0}, {8399, 0}, {8400, 1}, {15600, 3}, {29999, 6}, {30000, -1}};
  for (const auto& c : clicks) EXPECT_EQ(aspgraph::SampleAtX(s, c.x, 7), c.sample) << c.x;
}

TEST(AspGraphLayout, RowsScrollWithinThePairsAndDaysByHalfAPeriod) {
  struct {
    int code, position, first, expected;
  } rows[] = {{kScrollLineDown, 0, 0, 1},   {kScrollPageDown, 0, 0, 10},
              {kScrollPageDown, 0, 20, 23}, {kScrollBottom, 0, 3, 23},
              {kScrollLineUp, 0, 0, 0},     {kScrollThumbPosition, 17, 2, 17},
              {kScrollTop, 0, 9, 0},        {99, 0, 5, 5}};
  for (const auto& r : rows)
    EXPECT_EQ(aspgraph::ScrollRows(r.code, r.position, r.first, 10, 24), r.expected) << r.code;

  struct {
    int code, position, days;
  } days[] = {{kScrollLineUp, 0, -185},        {kScrollPageUp, 0, -185},
              {kScrollTop, 0, -185},           {kScrollLineDown, 0, 185},
              {kScrollPageDown, 0, 185},       {kScrollBottom, 0, 185},
              {kScrollThumbPosition, 0, -185}, {kScrollThumbPosition, 2, 185},
              {kScrollThumbPosition, 1, 0},    {kScrollThumbTrack, 0, 0}};
  for (const auto& d : days) EXPECT_EQ(aspgraph::ScrollDays(d.code, d.position, 371), d.days);
}

TEST(AspGraphLayout, ScrollingMovesTheCalculationsFirstDayOnly) {
  CAspGraphData data;
  ASSERT_TRUE(data.AddList("a", 0, 1).ok());
  FDate first;
  ASSERT_TRUE(first.SetDate(1, 1, 2014, 'A').ok());
  data.SetFirstDay(first);
  CAspGraphCalc calc;
  calc.Prepare(Chart(), data);
  for (int k = 0; k < 2; ++k)
    calc.ShiftFirstDay(aspgraph::ScrollDays(kScrollLineDown, 0, calc.Span()));
  EXPECT_EQ(calc.FirstDay().Day(), 31);  // 2 x 15 days
  EXPECT_EQ(calc.FirstDay().Month(), 1);
  EXPECT_EQ(data.FirstDay(), first);
}

class AspGraphDrawTest : public ::testing::Test {
 protected:
  AspGraphDrawTest() { dc_.SetMapMode(platform::MapMode::HiMetric); }

  // One pair (Sun in transits to the radix Moon) whose samples hold `aspects` (-100 none), each
  // with orb 800 and deviation 200.
  void Samples(const std::vector<int>& aspects) {
    list_.pairs = {AspGraphPair{"VELM", 0, 6, 0, 1, 0, 0}};
    samples_.n = static_cast<int>(aspects.size());
    samples_.pairCount = 1;
    samples_.aspectNames = {{"conj", "sq", "septile"}};
    samples_.cells.clear();
    for (int a : aspects) {
      AspGraphCell cell;
      if (a != -100) cell = AspGraphCell{12, 200, 800, static_cast<std::int16_t>(a), 4500};
      samples_.cells.push_back(cell);
    }
  }
  // The texts drawn in the aspect glyph face, with their x.
  std::vector<std::pair<std::string, int>> AspectMarks() const {
    std::vector<std::pair<std::string, int>> marks;
    for (const RecordedCall& c : dc_.Calls())
      if (c.kind == RecordedCall::Text &&
          (c.font.face == platform::kGlyphFaceB || c.text == "septile"))
        marks.emplace_back(c.text, c.points[0].x);
    return marks;
  }

  RecordingDc dc_;
  AspGraphList list_;
  AspGraphSamples samples_;
};

TEST_F(AspGraphDrawTest, AnAspectsGlyphIsDrawnOncePerRun) {
  AspGraphLayout s = Screen();
  aspgraph::SetVerticalScale(s, 800);
  // n = 8: samples 3150 units apart, the glyph (fitted to the 488-unit strip above the bars: size
  // 3600, 480 units wide) fits between them. Aspect -3 is the system's third, by its name.
  Samples({2, 2, 2, -100, 2, 0, 0, -3});
  DrawAspGraphRows(dc_, s, list_, samples_, 0, AspGraphPaint{});
  const std::vector<std::pair<std::string, int>> expected = {
      {"2", 4800}, {"2", 4800 + 4 * 3150}, {"0", 4800 + 5 * 3150}, {"septile", 4800 + 7 * 3150}};
  EXPECT_EQ(AspectMarks(), expected);
}

TEST_F(AspGraphDrawTest, AGlyphIsLeftOutWhereThePreviousOneStillStands) {
  AspGraphLayout s = Screen();
  aspgraph::SetVerticalScale(s, 800);
  // n = 100: samples 252 units apart; the first glyph ends at 4800 + 480.
  std::vector<int> aspects(100, -100);
  aspects[0] = 2, aspects[1] = 0, aspects[2] = 2, aspects[3] = 0;
  Samples(aspects);
  DrawAspGraphRows(dc_, s, list_, samples_, 0, AspGraphPaint{});
  const std::vector<std::pair<std::string, int>> expected = {{"2", 4800}, {"2", 4800 + 504}};
  EXPECT_EQ(AspectMarks(), expected);
}

TEST_F(AspGraphDrawTest, BarsOnTheScreenAndDotsOnPaperForFillTypeOne) {
  AspGraphLayout s = Screen();
  aspgraph::SetVerticalScale(s, 800);
  Samples({1, -100});
  const int baseline = s.y0 - s.baselineOffset;
  const int top = baseline + static_cast<int>(600 * s.verticalScale);  // (orb - deviation) x scale

  DrawAspGraphRows(dc_, s, list_, samples_, 0, AspGraphPaint{false, 1, true});
  bool bar = false;
  for (const RecordedCall& c : dc_.Calls())
    if (c.kind == RecordedCall::Line && c.points[0] == platform::Point{4800, baseline})
      bar = bar || (c.points[1] == platform::Point{4800, top} && c.pen.color == ColorByIndex(12));
  EXPECT_TRUE(bar);

  for (bool colour : {true, false}) {
    dc_.Clear();
    DrawAspGraphRows(dc_, s, list_, samples_, 0, AspGraphPaint{true, 1, colour});
    std::vector<RecordedCall> dots;
    for (const RecordedCall& c : dc_.Calls())
      if (c.kind == RecordedCall::Ellipse) dots.push_back(c);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].points[0], (platform::Point{4800 - 50, top + 50}));
    EXPECT_EQ(dots[0].brush.color, colour ? ColorByIndex(12) : platform::kBlack);
  }
}

TEST_F(AspGraphDrawTest, RowsShowTheirLabelsFromTheFirstVisibleRow) {
  AspGraphLayout s = Screen();
  Samples({-100});
  list_.pairs.push_back(AspGraphPair{"ABC", 46, 1, 0, 55, 0, 0});
  samples_.pairCount = 2;
  samples_.cells.push_back(AspGraphCell{});
  DrawAspGraphRows(dc_, s, list_, samples_, 1, AspGraphPaint{});
  std::vector<std::string> texts;
  for (const std::string& t : dc_.Texts()) texts.push_back(Utf8(t));
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Точка Жизни[Симв.дир.]", "Упр. 10 дома[Рад.]", "ABC"}));
  // The second pair stands in the first row's place.
  EXPECT_EQ(dc_.Calls().front().points[0].y, s.y0 - s.baselineOffset);

  dc_.Clear();
  DrawAspGraphRows(dc_, s, list_, samples_, 0, AspGraphPaint{});
  ASSERT_NE(dc_.FindGlyph('M'), nullptr);  // the Sun's glyph, then its technique
  EXPECT_EQ(Utf8(dc_.Texts()[1]), "[Транз.]");
}

TEST_F(AspGraphDrawTest, TheTimeAxisLabelsItsMajorTicksWhereTheyFit) {
  const AspGraphLayout s = Screen();
  FDate first;
  ASSERT_TRUE(first.SetDate(1, 1, 2014, 'A').ok());
  const std::vector<aspgraph::AxisTick> month =
      aspgraph::AxisTicks(s, first, aspgraph::TimeScaleOf(0));
  ASSERT_EQ(month.size(), 31u);
  EXPECT_EQ(month[1].x, 4800 + 812);  // a day of 25200 / 31
  EXPECT_TRUE(month[5].major);
  EXPECT_FALSE(month[6].major);
  EXPECT_EQ(month[5].label, (std::vector<std::string>{"2014", "06.01"}));

  // Labels of 400-unit lines (size 2900): "01:01:2014" is 1933 units wide, 2852 units apart.
  DrawAspGraphTimeAxis(dc_, s, first, aspgraph::TimeScaleOf(5));
  const std::vector<std::string> year = {"01:01:2014", "12:02:2014", "26:03:2014",
                                         "07:05:2014", "18:06:2014", "30:07:2014",
                                         "10:09:2014", "22:10:2014", "03:12:2014"};
  EXPECT_EQ(dc_.Texts(), year);
  int lines = 0;
  for (const RecordedCall& c : dc_.Calls()) lines += c.kind == RecordedCall::Line;
  EXPECT_EQ(lines, 2 + 2 * 53);

  // A month: the label at the 30th day would leave the plot.
  dc_.Clear();
  DrawAspGraphTimeAxis(dc_, s, first, aspgraph::TimeScaleOf(0));
  EXPECT_EQ(dc_.Texts().size(), 2u * 6u);
  EXPECT_EQ(dc_.Texts()[11], "2014");
}

TEST_F(AspGraphDrawTest, ThePrintedHeadingCarriesTheOrnamentAndTheTitle) {
  Configuration config;
  Chart chart;
  DrawAspGraphPageHeading(dc_, config, chart);
  const RecordedCall* ornament = dc_.FindGlyph('?', 0);
  ASSERT_NE(ornament, nullptr);
  EXPECT_EQ(ornament->points[0], (platform::Point{20300 - 1000, -250 - 1500}));
  EXPECT_EQ(ornament->font.pointSize, 6000);
  const RecordedCall& title = dc_.Calls().back();
  EXPECT_EQ(Utf8(title.text), "ГРАФИЧЕСКИЕ АСПЕКТЫ");
  EXPECT_EQ(title.points[0], (platform::Point{(1500 + 21000 - 1000) / 2, -600 - 1500}));
  EXPECT_EQ(title.font.pointSize, 3800);
}

}  // namespace
