// The archive statistics over tests/fixtures/conditions/stats.txt (the tool run as a process, and
// the computation over the same charts written as an archive), their picture and the parameters'
// page model. Every expected bucket is worked out by hand from the fixture (orb class 3, STATASP's
// orbs 5 degrees: conjunction, opposition, quincunx (minor), square):
//
//   0 Alpha  Sun 10, Moon 100, Venus 160, Mars 190, nodes 280/100, point 20 at 10.5; houses = signs
//   1 Beta   Sun 50, Moon 230; houses every 30 from 15 (the Sun in house 2)
//   2 Gamma  (Local Space) Sun 200, Moon 350; houses every 30 from 100 (the Sun in house 4)
//   3 Delta  (Local Space) Sun 300; no cusps
//   4 Eps    no Sun; Moon 5; no cusps
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "archive/store/archive_layout.h"
#include "conditions/core/stat_params.h"
#include "conditions/core/stat_picture.h"
#include "conditions/query_test_support.h"
#include "conditions_tool.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"

namespace {

std::string U(const std::string& utf8) { return Cp1251(utf8); }

conditions_tool::ToolRun RunStatistics(const std::string& arguments) {
  const auto fixture = [](const char* name) {
    return "'" + testing_support::FixturePath(std::string("conditions/") + name).string() + "'";
  };
  return conditions_tool::RunProcess(std::string("'") + STATISTICS_EVAL_PATH + "' " +
                                     fixture("stats.txt") + " " + fixture("STATASP.txt") + " " +
                                     arguments + " 2>/dev/null");
}

TEST(StatisticsTool, BucketsPerKind) {
  const struct {
    const char* arguments;
    const char* out;
  } cases[] = {
      // Sun sign; the chart without a Sun in no bucket.
      {"0 0", "0\t0\n1\t1\n6\t2\n10\t3\ntotal 5 not-found 0\n"},
      {"0 0 --local-space-no", "0\t0\n1\t1\ntotal 3 not-found 0\n"},
      // Sun house: no cusps (3) and no Sun (4) give no bucket.
      {"1 0", "0\t0\n1\t1\n3\t2\ntotal 5 not-found 0\n"},
      {"2 0", "0\t0\n13\t1\n75\t2\ntotal 5 not-found 0\n"},
      {"3 0", "0\t0 1\n3\t2\ntotal 5 not-found 0\n"},
      // Sun-Moon: square (3), opposition (1), quincunx (2); two charts lack a Moon or the Sun.
      {"4 0 1", "1\t1\n2\t2\n3\t0\ntotal 5 not-found 2\n"},
      // Without minor aspects the square is the third major (2); the quincunx is not found.
      {"4 0 1 --minor-off", "1\t1\n2\t0\ntotal 5 not-found 3\n"},
      // A point with itself: the conjunction wherever the Sun is.
      {"4 0 0", "0\t0 1 2 3\ntotal 5 not-found 1\n"},
      // Aspects of the Sun: Alpha 3 of the ten planets, 5 with the nodes, 4 of them major, 6 with
      // point 20 of every point.
      {"5 0", "0\t3\n1\t1 2\n3\t0\ntotal 5 not-found 0\n"},
      {"5 0 --nodes", "0\t3\n1\t1 2\n5\t0\ntotal 5 not-found 0\n"},
      {"5 0 --nodes --minor-off", "0\t2 3\n1\t1\n4\t0\ntotal 5 not-found 0\n"},
      {"5 0 --nodes --set 2", "0\t3\n1\t1 2\n6\t0\ntotal 5 not-found 0\n"},
      // Planets in Aries (the Moon of Eps counts), then with point 20; in house 1 (no cusps: none).
      {"6 0", "0\t1 2 3\n1\t0 4\ntotal 5 not-found 0\n"},
      {"6 0 --set 2 --nodes", "0\t1 2 3\n1\t4\n2\t0\ntotal 5 not-found 0\n"},
      {"6 12", "0\t1 2\n1\t0\ntotal 5 not-found 0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const conditions_tool::ToolRun run = RunStatistics(c.arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
  }
  for (const char* refused : {"7 0", "0 30", "4 0", "4 0 42", "5 0 --set 3", "0 0 --what"}) {
    SCOPED_TRACE(refused);
    EXPECT_EQ(RunStatistics(refused).status, 2);
  }
}

class StatisticRunTest : public condition_test::QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    ASSERT_FALSE(chart_fixture::LoadAspects(testing_support::FixturePath("conditions/STATASP.txt"),
                                            folder_.Path(), aspects_));
  }
  // Kind 0 of the Sun over the current archive.
  StatResults Run() {
    const cfg::StatisticsRecord settings;
    Statistic statistic;
    const ChartContext context = Context();
    EXPECT_TRUE(statistic.Init(settings, context));
    EXPECT_EQ(statistic.Calculate(archive_, progress_), StatRunEnd::kCompleted);
    return statistic.TakeResults();
  }
};

TEST_F(StatisticRunTest, AnUnreadableRecordIsPassedOverAndCancelEndsTheRun) {
  const std::string path = WriteFixtureArchive("stats.arc", "stats.txt");
  // Record 1 damaged (the Sun's longitude not a number): passed over and counted, never taken
  // for the chart read before it.
  // Damaged on the disk behind the list's back: its time kept, so that the list still describes
  // the file (a file another copy changed is refused before any record is read).
  const auto listed = std::filesystem::last_write_time(path);
  {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    const double nan = std::nan("");
    ASSERT_EQ(std::fseek(f, static_cast<long>(RecordOffset(kLayout4400, 1) + 404), SEEK_SET), 0);
    ASSERT_EQ(std::fwrite(&nan, sizeof nan, 1, f), 1U);
    std::fclose(f);
  }
  std::filesystem::last_write_time(path, listed);
  prompts_.Expect(kMsgLocalSpaceCharts, platform::Answer::Yes);
  const StatResults results = Run();
  EXPECT_EQ(results.unreadable, 1);
  EXPECT_EQ(results.total, 4);
  EXPECT_EQ(results.records[0], (std::vector<std::int32_t>{0}));
  EXPECT_EQ(results.counts[1], 0);
  EXPECT_EQ(progress_.positions, (std::vector<int>{0, 20, 40, 60, 80}));

  // The progress dialog's Cancel ends the run.
  progress_.cancelAt = 2;
  Statistic statistic;
  const ChartContext context = Context();
  ASSERT_TRUE(statistic.Init({}, context));
  EXPECT_EQ(statistic.Calculate(archive_, progress_), StatRunEnd::kCancelled);
}

TEST_F(StatisticRunTest, InitNeedsTheAspectSystemOfKindsFourAndFive) {
  const ChartContext context = Context();
  for (int kind = 0; kind < kStatKindCount; ++kind) {
    SCOPED_TRACE(kind);
    cfg::StatisticsRecord settings;
    settings.kind = kind;
    settings.aspectSystem = "NONE";
    Statistic statistic;
    const bool needs = kind == kStatAspect || kind == kStatAspectCount;
    EXPECT_EQ(statistic.Init(settings, context), !needs);
    EXPECT_EQ(CheckStatParams(settings, context), needs ? 59 : 0);
    settings.aspectSystem = "STATASP";
    EXPECT_TRUE(statistic.Init(settings, context));
    EXPECT_EQ(CheckStatParams(settings, context), 0);
    const int buckets[] = {12, 12, 144, 12, 4, 60, 50};
    EXPECT_EQ(statistic.GetBucketCount(), buckets[kind]);
    settings.minorAspects = 0;
    ASSERT_TRUE(statistic.Init(settings, context));
    EXPECT_EQ(statistic.GetBucketCount(), kind == kStatAspect ? 3 : buckets[kind]);
  }
}

// A result of `buckets` buckets with `counts` at its start.
StatResults Buckets(int buckets, const std::vector<std::int32_t>& counts, int total = 0,
                    int notFound = 0) {
  StatResults r;
  r.counts.assign(static_cast<std::size_t>(buckets), 0);
  r.records.assign(static_cast<std::size_t>(buckets), {});
  for (std::size_t b = 0; b < counts.size(); ++b) r.counts[b] = counts[b];
  r.total = total;
  r.notFound = notFound;
  return r;
}

TEST(StatPicture, GridSummaryAndHits) {
  const struct {
    const char* name;
    int kind;
    StatResults results;
    StatGrid grid;
    std::vector<std::string> summary;
  } cases[] = {
      {"signs",
       kStatPointSign,
       Buckets(12, {1, 1}, 5),
       {1, 12},
       {U("Всего гороскопов -  5."), U("Минимум/Среднее значение/Максимум -  0 /  0.17 / 1")}},
      {"sign_and_house",
       kStatPointSignHouse,
       Buckets(144, {2, 0, 3}, 5),
       {6, 24},
       {U("Всего гороскопов -  5."), U("Минимум/Среднее значение/Максимум -  0 /  0.03 / 3")}},
      {"aspects",
       kStatAspect,
       Buckets(4, {1, 2}, 5, 2),
       {1, 4},
       {U("Всего гороскопов -  5.  Аспект не найден в  2 гороскопах"),
        U("Минимум/Среднее значение/Максимум -  0 /  0.75 / 2")}},
      // Trailing empty buckets dropped: eight columns, the mean over them.
      {"aspect_counts",
       kStatAspectCount,
       Buckets(60, {1, 0, 0, 0, 0, 0, 0, 3}, 4),
       {1, 8},
       {U("Всего гороскопов -  4."), U("Минимум/Среднее значение/Максимум -  0 /  0.50 / 3")}},
      {"planets_in_place_empty",
       kStatPlanetsInPlace,
       Buckets(50, {}, 0),
       {1, 1},
       {U("Всего гороскопов -  0."), U("Минимум/Среднее значение/Максимум -  0 /  0.00 / 0")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cfg::StatisticsRecord settings;
    settings.kind = c.kind;
    StatPicture picture;
    picture.SetMargins(settings, c.results, {20000, 12000}, {0, 0});
    EXPECT_EQ(picture.Grid().rows, c.grid.rows);
    EXPECT_EQ(picture.Grid().columns, c.grid.columns);
    ASSERT_EQ(static_cast<int>(picture.Bars().size()), c.grid.Cells());
    EXPECT_EQ(StatSummaryLines(c.kind, c.results, picture.Grid().Cells()), c.summary);

    // Each bar is hit at its middle; above a bar that is not the tallest, beside the bars and
    // under the base line nothing is.
    int tallest = 0;
    for (int b = 0; b < c.grid.Cells(); ++b) {
      const platform::Rect& bar = picture.Bars()[static_cast<std::size_t>(b)];
      tallest = std::max(tallest, bar.top - bar.bottom);
      const platform::Point middle{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
      EXPECT_EQ(picture.HitTest(middle),
                c.results.counts[static_cast<std::size_t>(b)] > 0 ? b : -1);
      EXPECT_EQ(picture.HitTest({middle.x, bar.bottom - 10}), -1);
    }
    EXPECT_EQ(picture.HitTest({100, -6000}), -1);
    // Every picture stays inside its margins: 3 % at the sides, 10 % at the top.
    EXPECT_GE(picture.Bars().front().left, 600);
    EXPECT_LE(picture.Bars().back().right, 19400);
    EXPECT_LE(picture.Bars().front().top, -1200);

    // An empty result draws nothing at all, the summary included.
    platform::RecordingDc dc(96, false);
    dc.SetMapMode(platform::MapMode::HiMetric);
    const std::size_t before = dc.Calls().size();
    picture.Draw(dc, c.results, nullptr, false);
    EXPECT_EQ(dc.Calls().size() == before, c.results.total == 0);
  }
}

TEST(StatParams, EnablingAndObjectLists) {
  const struct {
    int kind;
    StatEnabling on;
    int objects;
    const char* first;
    const char* last;
  } cases[] = {
      {0, {}, 30, "Солнце", "Посейдон"},
      {1, {}, 30, "Солнце", "Посейдон"},
      {2, {}, 30, "Солнце", "Посейдон"},
      {3, {}, 12, "1 дом", "12 дом"},
      {4, {true, true, true, false, false}, 42, "Солнце", "12 дом"},
      {5, {false, true, true, true, true}, 42, "Солнце", "12 дом"},
      {6, {false, false, false, true, true}, 24, "Овен", "12 дом"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(StatEnablingOf(c.kind), c.on);
    const std::vector<std::string> names = StatObjectNames(c.kind);
    ASSERT_EQ(static_cast<int>(names.size()), c.objects);
    EXPECT_EQ(names.front(), U(c.first));
    EXPECT_EQ(names.back(), U(c.last));
  }
  EXPECT_EQ(StatSecondObjectNames().size(), 42U);
  EXPECT_EQ(StatListSelection(41, 42), 41);
  EXPECT_EQ(StatListSelection(42, 42), 0);
  EXPECT_EQ(StatListSelection(-1, 12), 0);
}

}  // namespace
