#include "forecast/core/event_listing.h"

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"

namespace forecast {

namespace {

constexpr int kSelectionColour = 14;
constexpr int kAngleLayout = 2;  // signed degrees and minutes with marks
// Wider than any window: the band is cut by the window.
constexpr int kLineFillWidth = 100000;

}  // namespace

void PrintListingPage(platform::Dc& dc, EventListing& listing, const ListingPaper& paper,
                      int page) {
  const lists::ColumnPageLayout& layout = paper.layout;
  const int count = listing.Count();
  listing.DrawPageHead(dc, page, layout.PageCount(count), layout.RowsUsedOnPage(page, count));
  const int first = layout.FirstOnPage(page);
  const int onPage = layout.CountOnPage(page, count);
  for (int k = 0; k < onPage; ++k) {
    const lists::ColumnCell cell = layout.CellOf(first + k);
    const int x = paper.left + static_cast<int>(cell.column * paper.columnStep);
    const int y = -(paper.top + static_cast<int>(cell.row * paper.pitch));
    listing.DrawPrintedLine(dc, first + k, {x, y});
  }
}

int PrintedHeadingTop(platform::Dc& dc, const Chart& chart, const Configuration& config,
                      std::string_view title, int usual) {
  const int top = config.print.marginTop;
  return -PageContentTop(PlacePrintedPageTitle(dc, chart, config, title), -(top + usual));
}

platform::Font TextFont(int size) {
  return platform::Font{std::string(platform::kTextFace), size, 0, false, false};
}

platform::Size SampleW(platform::Dc& dc, int size) {
  const platform::Font old = dc.SelectFont(TextFont(size));
  const platform::Size w = dc.GetTextExtent("W");
  dc.SelectFont(old);
  return w;
}

int DrawAspectCode(platform::Dc& dc, int x, int y, int size, int code) {
  if (code < -1) return DrawLongitudeGlyph(dc, size, -code / 60.0, x, y, kAngleLayout);
  const platform::Font old =
      dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceB), size, 0, false, false});
  const int width = DrawGlyphNumber(dc, x, y, code).cx;
  dc.SelectFont(old);
  return width;
}

char EventTargetGlyph(int target) {
  constexpr int kCuspTarget = 1000, kIngressTarget = 1100;
  if (target >= 0 && target < glyphs::kPointCount) return glyphs::Point(target);
  const int cusp = target - kCuspTarget;
  if (cusp >= 0 && cusp < glyphs::kCuspCount) return glyphs::Cusp(cusp);
  const int sign = target - kIngressTarget;
  if (sign >= 0 && sign < glyphs::kSignCount) return glyphs::Sign(sign);
  return '?';
}

char PhaseGlyph(char phase) {
  if (phase == 'I') return glyphs::kPhaseApplying;
  if (phase == 'E') return glyphs::kPhaseExact;
  return glyphs::kPhaseSeparating;
}

void FillSelectedLine(platform::Dc& dc, int left, int top, double pitch) {
  dc.FillRect({left, top, left + kLineFillWidth, top - static_cast<int>(pitch)},
              ColorByIndex(kSelectionColour));
}

}  // namespace forecast
