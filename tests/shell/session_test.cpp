// The session file: the charts open at the end of a run come back at the next start; a failed
// write keeps the previous session; result documents are not kept.
#include "shell/core/session.h"

#include <filesystem>

#include "document/view_kinds.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/view.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecordSize = 1776;  // a chart record of version 4200

fs::path SessionPath() { return GetSettings().GetPath("velm.sav"); }

std::vector<std::string> OpenChartNames(CKovraApp& app) {
  std::vector<std::string> names;
  for (const auto& document : app.Documents().Documents()) {
    if (const Chart* chart = static_cast<CKovraDoc&>(*document).GetChart())
      names.push_back(chart->definition.sources[0].Name());
  }
  return names;
}

// Closing the main window writes the session with the configuration, the profile and the archive
// list at the end of the exit, all of them waiting for the disk once; an exit that changed nothing
// rewrites nothing.
TEST_F(ShellTest, ExitWaitsForTheDiskOnceAndLeavesUnchangedFilesAlone) {
  CKovraApp& app = StartApp(true);
  ASSERT_NE(OpenCopy(NatalChart(kMoscow, "Первый")), nullptr);
  ASSERT_NE(OpenCopy(NatalChart(kTokyo, "Второй")), nullptr);
  const int waits = DiskWaits();
  ASSERT_TRUE(app.GetMainFrame()->close());
  EXPECT_EQ(app.DocumentCount(), 0);
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_EQ(DiskWaits() - waits, 1);
  EXPECT_EQ(fs::file_size(SessionPath()), 2 * kRecordSize);
  for (const char* name : {"velm.cfg", "velm.ini", "velm.arn"})
    EXPECT_TRUE(fs::exists(GetSettings().GetPath(name))) << name;
  app_.reset();

  // The next run opens nothing and changes no setting: its session is empty and nothing else is
  // written.
  CKovraApp& again = StartApp();
  const int before = DiskWaits();
  again.CloseAllAndSaveSession();
  EXPECT_EQ(again.ExitInstance(), 0);
  EXPECT_EQ(DiskWaits(), before);
  EXPECT_FALSE(fs::exists(SessionPath()));
}

TEST_F(ShellTest, SessionOfThreeChartsComesBackInOrder) {
  CKovraApp& app = StartApp();
  Chart commented = NatalChart(kParis, "Второй");
  commented.commentSlot = 5;
  testing_support::WriteFile(GetSettings().GetPath("Velm0051.txt"), "page 1");
  ASSERT_NE(OpenCopy(NatalChart(kMoscow, "Первый")), nullptr);
  ASSERT_NE(OpenCopy(commented), nullptr);
  ASSERT_NE(OpenCopy(NatalChart(kTokyo, "Третий")), nullptr);
  // A result document holds no chart and stays out of the session.
  ASSERT_NE(CKovraDoc::Open(app, DocCreation::Results(DocCreationMode::EmptyResults)), nullptr);

  app.CloseAllAndSaveSession();
  EXPECT_EQ(app.DocumentCount(), 0);
  EXPECT_EQ(fs::file_size(SessionPath()), 3 * kRecordSize);
  // The comment pages of a chart kept in the session stay.
  EXPECT_TRUE(fs::exists(GetSettings().GetPath("Velm0051.txt")));
  app.ExitInstance();
  app_.reset();

  // The next start offers the session, and restoring it opens the three charts.
  bool offered = false;
  platform::ModalDriver::Expect<DStartup>([&offered](DStartup& dialog) {
    offered = dialog.restoreAvailable;
    dialog.choice = DStartup::kRestoreSession;
    return platform::kIdOk;
  });
  ASSERT_TRUE(Launch());
  EXPECT_TRUE(offered);
  EXPECT_EQ(OpenChartNames(*app_),
            (std::vector<std::string>{Cp1251("Иванов"), Cp1251("Дюпон"), Cp1251("Танака")}));
  const auto& documents = app_->Documents().Documents();
  ASSERT_EQ(documents.size(), 3u);
  const Chart& second = *static_cast<CKovraDoc&>(*documents[1]).GetChart();
  EXPECT_EQ(second.definition.Title(), Cp1251("Второй"));
  EXPECT_EQ(second.definition.sources[0], commented.definition.sources[0]);
  EXPECT_EQ(second.commentSlot, 5);
  EXPECT_TRUE(app_->CommentSlots().IsTaken(5));
  EXPECT_EQ(static_cast<CKovraDoc&>(*documents[0]).GetTitle(),
            Cp1251("Иванов - Первый 13.05.1975 14:30"));
}

TEST_F(ShellTest, AChartFileOpenedTwiceLeavesTheCommentPagesToTheFirstWindow) {
  CKovraApp& app = StartApp();
  Chart commented = NatalChart(kParis, "Второй");
  commented.commentSlot = 5;
  const fs::path page = GetSettings().GetPath("Velm0051.txt");
  testing_support::WriteFile(page, "page 1");
  const fs::path file = folder_ / "charts.sav";
  ASSERT_TRUE(WriteSessionFile(file, {commented}).ok());
  ASSERT_EQ(app.OpenChartFile(file), 1);
  ASSERT_EQ(app.OpenChartFile(file), 1);
  const auto& documents = app.Documents().Documents();
  ASSERT_EQ(documents.size(), 2u);
  auto* first = static_cast<CKovraDoc*>(documents[0].get());
  auto* second = static_cast<CKovraDoc*>(documents[1].get());
  EXPECT_EQ(first->GetChart()->commentSlot, 5);
  EXPECT_EQ(second->GetChart()->commentSlot, 0) << "one slot, one open chart";

  // Closing the second window leaves the first one's pages alone.
  second->Views().front()->Frame()->close();
  DeletePending();
  EXPECT_EQ(app.DocumentCount(), 1);
  EXPECT_TRUE(fs::exists(page));
  EXPECT_TRUE(app.CommentSlots().IsTaken(5));
}

TEST_F(ShellTest, ASessionWithTwoChartsOnOneCommentSlotGivesThePagesToTheFirst) {
  Chart commented = NatalChart(kParis, "Второй");
  commented.commentSlot = 5;
  testing_support::WriteFile(GetSettings().GetPath("Velm0051.txt"), "page 1");
  ASSERT_TRUE(WriteSessionFile(SessionPath(), {commented, commented}).ok());
  CKovraApp& app = StartApp();
  ASSERT_EQ(app.RestoreSession(), 2);
  const auto& documents = app.Documents().Documents();
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(static_cast<CKovraDoc&>(*documents[0]).GetChart()->commentSlot, 5);
  EXPECT_EQ(static_cast<CKovraDoc&>(*documents[1]).GetChart()->commentSlot, 0);
}

TEST_F(ShellTest, SessionWithoutChartsLeavesNoFileAndIsNotOffered) {
  testing_support::WriteFile(SessionPath(), std::string(kRecordSize, '\0'));
  CKovraApp& app = StartApp();
  app.CloseAllAndSaveSession();
  EXPECT_FALSE(fs::exists(SessionPath()));
  app_.reset();

  bool offered = true;
  platform::ModalDriver::Expect<DStartup>([&offered](DStartup& dialog) {
    offered = dialog.restoreAvailable;
    dialog.choice = DStartup::kRestoreSession;  // not available: nothing happens
    return platform::kIdOk;
  });
  ASSERT_TRUE(Launch());
  EXPECT_FALSE(offered);
  EXPECT_EQ(app_->DocumentCount(), 0);
}

TEST_F(ShellTest, FailedSessionWriteKeepsTheOldSession) {
  // The old session: one chart.
  ASSERT_TRUE(WriteSessionFile(SessionPath(), {NatalChart(kTokyo)}).ok());
  const std::string old = testing_support::ReadFile(SessionPath());
  ASSERT_EQ(old.size(), kRecordSize);

  // How many file operations a successful write takes (create, writes, rename).
  {
    testing_support::TempFolder probe;
    ArmFileFault(0);
    ASSERT_TRUE(
        WriteSessionFile(probe / "velm.sav", {NatalChart(kMoscow), NatalChart(kParis)}).ok());
  }
  const int operations = CountedFileOperations();
  ASSERT_GE(operations, 3);

  // Every one of them failing in turn leaves the old file whole and says so.
  for (int failing = 1; failing <= operations; ++failing) {
    SCOPED_TRACE(failing);
    CKovraApp& app = StartApp();
    ASSERT_NE(OpenCopy(NatalChart(kMoscow)), nullptr);
    ASSERT_NE(OpenCopy(NatalChart(kParis)), nullptr);
    prompts_.shown.clear();
    ArmFileFault(failing);
    app.CloseAllAndSaveSession();
    ArmFileFault(0);
    EXPECT_EQ(testing_support::ReadFile(SessionPath()), old);
    EXPECT_TRUE(prompts_.WasShown(-104) || prompts_.WasShown(-105));
    app_.reset();
    DeletePending();
  }
  // Nothing of the failed writes is left in the folder.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder_.Path()))
    files += entry.path().filename().string().find(".tmp") != std::string::npos;
  EXPECT_EQ(files, 0);
}

TEST_F(ShellTest, DamagedSessionFilesAreRefused) {
  std::vector<Chart> charts;
  struct Case {
    const char* name;
    std::size_t size;
    int error;
  };
  const Case cases[] = {
      {"part_of_a_record", kRecordSize - 1, 106},
      {"record_and_a_half", kRecordSize + kRecordSize / 2, 106},
      {"missing", 0, 102},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = folder_ / (std::string(c.name) + ".sav");
    if (c.size > 0) testing_support::WriteFile(path, std::string(c.size, '\0'));
    charts.assign(2, Chart());
    const Status status = ReadSessionFile(path, charts);
    EXPECT_EQ(status.ErrorCode(), c.error);
    EXPECT_TRUE(charts.empty());
  }
}

// A session file that could not be read wholly at start is renamed aside with a message and
// never deleted; the whole records read before the damage are still offered.
TEST_F(ShellTest, ASessionFileNotReadWhollyIsKeptAsideAndTheReadChartsOffered) {
  BinaryWriter good;
  NatalChart(kMoscow, "Первый").Save(good, kChartRecordVersion4200);
  const std::string record = good.Data();
  ASSERT_EQ(record.size(), kRecordSize);
  struct Case {
    const char* name;
    std::string bytes;
    bool unreadable;
    std::size_t offered;
  };
  const Case cases[] = {
      {"truncated", record + record.substr(0, 1000), false, 1},
      {"second_record_damaged", record + std::string(kRecordSize, '\xFF'), false, 1},
      {"first_record_damaged", std::string(kRecordSize, '\xFF') + record, false, 0},
      {"unreadable", record + record, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path kept = SessionPath().string() + ".bad";
    fs::remove(kept);
    testing_support::WriteFile(SessionPath(), c.bytes);
    if (c.unreadable) ArmReadFault(SessionPath());
    std::size_t offered = 99;
    platform::ModalDriver::Expect<DStartup>([&offered](DStartup& dialog) {
      offered = dialog.restoreAvailable ? 1 : 0;
      dialog.choice = DStartup::kRestoreSession;
      return platform::kIdOk;
    });
    prompts_.shown.clear();
    ASSERT_TRUE(Launch());
    ArmReadFault({});
    EXPECT_EQ(offered, c.offered ? 1u : 0u);
    EXPECT_EQ(static_cast<std::size_t>(app_->DocumentCount()), c.offered);
    ASSERT_TRUE(prompts_.WasShown(1990));
    EXPECT_NE(prompts_.shown.back().text.find(kept.string()), std::string::npos);
    EXPECT_EQ(testing_support::ReadFile(kept), c.bytes);

    // The exit writes the open charts as the new session and leaves the kept file alone.
    app_->ExitInstance();
    app_.reset();
    DeletePending();
    EXPECT_EQ(testing_support::ReadFile(kept), c.bytes);
    EXPECT_EQ(fs::exists(SessionPath()), c.offered > 0);
  }
}

// When the unread file cannot be renamed aside either, it stays in its place, untouched by the
// exit.
TEST_F(ShellTest, ASessionFileThatCanNeitherBeReadNorMovedIsNotReplaced) {
  const std::string damaged(kRecordSize + 10, '\xFF');
  testing_support::WriteFile(SessionPath(), damaged);
  // Every name the file could be kept under is taken.
  testing_support::WriteFile(SessionPath().string() + ".bad", "");
  for (int n = 2; n <= 99; ++n)
    testing_support::WriteFile(SessionPath().string() + ".bad" + std::to_string(n), "");
  CKovraApp& app = StartApp();
  EXPECT_TRUE(prompts_.WasShown(-106));
  ASSERT_NE(OpenCopy(NatalChart(kParis)), nullptr);
  app.ExitInstance();
  EXPECT_EQ(testing_support::ReadFile(SessionPath()), damaged);
}

}  // namespace
}  // namespace shell_test
