#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "foundation/files/data_file_names.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/settings.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(DataFolder, ChosenInTheOrderCommandLineEnvironmentProgramFolderUserFolder) {
  enum ExeFolder { Plain, WithConfig, WithOldConfigName, WithPortable };
  struct Row {
    const char* name;
    bool commandLine, environment;
    ExeFolder exe;
    DataFolderOrigin origin;
  };
  const Row rows[] = {
      {"command_line_first", true, true, WithPortable, DataFolderOrigin::CommandLine},
      {"environment_second", false, true, WithConfig, DataFolderOrigin::Environment},
      {"program_folder_with_configuration", false, false, WithConfig,
       DataFolderOrigin::ExecutableFolder},
      {"program_folder_configuration_in_capitals", false, false, WithOldConfigName,
       DataFolderOrigin::ExecutableFolder},
      {"program_folder_marked_portable", false, false, WithPortable,
       DataFolderOrigin::ExecutableFolder},
      {"plain_program_folder_not_used", false, false, Plain, DataFolderOrigin::UserData},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempFolder root;
    fs::create_directories(root / "bin");
    if (r.exe == WithConfig) WriteFile(root / "bin" / "velm.cfg", "c");
    if (r.exe == WithOldConfigName) WriteFile(root / "bin" / "VELM.CFG", "c");
    if (r.exe == WithPortable) WriteFile(root / "bin" / "portable", "");
    DataFolderCandidates c;
    if (r.commandLine) c.commandLine = root / "cmd";
    if (r.environment) c.environment = root / "env";
    c.executableFolder = root / "bin";
    c.userDataHome = root / "share";
    const DataFolderChoice choice = ChooseDataFolder(c);
    EXPECT_EQ(choice.origin, r.origin);
    const fs::path expected = r.origin == DataFolderOrigin::CommandLine   ? root / "cmd"
                              : r.origin == DataFolderOrigin::Environment ? root / "env"
                              : r.origin == DataFolderOrigin::UserData    ? root / "share" / "velm"
                                                                          : root / "bin";
    EXPECT_EQ(choice.folder, expected);
  }
}

TEST(DataFolder, UserDataHomeFollowsTheXdgRules) {
  EXPECT_EQ(UserDataHome("/x/data", "/home/u"), fs::path("/x/data"));
  EXPECT_EQ(UserDataHome("relative/data", "/home/u"), fs::path("/home/u/.local/share"));
  EXPECT_EQ(UserDataHome("", "/home/u"), fs::path("/home/u/.local/share"));
  EXPECT_EQ(UserDataHome(nullptr, "/home/u"), fs::path("/home/u/.local/share"));
  EXPECT_EQ(UserDataHome(nullptr, nullptr), fs::path());
}

TEST(DataFolder, SeedingCopiesOnlyMissingFilesAndNeverOverwrites) {
  TempFolder root;
  const fs::path shipped = root / "share";
  fs::create_directories(shipped / "maps");
  WriteFile(shipped / "velm.asp", "shipped asp");
  WriteFile(shipped / "Velm.col", "shipped colours");
  WriteFile(shipped / "Town.dat", "shipped towns");
  WriteFile(shipped / "maps" / "World.mf1", "shipped map");
  WriteFile(shipped / "SOURCES.md", "where the shipped files came from");  // not program data
  const fs::path user = root / "user" / "velm";
  fs::create_directories(user);
  WriteFile(user / "velm.asp", "my aspects");
  WriteFile(user / "VELM.COL", "my colours");  // the same file under another spelling

  SeedResult seeded;
  ASSERT_TRUE(SeedDataFolder(user, shipped, &seeded).ok());
  std::sort(seeded.copied.begin(), seeded.copied.end());
  EXPECT_EQ(seeded.copied, (std::vector<std::string>{"Town.dat", "maps/World.mf1"}));
  // Without a list of shipped versions the files present are never compared.
  EXPECT_TRUE(seeded.putBeside.empty());
  EXPECT_FALSE(fs::exists(user / "velm.asp.new"));
  EXPECT_EQ(ReadFile(user / "velm.asp"), "my aspects");
  EXPECT_EQ(ReadFile(user / "VELM.COL"), "my colours");
  EXPECT_FALSE(fs::exists(user / "Velm.col"));
  EXPECT_FALSE(fs::exists(user / "SOURCES.md"));
  EXPECT_EQ(ReadFile(user / "Town.dat"), "shipped towns");
  EXPECT_EQ(ReadFile(user / "maps" / "World.mf1"), "shipped map");

  // A second start copies nothing, and keeps the user's changes to seeded files.
  WriteFile(user / "Town.dat", "my towns");
  seeded = {};
  ASSERT_TRUE(SeedDataFolder(user, shipped, &seeded).ok());
  EXPECT_TRUE(seeded.copied.empty());
  EXPECT_EQ(ReadFile(user / "Town.dat"), "my towns");
}

TEST(DataFolder, EveryFolderButTheProgramsOwnIsSeededFromTheFirstShippedFolderThatExists) {
  for (DataFolderOrigin origin :
       {DataFolderOrigin::UserData, DataFolderOrigin::CommandLine, DataFolderOrigin::Environment,
        DataFolderOrigin::ExecutableFolder}) {
    TempFolder root;
    fs::create_directories(root / "second");
    fs::create_directories(root / "third");
    WriteFile(root / "second" / "velm.str", "2");
    WriteFile(root / "third" / "velm.lnd", "3");
    DataFolderCandidates c;
    c.shippedDefaults = {root / "first_missing", root / "second", root / "third"};
    const DataFolderChoice choice{root / "data" / "velm", origin};
    ASSERT_TRUE(PrepareDataFolder(choice, c).ok());
    EXPECT_TRUE(fs::is_directory(choice.folder));
    EXPECT_EQ(fs::exists(choice.folder / "velm.str"), origin != DataFolderOrigin::ExecutableFolder);
    EXPECT_FALSE(fs::exists(choice.folder / "velm.lnd"));
  }
}

TEST(DataFolder, APathInTheFolderTakesTheExactNameThenAUniqueMatchIgnoringCase) {
  TempFolder dir;
  WriteFile(dir / "velm.cfg", "");
  WriteFile(dir / "VELM.CFG", "");
  WriteFile(dir / "VELM.COL", "");
  WriteFile(dir / "Town.DAT", "");
  WriteFile(dir / "TOWN.dat", "");
  fs::create_directories(dir / "maps");
  WriteFile(dir / "maps" / "World.mf1", "");
  const Settings settings(dir.Path());
  const std::string d = dir.Path().native() + "/";
  const std::pair<const char*, std::string> rows[] = {
      {"velm.cfg", d + "velm.cfg"},  // exact, though another spelling exists
      {"Velm.col", d + "VELM.COL"},  // the one match ignoring case
      {"Town.dat", d + "Town.dat"},  // two matches: the name as given
      {"velm.sav", d + "velm.sav"},  // a new file gets the given spelling
      {"maps/WORLD.MF1", d + "maps/World.mf1"},
      {"", d},  // the folder itself
  };
  for (const auto& [name, expected] : rows) EXPECT_EQ(settings.GetPath(name), expected) << name;
  EXPECT_EQ(settings.GetPath(kDataConfig), d + "velm.cfg");
  EXPECT_EQ(Settings(d).GetPath(""), d);  // no doubled separator
}

TEST(DataFolder, FileNameTableKeepsTheFixedPositions) {
  EXPECT_STREQ(g_DataFileNames[17], "velm.sab");
  EXPECT_STREQ(g_DataFileNames[kDataConfig], "velm.cfg");
  for (const char* name :
       {"velm.asp", "velm.str", "Town.cor", "Town.dat", "Town.dst", "velm.arn", "velm.sav",
        "velm.lnd", "Velm.est", "Velm.int", "velm.agr", "Ormcnvt.exe"})
    EXPECT_NE(std::find_if(g_DataFileNames.begin(), g_DataFileNames.end(),
                           [name](const char* n) { return std::string(n) == name; }),
              g_DataFileNames.end())
        << name;
  // Apart from the older version's two names (looked up in that version's folder), no two
  // entries name the same file in a folder that is searched ignoring case.
  std::set<std::string> folded;
  for (std::size_t i = 0; i < kDataOldConfig; ++i) {
    std::string n = g_DataFileNames[i];
    for (char& ch : n) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(folded.insert(n).second) << n;
  }
}

TEST(DataFolderLock, ASecondCopyIsRefusedUntilTheFirstLetsGo) {
  TempFolder dir;
  DataFolderLock first;
  ASSERT_EQ(first.Acquire(dir.Path()), DataFolderLock::Result::Acquired);
  EXPECT_EQ(std::stol(ReadFile(dir / "velm.lck")), static_cast<long>(::getpid()));

  // Another process on the same folder.
  const pid_t child = ::fork();
  if (child == 0) {
    DataFolderLock second;
    ::_exit(second.Acquire(dir.Path()) == DataFolderLock::Result::HeldByAnother ? 7 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);

  {
    ScriptedPrompter prompts;
    DataFolderLock second;
    EXPECT_FALSE(LockDataFolderOrTell(second, dir.Path()));
    EXPECT_EQ(second.HolderPid(), static_cast<long>(::getpid()));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find(dir.Path().native()), std::string::npos);
  }
  first.Release();
  DataFolderLock third;
  EXPECT_EQ(third.Acquire(dir.Path()), DataFolderLock::Result::Acquired);
}

TEST(DataFolderLock, AFolderWithoutALockFileIsReportedButUsed) {
  TempFolder dir;
  ScriptedPrompter prompts;
  DataFolderLock lock;
  EXPECT_TRUE(LockDataFolderOrTell(lock, dir / "does-not-exist"));
  EXPECT_FALSE(lock.Held());
  EXPECT_TRUE(prompts.WasShown(-105));
}

}  // namespace

namespace {

TEST(ProgramFiles, TheDataFolderCopyComesFirstThenTheShippedOne) {
  testing_support::TempFolder data;
  testing_support::TempFolder shipped;
  testing_support::WriteFile(shipped / "velm.gly", "shipped");
  Settings settings(data.Path());
  EXPECT_EQ(settings.FindProgramFile("velm.gly"), settings.GetPath("velm.gly"));  // none shipped
  settings.SetShippedFolders({data.Path() / "missing", shipped.Path()});
  EXPECT_EQ(settings.FindProgramFile("velm.gly"), (shipped / "velm.gly").string());
  testing_support::WriteFile(data / "velm.gly", "own");
  EXPECT_EQ(settings.FindProgramFile("velm.gly"), (data / "velm.gly").string());
}

}  // namespace
