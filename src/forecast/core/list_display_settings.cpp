#include "forecast/core/list_display_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"

namespace {

std::int16_t ToI16(double thousandths) {
  return static_cast<std::int16_t>(std::clamp(thousandths, -32768.0, 32767.0));
}

std::int16_t I16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }
std::uint16_t U16(int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); }

// Blocks 3 and 4 share one order: screen font, print font, columns, order (16 bits each), then
// print spacing and screen spacing (doubles).
template <typename Layout>
ListDisplaySettings ReadWordsAndDoubles(const cfg::ByteBlock& b) {
  ListDisplaySettings v;
  v.screenFontSize = b.Get(Layout::kScreenFontSize);
  v.printFontSize = b.Get(Layout::kPrintFontSize);
  v.printColumns = b.Get(Layout::kPrintColumns);
  v.printOrder = b.Get(Layout::kPrintOrder);
  v.printLineSpacing = b.Get(Layout::kPrintLineSpacing);
  v.screenLineSpacing = b.Get(Layout::kScreenLineSpacing);
  return v;
}

template <typename Word, typename Layout>
void WriteWordsAndDoubles(const ListDisplaySettings& v, cfg::ByteBlock& b) {
  const auto word = [](int x) {
    if constexpr (std::is_signed_v<Word>)
      return I16(x);
    else
      return U16(x);
  };
  b.Set(Layout::kScreenFontSize, word(v.screenFontSize));
  b.Set(Layout::kPrintFontSize, word(v.printFontSize));
  b.Set(Layout::kPrintColumns, word(v.printColumns));
  b.Set(Layout::kPrintOrder, word(v.printOrder));
  b.Set(Layout::kPrintLineSpacing, v.printLineSpacing);
  b.Set(Layout::kScreenLineSpacing, v.screenLineSpacing);
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
  switch (kind) {
    case DisplayBlock::kLunarTransits: {
      using L = cfg::LunarTransSettings;
      v.printFontSize = b.Get(L::kPrintFontSize);
      v.printLineSpacing = ThousandthsToSpacing(b.Get(L::kPrintLineSpacing));
      v.printColumns = b.Get(L::kPrintColumns);
      v.printOrder = b.Get(L::kPrintOrder);
      v.screenFontSize = b.Get(L::kScreenFontSize);
      v.screenLineSpacing = ThousandthsToSpacing(b.Get(L::kScreenLineSpacing));
      break;
    }
    case DisplayBlock::kLifePoint: {
      using P = cfg::LifePointSettings;
      v.screenLineSpacing = ThousandthsToSpacing(b.Get(P::kInterval));
      v.printLineSpacing = ThousandthsToSpacing(b.Get(P::kPrintInterval));
      v.screenFontSize = b.Get(P::kFontSize);
      v.printFontSize = b.Get(P::kPrintFontSize);
      v.printColumns = b.Get(P::kMaxColumns);
      v.printOrder = b.Get(P::kPrintOrder);
      break;
    }
    case DisplayBlock::kAstroCartography: {
      using T = cfg::TablesInterface;
      v.screenFontSize = b.Get(T::kScreenFontSize);
      v.printFontSize = b.Get(T::kPrintFontSize);
      v.screenLineSpacing = b.Get(T::kScreenInterval);
      v.printLineSpacing = b.Get(T::kPrintInterval);
      v.printColumns = b.Get(T::kMaxColumns);
      v.printOrder = b.Get(T::kColumnOrder);
      break;
    }
    case DisplayBlock::kTremin:
      return ReadWordsAndDoubles<cfg::TreminSettings>(b);
    case DisplayBlock::kPlanetTransits:
      return ReadWordsAndDoubles<cfg::TransitSettings>(b);
  }
  return v;
}

void WriteDisplaySettings(DisplayBlock kind, const ListDisplaySettings& v, cfg::ByteBlock& b) {
  switch (kind) {
    case DisplayBlock::kLunarTransits: {
      using L = cfg::LunarTransSettings;
      b.Set(L::kPrintFontSize, U16(v.printFontSize));
      b.Set(L::kPrintLineSpacing, I16(SpacingToThousandths(v.printLineSpacing)));
      b.Set(L::kPrintColumns, U16(v.printColumns));
      b.Set(L::kPrintOrder, I16(v.printOrder));
      b.Set(L::kScreenFontSize, U16(v.screenFontSize));
      b.Set(L::kScreenLineSpacing, I16(SpacingToThousandths(v.screenLineSpacing)));
      break;
    }
    case DisplayBlock::kLifePoint: {
      using P = cfg::LifePointSettings;
      b.Set(P::kInterval, I16(SpacingToThousandths(v.screenLineSpacing)));
      b.Set(P::kPrintInterval, I16(SpacingToThousandths(v.printLineSpacing)));
      b.Set(P::kFontSize, I16(v.screenFontSize));
      b.Set(P::kPrintFontSize, I16(v.printFontSize));
      b.Set(P::kMaxColumns, I16(v.printColumns));
      b.Set(P::kPrintOrder, I16(v.printOrder));
      break;
    }
    case DisplayBlock::kAstroCartography: {
      using T = cfg::TablesInterface;
      b.Set(T::kScreenFontSize, std::int32_t{v.screenFontSize});
      b.Set(T::kPrintFontSize, std::int32_t{v.printFontSize});
      b.Set(T::kScreenInterval, v.screenLineSpacing);
      b.Set(T::kPrintInterval, v.printLineSpacing);
      b.Set(T::kMaxColumns, std::int32_t{v.printColumns});
      b.Set(T::kColumnOrder, std::int32_t{v.printOrder});
      break;
    }
    case DisplayBlock::kTremin:
      WriteWordsAndDoubles<std::int16_t, cfg::TreminSettings>(v, b);
      break;
    case DisplayBlock::kPlanetTransits:
      WriteWordsAndDoubles<std::uint16_t, cfg::TransitSettings>(v, b);
      break;
  }
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
