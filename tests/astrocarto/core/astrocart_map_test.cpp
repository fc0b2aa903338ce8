#include "astrocarto/core/astrocart_map.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "map_test_support.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::RecordedCall;
using platform::RecordingDc;
using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::WriteFile;

Chart SunChart(int hour) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hour, 0, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(0, 0, '+').ok());
  chart.points[0].longitude.Set(280.0);
  return chart;
}

// The world with a border cell, a sea cell and a sea run; West Europe without cells; the Sun's
// lines of a chart.
class MapView : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "World.mf1", map_test::Mf1(-180, 180, 90, -90, 36, 18, {18, 9}));
    WriteFile(dir_ / "World.mf2", map_test::Values({0, 0}));
    WriteFile(dir_ / "World.mf3", map_test::Values({17, 9, 3}));
    WriteFile(dir_ / "Weurop.mf1", map_test::Mf1(-10, 40, 70, 35, 50, 35));
    map_test::LoadMaps(maps_, dir_.Path());
    settings_.mapColours = {54, 11, 8, 1, 12, 0, 7, 1};
    settings_.lineColours.fill(12);
    ASSERT_TRUE(view_.Init(settings_, config_, SunChart(12), progress_));
    view_.Resize(3600, 1800, 360, 180);
  }
  TempFolder dir_;
  AllMaps maps_;
  TOWNS towns_;
  Configuration config_;
  AstroCartPage settings_;
  RecordingProgress progress_;
  AstroCartMap view_{maps_, towns_};
};

TEST_F(MapView, SecondChartComesAndGoes) {
  EXPECT_TRUE(view_.AddSecondChart(SunChart(0), progress_));
  EXPECT_TRUE(view_.HasSecondChart());
  EXPECT_EQ(view_.Lines().LineCount(), 20);
  EXPECT_NE(view_.Lines().Mc(0), view_.Lines().Mc(10));  // the Sun 12 hours apart
  view_.RemoveSecondChart();
  EXPECT_FALSE(view_.HasSecondChart());
  EXPECT_EQ(view_.Lines().LineCount(), 10);

  progress_.cancelAt = static_cast<int>(progress_.positions.size()) + 1;
  EXPECT_FALSE(view_.AddSecondChart(SunChart(0), progress_));
  EXPECT_FALSE(view_.HasSecondChart());
  EXPECT_EQ(view_.Lines().LineCount(), 10);
}

TEST_F(MapView, PaintsLandSeaBordersGridLinesAndSignsInOrder) {
  RecordingDc dc;
  view_.Paint(dc);
  const auto& calls = dc.Calls();
  ASSERT_GE(calls.size(), 5u);
  EXPECT_EQ(calls[0].kind, RecordedCall::FillRect);
  EXPECT_EQ(calls[0].points[0], (platform::Point{0, 0}));
  EXPECT_EQ(calls[0].color, ColorByIndex(54));  // land
  EXPECT_EQ(calls[1].color, ColorByIndex(11));  // the sea cell
  EXPECT_EQ(calls[2].color, ColorByIndex(11));  // the sea run
  EXPECT_EQ(calls[3].color, ColorByIndex(8));   // the border cell
  auto first = [&](auto predicate) {
    return std::find_if(calls.begin(), calls.end(), predicate) - calls.begin();
  };
  const auto grid = first([](const RecordedCall& c) {
    return c.kind == RecordedCall::Line && c.pen.color == ColorByIndex(7);
  });
  const auto line = first([](const RecordedCall& c) {
    return c.kind == RecordedCall::Line && c.pen.color == ColorByIndex(12);
  });
  const auto sign = first(
      [](const RecordedCall& c) { return c.kind == RecordedCall::Text && c.font.IsGlyphFace(); });
  EXPECT_LT(3, grid);
  EXPECT_LT(grid, line);
  EXPECT_LT(line, sign);
  EXPECT_LT(sign, static_cast<long>(calls.size()));
  EXPECT_TRUE(dc.Clipped() == false) << "the clip is reset after the lines";
}

TEST_F(MapView, MinimisedViewPaintsWithoutFailing) {
  view_.Resize(0, 0, 0, 0);
  EXPECT_GE(view_.MinCell().cx, 1);
  EXPECT_GE(view_.MinCell().cy, 1);
  RecordingDc dc;
  view_.Paint(dc);
  EXPECT_TRUE(dc.Texts().empty());
  // Logical size without pixels: no division by zero, a cell of at least one unit.
  view_.Resize(1000, 800, 0, 0);
  EXPECT_GE(view_.MinCell().cx, 1);
}

TEST_F(MapView, PrintColourRules) {
  const platform::Color white = ColorByIndex(15);
  struct Case {
    int background;
    bool colour;
    platform::Color land, sea, borders;
  };
  const Case cases[] = {
      {0, true, ColorByIndex(54), ColorByIndex(11), ColorByIndex(8)},
      {1, true, white, ColorByIndex(11), ColorByIndex(8)},
      {2, true, white, white, ColorByIndex(8)},
      {0, false, white, white, platform::kBlack},
  };
  for (const Case& c : cases) {
    AstroCartPage s = settings_;
    s.printBackground = c.background;
    const MapColours colours = AstroCartMap::PrintColours(s, c.colour);
    EXPECT_EQ(colours.land, c.land) << c.background << c.colour;
    EXPECT_EQ(colours.sea, c.sea) << c.background << c.colour;
    EXPECT_EQ(colours.borders, c.borders) << c.background << c.colour;
  }
}

// On paper in black and white every planet's lines are black in a line type of their own; in
// colour they keep their colour, solid.
TEST_F(MapView, PrintedPlanetLinesTellThemselvesApart) {
  struct Case {
    int colourPrinting;
    std::size_t pens;
  };
  for (const Case c : {Case{0, 10}, Case{1, 1}}) {
    config_.colourPrinting = c.colourPrinting;
    Chart chart = SunChart(12);
    for (int k = 1; k < 10; ++k) chart.points[static_cast<std::size_t>(k)].longitude.Set(k * 33.0);
    AstroCartMap view(maps_, towns_);
    ASSERT_TRUE(view.Init(settings_, config_, chart, progress_));
    view.Resize(3600, 1800, 360, 180);
    RecordingDc dc(600.0, true);
    view.Print(dc, config_, chart);
    std::vector<platform::Pen> pens;
    for (const RecordedCall& call : dc.Calls()) {
      if (call.kind != RecordedCall::Line || call.pen.color == ColorByIndex(7)) continue;
      if (call.pen.color == platform::kBlack && call.pen.width <= 1) continue;  // the grid
      if (std::find(pens.begin(), pens.end(), call.pen) == pens.end()) pens.push_back(call.pen);
    }
    EXPECT_EQ(pens.size(), c.pens) << c.colourPrinting;
    for (const platform::Pen& pen : pens)
      EXPECT_EQ(pen.color, c.colourPrinting ? ColorByIndex(12) : platform::kBlack);
  }
}

}  // namespace
