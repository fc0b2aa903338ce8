// The archive listing: parameters, the printed charts and their lines, the fonts and pages.
#include "archive/print/archive_print.h"

#include <algorithm>

#include "archive_fixture.h"
#include "foundation/config/settings_blocks.h"
#include "platform/core/recording_dc.h"

namespace archive_test {
namespace {

TEST(ArchivePrintParamsTest, BlockValuesAreClampedIntoRange) {
  using P = cfg::ArchivePrintParams;
  struct Case {
    double interval;
    std::int32_t font, page;
    double wantInterval;
    int wantFont, wantPage;
  };
  for (const Case& c : std::vector<Case>{{0.0, 50, 11, 0.5, 100, 10},
                                         {2.0, 1200, 3, 2.0, 1200, 3},
                                         {99.0, 30000, -1, 10.0, 20000, 10},
                                         {0.7, 100, 0, 0.7, 100, 0}}) {
    cfg::ByteBlock block(P::kSize);
    block.Set(P::kLineInterval, c.interval);
    block.Set(P::kFontSize, c.font);
    block.Set(P::kCommentPage1, c.page);
    const ArchivePrintParams p = ArchivePrintParams::FromBlock(block);
    EXPECT_EQ(p.lineInterval, c.wantInterval) << c.interval;
    EXPECT_EQ(p.fontSize, c.wantFont) << c.font;
    EXPECT_EQ(p.commentPages[0], c.wantPage) << c.page;
  }
  ArchivePrintParams p;
  p.fontSize = 900;
  p.lineInterval = 1.5;
  p.coordinates = 1;
  p.commentPages = {2, 10};
  p.selectedOnly = 1;
  p.hint = 0;
  cfg::ByteBlock block(P::kSize);
  p.ToBlock(block);
  EXPECT_EQ(ArchivePrintParams::FromBlock(block), p);
}

TEST(ArchivePrintParamsTest, HintEveryTwentiethLaunchOrWhileSwitchedOn) {
  struct Case {
    int hint;
    std::uint32_t launches;
    bool due;
  };
  for (const Case& c : std::vector<Case>{
           {1, 7, true}, {0, 40, true}, {0, 41, false}, {0, 19, false}, {0, 60, true}})
    EXPECT_EQ(ArchivePrintHintDue(c.hint, c.launches), c.due) << c.hint << " " << c.launches;
}

TEST(ArchivePrintPagesTest, ChartsOpenPagesWhenTheirLinesWouldPassThePage) {
  struct Case {
    std::vector<int> lines;
    int perPage;
    int pages;
    std::vector<bool> opens;
  };
  for (const Case& c : std::vector<Case>{
           {{3, 3, 3}, 6, 2, {true, false, true}},
           {{1, 1, 1}, 0, 3, {true, true, true}},  // no room: one chart a page, never zero
           {{9, 1}, 4, 2, {true, true}},           // a chart longer than a page stands alone
           {{2, 2, 2, 2}, 4, 2, {true, false, true, false}},
           {{}, 5, 1, {}}}) {
    std::vector<PrintedChart> charts(c.lines.size());
    for (std::size_t i = 0; i < charts.size(); ++i) charts[i].lines = c.lines[i];
    EXPECT_EQ(PaginateCharts(charts, c.perPage), c.pages);
    for (std::size_t i = 0; i < charts.size(); ++i) EXPECT_EQ(charts[i].newPage, c.opens[i]) << i;
  }
  EXPECT_EQ(CoordinateLineCount(13), 2);
  EXPECT_EQ(CoordinateLineCount(10), 1);
  EXPECT_EQ(CoordinateLineCount(0), 0);
}

class ArchivePrintTest : public ArchiveTest {
 protected:
  ArchivePrintParams params_;
  COORD_CONF layout_;
  ArchivePrintList list_;
};

TEST_F(ArchivePrintTest, SelectedWithNothingMarkedPrintsEveryChart) {
  OpenArchive("p.arc", kLayout4200, {MakeChart("A"), MakeChart("B"), MakeChart("C")});
  params_.selectedOnly = 1;
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  EXPECT_EQ(list_.Charts().size(), 3u);
  Mark({0, 2});
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ASSERT_EQ(list_.Charts().size(), 2u);
  EXPECT_EQ(list_.Charts()[1].entry.name, "C");
  EXPECT_EQ(list_.Charts()[1].record, 2);
  params_.selectedOnly = 0;
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  EXPECT_EQ(list_.Charts().size(), 3u);
}

TEST_F(ArchivePrintTest, CommentsBecomeOneLineOfAtMost150Characters) {
  OpenArchive("c.arc", kLayout4400, {MakeChart("A"), MakeChart("B")});
  std::string text = "ab\r\ncd";
  text.resize(400, 'x');
  archive_.Comments().SetCommentText(text);
  ASSERT_EQ(archive_.Comments().SaveComment(0, 3), 0);
  params_.commentPages = {3, 5};
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  const PrintedChart& a = list_.Charts()[0];
  EXPECT_EQ(a.comments[0], "ab  cd" + std::string(144, 'x'));
  EXPECT_EQ(a.comments[1], "");  // a missing page is an empty text, still a line
  EXPECT_EQ(a.lines, 3);
  EXPECT_EQ(list_.Charts()[1].lines, 3);
}

TEST_F(ArchivePrintTest, ThirteenPointsGiveTwoCoordinateLines) {
  Chart chart = MakeChart("A");
  chart.points[0].longitude.Set(123.5);
  chart.cusps[0].Set(10.25);
  chart.SetDerivationMarker(kMarkerLocalSpace);
  OpenArchive("k.arc", kLayout4200, {chart, MakeChart("B")});
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})
    layout_.slots[static_cast<std::size_t>(k)] = 1;
  layout_.slots[50] = 3;
  params_.coordinates = 1;
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ASSERT_EQ(list_.Points().size(), 13u);
  EXPECT_EQ(list_.Points().back(), 50);
  const PrintedChart& a = list_.Charts()[0];
  EXPECT_EQ(a.lines, 3);
  EXPECT_TRUE(a.localSpace);
  EXPECT_FALSE(list_.Charts()[1].localSpace);
  EXPECT_EQ(a.longitudes[0], 123.5);
  EXPECT_EQ(a.longitudes[12], 10.25);
}

class ArchivePrinterTest : public ArchivePrintTest {
 protected:
  ArchivePrinter Printer(PageMargins margins = {}) {
    return ArchivePrinter(list_, params_, margins, PathOf("p.arc"), archive_.LayoutCode());
  }
  platform::RecordingDc dc_{96.0, true};
};

TEST_F(ArchivePrinterTest, IntervalTwoDoublesBothHeights) {
  OpenArchive("p.arc", kLayout4200, {MakeChart("A")});
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ArchivePrinter single = Printer();
  single.MeasurePrint(dc_);
  single.MeasureScreen(dc_, 30000);
  params_.lineInterval = 2.0;
  ArchivePrinter twice = Printer();
  twice.MeasurePrint(dc_);
  twice.MeasureScreen(dc_, 30000);
  EXPECT_EQ(twice.PrintFontSize(), single.PrintFontSize());
  EXPECT_NEAR(twice.PrintLineHeight(), 2 * single.PrintLineHeight(), 1);
  EXPECT_NEAR(twice.ScreenRowHeight(), 2 * single.ScreenRowHeight(), 1);
  // The interval 0.0 of an old configuration still gives lines of height.
  params_.lineInterval = 0.0;
  ArchivePrinter none = Printer();
  none.MeasurePrint(dc_);
  EXPECT_NEAR(none.PrintLineHeight(), single.PrintLineHeight() / 2, 1);
}

TEST_F(ArchivePrinterTest, LinesPerPageComeFromTheMargins) {
  OpenArchive("p.arc", kLayout4200, {MakeChart("A")});
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ArchivePrinter wide = Printer({1500, 1000, 1000, 1000});
  wide.MeasurePrint(dc_);
  const int h = wide.PrintLineHeight();
  EXPECT_EQ(wide.LinesPerPage(), (29200 - wide.HeaderHeight() - 2000) / h);
  // Five more lines of margin, top and bottom together, take five lines off the page.
  ArchivePrinter narrow = Printer({1500, 1000 + 2 * h, 1000, 1000 + 3 * h});
  narrow.MeasurePrint(dc_);
  EXPECT_EQ(narrow.LinesPerPage(), wide.LinesPerPage() - 5);
}

TEST_F(ArchivePrinterTest, ThreePagesCarryTheirNumbersAndEveryChartOnce) {
  // Large print so that a page holds few lines.
  params_.fontSize = 20000;
  params_.lineInterval = 10.0;
  OpenArchive("p.arc", kLayout4400, {MakeChart("A")});
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ArchivePrinter probe = Printer();
  probe.MeasurePrint(dc_);
  const int perPage = probe.LinesPerPage();
  std::vector<Chart> charts;
  for (int i = 0; i < 2 * perPage + 1; ++i) charts.push_back(MakeChart("N" + std::to_string(i)));
  OpenArchive("p.arc", kLayout4400, charts);
  ASSERT_EQ(list_.Build(archive_, params_, layout_), 0);
  ArchivePrinter printer = Printer();
  printer.MeasurePrint(dc_);
  ASSERT_EQ(printer.PageCount(), 3);
  std::vector<std::string> all;
  for (int page = 1; page <= 3; ++page) {
    platform::RecordingDc dc(96.0, true);
    printer.PrintPage(dc, page);
    const std::vector<std::string> texts = dc.Texts();
    const std::string number = " (" + Cp1251("стр.") + " " + std::to_string(page) + ")";
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
      return t.ends_with(number);
    })) << page;
    for (const std::string& t : texts) {
      if (t.starts_with("N")) all.push_back(t);
      EXPECT_FALSE(t.ends_with("...")) << t;  // the widest name and type keep their width
    }
  }
  ASSERT_EQ(all.size(), charts.size());
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], "N" + std::to_string(i));
}

}  // namespace
}  // namespace archive_test
