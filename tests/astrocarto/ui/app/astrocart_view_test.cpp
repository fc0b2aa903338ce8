// The astrocartography map view in the program: opened by its command after the settings sheet,
// counted by the document, captioned, one per chart; its lines shared with the document while it
// lives; the second chart added and taken away; zoom and scroll through the window; the screen
// and the printed page as pictures, in colour and in black and white.
#include "astrocarto/ui/astrocart_view.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>

#include "astrocarto/ui/astrocart_sheet.h"
#include "astrocarto/ui/view_kinds.h"
#include "map_views_fixture.h"

namespace {

using namespace views_test;
using A = cfg::AstroCartSettings;

class AstroCartViewTest : public MapViewsTest {};

TEST_F(AstroCartViewTest, OpensAfterTheSheetOncePerChartAndSharesItsLinesWhileItLives) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  CMainFrame& frame = *app_->GetMainFrame();
  GetConfiguration().astroCart.Set(A::kShowEveryTime, std::int32_t{1});

  // The sheet closed without OK opens no map.
  platform::ModalDriver::Expect<AstroCartSheet>(
      [](AstroCartSheet&) { return platform::kIdCancel; });
  EXPECT_TRUE(RunFrom(document, cmd::kAstroCartMap));
  EXPECT_EQ(document->OpenCount(kDocViewMap), 0);

  platform::ModalDriver::Expect<AstroCartSheet>([](AstroCartSheet&) { return platform::kIdOk; });
  auto* view = OpenView<CAstroCartView>(document, cmd::kAstroCartMap);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->Map(), nullptr);
  EXPECT_EQ(document->OpenCount(kDocViewMap), 1);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + Cp1251(" -Астрокартография"));
  EXPECT_EQ(view->HelpContext(), 131277);
  EXPECT_EQ(view->Map()->Lines().LineCount(), 10);
  EXPECT_EQ(view->Map()->State().map, 0);
  EXPECT_EQ(document->PartState<MapViewLines>().lines.lock().get(), &view->Map()->Lines());
  EXPECT_FALSE(frame.StateOf(cmd::kAstroCartMap).enabled) << "one map per chart";
  EXPECT_TRUE(frame.StateOf(cmd::kAddRemoveChart).enabled);

  view->Frame()->close();
  DeletePending();
  EXPECT_EQ(document->OpenCount(kDocViewMap), 0);
  EXPECT_TRUE(document->PartState<MapViewLines>().lines.expired())
      << "no reference to the lines of a closed view";
  // The command now goes to the chart window again, where it adds a second chart to the wheel.
  EXPECT_FALSE(frame.StateOf(cmd::kAddRemoveChart).checked);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(AstroCartViewTest, SecondChartAddedAndTakenAway) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  auto* view = OpenMap(document);
  ASSERT_NE(view, nullptr);
  const double mc = view->Map()->Lines().Mc(0);

  // Cancelling the chart kind changes nothing.
  platform::ModalDriver::Expect<DChooseChartType>(
      [](DChooseChartType&) { return platform::kIdCancel; });
  EXPECT_TRUE(RunFromView(view, cmd::kAddRemoveChart));
  EXPECT_FALSE(view->Map()->HasSecondChart());

  AddParis(view);
  EXPECT_EQ(view->Map()->Lines().LineCount(), 20);
  EXPECT_NE(view->Map()->Lines().Mc(10), mc);  // Paris 2000 is another sky

  EXPECT_TRUE(RunFromView(view, cmd::kAddRemoveChart));
  EXPECT_FALSE(view->Map()->HasSecondChart());
  EXPECT_EQ(view->Map()->Lines().LineCount(), 10);
  EXPECT_EQ(view->Map()->Lines().Mc(0), mc);
}

TEST_F(AstroCartViewTest, SteppedChartMovesItsLines) {
  CKovraDoc* document = OpenOne();
  auto* view = OpenMap(document);
  ASSERT_NE(view, nullptr);
  const double mc = view->Map()->Lines().Mc(0);
  // An hour later the Sun culminates 15 degrees (less a few minutes of its motion) further west.
  EXPECT_TRUE(RunFrom(document, cmd::StepForward(1)));
  const double moved = mc - view->Map()->Lines().Mc(0);
  EXPECT_NEAR(moved, 15.0, 0.3);
  EXPECT_EQ(view->Map()->Lines().LineCount(), 10);
}

TEST_F(AstroCartViewTest, DoubleClickZoomsAndTheBarsScrollTheWindow) {
  CKovraDoc* document = OpenOne();
  auto* view = OpenMap(document);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->horizontalScrollBar()->maximum(), 1);  // the full world: 0..1
  // A click on Moscow opens the map of Russia; a second zooms to 20 degrees around it.
  const MapGeometry& world = view->Map()->Geometry();
  view->ZoomAt(world.Project(37.6, 55.75), false);
  EXPECT_EQ(view->Map()->CurrentMap().Name(), "Russia");
  view->ZoomAt(view->Map()->Geometry().Project(37.6, 55.75), false);
  const MapWindow zoomed = view->Map()->State().window;
  EXPECT_EQ(zoomed.west, 27.0);
  EXPECT_EQ(zoomed.east, 47.0);
  EXPECT_EQ(view->horizontalScrollBar()->value(), 27);
  view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view->Map()->State().window.west, 28.0);
  EXPECT_EQ(view->horizontalScrollBar()->value(), 28);
  view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(view->Map()->State().window.north, zoomed.north + 10);
  // Back: the full map of Russia, then the world.
  view->ZoomAt({0, -10}, true);
  EXPECT_EQ(view->Map()->State().window, view->Map()->CurrentMap().FullWindow());
  view->ZoomAt({0, -10}, true);
  EXPECT_EQ(view->Map()->State().map, 0);
}

TEST_F(AstroCartViewTest, ScreenAndPrintedPagePictures) {
  CKovraDoc* document = OpenOne();
  auto* view = OpenMap(document);
  ASSERT_NE(view, nullptr);
  GetConfiguration().colourPrinting = 1;
  Screenshot(*view->Frame(), "astrocart_map_screen");
  const QImage page = PagePicture("astrocart_map", 1, *view);
  // The map (land, sea, borders) fills the upper half page below the head; the lower half is
  // empty paper.
  EXPECT_GT(Ink(page, 1500, -4000, 19500, -14500), 0);
  EXPECT_EQ(Ink(page, 0, -16000, 21000, -29700), 0);

  // In black and white the page has no colour at all, whatever the colour settings.
  GetConfiguration().colourPrinting = 0;
  const QImage mono = PagePicture("astrocart_map_mono", 1, *view);
  int coloured = 0;
  for (int y = 0; y < mono.height(); y += 2)
    for (int x = 0; x < mono.width(); x += 2) {
      const QColor c = mono.pixelColor(x, y);
      coloured +=
          std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40;
    }
  EXPECT_EQ(coloured, 0);
  EXPECT_GT(Ink(mono, 1500, -4000, 19500, -14500), 0);
}

}  // namespace
