#include "forecast/core/lunar_trans_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>

#include "forecast/core/list_display_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/files/binary_io.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

// The block of the lunar transits written field by field at its published offsets.
std::string PublishedLunarBlock() {
  BinaryWriter raw;
  for (std::int32_t v : {1, 3, 4, 1, 1, 0, 1, 1}) raw.I32(v);  // 0..28
  for (std::int16_t v : {2, 45, 0, 400}) raw.I16(v);           // 32..38
  raw.I32(1);                                                  // 40 from
  raw.I32(0);                                                  // 44 to
  raw.I16(6);                                                  // 48 N signs
  raw.FixedText(Cp1251("Тест"), 12);                           // 50
  raw.I16(2);                                                  // 62 house orb group
  raw.I32(0);                                                  // 64 planet orbs
  raw.I16(5);                                                  // 68 planet orb group
  raw.Zeros(2);                                                // 70
  raw.I32(2);                                                  // 72 aspects
  raw.I16(1150);                                               // 76 screen spacing
  raw.I16(20000);                                              // 78 print spacing
  raw.U16(1);                                                  // 80 ingresses
  raw.U16(120);                                                // 82 screen font
  raw.U16(20000);                                              // 84 print font
  raw.U16(20);                                                 // 86 columns
  raw.I16(1);                                                  // 88 order
  raw.Zeros(2);                                                // 90
  return raw.Take();
}

// The block reaches the settings through the configuration file unchanged, each field from its
// offset, and is written back byte for byte.
TEST(LunarTransSettings, BlockReadsThroughTheConfigurationFileAndWritesBackByteForByte) {
  const std::string bytes = PublishedLunarBlock();
  ASSERT_EQ(bytes.size(), LunarTransSettings::kSize);
  testing_support::TempFolder folder;
  Configuration saved;
  saved.lunarTransit = cfg::ByteBlock(LunarTransSettings::kSize);
  saved.lunarTransit.CopyIn(0, bytes);
  ASSERT_TRUE(saved.Save(folder / "velm.cfg").ok());
  Configuration loaded;
  ASSERT_TRUE(loaded.Load(folder / "velm.cfg").ok());
  EXPECT_EQ(loaded.lunarTransit.Bytes(), bytes);

  const LunarTransSettings s = LunarTransSettings::FromBlock(loaded.lunarTransit);
  EXPECT_EQ(std::tie(s.target, s.planets, s.houses, s.nodes, s.entering, s.exact, s.leaving),
            std::make_tuple(1, 3, 4, 1, 1, 0, 1));
  EXPECT_EQ(std::tie(s.periodKind, s.yearsBefore, s.daysBefore, s.yearsAfter, s.daysAfter),
            std::make_tuple(1, 2, 45, 0, 400));
  EXPECT_EQ(std::tie(s.from, s.to, s.signs, s.aspectSystem),
            std::make_tuple(1, 0, 6, Cp1251("Тест")));
  EXPECT_EQ(std::tie(s.houseOrbGroup, s.planetOrbs, s.planetOrbGroup, s.aspects),
            std::make_tuple(2, 0, 5, 2));
  EXPECT_EQ(std::tie(s.screenLineSpacing, s.printLineSpacing, s.ingresses, s.screenFontSize,
                     s.printFontSize, s.printColumns, s.printOrder),
            std::make_tuple(1150, 20000, 1, 120, 20000, 20, 1));

  cfg::ByteBlock written(LunarTransSettings::kSize);
  s.ToBlock(written);
  EXPECT_EQ(written.Bytes(), bytes);
}

TEST(LunarTransSettings, NameWithTrailingBlanksIsStoredCut) {
  LunarTransSettings s;
  s.aspectSystem = "VELM   ";
  cfg::ByteBlock block(LunarTransSettings::kSize);
  s.ToBlock(block);
  EXPECT_EQ(block.Bytes().substr(50, 12), std::string("VELM\0\0\0\0\0\0\0\0", 12));
}

// ---- the display values in each of the five blocks --------------------------------------------

// `size` zero bytes with `fields` written at their offsets.
std::string BlockWith(std::size_t size,
                      std::initializer_list<std::pair<std::size_t, std::string>> fields) {
  std::string bytes(size, '\0');
  for (const auto& [offset, value] : fields) bytes.replace(offset, value.size(), value);
  return bytes;
}
std::string I16(std::int16_t v) {
  BinaryWriter w;
  w.I16(v);
  return w.Take();
}
std::string U16(std::uint16_t v) {
  BinaryWriter w;
  w.U16(v);
  return w.Take();
}
std::string I32(std::int32_t v) {
  BinaryWriter w;
  w.I32(v);
  return w.Take();
}
std::string F64(double v) {
  BinaryWriter w;
  w.F64(v);
  return w.Take();
}

TEST(ListDisplaySettings, EachBlockHoldsTheSixValuesInItsOwnWay) {
  // Print font 2400, print spacing 1.25, 4 columns, order 1, screen font 110, screen spacing 1.5.
  const ListDisplaySettings values{2400, 1.25, 4, 1, 110, 1.5};
  struct Row {
    const char* name;
    DisplayBlock kind;
    std::string bytes;
  };
  const Row rows[] = {
      {"lunar_transits", DisplayBlock::kLunarTransits,
       BlockWith(92, {{76, I16(1500)},
                      {78, I16(1250)},
                      {82, U16(110)},
                      {84, U16(2400)},
                      {86, U16(4)},
                      {88, I16(1)}})},
      // Six int16: screen spacing x 1000, print spacing x 1000, screen font, print font, columns,
      // order.
      {"life_point", DisplayBlock::kLifePoint,
       BlockWith(76, {{60, I16(1500)},
                      {62, I16(1250)},
                      {64, I16(110)},
                      {66, I16(2400)},
                      {68, I16(4)},
                      {70, I16(1)}})},
      // Fonts as int, spacings as doubles, then columns and order as int.
      {"astrocartography", DisplayBlock::kAstroCartography,
       BlockWith(80, {{0, I32(110)},
                      {4, I32(2400)},
                      {8, F64(1.5)},
                      {16, F64(1.25)},
                      {24, I32(4)},
                      {28, I32(1)}})},
      // Four 16-bit words (screen font, print font, columns, order), then print and screen
      // spacing as doubles.
      {"tremin", DisplayBlock::kTremin,
       BlockWith(80, {{46, U16(110)},
                      {48, U16(2400)},
                      {50, U16(4)},
                      {52, U16(1)},
                      {56, F64(1.25)},
                      {64, F64(1.5)}})},
      {"planet_transits", DisplayBlock::kPlanetTransits,
       BlockWith(240, {{126, U16(110)},
                       {128, U16(2400)},
                       {130, U16(4)},
                       {132, U16(1)},
                       {136, F64(1.25)},
                       {144, F64(1.5)}})},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    cfg::ByteBlock block(r.bytes.size());
    block.CopyIn(0, r.bytes);
    EXPECT_EQ(ReadDisplaySettings(r.kind, block), values);
    cfg::ByteBlock written(r.bytes.size());
    WriteDisplaySettings(r.kind, values, written);
    EXPECT_EQ(written.Bytes(), r.bytes);
  }
}

TEST(ListDisplaySettings, EachKindEditsItsOwnConfigurationBlock) {
  Configuration c;
  EXPECT_EQ(&DisplayBlockOf(c, DisplayBlock::kLunarTransits), &c.lunarTransit);
  EXPECT_EQ(&DisplayBlockOf(c, DisplayBlock::kLifePoint), &c.lifePoint);
  EXPECT_EQ(&DisplayBlockOf(c, DisplayBlock::kAstroCartography), &c.tablesInterface);
  EXPECT_EQ(&DisplayBlockOf(c, DisplayBlock::kTremin), &c.treminSettings);
  EXPECT_EQ(&DisplayBlockOf(c, DisplayBlock::kPlanetTransits), &c.transit);
}

// Spacings in thousandths are rounded: truncating 1.15 x 1000 (1149.999...) would give 1149.
TEST(ListDisplaySettings, SpacingsInThousandthsAreRounded) {
  const std::pair<double, int> rows[] = {{1.15, 1150},  {1.5, 1500},   {0.1, 100},
                                         {2.999, 2999}, {20.0, 20000}, {1.0004, 1000}};
  for (const auto& [spacing, stored] : rows)
    EXPECT_EQ(SpacingToThousandths(spacing), stored) << spacing;
  cfg::ByteBlock block(LunarTransSettings::kSize);
  WriteDisplaySettings(DisplayBlock::kLunarTransits, {100, 1.15, 1, 0, 100, 1.15}, block);
  const LunarTransSettings s = LunarTransSettings::FromBlock(block);
  EXPECT_EQ(s.screenLineSpacing, 1150);
  EXPECT_EQ(s.printLineSpacing, 1150);
}

TEST(ListDisplaySettings, ValuesOutsideTheirRangesAreBroughtIn) {
  const ListDisplaySettings zero{};  // a block never written
  const ListDisplaySettings fixed = zero.Clamped();
  EXPECT_EQ(fixed, (ListDisplaySettings{1, 0.1, 1, 0, 1, 0.1}));
  const ListDisplaySettings wild{90000, 55.0, 40, 7, -3, std::nan("")};
  EXPECT_EQ(wild.Clamped(), (ListDisplaySettings{20000, 20.0, 20, 0, 1, 0.1}));
}

}  // namespace
