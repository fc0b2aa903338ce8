// The synastry analysis in the running program: Alt+I on a chart window through the set-up
// dialog and the query dialog in the synastry mode (whose Cancel shows the set-up again) into the
// result view; its rows, opening and copying by mode, a changed archive, printing. The archive is
// pairs.txt of the condition tool (Anna, Boris, Vera, Gleb); the condition is the Sun of chart 1
// in house 1 of chart 2, which holds on (0,1) (0,2) (0,3) (2,0) (2,1) (2,3).
#include "conditions/ui/synastry_view.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <filesystem>

#include "archive/comments/comment_slots.h"
#include "chart_fixture.h"
#include "conditions/ui/synastry_dialog.h"
#include "conditions/ui/view_kinds.h"
#include "document/command_ids.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "shell/shell_fixture.h"

namespace {

using platform::Answer;
using platform::ModalDriver;
using S = cfg::SynastrySettings;
namespace fs = std::filesystem;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

class SynastryViewTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartApp(true);
    std::vector<chart_fixture::FixtureChart> charts;
    ASSERT_FALSE(
        chart_fixture::LoadFixture(testing_support::FixturePath("conditions/pairs.txt"), charts));
    archive_ = (folder_ / "pairs.arc").string();
    ASSERT_TRUE(chart_fixture::WriteArchive(charts, archive_));
    testing_support::WriteFile(folder_ / "synfuncs.lst",
                               "1 + 101 0 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n");
    cfg::ByteBlock& block = GetConfiguration().synastry;
    block.Set(S::kPairingMode, std::int16_t{kSynEveryPair});
    block.Set(S::kArchive, archive_);
    block.Set(S::kShowArchives, std::int32_t{1});
    block.Set(S::kShowQuery, std::int32_t{1});
    document_ = OpenCopy(shell_test::NatalChart(shell_test::kMoscow, "Натал"));
  }

  // Alt+I with the set-up dialog answered OK, the query dialog first cancelled (the set-up
  // dialog comes again) and then answered OK. The result view.
  CSynAnalView* RunAnalysis() {
    const auto setup = [](DSYNANAL& dialog) {
      EXPECT_EQ(dialog.Shown(), ControlsOfMode(kSynEveryPair));
      dialog.accept();
      return dialog.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
    };
    ModalDriver::Expect<DSYNANAL>(setup);
    ModalDriver::Expect<DQuery>([](DQuery&) { return platform::kIdCancel; });
    ModalDriver::Expect<DSYNANAL>(setup);
    ModalDriver::Expect<DQuery>([](DQuery& dialog) {
      EXPECT_TRUE(dialog.IsSynastry());
      EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ПАРАМЕТРЫ ЗАПРОСА (СИНАСТРИЧЕСКИЙ АНАЛИЗ)"));
      EXPECT_TRUE(dialog.ModeText()->text().startsWith(QStringLiteral("Режим: для одного архива")));
      EXPECT_EQ(dialog.Model().set.Count(), 1);
      dialog.accept();
      return platform::kIdOk;
    });
    CMainFrame& frame = *app_->GetMainFrame();
    frame.MdiArea()->setActiveSubWindow(document_->Views().front()->Frame());
    EXPECT_TRUE(frame.StateOf(cmd::kSynastryAnalysis).enabled);
    EXPECT_TRUE(frame.ExecuteCommand(cmd::kSynastryAnalysis));
    return View();
  }
  CSynAnalView* View() const {
    for (const auto& document : app_->Documents().Documents())
      for (platform::View* view : document->Views())
        if (auto* v = dynamic_cast<CSynAnalView*>(view)) return v;
    return nullptr;
  }
  std::vector<std::string> OpenedNames(std::size_t from) const {
    std::vector<std::string> names;
    const auto& documents = app_->Documents().Documents();
    for (std::size_t i = from; i < documents.size(); ++i)
      if (const auto* doc = dynamic_cast<const ChartDocument*>(documents[i].get());
          doc && doc->GetChart())
        names.push_back(doc->GetChart()->definition.sources[0].Name());
    return names;
  }
  static void Press(CSynAnalView& view, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
  }
  static std::vector<std::string> ArchiveNames(const std::string& path) {
    CommentSlotTable slots;
    Archive archive(slots);
    std::vector<std::string> names;
    if (archive.SetPath(path) < 0 || archive.CreateIndex() != 0) return names;
    for (int n = 0; n < archive.RecordCount(); ++n) names.push_back(archive.Entry(n).name);
    return names;
  }

  std::string archive_;
  CKovraDoc* document_ = nullptr;
};

TEST_F(SynastryViewTest, AltIRunsThroughBothDialogsIntoTheView) {
  // The run reads its archive on its own: the archive current before stays current.
  const std::string other = (folder_ / "other.arc").string();
  fs::copy_file(archive_, other);
  ASSERT_EQ(app_->GetArchive().OpenByName(other), 0);
  CSynAnalView* view = RunAnalysis();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(ModalDriver::Unanswered().empty());
  const SynAnalTable& table = view->Table();
  ASSERT_EQ(table.Count(), 6);
  std::vector<std::pair<int, int>> pairs;
  for (int i = 0; i < table.Count(); ++i)
    pairs.emplace_back(table.Result(i).record1, table.Result(i).record2);
  EXPECT_EQ(pairs,
            (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 3}, {2, 0}, {2, 1}, {2, 3}}));
  EXPECT_EQ(view->GetFrameTitle(), U(" Синастрический анализ (результаты)"));
  EXPECT_EQ(view->HelpContext(), 0x20126);
  auto* results = dynamic_cast<ChartDocument*>(view->GetDocument());
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->IsViewOpen(kDocViewSynastryResults));
  EXPECT_EQ(table.Description().front(), U("      АРХИВЫ"));
  EXPECT_EQ(table.Description()[1], archive_);
  EXPECT_EQ(app_->GetArchive().GetPath(), other);
  EXPECT_TRUE(app_->GetArchive().IsOpen());
  // The condition mode went to the synastry block.
  EXPECT_EQ(GetConfiguration().synastry.Get(S::kConditionMode), 0);
}

// "ИЗМЕНИТЬ" chooses the archive in the data folder, where a bare name typed is read; the
// comment points at the chart's data above it.
TEST_F(SynastryViewTest, ArchivesAreChosenInTheDataFolderByTheirBareNames) {
  fs::copy_file(archive_, folder_ / "Клиенты.arc");
  prompts_.ExpectFile("Клиенты.arc");
  ModalDriver::Expect<DSYNANAL>([](DSYNANAL& dialog) {
    dialog.ButtonOf(DSYNANAL::kChange1)->click();
    dialog.OnMode(kSynOneArchive);
    EXPECT_TRUE(dialog.Comment()->text().contains(QStringLiteral("(см. его данные выше)")));
    dialog.show();
    EXPECT_LT(dialog.ChartBox()->geometry().bottom(),
              dialog.Comment()->mapTo(&dialog, QPoint()).y());
    return platform::kIdCancel;
  });
  EXPECT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kSynastryAnalysis));
  ASSERT_EQ(prompts_.fileChoices.size(), 1u);
  EXPECT_EQ(prompts_.fileChoices[0].path, (folder_ / "").string());
  EXPECT_EQ(GetConfiguration().synastry.Get(S::kArchive), (folder_ / "Клиенты.arc").string());
}

TEST_F(SynastryViewTest, OpensBothChartsOfAPairAndRefusesAChangedArchive) {
  CSynAnalView* view = RunAnalysis();
  ASSERT_NE(view, nullptr);
  const std::size_t before = app_->Documents().Documents().size();
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Down);  // (2, 0): Vera, then Anna
  Press(*view, Qt::Key_Return);
  EXPECT_EQ(OpenedNames(before), (std::vector<std::string>{"Vera", "Anna"}));

  fs::last_write_time(archive_, fs::last_write_time(archive_) + std::chrono::seconds(5));
  const std::size_t now = app_->Documents().Documents().size();
  view->OnButton(kSynLoad);
  EXPECT_EQ(app_->Documents().Documents().size(), now);
  EXPECT_TRUE(prompts_.WasShown(611));
}

TEST_F(SynastryViewTest, CopiesInPairsOrByColumnAsTheUserAnswers) {
  CSynAnalView* view = RunAnalysis();
  ASSERT_NE(view, nullptr);
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Insert);  // (0, 1)
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Insert);  // (2, 0)
  struct Row {
    Answer answer;
    std::vector<std::string> names;
  };
  const Row rows[] = {{Answer::Yes, {"Anna", "Boris", "Vera", "Anna"}},
                      {Answer::No, {"Anna", "Vera", "Boris", "Anna"}}};
  int n = 0;
  for (const Row& row : rows) {
    const std::string target = (folder_ / ("copy" + std::to_string(n++) + ".arc")).string();
    prompts_.Expect(kMsgCopyInPairs, row.answer);
    prompts_.ExpectFile(target);
    view->OnButton(kSynCopy);
    EXPECT_EQ(ArchiveNames(target), row.names);
    EXPECT_EQ(prompts_.shown.back().text,
              U("Операция успешно завершена.\nСкопировано гороскопов - 4"));
  }
  prompts_.VerifyAllUsed();
}

TEST_F(SynastryViewTest, DrawsAndPrintsTheTable) {
  CSynAnalView* view = RunAnalysis();
  ASSERT_NE(view, nullptr);
  view->OnButton(kSynInvert);
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Insert);
  view->Frame()->resize(1000, 360);
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  platform::RecordingDc page(96, true);
  page.SetMapMode(platform::MapMode::HiMetric);
  view->OnPrint(page, 1);
  const std::vector<std::string> texts = page.Texts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[1], U("СИНАСТРИЧЕСКИЙ АНАЛИЗ"));
  EXPECT_EQ(texts[2], U("      АРХИВЫ"));

  shell_test::WriteViewPictures(folder_.Path(), "synastry_results", *view, info.maxPage);
}

}  // namespace
