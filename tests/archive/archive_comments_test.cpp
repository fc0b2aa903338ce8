// Comment texts of archive records and chart comment pages.
#include <map>
#include <random>

#include "archive/comments/chart_comments.h"
#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace archive_test {
namespace {

// Model check: random appends, replacements and purges over records and pages, with deletions
// of records and trips through a chart's page files; after every step each text reads back
// equal and every byte of a comment file belongs to exactly one text.
TEST_F(ArchiveTest, CommentStoreFollowsAModel) {
  std::vector<Chart> charts;
  for (int i = 0; i < 8; ++i) charts.push_back(MakeChart("R" + std::to_string(i)));
  OpenArchive("m.arc", kLayout4400, charts);
  archive_.saveTargetMode = 0;
  std::vector<std::map<int, std::string>> model(charts.size());
  std::mt19937 random(20261207);
  auto randomText = [&] {
    std::string t(std::uniform_int_distribution<int>(1, 40)(random), ' ');
    for (char& c : t) c = static_cast<char>(std::uniform_int_distribution<int>(0x21, 0xFF)(random));
    return t;
  };
  auto check = [&](int step) {
    ASSERT_EQ(archive_.RecordCount(), static_cast<int>(model.size())) << step;
    std::array<std::size_t, kCommentPages> total{};
    for (int n = 0; n < archive_.RecordCount(); ++n) {
      for (int k = 0; k < kCommentPages; ++k) {
        std::string text;
        const auto it = model[static_cast<std::size_t>(n)].find(k);
        const int result = archive_.Comments().LoadComment(n, k, text);
        if (it == model[static_cast<std::size_t>(n)].end()) {
          EXPECT_EQ(result, -1) << "step " << step << " record " << n << " page " << k;
        } else {
          EXPECT_EQ(result, 0) << "step " << step << " record " << n << " page " << k;
          EXPECT_EQ(text, it->second) << "step " << step << " record " << n << " page " << k;
          total[static_cast<std::size_t>(k)] += it->second.size();
        }
      }
    }
    for (int k = 0; k < kCommentPages; ++k) {
      const auto file = ArchiveCommentFileName(PathOf("m.arc"), k);
      if (total[static_cast<std::size_t>(k)] == 0) {
        EXPECT_FALSE(std::filesystem::exists(file)) << "step " << step << " page " << k;
      } else {
        EXPECT_EQ(std::filesystem::file_size(file), total[static_cast<std::size_t>(k)])
            << "step " << step << " page " << k;
      }
    }
  };
  for (int step = 0; step < 200; ++step) {
    const int action = std::uniform_int_distribution<int>(0, 99)(random);
    const int n = std::uniform_int_distribution<int>(0, archive_.RecordCount() - 1)(random);
    if (action < 80) {  // store a text, or an empty one
      const int k = std::uniform_int_distribution<int>(0, kCommentPages - 1)(random);
      const bool purge = std::uniform_int_distribution<int>(0, 3)(random) == 0;
      const std::string text = purge ? std::string() : randomText();
      archive_.Comments().SetCommentText(text);
      ASSERT_EQ(archive_.Comments().SaveComment(n, k), 0) << step;
      if (purge)
        model[static_cast<std::size_t>(n)].erase(k);
      else
        model[static_cast<std::size_t>(n)][k] = text;
    } else if (action < 88 && archive_.RecordCount() > 3) {  // delete a record
      archive_.Entry(n).mark = 'Y';
      ASSERT_EQ(archive_.Records().Delete(false), 0) << step;
      model.erase(model.begin() + n);
    } else if (action < 96) {  // through a chart's pages into a new record
      Chart chart;
      ASSERT_EQ(archive_.LoadChart(chart, n, true), n);
      const bool hasText = !model[static_cast<std::size_t>(n)].empty();
      ASSERT_EQ(chart.commentSlot > 0, hasText) << step;
      for (int k = 0; k < kCommentPages; ++k) {
        std::filesystem::path page;
        const auto& texts = model[static_cast<std::size_t>(n)];
        const auto it = texts.find(k);
        ASSERT_EQ(GetCommentFilePath(chart, k, &page), it != texts.end() ? 1 : 0);
        if (it != texts.end()) {
          EXPECT_EQ(ReadFile(page), it->second);
        }
      }
      ASSERT_EQ(archive_.SaveToArchive(chart), 0) << step;
      model.push_back(model[static_cast<std::size_t>(n)]);
      DeleteCommentFiles(chart);
      slots_.Release(chart.commentSlot);
    } else {  // the file's blocks agree with the index
      ASSERT_EQ(archive_.CreateIndex(), 0);
    }
    check(step);
    if (HasFatalFailure()) return;
  }
}

TEST_F(ArchiveTest, ReplacingATextMovesOnlyLaterTextsOfItsPage) {
  WriteFile(PathOf("r.ar1"), "0123456789abcdefXYZ");
  WriteFile(PathOf("r.ar4"), "other");
  OpenArchive("r.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")},
              {Block({{1, 0, 10}, {4, 0, 5}}), Block({{1, 10, 6}}), Block({{1, 16, 3}})});
  archive_.Comments().SetCommentText("fifteen chars!!");
  ASSERT_EQ(archive_.Comments().SaveComment(0, 1), 0);
  EXPECT_EQ(ReadFile(PathOf("r.ar1")), "fifteen chars!!abcdefXYZ");
  EXPECT_EQ(archive_.Entry(0).comments, Block({{1, 0, 15}, {4, 0, 5}}));
  EXPECT_EQ(archive_.Entry(1).comments, Block({{1, 15, 6}}));
  EXPECT_EQ(archive_.Entry(2).comments, Block({{1, 21, 3}}));
  EXPECT_EQ(ReadFile(PathOf("r.ar4")), "other");
  ASSERT_EQ(archive_.CreateIndex(), 0);  // the file holds the same blocks
  EXPECT_EQ(archive_.Entry(2).comments, Block({{1, 21, 3}}));
  // Cutting out the only text of page 4 removes its comment file.
  archive_.Comments().SetCommentText("");
  ASSERT_EQ(archive_.Comments().SaveComment(0, 4), 0);
  EXPECT_FALSE(std::filesystem::exists(PathOf("r.ar4")));
  EXPECT_EQ(archive_.Entry(0).comments, Block({{1, 0, 15}}));
  // An empty text on an empty page changes no comment file.
  const auto before = Snapshot(folder_.Path());
  ASSERT_EQ(archive_.Comments().SaveComment(1, 6), 0);
  EXPECT_EQ(Snapshot(folder_.Path()), before);
}

TEST_F(ArchiveTest, LongAndMissingTextsAreHandledSafely) {
  WriteFile(PathOf("l.ar0"), std::string(32767, 'q'));
  OpenArchive("l.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")},
              {Block({{0, 0, 32767}}), Block({{0, 0, 40000}}), Block({{3, 0, 5}})});
  std::string text;
  EXPECT_EQ(archive_.Comments().LoadComment(0, 0, text), 0);
  EXPECT_EQ(text, std::string(32000, 'q'));                    // never more than the comment buffer
  EXPECT_EQ(archive_.Comments().LoadComment(1, 0, text), -1);  // 40000: no text
  EXPECT_EQ(text, "");
  EXPECT_EQ(archive_.Comments().LoadComment(5, 0, text), -1);  // no such record
  EXPECT_EQ(archive_.Comments().LoadComment(2, 3, text), -1);  // the comment file is missing
  EXPECT_TRUE(prompts_.WasShown(-kErrCannotOpen));
  // Replacing a text whose comment file is lost: message 514, nothing written.
  archive_.Comments().SetCommentText("new");
  EXPECT_EQ(archive_.Comments().SaveComment(2, 3), -1);
  EXPECT_TRUE(prompts_.WasShown(514));
  EXPECT_FALSE(std::filesystem::exists(PathOf("l.ar3")));
  // The comment buffer holds at most 32000 bytes.
  archive_.Comments().SetCommentText(std::string(40000, 'w'));
  EXPECT_EQ(archive_.Comments().CommentText().size(), 32000u);
  EXPECT_EQ(archive_.Comments().IsCommentUnchanged(std::string(32000, 'w')), 1);
  EXPECT_EQ(archive_.Comments().IsCommentUnchanged("w"), 0);
}

TEST_F(ArchiveTest, LostCommentFileIsNamedInTheMessageInCyrillic) {
  // Paths are UTF-8 on disk; messages are shown in code page 1251.
  std::filesystem::create_directory(folder_ / "Архив");
  OpenArchive("Архив/мой.arc", kLayout4400, {MakeChart("A")}, {Block({{3, 0, 5}})});
  archive_.Comments().SetCommentText("new");
  EXPECT_EQ(archive_.Comments().SaveComment(0, 3), -1);
  ASSERT_TRUE(prompts_.WasShown(514));
  const std::string expected =
      GetMessageText(kMsgCommentFileLost) + " " + Cp1251(PathOf("Архив/мой.ar3")) + " !";
  EXPECT_EQ(prompts_.shown.back().text, expected);
}

TEST_F(ArchiveTest, RecordTextsBecomeChartPages) {
  WriteFile(PathOf("p.ar2"), "xxPAGE TWO");
  WriteFile(PathOf("p.ar7"), "SEVEN");
  OpenArchive("p.arc", kLayout4400, {MakeChart("A"), MakeChart("B")},
              {Block({{2, 2, 8}, {7, 0, 5}}), CommentRefBlock()});
  Chart chart;
  chart.commentSlot = 77;  // whatever the chart held before
  ASSERT_EQ(archive_.LoadChart(chart, 1, true), 1);
  EXPECT_EQ(chart.commentSlot, 0);
  ASSERT_EQ(archive_.LoadChart(chart, 0, true), 0);
  EXPECT_EQ(chart.commentSlot, 1);
  EXPECT_TRUE(slots_.IsTaken(1));
  EXPECT_EQ(ReadFile(PathOf("Velm0012.txt")), "PAGE TWO");
  EXPECT_EQ(ReadFile(PathOf("Velm0017.txt")), "SEVEN");
  EXPECT_EQ(HasCommentPages(chart), 1);
  EXPECT_EQ(GetCommentFilePath(chart, 3), 0);
  // A slot whose page files a session left behind is passed over and its pages stay as they are.
  WriteFile(PathOf("Velm0023.txt"), "LEFT BY A SESSION");
  Chart second;
  ASSERT_EQ(archive_.LoadChart(second, 0, true), 0);
  EXPECT_EQ(second.commentSlot, 3);
  EXPECT_FALSE(slots_.IsTaken(2));
  EXPECT_EQ(ReadFile(PathOf("Velm0023.txt")), "LEFT BY A SESSION");
  EXPECT_EQ(ReadFile(PathOf("Velm0032.txt")), "PAGE TWO");
  DeleteCommentFiles(second);
  // Without comments the chart holds no slot.
  Chart plain;
  ASSERT_EQ(archive_.LoadChart(plain, 0, false), 0);
  EXPECT_EQ(plain.commentSlot, 0);
  DeleteCommentFiles(chart);
  EXPECT_EQ(HasCommentPages(chart), 0);
  // Every usable slot taken: message 503, the chart opens without its comment.
  while (slots_.GetFreeCommentSlot() != -1) {
  }
  ASSERT_EQ(archive_.LoadChart(chart, 0, true), 0);
  EXPECT_EQ(chart.commentSlot, 0);
  EXPECT_TRUE(prompts_.WasShown(503));
}

TEST(CommentSlots, SlotsOneTo255AreHandedOutInOrder) {
  CommentSlotTable table;
  for (int expected = 1; expected <= 255; ++expected)
    ASSERT_EQ(table.GetFreeCommentSlot(), expected);
  EXPECT_EQ(table.GetFreeCommentSlot(), -1);  // 256 does not fit the chart's byte
  table.Release(17);
  EXPECT_EQ(table.GetFreeCommentSlot(), 17);
  table.Mark(300, true);  // ignored
  EXPECT_FALSE(table.IsTaken(0));
}

TEST_F(ArchiveTest, CheckCommentFilesOfAChartFromTheLastSession) {
  Chart kept = MakeChart("Kept");
  kept.commentSlot = 12;
  WriteFile(PathOf("Velm0125.txt"), "page five");
  CheckCommentFiles(kept, slots_);
  EXPECT_EQ(kept.commentSlot, 12);
  EXPECT_TRUE(slots_.IsTaken(12));
  Chart lost = MakeChart("Lost");
  lost.commentSlot = 13;
  CheckCommentFiles(lost, slots_);
  EXPECT_EQ(lost.commentSlot, 0);
  EXPECT_FALSE(slots_.IsTaken(13));
  ASSERT_TRUE(prompts_.WasShown(504));
  EXPECT_NE(prompts_.shown.back().text.find("Lost - title Lost"), std::string::npos);
}

}  // namespace
}  // namespace archive_test
