// The rows of the query results and the actions on them, over the condition tool's charts written
// as two archives. The query (Sun-Moon at 90:00 +- 1:00) finds in first.arc (charts.txt) the
// records 1 Cross, 3 Ancient, 4 Space and in second.arc (kinds.txt) 2 Reform, 3 Julian: rows 0..4.
#include "conditions/core/query_results.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conditions/query_test_support.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::kSunMoonSquare;
using condition_test::TimesShown;
using platform::Answer;
namespace fs = std::filesystem;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

class QueryResultsTest : public condition_test::QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    second_ = WriteFixtureArchive("second.arc", "kinds.txt");
    first_ = WriteFixtureArchive("first.arc", "charts.txt");
    before_ = WriteTextArchive("before.arc",
                               "chart\tBefore\tB\t01.01.2000\t12:00\t+00:00\t00:00N\t000:00E\n");
    UseConditions(kSunMoonSquare);
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    ASSERT_EQ(Run({false, {{first_, true}, {second_, true}}}).hits, 5);
    archive_.resultHeaderLines = {"head"};
    results_.TakeOver(archive_);
  }

  // The names of the rows, in order.
  std::vector<std::string> RowNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < results_.Count(); ++i) names.push_back(results_.Row(i).entry.name);
    return names;
  }
  // Loads `rows`; the names of the charts read from the archives, in order.
  std::vector<std::string> LoadNames(const std::vector<int>& rows) {
    std::vector<std::string> names;
    results_.Load(archive_, rows, [&](Archive& a, int record) {
      Chart chart;
      if (a.LoadChart(chart, record, false) < 0) return false;
      names.push_back(chart.definition.GetBaseSource()->Name());
      return true;
    });
    return names;
  }
  // Writes the file anew with the same bytes: only its time stamp changes.
  static void Touch(const std::string& path) {
    const std::string bytes = testing_support::ReadFile(path);
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
    testing_support::WriteFile(path, bytes);
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
  }
  std::string TextShown(int number) const {
    for (auto it = prompts_.shown.rbegin(); it != prompts_.shown.rend(); ++it)
      if (it->number == number) return it->text;
    return {};
  }

  std::string first_, second_, before_;
  QueryResults results_;
};

const std::vector<std::string> kAllRows = {"Cross", "Ancient", "Space", "Reform", "Julian"};

TEST_F(QueryResultsTest, TakesTheResultsOver) {
  EXPECT_EQ(RowNames(), kAllRows);
  ASSERT_EQ(results_.Archives().size(), 2u);
  EXPECT_EQ(results_.Archives()[1].path, second_);
  EXPECT_EQ(results_.Row(4).record, 3);
  EXPECT_EQ(results_.Row(4).archive, 1);
  EXPECT_EQ(results_.HeaderLines(), std::vector<std::string>{"head"});
  EXPECT_TRUE(archive_.Query().SelectedRecords().empty());
  EXPECT_TRUE(archive_.resultHeaderLines.empty());
  EXPECT_EQ(results_.MarkedCount(), 0);
}

TEST_F(QueryResultsTest, MarksChooseTheRows) {
  // No mark: the current row alone; outside the list nothing.
  EXPECT_EQ(results_.ChosenRows(2), std::vector<int>{2});
  EXPECT_TRUE(results_.ChosenRows(5).empty());
  results_.ToggleMark(1);
  results_.ToggleMark(4);
  EXPECT_EQ(results_.ChosenRows(2), (std::vector<int>{1, 4}));
  // "*" twice leaves every mark as it was.
  results_.InvertMarks();
  EXPECT_EQ(results_.ChosenRows(2), (std::vector<int>{0, 2, 3}));
  results_.InvertMarks();
  EXPECT_EQ(results_.ChosenRows(2), (std::vector<int>{1, 4}));
  results_.MarkAll();
  EXPECT_EQ(results_.MarkedCount(), 5);
  results_.UnmarkAll();
  EXPECT_EQ(results_.ChosenRows(0), std::vector<int>{0});
}

TEST_F(QueryResultsTest, LoadsTheChosenChartsAndReopensTheArchiveOpenBefore) {
  EXPECT_EQ(LoadNames(results_.ChosenRows(3)), std::vector<std::string>{"Reform"});
  EXPECT_EQ(LoadNames({0, 3, 1, 4}),
            (std::vector<std::string>{"Cross", "Reform", "Ancient", "Julian"}));
  EXPECT_EQ(archive_.GetPath(), before_);
  EXPECT_EQ(archive_.IsOpen(), 1);
}

TEST_F(QueryResultsTest, AChangedArchiveIsLeftAlone) {
  Touch(second_);
  EXPECT_EQ(LoadNames({0, 3, 4}), std::vector<std::string>{"Cross"});
  EXPECT_EQ(TimesShown(prompts_, 611), 1);  // once for the archive, not per row
  EXPECT_EQ(TextShown(611), U("Архив ") + second_ +
                                U(" был изменен!\nЖелаемая операция с этим архивом невозможна."));
}

TEST_F(QueryResultsTest, ARowWhoseRecordNoLongerMatchesIsLeftAlone) {
  // Records 0 and 1 of first.arc change places, the file's time stamp put back as it was.
  const auto stamp = fs::last_write_time(first_);
  {
    Archive other(slots_);
    ASSERT_EQ(other.OpenByName(first_), 0);
    other.Entry(1).mark = 'Y';
    ASSERT_EQ(other.Records().ChartUpDown(true), 0);
  }
  fs::last_write_time(first_, stamp);
  EXPECT_EQ(LoadNames({0, 1}), std::vector<std::string>{"Ancient"});
  EXPECT_EQ(TextShown(1923),
            U("Запись архива не совпадает с найденной, операция с ней невозможна:\nCross"));
}

TEST_F(QueryResultsTest, DeleteAcrossTwoArchivesKeepsTheOtherRowsOnTheirCharts) {
  results_.ToggleMark(0);  // first.arc record 1
  results_.ToggleMark(3);  // second.arc record 2
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  const QueryRowsDone done = results_.Delete(archive_, results_.ChosenRows(0));
  prompts_.VerifyAllUsed();
  EXPECT_EQ(done.done, 2);
  EXPECT_EQ(TextShown(484), U("Вы действительно хотите удалить эти гороскопы?"));
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"Ancient", "Space", "Julian"}));
  EXPECT_EQ(results_.Row(0).record, 2);
  EXPECT_EQ(results_.Row(2).record, 2);
  // Each remaining row opens its own chart: the stamps follow the files, the numbers the records.
  EXPECT_EQ(LoadNames({0, 1, 2}), (std::vector<std::string>{"Ancient", "Space", "Julian"}));
  EXPECT_EQ(TimesShown(prompts_, 611), 0);
  EXPECT_EQ(archive_.GetPath(), before_);
}

TEST_F(QueryResultsTest, DeleteAskedNoDoesNothing) {
  prompts_.Expect(kMsgDeleteCharts, Answer::No);
  EXPECT_EQ(results_.Delete(archive_, {0}).done, 0);
  EXPECT_EQ(results_.Count(), 5);
  Archive other(slots_);
  ASSERT_EQ(other.OpenByName(first_), 0);
  EXPECT_EQ(other.RecordCount(), 8);
}

TEST_F(QueryResultsTest, DeletingEveryChartOfAnArchiveSaysItsFileGoes) {
  // An archive of one chart that holds: its row is all it has.
  const std::string single =
      WriteTextArchive("single.arc",
                       "chart\tOne\tOne\t01.01.2000\t12:00\t+00:00\t00:00N\t000:00E\n"
                       "point\t0\t0\t0\t1\npoint\t1\t90\t0\t12\n");
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  Run({false, {{single, true}, {second_, true}}});
  QueryResults results;
  results.TakeOver(archive_);
  ASSERT_EQ(results.Count(), 3);
  results.MarkAll();
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  EXPECT_EQ(results.Delete(archive_, results.ChosenRows(0)).done, 3);
  EXPECT_EQ(TextShown(484),
            U("Вы действительно хотите удалить эти гороскопы?\n\nИз этих архивов будут удалены "
              "все гороскопы, а файлы архивов будут удалены:\n") +
                single);
  EXPECT_EQ(results.Count(), 0);
  EXPECT_FALSE(fs::exists(single));
  Archive other(slots_);
  ASSERT_EQ(other.OpenByName(second_), 0);
  EXPECT_EQ(other.RecordCount(), 6);
}

TEST_F(QueryResultsTest, CopyCountsWhatWasCopiedAndWhatWasSkipped) {
  const std::string target = (folder_ / "copy.arc").string();
  results_.MarkAll();
  Touch(second_);
  prompts_.ExpectFile(target);
  QueryRowsDone done = results_.Copy(archive_, results_.ChosenRows(0));
  EXPECT_EQ(done.done, 3);
  EXPECT_EQ(done.skipped, 2);
  EXPECT_EQ(TextShown(1922), U("Скопировано гороскопов - 3\nПропущено гороскопов - 2"));
  Archive copy(slots_);
  ASSERT_EQ(copy.OpenByName(target), 0);
  ASSERT_EQ(copy.RecordCount(), 3);
  EXPECT_EQ(copy.Entry(2).name, "Space");
  EXPECT_EQ(archive_.GetPath(), before_);

  prompts_.ExpectFile("");  // cancelled: nothing copied, nothing told
  const std::size_t shown = prompts_.shown.size();
  EXPECT_EQ(results_.Copy(archive_, {0}).done, 0);
  EXPECT_EQ(prompts_.shown.size(), shown);
  prompts_.VerifyAllUsed();
}

TEST_F(QueryResultsTest, CopyIntoAnArchiveOfTheResults) {
  // Into first.arc: its own row is skipped, Reform appended; first.arc's rows still open their
  // charts afterwards.
  prompts_.ExpectFile(first_);
  const QueryRowsDone done = results_.Copy(archive_, {0, 3});
  EXPECT_EQ(done.done, 1);
  EXPECT_EQ(done.skipped, 1);
  EXPECT_EQ(LoadNames({0, 1, 2, 3}),
            (std::vector<std::string>{"Cross", "Ancient", "Space", "Reform"}));
  EXPECT_EQ(TimesShown(prompts_, 611), 0);
  Archive other(slots_);
  ASSERT_EQ(other.OpenByName(first_), 0);
  ASSERT_EQ(other.RecordCount(), 9);
  EXPECT_EQ(other.Entry(8).name, "Reform");
}

}  // namespace
