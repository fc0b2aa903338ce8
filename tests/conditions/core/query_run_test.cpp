// The archive query run over the condition tool's charts written as real archives (the hits are
// those the tool's tests worked out by hand, see query_test_support.h).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "archive/store/commit_shared.h"
#include "archive/store/file_transaction.h"
#include "conditions/core/statistic.h"
#include "conditions/query_test_support.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::kSunInAries;
using condition_test::kSunMoonSquare;
using condition_test::TimesShown;
using platform::Answer;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

// The run's result groups: per searched archive its path and its records, in order.
struct Group {
  std::string path;
  std::vector<int> records;
  friend bool operator==(const Group&, const Group&) = default;
};

class QueryRunTest : public condition_test::QueryArchiveTest {
 protected:
  std::string TextShown(int number) const {
    for (const auto& shown : prompts_.shown)
      if (shown.number == number) return shown.text;
    return {};
  }
  std::vector<Group> Groups() const {
    std::vector<Group> groups;
    for (const SearchedArchive& a : archive_.Query().SearchedArchives())
      groups.push_back({a.path, {}});
    for (const SelectedRecordNode& node : archive_.Query().SelectedRecords())
      groups.at(static_cast<std::size_t>(node.ArchiveNumber()))
          .records.push_back(node.RecordNumber());
    return groups;
  }
};

TEST_F(QueryRunTest, CurrentArchiveMarksTheChartsThatHold) {
  const struct {
    const char* name;
    std::string conditions;
    int mode;
    const char* logic;
    Answer localSpace;
    std::vector<int> marked;
    int viewed;
  } cases[] = {
      {"all_local_space_taken", kSunMoonSquare, 0, nullptr, Answer::Yes, {1, 3, 4}, 8},
      // No skips the Local Space chart (record 4): it is not viewed and cannot hold.
      {"all_local_space_skipped", kSunMoonSquare, 0, nullptr, Answer::No, {1, 3}, 7},
      {"all_of_two", kSunMoonSquare + kSunInAries, 0, nullptr, Answer::Yes, {1, 4}, 8},
      {"any_of_two", kSunMoonSquare + kSunInAries, 1, nullptr, Answer::Yes, {0, 1, 3, 4, 5}, 8},
      {"logic_and_not", kSunMoonSquare + kSunInAries, 2, "1 & !2", Answer::Yes, {3}, 8},
  };
  WriteFixtureArchive("first.arc", "charts.txt");
  std::vector<bool> askedFree;  // whether another copy could have changed the archive meanwhile
  prompts_.watch = [&](int n) {
    if (n == kMsgLocalSpaceCharts)
      askedFree.push_back(
          commit_detail::FolderLock(folder_.Path(), std::chrono::milliseconds(0)).Held());
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    archive_.ClearMarks();
    progress_.positions.clear();
    UseConditions(c.conditions);
    set_.mode = c.mode;
    if (c.logic) {
      ASSERT_EQ(set_.SetLogic(c.logic), 1);
    }
    prompts_.Expect(kMsgLocalSpaceCharts, c.localSpace);
    const QueryRunResult result = Run({});
    prompts_.VerifyAllUsed();
    EXPECT_EQ(result.end, QueryRunEnd::kCompleted);
    EXPECT_EQ(Marked(), c.marked);
    EXPECT_EQ(result.viewed, c.viewed);
    EXPECT_EQ(result.hits, static_cast<int>(c.marked.size()));
    EXPECT_EQ(QuerySummaryText(result), U("Просмотрено гороскопов - ") + std::to_string(c.viewed) +
                                            U("\nУсловию удовлетворяют - ") +
                                            std::to_string(c.marked.size()));
  }
  // Asked once a run, never while the run holds the archive's lock.
  EXPECT_EQ(askedFree, std::vector<bool>(std::size(cases), true));
  // Record by record, the bar shows the records done (8 records: 12.5 % each).
  EXPECT_EQ(progress_.positions, (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87}));
  EXPECT_EQ(progress_.begun, progress_.ended);
}

TEST_F(QueryRunTest, MarksAlreadySetAreKeptOrClearedByTheAnswerTo678) {
  WriteFixtureArchive("first.arc", "charts.txt");
  UseConditions(kSunMoonSquare);
  for (const auto& [answer, marked] : {std::pair{Answer::Yes, std::vector<int>{1, 3, 4, 7}},
                                       std::pair{Answer::No, std::vector<int>{1, 3, 4}}}) {
    archive_.ClearMarks();
    archive_.Entry(7).mark = 'Y';
    prompts_.Expect(kMsgKeepMarks, answer);
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    const QueryRunResult result = Run({});
    EXPECT_EQ(Marked(), marked);
    EXPECT_EQ(result.hits, 3);
  }
  // Without marks nothing is asked but the Local Space question.
  archive_.ClearMarks();
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  Run({});
  prompts_.VerifyAllUsed();
  EXPECT_EQ(TimesShown(prompts_, 678), 2);
}

TEST_F(QueryRunTest, AQueryOrStatisticBesideADeadCopysHalfCommitIsRefusedThenRunsWhole) {
  // Another copy moved the first chart down and died once its intent record was written.
  UseConditions(kSunMoonSquare);
  for (const bool statistic : {false, true}) {
    SCOPED_TRACE(statistic ? "statistic" : "query");
    const std::string path = WriteFixtureArchive("first.arc", "charts.txt");
    const pid_t child = ::fork();
    if (child == 0) {
      CommentSlotTable slots;
      Archive other(slots);
      if (other.SetPath(path) < 0 || other.CreateIndex() != 0) std::_Exit(1);
      SetCommitStepHook([](int step) {
        if (step == 3) std::_Exit(0);  // after the record, before the first rename
      });
      other.Entry(0).mark = 'Y';
      other.Records().ChartUpDown(false);
      std::_Exit(1);
    }
    int status = -1;
    ASSERT_TRUE(::waitpid(child, &status, 0) == child && status == 0);
    const std::filesystem::path record = CommitIntentPath(path);
    ASSERT_TRUE(std::filesystem::exists(record));
    const auto run = [&] {
      if (!statistic) return Run({}).viewed;
      Statistic stat;
      EXPECT_TRUE(stat.Init({}, Context()));
      return stat.Calculate(archive_, progress_) == StatRunEnd::kCompleted ? 1 : 0;
    };
    prompts_.shown.clear();
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(prompts_.WasShown(kMsgArchiveChangedElsewhere));
    EXPECT_FALSE(std::filesystem::exists(record));
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    EXPECT_GT(run(), 0);
    prompts_.VerifyAllUsed();
  }
}

TEST_F(QueryRunTest, RefusalsSearchNothing) {
  UseConditions(kSunMoonSquare);
  // No archive open: the current-archive run is refused.
  EXPECT_EQ(Run({}).end, QueryRunEnd::kRefused);
  EXPECT_EQ(TimesShown(prompts_, 1916), 1);
  // An empty list.
  EXPECT_EQ(Run({false, {}}).end, QueryRunEnd::kRefused);
  EXPECT_EQ(TimesShown(prompts_, 1125), 1);
  EXPECT_TRUE(progress_.positions.empty());
}

TEST_F(QueryRunTest, ListRunCollectsResultGroupsPerArchive) {
  const std::string none =
      WriteTextArchive("none.arc",
                       "chart\tNone\tNone\t01.01.2000\t12:00\t+00:00\t00:00N\t000:00E\n"
                       "point\t0\t0\t0\t1\npoint\t1\t45\t0\t12\n");
  const std::string second = WriteFixtureArchive("second.arc", "kinds.txt");
  const std::string first = WriteFixtureArchive("first.arc", "charts.txt");
  const std::string away = (folder_ / "away.arc").string();
  const std::string text = (folder_ / "text.arc").string();
  testing_support::WriteFile(text, "not an archive");
  const std::string before = WriteTextArchive("before.arc",
                                              "chart\tB\tB\t01.01.2000\t12:00\t"
                                              "+00:00\t00:00N\t000:00E\n");
  archive_.Entry(0).mark = 'Y';
  const std::vector<ArchiveListEntry> list = {{first, true},   {away, true}, {none, true},
                                              {second, false}, {text, true}, {second, true}};
  UseConditions(kSunMoonSquare);
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::No);  // asked once for the whole run
  const QueryRunResult result = Run({false, list});
  prompts_.VerifyAllUsed();

  // 593 names both entries that are not archives, once, before the search.
  ASSERT_EQ(TimesShown(prompts_, 593), 1);
  EXPECT_EQ(TextShown(593), U("Отсутствует архив:\n") + away + "\n" + text);
  // Groups only for the archives with hits, in list order; the Local Space chart skipped.
  EXPECT_EQ(Groups(), (std::vector<Group>{{first, {1, 3}}, {second, {2, 3}}}));
  EXPECT_EQ(archive_.Query().SearchedArchives()[1].fileTime, Archive::FileTimeOf(second));
  EXPECT_EQ(result.archivesProcessed, 3);
  EXPECT_EQ(result.viewed, 7 + 1 + 8);
  EXPECT_EQ(result.hits, 4);
  EXPECT_EQ(QuerySummaryText(result), U("Обработано архивов - 3\nПросмотрено гороскопов - 16\n"
                                        "Условию удовлетворяют - 4"));
  // The archive open before is current again, indexed anew (its marks gone).
  EXPECT_EQ(archive_.GetPath(), before);
  EXPECT_EQ(archive_.IsOpen(), 1);
  EXPECT_TRUE(Marked().empty());
  EXPECT_FALSE(result.reopenFailed);
}

TEST_F(QueryRunTest, AFailedReopenKeepsTheResultsAndSaysSo) {
  const std::string first = WriteFixtureArchive("first.arc", "charts.txt");
  const std::string before = WriteTextArchive("before.arc",
                                              "chart\tB\tB\t01.01.2000\t12:00\t"
                                              "+00:00\t00:00N\t000:00E\n");
  std::filesystem::remove(before);
  UseConditions(kSunMoonSquare);
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  const QueryRunResult result = Run({false, {{first, true}}});
  EXPECT_TRUE(result.reopenFailed);
  EXPECT_TRUE(prompts_.WasShown(1917));
  EXPECT_EQ(result.hits, 3);
  EXPECT_EQ(archive_.Query().SelectedRecords().size(), 3u);
}

TEST_F(QueryRunTest, AnEvaluationErrorStopsTheWholeRun) {
  const std::string second = WriteFixtureArchive("second.arc", "kinds.txt");
  const std::string first = WriteFixtureArchive("first.arc", "charts.txt");
  // An aspect of a group that does not exist gives -1 on the first chart.
  UseConditions("1 + 0 501 0 1000 " + U("Nobody[каждая]") +
                " \x03 TESTASP 0 0 0 1 0 0 511 0 0 0 0\n");
  const QueryRunResult current = Run({});
  EXPECT_EQ(current.end, QueryRunEnd::kEvaluationError);
  EXPECT_EQ(current.stoppedAtRecord, 0);
  EXPECT_EQ(current.viewed, 1);
  EXPECT_EQ(QuerySummaryText(current), U("Просмотрено гороскопов - 1\nУсловию удовлетворяют - 0\n"
                                         "Поиск остановлен: ошибка при проверке условий."));
  // Over a list the next archive is not searched, and the missing group is named once.
  const QueryRunResult list = Run({false, {{first, true}, {second, true}}});
  EXPECT_EQ(list.end, QueryRunEnd::kEvaluationError);
  EXPECT_EQ(list.archivesProcessed, 1);
  EXPECT_EQ(list.viewed, 1);
  EXPECT_EQ(TimesShown(prompts_, 592), 2);  // once per run
}

TEST_F(QueryRunTest, CancelStopsTheRunAndKeepsWhatWasFound) {
  WriteFixtureArchive("first.arc", "charts.txt");
  UseConditions(kSunMoonSquare);
  // Cancel once the bar has shown 0, 12 and 25 %: records 0 and 1 were decided.
  progress_.cancelAt = 3;
  const QueryRunResult result = Run({});
  EXPECT_EQ(result.end, QueryRunEnd::kCancelled);
  EXPECT_EQ(result.viewed, 2);
  EXPECT_EQ(Marked(), std::vector<int>{1});
  EXPECT_EQ(progress_.ended, 1);
  EXPECT_EQ(QuerySummaryText(result), U("Просмотрено гороскопов - 2\nУсловию удовлетворяют - 1\n"
                                        "Поиск прерван."));
}

TEST_F(QueryRunTest, ResultHeaderLines) {
  UseConditions(kSunMoonSquare + "2 - 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n");
  const std::vector<ArchiveListEntry> archives = {{"/a/first.arc", true}, {"/b/off.arc", false}};
  const std::string square = U("ASP(Солнце ; Луна ; \"90:00\" орб 1:00)");
  const std::string aries = U("IN(Солнце ; Овен)");
  const std::string archivesHead = U("      АРХИВЫ"), queryHead = U("      ЗАПРОС"),
                    results = U("      РЕЗУЛЬТАТЫ");
  using Lines = std::vector<std::string>;
  set_.mode = 0;
  EXPECT_EQ(BuildResultHeader(set_, archives, true, true, ""),
            (Lines{archivesHead, "/a/first.arc", "", queryHead, U("Выполнение всех условий"),
                   square, "", results}));
  set_.mode = 1;
  EXPECT_EQ(BuildResultHeader(set_, archives, false, true, ""),
            (Lines{queryHead, U("Выполнение одного из условий"), square, "", results}));
  EXPECT_EQ(BuildResultHeader(set_, archives, true, false, ""),
            (Lines{archivesHead, "/a/first.arc", "", results}));
  EXPECT_TRUE(BuildResultHeader(set_, archives, false, false, "").empty());
  // The logic mode: the expression as typed, then the conditions it names, numbered, in set order
  // (the switched-off one too).
  set_.mode = 2;
  ASSERT_EQ(set_.SetLogic("2 | 1"), 1);
  EXPECT_EQ(BuildResultHeader(set_, archives, false, true, "2 | 1"),
            (Lines{queryHead, U("Логическое выражение:2 | 1"), "  1   " + square, "  2   " + aries,
                   "", results}));
  // A set of one condition has no mode line.
  set_.mode = 0;
  set_.RemoveCondition(1);
  EXPECT_EQ(BuildResultHeader(set_, archives, false, true, ""),
            (Lines{queryHead, square, "", results}));
}

}  // namespace
