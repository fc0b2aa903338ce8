// The rectification set-up as the user meets it: the event dialog's refusal, the list commands
// of the calculation page, the sheet refused and shown again, and the command that computes the
// score matrix and reports the best trial times.
#include "rectification/ui/rect_setup_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <functional>
#include <utility>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "conditions/ui/plan_house_select.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/glyph_file.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "rectification/ui/rect_events_list_box.h"
#include "support/labelled_controls.h"
#include "support/test_support.h"

namespace {

using Block = cfg::RectificationSettings;
using testing_support::ScriptedPrompter;

class RectSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    ASSERT_TRUE(systems_.LoadAll(testing_support::SourceDir() / "data").empty());
    files_.events = &events_;
    files_.eventsFile = folder_ / "velm.lev";
    files_.tremin = &tremin_;
    files_.treminFile = folder_ / "velm.tev";
    for (const auto field : {Block::kDirectionsSystem, Block::kProgressionsSystem,
                             Block::kTransitsSystem, Block::kLifePointSystem})
      config_.rectification.Set(field, "VELM");
    Source& s = chart_.definition.sources[0];
    ASSERT_TRUE(s.moment.date.SetDate(15, 6, 1985, 'A').ok());
    ASSERT_TRUE(s.moment.time.SetTime(8, 0, 0).ok());
    ASSERT_TRUE(s.zone.SetTime(3, 0, '+').ok());
    ASSERT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    chart_.houseSystem = 0;
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  // The next event dialog: `text` typed, then OK as its button does it.
  static void AnswerEvent(const char* text) {
    platform::ModalDriver::Expect<DRectEvent>([text](DRectEvent& d) {
      d.TextBox()->setText(QString::fromUtf8(text));
      return d.DoDataExchange(true) && d.CheckOk() ? platform::kIdOk : platform::kIdCancel;
    });
  }
  // The next sheet: `fill` on the calculation page, then OK.
  static void AnswerSheet(std::function<void(DRectConf&)> fill) {
    platform::ModalDriver::Expect<RectificationSheet>([fill](RectificationSheet& sheet) {
      fill(*static_cast<DRectConf*>(sheet.Page(0)));
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  static void Interval(DRectConf& page, std::array<int, 5> start, std::array<int, 5> end) {
    for (int w = 0; w < 5; ++w) {
      page.IntervalBox(false, w)->setValue(start[static_cast<std::size_t>(w)]);
      page.IntervalBox(true, w)->setValue(end[static_cast<std::size_t>(w)]);
    }
  }

  testing_support::TempFolder folder_;
  Aspectarium systems_;
  Configuration config_;
  LifeEventList events_, tremin_;
  RectEventFiles files_;
  Chart chart_;
  ScriptedPrompter prompts_;
};

TEST_F(RectSetup, EventsAreAddedRefusedAndRemovedThroughThePage) {
  DRectConf page(RectConfPage(config_, chart_.definition.sources[0].moment),
                 {systems_.GetSystem(0).GetName()}, files_);
  AnswerEvent("");  // refused with 449: the dialog stays, then the user cancels
  page.OnAdd();
  EXPECT_TRUE(prompts_.WasShown(kMsgEnterEventName));
  EXPECT_EQ(events_.Count(), 0);

  AnswerEvent("move");
  page.OnAdd();
  ASSERT_EQ(events_.Count(), 1);
  EXPECT_EQ(events_.Event(0).text, "move");
  EXPECT_EQ(testing_support::ReadFile(files_.eventsFile), "01:01:1980+move\x03\x03\x03Y\n");
  EXPECT_EQ(page.List()->currentRow(), 0);

  page.OnSwitch();  // off: drawn grey
  EXPECT_EQ(page.List()->Lines()[0].textColour, 7);
  page.OnSwitch();
  EXPECT_EQ(page.List()->Lines()[0].textColour, 14);  // on and selected

  prompts_.Expect(kMsgRemoveEvent, platform::Answer::Yes);
  page.OnRemove();
  EXPECT_EQ(events_.Count(), 0);
  EXPECT_EQ(testing_support::ReadFile(files_.eventsFile), "");
  EXPECT_EQ(page.List()->count(), 1);  // the empty line
  prompts_.VerifyAllUsed();
}

TEST_F(RectSetup, ARefusedSheetIsShownAgainThenStored) {
  ASSERT_TRUE(events_.Add("move", 15, 6, 2015, "Y", "Y").ok());
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
  EXPECT_TRUE(
      RunRectificationSheet(config_, systems_, files_, chart_.definition.sources[0].moment));
  EXPECT_TRUE(prompts_.WasShown(kMsgIntervalTooLong));
  EXPECT_TRUE(prompts_.WasShown(kMsgSystemNotFound));
  EXPECT_EQ(reopenedMinute, 1);
  EXPECT_TRUE(gridEnabled);
  EXPECT_EQ(ReadRectInterval(config_).end, (std::array<int, 5>{1985, 6, 15, 10, 0}));
  EXPECT_EQ(config_.rectification.Get(Block::kDisplayMode), 2);
  EXPECT_EQ(config_.rectification.Get(Block::kTransitsSystem), systems_.GetSystem(0).GetName());
}

TEST_F(RectSetup, TheMatrixIsComputedForTheSheetsSettings) {
  ASSERT_TRUE(events_.Add("move", 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN").ok());
  AnswerSheet([](DRectConf& page) { Interval(page, {1985, 6, 15, 8, 0}, {1985, 6, 15, 8, 2}); });
  ASSERT_TRUE(
      RunRectificationSheet(config_, systems_, files_, chart_.definition.sources[0].moment));
  RectMatrix matrix;
  ASSERT_TRUE(CalculateRectMatrix(matrix, chart_, config_, systems_, events_));
  EXPECT_EQ(matrix.TrialCount(), 3);
  EXPECT_EQ(matrix.EventCount(), 1);
  EXPECT_TRUE(matrix.Calculated());
  EXPECT_FALSE(prompts_.WasShown(kMsgRectBestTrials));
}

TEST_F(RectSetup, PagesArePicturedForALook) {
  ASSERT_TRUE(events_.Add(Cp1251("Переезд"), 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN").ok());
  ASSERT_TRUE(events_.Add(Cp1251("Свадьба"), 2, 9, 2010, "NNNY", "NNNNNNY").ok());
  events_.Event(1).status = kLifeEventLeftOut;
  DRectConf conf(RectConfPage(config_, chart_.definition.sources[0].moment),
                 {systems_.GetSystem(0).GetName()}, files_);
  conf.DoDataExchange(false);
  DRectifMethods methods{RectMethodsPage(config_)};
  methods.DoDataExchange(false);
  EXPECT_EQ(methods.Row(4)->checkedId(), 0);
  EXPECT_FALSE(methods.Row(14)->button(0)->isVisibleTo(&methods));
  // The two pages with their glyphs, for a person to look at.
  static platform::GlyphSet glyphSet;
  ASSERT_TRUE(LoadGlyphSet(testing_support::SourceDir() / "data" / "velm.gly", glyphSet).ok());
  platform::InstallGlyphs(&glyphSet);
  conf.resize(900, 560);
  methods.resize(600, 560);
  for (const auto& [page, name] : {std::pair<QWidget*, std::string>{&conf, "rect_conf_page"},
                                   {&methods, "rect_methods_page"}}) {
    const auto file = folder_ / (name + ".png");
    EXPECT_TRUE(page->grab().save(QString::fromStdString(file.string()))) << name;
    testing_support::ShowToPerson(file, name);
  }
}

// The user reads every field by its label: the interval's rows "От" and "До" under the columns of
// day, month, year, hour and minute, and the event's date and name.
TEST_F(RectSetup, EveryFieldOfTheSetUpAndTheEventDialogHasItsLabel) {
  static platform::GlyphSet glyphSet;
  ASSERT_TRUE(LoadGlyphSet(testing_support::SourceDir() / "data" / "velm.gly", glyphSet).ok());
  platform::InstallGlyphs(&glyphSet);
  DRectConf conf(RectConfPage(config_, chart_.definition.sources[0].moment),
                 {systems_.GetSystem(0).GetName()}, files_);
  conf.DoDataExchange(false);
  RectEventPage event;
  event.text = Cp1251("Переезд");
  event.planetMask[4] = 'Y';
  event.houseMask[9] = 'Y';
  DRectEvent dialog(event, nullptr);
  dialog.DoDataExchange(false);
  for (const auto& [widget, name] : {std::pair<QWidget*, std::string>{&conf, "rect_conf_labels"},
                                     {&dialog, "rect_event_dialog"}}) {
    widget->show();
    QCoreApplication::processEvents();
    const QStringList unlabelled = testing_support::UnlabelledInputs(*widget);
    EXPECT_TRUE(unlabelled.isEmpty()) << name << ": " << unlabelled.join(", ").toStdString();
    const auto file = folder_ / (name + ".png");
    EXPECT_TRUE(widget->grab().save(QString::fromStdString(file.string()))) << name;
    testing_support::ShowToPerson(file, name);
    widget->hide();
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
