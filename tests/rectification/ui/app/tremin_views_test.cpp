// The Tremin windows through the whole program: the rectification command runs its sheet, the
// results view searches (the possible-moments dialog between the passes) and opens the chart of
// a moment on a double click or Enter; the forecast command (Alt+J) runs its dialog and the
// forecast view computes the year, scrolls with both bars and prints.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpinBox>

#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/present_moment.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "rectification/ui/pr_tremin_view.h"
#include "rectification/ui/tm_possible_moments.h"
#include "rectification/ui/tremin_conf.h"
#include "rectification/ui/tremin_forecast_dialog.h"
#include "rectification/ui/tremin_view.h"
#include "rectification/ui/view_kinds.h"
#include "views/ui/app/views_fixture.h"

namespace views_test {
namespace {

class TreminViewsTest : public ViewsTest {
 protected:
  // Moscow, 13 May 1975 14:30 +03:00, with three events of the method.
  CKovraDoc* OpenWithEvents() {
    CKovraDoc* document = OpenOne();
    LifeEventList& events = app_->TreminEvents();
    EXPECT_TRUE(events.Add(Cp1251("Переезд"), 15, 6, 2015, "", "NNNYNNYNNNYN").ok());
    EXPECT_TRUE(events.Add(Cp1251("Свадьба"), 2, 9, 2000, "", "NNNNNNYNNNNN").ok());
    EXPECT_TRUE(events.Add(Cp1251("Рождение отца"), 1, 1, 1950, "", "NNNNNNNNNYNN").ok());
    return document;
  }
  // The sheet answered with 14:10..14:50 at the minute's step, every score kept; the father's
  // birth lies before the native's: the user goes on.
  void AnswerSheet(int order = 1) {
    prompts_.Expect(kMsgTreminEventsBeforeBirth, platform::Answer::Yes);
    platform::ModalDriver::Expect<TreminSheet>([order](TreminSheet& sheet) {
      auto& page = *static_cast<DTreminRectConf*>(sheet.Page(0));
      // The sheet opens on a day around the birth; both ends on the birth's day.
      page.IntervalBox(true, 2)->setValue(13);
      for (bool end : {false, true}) page.IntervalBox(end, 3)->setValue(14);
      page.IntervalBox(false, 4)->setValue(10);
      page.IntervalBox(true, 4)->setValue(50);
      page.StepBox()->setCurrentIndex(5);
      page.OrderGroup()->button(order)->click();
      page.MinimumScoreBox()->setValue(0);
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  static void AnswerMoments(bool go) {
    platform::ModalDriver::Expect<DTmPossibleMoments>([go](DTmPossibleMoments& d) {
      d.MinimumBox()->setValue(0);
      return go && d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  // The pixel of logical y (0.01 mm, negative downwards) in the view's window.
  static QPointF PixelAt(const QWidget& w, int logicalY) {
    return QPointF(40, -logicalY * w.logicalDpiY() / 2540.0);
  }
};

TEST_F(TreminViewsTest, ResultsViewSearchesAndOpensTheChartOfAMoment) {
  CKovraDoc* document = OpenWithEvents();
  ASSERT_NE(document, nullptr);
  AnswerSheet();
  AnswerMoments(true);
  auto* view = OpenView<CTreminView>(document, cmd::kTreminRectification);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Searched());
  EXPECT_TRUE(document->IsViewOpen(kDocViewTreminResults));
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgTreminViewCaption));
  EXPECT_EQ(view->HelpContext(), 131306);
  // 41 minutes, in the chart's own clock (the search runs in universal time).
  ASSERT_EQ(view->Search().Moments().Count(), 41);
  EXPECT_EQ(view->Search().LocalMoment(0).time.SecondsOfDay(), 14 * 3600 + 10 * 60);
  const int rows = TmResultCount(view->Search());
  ASSERT_GT(rows, 1);
  EXPECT_EQ(view->List().Count(), rows);
  // By score: the means never grow down the list.
  for (int r = 1; r < rows; ++r)
    EXPECT_GE(TmResultRowOf(view->Search(), r - 1).mean, TmResultRowOf(view->Search(), r).mean);

  view->resize(600, 400);
  Screenshot(*view, "tremin_view_screen");

  // A double click on the second row selects it and opens its moment as a rectified birth chart.
  const int documents = static_cast<int>(app_->Documents().Documents().size());
  const double top = view->List().Top(), pitch = view->List().Pitch();
  const QPointF at = PixelAt(*view->viewport(), -static_cast<int>(top + 1.5 * pitch));
  QMouseEvent click(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &click);
  EXPECT_EQ(view->List().Selection(), 1);
  ASSERT_EQ(static_cast<int>(app_->Documents().Documents().size()), documents + 1);
  auto* opened = dynamic_cast<ChartDocument*>(app_->Documents().Documents().back().get());
  ASSERT_NE(opened, nullptr);
  const Moment moment = TmResultMoment(view->Search(), 1);
  EXPECT_EQ(opened->GetChart()->definition.sources[0].moment, moment);
  EXPECT_NE(
      opened->GetChart()->definition.sources[0].Name().find(GetMessageText(kMsgRectifiedBirth)),
      std::string::npos);
  // Enter on the selected row opens the same moment.
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(view, &enter);
  ASSERT_EQ(static_cast<int>(app_->Documents().Documents().size()), documents + 2);
  auto* again = dynamic_cast<ChartDocument*>(app_->Documents().Documents().back().get());
  EXPECT_EQ(again->GetChart()->definition.sources[0].moment, moment);

  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  const QImage page = PagePicture("tremin_view", info.maxPage, *view);
  EXPECT_GT(Ink(page, 1500, -3600, 20000, -3600 - rows * 400), 0);  // the rows under the head
}

TEST_F(TreminViewsTest, ACancelledSearchClosesTheView) {
  CKovraDoc* document = OpenWithEvents();
  AnswerSheet();
  AnswerMoments(false);
  ASSERT_TRUE(RunFrom(document, cmd::kTreminRectification));
  QCoreApplication::processEvents();
  DeletePending();
  EXPECT_FALSE(document->IsViewOpen(kDocViewTreminResults));
  EXPECT_EQ(document->Views().size(), 1u);  // the chart's own window only
}

// The shipped settings name no forecast year: the dialog offers the present one for a birth chart.
TEST_F(TreminViewsTest, AForecastYearNeverChosenIsThePresentYear) {
  CKovraDoc* document = OpenWithEvents();
  ASSERT_EQ(GetConfiguration().treminForecast.Get(cfg::TreminForecast::kYear), 0);
  ASSERT_EQ(document->GetChart()->definition.Kind(), kChartNatal);
  Source now;
  ASSERT_TRUE(SetSourceToPresent(now, ReadSystemClock()).ok());
  int offered = 0;
  platform::ModalDriver::Expect<DTREMIN_PROG>([&offered](DTREMIN_PROG& d) {
    offered = d.Page().values.year;
    return platform::kIdCancel;
  });
  ASSERT_TRUE(RunFrom(document, cmd::kTreminForecast));
  EXPECT_EQ(offered, now.moment.date.Year());
}

TEST_F(TreminViewsTest, ForecastViewScrollsWithBothBarsAndPrints) {
  CKovraDoc* document = OpenWithEvents();
  for (int i = 0; i < 12; ++i)
    ASSERT_TRUE(app_->TreminEvents()
                    .Add("event " + std::to_string(i), 1, 1 + i, 1990 + i, "",
                         std::string(static_cast<std::size_t>(i % 12), 'N') + "Y")
                    .ok());
  platform::ModalDriver::Expect<DTREMIN_PROG>([](DTREMIN_PROG& d) {
    d.YearBox()->setValue(2015);
    return d.DoDataExchange(true) && d.CheckOk() ? platform::kIdOk : platform::kIdCancel;
  });
  auto* view = OpenView<CPrTreminView>(document, cmd::kTreminForecast);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Calculated());
  EXPECT_TRUE(document->IsViewOpen(kDocViewTreminForecast));
  EXPECT_EQ(view->GetFrameTitle(),
            GetMessageText(kMsgForecastCaption) + "2015: " + document->GetTitle());
  // 14 events: the father's birth is not forecast.
  ASSERT_EQ(view->Forecast().Rows().size(), 14u);

  view->resize(700, 400);
  QCoreApplication::processEvents();
  const int shown = view->RowsOnScreen();
  ASSERT_LT(shown, 14);
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 14 - shown);
  EXPECT_EQ(view->horizontalScrollBar()->maximum(), 14 - shown);
  view->horizontalScrollBar()->setValue(3);
  EXPECT_EQ(view->FirstRow(), 3);
  EXPECT_EQ(view->verticalScrollBar()->value(), 3);
  view->verticalScrollBar()->setValue(99);
  EXPECT_EQ(view->FirstRow(), 14 - shown);
  view->verticalScrollBar()->setValue(0);
  Screenshot(*view, "pr_tremin_view_screen");

  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);  // 15 rows a page
  PagePicture("pr_tremin_view", info.maxPage, *view);
}

TEST_F(TreminViewsTest, ForecastWithNothingToForecastClosesAndSaysSo) {
  CKovraDoc* document = OpenOne();
  ASSERT_TRUE(
      app_->TreminEvents().Add(Cp1251("Рождение матери"), 1, 1, 1950, "", "NNNNNNNNNYNN").ok());
  platform::ModalDriver::Expect<DTREMIN_PROG>([](DTREMIN_PROG& d) {
    return d.DoDataExchange(true) && d.CheckOk() ? platform::kIdOk : platform::kIdCancel;
  });
  ASSERT_TRUE(RunFrom(document, cmd::kTreminForecast));
  QCoreApplication::processEvents();
  DeletePending();
  EXPECT_TRUE(prompts_.WasShown(kMsgNoForecastEvent));
  EXPECT_FALSE(document->IsViewOpen(kDocViewTreminForecast));
}

// A window without a chart (a query's results): every rectification command is disabled there,
// as the other commands on the chart are, and run all the same it shows no dialog and opens
// nothing.
TEST_F(TreminViewsTest, RectificationCommandsOpenNothingWithoutAChart) {
  CKovraApp& app = StartApp();
  CKovraDoc* results = CKovraDoc::Open(app, DocCreation::Results(DocCreationMode::EmptyResults));
  ASSERT_NE(results, nullptr);
  ASSERT_EQ(results->GetChart(), nullptr);
  platform::ModalDriver::Clear();
  platform::ModalDriver::SetStrict(true);
  const std::size_t documents = DocumentCount(), views = results->Views().size();
  for (const int command : {cmd::kRectifyByEvents, cmd::kTreminRectification, cmd::kTreminForecast,
                            cmd::kHermesTrutine, cmd::kMoravNumber}) {
    platform::CommandState state;
    ASSERT_TRUE(results->Update(command, state)) << command;
    EXPECT_FALSE(state.enabled) << command;
    EXPECT_TRUE(results->Execute(command)) << command;
    EXPECT_EQ(results->Views().size(), views) << command;
  }
  EXPECT_TRUE(platform::ModalDriver::Shown().empty());
  EXPECT_EQ(DocumentCount(), documents);
}

}  // namespace
}  // namespace views_test
