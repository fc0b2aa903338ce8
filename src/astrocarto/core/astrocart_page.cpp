#include "astrocarto/core/astrocart_page.h"

#include <algorithm>

#include "foundation/config/settings_blocks.h"

namespace {

using A = cfg::AstroCartSettings;

int Choice(int value, int last, int fallback) {
  return value >= 0 && value <= last ? value : fallback;
}

}  // namespace

AstroCartPage ReadAstroCartPage(const cfg::ByteBlock& block) {
  const AstroCartPage defaults;
  AstroCartPage p;
  p.grid = block.Get(A::kGrid) != 0;
  p.lineChoice = Choice(block.Get(A::kLineChoice), 2, defaults.lineChoice);
  p.nodes = block.Get(A::kNodes) != 0;
  p.showEveryTime = block.Get(A::kShowEveryTime) != 0;
  p.countryNames = block.Get(A::kCountryNames) != 0;
  p.speed = Choice(block.Get(A::kSpeed), 3, defaults.speed);
  p.printBackground = Choice(block.Get(A::kPrintBackground), 2, defaults.printBackground);
  p.lineSystem = Choice(block.Get(A::kLineSystem), 1, defaults.lineSystem);
  p.crossingBand = Choice(block.Get(A::kCrossingBand), 1, defaults.crossingBand);
  p.townFontSize = Choice(block.Get(A::kTownFontSize), 2, defaults.townFontSize);
  p.glyphFontSize = Choice(block.Get(A::kGlyphFontSize), 2, defaults.glyphFontSize);
  p.crossingOrb =
      std::clamp<int>(block.Get(A::kCrossingOrb), AstroCartPage::kMinOrb, AstroCartPage::kMaxOrb);
  p.crossingLatitudeLimit =
      std::clamp<int>(block.Get(A::kCrossingLatitudeLimit), AstroCartPage::kMinLatitudeLimit,
                      AstroCartPage::kMaxLatitudeLimit);
  for (std::size_t i = 0; i < p.mapColours.size(); ++i)
    p.mapColours[i] = block.Get(A::kMapColour[i]);
  for (std::size_t i = 0; i < p.lineColours.size(); ++i)
    p.lineColours[i] = block.Get(A::kLineColour[i]);
  return p;
}

void WriteAstroCartPage(const AstroCartPage& p, cfg::ByteBlock& block) {
  block.Set(A::kGrid, std::int32_t{p.grid});
  block.Set(A::kLineChoice, std::int32_t{p.lineChoice});
  block.Set(A::kNodes, std::int32_t{p.nodes});
  block.Set(A::kShowEveryTime, std::int32_t{p.showEveryTime});
  block.Set(A::kCountryNames, std::int32_t{p.countryNames});
  block.Set(A::kSpeed, std::int32_t{p.speed});
  block.Set(A::kPrintBackground, std::int32_t{p.printBackground});
  block.Set(A::kLineSystem, std::int32_t{p.lineSystem});
  block.Set(A::kCrossingBand, std::int32_t{p.crossingBand});
  block.Set(A::kTownFontSize, static_cast<std::int16_t>(p.townFontSize));
  block.Set(A::kGlyphFontSize, static_cast<std::int16_t>(p.glyphFontSize));
  block.Set(A::kCrossingOrb, static_cast<std::int16_t>(std::clamp(
                                 p.crossingOrb, AstroCartPage::kMinOrb, AstroCartPage::kMaxOrb)));
  block.Set(A::kCrossingLatitudeLimit,
            static_cast<std::int16_t>(std::clamp(p.crossingLatitudeLimit,
                                                 AstroCartPage::kMinLatitudeLimit,
                                                 AstroCartPage::kMaxLatitudeLimit)));
  for (std::size_t i = 0; i < p.mapColours.size(); ++i)
    block.Set(A::kMapColour[i], static_cast<std::int16_t>(p.mapColours[i]));
  for (std::size_t i = 0; i < p.lineColours.size(); ++i)
    block.Set(A::kLineColour[i], static_cast<std::int16_t>(p.lineColours[i]));
}

int LineColourOfBody(const cfg::ByteBlock& block, int body) {
  if (body >= 0 && body <= 9) return block.Get(A::kLineColour[static_cast<std::size_t>(body)]);
  if (body == 16 || body == 17) return block.Get(A::kLineColour[10]);
  return block.Get(A::kLineColour[11]);
}
