// The find steps over the browser's rows and the search dialog over the browser.
#include "archive/browser/archive_search_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_list_box.h"
#include "archive/browser/archive_view.h"
#include "astro/chart/published_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::MakeChart;
using Mode = ArchiveFindMode;

class ArchiveSearchTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    saved_ = GetConfiguration().archiveSearch;
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    view_.reset();
    GetConfiguration().archiveSearch = saved_;
    PublishSettings();
    platform::ModalDriver::Clear();
    ArchiveTest::TearDown();
  }
  // Rows A0..A9 with names "Ivanov" at the rows given, "Petrov" elsewhere; the search for
  // "Ivanov" stored in the configuration.
  void Open(int rows, std::initializer_list<int> matching) {
    std::vector<Chart> charts;
    for (int i = 0; i < rows; ++i) {
      bool match = false;
      for (int m : matching) match = match || m == i;
      charts.push_back(MakeChart(match ? "Ivanov" : "Petrov"));
    }
    OpenArchive("s.arc", kLayout4400, charts);
    view_ = std::make_unique<ArchiveView>(archive_);
    view_->OnInitDialog();
    // One record in view under the headings, so that a found record is scrolled to the top.
    auto* list = view_->findChild<CArchiveListBox*>();
    ASSERT_NE(list, nullptr);
    const QSize old = list->size();
    list->setMinimumSize(0, 0);
    list->resize(old.width(), 2 * list->RowHeight() + 2 * list->frameWidth());
    QResizeEvent resized(list->size(), old);
    QApplication::sendEvent(list, &resized);
    ASSERT_EQ(list->VisibleRows(), 1);
    ArchiveSearchCriteria c;
    c.name = "ivanov";
    // Published as the search dialog stores it (whatever another test published before).
    ChangeSettings([&c](Configuration& config, Aspectarium&) { c.ToBlock(config.archiveSearch); });
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int r = 0; r < view_->List().RecordRowCount(); ++r)
      if (view_->List().IsSelected(r)) rows.push_back(r);
    return rows;
  }
  std::string Marks() const {
    std::string marks;
    for (int n = 0; n < archive_.RecordCount(); ++n) marks += archive_.Entry(n).mark;
    return marks;
  }
  std::vector<int> Shown() const {
    std::vector<int> numbers;
    for (const auto& s : prompts_.shown) numbers.push_back(s.number);
    return numbers;
  }
  cfg::ByteBlock saved_;
  std::unique_ptr<ArchiveView> view_;
};

TEST_F(ArchiveSearchTest, FindStepsTakeRowsAndKeepTheSelection) {
  struct Case {
    const char* name;
    Mode mode;
    int remembered;
    int top;  // first visible row before the step
    int row;  // result
    std::vector<int> selected;
    bool notFound;
  };
  // Matches at rows 2, 5 and 7 of 9.
  const Case cases[] = {
      {"first", Mode::kFirst, -1, 0, 2, {2}, false},
      {"last", Mode::kLast, -1, 0, 7, {7}, false},
      {"next_after_2", Mode::kNext, 2, 0, 5, {5}, false},
      {"next_after_last_match", Mode::kNext, 7, 0, 7, {}, true},
      {"next_from_last_row", Mode::kNext, 8, 0, 8, {}, true},
      {"next_from_top_row", Mode::kNext, -1, 3, 5, {5}, false},
      {"next_top_row_is_match", Mode::kNext, -1, 2, 5, {5}, false},
      {"previous_before_5", Mode::kPrevious, 5, 0, 2, {2}, false},
      {"previous_before_first_match", Mode::kPrevious, 2, 0, 2, {}, true},
      {"previous_from_row_0", Mode::kPrevious, 0, 0, 0, {}, true},
      {"previous_from_top_row_0", Mode::kPrevious, -1, 0, -1, {}, true},
      {"previous_from_top_row", Mode::kPrevious, -1, 7, 5, {5}, false},
      {"all", Mode::kAll, -1, 0, 7, {2, 5, 7}, false},
  };
  for (const Case& c : cases) {
    Open(9, {2, 5, 7});
    view_->List().SetTopRow(c.top, 1);
    prompts_.shown.clear();
    EXPECT_EQ(view_->Find(static_cast<int>(c.mode), c.remembered), c.row) << c.name;
    EXPECT_EQ(SelectedRows(), c.selected) << c.name;
    std::string marks(9, 'N');
    for (int r : c.selected) marks[static_cast<std::size_t>(r)] = 'Y';
    EXPECT_EQ(Marks(), marks) << c.name;
    if (!c.notFound && c.mode != Mode::kAll) {
      EXPECT_EQ(view_->List().TopRow(), c.row) << c.name;
    }
    EXPECT_EQ(Shown(), c.notFound             ? std::vector<int>{487}
                       : c.mode == Mode::kAll ? std::vector<int>{488}
                                              : std::vector<int>{})
        << c.name;
  }
  EXPECT_EQ(prompts_.shown.back().text, GetMessageText(kMsgFoundCount) + " - 3");
}

TEST_F(ArchiveSearchTest, NothingFoundAndAnEmptyArchive) {
  Open(4, {});
  view_->List().SetSelected(1, true);
  for (Mode mode : {Mode::kFirst, Mode::kLast, Mode::kAll})
    EXPECT_EQ(view_->Find(static_cast<int>(mode)), -1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(Shown(), (std::vector<int>{487, 487, 487}));
  prompts_.shown.clear();
  Open(0, {});
  EXPECT_EQ(view_->Find(static_cast<int>(Mode::kFirst)), -1);
  EXPECT_EQ(Shown(), std::vector<int>{487});
}

// A message box hands the activation back to the browser when it closes ("Такой гороскоп не
// найден"): the search dialog, a window of the browser's, comes to the front again, so the user
// goes on typing into it.
class BackToBrowser final : public platform::Prompter {
 public:
  BackToBrowser(platform::Prompter& inner, QWidget& browser) : inner_(inner), browser_(browser) {
    platform::SetPrompter(this);
  }
  ~BackToBrowser() override { platform::SetPrompter(&inner_); }
  void ShowMessage(int number, std::string_view text, platform::Icon icon) override {
    inner_.ShowMessage(number, text, icon);
    browser_.raise();
    browser_.activateWindow();
    QCoreApplication::processEvents();
  }
  platform::Answer AskYesNo(int n, std::string_view t) override { return inner_.AskYesNo(n, t); }
  platform::Answer AskYesNoCancel(int n, std::string_view t) override {
    return inner_.AskYesNoCancel(n, t);
  }
  platform::Answer AskOkCancel(int n, std::string_view t) override {
    return inner_.AskOkCancel(n, t);
  }
  bool ChooseFile(platform::FileChoice& c) override { return inner_.ChooseFile(c); }
  bool InputText(int n, std::string_view p, std::string& t) override {
    return inner_.InputText(n, p, t);
  }

 private:
  platform::Prompter& inner_;
  QWidget& browser_;
};

TEST_F(ArchiveSearchTest, TheDialogStaysInFrontAfterAMessage) {
  Open(3, {});
  view_->show();
  view_->Button(ArchiveView::kIdSearch)->click();
  DArchiveSearch* dialog = view_->SearchDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parentWidget(), view_.get());
  const BackToBrowser messages(prompts_, *view_);
  for (int id : {DArchiveSearch::kIdFirst, DArchiveSearch::kIdNext}) {
    view_->activateWindow();
    QCoreApplication::processEvents();
    dialog->Button(id)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), dialog) << id;
  }
  EXPECT_EQ(Shown(), (std::vector<int>{487, 487}));
  dialog->reject();
}

TEST_F(ArchiveSearchTest, DialogStepsStoresAndClears) {
  Open(6, {1, 4});
  view_->List().SetSelected(3, true);
  archive_.Entry(3).mark = 'Y';
  view_->Button(ArchiveView::kIdSearch)->click();
  DArchiveSearch* dialog = view_->SearchDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(SelectedRows().empty()) << "opening deselects";
  EXPECT_EQ(Marks(), "NNNNNN");
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->NameEdit()->text(), QStringLiteral("ivanov"));
  EXPECT_FALSE(dialog->Date1Day()->isEnabled());
  EXPECT_FALSE(dialog->CommentEdit()->isEnabled()) << "no record has comments";
  EXPECT_EQ(dialog->PageCombo()->count(), 11);
  // A second ПОИСК opens no second dialog.
  view_->Button(ArchiveView::kIdSearch)->click();
  EXPECT_EQ(view_->SearchDialog(), dialog);

  dialog->NameEdit()->setText(QStringLiteral("IVAN"));
  dialog->NameContext()->setChecked(true);
  dialog->Button(DArchiveSearch::kIdFirst)->click();
  EXPECT_EQ(dialog->LastMatch(), 1);
  EXPECT_EQ(GetConfiguration().archiveSearch.Get(cfg::ArchiveSearchCriteria::kNameContext), 1);
  // The browser's count follows the rows the search selects.
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("1"));
  dialog->Button(DArchiveSearch::kIdNext)->click();
  EXPECT_EQ(dialog->LastMatch(), 4);
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("2"));
  dialog->Button(DArchiveSearch::kIdNext)->click();
  EXPECT_EQ(dialog->LastMatch(), 4);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 4}));
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("2"));
  EXPECT_EQ(Shown(), std::vector<int>{487});
  dialog->Button(DArchiveSearch::kIdSelectNone)->click();
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_EQ(Marks(), "NNNNNN");
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("0"));

  // A date that never was keeps the dialog on the field and stores nothing.
  dialog->DateOn()->setChecked(true);
  EXPECT_TRUE(dialog->Date1Day()->isEnabled());
  dialog->Date1Day()->setValue(31);
  dialog->Date1Month()->setValue(2);
  prompts_.shown.clear();
  dialog->Button(DArchiveSearch::kIdFirst)->click();
  EXPECT_EQ(Shown(), std::vector<int>{775});
  EXPECT_EQ(GetConfiguration().archiveSearch.Get(cfg::ArchiveSearchCriteria::kDateOn), 0);
  EXPECT_TRUE(SelectedRows().empty());

  dialog->Button(DArchiveSearch::kIdClear)->click();
  EXPECT_TRUE(dialog->NameEdit()->text().isEmpty());
  EXPECT_FALSE(dialog->DateOn()->isChecked());
  EXPECT_FALSE(dialog->Date1Day()->isEnabled());
  EXPECT_EQ(dialog->Date1Year()->value(), 1);

  dialog->Button(DArchiveSearch::kIdCancel)->click();
  EXPECT_EQ(view_->SearchDialog(), nullptr);
}

}  // namespace

namespace {

TEST(ArchiveSearchPlace, BesideTheBrowserWhereTheScreenHasRoom) {
  const QRect screen(0, 0, 1920, 1080);
  const QSize size(500, 400);
  struct Case {
    const char* name;
    QRect browser;
    QRect place;  // empty: no room on either side
  };
  const Case cases[] = {
      {"right", QRect(100, 100, 800, 600), QRect(900, 100, 500, 400)},
      {"left", QRect(1000, 100, 800, 600), QRect(500, 100, 500, 400)},
      {"no room", QRect(0, 0, 1920, 1000), QRect()},
      // The top at the browser's, moved up into the screen.
      {"low browser", QRect(100, 900, 800, 600), QRect(900, 680, 500, 400)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SearchPlaceBeside(c.browser, size, screen), c.place) << c.name;
}

TEST(ArchiveSearchPlace, OffTheFoundRow) {
  const QRect screen(0, 0, 800, 600);
  const QRect dialog(100, 100, 400, 300);
  struct Case {
    const char* name;
    QRect row;
    QRect place;
  };
  const Case cases[] = {
      {"not covered", QRect(0, 420, 700, 16), dialog},
      {"below the row", QRect(0, 150, 700, 16), QRect(100, 166, 400, 300)},
      // 134 below the row, 350 above it.
      {"above the row", QRect(0, 350, 700, 16), QRect(100, 50, 400, 300)},
      {"no row in view", QRect(), dialog},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SearchPlaceOffRow(dialog, c.row, screen), c.place) << c.name;
}

// On a screen too small to hold the dialog beside the browser: it leaves the row it found.
TEST_F(ArchiveSearchTest, TheDialogNeverHidesTheRowItFound) {
  Open(40, {20});
  view_->show();
  view_->Button(ArchiveView::kIdSearch)->click();
  DArchiveSearch* dialog = view_->SearchDialog();
  ASSERT_NE(dialog, nullptr);
  const QRect browser = view_->frameGeometry();
  if (!dialog->frameGeometry().intersects(browser)) GTEST_SKIP() << "opened beside the browser";
  // Over the list's top rows, where the found row comes.
  dialog->move(view_->ListBox()->RowOnScreen(view_->List().TopRow()).topLeft());
  dialog->Button(DArchiveSearch::kIdFirst)->click();
  ASSERT_EQ(dialog->LastMatch(), 20);
  const QRect row = view_->ListBox()->RowOnScreen(20);
  ASSERT_FALSE(row.isEmpty());
  EXPECT_FALSE(dialog->frameGeometry().intersects(row));
  EXPECT_TRUE(view_->List().IsSelected(20));
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("1"));
  dialog->reject();
}

TEST_F(ArchiveSearchTest, TheDialogFitsAThousandPixelScreen) {
  Open(40, {20});
  view_->show();
  // A browser as wide as the screen: the dialog goes to the screen's foot.
  const QRect screen = view_->screen()->availableGeometry();
  view_->setGeometry(screen.left(), screen.top(), screen.width(), screen.height() / 2);
  view_->Button(ArchiveView::kIdSearch)->click();
  DArchiveSearch* dialog = view_->SearchDialog();
  ASSERT_NE(dialog, nullptr);
  // A screen of 1000 pixels less a panel of 40 and the dialog's title bar of 30.
  constexpr int kRoom = 1000 - 40 - 30;
  EXPECT_LE(dialog->height(), kRoom);
  EXPECT_LE(dialog->minimumSizeHint().height(), kRoom);
  // At the foot with room for the title bar the window manager puts above it.
  const int titleBar = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight);
  EXPECT_GE(dialog->geometry().top() - titleBar, screen.top());
  EXPECT_LE(dialog->geometry().bottom() + titleBar, screen.bottom());
  dialog->reject();
}

}  // namespace
