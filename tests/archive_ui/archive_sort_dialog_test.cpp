// The sort parameters dialog and the browser's sort command over real archive files.
#include "archive/browser/archive_sort_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_view.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::MakeChart;
using testing_support::ReadFile;

ArchiveSortParams Params(std::array<int, 3> keys, std::array<int, 3> bodies = {0, 0, 0}) {
  ArchiveSortParams p;
  p.keys = keys;
  p.bodies = bodies;
  return p;
}

TEST(DArcSort, BodyListsAndTheThirdKeyFollowTheKeys) {
  struct Case {
    const char* name;
    ArchiveSortParams shown;
    std::function<void(DArcSort&)> edit;
    std::array<bool, 3> bodyOn;
    std::array<int, 3> bodyRows;  // rows of the enabled lists
    bool thirdOn;
    ArchiveSortParams expected;
  };
  const Case cases[] = {
      {"as_stored",
       Params({kSortBodyLongitude, kSortBodyDegree, kSortBodySpeed}, {41, 30, 29}),
       nullptr,
       {true, true, true},
       {42, 42, 30},
       true,
       Params({kSortBodyLongitude, kSortBodyDegree, kSortBodySpeed}, {41, 30, 29})},
      {"cusp_then_speed_falls_back_to_the_sun",
       Params({kSortBodyLongitude, 0, 0}, {35, 0, 0}),
       [](DArcSort& d) { d.Key(0)->setCurrentIndex(kSortBodySpeed - 1); },
       {true, false, false},
       {30, 0, 0},
       false,
       Params({kSortBodySpeed, 0, 0}, {0, 0, 0})},
      {"body_kept_through_a_key_change",
       Params({kSortBodyLongitude, 0, 0}, {7, 0, 0}),
       [](DArcSort& d) { d.Key(0)->setCurrentIndex(kSortBodySpeed - 1); },
       {true, false, false},
       {30, 0, 0},
       false,
       Params({kSortBodySpeed, 0, 0}, {7, 0, 0})},
      {"second_unused_clears_the_third",
       Params({kSortName, kSortDate, kSortBodySpeed}, {0, 0, 3}),
       [](DArcSort& d) { d.Key(1)->setCurrentIndex(0); },
       {false, false, false},
       {0, 0, 0},
       false,
       Params({kSortName, 0, 0})},
      {"text_keys_have_no_body",
       Params({kSortPlace, kSortLatitude, 0}),
       nullptr,
       {false, false, false},
       {0, 0, 0},
       true,
       Params({kSortPlace, kSortLatitude, 0})},
  };
  for (const Case& c : cases) {
    DArcSort dialog;
    dialog.params = c.shown;
    dialog.OnInitDialog();
    if (c.edit) c.edit(dialog);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(dialog.Body(k)->isEnabled(), c.bodyOn[static_cast<std::size_t>(k)]) << c.name << k;
      if (c.bodyOn[static_cast<std::size_t>(k)]) {
        EXPECT_EQ(dialog.Body(k)->count(), c.bodyRows[static_cast<std::size_t>(k)]) << c.name << k;
      }
    }
    EXPECT_EQ(dialog.Key(2)->isEnabled(), c.thirdOn) << c.name;
    dialog.NewArchive()->setChecked(true);
    ASSERT_TRUE(dialog.DoDataExchange(true)) << c.name;
    EXPECT_EQ(dialog.params.keys, c.expected.keys) << c.name;
    EXPECT_EQ(dialog.params.bodies, c.expected.bodies) << c.name;
    EXPECT_TRUE(dialog.params.newArchive) << c.name;
    if (c.name == std::string("as_stored")) {
      testing_support::TempFolder folder;
      ASSERT_TRUE(dialog.grab().toImage().save(
          QString::fromStdString((folder.Path() / "sort.png").string())));
      testing_support::ShowToPerson(folder.Path() / "sort.png", "archive_sort_dialog");
    }
  }
}

class ArchiveSortCommandTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    saved_ = GetConfiguration().archiveSort;
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    view_.reset();
    prompts_.VerifyAllUsed();
    GetConfiguration().archiveSort = saved_;
    platform::ModalDriver::Clear();
    ArchiveTest::TearDown();
  }
  void Open(const std::vector<std::string>& names) {
    std::vector<Chart> charts;
    for (const std::string& name : names) charts.push_back(MakeChart(name));
    OpenArchive("a.arc", kLayout4400, charts);
    archive_.Recent().AddRecentName(PathOf("a.arc"));
    view_ = std::make_unique<ArchiveView>(archive_);
    view_->OnInitDialog();
  }
  // The next sort dialog answered with these choices (OK) or cancelled.
  static void Answer(const ArchiveSortParams& params, bool ok = true) {
    platform::ModalDriver::Expect<DArcSort>([params, ok](DArcSort& d) {
      d.params = params;
      return ok ? platform::kIdOk : platform::kIdCancel;
    });
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> names;
    for (int r = 0; r < view_->List().RecordRowCount(); ++r)
      names.push_back(archive_.Entry(view_->List().RecordOfRow(r)).name);
    return names;
  }
  cfg::ByteBlock saved_;
  std::unique_ptr<ArchiveView> view_;
};

TEST_F(ArchiveSortCommandTest, SortsInPlaceClearsTheSelectionAndKeepsTheChoices) {
  Open({"C", "A", "B"});
  view_->List().SetSelected(0, true);
  archive_.Entry(2).mark = 'Y';
  ArchiveSortParams byName = Params({kSortName, 0, 0});
  byName.descending = true;
  Answer(byName);
  view_->Button(ArchiveView::kIdSort)->click();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_EQ(view_->List().SelectedCount(), 0);
  EXPECT_EQ(archive_.MarkedCount(), 0);
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("0"));
  EXPECT_TRUE(ArchiveSortParams::FromBlock(GetConfiguration().archiveSort).descending);

  const std::string sorted = ReadFile(PathOf("a.arc"));
  Answer(Params({kSortName, 0, 0}), false);  // Cancel: nothing happens
  view_->Button(ArchiveView::kIdSort)->click();
  EXPECT_EQ(ReadFile(PathOf("a.arc")), sorted);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(ArchiveSortCommandTest, IntoANewArchiveTheBrowserShowsIt) {
  Open({"C", "A", "B"});
  const std::string before = ReadFile(PathOf("a.arc"));
  ArchiveSortParams params = Params({kSortName, 0, 0});
  params.newArchive = true;
  Answer(params);
  prompts_.ExpectFile("");  // the file choice cancelled: the sort did not happen
  view_->Button(ArchiveView::kIdSort)->click();
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgSortCancelled);

  Answer(params);
  prompts_.ExpectFile(PathOf("b.arc"));
  view_->Button(ArchiveView::kIdSort)->click();
  EXPECT_EQ(ReadFile(PathOf("a.arc")), before);
  EXPECT_EQ(archive_.GetPath(), PathOf("b.arc"));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(view_->RecentCombo()->count(), 2);
}

}  // namespace
