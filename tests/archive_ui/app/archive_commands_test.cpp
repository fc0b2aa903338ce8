// The chart commands through the archive in the running program: loading a chart chosen in the
// browser into a new window, and saving a window's chart into the archive with the archive's
// questions answered by the scripted prompter.
#include "archive/browser/archive_commands.h"

#include <gtest/gtest.h>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_view.h"
#include "archive/comments/chart_comments.h"
#include "document/command_ids.h"
#include "shell/shell_fixture.h"

namespace {

using shell_test::kMoscow;
using shell_test::kParis;
using shell_test::NatalChart;
using shell_test::ShellTest;
using testing_support::ReadFile;
using testing_support::WriteFile;

class ArchiveCommandsTest : public ShellTest {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  // A stored record of `birth` (with the aspect-system name a loaded chart gets).
  static Chart Stored(const shell_test::Birth& birth, const char* title) {
    Chart chart = NatalChart(birth, title);
    chart.definition.SetAspectSystemName(GetConfiguration().GetSystemName(kChartNatal));
    return chart;
  }
  // Writes an archive and makes it the program's current archive.
  void OpenArchive(const std::string& name, int layout, const std::vector<Chart>& charts,
                   const std::vector<CommentRefBlock>& blocks = {}) {
    WriteFile(PathOf(name), archive_test::ArchiveBytes(layout, charts, blocks));
    ASSERT_EQ(app_->GetArchive().OpenByName(PathOf(name)), 0);
  }
  // The browser answers by selecting `row` and pressing "ЗАГРУЗИТЬ" (row -1: "Выход").
  static void AnswerBrowser(int row) {
    platform::ModalDriver::Expect<ArchiveView>([row](ArchiveView& view) {
      if (row < 0) {
        view.Button(ArchiveView::kIdExit)->click();
      } else {
        view.List().SetSelected(row, true);
        view.Button(ArchiveView::kIdLoad)->click();
      }
      return view.EndResult();
    });
  }
  int RecordsIn(const std::string& name) {
    Archive other(app_->CommentSlots());
    if (other.SetPath(PathOf(name)) < 0 || other.CreateIndex() != 0) return -1;
    return other.RecordCount();
  }
};

TEST_F(ArchiveCommandsTest, LoadOpensTheChosenChartTitledByTheShellsRule) {
  CKovraApp& app = StartApp();
  OpenArchive("a.arc", kLayout4400, {Stored(kMoscow, "Натал"), Stored(kParis, "Проба")});
  CMainFrame& frame = *app.GetMainFrame();
  EXPECT_TRUE(frame.StateOf(cmd::kLoadFromArchive).enabled);

  AnswerBrowser(1);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kLoadFromArchive));
  ASSERT_EQ(app.DocumentCount(), 1);
  auto* document = static_cast<CKovraDoc*>(frame.GetActiveDocument());
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetTitle(), Cp1251("Дюпон - Проба 01.01.2000 00:05"));
  EXPECT_TRUE(document->savedInArchive);
  EXPECT_EQ(app.GetArchive().MarkedCount(), 0);  // the browse loop clears the choice

  // Record 0 is a record like any other; "Выход" opens nothing.
  AnswerBrowser(0);
  ASSERT_NE(LoadChartFromArchive(app), nullptr);
  EXPECT_EQ(static_cast<CKovraDoc*>(frame.GetActiveDocument())->GetTitle(),
            Cp1251("Иванов - Натал 13.05.1975 14:30"));
  AnswerBrowser(-1);
  EXPECT_EQ(LoadChartFromArchive(app), nullptr);
  EXPECT_EQ(app.DocumentCount(), 2);
}

TEST_F(ArchiveCommandsTest, LoadedChartTakesTheRecordsCommentPages) {
  CKovraApp& app = StartApp();
  OpenArchive("c.arc", kLayout4400, {Stored(kParis, "Проба")}, {archive_test::Block({{3, 0, 5}})});
  WriteFile(PathOf("c.ar3"), "notes");
  AnswerBrowser(0);
  ChartDocument* document = LoadChartFromArchive(app);
  ASSERT_NE(document, nullptr);
  const Chart& chart = *document->GetChart();
  ASSERT_NE(chart.commentSlot, 0);
  EXPECT_TRUE(app.CommentSlots().IsTaken(chart.commentSlot));
  EXPECT_EQ(ReadFile(CommentFileName(chart, 3)), "notes");
}

TEST_F(ArchiveCommandsTest, SaveAsksTheArchivesQuestions) {
  CKovraApp& app = StartApp();
  CMainFrame& frame = *app.GetMainFrame();
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow, "Натал"));
  ASSERT_NE(document, nullptr);
  // The chart carries a comment page.
  Chart& chart = *document->GetChart();
  chart.commentSlot = static_cast<std::uint8_t>(app.GetFreeCommentSlot());
  WriteFile(CommentFileName(chart, 0), "page");
  ASSERT_TRUE(frame.StateOf(cmd::kSaveToArchive).enabled);
  Archive& archive = app.GetArchive();

  // Into the current 4.2 archive: message 505 first.
  OpenArchive("old.arc", kLayout4200, {Stored(kParis, "Проба")});
  archive.saveTargetMode = 0;
  prompts_.Expect(505, platform::Answer::No);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("old.arc"), 1);
  prompts_.Expect(505, platform::Answer::Yes);
  prompts_.shown.clear();
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("old.arc"), 2);
  EXPECT_TRUE(prompts_.WasShown(8));
  EXPECT_FALSE(document->savedInArchive);  // its page was not kept: closing still warns

  // A new name asks message 552: No creates nothing, Yes a 4.4 archive that keeps the page.
  archive.saveTargetMode = -1;
  prompts_.ExpectFile(PathOf("new"));
  prompts_.Expect(552, platform::Answer::No);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_FALSE(std::filesystem::exists(PathOf("new.arc")));
  prompts_.ExpectFile(PathOf("new"));
  prompts_.Expect(552, platform::Answer::Yes);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("new.arc"), 1);
  EXPECT_EQ(ReadFile(PathOf("new.ar0")), "page");
  EXPECT_EQ(archive.GetPath(), PathOf("new.arc"));
  EXPECT_TRUE(document->savedInArchive);
  prompts_.VerifyAllUsed();
}

}  // namespace
