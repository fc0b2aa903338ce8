#include "astrocarto/core/astrocart_page.h"

#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace {

using A = cfg::AstroCartSettings;
using P = AstroCartPage;
using cfg::Bind;

// A choice out of range reads as its default; the orb and the latitude limit are held in their
// ranges each way.
constexpr cfg::FieldTable kFields{
    Bind(&P::grid, A::kGrid),
    Bind(&P::lineChoice, A::kLineChoice, cfg::InRange{0, 2}),
    Bind(&P::nodes, A::kNodes),
    Bind(&P::showEveryTime, A::kShowEveryTime),
    Bind(&P::countryNames, A::kCountryNames),
    Bind(&P::speed, A::kSpeed, cfg::InRange{0, 3}),
    Bind(&P::printBackground, A::kPrintBackground, cfg::InRange{0, 2}),
    Bind(&P::lineSystem, A::kLineSystem, cfg::InRange{0, 1}),
    Bind(&P::crossingBand, A::kCrossingBand, cfg::InRange{0, 1}),
    Bind(&P::townFontSize, A::kTownFontSize, cfg::InRange{0, 2}),
    Bind(&P::glyphFontSize, A::kGlyphFontSize, cfg::InRange{0, 2}),
    Bind(&P::crossingOrb, A::kCrossingOrb, cfg::ClampBoth{P::kMinOrb, P::kMaxOrb}),
    Bind(&P::crossingLatitudeLimit, A::kCrossingLatitudeLimit,
         cfg::ClampBoth{P::kMinLatitudeLimit, P::kMaxLatitudeLimit}),
    Bind(&P::mapColours, A::kMapColour),
    Bind(&P::lineColours, A::kLineColour)};

}  // namespace

AstroCartPage ReadAstroCartPage(const cfg::ByteBlock& block) {
  AstroCartPage p;
  kFields.Read(block, p);
  return p;
}

void WriteAstroCartPage(const AstroCartPage& p, cfg::ByteBlock& block) { kFields.Write(p, block); }

int LineColourOfBody(const cfg::ByteBlock& block, int body) {
  if (body >= 0 && body <= 9) return block.Get(A::kLineColour[static_cast<std::size_t>(body)]);
  if (body == 16 || body == 17) return block.Get(A::kLineColour[10]);
  return block.Get(A::kLineColour[11]);
}
