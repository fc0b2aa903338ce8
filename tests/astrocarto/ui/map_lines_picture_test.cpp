// The world map with a chart's lines drawn through the Qt device context at 1200 x 800 pixels:
// the birthplace lies on the MC line of a body standing on the chart's MC.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>

#include "astro/ephemeris/coordinates.h"
#include "astrocarto/core/astrocart_map.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_file.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/qt_dc.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1200, kHeight = 800;
constexpr double kBirthLongitude = 37.62, kBirthLatitude = 55.75;  // Moscow

// Born in Moscow on 15.06.1990 at 10:30, zone +3; the Sun put on the chart's MC there.
Chart SunOnTheMc() {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(15, 6, 1990, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(10, 30, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
  std::array<double, 4> angles{};
  CalcAngles(s.moment.date.ToJulianDay(), 10.5 - 3.0, kBirthLongitude, kBirthLatitude, angles);
  chart.points[0].longitude.Set(angles[3]);  // [3] the MC
  return chart;
}

TEST(MapLinesPicture, BirthplaceLiesOnTheMcLine) {
  const fs::path data = testing_support::SourceDir() / "data";
  platform::GlyphSet glyphs;
  ASSERT_TRUE(LoadGlyphSet(data / "velm.gly", glyphs).ok());
  platform::InstallGlyphs(&glyphs);
  TOWNS towns;
  AllMaps maps;
  ASSERT_TRUE(maps.Init([&data](const std::string& name) { return data / name; }, towns).empty());
  AstroCartPage settings;
  settings.mapColours = {54, 11, 8, 1, 12, 0, 7, 1};
  settings.lineColours.fill(9);
  settings.lineColours[0] = 12;  // the Sun's lines red
  settings.speed = 3;            // 50 samples a degree
  Configuration config;
  AstroCartMap view(maps, towns);
  testing_support::RecordingProgress progress;
  ASSERT_TRUE(view.Init(settings, config, SunOnTheMc(), progress));
  ASSERT_NEAR(view.Lines().Mc(0), kBirthLongitude, 0.05);
  view.Resize(kWidth * 2540 / 96, kHeight * 2540 / 96, kWidth, kHeight);

  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::QtDc dc(painter, 96.0, 96.0, false);
    view.Paint(dc);
  }
  platform::InstallGlyphs(nullptr);
  testing_support::TempFolder folder;
  const fs::path file = folder / "astrocart_lines_world.png";
  ASSERT_TRUE(image.save(QString::fromStdString(file.string()), "PNG"));
  testing_support::ShowToPerson(file, "astrocart_lines_world");

  // The map spans 180 W .. 180 E and 85 N .. 60 S across the whole picture.
  const int x = static_cast<int>((kBirthLongitude + 180.0) / 360.0 * kWidth);
  const int y = static_cast<int>((85.0 - kBirthLatitude) / 145.0 * kHeight);
  auto redness = [&image](int px, int py) {
    const QColor c = image.pixelColor(px, py);
    return c.red() - c.green();
  };
  int best = -255;
  for (int dx = -1; dx <= 1; ++dx) best = std::max(best, redness(x + dx, y));
  EXPECT_GT(best, 100) << "the MC line at the birthplace";
  // Ten pixels either side the land shows: the line is a meridian, not a band.
  EXPECT_LT(redness(x - 10, y), 0);
  EXPECT_LT(redness(x + 10, y), 0);
}

}  // namespace
