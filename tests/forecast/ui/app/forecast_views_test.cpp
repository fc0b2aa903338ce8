// The forecast list views in the program: each opened by its command after its settings sheet,
// counted in the document and named in its frame; a transit's chart opened from the list; events
// handed over to a prediction list by a right click, with the list dialog when asked and error
// 105 when the list cannot be written; the aspect-list command and the list's print document;
// and the pages of every view written as pictures.
#include "forecast/ui/forecast_views.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "document/command_ids.h"
#include "forecast/core/pred_list_file.h"
#include "forecast/core/pred_list_print.h"
#include "forecast/ui/life_point_sheet.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "forecast/ui/lunar_trans_sheet.h"
#include "forecast/ui/pred_list_commands.h"
#include "forecast/ui/pred_list_dialogs.h"
#include "forecast/ui/pred_list_print_view.h"
#include "forecast/ui/transit_sheet.h"
#include "forecast/ui/view_kinds.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "platform/qt/progress_dialog.h"
#include "views/ui/app/views_fixture.h"

namespace {

using namespace shell_test;
using platform::kIdCancel;
using platform::kIdOk;

// The sheet of the planet transits: every aspect of the Sun to Jupiter over a year from the
// chart's date, exact.
void AnswerTransitSheet(int endYear = 1976) {
  platform::ModalDriver::Expect<TransitSheet>([endYear](TransitSheet& sheet) {
    auto& page = *static_cast<DTRANSCALC*>(sheet.Page(0));
    page.ModeGroup()->button(0)->click();
    page.TransitingBox()->setCurrentIndex(0);                          // the Sun
    page.TargetBox()->setCurrentIndex(5);                              // Jupiter
    page.AspectBox()->setCurrentIndex(page.AspectBox()->count() - 2);  // any aspect
    page.DateBox(1, 0)->setValue(14);
    page.DateBox(1, 1)->setValue(5);
    page.DateBox(1, 2)->setValue(endYear);
    return sheet.DoDataExchange(true) ? kIdOk : kIdCancel;
  });
}

// The transfer dialog: a new list `name`, all events or the clicked one, with or without the
// list dialog after it.
void AnswerTransfer(const char* name, bool clickedOnly, bool openList) {
  platform::ModalDriver::Expect<DPREDLIST_TRANSFER>(
      [name, clickedOnly, openList](DPREDLIST_TRANSFER& dialog) {
        dialog.TargetGroup()->button(PredListTransferPage::kNew)->click();
        dialog.NameEdit()->setText(QString::fromUtf8(name));
        dialog.CountGroup()->button(clickedOnly ? 1 : 0)->setChecked(true);
        return dialog.Close(openList) ? kIdOk : kIdCancel;
      });
}

class ForecastViewsTest : public views_test::ViewsTest {
 protected:
  CKovraDoc* OpenChart(int kind = kChartNatal) {
    StartApp(true);
    Chart chart = NatalChart(kMoscow, "Натал");
    if (kind == kChartTransit) {
      chart.definition.SetKind(kChartTransit);
      FillSource(chart.definition.sources[1], kParis);  // the moment of 1 January 2000
    }
    return OpenCopy(chart);
  }
  // A mouse event in the middle of page row `row` (-1: below the last line).
  static void Click(platform::LineListView& view, QEvent::Type type, Qt::MouseButton button,
                    int row) {
    const lists::LineList& list = view.List();
    const int y = row >= 0 ? list.RowTop(row) - static_cast<int>(list.Pitch() / 2)
                           : list.RowTop(list.VisibleCount()) - static_cast<int>(list.Pitch());
    const QPointF at(20, -y * view.logicalDpiY() / 2540.0);
    QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
  }
  static void RightClick(platform::LineListView& view, int row) {
    Click(view, QEvent::MouseButtonPress, Qt::RightButton, row);
  }
  static void Press(QWidget& view, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
  }
  std::vector<PredListRecord> ListFile(const char* name) const {
    PredList list;
    EXPECT_TRUE(list.Load(folder_ / (std::string(name) + ".pls")).ok());
    return list.records;
  }
  // Page 1 as `name`.png and every page as `name`.pdf, shown to a person; the page count.
  int Pictures(platform::View& view, const std::string& name) {
    platform::PrintInfo info;
    if (!view.OnPreparePrinting(info)) return 0;
    PagePicture(name, info.maxPage, view);
    Screenshot(view, name + "_screen");
    return info.maxPage;
  }
};

TEST_F(ForecastViewsTest, PlanetTransitsOpenTheirChartAndGoToAList) {
  CKovraDoc* document = OpenChart();
  ASSERT_NE(document, nullptr);
  AnswerTransitSheet();
  auto* view = OpenView<CTransitsView>(document, cmd::kPlanetTransits);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->Calculation(), nullptr);
  const std::vector<TransitEventRecord>& events = view->Calculation()->Events();
  // The Sun passes Jupiter's conjunction, opposition, squares, trines and sextiles in a year.
  ASSERT_GE(events.size(), 8u);
  EXPECT_EQ(document->OpenCount(kDocViewPlanetTransits), 1);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + Cp1251(" -Транзиты планет"));
  EXPECT_EQ(view->HelpContext(), 131319);
  EXPECT_EQ(view->List().Count(), static_cast<int>(events.size()));

  // A double click on the fourth line, and Enter on the second, open the charts of those
  // transits at their moments.
  const std::size_t before = app_->Documents().Documents().size();
  Click(*view, QEvent::MouseButtonDblClick, Qt::LeftButton, 3);
  Press(*view, Qt::Key_Up);
  Press(*view, Qt::Key_Up);
  Press(*view, Qt::Key_Return);
  ASSERT_EQ(app_->Documents().Documents().size(), before + 2);
  for (int k : {0, 1}) {
    auto* opened = dynamic_cast<ChartDocument*>(app_->Documents().Documents()[before + k].get());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetChart()->definition.GetCountSrc().moment, events[k == 0 ? 3 : 1].moment);
  }

  // The third line alone to a new list, then every event with the list dialog after it.
  AnswerTransfer("sun jupiter", true, false);
  RightClick(*view, 2);
  std::vector<PredListRecord> saved = ListFile("SUNJUPITER");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].when.date, events[2].moment.date);
  EXPECT_EQ(saved[0].moving, 0);
  EXPECT_EQ(saved[0].target, 5);
  EXPECT_EQ(saved[0].aspect, events[2].code);
  // Both bodies move in the transit chart: the line holds its definition twice (file order), and
  // the list shows "тр" for both.
  const std::string line = testing_support::ReadFile(folder_ / "SUNJUPITER.pls");
  EXPECT_NE(line.find(" 3 0 -1 1 1 0 0 3 0 -1 1 1 0 0 "), std::string::npos) << line;
  platform::RecordingDc shown;
  forecast::DrawPredListItem(shown, {0, 0, 400, 16}, saved[0], false, platform::kWhite);
  const std::vector<std::string> texts = shown.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), Cp1251("тр")), 2);
  std::size_t listed = 0;
  AnswerTransfer("SUNJUPITER", false, true);
  platform::ModalDriver::Expect<DPREDICT_LIST>([&listed](DPREDICT_LIST& dialog) {
    listed = dialog.Page().Records().size();
    return kIdCancel;
  });
  RightClick(*view, 0);
  EXPECT_EQ(ListFile("SUNJUPITER").size(), 1 + events.size());
  EXPECT_EQ(listed, 1 + events.size());
  EXPECT_EQ(Cp1251("SUNJUPITER"),
            GetConfiguration().predictionList.Get(cfg::PredictionListSettings::kListName));

  // Below the last event only every event can be handed over; a list that cannot be written is
  // error 105 of the view and opens no list dialog.
  int countEnabled = -1;
  platform::ModalDriver::Expect<DPREDLIST_TRANSFER>([&countEnabled](DPREDLIST_TRANSFER& dialog) {
    countEnabled = dialog.CountGroup()->button(1)->isEnabled();
    return dialog.Close(true) ? kIdOk : kIdCancel;
  });
  ArmFileFault(1);
  RightClick(*view, -1);
  ArmFileFault(0);
  EXPECT_EQ(countEnabled, 0);
  ASSERT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrCannotCreate)));
  EXPECT_NE(prompts_.shown.back().text.find((folder_ / "SUNJUPITER.pls").string()),
            std::string::npos);
  EXPECT_EQ(ListFile("SUNJUPITER").size(), 1 + events.size());

  EXPECT_EQ(Pictures(*view, "transit_list"), 1);
}

TEST_F(ForecastViewsTest, ATransitListWithNothingFoundClosesItsFrame) {
  CKovraDoc* document = OpenChart();
  ASSERT_NE(document, nullptr);
  AnswerTransitSheet(1975);  // one day: the Sun meets no aspect of Jupiter
  EXPECT_TRUE(RunFrom(document, cmd::kPlanetTransits));
  EXPECT_TRUE(prompts_.WasShown(kMsgTransitsNotFound));
  QCoreApplication::processEvents();
  DeletePending();
  EXPECT_EQ(document->Views().size(), 1u);
  EXPECT_EQ(document->OpenCount(kDocViewPlanetTransits), 0);
}

TEST_F(ForecastViewsTest, LunarTransitsListAndHandOverTheirEvents) {
  CKovraDoc* document = OpenChart();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<LunarTransSheet>([](LunarTransSheet& sheet) {
    return sheet.DoDataExchange(true) ? kIdOk : kIdCancel;  // twenty days about the chart
  });
  auto* view = OpenView<CLunTranView>(document, cmd::kMoonTransits);
  ASSERT_NE(view, nullptr);
  const std::vector<LunarTransitEvent>& events = view->Transits()->Events();
  ASSERT_GT(events.size(), 10u);
  EXPECT_EQ(document->OpenCount(kDocViewLunarTransits), 1);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + Cp1251(" -Транзиты Луны"));
  EXPECT_EQ(view->HelpContext(), 131269);
  int ingresses = 0;
  for (const LunarTransitEvent& e : events) ingresses += e.IsIngress();
  ASSERT_GT(ingresses, 0);
  AnswerTransfer("moon", false, false);
  RightClick(*view, 0);
  // One line per event but the ingresses.
  EXPECT_EQ(ListFile("MOON").size(), events.size() - static_cast<std::size_t>(ingresses));
  // An ingress is no record: on its line only every event is offered. A hand-over that adds
  // nothing says so and makes no list.
  const auto ingress =
      std::find_if(events.begin(), events.end(), std::mem_fn(&LunarTransitEvent::IsIngress));
  ASSERT_LT(ingress - events.begin(), view->List().VisibleCount());
  int oneOffered = -1;
  platform::ModalDriver::Expect<DPREDLIST_TRANSFER>([&oneOffered](DPREDLIST_TRANSFER& dialog) {
    oneOffered = dialog.CountGroup()->button(1)->isEnabled();
    return kIdCancel;
  });
  RightClick(*view, static_cast<int>(ingress - events.begin()));
  EXPECT_EQ(oneOffered, 0);
  AnswerTransfer("none", false, false);
  HandOverToPredList(
      document->GetWorkbench(), 0, 2, [](int) { return std::optional<PredListRecord>(); }, "");
  EXPECT_TRUE(prompts_.WasShown(kMsgNothingHandedOver));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "NONE.pls"));
  EXPECT_GE(Pictures(*view, "lunar_transit_list"), 1);
}

// Cancel while a run goes on: nothing it found reaches a list, the frame closes, and no "nothing
// found" is said.
TEST_F(ForecastViewsTest, ACancelledRunLeavesNoPartialResultsInAView) {
  const struct {
    int command;
    const DocViewKind& counter;
    int nothingFound;
    void (*answer)();
  } runs[] = {
      {cmd::kPlanetTransits, kDocViewPlanetTransits, kMsgTransitsNotFound,
       [] { AnswerTransitSheet(2075); }},
      {cmd::kMoonTransits, kDocViewLunarTransits, kMsgNoTransitInInterval,
       [] {
         platform::ModalDriver::Expect<LunarTransSheet>(
             [](LunarTransSheet& sheet) { return sheet.DoDataExchange(true) ? kIdOk : kIdCancel; });
       }},
  };
  CKovraDoc* document = OpenChart();
  ASSERT_NE(document, nullptr);
  for (const auto& run : runs) {
    SCOPED_TRACE(run.command);
    run.answer();
    // The user's Cancel as soon as the progress window shows.
    bool clicked = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = dynamic_cast<DPROGRESSBAR*>(w); d != nullptr && d->isVisible() && !clicked) {
          clicked = true;
          d->CancelButton()->click();
        }
    });
    user.start(0);
    EXPECT_TRUE(RunFrom(document, run.command));
    user.stop();
    EXPECT_TRUE(clicked);
    QCoreApplication::processEvents();
    DeletePending();
    EXPECT_EQ(document->Views().size(), 1u);
    EXPECT_EQ(document->OpenCount(run.counter), 0);
    EXPECT_FALSE(prompts_.WasShown(run.nothingFound));
  }
}

TEST_F(ForecastViewsTest, TheLifePointOfATransitChartShowsItsPositionNow) {
  CKovraDoc* document = OpenChart(kChartTransit);
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<LifePointSheet>(
      [](LifePointSheet& sheet) { return sheet.DoDataExchange(true) ? kIdOk : kIdCancel; });
  auto* view = OpenView<LifePointView>(document, cmd::kLifePoint);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->Computation(), nullptr);
  EXPECT_FALSE(IsAbsent(view->Computation()->CurrentLongitude()));
  EXPECT_FALSE(view->Computation()->Events().empty());
  EXPECT_EQ(document->OpenCount(kDocViewLifePoint), 1);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + "-" + view->Computation()->Type().name);
  EXPECT_EQ(view->HelpContext(), 131271);
  int refused = 0;
  for (const LifePointEvent& e : view->Computation()->Events()) refused += e.IsIngress();
  AnswerTransfer("life", false, false);
  RightClick(*view, 0);
  const std::vector<PredListRecord> saved = ListFile("LIFE");
  EXPECT_EQ(saved.size(), view->Computation()->Events().size() - static_cast<std::size_t>(refused));
  for (const PredListRecord& r : saved) EXPECT_TRUE(r.IsLifePoint());
  EXPECT_GE(Pictures(*view, "life_point_list"), 1);
  // The wide columns of the "Windows 2000" switch, in a list opened after its command.
  ASSERT_TRUE(RunFrom(document, cmd::kConfigWindows2000));
  platform::ModalDriver::Expect<LifePointSheet>(
      [](LifePointSheet& sheet) { return sheet.DoDataExchange(true) ? kIdOk : kIdCancel; });
  auto* wide = OpenView<LifePointView>(document, cmd::kLifePoint);
  ASSERT_NE(wide, nullptr);
  EXPECT_GE(Pictures(*wide, "life_point_list_wide"), 1);
  ASSERT_TRUE(RunFrom(document, cmd::kConfigWindows2000));
}

TEST_F(ForecastViewsTest, TheAspectListCommandAndThePrintedList) {
  CKovraDoc* document = OpenChart();
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(RunFrom(document, cmd::kAspectList));
  EXPECT_TRUE(prompts_.WasShown(kMsgNoLists));

  std::vector<PredListRecord> records(3);
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_TRUE(records[i].when.date.SetDate(1 + static_cast<int>(i), 2, 2024, 'A').ok());
    records[i].moving = static_cast<std::int16_t>(4 + i);
    records[i].target = static_cast<std::int16_t>(i);
    records[i].aspect = static_cast<std::int16_t>(2 * i);
    records[i].movingLongitude = 10.0 * static_cast<double>(i);
    records[i].targetLongitude = 100.0;
    records[i].movingChart = TransitDefinition(0);
  }
  records[1].status = 'S';
  records[2].comment = std::string(60, 'a') + " " + std::string(40, 'b');
  ASSERT_TRUE(AppendPredListRecords(folder_ / "FORECAST.pls", records).ok());
  platform::ModalDriver::Expect<DPREDICT_LIST>([](DPREDICT_LIST& dialog) {
    dialog.EventList()->setCurrentRow(0);
    dialog.CommentEdit()->setText(QStringLiteral("first"));
    dialog.OnPrint();  // the comment being typed is saved first
    return kIdOk;
  });
  const std::size_t before = app_->Documents().Documents().size();
  EXPECT_TRUE(RunFrom(document, cmd::kAspectList));
  ASSERT_EQ(app_->Documents().Documents().size(), before + 1);
  EXPECT_EQ(ListFile("FORECAST")[0].comment, "first");
  auto* printDocument = dynamic_cast<ChartDocument*>(app_->Documents().Documents().back().get());
  ASSERT_NE(printDocument, nullptr);
  EXPECT_EQ(printDocument->Kind(), kResultKindList);
  auto* view = dynamic_cast<CPredListPrint*>(printDocument->Views().front());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->List().Count(), 3);
  EXPECT_EQ(view->GetFrameTitle(), Cp1251(" Печать списка аспектов"));
  EXPECT_EQ(view->HelpContext(), 131366);
  EXPECT_EQ(printDocument->OpenCount(kDocViewPredictionListPrint), 1);
  EXPECT_EQ(Pictures(*view, "prediction_list"), 1);
  // Record 0 and its comment, record 1, record 2 and its two comment lines.
  EXPECT_EQ(view->Printout()->PrintLines().size(), 6u);
}

}  // namespace
