// The midpoints view: the aspects to the midpoint of a clicked cell, the print set-up dialog,
// printing the grid (with the chart choices of a two-chart document) and the list, and the pages
// as pictures.
#include "views/ui/midpoints_view.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <cmath>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/ephemeris/longitudes.h"
#include "document/aspects_list_box.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/qt_text.h"
#include "views/core/aspect_table.h"
#include "views/ui/midpoints_dialogs.h"
#include "views_fixture.h"

namespace {

using namespace views_test;
using S = cfg::AspectTableSettings;

void AnswerPrintSetup(int form, int samePage) {
  platform::ModalDriver::Expect<DMIDPOINTS_PRINT>([form, samePage](DMIDPOINTS_PRINT& dialog) {
    if (form < 0) return platform::kIdCancel;
    dialog.model.printForm = form;
    dialog.model.samePage = samePage;
    return platform::kIdOk;
  });
}

// The separation of two longitudes folded into 0..180.
double Separation(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

class MidpointsViewTest : public ViewsTest {
 protected:
  // The view of the document's chart, laid out and drawn once.
  CMidpointsView* OpenView(CKovraDoc* document) {
    auto* view = ViewsTest::OpenView<CMidpointsView>(document, cmd::kMidpoints);
    if (view != nullptr) {
      view->Frame()->resize(900, 800);
      (void)view->viewport()->grab();
    }
    return view;
  }
  // The centre of the cell of table points `column`, `row` (0.01 mm).
  static platform::Point CellCentre(const AspectTable& table, int column, int row) {
    int c = -1, r = -1;
    for (int p = 0; p < table.count; ++p) {
      if (table.TablePointAt(p) == column) c = p;
      if (table.TablePointAt(p) == row) r = p;
    }
    EXPECT_GE(c, 0);
    EXPECT_GE(r, 0);
    return {table.originX + (c + 1) * table.cellWidth + table.cellWidth / 2,
            table.originY - (r + 1) * table.cellHeight - table.cellHeight / 2};
  }
};

TEST_F(MidpointsViewTest, ACellClickListsThePointsInAspectToItsMidpoint) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  Configuration& config = GetConfiguration();
  config.aspectTable.Set(S::kOnlyDisplayed, 0);
  config.aspectTable.Set(S::kAspectsToHouses, std::uint8_t{1});
  for (std::size_t k = 34; k < 40; ++k) config.aspectTable.Set(S::kPointSwitch[k], std::uint8_t{1});
  CMidpointsView* view = OpenView(document);
  ASSERT_NE(view, nullptr);
  const AspectTable& table = *view->Table();
  ASSERT_GT(table.cellWidth, 0);
  EXPECT_EQ(table.kind, AspectTable::kKindMidpoints);
  const Chart& chart = *document->GetChart();
  EXPECT_EQ(view->columnChart, &chart);
  EXPECT_EQ(view->rowChart, &chart);
  const AspectSystem* system = table.MidpointSystem();
  ASSERT_NE(system, nullptr);

  struct Case {
    const char* name;
    int column, row;  // table points
    double a, b;      // their longitudes
  } const cases[] = {
      {"Sun and Moon", 0, 1, chart.points[0].longitude.Get(), chart.points[1].longitude.Get()},
      {"Sun and the cusp of X", 0, 34, chart.points[0].longitude.Get(), chart.GetCusp(9).Get()},
      {"the cusps of I and III", 37, 39, chart.GetCusp(0).Get(), chart.GetCusp(2).Get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<AspectListItem> items;
    std::array<int, kAspectListColumns> positions{};
    double heading = -1;
    platform::ModalDriver::Expect<DMPAList>([&](DMPAList& dialog) {
      items = dialog.List()->List().Items();
      for (int k = 0; k < kAspectListColumns; ++k)
        positions[static_cast<std::size_t>(k)] = dialog.List()->List().Position(k);
      heading = dialog.longitude;
      if (c.column == 0 && c.row == 1) {  // the dialog as the user sees it
        dialog.resize(320, 420);
        Screenshot(dialog, "midpoint_aspects");
      }
      return platform::kIdOk;
    });
    EXPECT_TRUE(view->CellClick(CellCentre(table, c.column, c.row), QPoint(20, 20)));
    const double midpoint = MidpointLongitude(c.a, c.b);
    EXPECT_DOUBLE_EQ(heading, midpoint);
    // Shown in order: the aspect, the point, the orb, the arc.
    EXPECT_EQ(positions,
              (std::array<int, kAspectListColumns>{-1, 1, 0, -1, -1, -1, -1, 3, 2, -1, -1}));
    ASSERT_FALSE(items.empty()) << "with houses, some point aspects almost any midpoint";
    bool seenMinor = false;
    double lastOrb = -1;
    for (const AspectListItem& item : items) {
      EXPECT_EQ(item.object1, -1);
      const double target = item.object2 >= 1000 ? chart.GetCusp(item.object2 - 1000).Get()
                                                 : chart.points[item.object2].longitude.Get();
      const Aspect& aspect = system->GetAspect(item.aspect);
      EXPECT_NEAR(item.value1, Separation(midpoint, target), 1e-9);
      EXPECT_NEAR(item.value2, std::fabs(item.value1 - aspect.angle), 1e-9);
      // Major aspects first, each group by growing orb.
      if (!aspect.IsMajor() && !seenMinor) {
        seenMinor = true;
        lastOrb = -1;
      }
      EXPECT_FALSE(seenMinor && aspect.IsMajor());
      EXPECT_GE(item.value2, lastOrb);
      lastOrb = item.value2;
    }
  }

  // A header cell and a place outside the grid open nothing.
  platform::ModalDriver::Clear();
  platform::ModalDriver::SetStrict(true);
  const platform::Point header{table.originX + table.cellWidth / 2,
                               table.originY - table.cellHeight * 3};
  EXPECT_FALSE(view->CellClick(header, QPoint(5, 5)));
  EXPECT_FALSE(view->CellClick(
      {table.originX + table.cellWidth * (table.count + 3), table.originY - table.cellHeight * 2},
      QPoint(5, 5)));
  EXPECT_EQ(platform::ModalDriver::CountShown<DMPAList>(), 0);

  // Without the midpoint system nothing aspects the midpoint: the list says so.
  config.aspectTable.Set(S::kMidpointSystem, "NONE");
  QString only;
  platform::ModalDriver::Expect<DMPAList>([&](DMPAList& dialog) {
    EXPECT_TRUE(dialog.List()->List().Items().empty());
    if (dialog.List()->count() == 1) only = dialog.List()->item(0)->text();
    return platform::kIdOk;
  });
  EXPECT_TRUE(view->CellClick(CellCentre(table, 0, 1), QPoint(20, 20)));
  EXPECT_EQ(only, platform::ToQt(GetMessageText(kMsgNoAspects)));
  platform::ModalDriver::Clear();
}

TEST_F(MidpointsViewTest, PrintSetupEnablesTheControlsOfTheChosenForm) {
  struct Case {
    int form;
    bool hasOuter;
  } const cases[] = {{0, false}, {0, true}, {1, false}, {1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form * 10 + c.hasOuter);
    DMIDPOINTS_PRINT dialog;
    dialog.model.printForm = c.form;
    dialog.model.hasOuter = c.hasOuter;
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.SamePage(1)->isEnabled(), c.form == 0);
    EXPECT_EQ(dialog.FontSize()->isEnabled(), c.form == 1);
    EXPECT_EQ(dialog.Interval()->isEnabled(), c.form == 1);
    EXPECT_EQ(dialog.ListChart(1)->isEnabled(), c.form == 1 && c.hasOuter);
    // Choosing the other form turns the enabling over.
    dialog.Form(1 - c.form)->click();
    EXPECT_EQ(dialog.SamePage(0)->isEnabled(), c.form == 1);
    EXPECT_EQ(dialog.FontSize()->isEnabled(), c.form == 0);
    EXPECT_EQ(dialog.ListChart(0)->isEnabled(), c.form == 0 && c.hasOuter);
    ASSERT_TRUE(dialog.DoDataExchange(true));
    EXPECT_EQ(dialog.model.printForm, 1 - c.form);
  }
}

TEST_F(MidpointsViewTest, GridPrintingAsksForTheChartOfEachTableOfATwoChartDocument) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = 0;
    return platform::kIdOk;
  });
  CMidpointsView* view = OpenView(document);
  ASSERT_NE(view, nullptr);
  struct Case {
    const char* name;
    int form, same;  // form -1: Cancel
    bool prints;
    int samePage, questions, first, second;
  } const cases[] = {
      {"aspect table under the grid: both tables", 0, 0, true, 0, 2, 1, 2},
      {"planetary hours under it: the grid's table", 0, 1, true, 2, 1, 1, 9},
      {"nothing under it", 0, 2, true, 3, 1, 1, 9},
      {"cancelled: no printing", -1, 0, false, 3, 0, 9, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Prepared prepared =
        PrepareCountingQuestions(document, *view, [&c] { AnswerPrintSetup(c.form, c.same); });
    EXPECT_EQ(prepared.prints, c.prints);
    EXPECT_EQ(view->samePage, c.samePage);
    EXPECT_EQ(prepared.questions, c.questions);
    EXPECT_EQ(document->firstTableChoice, c.first);
    EXPECT_EQ(document->secondTableChoice, c.second);
    if (c.prints) {
      EXPECT_EQ(GetConfiguration().midpointPrint.Get(cfg::MidpointPrintSettings::kSamePage),
                c.same);
    }
  }
}

TEST_F(MidpointsViewTest, GridAndListPagesAsPicturesAndNoListWithoutAspects) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  CMidpointsView* view = OpenView(document);
  ASSERT_NE(view, nullptr);
  AnswerPrintSetup(0, 0);  // the aspect table under the grid
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  QImage image = PagePicture("midpoints", 1, *view);
  EXPECT_GT(Ink(image, 2000, -2500, 19000, -13000), 3000);   // the midpoint grid
  EXPECT_GT(Ink(image, 2000, -16500, 19000, -27000), 3000);  // the aspect table under it
  view->OnEndPrinting();
  view->Frame()->resize(760, 760);
  Screenshot(*view, "midpoints_screen");

  // The list of the midpoints with aspects.
  Configuration& config = GetConfiguration();
  config.aspectTable.Set(S::kMidpointHighlight, 4);
  AnswerPrintSetup(1, 0);
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_GE(info.maxPage, 1);
  EXPECT_EQ(config.midpointPrint.Get(cfg::MidpointPrintSettings::kPrintForm), 1);
  // The screen draws nothing of a list while printing; the list's page draws its entries.
  platform::RecordingDc screenPrint(96, true);
  view->OnDraw(screenPrint);
  EXPECT_TRUE(screenPrint.Calls().empty());
  image = PagePicture("midpoints_list", info.maxPage, *view);
  EXPECT_GT(Ink(image, 2000, -4000, 19000, -9000), 1000);  // the first entries
  view->OnEndPrinting();

  // No midpoint has an aspect: told, nothing printed.
  config.aspectTable.Set(S::kMidpointHighlight, 0);
  prompts_.shown.clear();
  AnswerPrintSetup(1, 0);
  EXPECT_FALSE(view->OnPreparePrinting(info));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgNoMidpointAspects);
}

}  // namespace
