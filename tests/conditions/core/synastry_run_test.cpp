// The synastry run over real archives: the five pairing modes, their messages and the order of
// the pairs kept. The charts are written from fixture text; the pair condition holds on every
// pair ("always") unless a test says otherwise.
#include "conditions/core/synastry_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conditions/query_test_support.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::QueryArchiveTest;

// Sun of chart 1 within 180 degrees of the Sun of chart 2: any two present Suns.
const std::string kAlways = "1 + 100 0 0 1001 \x03 \x03 TESTASP 0 0 0 0 180 0 0 0 0 0 0\n";
// Sun of chart 1 conjunct the Moon of chart 2 within 1 degree.
const std::string kSunOnMoon = "1 + 100 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 0 0 0 0 0\n";

using Pair = std::pair<int, int>;

class SynastryRunTest : public QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    set_.synastry = true;
  }

  // `count` charts "Cn", the Sun at n degrees and the Moon at `moon`.
  std::string Charts(const std::string& name, int count, double moon = 200) {
    std::string text;
    for (int n = 0; n < count; ++n)
      text += "chart\tC" + std::to_string(n) + "\tT\t01.01.2000\t12:00\t+00:00\t10:00N\t010:00E\n" +
              "point\t0\t" + std::to_string(n % 360) + "\t0\t1\npoint\t1\t" + std::to_string(moon) +
              "\t0\t13\n";
    return WriteTextArchive(name, text);
  }

  SynastryRunResult Run(SynastryRequest request) {
    results_ = CSynAnalResults{};
    return RunSynastry(set_, Context(), request, results_, progress_);
  }
  std::vector<Pair> Pairs() const {
    std::vector<Pair> pairs;
    for (const SynAnalResult& r : results_.CopyToArray()) pairs.emplace_back(r.record1, r.record2);
    return pairs;
  }
  std::vector<int> Slots() const {
    std::vector<int> slots;
    for (const SynAnalResult& r : results_.CopyToArray()) slots.push_back(r.slot1);
    return slots;
  }
  static SynastryRequest Two(int mode, std::string a, std::string b) {
    SynastryRequest r;
    r.mode = mode;
    r.archive1 = std::move(a);
    r.archive2 = std::move(b);
    return r;
  }
  static SynastryRequest One(int mode, std::string a, const Chart* current = nullptr) {
    SynastryRequest r;
    r.mode = mode;
    r.archive = std::move(a);
    r.current = current;
    return r;
  }

  CSynAnalResults results_;
};

TEST_F(SynastryRunTest, SamePositionsPairInChunksOfAHundredUpToTheSmallerArchive) {
  UseConditions(kAlways);
  const std::string big = Charts("big.arc", 150), small = Charts("small.arc", 100);
  SynastryRunResult run = Run(Two(kSynSamePosition, big, small));
  EXPECT_TRUE(prompts_.WasShown(kMsgFirstArchiveLarger));
  EXPECT_EQ(run.end, SynastryRunEnd::kCompleted);
  ASSERT_EQ(results_.ResultCount(), 100);
  EXPECT_EQ(Pairs().back(), Pair(99, 99));
  EXPECT_EQ(results_.Result(57).chart2.name, "C57");
  EXPECT_EQ(results_.Archives().size(), 2u);

  const std::string a = Charts("a.arc", 230), b = Charts("b.arc", 230);
  run = Run(Two(kSynSamePosition, a, b));
  EXPECT_EQ(run.chunks, (std::vector<int>{100, 100, 30}));
  ASSERT_EQ(results_.ResultCount(), 230);
  for (int k : {0, 100, 229}) EXPECT_EQ(Pairs()[static_cast<std::size_t>(k)], Pair(k, k));
  EXPECT_EQ(results_.Result(229).chart1.name, "C229");

  // The second archive larger: 1136.
  Run(Two(kSynSamePosition, small, big));
  EXPECT_TRUE(prompts_.WasShown(kMsgSecondArchiveLarger));
}

TEST_F(SynastryRunTest, TwoArchivesPairEveryChartOfTheFirstWithEveryChartOfTheSecond) {
  UseConditions(kAlways);
  const std::string a = Charts("a.arc", 2), b = Charts("b.arc", 3);
  const SynastryRunResult run = Run(Two(kSynTwoArchives, a, b));
  EXPECT_EQ(run.pairs, 6);
  EXPECT_EQ(Pairs(), (std::vector<Pair>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}));
  EXPECT_EQ(results_.Result(0).slot2, 1);
}

TEST_F(SynastryRunTest, EveryPairTriesBothOrdersAndNeverAChartWithItself) {
  UseConditions(kAlways);
  EXPECT_EQ(Run(One(kSynEveryPair, Charts("one.arc", 1))).pairs, 0);
  EXPECT_EQ(results_.ResultCount(), 0);
  Run(One(kSynEveryPair, Charts("three.arc", 3)));
  EXPECT_EQ(Pairs(), (std::vector<Pair>{{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}}));
  // A pairing mode outside 0..3 acts as 4.
  SynastryRequest odd = One(9, (folder_ / "three.arc").string());
  Run(odd);
  EXPECT_EQ(results_.ResultCount(), 6);
}

TEST_F(SynastryRunTest, TheCurrentChartIsChartOneOfTheDecisionAndChartTwoOfTheRow) {
  // The current chart's Sun at 200 meets the Moon at 200 of every archive chart; the archive
  // charts' Suns (0, 1, 2) meet no Moon of the current chart (at 50).
  UseConditions(kSunOnMoon);
  const std::string path = Charts("one.arc", 3);
  Chart current = condition_test::MakeChart({{0, 200.5}, {1, 50}});
  current.definition.sources[0].SetName("Me");
  Run(One(kSynOneArchive, path, &current));
  EXPECT_EQ(Pairs(), (std::vector<Pair>{{0, -1}, {1, -1}, {2, -1}}));
  EXPECT_EQ(results_.Result(1).chart1.name, "C1");
  EXPECT_EQ(results_.Result(1).chart2.name, "Me");
  EXPECT_EQ(results_.Result(1).slot2, kSynCurrentChart);
  // Without a current chart the modes that need one do not run.
  EXPECT_EQ(Run(One(kSynOneArchive, path)).end, SynastryRunEnd::kFailed);
}

TEST_F(SynastryRunTest, AListedArchiveThatIsGoneIsNamedAndTheOthersKeepConsecutiveSlots) {
  UseConditions(kAlways);
  const std::string a = Charts("a.arc", 1), gone = Charts("gone.arc", 1), b = Charts("b.arc", 2);
  const std::string off = Charts("off.arc", 1);
  std::filesystem::remove(gone);
  const Chart current = condition_test::MakeChart({{0, 5}});
  SynastryRequest request = One(kSynArchiveList, "", &current);
  request.list = {{a, true}, {gone, true}, {off, false}, {b, true}};
  Run(request);
  EXPECT_TRUE(prompts_.WasShown(kMsgArchiveMissing));
  EXPECT_EQ(prompts_.shown.front().text, Cp1251("Отсутствует архив:") + "\n" + gone);
  EXPECT_EQ(Slots(), (std::vector<int>{0, 1, 1}));
  ASSERT_EQ(results_.Archives().size(), 2u);
  EXPECT_EQ(results_.Archives()[1].path, b);

  // Nothing switched on: 1142, and the run failed.
  request.list = {{a, false}};
  EXPECT_EQ(Run(request).end, SynastryRunEnd::kFailed);
  EXPECT_TRUE(prompts_.WasShown(kMsgNoListedArchiveOn));
}

TEST_F(SynastryRunTest, TheDialogsRunSaysNoPairOnlyAfterACompleteRun) {
  struct Row {
    const char* name;
    std::string archive;
    std::vector<int> messages;
  };
  UseConditions(kAlways);
  const std::string single = Charts("single.arc", 1);
  const Row rows[] = {
      {"one_chart", single, {kMsgNoPairFound}},
      {"stale_path", (folder_ / "gone.arc").string(), {kMsgNotAnArchive}},
      {"empty_path", "", {kMsgNotAnArchive}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    prompts_.shown.clear();
    QueryDialogModel model(QueryMode::kSynastry);
    model.set = set_;
    cfg::ByteBlock block(cfg::SynastrySettings::kSize);
    bool shown = false;
    const auto run = RunSynastryFromDialog(
        model, "", block, One(kSynEveryPair, row.archive), [this] { return Context(); },
        platform::RunHere(progress_), [&](SynastryHandOver) { return shown = true; });
    ASSERT_TRUE(run.has_value());
    EXPECT_FALSE(shown);
    std::vector<int> messages;
    for (const auto& s : prompts_.shown) messages.push_back(s.number);
    EXPECT_EQ(messages, row.messages);
  }
}

TEST_F(SynastryRunTest, ResultsGoToTheViewWithTheHeaderAndCancelHandsNothingOver) {
  UseConditions(kAlways);
  const std::string path = Charts("four.arc", 4);
  QueryDialogModel model(QueryMode::kSynastry);
  model.set = set_;
  model.view.showQuery = true;
  cfg::ByteBlock block(cfg::SynastrySettings::kSize);
  SynastryHandOver handed;
  const auto show = [&](SynastryHandOver h) {
    handed = std::move(h);
    return true;
  };
  progress_.cancelAt = 5;  // 12 pairs: the bar reaches its fifth position after a few
  const auto run = RunSynastryFromDialog(
      model, "", block, One(kSynEveryPair, path), [this] { return Context(); },
      platform::RunHere(progress_), show);
  ASSERT_TRUE(run.has_value());
  EXPECT_EQ(run->end, SynastryRunEnd::kCancelled);
  EXPECT_EQ(handed.results, nullptr);
  EXPECT_FALSE(model.resultsShown);
  EXPECT_TRUE(prompts_.WasShown(kMsgRunCancelled));
  EXPECT_FALSE(prompts_.WasShown(kMsgNoPairFound));

  // Run to the end, the pairs and the header reach the view.
  progress_.cancelAt = -1;
  ASSERT_TRUE(RunSynastryFromDialog(
                  model, "", block, One(kSynEveryPair, path), [this] { return Context(); },
                  platform::RunHere(progress_), show)
                  .has_value());
  ASSERT_NE(handed.results, nullptr);
  EXPECT_EQ(handed.results->ResultCount(), 12);
  EXPECT_TRUE(model.resultsShown);
  ASSERT_FALSE(handed.header.empty());
  EXPECT_EQ(handed.header.front(), Cp1251("      ЗАПРОС"));
  EXPECT_EQ(block.Get(cfg::SynastrySettings::kConditionMode), 0);
}

TEST_F(SynastryRunTest, TheDisplaySettingsTakeDefaultsForZeroSizes) {
  cfg::ByteBlock block(cfg::SynastrySettings::kSize);
  const QueryViewSettings zero = SynastryViewFromBlock(block);
  EXPECT_EQ(zero.screenFont, 2400);
  EXPECT_EQ(zero.printFont, 1800);
  QueryViewSettings set;
  set.screenFont = 3000;
  set.printGap = 20000;
  set.showArchives = false;
  SynastryViewToBlock(set, block);
  const QueryViewSettings back = SynastryViewFromBlock(block);
  EXPECT_EQ(back.screenFont, 3000);
  EXPECT_EQ(back.printGap, QueryViewSettings::kMaxGap);
  EXPECT_FALSE(back.showArchives);
}

}  // namespace
