// The coordinate tables: antiscia, the table's measures and its fit to a height, where rows and
// candidates are drawn on the screen and on paper, the wide form, and the detail tables; and the
// settings page's row editor. The recording device context makes a glyph-face character one em
// wide and high; a font of 720 tenths of a point has an em of 96 units.
#include "views/core/coord_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "views/core/coord_conf_page.h"

namespace {

using platform::RecordingDc;

// A recording device context in hundredths of a millimetre.
RecordingDc HiMetricDc(double dpi = 96.0, bool printing = false) {
  RecordingDc dc(dpi, printing);
  dc.SetMapMode(platform::MapMode::HiMetric);
  return dc;
}

TEST(CoordAntiscia, MirrorsInTheSolsticeAndEquinoxAxes) {
  struct Case {
    double longitude, antiscion, contra;
  };
  const Case cases[] = {
      {0.0, 180.0, 0.0},   {10.0, 170.0, 350.0},  {90.0, 90.0, 270.0},
      {180.0, 0.0, 180.0}, {190.0, 350.0, 170.0}, {270.0, 270.0, 90.0},
      {359.5, 180.5, 0.5}, {370.0, 170.0, 350.0}, {-10.0, 190.0, 10.0},  // 350
  };
  for (const Case& k : cases) {
    EXPECT_NEAR(coords::Antiscion(k.longitude), k.antiscion, 1e-9) << k.longitude;
    EXPECT_NEAR(coords::ContraAntiscion(k.longitude), k.contra, 1e-9) << k.longitude;
  }
  EXPECT_EQ(coords::Antiscion(kAbsent), kAbsent);
  EXPECT_EQ(coords::ContraAntiscion(kAbsent), kAbsent);
}

// Rows 0..4 in a font of 720 and a line step of 33: a row step of 33 + 0.7 x 96 = 100.
COORD_CONF Layout(int rows = 5, int fontSize = 720, int lineStep = 33) {
  COORD_CONF c;
  for (int r = 0; r < rows; ++r) c.slots[r] = static_cast<std::uint8_t>(r);
  c.fontSize = fontSize;
  c.lineStep = lineStep;
  return c;
}

TEST(CoordMeasure, RowStepHeightAndWidthUnit) {
  struct Case {
    int rows;
    bool sixteen;
    double scale;
    int rowStep, height, widthUnit, column;
  };
  const Case cases[] = {
      {5, false, 1.0, 100, 500, 960, 105},
      {5, true, 1.0, 100, 1600, 960, 105},
      {0, false, 1.0, 100, 0, 960, 105},
      // Font 360 (em 48), step 16 + 33.
      {5, false, 0.5, 49, 245, 240, 52},
  };
  for (const Case& k : cases) {
    RecordingDc dc = HiMetricDc();
    const coords::TableMeasure m = coords::MeasureTable(Layout(k.rows), dc, k.sixteen, k.scale);
    EXPECT_EQ((std::array{m.rowStep, m.height, m.widthUnit, m.columnWidth}),
              (std::array{k.rowStep, k.height, k.widthUnit, k.column}))
        << k.rows << ' ' << k.scale;
  }
}

TEST(CoordMeasure, FitScaleFollowsTheHeight) {
  // 2540 dpi: one logical unit per pixel.
  struct Case {
    int rows, fitHeight;
    double scale;
  };
  const Case cases[] = {
      {5, 0, 1.0},     // a constant font
      {5, 510, 1.0},   // 500 lies within 0.97 x 510 .. 510
      {5, 1000, 2.0},  // grows: font 1440, row step 66 + 134
      {0, 1000, 1.0},  // no rows: nothing to fit, no division by a zero height
      {5, 400, 0.8},   // shrinks: font 576, row step 26 + 53 = 79: 395
  };
  for (const Case& k : cases) {
    RecordingDc dc = HiMetricDc(2540);
    EXPECT_DOUBLE_EQ(coords::FitScale(Layout(k.rows), dc, false, k.fitHeight), k.scale)
        << k.rows << ' ' << k.fitHeight;
  }
}

// Layout() with every other candidate left out of the screen: no blocks beside the rows.
COORD_CONF RowsOnly(int rows, int fontSize = 720) {
  COORD_CONF c = Layout(rows, fontSize);
  for (auto& v : c.slots)
    if (v == COORD_CONF::kNotInTable) v = COORD_CONF::kNeverShown;
  return c;
}

TEST(CoordMeasure, TheScreenTableSizeCountsTheBlocksBesideTheRows) {
  // At 1.0: columns of 105, rows of 100, characters of 96. The last block reaches as far as its
  // widest value: the longitude (5 characters, a Local Space azimuth 7: "359°59'") 2 columns in,
  // the contra-antiscion 9 columns in; a latitude or speed ("-89°59'") 1 character in.
  COORD_CONF noRows = RowsOnly(0);
  noRows.slots[3] = COORD_CONF::kNotInTable;
  struct Case {
    const char* name;
    COORD_CONF layout;
    coords::TableKind kind;
    platform::Size size;
  };
  const Case cases[] = {
      {"rows only", RowsOnly(5), {0, false}, {2 * 105 + 7 * 96, 500}},
      // 29 points and 12 cusps beside 5 rows: 9 more blocks 9 columns apart.
      {"candidates", Layout(5), {0, false}, {9 * 9 * 105 + 2 * 105 + 7 * 96, 500}},
      // The wide table's column headings take a row above the rows.
      {"antiscia", Layout(5), {0, true}, {9 * 16 * 105 + 9 * 105 + 5 * 96, 600}},
      {"no rows, one candidate", noRows, {0, false}, {9 * 105 + 2 * 105 + 7 * 96, 100}},
      // 30 bodies in blocks of 16 rows, 10 characters apart for speeds.
      {"speeds", Layout(5), {coords::kSpeeds, false}, {10 * 96 + 96 + 7 * 96, 1600}},
      {"latitudes", Layout(5), {coords::kLatitudes, false}, {96 + 7 * 96, 1600}},
  };
  for (const Case& k : cases) {
    RecordingDc dc = HiMetricDc(2540);
    const platform::Size size = coords::ScreenTableSize(k.layout, dc, k.kind, 1.0);
    EXPECT_EQ(size.cx, k.size.cx) << k.name;
    EXPECT_EQ(size.cy, k.size.cy) << k.name;
  }
}

TEST(CoordMeasure, TheWindowFitKeepsTheWholeTableInsideInBothDirections) {
  // 2540 dpi: one logical unit per pixel. Five rows of 882 x 500 at 1.0, glyphs of 96 pixels.
  struct Case {
    const char* name;
    int width, height;
    double scale;  // 0: not known beforehand, only that it grows
  };
  const Case cases[] = {
      // The height alone would double the table (FitScale 2.0), the width keeps it.
      {"limited by the width", 882, 1000, 1.0},
      // The width alone would grow it; 500 lies within 0.97 x 500 .. 500.
      {"limited by the height", 1900, 500, 1.0},
      {"grows", 3000, 3000, 0},
      // Glyphs of 96 pixels come down to 10 pixels, not below: the window scrolls.
      {"smallest glyphs", 50, 50, 10.0 / 96.0},
      {"minimised", 0, 0, 1.0},
  };
  const COORD_CONF layout = RowsOnly(5);
  for (const Case& k : cases) {
    RecordingDc dc = HiMetricDc(2540);
    const double scale = coords::WindowFitScale(layout, dc, {0, false}, k.width, k.height);
    if (k.scale > 0) {
      EXPECT_DOUBLE_EQ(scale, k.scale) << k.name;
      continue;
    }
    EXPECT_GT(scale, 1.0) << k.name;
    const platform::Size fitted = coords::ScreenTableSize(layout, dc, {0, false}, scale);
    EXPECT_LE(fitted.cx, k.width) << k.name;
    EXPECT_LE(fitted.cy, k.height) << k.name;
    // 5 % larger it would pass the width.
    EXPECT_GT(coords::ScreenTableSize(layout, dc, {0, false}, scale / 0.95).cx, k.width) << k.name;
  }
  RecordingDc dc = HiMetricDc(2540);
  EXPECT_DOUBLE_EQ(coords::FitScale(layout, dc, false, 1000), 2.0);
  // A layout whose glyphs are smaller than the smallest fitted ones keeps its own size.
  EXPECT_DOUBLE_EQ(coords::WindowFitScale(RowsOnly(5, 72), dc, {0, false}, 5, 5), 1.0);
}

// A device whose text does not shrink with the font: a table that never fits.
class StubbornDc final : public platform::Dc {
 public:
  double DpiX() const override { return 2540; }
  double DpiY() const override { return 2540; }
  bool IsPrinting() const override { return false; }
  void SetClipRect(const platform::Rect&) override {}
  void ResetClip() override {}
  void Line(platform::Point, platform::Point) override {}
  void Polyline(const std::vector<platform::Point>&) override {}
  void Polygon(const std::vector<platform::Point>&) override {}
  void Rectangle(const platform::Rect&) override {}
  void RoundRect(const platform::Rect&, int, int) override {}
  void Ellipse(const platform::Rect&) override {}
  void Arc(const platform::Rect&, platform::Point, platform::Point) override {}
  void FillRect(const platform::Rect&, platform::Color) override {}
  void FillPath(const platform::Path&, platform::Color) override {}
  void TextOut(int, int, std::string_view) override {}
  platform::Size GetTextExtent(std::string_view) override { return {100, 100}; }
  platform::TextMetrics GetTextMetrics() override { return {100, 80, 20, 100}; }
};

TEST(CoordMeasure, AFitThatNeverReachesTheHeightStopsAfterTwentyReductions) {
  StubbornDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  // Rows of 70 whatever the scale (no line step): 350 against 200.
  const double scale = coords::FitScale(Layout(5, 720, 0), dc, false, 200);
  EXPECT_NEAR(scale, 200.0 / 350.0 * std::pow(0.95, 20), 1e-12);
}

// A chart with every point at 10.5 + 10 x i degrees and cusp h at 30 h + 5.
Chart SampleChart() {
  Chart chart;
  for (int i = 0; i < 34; ++i) {
    chart.points[static_cast<std::size_t>(i)].longitude.Set(10.5 + 10.0 * i);
    chart.points[static_cast<std::size_t>(i)].latitude = 0.1 * i;
    chart.points[static_cast<std::size_t>(i)].speed = 1.0;
  }
  for (int h = 0; h < 12; ++h) chart.cusps[static_cast<std::size_t>(h)].Set(30.0 * h + 5.0);
  return chart;
}

// Sun, cusp 1, Mars as rows 0..2; Moon, Mercury, Venus candidates; every other slot never shown.
Configuration ThreeRowConfig() {
  Configuration config;
  for (COORD_CONF* c : {&config.screenCoords, &config.printCoords}) {
    c->slots.fill(COORD_CONF::kNeverShown);
    c->slots[0] = 0;
    c->slots[50] = 1;
    c->slots[4] = 2;
    for (int s : {1, 2, 3}) c->slots[static_cast<std::size_t>(s)] = COORD_CONF::kNotInTable;
    c->fontSize = 720;
    c->lineStep = 33;
  }
  return config;
}

platform::Point GlyphAt(const RecordingDc& dc, char glyph) {
  const platform::RecordedCall* call = dc.FindGlyph(glyph, 0);
  return call != nullptr ? call->points.at(0) : platform::Point{-1, -1};
}

TEST(CoordTable, RowsAndCandidatesOnScreenAndOnPaper) {
  // Columns of 105: blocks of 9 columns, wide 16 on the screen and 18 on paper.
  struct Case {
    const char* name;
    bool printing, wide;
    int block;  // 0: candidates are left out
  };
  const Case cases[] = {
      {"screen", false, false, 945},
      {"screen wide", false, true, 1680},
      {"paper", true, false, 0},
      {"paper wide", true, true, 1890},
  };
  const Configuration config = ThreeRowConfig();
  const Chart chart = SampleChart();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RecordingDc dc = HiMetricDc(96, k.printing);
    // The wide table's column headings take the first row.
    const int top = k.wide ? -600 : -500;
    EXPECT_EQ(coords::DrawCoordTable(dc, chart, config, 1000, -500, 0, k.wide), -200 - top);
    // Rows 100 apart; the candidates Moon, Mercury, Venus beside them, one block to the right.
    const char rows[] = {glyphs::Point(0), glyphs::Cusp(0), glyphs::Point(4)};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(GlyphAt(dc, rows[i]), (platform::Point{1000, top - 100 * i}));
      const platform::Point candidate{1000 + k.block, top - 100 * i};
      if (k.block != 0) {
        EXPECT_EQ(GlyphAt(dc, glyphs::Point(i + 1)), candidate);
      }
    }
    EXPECT_TRUE(k.block != 0 || dc.FindGlyph(glyphs::Point(1), 0) == nullptr);
  }
}

TEST(CoordTable, CandidatesBeyondABlockStartTheNextAndATableWithoutRowsDrawsThem) {
  Configuration config = ThreeRowConfig();
  config.screenCoords.slots[5] = COORD_CONF::kNotInTable;  // Jupiter, the fourth candidate
  const Chart chart = SampleChart();
  RecordingDc dc = HiMetricDc();
  coords::DrawCoordTable(dc, chart, config, 0, 0, 0, false);
  EXPECT_EQ(GlyphAt(dc, glyphs::Point(5)), (platform::Point{2 * 945, 0}));

  // No rows: the candidates stand in blocks one row tall.
  for (int s : {0, 4, 50}) config.screenCoords.slots[static_cast<std::size_t>(s)] = 254;
  RecordingDc empty = HiMetricDc();
  EXPECT_EQ(coords::DrawCoordTable(empty, chart, config, 0, 0, 200, false), 100);
  EXPECT_EQ(GlyphAt(empty, glyphs::Point(0)), (platform::Point{945, 0}));
  EXPECT_EQ(GlyphAt(empty, glyphs::Point(1)), (platform::Point{2 * 945, 0}));
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& t : texts) all += t + '|';
  return all;
}

std::string PiecesOf(double value, int layout) {
  std::string all;
  for (const LongitudePiece& p : LongitudePieces(value, layout)) all += p.text + '|';
  return all;
}

TEST(CoordTable, ARowShowsTheLongitudeTheRetrogradeMarkOrTheAntiscia) {
  Chart chart = SampleChart();  // Sun at 10 Aries 30
  chart.points[0].status = 'R';
  RecordingDc measureDc = HiMetricDc();
  const coords::TableMeasure m = coords::MeasureTable(Layout(), measureDc, false, 1.0);

  RecordingDc plain = HiMetricDc();
  coords::DrawCoordRow(plain, chart, m, 0, 0, 0, false);
  // 1.3 columns, lowered by a sixth of the em (96).
  EXPECT_EQ(GlyphAt(plain, glyphs::kRetrograde), (platform::Point{136, -16}));
  EXPECT_NE(Joined(plain.Texts()).find(PiecesOf(10.5, 0)), std::string::npos);

  RecordingDc wide = HiMetricDc();
  coords::DrawCoordRow(wide, chart, m, 0, 0, 0, true);
  EXPECT_EQ(wide.FindGlyph(glyphs::kRetrograde, 0), nullptr);
  // 19 Virgo 30 and 19 Pisces 30.
  EXPECT_NE(Joined(wide.Texts()).find(PiecesOf(169.5, 0) + PiecesOf(349.5, 0)), std::string::npos);
  EXPECT_EQ(Joined(wide.Texts()).find(PiecesOf(10.5, 0)), std::string::npos);

  // A Local Space chart: degrees of the whole circle, no retrograde mark; a cusp row its glyph.
  chart.SetDerivationMarker(kMarkerLocalSpace);
  RecordingDc local = HiMetricDc();
  coords::DrawCoordRow(local, chart, m, 51, 0, 0, false);
  EXPECT_EQ(GlyphAt(local, glyphs::Cusp(1)), (platform::Point{0, 0}));
  EXPECT_NE(Joined(local.Texts()).find(PiecesOf(35.0, 1)), std::string::npos);
}

TEST(CoordDetailTable, BodiesInBlocksOfSixteenRows) {
  // Text widths of 96; blocks of 10 widths for speeds, 15 otherwise. The equatorial and
  // horizontal tables name their two columns (at 1 and 8, or 1 and 7 widths) over each block and
  // begin their rows a row (100) lower.
  struct Case {
    int mode;
    bool hasBody16;
    int blockX;
    int firstName, secondName, secondX;  // 0: no names
  };
  const Case cases[] = {
      {coords::kLatitudes, false, 0, 0, 0, 0},
      {coords::kSpeeds, true, 960, 0, 0, 0},
      {coords::kEquatorial, true, 1440, kMsgRightAscensionColumn, kMsgDeclinationColumn, 768},
      {coords::kHorizontal, true, 1440, kMsgAzimuthColumn, kMsgAltitudeColumn, 672}};
  const Configuration config = ThreeRowConfig();
  const Chart chart = SampleChart();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    RecordingDc dc = HiMetricDc();
    const int head = k.firstName != 0 ? 100 : 0;
    EXPECT_EQ(coords::DrawCoordDetailTable(dc, chart, config, 0, 0, 0, k.mode), 1600 + head);
    EXPECT_EQ(GlyphAt(dc, glyphs::Point(15)), (platform::Point{0, -1500 - head}));
    std::vector<platform::Point> names;
    for (const auto& call : dc.Calls())
      if (call.kind == platform::RecordedCall::Text && k.firstName != 0 &&
          (call.text == GetMessageText(k.firstName) || call.text == GetMessageText(k.secondName)))
        names.push_back(call.points.at(0));
    const std::vector<platform::Point> expected =
        k.firstName == 0
            ? std::vector<platform::Point>{}
            : std::vector<platform::Point>{
                  {96, 0}, {k.secondX, 0}, {k.blockX + 96, 0}, {k.blockX + k.secondX, 0}};
    EXPECT_EQ(names, expected);
    if (!k.hasBody16) {
      EXPECT_EQ(dc.FindGlyph(glyphs::Point(16), 0), nullptr);
      continue;
    }
    EXPECT_EQ(GlyphAt(dc, glyphs::Point(16)), (platform::Point{k.blockX, -head}));
    EXPECT_EQ(GlyphAt(dc, glyphs::Point(29)), (platform::Point{k.blockX, -1300 - head}));
  }
}

TEST(CoordDetailTable, AnAbsentBodyHasNoValue) {
  const Configuration config = ThreeRowConfig();
  Chart chart = SampleChart();
  chart.points[3].longitude.Set(kAbsent);  // Venus, row 3 of the first block
  for (int mode = coords::kLatitudes; mode <= coords::kHorizontal; ++mode) {
    RecordingDc dc = HiMetricDc();
    coords::DrawCoordDetailTable(dc, chart, config, 0, 0, 0, mode);
    // The equatorial and horizontal rows stand a row lower, under the names of their columns.
    const int head = mode >= coords::kEquatorial ? 100 : 0;
    int venus = 0, mercury = 0;
    for (const auto& call : dc.Calls()) {
      if (call.kind != platform::RecordedCall::Text || call.points.at(0).x >= 900) continue;
      venus += call.points.at(0).y == -300 - head;
      mercury += call.points.at(0).y == -200 - head;
    }
    EXPECT_EQ(venus, 1) << mode;  // its glyph alone
    EXPECT_GT(mercury, 1) << mode;
  }
}

// The settings page's row editor.
TEST(CoordConfPage, ButtonsMoveRowsAndSelectionsFollow) {
  coords::CoordConfPage page;
  for (int r = 0; r < 5; ++r)
    page.layout.slots[static_cast<std::size_t>(r)] = static_cast<std::uint8_t>(r);
  // Candidates: Jupiter .. Vertex, then the 12 cusps; never slots 34..49.
  std::vector<std::string> candidates = page.CandidateNames();
  ASSERT_EQ(candidates.size(), 29u + 12u);
  EXPECT_EQ(candidates.front(), Cp1251("Юпитер"));
  EXPECT_EQ(candidates.back(), Cp1251("12 дом"));

  page.row = 0;
  EXPECT_TRUE(page.HideSelected());
  EXPECT_EQ(page.RowNames(), (std::vector<std::string>{Cp1251("Луна"), Cp1251("Меркурий"),
                                                       Cp1251("Венера"), Cp1251("Марс")}));
  EXPECT_EQ(page.row, 0);
  page.row = 3;
  EXPECT_TRUE(page.HideSelected());  // the last row: the selection moves to the one before
  EXPECT_EQ(page.row, 2);

  const int lastCandidate = static_cast<int>(page.CandidateNames().size()) - 1;
  page.candidate = lastCandidate;
  EXPECT_TRUE(page.ShowSelected());
  EXPECT_EQ(page.RowNames().back(), Cp1251("12 дом"));
  EXPECT_EQ(page.row, 3);
  EXPECT_EQ(page.candidate, lastCandidate - 1);

  EXPECT_FALSE(page.MoveSelectedDown());  // the last row
  EXPECT_TRUE(page.MoveSelectedUp());
  EXPECT_EQ(page.row, 2);
  EXPECT_EQ(page.RowNames()[2], Cp1251("12 дом"));
  page.row = 0;
  EXPECT_FALSE(page.MoveSelectedUp());
  page.row = -1;
  EXPECT_FALSE(page.MoveSelectedDown());
  EXPECT_FALSE(page.HideSelected());
}

TEST(CoordConfPage, ThePrintCheckTellsWhetherTheTableFitsAPage) {
  // 15 rows of font 7200 (em 960): a row step of the line step + 672; a page holds 11600.
  struct Case {
    int lineStep, message;
  };
  const Case cases[] = {{101, kMsgSizeFits}, {102, kMsgSizeTooLarge}};
  for (const Case& k : cases) {
    coords::CoordConfPage page;
    page.layout = Layout(15, 7200, k.lineStep);
    RecordingDc dc = HiMetricDc(600, true);
    EXPECT_EQ(page.CheckPrintSize(dc), k.message) << k.lineStep;
  }
}

}  // namespace
