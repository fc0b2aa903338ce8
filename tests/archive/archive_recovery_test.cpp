// Files that are damaged, missing or unreadable for a moment never cost the user data: the recent
// list keeps their names, a damaged archive opens read-only, and a code that is no layout is
// refused before anything is written.
#include <functional>

#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

using platform::Answer;

TEST_F(ArchiveTest, RecentListKeepsNamesWhoseFilesAreAwayAndSavesThemBack) {
  WriteFile(PathOf("a.arc"), Header(kLayout4400));
  WriteFile(PathOf("junk.arc"), "junk");  // damaged: a length that fits no layout
  std::filesystem::create_directory(PathOf("dir.arc"));
  // A name holding a NUL byte would name the folder itself in the system's calls: refused.
  const std::string nul = PathOf("") + std::string(1, '\0') + "x.arc";
  const std::string list = PathOf("gone.arc") + "\n" + nul + "\n" + PathOf("junk.arc") + "\n" +
                           PathOf("dir.arc") + "\n" + PathOf("a.arc") + "\n";
  WriteFile(PathOf("velm.arn"), list);
  ASSERT_EQ(archive_.Init(), 0);
  EXPECT_EQ(archive_.SetPath(nul), -1);
  EXPECT_FALSE(prompts_.WasShown(kMsgCommitRecordSetAside) ||
               prompts_.WasShown(kMsgCommitRecordInTheWay));
  // The first archive that opens becomes current and moves to the top; the others stay.
  EXPECT_EQ(archive_.GetPath(), PathOf("a.arc"));
  EXPECT_TRUE(archive_.IsIndexBuilt());
  EXPECT_TRUE(prompts_.WasShown(526));
  using State = Archive::RecentState;
  const std::pair<std::string, State> expected[] = {{"a.arc", State::kArchive},
                                                    {"gone.arc", State::kMissing},
                                                    {"junk.arc", State::kNoArchive},
                                                    {"dir.arc", State::kUnreadable}};
  ASSERT_EQ(archive_.Recent().RecentNames().size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(archive_.Recent().RecentNames()[static_cast<std::size_t>(i)],
              PathOf(expected[i].first))
        << i;
    EXPECT_EQ(archive_.Recent().RecentNameState(i), expected[i].second) << i;
  }
  // Picking a name whose file is away says so and changes nothing.
  archive_.SelectRecentArchive(1);
  EXPECT_TRUE(prompts_.WasShown(477));
  EXPECT_EQ(archive_.GetPath(), PathOf("a.arc"));
  archive_.Recent().SaveNames();
  EXPECT_EQ(ReadFile(PathOf("velm.arn")), PathOf("a.arc") + "\n" + PathOf("gone.arc") + "\n" +
                                              PathOf("junk.arc") + "\n" + PathOf("dir.arc") + "\n");
  // The file comes back: the name opens again. Only the user removes a name.
  WriteFile(PathOf("gone.arc"), Header(kLayout4200));
  EXPECT_EQ(archive_.Recent().RecentNameState(1), State::kArchive);
  EXPECT_TRUE(archive_.Recent().RemoveRecentName(2));
  EXPECT_FALSE(archive_.Recent().RemoveRecentName(3));
  EXPECT_EQ(archive_.Recent().RecentNames().size(), 3u);
}

TEST_F(ArchiveTest, RecentListWithNoArchiveThereKeepsEveryName) {
  const std::string list = PathOf("gone.arc") + "\n" + PathOf("other.arc") + "\n";
  WriteFile(PathOf("velm.arn"), list);
  EXPECT_EQ(archive_.Init(), -1);
  EXPECT_EQ(archive_.LayoutCode(), kNotArchive);
  EXPECT_TRUE(prompts_.WasShown(526));
  EXPECT_EQ(archive_.Recent().RecentNames().size(), 2u);
  archive_.Recent().SaveNames();
  EXPECT_EQ(ReadFile(PathOf("velm.arn")), list);
}

TEST_F(ArchiveTest, UnreadableRecentListIsNeverRewritten) {
  // A list that cannot be read (here a folder in its place: reading it fails whoever runs the
  // test) is reported once and left alone at exit, whatever names were added meanwhile.
  std::filesystem::create_directory(PathOf("velm.arn"));
  WriteFile(PathOf("velm.arn") + "/inside", "kept");
  WriteFile(PathOf("a.arc"), Header(kLayout4400));
  EXPECT_EQ(archive_.Init(), -1);
  EXPECT_TRUE(archive_.Recent().IsRecentListUnreadable());
  EXPECT_TRUE(prompts_.WasShown(525));
  archive_.Recent().AddRecentName(PathOf("a.arc"));
  archive_.Recent().SaveNames();
  EXPECT_TRUE(std::filesystem::is_directory(PathOf("velm.arn")));
  EXPECT_EQ(ReadFile(PathOf("velm.arn") + "/inside"), "kept");
  // A missing list is no fault: it is written at exit.
  std::filesystem::remove_all(PathOf("velm.arn"));
  Archive fresh(slots_);
  EXPECT_EQ(fresh.Init(), -1);
  EXPECT_FALSE(fresh.Recent().IsRecentListUnreadable());
  fresh.Recent().AddRecentName(PathOf("a.arc"));
  fresh.Recent().SaveNames();
  EXPECT_EQ(ReadFile(PathOf("velm.arn")), PathOf("a.arc") + "\n");
}

// A layout-4400 archive whose header was overwritten with 4200: its length fits 1836-byte records
// only, so it is read as 4200 with (length - 4) / 1776 records.
TEST_F(ArchiveTest, ArchiveWithAWrongHeaderOpensReadOnly) {
  std::string bytes = ArchiveBytes(kLayout4400, {MakeChart("C"), MakeChart("A"), MakeChart("B")},
                                   {Block({{0, 0, 3}}), CommentRefBlock(), CommentRefBlock()});
  bytes.replace(0, 4, Header(kLayout4200));
  WriteFile(PathOf("h.arc"), bytes);
  WriteFile(PathOf("h.ar0"), "abc");
  ASSERT_EQ(archive_.SetPath(PathOf("h.arc")), kLayout4200);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_TRUE(archive_.IsDamaged());
  ASSERT_GE(archive_.RecordCount(), 1);
  EXPECT_LE(archive_.RecordCount(), 3);  // (5512 - 4) / 1776
  EXPECT_EQ(archive_.Entry(0).name, "C");
  Chart loaded;
  EXPECT_EQ(archive_.LoadChart(loaded, 0, false), 0);
  EXPECT_EQ(loaded.definition.sources[0].Name(), "C");
  EXPECT_EQ(archive_.LoadChart(loaded, archive_.RecordCount(), false), -1);

  // Every change is refused with the message, and the files stay as they were.
  archive_.saveTargetMode = 0;
  const auto before = Snapshot(folder_.Path());
  struct Change {
    const char* name;
    std::function<int()> run;
  };
  const Change changes[] = {
      {"save", [&] { return archive_.SaveToArchive(MakeChart("D")); }},
      {"delete",
       [&] {
         Mark({0});
         return archive_.Records().Delete(false);
       }},
      {"up_down",
       [&] {
         Mark({0});
         return archive_.Records().ChartUpDown(false);
       }},
      {"order", [&] { return archive_.Records().Order(); }},
      {"convert", [&] { return archive_.Records().ConvertTo44(); }},
      {"move_out",
       [&] {
         Mark({0});
         return archive_.Records().CopyToArchive(PathOf("m.arc"), 0, kLayout4400, true, true);
       }},
  };
  for (const Change& c : changes) {
    prompts_.shown.clear();
    archive_.ClearMarks();
    if (std::string(c.name) == "up_down" && archive_.RecordCount() < 2) continue;
    if (std::string(c.name) == "order" && archive_.RecordCount() < 2) continue;
    EXPECT_EQ(c.run(), -1) << c.name;
    EXPECT_TRUE(prompts_.WasShown(524)) << c.name;
    EXPECT_EQ(Snapshot(folder_.Path()), before) << c.name;
  }
  // Its records can be copied out into a sound archive.
  archive_.ClearMarks();
  Mark({0});
  ASSERT_EQ(archive_.Records().CopyToArchive(PathOf("rescue.arc"), 0, kLayout4400, false, true), 0);
  EXPECT_EQ(ReadFile(PathOf("rescue.arc")), ArchiveBytes(kLayout4400, {MakeChart("C")}));
  EXPECT_EQ(ReadFile(PathOf("h.arc")), bytes);
}

TEST_F(ArchiveTest, CopyRefusesCodesThatAreNoLayout) {
  OpenArchive("s.arc", kLayout4400, {MakeChart("A")});
  WriteFile(PathOf("t.arc"), ArchiveBytes(kLayout4400, {MakeChart("T")}));
  const auto before = Snapshot(folder_.Path());
  struct Refusal {
    const char* target;
    int exists;
    int layout;
  };
  // Layout numbers given for layout codes, and the codes of no archive and of no file.
  const Refusal refusals[] = {
      {"new.arc", 0, 4400}, {"new.arc", 0, 4200},        {"new.arc", 0, 4000},
      {"t.arc", 1, 4400},   {"new.arc", 0, kNotArchive}, {"new.arc", 0, kCannotOpen},
      {"new.arc", 0, 0}};
  for (const Refusal& r : refusals) {
    prompts_.shown.clear();
    Mark({0});
    EXPECT_EQ(archive_.Records().CopyToArchive(PathOf(r.target), r.exists, r.layout, false, true),
              -1)
        << r.layout;
    EXPECT_TRUE(prompts_.WasShown(527)) << r.layout;
    EXPECT_FALSE(prompts_.WasShown(45)) << r.layout;
    EXPECT_EQ(Snapshot(folder_.Path()), before) << r.layout;
  }
}

}  // namespace
}  // namespace archive_test
