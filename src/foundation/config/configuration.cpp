#include "foundation/config/configuration.h"

#include <algorithm>

#include "foundation/config/configuration_defaults.h"
#include "foundation/config/field_table.h"
#include "foundation/text/cp1251.h"

namespace {

constexpr int kBodyCount = 30;  // bodies 0..29 that the rulers table may name
constexpr int kNone = -1;

// Bodies of the rulers table.
constexpr std::int16_t kSun = 0, kMoon = 1, kMercury = 2, kVenus = 3, kMars = 4, kJupiter = 5,
                       kSaturn = 6, kUranus = 7, kNeptune = 8, kPluto = 9;

bool ValidObject(int object) { return object >= 0 && object < Configuration::kObjectCount; }

using cfg::Bind;

constexpr cfg::FieldTable kAspTableFields{
    Bind(&cfg::AspTableConfig::switches, cfg::AspectTableSettings::kPointSwitch),
    Bind(&cfg::AspTableConfig::colourMode, cfg::AspectTableSettings::kColourMode),
    Bind(&cfg::AspTableConfig::cellMode, cfg::AspectTableSettings::kCellMode),
    Bind(&cfg::AspTableConfig::houseOrbGroup, cfg::AspectTableSettings::kHouseOrbGroup)};
static_assert(std::tuple_size_v<decltype(cfg::AspTableConfig::switches)> ==
              cfg::AspectTableSettings::kTablePoints);

using R = cfg::StatisticsRecord;
using L = cfg::StatisticsSettings;
constexpr cfg::FieldTable kStatisticsFields{Bind(&R::kind, L::kKind),
                                            Bind(&R::object1, L::kObject1),
                                            Bind(&R::object2, L::kObject2),
                                            Bind(&R::minorAspects, L::kMinorAspects),
                                            Bind(&R::nodes, L::kNodes),
                                            Bind(&R::planetSet, L::kPlanetSet),
                                            Bind(&R::aspectSystem, L::kAspectSystem),
                                            Bind(&R::selectedRecords, L::kSelectedRecords),
                                            Bind(&R::fill, L::kFill)};

}  // namespace

cfg::ObjectFlags Configuration::GetObjectFlags(int object) const {
  cfg::ObjectFlags flags;
  if (!ValidObject(object)) return flags;
  flags.shown = objectStrings[kShownString][object] == 'Y';
  flags.aspect1 = objectStrings[kAspect1String][object] == 'Y';
  flags.aspect2 = objectStrings[kAspect2String][object] == 'Y';
  flags.orbGroup = GetOrbClass(object);
  return flags;
}

bool Configuration::SetObjectFlags(int object, bool shown, bool aspect1, bool aspect2,
                                   int orbGroup) {
  if (!ValidObject(object) || orbGroup < 1 || orbGroup > 5) return false;
  objectStrings[kShownString][object] = shown ? 'Y' : 'N';
  objectStrings[kAspect1String][object] = aspect1 ? 'Y' : 'N';
  objectStrings[kAspect2String][object] = aspect2 ? 'Y' : 'N';
  objectStrings[kOrbString][object] = static_cast<char>('0' + orbGroup);
  return true;
}

char Configuration::DisplayFlag(int object) const {
  return ValidObject(object) ? objectStrings[kShownString][object] : 'N';
}

int Configuration::GetOrbClass(int object) const {
  if (!ValidObject(object)) return 5;
  const int digit = objectStrings[kOrbString][object] - '0';
  return digit >= 1 && digit <= 5 ? digit : 5;
}

int Configuration::GetPairOrbClass(int a, int b) const {
  return std::min(GetOrbClass(a), GetOrbClass(b));
}

cfg::AspTableConfig Configuration::GetAspTableConfig() const {
  cfg::AspTableConfig config;
  kAspTableFields.Read(aspectTable, config);
  return config;
}

void Configuration::SetAspTableConfig(const cfg::AspTableConfig& config) {
  kAspTableFields.Write(config, aspectTable);
}

std::string Configuration::GetSystemName(int slot) const {
  if (slot < 0 || slot >= kSystemSlotCount) return {};
  return systemNames_[slot];
}

bool Configuration::SetSystemName(int slot, std::string_view name) {
  if (slot < 0 || slot >= kSystemSlotCount) return false;
  const std::size_t nul = name.find('\0');
  if (nul != std::string_view::npos) name = name.substr(0, nul);
  if (name.empty() || name.size() >= static_cast<std::size_t>(kSystemNameWidth)) return false;
  systemNames_[slot] = std::string(name);
  return true;
}

int Configuration::GetDignity(int body, int sign) const {
  if (body < 0 || sign < 0 || sign >= kSignCount) return 0;
  const auto at = [this](int column, int s) { return static_cast<int>(rulers[12 * column + s]); };
  const int opposite = (sign + 6) % kSignCount;
  if (at(0, sign) == body) return 1;
  if (at(1, sign) == body) return 2;
  if (at(2, sign) == body || at(3, sign) == body) return 3;
  if (at(0, opposite) == body || at(1, opposite) == body) return 4;
  if (at(2, opposite) == body || at(3, opposite) == body) return 5;
  return 0;
}

int Configuration::ListDignityPlanets(std::vector<std::int16_t>* list) const {
  std::array<bool, kBodyCount> seen{};
  int count = 0;
  if (list != nullptr) list->clear();
  for (const std::int16_t body : rulers) {
    if (body < 0 || body >= kBodyCount || seen[body]) continue;
    seen[body] = true;
    ++count;
    if (list != nullptr) list->push_back(body);
  }
  return count;
}

cfg::StatisticsRecord Configuration::GetStatisticsSettings() const {
  cfg::StatisticsRecord r;
  kStatisticsFields.Read(statistics, r);
  return r;
}

void Configuration::SetStatisticsSettings(const cfg::StatisticsRecord& r) {
  kStatisticsFields.Write(r, statistics);
}

Configuration& GetConfiguration() {
  static Configuration configuration;
  return configuration;
}

// ---- Defaults of the typed fields (the blocks are in configuration_defaults.cpp) ----

Configuration::Configuration() {
  // Shown on the wheel and taking part in aspects: the planets, Chiron, the nodes, the Black Moon
  // and the Part of Fortune. Orb classes: 1 luminaries, 2 personal planets and Jupiter, Saturn,
  // 3 high planets and nodes, 4 Chiron, asteroids, lunar points and the Part of Fortune, 5 the
  // hypothetical planets and the remaining points.
  static constexpr char kShown[] = "YYYYYYYYYYYNNNNNYYYNNNNNNNNNNNYNNN";
  static constexpr char kOrbs[] = "1122222333444444334455555555554555";
  for (auto& s : objectStrings) s.fill('N');
  objectStrings[kOrbString].fill('5');
  for (int i = 0; i < kObjectCount; ++i) {
    objectStrings[kShownString][i] = kShown[i];
    objectStrings[kAspect1String][i] = kShown[i];
    objectStrings[kAspect2String][i] = kShown[i];
    objectStrings[kOrbString][i] = kOrbs[i];
  }

  // Wheel colours: white background, navy lines and glyphs, red angles, dark red outer glyphs,
  // grey degrees, light grey outer ring. Printing uses the same table.
  static constexpr std::uint16_t kWheel[11] = {15, 1, 16, 1, 1, 12, 1, 4, 15, 15, 7};
  std::copy(std::begin(kWheel), std::end(kWheel), screenColours.begin());
  printColours = screenColours;

  // Major aspects solid and thin, minor aspects dashed (style 1) and thin.
  for (int i = 0; i < kLineTypeCount; ++i) lineTypes[i] = i < 5 ? 0 : 1;

  static constexpr std::int32_t kOffsets[cfg::PrintSettings::kOffsetCount] = {
      0,     0,     0,      // aspect table left: large, overlay, small
      16500, 16500, 12500,  // aspect table top
      0,     0,     0,      // header left
      0,     0,     0,      // header top
      14000, 14000, 11000,  // coordinates left
      2000,  2000,  2000,   // coordinates top
      0,     0,     0,      // full coordinates left
      21000, 21000, 14000,  // full coordinates top
      16500, 2000};         // overlay: chart II coordinates left, top
  std::copy(std::begin(kOffsets), std::end(kOffsets), print.offsets.begin());

  static constexpr const char* kPages[kCommentPageCount] = {
      "Общие черты", "Характер", "Здоровье",    "Профессия", "Финансы",
      "Семья",       "Дети",     "Партнерство", "События",   "Прогнозы"};
  for (int i = 0; i < kCommentPageCount; ++i) commentPageNames[i] = Cp1251(kPages[i]);

  // Traditional rulers; the high planets as second rulers of Scorpio, Aquarius and Pisces;
  // the classical exaltations (Sun Aries, Moon Taurus, Mercury Virgo, Venus Pisces, Mars
  // Capricorn, Jupiter Cancer, Saturn Libra).
  static constexpr std::int16_t kRulers[kRulerCount] = {
      kMars,    kVenus, kMercury, kMoon,    kSun,    kMercury,
      kVenus,   kMars,  kJupiter, kSaturn,  kSaturn,
      kJupiter,  // column 0
      kNone,    kNone,  kNone,    kNone,    kNone,   kNone,
      kNone,    kPluto, kNone,    kNone,    kUranus,
      kNeptune,  // column 1
      kSun,     kMoon,  kNone,    kJupiter, kNone,   kMercury,
      kSaturn,  kNone,  kNone,    kMars,    kNone,
      kVenus,  // column 2
      kNone,    kNone,  kNone,    kNone,    kNone,   kNone,
      kNone,    kNone,  kNone,    kNone,    kNone,   kNone};  // column 3
  std::copy(std::begin(kRulers), std::end(kRulers), rulers.begin());
  std::copy(rulers.begin(), rulers.begin() + kSignCount, signRulers.begin());

  for (auto& name : systemNames_) name = "VELM";

  // Coordinate tables: Sun to Pluto, Chiron, the North Node, the Black Moon, then the Ascendant
  // and the MC (cusps of houses 1 and 10).
  static constexpr int kRows[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 16, 18, 50, 59};
  for (COORD_CONF* coords : {&screenCoords, &printCoords}) {
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r)
      coords->slots[kRows[r]] = static_cast<std::uint8_t>(r);
  }
  screenCoords.shortForm = 0;
  // The tables are drawn in 0.01 mm: a font of 2500 is about 3.3 mm high on the screen as on
  // paper. The width counts blocks of ten glyph widths: the table and its candidates.
  screenCoords.fontSize = 2500;
  screenCoords.lineStep = 120;
  screenCoords.fitToWindow = 1;
  screenCoords.width = 4;
  printCoords.fontSize = 2500;
  printCoords.lineStep = 120;

  cfg::SetDefaultBlocks(*this);
}
