// The plotting base through the Qt device context: a year of the graphic ephemeris drawn on the
// screen layout and on portrait and landscape pages, written as PNG (and the pages as PDF) for a
// person to look at; the curves keep their colours on the screen and in colour print and come out
// black in monochrome print.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <string>

#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/glyph_file.h"
#include "foundation/drawing/palette.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/page_output.h"
#include "support/test_support.h"
#include "views/core/graph_ephem.h"

namespace {

using E = cfg::GraphicEphemerisSettings;
constexpr int kDpi = 100;
constexpr int kSunColour = 12;  // red

const Ephemeris& TablesEphemeris() {
  static const Ephemeris e = [] {
    Ephemeris loaded;
    EXPECT_TRUE(loaded.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

// The frame, the date scale, the sign glyphs on the y axis and the curves.
void Draw(RGraphEphem& g, platform::Dc& dc) {
  const GraphLayout& l = g.Current();
  g.DrawAxes(dc);
  g.DrawDateScale(dc, 1, g.FirstMoment(), 0, 7, 0);
  for (int sign = 0; sign < 12; ++sign) {
    const int y = l.AxisY() + l.innerHeight * sign / 12 + l.innerHeight / 14;
    g.DrawSignGlyph(dc, l.leftMargin / 5, y, sign, 1400);
    const int line = l.AxisY() + l.innerHeight * (sign + 1) / 12;
    g.DrawLine(dc, l.leftMargin, line, l.pageWidth - l.rightMargin, line, 2, 1,
               platform::Color{7, 0, 0});
  }
  g.DrawCurves(dc);
  g.PutText(dc, l.leftMargin, -l.topMargin / 10, std::to_string(g.FirstMoment().date.Year()));
}

// Pixels near the colour of palette number n.
int CountColour(const QImage& image, int n) {
  const platform::Color c = ColorByIndex(n);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      count += std::abs(p.red() - c.r) < 30 && std::abs(p.green() - c.g) < 30 &&
               std::abs(p.blue() - c.b) < 30;
    }
  return count;
}

class GraphPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::InstallShippedGlyphs();
    cfg::ByteBlock& b = config_.graphicEphemeris;
    b.Set(E::kDay, std::int16_t{1});
    b.Set(E::kMonth, std::int16_t{1});
    b.Set(E::kYear, std::int16_t{2024});
    b.Set(E::kPeriod, std::int16_t{3});  // six months, the Moon included
    b.Set(E::kCurveColour[0], static_cast<std::uint16_t>(kSunColour));
    b.Set(E::kRotationCorrection, std::uint16_t{1});  // landscape labels turned by 270 degrees
    graph_.SetUp(config_, platform::kPageWidthHiMetric, -RGraph::kPortraitGraphHeight);
    graph_.Calculate(TablesEphemeris());
  }

  // Renders the graph in layout `mode`, keeps the picture and returns it.
  QImage Picture(int mode, const std::string& name) {
    if (mode == RGraph::kLayoutScreen)
      graph_.SetScreenMode();
    else
      graph_.SetPrintMode(mode);
    graph_.DefineArea(platform::kPageWidthHiMetric, -RGraph::kPortraitGraphHeight);
    const auto render = [this](platform::Dc& dc, int) { Draw(graph_, dc); };
    const auto png = folder_ / (name + ".png");
    EXPECT_TRUE(platform::WritePagePng(png, 1, kDpi, render).ok());
    testing_support::ShowToPerson(png, name);
    if (mode != RGraph::kLayoutScreen) {
      const auto pdf = folder_ / (name + ".pdf");
      EXPECT_TRUE(platform::WritePdf(pdf, name, 1, render).ok());
      testing_support::ShowToPerson(pdf, name);
    }
    return platform::RenderPageImage(1, kDpi, render);
  }

  testing_support::TempFolder folder_;
  Configuration config_;
  RGraphEphem graph_;
};

TEST_F(GraphPicture, CurvesInColourOnScreenAndInColourPrintBlackInMonochrome) {
  ASSERT_EQ(graph_.pointCount, 61);
  EXPECT_GT(CountColour(Picture(RGraph::kLayoutScreen, "graph_screen"), kSunColour), 100);
  config_.colourPrinting = 1;
  graph_.UsePrintSettings(config_);
  EXPECT_GT(CountColour(Picture(RGraph::kLayoutLandscape, "graph_landscape"), kSunColour), 100);
  config_.colourPrinting = 0;  // monochrome: the curves come out black
  graph_.UsePrintSettings(config_);
  const QImage page = Picture(RGraph::kLayoutPortrait, "graph_portrait");
  EXPECT_EQ(CountColour(page, kSunColour), 0);
  EXPECT_GT(CountColour(page, 0), 1000);  // black ink of the axes, the scale and the curves
}

}  // namespace
