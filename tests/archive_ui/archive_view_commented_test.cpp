// The browser with comments: when the editor's text is stored and when it is not, the page
// choice, the switch back to the plain browser.
#include <QComboBox>

#include "archive_ui/archive_view_fixture.h"
#include "document/rich_text_view.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"

namespace {

using archive_test::MakeChart;
using archive_test::Snapshot;
using archive_ui_test::ArchiveViewTest;
using testing_support::WriteFile;

class CommentedTest : public ArchiveViewTest {
 protected:
  void TearDown() override {
    GetConfiguration().currentCommentPage = 0;
    ArchiveViewTest::TearDown();
  }
  // Records A and B of a 4.4 archive, A with texts on pages 0 and 1; the browser with comments on
  // record `marked`.
  void OpenCommented(int marked = 0) {
    Open({"A", "B"});
    Store(0, 0, "zero\r\ntext");
    Store(0, 1, "one");
    archive_.ClearMarks();
    archive_.Entry(marked).mark = 'Y';
    Show(true);
  }
  void Store(int record, int page, const std::string& text) {
    archive_.Comments().SetCommentText(text);
    ASSERT_EQ(archive_.Comments().SaveComment(record, page), 0);
  }
  std::string Stored(int record, int page) {
    std::string text;
    archive_.Comments().LoadComment(record, page, text);
    return text;
  }
  ArchiveViewCommented& View() { return static_cast<ArchiveViewCommented&>(*view_); }
  std::string Editor() { return View().Editor()->Text(); }
  // The user enters the editor and leaves `text` in it.
  void Type(const std::string& text) {
    View().EditorEntered();
    View().Editor()->SetText(text);
  }
  void ChooseRow(int row) {
    List().ClearSelection();
    List().SetSelected(row, true);
    Q_EMIT view_->ListBox()->selectionChanged();
  }
};

TEST_F(CommentedTest, EnteringTheEditorWithoutChangeWritesNothing) {
  OpenCommented();
  EXPECT_EQ(Editor(), "zero\ntext");
  const auto files = Snapshot(folder_.Path());
  View().EditorEntered();
  ChooseRow(1);
  EXPECT_EQ(Snapshot(folder_.Path()), files);
  EXPECT_EQ(Marks(), "NY");
  EXPECT_EQ(Editor(), "");
  EXPECT_TRUE(View().Editor()->isEnabled());
}

TEST_F(CommentedTest, AnotherRecordOrPageStoresTheText) {
  OpenCommented();
  Type("new\nzero");
  ChooseRow(1);
  EXPECT_EQ(Stored(0, 0), "new\r\nzero");
  Type("for B");
  View().OnPageChanged(1);
  EXPECT_EQ(Stored(1, 0), "for B");
  EXPECT_EQ(GetConfiguration().currentCommentPage, 1);
  EXPECT_EQ(Editor(), "");  // B has nothing on page 1
  ChooseRow(0);
  EXPECT_EQ(Editor(), "one");
}

TEST_F(CommentedTest, LoadStoresEvenAnEmptiedText) {
  OpenCommented();
  Type("");
  ASSERT_TRUE(View().CheckOk());
  EXPECT_FALSE(archive_.Entry(0).comments.HasText(0));
  EXPECT_EQ(Stored(0, 1), "one");
  EXPECT_EQ(Marks(), "YN");
}

TEST_F(CommentedTest, ExitAsksBeforeStoring) {
  for (const auto answer : {platform::Answer::No, platform::Answer::Yes}) {
    OpenCommented();
    Type("changed");
    prompts_.Expect(kMsgUnsavedComment, answer);
    View().reject();
    EXPECT_EQ(Stored(0, 0), answer == platform::Answer::Yes ? "changed" : "zero\r\ntext");
    EXPECT_EQ(view_->EndResult(), platform::kIdCancel);
  }
}

TEST_F(CommentedTest, DeclinedDeleteShowsTheStoredTextAgain) {
  OpenCommented();
  Type("kept");
  prompts_.Expect(kMsgDeleteChart, platform::Answer::No);
  View().OnDelete();
  EXPECT_EQ(Stored(0, 0), "kept");  // stored before the question
  EXPECT_EQ(Editor(), "kept");
  prompts_.Expect(kMsgDeleteChart, platform::Answer::Yes);
  View().OnDelete();
  EXPECT_EQ(archive_.RecordCount(), 1);
  EXPECT_EQ(Editor(), "");
  EXPECT_FALSE(View().Editor()->isEnabled());
}

TEST_F(CommentedTest, ATextRefusedOnAStaleListStaysToBeStoredAndAGoneArchiveActsOnNoRow) {
  // Another copy moves B before A while A's text is typed: refused, the text stays on A's new row.
  OpenCommented();
  Archive other(slots_);
  ASSERT_NE(other.SetPath(PathOf("a.arc")), -1);
  ASSERT_EQ(other.CreateIndex(), 0);
  other.Entry(1).mark = 'Y';
  ASSERT_EQ(other.Records().ChartUpDown(true), 0);
  Type("typed on A");
  ChooseRow(1);
  EXPECT_TRUE(prompts_.WasShown(kMsgArchiveChangedElsewhere));
  EXPECT_EQ(Editor(), "typed on A");
  EXPECT_EQ(Marks(), "NY");  // A, now the second record, chosen again
  ChooseRow(0);
  EXPECT_EQ(Stored(1, 0), "typed on A");
  EXPECT_EQ(Editor(), "");
  // The other copy deletes every chart, and the archive's files go with them.
  ASSERT_EQ(other.CreateIndex(), 0);
  other.Index().MarkAll();
  ASSERT_EQ(other.Records().Delete(false), 0);
  ChooseRow(1);
  EXPECT_TRUE(prompts_.WasShown(kMsgArchiveGone));
  EXPECT_EQ(archive_.RecordCount(), 2);
  Type("typed while gone");
  ChooseRow(0);
  EXPECT_EQ(Editor(), "typed while gone");
  Show(true);
  EXPECT_EQ(List().RecordRowCount(), 2);
}

TEST_F(CommentedTest, ClosingTheCommentsOrA4200ArchiveBringsThePlainBrowser) {
  OpenCommented(1);
  Type("B text");
  View().OnComment();
  EXPECT_EQ(Stored(1, 0), "B text");
  EXPECT_EQ(Marks(), "NY");
  EXPECT_EQ(archive_.browserVariant, 1);
  EXPECT_EQ(view_->EndResult(), platform::kIdCancel);

  WriteFile(PathOf("old.arc"), archive_test::ArchiveBytes(kLayout4200, {MakeChart("O")}));
  OpenCommented();
  archive_.Recent().AddRecentName(PathOf("old.arc"));
  archive_.Recent().AddRecentName(PathOf("a.arc"));
  Show(true);
  Type("before the switch");
  view_->OnRecentChosen(1);
  EXPECT_EQ(archive_.LayoutCode(), kLayout4200);
  EXPECT_EQ(archive_.browserVariant, 1);
  EXPECT_EQ(view_->EndResult(), platform::kIdCancel);
  ASSERT_EQ(archive_.SetPath(PathOf("a.arc")), kLayout4400);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_EQ(Stored(0, 0), "before the switch");
}

}  // namespace
