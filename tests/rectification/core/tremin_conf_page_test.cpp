// The settings page of the Tremin rectification without a window: the checks of OK, the aspect
// system names, the block it starts from and stores, and the order of the method's event list.
#include "rectification/core/tremin_conf_page.h"

#include <gtest/gtest.h>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/core/tremin_search.h"
#include "support/test_support.h"

namespace {

using Block = cfg::TreminSettings;

Moment At(int day, int month, int year, int hour, int minute, char era = 'A') {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(day, month, year, era).ok());
  EXPECT_TRUE(m.time.SetTime(hour, minute, 0).ok());
  return m;
}

TEST(TreminConfPage, OkChecksInOrder) {
  struct Case {
    const char* name;
    std::array<int, 5> begin, end;  // year, month, day, hour, minute
    int eventYear;                  // of the one event, 1 June (12:00)
    char eventStatus;
    int expected;
  };
  // The chart is born 10 March 1985 at 06:30 (or 44 BC for the rows with a negative year).
  const Case cases[] = {
      {"same minute", {1985, 3, 10, 10, 0}, {1985, 3, 10, 10, 0}, 2000, 'Y', 89},
      {"end first", {1985, 3, 10, 10, 0}, {1985, 3, 10, 9, 59}, 2000, 'Y', 89},
      // 1.4 days are 33 h 36 min exactly.
      {"exactly 1.4 days", {1985, 3, 10, 0, 0}, {1985, 3, 11, 9, 36}, 2000, 'Y', 0},
      {"a minute more", {1985, 3, 10, 0, 0}, {1985, 3, 11, 9, 37}, 2000, 'Y', 90},
      {"31 February", {1985, 2, 31, 0, 0}, {1985, 3, 1, 0, 0}, 2000, 'Y', 775},
      {"year 0", {0, 3, 10, 0, 0}, {1985, 3, 10, 1, 0}, 2000, 'Y', 777},
      {"beyond 3000 BC", {-3001, 3, 10, 0, 0}, {-3001, 3, 10, 1, 0}, 2000, 'Y', 776},
      {"hour 24", {1985, 3, 10, 24, 0}, {1985, 3, 11, 1, 0}, 2000, 'Y', 659},
      {"before Christ", {-44, 3, 14, 6, 0}, {-44, 3, 14, 8, 0}, 2000, 'Y', 0},
      {"no event in use", {1985, 3, 10, 0, 0}, {1985, 3, 10, 1, 0}, 2000, 'N', 451},
      {"event before the birth", {1985, 3, 10, 0, 0}, {1985, 3, 10, 1, 0}, 1984, 'Y', 495},
      {"event on the birth day", {1985, 3, 10, 0, 0}, {1985, 3, 10, 1, 0}, 1985, 'Y', 0},
  };
  for (const Case& c : cases) {
    LifeEventList events;
    ASSERT_TRUE(events
                    .Add("move", c.eventYear == 1985 ? 10 : 1, c.eventYear == 1985 ? 3 : 6,
                         c.eventYear, "", "Y")
                    .ok());
    events.Event(0).status = c.eventStatus;
    const Moment birth = At(10, 3, 1985, 6, 30);
    TreminConfPage page(Configuration{}, birth);
    page.interval = {c.begin, c.end};
    EXPECT_EQ(page.CheckRun(events, birth), c.expected) << c.name;
  }
}

TEST(TreminConfPage, SystemNamesAreCheckedAgainstTheSortedList) {
  const std::vector<std::string> sorted = SortedSystemNames({"VELM", "zeta", "Alpha", "beta"});
  EXPECT_EQ(sorted, (std::vector<std::string>{"Alpha", "beta", "VELM", "zeta"}));
  const std::string replaced = GetMessageText(kMsgAspectSystemNotFound) + " NOPE\n" +
                               GetMessageText(kMsgSystemInstead) + " Alpha";
  struct Case {
    const char* name;
    std::vector<std::string> names;
    std::string typed, stored, told;
    bool usable;
  };
  const Case cases[] = {
      {"known, any case", sorted, "velm", "velm", "", true},
      {"unknown", sorted, "NOPE", "Alpha", replaced, true},
      {"nine characters", sorted, "VELMVELMV", "Alpha",
       GetMessageText(kMsgAspectSystemNotFound) + " VELMVELMV\n" +
           GetMessageText(kMsgSystemInstead) + " Alpha",
       true},
      // Nothing to put in place of a name: refused instead of accepted as typed.
      {"no system loaded",
       {},
       "VELM",
       "VELM",
       GetMessageText(kMsgAspectSystemNotFound) + " VELM",
       false},
  };
  for (const Case& c : cases) {
    std::string name = c.typed, told;
    EXPECT_EQ(CheckTmSystemName(name, c.names, told), c.usable) << c.name;
    EXPECT_EQ(name, c.stored) << c.name;
    EXPECT_EQ(told, c.told) << c.name;
  }

  TreminConfPage page(Configuration{}, Moment());
  page.separating = "NOPE";
  page.applying = "VELM";
  std::vector<std::string> told;
  EXPECT_TRUE(page.CheckSystems(sorted, told));
  EXPECT_EQ(told, std::vector<std::string>{replaced});
  EXPECT_EQ(page.separating, "Alpha");
  EXPECT_FALSE(page.CheckSystems({}, told));
  EXPECT_EQ(told.size(), 1u);  // the first refusal ends the check
}

TEST(TreminConfPage, StartsAtTheBirthAndStoresTheBlock) {
  Configuration config;
  config.treminSettings.Set(Block::kStep, std::int16_t{9});  // any other code: the minute
  config.treminSettings.Set(Block::kMinimumScore, std::int16_t{250});
  config.treminSettings.Set(Block::kSortByDate, std::int32_t{1});
  config.treminSettings.Set(Block::kSortByText, std::int32_t{1});
  TreminConfPage page(config, At(14, 3, 44, 6, 30, 'B'));
  EXPECT_EQ(page.interval.start, (std::array<int, 5>{-44, 3, 13, 18, 30}));
  EXPECT_EQ(page.interval.end, (std::array<int, 5>{-44, 3, 14, 18, 30}));
  EXPECT_EQ(page.step, 5);
  EXPECT_EQ(page.minimumScore, 100);
  EXPECT_TRUE(page.sortByDate);
  EXPECT_FALSE(page.sortByText);  // the two orders exclude each other

  page.ClickSortByText(true);
  EXPECT_EQ(std::pair(page.sortByDate, page.sortByText), std::pair(false, true));
  page.ClickSortByText(false);
  EXPECT_EQ(std::pair(page.sortByDate, page.sortByText), std::pair(false, false));
  page.ClickSortByDate(true);
  EXPECT_EQ(std::pair(page.sortByDate, page.sortByText), std::pair(true, false));

  page.interval.end = {-44, 3, 14, 8, 0};
  page.applying = "A";
  page.separating = "S";
  page.step = 2;
  page.resultOrder = 0;
  page.minimumScore = 42;
  page.oneRulerOnly = true;
  page.Store(config);
  const TreminConfPage back(config, At(1, 1, 2000, 0, 0));
  EXPECT_EQ(std::tie(back.applying, back.separating, back.step, back.resultOrder, back.minimumScore,
                     back.oneRulerOnly, back.sortByDate),
            std::tie(page.applying, page.separating, page.step, page.resultOrder, page.minimumScore,
                     page.oneRulerOnly, page.sortByDate));
  const RectInterval stored = ReadTmInterval(config);
  EXPECT_EQ(stored.start, (std::array<int, 5>{-44, 3, 13, 18, 30}));
  EXPECT_EQ(stored.end, (std::array<int, 5>{-44, 3, 14, 8, 0}));
}

TEST(TreminConfPage, OrderByTextFollowsSwitchingAndTheChecks) {
  testing_support::TempFolder folder;
  LifeEventList events;
  for (const char* text : {"в", "а", "б"})
    ASSERT_TRUE(events.Add(Cp1251(text), 1, 1, 2000, "", "Y").ok());
  RectEventsEditor editor(events, folder / "velm.tev");
  int select = -1;
  editor.SetSortOrder(false, true, select);
  EXPECT_EQ(select, 0);
  const auto shown = [&] {
    std::string s;
    for (int k = 0; k < events.Count(); ++k) s += events.AtDisplay(k)->text;
    return s;
  };
  EXPECT_EQ(shown(), Cp1251("абв"));
  // Switching "а" off moves it below the events in use, as the order by date does.
  ASSERT_TRUE(editor.Toggle(0, select).ok());
  EXPECT_EQ(shown(), Cp1251("бва"));
  EXPECT_EQ(select, 2);
  EXPECT_TRUE(std::filesystem::exists(folder / "velm.tev"));
  // Neither order: the file's order, the selection kept.
  select = 1;
  editor.SetSortOrder(false, false, select);
  EXPECT_EQ(shown(), Cp1251("ваб"));
}

}  // namespace
