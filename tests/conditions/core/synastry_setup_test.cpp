// The synastry set-up without its window: the archive list of mode 1 in "synarcs.lst", the
// controls each mode shows, the archive choices and the checks of OK.
#include "conditions/core/synastry_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conditions/core/synastry_run.h"
#include "conditions/query_test_support.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

using condition_test::QueryArchiveTest;
using S = cfg::SynastrySettings;

class SynastrySetupTest : public QueryArchiveTest {
 protected:
  std::string Arc(const std::string& name) {
    return WriteTextArchive(name, "chart\tA\tT\t01.01.2000\t12:00\t+00:00\t10:00N\t010:00E\n");
  }
  std::filesystem::path List() const { return folder_ / "synarcs.lst"; }
  cfg::ByteBlock block_{S::kSize};
};

TEST_F(SynastrySetupTest, TheListKeepsItsFlagsAndDropsArchivesThatAreGone) {
  const std::string a = Arc("a.arc"), b = Arc("b.arc"), c = Arc("c.arc");
  CArcListContainer list;
  list.SetPath(List(), 40);
  EXPECT_EQ(list.LoadArcs(), 1);  // no file: an empty list, no message
  EXPECT_TRUE(prompts_.shown.empty());
  for (const std::string& path : {a, b, c}) EXPECT_EQ(list.Add(path), 0);
  EXPECT_EQ(list.Add(b), kMsgArchiveInList);
  EXPECT_EQ(list.Add((folder_ / "none").string()), kMsgNoSuchArchive);  // "none.arc"
  // On, off, on; the second removed: the others keep their own flags.
  ASSERT_TRUE(list.Toggle(1));
  ASSERT_TRUE(list.Remove(1));
  EXPECT_FALSE(list.Remove(5));
  EXPECT_EQ(testing_support::ReadFile(List()), "+" + a + "\n+" + c + "\n");

  // A listed archive that is gone is dropped on load and from the next save.
  std::filesystem::remove(a);
  CArcListContainer again;
  again.SetPath(List(), 40);
  EXPECT_EQ(again.LoadArcs(), 0);
  ASSERT_EQ(again.Count(), 1);
  EXPECT_TRUE(again.Toggle(0));
  EXPECT_EQ(testing_support::ReadFile(List()), "-" + c + "\n");
}

TEST_F(SynastrySetupTest, AFullListRefusesTheFiftyFirstArchive) {
  std::string text;
  for (int i = 0; i < CArcListContainer::kCapacity; ++i)
    text += "+" + Arc("n" + std::to_string(i) + ".arc") + "\n";
  testing_support::WriteFile(List(), text);
  CArcListContainer list;
  list.SetPath(List(), 40);
  ASSERT_EQ(list.LoadArcs(), 0);
  EXPECT_EQ(list.Add(Arc("last.arc")), kMsgTooManyArchives);
  EXPECT_EQ(list.Count(), 50);
}

TEST_F(SynastrySetupTest, EachModeShowsItsControls) {
  struct Row {
    int mode;
    SynastryControls shown;  // archive, archives12, list, chart, change1, change2
  };
  const Row rows[] = {
      {0, {true, false, false, true, true, false}},  {1, {false, false, true, true, false, false}},
      {2, {false, true, false, false, true, true}},  {3, {false, true, false, false, true, true}},
      {4, {true, false, false, false, true, false}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ControlsOfMode(row.mode), row.shown) << row.mode;
    EXPECT_EQ(ModeComment(row.mode),
              GetMessageText(kMsgModeComment + row.mode) + GetMessageText(kMsgModeCommentTail));
  }
}

TEST_F(SynastrySetupTest, TheArchiveButtonsWriteTheModesArchiveAtOnceAndRefuseOtherFiles) {
  const std::string a = Arc("a.arc"), b = Arc("b.arc");
  testing_support::WriteFile(folder_ / "text.arc", "no archive");
  SynastrySetupModel model;
  struct Row {
    int mode;
    bool second;
    std::string path;
    bool changed;
    cfg::TextField field;
  };
  const Row rows[] = {
      {0, false, a, true, S::kArchive},
      {4, false, b.substr(0, b.size() - 4), true, S::kArchive},
      {2, false, a, true, S::kArchive1},
      {3, true, b, true, S::kArchive2},
      {0, false, (folder_ / "text.arc").string(), false, S::kArchive},
  };
  for (const Row& row : rows) {
    model.mode = row.mode;
    EXPECT_EQ(model.ChooseArchive(row.path, row.second, block_), row.changed) << row.path;
    if (row.changed) {
      EXPECT_EQ(block_.Get(row.field), row.path.ends_with(".arc") ? row.path : b);
    }
  }
  EXPECT_EQ(block_.Get(S::kArchive), b);  // the refused file changed nothing
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(SynastrySetupTest, OkChecksTheArchivesTheModeNeedsBeforeStoringIt) {
  const std::string a = Arc("a.arc");
  SynastrySetupModel model;
  model.Load(block_, nullptr, List());
  struct Row {
    int mode;
    int message;  // 0: accepted
  };
  block_.Set(S::kArchive, a);
  block_.Set(S::kArchive1, a);
  block_.Set(S::kArchive2, (folder_ / "gone.arc").string());
  const Row rows[] = {{0, 0}, {4, 0}, {2, kMsgNotAnArchive}, {1, kMsgNoListedArchiveOn}};
  for (const Row& row : rows) {
    prompts_.shown.clear();
    model.mode = row.mode;
    EXPECT_EQ(model.Accept(block_), row.message == 0) << row.mode;
    EXPECT_EQ(prompts_.WasShown(row.message), row.message != 0) << row.mode;
  }
  EXPECT_EQ(block_.Get(S::kPairingMode), 4);
  model.AddArchive(a);
  model.mode = 1;
  EXPECT_TRUE(model.Accept(block_));
  EXPECT_EQ(SynastrySetup::FromBlock(block_).mode, 1);
}

}  // namespace
