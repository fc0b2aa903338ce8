// The archive statistics in the running program: the browser's "СТАТИСТИКА", the parameters
// dialog, the Local Space question, the selected records, the statistics view with its bars,
// caption and printout, and the double click that opens a bar's charts until the archive changes.
// The archive holds the charts of tests/fixtures/conditions/stats.txt (their buckets are worked
// out in tests/conditions/core/statistic_test.cpp).
#include "conditions/ui/stat_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>

#include "archive/browser/archive_commands.h"
#include "archive/browser/archive_view.h"
#include "chart_fixture.h"
#include "conditions/ui/stat_dialog.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "shell/shell_fixture.h"

namespace {

using platform::Answer;
using platform::ModalDriver;
namespace fs = std::filesystem;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

class StatViewTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartApp();
    std::vector<chart_fixture::FixtureChart> charts;
    ASSERT_FALSE(
        chart_fixture::LoadFixture(testing_support::FixturePath("conditions/stats.txt"), charts));
    path_ = (folder_ / "stats.arc").string();
    ASSERT_TRUE(chart_fixture::WriteArchive(charts, path_));
    ASSERT_EQ(app_->GetArchive().OpenByName(path_), 0);
  }

  // "Загрузить из архива", the rows `rows` selected and "СТАТИСТИКА" clicked, the parameters
  // dialog answered OK with `settings`. The statistics view, or nullptr (the browser then closed
  // by Cancel).
  CStatView* RunFromBrowser(const cfg::StatisticsRecord& settings, std::vector<int> rows = {}) {
    ModalDriver::Expect<ArchiveView>([rows](ArchiveView& view) {
      EXPECT_TRUE(view.Button(ArchiveView::kIdStatistics)->isEnabled());
      for (int row : rows) view.List().SetSelected(row, true);
      view.Button(ArchiveView::kIdStatistics)->click();
      if (view.EndResult() == 0) view.reject();
      return view.EndResult();
    });
    ModalDriver::Expect<DStat>([settings](DStat& dialog) {
      dialog.settings = settings;
      return platform::kIdOk;
    });
    app_->GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
    EXPECT_TRUE(ModalDriver::Unanswered().empty());
    return View();
  }
  CStatView* View() const {
    for (const auto& document : app_->Documents().Documents())
      for (platform::View* view : document->Views())
        if (auto* stat = dynamic_cast<CStatView*>(view)) return stat;
    return nullptr;
  }
  static const StatResults& Results(const CStatView& view) {
    return dynamic_cast<ChartDocument*>(view.GetDocument())->GetStatResults();
  }
  static void Close(CStatView* view) {
    view->Frame()->close();
    shell_test::DeletePending();
  }
  std::vector<std::string> ChartNames() const {
    std::vector<std::string> names;
    for (const auto& document : app_->Documents().Documents())
      if (const auto* chart = dynamic_cast<const ChartDocument*>(document.get())->GetChart())
        names.push_back(chart->definition.sources[0].Name());
    return names;
  }
  static platform::Point MiddleOf(const platform::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  std::string path_;
};

TEST_F(StatViewTest, TheBrowsersStatisticsAskTheLocalSpaceQuestionOnce) {
  const struct {
    Answer localSpace;
    int total;
  } cases[] = {{Answer::No, 3}, {Answer::Yes, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.total);
    cfg::StatisticsRecord settings;  // the Sun's sign
    prompts_.Expect(kMsgLocalSpaceCharts, c.localSpace);
    CStatView* view = RunFromBrowser(settings);
    prompts_.VerifyAllUsed();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Results(*view).total, c.total);
    EXPECT_EQ(Results(*view).BucketCount(), 12);
    auto* document = dynamic_cast<ChartDocument*>(view->GetDocument());
    EXPECT_EQ(document->Kind(), kResultKindStatistics);
    EXPECT_TRUE(document->IsViewOpen(kDocViewStatistics));
    EXPECT_EQ(view->GetFrameTitle(), ShortenTextToLength(path_, 25) + U(" -Статистика"));
    EXPECT_EQ(view->HelpContext(), 0x200E8);
    EXPECT_EQ(view->Screen().Grid().columns, 12);
    EXPECT_EQ(GetConfiguration().GetStatisticsSettings(), settings);
    Close(view);
    EXPECT_EQ(View(), nullptr);
  }
}

TEST_F(StatViewTest, SelectedRecordsOnly) {
  cfg::StatisticsRecord settings;
  settings.selectedRecords = 1;
  // Nothing selected: message 532, the browser stays open (closed here by the test).
  EXPECT_EQ(RunFromBrowser(settings), nullptr);
  EXPECT_TRUE(prompts_.WasShown(532));
  // Rows 0, 2 and 4: only those three are read (2 is a Local Space chart, taken).
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  CStatView* view = RunFromBrowser(settings, {0, 2, 4});
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Results(*view).total, 3);
  EXPECT_EQ(Results(*view).records[0], (std::vector<std::int32_t>{0}));
  EXPECT_EQ(Results(*view).records[6], (std::vector<std::int32_t>{2}));
}

TEST_F(StatViewTest, ADoubleClickOpensTheChartsOfABarUntilTheArchiveChanges) {
  cfg::StatisticsRecord settings;
  settings.kind = kStatCuspSign;  // the first cusp: Aries for Alpha and Beta, Cancer for Gamma
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  CStatView* view = RunFromBrowser(settings);
  ASSERT_NE(view, nullptr);
  const std::size_t before = app_->Documents().Documents().size();
  const platform::Rect aries = view->Screen().Bars()[0];

  // Between the bars (above the shorter one) nothing happens.
  view->OpenChartsAt({MiddleOf(view->Screen().Bars()[3]).x, aries.top - 10});
  EXPECT_EQ(app_->Documents().Documents().size(), before);

  // The bar's two charts are marked for the browser, whose OK opens them.
  ModalDriver::Expect<ArchiveView>([](ArchiveView& browser) {
    EXPECT_EQ(browser.List().SelectedCount(), 2);
    browser.Button(ArchiveView::kIdLoad)->click();
    return browser.EndResult();
  });
  view->OpenChartsAt(MiddleOf(aries));
  EXPECT_TRUE(ModalDriver::Unanswered().empty());
  EXPECT_EQ(ChartNames(), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(app_->GetArchive().MarkedCount(), 0);

  // A chart saved into the same archive: the record numbers no longer hold.
  Archive& archive = app_->GetArchive();
  archive.saveTargetMode = 0;
  Chart alpha;
  ASSERT_EQ(archive.LoadChart(alpha, 0, false), 0);
  ASSERT_EQ(archive.SaveToArchive(alpha), 0);
  const std::size_t opened = app_->Documents().Documents().size();
  view->OpenChartsAt(MiddleOf(aries));
  EXPECT_TRUE(prompts_.WasShown(690));
  EXPECT_EQ(app_->Documents().Documents().size(), opened);
}

TEST_F(StatViewTest, BarsOnScreenAndOnPaper) {
  // Kind 2 on six rows of 24 bars, filled, as the window shows it and as it prints.
  cfg::StatisticsRecord settings;
  settings.kind = kStatPointSignHouse;
  settings.fill = 1;
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  CStatView* view = RunFromBrowser(settings);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Screen().Grid().rows, 6);
  EXPECT_EQ(view->Screen().Grid().columns, 24);
  view->Frame()->resize(1000, 600);
  QCoreApplication::processEvents();
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  shell_test::WriteViewPictures(folder_.Path(), "statistics", *view, 1);

  // The printout: the caption at the head, the summary of the five charts under the bars.
  platform::RecordingDc dc(96, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  view->OnPrint(dc, 1);
  const std::vector<std::string> texts = dc.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), view->GetFrameTitle()), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), U("Всего гороскопов -  5.")), texts.end());
}

}  // namespace
