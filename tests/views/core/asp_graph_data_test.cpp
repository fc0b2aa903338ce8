// The aspect graph's pair lists: the "velm.agr" lines (codes 'A' + value, system names padded and
// cut to 8 characters), the refused lines and what becomes of them, the store's edits and limits,
// the texts of pairs and the replacement of missing aspect systems.
#include "views/core/asp_graph_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "asp_graph_fixture.h"
#include "astro/aspects/aspectarium.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

using aspgraph_test::Pair;

// A well-formed line of one pair (Sun in transits to the radix Moon, "VELM"), period 5, house
// class 2, named "A".
const std::string kGoodLine = "BAGABAAVELM    FCA";

class AspGraphDataTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return folder_ / "velm.agr"; }
  TempFolder folder_;
  ScriptedPrompter prompts_;
  CAspGraphData data_;
};

TEST(AspGraphText, PairsAndMembersReadAsTheListsShowThem) {
  struct Row {
    AspGraphPair pair;
    const char* text;
  } rows[] = {
      {Pair(0, 6, 0, 0, 0, 0, "VELM"), "Солнце[Транз.] - Солнце[Рад.] {VELM}"},
      {Pair(46, 1, 0, 55, 0, 0, "VELM"), "Точка Жизни[Симв.дир.] - Упр. 10 дома[Рад.] {VELM}"},
      {Pair(4, 2, 1, 45, 10, 1, "ABC"), "Марс[Дир.ср.слн.][Обр] - 12 дом[Ср.пргр.][Обр] {ABC}"},
      {Pair(33, 5, 0, 34, 9, 0, ""), "Вертекс[Проф.] - 1 дом[Мин.пргр.] {}"},
  };
  for (const Row& row : rows) EXPECT_EQ(Utf8(aspgraph::PairText(row.pair)), row.text);
  EXPECT_EQ(Utf8(aspgraph::MemberName(57, false, true)), "Управитель 12 дома");
  // 46 is the life point only as the first member, 47..57 no first member at all.
  EXPECT_EQ(Utf8(aspgraph::MemberName(46, false)), "Упр. 1 дома");
  EXPECT_EQ(aspgraph::MemberName(47, true), "");
  EXPECT_EQ(aspgraph::MemberName(58, false), "");
}

TEST(AspGraphText, PeriodsOutsideTheTableReadAsFiftyYears) {
  EXPECT_EQ(aspgraph::TimeScaleOf(5).span, 371);
  EXPECT_EQ(aspgraph::TimeScaleOf(11).span, 18250);
  EXPECT_EQ(aspgraph::TimeScaleOf(-1).minorCount, 50);
}

TEST_F(AspGraphDataTest, ListsRoundTripWithSystemNamesPaddedAndCut) {
  ASSERT_TRUE(data_.Load(File()).ok());
  ASSERT_TRUE(data_.AddList(Cp1251("Транзиты"), 5, 2).ok());
  ASSERT_TRUE(data_.AddPair(0, Pair(0, 6, 0, 1, 0, 0, "AB")).ok());
  ASSERT_TRUE(data_.AddPair(0, Pair(46, 1, 1, 57, 0, 0, "LONGNAME9")).ok());
  ASSERT_TRUE(data_.AddPair(0, Pair(34, 10, 0, 45, 3, 1, "MY SYS")).ok());
  ASSERT_TRUE(data_.AddList("Empty", 10, 5).ok());
  ASSERT_TRUE(data_.Save().ok());

  const std::string expected = "D" + std::string("AGABAAAB      ") + "oBBzAALONGNAME" +
                               "cKAnDBMY SYS  " + "FC" + Cp1251("Транзиты") + "\nAKFEmpty\n";
  EXPECT_EQ(ReadFile(File()), expected);

  CAspGraphData again;
  ASSERT_TRUE(again.Load(File()).ok());
  ASSERT_EQ(again.ListCount(), 2);
  EXPECT_EQ(again.List(0).pairs[0].systemName, "AB");
  EXPECT_EQ(again.List(0).pairs[1].systemName, "LONGNAME");
  EXPECT_EQ(again.List(0).pairs[2], Pair(34, 10, 0, 45, 3, 1, "MY SYS"));
  EXPECT_EQ(again.List(0).name, Cp1251("Транзиты"));
  EXPECT_EQ(again.List(1), data_.List(1));
}

TEST_F(AspGraphDataTest, TheShippedStyleFixtureLoads) {
  ASSERT_TRUE(data_.Load(testing_support::FixturePath("aspgraph/velm.agr")).ok());
  ASSERT_EQ(data_.ListCount(), 2);
  EXPECT_EQ(data_.List(0).PairCount(), 4);
  EXPECT_EQ(data_.List(0).pairs[2], Pair(46, 1, 0, 55, 0, 0, "VELM"));
  EXPECT_EQ(Utf8(data_.List(1).name), "Дирекции");
  EXPECT_EQ(data_.List(1).houseOrbClass, 5);
}

TEST_F(AspGraphDataTest, LinesThatAreNoListAreRefused) {
  const std::string pairs24 = [] {
    std::string s(1, 'Y');
    for (int j = 0; j < 24; ++j) s += "AGABAAVELM    ";
    return s + "FC";
  }();
  struct Row {
    const char* name;
    std::string line;
    bool ok;
  } rows[] = {
      {"good", kGoodLine, true},
      {"24_pairs", pairs24 + "X", true},
      {"25_pairs", "Z" + pairs24.substr(1) + "AGABAAVELM    X", false},
      {"no_name", kGoodLine.substr(0, kGoodLine.size() - 1), false},
      {"one_short", kGoodLine.substr(0, kGoodLine.size() - 2), false},
      {"first_member_47", "BpGABAAVELM    FCA", false},
      {"life_point_first", "BoGABAAVELM    FCA", true},
      {"second_member_58", "BAGA{AAVELM    FCA", false},
      {"ruler_12_second", "BAGAzAAVELM    FCA", true},
      {"technique_11", "BALABAAVELM    FCA", false},
      {"converse_2", "BAGCBAAVELM    FCA", false},
      {"period_11", "BAGABAAVELM    LCA", false},
      {"house_class_0", "BAGABAAVELM    FAA", false},
      {"house_class_5", "BAGABAAVELM    FFA", true},
      {"house_class_6", "BAGABAAVELM    FGA", false},
      {"name_of_35", "AFC" + std::string(35, 'n'), true},
      {"name_of_36", "AFC" + std::string(36, 'n'), false},
      {"count_below_A", "@FCA", false},
  };
  for (const Row& row : rows) {
    AspGraphList list;
    EXPECT_EQ(CAspGraphData::ParseLine(row.line, list), row.ok) << row.name;
  }
}

TEST_F(AspGraphDataTest, RefusedLinesAreSkippedWithOneMessageAndKeptAsideOnSave) {
  WriteFile(File(), kGoodLine + "\r\n\nBAGABAAVELM    FG\n" + kGoodLine + "B\nZZZ\n" +
                        std::string(500, 'A') + "\n");
  const Status st = data_.Load(File());
  EXPECT_EQ(st.ErrorCode(), kErrFormat);
  EXPECT_EQ(st.Detail(), 3);  // the first refused line
  ASSERT_EQ(data_.ListCount(), 2);
  EXPECT_EQ(data_.List(1).name, "AB");

  data_.LoadAtStart(File());
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, ErrorReportNumber(kErrFormat));

  // The first save keeps the whole old file aside before it writes the good lists.
  const std::string old = ReadFile(File());
  ASSERT_TRUE(data_.Save().ok());
  EXPECT_EQ(ReadFile(folder_ / "velm.agr.bad"), old);
  EXPECT_EQ(ReadFile(File()), kGoodLine + "\n" + kGoodLine + "B\n");
  ASSERT_TRUE(data_.Save().ok());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "velm.agr.bad2"));
}

TEST_F(AspGraphDataTest, AMissingFileIsAnEmptyStoreWithoutAMessage) {
  data_.LoadAtStart(File());
  EXPECT_EQ(data_.ListCount(), 0);
  EXPECT_TRUE(prompts_.shown.empty());
  EXPECT_EQ(data_.SelectedList(), nullptr);
}

TEST_F(AspGraphDataTest, ListsPastTheHundredthAreLeftUnreadAndReported) {
  std::string text;
  for (int k = 0; k < 101; ++k) text += "AFC" + std::to_string(k) + "\n";
  WriteFile(File(), text);
  const Status st = data_.Load(File());
  EXPECT_EQ(st.ErrorCode(), kErrFormat);
  EXPECT_EQ(st.Detail(), 101);
  EXPECT_EQ(data_.ListCount(), 100);
  EXPECT_EQ(data_.AddList("more", 0, 1).MessageNumber(), kMsgTooManyLists);
}

TEST_F(AspGraphDataTest, AFailedSaveLeavesTheFileAsItWas) {
  WriteFile(File(), kGoodLine + "\n");
  ASSERT_TRUE(data_.Load(File()).ok());
  ASSERT_TRUE(data_.DeleteList(0));
  ArmFileFault(2);  // the write into the temporary file
  EXPECT_FALSE(data_.Save().ok());
  ArmFileFault(0);
  EXPECT_EQ(ReadFile(File()), kGoodLine + "\n");
}

TEST_F(AspGraphDataTest, EditsNameTheirListAndKeepTheLimits) {
  ASSERT_TRUE(data_.AddList("one", 0, 1).ok());
  ASSERT_TRUE(data_.AddList(Cp1251("Два"), 3, 4).ok());
  for (int j = 0; j < 24; ++j) ASSERT_TRUE(data_.AddPair(1, Pair(j, 1, 0, 0, 0, 0, "V")).ok());
  EXPECT_EQ(data_.AddPair(1, Pair(0, 1, 0, 0, 0, 0, "V")).MessageNumber(), kMsgTooManyPairs);
  EXPECT_EQ(data_.List(0).PairCount(), 0);
  EXPECT_EQ(data_.AddPair(0, Pair(47, 1, 0, 0, 0, 0, "V")).ErrorCode(), kErrParameter);

  EXPECT_TRUE(data_.SwapPairs(1, 0, 1));
  EXPECT_EQ(data_.List(1).pairs[0].fromBody, 1);
  EXPECT_FALSE(data_.SwapPairs(1, 23, 24));
  EXPECT_TRUE(data_.DeletePair(1, 0));
  EXPECT_EQ(data_.List(1).pairs[0].fromBody, 0);
  EXPECT_EQ(data_.List(1).PairCount(), 23);

  EXPECT_TRUE(data_.IsNameUsed(Cp1251("дВА")));
  EXPECT_FALSE(data_.IsNameUsed(Cp1251("два"), 1));
  EXPECT_TRUE(data_.SetList(0, std::string(40, 'x'), 12, 9));
  EXPECT_EQ(data_.List(0).name.size(), 35u);
  EXPECT_EQ(data_.List(0).period, 10);
  EXPECT_EQ(data_.List(0).houseOrbClass, 5);

  EXPECT_TRUE(data_.DeleteList(0));
  EXPECT_EQ(data_.ListCount(), 1);
  EXPECT_EQ(data_.List(0).name, Cp1251("Два"));
  EXPECT_FALSE(data_.DeleteList(1));
}

// The shipped lists load whole and every pair names a shipped aspect system.
TEST_F(AspGraphDataTest, TheShippedListsLoadAndNameShippedSystems) {
  const std::filesystem::path data = testing_support::SourceDir() / "data";
  ASSERT_TRUE(data_.Load(data / "velm.agr").ok());
  ASSERT_GE(data_.ListCount(), 3);
  Aspectarium systems;
  ASSERT_TRUE(systems.LoadAll(data).empty());
  for (int k = 0; k < data_.ListCount(); ++k) {
    EXPECT_GT(data_.List(k).PairCount(), 0) << k;
    for (const AspGraphPair& pair : data_.List(k).pairs) {
      EXPECT_TRUE(pair.IsValid()) << k;
      EXPECT_NE(systems.FindSystem(pair.systemName), nullptr) << k << " " << pair.systemName;
    }
  }
}

TEST_F(AspGraphDataTest, MissingSystemsAreReplacedByTheFirstLoadedOneWithOneMessage) {
  Aspectarium systems;
  EXPECT_EQ(data_.CheckSystemNames(systems), 1);  // nothing to check yet
  ASSERT_TRUE(data_.AddList("a", 0, 1).ok());
  ASSERT_TRUE(data_.AddPair(0, Pair(0, 1, 0, 1, 0, 0, "gone")).ok());
  ASSERT_TRUE(data_.AddPair(0, Pair(0, 1, 0, 2, 0, 0, "velm")).ok());
  ASSERT_TRUE(data_.AddList("b", 0, 1).ok());
  ASSERT_TRUE(data_.AddPair(1, Pair(0, 1, 0, 1, 0, 0, "GONE")).ok());
  ASSERT_TRUE(data_.AddPair(1, Pair(0, 1, 0, 1, 0, 0, "")).ok());

  // Without any system nothing can stand in: nothing changes.
  EXPECT_EQ(data_.CheckSystemNames(systems), 0);
  EXPECT_EQ(data_.List(0).pairs[0].systemName, "gone");
  EXPECT_TRUE(prompts_.shown.empty());

  for (const char* name : {"VELM", "ALPHA"}) {
    AspectSystem system(name, folder_.Path() / SystemFileName(name));
    ASSERT_TRUE(system.SaveSystem().ok());
  }
  ASSERT_TRUE(systems.LoadAll(folder_.Path()).empty());
  EXPECT_EQ(data_.CheckSystemNames(systems), 0);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgMissingSystem);
  EXPECT_EQ(Utf8(prompts_.shown[0].text),
            "Отсутствует система аспектов gone.\nОна заменена на систему аспектов ALPHA.\n"
            "Отсутствует система аспектов .\nОна заменена на систему аспектов ALPHA.");
  EXPECT_EQ(data_.List(0).pairs[0].systemName, "ALPHA");
  EXPECT_EQ(data_.List(0).pairs[1].systemName, "velm");
  EXPECT_EQ(data_.List(1).pairs[0].systemName, "ALPHA");
  EXPECT_EQ(data_.List(1).pairs[1].systemName, "ALPHA");
  EXPECT_EQ(data_.CheckSystemNames(systems), 1);
  EXPECT_EQ(prompts_.shown.size(), 1u);
}

}  // namespace
