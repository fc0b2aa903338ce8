// Layout and drawing of the aspect grid and the midpoint grid of an AspectTable.
//
// The grid has count + 1 rows and columns of cells; row 0 and column 0 hold the points' glyphs.
// Cell (column a, row b), counted from 0 over the table positions, has its top-left corner at
// (originX + (a + 1) x cellWidth, originY - (b + 1) x cellHeight). Longitude texts in a cell are
// left-aligned from a reference point a fifth of a cell width right of its left edge and a quarter
// of its height down (the text is half a cell high); arcs and the longer layouts move left of it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"
#include "views/core/aspect_table.h"

namespace {

using Settings = cfg::AspectTableSettings;

constexpr const char* kCellSample = "555.55.";
constexpr int kFirstFontSize = 3000;
constexpr int kFallbackFontSize = 1700;
constexpr int kGridColour = 8;
constexpr int kThickGrid = 40;
constexpr int kThinGrid = 1;
constexpr int kDiagonalColour = 1;
constexpr int kDefaultColour = 0;       // black
constexpr int kChartPagePadding = 200;  // the chart page counts its offsets from margins + 2 mm
constexpr int kUpperTableTop = -2000;
constexpr int kLowerTableTop = -14900;
constexpr std::size_t kNameCut = 15;
constexpr int kNameSizeStep = 100;

// Diagonal modes of the aspect-table settings.
enum Diagonal { kDiagonalEmpty = 0, kDiagonalZodiac, kDiagonalDegrees, kDiagonalGlyph };

// The glyph of table point k: 'M' + k for a chart point; the cusp glyph of its house otherwise
// (table points 34..39 are the cusps of houses X, XI, XII, I, II, III: cusp index 9, 10, 11, 0, 1,
// 2).
char TablePointGlyph(int k) {
  if (k < AspectTable::kChartPoints) return glyphs::Point(k);
  static constexpr int kCuspIndex[] = {9, 10, 11, 0, 1, 2};
  return glyphs::Cusp(kCuspIndex[std::clamp(k - AspectTable::kFirstCuspPoint, 0, 5)]);
}

platform::Font GlyphFont(int size) { return {std::string(platform::kGlyphFaceA), size}; }

// The name shown for a chart in the corner cell: the name of its birth data.
std::string BirthName(const Chart& chart) {
  const Source* base = chart.definition.GetBaseSource();
  return base != nullptr ? base->Name() : chart.definition.sources[0].Name();
}

}  // namespace

LongitudeFonts AspectTable::CellFonts() const {
  // Digits a little smaller than the size the cell was fitted to, so that the degree and minute
  // marks (wider than the points of the sample) stay inside the cell.
  return {GlyphFont(fontSize * 8 / 10), GlyphFont(fontSize)};
}

int AspectTable::TableWidthForLayout(int layout) const {
  const std::size_t slot = layout <= kLayoutChartPageTwo     ? 0
                           : layout == kLayoutChartPageSmall ? 1
                                                             : 2;
  return config_.aspectTable.Get(Settings::kTableWidth[slot]);
}

void AspectTable::Draw(platform::Dc& dc, int layout, const Chart& inner, const Chart* outer,
                       int choice, int drawKind, int drop) {
  LoadSettings(inner);
  kind = kKindAspects;
  const cfg::PrintSettings& print = config_.print;
  const bool framed = print.pageFrame != 0;
  const int left = framed ? print.marginLeft : 0;
  const int right = framed ? print.marginRight : 0;
  tableWidth = TableWidthForLayout(layout);
  if (layout >= kLayoutChartPageLarge && layout <= kLayoutChartPageSmall) {
    // The chart page's own places: the aspect-table rows of its offsets, the column of the page
    // (large chart, two charts, small chart), counted from the inner corner of its frame as the
    // header, the wheel and the coordinates of that page are.
    static constexpr int kColumn[] = {0, 1, 2};
    const int column = kColumn[layout];
    originX =
        print.marginLeft + kChartPagePadding + print.offsets[static_cast<std::size_t>(column)];
    originY = -(print.marginTop + kChartPagePadding) -
              print.offsets[static_cast<std::size_t>(3 + column)];
  } else {
    originX = (21000 + left - right - tableWidth) / 2;
    // The upper table starts under the page head (the identification blocks begin 2 mm under
    // the top margin), not across it.
    originY =
        layout == kLayoutTableLower ? kLowerTableTop - drop : kUpperTableTop - print.marginTop;
  }
  onPage = 1;
  needsLayout = 1;
  kind = static_cast<std::uint16_t>(drawKind == kKindMidpoints ? kKindMidpoints : kKindAspects);
  Render(dc, choice, inner, outer);
}

void AspectTable::Layout(platform::Dc& dc) {
  CountPoints();
  const int width = dc.IsPrinting() || onPage != 0 ? tableWidth : clientWidth;
  cellWidth = (width - 100) / (count + 1);
  fontSize = cellWidth > 0
                 ? FitFontWidth(dc, platform::kGlyphFaceA, kFirstFontSize, cellWidth, kCellSample)
                 : -1;
  if (fontSize < 1) {
    // Not even small sizes fit: the cells keep a readable size and the grid runs past the width.
    fontSize = kFallbackFontSize;
    cellWidth = TextWidthInFont(dc, platform::kGlyphFaceA, fontSize, kCellSample);
  }
  const platform::Font old = dc.SelectFont(GlyphFont(fontSize));
  cellHeight = std::max(1, 2 * dc.GetTextExtent(kCellSample).cy);
  dc.SelectFont(old);
  cellWidth = std::max(1, cellWidth);
}

void AspectTable::Render(platform::Dc& dc, int choice, const Chart& inner, const Chart* outer) {
  choice = EffectiveChoice(choice, outer != nullptr);
  if (needsLayout != 0 || cellWidth <= 0 || cellHeight <= 0) {
    Layout(dc);
    needsLayout = 0;
  }
  const bool monochrome = dc.IsPrinting() && config_.colourPrinting == 0;
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const platform::Color oldColour = dc.SetTextColor(platform::kBlack);

  DrawGrid(dc, monochrome);
  DrawHeaders(dc, choice);
  if (choice == kChoiceBetween) DrawChartNames(dc, inner, *outer, monochrome);
  SetPlanets(choice, inner, outer);
  if (kind == kKindMidpoints)
    DrawMidpointCells(dc, choice, inner, monochrome);
  else
    DrawAspectCells(dc, choice, monochrome);

  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
}

void AspectTable::DrawGrid(platform::Dc& dc, bool monochrome) const {
  const platform::Color colour = monochrome ? platform::kBlack : ColorByIndex(kGridColour);
  const int width = (count + 1) * cellWidth;
  const int height = (count + 1) * cellHeight;
  for (int i = 0; i <= count + 1; ++i) {
    const int thickness = i == 1 ? kThickGrid : kThinGrid;
    const int y = originY - i * cellHeight;
    const int x = originX + i * cellWidth;
    DrawThickLine(dc, originX, y, originX + width, y, platform::PenStyle::Solid, thickness, colour);
    DrawThickLine(dc, x, originY, x, originY - height, platform::PenStyle::Solid, thickness,
                  colour);
  }
}

void AspectTable::DrawHeaders(platform::Dc& dc, int choice) const {
  const int size = 2 * fontSize;
  // Between two charts the diagonal cells hold aspects like any other: no glyph over them.
  const bool glyphOnDiagonal = kind == kKindAspects && choice != kChoiceBetween &&
                               config_.aspectTable.Get(Settings::kDiagonalMode) == kDiagonalGlyph;
  for (int p = 1; p <= count; ++p) {
    const char glyph = TablePointGlyph(TablePointAt(p - 1));
    const int columnX = originX + p * cellWidth + cellWidth / 3;
    const int rowY = originY - p * cellHeight;
    DrawGlyphText(dc, columnX, originY, glyph, 'a', size, platform::BkMode::Transparent);
    DrawGlyphText(dc, originX + cellWidth / 4, rowY, glyph, 'a', size,
                  platform::BkMode::Transparent);
    if (glyphOnDiagonal)
      DrawGlyphText(dc, columnX, rowY, glyph, 'a', size, platform::BkMode::Transparent);
  }
}

void AspectTable::DrawChartNames(platform::Dc& dc, const Chart& inner, const Chart& outer,
                                 bool monochrome) const {
  std::string first = BirthName(inner), second = BirthName(outer);
  if (first == second) {
    first = inner.definition.Title();
    second = outer.definition.Title();
    if (first == second) return;
  }
  // Each name in its half of the corner, inside the grid's lines as they are inked on this
  // device: a pixel below the line over it, clear of the thick lines at its right and under the
  // corner (kThickGrid and a pixel into the cell), with a twentieth of the cell (at least a
  // pixel) of room at its sides.
  const int pixelX = std::max(1, static_cast<int>(std::ceil(dc.LogicalPerPixelX())));
  const int pixelY = std::max(1, static_cast<int>(std::ceil(dc.LogicalPerPixelY())));
  const int padX = std::max(pixelX, cellWidth / 20);
  const int left = originX + pixelX + padX;
  const int room = originX + cellWidth - kThickGrid - pixelX - padX - left;
  const int half = cellHeight / 2;
  const int upper = half - pixelY, lower = half - 2 * pixelY - kThickGrid;
  const int smallest = std::max(1, fontSize / 2);
  const auto width = [&dc](int size, std::string_view text) {
    return TextWidthInFont(dc, platform::kTextFace, size, text);
  };
  const auto lineHeight = [&dc](int size) {
    const platform::Font old = dc.SelectFont({std::string(platform::kTextFace), size});
    const int h = dc.GetTextMetrics().height;
    dc.SelectFont(old);
    return h;
  };
  // A name whole: on one line at the cell's size or smaller, or on two lines (broken after a
  // blank or a hyphen where one is near) whose size fits them both in the half, whichever is the
  // larger; only a name that two lines cannot hold is shortened.
  struct Fitted {
    std::vector<std::string> lines;
    int size = 1;
  };
  const auto fit = [&](std::string text, int height) {
    if (text.size() > kNameCut) text.resize(kNameCut);
    int one = std::max(fontSize, 1);
    while (one > kNameSizeStep / 2 && (width(one, text) >= room || lineHeight(one) > height))
      one -= kNameSizeStep / 2;
    if (one >= smallest) return Fitted{{text}, one};
    int two = smallest;
    while (two > kNameSizeStep && 2 * lineHeight(two) > height) two -= kNameSizeStep / 2;
    if (one >= two) return Fitted{{text}, one};
    std::size_t cut = text.size();
    while (cut > 1 && width(two, text.substr(0, cut)) >= room) --cut;
    const std::size_t blank = text.find_last_of(" -", cut - 1);
    if (blank != std::string::npos && blank > 0 && blank + 1 < text.size()) cut = blank + 1;
    std::string head = text.substr(0, cut), tail = text.substr(cut);
    if (!head.empty() && head.back() == ' ') head.pop_back();
    while (tail.size() > 2 && width(two, tail) >= room) tail.pop_back();
    return Fitted{{head, tail}, two};
  };
  DrawThickLine(dc, originX, originY - half, originX + cellWidth, originY - half,
                platform::PenStyle::Solid, kThinGrid,
                monochrome ? platform::kBlack : ColorByIndex(kGridColour));
  const platform::Font old = dc.SelectFont({std::string(platform::kTextFace), fontSize});
  const auto draw = [&](const Fitted& name, int top) {
    dc.SelectFont({std::string(platform::kTextFace), name.size});
    const int step = lineHeight(name.size);
    for (std::size_t i = 0; i < name.lines.size(); ++i)
      dc.TextOut(left, top - static_cast<int>(i) * step, name.lines[i]);
  };
  draw(fit(first, upper), originY - pixelY);
  draw(fit(second, lower), originY - half - pixelY);
  dc.SelectFont(old);
}

void AspectTable::DrawAspectCell(platform::Dc& dc, int x, int y, const AspectSystem& system,
                                 int position, int result, double orb) const {
  const Aspect& aspect = system.GetAspect(position);
  const int aspectColour = result == 2 ? aspect.exactColor : aspect.color;
  const platform::Size symbol =
      DrawAspectGlyph(dc, x + cellWidth / 15, y, 2 * fontSize, ClassifyAspectAngle(aspect),
                      aspect.abbreviation, colourMode != 0 ? aspectColour : kDefaultColour);
  // The orb at half the cell, or after a symbol wider than the cell's first half.
  const int orbX = std::max(x + cellWidth / 2, x + cellWidth / 15 + symbol.cx + cellWidth / 30);
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", std::fabs(orb));
  const platform::Color oldColour =
      dc.SetTextColor(ColorByIndex(colourMode == 2 ? aspectColour : kDefaultColour));
  const platform::Font oldFont = dc.SelectFont(GlyphFont(fontSize * 8 / 10));
  dc.TextOut(orbX, y - cellHeight / 2, text);
  dc.SelectFont(oldFont);
  dc.SetTextColor(oldColour);
}

void AspectTable::DrawAspectCells(platform::Dc& dc, int choice, bool printingMonochrome) {
  // Paper without colour: everything black for this drawing, the screen's mode kept.
  const int savedColourMode = colourMode;
  if (printingMonochrome) colourMode = 0;
  const AspectSystem* system = systems_.FindSystem(systemName.data());
  const LongitudeFonts fonts = CellFonts();
  const int diagonal = config_.aspectTable.Get(Settings::kDiagonalMode);

  const auto cellX = [this](int a) { return originX + (a + 1) * cellWidth; };
  const auto cellY = [this](int b) { return originY - (b + 1) * cellHeight; };
  const auto textX = [this, &cellX](int a) { return cellX(a) + cellWidth / 5; };
  const auto textY = [this, &cellY](int b) { return cellY(b) - cellHeight / 4; };
  const auto column = [this](int a) {
    return columns[static_cast<std::size_t>(a)].longitude.Get();
  };
  const auto row = [this](int b) { return rows[static_cast<std::size_t>(b)].longitude.Get(); };
  const auto test = [&](int a, int b) {
    if (system == nullptr || IsAbsent(column(a)) || IsAbsent(row(b))) return AspectMatch{};
    const int orbClass = std::min(columnOrbClass[static_cast<std::size_t>(a)],
                                  rowOrbClass[static_cast<std::size_t>(b)]);
    AspectMatch match = system->FindAspectBetween(column(a), row(b), OrbColumnOfClass(orbClass));
    if (match.position < 0 || match.position >= system->Count()) match.result = -1;
    return match;
  };
  const auto drawArc = [&](int a, int b, int x, int y, int colourNumber) {
    if (IsAbsent(column(a)) || IsAbsent(row(b))) return;
    DrawLongitudeEx(dc, fonts, AspectSeparation(column(a), row(b)), x, y, 0, 2, colourNumber);
  };

  if (choice != kChoiceBetween) {
    for (int a = 0; a < count; ++a) {
      for (int b = 0; b < a; ++b) {
        const AspectMatch match = test(a, b);
        if (match.Found())
          DrawAspectCell(dc, cellX(a), cellY(b), *system, match.position, match.result,
                         match.deviation);
        // The arc of the same pair in the mirrored cell under the diagonal.
        drawArc(a, b, textX(b) - cellWidth / 7, textY(a), kDefaultColour);
      }
      int mode = diagonal;
      if (mode == kDiagonalZodiac && localSpace == 1) mode = kDiagonalDegrees;
      const int colourNumber = printingMonochrome ? kDefaultColour : kDiagonalColour;
      if (mode == kDiagonalZodiac)
        DrawLongitudeEx(dc, fonts, column(a), textX(a), textY(a), 0, 0, colourNumber);
      else if (mode == kDiagonalDegrees)
        DrawLongitudeEx(dc, fonts, column(a), textX(a) - cellWidth / 5, textY(a), 0, 2,
                        colourNumber);
    }
  } else {
    for (int a = 0; a < count; ++a) {
      for (int b = 0; b < count; ++b) {
        const AspectMatch match = test(a, b);
        const bool aspect = match.Found();
        const int arcX = textX(a) - cellWidth / 5;
        int arcColour = kDefaultColour;
        if (aspect && colourMode == 2) {
          const Aspect& found = system->GetAspect(match.position);
          arcColour = match.result == 2 ? found.exactColor : found.color;
        }
        switch (cellMode) {
          case 0:
          case 1:
            if (aspect)
              DrawAspectCell(dc, cellX(a), cellY(b), *system, match.position, match.result,
                             match.deviation);
            else if (cellMode == 1)
              drawArc(a, b, arcX, textY(b), kDefaultColour);
            break;
          case 2:
            drawArc(a, b, arcX, textY(b), arcColour);
            break;
          default:
            if (aspect) drawArc(a, b, arcX, textY(b), arcColour);
            break;
        }
      }
    }
  }
  colourMode = savedColourMode;
}

void AspectTable::DrawMidpointCells(platform::Dc& dc, int choice, const Chart& inner,
                                    bool printingMonochrome) {
  const LongitudeFonts fonts = CellFonts();
  const int diagonal = config_.aspectTable.Get(Settings::kDiagonalMode);
  const int zodiacLayout = localSpace == 1 ? 2 : 0;
  const auto textX = [this](int a) { return originX + (a + 1) * cellWidth + cellWidth / 5; };
  const auto textY = [this](int b) { return originY - (b + 1) * cellHeight - cellHeight / 4; };
  const auto column = [this](int a) {
    return columns[static_cast<std::size_t>(a)].longitude.Get();
  };
  const auto row = [this](int b) { return rows[static_cast<std::size_t>(b)].longitude.Get(); };
  const auto mark = [&](double midpoint) {
    return printingMonochrome ? 0 : GetMidpointMark(midpoint, inner);
  };

  if (choice != kChoiceBetween) {
    for (int a = 0; a < count; ++a) {
      for (int b = 0; b < a; ++b) {
        const double midpoint = MidpointLongitude(column(a), row(b));
        if (IsAbsent(midpoint)) continue;
        const int highlight = mark(midpoint);
        DrawLongitudeEx(dc, fonts, midpoint, textX(a), textY(b), highlight, zodiacLayout);
        DrawLongitudeEx(dc, fonts, midpoint, textX(b) - cellWidth / 7, textY(a), highlight, 2);
      }
      int mode = diagonal;
      if (mode == kDiagonalZodiac && localSpace == 1) mode = kDiagonalDegrees;
      if (mode == kDiagonalZodiac)
        DrawLongitudeEx(dc, fonts, column(a), textX(a), textY(a), 0, 0);
      else if (mode == kDiagonalDegrees || mode == kDiagonalGlyph)
        DrawLongitudeEx(dc, fonts, column(a), textX(a) - cellWidth / 5, textY(a), 0, 2);
    }
  } else {
    for (int a = 0; a < count; ++a) {
      for (int b = 0; b < count; ++b) {
        const double midpoint = MidpointLongitude(column(a), row(b));
        if (IsAbsent(midpoint)) continue;
        DrawLongitudeEx(dc, fonts, midpoint, textX(a), textY(b), mark(midpoint), zodiacLayout);
      }
    }
  }
}
