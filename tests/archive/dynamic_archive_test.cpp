// The dynamic archive: its step, the number of its records, its name and its file.
#include "archive/store/dynamic_archive.h"

#include "archive_fixture.h"
#include "astro/chart/chart_context.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "support/ephemeris_tables.h"

namespace archive_test {
namespace {

TEST(DynamicArchive, StepsAndNames) {
  EXPECT_DOUBLE_EQ(DynamicArchiveStep(1, 0, 0, 0, 0), 365.2422);
  EXPECT_DOUBLE_EQ(DynamicArchiveStep(0, 2, 12, 30, 36), 2.5 + 30.0 / 1440 + 36.0 / 86400);
  bool cut = true;
  EXPECT_EQ(DynamicArchiveSteps(100.0, 101.0, 1.0, cut), 1);
  EXPECT_FALSE(cut);
  // 1.1.2000 .. 1.1.2100 by one day: 36525 steps cut to 30000.
  EXPECT_EQ(DynamicArchiveSteps(2451544.5, 2488069.5, 1.0, cut), 30000);
  EXPECT_TRUE(cut);
  EXPECT_EQ(DynamicArchiveSteps(0.0, 10.0, 3.0, cut), 3);
  const struct {
    const char* typed;
    const char* file;
  } names[] = {{"dyn", "dyn.arc"},
               {"dyn.ARC", "dyn.ARC"},
               {"d.Arc", "d.Arc"},
               {"dyn.txt", "dyn.txt.arc"},
               {"a.arcx", "a.arcx.arc"}};
  for (const auto& n : names) EXPECT_EQ(DynamicArchiveFileName(n.typed), n.file) << n.typed;
}

// The dialog opens on a step and a period it accepts: a year from the chart's date, ten steps
// when that is longer, never more than an archive holds.
TEST(DynamicArchive, TheDialogOpensOnAPeriodItAccepts) {
  using Dmy = std::array<int, 3>;  // day, month, year (negative before Christ)
  using Step = std::array<int, 5>;
  const auto dmy = [](const FDate& d) {
    return Dmy{d.Day(), d.Month(), d.Era() == 'B' ? -d.Year() : d.Year()};
  };
  const struct {
    const char* name;
    Dmy date;
    Step stored, step;
    Dmy begin, end;
    bool cut;
  } cases[] = {
      {"a day", Dmy{7, 7, 1977}, Step{0, 1, 0, 0, 0}, Step{0, 1, 0, 0, 0}, Dmy{7, 7, 1977},
       Dmy{7, 7, 1978}, false},
      {"nothing stored", Dmy{7, 7, 1977}, Step{0, 0, 0, 0, 0}, Step{0, 1, 0, 0, 0}, Dmy{7, 7, 1977},
       Dmy{7, 7, 1978}, false},
      {"negative read as 0", Dmy{7, 7, 1977}, Step{0, -3, 0, 0, 0}, Step{0, 1, 0, 0, 0},
       Dmy{7, 7, 1977}, Dmy{7, 7, 1978}, false},
      // 30000 minutes are 20.8 days: 20 whole days, 28800 steps.
      {"a minute", Dmy{7, 7, 1977}, Step{0, 0, 0, 1, 0}, Step{0, 0, 0, 1, 0}, Dmy{7, 7, 1977},
       Dmy{27, 7, 1977}, false},
      // Ten steps of two years (7304.8 days): 7305 days.
      {"two years", Dmy{7, 7, 1977}, Step{2, 0, 0, 0, 0}, Step{2, 0, 0, 0, 0}, Dmy{7, 7, 1977},
       Dmy{7, 7, 1997}, false},
      // The least period is a day: a step of a second is cut all the same.
      {"a second", Dmy{7, 7, 1977}, Step{0, 0, 0, 0, 1}, Step{0, 0, 0, 0, 1}, Dmy{7, 7, 1977},
       Dmy{8, 7, 1977}, true},
      {"last year held", Dmy{1, 6, 3000}, Step{0, 1, 0, 0, 0}, Step{0, 1, 0, 0, 0}, Dmy{1, 6, 2999},
       Dmy{1, 6, 3000}, false},
      {"before Christ", Dmy{10, 3, -44}, Step{0, 1, 0, 0, 0}, Step{0, 1, 0, 0, 0}, Dmy{10, 3, -44},
       Dmy{10, 3, -43}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FDate date;
    const int year = c.date[2];
    ASSERT_TRUE(date.SetDate(c.date[0], c.date[1], std::abs(year), year < 0 ? 'B' : 'A').ok());
    const DynamicArchiveOpening o = OpenDynamicArchive(date, c.stored);
    EXPECT_EQ(o.step, c.step);
    EXPECT_EQ(std::pair(dmy(o.begin), dmy(o.end)), std::pair(c.begin, c.end));
    // What OK checks: the end after the beginning, a step, the steps an archive holds.
    const double step = DynamicArchiveStep(o.step[0], o.step[1], o.step[2], o.step[3], o.step[4]);
    ASSERT_GT(step, 0.0);
    ASSERT_GT(o.end.ToJulianDay(), o.begin.ToJulianDay());
    bool cut = false;
    EXPECT_GE(DynamicArchiveSteps(o.begin.ToJulianDay(), o.end.ToJulianDay(), step, cut), 1);
    EXPECT_EQ(cut, c.cut);
  }
  // A cut period is named: 30000 days from 1.1.2000.
  FDate begin;
  ASSERT_TRUE(begin.SetDate(1, 1, 2000).ok());
  EXPECT_EQ(DynamicArchiveCutText(begin, 1.0),
            GetMessageText(kMsgTooLarge) + "\n" + GetMessageText(kMsgPeriodWord) + " " +
                begin.ToText() + " - 19:02:2082 " + GetMessageText(kMsgEraAd));
}

class DynamicArchiveTest : public ArchiveTest {
 protected:
  ChartContext Context() const {
    return ChartContext(GetConfiguration(), testing_support::SharedTables());
  }
  Status Write(int steps, double step, const std::string& name) {
    FDate begin;
    EXPECT_TRUE(begin.SetDate(1, 1, 2000, 'A').ok());
    return WriteDynamicArchive(Context(), MakeChart("Dyn", 7, 7, 1977), begin, step, steps,
                               PathOf(name), progress_);
  }
  testing_support::RecordingProgress progress_;
};

TEST_F(DynamicArchiveTest, RecordsFollowTheStepFromTheBeginning) {
  ASSERT_TRUE(Write(1, 365.2422, "one.arc").ok());
  ASSERT_EQ(archive_.SetPath(PathOf("one.arc")), kLayout4200);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  ASSERT_EQ(archive_.RecordCount(), 2);
  Chart first, second;
  ASSERT_EQ(archive_.LoadChart(first, 0, false), 0);
  ASSERT_EQ(archive_.LoadChart(second, 1, false), 1);
  const Moment& a = first.definition.sources[0].moment;
  const Moment& b = second.definition.sources[0].moment;
  EXPECT_EQ(a.time.SecondsOfDay(), 0);
  EXPECT_EQ(a.date.Day(), 1);
  EXPECT_EQ(a.date.Year(), 2000);
  // A year of 365.2422 days: 1.1.2000 0:00 + 365 d 5 h 48 min 46 s.
  EXPECT_EQ(b.date.Year(), 2000);
  EXPECT_EQ(b.date.Month(), 12);
  EXPECT_EQ(b.date.Day(), 31);
  EXPECT_EQ(b.time.Hours(), 5);
  EXPECT_EQ(b.time.Minutes(), 48);
  // The first record is computed at its own moment, not left with the source chart's Sun.
  Chart expected = MakeChart("Dyn");
  expected.definition.sources[0].moment = a;
  ASSERT_TRUE(expected.AddStep(Context(), 0.0).ok());
  EXPECT_DOUBLE_EQ(first.points[0].longitude.Get(), expected.points[0].longitude.Get());
  EXPECT_TRUE(progress_.positions.empty());  // no progress for a few records
}

TEST_F(DynamicArchiveTest, ReplacesTheFileAndItsCommentFilesOrNothing) {
  WriteFile(PathOf("old.arc"), "old");
  WriteFile(ArchiveCommentFileName(PathOf("old.arc"), 3), "stale");
  ArmFileFault(2);  // the records' write
  EXPECT_EQ(Write(2, 1.0, "old.arc").ErrorCode(), kErrWrite);
  EXPECT_EQ(ReadFile(PathOf("old.arc")), "old");
  EXPECT_TRUE(std::filesystem::exists(ArchiveCommentFileName(PathOf("old.arc"), 3)));
  ArmFileFault(0);
  progress_.cancelAt = 10;
  EXPECT_EQ(Write(100, 1.0, "old.arc").MessageNumber(), kMsgDynamicArchiveCancelled);
  EXPECT_EQ(ReadFile(PathOf("old.arc")), "old");
  progress_ = {};
  ASSERT_TRUE(Write(60, 1.0, "old.arc").ok());
  EXPECT_EQ(std::filesystem::file_size(PathOf("old.arc")), 4 + 61 * 1776u);
  EXPECT_FALSE(std::filesystem::exists(ArchiveCommentFileName(PathOf("old.arc"), 3)));
  EXPECT_EQ(progress_.positions.front(), 0);
  EXPECT_EQ(progress_.positions.back(), 98);  // 60 / 61
}

}  // namespace
}  // namespace archive_test
