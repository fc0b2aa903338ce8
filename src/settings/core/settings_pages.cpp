#include "settings/core/settings_pages.h"

#include <algorithm>

#include "foundation/messages/message_numbers.h"

namespace settings {

namespace {

std::int32_t Flag(bool b) { return b ? 1 : 0; }

}  // namespace

// --- Aspect filter ---

AspectFilterPage AspectFilterPage::From(const cfg::AspectFilter& f) {
  AspectFilterPage page;
  page.shows = {f.harmonious != 0, f.tense != 0, f.creative != 0, f.karmic != 0, f.other != 0,
                f.major != 0,      f.minor != 0, f.exact != 0,    f.inexact != 0};
  page.overlay = f.overlay >= 0 && f.overlay <= 2 ? f.overlay : 2;
  page.alwaysAsk = f.alwaysAsk != 0;
  page.dashedScreen = (f.dashedLines & 1) != 0;
  page.dashedPrinter = (f.dashedLines & 2) != 0;
  page.thickScreen = (f.thickLines & 1) != 0;
  page.thickPrinter = (f.thickLines & 2) != 0;
  return page;
}

void AspectFilterPage::To(cfg::AspectFilter& f) const {
  std::int32_t* const fields[kFilterSwitchCount] = {&f.harmonious, &f.tense, &f.creative,
                                                    &f.karmic,     &f.other, &f.major,
                                                    &f.minor,      &f.exact, &f.inexact};
  for (int i = 0; i < kFilterSwitchCount; ++i) *fields[i] = Flag(shows[static_cast<size_t>(i)]);
  f.overlay = overlay >= 0 && overlay <= 2 ? overlay : 2;
  f.alwaysAsk = Flag(alwaysAsk);
  f.dashedLines = Flag(dashedScreen) + 2 * Flag(dashedPrinter);
  f.thickLines = Flag(thickScreen) + 2 * Flag(thickPrinter);
}

// --- Line types ---

LineTypesPage LineTypesPage::From(std::array<std::uint8_t, Configuration::kLineTypeCount>& table) {
  LineTypesPage page;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] % 10 > 3 || table[i] / 10 > 1) table[i] = 0;
    page.style[i] = table[i] % 10;
    page.thickness[i] = table[i] / 10;
  }
  return page;
}

void LineTypesPage::To(std::array<std::uint8_t, Configuration::kLineTypeCount>& table) const {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const int s = style[i] >= 0 && style[i] <= 3 ? style[i] : 0;
    const int t = thickness[i] == 1 ? 1 : 0;
    table[i] = static_cast<std::uint8_t>(10 * t + s);
  }
}

// --- Planets ---

PlanetsPage PlanetsPage::From(const Configuration& config) {
  PlanetsPage page;
  for (int i = 0; i < Configuration::kObjectCount; ++i)
    page.objects[static_cast<std::size_t>(i)] = config.GetObjectFlags(i);
  return page;
}

int PlanetsPage::FirstBadOrbGroup() const {
  for (int i = 0; i < Configuration::kObjectCount; ++i) {
    const int group = objects[static_cast<std::size_t>(i)].orbGroup;
    if (group < 1 || group > 5) return i;
  }
  return -1;
}

bool PlanetsPage::To(Configuration& config) const {
  if (FirstBadOrbGroup() >= 0) return false;
  for (int i = 0; i < Configuration::kObjectCount; ++i) {
    const cfg::ObjectFlags& o = objects[static_cast<std::size_t>(i)];
    config.SetObjectFlags(i, o.shown, o.aspect1, o.aspect2, o.orbGroup);
  }
  return true;
}

// --- Calculations ---

CalculationsPage CalculationsPage::From(const cfg::CalculationSettings& s) {
  CalculationsPage page;
  page.houseSystem = s.houseSystem % 100 < kHouseSystemCount ? s.houseSystem % 100 : 0;
  page.lunarNodes = s.lunarNodes == 1 ? 1 : 0;
  page.blackMoon = s.blackMoon == 1 ? 1 : 0;
  page.dayNight = s.dayNight != 0;
  page.geodetic = s.geodetic != 0;
  return page;
}

bool CalculationsPage::GeodeticAllowed() const {
  if (!geodetic) return true;
  static constexpr int kWithGeodetic[] = {0, 1, 2, 5, 6, 7};
  return std::find(std::begin(kWithGeodetic), std::end(kWithGeodetic), houseSystem) !=
         std::end(kWithGeodetic);
}

void CalculationsPage::To(cfg::CalculationSettings& s) const {
  s.houseSystem = static_cast<std::uint16_t>(houseSystem % 100);
  s.lunarNodes = static_cast<std::uint16_t>(lunarNodes);
  s.blackMoon = static_cast<std::uint16_t>(blackMoon);
  s.dayNight = dayNight ? 1 : 0;
  s.geodetic = geodetic ? 1 : 0;
}

// --- Wheel ---

WheelPage WheelPage::From(const cfg::WheelSettings& s) {
  WheelPage page;
  page.direction = s.direction;
  page.wheelType = s.wheelType;
  page.division = s.division;
  page.orientation = s.orientation;
  page.centreCircle = s.centreCircleOff == 0;
  page.degreesShown = s.degreesShown;
  page.angleMarking = s.angleMarking;
  page.localSpaceDrawing = s.localSpaceDrawing;
  page.localSpaceOrientation = s.localSpaceOrientation;
  return page;
}

void WheelPage::To(cfg::WheelSettings& s) const {
  s.direction = direction;
  s.wheelType = wheelType;
  s.division = division;
  s.orientation = orientation;
  s.centreCircleOff = centreCircle ? 0 : 1;
  s.degreesShown = degreesShown;
  s.angleMarking = angleMarking;
  s.localSpaceDrawing = localSpaceDrawing;
  s.localSpaceOrientation = localSpaceOrientation;
}

// --- Print ---

bool PrintPage::RowEnabled(int row) const {
  if (row < 0 || row >= kPrintOffsetRows) return false;
  if (row < 2) return values.aspectTable != 0;
  if (row < 4) return values.header != 0;
  return values.coordinates != 0;
}

int PrintPage::OffsetIndex(int row, int column) {
  if (column < 0 || column > 2 || row < 0 || row >= kPrintOffsetRows) return -1;
  if (row < 8) return row * 3 + column;
  return column == 1 ? 24 + (row - 8) : -1;
}

int PrintPage::Check() const {
  for (const std::int32_t m :
       {values.marginLeft, values.marginTop, values.marginRight, values.marginBottom}) {
    if (m < 0 || m > kPrintMarginMax) return kMsgMarginRange;
  }
  for (const std::int32_t o : values.offsets) {
    if (o < 0 || o > kPrintOffsetMax) return kMsgOffsetRange;
  }
  return 0;
}

// --- Rulers ---

RulersPage RulersPage::From(const std::array<std::int16_t, Configuration::kRulerCount>& rulers) {
  RulersPage page;
  for (std::size_t i = 0; i < rulers.size(); ++i)
    page.selection[i] = rulers[i] >= -1 && rulers[i] < kRulerBodyCount ? rulers[i] + 1 : 0;
  return page;
}

void RulersPage::To(std::array<std::int16_t, Configuration::kRulerCount>& rulers) const {
  for (std::size_t i = 0; i < rulers.size(); ++i) {
    const int s = selection[i];
    rulers[i] = static_cast<std::int16_t>(s >= 1 && s <= kRulerBodyCount ? s - 1 : -1);
  }
}

}  // namespace settings

namespace settings {

std::array<double, kWheelSetValues> WheelSetsPage::Values(int k) const {
  std::array<double, kWheelSetValues> values{};
  const cfg::ByteBlock& set = sets.GetSet(k);
  for (int i = 0; i < kWheelSetValues; ++i)
    values[static_cast<std::size_t>(i)] =
        set.Get(cfg::Field<double>{static_cast<std::size_t>(8 * i)});
  return values;
}

bool WheelSetsPage::SetValues(int k, const std::array<double, kWheelSetValues>& values) {
  if (k < 0 || k >= WheelConstants::kSetCount) return false;
  for (const double v : values) {
    if (!(v >= 0.0 && v <= kWheelValueMax)) return false;  // also NaN
  }
  cfg::ByteBlock& set = sets.Set(k);
  for (int i = 0; i < kWheelSetValues; ++i)
    set.Set(cfg::Field<double>{static_cast<std::size_t>(8 * i)},
            values[static_cast<std::size_t>(i)]);
  return true;
}

}  // namespace settings
