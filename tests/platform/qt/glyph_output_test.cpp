// Glyph faces drawn through QtDc with the shipped outlines, and widget pictures offscreen.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/glyph_file.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_dc.h"
#include "support/test_support.h"

namespace {

QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).lightness() < 160) box |= QRect(x, y, 1, 1);
  return box;
}

int InkInRow(const QImage& image, const QRect& box, int y) {
  int n = 0;
  for (int x = box.left(); x <= box.right(); ++x) n += image.pixelColor(x, y).lightness() < 160;
  return n;
}

class GlyphOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    const Status st = LoadGlyphSet(testing_support::SourceDir() / "data" / "velm.gly", set_);
    ASSERT_TRUE(st.ok());
    platform::InstallGlyphs(&set_);
  }
  void TearDown() override { platform::InstallGlyphs(nullptr); }
  platform::GlyphSet set_;
};

TEST_F(GlyphOutput, AGlyphDrawnTopLeftInHiMetricHangsBelowItsPointUnmirrored) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 dpi
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::QtDc dc(painter, 96, 96, false);
    dc.SetMapMode(platform::MapMode::HiMetric);
    dc.SetBkMode(platform::BkMode::Transparent);
    // Size 6000: an em of 800 units = 8 mm = 30.2 pixels; the point one inch in: pixel (96, 96).
    DrawGlyphText(dc, 2540, -2540, '7', 'a', 6000, platform::BkMode::Transparent);
  }
  const QRect ink = InkBox(image);
  ASSERT_FALSE(ink.isNull());
  // The digit's top lies just under the ascent of 0.8 em (24 pixels) below the point's line.
  EXPECT_GE(ink.top(), 96);
  EXPECT_LE(ink.top(), 100);
  EXPECT_LE(ink.bottom(), 96 + 25);
  EXPECT_GE(ink.left(), 96);
  // "7" unmirrored: the bar on top.
  EXPECT_GT(InkInRow(image, ink, ink.top() + 1), 2 * InkInRow(image, ink, ink.bottom() - 1));
}

TEST_F(GlyphOutput, AnOpaqueGlyphFillsItsCellWithTheBackground) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::QtDc dc(painter, 96, 96, false);
    dc.SetBkColor({0, 0, 255});
    // MM_TEXT, 450 tenths: an em of 450 x 96 / 720 = 60 pixels.
    DrawGlyphText(dc, 10, 10, glyphs::Point(0), 'a', 450, platform::BkMode::Opaque);
  }
  // The cell is one advance wide and an em (60 pixels) high from the point; blue around the Sun.
  const QColor corner = image.pixelColor(12, 12);
  EXPECT_EQ(corner, QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}

// The watcher hears of the codes drawn that the set lacks, and of no other (a space is a blank).
TEST_F(GlyphOutput, ACodeTheSetLacksIsReportedToTheWatcher) {
  static std::vector<int> missed;
  missed.clear();
  platform::WatchMissingGlyphs(
      [](int face, unsigned char code) { missed.push_back(face * 256 + code); });
  set_.Edit(1, 'q') = platform::Glyph{};  // a code face "b" does not have
  QImage image(200, 100, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    platform::QtDc dc(painter, 96, 96, false);
    DrawGlyphText(dc, 10, 10, '7', 'a', 450, platform::BkMode::Transparent);
    DrawGlyphText(dc, 10, 10, ' ', 'b', 450, platform::BkMode::Transparent);
    DrawGlyphText(dc, 10, 10, 'q', 'b', 450, platform::BkMode::Transparent);
  }
  platform::WatchMissingGlyphs(nullptr);
  EXPECT_EQ(missed, std::vector<int>{256 + 'q'});
}

TEST(WidgetScreenshot, AWidgetIsPicturedOffscreen) {
  testing_support::TempFolder folder;
  QWidget widget;
  widget.resize(120, 80);
  widget.setAutoFillBackground(true);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, QColor(255, 0, 0));
  widget.setPalette(palette);
  ASSERT_TRUE(platform::SaveWidgetScreenshot(widget, folder / "w.png").ok());
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((folder / "w.png").string())));
  EXPECT_EQ(image.size(), QSize(120, 80));
  EXPECT_EQ(image.pixelColor(60, 40), QColor(255, 0, 0));
  EXPECT_EQ(platform::SaveWidgetScreenshot(widget, "/nonexistent-folder/w.png").ErrorCode(),
            kErrCannotCreate);
}

}  // namespace
