// The transit settings block: every field read from its published offset through the
// configuration file and written back byte for byte; the defaults a new configuration holds.
#include "forecast/core/transit_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "forecast/core/life_point_settings.h"
#include "forecast/core/lunar_trans_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/files/binary_io.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

// The block written field by field at its published offsets.
std::string PublishedTransitBlock() {
  BinaryWriter raw;
  for (std::int32_t v : {1, 500, 504, 17, 3, 1812}) raw.I32(v);   // 0..20
  raw.U8('B');                                                    // 24 start era
  raw.FixedText(Cp1251("Сатурн_группа"), 31);                     // 25 group name
  for (std::int32_t v : {1, 0, 1}) raw.I32(v);                    // 56..64
  for (std::uint16_t v : {0, 3, 45}) raw.U16(v);                  // 68..72
  raw.FixedText("MYSYS", 13);                                     // 74 aspect system
  raw.Zeros(1);                                                   // 87
  for (std::uint16_t v : {1001, 22, 30}) raw.U16(v);              // 88..92
  raw.Zeros(2);                                                   // 94
  for (std::int32_t v : {0x0A5, 1, 2, 31, 12, 1813}) raw.I32(v);  // 96..116
  raw.U8('A');                                                    // 120 end era
  raw.Zeros(1);                                                   // 121
  for (std::uint16_t v : {4, 10, 110, 90, 3, 1}) raw.U16(v);      // 122..132
  raw.Zeros(2);                                                   // 134
  raw.F64(1.25);                                                  // 136
  raw.F64(0.75);                                                  // 144
  raw.Zeros(240 - 152);
  return raw.Take();
}

TEST(TransitSettings, BlockReadsThroughTheConfigurationFileAndWritesBackByteForByte) {
  const std::string bytes = PublishedTransitBlock();
  ASSERT_EQ(bytes.size(), TransitSettings::kSize);
  testing_support::TempFolder folder;
  Configuration saved;
  saved.transit = cfg::ByteBlock(TransitSettings::kSize);
  saved.transit.CopyIn(0, bytes);
  ASSERT_TRUE(saved.Save(folder / "velm.cfg").ok());
  Configuration loaded;
  ASSERT_TRUE(loaded.Load(folder / "velm.cfg").ok());
  ASSERT_EQ(loaded.transit.Bytes(), bytes);

  const TransitSettings s = TransitSettings::FromBlock(loaded.transit);
  EXPECT_EQ(std::tie(s.mode, s.transiting, s.target, s.startDay, s.startMonth, s.startYear),
            std::make_tuple(1, 500, 504, 17, 3, 1812));
  EXPECT_EQ(s.startEra, 'B');
  EXPECT_EQ(s.groupName, Cp1251("Сатурн_группа"));
  EXPECT_EQ(std::tie(s.exact, s.entering, s.leaving), std::make_tuple(1, 0, 1));
  EXPECT_EQ(std::make_tuple(int{s.orbSource}, int{s.orbDegrees}, int{s.orbMinutes}),
            std::make_tuple(0, 3, 45));
  EXPECT_EQ(s.aspectSystem, "MYSYS");
  EXPECT_EQ(std::make_tuple(int{s.aspectChoice}, int{s.angleDegrees}, int{s.angleMinutes}),
            std::make_tuple(1001, 22, 30));
  EXPECT_EQ(std::tie(s.classMask, s.sortByTime, s.transitingGroup, s.endDay, s.endMonth, s.endYear),
            std::make_tuple(0x0A5, 1, 2, 31, 12, 1813));
  EXPECT_EQ(s.endEra, 'A');
  EXPECT_EQ(std::make_tuple(int{s.houseOrbGroup}, int{s.precision}, int{s.screenFontSize},
                            int{s.printFontSize}, int{s.printColumns}, int{s.printOrder}),
            std::make_tuple(4, 10, 110, 90, 3, 1));
  EXPECT_EQ(std::tie(s.printLineSpacing, s.screenLineSpacing), std::make_tuple(1.25, 0.75));

  cfg::ByteBlock again = loaded.transit;
  s.ToBlock(again);
  EXPECT_EQ(again.Bytes(), bytes);
}

// A new configuration: the Sun with Jupiter, Jan 1 - Dec 31 2000, exact aspects of any kind in VELM
// with its orbs, medium precision, no transiting group, house orb group 1.
TEST(TransitSettings, NewConfigurationHoldsTheDefaults) {
  const TransitSettings s = TransitSettings::FromBlock(Configuration().transit);
  EXPECT_EQ(std::tie(s.mode, s.transiting, s.target), std::make_tuple(0, 0, 5));
  EXPECT_EQ(std::tie(s.startDay, s.startMonth, s.startYear, s.endDay, s.endMonth, s.endYear),
            std::make_tuple(1, 1, 2000, 31, 12, 2000));
  EXPECT_EQ(std::tie(s.exact, s.entering, s.leaving), std::make_tuple(1, 0, 0));
  EXPECT_EQ(s.aspectSystem, "VELM");
  EXPECT_EQ(std::make_tuple(int{s.aspectChoice}, int{s.orbSource}, s.classMask, s.transitingGroup,
                            int{s.houseOrbGroup}, int{s.precision}),
            std::make_tuple(int{kTransitAnyAspect}, 1, 0x1FF, -1, 1, 5));
}

// The defaults have one source, the configuration's default blocks: a settings value made
// without a block holds none of its own, but exactly what an empty block reads as.
TEST(TransitSettings, TheListsSettingsHoldNoDefaultsOfTheirOwn) {
  EXPECT_EQ(TransitSettings{}, TransitSettings::FromBlock(cfg::ByteBlock(TransitSettings::kSize)));
  EXPECT_EQ(LunarTransSettings{},
            LunarTransSettings::FromBlock(cfg::ByteBlock(cfg::LunarTransSettings::kSize)));
  EXPECT_EQ(LifePointSettings{},
            LifePointSettings::FromBlock(cfg::ByteBlock(cfg::LifePointSettings::kSize)));
  // And the configuration's blocks differ from that: the defaults are there.
  EXPECT_NE(TransitSettings{}, TransitSettings::FromBlock(Configuration().transit));
  EXPECT_NE(LunarTransSettings{}, LunarTransSettings::FromBlock(Configuration().lunarTransit));
  EXPECT_NE(LifePointSettings{}, LifePointSettings::FromBlock(Configuration().lifePoint));
}

// Names that fill their fields (no NUL, no trailing blank) come back whole through the transit
// settings, and the block byte for byte.
TEST(TransitSettings, NamesThatFillTheirFieldsComeBackWhole) {
  using T = cfg::TransitSettings;
  const std::string group(T::kGroupName.width, 'G'), system(T::kAspectSystem.width, 'S');
  cfg::ByteBlock block(T::kSize);
  block.Set(T::kGroupName, group);
  block.Set(T::kAspectSystem, system);
  const TransitSettings s = TransitSettings::FromBlock(block);
  EXPECT_EQ(s.groupName, group);
  EXPECT_EQ(s.aspectSystem, system);
  cfg::ByteBlock written = block;
  s.ToBlock(written);
  EXPECT_EQ(written.Bytes(), block.Bytes());
}

}  // namespace
