#include "rectification/core/life_event.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "rectification/core/life_event_list.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

std::string Line(std::string_view date, std::string_view text, std::string_view planets,
                 std::string_view houses, std::string_view status) {
  std::string s(date);
  for (std::string_view field : {text, planets, houses}) (s += field) += '\x03';
  return s += status;
}

// 5 March 1987 AD, "Wedding", points 0 and 2, house 6, in use.
const std::string kWeddingLine = Line("05:03:1987+", "Wedding", "AC", "G", "Y");

TEST(LifeEventLine, GoldenLineIsReadAndWrittenBackByteForByte) {
  LifeEvent e;
  ASSERT_TRUE(e.Import(kWeddingLine).ok());
  EXPECT_EQ(e.text, "Wedding");
  EXPECT_EQ(e.planets, (std::vector<std::uint16_t>{0, 2}));
  EXPECT_EQ(e.houses, (std::vector<std::uint16_t>{6}));
  EXPECT_EQ(e.status, 'Y');
  EXPECT_EQ(e.moment.date.Day(), 5);
  EXPECT_EQ(e.moment.date.Month(), 3);
  EXPECT_EQ(e.moment.date.Year(), 1987);
  EXPECT_EQ(e.moment.date.Era(), 'A');
  EXPECT_EQ(e.moment.time.Hours(), 12);
  EXPECT_EQ(e.FormatLine(), kWeddingLine + "\n");
}

TEST(LifeEventLine, EdgeLinesRoundTrip) {
  // 11 date + 89 text + 3 separators + 2 planets + status + LF = 107 bytes, past a read limit of
  // 90.
  const std::string longText(89, 'x');
  const struct {
    const char* name;
    std::string line;
  } cases[] = {
      {"no_planets_no_houses", "01:01:2000+Move\x03\x03\x03N"},
      {"before_christ", Line("15:08:0044-", "Caesar", "^", "L", "Y")},
      {"all_planets_all_houses",
       Line("29:02:2000+", "Leap", "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^", "ABCDEFGHIJKL", "Y")},
      {"longer_than_ninety_bytes", Line("07:11:1975+", longText, "BD", "", "N")},
      {"cyrillic_text", Line("01:06:1999+", "\xD1\xE2\xE0\xE4\xFC\xE1\xE0", "", "J", "Y")},
  };
  for (const auto& c : cases) {
    LifeEvent e;
    ASSERT_TRUE(e.Import(c.line).ok()) << c.name;
    EXPECT_EQ(e.FormatLine(), c.line + "\n") << c.name;
  }
  LifeEvent e;
  ASSERT_TRUE(e.Import(cases[3].line).ok());
  EXPECT_EQ(e.text, longText);
  EXPECT_EQ(e.FormatLine().size(), 107u);
}

TEST(LifeEventLine, BadLinesAreRefusedWithTheirReason) {
  const struct {
    const char* name;
    std::string line;
    int message;  // 0: refused without a catalogue message
  } cases[] = {
      // The golden line cut short.
      {"only_the_date", kWeddingLine.substr(0, 11), 0},
      {"no_separator_after_text", kWeddingLine.substr(0, 18), 0},
      {"no_separator_after_planets", kWeddingLine.substr(0, 21), 0},
      {"no_separator_after_houses", kWeddingLine.substr(0, 23), 0},
      {"planet_past_29", Line("05:03:1987+", "W", "A_", "G", "Y"), kMsgLifeEventPlanets},
      {"planet_below_A", Line("05:03:1987+", "W", "@", "G", "Y"), kMsgLifeEventPlanets},
      {"house_past_11", Line("05:03:1987+", "W", "A", "M", "Y"), kMsgLifeEventHouses},
      {"status_missing", Line("05:03:1987+", "W", "A", "G", ""), kMsgLifeEventStatus},
      {"status_lower_case", Line("05:03:1987+", "W", "A", "G", "y"), kMsgLifeEventStatus},
      {"31_february", Line("31:02:1987+", "W", "A", "G", "Y"), 0},
      {"year_0", Line("01:01:0000+", "W", "A", "G", "Y"), 0},
      {"month_13", Line("01:13:1987+", "W", "A", "G", "Y"), 0},
      {"era_letter", Line("05:03:1987A", "W", "A", "G", "Y"), 0},
      {"not_digits", Line("5.03.1987 +", "W", "A", "G", "Y"), 0},
  };
  for (const auto& c : cases) {
    LifeEvent e;
    e.text = "old";
    const Status st = e.Import(c.line);
    EXPECT_FALSE(st.ok()) << c.name;
    EXPECT_EQ(st.MessageNumber(), c.message) << c.name;
    EXPECT_TRUE(e.text.empty()) << c.name;
  }
}

TEST(LifeEventLine, ControlCharactersInATextBecomeBlanks) {
  LifeEvent e;
  ASSERT_TRUE(e.Set("a\x03"
                    "b\nc\rd",
                    1, 2, 2003, "Y", "NY")
                  .ok());
  EXPECT_EQ(e.text, "a b c d");
  EXPECT_EQ(e.FormatLine(), Line("01:02:2003+", "a b c d", "A", "B", "Y") + "\n");
  // A negative year is before Christ; the time is always noon.
  ASSERT_TRUE(e.Set("x", 3, 4, -500, "", "").ok());
  EXPECT_EQ(e.moment.date.Era(), 'B');
  EXPECT_EQ(e.moment.time.Hours(), 12);
  EXPECT_TRUE(e.planets.empty());
  // An impossible date is refused and the event kept.
  EXPECT_EQ(e.Set("y", 29, 2, 1900, "", "").MessageNumber(), kMsgDaysInMonth);
  EXPECT_EQ(e.text, "x");
}

TEST(LifeEventLine, CompareByDateByTextOrNeither) {
  LifeEvent a, b;
  ASSERT_TRUE(a.Set("beta", 1, 1, 1990, "", "").ok());
  ASSERT_TRUE(b.Set("ALPHA", 1, 1, 1980, "", "").ok());
  EXPECT_EQ(a.Compare(b, 1, 0), '>');
  EXPECT_EQ(b.Compare(a, 1, 1), '<');
  EXPECT_EQ(a.Compare(a, 1, 0), '=');
  EXPECT_EQ(a.Compare(b, 0, 1), '>');  // case-insensitive: ALPHA before beta
  EXPECT_EQ(a.Compare(b, 0, 0), '0');
}

class LifeEventListTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return folder_ / "velm.lev"; }
  TempFolder folder_;
  ScriptedPrompter prompts_;
};

TEST_F(LifeEventListTest, SortByDateListsEventsInUseFirst) {
  LifeEventList list;
  list.sortByDate = 1;
  ASSERT_TRUE(list.Add("1990", 1, 1, 1990, "", "").ok());
  ASSERT_TRUE(list.Add("1980", 1, 1, 1980, "", "").ok());
  ASSERT_TRUE(list.Add("1985", 1, 1, 1985, "", "").ok());
  list.Event(1).status = 'N';
  list.BuildOrder();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.AtDisplay(0)->text, "1985");
  EXPECT_EQ(list.AtDisplay(1)->text, "1990");
  EXPECT_EQ(list.AtDisplay(2)->text, "1980");
  EXPECT_EQ(list.AtDisplay(3), nullptr);
  // Without a sort flag the display order is the storage order.
  list.sortByDate = 0;
  list.BuildOrder();
  EXPECT_EQ(list.AtDisplay(0)->text, "1990");
  // By text, case-insensitive.
  list.sortByText = 1;
  list.Event(1).status = 'Y';
  list.Event(0).text = "b";
  list.Event(1).text = "C";
  list.Event(2).text = "a";
  list.BuildOrder();
  EXPECT_EQ(list.OrderAt(0), 2);
  EXPECT_EQ(list.OrderAt(1), 0);
  EXPECT_EQ(list.OrderAt(2), 1);
}

TEST_F(LifeEventListTest, LoadSkipsShortAndBadLinesAndSavesTheSameBytes) {
  const std::string good2 = Line("01:01:2000+", "Move", "", "", "N");
  WriteFile(File(), kWeddingLine + "\r\n" + "x\n" + "05:03:1987+\n" +
                        Line("05:03:1987+", "Bad", "A", "Z", "Y") + "\n" + good2);
  LifeEventList list;
  Status problem;
  EXPECT_EQ(list.Load(File(), problem), 2);
  EXPECT_EQ(problem.MessageNumber(), kMsgLifeEventHouses);
  EXPECT_TRUE(prompts_.shown.empty());
  ASSERT_TRUE(list.Save(File()).ok());
  EXPECT_EQ(ReadFile(File()), kWeddingLine + "\n" + good2 + "\n");
  // The file as it was, refused lines included, is kept aside by the first save, and the user is
  // told where.
  EXPECT_NE(ReadFile(folder_ / "velm.lev.bad").find("Bad"), std::string::npos);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgUnreadLinesKept);
  EXPECT_NE(prompts_.shown[0].text.find("velm.lev.bad"), std::string::npos);
  ASSERT_TRUE(list.Save(File()).ok());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "velm.lev.bad2"));
  EXPECT_EQ(prompts_.shown.size(), 1u);
}

// A list read with a refused line, saved while every file step fails in turn: the user's file is
// never missing, and the refused line is never lost.
TEST_F(LifeEventListTest, FailedSaveOfADamagedListKeepsTheFileUnderItsName) {
  const std::string damaged =
      kWeddingLine + "\n" + Line("05:03:1987+", "Bad", "A", "Z", "Y") + "\n";
  for (int n = 1; n <= 20; ++n) {
    SCOPED_TRACE(n);
    WriteFile(File(), damaged);
    LifeEventList list;
    Status problem;
    ASSERT_EQ(list.Load(File(), problem), 1);
    ArmFileFault(n);
    const Status st = list.Save(File());
    ArmFileFault(0);
    if (st.ok()) {
      // Past the last step: the new list under its name, the old file whole beside it.
      EXPECT_EQ(ReadFile(File()), kWeddingLine + "\n");
      EXPECT_EQ(ReadFile(folder_ / "velm.lev.bad"), damaged);
      break;
    }
    EXPECT_EQ(ReadFile(File()), damaged);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "velm.lev.bad"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
    ASSERT_LT(n, 20) << "the save never succeeded";
  }
}

TEST_F(LifeEventListTest, TwoHundredEventsAtMost) {
  std::string contents;
  for (int i = 0; i < 201; ++i)
    contents += Line("01:01:2000+", "e" + std::to_string(i), "", "A", "Y") + "\n";
  WriteFile(File(), contents);
  LifeEventList list;
  Status problem;
  EXPECT_EQ(list.Load(File(), problem), 200);
  EXPECT_TRUE(problem.ok());
  EXPECT_EQ(list.Event(199).text, "e199");
  EXPECT_EQ(list.Add("more", 1, 1, 2001, "", "").MessageNumber(), kMsgTooManyEvents);
  EXPECT_EQ(list.AddCopyAndSave(list.Event(0), File()).MessageNumber(), kMsgTooManyEvents);
  EXPECT_EQ(list.Count(), 200);
  EXPECT_EQ(ReadFile(File()), contents);
  // The 201st event is not lost by a save: the file as it was is kept aside.
  EXPECT_EQ(list.Delete(0), 199);
  ASSERT_TRUE(list.Save(File()).ok());
  EXPECT_EQ(ReadFile(folder_ / "velm.lev.bad"), contents);
}

TEST_F(LifeEventListTest, DeleteRemovesTheEventShownAtThePosition) {
  LifeEventList list;
  list.sortByDate = 1;
  ASSERT_TRUE(list.Add("late", 1, 1, 2010, "", "").ok());
  ASSERT_TRUE(list.Add("early", 1, 1, 1990, "", "").ok());
  ASSERT_TRUE(list.Add("middle", 1, 1, 2000, "", "").ok());
  EXPECT_EQ(list.Delete(5), 3);  // no such position
  EXPECT_EQ(list.Delete(1), 2);  // "middle" is shown second
  EXPECT_EQ(list.AtDisplay(0)->text, "early");
  EXPECT_EQ(list.AtDisplay(1)->text, "late");
}

TEST_F(LifeEventListTest, CopyToTheOtherListIsDeepAndSaved) {
  LifeEventList tremin, rect;
  ASSERT_TRUE(tremin.Add("Wedding", 5, 3, 1987, "YNY", "NNNNNNY").ok());
  ASSERT_TRUE(rect.AddCopyAndSave(*tremin.AtDisplay(0), File()).ok());
  tremin.Event(0).planets.clear();
  EXPECT_EQ(rect.Event(0).planets, (std::vector<std::uint16_t>{0, 2}));
  EXPECT_EQ(ReadFile(File()), kWeddingLine + "\n");
}

TEST_F(LifeEventListTest, FailedSaveKeepsTheOldFile) {
  WriteFile(File(), kWeddingLine + "\n");
  LifeEventList list;
  ASSERT_TRUE(list.Add("new", 1, 1, 2000, "", "").ok());
  for (int n = 1; n <= 3; ++n) {
    ArmFileFault(n);
    const Status st = list.Save(File());
    ArmFileFault(0);
    EXPECT_FALSE(st.ok()) << "fault at operation " << n;
    EXPECT_EQ(ReadFile(File()), kWeddingLine + "\n") << "fault at operation " << n;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
}

TEST_F(LifeEventListTest, StartUpIsSilentWithoutAFileAndWarnsOnceForADamagedOne) {
  LifeEventList list;
  list.LoadAtStart(File());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(prompts_.shown.empty());

  WriteFile(File(), Line("05:03:1987+", "a", "a", "", "Y") + "\n" +
                        Line("05:03:1987+", "b", "b", "", "Y") + "\n" + kWeddingLine + "\n");
  list.LoadAtStart(File());
  EXPECT_EQ(list.Count(), 1);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgLifeEventPlanets);

  // A date edited by hand into one that never was: the line is refused, the file reported once.
  WriteFile(File(), Line("31:02:1987+", "a", "A", "", "Y") + "\n" + kWeddingLine + "\n");
  list.LoadAtStart(File());
  EXPECT_EQ(list.Count(), 1);
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].number, -106);
}

TEST(LifeEventListWidth, WidestTextOnTheDeviceContext) {
  platform::RecordingDc dc;
  LifeEventList list;
  EXPECT_EQ(list.GetMaxTextWidth(dc), 0);
  ASSERT_TRUE(list.Add("ab", 1, 1, 2000, "", "").ok());
  ASSERT_TRUE(list.Add("abcdef", 1, 1, 2000, "", "").ok());
  ASSERT_TRUE(list.Add("abc", 1, 1, 2000, "", "").ok());
  // Characters of the text face are all equally wide there: the six-letter text is widest.
  EXPECT_EQ(list.GetMaxTextWidth(dc), dc.GetTextExtent("abcdef").cx);
  EXPECT_GT(list.GetMaxTextWidth(dc), dc.GetTextExtent("abc").cx);
}

}  // namespace
