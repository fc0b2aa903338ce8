#include "forecast/core/list_display_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace {

using D = ListDisplaySettings;
using cfg::Bind;

std::int16_t ToI16(double thousandths) {
  return static_cast<std::int16_t>(std::clamp(thousandths, -32768.0, 32767.0));
}

// A spacing the block keeps in thousandths.
struct Thousandths {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = ThousandthsToSpacing(stored);
  }
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(SpacingToThousandths(member));
  }
};

constexpr cfg::Saturate kWord;

constexpr cfg::FieldTable kLunarTransitFields{
    Bind(&D::printFontSize, cfg::LunarTransSettings::kPrintFontSize, kWord),
    Bind(&D::printLineSpacing, cfg::LunarTransSettings::kPrintLineSpacing, Thousandths{}),
    Bind(&D::printColumns, cfg::LunarTransSettings::kPrintColumns, kWord),
    Bind(&D::printOrder, cfg::LunarTransSettings::kPrintOrder, kWord),
    Bind(&D::screenFontSize, cfg::LunarTransSettings::kScreenFontSize, kWord),
    Bind(&D::screenLineSpacing, cfg::LunarTransSettings::kScreenLineSpacing, Thousandths{})};

constexpr cfg::FieldTable kLifePointFields{
    Bind(&D::screenLineSpacing, cfg::LifePointSettings::kInterval, Thousandths{}),
    Bind(&D::printLineSpacing, cfg::LifePointSettings::kPrintInterval, Thousandths{}),
    Bind(&D::screenFontSize, cfg::LifePointSettings::kFontSize, kWord),
    Bind(&D::printFontSize, cfg::LifePointSettings::kPrintFontSize, kWord),
    Bind(&D::printColumns, cfg::LifePointSettings::kMaxColumns, kWord),
    Bind(&D::printOrder, cfg::LifePointSettings::kPrintOrder, kWord)};

constexpr cfg::FieldTable kTablesFields{
    Bind(&D::screenFontSize, cfg::TablesInterface::kScreenFontSize),
    Bind(&D::printFontSize, cfg::TablesInterface::kPrintFontSize),
    Bind(&D::screenLineSpacing, cfg::TablesInterface::kScreenInterval),
    Bind(&D::printLineSpacing, cfg::TablesInterface::kPrintInterval),
    Bind(&D::printColumns, cfg::TablesInterface::kMaxColumns),
    Bind(&D::printOrder, cfg::TablesInterface::kColumnOrder)};

// The Tremin and planet-transit blocks share one order: screen font, print font, columns, order
// (16 bits each), then print spacing and screen spacing (doubles).
template <typename Layout>
constexpr auto WordsAndDoubles() {
  return cfg::FieldTable{Bind(&D::screenFontSize, Layout::kScreenFontSize, kWord),
                         Bind(&D::printFontSize, Layout::kPrintFontSize, kWord),
                         Bind(&D::printColumns, Layout::kPrintColumns, kWord),
                         Bind(&D::printOrder, Layout::kPrintOrder, kWord),
                         Bind(&D::printLineSpacing, Layout::kPrintLineSpacing),
                         Bind(&D::screenLineSpacing, Layout::kScreenLineSpacing)};
}
constexpr auto kTreminFields = WordsAndDoubles<cfg::TreminSettings>();
constexpr auto kTransitFields = WordsAndDoubles<cfg::TransitSettings>();

// Calls `f` with the field table of `kind`'s block.
template <typename F>
void WithFields(DisplayBlock kind, F&& f) {
  switch (kind) {
    case DisplayBlock::kLunarTransits:
      return f(kLunarTransitFields);
    case DisplayBlock::kLifePoint:
      return f(kLifePointFields);
    case DisplayBlock::kAstroCartography:
      return f(kTablesFields);
    case DisplayBlock::kTremin:
      return f(kTreminFields);
    case DisplayBlock::kPlanetTransits:
      return f(kTransitFields);
  }
}

}  // namespace

ListDisplaySettings ListDisplaySettings::Clamped() const {
  const auto spacing = [](double s) {
    return std::isfinite(s) ? std::clamp(s, kMinSpacing, kMaxSpacing) : kMinSpacing;
  };
  ListDisplaySettings v;
  v.printFontSize = std::clamp(printFontSize, kMinFontSize, kMaxFontSize);
  v.printLineSpacing = spacing(printLineSpacing);
  v.printColumns = std::clamp(printColumns, kMinColumns, kMaxColumns);
  v.printOrder = printOrder == 1 ? 1 : 0;
  v.screenFontSize = std::clamp(screenFontSize, kMinFontSize, kMaxFontSize);
  v.screenLineSpacing = spacing(screenLineSpacing);
  return v;
}

int SpacingToThousandths(double spacing) {
  if (!std::isfinite(spacing)) return 0;
  return ToI16(std::round(spacing * 1000.0));
}

double ThousandthsToSpacing(int thousandths) { return thousandths / 1000.0; }

ListDisplaySettings ReadDisplaySettings(DisplayBlock kind, const cfg::ByteBlock& b) {
  ListDisplaySettings v;
  WithFields(kind, [&](const auto& fields) { fields.Read(b, v); });
  return v;
}

void WriteDisplaySettings(DisplayBlock kind, const ListDisplaySettings& v, cfg::ByteBlock& b) {
  WithFields(kind, [&](const auto& fields) { fields.Write(v, b); });
}

cfg::ByteBlock& DisplayBlockOf(Configuration& config, DisplayBlock kind) {
  switch (kind) {
    case DisplayBlock::kLifePoint:
      return config.lifePoint;
    case DisplayBlock::kAstroCartography:
      return config.tablesInterface;
    case DisplayBlock::kTremin:
      return config.treminSettings;
    case DisplayBlock::kPlanetTransits:
      return config.transit;
    case DisplayBlock::kLunarTransits:
      break;
  }
  return config.lunarTransit;
}
