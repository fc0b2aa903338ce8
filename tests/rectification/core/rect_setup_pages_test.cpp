// The set-up pages of the rectification by events without windows: the checks of OK, the event
// dialog's refusals, the list commands over the events file and the colours of the list's lines.
#include "rectification/core/rect_setup_pages.h"

#include <gtest/gtest.h>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "support/test_support.h"

namespace {

using Block = cfg::RectificationSettings;

Moment At(int day, int month, int year, int hour, int minute) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(day, month, year).ok());
  EXPECT_TRUE(m.time.SetTime(hour, minute, 0).ok());
  return m;
}

TEST(RectConfPage, OkRefusals) {
  struct Case {
    const char* name;
    std::array<int, 5> start, end;
    char eventStatus;  // of the one event, dated 15.06.1985 (12:00)
    int expected;
  };
  const Case cases[] = {
      {"two days exactly", {1985, 6, 13, 10, 0}, {1985, 6, 15, 10, 0}, 'Y', 0},
      {"a minute more", {1985, 6, 13, 10, 0}, {1985, 6, 15, 10, 1}, 'Y', 90},
      {"end = start", {1985, 6, 13, 10, 0}, {1985, 6, 13, 10, 0}, 'Y', 89},
      {"end before start", {1985, 6, 13, 10, 0}, {1985, 6, 12, 10, 0}, 'Y', 89},
      {"no event in use", {1985, 6, 13, 10, 0}, {1985, 6, 13, 11, 0}, 'N', 451},
      {"event on the start day after it", {1985, 6, 15, 10, 0}, {1985, 6, 15, 11, 0}, 'Y', 0},
      {"event on the start day before it", {1985, 6, 15, 14, 0}, {1985, 6, 15, 15, 0}, 'Y', 452},
      {"event at the start", {1985, 6, 15, 12, 0}, {1985, 6, 15, 13, 0}, 'Y', 452},
      {"year 0", {0, 6, 13, 10, 0}, {1985, 6, 13, 11, 0}, 'Y', 777},
      {"31 February", {1985, 2, 31, 10, 0}, {1985, 3, 1, 11, 0}, 'Y', 775},
      {"month 13", {1985, 6, 13, 10, 0}, {1985, 13, 13, 11, 0}, 'Y', 656},
      {"minute 60", {1985, 6, 13, 10, 60}, {1985, 6, 13, 11, 0}, 'Y', 659},
  };
  for (const Case& c : cases) {
    LifeEventList events;
    ASSERT_TRUE(events.Add("move", 15, 6, 1985, "Y", "Y").ok());
    events.Event(0).status = c.eventStatus;
    RectConfPage page(Configuration{}, At(1, 1, 1985, 0, 0));
    page.interval = {c.start, c.end};
    EXPECT_EQ(page.CheckRun(events), c.expected) << c.name;
  }
  // Events in use that name no planet and no house leave nothing to score: refused before the
  // sheet closes. One event with points among them is enough.
  LifeEventList bare;
  ASSERT_TRUE(bare.Add("move", 15, 6, 1985, "", "").ok());
  RectConfPage page(Configuration{}, At(1, 1, 1985, 0, 0));
  page.interval = {{1985, 6, 13, 10, 0}, {1985, 6, 13, 11, 0}};
  EXPECT_EQ(page.CheckRun(bare), kMsgEventsNameNoPoints);
  ASSERT_TRUE(bare.Add("wedding", 20, 6, 1995, "", "NY").ok());
  EXPECT_EQ(page.CheckRun(bare), 0);
}

TEST(RectConfPage, StartsAtTheChartAndStoresTheBlock) {
  Configuration config;
  config.rectification.Set(Block::kDisplayMode, std::int32_t{2});
  config.rectification.Set(Block::kChronological, std::int32_t{1});
  Moment bc = At(14, 3, 44, 6, 30);
  ASSERT_TRUE(bc.date.SetDate(14, 3, 44, 'B').ok());
  RectConfPage page(config, bc);
  EXPECT_EQ(page.interval.start, (std::array<int, 5>{-44, 3, 13, 18, 30}));
  EXPECT_EQ(page.interval.end, (std::array<int, 5>{-44, 3, 14, 18, 30}));
  EXPECT_TRUE(page.GridEnabled());
  EXPECT_TRUE(page.chronological);
  page.displayMode = 1;
  EXPECT_FALSE(page.GridEnabled());
  page.systems = {"DIR", "PROG", "TRAN", "LP"};
  page.interval.end[4] = 45;
  page.Store(config);
  EXPECT_EQ(config.rectification.Get(Block::kDirectionsSystem), "DIR");
  EXPECT_EQ(config.rectification.Get(Block::kProgressionsSystem), "PROG");
  EXPECT_EQ(config.rectification.Get(Block::kTransitsSystem), "TRAN");
  EXPECT_EQ(config.rectification.Get(Block::kLifePointSystem), "LP");
  EXPECT_EQ(config.rectification.Get(Block::kDisplayMode), 1);
  EXPECT_EQ(ReadRectInterval(config).end, (std::array<int, 5>{-44, 3, 14, 18, 45}));
}

TEST(RectConfPage, SystemNames) {
  RectConfPage page(Configuration{}, Moment{});
  // Known names stand whatever the case; an unknown or too long one gives way to the first.
  page.systems = {"velm", "NONE", "VELMVELM1", "SECOND"};
  const std::string shown = page.CheckSystems({"VELM", "SECOND"});
  EXPECT_EQ(page.systems, (std::array<std::string, 4>{"velm", "VELM", "VELM", "SECOND"}));
  EXPECT_EQ(shown, GetMessageText(kMsgAspectSystemNotFound) + " NONE\n" +
                       GetMessageText(kMsgSystemInstead) + " VELM");
  EXPECT_TRUE(page.CheckSystems({"VELM", "SECOND"}).empty());  // now all stand
  // Without systems the names stay as typed, within the 8 characters the block keeps.
  page.systems = {"ANYTHING1", "A", "", "B"};
  EXPECT_TRUE(page.CheckSystems({}).empty());
  EXPECT_EQ(page.systems[0], "ANYTHING");
}

TEST(RectMethodsPage, EighteenRowsRoundTrip) {
  Configuration config;
  config.rectification.Set(Block::kMethod[4], std::uint16_t{2});
  config.rectification.Set(Block::kMethod[5], std::uint16_t{7});  // out of range: main
  RectMethodsPage page(config);
  EXPECT_EQ(page.settings[4], 2);
  EXPECT_EQ(page.settings[5], 0);
  EXPECT_TRUE(RectMethodsPage::RowShown(13));
  EXPECT_FALSE(RectMethodsPage::RowShown(14));
  page.settings[17] = 1;
  page.Store(config);
  EXPECT_EQ(config.rectification.Get(Block::kMethod[17]), 1);
  EXPECT_EQ(config.rectification.Get(Block::kMethod[5]), 0);
}

TEST(RectEventPage, Refusals) {
  struct Case {
    std::string text;
    int day, month, year;
    int expected;
  };
  const Case cases[] = {
      {"move", 1, 1, 1980, 0},    {"", 1, 1, 1980, 449},      {"   ", 1, 1, 1980, 449},
      {"move", 31, 2, 1980, 775}, {"move", 29, 2, 1980, 0},   {"move", 1, 1, 0, 777},
      {"move", 32, 1, 1980, 657}, {"move", 1, 1, -3001, 776}, {"move", 1, 1, -3000, 0},
  };
  for (const Case& c : cases) {
    RectEventPage page;
    page.text = c.text;
    page.day = c.day;
    page.month = c.month;
    page.year = c.year;
    EXPECT_EQ(page.CheckOk(), c.expected)
        << c.text << " " << c.day << "." << c.month << "." << c.year;
  }
}

TEST(RectEventsEditor, CommandsKeepTheFile) {
  testing_support::TempFolder folder;
  const auto file = folder / "velm.lev";
  const auto treminFile = folder / "velm.tev";
  LifeEventList events, tremin;
  RectEventsEditor editor(events, file);
  RectEventPage page;
  page.text = "move";
  page.planetMask[4] = 'Y';
  page.houseMask[11] = 'Y';
  int select = -1;
  ASSERT_TRUE(editor.Add(page, select).ok());
  EXPECT_EQ(select, 0);
  EXPECT_EQ(testing_support::ReadFile(file),
            "01:01:1980+move\x03"
            "E\x03L\x03Y\n");

  // Editing keeps the event's status; the planet button hides in modes 1 and 3.
  events.Event(0).status = kLifeEventLeftOut;
  RectEventPage edit(events.Event(0));
  EXPECT_EQ(edit.PlanetGlyphs(), "Q");
  EXPECT_EQ(edit.HouseGlyphs(), "z");
  edit.text = "wedding";
  edit.day = 2;
  ASSERT_TRUE(editor.Edit(0, edit).ok());
  EXPECT_EQ(testing_support::ReadFile(file),
            "02:01:1980+wedding\x03"
            "E\x03L\x03N\n");
  edit.text = "";
  EXPECT_EQ(editor.Edit(0, edit).MessageNumber(), kMsgEnterEventName);

  ASSERT_TRUE(editor.Toggle(0, select).ok());
  EXPECT_EQ(testing_support::ReadFile(file),
            "02:01:1980+wedding\x03"
            "E\x03L\x03Y\n");

  EXPECT_EQ(editor.Transfer(-1, tremin, treminFile).MessageNumber(), kMsgChooseEvent);
  ASSERT_TRUE(editor.Transfer(0, tremin, treminFile).ok());
  EXPECT_EQ(testing_support::ReadFile(treminFile), testing_support::ReadFile(file));

  // Removing the only event leaves an empty list and an empty file.
  ASSERT_TRUE(editor.Remove(0, select).ok());
  EXPECT_EQ(select, -1);
  EXPECT_EQ(events.Count(), 0);
  EXPECT_EQ(testing_support::ReadFile(file), "");
}

TEST(RectEventsEditor, RemoveSelectsTheSameOrPreviousLine) {
  testing_support::TempFolder folder;
  LifeEventList events;
  for (const char* t : {"a", "b", "c"}) ASSERT_TRUE(events.Add(t, 1, 1, 2000, "", "").ok());
  RectEventsEditor editor(events, folder / "velm.lev");
  int select = -1;
  ASSERT_TRUE(editor.Remove(1, select).ok());
  EXPECT_EQ(select, 1);  // "c" moved up
  ASSERT_TRUE(editor.Remove(1, select).ok());
  EXPECT_EQ(select, 0);  // the last line went: the previous one
}

TEST(RectEventLines, Colours) {
  LifeEventList events;
  ASSERT_TRUE(events.Add("in use", 5, 3, 1990, "YN", "NY").ok());
  ASSERT_TRUE(events.Add("left out", 6, 4, 1991, "", "").ok());
  events.Event(1).status = kLifeEventLeftOut;
  struct Case {
    int selected, line, text, fill;
  };
  for (const Case& c : {Case{-1, 0, 0, -1}, Case{-1, 1, 7, -1}, Case{0, 0, 14, 1}, Case{1, 1, 7, 1},
                        Case{1, 0, 0, -1}}) {
    const auto lines = RectEventLines(events, 0, c.selected);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[static_cast<std::size_t>(c.line)].textColour, c.text) << c.selected;
    EXPECT_EQ(lines[static_cast<std::size_t>(c.line)].fillColour, c.fill) << c.selected;
  }
  const auto lines = RectEventLines(events, 0, -1);
  EXPECT_EQ(lines[0].date, "05:03:1990");
  EXPECT_EQ(lines[0].planetGlyphs, "M");
  EXPECT_EQ(lines[0].houseGlyphs, "p");
  EXPECT_EQ(RectEventLines(events, 3, -1)[0].date, "");         // mode 3: no date
  EXPECT_EQ(RectEventLines(LifeEventList{}, 0, 0).size(), 1u);  // one empty line
}

}  // namespace
