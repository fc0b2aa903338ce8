#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/atlas/town_search.h"
#include "foundation/atlas/towns.h"
#include "foundation/datetime/date_text.h"
#include "foundation/files/binary_io.h"
#include "foundation/text/code_page_866.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::SourceDir;
using testing_support::TempFolder;
using testing_support::WriteFile;

// "Россия" and "Москва" in code page 866, byte by byte from the code page's table.
const std::string kRussia866 = "\x90\xAE\xE1\xE1\xA8\xEF";
const std::string kMoscow866 = "\x8C\xAE\xE1\xAA\xA2\xA0";

struct TownRow {
  std::string name;  // code page 866
  int region;
  int latitudeMinutes, longitudeMinutes;
  std::uint32_t code;
  std::string latin = {};  // the Latin name beside a Russian one (names of version 2)
  int zone = 0;            // 0 none, else 1 + the number of its tz zone (names of version 3)
};

const std::vector<std::string> kRegions = {kRussia866, "Argentina", "Ecuador", "USA"};
const std::vector<TownRow> kTowns = {
    {"Moskva", 0, 55 * 60 + 45, 37 * 60 + 37, 1u | 2u << 2 | 3u << 10 | 3u << 30},
    {"Buenos Aires", 1, -(34 * 60 + 36), -(58 * 60 + 22), 0},
    {"Quito", 2, -13, -(78 * 60 + 30), 0},
    {kMoscow866, 0, 55 * 60 + 45, 37 * 60 + 37, 0},
    {"Moscow", 3, 46 * 60 + 44, -117 * 60, 0},
    {"Mosul", 3, 36 * 60 + 20, 43 * 60 + 8, 0},
};

struct AtlasBytes {
  std::string cor, dat, dst;
};

// A string after its length in one byte.
void Counted(BinaryWriter& w, const std::string& s) {
  w.U8(static_cast<std::uint8_t>(s.size()));
  w.Bytes(s);
}

AtlasBytes MakeAtlas(const std::vector<TownRow>& towns = kTowns,
                     const std::vector<std::string>& regions = kRegions, int namesVersion = 1,
                     const std::vector<std::string>& zones = {}) {
  BinaryWriter cor, dat, dst;
  cor.Bytes("VTWC");
  cor.U16(1);
  cor.U32(static_cast<std::uint32_t>(towns.size()));
  dat.Bytes("VTWD");
  dat.U16(static_cast<std::uint16_t>(namesVersion));
  dat.U32(static_cast<std::uint32_t>(towns.size()));
  if (namesVersion == 3) dat.U16(static_cast<std::uint16_t>(zones.size()));
  for (const std::string& z : zones) Counted(dat, z);
  for (const TownRow& t : towns) {
    cor.I16(static_cast<std::int16_t>(t.latitudeMinutes));
    cor.I16(static_cast<std::int16_t>(t.longitudeMinutes));
    cor.U32(t.code);
    dat.U16(static_cast<std::uint16_t>(t.region));
    Counted(dat, t.name);
    if (namesVersion >= 2) Counted(dat, t.latin);
    if (namesVersion == 3) dat.U16(static_cast<std::uint16_t>(t.zone));
  }
  dst.Bytes("VTWR");
  dst.U16(1);
  dst.U16(static_cast<std::uint16_t>(regions.size()));
  for (const std::string& r : regions) Counted(dst, r);
  return {cor.Take(), dat.Take(), dst.Take()};
}

void Write(const TempFolder& dir, const AtlasBytes& atlas) {
  WriteFile(dir / "Town.cor", atlas.cor);
  WriteFile(dir / "Town.dat", atlas.dat);
  WriteFile(dir / "Town.dst", atlas.dst);
}

class Atlas : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(dir_, MakeAtlas());
    ASSERT_TRUE(towns_.Load(dir_.Path()).ok());
  }
  TempFolder dir_;
  TOWNS towns_;
};

TEST_F(Atlas, CoordinatesNamesAndFormattedText) {
  ASSERT_EQ(towns_.Count(), 6);
  const struct {
    int town;
    int latDeg, latMin;
    bool south;
    int lonDeg, lonMin;
    bool west;
    double latitude, longitude;
    const char* text;  // UTF-8
  } cases[] = {
      {0, 55, 45, false, 37, 37, false, 55.75, 37 + 37 / 60.0, "55N45  037E37  Moskva  Россия"},
      {1, 34, 36, true, 58, 22, true, -34.6, -(58 + 22 / 60.0),
       "34S36  058W22  Buenos Aires  Argentina"},
      {2, 0, 13, true, 78, 30, true, -13 / 60.0, -78.5, "00S13  078W30  Quito  Ecuador"},
      {3, 55, 45, false, 37, 37, false, 55.75, 37 + 37 / 60.0, "55N45  037E37  Москва  Россия"},
      {4, 46, 44, false, 117, 0, true, 46 + 44 / 60.0, -117.0, "46N44  117W00  Moscow  USA"},
  };
  for (const auto& c : cases) {
    TownCoords coords;
    ASSERT_TRUE(towns_.GetTownCoords(c.town, coords)) << c.town;
    EXPECT_EQ(coords.latitudeDegrees, c.latDeg) << c.town;
    EXPECT_EQ(coords.latitudeMinutes, c.latMin) << c.town;
    EXPECT_EQ(coords.south, c.south) << c.town;
    EXPECT_EQ(coords.longitudeDegrees, c.lonDeg) << c.town;
    EXPECT_EQ(coords.longitudeMinutes, c.lonMin) << c.town;
    EXPECT_EQ(coords.west, c.west) << c.town;
    double latitude = 0, longitude = 0;
    ASSERT_TRUE(towns_.GetTownDegrees(c.town, latitude, longitude));
    EXPECT_NEAR(latitude, c.latitude, 1e-12) << c.town;
    EXPECT_NEAR(longitude, c.longitude, 1e-12) << c.town;
    EXPECT_EQ(Utf8(towns_.FormatTown(c.town)), c.text) << c.town;
  }
  EXPECT_EQ(towns_.GetTownName(3), Cp1251("Москва"));
  EXPECT_EQ(towns_.GetTownRegion(0), Cp1251("Россия"));

  double latitude = 1, longitude = 2;
  TownCoords coords;
  for (int bad : {-1, 6}) {
    EXPECT_FALSE(towns_.GetTownDegrees(bad, latitude, longitude));
    EXPECT_FALSE(towns_.GetTownCoords(bad, coords));
    EXPECT_EQ(towns_.FormatTown(bad), "");
  }
  EXPECT_EQ(latitude, 1.0);
}

TEST_F(Atlas, CodeFieldsAreTwoBitsEach) {
  const int fields[][2] = {{-1, 0}, {0, 1}, {1, 2}, {2, 0}, {5, 3}, {14, 0}, {15, 3}, {16, 0}};
  for (const auto& f : fields) EXPECT_EQ(towns_.GetTownCode(0, f[0]), f[1]) << f[0];
  EXPECT_EQ(towns_.GetTownCode(1, 5), 0);
  EXPECT_EQ(towns_.GetTownCode(6, 0), 0);
}

// The town's standard zone sits in the code's top byte, 128 + quarter hours east; 0 is unknown.
// Only a zone that a chart's zone field can hold (12 hours at most) is given to the entry.
TEST(AtlasZones, TheStandardZoneOfATownWhereTheAtlasKnowsIt) {
  const auto zoned = [](int byte) { return 1u | static_cast<std::uint32_t>(byte) << 24; };
  const struct {
    const char* name;
    std::uint32_t code;
    bool known;
    int minutes;
    const char* zone;  // what the entry gets; "" none
  } rows[] = {
      {"unknown", 1u | 3u << 22, false, 0, ""},
      {"moscow", zoned(128 + 12), true, 180, "+03:00"},
      {"kathmandu", zoned(128 + 23), true, 345, "+05:45"},
      {"greenwich", zoned(128), true, 0, "+00:00"},
      {"new_york", zoned(128 - 20), true, -300, "-05:00"},
      {"baker_island", zoned(128 - 48), true, -720, "-12:00"},
      {"chatham", zoned(128 + 51), true, 765, "+12:45"},
      {"kiribati", zoned(128 + 56), true, 840, "+14:00"},
      {"beyond_16_hours", zoned(128 + 65), true, 975, ""},
  };
  std::vector<TownRow> towns;
  for (const auto& r : rows) towns.push_back({r.name, 3, 0, 0, r.code});
  TempFolder dir;
  Write(dir, MakeAtlas(towns));
  TOWNS atlas;
  ASSERT_TRUE(atlas.Load(dir.Path()).ok());
  for (int i = 0; i < atlas.Count(); ++i) {
    const auto& r = rows[i];
    SCOPED_TRACE(r.name);
    int minutes = 999;
    EXPECT_EQ(atlas.GetTownZone(i, minutes), r.known);
    EXPECT_EQ(minutes, r.known ? r.minutes : 999);
    FTimeCor zone;
    ASSERT_TRUE(zone.SetTime(1, 0, '+').ok());
    EXPECT_EQ(ZoneOfTown(atlas, i, zone), *r.zone != '\0');
    if (*r.zone != '\0') {
      EXPECT_EQ(zone.Sign() + Time2String(zone.Hours(), zone.Minutes()), r.zone);
    } else {
      EXPECT_EQ(zone.GetCorrectionHours(), 1.0) << "left as it was";
    }
  }
  int minutes = 5;
  EXPECT_FALSE(atlas.GetTownZone(-1, minutes));
  EXPECT_FALSE(atlas.GetTownZone(atlas.Count(), minutes));
  EXPECT_EQ(minutes, 5);
}

// Names of version 3 give each town its tz zone by number in a list of names; a list or number
// out of bounds refuses the file.
TEST(AtlasZones, EachTownsTzZoneAndDamagedZoneLists) {
  std::vector<TownRow> rows = kTowns;
  rows[0].zone = 1;
  rows[2].zone = 2;
  const struct {
    std::vector<std::string> zones;
    int zoneOfTown4;  // 3: past the list of two
  } cases[] = {
      {{"Europe/Moscow", "America/Argentina/Buenos_Aires"}, 0},
      {{"Europe/Moscow", "Etc/GMT+5"}, 3},
      {{"Europe/Moscow", std::string(41, 'a')}, 0},
      {{"Europe/Moscow", "../../etc/passwd"}, 0},
      {{"Europe/Moscow", "/etc/localtime"}, 0},
  };
  for (const auto& c : cases) {
    rows[4].zone = c.zoneOfTown4;
    TempFolder dir;
    Write(dir, MakeAtlas(rows, kRegions, 3, c.zones));
    TOWNS atlas;
    const bool good = c.zones == cases[0].zones;
    ASSERT_EQ(atlas.Load(dir.Path()).ok(), good) << c.zones[1] << " " << c.zoneOfTown4;
    if (!good) continue;
    const std::string_view zones[] = {"Europe/Moscow", "", "America/Argentina/Buenos_Aires", ""};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(atlas.GetTownZoneName(i), zones[i]) << i;
    EXPECT_EQ(atlas.GetTownZoneName(6), "");
  }
}

TEST_F(Atlas, PrefixSearchIgnoresCaseAndKeepsNameOrder) {
  const struct {
    const char* prefixUtf8;
    std::size_t limit;
    std::vector<int> towns;
  } cases[] = {
      {"mos", 10, {4, 0, 5}},  // MOSCOW < MOSKVA < MOSUL
      {"MOSK", 10, {0}},      {"мос", 10, {3}},
      {"Mos", 2, {4, 0}},     {"", 3, {1, 4, 0}},  // BUENOS AIRES, MOSCOW, MOSKVA
      {"Moscowx", 10, {}},    {"Z", 10, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(towns_.FindTownsByPrefix(Cp1251(c.prefixUtf8), c.limit), c.towns) << c.prefixUtf8;
}

// A UTF-8 name in code page 866, as the atlas files hold it.
std::string Name866(const char* utf8) {
  std::string text = Cp1251(utf8);
  ConvertString1251To866(text);
  return text;
}

TEST(AtlasSearch, YoAndIeFindEachOtherInNameOrder) {
  const std::vector<TownRow> towns = {
      {Name866("Королев"), 0, 55 * 60 + 55, 37 * 60 + 49, 0},
      {Name866("Щёлково"), 0, 55 * 60 + 55, 38 * 60, 0},
      {Name866("Ёлкино"), 0, 56 * 60, 40 * 60, 0},
      {Name866("Орск"), 0, 51 * 60 + 12, 58 * 60 + 34, 0},
      {Name866("Елец"), 0, 52 * 60 + 37, 38 * 60 + 30, 0},
  };
  TempFolder dir;
  Write(dir, MakeAtlas(towns));
  TOWNS atlas;
  ASSERT_TRUE(atlas.Load(dir.Path()).ok());
  const struct {
    const char* typed;  // UTF-8
    std::vector<int> towns;
  } cases[] = {
      {"Королёв", {0}}, {"КОРОЛЁВ", {0}}, {"королев", {0}}, {"щелк", {1}},
      {"Щёлк", {1}},    {"ёлк", {2}},     {"ЕЛК", {2}},     {"е", {4, 2}},  // ЕЛЕЦ < ЕЛКИНО
      {"ё", {4, 2}},    {"Орё", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(atlas.FindTownsByPrefix(Cp1251(c.typed)), c.towns) << c.typed;
  // The names themselves are kept as written.
  EXPECT_EQ(atlas.GetTownName(1), Cp1251("Щёлково"));
}

TEST_F(Atlas, DamagedOrTruncatedFilesAreRefusedAndTheAtlasKept) {
  const AtlasBytes good = MakeAtlas();
  std::vector<TownRow> badLatitude = kTowns;
  badLatitude[1].latitudeMinutes = -(90 * 60 + 1);
  std::vector<TownRow> badRegion = kTowns;
  badRegion[2].region = 4;
  std::vector<TownRow> longName = kTowns;
  longName[0].name = std::string(26, 'a');
  std::vector<TownRow> emptyName = kTowns;
  emptyName[0].name.clear();
  const AtlasBytes fewerNames = MakeAtlas(std::vector<TownRow>(kTowns.begin(), kTowns.end() - 1));

  struct Case {
    const char* name;
    AtlasBytes bytes;
  };
  std::vector<Case> cases = {
      {"cor_empty", {"", good.dat, good.dst}},
      {"cor_header_only", {good.cor.substr(0, 10), good.dat, good.dst}},
      {"cor_one_byte_short", {good.cor.substr(0, good.cor.size() - 1), good.dat, good.dst}},
      {"cor_trailing_byte", {good.cor + "x", good.dat, good.dst}},
      {"dat_truncated_in_a_name", {good.cor, good.dat.substr(0, 20), good.dst}},
      {"dat_one_byte_short", {good.cor, good.dat.substr(0, good.dat.size() - 1), good.dst}},
      {"dst_truncated", {good.cor, good.dat, good.dst.substr(0, 9)}},
      {"dst_bad_magic", {good.cor, good.dat, "XXXX" + good.dst.substr(4)}},
      {"cor_other_version",
       {good.cor.substr(0, 4) + "\x02" + good.cor.substr(5), good.dat, good.dst}},
      {"counts_disagree", {good.cor, fewerNames.dat, good.dst}},
      {"latitude_beyond_pole", MakeAtlas(badLatitude)},
      {"region_number_outside", MakeAtlas(badRegion)},
      {"name_of_26", MakeAtlas(longName)},
      {"empty_name", MakeAtlas(emptyName)},
  };
  for (const Case& c : cases) {
    TempFolder bad;
    Write(bad, c.bytes);
    const Status st = towns_.Load(bad.Path());
    EXPECT_EQ(st.ErrorCode(), kErrFormat) << c.name;
    EXPECT_EQ(towns_.Count(), 6) << c.name;
    EXPECT_EQ(towns_.GetTownName(5), "Mosul") << c.name;
  }
  TempFolder missing;
  EXPECT_EQ(towns_.Load(missing.Path()).ErrorCode(), kErrCannotOpen);
  EXPECT_EQ(towns_.Count(), 6);
}

TEST(AtlasSearch, TownsNamedInRussianAreFoundByTheirLatinNamesAndWhateverTheirSigns) {
  std::vector<TownRow> rows = kTowns;
  rows[3].latin = "Moskva";  // Москва
  rows.push_back({Name866("Житомир"), 0, 50 * 60 + 15, 28 * 60 + 40, 0, "Zhytomyr"});
  // 7..10: names that lost their soft sign in the atlas, or hold one in the middle.
  for (const char* name : {"Анадыр", "Усть-Илимск", "Казань", "Казанлык"})
    rows.push_back({Name866(name), 0, 0, 0, 0, ""});
  TempFolder dir;
  Write(dir, MakeAtlas(rows, kRegions, 2));
  TOWNS towns;
  ASSERT_TRUE(towns.Load(dir.Path()).ok());
  const struct {
    const char* prefixUtf8;
    std::size_t limit;
    std::vector<int> towns;
  } cases[] = {
      {"zhyt", 10, {6}},
      {"Житомир", 10, {6}},
      {"MOSK", 10, {0, 3}},  // MOSKVA, Москва
      {"mosk", 1, {0}},
      {"мос", 10, {3}},
      {"Zhytomyrx", 10, {}},
      // Signs left out on both sides; the names as typed first.
      {"Анадырь", 10, {7}},
      {"анадЫРЪ", 10, {7}},
      {"Уст-Илим", 10, {8}},
      {"Усть-", 10, {8}},
      {"Казань", 10, {9, 10}},
      {"Анадырьск", 10, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(towns.FindTownsByPrefix(Cp1251(c.prefixUtf8), c.limit), c.towns) << c.prefixUtf8;
  EXPECT_EQ(towns.GetTownName(6), Cp1251("Житомир"));

  rows[6].latin = std::string(26, 'a');
  TempFolder bad;
  Write(bad, MakeAtlas(rows, kRegions, 2));
  EXPECT_EQ(towns.Load(bad.Path()).ErrorCode(), kErrFormat);
  EXPECT_EQ(towns.Count(), 11);
}

TEST(ShippedAtlas, RussianNamesFoundAlsoByTheirLatinNames) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(SourceDir() / "data").ok());
  EXPECT_GT(towns.Count(), 60000);  // by population, far below 10 000 inhabitants
  const struct {
    const char *russian, *latin, *region;
    int map;  // a regional map (code field) the town is labelled on (class 2 or 3)
  } cases[] = {
      {"Житомир", "Zhytomyr", "Украина", 4},       {"Кривой Рог", "Kryvyi Rih", "Украина", 5},
      {"Хельсинки", "Helsinki", "Финляндия", 4},   {"Варшава", "Warsaw", "Польша", 3},
      {"Новосибирск", "Novosibirsk", "Россия", 5},
  };
  for (const auto& c : cases) {
    int byRussian = -1, byLatin = -1;
    for (int i : towns.FindTownsByPrefix(Cp1251(c.russian)))
      if (towns.GetTownName(i) == Cp1251(c.russian) && towns.GetTownRegion(i) == Cp1251(c.region))
        byRussian = i;
    for (int i : towns.FindTownsByPrefix(c.latin))
      if (towns.GetTownRegion(i) == Cp1251(c.region)) byLatin = i;
    ASSERT_GE(byRussian, 0) << c.latin;
    EXPECT_EQ(byLatin, byRussian) << c.latin;
    EXPECT_GE(towns.GetTownCode(byRussian, c.map), 2) << c.latin;
    // Not listed or drawn under the Latin name in its own country.
    for (int i : towns.FindTownsByPrefix(c.latin))
      if (towns.GetTownRegion(i) == Cp1251(c.region)) {
        EXPECT_NE(towns.GetTownName(i), c.latin);
      }
  }
}

TEST(ShippedAtlas, LoadsAndHoldsMoscowUnderItsRussianName) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(SourceDir() / "data").ok());
  EXPECT_GT(towns.Count(), 20000);
  int moscow = -1;
  for (int i : towns.FindTownsByPrefix(Cp1251("моск")))
    if (towns.GetTownName(i) == Cp1251("Москва") && towns.GetTownRegion(i) == Cp1251("Россия"))
      moscow = i;
  ASSERT_GE(moscow, 0);
  // Typed with the soft sign the atlas's name may lack.
  const std::vector<int> anadyr = towns.FindTownsByPrefix(Cp1251("Анадырь"));
  ASSERT_FALSE(anadyr.empty());
  EXPECT_TRUE(towns.GetTownName(anadyr[0]).starts_with(Cp1251("Анадыр")));
  TownCoords c;
  ASSERT_TRUE(towns.GetTownCoords(moscow, c));
  EXPECT_EQ(c.latitudeDegrees, 55);  // 55 45 N, 37 37 E
  EXPECT_EQ(c.longitudeDegrees, 37);
  EXPECT_FALSE(c.south);
  EXPECT_FALSE(c.west);
  EXPECT_EQ(towns.GetTownCode(moscow, 5), 3);  // a capital on the map of Russia
  EXPECT_EQ(towns.GetTownZoneName(moscow), "Europe/Moscow");
  EXPECT_EQ(towns.GetTownCode(moscow, 2), 0);  // not on the map of South America
}

}  // namespace
