// The planetary hours, aspect table and midpoints views: opened by their commands, counted in the
// document, their captions, the one message of a polar chart, the print flows with the print
// options and the chart choices, the pages as pictures, and the aspect-table configuration command.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/qt_text.h"
#include "views/ui/asptable_config_dialog.h"
#include "views/ui/asptable_view.h"
#include "views/ui/info_view.h"
#include "views/ui/view_kinds.h"
#include "views_fixture.h"

namespace {

using namespace views_test;
using platform::RecordedCall;

constexpr Birth kNorth66_40{"Север", 13, 5, 1975, 12, 0, 3, 66, 40, 'N', 37, 37, 'E'};
constexpr Birth kNorth66_30{"Север", 13, 5, 1975, 12, 0, 3, 66, 30, 'N', 37, 37, 'E'};

// The bottom edge of the page frame (the round rectangle with the frame's corners).
int FrameBottom(const platform::RecordingDc& dc) {
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::RoundRect && c.brush.hollow) return c.points[1].y;
  return 0;
}

// The lowest text drawn on the page.
int LowestText(const platform::RecordingDc& dc) {
  int lowest = 0;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Text) lowest = std::min(lowest, c.points[0].y);
  return lowest;
}

void AnswerPrintOptions(int selection) {
  platform::ModalDriver::Expect<DPRINTPADE2>([selection](DPRINTPADE2& dialog) {
    if (selection < 0) return platform::kIdCancel;
    dialog.model.selection = selection;
    return platform::kIdOk;
  });
}

using HoursViews = ViewsTest;

TEST_F(HoursViews, EachViewOpensFromItsCommandCountsItselfAndNamesItsFrame) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  struct Case {
    int command;
    const DocViewKind& kind;
    const char* caption;
    int help;
  } const cases[] = {
      {cmd::kPlanetaryHours, kDocViewPlanetaryHours, " -Планетные часы", 131227},
      {cmd::kAspectTable, kDocViewAspectTable, " -Таблица аспектов", 131203},
      {cmd::kMidpoints, kDocViewMidpoints, " -Мидпойнты", 131229},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    auto* view = OpenView<platform::View>(document, c.command);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(document->OpenCount(c.kind), 1);
    EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + Cp1251(c.caption));
    EXPECT_EQ(view->HelpContext(), c.help);
    // Drawn on the screen without trouble.
    view->Frame()->resize(900, 600);
    EXPECT_FALSE(view->viewport()->grab().isNull());
    view->Frame()->close();
    DeletePending();
    EXPECT_EQ(document->OpenCount(c.kind), 0);
  }
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(HoursViews, PolarChartIsToldOnceAtLatitudesAbove66Degrees30) {
  for (const bool polar : {true, false}) {
    SCOPED_TRACE(polar);
    CKovraDoc* document = OpenOne(polar ? kNorth66_40 : kNorth66_30);
    ASSERT_NE(document, nullptr);
    auto* view = OpenView<CInfoView>(document, cmd::kPlanetaryHours);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CountShown(42), polar ? 1 : 0);
    EXPECT_EQ(view->Panel().polar, polar ? 1 : 0);
    // At most one message when the view opens (near the circle the Sun's rising may be missing).
    const int shownBefore28 = CountShown(28);
    EXPECT_LE(shownBefore28 + CountShown(42), 1);
    // Printing the panel again tells nothing more.
    AnswerPrintOptions(-1);
    platform::PrintInfo info;
    ASSERT_TRUE(view->OnPreparePrinting(info));
    PrintPage(*view);
    EXPECT_EQ(CountShown(42), polar ? 1 : 0);
    EXPECT_EQ(CountShown(28), shownBefore28);
    prompts_.shown.clear();
    app_.reset();
    DeletePending();
  }
}

TEST_F(HoursViews, CancelledPrintOptionsPrintTheTableAloneInAShortenedFrame) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  GetConfiguration().print.pageFrame = 1;
  const int fullBottom = -(29700 - GetConfiguration().print.marginBottom);
  auto* view = OpenView<CAspTableView>(document, cmd::kAspectTable);
  ASSERT_NE(view, nullptr);
  struct Case {
    const char* name;
    int selection;  // -1 Cancel
    int samePage;
    int frameBottom;
    bool lowerHalf;  // something drawn in the lower half of the page
  } const cases[] = {
      {"cancelled: the table alone", -1, 3, fullBottom + 11000, false},
      {"midpoints under it", 1, 1, fullBottom, true},
      {"the information panel under it", 2, 2, fullBottom, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnswerPrintOptions(c.selection);
    platform::PrintInfo info;
    ASSERT_TRUE(view->OnPreparePrinting(info));
    EXPECT_EQ(view->samePage, c.samePage);
    EXPECT_EQ(document->firstTableChoice, 3);
    EXPECT_EQ(document->secondTableChoice, 3);
    const platform::RecordingDc dc = PrintPage(*view);
    EXPECT_EQ(FrameBottom(dc), c.frameBottom);
    EXPECT_EQ(LowestText(dc) < -15000, c.lowerHalf);
  }
  // A one-chart document is never asked which chart.
  EXPECT_EQ(platform::ModalDriver::CountShown<D_CHOOSE_AT_FOR_DW>(), 0);
  EXPECT_EQ(platform::ModalDriver::CountShown<DPRINTPADE2>(), 3);
}

TEST_F(HoursViews, TwoChartDocumentAsksForTheChartOfEachOpenedAndPrintedTable) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  struct Case {
    const char* name;
    bool hoursView;
    int selection;
    int questions;  // chart choices asked
    int first, second;
  } const cases[] = {
      {"aspect table, midpoints under it: both tables", false, 1, 2, 1, 2},
      {"aspect table, panel under it: the upper table", false, 2, 1, 1, 9},
      {"aspect table, cancelled: the upper table", false, -1, 1, 1, 9},
      {"hours, aspect table under them", true, 0, 1, 1, 9},
      {"hours, midpoints under them", true, 1, 1, 1, 9},
      {"hours, cancelled: nothing asked, one chart each", true, -1, 0, 3, 3},
  };
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = 1;
    return platform::kIdOk;
  });
  // The table views ask for their chart first: here the outer one; a cancelled question stores
  // -1 and opens no view.
  auto* tableView = OpenView<CAspTableView>(document, cmd::kAspectTable);
  EXPECT_EQ(document->firstTableChoice, 1);
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = 1;
    return platform::kIdCancel;
  });
  ASSERT_TRUE(RunFrom(document, cmd::kMidpoints));
  EXPECT_EQ(document->firstTableChoice, -1);
  EXPECT_EQ(document->Views().size(), 2u);
  auto* hoursView = OpenView<CInfoView>(document, cmd::kPlanetaryHours);
  ASSERT_NE(tableView, nullptr);
  ASSERT_NE(hoursView, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::View& view = c.hoursView ? static_cast<platform::View&>(*hoursView) : *tableView;
    const Prepared prepared =
        PrepareCountingQuestions(document, view, [&c] { AnswerPrintOptions(c.selection); });
    EXPECT_TRUE(prepared.prints);
    EXPECT_EQ(prepared.questions, c.questions);
    EXPECT_EQ(document->firstTableChoice, c.first);
    EXPECT_EQ(document->secondTableChoice, c.second);
  }
}

TEST_F(HoursViews, PagesOfTheTwoViewsAsPicturesAndPdf) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  auto* hoursView = OpenView<CInfoView>(document, cmd::kPlanetaryHours);
  auto* tableView = OpenView<CAspTableView>(document, cmd::kAspectTable);
  ASSERT_NE(hoursView, nullptr);
  ASSERT_NE(tableView, nullptr);
  struct Case {
    const char* name;
    platform::View* view;
    int selection;
    bool lowerHalf;
  } const cases[] = {
      {"planetary_hours", hoursView, 0, true},   // panel, aspect table under it
      {"info_view_page", hoursView, -1, false},  // panel alone
      {"aspect_table", tableView, 2, true},      // aspect table, panel under it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnswerPrintOptions(c.selection);
    platform::PrintInfo info;
    ASSERT_TRUE(c.view->OnPreparePrinting(info));
    EXPECT_EQ(info.maxPage, 1);
    const QImage image = PagePicture(c.name, 1, *c.view);
    EXPECT_GT(Ink(image, 2000, -2500, 19000, -13000), 3000);  // the upper half
    EXPECT_EQ(Ink(image, 2000, -16500, 19000, -27000) > 3000, c.lowerHalf);
  }
  // The blocks are sized by the window's width.
  // (A hidden window gets its resize when it is next drawn.)
  hoursView->Frame()->resize(1000, 500);
  (void)hoursView->grab();
  const int wide = hoursView->Panel().width;
  hoursView->Frame()->resize(600, 500);
  (void)hoursView->grab();
  const int narrow = hoursView->Panel().width;
  EXPECT_NEAR(static_cast<double>(wide - narrow), 400 * 2540 / hoursView->logicalDpiX(), 30.0);
  // The two views as the screen shows them.
  hoursView->Frame()->resize(1100, 520);
  Screenshot(*hoursView, "info_view");
  tableView->Frame()->resize(700, 700);
  Screenshot(*tableView, "aspect_table_screen");
}

TEST_F(HoursViews, ConfigurationCommandStoresAKnownSystemOrTheFirstLoadedOne) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  ASSERT_GT(GetAspectarium().Count(), 0);
  const std::string first = GetAspectarium().GetSystem(0).GetName();
  Configuration& config = GetConfiguration();
  using Settings = cfg::AspectTableSettings;
  config.aspectTable.Set(Settings::kMidpointSystem, first);
  struct Case {
    const char* name;
    std::string typed;
    bool ok;
    std::string stored;
    bool notice;
  } const cases[] = {
      {"unknown: the first loaded, with the notice", "NOSUCH", true, first, true},
      {"cancelled: nothing changes", "OTHER", false, first, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompts_.shown.clear();
    platform::ModalDriver::Expect<CASPTABLE_CONFIG>([&c, &first](CASPTABLE_CONFIG& dialog) {
      // The fields came in: the configured name, the loaded systems listed.
      EXPECT_EQ(platform::FromQt(dialog.SystemCombo()->currentText()), first);
      EXPECT_EQ(dialog.SystemCombo()->count(), GetAspectarium().Count());
      dialog.Point(5)->setChecked(!dialog.Point(5)->isChecked());
      dialog.SystemCombo()->setEditText(platform::ToQt(c.typed));
      if (!c.ok) return platform::kIdCancel;
      EXPECT_TRUE(dialog.DoDataExchange(true));
      EXPECT_TRUE(dialog.CheckOk());
      return platform::kIdOk;
    });
    const int pointBefore = config.aspectTable.Get(Settings::kPointSwitch[5]);
    ASSERT_TRUE(RunFrom(document, cmd::kConfigAspectTable));
    EXPECT_EQ(config.aspectTable.Get(Settings::kMidpointSystem), c.stored);
    EXPECT_EQ(config.aspectTable.Get(Settings::kPointSwitch[5]) != pointBefore, c.ok);
    EXPECT_EQ(CountShown(59), c.notice ? 1 : 0);
    if (c.notice) {
      EXPECT_EQ(
          prompts_.shown.back().text,
          Cp1251("Не найдена система аспектов NOSUCH\nВместо нее установлена система ") + first);
    }
  }
}

}  // namespace
