#include "settings/core/aspect_system_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "settings/core/settings_pages.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::Answer;
using settings::AspectSystemEditor;
using settings::CorrespondencePage;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

Aspect Make(double angle, std::uint8_t type, std::uint8_t major) {
  Aspect a;
  a.angle = angle;
  a.orbs = {8, 7, 6, 5, 4, 1};
  a.abbreviation = "A" + std::to_string(static_cast<int>(angle));
  a.type = type;
  a.major = major;
  return a;
}

// A data folder with the systems `names`, each of `count` aspects, loaded, and the editor opened.
class EditorTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& names, int count = 3) {
    for (const std::string& name : names) {
      std::vector<Aspect> list;
      for (int k = 0; k < count; ++k)
        list.push_back(Make(30.0 * (k + 1), static_cast<std::uint8_t>(k % 5), k % 2 == 0));
      WriteFile(folder / (name + ".ASP"), AspectSystem::Serialize(list));
    }
    ASSERT_TRUE(aspects.LoadAll(folder.Path()).empty());
    ASSERT_TRUE(editor.Open());
  }
  std::string FileOf(const std::string& name) { return ReadFile(folder / (name + ".ASP")); }
  std::vector<Aspect> OnDisk(const std::string& name) {
    std::vector<Aspect> list;
    EXPECT_TRUE(AspectSystem::Parse(FileOf(name), list, name).ok());
    return list;
  }

  TempFolder folder;
  ScriptedPrompter prompts;
  Aspectarium aspects;
  Configuration config;
  AspectSystemEditor editor{aspects, config};
};

TEST_F(EditorTest, OpensOnTheDisplaySlotsSystemAndFallsBackToTheFirst) {
  Load({"ALPHA", "BETA"});
  ASSERT_TRUE(config.SetSystemName(Configuration::kDisplaySystemSlot, "beta"));
  ASSERT_TRUE(editor.Open());
  EXPECT_EQ(editor.Edited()->GetName(), "BETA");
  EXPECT_EQ(editor.selection, 0);
  ASSERT_TRUE(config.SetSystemName(Configuration::kDisplaySystemSlot, "GONE"));
  ASSERT_TRUE(editor.Open());
  EXPECT_EQ(editor.Edited()->GetName(), "ALPHA");
}

TEST_F(EditorTest, AddingAndEditingTakeTheDialogsFieldsOnlyOnOk) {
  Load({"ALPHA"});
  const std::string before = FileOf("ALPHA");

  // Cancel leaves everything, in memory and on disk.
  Aspect seen;
  EXPECT_FALSE(editor.Add([&seen](Aspect& a) {
    seen = a;
    a.angle = 45;
    return false;
  }));
  EXPECT_EQ(editor.Edited()->Count(), 3);
  // The new aspect offered: angle 0, no orbs, colours 1, harmonious, major, solid, thin.
  EXPECT_EQ(std::tie(seen.angle, seen.orbs, seen.abbreviation, seen.color, seen.exactColor,
                     seen.type, seen.major, seen.lineStyle, seen.thickness),
            std::make_tuple(0.0, std::array<double, 6>{}, std::string(), 1, 1, 0, 1, 0, 0));

  editor.selection = 1;
  EXPECT_FALSE(editor.EditSelected([](Aspect& a) {
    a.angle = 1;
    return false;
  }));
  EXPECT_EQ(editor.Edited()->GetAspect(1).angle, 60.0);

  // OK: the change holds for the run, the file stays as it was until "Сохранить".
  EXPECT_TRUE(editor.Add([](Aspect& a) {
    a.angle = 45;
    a.abbreviation = "SSQ";
    return true;
  }));
  EXPECT_EQ(editor.Edited()->Count(), 4);
  EXPECT_EQ(editor.Edited()->GetAspect(3).abbreviation, "SSQ");
  EXPECT_EQ(editor.selection, 0);
  editor.selection = 2;
  EXPECT_TRUE(editor.EditSelected([](Aspect& a) {
    a.thickness = 1;
    return true;
  }));
  EXPECT_EQ(editor.Edited()->GetAspect(2).thickness, 1);
  EXPECT_EQ(FileOf("ALPHA"), before);
  editor.selection = -1;
  EXPECT_FALSE(editor.EditSelected([](Aspect&) { return true; }));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EditorTest, DeletingAsksFirstAndAnEmptySystemOnlyTellsSo) {
  Load({"ALPHA"}, 2);
  const int confirm = AspectMessageNumber(kAspMsgConfirmDelete);

  prompts.Expect(confirm, Answer::Cancel);
  EXPECT_FALSE(editor.DeleteSelected());
  EXPECT_EQ(editor.Edited()->Count(), 2);

  editor.selection = 1;
  prompts.Expect(confirm, Answer::Ok);
  EXPECT_TRUE(editor.DeleteSelected());
  ASSERT_EQ(editor.Edited()->Count(), 1);
  EXPECT_EQ(editor.Edited()->GetAspect(0).angle, 30.0);
  prompts.Expect(confirm, Answer::Ok);
  EXPECT_TRUE(editor.DeleteSelected());
  EXPECT_EQ(editor.selection, -1);

  prompts.shown.clear();
  EXPECT_FALSE(editor.DeleteSelected());  // asks nothing: an unexpected question fails the test
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].number, AspectMessageNumber(kAspMsgNothingLeft));
  EXPECT_EQ(Utf8(prompts.shown[0].text), "Ничего не осталось. Удаление невозможно.");
  prompts.VerifyAllUsed();
}

TEST_F(EditorTest, SavingUnderALoadedNameAsksAndUnderANewNameCreatesAndSelects) {
  Load({"ALPHA", "BETA"});
  ASSERT_TRUE(editor.Add([](Aspect& a) {
    a.angle = 72;
    return true;
  }));
  const std::string before = FileOf("ALPHA");

  prompts.Expect(kMsgOverwriteSystem, Answer::No);
  EXPECT_FALSE(editor.Save("alpha"));
  EXPECT_EQ(FileOf("ALPHA"), before);
  EXPECT_EQ(Utf8(prompts.shown.back().text), "Перезаписать систему аспектов  ALPHA?");

  prompts.Expect(kMsgOverwriteSystem, Answer::Yes);
  EXPECT_TRUE(editor.Save("ALPHA"));
  EXPECT_TRUE(prompts.WasShown(AspectMessageNumber(kAspMsgSaved)));
  const std::vector<Aspect> onDisk = OnDisk("ALPHA");
  ASSERT_EQ(onDisk.size(), 4u);
  EXPECT_EQ(onDisk[3].angle, 72.0);

  // Another loaded system's name: that system is the one written, and it is edited from now on.
  prompts.Expect(kMsgOverwriteSystem, Answer::Yes);
  EXPECT_TRUE(editor.Save("Beta"));
  EXPECT_EQ(editor.Edited()->GetName(), "BETA");
  EXPECT_EQ(FileOf("BETA"), FileOf("ALPHA"));

  EXPECT_TRUE(editor.Save("gamma"));
  EXPECT_TRUE(prompts.WasShown(kMsgNewSystemSaved));
  EXPECT_EQ(editor.Edited()->GetName(), "GAMMA");
  EXPECT_EQ(aspects.Count(), 3);
  EXPECT_EQ(editor.SystemNames(), (std::vector<std::string>{"ALPHA", "BETA", "GAMMA"}));
  prompts.VerifyAllUsed();
}

TEST_F(EditorTest, NamesThatCannotBeSystemsAreRefusedAndNothingIsWritten) {
  Load({"ALPHA"});
  const std::string names[] = {"",     "NINECHARS", "..",       "A.B",    "a/b",
                               "a\\b", "x\ty",      " LEADING", "TAB\x01"};
  for (const std::string& name : names) {
    prompts.shown.clear();
    EXPECT_FALSE(editor.Save(name)) << name;
    ASSERT_EQ(prompts.shown.size(), 1u) << name;
    EXPECT_EQ(prompts.shown[0].number, AspectMessageNumber(kAspMsgBadName)) << name;
    EXPECT_EQ(editor.Edited()->GetName(), "ALPHA");
  }
  EXPECT_EQ(aspects.Count(), 1);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(EditorTest, DestroyingRefusesTheLastSystemAndResetsTheSlotsThatNamedIt) {
  Load({"ALPHA"});
  EXPECT_FALSE(editor.Destroy());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].number, kMsgLastSystem);
  EXPECT_TRUE(fs::exists(folder / "ALPHA.ASP"));

  Load({"ALPHA", "BETA"});
  ASSERT_TRUE(config.SetSystemName(3, "beta"));
  ASSERT_TRUE(config.SetSystemName(6, "ALPHA"));
  ASSERT_TRUE(config.SetSystemName(Configuration::kDisplaySystemSlot, "BETA"));
  aspects.SetCurrentSystemName("BETA");
  ASSERT_TRUE(editor.Open());

  prompts.Expect(kMsgDestroySystem, Answer::No);
  EXPECT_FALSE(editor.Destroy());
  EXPECT_TRUE(fs::exists(folder / "BETA.ASP"));
  prompts.Expect(kMsgDestroySystem, Answer::Yes);
  EXPECT_TRUE(editor.Destroy());
  EXPECT_TRUE(prompts.WasShown(kMsgSystemDestroyed));
  EXPECT_FALSE(fs::exists(folder / "BETA.ASP"));
  EXPECT_EQ(editor.Edited()->GetName(), "ALPHA");
  EXPECT_EQ(config.GetSystemName(3), "ALPHA");
  EXPECT_EQ(config.GetSystemName(6), "ALPHA");
  EXPECT_EQ(config.GetSystemName(Configuration::kDisplaySystemSlot), "ALPHA");
  EXPECT_EQ(aspects.CurrentSystemName(), "ALPHA");
  prompts.VerifyAllUsed();
}

TEST_F(EditorTest, LineTypesAreStampedOnTheEditedSystemOrOnAll) {
  Load({"ALPHA", "BETA"}, 5);
  const std::string betaBefore = FileOf("BETA");
  // Major entries 0..4, minor 5..9: here harmonious major thick dashed 2, tense minor dashed 3.
  std::array<std::uint8_t, 10> table{};
  table[0] = 12;
  table[6] = 3;
  table[2] = 11;
  EXPECT_TRUE(editor.ApplyLineTypes(table, false).empty());
  const AspectSystem& alpha = aspects.GetSystem(0);
  // Aspects k: type k, major when k is even.
  const int styles[4][2] = {{2, 1}, {3, 0}, {1, 1}, {0, 0}};  // style, thickness
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(alpha.GetAspect(k).lineStyle, styles[k][0]) << k;
    EXPECT_EQ(alpha.GetAspect(k).thickness, styles[k][1]) << k;
  }
  EXPECT_EQ(OnDisk("ALPHA").at(0).lineStyle, 2);
  EXPECT_EQ(FileOf("BETA"), betaBefore);

  EXPECT_TRUE(editor.ApplyLineTypes(table, true).empty());
  EXPECT_NE(FileOf("BETA"), betaBefore);
  EXPECT_EQ(FileOf("BETA"), FileOf("ALPHA"));
}

TEST_F(EditorTest, SystemsThatCannotBeSavedAreNamedTogether) {
  Load({"ALPHA", "BETA"}, 2);
  // BETA's file cannot be replaced: a folder stands in its place.
  fs::remove(folder / "BETA.ASP");
  fs::create_directory(folder / "BETA.ASP");
  fs::create_directory(folder / "BETA.ASP" / "x");
  std::array<std::uint8_t, 10> table{};
  table.fill(1);
  const std::vector<std::string> unsaved = editor.ApplyLineTypes(table, true);
  EXPECT_EQ(unsaved, std::vector<std::string>{"BETA"});
  ASSERT_TRUE(prompts.WasShown(kMsgSystemsNotSaved));
  EXPECT_NE(prompts.shown.back().text.find("BETA"), std::string::npos);
  EXPECT_EQ(OnDisk("ALPHA").at(0).lineStyle, 1);
}

TEST_F(EditorTest, CorrespondencesStoreOnlyLoadedSystems) {
  Load({"ALPHA", "BETA"});
  for (int k = 0; k < Configuration::kChartKindCount; ++k)
    ASSERT_TRUE(config.SetSystemName(k, "ALPHA"));
  CorrespondencePage page = CorrespondencePage::From(config);
  EXPECT_EQ(page.names[4], "ALPHA");
  page.names[0] = "beta";       // stored in the system's own spelling
  page.names[3] = "NOSUCH";     // no such system: kind 3 keeps its system
  page.names[6] = "BETABETAB";  // nine characters never name a system
  page.names[9] = "";
  EXPECT_EQ(page.To(config, aspects), 7);
  EXPECT_EQ(config.GetSystemName(0), "BETA");
  EXPECT_EQ(config.GetSystemName(3), "ALPHA");
  EXPECT_EQ(config.GetSystemName(6), "ALPHA");
  EXPECT_EQ(config.GetSystemName(9), "ALPHA");
}

}  // namespace
