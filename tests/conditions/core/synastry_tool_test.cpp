// The evaluation tool's synastry pairing (--pairs) over pairs.txt: every ordered pair of two
// different charts in the run's order, with pair conditions of kinds 100 (ASP) and 101 (IN).
#include <gtest/gtest.h>

#include "conditions/core/conditions_tool.h"
#include "foundation/text/cp1251.h"

namespace {

TEST(SynastryTool, PairConditionsHoldInTheOrdersTheFiguresGive) {
  struct Row {
    const char* name;
    std::string conditions;
    std::string out;
  };
  const Row rows[] = {
      // Sun 1 on Moon 2 within 1 degree: Anna's Sun on Boris's Moon, not the other way round.
      {"conjunction_one_way", "1 + 100 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 0 0 0 0 0\n",
       "0\t1\npairs 12\n"},
      // One light of chart 1 square each light of chart 2: Vera's Sun to both of Gleb's.
      {"group_member_squares_both",
       "1 + 100 500 501 1001 Lights[одна_из] Lights[каждая] TESTASP 0 0 0 0 1 0 0 0 0 90 0\n",
       "2\t3\npairs 12\n"},
      // The Sun of chart 1 in house 1 of chart 2 (Anna 10, Vera 0), in the run's order.
      {"in_house_of_the_other", "1 + 101 0 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n",
       "0\t1\n0\t2\n0\t3\n2\t0\n2\t1\n2\t3\npairs 12\n"},
      // The other way round: the Sun of chart 2 in house 1 of chart 1.
      {"in_house_other_way", "1 + 101 0 200 0 \x03 \x03 \x03 0 0 0 1 0 0 0 0 0 0 0\n",
       "0\t2\n1\t0\n1\t2\n2\t0\n3\t0\n3\t2\npairs 12\n"},
      // Both conditions joined by AND.
      {"both",
       "1 + 100 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 0 0 0 0 0\n"
       "2 + 101 0 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n",
       "0\t1\npairs 12\n"},
  };
  for (const Row& row : rows) {
    const conditions_tool::ToolRun run =
        conditions_tool::RunTool("pairs.txt", Cp1251(row.conditions), nullptr, true);
    EXPECT_EQ(run.status, 0) << row.name;
    EXPECT_EQ(run.out, row.out) << row.name;
  }
  // A plain condition is no synastry condition: the list holds none, no pair holds.
  const auto plain = conditions_tool::RunTool(
      "pairs.txt", "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", nullptr, true);
  EXPECT_EQ(plain.out, "pairs 12\n");
}

}  // namespace
