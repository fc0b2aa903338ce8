// The limits of the formats: a path longer than the field that keeps it is refused with a message,
// never stored cut (a cut path names another file); text that code page 1251 cannot hold is
// refused where it is typed, and paths with such characters come back from every file byte for
// byte.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

#include "archive/archive_fixture.h"
#include "archive/store/archive.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/synastry_setup.h"
#include "conditions/core/tlr_base.h"
#include "conditions/ui/tlr_editor_sheet.h"
#include "conditions/ui/tlr_output.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/file_dialog.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/qt_text.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

// A path of exactly `length` bytes in `folder` (folders made as needed), holding an empty
// archive.
std::string PathOfLength(const fs::path& folder, std::size_t length) {
  std::string path = folder.string() + "/";
  while (path.size() + 100 < length) path += std::string(90, 'd') + "/";
  path += std::string(length - path.size() - 4, 'f') + ".arc";
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, archive_test::Header(kLayout4400));
  return path;
}

TEST(PathFields, APathLongerThanItsFieldIsRefusedNeverCut) {
  TempFolder folder;
  GetSettings().SetFolder(folder.Path());
  struct Row {
    const char* name;
    std::size_t width;  // the field, its NUL included
    // Offers `path` to the place that keeps it, and gives back what it keeps.
    std::function<std::string(const std::string& path, ScriptedPrompter&)> keep;
  };
  const Row rows[] = {
      {"file_dialog", kPathWidth,
       [](const std::string& path, ScriptedPrompter& p) {
         std::string chosen = "before";
         p.ExpectFile(path);
         FileDialog(chosen, 1, "Archives\0*.arc\0", 0);
         return chosen;
       }},
      {"synastry_archive", cfg::SynastrySettings::kArchive.width,
       [](const std::string& path, ScriptedPrompter&) {
         Configuration config;
         config.synastry.Set(cfg::SynastrySettings::kArchive, "before");
         SynastrySetupModel model;
         model.mode = 1;
         (void)model.ChooseArchive(path, false, config.synastry);
         return config.synastry.Get(cfg::SynastrySettings::kArchive);
       }},
      {"interpretation_output_file", cfg::InterpretationSettings::kFileName.width,
       [](const std::string& path, ScriptedPrompter& p) {
         TLRDATA data;
         DTLRPARAMS dialog(data);
         dialog.fileName = "before";
         p.ExpectFile(path);
         p.Expect(kMsgTlrOutputFileExists, platform::Answer::Yes);  // the file exists: replaced
         dialog.OnChangeFile();
         return dialog.fileName;
       }},
      {"recent_archives", Archive::kMaxNameLength + 1,
       [](const std::string& path, ScriptedPrompter&) {
         CommentSlotTable slots;
         Archive archive(slots);
         archive.Recent().AddRecentName(path);
         return archive.Recent().RecentNames().empty() ? std::string("before")
                                                       : archive.Recent().RecentNames().front();
       }},
  };
  for (const Row& row : rows) {
    for (const std::size_t length : {row.width - 1, row.width, row.width + 40}) {
      SCOPED_TRACE(std::string(row.name) + " " + std::to_string(length));
      const std::string path = PathOfLength(folder.Path(), length);
      ScriptedPrompter prompts;
      const std::string kept = row.keep(path, prompts);
      if (length < row.width) {
        EXPECT_EQ(kept, path);
      } else {
        EXPECT_NE(kept.find("before"), std::string::npos) << "stored: " << kept.size();
      }
    }
  }
  GetSettings().SetFolder({});
}

TEST(CodePage, TextTheCodePageCannotHoldIsRefusedAndPathsComeBackWhole) {
  // Typed text: the line fields refuse it, the text base's body editor refuses it at OK.
  const QString foreign = QString::fromUtf8("Танака 田中 ☉");
  const QString russian = QString::fromUtf8("Танака «Солнце» №1");
  platform::Cp1251Validator validator;
  int at = 0;
  QString input = foreign;
  EXPECT_EQ(validator.validate(input, at), QValidator::Invalid);
  input = russian;
  EXPECT_EQ(validator.validate(input, at), QValidator::Acceptable);
  TLRBASE base;
  for (const QString& body : {foreign, russian}) {
    ScriptedPrompter prompts;
    DTLR_TEXTPAR dialog(base, -1);
    dialog.findChild<QLineEdit*>()->setText(QStringLiteral("title"));
    dialog.findChild<QPlainTextEdit*>()->setPlainText(body);
    ASSERT_TRUE(dialog.DoDataExchange(true));
    const bool accepted = dialog.CheckOk();
    EXPECT_EQ(accepted, body == russian);
    EXPECT_EQ(prompts.WasShown(2145), body == foreign);
  }

  // Paths are the system's bytes: every file that keeps one gives it back unchanged.
  TempFolder folder;
  GetSettings().SetFolder(folder.Path());
  const std::string path = (folder.Path() / "Танака 田中 ☉.arc").string();
  WriteFile(path, archive_test::Header(kLayout4400));
  struct Row {
    const char* name;
    std::function<std::string()> roundTrip;
  };
  const Row rows[] = {
      {"recent_archives",
       [&] {
         CommentSlotTable slots;
         Archive writer(slots), reader(slots);
         writer.Recent().AddRecentName(path);
         EXPECT_EQ(writer.Recent().SaveNames(), 0);
         reader.Recent().LoadNames();
         return reader.Recent().RecentNames().empty() ? std::string()
                                                      : reader.Recent().RecentNames().front();
       }},
      {"archive_list",
       [&] {
         EXPECT_EQ(SaveArcs(folder / "quearcs.lst", {{path, true}}), 0);
         const auto entries = LoadArcs(folder / "quearcs.lst");
         return entries.empty() ? std::string() : entries.front().path;
       }},
      {"configuration_field",
       [&] {
         Configuration config;
         config.dynamicArchive.Set(cfg::DynamicArchiveParams::kFileName, path);
         EXPECT_TRUE(config.Save(folder / "velm.cfg").ok());
         Configuration read;
         EXPECT_TRUE(read.Load(folder / "velm.cfg").ok());
         return read.dynamicArchive.Get(cfg::DynamicArchiveParams::kFileName);
       }},
      {"interpretation_output_copy",
       [&] {
         WriteFile(folder / TLRDATA::kOutputName, "texts\n");
         const std::string target = (folder.Path() / "Танака ☉.txt").string();
         EXPECT_TRUE(TLRDATA::CopyOutput(target, true));
         return ReadFile(target) == "texts\n" ? path : std::string();
       }},
  };
  for (const Row& row : rows) EXPECT_EQ(row.roundTrip(), path) << row.name;
  GetSettings().SetFolder({});
}

}  // namespace

namespace {

// Two running copies on one data folder: the second is refused while the first runs, and a copy
// that ended without letting go (it crashed) holds nothing.
TEST(TwoCopies, TheDataFolderLockFollowsTheRunningCopyOnly) {
  struct Row {
    const char* name;
    bool firstStillRuns;
    DataFolderLock::Result second;
  } const rows[] = {
      {"first_copy_running", true, DataFolderLock::Result::HeldByAnother},
      {"first_copy_crashed", false, DataFolderLock::Result::Acquired},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempFolder dir;
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t first = ::fork();
    if (first == 0) {
      DataFolderLock lock;
      const char got = lock.Acquire(dir.Path()) == DataFolderLock::Result::Acquired ? 'y' : 'n';
      [[maybe_unused]] const ssize_t w = ::write(ready[1], &got, 1);
      char wait = 0;
      if (row.firstStillRuns) [[maybe_unused]]
        const ssize_t r = ::read(release[0], &wait, 1);
      ::_exit(0);  // never lets go itself
    }
    char got = 0;
    ASSERT_EQ(::read(ready[0], &got, 1), 1);
    ASSERT_EQ(got, 'y');
    if (!row.firstStillRuns) ::waitpid(first, nullptr, 0);
    DataFolderLock second;
    EXPECT_EQ(second.Acquire(dir.Path()), row.second);
    EXPECT_EQ(second.HolderPid(), row.firstStillRuns ? static_cast<long>(first) : 0L);
    const char go = 'g';
    [[maybe_unused]] const ssize_t w = ::write(release[1], &go, 1);
    if (row.firstStillRuns) ::waitpid(first, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
  }
}

}  // namespace
