// A picture of every shipped map as the regional maps' loader reads it: land, sea cells and runs,
// borders, the country label boxes with their names and the towns of classes 3 and 2, written as
// "map_<name>.png" for a person to look at.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "astrocarto/core/regional_maps.h"
#include "foundation/atlas/towns.h"
#include "foundation/drawing/palette.h"
#include "platform/qt/qt_text.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

constexpr int kWidth = 1200, kHeight = 800;

QColor Colour(int index) {
  const platform::Color c = ColorByIndex(index);
  return QColor(c.r, c.g, c.b);
}

// Degrees onto the picture: the map's full extent fills it.
struct Projection {
  MapWindow w;
  double X(double lon) const { return (lon - w.west) / (w.east - w.west) * kWidth; }
  double Y(double lat) const { return (w.north - lat) / (w.north - w.south) * kHeight; }
  // A cell or run from its upper left corner, on whole pixels, at least one.
  QRect Cell(double lon, double lat, double width, double height) const {
    const int x = static_cast<int>(std::floor(X(lon))), y = static_cast<int>(std::floor(Y(lat)));
    const int right = static_cast<int>(std::ceil(X(lon + width)));
    const int bottom = static_cast<int>(std::ceil(Y(lat - height)));
    return QRect(x, y, std::max(1, right - x), std::max(1, bottom - y));
  }
};

QImage Picture(const ACMap& map, const TOWNS& towns) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Colour(54));
  QPainter painter(&image);
  const Projection p{map.FullWindow()};
  const double across = map.DegreesAcross(), down = map.DegreesDown();
  for (const MapPoint& c : map.Outline2())
    painter.fillRect(p.Cell(c.x / 100.0, c.y / 100.0, across, down), Colour(11));
  for (const MapCircle& r : map.Circles())
    painter.fillRect(p.Cell(r.x / 100.0, r.y / 100.0, r.radius / 100.0, down), Colour(11));
  for (const MapPoint& c : map.Outline1())
    painter.fillRect(p.Cell(c.x / 100.0, c.y / 100.0, across, down), Colour(8));

  painter.setPen(Colour(1));
  for (const CountryLabel& c : map.Countries()) {
    const QRectF box(QPointF(p.X(c.west), p.Y(c.north)), QPointF(p.X(c.east), p.Y(c.south)));
    painter.drawRect(box);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(6, static_cast<int>(box.height() * 0.8)));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, platform::ToQt(c.name));
  }
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  painter.setFont(font);
  for (const int townClass : {2, 3}) {
    for (const std::int32_t t : map.Towns(townClass)) {
      double lat = 0, lon = 0;
      towns.GetTownDegrees(t, lat, lon);
      const QPointF at(p.X(lon), p.Y(lat));
      painter.setPen(Qt::black);
      painter.setBrush(Colour(townClass == 3 ? 12 : 14));
      painter.drawEllipse(at, townClass + 1.0, townClass + 1.0);
      if (townClass == 3)
        painter.drawText(at + QPointF(5, -3), platform::ToQt(towns.GetTownName(t)));
    }
  }
  return image;
}

TEST(MapPreview, EveryShippedMapIsDrawnFromWhatTheLoaderReads) {
  const fs::path data = testing_support::SourceDir() / "data";
  TOWNS towns;
  ASSERT_TRUE(towns.Load(data).ok());
  AllMaps maps;
  ASSERT_TRUE(maps.Init([&](const std::string& name) { return data / name; }, towns).empty());
  TempFolder folder;
  for (int m = 0; m < maps.Count(); ++m) {
    const ACMap& map = maps.Map(m);
    ASSERT_TRUE(map.HasOutline()) << map.Name();
    const QImage image = Picture(map, towns);
    // Land, sea and border colours each cover a visible share of the picture.
    std::map<QRgb, int> shares;
    for (int y = 0; y < kHeight; y += 4)
      for (int x = 0; x < kWidth; x += 4) ++shares[image.pixel(x, y)];
    const int samples = (kWidth / 4) * (kHeight / 4);
    for (const int colour : {54, 11, 8})
      EXPECT_GT(shares[Colour(colour).rgb()], samples / 100) << map.Name() << " colour " << colour;
    const fs::path file = folder / ("map_" + map.Name() + ".png");
    ASSERT_TRUE(image.save(QString::fromStdString(file.string()), "PNG"));
    testing_support::ShowToPerson(file, "map_" + map.Name());
  }
}

}  // namespace
