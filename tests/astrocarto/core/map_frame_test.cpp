#include "astrocarto/core/map_frame.h"

#include <gtest/gtest.h>

#include "map_test_support.h"

namespace {

using map_test::Mf1;
using map_test::Values;
using platform::Rect;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr MapWindow kWorld{-180, 180, 90, -90};

// The world at 10-degree cells: a border cell at 0 E 0 N, a sea cell at the north-west corner
// and a run of three cells from 10 W along the equator.
class CellMap : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "World.mf1", Mf1(-180, 180, 90, -90, 36, 18, {18, 9}));
    WriteFile(dir_ / "World.mf2", Values({0, 0}));
    WriteFile(dir_ / "World.mf3", Values({17, 9, 3}));
    map_test::LoadMaps(maps_, dir_.Path());
    ASSERT_TRUE(maps_.Map(0).HasOutline());
  }
  CellRects Build(const MapWindow& window, int width, int height, platform::Size minCell) {
    MapGeometry g{window, LayoutScreenFrame(width, height, window)};
    CellRects rects;
    BuildCellRects(maps_.Map(0), g, minCell, rects);
    return rects;
  }
  TempFolder dir_;
  AllMaps maps_;
};

TEST_F(CellMap, CellAndRunRectangles) {
  struct Case {
    const char* what;
    MapWindow window;
    int width, height;
    platform::Size minCell;
    std::vector<Rect> borders, seaCells, seaRuns;
  };
  const Case cases[] = {
      // 10 units a degree: a cell 100 x 100 from its corner, a run one unit lower.
      {"full world",
       kWorld,
       3600,
       1800,
       {1, 1},
       {{1800, -900, 1900, -1000}},
       {{0, 0, 100, -100}},
       {{1700, -900, 2000, -1001}}},
      // 1 unit a degree: cells widened to the 26-unit pixel, the run lowered by it.
      {"cells below a pixel",
       kWorld,
       360,
       180,
       {26, 26},
       {{180, -90, 206, -116}},
       {{0, 0, 26, -26}},
       {{170, -90, 200, -126}}},
      // 100 units a degree over 5 W .. 15 E, 5 N .. 15 S: the far cell is left out, the run
      // clipped at both sides of the map.
      {"zoomed and clipped",
       {-5, 15, 5, -15},
       2000,
       2000,
       {1, 1},
       {{500, -500, 1500, -1500}},
       {},
       {{0, -500, 2000, -1501}}},
  };
  for (const Case& c : cases) {
    const CellRects r = Build(c.window, c.width, c.height, c.minCell);
    EXPECT_EQ(r.borders, c.borders) << c.what;
    EXPECT_EQ(r.seaCells, c.seaCells) << c.what;
    EXPECT_EQ(r.seaRuns, c.seaRuns) << c.what;
  }
}

TEST_F(CellMap, MinimisedViewHasNoCells) {
  const CellRects r = Build(kWorld, 0, 0, {0, 0});
  EXPECT_TRUE(r.borders.empty() && r.seaCells.empty() && r.seaRuns.empty());
}

TEST(MapFrameLayout, PrintedMapFillsTheUpperHalfInsideTheMargins) {
  // Margins 15, 15, 10, 15 mm: 185 is 1 % of the 18500 between them.
  const MapFrame f = LayoutPrintFrame({1500, 1500, 1000, 1500}, kWorld);
  const MapGeometry g{kWorld, f};
  EXPECT_EQ(g.MapArea(), (Rect{1685, -3500, 19815, -14665}));
  EXPECT_DOUBLE_EQ(f.xScale, 18130 / 360.0);
  EXPECT_DOUBLE_EQ(f.yScale, 11165 / 180.0);
  EXPECT_EQ(g.Project(-180, 90), (platform::Point{1685, -3500}));
  double lon = 0, lat = 0;
  g.Unproject({10750, -9083}, lon, lat);  // the page point of 0 E 0 N, to a unit
  EXPECT_NEAR(lon, 0.0, 0.02);
  EXPECT_NEAR(lat, 0.0, 0.02);
}

TEST(MapFrameLayout, FrameWithoutSizeUnprojectsToTheCentre) {
  const MapGeometry g{{0, 20, 60, 40}, LayoutScreenFrame(0, 0, {0, 20, 60, 40})};
  double lon = 0, lat = 0;
  g.Unproject({123, -456}, lon, lat);
  EXPECT_EQ(lon, 10.0);
  EXPECT_EQ(lat, 50.0);
  EXPECT_EQ(g.WidthOfHeight(5.0), 0.0);
}

class TwoMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    map_test::WriteTwoMaps(dir_.Path());
    map_test::LoadMaps(maps_, dir_.Path());
  }
  TempFolder dir_;
  AllMaps maps_;
};

TEST_F(TwoMaps, ZoomStateMachine) {
  const MapWindow europe{-10, 40, 70, 35};
  const MapWindow sea{-40, -20, 40, 20};    // 20 degrees around 30 W 30 N
  const MapWindow inEurope{0, 20, 60, 40};  // 20 degrees around 10.5 E 50.5 N
  struct Case {
    const char* what;
    MapState from;
    double lon, lat;
    bool back;
    MapState to;
  };
  const Case cases[] = {
      {"full world opens the region", {0, kWorld}, 10.5, 50.5, false, {4, europe}},
      {"open sea zooms the world", {0, kWorld}, -30, 30, false, {0, sea}},
      {"zoomed world returns to the full world", {0, sea}, -30, 30, false, {0, kWorld}},
      {"back on the world does nothing", {0, kWorld}, 10.5, 50.5, true, {0, kWorld}},
      {"back on a zoomed world does nothing", {0, sea}, -30, 30, true, {0, sea}},
      {"full region zooms", {4, europe}, 10.5, 50.5, false, {4, inEurope}},
      {"zoomed region returns to the world", {4, inEurope}, 10.5, 50.5, false, {0, kWorld}},
      {"back from a zoomed region", {4, inEurope}, 10.5, 50.5, true, {4, europe}},
      {"back from a full region", {4, europe}, 10.5, 50.5, true, {0, kWorld}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZoomMap(maps_, c.from, c.lon, c.lat, c.back, 100, 100), c.to) << c.what;
  // A view twice as wide as high zooms to 10 degrees of latitude.
  EXPECT_EQ(ZoomMap(maps_, {4, europe}, 10.5, 50.5, false, 200, 100),
            (MapState{4, {0, 20, 55, 45}}));
}

TEST_F(TwoMaps, ScrollRangesAndMoves) {
  const MapWindow zoomed{-40, -20, 40, 20};
  EXPECT_EQ(MapScrollBar(maps_.Map(0), kWorld, false), (ScrollBar{0, 1, 0}));
  EXPECT_EQ(MapScrollBar(maps_.Map(0), kWorld, true), (ScrollBar{0, 1, 0}));
  EXPECT_EQ(MapScrollBar(maps_.Map(0), zoomed, false), (ScrollBar{-180, 160, -40}));
  EXPECT_EQ(MapScrollBar(maps_.Map(0), zoomed, true), (ScrollBar{-90, 70, -40}));
  struct Case {
    const char* what;
    bool vertical;
    ScrollCode code;
    int thumb;
    MapWindow to;
  };
  const Case cases[] = {
      {"line right", false, ScrollCode::kLineDown, 0, {-39, -19, 40, 20}},
      {"line left", false, ScrollCode::kLineUp, 0, {-41, -21, 40, 20}},
      {"page right", false, ScrollCode::kPageDown, 0, {-30, -10, 40, 20}},
      {"page left", false, ScrollCode::kPageUp, 0, {-50, -30, 40, 20}},
      {"thumb", false, ScrollCode::kThumb, 100, {100, 120, 40, 20}},
      {"thumb past the end", false, ScrollCode::kThumb, 500, {160, 180, 40, 20}},
      {"leftmost", false, ScrollCode::kTop, 0, {-180, -160, 40, 20}},
      {"rightmost", false, ScrollCode::kBottom, 0, {160, 180, 40, 20}},
      {"line down", true, ScrollCode::kLineDown, 0, {-40, -20, 39, 19}},
      {"page up", true, ScrollCode::kPageUp, 0, {-40, -20, 50, 30}},
      {"bottom", true, ScrollCode::kBottom, 0, {-40, -20, -70, -90}},
  };
  for (const Case& c : cases) {
    MapWindow w = zoomed;
    EXPECT_TRUE(ScrollMap(maps_.Map(0), w, c.vertical, c.code, c.thumb)) << c.what;
    EXPECT_EQ(w, c.to) << c.what;
  }
  MapWindow w = kWorld;
  EXPECT_FALSE(ScrollMap(maps_.Map(0), w, false, ScrollCode::kLineDown, 0)) << "full world";
  EXPECT_EQ(w, kWorld);
  w = {-180, -160, 40, 20};
  EXPECT_FALSE(ScrollMap(maps_.Map(0), w, false, ScrollCode::kLineUp, 0)) << "at the end";
}

TEST_F(TwoMaps, CountryBoxesPlacedOnlyWhollyInside) {
  ACMap& europe = maps_.Map(4);
  europe.InitCountryNames(2);
  europe.SetCountryName(0, 0, 50, 10, 45, "A");  // west, north, east, south
  europe.SetCountryName(1, 15, 62, 25, 58, "B");
  const MapWindow window{-10, 20, 60, 40};
  PlaceCountryRects(europe, {window, LayoutScreenFrame(3000, 2000, window)});
  EXPECT_EQ(europe.Countries()[0].screen, (Rect{1000, -1000, 2000, -1500}));
  EXPECT_EQ(europe.Countries()[1].screen.left, -1);
}

}  // namespace
