// The synastry results as the result view holds them: description lines, heading and columns
// per mode, the order in which a mode opens and copies the charts of the chosen rows, and the
// printed pages.
#include "conditions/core/synastry_table.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"

namespace {

using condition_test::MakeChart;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

Chart Named(const std::string& name) {
  Chart chart = MakeChart({{0, 10}});
  Source& s = chart.definition.sources[0];
  s.SetName(name);
  EXPECT_TRUE(s.moment.date.SetDate(7, 3, 1985).ok());
  EXPECT_TRUE(s.moment.time.SetTime(14, 5).ok());
  return chart;
}

// A hand-over of `mode` with the archives "/a.arc", "/b.arc" and one result per (slot1, record1,
// slot2, record2); the current chart "Me" in modes 0 and 1.
SynastryHandOver HandOver(int mode, const std::vector<std::array<int, 4>>& rows) {
  SynastryHandOver h;
  h.mode = mode;
  h.results = std::make_unique<CSynAnalResults>();
  h.results->AddArchive("/a.arc", 1);
  h.results->AddArchive("/b.arc", 2);
  if (mode <= 1) h.results->current = SynChartTexts::Of(Named("Me"));
  for (const auto& r : rows)
    h.results->AddResult(Named("R" + std::to_string(r[1])), Named("S" + std::to_string(r[3])), r[0],
                         r[2], r[1], r[3]);
  h.header = {U("      ЗАПРОС"), "x", ""};
  return h;
}

std::vector<std::pair<int, int>> Refs(const std::vector<SynChartRef>& refs) {
  std::vector<std::pair<int, int>> out;
  for (const SynChartRef& r : refs) out.emplace_back(r.slot, r.record);
  return out;
}

TEST(SynAnalTable, TakesTheResultsOverWithTheDescriptionLines) {
  SynAnalTable table;
  table.TakeOver(HandOver(kSynOneArchive, {{0, 3, -1, -1}}), true);
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Result(0).chart1.name, "R3");
  const std::vector<std::string> expected = {U("      АРХИВЫ"),
                                             U("Гороскоп: Me  07:03:1985  14:05 00N00 000E00"),
                                             "/a.arc",
                                             "/b.arc",
                                             "",
                                             U("      ЗАПРОС"),
                                             "x",
                                             ""};
  EXPECT_EQ(table.Description(), expected);
  SynAnalTable bare;
  bare.TakeOver(HandOver(kSynEveryPair, {{0, 1, 0, 2}}), false);
  EXPECT_EQ(bare.Description().size(), 3u);
  EXPECT_FALSE(bare.Current().has_value());
}

TEST(SynAnalTable, HeadingAndColumnsFollowTheMode) {
  platform::RecordingDc dc;
  struct Row {
    int mode;
    std::string heading;
    int columns;
    int chartTwoColumns;
  };
  const std::string me = "Me  07:03:1985  14:05 00N00 000E00";
  const Row rows[] = {
      {0, U("Подбор соответствий из архива /a.arc для гороскопа ") + me, 5, 0},
      {1, U("Подбор соответствий из списка архивов для гороскопа ") + me, 6, 0},
      {2, U("Проверка попарной совместимости гороскопов из архивов: /a.arc /b.arc"), 10, 5},
      {3, U("Подбор соответствий между гороскопами из двух архивов /a.arc /b.arc"), 10, 5},
      {4, U("Подбор соответствий из архива /a.arc"), 10, 5},
  };
  for (const Row& row : rows) {
    SynAnalTable table;
    table.TakeOver(HandOver(row.mode, {}), false);
    EXPECT_EQ(SynHeading(dc, table, 1000000), row.heading) << row.mode;
    const std::vector<SynColumn> columns = SynColumns(row.mode);
    EXPECT_EQ(static_cast<int>(columns.size()), row.columns);
    EXPECT_EQ(std::count_if(columns.begin(), columns.end(),
                            [](const SynColumn& c) { return c.chart == 2; }),
              row.chartTwoColumns);
  }
  // Mode 1 ends with the archive of chart 1 in the rest of the width; chart 2 begins at 0.5 W.
  EXPECT_EQ(SynColumns(1).back().field, SynField::kArchive);
  EXPECT_DOUBLE_EQ(SynColumns(2)[5].x, 0.5);
  // A narrow heading shortens the path, not the texts around it.
  SynAnalTable table;
  table.TakeOver(HandOver(kSynEveryPair, {}), false);
  EXPECT_EQ(SynHeading(dc, table, 10).rfind(U("Подбор соответствий из архива "), 0), 0u);
}

TEST(SynAnalTable, OpeningAndCopyingFollowTheModesOrder) {
  using P = std::vector<std::pair<int, int>>;
  SynAnalTable two;
  two.TakeOver(HandOver(kSynSamePosition, {{0, 4, 1, 4}, {0, 7, 1, 7}}), false);
  EXPECT_EQ(Refs(two.OpeningOrder({0})), (P{{1, 4}, {0, 4}}));  // the second chart first
  const auto copies = two.CopyOrder({0, 1}, true);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(Refs(copies[0].charts), (P{{0, 4}, {0, 7}}));
  EXPECT_EQ(Refs(copies[1].charts), (P{{1, 4}, {1, 7}}));

  SynAnalTable every;
  every.TakeOver(HandOver(kSynEveryPair, {{0, 1, 0, 2}, {0, 3, 0, 4}}), false);
  EXPECT_EQ(Refs(every.OpeningOrder({1})), (P{{0, 3}, {0, 4}}));
  const auto flat = [](const std::vector<SynCopyOp>& ops) {
    P all;
    for (const SynCopyOp& op : ops)
      for (const auto& r : Refs(op.charts)) all.push_back(r);
    return std::make_pair(ops.size(), all);
  };
  EXPECT_EQ(flat(every.CopyOrder({0, 1}, true)),
            std::make_pair(std::size_t{4}, P{{0, 1}, {0, 2}, {0, 3}, {0, 4}}));
  EXPECT_EQ(flat(every.CopyOrder({0, 1}, false)),
            std::make_pair(std::size_t{4}, P{{0, 1}, {0, 3}, {0, 2}, {0, 4}}));

  // Mode 1, archives A, A, B, A: three copies (A, B, A), none before the first archive.
  SynAnalTable list;
  list.TakeOver(
      HandOver(kSynArchiveList, {{0, 1, -1, -1}, {0, 2, -1, -1}, {1, 5, -1, -1}, {0, 3, -1, -1}}),
      false);
  const auto ops = list.CopyOrder({0, 1, 2, 3}, true);
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(Refs(ops[0].charts), (P{{0, 1}, {0, 2}}));
  EXPECT_EQ(ops[1].slot, 1);
  EXPECT_EQ(ops[2].slot, 0);
  EXPECT_EQ(Refs(list.OpeningOrder({2})), (P{{1, 5}}));

  // No mark: the cursor row alone.
  EXPECT_EQ(list.ChosenRows(2), std::vector<int>{2});
  list.ToggleMark(0);
  list.ToggleMark(3);
  EXPECT_EQ(list.ChosenRows(2), (std::vector<int>{0, 3}));
}

TEST(SynAnalTable, PrintsDescriptionAndResultsOnAsFewPagesAsFit) {
  // 10 results and 6 description lines; 40 rows a page fit: one page.
  SynastryHandOver h = HandOver(kSynEveryPair, std::vector<std::array<int, 4>>(10, {0, 1, 0, 2}));
  h.header = {"1", "2", "3", "4", "5", "6"};
  SynAnalTable table;
  table.TakeOver(std::move(h), false);
  Configuration config;
  platform::RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  QueryViewSettings view;
  view.printFont = 1000;
  SynPrintLayout layout = LayoutSynPrint(dc, config, view, table);
  ASSERT_GE(layout.rowsPerPage, 40);
  EXPECT_EQ(layout.lines, 16);
  EXPECT_EQ(layout.Pages(), 1);
  // Rows far apart: every page holds at least one, and no page is blank.
  view.printGap = 10000;
  layout = LayoutSynPrint(dc, config, view, table);
  EXPECT_EQ(layout.rowsPerPage, 2);
  EXPECT_EQ(layout.Pages(), 8);
  platform::RecordingDc page(600, true);
  page.SetMapMode(platform::MapMode::HiMetric);
  DrawSynPage(page, config, layout, table, 8);
  const std::vector<std::string> texts = page.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), U("СИНАСТРИЧЕСКИЙ АНАЛИЗ (стр. 8)")),
            texts.end());
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "R1"), 2);
}

}  // namespace
