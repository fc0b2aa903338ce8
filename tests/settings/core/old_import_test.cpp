// The old folder's files taken over after an older configuration: aspect systems, archives with
// their comment files and the names asked for copies.
#include "settings/core/old_import.h"

#include <gtest/gtest.h>

#include <deque>

#include "astro/aspects/aspectarium.h"
#include "foundation/messages/message_numbers.h"
#include "settings/core/colour_schemes.h"
#include "settings/core/file_name_check.h"
#include "support/test_support.h"

namespace {

using platform::Answer;
using testing_support::ReadFile;
using testing_support::WriteFile;
namespace fs = std::filesystem;

TEST(OldImport, CopyNamesAreCutToEightCharactersBeforeTheFirstDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"ABCDEFGHIJKL", "ABCDEFGH"},
      {"ab cd   xyz", "ab cd"},
      {"name.ext", "name"},
      {"a.b.c", "a"},
      {"   ", ""},
      {"short", "short"},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(settings::CopyNameOf(typed), expected);
}

class OldFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(old_);
    fs::create_directories(program_);
    places_.programFolder = program_;
    places_.schemesFile = program_ / "Velm.col";
    places_.askName = [this](std::string& typed) {
      if (names_.empty()) {
        ADD_FAILURE() << "a name was asked for that the test did not expect";
        return false;
      }
      auto [text, ok] = names_.front();
      names_.pop_front();
      typed = text;
      return ok;
    };
  }
  void TearDown() override {
    EXPECT_TRUE(names_.empty()) << "names left unasked";
    prompts_.VerifyAllUsed();
  }
  testing_support::TempFolder folder_;
  fs::path old_ = folder_ / "old";
  fs::path program_ = folder_ / "program";
  testing_support::ScriptedPrompter prompts_;
  settings::ImportPlaces places_;
  std::deque<std::pair<std::string, bool>> names_;  // typed text, OK
};

TEST_F(OldFilesTest, AspectSystemsYesReplacesNoCopiesUnderANewNameCancelSkips) {
  for (const char* name : {"A.ASP", "B.ASP", "C.ASP", "D.ASP", "E.ASP"})
    WriteFile(old_ / name, std::string("old ") + name);
  for (const char* name : {"a.asp", "b.asp", "c.asp", "e.asp", "TAKEN.asp"})
    WriteFile(program_ / name, std::string("new ") + name);
  prompts_.Expect(kMsgTakeOldSystems, Answer::Yes);
  prompts_.Expect(kMsgFileWord, Answer::Yes);     // A
  prompts_.Expect(kMsgFileWord, Answer::No);      // B
  prompts_.Expect(kMsgFileWord, Answer::Cancel);  // C
  prompts_.Expect(kMsgFileWord, Answer::No);      // E
  names_ = {{"taken", true},                      // B: exists in any case (418), asked again
            {"../x", true},                       // not a file name (1950), asked again
            {"NEWSYSTEM123", true},               // cut to 8
            {"", false}};                         // E: cancelled, skipped
  EXPECT_EQ(settings::ImportOldAspectSystems(old_, places_), 3);
  EXPECT_EQ(ReadFile(program_ / "a.asp"), "old A.ASP");
  EXPECT_EQ(ReadFile(program_ / "b.asp"), "new b.asp");
  EXPECT_EQ(ReadFile(program_ / "NEWSYSTE.asp"), "old B.ASP");
  EXPECT_EQ(ReadFile(program_ / "c.asp"), "new c.asp");
  EXPECT_EQ(ReadFile(program_ / "D.ASP"), "old D.ASP");
  EXPECT_EQ(ReadFile(program_ / "e.asp"), "new e.asp");
  EXPECT_FALSE(fs::exists(program_ / "A.ASP"));  // replaced under its present spelling
  EXPECT_TRUE(prompts_.WasShown(kMsgNameExists));
  EXPECT_TRUE(prompts_.WasShown(kMsgBadFileName));
  EXPECT_TRUE(prompts_.WasShown(kMsgSystemsTaken));
}

TEST_F(OldFilesTest, ArchivesAreCopiedWithTheirCommentFiles) {
  WriteFile(old_ / "X.ARC", "archive X");
  WriteFile(old_ / "X.AR0", "page 0 of X");
  WriteFile(old_ / "x.ar3", "page 3 of X");
  WriteFile(old_ / "Y.arc", "archive Y");
  WriteFile(old_ / "Z.arc", "archive Z");
  WriteFile(program_ / "x.arc", "present x");
  WriteFile(program_ / "z.arc", "present z");
  WriteFile(program_ / "Y.ar5", "stale page of a lost Y");
  prompts_.Expect(kMsgTakeOldArchives, Answer::Yes);
  prompts_.Expect(kMsgOldArchiveWord, Answer::Ok);      // X under a new name
  prompts_.Expect(kMsgOldArchiveWord, Answer::Cancel);  // Z skipped
  names_ = {{"Copy.old", true}};
  EXPECT_EQ(settings::ImportOldArchives(old_, places_), 2);
  EXPECT_EQ(ReadFile(program_ / "Copy.arc"), "archive X");
  EXPECT_EQ(ReadFile(program_ / "Copy.ar0"), "page 0 of X");
  EXPECT_EQ(ReadFile(program_ / "Copy.ar3"), "page 3 of X");
  EXPECT_FALSE(fs::exists(program_ / "Copy.ar1"));
  EXPECT_EQ(ReadFile(program_ / "x.arc"), "present x");
  EXPECT_EQ(ReadFile(program_ / "Y.arc"), "archive Y");
  EXPECT_FALSE(fs::exists(program_ / "Y.ar5"));
  EXPECT_EQ(ReadFile(program_ / "z.arc"), "present z");
  EXPECT_TRUE(prompts_.WasShown(kMsgArchivesTaken));
}

TEST_F(OldFilesTest, TheWholeRunTakesTheConfigurationSchemesAndSystemsAndReloadsThem) {
  std::string cfgFile(39292, '\0');
  for (std::size_t i = 0; i < 50; ++i) cfgFile[150 + i] = '3';  // orb classes
  cfgFile[390] = 9;                                             // screen colour 0
  WriteFile(old_ / "velm.cfg", cfgFile);
  WriteFile(old_ / "Velm.Col", "Old 1 2 3 4 5 6 7 8 9 10 11\n");
  WriteFile(places_.schemesFile, "New 1 1 1 1 1 1 1 1 1 1 1\n");
  std::vector<Aspect> aspects(1);
  WriteFile(old_ / "OLD.ASP", AspectSystem::Serialize(aspects));
  WriteFile(program_ / "VELM.ASP", AspectSystem::Serialize(aspects));
  Aspectarium systems;
  ASSERT_TRUE(systems.LoadAll(program_).empty());

  settings::ImportPage page;
  ASSERT_TRUE(page.Choose(old_ / "velm.cfg", program_ / "velm.cfg"));
  EXPECT_EQ(page.versionCode, 0);
  EXPECT_TRUE(page.Enabled(1342));
  EXPECT_FALSE(page.Enabled(1344));
  page.flags.fill(0);
  page.flags[oldcfg::kColours] = 1;
  prompts_.Expect(kMsgAddOldSchemes, Answer::Yes);
  prompts_.Expect(kMsgOldSchemeMissing, Answer::Yes);
  prompts_.Expect(kMsgTakeOldSystems, Answer::Yes);
  Configuration config;
  ASSERT_TRUE(settings::ImportOldConfiguration(page, config, systems, places_));
  EXPECT_EQ(config.screenColours[0], 9);
  EXPECT_EQ(config.printColours[0], 9);
  EXPECT_EQ(config.GetOrbClass(0), Configuration().GetOrbClass(0));  // planets not chosen
  EXPECT_EQ(ReadFile(places_.schemesFile),
            "New 1 1 1 1 1 1 1 1 1 1 1\nOld 1 2 3 4 5 6 7 8 9 10 11\n");
  EXPECT_EQ(systems.Count(), 2);
  EXPECT_EQ(systems.HasSystem("OLD"), 1);
  EXPECT_TRUE(prompts_.WasShown(kMsgImportDone));
}

TEST_F(OldFilesTest, RefusedFilesClearTheChoice) {
  struct Case {
    const char* name;
    std::string bytes;
    bool own;
    int message;
  };
  std::string v46(52000, '\0');
  v46[0] = 46;
  std::string v51(52000, '\0');
  v51[0] = 51;
  const Case cases[] = {{"dos", std::string(6200, 'x'), false, 403},
                        {"v40", std::string(36670, 'x'), false, 404},
                        {"v46", v46, false, 405},
                        {"own_v51", v51, true, 402}};
  for (const Case& c : cases) {
    const fs::path file = (c.own ? program_ : old_) / "VELM.CFG";
    WriteFile(file, c.bytes);
    settings::ImportPage page;
    page.fileChosen = true;
    // The program's own file is named by another path to the same file.
    EXPECT_FALSE(
        page.Choose(file, c.own ? program_ / ".." / "program" / "VELM.CFG" : program_ / "velm.cfg"))
        << c.name;
    EXPECT_FALSE(page.fileChosen) << c.name;
    EXPECT_FALSE(page.Enabled(1334)) << c.name;
    EXPECT_TRUE(prompts_.WasShown(c.message)) << c.name;
  }
  settings::ImportPage page;
  EXPECT_FALSE(page.Choose(old_ / "missing.cfg", program_ / "velm.cfg"));
  EXPECT_TRUE(prompts_.WasShown(-102));
}

}  // namespace
