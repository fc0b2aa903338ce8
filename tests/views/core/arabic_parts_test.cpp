#include "views/core/arabic_parts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "support/ephemeris_tables.h"
#include "support/test_support.h"
#include "views/core/arab_pages.h"
#include "views/core/arab_table.h"

namespace {

std::string Lines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "NABC++part" + std::to_string(i) + "\n";
  return s;
}

TEST(ArabicParts, FileLines) {
  struct Case {
    const char* name;
    std::string bytes;
    int count, bad, over;
  };
  const Case cases[] = {
      {"example", "YAMK+,Name\r\n", 1, 0, 0},
      {"short_lines_ignored", "YAMK+,\nYAM\n\n", 0, 0, 0},
      {"operand_beyond_v", "YwMK+,x\nYAvK+,ok\n", 1, 1, 0},
      {"operator_beyond_dot", "YAMK+/x\n", 0, 1, 0},
      {"bad_switch", "XAMK+,x\n", 0, 1, 0},
      {"no_final_line_end", "NABC..last", 1, 0, 0},
      {"over_300", Lines(302), 300, 0, 2},
  };
  for (const Case& c : cases) {
    AllArabParts parts;
    const AllArabParts::LoadReport r = parts.Parse(c.bytes);
    EXPECT_EQ(parts.Count(), c.count) << c.name;
    EXPECT_EQ(r.badLines, c.bad) << c.name;
    EXPECT_EQ(r.overLimit, c.over) << c.name;
  }
  AllArabParts parts;
  parts.Parse("YAMK+,Name\r\n");
  const ArabPart expected{"Name", 0, 12, 10, 0, 1, 'Y'};
  EXPECT_EQ(parts.Item(0), expected);
}

TEST(ArabicParts, RoundTripKeepsSwitchedOffPartsAndOrder) {
  AllArabParts parts;
  const std::string bytes = "Y_BA-.Fortune\r\nNvaA+-Last ruler\r\nYAAA++ \r\n";
  parts.Parse(bytes);
  ASSERT_EQ(parts.Count(), 3);
  EXPECT_EQ(parts.Serialize(), bytes);
  EXPECT_EQ(parts.Item(1).a, 53);
  EXPECT_EQ(parts.Item(1).on, 'N');
}

TEST(ArabicParts, Edits) {
  AllArabParts parts;
  parts.Parse(Lines(300));
  EXPECT_EQ(parts.AddItem(ArabPart{"x"}), -1);  // the list is full
  AllArabParts one;
  one.Parse("YAMK+,Only\n");
  EXPECT_FALSE(one.DeleteItem(0));
  EXPECT_FALSE(one.Changed());

  AllArabParts list;
  list.Parse("YAMK+,A\nYABC+,B\nNABD+,C\n");
  EXPECT_FALSE(list.MoveUp(0));
  EXPECT_FALSE(list.MoveDown(2));
  EXPECT_TRUE(list.MoveDown(0));
  EXPECT_EQ(list.Item(0).name, "B");
  EXPECT_TRUE(list.MoveUp(2));
  EXPECT_EQ(list.Item(1).name, "C");
  EXPECT_TRUE(list.Changed());
  ArabPart same = list.Item(0);
  same.name = "other";
  EXPECT_TRUE(list.HasFormula(same, -1));
  EXPECT_FALSE(list.HasFormula(same, 0));  // the part itself is excepted
  EXPECT_TRUE(list.HasName("A", 0));
  EXPECT_FALSE(list.HasName("a", -1));  // names compare byte for byte
  list.Toggle(1);
  EXPECT_EQ(list.CountOn(), 3);
  EXPECT_TRUE(list.DeleteItem(2));
  EXPECT_EQ(list.Count(), 2);
}

TEST(ArabicParts, SavedAtTheEndOnlyWhenChangedAndNeverOverAnUnreadableFile) {
  testing_support::TempFolder folder;
  const auto file = folder / "velm.arb";
  {  // A missing file: an empty list, no error; nothing written unless changed.
    AllArabParts parts;
    EXPECT_TRUE(parts.Load(file).status.ok());
    EXPECT_TRUE(parts.SaveIfChanged(file).ok());
    EXPECT_FALSE(std::filesystem::exists(file));
    parts.AddItem(ArabPart{"Fortune", 30, 1, 0, 2, 3, 'Y'});
    EXPECT_TRUE(parts.SaveIfChanged(file).ok());
  }
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(file, stored).ok());
  EXPECT_EQ(stored, "Y_BA-.Fortune\r\n");
  {  // A file that cannot be read is kept: the list is not saved over it.
    ArmReadFault(file);
    AllArabParts parts;
    EXPECT_EQ(parts.Load(file).status.ErrorCode(), kErrRead);
    ArmReadFault({});
    parts.AddItem(ArabPart{"New"});
    EXPECT_EQ(parts.SaveIfChanged(file).MessageNumber(), kMsgArabNotSaved);
  }
  {  // A failed write keeps the old file and the list stays changed.
    AllArabParts parts;
    parts.Load(file);
    parts.Toggle(0);
    ArmFileFault(2);
    EXPECT_FALSE(parts.SaveIfChanged(file).ok());
    ArmFileFault(0);
    EXPECT_TRUE(parts.Changed());
  }
  ASSERT_TRUE(ReadWholeFile(file, stored).ok());
  EXPECT_EQ(stored, "Y_BA-.Fortune\r\n");
}

struct ChartFixture {
  testing_support::TempFolder folder;
  Aspectarium aspectarium;
  Configuration config;
  ChartFixture() {
    std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                               folder / "VELM.asp");
    EXPECT_TRUE(aspectarium.LoadAll(folder.Path()).empty());
  }
  ChartContext Context() const {
    return ChartContext(config, aspectarium, testing_support::SharedTables());
  }
  Chart Moscow(int hour) const {
    Chart chart;
    Source& s = chart.definition.sources[0];
    EXPECT_TRUE(s.moment.date.SetDate(15, 6, 1985).ok());
    EXPECT_TRUE(s.moment.time.SetTime(hour, 0, 0).ok());
    EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
    EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    chart.houseSystem = 0;
    EXPECT_TRUE(ChartCalculate(Context(), chart, 0).ok());
    return chart;
  }
};

// The shipped list loads whole, its names and formulas unique, and its first part, the Part of
// Fortune, is the Ascendant plus the Moon minus the Sun by day, reversed by night.
TEST(ArabTable, PartOfFortuneByDayAndByNightAlsoFromTheShippedList) {
  ChartFixture f;
  const ChartContext ctx = f.Context();
  AllArabParts fixture, shipped;
  fixture.Parse("Y_BA-.Fortune\nNABC++off\n");
  const AllArabParts::LoadReport report =
      shipped.Load(testing_support::SourceDir() / "data" / "velm.arb");
  ASSERT_TRUE(report.status.ok());
  EXPECT_EQ(report.badLines + report.overLimit, 0);
  EXPECT_GE(shipped.Count(), 20);
  EXPECT_EQ(shipped.Item(0).name, Cp1251("Часть Фортуны"));
  for (int i = 0; i < shipped.Count(); ++i) {
    EXPECT_FALSE(shipped.Item(i).name.empty());
    for (int j = 0; j < i; ++j) {
      EXPECT_NE(shipped.Item(i).name, shipped.Item(j).name) << i;
      EXPECT_FALSE(shipped.Item(i).SameFormula(shipped.Item(j))) << i << " " << j;
    }
  }
  for (const AllArabParts* parts : {&fixture, &shipped}) {
    for (const int hour : {13, 1}) {  // the Sun high at 13:00 and below the horizon at 01:00
      const Chart chart = f.Moscow(hour);
      const double asc = chart.GetCusp(0).Get(), moon = chart.GetPointLongitude(1).Get(),
                   sun = chart.GetPointLongitude(0).Get();
      const double expected = NormalizeDegrees(hour == 13 ? asc + moon - sun : asc - moon + sun);
      ArabTable table;
      ASSERT_TRUE(table.Calculate(ctx, chart, *parts, ArabSettings{}).ok());
      // A part switched off is not shown.
      ASSERT_EQ(table.RowCount(), parts == &fixture ? 1 : shipped.Count());
      EXPECT_EQ(table.Rows()[0].part, 0);
      EXPECT_NEAR(table.Rows()[0].longitude, expected, 1e-9) << hour;
    }
  }
}

TEST(ArabTable, AspectsChosenBySettings) {
  ChartFixture f;
  const Chart chart = f.Moscow(13);
  const AspectSystem* system = f.aspectarium.FindSystem("VELM");
  ASSERT_NE(system, nullptr);
  const auto objects = [&](double longitude, const ArabSettings& s) {
    std::vector<int> out;
    for (const ArabAspect& a : ArabAspectsToPoint(longitude, chart, system, s, f.config))
      out.push_back(a.object);
    return out;
  };
  ArabSettings nodesOnly;
  nodesOnly.planets = 0;
  nodesOnly.houses = 0;
  nodesOnly.kinds = 2;
  // On the north node itself: a conjunction with it and an opposition with the south node only.
  const double node = chart.GetPointLongitude(16).Get();
  EXPECT_EQ(objects(node, nodesOnly), (std::vector<int>{16, 17}));
  ArabSettings conjunctions = nodesOnly;
  conjunctions.kinds = 0;
  EXPECT_EQ(objects(node, conjunctions), (std::vector<int>{16}));
  nodesOnly.withNodes = 0;
  EXPECT_TRUE(objects(node, nodesOnly).empty());
  ArabSettings houses = nodesOnly;
  houses.houses = 1;
  houses.kinds = 0;
  EXPECT_EQ(objects(chart.GetCusp(9).Get(), houses), (std::vector<int>{39}));
  EXPECT_TRUE(ArabAspectsToPoint(node, chart, nullptr, conjunctions, f.config).empty());
  EXPECT_TRUE(ArabAspectsToPoint(kAbsent, chart, system, conjunctions, f.config).empty());
}

TEST(ArabTable, ChartModesAndLayout) {
  ChartFixture f;
  const ChartContext ctx = f.Context();
  AllArabParts parts;
  parts.Parse("Y_BA-.Fortune\nYAMK+,Second part\n");
  Chart natal = f.Moscow(13);
  ArabSettings fromNatal;
  fromNatal.chartMode = 1;
  ArabTable plain, table;
  ASSERT_TRUE(plain.Calculate(ctx, natal, parts, ArabSettings{}).ok());
  // A natal chart has no natal chart behind it: mode 1 reads as mode 0.
  ASSERT_TRUE(table.Calculate(ctx, natal, parts, fromNatal).ok());
  EXPECT_EQ(table.Rows()[0].longitude, plain.Rows()[0].longitude);
  Chart transit = natal;
  transit.definition.SetKind(kChartTransit);
  transit.definition.sources[2] = f.Moscow(1).definition.sources[0];
  ASSERT_TRUE(ChartCalculate(ctx, transit, 0).ok());
  ASSERT_TRUE(table.Calculate(ctx, transit, parts, fromNatal).ok());
  EXPECT_NEAR(table.Rows()[0].longitude, plain.Rows()[0].longitude, 1e-9);

  platform::RecordingDc dc;
  table.Measure(dc);
  // Every character of the text face is as wide as "W" here: "Second part" takes 11 units and one
  // of space, the formula 8 more before the longitude.
  EXPECT_EQ(table.NameUnits(), 12);
  EXPECT_EQ(table.LongitudeColumn(), 20);
  EXPECT_EQ(table.RowText().size(), 12u + 3u * table.MaxAspects() + 8u + 7u);
  // Rows per page under the head and the row of the column names: (29700 - (1500 + 2500 + 233) -
  // 1500) / (interval 100 + "W" at 1000, 133).
  const ArabTable::PrintLayout l = table.PreparePrint(dc, f.config, 1000, 100);
  EXPECT_EQ(l.pageTop, 1500 + 2500 + 233);
  EXPECT_EQ(l.rowsPerPage, 23967 / 233);
  EXPECT_EQ(l.pages, 1);
  EXPECT_EQ(table.PreparePrint(dc, f.config, 1000, -5).interval, 0);
}

}  // namespace

namespace {

using platform::Answer;
using testing_support::ScriptedPrompter;

TEST(ArabPages, OperandNamesIndexedByCode) {
  const std::vector<std::string> names = ArabOperandNames();
  ASSERT_EQ(names.size(), 54u);
  EXPECT_EQ(names[0], GetMessageText(kMsgPointNameFirst));
  EXPECT_EQ(names[30], GetMessageText(kMsgHouseNameFirst));
  EXPECT_EQ(names[42], GetMessageText(kMsgRuler) + " " + GetMessageText(kMsgHouseNameFirst) +
                           GetMessageText(kMsgRulerSuffix));
  EXPECT_EQ(names[45], GetMessageText(kMsgRuler) + " " +
                           GetMessageText(kMsgHouseNameFirst + 3));  // the fourth house
  EXPECT_EQ(names[51], GetMessageText(kMsgRuler) + " " +
                           GetMessageText(kMsgHouseNameFirst + 9));  // the tenth house
}

TEST(ArabPages, EditorChecksAndStores) {
  ArabEditorPage page;
  EXPECT_EQ(page.CheckOk(), kMsgArabEmptyName);
  page.name = std::string(40, 'x');
  page.a = 30;
  page.b = 99;  // a value no combo gives reads as the first operand
  page.op2 = 3;
  EXPECT_EQ(page.CheckOk(), 0);
  const ArabPart part = page.ToPart();
  EXPECT_EQ(part.name.size(), kArabNameLength);
  EXPECT_EQ(part.a, 30);
  EXPECT_EQ(part.b, 0);
  EXPECT_EQ(part.on, 'Y');
}

TEST(ArabPages, ListCommands) {
  ScriptedPrompter prompter;
  AllArabParts parts;
  parts.Parse("YAMK+,A\nNABC+,B\n");
  ArabConfPage conf(parts, ArabSettings{}, false, true);
  EXPECT_FALSE(conf.ComputeEnabled());

  ArabEditorPage same = ArabEditorPage::FromPart(parts.Item(0));
  same.name = "new";
  EXPECT_EQ(conf.Add(same), -1);  // the formula exists
  EXPECT_TRUE(prompter.WasShown(kMsgArabSameFormula));
  // Editing keeps the part's switch and does not refuse its own formula or name.
  EXPECT_EQ(conf.Edit(1, ArabEditorPage::FromPart(parts.Item(1))), 1);
  EXPECT_EQ(parts.Item(1).on, 'N');
  ArabEditorPage named{"B", 1, 2, 3, 0, 0};
  prompter.Expect(kMsgArabSameName, Answer::No);
  EXPECT_EQ(conf.Add(named), -1);
  prompter.Expect(kMsgArabSameName, Answer::Yes);
  EXPECT_EQ(conf.Add(named), 2);

  prompter.Expect(kMsgArabDelete, Answer::No);
  EXPECT_EQ(conf.Delete(2), -1);
  prompter.Expect(kMsgArabDelete, Answer::Yes);
  EXPECT_EQ(conf.Delete(2), 1);  // the last line went: the new last is selected
  EXPECT_EQ(conf.MoveUp(1), 0);
  EXPECT_EQ(conf.MoveUp(0), -1);
  EXPECT_EQ(conf.MoveDown(0), 1);
  prompter.Expect(kMsgArabDelete, Answer::Yes);
  EXPECT_EQ(conf.Delete(0), 0);
  EXPECT_EQ(conf.Delete(0), -1);
  EXPECT_TRUE(prompter.WasShown(kMsgArabLastPart));
  prompter.VerifyAllUsed();
}

TEST(ArabPages, SettingsRoundTripAndChartModes) {
  Configuration config;
  ArabSettings s = ArabSettings::Read(config);
  s.printFontSize = 2500;
  s.chartMode = 2;
  s.kinds = 0;
  s.Write(config);
  EXPECT_EQ(ArabSettings::Read(config), s);
  config.arabicParts.Set(cfg::ArabicPartsSettings::kOrbClass, std::int16_t{9});
  EXPECT_EQ(ArabSettings::Read(config).orbClass, 2);  // out of range: the default
  AllArabParts parts;
  EXPECT_EQ(ArabConfPage(parts, s, false, false).Settings().chartMode, 0);
  EXPECT_EQ(ArabConfPage(parts, s, true, false).Settings().chartMode, 2);
  for (const int kind : {3, 4, 5, 8}) EXPECT_TRUE(ArabChartModesAllowed(kind)) << kind;
  for (const int kind : {0, 1, 2, 6, 7, 9}) EXPECT_FALSE(ArabChartModesAllowed(kind)) << kind;
}

}  // namespace
