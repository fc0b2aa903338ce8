// The wheel of a known chart drawn on an image and on a PDF page through the Qt device context;
// the pictures go to the test's folder and, when VELM_DEMO_DIR is set, there too.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_dc.h"
#include "shell/core/wheel/wheel.h"
#include "shell/core/wheel_test_charts.h"
#include "support/test_support.h"

namespace {

using testing_support::TempFolder;

constexpr int kPixels = 1000;
// 1000 pixels at 96 dpi in 0.01 mm.
constexpr int kSide = kPixels * 2540 / 96;

// Draws a wheel on a 96-dpi image in MM_HIMETRIC, logical (0, 0) at the image's top-left corner.
QImage DrawOnImage(Wheel& wheel, const Chart& inner, const Chart* outer) {
  QImage image(kPixels, kPixels, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtDc dc(painter, 96, 96, false);
  dc.SetMapMode(platform::MapMode::HiMetric);
  wheel.Draw(dc, inner, outer, platform::Rect{0, 0, kSide, -kSide});
  return image;
}

void Keep(const QImage& image, const TempFolder& folder, const char* name) {
  ASSERT_TRUE(image.save(QString::fromStdString((folder / name).string()), "PNG"));
  if (const char* demo = std::getenv("VELM_DEMO_DIR")) {
    std::filesystem::create_directories(demo);
    image.save(QString::fromStdString((std::filesystem::path(demo) / name).string()), "PNG");
  }
}

bool IsColour(const QImage& image, int x, int y, platform::Color c) {
  const QColor p = image.pixelColor(x, y);
  return std::abs(p.red() - c.r) < 40 && std::abs(p.green() - c.g) < 40 &&
         std::abs(p.blue() - c.b) < 40;
}

// Pixels of colour `c` in the box x0..x1, y0..y1.
int CountColour(const QImage& image, int x0, int y0, int x1, int y1, platform::Color c) {
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) n += IsColour(image, x, y, c);
  return n;
}

class WheelPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    wheel_test::InstallShippedGlyphs();
    systems_.LoadAll(testing_support::SourceDir() / "data");
    ASSERT_GT(systems_.Count(), 0);
  }
  Configuration config_;
  Aspectarium systems_;
  TempFolder folder_;
};

TEST_F(WheelPicture, KnownChartWithAscendantArrowAtTheLeftAndMidheavenAbove) {
  WheelWithAspects wheel(config_, systems_);
  const QImage image = DrawOnImage(wheel, wheel_test::KnownChart(), nullptr);
  Keep(image, folder_, "wheel.png");

  // The default screen colours: background 15 (white), angles 12 (red).
  const platform::Color background = ColorByIndex(config_.screenColours[wheel::kBackground]);
  const platform::Color angles = ColorByIndex(config_.screenColours[wheel::kAngles]);
  EXPECT_TRUE(IsColour(image, 2, 2, background));
  EXPECT_TRUE(IsColour(image, kPixels - 3, kPixels - 3, background));
  // The outer circle: radius = 500 px x the share the arrows leave; the ASC arrow lies left of
  // it on the horizontal through the centre, the MC arrow (0°12' Gemini, 95.2 degrees of the
  // zodiac before the ASC, so clockwise from it) near the top, a little to the right.
  const int radius = static_cast<int>(500 * wheel.RadiusShare());
  EXPECT_GT(CountColour(image, 500 - radius - 40, 495, 500 - radius - 5, 505, angles), 20);
  EXPECT_EQ(CountColour(image, 500 + radius + 5, 495, 500 + radius + 40, 505, angles), 0);
  // At 180 - 95.2 = 84.8 degrees on the page.
  const double a = 84.8 * 3.14159265 / 180.0;
  const int mx = 500 + static_cast<int>((radius + 25) * std::cos(a));
  const int my = 500 - static_cast<int>((radius + 25) * std::sin(a));
  EXPECT_GT(CountColour(image, mx - 8, my - 8, mx + 8, my + 8, angles), 10);
}

TEST_F(WheelPicture, TwoChartsAndThePrintedPage) {
  Chart outer = wheel_test::ChartWith({{0, 200.0},
                                       {1, 10.0},
                                       {2, 185.5},
                                       {3, 222.0},
                                       {4, 14.0},
                                       {5, 95.0},
                                       {6, 280.0},
                                       {7, 330.0},
                                       {8, 355.0},
                                       {9, 300.0}});
  Wheel2 wheel(config_, systems_);
  const Chart inner = wheel_test::KnownChart();
  Keep(DrawOnImage(wheel, inner, &outer), folder_, "wheel2.png");

  // The large printed wheel on an A4 page, 2 cm from the sides, 4 cm from the top.
  const auto render = [&](platform::Dc& dc, int) {
    WheelWithAspects printed(config_, systems_);
    printed.Draw(dc, inner, platform::Rect{2000, -4000, 19000, -21000});
  };
  const std::filesystem::path pdf = folder_ / "wheel.pdf";
  ASSERT_TRUE(platform::WritePdf(pdf, "wheel", 1, render).ok());
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  if (const char* demo = std::getenv("VELM_DEMO_DIR")) {
    EXPECT_TRUE(
        platform::WritePdf(std::filesystem::path(demo) / "wheel.pdf", "wheel", 1, render).ok());
  }
}

}  // namespace
