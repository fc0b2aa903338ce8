// The wheel in the main chart view: drawn under the identification block, and a click on a
// planet's glyph opens the information dialog of that point.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/qt_text.h"
#include "shell/core/wheel_test_charts.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/kovra_view.h"
#include "shell_fixture.h"

namespace {

using namespace shell_test;

constexpr double kPi = 3.14159265358979323846;

// Sends a left click at a logical point of the view (the inverse of its device-to-logical
// mapping, which is linear).
void ClickAt(platform::View& view, platform::Point logical) {
  const platform::Point o = view.DeviceToLogical(QPoint(0, 0));
  const platform::Point x = view.DeviceToLogical(QPoint(1000, 0));
  const platform::Point y = view.DeviceToLogical(QPoint(0, 1000));
  const double px = (logical.x - o.x) * 1000.0 / (x.x - o.x);
  const double py = (logical.y - o.y) * 1000.0 / (y.y - o.y);
  const QPointF device(std::round(px), std::round(py));
  QMouseEvent press(QEvent::MouseButtonPress, device, view.viewport()->mapToGlobal(device),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &press);
}

TEST_F(ShellTest, AClickOnAGlyphOfTheWheelShowsThatPointsInformation) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kParis));
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(document->Views().size(), 1u);
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  // The chart set by hand: its Moon (232.75) stands alone.
  *document->GetChart() = wheel_test::KnownChart();

  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  view->OnDraw(dc);
  // The wheel's glyphs are drawn after the identification block.
  const std::vector<std::string> texts = dc.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), CKovraView::HeaderLines(*document->GetChart()).front());
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(1, 'M' + 1)), texts.end());

  // The Moon: ASC left, counter-clockwise, 77.35 degrees after the ASC: page angle 257.35, on the
  // planet ring of the one-chart wheel with aspects; the outer circle takes 1 / (1 + arrow 0.12 +
  // label room 0.09) of the half side of the view's wheel square.
  const platform::Rect area = CKovraView::kWheelArea;
  const double cx = (area.left + area.right) / 2.0, cy = (area.top + area.bottom) / 2.0;
  const double radius = (area.right - area.left) / 2.0 / (1.0 + 0.12 + 0.09);
  const double ring = GetConfiguration()
                          .wheelConstants.GetSet(WheelConstants::kAspectsScreen)
                          .Get(cfg::WheelSet::kPlanetGlyphRadius);
  const double a = 257.35 * kPi / 180.0;
  const platform::Point moon{static_cast<int>(std::lround(cx + ring * radius * std::cos(a))),
                             static_cast<int>(std::lround(cy + ring * radius * std::sin(a)))};

  QString title;
  platform::ModalDriver::Expect<DPlanetInfo>([&title](DPlanetInfo& dialog) {
    title = dialog.windowTitle();
    return platform::kIdCancel;
  });
  ClickAt(*view, moon);
  EXPECT_EQ(title, platform::ToQt(GetMessageText(kMsgPointNameFirst + 1)));

  // A click where no glyph stands opens nothing (the strict modal driver would fail the test).
  ClickAt(*view, {static_cast<int>(cx), static_cast<int>(cy)});
}

}  // namespace
