// The query results view in the running program: opened by the query dialog behind the archive
// browser's "ЗАПРОС", its bar, marks and keys, loading, deleting and copying across two archives,
// closing when no row is left, and printing. The archives are the condition tool's charts; the
// query is the Sun in Aries, which holds in first.arc (charts.txt) on 0 Trine, 1 Cross, 4 Space,
// 5 Pages and in second.arc (kinds.txt) on 1 Five, 3 Julian, 4 Old, 5 Rect, 6 Skew, 7 Star.
#include "conditions/ui/query_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <filesystem>

#include "archive/browser/archive_view.h"
#include "chart_fixture.h"
#include "conditions/ui/query_dialog.h"
#include "conditions/ui/view_kinds.h"
#include "document/command_ids.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "shell/shell_fixture.h"

namespace {

using platform::Answer;
using platform::ModalDriver;
namespace fs = std::filesystem;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

const std::vector<std::string> kAllRows = {"Trine",  "Cross", "Space", "Pages", "Five",
                                           "Julian", "Old",   "Rect",  "Skew",  "Star"};

class QueryViewTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartApp();
    first_ = WriteFixture("first.arc", "charts.txt");
    second_ = WriteFixture("second.arc", "kinds.txt");
    testing_support::WriteFile(folder_ / "quearcs.lst", "+" + first_ + "\n+" + second_ + "\n");
    testing_support::WriteFile(folder_ / "quefuncs.lst",
                               "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n");
    ASSERT_EQ(app_->GetArchive().OpenByName(first_), 0);
  }

  std::string WriteFixture(const std::string& name, const char* fixture) {
    std::vector<chart_fixture::FixtureChart> charts;
    EXPECT_FALSE(chart_fixture::LoadFixture(
        testing_support::FixturePath(std::string("conditions/") + fixture), charts));
    const std::string path = (folder_ / name).string();
    EXPECT_TRUE(chart_fixture::WriteArchive(charts, path));
    return path;
  }

  // The query over the list, from the browser of "Загрузить из архива": the dialog answered OK
  // over the list, the browser closing by the query's load flag. The results view.
  CQueryView* RunQueryFromBrowser() {
    ModalDriver::Expect<ArchiveView>([](ArchiveView& view) {
      EXPECT_TRUE(view.Button(ArchiveView::kIdQuery)->isEnabled());
      view.Button(ArchiveView::kIdQuery)->click();
      return view.EndResult();
    });
    ModalDriver::Expect<DQuery>([](DQuery& dialog) {
      dialog.CurrentOnly()->setChecked(false);
      dialog.accept();
      return platform::kIdOk;
    });
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    app_->GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
    return View();
  }
  int Documents() const { return static_cast<int>(app_->Documents().Documents().size()); }
  CQueryView* View() const {
    for (const auto& document : app_->Documents().Documents())
      for (platform::View* view : document->Views())
        if (auto* query = dynamic_cast<CQueryView*>(view)) return query;
    return nullptr;
  }
  // The names of the charts in the windows opened after the first `from` documents.
  std::vector<std::string> OpenedNames(std::size_t from) const {
    std::vector<std::string> names;
    const auto& documents = app_->Documents().Documents();
    for (std::size_t i = from; i < documents.size(); ++i)
      if (const auto* doc = dynamic_cast<const ChartDocument*>(documents[i].get());
          doc && doc->GetChart())
        names.push_back(doc->GetChart()->definition.sources[0].Name());
    return names;
  }
  static std::vector<std::string> RowNames(const CQueryView& view) {
    std::vector<std::string> names;
    for (int i = 0; i < view.Results().Count(); ++i)
      names.push_back(view.Results().Row(i).entry.name);
    return names;
  }
  static void Press(CQueryView& view, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&view, &event);
  }

  std::string first_, second_;
};

TEST_F(QueryViewTest, TheBrowsersQueryOpensTheViewAndClosesTheBrowser) {
  CQueryView* view = RunQueryFromBrowser();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(ModalDriver::Unanswered().empty());
  EXPECT_EQ(RowNames(*view), kAllRows);
  EXPECT_EQ(view->GetFrameTitle(), U(" Результаты запроса"));
  EXPECT_EQ(view->HelpContext(), 131318);
  auto* document = dynamic_cast<ChartDocument*>(view->GetDocument());
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(document->IsViewOpen(kDocViewQueryResults));
  EXPECT_EQ(document->Kind(), kResultKindList);
  // The browser closed with OK and loaded nothing (the list run marked nothing); the archive open
  // before is current again.
  EXPECT_EQ(Documents(), 1);
  EXPECT_EQ(app_->GetArchive().GetPath(), first_);
  EXPECT_TRUE(prompts_.WasShown(594));
}

TEST_F(QueryViewTest, MarksKeysAndLoading) {
  CQueryView* view = RunQueryFromBrowser();
  ASSERT_NE(view, nullptr);
  // No mark: " ЗАГРУЗИТЬ " loads the current row alone.
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Down);
  EXPECT_EQ(view->List().Selection(), 2);
  view->OnBarButton(kBarLoad);
  EXPECT_EQ(OpenedNames(1), std::vector<std::string>{"Space"});
  // Insert and the right click turn marks over; the pad's '*' twice leaves them as they were.
  Press(*view, Qt::Key_Insert);
  view->OnBarButton(kBarInvert);
  Press(*view, Qt::Key_Asterisk, Qt::KeypadModifier);
  Press(*view, Qt::Key_Asterisk, Qt::KeypadModifier);
  view->OnBarButton(kBarInvert);
  EXPECT_EQ(view->Results().ChosenRows(0), std::vector<int>{2});
  Press(*view, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(view->Results().MarkedCount(), 10);
  Press(*view, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(view->Results().MarkedCount(), 0);
  // A double click on " ЗАГРУЗИТЬ " with rows 4 and 9 marked loads those two.
  Press(*view, Qt::Key_End);
  Press(*view, Qt::Key_Insert);
  Press(*view, Qt::Key_Home);
  for (int i = 0; i < 4; ++i) Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Insert);
  const platform::Rect load = view->Bar().buttons[kBarLoad];
  const double pixels = view->viewport()->logicalDpiX() / 2540.0;  // per 0.01 mm
  const QPointF at((load.left + load.right) / 2 * pixels, -(load.top + load.bottom) / 2 * pixels);
  QMouseEvent click(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &click);
  EXPECT_EQ(OpenedNames(1), (std::vector<std::string>{"Space", "Five", "Star"}));
}

TEST_F(QueryViewTest, AChangedArchiveIsNotLoaded) {
  CQueryView* view = RunQueryFromBrowser();
  ASSERT_NE(view, nullptr);
  fs::last_write_time(second_, fs::last_write_time(second_) + std::chrono::seconds(5));
  Press(*view, Qt::Key_Home);
  for (int i = 0; i < 5; ++i) Press(*view, Qt::Key_Down);  // Julian, of second.arc
  Press(*view, Qt::Key_Return);
  EXPECT_EQ(Documents(), 1);
  EXPECT_TRUE(prompts_.WasShown(611));
}

TEST_F(QueryViewTest, DeleteCopyAndTheLastRowClosingTheView) {
  CQueryView* view = RunQueryFromBrowser();
  ASSERT_NE(view, nullptr);
  // Cross (first.arc) and Old (second.arc) deleted; the rows after them still open their charts.
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Insert);
  for (int i = 0; i < 5; ++i) Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Insert);
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  view->OnBarButton(kBarDelete);
  const std::vector<std::string> rest = {"Trine",  "Space", "Pages", "Five",
                                         "Julian", "Rect",  "Skew",  "Star"};
  EXPECT_EQ(RowNames(*view), rest);
  Press(*view, Qt::Key_Plus, Qt::KeypadModifier);
  view->OnBarButton(kBarLoad);
  EXPECT_EQ(OpenedNames(1), rest);

  // Copy of every row into a new archive: all copied.
  const std::string target = (folder_ / "copy.arc").string();
  prompts_.ExpectFile(target);
  view->OnBarButton(kBarCopy);
  EXPECT_EQ(prompts_.shown.back().text,
            U("Операция успешно завершена.\nСкопировано гороскопов - 8"));

  // Deleting every row closes the view and its results document.
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  view->OnBarButton(kBarDelete);
  shell_test::DeletePending();
  EXPECT_EQ(View(), nullptr);
  EXPECT_EQ(Documents(), 8);
  prompts_.VerifyAllUsed();
}

TEST_F(QueryViewTest, PrintsTheHeaderLinesThenTheRows) {
  // A gap of 2000 on paper: a pitch of some 2400, 10 lines a page. The header (archives, query,
  // results) has 8 lines; with 10 rows, 2 pages.
  GetConfiguration().query.Set(cfg::QuerySettings::kPrintLineGap, std::int16_t{2000});
  CQueryView* view = RunQueryFromBrowser();
  ASSERT_NE(view, nullptr);
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 2);
  const std::string title = U("ЗАПРОС ПО АРХИВУ");
  platform::RecordingDc page1(96, true);
  page1.SetMapMode(platform::MapMode::HiMetric);
  view->OnPrint(page1, 1);
  const std::vector<std::string> texts = page1.Texts();
  ASSERT_GE(texts.size(), 11u);
  const std::vector<std::string> head(texts.begin(), texts.begin() + 11);
  EXPECT_EQ(head, (std::vector<std::string>{"?;<=>", title, U("      АРХИВЫ"), first_, second_, "",
                                            U("      ЗАПРОС"), U("IN(Солнце ; Овен)"), "",
                                            U("      РЕЗУЛЬТАТЫ"), "Trine"}));
  platform::RecordingDc page2(96, true);
  page2.SetMapMode(platform::MapMode::HiMetric);
  view->OnPrint(page2, 2);
  EXPECT_EQ(page2.Texts()[1], title + U(" (стр. 2)"));
  EXPECT_EQ(page2.Texts()[page2.Texts().size() - 9], "Star");  // the last row's name

  // The window and its printout (at the usual gap) for a person to look at.
  GetConfiguration().query.Set(cfg::QuerySettings::kPrintLineGap, std::int16_t{100});
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  view->OnBarButton(kBarMarkAll);
  Press(*view, Qt::Key_Home);
  Press(*view, Qt::Key_Down);
  Press(*view, Qt::Key_Insert);
  view->Frame()->resize(1000, 420);
  shell_test::WriteViewPictures(folder_.Path(), "query_results", *view, info.maxPage);
}

}  // namespace
