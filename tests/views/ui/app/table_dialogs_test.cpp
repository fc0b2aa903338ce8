// The chart-choice question of the document, the print options of the table views, and the aspect
// table on printed pages: the chart page of the main view and a table page, also as pictures.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/qt_text.h"
#include "shell/kovra_view.h"
#include "views/core/aspect_table.h"
#include "views/core/table_page_header.h"
#include "views/ui/asptable_view.h"
#include "views_fixture.h"

namespace {

using namespace views_test;
using platform::RecordedCall;
using TableChoices = ViewsTest;

TEST_F(TableChoices, ChooseChartForTableStoresTheChoiceOfItsSlot) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  const std::string aspects = "ДЛЯ КАКОГО ГОРОСКОПА РИСОВАТЬ\nТАБЛИЦУ АСПЕКТОВ?";
  const std::string midpoints = "ДЛЯ КАКОГО ГОРОСКОПА РИСОВАТЬ\nТАБЛИЦУ МИДПОЙНТОВ?";
  struct Case {
    const char* name;
    int tableKind, slot;
    int row;  // the line chosen; -1 the preselected one
    bool ok;
    int result, first, second;
    const std::string& question;
  } const cases[] = {
      {"view opened: between", 0, 0, 2, true, 2, 2, 9, aspects},
      {"upper table: outer", 1, 1, 1, true, 1, 1, 9, midpoints},
      {"lower table: the preselected inner", 0, 2, -1, true, 0, 9, 0, aspects},
      {"cancelled: nothing stored", 1, 2, 2, false, -1, 9, 9, midpoints},
      {"cancelled view", 0, 0, 1, false, -1, 9, 9, aspects},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    document->firstTableChoice = 9;
    document->secondTableChoice = 9;
    platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([&c](D_CHOOSE_AT_FOR_DW& dialog) {
      EXPECT_EQ(platform::FromQt(dialog.Question()->text()), Cp1251(c.question));
      EXPECT_EQ(dialog.List()->count(), 3);
      EXPECT_EQ(dialog.List()->currentRow(), 0);
      EXPECT_EQ(dialog.List()->item(2)->text().toStdString(), "Между двумя гороскопами");
      if (c.row >= 0) dialog.List()->setCurrentRow(c.row);
      if (!c.ok) return platform::kIdCancel;
      dialog.DoDataExchange(true);
      return platform::kIdOk;
    });
    EXPECT_EQ(document->ChooseChartForTable(c.tableKind, c.slot), c.result);
    EXPECT_EQ(document->firstTableChoice, c.first);
    EXPECT_EQ(document->secondTableChoice, c.second);
  }
}

TEST(PrintOptions, EachCallerFindsItsOwnTableDisabledAndAnotherChecked) {
  struct Case {
    int caller;
    int checked;
    int disabled;
  } const cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 0, 2}, {7, 0, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caller);
    DPRINTPADE2 dialog;
    EXPECT_EQ(dialog.model.caller, 0);
    EXPECT_EQ(dialog.model.selection, -1);
    dialog.model.caller = c.caller;
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.model.selection, c.checked);
    for (int i = 0; i < tables::kPrintOptionCount; ++i) {
      EXPECT_EQ(dialog.Option(i)->isChecked(), i == c.checked) << i;
      EXPECT_EQ(dialog.Option(i)->isEnabled(), i != c.disabled) << i;
    }
    // The user picks the last enabled option.
    const int pick = c.disabled == 2 ? 1 : 2;
    dialog.Option(pick)->setChecked(true);
    ASSERT_TRUE(dialog.DoDataExchange(true));
    EXPECT_EQ(dialog.model.selection, pick);
  }
}

// The aspect table on the main view's printed chart page.
class ChartPageTable : public TableChoices {
 protected:
  // The top line of the grid: from the table's corner, the place of the chart page's column.
  static bool HasGridAt(const platform::RecordingDc& dc, int x, int y) {
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Line && c.points[0] == platform::Point{x, y} &&
          c.points[1].y == y && c.points[1].x > x + 5000)
        return true;
    return false;
  }
  // Text-face writing at the top of the table's corner cell: the names of two charts.
  static bool HasNamesAt(const platform::RecordingDc& dc, int x, int y) {
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Text && c.font.face == platform::kTextFace && c.points[0].y < y &&
          c.points[0].y > y - 300 && c.points[0].x > x && c.points[0].x < x + 300)
        return true;
    return false;
  }
};

TEST_F(ChartPageTable, ChartPagePrintsTheTableOfTheChosenChartUnderTheWheel) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  Configuration& config = GetConfiguration();
  // Two charts: the overlay column's place, 200 inside the margins, top offset 16500.
  const int x = 1700 + config.print.offsets[1], y = -1700 - config.print.offsets[4];

  // Printing asks which chart the table is for; "between" draws both charts' names in the corner.
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = 2;
    return platform::kIdOk;
  });
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  EXPECT_EQ(document->firstTableChoice, 2);
  platform::RecordingDc dc = PrintPage(*view);
  EXPECT_TRUE(HasGridAt(dc, x, y));
  EXPECT_TRUE(HasNamesAt(dc, x, y));
  // One A4 page, also as a picture: the table under the wheel, nothing under the frame.
  const QImage image = PagePicture("chart_page_aspect_table", 1, *view);
  EXPECT_GT(Ink(image, 1700, y, 16700, y - 5000), 3000);
  EXPECT_EQ(Ink(image, 0, -28300, 21000, -29700), 0);

  // Cancel keeps the choice and printing goes on.
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>(
      [](D_CHOOSE_AT_FOR_DW&) { return platform::kIdCancel; });
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(document->firstTableChoice, 2);

  // The inner chart alone: no names.
  document->firstTableChoice = 0;
  dc = PrintPage(*view);
  EXPECT_TRUE(HasGridAt(dc, x, y));
  EXPECT_FALSE(HasNamesAt(dc, x, y));

  // The switch off: neither question nor table.
  config.print.aspectTable = 0;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_FALSE(HasGridAt(PrintPage(*view), x, y));
  config.print.aspectTable = 1;
  EXPECT_EQ(platform::ModalDriver::CountShown<D_CHOOSE_AT_FOR_DW>(), 2);
}

TEST_F(ChartPageTable, OneChartDocumentIsNeverAskedAndUsesTheLargeOrSmallPlace) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  Configuration& config = GetConfiguration();
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(platform::ModalDriver::Shown().size(), 1u);  // the start-up dialog only
  for (const int size : {0, 1}) {
    SCOPED_TRACE(size);
    config.print.sizeChoice = size;
    const int column = size == 1 ? 2 : 0;
    EXPECT_TRUE(HasGridAt(PrintPage(*view), 1700 + config.print.offsets[column],
                          -1700 - config.print.offsets[3 + column]));
  }
  config.print.sizeChoice = 0;
}

TEST_F(ChartPageTable, TwoChartGridOnTheScreen) {
  CKovraDoc* document = OpenTwo();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = AspectTable::kChoiceBetween;
    return platform::kIdOk;
  });
  auto* view = OpenView<CAspTableView>(document, cmd::kAspectTable);
  ASSERT_NE(view, nullptr);
  view->Frame()->resize(700, 700);
  Screenshot(*view->Frame(), "aspect_table_two_charts_screen");
}

TEST_F(ChartPageTable, TablePageCarriesTheHeadTheAspectTableAndTheMidpointsUnderIt) {
  for (const bool two : {false, true}) {
    SCOPED_TRACE(two);
    CKovraDoc* document = two ? OpenTwo() : OpenOne();
    ASSERT_NE(document, nullptr);
    const Chart& inner = *document->GetChart();
    const Chart* outer = document->GetOuterChart();
    const Configuration& config = GetConfiguration();
    // As a table view prints its page: the head, the aspect table above, the midpoints under it.
    const platform::PageRenderer render = [&](platform::Dc& dc, int) {
      DrawTablePageHeader(dc, config, inner, outer, 1);
      AspectTable upper(config, GetAspectarium());
      upper.Draw(dc, kLayoutTableUpper, inner, outer, two ? 2 : 3, AspectTable::kKindAspects);
      AspectTable lower(config, GetAspectarium());
      lower.Draw(dc, kLayoutTableLower, inner, outer, two ? 2 : 3, AspectTable::kKindMidpoints);
    };
    const QImage image =
        PagePicture(two ? "aspect_table_two_charts" : "aspect_table_midpoints", 1, render);
    EXPECT_GT(Ink(image, 2000, -2500, 19000, -7000), 3000);    // the aspect table
    EXPECT_GT(Ink(image, 2000, -15400, 19000, -19900), 3000);  // the midpoints
    EXPECT_EQ(Ink(image, 0, -28300, 21000, -29700), 0);
    app_.reset();
    DeletePending();
  }
}

}  // namespace
