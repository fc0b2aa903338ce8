#include "foundation/config/configuration_defaults.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "foundation/config/configuration.h"

namespace cfg {

namespace {

// Text sizes in tenths of a point: 100 (10 points) on the screen; 2500 on paper, where the pages
// are drawn in 0.01 mm and a size of 2500 gives letters about 3.3 mm high.
constexpr std::int16_t kScreenFont = 100;
constexpr std::int16_t kPrintFont = 2500;
// The forecast event lists (planet transits, lunar transits, the life point) are drawn in 0.01 mm
// on the screen too, where a size of 100 would be 0.13 mm: they take the paper size there.
constexpr std::int16_t kListScreenFont = kPrintFont;
constexpr const char* kSystem = "VELM";

template <typename T>
void SetAll(ByteBlock& b, std::initializer_list<std::pair<Field<T>, T>> values) {
  for (const auto& [field, value] : values) b.Set(field, value);
}

void Archive(Configuration& c) {
  using S = ArchiveSearchCriteria;
  ByteBlock& s = c.archiveSearch;
  SetAll<std::int16_t>(s, {{S::kDate1Day, 1},
                           {S::kDate1Month, 1},
                           {S::kDate1Year, 1900},
                           {S::kDate2Day, 1},
                           {S::kDate2Month, 1},
                           {S::kDate2Year, 1900},
                           {S::kCommentPage, 10}});
  SetAll<std::int32_t>(s, {{S::kDate1Era, 'A'},
                           {S::kDate2Era, 'A'},
                           {S::kLat1Letter, 'N'},
                           {S::kLat2Letter, 'N'},
                           {S::kLon1Letter, 'E'},
                           {S::kLon2Letter, 'E'}});

  c.archiveSort.Set(ArchiveSortParams::kKey1, std::int16_t{1});

  using P = ArchivePrintParams;
  SetAll<std::int32_t>(
      c.archivePrint,
      {{P::kFontSize, kPrintFont}, {P::kCommentPage1, 10}, {P::kCommentPage2, 10}, {P::kHint, 1}});
  c.archivePrint.Set(P::kLineInterval, 1.0);

  c.dynamicArchive.Set(DynamicArchiveParams::kFileName, "dynamic.arc");
  c.dynamicArchive.Set(DynamicArchiveParams::kDays, std::int16_t{1});
}

void AspectTable(Configuration& c) {
  using A = AspectTableSettings;
  ByteBlock& a = c.aspectTable;
  // Sun to Pluto, the North Node, the MC (table point 34) and the Ascendant (table point 37).
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 34, 37})
    a.Set(A::kPointSwitch[k], std::uint8_t{1});
  SetAll<std::int16_t>(a, {{A::kColourMode, 2}, {A::kCellMode, 0}, {A::kHouseOrbGroup, 2}});
  SetAll<std::int32_t>(a, {{A::kTableWidth[0], 15000},
                           {A::kTableWidth[1], 12000},
                           {A::kTableWidth[2], 18000},
                           {A::kDiagonalMode, 3},
                           {A::kMidpointHighlight, 1},
                           {A::kOnlyDisplayed, 1}});
  a.Set(A::kAspectsToHouses, std::uint8_t{1});
  a.Set(A::kMidpointSystem, kSystem);

  using M = MidpointPrintSettings;
  SetAll<std::int32_t>(c.midpointPrint, {{M::kListFontSize, kPrintFont}, {M::kListInterval, 100}});
}

void Views(Configuration& c) {
  using R = ArabicPartsSettings;
  SetAll<std::int16_t>(c.arabicParts, {{R::kPrintFontSize, kPrintFont},
                                       {R::kPrintInterval, 100},
                                       {R::kOrbClass, 2},
                                       {R::kPlanets, 1},
                                       {R::kHouses, 1},
                                       {R::kAspectKinds, 1}});
  SetAll<std::int32_t>(c.arabicParts,
                       {{R::kWithNodes, 1}, {R::kWithFormula, 1}, {R::kAskEveryTime, 1}});

  using G = AspectGraphSettings;
  SetAll<std::int16_t>(c.aspectGraph, {{G::kRows, 12}, {G::kFillType, 1}, {G::kSpeed, 1}});

  c.thematicChart.Set(ThematicChartSettings::kPlanet2, std::int32_t{1});

  using E = GraphicEphemerisSettings;
  ByteBlock& e = c.graphicEphemeris;
  // Year 0: no start chosen yet; the first opening starts in the year the chart suggests.
  SetAll<std::int16_t>(e, {{E::kDay, 1},
                           {E::kMonth, 1},
                           {E::kYear, 0},
                           {E::kPeriod, 4},
                           {E::kOrientation, 1},
                           {E::kGlyphColour, 1}});
  SetAll<std::int32_t>(
      e, {{E::kSignGrid, 1}, {E::kTimeGrid, 1}, {E::kPlanetGlyphs, 1}, {E::kMarkChart, 1}});
  // Sun red, Moon grey, Mercury green, Venus bright green, Mars dark red, Jupiter blue, Saturn
  // dark grey, Uranus teal, Neptune cyan, Pluto purple (the first sixteen palette numbers).
  const std::uint16_t kCurves[10] = {12, 7, 2, 10, 4, 9, 8, 3, 11, 5};
  for (int i = 0; i < 10; ++i) e.Set(E::kCurveColour[i], kCurves[i]);
  e.Set(E::kPrintHeading, std::uint16_t{1});
  // Landscape labels and glyphs turned by 270 degrees read along the turned page.
  e.Set(E::kRotationCorrection, std::uint16_t{1});

  using T = StarAspectSettings;
  SetAll<std::int16_t>(c.starAspects, {{T::kOrb[0], 60},
                                       {T::kOrb[1], 45},
                                       {T::kOrb[2], 30},
                                       {T::kOrb[3], 20},
                                       {T::kOrb[4], 30},
                                       {T::kConjunction, 1},
                                       {T::kOpposition, 1},
                                       {T::kShowDialog, 1}});

  using B = BindhuSettings;
  SetAll<std::int16_t>(
      c.bindhu,
      {{B::kBodies, 2}, {B::kHouses, 2}, {B::kAspects, 1}, {B::kPrintFontSize, kPrintFont}});
  SetAll<std::int32_t>(c.bindhu, {{B::kNodes, 1}, {B::kShowEveryTime, 1}, {B::kMinutes, 1}});

  using S = SabianSettings;
  SetAll<std::int16_t>(c.sabian, {{S::kBodies, 2}, {S::kHouses, 2}});
  c.sabian.Set(S::kShowEveryTime, std::int32_t{1});
}

void AstroCartography(Configuration& c) {
  using A = AstroCartSettings;
  ByteBlock& a = c.astroCart;
  SetAll<std::int32_t>(a, {{A::kGrid, 1},
                           {A::kLineChoice, 1},
                           {A::kShowEveryTime, 1},
                           {A::kCountryNames, 1},
                           {A::kSpeed, 1}});
  SetAll<std::int16_t>(a, {{A::kTownFontSize, 1},
                           {A::kGlyphFontSize, 1},
                           {A::kCrossingOrb, 60},
                           {A::kCrossingLatitudeLimit, 70}});
  // Land light green, sea cyan, borders dark grey, country names navy, towns red, town names
  // black, grid grey, grid degrees navy.
  const std::int16_t kMap[8] = {54, 11, 8, 1, 12, 0, 7, 1};
  for (int i = 0; i < 8; ++i) a.Set(A::kMapColour[i], kMap[i]);
  // Lines: Sun crimson, Moon dim grey, Mercury dark green, Venus forest green, Mars dark red,
  // Jupiter blue, Saturn dark grey, Uranus teal, Neptune royal blue, Pluto purple, the nodes
  // brown, the other points medium violet red: each at least 3:1 in contrast against the land
  // and the sea (the lighter red, grey, lime, cyan, olive and magenta were not).
  const std::int16_t kLines[12] = {34, 57, 26, 27, 4, 9, 8, 3, 22, 5, 18, 52};
  for (int i = 0; i < 12; ++i) a.Set(A::kLineColour[i], kLines[i]);

  using L = ACLinesListSettings;
  ByteBlock& l = c.acLinesList;
  SetAll<std::int16_t>(l, {{L::kScreenFontSize, kScreenFont},
                           {L::kPrintFontSize, kPrintFont},
                           {L::kOrbAfter, 60},
                           {L::kOrbBefore, 60}});
  SetAll<double>(l, {{L::kPrintInterval, 1.2}, {L::kScreenInterval, 1.2}});
  SetAll<std::int32_t>(l, {{L::kIcLine, 1}, {L::kDscLine, 1}, {L::kMcLine, 1}, {L::kAscLine, 1}});

  using I = TablesInterface;
  SetAll<std::int32_t>(
      c.tablesInterface,
      {{I::kScreenFontSize, kScreenFont}, {I::kPrintFontSize, kPrintFont}, {I::kMaxColumns, 4}});
  SetAll<double>(c.tablesInterface, {{I::kScreenInterval, 1.2}, {I::kPrintInterval, 1.2}});
}

void Conditions(Configuration& c) {
  using Q = QuerySettings;
  SetAll<std::int32_t>(c.query,
                       {{Q::kCurrentArchiveOnly, 1}, {Q::kShowArchives, 1}, {Q::kShowQuery, 1}});
  // The results view draws its rows in 0.01 mm on the screen too: a size of 2400 gives rows
  // about 3.2 mm high (some 12 pixels), 0.6 mm apart. On paper 1800 (letters 2.4 mm high) lets
  // the dates, times, zones and coordinates fit their narrow columns across an A4 page.
  SetAll<std::int16_t>(c.query, {{Q::kScreenFontSize, 2400},
                                 {Q::kPrintFontSize, 1800},
                                 {Q::kScreenLineGap, 60},
                                 {Q::kPrintLineGap, 100}});
  // The synastry settings start zero and empty, but for the sizes of its result view, which are
  // those of the query results.
  using Y = SynastrySettings;
  SetAll<std::int16_t>(c.synastry, {{Y::kScreenFontSize, 2400},
                                    {Y::kPrintFontSize, 1800},
                                    {Y::kScreenLineGap, 60},
                                    {Y::kPrintLineGap, 100}});

  using S = StatisticsSettings;
  SetAll<std::int32_t>(c.statistics, {{S::kMinorAspects, 1}, {S::kNodes, 1}});

  using T = InterpretationSettings;
  SetAll<std::int32_t>(c.interpretation,
                       {{T::kTitles, 1}, {T::kGroupHeadings, 1}, {T::kReplaceFile, 1}});
}

void Forecast(Configuration& c) {
  using T = TransitSettings;
  ByteBlock& t = c.transit;
  // The Sun's aspects to Jupiter: a pair of two bodies that every chart kind can search over the
  // default year without the period being cut (they meet every 13 months at most).
  SetAll<std::int32_t>(t, {{T::kTarget, 5},
                           {T::kStartDay, 1},
                           {T::kStartMonth, 1},
                           {T::kStartYear, 2000},
                           {T::kExact, 1},
                           {T::kClassMask, 0x1FF},
                           {T::kSortByTime, 1},
                           {T::kTransitingGroup, -1},
                           {T::kEndDay, 31},
                           {T::kEndMonth, 12},
                           {T::kEndYear, 2000}});
  SetAll<char>(t, {{T::kStartEra, 'A'}, {T::kEndEra, 'A'}});
  SetAll<std::uint16_t>(t, {{T::kOrbSource, 1},
                            {T::kOrbDegrees, 1},
                            {T::kAspectChoice, 1000},
                            {T::kHouseOrbGroup, 1},
                            {T::kPrecision, 5},
                            {T::kScreenFontSize, kListScreenFont},
                            {T::kPrintFontSize, kPrintFont},
                            {T::kPrintColumns, 2}});
  t.Set(T::kAspectSystem, kSystem);
  SetAll<double>(t, {{T::kPrintLineSpacing, 1.2}, {T::kScreenLineSpacing, 1.2}});

  using L = LunarTransSettings;
  ByteBlock& l = c.lunarTransit;
  SetAll<std::int32_t>(
      l,
      {{L::kPlanets, 1}, {L::kHouses, 3}, {L::kExact, 1}, {L::kPlanetOrbs, 1}, {L::kAspects, 1}});
  SetAll<std::int16_t>(l, {{L::kDaysBefore, 10},
                           {L::kDaysAfter, 10},
                           {L::kSigns, 1},
                           {L::kHouseOrbGroup, 1},
                           {L::kPlanetOrbGroup, 1},
                           {L::kScreenLineSpacing, 1200},
                           {L::kPrintLineSpacing, 1200}});
  SetAll<std::uint16_t>(l, {{L::kIngresses, 1},
                            {L::kScreenFontSize, kListScreenFont},
                            {L::kPrintFontSize, kPrintFont},
                            {L::kPrintColumns, 3}});
  l.Set(L::kAspectSystem, kSystem);

  using P = LifePointSettings;
  ByteBlock& p = c.lifePoint;
  p.Set(P::kAspectSystem, kSystem);
  SetAll<std::int32_t>(p, {{P::kHouseTargets, 3},
                           {P::kPointTargets, 1},
                           {P::kWithIngresses, 1},
                           {P::kAspectChoice, 1},
                           {P::kExact, 1}});
  SetAll<std::int16_t>(p, {{P::kPlanetOrbGroup, 1},
                           {P::kHouseOrbGroup, 1},
                           {P::kInterval, 1200},
                           {P::kPrintInterval, 1200},
                           {P::kFontSize, kListScreenFont},
                           {P::kPrintFontSize, kPrintFont},
                           {P::kMaxColumns, 3},
                           {P::kPrintOrder, 1}});

  using D = PredictionListSettings;
  SetAll<std::int32_t>(c.predictionList,
                       {{D::kPrintFontSize, kPrintFont}, {D::kPrintInterval, 120}});
}

void Rectification(Configuration& c) {
  using T = TreminSettings;
  ByteBlock& t = c.treminSettings;
  t.Set(T::kApplyingSystem, kSystem);
  t.Set(T::kSeparatingSystem, kSystem);
  SetAll<std::int32_t>(t, {{T::kSortByDate, 1}, {T::kMinimumPossibility, 50}});
  SetAll<std::int16_t>(t, {{T::kStep, 2},
                           {T::kResultOrder, 1},
                           {T::kMinimumScore, 50},
                           // The results view draws in 0.01 mm: a screen size of 100 would be
                           // 0.13 mm high.
                           {T::kScreenFontSize, kPrintFont},
                           {T::kPrintFontSize, kPrintFont},
                           {T::kPrintColumns, 4}});
  SetAll<double>(t, {{T::kPrintLineSpacing, 1.2}, {T::kScreenLineSpacing, 1.2}});

  // 1 January 2000, 0:00 to 23:59.
  const std::int16_t kBegin[5] = {2000, 1, 1, 0, 0};
  const std::int16_t kEnd[5] = {2000, 1, 1, 23, 59};
  for (int i = 0; i < 5; ++i) {
    c.treminInterval.Set(TreminInterval::kBegin[i], kBegin[i]);
    c.treminInterval.Set(TreminInterval::kEnd[i], kEnd[i]);
    c.rectification.Set(RectificationSettings::kStart[i], kBegin[i]);
    c.rectification.Set(RectificationSettings::kEnd[i], kEnd[i]);
  }

  using F = TreminForecast;
  ByteBlock& f = c.treminForecast;
  // Year 0: no forecast year chosen yet; the dialog then offers the present year.
  SetAll<std::int16_t>(f, {{F::kYear, 0},
                           {F::kPeriodFrom, 2000},
                           {F::kPeriodTo, 2010},
                           {F::kFontSize, kPrintFont},
                           {F::kOrder, 2}});
  f.Set(F::kApplyingSystem, kSystem);
  f.Set(F::kSeparatingSystem, kSystem);
  SetAll<std::int32_t>(f, {{F::kSortByDate, 1}, {F::kFillWhenPrinting, 1}});

  using R = RectificationSettings;
  ByteBlock& r = c.rectification;
  for (const TextField name :
       {R::kDirectionsSystem, R::kProgressionsSystem, R::kTransitsSystem, R::kLifePointSystem})
    r.Set(name, kSystem);
  SetAll<std::int32_t>(r, {{R::kDisplayMode, 2},
                           {R::kVerticalGrid, 1},
                           {R::kHorizontalGrid, 1},
                           {R::kChronological, 1}});
  // Methods 0..13 exist and count as main methods; the other settings are "not taken into account".
  for (std::size_t m = 0; m < R::kMethod.count; ++m)
    r.Set(R::kMethod[m], static_cast<std::uint16_t>(m < 14 ? 0 : 2));
}

}  // namespace

void SetDefaultBlocks(Configuration& c) {
  Archive(c);
  AspectTable(c);
  Views(c);
  AstroCartography(c);
  Conditions(c);
  Forecast(c);
  Rectification(c);
}

}  // namespace cfg
