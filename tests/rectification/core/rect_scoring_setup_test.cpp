// The scoring setup is taken from the configuration and the aspect systems once, before a run.
#include "rectification/core/rect_scoring_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/numbers/angles.h"
#include "support/test_support.h"

namespace {

using Block = cfg::RectificationSettings;

TEST(ScoringSetup, TakenFromTheConfigurationAndTheNamedSystems) {
  testing_support::TempFolder folder;
  std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                             folder / "PROG.asp");
  Aspectarium aspectarium;
  ASSERT_TRUE(aspectarium.LoadAll(folder.Path()).empty());

  Configuration config;
  config.rectification.Set(Block::kProgressionsSystem, "prog");  // found whatever the case
  config.rectification.Set(Block::kTransitsSystem, "NONE");
  for (std::size_t m = 0; m < 50; ++m)
    config.rectification.Set(Block::kMethod[m], std::uint16_t{0});
  config.rectification.Set(Block::kMethod[3], std::uint16_t{1});
  config.rectification.Set(Block::kMethod[5], std::uint16_t{2});
  config.rectification.Set(Block::kMethod[7], std::uint16_t{9});  // out of range: off
  config.rulers.fill(-1);
  config.rulers[0] = 4;       // Aries: Mars
  config.rulers[12 + 0] = 9;  // second ruler Pluto
  config.rulers[24 + 5] = 2;  // an exaltation: still a dignity planet
  config.rulers[3] = 40;      // no chart point 0..29: ignored
  ASSERT_TRUE(config.SetObjectFlags(4, true, true, true, 2));
  ASSERT_TRUE(config.SetObjectFlags(9, true, true, true, 4));

  const auto names = RectificationSystemNames(config);
  EXPECT_EQ(names[kGroupProgressions], "prog");
  EXPECT_EQ(names[kGroupTransits], "NONE");
  const RectScoringSetup setup = MakeRectScoringSetup(config, aspectarium, names);

  EXPECT_TRUE(setup.HasSystem(kGroupProgressions));
  EXPECT_EQ(setup.systems[kGroupProgressions].Count(), aspectarium.GetSystem(0).Count());
  EXPECT_EQ(setup.aspectIndices[kGroupProgressions].size(),
            static_cast<std::size_t>(aspectarium.GetSystem(0).Count()));
  EXPECT_FALSE(setup.HasSystem(kGroupTransits));
  EXPECT_EQ(setup.methods[3], kMethodAdditional);
  EXPECT_FALSE(setup.IsOn(5));
  EXPECT_FALSE(setup.IsOn(7));
  EXPECT_EQ(setup.MethodsOn(), 12);
  EXPECT_EQ(setup.dignityPlanets, (std::vector<std::int16_t>{4, 9, 2}));
  // Rulers of the sign that holds a longitude; Taurus names no chart point.
  EXPECT_EQ(setup.RulerOf(29.99, 0), 4);
  EXPECT_EQ(setup.RulerOf(389.0, 1), 9);
  EXPECT_EQ(setup.RulerOf(45.0, 0), -1);
  EXPECT_EQ(setup.RulerOf(95.0, 0), -1);
  EXPECT_EQ(setup.RulerOf(kAbsent, 0), -1);
  // The pair column is the smaller orb class of the two: class 2 is column 1.
  EXPECT_EQ(setup.PairColumn(4, 9).index, 1);
  EXPECT_EQ(setup.PairColumn(9, 9).index, 3);
}

}  // namespace
