// The wheel drawn on a recording device context: glyph boxes of crowds, the hit test, the aspect
// lines the filter lets through and their look, degrees, retrograde marks and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"
#include "shell/core/wheel/wheel.h"
#include "support/test_support.h"
#include "wheel_test_charts.h"

namespace {

using platform::MapMode;
using platform::RecordedCall;
using platform::RecordingDc;

constexpr double kPi = 3.14159265358979323846;

// A square area of 200 mm in MM_HIMETRIC (y up, below the origin) or 800 pixels in MM_TEXT.
platform::Rect AreaFor(MapMode mode) {
  return mode == MapMode::HiMetric ? platform::Rect{0, 0, 20000, -20000}
                                   : platform::Rect{0, 0, 800, 800};
}

// True when two boxes share more than an edge (either vertical order of top and bottom).
bool BoxesOverlap(const platform::Rect& a, const platform::Rect& b) {
  const int aTop = std::max(a.top, a.bottom), aBottom = std::min(a.top, a.bottom);
  const int bTop = std::max(b.top, b.bottom), bBottom = std::min(b.top, b.bottom);
  return std::min(a.right, b.right) > std::max(a.left, b.left) &&
         std::min(aTop, bTop) > std::max(aBottom, bBottom);
}

// Aspect with orbs the same in every column.
Aspect MakeAspect(double angle, double orb, double exactOrb, int type, int major, int colour,
                  int exactColour, int style, int thickness) {
  Aspect a;
  a.angle = angle;
  a.orbs = {orb, orb, orb, orb, orb, exactOrb};
  a.abbreviation = "x";
  a.color = static_cast<std::uint16_t>(colour);
  a.exactColor = static_cast<std::uint16_t>(exactColour);
  a.type = static_cast<std::uint8_t>(type);
  a.major = static_cast<std::uint8_t>(major);
  a.lineStyle = static_cast<std::uint8_t>(style);
  a.thickness = static_cast<std::uint8_t>(thickness);
  return a;
}

class WheelDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    systems_.SetFolder(folder_.Path());
    AspectSystem model;
    // Conjunction (other, major), square (tense, major), semisextile (harmonious, minor, dashed
    // and thick), each with its own colours.
    model.AddAspect(MakeAspect(0.0, 8.0, 1.0, kAspectOther, 1, 1, 9, 0, 0));
    model.AddAspect(MakeAspect(90.0, 6.0, 1.0, kAspectTense, 1, 4, 12, 0, 0));
    model.AddAspect(MakeAspect(30.0, 2.0, 0.5, kAspectHarmonious, 0, 2, 10, 1, 1));
    ASSERT_EQ(systems_.AddSystem("TEST", model), 0);
  }

  // Sun 10, Moon 103, Mercury 40.2, Venus 10.5: Sun-Moon square (3 off), Sun-Mercury semisextile
  // (0.2 off: exact), Sun-Venus conjunction (exact), Moon-Mercury nothing (62.8), Moon-Venus square
  // (2.5 off), Mercury-Venus semisextile (0.3 off: exact).
  static Chart AspectChart() {
    return wheel_test::ChartWith({{0, 10.0}, {1, 103.0}, {2, 40.2}, {3, 10.5}});
  }

  // The lines drawn between two points of the centre circle: the aspect lines.
  std::vector<RecordedCall> AspectLines(const RecordingDc& dc, const Wheel& wheel) const {
    const double r = wheel.Geometry(cfg::WheelSet::kCentreCircleRadius) * wheel.Radius();
    const auto onCircle = [&](const platform::Point& p) {
      return std::fabs(std::hypot(p.x - wheel.CentreX(), p.y - wheel.CentreY()) - r) < 2.0;
    };
    std::vector<RecordedCall> lines;
    for (const RecordedCall& call : dc.Calls())
      if (call.kind == RecordedCall::Line && onCircle(call.points[0]) && onCircle(call.points[1]))
        lines.push_back(call);
    return lines;
  }

  testing_support::TempFolder folder_;
  Aspectarium systems_;
  Configuration config_;
};

// --- glyph placement on the drawn wheel ------------------------------------------------------

TEST_F(WheelDrawing, CrowdedGlyphBoxesNeverOverlap) {
  struct Case {
    const char* name;
    MapMode mode;
    bool printing;
    bool allPoints;  // every one of the 34 points within 10 degrees
    int wheelType;
  };
  const Case cases[] = {
      {"six in 10 degrees, screen, 0.01 mm", MapMode::HiMetric, false, false, 0},
      {"six in 10 degrees, screen, pixels", MapMode::Text, false, false, 0},
      {"six in 10 degrees, printed", MapMode::HiMetric, true, false, 0},
      {"six in 10 degrees, equal houses", MapMode::HiMetric, false, false, 1},
      {"thirty-four in 10 degrees", MapMode::HiMetric, false, true, 0},
  };
  for (const Case& c : cases) {
    Configuration config;
    config.wheel.wheelType = c.wheelType;
    Chart chart =
        wheel_test::ChartWith({{0, 10.0}, {1, 12.0}, {2, 13.5}, {3, 15.0}, {4, 17.0}, {5, 19.5}});
    chart.points[2].status = 'R';
    if (c.allPoints) {
      for (int i = 0; i < Configuration::kObjectCount; ++i) {
        config.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
        chart.points[static_cast<std::size_t>(i)].longitude.Set(10.0 + i * 10.0 / 33.0);
      }
    }
    RecordingDc dc(96.0, c.printing);
    dc.SetMapMode(c.mode);
    WheelWithAspects wheel(config, systems_);
    wheel.Draw(dc, chart, AreaFor(c.mode));

    const std::vector<wheel::PlacedGlyph>& glyphs = wheel.Glyphs();
    ASSERT_EQ(glyphs.size(), c.allPoints ? 34u : 6u) << c.name;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      for (std::size_t j = i + 1; j < glyphs.size(); ++j) {
        EXPECT_FALSE(BoxesOverlap(glyphs[i].box, glyphs[j].box))
            << c.name << ": points " << glyphs[i].point << " and " << glyphs[j].point;
      }
    }
    // Spread in zodiac order: counter-clockwise on the page, so each next point further round.
    for (std::size_t i = 0; i + 1 < glyphs.size(); ++i) {
      double step = glyphs[i + 1].angle - glyphs[i].angle;
      if (step < 0.0) step += 360.0;
      EXPECT_GT(step, 0.0) << c.name << " " << i;
      EXPECT_LT(step, 180.0) << c.name << " " << i;
    }
  }
}

// A crowd moved off its true place keeps a tick there and a pointer to the glyph.
TEST_F(WheelDrawing, MovedGlyphsKeepATickAndAPointerToTheirTruePlace) {
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  WheelWithAspects wheel(config_, systems_);
  wheel.Draw(dc, wheel_test::ChartWith({{0, 10.0}, {1, 11.0}, {6, 200.0}}),
             AreaFor(MapMode::HiMetric));
  const double tickFrom = wheel.Geometry(cfg::WheelSet::kHouseRingInner) * wheel.Radius();
  const double tickTo =
      tickFrom - wheel.Geometry(cfg::WheelSet::kPlanetTickLength) * wheel.Radius();
  int ticks = 0, pointers = 0;
  for (const RecordedCall& call : dc.Calls()) {
    if (call.kind != RecordedCall::Line) continue;
    const double r0 =
        std::hypot(call.points[0].x - wheel.CentreX(), call.points[0].y - wheel.CentreY());
    const double r1 =
        std::hypot(call.points[1].x - wheel.CentreX(), call.points[1].y - wheel.CentreY());
    if (std::fabs(r0 - tickFrom) < 2.0 && std::fabs(r1 - tickTo) < 2.0) ++ticks;
    if (std::fabs(r0 - tickTo) < 2.0 && r1 < tickTo - 2.0) ++pointers;
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(pointers, 2);  // the Sun and the Moon moved apart; Saturn stands where it is
}

// --- hit test -------------------------------------------------------------------------------

TEST_F(WheelDrawing, HitTestFindsThePointUnderTheClick) {
  for (const MapMode mode : {MapMode::HiMetric, MapMode::Text}) {
    RecordingDc dc;
    dc.SetMapMode(mode);
    WheelWithAspects wheel(config_, systems_);
    const Chart chart = wheel_test::KnownChart();
    wheel.Draw(dc, chart, AreaFor(mode));
    const double up = mode == MapMode::HiMetric ? 1.0 : -1.0;
    const auto at = [&](double angle, double fraction) {
      const double r = fraction * wheel.Radius();
      return platform::Point{
          static_cast<int>(std::lround(wheel.CentreX() + r * std::cos(angle * kPi / 180.0))),
          static_cast<int>(std::lround(wheel.CentreY() + up * r * std::sin(angle * kPi / 180.0)))};
    };
    const double ring = wheel.Geometry(cfg::WheelSet::kPlanetGlyphRadius);
    // The Moon (232.75) stands alone: ASC left, counter-clockwise, 77.35 degrees after the ASC.
    EXPECT_EQ(wheel.HitTest(at(257.35, ring)).point, 1);
    EXPECT_EQ(wheel.HitTest(at(257.35, ring)).chart, 0);
    // Chiron (112.4) alone too, at 137.0; a click a little beside the glyph's middle still hits.
    const platform::Point chiron = at(137.0, ring);
    const int nudge =
        static_cast<int>(0.2 * wheel.Geometry(cfg::WheelSet::kPlanetGlyphSize) * wheel.Radius());
    EXPECT_EQ(wheel.HitTest({chiron.x + nudge, chiron.y - nudge}).point, 10);
    // Nothing at the centre, on the sign ring or where no planet stands (the ASC's place).
    EXPECT_FALSE(wheel.HitTest(at(0.0, 0.0)).Found());
    EXPECT_FALSE(wheel.HitTest(at(90.0, 0.93)).Found());
    EXPECT_FALSE(wheel.HitTest(at(180.0, ring)).Found());
    // Every drawn glyph answers for itself at its box's middle.
    for (const wheel::PlacedGlyph& g : wheel.Glyphs()) {
      const platform::Point middle{(g.box.left + g.box.right) / 2, (g.box.top + g.box.bottom) / 2};
      EXPECT_EQ(wheel.HitTest(middle).point, g.point);
    }
  }
}

TEST_F(WheelDrawing, HitTestTellsTheOuterChartOfTwo) {
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  Wheel2 wheel(config_, systems_);
  const Chart inner = wheel_test::ChartWith({{0, 10.0}});
  const Chart outer = wheel_test::ChartWith({{0, 100.0}});
  wheel.Draw(dc, inner, &outer, AreaFor(MapMode::HiMetric));
  // The outer Sun at 100: 180 + (100 - 155.4) = 124.6 degrees, on the outer planet ring.
  const double r = wheel.Geometry(cfg::WheelSet::kOuterPlanetGlyphRadius) * wheel.Radius();
  const platform::Point p{
      static_cast<int>(std::lround(wheel.CentreX() + r * std::cos(124.6 * kPi / 180.0))),
      static_cast<int>(std::lround(wheel.CentreY() + r * std::sin(124.6 * kPi / 180.0)))};
  const wheel::WheelHit hit = wheel.HitTest(p);
  EXPECT_EQ(hit.chart, 1);
  EXPECT_EQ(hit.point, 0);
}

// --- aspects ---------------------------------------------------------------------------------

TEST_F(WheelDrawing, AspectsFollowTheFilter) {
  struct Case {
    const char* name;
    void (*change)(Configuration&);
    int expected;  // aspect lines
  };
  const Case cases[] = {
      {"everything", [](Configuration&) {}, 5},
      {"no tense", [](Configuration& c) { c.aspectFilter.tense = 0; }, 3},
      {"no harmonious", [](Configuration& c) { c.aspectFilter.harmonious = 0; }, 3},
      {"no other", [](Configuration& c) { c.aspectFilter.other = 0; }, 4},
      {"no minor", [](Configuration& c) { c.aspectFilter.minor = 0; }, 3},
      {"no major", [](Configuration& c) { c.aspectFilter.major = 0; }, 2},
      {"no exact", [](Configuration& c) { c.aspectFilter.exact = 0; }, 2},
      {"no inexact", [](Configuration& c) { c.aspectFilter.inexact = 0; }, 3},
      {"Venus not drawn", [](Configuration& c) { c.objectStrings[0][3] = 'N'; }, 2},
      {"the Moon without aspect switch 1", [](Configuration& c) { c.objectStrings[1][1] = 'N'; },
       3},
      {"no creative and karmic: nothing of these",
       [](Configuration& c) {
         c.aspectFilter.creative = 0;
         c.aspectFilter.karmic = 0;
       },
       5},
  };
  for (const Case& c : cases) {
    Configuration config;
    c.change(config);
    RecordingDc dc;
    dc.SetMapMode(MapMode::HiMetric);
    WheelWithAspects wheel(config, systems_);
    wheel.Draw(dc, AspectChart(), AreaFor(MapMode::HiMetric));
    EXPECT_EQ(AspectLines(dc, wheel).size(), static_cast<std::size_t>(c.expected)) << c.name;
  }
  // The wheel without aspects draws none.
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  Wheel plain(config_, systems_);
  plain.Draw(dc, AspectChart(), AreaFor(MapMode::HiMetric));
  const double r = plain.Geometry(cfg::WheelSet::kCentreCircleRadius) * plain.Radius();
  int chords = 0;
  for (const RecordedCall& call : dc.Calls()) {
    if (call.kind != RecordedCall::Line) continue;
    const double r0 =
        std::hypot(call.points[0].x - plain.CentreX(), call.points[0].y - plain.CentreY());
    const double r1 =
        std::hypot(call.points[1].x - plain.CentreX(), call.points[1].y - plain.CentreY());
    chords += std::fabs(r0 - r) < 2.0 && std::fabs(r1 - r) < 2.0;
  }
  EXPECT_EQ(chords, 0);
}

// Colour of the aspect (exact colour when exact); dashed and thick only as the filter's bits for
// the device say (bit 0 the screen, bit 1 the printer).
TEST_F(WheelDrawing, AspectLinesTakeColourStyleAndThicknessPerDevice) {
  struct Case {
    const char* name;
    int dashedBits, thickBits;
    bool printing;
    bool dashed, thick;  // of the semisextile lines
  };
  const Case cases[] = {
      {"screen, no bits", 0, 0, false, false, false},
      {"screen, screen bits", 1, 1, false, true, true},
      {"screen, printer bits", 2, 2, false, false, false},
      {"printer, printer bits", 2, 2, true, true, true},
      {"printer, screen bits", 1, 1, true, false, false},
      {"printer, both bits, dashed only", 3, 0, true, true, false},
  };
  for (const Case& c : cases) {
    Configuration config;
    config.colourPrinting = 1;
    config.aspectFilter.dashedLines = c.dashedBits;
    config.aspectFilter.thickLines = c.thickBits;
    RecordingDc dc(96.0, c.printing);
    dc.SetMapMode(MapMode::HiMetric);
    WheelWithAspects wheel(config, systems_);
    wheel.Draw(dc, AspectChart(), AreaFor(MapMode::HiMetric));
    const std::vector<RecordedCall> lines = AspectLines(dc, wheel);
    ASSERT_EQ(lines.size(), 5u) << c.name;
    int semisextiles = 0;
    int thin = -1;  // the width of the thin lines (the squares and the conjunction)
    for (const RecordedCall& line : lines) {
      if (line.pen.color != ColorByIndex(10)) {
        EXPECT_TRUE(line.pen.color == ColorByIndex(4) || line.pen.color == ColorByIndex(9))
            << c.name;
        EXPECT_EQ(line.pen.style, platform::PenStyle::Solid) << c.name;
        thin = line.pen.width;
      }
    }
    for (const RecordedCall& line : lines) {
      // Exact semisextiles are drawn in their exact colour 10; the squares in 4; the exact
      // conjunction in 9.
      if (line.pen.color == ColorByIndex(10)) {
        ++semisextiles;
        EXPECT_EQ(line.pen.style, c.dashed ? platform::PenStyle::Dash : platform::PenStyle::Solid)
            << c.name;
        EXPECT_EQ(line.pen.width > thin, c.thick) << c.name;
        if (!c.thick) {
          EXPECT_EQ(line.pen.width, thin) << c.name;
        }
      }
    }
    // Thin lines are a device pixel on the screen, visible lines on paper.
    EXPECT_EQ(thin > 0, c.printing) << c.name;
    EXPECT_EQ(semisextiles, 2) << c.name;
  }
}

TEST_F(WheelDrawing, TwoChartsDrawTheAspectsOfTheOverlayChoice) {
  // Inner: the aspect chart (5 aspects). Outer: Sun 10.2 and Moon 200.0, no aspect between them
  // (170.2 apart).
  const Chart inner = AspectChart();
  const Chart outer = wheel_test::ChartWith({{0, 10.2}, {1, 200.0}});
  struct Case {
    std::optional<int> choice;
    int fromConfig;
    std::size_t expected;
  };
  // Between: the outer Sun with the inner Sun (0.2, conjunction), Venus (0.3, conjunction), the
  // Moon (92.8, square) and Mercury (30.0, semisextile); the outer Moon with nothing (190, 97,
  // 159.8 and 189.5 apart): 4.
  const Case cases[] = {
      {0, 2, 5u},           {1, 2, 0u}, {2, 0, 4u}, {std::nullopt, 0, 5u}, {std::nullopt, 2, 4u},
      {std::nullopt, 1, 0u}};
  for (const Case& c : cases) {
    Configuration config;
    config.aspectFilter.overlay = c.fromConfig;
    RecordingDc dc;
    dc.SetMapMode(MapMode::HiMetric);
    Wheel2 wheel(config, systems_);
    wheel.SetOverlayChoice(c.choice);
    wheel.Draw(dc, inner, &outer, AreaFor(MapMode::HiMetric));
    EXPECT_EQ(AspectLines(dc, wheel).size(), c.expected)
        << (c.choice ? *c.choice : -1) << " / " << c.fromConfig;
  }
}

// --- degrees, retrograde marks, shown points and colours --------------------------------------

int CountTexts(const RecordingDc& dc, const std::function<bool(const RecordedCall&)>& take) {
  int n = 0;
  for (const RecordedCall& call : dc.Calls()) n += call.kind == RecordedCall::Text && take(call);
  return n;
}

TEST_F(WheelDrawing, DegreesRetrogradeMarksAndHiddenPoints) {
  struct Case {
    int degreesShown;
    bool printing;
    int degreeTexts;
  };
  // The known chart shows 15 points; 4 of them retrograde.
  const Case cases[] = {{0, false, 0}, {0, true, 0},   {1, false, 0},
                        {1, true, 15}, {2, false, 15}, {2, true, 15}};
  for (const Case& c : cases) {
    Configuration config;
    config.wheel.degreesShown = c.degreesShown;
    RecordingDc dc(96.0, c.printing);
    dc.SetMapMode(MapMode::HiMetric);
    WheelWithAspects wheel(config, systems_);
    wheel.Draw(dc, wheel_test::KnownChart(), AreaFor(MapMode::HiMetric));
    EXPECT_EQ(CountTexts(dc, [](const RecordedCall& t) { return t.text.back() == '\xB0'; }),
              c.degreeTexts)
        << c.degreesShown << " " << c.printing;
    EXPECT_EQ(CountTexts(dc, [](const RecordedCall& t) { return t.text == "@"; }), 4);
  }
  // The Sun 15°30' and Mercury 3°12' with their minutes.
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  WheelWithAspects wheel(config_, systems_);
  wheel.Draw(dc, wheel_test::KnownChart(), AreaFor(MapMode::HiMetric));
  const std::vector<std::string> texts = dc.Texts();
  for (const char* expected : {"15\xB0", "30'", "3\xB0", "12'", "22\xB0", "45'"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;

  // Hidden: Uranus 'N' is neither drawn nor hit.
  Configuration hidden;
  hidden.objectStrings[Configuration::kShownString][7] = 'N';
  RecordingDc dc2;
  dc2.SetMapMode(MapMode::HiMetric);
  WheelWithAspects wheel2(hidden, systems_);
  wheel2.Draw(dc2, wheel_test::KnownChart(), AreaFor(MapMode::HiMetric));
  EXPECT_EQ(
      CountTexts(dc2, [](const RecordedCall& t) { return t.text == std::string(1, 'M' + 7); }), 0);
  EXPECT_EQ(
      CountTexts(dc2, [](const RecordedCall& t) { return t.text == std::string(1, 'M' + 0); }), 1);
  EXPECT_EQ(wheel2.Glyphs().size(), 14u);
}

// Two charts: the outer chart's points carry their degrees too, in the band between its glyphs
// and the house ring, clear of both.
TEST_F(WheelDrawing, TwoChartsLabelTheOuterRingWithDegrees) {
  Configuration config;
  config.wheel.degreesShown = 2;
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  Wheel2 wheel(config, systems_);
  const Chart outer = wheel_test::ChartWith({{0, 200.0}, {1, 10.5}, {4, 95.0}});
  wheel.Draw(dc, wheel_test::KnownChart(), &outer, AreaFor(MapMode::HiMetric));
  const double houseRing = wheel.Geometry(cfg::WheelSet::kHouseRingOuter) * wheel.Radius();
  const double glyphs = wheel.Geometry(cfg::WheelSet::kOuterPlanetGlyphRadius) * wheel.Radius();
  std::vector<std::string> outerTexts;  // the outer Sun at 20 Libra, Moon 10°30' Aries, Mars 5°
  for (const RecordedCall& t : dc.Calls()) {
    if (t.kind != RecordedCall::Text || t.points.empty() || t.text.size() < 2) continue;
    const double r = std::hypot(t.points[0].x - wheel.CentreX(), t.points[0].y - wheel.CentreY());
    if (r > houseRing && r < glyphs) outerTexts.push_back(t.text);
  }
  EXPECT_EQ(outerTexts,
            (std::vector<std::string>{"20\xB0", "00'", "10\xB0", "30'", "5\xB0", "00'"}));
}

TEST_F(WheelDrawing, ColoursFromTheScreenOrPrintTable) {
  struct Case {
    const char* name;
    bool printing;
    int colourPrinting;
    platform::Color planet, sign;
  };
  Configuration base;
  base.screenColours[wheel::kPlanetGlyphs] = 9;
  base.screenColours[wheel::kInnerGlyphs] = 2;
  base.printColours[wheel::kPlanetGlyphs] = 12;
  base.printColours[wheel::kInnerGlyphs] = 5;
  const Case cases[] = {
      {"screen", false, 0, ColorByIndex(9), ColorByIndex(2)},
      {"colour print", true, 1, ColorByIndex(12), ColorByIndex(5)},
      {"black and white print", true, 0, platform::kBlack, platform::kBlack},
  };
  for (const Case& c : cases) {
    Configuration config = base;
    config.colourPrinting = c.colourPrinting;
    RecordingDc dc(96.0, c.printing);
    dc.SetMapMode(MapMode::HiMetric);
    Wheel wheel(config, systems_);
    wheel.Draw(dc, wheel_test::ChartWith({{0, 100.0}}), AreaFor(MapMode::HiMetric));
    int planets = 0, signs = 0;
    for (const RecordedCall& call : dc.Calls()) {
      if (call.kind != RecordedCall::Text || !call.font.IsGlyphFace()) continue;
      if (call.text == "M") {
        ++planets;
        EXPECT_EQ(call.color, c.planet) << c.name;
      }
      if (call.text[0] >= 'A' && call.text[0] <= 'L') {
        ++signs;
        EXPECT_EQ(call.color, c.sign) << c.name;
      }
    }
    EXPECT_EQ(planets, 1) << c.name;
    EXPECT_EQ(signs, 12) << c.name;
  }
}

}  // namespace

namespace {

// Damaged data draws what it can: points and cusps that are not numbers are left out, a damaged
// geometry set and an empty area draw no glyph boxes out of nothing.
TEST_F(WheelDrawing, DamagedChartsAndGeometryDrawWhatTheyCan) {
  Chart chart = wheel_test::ChartWith({{0, 10.0}, {1, 100.0}, {2, 20.0}});
  chart.points[1].longitude.Set(std::nan(""));
  chart.points[2].longitude.Set(std::numeric_limits<double>::infinity());
  chart.cusps[4].Set(std::nan(""));
  chart.cusps[0].Set(std::numeric_limits<double>::infinity());
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  WheelWithAspects wheel(config_, systems_);
  wheel.Draw(dc, chart, AreaFor(MapMode::HiMetric));
  ASSERT_EQ(wheel.Glyphs().size(), 1u);
  EXPECT_EQ(wheel.Glyphs()[0].point, 0);
  // No house numbers without usable cusps; ASC left falls back to 0 Aries at the left.
  EXPECT_EQ(CountTexts(dc,
                       [](const RecordedCall& t) {
                         return t.font.IsGlyphFace() && t.text[0] >= 'o' && t.text[0] <= 'z';
                       }),
            0);
  EXPECT_NEAR(wheel.Glyphs()[0].trueAngle, 190.0, 1e-9);

  Configuration damaged;
  cfg::ByteBlock& set = damaged.wheelConstants.Set(WheelConstants::kAspectsScreen);
  set.Set(cfg::WheelSet::kPlanetGlyphRadius, std::nan(""));
  set.Set(cfg::WheelSet::kCentreCircleRadius, -5.0);
  set.Set(cfg::WheelSet::kMinimumGlyphSpacing, 1e300);
  RecordingDc dc2;
  dc2.SetMapMode(MapMode::HiMetric);
  WheelWithAspects broken(damaged, systems_);
  broken.Draw(dc2, wheel_test::KnownChart(), AreaFor(MapMode::HiMetric));
  EXPECT_TRUE(broken.Glyphs().empty());  // no planet ring to put them on

  RecordingDc dc3;
  dc3.SetMapMode(MapMode::HiMetric);
  WheelWithAspects tiny(config_, systems_);
  tiny.Draw(dc3, wheel_test::KnownChart(), platform::Rect{0, 0, 0, 0});
  EXPECT_EQ(tiny.Glyphs().size(), 15u);  // every shown point still has its place
}

}  // namespace
