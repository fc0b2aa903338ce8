// The rectification picture: the graph's label steps, the colour classes, the trial under a click
// in each form, the horizontal scrolling, the empty table and the printed page counts, through a
// recording device context in 0.1 mm units.
#include "rectification/core/rect_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"

namespace {

platform::RecordingDc LoMetricDc(bool printing = false) {
  platform::RecordingDc dc(96.0, printing);
  dc.SetMapMode(platform::MapMode::LoMetric);
  return dc;
}

// `trials` x `events` x `methods`, every score `score`, trial 0 at 1 January 1900 00:00.
void Fill(RectGraph& g, int trials, int events, int methods, double score = 1.0) {
  ASSERT_TRUE(g.Init(trials, events, methods));
  for (int i = 0; i < trials; ++i)
    for (int j = 0; j < events; ++j)
      for (int k = 0; k < methods; ++k) g.Add(score, i, j, k);
}

// A client area of 200 x 100 mm from the top left corner.
constexpr platform::Rect kScreen{0, 0, 2000, -1000};

TEST(RectGraph, LabelStepsByRange) {
  const std::pair<double, int> cases[] = {
      {0, 10},       {79, 10},      {79.9, 10},      {80, 20},      {159, 20},
      {160, 100},    {499, 100},    {500, 500},      {1499, 500},   {1500, 1000},
      {15999, 1000}, {16000, 2000}, {29999.5, 2000}, {30000, 5000}, {1e6, 5000},
  };
  for (const auto& [range, step] : cases) EXPECT_EQ(RectLabelStep(range), step) << range;
}

TEST(RectGraph, ColourClassesAroundTheMean) {
  struct Case {
    double value, mean;
    int colour;
  };
  const Case cases[] = {
      {49.9, 100, 2},  {50, 100, 0}, {100, 100, 0}, {150, 100, 0},
      {150.1, 100, 4}, {0, 0, 0},    {-1, 0, 2},    {1, 0, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RectColourClass(c.value, c.mean), c.colour) << c.value << " / " << c.mean;
}

TEST(RectGraph, FormsCycleAndProject) {
  RectGraph g;
  Fill(g, 3, 2, 4);
  g.SetForm(kRectByEvents);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_DOUBLE_EQ(g.Projected().Get2(0, 1), 4.0);  // four methods summed
  g.CycleForm();
  EXPECT_EQ(g.Form(), kRectByMethods);
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_DOUBLE_EQ(g.Projected().Get2(2, 3), 2.0);  // two events summed
  g.CycleForm();
  EXPECT_EQ(g.Form(), kRectGraph);
  EXPECT_EQ(g.RowCount(), 0);
  EXPECT_DOUBLE_EQ(g.RowSums()[1], 8.0);
  g.CycleForm();
  EXPECT_EQ(g.Form(), kRectByEvents);
  g.SetForm(7);  // a stored mode out of range shows the table by events
  EXPECT_EQ(g.Form(), kRectByEvents);
}

TEST(RectGraph, ClickGivesTheTrialInEachForm) {
  platform::RecordingDc dc = LoMetricDc();
  RectGraph g;
  Fill(g, 61, 2, 3);
  for (int form : {kRectByEvents, kRectByMethods}) {
    g.SetForm(form);
    g.LayOut(dc, kScreen, false);
    g.Scroll(RectScroll::kHome);
    const RectTableLayout& l = g.Layout(false);
    ASSERT_GT(l.visibleTrials, 2);
    ASSERT_LT(l.visibleTrials, 61);
    const int x1 = l.TrialsLeft() + l.columnWidth + 1;  // the second trial column
    const int firstRow = l.RowsTop() - 1;
    const int totalsRow = l.RowsTop() - g.RowCount() * l.rowHeight - 1;
    struct Case {
      int x, y, trial, row;
    };
    const Case cases[] = {
        {x1, firstRow, 1, 0},
        {x1, firstRow - l.rowHeight, 1, 1},
        {x1, totalsRow, 1, -1},                  // the totals row: a trial, no row
        {x1, -2, 1, -1},                         // the header
        {l.TrialsLeft() - 1, firstRow, -1, -1},  // the totals column
        {10, firstRow, -1, -1},                  // the name column
        {l.TrialsLeft() + l.visibleTrials * l.columnWidth, firstRow, -1, -1},  // past the last
        {x1, totalsRow - l.rowHeight, -1, -1},                                 // below the table
    };
    for (const Case& c : cases) {
      const RectHit hit = g.HitTest({c.x, c.y});
      EXPECT_EQ(hit.trial, c.trial) << form << " " << c.x << "," << c.y;
      EXPECT_EQ(hit.row, c.row) << form << " " << c.x << "," << c.y;
    }
    // Scrolled to the last trial: the next column is past the trials.
    g.Scroll(RectScroll::kEnd);
    EXPECT_EQ(g.HitTest({l.TrialsLeft() + 1, firstRow}).trial, 60);
    EXPECT_EQ(g.HitTest({x1, firstRow}).trial, -1);
    g.Scroll(RectScroll::kThumb, 10);
    EXPECT_EQ(g.HitTest({x1, firstRow}).trial, 11);
  }

  // The graph: 61 trials over the inner 1800 (margins 5 % = 100 each side), 30 apart; the nearest
  // trial, whatever the scroll position.
  g.SetForm(kRectGraph);
  g.LayOut(dc, kScreen, false);
  const int axisY = -1000 + 80;
  struct Case {
    int x, trial;
  };
  const Case cases[] = {{100, 0},   {114, 0}, {116, 1}, {1900, 60}, {1914, 60},
                        {1916, -1}, {84, -1}, {10, -1}, {1000, 30}};
  for (const Case& c : cases) EXPECT_EQ(g.HitTest({c.x, axisY + 5}).trial, c.trial) << c.x;
  EXPECT_EQ(g.HitTest({1000, 10}).trial, -1);  // above the window
}

TEST(RectGraph, ScrollingStopsAtBothEnds) {
  platform::RecordingDc dc = LoMetricDc();
  RectGraph g;
  Fill(g, 100, 1, 1);
  g.SetForm(kRectByEvents);
  g.LayOut(dc, kScreen, false);
  const int page = g.Layout(false).visibleTrials;
  ASSERT_GT(page, 3);
  ASSERT_LT(page, 50);
  struct Step {
    RectScroll action;
    int position, first;
  };
  const Step steps[] = {
      {RectScroll::kLineLeft, 0, 0},   {RectScroll::kPageLeft, 0, 0},
      {RectScroll::kLineRight, 0, 1},  {RectScroll::kPageRight, 0, 1 + page},
      {RectScroll::kPageLeft, 0, 1},   {RectScroll::kPageLeft, 0, 0},
      {RectScroll::kEnd, 0, 99},       {RectScroll::kLineRight, 0, 99},
      {RectScroll::kPageRight, 0, 99}, {RectScroll::kThumb, 500, 99},
      {RectScroll::kThumb, -3, 0},     {RectScroll::kThumb, 2, 2},
      {RectScroll::kPageLeft, 0, 0},   {RectScroll::kHome, 0, 0},
  };
  for (const Step& s : steps) {
    g.Scroll(s.action, s.position);
    EXPECT_EQ(g.FirstVisible(), s.first) << static_cast<int>(s.action);
  }
  // No trials: the position stays 0.
  RectGraph none;
  for (RectScroll a : {RectScroll::kEnd, RectScroll::kLineRight, RectScroll::kPageRight}) {
    none.Scroll(a);
    EXPECT_EQ(none.FirstVisible(), 0);
  }
}

TEST(RectGraph, NoEventInUseGivesNoRowsAndZeroTotals) {
  platform::RecordingDc dc = LoMetricDc();
  RectGraph g;
  Fill(g, 5, 0, 2);
  g.SetForm(kRectByEvents);
  g.LayOut(dc, kScreen, false);
  EXPECT_EQ(g.RowCount(), 0);
  EXPECT_EQ(g.RowSums(), std::vector<double>(5, 0.0));
  g.Draw(dc, false, false);
  // The totals row: the sum over everything and one 0 per trial; no cell.
  const std::vector<std::string> texts = dc.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "0"), 6);
  // The rows begin right under the header.
  EXPECT_EQ(g.HitTest({g.Layout(false).TrialsLeft() + 1, g.Layout(false).RowsTop() - 1}).row, -1);
}

TEST(RectGraph, EqualSumsKeepTheGraphFinite) {
  platform::RecordingDc dc = LoMetricDc();
  RectGraph g;
  Fill(g, 10, 1, 1, 7.0);
  g.SetForm(kRectGraph);
  g.LayOut(dc, kScreen, false);
  EXPECT_DOUBLE_EQ(g.MinimumSum(), 7.0);
  EXPECT_DOUBLE_EQ(g.AxisTop(), 17.0);  // one label step above
  g.Draw(dc, true, true);
  for (const platform::RecordedCall& call : dc.Calls())
    for (const platform::Point& p : call.points) {
      EXPECT_GE(p.x, 0);
      EXPECT_LE(p.x, 2000);
      EXPECT_LE(p.y, 0);
      EXPECT_GE(p.y, -1000);
    }
  // The curve lies on the x axis: the lowest sum is the axis' foot.
  EXPECT_DOUBLE_EQ(g.SumY(7.0), -920.0);
  EXPECT_DOUBLE_EQ(g.SumY(17.0), -50.0);
}

TEST(RectGraph, PrintedPageCounts) {
  platform::RecordingDc dc = LoMetricDc(true);
  // A4 less 10 mm all round and the page head.
  const platform::Rect paper{100, -100 - RectGraph::kPaperHead, 2000, -2870};
  RectGraph probe;
  Fill(probe, 1, 2, 1);
  probe.SetForm(kRectByEvents);
  probe.LayOut(dc, paper, true);
  const int perPage = probe.Layout(true).visibleTrials;
  ASSERT_GT(perPage, 5);
  struct Case {
    int trials, form, pages;
  };
  const Case cases[] = {
      {1, kRectByEvents, 1},           {perPage, kRectByEvents, 1},
      {perPage + 1, kRectByEvents, 2}, {3 * perPage, kRectByMethods, 3},
      {2881, kRectGraph, 1},           {0, kRectByEvents, 1},
  };
  for (const Case& c : cases) {
    RectGraph g;
    Fill(g, c.trials, 2, 1);
    g.SetForm(c.form);
    g.LayOut(dc, paper, true);
    EXPECT_EQ(g.PageCount(), c.pages) << c.trials << " " << c.form;
  }
  // Page 2 begins at trial perPage and carries its number in the head, which ends above the
  // table and leaves the page in the mapping mode of the table.
  RectGraph g;
  Fill(g, perPage + 1, 2, 1);
  g.SetForm(kRectByEvents);
  g.LayOut(dc, paper, true);
  platform::RecordingDc page = LoMetricDc(true);
  const Configuration config;
  const int headBottom = DrawRectPageHead(page, Chart{}, config, 2);
  EXPECT_EQ(page.GetMapMode(), platform::MapMode::LoMetric);
  EXPECT_GE(headBottom, 10 * paper.top);
  g.DrawPage(page, 2, false, false);
  const std::vector<std::string> texts = page.Texts();
  const std::string head =
      GetMessageText(kMsgRectificationTitle) + " (" + GetMessageText(kMsgPageWord) + " 2)";
  EXPECT_NE(std::find(texts.begin(), texts.end(), head), texts.end());
  char minute[8];
  std::snprintf(minute, sizeof minute, "%02d", perPage % 60);
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(minute)), texts.end());
}

}  // namespace
