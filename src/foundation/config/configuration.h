// The one program-wide configuration: display, aspect and orb switches of the chart objects,
// colours, wheel, calculation and print settings, comment page names, rulers, the coordinate-table
// layouts, the wheel geometry, the aspect-system name slots and the settings blocks of the views,
// dialogs and computations. Loaded from "velm.cfg" at start, saved at exit
// (configuration_file.cpp).
//
// The loaded aspect systems themselves are not held here: they are the program-wide Aspectarium of
// the chart computation, a layer above this one; the configuration keeps only their names.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/config/byte_block.h"
#include "foundation/config/coord_conf.h"
#include "foundation/config/old_configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/config/wheel_constants.h"
#include "foundation/status.h"

namespace cfg {

// GetObjectFlags: the switches of one chart object.
struct ObjectFlags {
  bool shown = false;    // drawn on the wheel
  bool aspect1 = false;  // aspect switch 1
  bool aspect2 = false;  // aspect switch 2
  int orbGroup = 5;      // 1..5
};

// Get/SetAspTableConfig: the aspect-table settings edited as one group.
struct AspTableConfig {
  std::array<char, 40> switches{};  // 1 = the table point is in the table
  int colourMode = 0;               // 0..2
  int cellMode = 0;                 // 0..3
  int houseOrbGroup = 1;            // 1..5
  bool operator==(const AspTableConfig&) const = default;
};

// GetStatisticsSettings: the statistics block as a record.
struct StatisticsRecord {
  std::int32_t kind = 0;
  std::int32_t object1 = 0;
  std::int32_t object2 = 0;
  std::int32_t minorAspects = 1;
  std::int32_t nodes = 1;
  std::int32_t planetSet = 0;
  std::string aspectSystem;  // at most 9 characters
  std::int32_t selectedRecords = 0;
  std::int32_t fill = 0;
  bool operator==(const StatisticsRecord&) const = default;
};

// The aspect filter of the chart views, in the order of its dialog.
struct AspectFilter {
  std::int32_t harmonious = 1, tense = 1, creative = 1, karmic = 1, other = 1;
  std::int32_t major = 1, minor = 1, exact = 1, inexact = 1;
  std::int32_t overlay = 2;  // 0 inner chart, 1 outer chart, 2 between the two charts
  std::int32_t alwaysAsk = 0;
  std::int32_t dashedLines = 0;  // bit 0 screen, bit 1 printer
  std::int32_t thickLines = 0;
  bool operator==(const AspectFilter&) const = default;
};

struct WheelSettings {
  std::int32_t direction = 0;              // 0 counter-clockwise, 1 clockwise
  std::int32_t wheelType = 0;              // 0, 1
  std::int32_t orientation = 3;            // 0..5
  std::int32_t division = 0;               // 0 by signs, 1 by houses
  std::int32_t centreCircleOff = 0;        // stored inverted: 1 when no circle is drawn
  std::int32_t degreesShown = 2;           // 0 never, 1 when printing, 2 always
  std::int32_t angleMarking = 1;           // 0 none, 1 one-sided arrows, 2 two-sided arrows
  std::int32_t localSpaceDrawing = 0;      // 0 aspects, 1 planet vectors
  std::int32_t localSpaceOrientation = 0;  // 0 north up, 1 south up
  bool operator==(const WheelSettings&) const = default;
};

struct CalculationSettings {
  std::uint16_t houseSystem = 0;  // below 100
  std::uint16_t blackMoon = 1;    // 0 true, 1 mean
  std::uint16_t lunarNodes = 1;   // 0 true, 1 mean
  std::uint16_t dayNight = 1;     // Arabic parts by the day-and-night rule
  std::uint16_t geodetic = 0;
  bool operator==(const CalculationSettings&) const = default;
};

struct PrintSettings {
  static constexpr int kOffsetCount = 26;
  std::int32_t aspectTable = 1;
  std::int32_t coordinates = 1;
  std::int32_t header = 1;
  std::int32_t sizeChoice = 0;  // 0 large chart, 1 small chart
  std::int32_t pageFrame = 1;
  // Page margins left, top, right, bottom (0.01 mm).
  std::int32_t marginLeft = 1500, marginTop = 1500, marginRight = 1000, marginBottom = 1500;
  // The layout offsets of the print dialog (0.01 mm), row by row (aspect table left, aspect table
  // top, header left, header top, coordinates left and top, full coordinates left and top), each
  // row large chart, overlay, small chart; then the overlay's chart II coordinates left and top.
  std::array<std::int32_t, kOffsetCount> offsets{};
  bool operator==(const PrintSettings&) const = default;
};

}  // namespace cfg

namespace platform {
class Dc;
}

class Configuration {
 public:
  static constexpr int kObjectCount = 34;  // chart objects 0..33
  static constexpr int kObjectStringLength = 50;
  static constexpr int kColourCount = 50;  // the first 11 are the wheel colours
  static constexpr int kLineTypeCount = 10;
  static constexpr int kCommentPageCount = 10;
  static constexpr int kCommentNameWidth = 25;  // at most 24 bytes and a NUL
  static constexpr int kSignCount = 12;
  static constexpr int kRulerCount = 48;  // entry 12 x column + sign
  static constexpr int kSystemSlotCount = 20;
  static constexpr int kSystemNameWidth = 9;     // at most 8 bytes and a NUL
  static constexpr int kDisplaySystemSlot = 19;  // the chart display's system
  static constexpr int kChartKindCount = 10;     // slots 0..9 by chart kind

  // The five object strings, one character per object.
  enum ObjectString { kShownString = 0, kAspect1String, kAspect2String, kOrbString, kFifthString };

  Configuration();  // the defaults (docs/decisions.md, "Configuration")

  // Object 0..33; an object outside that range reads as not shown, orb group 5.
  cfg::ObjectFlags GetObjectFlags(int object) const;
  // False (nothing changed) for an object outside 0..33 or an orb group outside 1..5.
  bool SetObjectFlags(int object, bool shown, bool aspect1, bool aspect2, int orbGroup);
  // The display character of a chart point; a point is taken unless its letter is 'N'.
  char DisplayFlag(int object) const;
  // The orb class 1..5 of one object (its orb-class digit).
  int GetOrbClass(int object) const;
  // The orb class of a pair: the smaller of the two objects' orb classes.
  int GetPairOrbClass(int a, int b) const;

  cfg::AspTableConfig GetAspTableConfig() const;
  void SetAspTableConfig(const cfg::AspTableConfig& config);

  // Slots 0..9 by chart kind, 19 the chart display's; an empty text for another slot.
  std::string GetSystemName(int slot) const;
  // False (nothing changed) for a slot outside 0..19, an empty name or one over 8 bytes.
  bool SetSystemName(int slot, std::string_view name);

  // The dignity of a body in a sign from the rulers table: 1 ruler, 2 second ruler, 3 exaltation,
  // 4 detriment (it rules the opposite sign), 5 fall (it is exalted in the opposite sign), 0 none.
  int GetDignity(int body, int sign) const;
  // The number of distinct planets 0..29 in the rulers table; they are written to `list` (in the
  // order first met) when it is given.
  int ListDignityPlanets(std::vector<std::int16_t>* list) const;

  cfg::StatisticsRecord GetStatisticsSettings() const;
  // When the page-frame switch is on, draws the frame of the A4 page inset by the page margins
  // plus `offsets` (left, top, right, bottom; the last raises the bottom edge); nothing otherwise.
  void DrawPageFrame(platform::Dc& dc, const std::array<int, 4>& offsets) const;
  void SetStatisticsSettings(const cfg::StatisticsRecord& record);

  // "velm.cfg": a missing file gives the defaults and success; a damaged, truncated or foreign
  // file gives the defaults and error 106 (detail: 1 not a configuration, 2 another version,
  // 3 a block runs past the end or the end block is missing, 4 a block that cannot be read,
  // 5 a wrong checksum); a file that cannot be read gives the defaults and error 102 or 103.
  Status Load(const std::filesystem::path& path);
  // Rewrites the file through SafeRewrite; on failure the old file is left as it was.
  Status Save(const std::filesystem::path& path) const;

  // Copies the sections chosen in `flags` (1 = take it) of the older configuration file `path`,
  // recognised as `versionCode` (old_configuration.h), into this configuration; sections the
  // version does not carry are left alone. The print colours become the screen colours when the
  // colours are taken from a version other than 50. The tip-of-the-day section, when chosen and
  // carried, is given in `tips` (left empty otherwise). Error 102 or 103 when the file cannot
  // be read or no longer has its version's length; the configuration is then unchanged.
  Status Import(const std::filesystem::path& path, int versionCode,
                const oldcfg::SectionFlags& flags,
                std::optional<oldcfg::TipOfTheDay>* tips = nullptr);

  bool operator==(const Configuration&) const = default;

  // Per object: shown 'Y'/'N', aspect switch 1 'Y'/'N', aspect switch 2 'Y'/'N', orb class digit
  // '1'..'5', and a fifth string carried for the older configurations; 50 characters each.
  std::array<std::array<char, kObjectStringLength>, 5> objectStrings{};

  std::array<std::uint16_t, kColourCount> screenColours{};  // palette numbers
  std::array<std::uint16_t, kColourCount> printColours{};
  std::int32_t colourPrinting = 0;      // 0 black and white, 1 colour
  std::int32_t colourChangeMarker = 0;  // inverted after the colours dialog

  cfg::AspectFilter aspectFilter;
  // Entry 5 x strength + type; value 10 x thickness + style.
  std::array<std::uint8_t, kLineTypeCount> lineTypes{};

  cfg::WheelSettings wheel;
  cfg::CalculationSettings calculation;
  cfg::PrintSettings print;

  std::array<std::string, kCommentPageCount> commentPageNames;  // cp1251, at most 24 bytes
  std::uint16_t currentCommentPage = 0;                         // 0..9

  // Rulers table: column 0 ruler, 1 second ruler, 2 and 3 the exalted bodies; -1 none.
  std::array<std::int16_t, kRulerCount> rulers{};
  // The ruling point of each sign (house rulers of the conditions).
  std::array<std::int16_t, kSignCount> signRulers{};

  std::uint32_t launchCounter = 0;
  std::int32_t windows2000 = 0;  // menu command 32878: wider columns
  std::int32_t planetaryHoursLayout = 0;
  std::int32_t largeFont = 0;
  std::int32_t wideColumns = 0;

  COORD_CONF screenCoords;  // long form: with the fit flag and the width
  COORD_CONF printCoords;   // short form
  WheelConstants wheelConstants;

  // The settings blocks (layouts in settings_blocks.h).
  cfg::ByteBlock archiveSearch{cfg::ArchiveSearchCriteria::kSize};
  cfg::ByteBlock archiveSort{cfg::ArchiveSortParams::kSize};
  cfg::ByteBlock archivePrint{cfg::ArchivePrintParams::kSize};
  cfg::ByteBlock dynamicArchive{cfg::DynamicArchiveParams::kSize};
  cfg::ByteBlock aspectTable{cfg::AspectTableSettings::kSize};
  cfg::ByteBlock midpointPrint{cfg::MidpointPrintSettings::kSize};
  cfg::ByteBlock arabicParts{cfg::ArabicPartsSettings::kSize};
  cfg::ByteBlock aspectGraph{cfg::AspectGraphSettings::kSize};
  cfg::ByteBlock thematicChart{cfg::ThematicChartSettings::kSize};
  cfg::ByteBlock graphicEphemeris{cfg::GraphicEphemerisSettings::kSize};
  cfg::ByteBlock starAspects{cfg::StarAspectSettings::kSize};
  cfg::ByteBlock bindhu{cfg::BindhuSettings::kSize};
  cfg::ByteBlock sabian{cfg::SabianSettings::kSize};
  cfg::ByteBlock astroCart{cfg::AstroCartSettings::kSize};
  cfg::ByteBlock acLinesList{cfg::ACLinesListSettings::kSize};
  cfg::ByteBlock tablesInterface{cfg::TablesInterface::kSize};
  cfg::ByteBlock query{cfg::QuerySettings::kSize};
  cfg::ByteBlock synastry{cfg::SynastrySettings::kSize};
  cfg::ByteBlock statistics{cfg::StatisticsSettings::kSize};
  cfg::ByteBlock interpretation{cfg::InterpretationSettings::kSize};
  cfg::ByteBlock transit{cfg::TransitSettings::kSize};
  cfg::ByteBlock lunarTransit{cfg::LunarTransSettings::kSize};
  cfg::ByteBlock lifePoint{cfg::LifePointSettings::kSize};
  cfg::ByteBlock predictionList{cfg::PredictionListSettings::kSize};
  cfg::ByteBlock treminSettings{cfg::TreminSettings::kSize};
  cfg::ByteBlock treminInterval{cfg::TreminInterval::kSize};
  cfg::ByteBlock treminForecast{cfg::TreminForecast::kSize};
  cfg::ByteBlock rectification{cfg::RectificationSettings::kSize};

 private:
  std::array<std::string, kSystemSlotCount> systemNames_;
};

// The program-wide configuration.
Configuration& GetConfiguration();

// Puts values that would mislead the program back to their defaults: orb digits outside '1'..'5',
// a comment page above 9, rulers outside the bodies, house systems, Black Moon and node choices
// outside their codes. Loading and importing end with it.
void SanitiseConfiguration(Configuration& config);

// "velm.cfg" over one run of the program: read at start, written at exit. A file that exists but
// could not be read (damaged, of another version or another owner) is never written over on its
// own: the user is told once at start, and at exit the file is kept unless a setting was changed
// since, and the user then agrees to save; it is first renamed aside ("velm.cfg.bad").
class ConfigurationFile {
 public:
  // Loads `path` into `config`. A failure is reported; a missing file is written at once with the
  // defaults.
  void LoadAtStart(const std::filesystem::path& path, Configuration& config);
  // Saves `config` over the file read at start, as above; failures are reported.
  void SaveAtExit(const Configuration& config);
  // True when the file existed at start and could not be read.
  bool Unread() const { return atStart_ != nullptr; }

 private:
  std::filesystem::path path_;
  std::unique_ptr<Configuration> atStart_;  // the defaults used instead of an unread file
};
