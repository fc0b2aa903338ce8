// The rectification set-up as the user meets it: the event dialog's refusal, the list commands
// of the calculation page, the sheet refused and shown again, the command that computes the
// score matrix, and the pages of both methods' set-up pictured with every field labelled.
#include "rectification/ui/rect_setup_dialogs.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <utility>

#include "conditions/ui/plan_house_select.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "rect_dialogs_fixture.h"
#include "rectification/ui/tremin_conf.h"
#include "rectification/ui/tremin_forecast_dialog.h"
#include "support/labelled_controls.h"

namespace {

using Block = cfg::RectificationSettings;
using rect_test::Interval;

class RectSetup : public rect_test::RectDialogsTest {
 protected:
  // The rectification's events have points and houses.
  static void AnswerEvent(const char* text) { rect_test::AnswerEvent(text, true); }
  static void AnswerSheet(std::function<void(DRectConf&)> fill) {
    rect_test::AnswerSheet<RectificationSheet, DRectConf>(std::move(fill));
  }
};

TEST_F(RectSetup, EventsAreAddedRefusedAndRemovedThroughThePage) {
  DRectConf page(RectConfPage(config_, birth_), {systems_.GetSystem(0).GetName()}, rectFiles_);
  AnswerEvent("");  // refused with 449: the dialog stays, then the user cancels
  page.OnAdd();
  EXPECT_TRUE(prompts_.WasShown(kMsgEnterEventName));
  EXPECT_EQ(rectEvents_.Count(), 0);

  AnswerEvent("move");
  page.OnAdd();
  ASSERT_EQ(rectEvents_.Count(), 1);
  EXPECT_EQ(rectEvents_.Event(0).text, "move");
  EXPECT_EQ(testing_support::ReadFile(rectFiles_.eventsFile), "01:01:1980+move\x03\x03\x03Y\n");
  EXPECT_EQ(page.List()->currentRow(), 0);

  page.OnSwitch();  // off: drawn grey
  EXPECT_EQ(page.List()->Lines()[0].textColour, 7);
  page.OnSwitch();
  EXPECT_EQ(page.List()->Lines()[0].textColour, 14);  // on and selected

  prompts_.Expect(kMsgRemoveEvent, platform::Answer::Yes);
  page.OnRemove();
  EXPECT_EQ(rectEvents_.Count(), 0);
  EXPECT_EQ(testing_support::ReadFile(rectFiles_.eventsFile), "");
  EXPECT_EQ(page.List()->count(), 1);  // the empty line
  prompts_.VerifyAllUsed();
}

TEST_F(RectSetup, ARefusedSheetIsShownAgainThenStored) {
  ASSERT_TRUE(rectEvents_.Add("move", 15, 6, 2015, "Y", "Y").ok());
  // Two days and a minute: message 90, the sheet again with the values entered.
  AnswerSheet([](DRectConf& page) {
    Interval(page, {1985, 6, 13, 10, 0}, {1985, 6, 15, 10, 1});
    page.ModeGroup()->button(2)->click();
  });
  int reopenedMinute = -1;
  bool gridEnabled = false;
  AnswerSheet([&](DRectConf& page) {
    reopenedMinute = page.IntervalBox(true, 4)->value();
    gridEnabled = page.VerticalGridBox()->isEnabled();
    page.IntervalBox(true, 4)->setValue(0);
    page.SystemBox(RectConfPage::kTransits)->setEditText(QStringLiteral("NOSUCH"));
  });
  AnswerSheet([](DRectConf&) {});  // the replaced name stands now
  EXPECT_TRUE(RunRectificationSheet(config_, systems_, rectFiles_, birth_));
  EXPECT_TRUE(prompts_.WasShown(kMsgIntervalTooLong));
  EXPECT_TRUE(prompts_.WasShown(kMsgAspectSystemNotFound));
  EXPECT_EQ(reopenedMinute, 1);
  EXPECT_TRUE(gridEnabled);
  EXPECT_EQ(ReadRectInterval(config_).end, (std::array<int, 5>{1985, 6, 15, 10, 0}));
  EXPECT_EQ(config_.rectification.Get(Block::kDisplayMode), 2);
  EXPECT_EQ(config_.rectification.Get(Block::kTransitsSystem), systems_.GetSystem(0).GetName());
}

// The sheet opens on a day around the chart's birth (15.06.1985 at 8:00) and OK accepts it. A
// refused OK (the only event in use names no planet and no house, so nothing could be scored) says
// why without any trace of the program's insides and keeps the sheet open as typed.
TEST_F(RectSetup, ARefusedOkKeepsTheSheetOpenOnWhatItHolds) {
  ASSERT_TRUE(rectEvents_.Add("move", 15, 6, 2015, "", "").ok());
  ASSERT_TRUE(rectEvents_.Add("wedding", 2, 9, 2010, "Y", "NNNY").ok());
  rectEvents_.Event(1).status = 'N';
  platform::ModalDriver::Expect<RectificationSheet>([](RectificationSheet& sheet) {
    auto& page = *static_cast<DRectConf*>(sheet.Page(0));
    const auto ok = [&] { return sheet.DoDataExchange(true) && sheet.CheckOk(); };
    page.IntervalBox(true, 4)->setValue(30);
    EXPECT_FALSE(ok());
    EXPECT_EQ(page.IntervalBox(true, 4)->value(), 30);
    page.IntervalBox(true, 4)->setValue(0);         // back as it opened
    for (const char* text : {"wedding", "move"}) {  // the wedding switched on, the move off
      const std::vector<RectEventLine> lines = page.List()->Lines();
      for (std::size_t row = 0; row < lines.size(); ++row)
        if (lines[row].text == text) page.List()->setCurrentRow(static_cast<int>(row));
      page.OnSwitch();
    }
    return ok() ? platform::kIdOk : platform::kIdCancel;
  });
  EXPECT_TRUE(RunRectificationSheet(config_, systems_, rectFiles_, birth_));
  EXPECT_EQ(platform::ModalDriver::CountShown<RectificationSheet>(), 1);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgEventsNameNoPoints);
  EXPECT_EQ(prompts_.shown[0].text, GetMessageText(kMsgEventsNameNoPoints));
  EXPECT_EQ(ReadRectInterval(config_).start, (std::array<int, 5>{1985, 6, 14, 20, 0}));
  EXPECT_EQ(ReadRectInterval(config_).end, (std::array<int, 5>{1985, 6, 15, 20, 0}));
}

TEST_F(RectSetup, TheMatrixIsComputedForTheSheetsSettings) {
  ASSERT_TRUE(rectEvents_.Add("move", 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN").ok());
  AnswerSheet([](DRectConf& page) { Interval(page, {1985, 6, 15, 8, 0}, {1985, 6, 15, 8, 2}); });
  ASSERT_TRUE(RunRectificationSheet(config_, systems_, rectFiles_, birth_));
  RectMatrix matrix;
  ASSERT_TRUE(CalculateRectMatrix(matrix, chart_, config_, systems_, rectEvents_));
  EXPECT_EQ(matrix.TrialCount(), 3);
  EXPECT_EQ(matrix.EventCount(), 1);
  EXPECT_TRUE(matrix.Calculated());
  EXPECT_FALSE(prompts_.WasShown(kMsgRectBestTrials));
}

// Every page of both methods' set-up and the event dialog, pictured for a person to look at; the
// user reads every field by its label (the interval's rows "От" and "До" under the columns of
// day, month, year, hour and minute, and the event's date and name).
TEST_F(RectSetup, PagesArePicturedWithEveryFieldLabelled) {
  for (LifeEventList* list : {&rectEvents_, &treminEvents_}) {
    ASSERT_TRUE(list->Add(Cp1251("Переезд"), 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN").ok());
    ASSERT_TRUE(list->Add(Cp1251("Свадьба"), 2, 9, 2010, "NNNY", "NNNNNNY").ok());
    list->Event(1).status = kLifeEventLeftOut;
  }
  DRectConf conf(RectConfPage(config_, birth_), {"VELM"}, rectFiles_);
  conf.DoDataExchange(false);
  DRectifMethods methods{RectMethodsPage(config_)};
  methods.DoDataExchange(false);
  EXPECT_EQ(methods.Row(4)->checkedId(), 0);
  EXPECT_FALSE(methods.Row(14)->button(0)->isVisibleTo(&methods));
  RectEventPage event;
  event.text = Cp1251("Переезд");
  event.planetMask[4] = 'Y';
  event.houseMask[9] = 'Y';
  DRectEvent eventDialog(event, nullptr);
  eventDialog.DoDataExchange(false);
  DTreminRectConf tremin(TreminConfPage(config_, birth_), {"VELM"}, treminFiles_);
  tremin.DoDataExchange(false);
  EXPECT_FALSE(tremin.OneRulerBox()->isVisibleTo(&tremin));
  DTREMIN_PROG forecast(TmForecastPage(ReadTmForecastSettings(config_), chart_), {"VELM"},
                        treminFiles_);
  forecast.OnInitDialog();
  EXPECT_FALSE(forecast.EventChoice()->isVisibleTo(&forecast));
  struct Shown {
    QWidget* widget;
    QSize size;
    const char* name;
    bool labelled;  // every input has its label
  } const pages[] = {
      {&conf, {900, 560}, "rect_conf_page", true},
      {&methods, {600, 560}, "rect_methods_page", true},
      {&eventDialog, {}, "rect_event_dialog", true},
      {&tremin, {900, 600}, "tremin_conf_page", false},  // its interval has no labels yet
      {&forecast, {900, 600}, "tremin_forecast_dialog", true},
  };
  for (const Shown& page : pages) {
    SCOPED_TRACE(page.name);
    page.widget->show();
    QCoreApplication::processEvents();
    if (page.labelled) {
      const QStringList unlabelled = testing_support::UnlabelledInputs(*page.widget);
      EXPECT_TRUE(unlabelled.isEmpty()) << unlabelled.join(", ").toStdString();
    }
    Picture(*page.widget, page.size.isEmpty() ? page.widget->size() : page.size, page.name);
    page.widget->hide();
  }
}

TEST_F(RectSetup, ChooseChartStartsWithEveryChart) {
  DRectChooseChart dialog;
  dialog.OnInitDialog();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(dialog.CheckBox(i)->isChecked());
  dialog.CheckBox(DRectChooseChart::kTransit)->setChecked(false);
  dialog.DoDataExchange(true);
  EXPECT_EQ(dialog.show, (std::array<bool, 4>{true, false, true, true}));
}

// The member chooser answers with a 'Y'/'N' string over its own entries: the event takes the
// points and houses it can name, and a cancelled choice leaves the marks as they were.
TEST_F(RectSetup, TheMemberChooserSetsTheMarksOfTheEvent) {
  std::string planets(30, 'N');
  planets[4] = 'Y';
  platform::ModalDriver::Expect<DPlanHouseSelect>([](DPlanHouseSelect& d) {
    EXPECT_EQ(d.Mode(), MemberChoice::kPlanets);
    EXPECT_EQ((*d.Flags())[4], 'Y');  // preset from the event
    *d.Flags() = MemberChoice::FlagsOf(MemberChoice::kPlanets, {0, 29, 31});
    return platform::kIdOk;
  });
  ASSERT_TRUE(ChooseRectMembers(0, planets, nullptr));
  EXPECT_EQ(planets, "Y" + std::string(28, 'N') + "Y");  // point 31 has no letter in an event
  std::string houses(12, 'N');
  platform::ModalDriver::Expect<DPlanHouseSelect>([](DPlanHouseSelect& d) {
    EXPECT_EQ(d.Mode(), MemberChoice::kHouses);
    *d.Flags() = MemberChoice::FlagsOf(MemberChoice::kHouses, {9});
    return platform::kIdCancel;
  });
  EXPECT_FALSE(ChooseRectMembers(1, houses, nullptr));
  EXPECT_EQ(houses, std::string(12, 'N'));
}

}  // namespace
