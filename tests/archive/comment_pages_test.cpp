// The comment pages of an open chart as the comment view edits them: page files, the slot a chart
// takes and gives up, the one length limit and the line breaks of the stored form.
#include "archive/comments/comment_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/comments/chart_comments.h"
#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

namespace fs = std::filesystem;

TEST(CommentPageText, LineBreaksBetweenFileAndEditor) {
  struct Case {
    const char* name;
    std::string file, editor, storedAgain;
  } const cases[] = {
      {"crlf", "one\r\ntwo\r\n", "one\ntwo\n", "one\r\ntwo\r\n"},
      {"lone_lf", "one\ntwo", "one\ntwo", "one\r\ntwo"},
      {"lone_cr", "one\rtwo", "one\ntwo", "one\r\ntwo"},
      {"cr_cr_lf", "a\r\r\nb", "a\n\nb", "a\r\n\r\nb"},
      {"nul_ends", std::string("ab\0cd", 5), "ab", "ab"},
      {"empty", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PageTextFromFile(c.file), c.editor);
    EXPECT_EQ(PageTextToFile(c.editor), c.storedAgain);
    EXPECT_EQ(PageFileBytes(c.editor), c.storedAgain.size());
  }
}

class CommentPagesTest : public ArchiveTest {
 protected:
  Chart chart_ = MakeChart("Comment");
  fs::path Page(int slot, int k) const { return CommentFileName(slot, k); }
};

TEST_F(CommentPagesTest, SlotIsGivenUpWhenNothingIsLeft) {
  struct Case {
    const char* name;
    bool typedOnOtherPage;  // page 4 holds text too
    bool savedFirst;        // page 0 was stored before it was emptied
    bool slotKept;
  } const cases[] = {
      {"never_saved", false, false, false},
      {"only_page_emptied", false, true, false},
      {"other_page_remains", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart = MakeChart("Case");
    CommentSlotTable slots;
    CommentPages pages(slots, 0);
    std::string text;
    ASSERT_TRUE(pages.Fill(chart, text).ok());
    const int slot = chart.commentSlot;
    if (c.typedOnOtherPage) {
      pages.SetCurrentPage(4);
      ASSERT_TRUE(pages.Save(chart, "four").ok());
      pages.SetCurrentPage(0);
      ASSERT_TRUE(pages.Fill(chart, text).ok());
    }
    if (c.savedFirst) {
      ASSERT_TRUE(pages.Save(chart, "zero").ok());
    }
    ASSERT_TRUE(pages.Save(chart, "").ok());
    EXPECT_FALSE(fs::exists(Page(slot, 0)));
    EXPECT_EQ(chart.commentSlot != 0, c.slotKept);
    EXPECT_EQ(slots.IsTaken(slot), c.slotKept);
    EXPECT_EQ(fs::exists(Page(slot, 4)), c.typedOnOtherPage);
    fs::remove(Page(slot, 4));
  }
}

TEST_F(CommentPagesTest, PageFileBeyondTheLimitIsReadAndStoredCut) {
  // Written by another program: 32000 bytes and more. The view never holds more than the
  // archive takes.
  const std::string full(32000, 'x');
  chart_.commentSlot = 1;
  slots_.Mark(1, true);
  WriteFile(Page(1, 2), full + "overflow");
  CommentPages pages(slots_, 2);
  std::string text;
  ASSERT_TRUE(pages.Fill(chart_, text).ok());
  EXPECT_EQ(text, full);
  ASSERT_TRUE(pages.Save(chart_, full + "overflow").ok());
  EXPECT_EQ(ReadFile(Page(1, 2)), full);
}

TEST_F(CommentPagesTest, FailedStoreKeepsTheOldPage) {
  CommentPages pages(slots_, 0);
  std::string text;
  ASSERT_TRUE(pages.Fill(chart_, text).ok());
  ASSERT_TRUE(pages.Save(chart_, "old text").ok());
  for (int fault = 1; fault <= 3; ++fault) {
    SCOPED_TRACE(fault);
    ArmFileFault(fault);
    const Status stored = pages.Save(chart_, "new text");
    ArmFileFault(0);
    EXPECT_FALSE(stored.ok());
    EXPECT_TRUE(stored.ErrorCode() == kErrWrite || stored.ErrorCode() == kErrCannotCreate);
    EXPECT_EQ(ReadFile(Page(1, 0)), "old text");
  }
}

TEST_F(CommentPagesTest, FreshSlotPassesOverPagesLeftBehind) {
  // Pages of slots 1 and 2 left by a session that was not restored.
  WriteFile(Page(1, 0), "left one");
  WriteFile(Page(2, 9), "left two");
  CommentPages pages(slots_, 0);
  std::string text;
  ASSERT_TRUE(pages.Fill(chart_, text).ok());
  EXPECT_EQ(chart_.commentSlot, 3);
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(slots_.IsTaken(1));
  EXPECT_FALSE(slots_.IsTaken(2));
  EXPECT_EQ(ReadFile(Page(1, 0)), "left one");

  CommentSlotTable full;
  while (full.GetFreeCommentSlot() > 0) {
  }
  Chart other = MakeChart("Other");
  CommentPages none(full, 0);
  EXPECT_EQ(none.Fill(other, text).MessageNumber(), kMsgTooManyCommentCharts);
  EXPECT_EQ(other.commentSlot, 0);
}

TEST_F(CommentPagesTest, UnreadablePageGivesAnEmptyTextAndAnError) {
  CommentPages pages(slots_, 0);
  std::string text;
  ASSERT_TRUE(pages.Fill(chart_, text).ok());
  ASSERT_TRUE(pages.Save(chart_, "text").ok());
  // A folder where the page file should be cannot be read as a file.
  fs::remove(Page(1, 0));
  fs::create_directory(Page(1, 0));
  const Status filled = pages.Fill(chart_, text);
  EXPECT_TRUE(filled.ErrorCode() == kErrCannotOpen || filled.ErrorCode() == kErrRead);
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace archive_test
