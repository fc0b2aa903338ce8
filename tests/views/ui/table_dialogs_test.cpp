// The chart-choice question of the document, the print options of the table views, and the aspect
// table on printed pages: the chart page of the main view and a table page, also as pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QRadioButton>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_text.h"
#include "shell/command_ids.h"
#include "shell/kovra_view.h"
#include "shell/main_frame.h"
#include "shell/shell_fixture.h"
#include "views/core/aspect_table.h"
#include "views/core/table_page_header.h"
#include "views/ui/table_choice_dialogs.h"

namespace {

using namespace shell_test;
using platform::RecordedCall;
namespace fs = std::filesystem;

class TableChoices : public ShellTest {
 protected:
  // A chart window whose document holds a second, outer chart.
  CKovraDoc* OpenTwoCharts() {
    StartApp();
    // The outer chart computed in a window of its own; the two-chart window opens last (active).
    CKovraDoc* second = OpenCopy(NatalChart(kParis, "Транзит"));
    if (second == nullptr) return nullptr;
    const Chart outer = *second->GetChart();
    CKovraDoc* document = OpenCopy(NatalChart(kMoscow, "Натал"));
    if (document == nullptr) return nullptr;
    document->SetOuterChart(std::make_unique<Chart>(outer));
    return document;
  }
};

TEST_F(TableChoices, ChooseChartForTableStoresTheChoiceOfItsSlot) {
  CKovraDoc* document = OpenTwoCharts();
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

// A view that draws nothing, standing in for the table views.
class PlainView : public platform::View {
 public:
  void OnDraw(platform::Dc&) override {}
};

TEST_F(TableChoices, TableCommandsOfATwoChartDocumentAskForTheChartFirst) {
  CKovraDoc* document = OpenTwoCharts();
  ASSERT_NE(document, nullptr);
  app_->RegisterViewTemplate(kTemplateAspectTable, [] { return new PlainView(); });
  app_->RegisterViewTemplate(kTemplateMidpoints, [] { return new PlainView(); });
  CMainFrame& frame = *app_->GetMainFrame();
  struct Case {
    const char* name;
    int command;
    bool ok;
    int choice;         // stored as the first-table choice
    std::size_t views;  // of the document afterwards
  } const cases[] = {
      {"aspect table for the outer chart", cmd::kAspectTable, true, 1, 2},
      {"midpoints cancelled: -1, no view", cmd::kMidpoints, false, -1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([&c](D_CHOOSE_AT_FOR_DW& dialog) {
      dialog.choice = 1;
      return c.ok ? platform::kIdOk : platform::kIdCancel;
    });
    // Routed from the two-chart window, made active again.
    frame.MdiArea()->setActiveSubWindow(document->Views().front()->Frame());
    ASSERT_EQ(frame.GetActiveDocument(), document);
    ASSERT_TRUE(frame.ExecuteCommand(c.command));
    EXPECT_EQ(document->firstTableChoice, c.choice);
    EXPECT_EQ(document->Views().size(), c.views);
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
  static platform::RecordingDc Print(CKovraView& view) {
    platform::RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    view.OnPrint(dc, 1);
    return dc;
  }
  // The top line of the grid: from the table's corner, the place of the chart page's column.
  static bool HasGridAt(const platform::RecordingDc& dc, int x, int y) {
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Line && c.points[0] == platform::Point{x, y} &&
          c.points[1].y == y && c.points[1].x > x + 5000)
        return true;
    return false;
  }
  // Text-face writing in the table's corner cell: the names of two charts.
  static bool HasNamesAt(const platform::RecordingDc& dc, int x, int y) {
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Text && c.font.face == platform::kTextFace &&
          c.points[0].y == y && c.points[0].x > x && c.points[0].x < x + 300)
        return true;
    return false;
  }
};

TEST_F(ChartPageTable, ChartPagePrintsTheTableOfTheChosenChartUnderTheWheel) {
  CKovraDoc* document = OpenTwoCharts();
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
  platform::RecordingDc dc = Print(*view);
  EXPECT_TRUE(HasGridAt(dc, x, y));
  EXPECT_TRUE(HasNamesAt(dc, x, y));

  // Cancel keeps the choice and printing goes on.
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>(
      [](D_CHOOSE_AT_FOR_DW&) { return platform::kIdCancel; });
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(document->firstTableChoice, 2);

  // The inner chart alone: no names.
  document->firstTableChoice = 0;
  dc = Print(*view);
  EXPECT_TRUE(HasGridAt(dc, x, y));
  EXPECT_FALSE(HasNamesAt(dc, x, y));

  // The switch off: neither question nor table.
  config.print.aspectTable = 0;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_FALSE(HasGridAt(Print(*view), x, y));
  config.print.aspectTable = 1;
  EXPECT_EQ(platform::ModalDriver::CountShown<D_CHOOSE_AT_FOR_DW>(), 2);
}

TEST_F(ChartPageTable, OneChartDocumentIsNeverAskedAndUsesTheLargeOrSmallPlace) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow));
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
    EXPECT_TRUE(HasGridAt(Print(*view), 1700 + config.print.offsets[column],
                          -1700 - config.print.offsets[3 + column]));
  }
  config.print.sizeChoice = 0;
}

int CountPdfPages(const fs::path& pdf) {
  std::string bytes;
  if (!ReadWholeFile(pdf, bytes).ok()) return -1;
  int pages = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
       at = bytes.find("/Type /Page", at + 1))
    pages += bytes.compare(at, 12, "/Type /Pages") != 0;
  return pages;
}

// Ink (dark pixels) of a 100-dpi page picture in a rectangle of 0.01 mm (y negative down).
int Ink(const QImage& image, int left, int top, int right, int bottom) {
  const auto px = [](int units) { return units * 100 / 2540; };
  int n = 0;
  for (int y = px(-top); y < px(-bottom) && y < image.height(); ++y)
    for (int x = px(left); x < px(right) && x < image.width(); ++x)
      n += qGray(image.pixel(x, y)) < 128;
  return n;
}

void ShowToPerson(const fs::path& pdf, const fs::path& png, const std::string& name) {
  if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
    fs::create_directories(demo);
    fs::copy_file(pdf, fs::path(demo) / (name + ".pdf"), fs::copy_options::overwrite_existing);
    fs::copy_file(png, fs::path(demo) / (name + ".png"), fs::copy_options::overwrite_existing);
  }
}

TEST_F(ChartPageTable, ChartPageWithItsTableIsOneA4PageAlsoAsAPicture) {
  CKovraDoc* document = OpenTwoCharts();
  ASSERT_NE(document, nullptr);
  document->firstTableChoice = 2;
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  const platform::PageRenderer render = [view](platform::Dc& dc, int) { view->OnPrint(dc, 1); };
  const fs::path pdf = folder_ / "chart_page_table.pdf", png = folder_ / "chart_page_table.png";
  ASSERT_TRUE(platform::WritePdf(pdf, "chart", 1, render).ok());
  ASSERT_TRUE(platform::WritePagePng(png, 1, 100, render).ok());
  EXPECT_EQ(CountPdfPages(pdf), 1);
  QImage image(QString::fromStdString(png.string()));
  ASSERT_FALSE(image.isNull());
  const Configuration& config = GetConfiguration();
  const int top = -1700 - config.print.offsets[4];
  EXPECT_GT(Ink(image, 1700, top, 16700, top - 5000), 3000);  // the table
  EXPECT_EQ(Ink(image, 0, -28300, 21000, -29700), 0);         // nothing under the frame
  ShowToPerson(pdf, png, "chart_page_aspect_table");
}

TEST_F(ChartPageTable, TablePageCarriesTheHeadTheAspectTableAndTheMidpointsUnderIt) {
  for (const bool two : {false, true}) {
    SCOPED_TRACE(two);
    CKovraDoc* document = nullptr;
    if (two) {
      document = OpenTwoCharts();
    } else {
      StartApp();
      document = OpenCopy(NatalChart(kMoscow, "Натал"));
    }
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
    const std::string name = two ? "aspect_table_two_charts" : "aspect_table_midpoints";
    const fs::path pdf = folder_ / (name + ".pdf"), png = folder_ / (name + ".png");
    ASSERT_TRUE(platform::WritePdf(pdf, name, 1, render).ok());
    ASSERT_TRUE(platform::WritePagePng(png, 1, 100, render).ok());
    EXPECT_EQ(CountPdfPages(pdf), 1);
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(Ink(image, 2000, -2500, 19000, -7000), 3000);    // the aspect table
    EXPECT_GT(Ink(image, 2000, -15400, 19000, -19900), 3000);  // the midpoints
    EXPECT_EQ(Ink(image, 0, -28300, 21000, -29700), 0);
    ShowToPerson(pdf, png, name);
    app_.reset();
    DeletePending();
  }
}

}  // namespace
