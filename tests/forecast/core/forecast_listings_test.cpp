// The listings of the transit, lunar-transit, life-point and prediction-list views drawn on a
// RecordingDc: columns, page counts and the order of lines on printed pages, the page heads, the
// life point's current-position row and its events active now, the comment wrap of the printout,
// and the list box line. Expected positions are worked out by hand from the recording device's
// metrics: an em of size x 96 / 720 units, text characters half an em wide, glyphs one em.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "forecast/core/life_point_listing.h"
#include "forecast/core/lun_tran_listing.h"
#include "forecast/core/pred_list_file.h"
#include "forecast/core/pred_list_print.h"
#include "forecast/core/transits_listing.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"

namespace {

using forecast::ListingPaper;
using platform::RecordedCall;
using platform::RecordingDc;

RecordingDc HiMetricDc() {
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  return dc;
}

Moment At(int day, int month, int year, int hours = 0, int minutes = 0) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(m.time.SetTime(hours, minutes).ok());
  return m;
}

// The text calls whose text is `text`, in order.
std::vector<const RecordedCall*> TextsOf(const RecordingDc& dc, const std::string& text) {
  std::vector<const RecordedCall*> found;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Text && c.text == text) found.push_back(&c);
  return found;
}

// Sign glyphs drawn in face a (the longitudes of the zodiac form).
int SignGlyphs(const RecordingDc& dc) {
  int n = 0;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Text && c.font.face == platform::kGlyphFaceA &&
        c.text.size() == 1 && c.text[0] >= 'A' && c.text[0] < 'A' + 12)
      ++n;
  return n;
}

ListDisplaySettings Display(int screenSize, double screenSpacing, int printSize,
                            double printSpacing, int columns, int order) {
  ListDisplaySettings d;
  d.screenFontSize = screenSize;
  d.screenLineSpacing = screenSpacing;
  d.printFontSize = printSize;
  d.printLineSpacing = printSpacing;
  d.printColumns = columns;
  d.printOrder = order;
  return d;
}

// ---- planet transits -------------------------------------------------------------------------

TransitEventRecord Transit(int code, char event, int day) {
  TransitEventRecord e;
  e.transiting = 4;  // Mars
  e.target = 0;      // the Sun
  e.code = static_cast<std::int16_t>(code);
  e.event = event;
  e.transitingMotion = 'R';
  e.targetMotion = 'D';
  e.moment = At(day, 3, 1999, 14, 7);
  e.transitingLongitude = 100.0;
  e.targetLongitude = 100.0;
  return e;
}

class TransitsListingTest : public ::testing::Test {
 protected:
  forecast::TransitsListing Listing(bool showTime) {
    forecast::TransitHeading heading{
        {4, 5}, {0, 34 + 9}, At(1, 1, 2000), At(31, 12, 2000), showTime};
    // Screen 1200 (an em of 160), spacing 1.5; print 9000 (an em of 1200), spacing 1.
    return forecast::TransitsListing(events_, heading, Display(1200, 1.5, 9000, 1.0, 1, 0), config_,
                                     chart_);
  }
  std::vector<TransitEventRecord> events_;
  Configuration config_;
  Chart chart_;
};

TEST_F(TransitsListingTest, LinePagesAreEqualAndTheLastHoldsTheRest) {
  // (27700 - top - bottom) / line height - 1, at least one line.
  EXPECT_EQ(forecast::TransitsListing::LinesPerPage(1500, 1500, 1200.0), 19);
  EXPECT_EQ(forecast::TransitsListing::LinesPerPage(0, 0, 277.0), 99);
  EXPECT_EQ(forecast::TransitsListing::LinesPerPage(1500, 1500, 30000.0), 1);
  EXPECT_EQ(forecast::TransitsListing::LinesPerPage(1500, 1500, 0.0), 1);
  for (int i = 0; i < 40; ++i) events_.push_back(Transit(2, 'E', 1 + i % 28));
  forecast::TransitsListing listing = Listing(true);
  RecordingDc dc = HiMetricDc();
  const ListingPaper paper = listing.MeasurePrint(dc);
  EXPECT_EQ(paper.layout.Rows(), 18);  // one line less for the names of the columns
  EXPECT_EQ(paper.layout.Columns(), 1);
  EXPECT_EQ(paper.layout.PageCount(40), 3);
  EXPECT_EQ(paper.layout.PageCount(36), 2);  // an exact multiple leaves no blank page
  EXPECT_EQ(paper.left, 1500 + 300);
  // The heading takes the first line, the names of the columns the second.
  EXPECT_EQ(paper.top, 1500 + 2000 + 2 * 1200);
  // Page 3: the heading, the names, then events 36 to 39 from the first line.
  forecast::PrintListingPage(dc, listing, paper, 3);
  // Event 38 falls on day 11, event 39 on day 12.
  EXPECT_EQ(TextsOf(dc, "11:03:1999").front()->points[0], (platform::Point{1800, -8300}));
  EXPECT_EQ(TextsOf(dc, "12:03:1999").front()->points[0], (platform::Point{1800, -9500}));
  EXPECT_EQ(TextsOf(dc, Cp1251("ТРАНЗИТЫ ПЛАНЕТ (стр. 3)")).size(), 1u);
  EXPECT_EQ(TextsOf(dc, Cp1251("Транзит")).front()->points[0], (platform::Point{1800, -3500}));
  EXPECT_EQ(TextsOf(dc, Cp1251("Дата")).front()->points[0], (platform::Point{1800, -4700}));
}

TEST_F(TransitsListingTest, ColumnsFollowTheDateAndTheTimeWhenShown) {
  events_ = {Transit(0, 'E', 5)};
  for (bool showTime : {false, true}) {
    forecast::TransitsListing listing = Listing(showTime);
    RecordingDc dc = HiMetricDc();
    listing.DrawLine(dc, 0, {50, -400}, false);
    // The date is 10 characters of 80; a character's gap; with the time 5 more and 4 gaps.
    const RecordedCall* mars = dc.FindGlyph(glyphs::Point(4), 0);
    ASSERT_TRUE(mars);
    EXPECT_EQ(mars->points[0].x, showTime ? 50 + 800 + 80 + 400 + 320 : 50 + 800 + 80);
    EXPECT_EQ(TextsOf(dc, "14:07").size(), showTime ? 1u : 0u);
    EXPECT_EQ(TextsOf(dc, "R").size(), 1u);  // Mars retrograde, the Sun direct
  }
}

TEST_F(TransitsListingTest, AConjunctionShowsOneLongitudeOnlyWhenExact) {
  const struct {
    const char* name;
    int code;
    char event;
    int longitudes;
  } rows[] = {{"exact_conjunction", 0, 'E', 1},
              {"entering_conjunction", 0, 'I', 2},
              {"exact_square", 2, 'E', 2}};
  for (const auto& row : rows) {
    events_ = {Transit(row.code, row.event, 5)};
    forecast::TransitsListing listing = Listing(true);
    RecordingDc dc = HiMetricDc();
    listing.DrawLine(dc, 0, {50, -400}, false);
    EXPECT_EQ(SignGlyphs(dc), row.longitudes) << row.name;
  }
}

TEST_F(TransitsListingTest, AnglesWithoutAGlyphAreWrittenAndUnknownOnesMarked) {
  const struct {
    int code;
    std::string text;
    bool glyphFace;
  } rows[] = {{-1230,
               "20\xB0"
               "30'",
               true},
              {-1, "?", false},
              {25, "?", false}};
  for (const auto& row : rows) {
    events_ = {Transit(row.code, 'I', 5)};
    forecast::TransitsListing listing = Listing(false);
    RecordingDc dc = HiMetricDc();
    listing.DrawLine(dc, 0, {50, -400}, false);
    const std::vector<const RecordedCall*> found = TextsOf(dc, row.text);
    ASSERT_EQ(found.size(), 1u) << row.code;
    EXPECT_EQ(found[0]->font.IsGlyphFace(), row.glyphFace) << row.code;
  }
}

TEST_F(TransitsListingTest, HeadingAndSelection) {
  events_ = {Transit(2, 'E', 5), Transit(2, 'O', 6)};
  forecast::TransitsListing listing = Listing(false);
  RecordingDc dc = HiMetricDc();
  const forecast::ListingScreen screen = listing.MeasureScreen(dc);
  EXPECT_EQ(screen.left, 50);
  EXPECT_DOUBLE_EQ(screen.pitch, 240.0);  // an em of 160 x 1.5
  listing.DrawHead(dc);
  EXPECT_TRUE(dc.FindGlyph(glyphs::Point(5), 0));  // Jupiter among the transiting bodies
  EXPECT_TRUE(dc.FindGlyph(glyphs::Cusp(9), 0));   // the MC among the targets
  EXPECT_EQ(TextsOf(dc, Cp1251("период: 01:01:2000 н.э. - 31:12:2000 н.э.")).size(), 1u);
  dc.Clear();
  listing.DrawLine(dc, 1, {50, -700}, true);
  ASSERT_EQ(dc.Calls().front().kind, RecordedCall::FillRect);
  EXPECT_EQ(dc.Calls().front().color, ColorByIndex(14));
  EXPECT_EQ(dc.Calls().front().points[0].y, -700);
  EXPECT_EQ(dc.Calls().front().points[1].y, -940);
  // A large-font configuration scales the screen font and, less, the print font.
  config_.largeFont = 1;
  EXPECT_EQ(Listing(false).ScreenFontSize(), 1740);
  EXPECT_EQ(Listing(false).PrintFontSize(), 10179);
}

// ---- lunar transits --------------------------------------------------------------------------

LunarTransitEvent Lunar(int target, int aspect, char phase) {
  LunarTransitEvent e;
  e.target = static_cast<std::int16_t>(target);
  e.aspect = static_cast<std::int16_t>(aspect);
  e.phase = phase;
  e.when = At(2, 2, 2002, 3, 4);
  return e;
}

AspectSystem Square() {
  AspectSystem system("TEST", "TEST.asp");
  std::vector<Aspect> aspects(2);
  aspects[0].angle = 0.0;
  aspects[1].angle = 90.0;
  for (Aspect& a : aspects) a.orbs = {2, 2, 2, 2, 2, 0.5};
  system.SetAspects(aspects);
  return system;
}

TEST(LunTranListing, AnEventLineAndAnIngress) {
  Configuration config;
  Chart chart;
  const AspectSystem system = Square();
  const std::vector<LunarTransitEvent> events = {Lunar(1003, 1, 'E'), Lunar(1105, -1, 'E')};
  // Screen 1200: an em of 160, "W" 80 wide.
  forecast::LunTranListing listing(events, Display(1200, 1.25, 900, 1.0, 3, 0), &system, false,
                                   config, chart);
  RecordingDc dc = HiMetricDc();
  EXPECT_DOUBLE_EQ(listing.MeasureScreen(dc).pitch, 200.0);
  EXPECT_EQ(listing.FrameWidth(dc), 18 * 80);
  EXPECT_EQ(listing.ListHeight(dc), 5 * 200);  // the headings, two events and two pitches
  listing.DrawLine(dc, 0, {100, -150}, false);
  EXPECT_EQ(TextsOf(dc, "02:02:2002  03:04").front()->font.pointSize, 1080);
  // The moment, 17 characters of 72 at 1080, is wider than 8.5 "W" (680): the aspect stands half
  // a "W" after it, the target and the phase 1.5 "W" apart.
  EXPECT_EQ(dc.FindGlyph(glyphs::Aspect(2), 1)->points[0].x, 100 + 1224 + 40);
  EXPECT_EQ(dc.FindGlyph(glyphs::Cusp(3), 0)->points[0].x, 100 + 1264 + 120);
  EXPECT_EQ(dc.FindGlyph(glyphs::kPhaseExact, 1)->points[0].x, 100 + 1264 + 240);
  dc.Clear();
  listing.DrawLine(dc, 1, {100, -350}, false);
  EXPECT_EQ(dc.FindGlyph(glyphs::Sign(5), 0)->points[0].x, 100 + 1264 + 120);
  EXPECT_FALSE(dc.FindGlyph(glyphs::kPhaseExact, 1));
  EXPECT_EQ(dc.Texts().size(), 2u);  // the moment and the sign: no aspect, no phase
}

TEST(LunTranListing, PrintedColumnsInBothOrdersUnderARaisedFrame) {
  Configuration config;
  Chart chart;
  const std::vector<LunarTransitEvent> events(45, Lunar(0, 0, 'E'));
  for (int order : {0, 1}) {
    // Print 9000: "W" 600 wide, 1200 high; a column of 13 "W" = 7800 in 17800 usable: 2 columns
    // (of 3 allowed); lines under the column headings (29700 - 1500 - 1500 - 2000 - 1200) / 1200
    // = 19.
    forecast::LunTranListing listing(events, Display(1200, 1.0, 9000, 1.0, 3, order), nullptr, true,
                                     config, chart);
    RecordingDc dc = HiMetricDc();
    const ListingPaper paper = listing.MeasurePrint(dc);
    EXPECT_EQ(paper.layout.Rows(), 19);
    EXPECT_EQ(paper.layout.Columns(), 2);
    EXPECT_EQ(paper.layout.PageCount(45), 2);
    EXPECT_EQ(paper.layout.PageCount(0), 0);
    EXPECT_EQ(paper.left, 700 + 1500);
    EXPECT_DOUBLE_EQ(paper.columnStep, 8900.0);
    // Event 1: down the first column (order 1) or across to the second (order 0).
    const lists::ColumnCell second = paper.layout.CellOf(1);
    EXPECT_EQ(second.column, order == 1 ? 0 : 1);
    EXPECT_EQ(second.row, order == 1 ? 1 : 0);
    // Page 2 holds 7 events: 7 rows used down a column, 4 across two columns; the frame ends two
    // lines below them and the headings' line.
    forecast::PrintListingPage(dc, listing, paper, 2);
    const int rowsUsed = order == 1 ? 7 : 4;
    const RecordedCall& frame = dc.Calls().front();
    ASSERT_EQ(frame.kind, RecordedCall::RoundRect);
    EXPECT_EQ(frame.points[1].y, -((rowsUsed + 3) * 1200 + 2000 + 1500));
    EXPECT_EQ(TextsOf(dc, Cp1251("ТРАНЗИТЫ ЛУНЫ (стр. 2)")).size(), 1u);
    // The natal target's line 0.8 of the title's height (534) under the title.
    const std::vector<const RecordedCall*> natal = TextsOf(dc, Cp1251("к натальной карте"));
    ASSERT_EQ(natal.size(), 1u);
    EXPECT_EQ(natal[0]->points[0], (platform::Point{10750, -(600 + 1500 + 427)}));
  }
  EXPECT_EQ(forecast::LunTranListing::FrameRaise(5, 200, 3500, 1500), 28200 - 4900);
  EXPECT_EQ(forecast::LunTranListing::FrameRaise(130, 200, 3500, 1500), 0);
}

// ---- the life point ---------------------------------------------------------------------------

LifePointEvent LifeEvent(int target, int aspect, char phase, double reach, const Moment& when) {
  LifePointEvent e;
  e.target = static_cast<std::int16_t>(target);
  e.aspect = static_cast<std::int16_t>(aspect);
  e.orbGroup = 1;
  e.phase = phase;
  e.reachLongitude = reach;
  e.when = when;
  e.julianDay = when.JulianDay();
  e.age = 12.3456;
  return e;
}

class LifePointListingTest : public ::testing::Test {
 protected:
  LifePointListingTest() {
    type_.name = "houses";
    type_.years = 7;
    chart_.definition.SetKind(kChartTransit);
    chart_.definition.sources[1].moment = At(1, 1, 2000);
    config_.print.marginLeft = 1500;
  }
  forecast::LifePointListing Listing(double current) {
    // Screen 1500: an em of 200, "W" 100 wide; interval 1.2 gives rows of 240.
    return forecast::LifePointListing(events_, type_, current, birth_,
                                      Display(1500, 1.2, printSize_, 1.0, 3, 1), &system_, config_,
                                      chart_);
  }
  std::vector<LifePointEvent> events_;
  LifePoint type_;
  Moment birth_ = At(1, 1, 1980);
  AspectSystem system_ = Square();
  Configuration config_;
  Chart chart_;
  int printSize_ = 1500;
};

TEST_F(LifePointListingTest, AnExactEventIsActiveNowWithinItsOrbAndYears) {
  const struct {
    const char* name;
    char phase;
    double reach, current;
    Moment when;
    int kind;
    bool active;
  } rows[] = {
      {"inside_orb", 'E', 100.0, 101.5, At(1, 1, 2010), kChartTransit, true},
      {"outside_orb", 'E', 100.0, 102.5, At(1, 1, 2010), kChartTransit, false},
      {"through_zero", 'E', 0.5, 359.0, At(1, 1, 1990), kChartProgressed, true},
      {"entering", 'I', 100.0, 100.0, At(1, 1, 2010), kChartTransit, false},
      {"past_42_years", 'E', 100.0, 100.0, At(2, 1, 2042), kChartTransit, false},
      {"within_42_years", 'E', 100.0, 100.0, At(1, 1, 1959), kChartReturn, true},
      {"natal_chart", 'E', 100.0, 100.0, At(1, 1, 2010), kChartNatal, false},
  };
  for (const auto& row : rows) {
    chart_.definition.SetKind(static_cast<std::uint16_t>(row.kind));
    chart_.definition.sources[1].moment = At(1, 1, 2000);
    const forecast::LifePointListing listing = Listing(row.current);
    EXPECT_EQ(listing.IsActiveNow(LifeEvent(3, 0, row.phase, row.reach, row.when)), row.active)
        << row.name;
  }
}

TEST_F(LifePointListingTest, RowsWithTheCurrentPositionAndTheActiveColour) {
  events_ = {LifeEvent(3, 1, 'E', 100.0, At(1, 1, 2001)),
             LifeEvent(1104, 0, 'E', 120.0, At(1, 1, 2001))};
  forecast::LifePointListing listing = Listing(100.5);
  RecordingDc dc = HiMetricDc();
  const forecast::ListingScreen screen = listing.MeasureScreen(dc);
  // The current position takes the first row, the names of the columns the second.
  EXPECT_EQ(screen.top, 200 + 240 + 240);
  EXPECT_DOUBLE_EQ(screen.pitch, 240.0);
  listing.DrawHead(dc);
  const std::vector<const RecordedCall*> date = TextsOf(dc, "01:01:2000");
  ASSERT_EQ(date.size(), 1u);
  EXPECT_EQ(date[0]->points[0], (platform::Point{100, -200}));
  EXPECT_EQ(date[0]->color, ColorByIndex(4));
  EXPECT_EQ(TextsOf(dc, "20.0").front()->points[0].x, 100 + 700);  // the age now
  EXPECT_EQ(dc.FindGlyph(glyphs::Sign(3), 0)->points[0].x >= 100 + 1200, true);
  // The names over the columns: the date, the age at 7 units, the aspect 5 more.
  EXPECT_EQ(TextsOf(dc, Cp1251("Дата")).front()->points[0], (platform::Point{100, -440}));
  EXPECT_EQ(TextsOf(dc, Cp1251("Возр.")).front()->points[0], (platform::Point{800, -440}));
  EXPECT_EQ(TextsOf(dc, Cp1251("Аспект")).front()->points[0], (platform::Point{1300, -440}));
  dc.Clear();
  listing.DrawLine(dc, 0, {100, -440}, false);
  // date, age at 7 units, aspect at 5 more, target 1.5 more, phase 2 more (units of 100).
  EXPECT_EQ(TextsOf(dc, "01:01:2001").front()->color, ColorByIndex(31));
  EXPECT_EQ(TextsOf(dc, "12.3").front()->points[0].x, 800);
  EXPECT_EQ(dc.FindGlyph(glyphs::Aspect(2), 1)->points[0].x, 1300);
  EXPECT_EQ(dc.FindGlyph(glyphs::Point(3), 0)->points[0].x, 1450);
  EXPECT_EQ(dc.FindGlyph(glyphs::kPhaseExact, 1)->points[0].x, 1650);
  dc.Clear();
  listing.DrawLine(dc, 1, {100, -680}, false);  // the ingress into Leo: the sign alone
  EXPECT_EQ(dc.FindGlyph(glyphs::Sign(4), 0)->points[0].x, 1450);
  EXPECT_EQ(dc.Texts().size(), 3u);
  // A natal chart has no current-position row.
  chart_.definition.SetKind(kChartNatal);
  forecast::LifePointListing natal = Listing(kAbsent);
  EXPECT_EQ(natal.MeasureScreen(dc).top, 200 + 240);
  dc.Clear();
  natal.DrawHead(dc);
  EXPECT_EQ(dc.Texts().size(), 3u);  // the names alone
  EXPECT_EQ(TextsOf(dc, Cp1251("Дата")).front()->points[0], (platform::Point{100, -200}));
}

TEST_F(LifePointListingTest, PrintedColumnsFitAndFillDownFirst) {
  for (int i = 0; i < 400; ++i) events_.push_back(LifeEvent(i % 10, 0, 'I', 100.0, At(1, 1, 2001)));
  forecast::LifePointListing listing = Listing(100.0);
  RecordingDc dc = HiMetricDc();
  // Printable 21000 - 2000 - 1000 = 18000; columns of 18 "W" = 1800: 10 fit, 3 allowed. Rows of
  // 200 from 1500 + 1500 + 200 (the current position) + 200 (the names of the columns):
  // (29700 - 3400 - 1500) / 200 = 124.
  ListingPaper paper = listing.MeasurePrint(dc);
  EXPECT_EQ(paper.layout.Columns(), 3);
  EXPECT_EQ(paper.layout.Rows(), 124);
  EXPECT_EQ(paper.top, 3400);
  EXPECT_EQ(paper.layout.PageCount(400), 2);
  EXPECT_EQ(paper.layout.CellOf(124).column, 1);  // down the first column first
  forecast::PrintListingPage(dc, listing, paper, 1);
  const std::vector<const RecordedCall*> now = TextsOf(dc, Cp1251("Текущее положение:     "));
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0]->points[0], (platform::Point{2000, -3000}));
  // Each column of events under the names of its columns.
  std::vector<platform::Point> names;
  for (const RecordedCall* name : TextsOf(dc, Cp1251("Дата"))) names.push_back(name->points[0]);
  EXPECT_EQ(names, (std::vector<platform::Point>{{2000, -3200}, {3800, -3200}, {5600, -3200}}));
  EXPECT_EQ(TextsOf(dc, "houses").size(), 1u);
  // On paper the age stands 6 units after the date (the screen's 7).
  EXPECT_EQ(TextsOf(dc, "12.3").front()->points[0].x, 2000 + 600);
  // A font too wide for one column is fitted: "W" at most 18000 / 20 = 900 wide (size / 15).
  printSize_ = 20000;
  forecast::LifePointListing wide = Listing(100.0);
  paper = wide.MeasurePrint(dc);
  EXPECT_EQ(wide.PrintFontSize(), 13400);
  EXPECT_EQ(paper.layout.Columns(), 1);
  // With the "Windows 2000" option the columns are 1.3 units and the frame 27 "W"; a printed
  // column is 18 such units, so every phase mark (an em of 200 wide) ends before the dates of the
  // next column begin.
  config_.windows2000 = 1;
  EXPECT_EQ(Listing(100.0).ColumnUnit(100), 130);
  EXPECT_EQ(Listing(100.0).FrameWidth(dc), 2700);
  printSize_ = 1500;
  forecast::LifePointListing wider = Listing(100.0);
  paper = wider.MeasurePrint(dc);
  dc.Clear();
  wider.DrawPrintedLine(dc, 0, {0, 0});
  const RecordedCall* mark = dc.FindGlyph(glyphs::kPhaseApplying, 1);
  ASSERT_NE(mark, nullptr);
  EXPECT_LT(mark->points[0].x + 200, paper.columnStep);
}

// ---- the prediction list ----------------------------------------------------------------------

TEST(PredCommentWrap, EightyCharactersALine) {
  const std::string a80(80, 'a'), b5(5, 'b');
  const struct {
    const char* name;
    std::string comment;
    std::vector<std::string> lines;
  } rows[] = {
      {"empty", "", {}},
      {"eighty_without_blanks", a80, {a80}},
      {"eighty_one", a80 + "b", {a80, "b"}},
      {"blank_at_85_only", a80 + "bbbb cc", {a80, "bbbb cc"}},
      {"blank_after_eighty", a80 + " tail", {a80, "tail"}},
      {"words",
       std::string(50, 'x') + " " + std::string(40, 'y') + " z",
       {std::string(50, 'x'), std::string(40, 'y') + " z"}},
      {"short", "one two", {"one two"}},
  };
  for (const auto& row : rows) EXPECT_EQ(forecast::WrapComment(row.comment), row.lines) << row.name;
}

PredListRecord Record(std::string comment, char status = 'P') {
  PredListRecord r;
  r.when = At(5, 6, 2007, 8, 9);
  r.moving = 4;
  r.target = 0;
  r.aspect = 2;
  r.movingLongitude = 10.0;
  r.targetLongitude = 100.0;
  r.movingChart = TransitDefinition(0);
  r.comment = std::move(comment);
  r.status = status;
  return r;
}

TEST(PredListPrintout, RecordsWithTheirCommentsOnPages) {
  Configuration config;
  std::vector<PredListRecord> records = {Record(""), Record(std::string(90, 'c')),
                                         Record("marked", 'S')};
  const std::vector<forecast::PredPrintLine> expected = {
      {forecast::PredPrintLine::Kind::kRecord, 0, ""},
      {forecast::PredPrintLine::Kind::kRecord, 1, ""},
      {forecast::PredPrintLine::Kind::kComment, 1, std::string(80, 'c')},
      {forecast::PredPrintLine::Kind::kComment, 1, std::string(10, 'c')},
      {forecast::PredPrintLine::Kind::kRecord, 2, ""},
      {forecast::PredPrintLine::Kind::kComment, 2, "marked"}};
  EXPECT_EQ(forecast::BuildPrintLines(records), expected);
  // Font 2500: "W" 333 high; interval 120: rows of 399. The head: the title (534 high) 600
  // under the top margin, clear of the ornament (ending 2550 under the paper's top); the list's
  // name 150 under the title (400 high) and the names of the columns 150 under that: the rows
  // from 3334 + 399 = 3733, (29700 - 1500 - 3733) / 399 = 61 of them a page.
  forecast::PredListPrintout printout(records, "MYLIST", 2500, 120, config);
  RecordingDc dc = HiMetricDc();
  EXPECT_EQ(printout.PreparePrinting(dc), 1);
  EXPECT_EQ(printout.RowsPerPage(), 61);
  printout.DrawPage(dc, 1);
  EXPECT_EQ(TextsOf(dc, Cp1251("Название: MYLIST")).front()->points[0],
            (platform::Point{1600, -2784}));
  EXPECT_EQ(TextsOf(dc, Cp1251("СПИСОК АСПЕКТОВ")).size(), 1u);
  EXPECT_EQ(TextsOf(dc, Cp1251("Дата и время")).front()->points[0], (platform::Point{1600, -3334}));
  // Rows from 3733 down by 399: an ordinary date at 1600, a marked one 10 mm further in, the
  // comment lines at 2600.
  const std::vector<const RecordedCall*> dates = TextsOf(dc, "05:06:2007+  08:09");
  ASSERT_EQ(dates.size(), 3u);
  EXPECT_EQ(dates[0]->points[0], (platform::Point{1600, -3733}));
  EXPECT_EQ(dates[2]->points[0], (platform::Point{2600, -(3733 + 4 * 399)}));
  EXPECT_EQ(TextsOf(dc, std::string(10, 'c')).front()->points[0],
            (platform::Point{2600, -(3733 + 3 * 399)}));
  // The moving object 400 after the date sample (20 characters of 166.7) from the date.
  const RecordedCall* mars = dc.FindGlyph(glyphs::Point(4), 0);
  EXPECT_EQ(mars->points[0].x, 1600 + 3333 + 400);
  // 122 lines (a row and a comment line each) fill two pages exactly; 124 take a third.
  records.assign(61, Record(std::string(80, 'x')));
  EXPECT_EQ(printout.PreparePrinting(dc), 2);
  records.assign(62, Record(std::string(80, 'x')));
  EXPECT_EQ(printout.PreparePrinting(dc), 3);
  // Printed for a person: the person's block heads every page, at the upper left.
  Chart person;
  person.definition.sources[0].SetName(Cp1251("Иванов"));
  forecast::PredListPrintout named(records, "MYLIST", 2500, 120, config, &person);
  RecordingDc page = HiMetricDc();
  ASSERT_EQ(named.PreparePrinting(page), 3);
  named.DrawPage(page, 2);
  const std::vector<std::string> texts = page.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.rfind(Cp1251("Иванов"), 0) == 0; }));
  records.clear();
  EXPECT_EQ(printout.PreparePrinting(dc), 0);
}

TEST(PredListPrintout, ScreenRowsAndTheListBoxLine) {
  Configuration config;
  std::vector<PredListRecord> records = {Record("", 'S')};
  records[0].moving = kPredLifePoint;
  records[0].orbKind = 'E';
  forecast::PredListPrintout printout(records, "L", 2500, 100, config);
  RecordingDc dc = HiMetricDc();
  EXPECT_EQ(printout.ScreenRowHeight(dc), 333);
  printout.DrawScreenRow(dc, 0, -100);
  // On the screen the date stays at 200 and the columns after it move in by 1000.
  EXPECT_EQ(TextsOf(dc, "05:06:2007+  08:09").front()->points[0].x, 200);
  EXPECT_EQ(TextsOf(dc, "LP").front()->points[0].x, 3333 + 1000 + 400);
  EXPECT_TRUE(TextsOf(dc, Cp1251("тр")).empty());  // no moving chart's label for the life point
  EXPECT_EQ(TextsOf(dc, Cp1251("нат")).size(), 1u);
  EXPECT_EQ(TextsOf(dc, "90.00").size(), 1u);
  EXPECT_EQ(TextsOf(dc, "+").size(), 1u);

  // The list box, pixels: a font of 90 (an em of 12), the moment sample 19 x 6 = 114 wide, so
  // the columns stretch by 114 / 90.
  RecordingDc box;
  box.SelectFont(platform::Font{std::string(platform::kTextFace), 90});
  const PredListRecord plain = Record("");
  forecast::DrawPredListItem(box, {0, 40, 400, 56}, plain, true, platform::kWhite);
  EXPECT_EQ(box.Calls().front().color, ColorByIndex(1));
  EXPECT_EQ(TextsOf(box, "05:06:2007+  08:09").front()->color, ColorByIndex(14));
  EXPECT_EQ(TextsOf(box, Cp1251("тр")).front()->points[0], (platform::Point{130, 40}));
  box.Clear();
  forecast::DrawPredListItem(box, {0, 40, 400, 56}, records[0], false, platform::kWhite);
  EXPECT_EQ(box.Calls().front().color, platform::kWhite);
  EXPECT_EQ(TextsOf(box, "LP").front()->points[0].x, static_cast<int>(110 * 114 / 90.0));
  EXPECT_EQ(TextsOf(box, "LP").front()->color, ColorByIndex(7));
  // An aspect outside its system is a question mark, never the glyph of '0' - 1.
  EXPECT_EQ(TextsOf(box, "?").size(), 0u);
  box.Clear();
  records[0].aspect = kPredUnknownAspect;
  forecast::DrawPredListItem(box, {0, 40, 400, 56}, records[0], false, platform::kWhite);
  EXPECT_EQ(TextsOf(box, "?").size(), 1u);
  EXPECT_FALSE(box.FindGlyph('0' - 1, 1));
  // The column names over the box stand at the columns of its lines, stretched alike.
  box.Clear();
  forecast::DrawPredListHead(box, {0, 20, 400, 38}, platform::kWhite);
  const std::pair<int, int> heads[] = {{kMsgLunarMomentColumn, 0},
                                       {kMsgMovingColumn, 90},
                                       {kMsgTargetColumn, 170},
                                       {kMsgLunarAspectColumn, 250},
                                       {kMsgArcColumn, 305}};
  for (const auto& [name, column] : heads) {
    const auto texts = TextsOf(box, GetMessageText(name));
    ASSERT_EQ(texts.size(), 1u) << name;
    EXPECT_EQ(texts.front()->points[0],
              (platform::Point{static_cast<int>(column * 114 / 90.0), 20}));
  }
}

}  // namespace
