// Layouts of the settings blocks that the configuration keeps whole (see byte_block.h). Where a
// block's owner fixes offsets they are used as given; elsewhere the fields follow in the owner's
// order with natural alignment (2-byte values on even, 4- and 8-byte values on 4- and 8-byte
// offsets). Each block is at least as large as the run that the import of an older configuration
// copies into it (kSize); bytes no field names are reserved and kept as they are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/config/byte_block.h"

namespace cfg {

using I8 = Field<std::int8_t>;
using U8 = Field<std::uint8_t>;
using Ch = Field<char>;
using I16 = Field<std::int16_t>;
using U16 = Field<std::uint16_t>;
using I32 = Field<std::int32_t>;
using F64 = Field<double>;

// The last search of the archive browser.
struct ArchiveSearchCriteria {
  static constexpr std::size_t kSize = 268;
  static constexpr I32 kCaseSensitive{0};
  static constexpr I16 kDate1Day{4}, kDate1Month{6}, kDate1Year{8};
  static constexpr I32 kDate1Era{12};  // 'A' or 'B'
  static constexpr I32 kDateRange{16};
  static constexpr I16 kDate2Day{20}, kDate2Month{22}, kDate2Year{24};
  static constexpr I32 kDate2Era{28};
  static constexpr I16 kLat1Degrees{32}, kLat1Minutes{34};
  static constexpr I32 kLat1Letter{36};  // 'N' or 'S'
  static constexpr I32 kLatRange{40};
  static constexpr I16 kLat2Degrees{44}, kLat2Minutes{46};
  static constexpr I32 kLat2Letter{48};
  static constexpr I16 kLon1Degrees{52}, kLon1Minutes{54};
  static constexpr I32 kLon1Letter{56};  // 'E' or 'W'
  static constexpr I32 kLonRange{60};
  static constexpr I16 kLon2Degrees{64}, kLon2Minutes{66};
  static constexpr I32 kLon2Letter{68};
  static constexpr TextField kName{72, 35};
  static constexpr I32 kNameContext{108};
  static constexpr TextField kPlace{112, 26};
  static constexpr I32 kPlaceContext{140};
  static constexpr TextField kType{144, 30};
  static constexpr I32 kTypeContext{176};
  static constexpr TextField kComment{210, 35};
  static constexpr I32 kDateOn{252};
  static constexpr I16 kCommentPage{256};  // 0..9 one page, 10 all pages
  static constexpr I32 kLatOn{260};
  static constexpr I32 kLonOn{264};
};

// The last sort of the archive browser.
struct ArchiveSortParams {
  static constexpr std::size_t kSize = 52;
  static constexpr I16 kKey1{0}, kKey2{2}, kKey3{4};      // keys 1..13, 0 not used (2 and 3)
  static constexpr I16 kBody1{6}, kBody2{8}, kBody3{10};  // 0..29 bodies, 30..41 cusps
  static constexpr I16 kDescending{12};
  static constexpr I32 kNewArchive{16};
};

// The archive listing.
struct ArchivePrintParams {
  static constexpr std::size_t kSize = 64;
  static constexpr I32 kFontSize{0};      // tenths of a point, 100..20000
  static constexpr F64 kLineInterval{8};  // 0.0..10.0
  static constexpr I32 kCoordinates{16};
  static constexpr I32 kCommentPage1{20};  // 0..9, 10 none
  static constexpr I32 kCommentPage2{24};
  static constexpr I32 kSelectedOnly{28};
  static constexpr I32 kHint{32};
};

// The last dynamic archive: its file and its step.
struct DynamicArchiveParams {
  static constexpr std::size_t kSize = 288;
  static constexpr TextField kFileName{0, 260};
  static constexpr I16 kYears{260}, kDays{262}, kHours{264}, kMinutes{266}, kSeconds{268};
};

// The aspect table, the midpoint table and the midpoint aspects.
struct AspectTableSettings {
  static constexpr std::size_t kSize = 108;
  // 56 switch bytes, 1 = in the table; table points 0..39 are used.
  static constexpr ArrayField<std::uint8_t> kPointSwitch{0, 56};
  static constexpr std::size_t kTablePoints = 40;
  static constexpr I16 kColourMode{56};                          // 0..2
  static constexpr I16 kCellMode{58};                            // 0..3
  static constexpr I16 kHouseOrbGroup{60};                       // 1..5
  static constexpr ArrayField<std::int32_t> kTableWidth{62, 3};  // layouts 0-1, 2, 3-4 (0.01 mm)
  static constexpr ArrayField<std::int32_t> kPageLayout{74, 3};  // carried unchanged
  static constexpr I32 kDiagonalMode{86};                        // 0..3
  static constexpr I32 kMidpointHighlight{90};                   // 0..4
  static constexpr I32 kOnlyDisplayed{94};
  static constexpr U8 kAspectsToHouses{98};
  static constexpr TextField kMidpointSystem{99, 9};
};

// Printing of the midpoints.
struct MidpointPrintSettings {
  static constexpr std::size_t kSize = 40;
  static constexpr I32 kPrintForm{0};      // 0 grid, 1 list
  static constexpr I32 kSamePage{4};       // 0 aspect table, 1 planetary hours, 2 nothing
  static constexpr I32 kListFontSize{8};   // 100..20000
  static constexpr I32 kListInterval{12};  // 0.01 mm, 0..10000
  static constexpr I32 kListChart{16};     // 0 this chart, 1 the outer chart
};

struct ArabicPartsSettings {
  static constexpr std::size_t kSize = 44;
  static constexpr I16 kPrintFontSize{0};  // 100..10000
  static constexpr I16 kPrintInterval{2};  // 0.01 mm, 0..10000
  static constexpr I16 kOrbClass{4};       // 1..5
  static constexpr I16 kPlanets{6};        // 0 none, 1 Sun-Pluto, 2 shown, 3 all
  static constexpr I32 kWithNodes{8};
  static constexpr I16 kHouses{12};       // 0 none, 1 ASC and MC, 2 all
  static constexpr I16 kAspectKinds{14};  // 0 conjunctions, 1 major, 2 all
  static constexpr I32 kWithFormula{16};
  static constexpr I32 kChartMode{20};  // 0..2
  static constexpr I32 kAskEveryTime{24};
};

// 12 int16 words, four of them used.
struct AspectGraphSettings {
  static constexpr std::size_t kSize = 24;
  static constexpr ArrayField<std::int16_t> kWord{0, 12};
  static constexpr I16 kRows{0};      // 1..24
  static constexpr I16 kFillType{2};  // 0..2
  static constexpr I16 kSelectedList{4};
  static constexpr I16 kSpeed{16};  // word 8: 0..3
};

struct ThematicChartSettings {
  static constexpr std::size_t kSize = 28;
  static constexpr I32 kKind{0};    // 0..2
  static constexpr I32 kPlanet{4};  // 0..29, 30 an arbitrary point
  static constexpr I32 kPlanet2{8};
  static constexpr I32 kHouse{12};
  static constexpr I32 kDirection{16};  // 0 add, 1 subtract
  static constexpr I32 kPoint{20};      // minutes of arc
};

struct GraphicEphemerisSettings {
  static constexpr std::size_t kSize = 60;
  static constexpr I16 kDay{0}, kMonth{2}, kYear{4};  // a negative year is BC
  static constexpr I16 kPeriod{6};                    // 0..5
  static constexpr I32 kSignGrid{8}, kTimeGrid{12}, kPlanetGlyphs{16}, kMarkChart{20};
  static constexpr ArrayField<std::uint16_t> kCurveColour{24, 10};
  static constexpr I16 kOrientation{44};  // 0 portrait, 1 landscape
  static constexpr I16 kGlyphColour{46};
  static constexpr U16 kRotationCorrection{48};
  static constexpr U16 kPrintHeading{50};
};

struct StarAspectSettings {
  static constexpr std::size_t kSize = 24;
  static constexpr I16 kKind{0};  // 0 ecliptic, 1 mundane
  // Orbs in minutes of arc: magnitude below 2, 2-3, 3-4, 4 and fainter, variable.
  static constexpr ArrayField<std::int16_t> kOrb{2, 5};
  static constexpr I16 kConjunction{12}, kOpposition{14}, kSquare{16}, kTrine{18}, kSextile{20};
  static constexpr I16 kShowDialog{22};
};

struct BindhuSettings {
  static constexpr std::size_t kSize = 28;
  static constexpr I16 kBodies{0};   // 0..4
  static constexpr I16 kHouses{2};   // 0..4
  static constexpr I16 kAspects{4};  // 0..2
  static constexpr I32 kNodes{8};
  static constexpr I32 kShowEveryTime{12};
  static constexpr I32 kMinutes{16};
  static constexpr I16 kOnePage{20};
  static constexpr I16 kLayout{22};
  static constexpr I16 kPrintFontSize{26};  // 100..10000
};

struct SabianSettings {
  static constexpr std::size_t kSize = 12;
  static constexpr I16 kBodies{0};  // 0..4
  static constexpr I16 kHouses{2};  // 0..4
  static constexpr I32 kNodes{4};
  static constexpr I32 kShowEveryTime{8};
};

struct AstroCartSettings {
  static constexpr std::size_t kSize = 100;
  static constexpr I32 kGrid{0};
  static constexpr I32 kLineChoice{4};  // 0 none, 1 Sun-Pluto, 2 shown bodies
  static constexpr I32 kNodes{8};
  static constexpr I32 kShowEveryTime{12};
  static constexpr I32 kCountryNames{16};
  static constexpr I32 kSpeed{20};            // 0..3
  static constexpr I32 kPrintBackground{24};  // 0..2
  static constexpr I32 kLineSystem{28};       // 0 ecliptic, 1 real
  static constexpr I32 kCrossingBand{32};     // 0 by latitude, 1 by longitude
  static constexpr I16 kTownFontSize{40};     // 0 large, 1 medium, 2 small
  static constexpr I16 kGlyphFontSize{42};
  static constexpr I16 kCrossingOrb{44};            // minutes of arc
  static constexpr I16 kCrossingLatitudeLimit{46};  // degrees
  // Land, sea, borders, country names, towns, town names, grid, grid degrees.
  static constexpr ArrayField<std::int16_t> kMapColour{48, 8};
  // Sun..Pluto, nodes, others.
  static constexpr ArrayField<std::int16_t> kLineColour{76, 12};
};

struct ACLinesListSettings {
  static constexpr std::size_t kSize = 60;
  static constexpr I16 kBody{0};
  static constexpr I16 kScreenFontSize{2}, kPrintFontSize{4};   // 100..10000
  static constexpr F64 kPrintInterval{8}, kScreenInterval{16};  // 0.001..100
  static constexpr I32 kIcLine{24}, kDscLine{28}, kMcLine{32}, kAscLine{36};
  static constexpr I16 kOrbAfter{40}, kOrbBefore{42};  // minutes, 1..1000
};

// The interface block shared by the tables (town list crossings, paran table).
struct TablesInterface {
  static constexpr std::size_t kSize = 80;
  static constexpr I32 kScreenFontSize{0}, kPrintFontSize{4};  // tenths of a point
  static constexpr F64 kScreenInterval{8}, kPrintInterval{16};
  static constexpr I32 kMaxColumns{24};
  static constexpr I32 kColumnOrder{28};
};

// The query dialog, its results view and the wizard's last first-page choices.
struct QuerySettings {
  static constexpr std::size_t kSize = 44;
  static constexpr I32 kCurrentArchiveOnly{0};
  static constexpr I32 kEvaluationMode{4};  // 0 all, 1 any, 2 logic expression
  static constexpr I16 kScreenFontSize{8}, kPrintFontSize{10};
  static constexpr I16 kScreenLineGap{12}, kPrintLineGap{14};
  static constexpr I32 kShowArchives{16}, kShowQuery{20};
  static constexpr I32 kWizardOneChart{24}, kWizardTwoChart{28};
};

struct SynastrySettings {
  static constexpr std::size_t kSize = 1084;
  static constexpr I16 kPairingMode{0};  // 0..4
  static constexpr TextField kArchive{2, 260};
  static constexpr TextField kArchive1{262, 260};
  static constexpr TextField kArchive2{522, 260};
  static constexpr I16 kScreenFontSize{782}, kPrintFontSize{784};
  static constexpr I16 kScreenLineGap{786}, kPrintLineGap{788};
  static constexpr I32 kShowArchives{792}, kShowQuery{796};
  static constexpr I32 kCurrentArchiveOnly{800};
  static constexpr I32 kWizardOneChart{804}, kWizardTwoChart{808};
  static constexpr I32 kConditionMode{1080};
};

struct StatisticsSettings {
  static constexpr std::size_t kSize = 68;
  static constexpr I32 kKind{0};  // 0..6
  static constexpr I32 kObject1{4}, kObject2{8};
  static constexpr I32 kMinorAspects{12};
  static constexpr I32 kNodes{16};
  static constexpr I32 kPlanetSet{20};  // 0..2
  static constexpr TextField kAspectSystem{24, 10};
  static constexpr I32 kSelectedRecords{36};
  static constexpr I32 kFill{40};
};

struct InterpretationSettings {
  static constexpr std::size_t kSize = 300;
  static constexpr I32 kSortOrder{0};  // 0..2
  static constexpr I32 kTitles{4}, kGroupHeadings{8}, kComments{12};
  static constexpr I32 kSaveToFile{16};
  static constexpr I32 kReplaceFile{20};  // 1 replace, 0 append
  static constexpr TextField kFileName{24, 260};
};

struct TransitSettings {
  static constexpr std::size_t kSize = 240;
  static constexpr I32 kMode{0};
  static constexpr I32 kTransiting{4};
  static constexpr I32 kTarget{8};
  static constexpr I32 kStartDay{12}, kStartMonth{16}, kStartYear{20};
  static constexpr Ch kStartEra{24};
  static constexpr TextField kGroupName{25, 31};
  static constexpr I32 kExact{56}, kEntering{60}, kLeaving{64};
  static constexpr U16 kOrbSource{68};  // 0 constant, 1 the aspect system's
  static constexpr U16 kOrbDegrees{70}, kOrbMinutes{72};
  static constexpr TextField kAspectSystem{74, 13};
  static constexpr U16 kAspectChoice{88};  // index, 1000 any, 1001 own angle
  static constexpr U16 kAngleDegrees{90}, kAngleMinutes{92};
  static constexpr I32 kClassMask{96};
  static constexpr I32 kSortByTime{100};
  static constexpr I32 kTransitingGroup{104};
  static constexpr I32 kEndDay{108}, kEndMonth{112}, kEndYear{116};
  static constexpr Ch kEndEra{120};
  static constexpr U16 kHouseOrbGroup{122};
  static constexpr U16 kPrecision{124};  // 1, 5, 10
  static constexpr U16 kScreenFontSize{126}, kPrintFontSize{128};
  static constexpr U16 kPrintColumns{130}, kPrintOrder{132};
  static constexpr F64 kPrintLineSpacing{136}, kScreenLineSpacing{144};
};

struct LunarTransSettings {
  static constexpr std::size_t kSize = 92;
  static constexpr I32 kTarget{0}, kPlanets{4}, kHouses{8}, kNodes{12};
  static constexpr I32 kEntering{16}, kExact{20}, kLeaving{24};
  static constexpr I32 kPeriodKind{28};
  static constexpr I16 kYearsBefore{32}, kDaysBefore{34}, kYearsAfter{36}, kDaysAfter{38};
  static constexpr I32 kFrom{40}, kTo{44};
  static constexpr I16 kSigns{48};
  static constexpr TextField kAspectSystem{50, 12};
  static constexpr I16 kHouseOrbGroup{62};
  static constexpr I32 kPlanetOrbs{64};
  static constexpr I16 kPlanetOrbGroup{68};
  static constexpr I32 kAspects{72};
  static constexpr I16 kScreenLineSpacing{76}, kPrintLineSpacing{78};
  static constexpr U16 kIngresses{80};
  static constexpr U16 kScreenFontSize{82}, kPrintFontSize{84}, kPrintColumns{86};
  static constexpr I16 kPrintOrder{88};
};

struct LifePointSettings {
  static constexpr std::size_t kSize = 76;
  static constexpr TextField kAspectSystem{0, 12};
  static constexpr I32 kHouseTargets{12}, kPointTargets{16}, kWithNodes{20}, kWithIngresses{24};
  static constexpr I32 kAspectChoice{28}, kExact{32}, kEntering{36}, kLeaving{40}, kOrbMode{44};
  static constexpr I16 kPlanetOrbGroup{48}, kHouseOrbGroup{50};
  static constexpr I32 kToThisChart{52};
  static constexpr I16 kTypeIndex{56}, kBeginAge{58};
  static constexpr I16 kInterval{60}, kPrintInterval{62};
  static constexpr I16 kFontSize{64}, kPrintFontSize{66};
  static constexpr I16 kMaxColumns{68}, kPrintOrder{70};
};

struct PredictionListSettings {
  static constexpr std::size_t kSize = 40;
  static constexpr TextField kListName{0, 32};
  static constexpr I32 kPrintFontSize{32};
  static constexpr I32 kPrintInterval{36};  // hundredths
};

// The rectification by event scoring.
struct TreminSettings {
  static constexpr std::size_t kSize = 80;
  static constexpr TextField kApplyingSystem{0, 12}, kSeparatingSystem{12, 12};
  static constexpr I32 kSortByDate{24}, kSortByText{28}, kOneRulerOnly{32};
  static constexpr I32 kMinimumPossibility{36};
  static constexpr I16 kStep{40}, kResultOrder{42}, kMinimumScore{44};
  static constexpr I16 kScreenFontSize{46}, kPrintFontSize{48};
  static constexpr I16 kPrintColumns{50}, kPrintOrder{52};
  static constexpr F64 kPrintLineSpacing{56}, kScreenLineSpacing{64};
};

// Begin year, month, day, hours, minutes, then the end likewise; local time.
struct TreminInterval {
  static constexpr std::size_t kSize = 20;
  static constexpr ArrayField<std::int16_t> kBegin{0, 5};
  static constexpr ArrayField<std::int16_t> kEnd{10, 5};
};

struct TreminForecast {
  static constexpr std::size_t kSize = 120;
  static constexpr I16 kMode{0}, kYear{2}, kPeriodFrom{4}, kPeriodTo{6};
  static constexpr I16 kFontSize{8}, kOrder{10};
  static constexpr TextField kApplyingSystem{12, 12}, kSeparatingSystem{24, 12};
  static constexpr I32 kSortByDate{36}, kSortByText{40};
  static constexpr TextField kEvent{44, 50};
  static constexpr I32 kFillWhenPrinting{96};
};

// The rectification by events: the names sit at 0, 12, 24 and 58 as the score matrix reads them.
struct RectificationSettings {
  static constexpr std::size_t kSize = 190;
  static constexpr TextField kDirectionsSystem{0, 12};
  static constexpr TextField kProgressionsSystem{12, 12};
  static constexpr TextField kTransitsSystem{24, 12};
  static constexpr I32 kDisplayMode{36};  // 0 by events, 1 by methods, 2 graph
  static constexpr I32 kVerticalGrid{40}, kHorizontalGrid{44};
  static constexpr I32 kChronological{48};
  // 1: the score matrix computes every progressed chart's bodies exactly;
  // 0 (the default): they are interpolated between exact positions a few hours apart.
  static constexpr I32 kFullPrecision{52};
  static constexpr TextField kLifePointSystem{58, 12};
  static constexpr ArrayField<std::int16_t> kStart{70, 5};  // year, month, day, hour, minute
  static constexpr ArrayField<std::int16_t> kEnd{80, 5};
  static constexpr ArrayField<std::uint16_t> kMethod{90, 50};  // 0 main, 1 additional, 2 off
};

// Every block's farthest field lies inside the block.
static_assert(EndOf(ArchiveSearchCriteria::kLonOn) <= ArchiveSearchCriteria::kSize);
static_assert(EndOf(ArchiveSortParams::kNewArchive) <= ArchiveSortParams::kSize);
static_assert(EndOf(ArchivePrintParams::kHint) <= ArchivePrintParams::kSize);
static_assert(EndOf(DynamicArchiveParams::kSeconds) <= DynamicArchiveParams::kSize);
static_assert(EndOf(AspectTableSettings::kMidpointSystem) <= AspectTableSettings::kSize);
static_assert(EndOf(MidpointPrintSettings::kListChart) <= MidpointPrintSettings::kSize);
static_assert(EndOf(ArabicPartsSettings::kAskEveryTime) <= ArabicPartsSettings::kSize);
static_assert(EndOf(AspectGraphSettings::kWord) <= AspectGraphSettings::kSize);
static_assert(EndOf(ThematicChartSettings::kPoint) <= ThematicChartSettings::kSize);
static_assert(EndOf(GraphicEphemerisSettings::kPrintHeading) <= GraphicEphemerisSettings::kSize);
static_assert(EndOf(StarAspectSettings::kShowDialog) <= StarAspectSettings::kSize);
static_assert(EndOf(BindhuSettings::kPrintFontSize) <= BindhuSettings::kSize);
static_assert(EndOf(SabianSettings::kShowEveryTime) <= SabianSettings::kSize);
static_assert(EndOf(AstroCartSettings::kLineColour) <= AstroCartSettings::kSize);
static_assert(EndOf(ACLinesListSettings::kOrbBefore) <= ACLinesListSettings::kSize);
static_assert(EndOf(TablesInterface::kColumnOrder) <= TablesInterface::kSize);
static_assert(EndOf(QuerySettings::kWizardTwoChart) <= QuerySettings::kSize);
static_assert(EndOf(SynastrySettings::kConditionMode) <= SynastrySettings::kSize);
static_assert(EndOf(StatisticsSettings::kFill) <= StatisticsSettings::kSize);
static_assert(EndOf(InterpretationSettings::kFileName) <= InterpretationSettings::kSize);
static_assert(EndOf(TransitSettings::kScreenLineSpacing) <= TransitSettings::kSize);
static_assert(EndOf(LunarTransSettings::kPrintOrder) + 2 == LunarTransSettings::kSize);
static_assert(EndOf(LifePointSettings::kPrintOrder) <= LifePointSettings::kSize);
static_assert(EndOf(PredictionListSettings::kPrintInterval) <= PredictionListSettings::kSize);
static_assert(EndOf(TreminSettings::kScreenLineSpacing) <= TreminSettings::kSize);
static_assert(EndOf(TreminInterval::kEnd) <= TreminInterval::kSize);
static_assert(EndOf(TreminForecast::kFillWhenPrinting) <= TreminForecast::kSize);
static_assert(EndOf(RectificationSettings::kMethod) <= RectificationSettings::kSize);

}  // namespace cfg
