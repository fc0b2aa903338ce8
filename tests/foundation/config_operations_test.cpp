#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "foundation/config/configuration.h"
#include "foundation/files/binary_io.h"

namespace {

using C = Configuration;

// Bodies.
constexpr int kSun = 0, kMoon = 1, kMercury = 2, kVenus = 3, kMars = 4, kJupiter = 5, kSaturn = 6,
              kUranus = 7, kNeptune = 8, kPluto = 9;
// Signs.
constexpr int kAries = 0, kTaurus = 1, kCancer = 3, kLeo = 4, kVirgo = 5, kLibra = 6, kScorpio = 7,
              kCapricorn = 9, kAquarius = 10, kPisces = 11;

TEST(ConfigurationObjects, FlagsAreKeptPerObjectAndRefusedOutOfRange) {
  C c;
  ASSERT_TRUE(c.SetObjectFlags(12, true, false, true, 4));
  const cfg::ObjectFlags f = c.GetObjectFlags(12);
  EXPECT_TRUE(f.shown);
  EXPECT_FALSE(f.aspect1);
  EXPECT_TRUE(f.aspect2);
  EXPECT_EQ(f.orbGroup, 4);
  EXPECT_EQ(c.DisplayFlag(12), 'Y');
  EXPECT_EQ(c.objectStrings[C::kOrbString][12], '4');

  const C before = c;
  EXPECT_FALSE(c.SetObjectFlags(12, false, false, false, 6));  // orb group 6
  EXPECT_FALSE(c.SetObjectFlags(12, false, false, false, 0));
  EXPECT_FALSE(c.SetObjectFlags(34, true, true, true, 1));  // object 34
  EXPECT_FALSE(c.SetObjectFlags(-1, true, true, true, 1));
  EXPECT_TRUE(c == before);
  EXPECT_FALSE(c.GetObjectFlags(34).shown);
  EXPECT_EQ(c.DisplayFlag(40), 'N');
}

TEST(ConfigurationObjects, PairOrbClassIsTheSmallerOfTheTwo) {
  C c;
  struct Row {
    int a, classA, b, classB, expected;
  };
  const Row rows[] = {
      {0, 1, 6, 2, 1}, {6, 2, 0, 1, 1}, {7, 3, 8, 3, 3}, {20, 5, 29, 4, 4}, {33, 2, 31, 5, 2},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(c.SetObjectFlags(r.a, true, true, true, r.classA));
    ASSERT_TRUE(c.SetObjectFlags(r.b, true, true, true, r.classB));
    EXPECT_EQ(c.GetPairOrbClass(r.a, r.b), r.expected) << r.a << "-" << r.b;
  }
  // The defaults: the luminaries take class 1 into any pair.
  const C defaults;
  EXPECT_EQ(defaults.GetPairOrbClass(kSun, kPluto), 1);
  EXPECT_EQ(defaults.GetPairOrbClass(kSaturn, kUranus), 2);
}

TEST(ConfigurationObjects, AspTableConfigIsReadAndWrittenAsOneGroup) {
  C c;
  cfg::AspTableConfig t;
  for (int k = 0; k < 40; ++k) t.switches[k] = static_cast<char>(k % 3 == 0);
  t.colourMode = 1;
  t.cellMode = 3;
  t.houseOrbGroup = 5;
  c.SetAspTableConfig(t);
  EXPECT_EQ(c.GetAspTableConfig(), t);
  // The switches are the first bytes of the aspect-table block; the table-only fields stay.
  EXPECT_EQ(c.aspectTable.Bytes()[3], 1);
  EXPECT_EQ(c.aspectTable.Bytes()[4], 0);
  EXPECT_EQ(c.aspectTable.Get(cfg::AspectTableSettings::kMidpointSystem), "VELM");
}

TEST(ConfigurationSystemNames, SlotsHoldNamesOfAtMostEightCharacters) {
  C c;
  for (int slot = 0; slot < C::kSystemSlotCount; ++slot) EXPECT_EQ(c.GetSystemName(slot), "VELM");
  struct Row {
    int slot;
    const char* name;
    bool accepted;
  };
  const Row rows[] = {{0, "NATAL", true},      {9, "12345678", true}, {19, "SHOW", true},
                      {3, "123456789", false}, {4, "", false},        {20, "X", false},
                      {-1, "X", false}};
  for (const Row& r : rows) {
    const std::string before = c.GetSystemName(r.slot);
    EXPECT_EQ(c.SetSystemName(r.slot, r.name), r.accepted) << r.slot << " " << r.name;
    EXPECT_EQ(c.GetSystemName(r.slot), r.accepted ? std::string(r.name) : before) << r.slot;
  }
  EXPECT_EQ(c.GetSystemName(20), "");
}

TEST(ConfigurationDignity, FromTheDefaultRulersTable) {
  const C c;
  struct Row {
    const char* name;
    int body, sign, dignity;
  };
  const Row rows[] = {
      {"mars_rules_aries", kMars, kAries, 1},
      {"saturn_rules_aquarius", kSaturn, kAquarius, 1},
      {"pluto_second_ruler_of_scorpio", kPluto, kScorpio, 2},
      {"neptune_second_ruler_of_pisces", kNeptune, kPisces, 2},
      {"sun_exalted_in_aries", kSun, kAries, 3},
      {"venus_exalted_in_pisces", kVenus, kPisces, 3},
      {"venus_detriment_in_aries", kVenus, kAries, 4},
      {"moon_detriment_in_capricorn", kMoon, kCapricorn, 4},
      {"uranus_detriment_in_leo", kUranus, kLeo, 4},
      {"saturn_fall_in_aries", kSaturn, kAries, 5},
      {"jupiter_fall_in_capricorn", kJupiter, kCapricorn, 5},
      {"sun_fall_in_libra", kSun, kLibra, 5},
      {"mercury_rules_and_is_exalted_in_virgo", kMercury, kVirgo, 1},
      {"mercury_detriment_before_fall_in_pisces", kMercury, kPisces, 4},
      {"jupiter_nothing_in_aries", kJupiter, kAries, 0},
      {"moon_exalted_in_taurus", kMoon, kTaurus, 3},
      {"mars_fall_in_cancer", kMars, kCancer, 5},
      {"sign_12", kSun, 12, 0},
      {"sign_minus_1", kSun, -1, 0},
      {"body_minus_1_never_matches_an_empty_cell", -1, kAries, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(c.GetDignity(r.body, r.sign), r.dignity) << r.name;
}

TEST(ConfigurationDignity, AnEditedTableAndTheSecondExaltationColumn) {
  C c;
  c.rulers.fill(-1);
  c.rulers[36 + kLeo] = 20;  // column 3: a second exalted body in Leo
  c.rulers[12 + kLibra] = 22;
  EXPECT_EQ(c.GetDignity(20, kLeo), 3);
  EXPECT_EQ(c.GetDignity(20, kAquarius), 5);
  EXPECT_EQ(c.GetDignity(22, kLibra), 2);
  EXPECT_EQ(c.GetDignity(22, kAries), 4);
  EXPECT_EQ(c.GetDignity(kMars, kAries), 0);
}

TEST(ConfigurationDignity, ListDignityPlanetsCountsEachBodyOnce) {
  C c;
  std::vector<std::int16_t> list = {99};
  EXPECT_EQ(c.ListDignityPlanets(&list), 10);
  EXPECT_EQ(list, (std::vector<std::int16_t>{kMars, kVenus, kMercury, kMoon, kSun, kJupiter,
                                             kSaturn, kPluto, kUranus, kNeptune}));
  EXPECT_EQ(c.ListDignityPlanets(nullptr), 10);

  c.rulers.fill(-1);
  EXPECT_EQ(c.ListDignityPlanets(&list), 0);  // the empty table of the rulers warning
  EXPECT_TRUE(list.empty());

  c.rulers[0] = 29;
  c.rulers[1] = 30;  // not a planet 0..29
  c.rulers[47] = 29;
  EXPECT_EQ(c.ListDignityPlanets(&list), 1);
  EXPECT_EQ(list, std::vector<std::int16_t>{29});
}

TEST(ConfigurationStatistics, RecordReflectsTheBlock) {
  C c;
  const cfg::StatisticsRecord defaults = c.GetStatisticsSettings();
  EXPECT_EQ(defaults.kind, 0);
  EXPECT_EQ(defaults.minorAspects, 1);
  EXPECT_EQ(defaults.nodes, 1);
  EXPECT_EQ(defaults.aspectSystem, "");

  const cfg::StatisticsRecord r{4, 12, 35, 0, 0, 2, "MYSYSTEM9", 1, 1};
  c.SetStatisticsSettings(r);
  EXPECT_EQ(c.GetStatisticsSettings(), r);
  EXPECT_EQ(c.statistics.Get(cfg::StatisticsSettings::kObject2), 35);
  EXPECT_EQ(c.statistics.Get(cfg::StatisticsSettings::kSelectedRecords), 1);
}

TEST(WheelConstantsSets, OutOfRangeNumbersGiveSet13) {
  WheelConstants w;
  for (int k = 0; k < WheelConstants::kSetCount; ++k) {
    w.Set(k).Set(cfg::WheelSet::kZodiacOuter, 100.0 + k);
    EXPECT_EQ(w.GetSet(k).Size(), 168u);
  }
  const struct {
    int k;
    double outer;
  } rows[] = {{0, 100}, {12, 112}, {13, 113}, {14, 113}, {-1, 113}, {1000, 113}};
  for (const auto& r : rows)
    EXPECT_EQ(w.GetSet(r.k).Get(cfg::WheelSet::kZodiacOuter), r.outer) << r.k;
}

TEST(WheelConstantsSets, ShippedGeometryIsNested) {
  const WheelConstants w;
  using S = cfg::WheelSet;
  for (int k = 0; k < WheelConstants::kSetCount; ++k) {
    const cfg::ByteBlock& s = w.GetSet(k);
    EXPECT_EQ(s.Get(S::kZodiacOuter), 1.0) << k;
    EXPECT_LT(s.Get(S::kZodiacInner), s.Get(S::kZodiacOuter)) << k;
    EXPECT_LE(s.Get(S::kHouseRingOuter), s.Get(S::kZodiacInner)) << k;
    EXPECT_LE(s.Get(S::kHouseRingInner), s.Get(S::kHouseRingOuter)) << k;
    EXPECT_LT(s.Get(S::kPlanetGlyphRadius), s.Get(S::kHouseRingInner)) << k;
    EXPECT_LT(s.Get(S::kCentreCircleRadius), s.Get(S::kDegreeTextRadius)) << k;
    EXPECT_GT(s.Get(S::kCentreCircleRadius), 0.0) << k;
    if (s.Get(S::kOuterPlanetGlyphRadius) > 0) {
      EXPECT_GT(s.Get(S::kOuterPlanetGlyphRadius), s.Get(S::kHouseRingOuter)) << k;
      EXPECT_LT(s.Get(S::kOuterPlanetGlyphRadius), s.Get(S::kZodiacInner)) << k;
    }
  }
}

// The runs that the import of an older configuration copies into each block (values of 4 bytes),
// and the block sizes their owners fix.
TEST(ConfigurationBlocks, EachBlockHoldsWhatTheOlderConfigurationImportCopies) {
  const C c;
  struct Row {
    const char* name;
    std::size_t size;
    std::size_t needed;
  };
  const Row rows[] = {
      {"archiveSearch", c.archiveSearch.Size(), 268},
      {"archiveSort", c.archiveSort.Size(), 13 * 4},
      {"archivePrint", c.archivePrint.Size(), 16 * 4},
      {"dynamicArchive", c.dynamicArchive.Size(), 72 * 4},
      {"aspectTable", c.aspectTable.Size(), 14 * 4 + 3 * 2 + 6 * 4 + 3 * 4 + 1},
      {"midpointPrint", c.midpointPrint.Size(), 10 * 4},
      {"arabicParts", c.arabicParts.Size(), 11 * 4},
      {"aspectGraph", c.aspectGraph.Size(), 6 * 4},
      {"thematicChart", c.thematicChart.Size(), 7 * 4},
      {"graphicEphemeris", c.graphicEphemeris.Size(), 15 * 4},
      {"starAspects", c.starAspects.Size(), 6 * 4},
      {"bindhu", c.bindhu.Size(), 4 * 4},
      {"sabian", c.sabian.Size(), 3 * 4},
      {"astroCart", c.astroCart.Size(), 25 * 4},
      {"acLinesList", c.acLinesList.Size(), 15 * 4},
      {"tablesInterface", c.tablesInterface.Size(), 20 * 4},
      {"query", c.query.Size(), 11 * 4},
      {"synastry", c.synastry.Size(), 271 * 4},
      {"statistics", c.statistics.Size(), 17 * 4},
      {"interpretation", c.interpretation.Size(), 75 * 4},
      {"transit", c.transit.Size(), 60 * 4},
      {"lunarTransit", c.lunarTransit.Size(), 92},
      {"lifePoint", c.lifePoint.Size(), 19 * 4},
      {"treminSettings", c.treminSettings.Size(), 20 * 4},
      {"treminForecast", c.treminForecast.Size(), 30 * 4},
      {"rectification", c.rectification.Size(), 43 * 4},
      {"wheelSet", c.wheelConstants.GetSet(0).Size(), 168},
  };
  for (const Row& r : rows) EXPECT_GE(r.size, r.needed) << r.name;
  EXPECT_EQ(c.lunarTransit.Size(), 92u);
  EXPECT_EQ(c.archiveSearch.Size(), 268u);
}

// A lunar-transit block built byte by byte from its published offsets reads back field by field.
TEST(ConfigurationBlocks, LunarTransitFieldsSitAtTheirOffsets) {
  BinaryWriter raw;
  for (std::int32_t v : {1, 2, 3, 1, 1, 0, 1, 1}) raw.I32(v);  // offsets 0..28
  for (std::int16_t v : {5, 120, 7, 365}) raw.I16(v);          // 32..38
  raw.I32(1);                                                  // 40 from
  raw.I32(1);                                                  // 44 to
  raw.I16(8);                                                  // 48 N signs
  raw.FixedText("LUNA", 12);                                   // 50
  raw.I16(4);                                                  // 62 house orb group
  raw.I32(1);                                                  // 64 planet orbs
  raw.I16(3);                                                  // 68 planet orb group
  raw.Zeros(2);
  raw.I32(2);     // 72 aspects
  raw.I16(1500);  // 76
  raw.I16(1700);  // 78
  raw.U16(1);     // 80 ingresses
  raw.U16(110);   // 82
  raw.U16(2600);  // 84
  raw.U16(6);     // 86
  raw.I16(1);     // 88
  raw.Zeros(2);
  ASSERT_EQ(raw.Size(), 92u);

  C c;
  c.lunarTransit.CopyIn(0, raw.Data());
  using L = cfg::LunarTransSettings;
  const cfg::ByteBlock& b = c.lunarTransit;
  EXPECT_EQ(b.Get(L::kPlanets), 2);
  EXPECT_EQ(b.Get(L::kHouses), 3);
  EXPECT_EQ(b.Get(L::kPeriodKind), 1);
  EXPECT_EQ(b.Get(L::kDaysBefore), 120);
  EXPECT_EQ(b.Get(L::kDaysAfter), 365);
  EXPECT_EQ(b.Get(L::kTo), 1);
  EXPECT_EQ(b.Get(L::kSigns), 8);
  EXPECT_EQ(b.Get(L::kAspectSystem), "LUNA");
  EXPECT_EQ(b.Get(L::kHouseOrbGroup), 4);
  EXPECT_EQ(b.Get(L::kPlanetOrbGroup), 3);
  EXPECT_EQ(b.Get(L::kAspects), 2);
  EXPECT_EQ(b.Get(L::kPrintLineSpacing), 1700);
  EXPECT_EQ(b.Get(L::kIngresses), 1);
  EXPECT_EQ(b.Get(L::kPrintFontSize), 2600);
  EXPECT_EQ(b.Get(L::kPrintColumns), 6);
  EXPECT_EQ(b.Get(L::kPrintOrder), 1);
}

TEST(ConfigurationBlocks, FieldsAreLittleEndianAndStayInsideTheirBlock) {
  cfg::ByteBlock b(8);
  b.Set(cfg::Field<std::int32_t>{2}, std::int32_t{-2});
  EXPECT_EQ(b.Bytes(), std::string("\0\0\xFE\xFF\xFF\xFF\0\0", 8));
  b.Set(cfg::Field<double>{4}, 1.0);  // would pass the end: not written
  b.Set(cfg::TextField{5, 4}, "abc");
  EXPECT_EQ(b.Bytes(), std::string("\0\0\xFE\xFF\xFF\xFF\0\0", 8));
  EXPECT_EQ(b.Get(cfg::Field<double>{4}), 0.0);
  b.Set(cfg::TextField{4, 4}, "abcdef");  // cut to the field's four bytes
  EXPECT_EQ(b.Get(cfg::TextField{4, 4}), "abcd");
  b.CopyIn(6, "XYZ");  // the byte past the end is dropped
  EXPECT_EQ(b.Bytes().substr(4), std::string("abXY", 4));
}

TEST(ConfigurationDefaults, CommentPagesAreRussianAndFitTheirField) {
  const C c;
  std::set<std::string> distinct;
  for (const std::string& name : c.commentPageNames) {
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 24u) << name;
    EXPECT_GE(static_cast<unsigned char>(name[0]), 0xC0u) << name;  // a Cyrillic capital
    distinct.insert(name);
  }
  EXPECT_EQ(distinct.size(), 10u);
}

}  // namespace

namespace {

// Fields whose offsets their owners publish: a value written at the published offset of a raw
// block reads back through the named field.
TEST(ConfigurationBlocks, PublishedOffsetsOfTheSearchAndEphemerisBlocks) {
  struct Row {
    const char* name;
    std::size_t offset;
    std::int32_t value;
    int width;  // 2 or 4
    std::int32_t (*read)(const cfg::ByteBlock&);
  };
  using S = cfg::ArchiveSearchCriteria;
  using E = cfg::GraphicEphemerisSettings;
  const Row search[] = {
      {"date1_year", 8, -500, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(S::kDate1Year); }},
      {"date2_era", 28, 'B', 4, [](const cfg::ByteBlock& b) { return b.Get(S::kDate2Era); }},
      {"lat2_minutes", 46, 59, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(S::kLat2Minutes); }},
      {"lon1_letter", 56, 'W', 4, [](const cfg::ByteBlock& b) { return b.Get(S::kLon1Letter); }},
      {"type_context", 176, 1, 4, [](const cfg::ByteBlock& b) { return b.Get(S::kTypeContext); }},
      {"comment_page", 256, 10, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(S::kCommentPage); }},
      {"longitude_on", 264, 1, 4, [](const cfg::ByteBlock& b) { return b.Get(S::kLonOn); }},
  };
  const Row ephemeris[] = {
      {"period", 6, 5, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(E::kPeriod); }},
      {"mark_chart", 20, 1, 4, [](const cfg::ByteBlock& b) { return b.Get(E::kMarkChart); }},
      {"pluto_colour", 42, 54, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(E::kCurveColour[9]); }},
      {"glyph_colour", 46, 12, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(E::kGlyphColour); }},
      {"print_heading", 50, 1, 2,
       [](const cfg::ByteBlock& b) -> std::int32_t { return b.Get(E::kPrintHeading); }},
  };
  const auto check = [](const Row& r, std::size_t size) {
    cfg::ByteBlock b(size);
    BinaryWriter raw;
    if (r.width == 2)
      raw.I16(static_cast<std::int16_t>(r.value));
    else
      raw.I32(r.value);
    b.CopyIn(r.offset, raw.Data());
    EXPECT_EQ(r.read(b), r.value) << r.name;
  };
  for (const Row& r : search) check(r, S::kSize);
  for (const Row& r : ephemeris) check(r, E::kSize);

  cfg::ByteBlock b(S::kSize);
  b.CopyIn(72, "SMITH");
  b.CopyIn(112, "Moscow");
  b.CopyIn(210, "comment");
  EXPECT_EQ(b.Get(S::kName), "SMITH");
  EXPECT_EQ(b.Get(S::kPlace), "Moscow");
  EXPECT_EQ(b.Get(S::kComment), "comment");
}

}  // namespace
