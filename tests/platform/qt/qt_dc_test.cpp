#include "platform/qt/qt_dc.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "foundation/text/cp1251.h"

namespace {

using platform::MapMode;
using platform::QtDc;

// A white 96-dpi image of `w` x `h` pixels.
QImage WhitePage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 dpi
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  return image;
}

// Bounding box of the non-white pixels.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).lightness() < 200) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(QtDc, TopLeftTextInHiMetricLandsBelowAndRightOfItsPointUnmirrored) {
  QImage image = WhitePage(400, 200);
  {
    QPainter painter(&image);
    QtDc dc(painter, 96, 96, false);
    dc.SetMapMode(MapMode::HiMetric);
    platform::Font font;
    font.pointSize = 3000;  // em of 400 units = 4 mm = ~15 px
    dc.SelectFont(font);
    dc.SetBkMode(platform::BkMode::Transparent);
    // (2540, -2540) is one inch right and down: pixel (96, 96).
    dc.TextOut(2540, -2540, "L");
  }
  const QRect ink = InkBox(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.top(), 96);
  EXPECT_LE(ink.top(), 100);
  EXPECT_GE(ink.left(), 96);
  EXPECT_LE(ink.bottom(), 96 + 16);
  // "L" unmirrored: its foot (the horizontal bar) is at the bottom and extends to the right, so
  // the bottom row has more ink than the top row.
  int topInk = 0, bottomInk = 0;
  for (int x = ink.left(); x <= ink.right(); ++x) {
    topInk += image.pixelColor(x, ink.top()).lightness() < 200;
    bottomInk += image.pixelColor(x, ink.bottom()).lightness() < 200;
  }
  EXPECT_GT(bottomInk, topInk);
}

TEST(QtDc, AOneUnitPenIsVisibleOnScreen) {
  QImage image = WhitePage(200, 200);
  {
    QPainter painter(&image);
    QtDc dc(painter, 96, 96, false);
    dc.SetMapMode(MapMode::HiMetric);
    dc.SelectPen({platform::PenStyle::Solid, 1, platform::kBlack});
    dc.Line({0, -2540}, {5000, -2540});
  }
  const QRect ink = InkBox(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.width(), 180);
  EXPECT_NEAR(ink.center().y(), 96, 1);
}

TEST(QtDc, TextExtentScalesWithTheFontAndNotWithTheDevice) {
  QImage screen = WhitePage(10, 10);
  QImage fine(10, 10, QImage::Format_RGB32);
  fine.setDotsPerMeterX(23622);  // 600 dpi
  fine.setDotsPerMeterY(23622);
  QPainter p1(&screen);
  QPainter p2(&fine);
  QtDc a(p1, 96, 96, false);
  QtDc b(p2, 600, 600, true);
  for (QtDc* dc : {&a, &b}) {
    dc->SetMapMode(MapMode::HiMetric);
    platform::Font f;
    f.pointSize = 2000;
    dc->SelectFont(f);
  }
  const std::string title = Cp1251("Гороскоп");
  EXPECT_EQ(a.GetTextExtent(title), b.GetTextExtent(title));
  platform::Font big;
  big.pointSize = 4000;
  a.SelectFont(big);
  EXPECT_NEAR(a.GetTextExtent(title).cx, 2 * b.GetTextExtent(title).cx, 2);
}

}  // namespace
