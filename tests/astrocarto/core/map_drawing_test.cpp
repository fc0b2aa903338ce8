#include "astrocarto/core/map_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/numbers/vector_state.h"
#include "map_test_support.h"
#include "platform/core/recording_dc.h"
#include "support/page_overlap.h"

namespace {

using map_test::Mf1;
using platform::Point;
using platform::RecordedCall;
using platform::RecordingDc;
using platform::Rect;
using testing_support::TempFolder;
using testing_support::WriteFile;

ACMapView ViewOf(const MapWindow& window, int width, int height) {
  ACMapView view;
  view.geometry = {window, LayoutScreenFrame(width, height, window)};
  view.colours.grid = {1, 2, 3};
  view.colours.gridDegrees = {4, 5, 6};
  view.lineColour = [](int point) {
    return platform::Color{static_cast<std::uint8_t>(point), 0, 0};
  };
  return view;
}

std::vector<RecordedCall> CallsOf(const RecordingDc& dc, RecordedCall::Kind kind) {
  std::vector<RecordedCall> out;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == kind) out.push_back(c);
  return out;
}

// --- grid --------------------------------------------------------------------------------------

class Grid : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "World.mf1", Mf1(-180, 180, 85, -60, 36, 14));
    map_test::LoadMaps(maps_, dir_.Path());
  }
  // The x of every vertical and the y of every horizontal grid line drawn.
  static void Lines(const RecordingDc& dc, std::vector<int>& xs, std::vector<int>& ys) {
    for (const RecordedCall& c : CallsOf(dc, RecordedCall::Line)) {
      if (c.points[0].x == c.points[1].x) xs.push_back(c.points[0].x);
      if (c.points[0].y == c.points[1].y) ys.push_back(c.points[0].y);
    }
  }
  TempFolder dir_;
  AllMaps maps_;
};

TEST_F(Grid, SpacingAtFullExtentAndZoomed) {
  struct Case {
    const char* what;
    MapWindow window;
    int width, height;
    std::vector<int> xs, ys;
  };
  const Case cases[] = {
      // 100 units a degree: every 40 degrees from -180 and from -90, strictly inside.
      {"full world: 40 degrees",
       {-180, 180, 85, -60},
       36000,
       14500,
       {4000, 8000, 12000, 16000, 20000, 24000, 28000, 32000},
       {-13500, -9500, -5500, -1500}},
      // 1000 units a degree: every 4 degrees.
      {"zoomed: 4 degrees",
       {0, 20, 60, 45},
       20000,
       15000,
       {4000, 8000, 12000, 16000},
       {-14000, -10000, -6000, -2000}},
      // The meridian at 4 E lies 100 units from the west edge, within the labels' margin.
      {"no line within the label margin",
       {3.9, 23.9, 60, 45},
       20000,
       15000,
       {4100, 8100, 12100, 16100},
       {-14000, -10000, -6000, -2000}},
  };
  for (const Case& c : cases) {
    RecordingDc dc;
    maps_.Map(0).DrawGrid(dc, ViewOf(c.window, c.width, c.height));
    std::vector<int> xs, ys;
    Lines(dc, xs, ys);
    EXPECT_EQ(xs, c.xs) << c.what;
    EXPECT_EQ(ys, c.ys) << c.what;
    EXPECT_EQ(dc.Texts().size(), 2 * (c.xs.size() + c.ys.size())) << c.what;
  }
}

TEST_F(Grid, LinesShortenedByTheLabelsInTheGridColours) {
  // Font 3600 (an em of 480 below 14500 / 30); "-80" is 720 x 480.
  RecordingDc dc;
  maps_.Map(0).DrawGrid(dc, ViewOf({-180, 180, 85, -60}, 36000, 14500));
  const std::vector<RecordedCall> lines = CallsOf(dc, RecordedCall::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().points[0], (Point{4000, -480}));
  EXPECT_EQ(lines.front().points[1], (Point{4000, -14020}));
  EXPECT_EQ(lines.back().points[0], (Point{720, -1500}));
  EXPECT_EQ(lines.back().points[1], (Point{35280, -1500}));
  EXPECT_EQ(lines.front().pen.color, (platform::Color{1, 2, 3}));
  const std::vector<RecordedCall> texts = CallsOf(dc, RecordedCall::Text);
  EXPECT_EQ(texts.front().text, "-140");
  EXPECT_EQ(texts.front().color, (platform::Color{4, 5, 6}));
  EXPECT_EQ(texts.front().bkMode, platform::BkMode::Transparent);
}

TEST_F(Grid, ViewWithoutHeightDrawsNothing) {
  RecordingDc dc;
  maps_.Map(0).DrawGrid(dc, ViewOf({-180, 180, 85, -60}, 36000, 0));
  EXPECT_TRUE(dc.Calls().empty());
}

// --- towns -------------------------------------------------------------------------------------

class Towns : public ::testing::Test {
 protected:
  void SetUp() override {
    map_test::WriteTwoMaps(dir_.Path());
    map_test::LoadMaps(maps_, dir_.Path());
    map_test::LoadAtlas(towns_, dir_.Path(),
                        {{"Alpha", 50, 0},    // 0 class 3
                         {"Beta", 50, 0.5},   // 1 class 3, on Alpha's label
                         {"Gamma", 50, 0},    // 2 class 2, on Alpha's label
                         {"Delta", 45, 20},   // 3 class 2, free
                         {"Eps", 40, 39.9},   // 4 class 3, label past the east edge
                         {"Zeta", 60.3, 10},  // 5 class 3, on a country label
                         {"Eta", 40, 30}});   // 6 class 1
    europe().InitTowns(4, 2, 1);
    for (int t : {0, 1, 4, 5}) europe().AddTown(3, t);
    for (int t : {2, 3}) europe().AddTown(2, t);
    europe().AddTown(1, 6);
    europe().InitCountryNames(1);
    europe().SetCountryName(0, 9, 61, 15, 59, "Land");
  }
  ACMap& europe() { return maps_.Map(4); }
  // 100 units a degree over West Europe: labels at 1000 (an em of 133 below 3500 / 25).
  ACMapView View(const MapWindow& window, int width = 5000, int height = 3500) {
    ACMapView view = ViewOf(window, width, height);
    view.towns = &towns_;
    PlaceCountryRects(europe(), view.geometry);
    return view;
  }
  TempFolder dir_;
  AllMaps maps_;
  TOWNS towns_;
};

TEST_F(Towns, LabelsByClassClearOfEachOtherAndOfCountries) {
  const MapWindow full = europe().FullWindow();
  RecordingDc dc;
  europe().PlaceTownLabels(dc, full, View(full));
  EXPECT_EQ(europe().TownLabelSize(), 1000);
  const std::vector<Rect>& class3 = europe().TownLabels(3);
  EXPECT_EQ(class3[0], (Rect{1100, -1950, 1433, -2083}));  // Alpha, 5 letters of 66.7
  EXPECT_EQ(class3[1].left, -1) << "Beta overlaps Alpha";
  EXPECT_EQ(class3[2].left, -1) << "Eps runs past the map's east edge";
  EXPECT_EQ(class3[3].left, -1) << "Zeta overlaps the country label";
  for (const Rect& r : europe().TownLabels(2)) EXPECT_EQ(r.left, -1) << "class 2 at full extent";

  // Zoomed (the window no longer the full map): class 2 gets labels where they are free.
  const MapWindow zoomed{-10, 40, 69, 35};
  europe().PlaceTownLabels(dc, zoomed, View(zoomed));
  EXPECT_EQ(europe().TownLabels(2)[0].left, -1) << "Gamma overlaps Alpha: class 3 first";
  EXPECT_NE(europe().TownLabels(2)[1].left, -1) << "Delta";
}

TEST_F(Towns, DotsForEveryTownLabelsOnlyWherePlaced) {
  const MapWindow full = europe().FullWindow();
  RecordingDc dc;
  const ACMapView view = View(full);
  europe().PlaceTownLabels(dc, full, view);
  dc.Clear();
  europe().DrawTowns(dc, full, view);
  const std::vector<RecordedCall> dots = CallsOf(dc, RecordedCall::Ellipse);
  ASSERT_EQ(dots.size(), 7u);
  EXPECT_EQ(dots[0].points[0], (Point{950, -1950}));  // Alpha: radius 50 about (1000, -2000)
  EXPECT_EQ(dots[0].points[1], (Point{1050, -2050}));
  EXPECT_EQ(dc.Texts(), std::vector<std::string>{"Alpha"});
}

TEST_F(Towns, SmallLabelSizeGivesDotsOnly) {
  // 300 units high: a label would have to be below 12 units, no size of 100 or more is.
  const MapWindow full = europe().FullWindow();
  const ACMapView view = View(full, 500, 300);
  RecordingDc dc;
  europe().PlaceTownLabels(dc, full, view);
  EXPECT_LE(europe().TownLabelSize(), 100);
  for (const int townClass : {3, 2})
    for (const Rect& r : europe().TownLabels(townClass)) EXPECT_EQ(r.left, -1);
  europe().DrawTowns(dc, full, view);
  EXPECT_EQ(CallsOf(dc, RecordedCall::Ellipse).size(), 7u);
  EXPECT_TRUE(dc.Texts().empty());
}

TEST_F(Towns, CrowdedLabelsNeverOverlap) {
  std::vector<map_test::Town> crowd;
  for (int i = 0; i < 30; ++i) crowd.push_back({"Crowded", 45 + (i % 5) * 0.5, -5.0 + i});
  TempFolder atlasDir;
  map_test::LoadAtlas(towns_, atlasDir.Path(), crowd);
  europe().InitTowns(30, 0, 0);
  for (int t = 0; t < 30; ++t) europe().AddTown(3, t);
  const MapWindow full = europe().FullWindow();
  RecordingDc dc;
  europe().PlaceTownLabels(dc, full, View(full));
  const std::vector<Rect>& labels = europe().TownLabels(3);
  int placed = 0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (labels[i].left == -1) continue;
    ++placed;
    for (std::size_t j = 0; j < i; ++j) {
      if (labels[j].left != -1) {
        EXPECT_FALSE(RectsOverlap(labels[i], labels[j])) << i << " " << j;
      }
    }
  }
  EXPECT_GE(placed, 3);
  EXPECT_LT(placed, 30);
}

// --- line signs --------------------------------------------------------------------------------

Configuration SunOnly() {
  Configuration config;
  for (int i = 0; i < ACLines::kPointFlagCount; ++i)
    EXPECT_TRUE(config.SetObjectFlags(i, i == 0, false, false, 1));
  return config;
}

// The Sun's lines for a Sun at `longitude` on 2000-01-01 12:00 UT (sidereal time 280.46
// degrees), one sample a degree. At 280 degrees the Sun culminates near 0.5 E (about 66.5 N on
// its horizon line there) and is at the lower meridian near 179.5 W (66.5 S); at 250 degrees
// near 33 W and 147 E.
ACLines SunLines(double longitude, bool secondChart = false) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(0, 0, '+').ok());
  chart.points[0].longitude.Set(longitude);
  ACLines lines;
  lines.Init(2, false, 1, SunOnly());
  testing_support::RecordingProgress progress;
  EXPECT_TRUE(lines.Calculate(chart, false, 0, progress));
  if (secondChart) {
    EXPECT_TRUE(lines.Calculate(chart, false, 1, progress));
  }
  return lines;
}

SignLayout LayoutOf(const MapWindow& window, double h, double w) {
  SignLayout layout;
  layout.window = window;
  layout.h = h;
  layout.w = w;
  return layout;
}

TEST(LineSigns, OneSignOrTwoAndTheCheck) {
  const ACLines lines = SunLines(280.0);
  ASSERT_NEAR(lines.Mc(0), 0.5, 1.0);
  const MapWindow world{-180, 180, 85, -60};
  const std::vector<VisibleRun> runs = lines.CollectVisibleRuns(world);
  ASSERT_EQ(runs.size(), 1u);  // below 60 S only near the lower meridian

  // The run passes the upper meridian: rising at its west end, setting at its east end.
  SignLayout layout = LayoutOf(world, 6.0, 6.0);
  const RunSigns two = ACMap::PlaceRunSigns(lines, runs[0], layout);
  ASSERT_EQ(two.Count(), 2);
  EXPECT_EQ(two.kind[0], 'A');
  EXPECT_EQ(two.kind[1], 'D');
  EXPECT_LT(two.longitude[0], lines.Mc(0));
  EXPECT_GT(two.longitude[1], lines.Mc(0));
  EXPECT_EQ(layout.placed.size(), 2u);

  // East of the meridian the whole run sets: one sign, searched from its lower end.
  const MapWindow east{20, 60, 80, 20};
  const std::vector<VisibleRun> eastRuns = lines.CollectVisibleRuns(east);
  ASSERT_EQ(eastRuns.size(), 1u);
  SignLayout eastLayout = LayoutOf(east, 2.0, 2.0);
  const RunSigns one = ACMap::PlaceRunSigns(lines, eastRuns[0], eastLayout);
  ASSERT_EQ(one.Count(), 1);
  EXPECT_EQ(one.kind[0], 'D');
  EXPECT_TRUE(eastLayout.Fits(one.longitude[0], one.latitude[0]));

  // West of 5 E taken by a sign already: the first sign can only fit past the meridian, where
  // the line sets, and is dropped; the one from the east end stays.
  SignLayout blocked = LayoutOf(world, 6.0, 6.0);
  blocked.placed.push_back({-180, 5, 90, -90});
  const RunSigns checked = ACMap::PlaceRunSigns(lines, runs[0], blocked);
  EXPECT_TRUE(IsAbsent(checked.longitude[0]));
  EXPECT_EQ(checked.Count(), 1);
  EXPECT_EQ(checked.kind[1], 'D');

  EXPECT_TRUE(ACMap::CheckRunSign(lines, 0, -30, lines.Sample(0, 150), 'A'));
  EXPECT_FALSE(ACMap::CheckRunSign(lines, 0, 30, lines.Sample(0, 210), 'A'));
}

TEST(LineSigns, GlyphAndLineNameInTheLineColourNeverOverlapping) {
  const ACLines lines = SunLines(250.0, true);
  ASSERT_NEAR(lines.Mc(0), -33.0, 1.0);
  RecordingDc dc;
  const MapWindow world{-180, 180, 85, -60};
  ACMapView view = ViewOf(world, 36000, 14500);
  view.lineColour = [](int) { return platform::Color{200, 0, 0}; };
  ACMap map;
  map.DrawLineSigns(dc, world, view, lines);
  // Glyph size by 14500 / 23; its name at 0.7 of it, right of the glyph's half width.
  std::vector<std::string> names;
  std::vector<SignBox> boxes;
  const double h = 145.0 / 23, w = h;  // 100 units a degree both ways
  for (std::size_t i = 0; i + 1 < dc.Calls().size(); ++i) {
    const RecordedCall& glyph = dc.Calls()[i];
    if (glyph.kind != RecordedCall::Text || !glyph.font.IsGlyphFace()) continue;
    EXPECT_EQ(glyph.text, "M");
    EXPECT_EQ(glyph.color, (platform::Color{200, 0, 0}));
    const RecordedCall& name = dc.Calls()[i + 1];
    names.push_back(name.text);
    EXPECT_EQ(name.font.pointSize, static_cast<int>(glyph.font.pointSize * 0.7));
    const double lon = glyph.points[0].x / 100.0 - 180, lat = 85 + glyph.points[0].y / 100.0;
    boxes.push_back({lon - 0.5 * w, lon + 2.5 * w, lat, lat - h});
  }
  // Both charts: AS and DS on the horizon line, MC and IC; the second chart's in lower case.
  for (const char* n : {"AS", "DS", "MC", "IC", "as", "ds", "mc", "ic"})
    EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
  // Positions are whole units (0.01 degree): boxes may touch to within that.
  constexpr double kUnit = 0.011;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(boxes[i].west + kUnit < boxes[j].east && boxes[j].west + kUnit < boxes[i].east &&
                   boxes[i].south + kUnit < boxes[j].north &&
                   boxes[j].south + kUnit < boxes[i].north)
          << names[i] << " " << names[j];
}

TEST(LineSigns, ViewWithoutHeightDrawsNone) {
  const ACLines lines = SunLines(280.0);
  RecordingDc dc;
  ACMap map;
  map.DrawLineSigns(dc, {-180, 180, 85, -60}, ViewOf({-180, 180, 85, -60}, 36000, 0), lines);
  EXPECT_TRUE(dc.Calls().empty());
}

std::vector<std::pair<Point, std::string>> SignTexts(const RecordingDc& dc) {
  std::vector<std::pair<Point, std::string>> out;
  for (const RecordedCall& c : CallsOf(dc, RecordedCall::Text))
    out.emplace_back(c.points[0], c.text);
  return out;
}

// A drawing with the places kept from the one before draws what a drawing without them draws,
// whatever changed between the two: the lines (recalculated in place), the window (moved or
// zoomed), the signs' size, the labels placed before the signs.
TEST(LineSigns, PlacesKeptBetweenDrawingsFollowTheLinesAndTheView) {
  const MapWindow world{-180, 180, 85, -60}, east{-20, 100, 80, -40}, moved{10, 130, 80, -40};
  const struct {
    const char* what;
    double sun;
    MapWindow window;
    int glyphSize;
    bool label;  // a town's label over the first sign drawn before
  } rows[] = {
      {"the first drawing", 280.0, world, 1, false}, {"the same again", 280.0, world, 1, false},
      {"other lines", 250.0, world, 1, false},       {"another window", 250.0, east, 1, false},
      {"larger signs", 250.0, east, 0, false},       {"the window moved", 250.0, moved, 0, false},
      {"a label placed", 250.0, moved, 0, true}};
  LineSignCache cache;
  ACLines lines;
  std::vector<std::pair<Point, std::string>> before;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (lines.LineCount() == 0 || lines.BodyLongitude(0) != row.sun) lines = SunLines(row.sun);
    ACMapView view = ViewOf(row.window, 36000, 14500);
    view.glyphFontSize = row.glyphSize;
    ACMap map;
    map.InitTowns(1, 0, 0);
    if (row.label) {
      const Point p = before.front().first;
      map.TownLabels(3)[0] = Rect{p.x - 300, p.y + 300, p.x + 300, p.y - 300};
    }
    RecordingDc fresh, kept;
    map.DrawLineSigns(fresh, row.window, view, lines);
    view.signCache = &cache;
    map.DrawLineSigns(kept, row.window, view, lines);
    ASSERT_FALSE(SignTexts(fresh).empty());
    EXPECT_EQ(SignTexts(kept), SignTexts(fresh));
    EXPECT_EQ(SignTexts(kept) == before, std::string(row.what) == "the same again");
    before = SignTexts(kept);
  }
}

// The placement, run inside the painting, first clears the vector registers' upper halves.
TEST(LineSigns, PlacementLeavesTheUpperHalvesUnused) {
  const ACLines lines = SunLines(250.0);
  const MapWindow world{-180, 180, 85, -60};
  const ACMapView view = ViewOf(world, 36000, 14500);
  RecordingDc dc;
  if (!testing_support::DirtyVectorUpperHalves()) GTEST_SKIP() << "no vector state shown";
  ACMap().DrawLineSigns(dc, world, view, lines);
  EXPECT_FALSE(VectorUpperStateInUse());
}

// The lines of the ten planets of a chart of 2000-01-01 12:00 UT whose Sun stands at `sun`, the
// others spread from it, for both charts.
ACLines PlanetLines(double sun) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(0, 0, '+').ok());
  for (int p = 0; p < 10; ++p)
    chart.points[static_cast<std::size_t>(p)].longitude.Set(std::fmod(sun + 37.0 * p, 360.0));
  ACLines lines;
  lines.Init(1, false, 1, Configuration());
  testing_support::RecordingProgress progress;
  EXPECT_TRUE(lines.Calculate(chart, false, 0, progress));
  EXPECT_TRUE(lines.Calculate(chart, false, 1, progress));
  return lines;
}

// The signs of the lines keep clear of the degrees the grid writes along the map's edges wherever
// the lines run: the lines of ten planets of two charts for a Sun in each thirty degrees, on the
// printed page's world map.
TEST_F(Grid, LineSignsKeepClearOfTheDegreesAlongTheEdges) {
  const MapWindow world{-180, 180, 85, -60};
  ACMapView view = ViewOf(world, 18000, 7250);
  view.grid = true;
  for (int sun = 0; sun < 360; sun += 30) {
    SCOPED_TRACE(sun);
    const ACLines lines = PlanetLines(sun);
    RecordingDc dc, measure;
    dc.SetMapMode(platform::MapMode::HiMetric);
    maps_.Map(0).DrawGrid(dc, view);
    const std::size_t degrees = CallsOf(dc, RecordedCall::Text).size();
    ASSERT_GT(degrees, 0u);
    maps_.Map(0).DrawLineSigns(dc, world, view, lines);
    const std::vector<testing_support::TextBox> boxes = testing_support::PageTextBoxes(dc, measure);
    ASSERT_GT(boxes.size(), degrees);
    for (std::size_t i = 0; i < degrees; ++i)
      for (std::size_t j = degrees; j < boxes.size(); ++j) {
        // A number with a quarter of its height of room round it.
        const Rect& n = boxes[i].box;
        const int room = (n.top - n.bottom) / 4;
        const Rect a{n.left - room, n.top + room, n.right + room, n.bottom - room};
        const Rect& b = boxes[j].box;
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top)
            << "sign " << boxes[j].text << " at the degrees " << boxes[i].text;
      }
  }
}

}  // namespace

// On paper the grid's degrees stand outside the map (where the lines are clipped to) inside the
// printed frame, the grid's lines and the signs inside it, and nothing inside keeps room for them.
TEST_F(Grid, OnPaperTheDegreesStandOutsideTheMap) {
  const MapWindow world{-180, 180, 85, -60};
  RecordingDc dc(600, true), measure;
  dc.SetMapMode(platform::MapMode::HiMetric);
  ACMapView view = ViewOf(world, 0, 0);
  view.geometry.frame = LayoutPrintFrame({1500, 1500, 1000, 1500}, world, 0,
                                         GridLabelSize(dc, kPrintedMapHeight - 1500));
  view.grid = view.gridOutside = true;
  EXPECT_EQ(GridLabelMargin(dc, view), (platform::Size{}));
  maps_.Map(0).DrawGrid(dc, view);
  const std::size_t degrees = CallsOf(dc, RecordedCall::Text).size();
  maps_.Map(0).DrawLineSigns(dc, world, view, PlanetLines(100));
  const Rect a = view.geometry.MapArea();
  const MapFrame& f = view.geometry.frame;
  const Rect page{f.origin.x, f.origin.y, f.origin.x + f.totalWidth, f.origin.y - f.totalHeight};
  const auto within = [](const Rect& r, const Rect& in) {
    return r.left >= in.left && r.right <= in.right && r.top <= in.top && r.bottom >= in.bottom;
  };
  for (const RecordedCall& line : CallsOf(dc, RecordedCall::Line))
    EXPECT_TRUE(
        within({line.points[0].x, line.points[0].y, line.points[1].x, line.points[1].y}, a));
  const std::vector<testing_support::TextBox> boxes = testing_support::PageTextBoxes(dc, measure);
  ASSERT_GT(boxes.size(), degrees);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(RectsOverlap(boxes[i].box, a), i >= degrees) << boxes[i].text;
    EXPECT_TRUE(within(boxes[i].box, page)) << boxes[i].text;
  }
}

namespace {

// Whether the segment passes through the box, by points a hundredth of its length apart.
bool SegmentInBox(const LineSegment& s, const SignBox& b) {
  for (double t = 0; t <= 1.0; t += 0.01) {
    const double x = s.lon1 + (s.lon2 - s.lon1) * t, y = s.lat1 + (s.lat2 - s.lat1) * t;
    if (b.west <= x && x <= b.east && b.south <= y && y <= b.north) return true;
  }
  return false;
}

// A line is in a sign's way where its segment passes the box, not where the segment's bounding
// box meets it: a box in the corner of a steep segment's bounding box is clear of it.
TEST(LineSigns, ASegmentMeetsABoxWhereItPassesIt) {
  const MapWindow world{-180, 180, 85, -60};
  const ACLines lines = SunLines(280.0);
  SignObstacles obstacles;
  obstacles.Reset(world, 2.0, 2.0);
  obstacles.AddLines(lines, 5);
  const std::vector<LineSegment> segments = lines.CollectSegments(world, 5);
  const auto steep = std::find_if(segments.begin(), segments.end(), [](const LineSegment& s) {
    return s.line == 0 && s.lon1 > 40 && s.lon1 < 120 && s.lon1 != s.lon2 &&
           std::abs(s.lat2 - s.lat1) > 2.0;
  });
  ASSERT_NE(steep, segments.end());
  const LineSegment& s = *steep;
  const double r = 0.1 * std::abs(s.lat2 - s.lat1);  // the half side of the boxes
  // A box at a corner of the segment's bounding box, off the segment, and one on its middle.
  for (const auto& [lon, lat, meets] :
       {std::tuple{s.lon1, s.lat2, false}, {(s.lon1 + s.lon2) / 2, (s.lat1 + s.lat2) / 2, true}}) {
    const SignBox box{lon - r, lon + r, lat + r, lat - r};
    EXPECT_EQ(obstacles.Count(box, SignObstacles::Owner(1, 'A')), meets ? 1 : 0) << meets;
    EXPECT_EQ(obstacles.Meets(box, SignObstacles::Owner(0, 'A')), meets) << meets;
  }
}

// The signs of the ten planets' lines of one chart on the world map, with a coast of outline
// cells near 65 W south of the equator: every sign stands where no other line and no coast cell
// reaches its ink, or on a ground; some find a clear place.
TEST(LineSigns, ClearOfOtherLinesAndCoastsOrOnAGround) {
  const MapWindow world{-180, 180, 85, -60};
  for (const double sun : {0, 100, 200, 290}) {
    SCOPED_TRACE(sun);
    ACLines lines = PlanetLines(sun);
    lines.SetTwoCharts(false);
    SignLayout layout = LayoutOf(world, 145.0 / 23, 145.0 / 23);
    layout.inkGlyph = 0.5 * layout.w;
    layout.inkName = 1.2 * layout.w;
    layout.inkDown = layout.h;
    layout.obstacles.Reset(world, layout.w, layout.h);
    layout.obstacles.AddLines(lines, 5);
    std::vector<SignBox> coast;
    for (double lat = -55; sun != 200 && lat < 0; lat += 0.5)
      coast.push_back({-65 + 5 * std::sin(lat / 7), -64.5 + 5 * std::sin(lat / 7), lat + 0.5, lat});
    for (const SignBox& cell : coast) layout.obstacles.AddCell(cell);
    const std::vector<LineSegment> segments = lines.CollectSegments(world, 5);
    int clear = 0;
    for (const PlacedSign& s : ACMap::PlaceLineSigns(lines, layout)) {
      const SignBox ink = layout.InkAt(s.longitude, s.latitude);
      std::string under;
      for (const LineSegment& seg : segments) {
        const bool meridian = seg.lon1 == seg.lon2 && seg.lat1 == world.north;
        const bool own =
            seg.line == s.line &&
            (s.kind == 'A' || s.kind == 'D' ? !meridian : meridian && seg.lon1 == s.longitude);
        if (!own && SegmentInBox(seg, ink)) under = "line " + std::to_string(seg.line);
      }
      for (const SignBox& c : coast)
        if (c.west < ink.east && ink.west < c.east && c.south < ink.north && ink.south < c.north)
          under = "the coast";
      EXPECT_TRUE(under.empty() || s.opaque)
          << s.point << s.kind << " at " << s.longitude << " " << s.latitude << " under " << under;
      clear += !s.opaque;
    }
    EXPECT_GT(clear, 0);
  }
}

// Where every square of the map is an outline cell, each glyph follows a box of the land colour
// round its ink.
TEST(LineSigns, WithoutAClearPlaceOnTheColourUnderOrOnPaperWhenTheSignIsOfThatColour) {
  // ViewOf draws the Sun's signs in {10, 0, 0}; a land of nearly that colour would hide them.
  const struct {
    platform::Color land, ground;
  } rows[] = {{{200, 200, 9}, {200, 200, 9}}, {{9, 9, 9}, platform::kWhite}};
  for (const auto& row : rows) {
    ACMapView view = ViewOf({-180, 180, 85, -60}, 36000, 14500);
    view.colours.land = row.land;
    CellRects cells;
    for (int x = 0; x < 36000; x += 500)
      for (int y = 0; y > -14500; y -= 500) cells.borders.push_back(Rect{x, y, x + 500, y - 500});
    view.cells = &cells;
    RecordingDc dc;
    ACMap().DrawLineSigns(dc, view.geometry.window, view, SunLines(250.0));
    int glyphs = 0;
    for (std::size_t i = 1; i < dc.Calls().size(); ++i) {
      const RecordedCall& c = dc.Calls()[i];
      if (c.kind != RecordedCall::Text || !c.font.IsGlyphFace()) continue;
      const RecordedCall& ground = dc.Calls()[i - 1];
      ASSERT_EQ(ground.kind, RecordedCall::FillRect);
      EXPECT_EQ(ground.color, row.ground);
      const Rect r{ground.points[0].x, ground.points[0].y, ground.points[1].x, ground.points[1].y};
      EXPECT_TRUE(PointInRect(c.points[0].x, c.points[0].y - 1, r));
      ++glyphs;
    }
    EXPECT_GT(glyphs, 0);
  }
}

}  // namespace
