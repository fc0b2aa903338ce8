// The Tremin set-up as the user meets it: the sheet refused and shown again, the question of
// events before the birth asked once, the warning of an event without houses, the event commands
// shared by the settings page and the forecast dialog, and the forecast dialog's checks.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "rect_dialogs_fixture.h"
#include "rectification/core/tremin_search.h"
#include "rectification/ui/tremin_conf.h"
#include "rectification/ui/tremin_forecast_dialog.h"

namespace {

using Block = cfg::TreminSettings;
using rect_test::Interval;

class TreminDialogs : public rect_test::RectDialogsTest {
 protected:
  static void AnswerSheet(std::function<void(DTreminRectConf&)> fill) {
    rect_test::AnswerSheet<TreminSheet, DTreminRectConf>(std::move(fill));
  }
  // The next forecast dialog: `fill`, then OK through the dialog's rules; the dialog is cancelled
  // when they refuse.
  static void AnswerForecast(std::function<void(DTREMIN_PROG&)> fill) {
    platform::ModalDriver::Expect<DTREMIN_PROG>([fill](DTREMIN_PROG& d) {
      fill(d);
      return d.DoDataExchange(true) && d.CheckOk() ? platform::kIdOk : platform::kIdCancel;
    });
  }
  // The method's events have houses only.
  static void AnswerEvent(const char* text) { rect_test::AnswerEvent(text, false); }
};

TEST_F(TreminDialogs, RefusedSheetsAreShownAgainAndTheQuestionIsAskedOnce) {
  // Two events in use before the birth: one question for both.
  ASSERT_TRUE(treminEvents_.Add("school", 1, 9, 1980, "", "NNY").ok());
  ASSERT_TRUE(treminEvents_.Add("move", 1, 1, 1982, "", "NNNY").ok());
  AnswerSheet([](DTreminRectConf& p) {  // the same minute twice: 89
    Interval(p, {1985, 6, 15, 10, 0}, {1985, 6, 15, 10, 0});
  });
  AnswerSheet([](DTreminRectConf& p) {  // 1.4 days and a minute: 90
    Interval(p, {1985, 6, 15, 0, 0}, {1985, 6, 16, 9, 37});
  });
  AnswerSheet([](DTreminRectConf& p) {  // 31 February: refused, never searched
    Interval(p, {1985, 2, 31, 0, 0}, {1985, 3, 1, 0, 0});
  });
  int shownEnd = -1;
  AnswerSheet([&](DTreminRectConf& p) {  // exactly 1.4 days: the question, answered No
    shownEnd = p.IntervalBox(true, 2)->value();
    Interval(p, {1985, 6, 15, 0, 0}, {1985, 6, 16, 9, 36});
    p.OrderGroup()->button(0)->click();
    p.MinimumScoreBox()->setValue(35);
  });
  prompts_.Expect(kMsgTreminEventsBeforeBirth, platform::Answer::No);
  AnswerSheet([](DTreminRectConf&) {});  // the same again, answered Yes
  prompts_.Expect(kMsgTreminEventsBeforeBirth, platform::Answer::Yes);

  ASSERT_TRUE(RunTreminRectSheet(config_, systems_, treminFiles_, birth_));
  for (int m : {89, 90, 775}) EXPECT_TRUE(prompts_.WasShown(m)) << m;
  EXPECT_EQ(shownEnd, 1);  // the sheet shown again holds the values entered
  prompts_.VerifyAllUsed();
  const RectInterval stored = ReadTmInterval(config_);
  EXPECT_EQ(stored.end, (std::array<int, 5>{1985, 6, 16, 9, 36}));
  EXPECT_EQ(config_.treminSettings.Get(Block::kResultOrder), 0);
  EXPECT_EQ(config_.treminSettings.Get(Block::kMinimumScore), 35);
}

// The sheet opens on a day around the chart's birth (15.06.1985 at 8:00) and OK accepts it. A
// refused OK keeps the sheet open with everything typed; an unknown aspect-system name is replaced
// in the open sheet, so it is said once.
TEST_F(TreminDialogs, ARefusedOkKeepsTheSheetOpenOnWhatItHolds) {
  ASSERT_TRUE(treminEvents_.Add("move", 1, 1, 2001, "", "Y").ok());
  platform::ModalDriver::Expect<TreminSheet>([](TreminSheet& sheet) {
    auto& page = *static_cast<DTreminRectConf*>(sheet.Page(0));
    const auto ok = [&] { return sheet.DoDataExchange(true) && sheet.CheckOk(); };
    page.IntervalBox(false, 2)->setValue(16);  // the start after the end
    page.MinimumScoreBox()->setValue(42);
    page.ApplyingBox()->setEditText(QStringLiteral("NOSUCH"));
    EXPECT_FALSE(ok());
    EXPECT_EQ(page.ApplyingBox()->currentText(), QStringLiteral("VELM"));
    page.IntervalBox(false, 2)->setValue(14);  // back as it opened
    return ok() ? platform::kIdOk : platform::kIdCancel;
  });
  ASSERT_TRUE(RunTreminRectSheet(config_, systems_, treminFiles_, birth_));
  EXPECT_EQ(platform::ModalDriver::CountShown<TreminSheet>(), 1);
  std::vector<int> shown;
  for (const auto& m : prompts_.shown) shown.push_back(m.number);
  EXPECT_EQ(shown, (std::vector<int>{kMsgAspectSystemNotFound, kMsgIntervalReversed}));
  EXPECT_EQ(ReadTmInterval(config_).start, (std::array<int, 5>{1985, 6, 14, 20, 0}));
  EXPECT_EQ(ReadTmInterval(config_).end, (std::array<int, 5>{1985, 6, 15, 20, 0}));
  EXPECT_EQ(config_.treminSettings.Get(Block::kMinimumScore), 42);
}

TEST_F(TreminDialogs, SystemsAndEventsWithoutHouses) {
  ASSERT_TRUE(treminEvents_.Add("no houses", 1, 1, 2000, "Y", "").ok());
  ASSERT_TRUE(treminEvents_.Add("move", 1, 1, 2001, "", "Y").ok());
  // An unknown name is replaced and said; the event without houses is warned of; accepted.
  AnswerSheet([](DTreminRectConf& p) {
    Interval(p, {1985, 6, 15, 7, 0}, {1985, 6, 15, 9, 0});
    p.ApplyingBox()->setEditText(QStringLiteral("NOSUCH"));
  });
  ASSERT_TRUE(RunTreminRectSheet(config_, systems_, treminFiles_, birth_));
  EXPECT_TRUE(prompts_.WasShown(kMsgAspectSystemNotFound));
  ASSERT_TRUE(prompts_.WasShown(kMsgTreminEventWithoutHouses));
  EXPECT_EQ(prompts_.shown.back().text,
            GetMessageText(kMsgTreminEventWithoutHouses) + "\nno houses");
  EXPECT_EQ(config_.treminSettings.Get(Block::kApplyingSystem), "VELM");

  // Without any aspect system nothing can run: refused until cancelled, the block unchanged.
  const Configuration before = config_;
  AnswerSheet([](DTreminRectConf& p) { Interval(p, {1985, 6, 15, 7, 0}, {1985, 6, 15, 9, 0}); });
  platform::ModalDriver::Expect<TreminSheet>([](TreminSheet&) { return platform::kIdCancel; });
  prompts_.shown.clear();
  EXPECT_FALSE(RunTreminRectSheet(config_, Aspectarium{}, treminFiles_, birth_));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].text, GetMessageText(kMsgAspectSystemNotFound) + " VELM");
  EXPECT_TRUE(config_ == before);
}

TEST_F(TreminDialogs, EventCommandsOfThePanel) {
  ASSERT_TRUE(treminEvents_.Add(Cp1251("Переезд"), 15, 6, 2015, "", "NNNY").ok());
  TreminEventsPanel panel(treminFiles_, 1, true, false);
  // The export needs a selection (781), then copies into "velm.lev" and says so (782).
  panel.List()->setCurrentRow(-1);
  panel.OnExport();
  EXPECT_TRUE(prompts_.WasShown(kMsgChooseEvent));
  panel.List()->setCurrentRow(0);
  panel.OnExport();
  EXPECT_TRUE(prompts_.WasShown(kMsgEventTransferred));
  ASSERT_EQ(rectEvents_.Count(), 1);
  EXPECT_TRUE(std::filesystem::exists(treminFiles_.rectificationFile));

  AnswerEvent("Юбилей");
  panel.OnAdd();
  ASSERT_EQ(treminEvents_.Count(), 2);
  EXPECT_EQ(treminEvents_.Event(1).moment.date.Year(), 1980);  // preset to 1 January 1980
  const auto first = [&] { return treminEvents_.AtDisplay(0)->text; };
  EXPECT_EQ(first(), Cp1251("Юбилей"));  // chronological: 1980 before 2015
  panel.ByTextBox()->click();            // alphabetical turns the chronological order off
  EXPECT_EQ(std::pair(panel.ByDateBox()->isChecked(), panel.SortByText()), std::pair(false, true));
  EXPECT_EQ(first(), Cp1251("Переезд"));
  panel.ByDateBox()->click();
  EXPECT_EQ(std::pair(panel.SortByDate(), panel.ByTextBox()->isChecked()), std::pair(true, false));
  EXPECT_EQ(first(), Cp1251("Юбилей"));
  panel.ByDateBox()->click();  // neither: the file's order
  EXPECT_EQ(first(), Cp1251("Переезд"));

  prompts_.Expect(kMsgRemoveEvent, platform::Answer::Yes);
  panel.List()->setCurrentRow(0);
  panel.OnRemove();
  EXPECT_EQ(treminEvents_.Count(), 1);
  EXPECT_EQ(testing_support::ReadFile(treminFiles_.eventsFile).find(Cp1251("Переезд")),
            std::string::npos);
  prompts_.VerifyAllUsed();
}

TEST_F(TreminDialogs, ForecastDialogChecksAndStores) {
  // A progressed chart dated 15 May 1990 opens the dialog with 1990.
  Chart progressed = chart_;
  progressed.definition.SetKind(kChartProgressed);
  ASSERT_TRUE(progressed.definition.sources[1].moment.date.SetDate(15, 5, 1990, 'A').ok());

  // An empty list: 1035, the event controls disabled; after an add they are enabled.
  int year = 0;
  bool listEnabled = true, listEnabledAfterAdd = false;
  AnswerForecast([&](DTREMIN_PROG& d) {
    year = d.YearBox()->value();
    listEnabled = d.Events()->List()->isEnabled();
  });
  EXPECT_FALSE(RunTreminForecastDialog(config_, systems_, treminFiles_, progressed));
  EXPECT_EQ(year, 1990);
  EXPECT_FALSE(listEnabled);
  EXPECT_TRUE(prompts_.WasShown(kMsgForecastNeedsEvent));

  AnswerForecast([&](DTREMIN_PROG& d) {
    AnswerEvent("move");
    d.Events()->OnAdd();
    listEnabledAfterAdd = d.Events()->List()->isEnabled();
    d.YearBox()->setValue(0);  // refused: 777
  });
  EXPECT_FALSE(RunTreminForecastDialog(config_, systems_, treminFiles_, chart_));
  EXPECT_TRUE(listEnabledAfterAdd);
  EXPECT_TRUE(prompts_.WasShown(777));

  // The hidden event choice holds a text of no event: not checked in the year forecast.
  AnswerForecast([](DTREMIN_PROG& d) {
    d.YearBox()->setValue(-44);
    d.EventChoice()->setEditText(QStringLiteral("nothing"));
    d.OrderGroup()->button(1)->click();
    d.FillBox()->setChecked(false);
    d.FontBox()->setValue(3000);
  });
  ASSERT_TRUE(RunTreminForecastDialog(config_, systems_, treminFiles_, chart_));
  const TmForecastSettings s = ReadTmForecastSettings(config_);
  EXPECT_EQ(std::tie(s.year, s.order, s.fillWhenPrinting, s.fontSize),
            std::make_tuple(-44, 1, false, 3000));
  EXPECT_FALSE(prompts_.WasShown(kMsgForecastEventMissing));
}

}  // namespace
