// The coordinate views opened by their commands: their captions, windows sized to their tables,
// the second chart's table, the equatorial and horizontal modes, the printed pages as pictures,
// and the settings sheet taking the rows on OK only.
#include "views/ui/coord_views.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/page_title.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_text.h"
#include "views/core/coord_table.h"
#include "views/ui/coord_conf_dialogs.h"
#include "views/ui/view_kinds.h"
#include "views_fixture.h"

namespace {

using namespace views_test;

class CoordViewsTest : public ViewsTest {
 protected:
  // The window of a screen table `widthFactor` times as wide as its columns: the table and 1000
  // units more in height.
  static QSize WindowOfTable(const QWidget& view, double widthFactor) {
    const COORD_CONF& layout = GetConfiguration().screenCoords;
    platform::MeasuringDc measuring(view.logicalDpiY(), false, platform::MapMode::HiMetric);
    const coords::TableMeasure m = coords::MeasureTable(layout, measuring.dc(), false, 1.0);
    const auto px = [&view](int units) { return units * view.logicalDpiY() / 2540; };
    return QSize(px(static_cast<int>(m.widthUnit * widthFactor) * layout.width),
                 px(m.height + 1000));
  }

  // The printed antiscia page of the document's last window (one chart or two).
  void CheckAntisciaPage(CKovraDoc* document, bool two, const std::string& picture);
};

TEST_F(CoordViewsTest, EachCommandOpensItsViewWithItsCaption) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  struct Case {
    int command;
    int message;
    int mode;
  };
  const Case cases[] = {
      {cmd::kCoordinates, 231, 0},
      {cmd::kCoordLatitudes, 233, coords::kLatitudes},
      {cmd::kCoordSpeeds, 234, coords::kSpeeds},
      {cmd::kCoordEquatorial, 235, coords::kEquatorial},
      {cmd::kCoordHorizontal, 280, coords::kHorizontal},
  };
  for (const Case& k : cases) {
    auto* view = OpenView<CoordViewBase>(document, k.command);
    ASSERT_NE(view, nullptr) << k.command;
    EXPECT_EQ(view->Mode(), k.mode);
    EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(k.message));
    EXPECT_TRUE(document->IsViewOpen(kDocViewCoordinates));
  }
  // The second chart's table needs a second chart.
  EXPECT_FALSE(app_->GetMainFrame()->StateOf(cmd::kCoordinates2).enabled);
}

TEST_F(CoordViewsTest, TheWindowOpensSizedToTheTable) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  Configuration& config = GetConfiguration();
  config.screenCoords.fitToWindow = 0;
  auto* view = OpenView<CCoordView>(document, cmd::kCoordinates);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->OpenedSize(), WindowOfTable(*view, 1.0));
  EXPECT_GE(view->Frame()->width(), view->OpenedSize().width());
  EXPECT_GE(view->Frame()->height(), view->OpenedSize().height());
  EXPECT_EQ(view->TableScale(), 1.0);
  config.screenCoords.fitToWindow = 1;
  view->OnUpdate(nullptr);
  Screenshot(*view, "coordinates_screen");
}

// Pixels of a length in 0.01 mm on the view's screen.
int Pixels(const QWidget& view, int units) { return units * view.logicalDpiY() / 2540; }

TEST_F(CoordViewsTest, TheWholeTableStaysInsideItsWindowMaximisedOrScrollsWhenSmall) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  CMainFrame& main = *app_->GetMainFrame();
  main.resize(1400, 900);
  main.show();
  Configuration& config = GetConfiguration();
  ASSERT_EQ(config.screenCoords.fitToWindow, 1);
  struct Case {
    int command;
    const char* picture;
  };
  const Case cases[] = {{cmd::kCoordinates, "coordinates_maximised"},
                        {cmd::kAntiscia, "antiscia_maximised"},
                        {cmd::kCoordEquatorial, nullptr}};
  for (const Case& k : cases) {
    config.screenCoords.fitToWindow = 1;
    auto* view = OpenView<CoordViewBase>(document, k.command);
    ASSERT_NE(view, nullptr) << k.command;
    view->Frame()->showMaximized();
    QCoreApplication::processEvents();
    // Maximised: the glyphs grow until the table meets one edge; nothing is cut, nothing scrolls.
    const QSize area = view->viewport()->size();
    QSize table(Pixels(*view, view->TableSize().cx), Pixels(*view, view->TableSize().cy));
    EXPECT_GT(view->TableScale(), 1.0) << k.command;
    EXPECT_LE(table.width(), area.width()) << k.command;
    EXPECT_LE(table.height(), area.height()) << k.command;
    EXPECT_TRUE(table.width() > area.width() * 9 / 10 || table.height() > area.height() * 9 / 10)
        << k.command;
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible()) << k.command;
    EXPECT_FALSE(view->verticalScrollBar()->isVisible()) << k.command;
    if (k.picture != nullptr) Screenshot(main, k.picture);

    // Small: the smallest readable glyphs (an em of 10 pixels) and scroll bars over the rest.
    view->Frame()->showNormal();
    view->Frame()->resize(200, 150);
    QCoreApplication::processEvents();
    const double em = config.screenCoords.fontSize * view->TableScale() * 96 / 720;
    EXPECT_NEAR(Pixels(*view, static_cast<int>(em)), coords::kMinFitGlyphPixels, 1) << k.command;
    table = QSize(Pixels(*view, view->TableSize().cx), Pixels(*view, view->TableSize().cy));
    EXPECT_NEAR(view->horizontalScrollBar()->maximum(), table.width() - view->viewport()->width(),
                1)
        << k.command;
    EXPECT_NEAR(view->verticalScrollBar()->maximum(), table.height() - view->viewport()->height(),
                1)
        << k.command;

    // Without the fit flag the table keeps the layout's size and scrolls as well.
    config.screenCoords.fitToWindow = 0;
    view->OnUpdate(nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->TableScale(), 1.0) << k.command;
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0) << k.command;
    delete view->Frame();
  }
  config.screenCoords.fitToWindow = 1;
}

TEST_F(CoordViewsTest, TheSecondChartsTableCarriesItsOwnTitle) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  auto* view = OpenView<CCoord2View>(document, cmd::kCoordinates2);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->ShownChart(), document->GetOuterChart());
  EXPECT_EQ(view->GetFrameTitle(),
            CKovraDoc::ChartTitle(*document->GetOuterChart()) + GetMessageText(kMsgCoordinates2));
  EXPECT_NE(view->GetFrameTitle().find(Cp1251("Транзит")), std::string::npos);
}

TEST_F(CoordViewsTest, APrintedPageOfATwoChartDocumentNamesBothCharts) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  const cfg::PrintSettings& print = GetConfiguration().print;
  // Every line of the inner chart's block at the left, of the outer chart's at the right.
  const std::vector<std::pair<const Chart*, int>> blocks = {
      {document->GetChart(), print.marginLeft + 200},
      {document->GetOuterChart(), kA4Width - 200 - print.marginRight}};
  for (const int command : {cmd::kCoordinates, cmd::kCoordinates2}) {
    auto* view = OpenView<CoordViewBase>(document, command);
    ASSERT_NE(view, nullptr) << command;
    const platform::RecordingDc page = PrintPage(*view);
    for (const auto& [chart, left] : blocks) {
      for (const std::string& line : ChartHeaderLines(*chart, true)) {
        const auto& calls = page.Calls();
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(),
                                [&, x = left](const auto& call) {
                                  return call.kind == platform::RecordedCall::Text &&
                                         call.text == line && call.points.at(0).x == x;
                                }))
            << command << ": " << line;
      }
    }
    for (const auto& call : page.Calls()) EXPECT_NE(call.text, glyphs::kOrnament) << command;
    if (command == cmd::kCoordinates2) PagePicture("coordinates2", 1, *view);
    delete view->Frame();
  }
}

TEST_F(CoordViewsTest, PrintedPagesCarryTheHeadAndTheTable) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  struct Case {
    int command;
    const char* name;
    int firstColumn;  // the name over the first column of values; 0 none
    const char* heading;
  };
  const Case cases[] = {
      {cmd::kCoordinates, "coordinates", 0, "КООРДИНАТЫ"},
      {cmd::kCoordLatitudes, "coordinates_latitudes", 0, "ШИРОТЫ"},
      {cmd::kCoordSpeeds, "coordinates_speeds", 0, "СКОРОСТИ"},
      {cmd::kCoordEquatorial, "coordinates_equatorial", kMsgRightAscensionColumn, "ЭКВ.КООРДИНАТЫ"},
      {cmd::kCoordHorizontal, "coordinates_horizontal", kMsgAzimuthColumn, "ГОР.КООРДИНАТЫ"}};
  const Configuration& config = GetConfiguration();
  for (const Case& k : cases) {
    auto* view = OpenView<CoordViewBase>(document, k.command);
    ASSERT_NE(view, nullptr);
    const platform::RecordingDc page = PrintPage(*view);
    // The table's heading, in the title's size beside the head.
    const auto heading = std::find_if(page.Calls().begin(), page.Calls().end(), [&](const auto& c) {
      return c.kind == platform::RecordedCall::Text && c.text == Cp1251(k.heading);
    });
    ASSERT_NE(heading, page.Calls().end()) << k.name;
    EXPECT_EQ(heading->font.pointSize, kHeadTitleSize) << k.name;
    // The Sun's glyph where the table begins, or under the names of the columns there.
    const platform::RecordedCall* sun = page.FindGlyph(glyphs::Point(0), 0);
    ASSERT_NE(sun, nullptr) << k.name;
    const int tableTop = -1800 - config.print.marginTop;
    EXPECT_EQ(sun->points.at(0).x, config.print.marginLeft + 200) << k.name;
    if (k.firstColumn == 0) {
      EXPECT_EQ(sun->points.at(0).y, tableTop) << k.name;
    } else {
      EXPECT_LT(sun->points.at(0).y, tableTop) << k.name;
      const auto named = std::find_if(page.Calls().begin(), page.Calls().end(), [&](const auto& c) {
        return c.kind == platform::RecordedCall::Text && c.text == GetMessageText(k.firstColumn);
      });
      ASSERT_NE(named, page.Calls().end()) << k.name;
      EXPECT_EQ(named->points.at(0).y, tableTop) << k.name;
    }
    const QImage image = PagePicture(k.name, 1, *view);
    // Ink in the table's place.
    EXPECT_GT(
        Ink(image, config.print.marginLeft + 200, -1800 - config.print.marginTop, 10000, -8000),
        100)
        << k.name;
  }
}

TEST_F(CoordViewsTest, TheSettingsSheetTakesTheRowsOnOkOnly) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  Configuration& config = GetConfiguration();
  const COORD_CONF screen = config.screenCoords, print = config.printCoords;
  const auto answer = [](bool ok) {
    platform::ModalDriver::Expect<CoordConfSheet>([ok](CoordConfSheet& sheet) {
      // Screen: the first row out, the font 150; print: the first candidate in.
      sheet.screen->RowList()->setCurrentRow(0);
      sheet.screen->HideButton()->click();
      sheet.screen->FontBox()->setValue(150);
      sheet.print->CandidateList()->setCurrentRow(0);
      sheet.print->ShowButton()->click();
      EXPECT_EQ(sheet.print->RowList()->count(), 16);
      if (!ok) return platform::kIdCancel;
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  };
  answer(false);
  EXPECT_TRUE(RunFrom(document, cmd::kConfigCoordinates));
  EXPECT_EQ(config.screenCoords, screen);
  EXPECT_EQ(config.printCoords, print);

  answer(true);
  EXPECT_TRUE(RunFrom(document, cmd::kConfigCoordinates));
  EXPECT_EQ(config.screenCoords.GetRowCount(), screen.GetRowCount() - 1);
  EXPECT_EQ(config.screenCoords.slots[0], COORD_CONF::kNotInTable);  // the Sun was row 0
  EXPECT_EQ(config.screenCoords.fontSize, 150);
  EXPECT_EQ(config.printCoords.GetRowCount(), print.GetRowCount() + 1);
  EXPECT_EQ(config.printCoords.GetRowName(15), Cp1251("Веста"));  // the first candidate
}

TEST_F(CoordViewsTest, ThePrintPageChecksTheTablesHeight) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<CoordConfSheet>([](CoordConfSheet& sheet) {
    sheet.print->FontBox()->setValue(7200);
    sheet.print->StepBox()->setValue(200);
    sheet.print->CheckButton()->click();
    sheet.print->FontBox()->setValue(1000);
    sheet.print->CheckButton()->click();
    return platform::kIdCancel;
  });
  EXPECT_TRUE(RunFrom(document, cmd::kConfigCoordinates));
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgSizeTooLarge);
  EXPECT_EQ(prompts_.shown[1].number, kMsgSizeFits);
}

TEST_F(CoordViewsTest, TheAntisciaViewOpensSizedToItsWideTable) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  auto* view = OpenView<AntisView>(document, cmd::kAntiscia);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(document->IsViewOpen(kDocViewAntiscia));
  EXPECT_FALSE(document->IsViewOpen(kDocViewCoordinates));
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgAntiscia));
  EXPECT_EQ(view->HelpContext(), 131270);
  EXPECT_EQ(view->OpenedSize(), WindowOfTable(*view, 1.75));
  Screenshot(*view, "antiscia_screen");
  delete view->Frame();
  EXPECT_FALSE(document->IsViewOpen(kDocViewAntiscia));
}

// The default print layout: 15 rows in a font of 2500 (em 333) and a line step of 120, a row step
// of 120 + 233. Three blocks of the antiscia fit across the paper: the fourth begins a second band
// of 15 rows under the first. The column headings take a row above them.
constexpr int kPrintRowStep = 353;
constexpr int kPrintTableHeight = (1 + 2 * 15) * kPrintRowStep;

void CoordViewsTest::CheckAntisciaPage(CKovraDoc* document, bool two, const std::string& picture) {
  ASSERT_NE(document, nullptr);
  auto* view = OpenView<AntisView>(document, cmd::kAntiscia);
  ASSERT_NE(view, nullptr);
  const Configuration& config = GetConfiguration();
  ASSERT_EQ(config.printCoords.GetRowCount(), 15);
  const int x = config.print.marginLeft + 200, top = config.print.marginTop;
  const platform::RecordingDc page = PrintPage(*view);
  std::vector<platform::Point> suns;
  bool ornament = false, title = false;
  for (const auto& call : page.Calls()) {
    if (call.kind != platform::RecordedCall::Text) continue;
    if (call.text == std::string(1, glyphs::Point(0)) && call.font.IsGlyphFace())
      suns.push_back(call.points.at(0));
    ornament |= call.text == glyphs::kOrnament;
    title |= call.text == GetMessageText(kMsgAntisciaTitle);
  }
  EXPECT_EQ(ornament, !two);
  EXPECT_TRUE(title);
  // The Sun's row of each table under its headings; the outer table 1000 below the inner one.
  ASSERT_EQ(suns.size(), two ? 2u : 1u);
  EXPECT_EQ(suns[0], (platform::Point{x, -1800 - kPrintRowStep - top}));
  if (two) {
    EXPECT_EQ(suns[1], (platform::Point{x, -2800 - kPrintTableHeight - kPrintRowStep - top}));
  }
  PagePicture(picture, 1, *view);
}

TEST_F(CoordViewsTest, AOneChartAntisciaPageHasOneTableAndTheOrnament) {
  CheckAntisciaPage(OpenOne(), false, "antiscia");
}

TEST_F(CoordViewsTest, ATwoChartAntisciaPageHasTheOuterTableUnderTheInner) {
  CheckAntisciaPage(OpenTwo(), true, "antiscia_two");
}

}  // namespace
