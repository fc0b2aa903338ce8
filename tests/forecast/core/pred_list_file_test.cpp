// Prediction-list files and the list dialogs' page models: every line read and written, lines
// that are no record skipped and kept aside, every failed step of a save or an append leaving the
// old file, the lists of a folder, the hand-over, the sort, and the rules of the two dialogs.
#include "forecast/core/pred_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "forecast/core/pred_list_pages.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/numbers/vector_state.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::Answer;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

// A record of the Sun exact on point `target` at the given moment.
PredListRecord Rec(int day, int month, int year, int hours, std::string comment = {},
                   int target = 0) {
  PredListRecord r;
  EXPECT_TRUE(r.when.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(r.when.time.SetTime(hours, 0).ok());
  r.target = static_cast<std::int16_t>(target);
  r.movingLongitude = r.targetLongitude = 10.0;
  r.comment = std::move(comment);
  return r;
}

std::string Lines(const std::vector<PredListRecord>& records) {
  std::string text;
  for (const PredListRecord& r : records) text += r.ToText() + "\n";
  return text;
}

std::vector<std::string> Comments(const std::vector<PredListRecord>& records) {
  std::vector<std::string> comments;
  for (const PredListRecord& r : records) comments.push_back(r.comment);
  return comments;
}

TEST(PredListFile, EveryLineIsReadAndEveryRecordWritten) {
  TempFolder folder;
  std::vector<PredListRecord> records;
  for (int i = 0; i < 1200; ++i) records.push_back(Rec(1 + i % 28, 1 + i % 12, 1900 + i, i % 24));
  const std::string bytes = Lines(records);
  WriteFile(folder / "BIG.pls", bytes);
  PredList list;
  ASSERT_TRUE(list.Load(folder / "BIG.pls").ok());
  EXPECT_EQ(list.Count(), 1200);
  ASSERT_TRUE(list.Save(folder / "BIG.pls").ok());
  EXPECT_EQ(ReadFile(folder / "BIG.pls"), bytes);
  EXPECT_FALSE(fs::exists(folder / "BIG.pls.bad"));
}

TEST(PredListFile, LinesThatAreNoRecordAreSkippedCountedAndKeptAside) {
  TempFolder folder;
  const std::string good = Lines({Rec(1, 1, 2000, 1), Rec(2, 1, 2000, 2)});
  const std::string bytes = good.substr(0, good.size() / 2) + "\r\n  \n" + "not a record\n" +
                            good.substr(good.size() / 2) + "4 0 0 L\n";
  WriteFile(folder / "L.pls", bytes);
  PredList list;
  ASSERT_TRUE(list.Load(folder / "L.pls").ok());
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.SkippedLines(), 2);  // the blank line is passed over without a count
  ScriptedPrompter prompts;
  EXPECT_NE(SkippedLinesText(2, folder / "L.pls").find("(2)"), std::string::npos);
  ASSERT_TRUE(list.Save(folder / "L.pls").ok());
  EXPECT_EQ(ReadFile(folder / "L.pls"), good);
  EXPECT_EQ(ReadFile(folder / "L.pls.bad"), bytes);  // the skipped lines are not lost
  // Saved again, the good file is not kept aside a second time.
  ASSERT_TRUE(list.Save(folder / "L.pls").ok());
  EXPECT_FALSE(fs::exists(folder / "L.pls.bad2"));
}

TEST(PredListFile, AFileThatCannotBeReadLeavesTheRecords) {
  TempFolder folder;
  PredList list;
  list.records = {Rec(1, 1, 2000, 0)};
  EXPECT_EQ(list.Load(folder / "none.pls").ErrorCode(), kErrCannotOpen);
  EXPECT_EQ(list.Count(), 1);
}

// Every create, write and rename of a save and of an append made to fail in turn.
TEST(PredListFile, EveryFailedStepOfASaveOrAnAppendLeavesTheOldFile) {
  TempFolder folder;
  const fs::path file = folder / "F.pls";
  const std::string old = Lines({Rec(1, 1, 2000, 0, "old")});
  const struct {
    const char* name;
    std::function<Status()> write;
    std::string after;
  } cases[] = {
      {"save",
       [&] {
         PredList list;
         list.records = {Rec(2, 2, 2002, 0, "new")};
         return list.Save(file);
       },
       Lines({Rec(2, 2, 2002, 0, "new")})},
      {"append", [&] { return AppendPredListRecords(file, {Rec(3, 3, 2003, 0)}); },
       old + Lines({Rec(3, 3, 2003, 0)})},
  };
  for (const auto& c : cases) {
    int failures = 0;
    for (int n = 1;; ++n) {
      WriteFile(file, old);
      ArmFileFault(n);
      const Status st = c.write();
      const int counted = CountedFileOperations();
      ArmFileFault(0);
      if (n > counted) {
        ASSERT_TRUE(st.ok()) << c.name;
        EXPECT_EQ(ReadFile(file), c.after) << c.name;
        break;
      }
      ++failures;
      EXPECT_FALSE(st.ok()) << c.name << " step " << n;
      EXPECT_EQ(ReadFile(file), old) << c.name << " step " << n;
      EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1)
          << c.name << " step " << n << ": a temporary file was left";
    }
    EXPECT_GE(failures, 3) << c.name;  // create, write, rename at least
  }
}

TEST(PredListFile, AppendingEndsAnUnfinishedLastLineFirst) {
  TempFolder folder;
  const std::string first = Rec(1, 1, 2000, 0).ToText();
  WriteFile(folder / "A.pls", first);  // no line end
  ASSERT_TRUE(AppendPredListRecords(folder / "A.pls", {Rec(2, 1, 2000, 0)}).ok());
  PredList list;
  ASSERT_TRUE(list.Load(folder / "A.pls").ok());
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.SkippedLines(), 0);
  ASSERT_TRUE(AppendPredListRecords(folder / "NEW.pls", {Rec(3, 1, 2000, 0)}).ok());
  EXPECT_EQ(ReadFile(folder / "NEW.pls"), Lines({Rec(3, 1, 2000, 0)}));
}

TEST(PredListHandOver, AppendsOneLinePerRecordAndSkipsRefusedEvents) {
  TempFolder folder;
  const fs::path file = folder / "H.pls";
  const auto make = [](int event) -> std::optional<PredListRecord> {
    if (event == 1) return std::nullopt;  // an ingress
    PredListRecord r = Rec(1 + event, 1, 2000, 0);
    if (event == 2) r.aspect = kPredUnknownAspect;
    return r;
  };
  PredListHandOver done = HandOverEvents(file, {0, 1, 2, 3}, make);
  ASSERT_TRUE(done.status.ok());
  EXPECT_EQ(done.written, 3);
  EXPECT_TRUE(done.unknownAspect);
  EXPECT_EQ(ReadFile(file), Lines({*make(0), *make(2), *make(3)}));
  done = HandOverEvents(file, {3}, make);
  EXPECT_EQ(done.written, 1);
  EXPECT_FALSE(done.unknownAspect);
  EXPECT_EQ(ReadFile(file), Lines({*make(0), *make(2), *make(3), *make(3)}));
  // Nothing to hand over: no file is made.
  done = HandOverEvents(folder / "EMPTY.pls", {1}, make);
  EXPECT_EQ(done.written, 0);
  EXPECT_FALSE(fs::exists(folder / "EMPTY.pls"));
}

TEST(PredListFolder, ListsEveryLetterCaseOfTheExtensionUnderTheFilesOwnName) {
  TempFolder folder;
  for (const char* name : {"b.pls", "a.PLS", "c.txt", "pls", ".pls", "\xD0\x96.Pls", "\xFF.pls"})
    WriteFile(folder / name, "");
  fs::create_directory(folder / "d.pls");
  std::vector<std::string> names;
  for (const PredListFile& f : EnumeratePredLists(folder.Path())) {
    names.push_back(f.name);
    EXPECT_TRUE(fs::is_regular_file(f.path)) << f.name;
  }
  // "Ж" in code page 1251; a name that is no UTF-8 is left out.
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", Cp1251("Ж")}));
  EXPECT_EQ(PredListPath(folder.Path(), "a"), folder / "a.PLS");
  EXPECT_EQ(PredListPath(folder.Path(), "A"), folder / "a.PLS");
  EXPECT_EQ(PredListPath(folder.Path(), Cp1251("Ж")), folder / "\xD0\x96.Pls");
  EXPECT_EQ(PredListPath(folder.Path(), Cp1251("НОВЫЙ")), folder / "НОВЫЙ.pls");
  EXPECT_TRUE(EnumeratePredLists(folder / "missing").empty());
}

TEST(PredListSort, MovesARecordAheadOnlyWhenItIsStrictlyEarlier) {
  PredList list;
  list.records = {Rec(3, 1, 2000, 0, "late"), Rec(2, 1, 2000, 5, "same-1"),
                  Rec(1, 1, 2000, 0, "early"), Rec(2, 1, 2000, 5, "same-2"),
                  Rec(2, 1, 2000, 4, "before-same")};
  list.SortByMoment();
  EXPECT_EQ(Comments(list.records),
            (std::vector<std::string>{"early", "before-same", "same-1", "same-2", "late"}));
  const std::vector<PredListRecord> sorted = list.records;
  list.SortByMoment();
  EXPECT_EQ(list.records, sorted);
}

// Reading and sorting a list follow a window's dialog: each starts by clearing the upper halves
// of the vector registers that the window's painting left in use.
TEST(PredListFile, LoadAndSortLeaveTheUpperHalvesUnused) {
  const TempFolder dir;
  const fs::path file = dir / "LIST.pls";
  PredList list;
  list.records = {Rec(3, 1, 2000, 0, "late"), Rec(1, 1, 2000, 0, "early")};
  ASSERT_TRUE(list.Save(file).ok());
  if (!testing_support::DirtyVectorUpperHalves()) GTEST_SKIP() << "no vector state shown";
  (void)list.Load(file);
  EXPECT_FALSE(VectorUpperStateInUse()) << "load";
  ASSERT_TRUE(testing_support::DirtyVectorUpperHalves());
  list.SortByMoment();
  EXPECT_FALSE(VectorUpperStateInUse()) << "sort";
}

// ---- the transfer dialog -----------------------------------------------------------------------

TEST(PredListTransferPage, ChoicesByClickAndByTheListsThere) {
  TempFolder folder;
  PredListTransferPage none(-1, folder.Path(), "X");
  EXPECT_FALSE(none.CountEnabled());
  EXPECT_FALSE(none.ExistingEnabled());
  EXPECT_EQ(none.target, PredListTransferPage::kNew);
  EXPECT_TRUE(none.NewNameEnabled());
  none.newName = " my list?";
  ASSERT_TRUE(none.Accept(true).ok());
  EXPECT_EQ(none.ListName(), "MYLIST_");
  EXPECT_EQ(none.ListFile(), folder / "MYLIST_.pls");
  EXPECT_TRUE(none.OpenList());
  EXPECT_EQ(none.Range(3), (std::vector<int>{0, 1, 2}));
  none.countChoice = PredListTransferPage::kClickedEvent;  // not offered without a click
  EXPECT_EQ(none.Range(3), (std::vector<int>{0, 1, 2}));
  none.newName = "   ";
  EXPECT_EQ(none.Accept(false).MessageNumber(), kMsgNewListName);

  WriteFile(folder / "first.pls", "");
  WriteFile(folder / "Second.PLS", "");
  PredListTransferPage two(4, folder.Path(), "SECOND");
  EXPECT_TRUE(two.CountEnabled());
  EXPECT_EQ(two.target, PredListTransferPage::kExisting);
  EXPECT_EQ(two.selectedList, 1);
  EXPECT_TRUE(two.ListChoiceEnabled());
  EXPECT_FALSE(two.NewNameEnabled());
  ASSERT_TRUE(two.Accept(false).ok());
  EXPECT_EQ(two.ListName(), "Second");
  EXPECT_EQ(two.ListFile(), folder / "Second.PLS");
  two.countChoice = PredListTransferPage::kClickedEvent;
  EXPECT_EQ(two.Range(10), (std::vector<int>{4}));
  EXPECT_EQ(two.Range(4), (std::vector<int>{}));
  EXPECT_EQ(PredListTransferPage(-1, folder.Path(), "none").selectedList, 0);
}

// ---- the list dialog ---------------------------------------------------------------------------

class PredictListPageTest : public ::testing::Test {
 protected:
  PredictListPageTest() {
    WriteFile(folder_ / "ONE.pls", Lines(records_));
    WriteFile(folder_ / "TWO.pls", Lines({Rec(9, 9, 2009, 9, "two")}));
  }
  std::vector<PredListRecord> Saved(const char* name) const {
    PredList list;
    EXPECT_TRUE(list.Load(folder_ / name).ok());
    return list.records;
  }

  TempFolder folder_;
  ScriptedPrompter prompts_;
  std::vector<PredListRecord> records_{Rec(3, 1, 2000, 0, "c"), Rec(1, 1, 2000, 0, "a"),
                                       Rec(2, 1, 2000, 0, "b")};
  PredictListPage page_{folder_.Path()};
};

TEST_F(PredictListPageTest, OpensTheLastUsedListOrTheFirst) {
  PredictListPage empty(folder_ / "nothing");
  EXPECT_FALSE(empty.Open("ONE", 2500, 120));
  ASSERT_TRUE(page_.Open("two", 99999, 115));
  EXPECT_EQ(page_.ListName(), "TWO");
  EXPECT_EQ(page_.Current(), 0);
  EXPECT_EQ(page_.comment, "two");
  EXPECT_EQ(page_.fontSize, PredictListPage::kMaxFontSize);
  EXPECT_DOUBLE_EQ(page_.interval, 1.15);
  PredictListPage other(folder_.Path());
  ASSERT_TRUE(other.Open("NOT THERE", 2500, 120));
  EXPECT_EQ(other.ListName(), "ONE");
  EXPECT_EQ(other.Ok(), PredictListPage::Outcome::kClosedOk);
  EXPECT_EQ(Saved("ONE.pls"), records_);
}

TEST_F(PredictListPageTest, ModifiedWhenTheRecordsDiffer) {
  const struct {
    const char* name;
    std::function<void(PredictListPage&)> act;
    bool modified;
  } rows[] = {
      {"first_up", [](PredictListPage& p) { p.MoveUp(); }, false},
      {"last_down",
       [](PredictListPage& p) {
         p.SelectRecord(2);
         p.MoveDown();
       },
       false},
      {"down", [](PredictListPage& p) { p.MoveDown(); }, true},
      {"status", [](PredictListPage& p) { p.ToggleStatus(); }, true},
      {"status_twice",
       [](PredictListPage& p) {
         p.ToggleStatus();
         p.ToggleStatus();
       },
       false},
      {"sort", [](PredictListPage& p) { p.Sort(); }, true},
      {"comment_typed", [](PredictListPage& p) { p.comment = "typed"; }, true},
      {"select_only", [](PredictListPage& p) { p.SelectRecord(1); }, false},
  };
  for (const auto& row : rows) {
    PredictListPage page(folder_.Path());
    ASSERT_TRUE(page.Open("ONE", 2500, 120));
    row.act(page);
    EXPECT_EQ(page.Modified(), row.modified) << row.name;
  }
}

TEST_F(PredictListPageTest, CancelAsksBeforeChangesAreDropped) {
  ASSERT_TRUE(page_.Open("ONE", 2500, 120));
  EXPECT_EQ(page_.Cancel(), PredictListPage::Outcome::kClosedCancel);  // nothing changed
  page_.ToggleStatus();
  page_.comment = "edited";
  prompts_.Expect(kMsgListNotSaved, Answer::No);
  EXPECT_EQ(page_.Cancel(), PredictListPage::Outcome::kStay);
  prompts_.Expect(kMsgListNotSaved, Answer::Yes);
  EXPECT_EQ(page_.Cancel(), PredictListPage::Outcome::kClosedCancel);
  EXPECT_EQ(Saved("ONE.pls"), records_);
  prompts_.VerifyAllUsed();
}

TEST_F(PredictListPageTest, OkAndPrintStoreTheCommentBeingTyped) {
  ASSERT_TRUE(page_.Open("ONE", 2500, 120));
  page_.SelectRecord(1);
  page_.comment = "new\tcomment";
  page_.ToggleStatus();
  ASSERT_TRUE(page_.Print());
  std::vector<PredListRecord> expected = records_;
  expected[1].comment = "new comment";
  expected[1].status = 'S';
  EXPECT_EQ(Saved("ONE.pls"), expected);
  page_.comment = "again";
  EXPECT_EQ(page_.Ok(), PredictListPage::Outcome::kClosedOk);
  expected[1].comment = "again";
  EXPECT_EQ(Saved("ONE.pls"), expected);
}

TEST_F(PredictListPageTest, AFailedSaveKeepsTheDialogOpenAndTheOldFile) {
  ASSERT_TRUE(page_.Open("ONE", 2500, 120));
  page_.comment = "lost?";
  ArmFileFault(1);
  EXPECT_EQ(page_.Ok(), PredictListPage::Outcome::kStay);
  ArmFileFault(0);
  EXPECT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrCannotCreate)));
  EXPECT_EQ(Saved("ONE.pls"), records_);
  EXPECT_EQ(page_.comment, "lost?");
  EXPECT_TRUE(page_.Modified());
}

TEST_F(PredictListPageTest, DeleteSortAndChooseAnotherList) {
  ASSERT_TRUE(page_.Open("ONE", 2500, 120));
  page_.SelectRecord(2);
  prompts_.Expect(kMsgDeleteListEvent, Answer::No);
  page_.DeleteRecord();
  EXPECT_EQ(page_.Records().size(), 3u);
  prompts_.Expect(kMsgDeleteListEvent, Answer::Yes);
  page_.DeleteRecord();
  EXPECT_EQ(Comments(page_.Records()), (std::vector<std::string>{"c", "a"}));
  EXPECT_EQ(page_.Current(), 1);  // the new last line
  EXPECT_EQ(page_.comment, "a");
  page_.Sort();
  EXPECT_EQ(Comments(page_.Records()), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(page_.Current(), 0);
  ASSERT_TRUE(page_.ChooseList(1));  // the changed list is saved first
  EXPECT_EQ(Comments(Saved("ONE.pls")), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(page_.ListName(), "TWO");
  EXPECT_EQ(page_.comment, "two");
  prompts_.VerifyAllUsed();
}

TEST_F(PredictListPageTest, DeletingTheOnlyListClosesTheDialog) {
  ASSERT_TRUE(page_.Open("ONE", 2500, 120));
  prompts_.Expect(kMsgDeletePredictionList, Answer::No);
  EXPECT_EQ(page_.DeleteList(), PredictListPage::Outcome::kStay);
  prompts_.Expect(kMsgDeletePredictionList, Answer::Yes);
  EXPECT_EQ(page_.DeleteList(), PredictListPage::Outcome::kStay);
  EXPECT_FALSE(fs::exists(folder_ / "ONE.pls"));
  EXPECT_EQ(page_.ListName(), "TWO");
  EXPECT_EQ(page_.comment, "two");
  prompts_.Expect(kMsgDeletePredictionList, Answer::Yes);
  EXPECT_EQ(page_.DeleteList(), PredictListPage::Outcome::kClosedCancel);
  EXPECT_TRUE(EnumeratePredLists(folder_.Path()).empty());
  EXPECT_EQ(prompts_.shown.back().text,
            Cp1251("Вы уверены, что хотите удалить список аспектов") + " TWO?");
}

TEST_F(PredictListPageTest, PrintValuesAreKeptRounded) {
  const struct {
    int fontSize;
    double interval;
    int storedSize, storedInterval;
  } rows[] = {{2500, 1.15, 2500, 115},
              {50, 0.014, 100, 10},
              {20000, 99.0, 10000, 1000},
              {1000, 0.29, 1000, 29}};
  for (const auto& row : rows) {
    page_.fontSize = row.fontSize;
    page_.interval = row.interval;
    EXPECT_EQ(page_.StoredFontSize(), row.storedSize) << row.interval;
    EXPECT_EQ(page_.StoredInterval(), row.storedInterval) << row.interval;
  }
}

TEST_F(PredictListPageTest, SkippedLinesAreReportedOnceAtLoading) {
  WriteFile(folder_ / "BAD.pls", Lines({Rec(1, 1, 2000, 0)}) + "junk\n");
  ASSERT_TRUE(page_.Open("BAD", 2500, 120));
  EXPECT_EQ(page_.Records().size(), 1u);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgListLinesSkipped);
}

}  // namespace
