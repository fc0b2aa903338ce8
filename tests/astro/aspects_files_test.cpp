#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::SourceDir;
using testing_support::TempFolder;
using testing_support::WriteFile;

Aspect Sample(double angle, int k) {
  Aspect a;
  a.angle = angle;
  a.orbs = {1.0 + k, 2.5, 3.25, 4.0, 5.5, 0.75};
  a.abbreviation = "Q" + std::to_string(k);
  a.color = static_cast<std::uint16_t>(10 + k);
  a.exactColor = static_cast<std::uint16_t>(40 + k);
  a.type = static_cast<std::uint8_t>(k % 5);
  a.major = static_cast<std::uint8_t>(k % 2);
  a.lineStyle = static_cast<std::uint8_t>(k % 4);
  a.thickness = static_cast<std::uint8_t>((k + 1) % 2);
  a.name = Cp1251("Аспект ") + std::to_string(k);
  return a;
}

// A valid system file of `count` aspects.
std::string SystemBytes(int count) {
  std::vector<Aspect> aspects;
  for (int k = 0; k < count; ++k) aspects.push_back(Sample(10.0 * k, k));
  return AspectSystem::Serialize(aspects);
}

void ExpectSameAspect(const Aspect& x, const Aspect& y) {
  EXPECT_EQ(x.angle, y.angle);
  EXPECT_EQ(x.orbs, y.orbs);
  EXPECT_EQ(x.abbreviation, y.abbreviation);
  EXPECT_EQ(x.color, y.color);
  EXPECT_EQ(x.exactColor, y.exactColor);
  EXPECT_EQ(x.type, y.type);
  EXPECT_EQ(x.major, y.major);
  EXPECT_EQ(x.lineStyle, y.lineStyle);
  EXPECT_EQ(x.thickness, y.thickness);
  EXPECT_EQ(x.name, y.name);
}

TEST(AspectSystemEditing, TheFiftyFirstAspectIsRefusedWithItsMessage) {
  ScriptedPrompter prompts;
  AspectSystem s("FULL", {});
  for (int k = 0; k < 50; ++k) ASSERT_EQ(s.AddAspect(Sample(k, k)), 0) << k;
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(s.AddAspect(Sample(1, 1)), -1);
  EXPECT_EQ(s.Count(), 50);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].number, AspectMessageNumber(kAspMsgTooMany));
  EXPECT_EQ(Utf8(prompts.shown[0].text), "Слишком много аспектов !");
}

TEST(AspectSystemEditing, PositionsOutsideTheSystemAndBadNumbersAreRefused) {
  ScriptedPrompter prompts;
  AspectSystem s("EDIT", {});
  ASSERT_EQ(s.AddAspect(Sample(0, 0)), 0);
  ASSERT_EQ(s.AddAspect(Sample(60, 1)), 0);
  ASSERT_EQ(s.AddAspect(Sample(90, 2)), 0);

  const struct { int n, result; } checks[] = {{-1, -1}, {0, 0}, {2, 0}, {3, -1}};
  for (const auto& c : checks) EXPECT_EQ(s.CheckAspectNumber(c.n), c.result) << c.n;
  EXPECT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].number, AspectMessageNumber(kAspMsgBadPosition));

  EXPECT_EQ(s.DeleteAspect(3), -1);
  EXPECT_EQ(s.DeleteAspect(1), 0);
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.GetAspect(1).angle, 90.0);

  Aspect bad = Sample(30, 3);
  bad.orbs[2] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(s.AddAspect(bad), -1);
  bad = Sample(std::nan(""), 3);
  EXPECT_EQ(s.AddAspect(bad), -1);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(prompts.shown.back().number, AspectMessageNumber(kAspMsgBadValue));
}

TEST(AspectSystemFile, RoundTripKeepsEveryField) {
  TempFolder dir;
  AspectSystem s("MINE", dir / "mine.asp");
  for (int k = 0; k < 7; ++k) ASSERT_EQ(s.AddAspect(Sample(360.0 / 7.0 * k, k)), 0);
  ASSERT_TRUE(s.SaveSystem().ok());
  // magic 4, version 2, count 2; per aspect 8 + 6 x 8 + 4 + 2 + 2 + 4 x 1 + 32 = 100
  EXPECT_EQ(fs::file_size(dir / "mine.asp"), 8u + 7 * 100);

  AspectSystem loaded;
  ASSERT_TRUE(loaded.LoadSystem(dir / "mine.asp").ok());
  EXPECT_EQ(loaded.GetName(), "MINE");
  ASSERT_EQ(loaded.Count(), 7);
  for (int k = 0; k < 7; ++k) ExpectSameAspect(loaded.GetAspect(k), s.GetAspect(k));
}

TEST(AspectSystemFile, FailedSaveKeepsTheOldFileAndSaysSo) {
  // Each step of the rewrite (create, write, sync, rename) made to fail in turn: the save reports
  // failure and the old file stays byte for byte; the first run past every step saves.
  TempFolder dir;
  const std::string old = SystemBytes(3);
  ScriptedPrompter prompts;
  for (int n = 1;; ++n) {
    WriteFile(dir / "mine.asp", old);
    AspectSystem s;
    ASSERT_TRUE(s.LoadSystem(dir / "mine.asp").ok());
    ASSERT_EQ(s.AddAspect(Sample(45.0, 9)), 0);
    ArmFileFault(n);
    const Status st = s.SaveSystem();
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    if (!fired) {
      EXPECT_TRUE(st.ok());
      EXPECT_GT(n, 2);
      EXPECT_EQ(fs::file_size(dir / "mine.asp"), 8u + 4 * 100);
      break;
    }
    EXPECT_FALSE(st.ok()) << n;
    EXPECT_EQ(ReadFile(dir / "mine.asp"), old) << n;
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1) << n;  // no temporary file left
    EXPECT_FALSE(prompts.shown.empty()) << n;
    prompts.shown.clear();
  }
}

TEST(AspectSystemFile, DamagedFilesAreRefusedAndChangeNothing) {
  const std::string good = SystemBytes(3);
  std::string nanAngle = good;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(&nanAngle[8], &nan, 8);  // the first angle (little-endian host)
  std::string tooMany = SystemBytes(0);
  tooMany[6] = 51;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"truncated_by_one_byte", good.substr(0, good.size() - 1)},
      {"header_only_with_count_3", good.substr(0, 8)},
      {"bad_magic", "XASP" + good.substr(4)},
      {"other_version", good.substr(0, 4) + std::string("\x02\x00", 2) + good.substr(6)},
      {"count_51", tooMany},
      {"trailing_byte", good + "x"},
      {"nan_angle", nanAngle},
  };
  TempFolder dir;
  for (const auto& c : cases) {
    WriteFile(dir / "broken.asp", c.bytes);
    AspectSystem s("KEPT", dir / "kept.asp");
    ASSERT_EQ(s.AddAspect(Sample(0, 0)), 0);
    const Status st = s.LoadSystem(dir / "broken.asp");
    EXPECT_EQ(st.ErrorCode(), kErrFormat) << c.name;
    EXPECT_EQ(s.GetName(), "KEPT") << c.name;
    EXPECT_EQ(s.Count(), 1) << c.name;
  }
  AspectSystem s;
  EXPECT_EQ(s.LoadSystem(dir / "missing.asp").ErrorCode(), kErrCannotOpen);
}

TEST(Aspectarium, LoadsEveryAspFileInNameOrderAndSkipsBadOnes) {
  TempFolder dir;
  WriteFile(dir / "b.asp", SystemBytes(2));
  WriteFile(dir / "A.ASP", SystemBytes(3));
  WriteFile(dir / "a.asp", SystemBytes(1));          // the name "A" again
  WriteFile(dir / "notes.txt", SystemBytes(1));      // no ".asp"
  WriteFile(dir / "bad.asp", "VASP");                // damaged
  WriteFile(dir / "toolongnm.asp", SystemBytes(1));  // nine characters
  Aspectarium set;
  const std::vector<Status> problems = set.LoadAll(dir.Path());
  EXPECT_EQ(problems.size(), 3u);
  ASSERT_EQ(set.Count(), 2);
  EXPECT_EQ(set.GetSystem(0).GetName(), "A");
  EXPECT_EQ(set.GetSystem(0).Count(), 3);
  EXPECT_EQ(set.GetSystem(1).GetName(), "B");

  const struct {
    const char* name;
    int has;
  } names[] = {{"a", 1}, {"A", 1}, {"b", 1}, {"bad", 0}, {"", 0}, {"c", 0}};
  for (const auto& n : names) {
    EXPECT_EQ(set.HasSystem(n.name), n.has) << n.name;
    EXPECT_EQ(set.FindSystem(n.name) != nullptr, n.has == 1) << n.name;
  }
}

TEST(Aspectarium, NamesThatCannotBeFileNamesAreRefused) {
  TempFolder dir;
  WriteFile(dir / "VELM.asp", SystemBytes(2));
  Aspectarium set;
  ASSERT_TRUE(set.LoadAll(dir.Path()).empty());
  const AspectSystem& from = set.GetSystem(0);
  const char* bad[] = {"",          "../up", "a/b",    "a\\b", "a.b", "a:b",
                       "NINECHAR9", " lead", "trail ", "a*b",  "a?b", "a\tb"};
  for (const char* name : bad) {
    ScriptedPrompter prompts;
    EXPECT_EQ(set.AddSystem(name, from), -1) << name;
    EXPECT_TRUE(prompts.WasShown(AspectMessageNumber(kAspMsgBadName))) << name;
  }
  EXPECT_EQ(set.Count(), 1);
  EXPECT_FALSE(fs::exists(dir.Path().parent_path() / "up.ASP"));
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1);

  ScriptedPrompter prompts;
  EXPECT_EQ(set.AddSystem("velm", from), -1);
  EXPECT_TRUE(prompts.WasShown(AspectMessageNumber(kAspMsgNameTaken)));
}

TEST(Aspectarium, AddSystemWritesTheFileAndCopiesTheAspects) {
  TempFolder dir;
  WriteFile(dir / "VELM.asp", SystemBytes(4));
  Aspectarium set;
  ASSERT_TRUE(set.LoadAll(dir.Path()).empty());
  ASSERT_EQ(set.AddSystem("natal2", set.GetSystem(0)), 0);
  ASSERT_TRUE(fs::exists(dir / "natal2.ASP"));
  AspectSystem* added = set.FindSystem("NATAL2");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->GetName(), "NATAL2");
  ASSERT_EQ(added->Count(), 4);
  // A copy: editing the new system leaves the old one alone.
  added->GetAspect(0).angle = 45;
  EXPECT_EQ(set.GetSystem(0).GetAspect(0).angle, 0.0);

  // A Cyrillic name becomes a UTF-8 file name and comes back on the next load.
  ASSERT_EQ(set.AddSystem(Cp1251("вен"), set.GetSystem(0)), 0);
  EXPECT_TRUE(fs::exists(dir / "вен.ASP"));
  Aspectarium again;
  ASSERT_TRUE(again.LoadAll(dir.Path()).empty());
  EXPECT_EQ(again.Count(), 3);
  EXPECT_EQ(again.HasSystem(Cp1251("ВЕН")), 1);
  EXPECT_EQ(again.FindSystem("natal2")->Count(), 4);
}

TEST(Aspectarium, TheHundredthSystemIsRefusedWhenNinetyNineAreLoaded) {
  TempFolder dir;
  const std::string bytes = SystemBytes(1);
  char name[16];
  for (int i = 0; i < 100; ++i) {
    std::snprintf(name, sizeof name, "S%03d.asp", i);
    WriteFile(dir / name, bytes);
  }
  Aspectarium set;
  const std::vector<Status> problems = set.LoadAll(dir.Path());
  EXPECT_EQ(set.Count(), 99);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].MessageNumber(), kMsgTooManySystems);
  EXPECT_EQ(set.HasSystem("S099"), 0);

  ScriptedPrompter prompts;
  EXPECT_EQ(set.AddSystem("NEW", set.GetSystem(0)), -1);
  EXPECT_TRUE(prompts.WasShown(58));
  EXPECT_FALSE(fs::exists(dir / "NEW.ASP"));
  EXPECT_EQ(set.Count(), 99);
}

TEST(Aspectarium, DeleteSystemFileKeepsTheOtherSystemsAsEdited) {
  TempFolder dir;
  WriteFile(dir / "ONE.asp", SystemBytes(1));
  WriteFile(dir / "TWO.asp", SystemBytes(2));
  Aspectarium set;
  ASSERT_TRUE(set.LoadAll(dir.Path()).empty());
  set.FindSystem("ONE")->GetAspect(0).angle = 33;  // edited, not saved

  ScriptedPrompter prompts;
  EXPECT_EQ(set.DeleteSystemFile("two"), 0);
  EXPECT_FALSE(fs::exists(dir / "TWO.asp"));
  ASSERT_EQ(set.Count(), 1);
  EXPECT_EQ(set.FindSystem("ONE")->GetAspect(0).angle, 33.0);
  EXPECT_TRUE(prompts.shown.empty());

  EXPECT_EQ(set.DeleteSystemFile("two"), -1);
  EXPECT_TRUE(prompts.WasShown(66));
}

TEST(Aspectarium, CurrentSystemByNameElseTheFirst) {
  Aspectarium empty;
  EXPECT_EQ(empty.GetCurrentSystem(), nullptr);

  TempFolder dir;
  WriteFile(dir / "ONE.asp", SystemBytes(1));
  WriteFile(dir / "TWO.asp", SystemBytes(2));
  Aspectarium set;
  ASSERT_TRUE(set.LoadAll(dir.Path()).empty());
  EXPECT_EQ(set.GetCurrentSystem("two")->GetName(), "TWO");
  EXPECT_EQ(set.GetCurrentSystem()->GetName(), "ONE");  // no name set
  set.SetCurrentSystemName("Two");
  EXPECT_EQ(set.GetCurrentSystem()->GetName(), "TWO");
  set.SetCurrentSystemName("GONE");
  EXPECT_EQ(set.GetCurrentSystem()->GetName(), "ONE");
}

TEST(Aspectarium, ShippedSystemsLoadWithTheClassicalMajorAspects) {
  Aspectarium set;
  EXPECT_TRUE(set.LoadAll(SourceDir() / "data").empty());
  {
    const char* name = "VELM";
    const AspectSystem* s = set.FindSystem(name);
    ASSERT_NE(s, nullptr);
    // Conjunction, opposition, square, trine, sextile: aspect indices 0..4, all major.
    for (int n = 0; n < 5; ++n) {
      const int position = s->FindMajorAspect(n);
      ASSERT_GE(position, 0) << name << n;
      EXPECT_EQ(ClassifyAspectAngle(s->GetAspect(position)), n) << name << n;
    }
    EXPECT_EQ(s->FindMajorAspect(5), -1) << name;
  }
  const AspectSystem* velm = set.FindSystem("VELM");
  for (int index : {5, 6, 7, 8, 9, 12, 17})  // the minor aspects
    EXPECT_GE(velm->FindAspectByClass(index), 0) << index;
}

}  // namespace
