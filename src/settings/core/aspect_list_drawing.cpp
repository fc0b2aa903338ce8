#include "settings/core/aspect_list_drawing.h"

#include <algorithm>
#include <cmath>

#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"

namespace settings {

namespace {

int At(int left, double factor, int unit) {
  return left + static_cast<int>(std::lround(factor * unit));
}

// The orbs' columns in units; the angle stands at 1.
constexpr double kOrbColumns[6] = {2.2, 3.35, 4.5, 5.6, 6.7, 7.8};
constexpr std::string_view kHeadings[] = {"Имя",   "Дуга",  "Орб-1", "Орб-2", "Орб-3",
                                          "Орб-4", "Орб-5", "Точн",  "Тип",   "Сила",
                                          "Цвет",  "Точн",  "Линия"};

std::string Heading(std::size_t k) { return Cp1251(kHeadings[k]); }

int Width(platform::Dc& dc, std::string_view text) { return dc.GetTextExtent(text).cx; }

}  // namespace

namespace {

struct Widest {
  int abbreviation = 0, type = 0, strength = 0, blank = 0;
};

Widest MeasureWidest(platform::Dc& dc, const std::vector<AspectTexts>& rows) {
  // Two blanks between columns: a screen's hinted letters may run wider than measured.
  Widest widest{0, Width(dc, Heading(8)), Width(dc, Heading(9)), Width(dc, "  ")};
  for (const AspectTexts& t : rows) {
    widest.abbreviation = std::max(widest.abbreviation, Width(dc, t.abbreviation));
    widest.type = std::max(widest.type, Width(dc, t.typeName));
    widest.strength = std::max(widest.strength, Width(dc, t.strengthLabel));
  }
  return widest;
}

}  // namespace

AspectListLayout LayoutAspectList(platform::Dc& dc, const std::vector<AspectTexts>& rows,
                                  int listWidth, int itemHeight) {
  AspectListLayout layout;
  const platform::DcState saved(dc);
  layout.fontSize = std::max(100, FitFontHeight(dc, platform::kTextFace, 300, itemHeight));
  dc.SelectFont({std::string(platform::kTextFace), layout.fontSize});
  layout.unit = std::max(1, Width(dc, "000:00 "));
  const Widest widest = MeasureWidest(dc, rows);
  // The numbers move right as far as the abbreviations need.
  layout.lead =
      std::max(0, At(0, 0.015, listWidth) + widest.abbreviation + widest.blank - layout.unit);
  // Each right-hand heading over its column: "Цвет" over 26, "Точн" over 24, "Линия" over 28.
  layout.tail =
      std::max({1.0, (Width(dc, Heading(10)) + widest.blank) / 26.0,
                (Width(dc, Heading(11)) + widest.blank) / 24.0, Width(dc, Heading(12)) / 28.0});
  const int orbsEnd =
      layout.lead + At(0, kOrbColumns[5], layout.unit) + Width(dc, Heading(7)) + widest.blank;
  // The type and the strength at their places when those leave room for them, else as far
  // right as does.
  const int strengthLimit = layout.Swatch(listWidth) - widest.strength - widest.blank;
  const int typeLimit = strengthLimit - widest.type - widest.blank;
  layout.type = std::max(orbsEnd, std::min(At(0, 0.75, listWidth) - 30, typeLimit));
  layout.strength = std::max(layout.type + widest.type + widest.blank,
                             std::min(At(0, 0.83, listWidth) - 30, strengthLimit));
  return layout;
}

int AspectListWidth(platform::Dc& dc, const std::vector<AspectTexts>& rows, int itemHeight) {
  const platform::DcState saved(dc);
  const AspectListLayout first = LayoutAspectList(dc, rows, 0, itemHeight);
  dc.SelectFont({std::string(platform::kTextFace), first.fontSize});
  const Widest widest = MeasureWidest(dc, rows);
  // At the least width the abbreviations' column is a little wider (0.015 of the width).
  int width = first.type + widest.type + widest.strength + 2 * widest.blank +
              static_cast<int>(80 * first.tail);
  for (int k = 0; k < 100; ++k, width += 4) {
    const AspectListLayout l = LayoutAspectList(dc, rows, width, itemHeight);
    if (l.strength + widest.strength + widest.blank <= l.Swatch(width)) break;
  }
  return width;
}

void DrawAspectListHeading(platform::Dc& dc, const platform::Rect& item,
                           const AspectListLayout& layout) {
  const platform::DcState saved(dc);
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont({std::string(platform::kTextFace), layout.fontSize});
  const int l = item.left, t = item.top, r = item.right, width = r - l;
  dc.TextOut(At(l, 0.015, width), t, Heading(0));
  dc.TextOut(l + layout.lead + layout.unit, t, Heading(1));
  for (std::size_t k = 0; k < 6; ++k)
    dc.TextOut(At(l + layout.lead, kOrbColumns[k], layout.unit), t, Heading(2 + k));
  dc.TextOut(l + layout.type, t, Heading(8));
  dc.TextOut(l + layout.strength, t, Heading(9));
  dc.TextOut(layout.Swatch(r), t, Heading(10));
  dc.TextOut(layout.ExactSwatch(r), t, Heading(11));
  dc.TextOut(layout.Sample(r), t, Heading(12));
}

void DrawAspectListItem(platform::Dc& dc, const Aspect& aspect, const platform::Rect& item,
                        const AspectListLayout& layout, bool selected, platform::Color background) {
  const int l = item.left, t = item.top, r = item.right, b = item.bottom;
  if (b - t <= 0) return;
  const platform::DcState saved(dc);
  dc.SetTextColor(selected ? ColorByIndex(kListSelectedText) : platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);

  // Colour swatches.
  const int swatch = layout.Swatch(r), exact = layout.ExactSwatch(r);
  dc.FillRect({swatch, t + 2, swatch + 15, b - 2}, ColorByIndexShort(aspect.color));
  dc.FillRect({exact, t + 2, exact + 15, b - 2}, ColorByIndexShort(aspect.exactColor));

  // Every text of every line in the one font of the list.
  const AspectTexts texts = aspect.GetTexts();
  dc.SelectFont({std::string(platform::kTextFace), layout.fontSize});
  dc.TextOut(At(l, 0.015, r - l), t, texts.abbreviation);
  dc.TextOut(l + layout.lead + layout.unit, t, texts.angle);
  for (int k = 0; k < 6; ++k)
    dc.TextOut(At(l + layout.lead, kOrbColumns[k], layout.unit), t,
               texts.orbs[static_cast<std::size_t>(k)]);
  dc.TextOut(l + layout.type, t, texts.typeName);
  dc.TextOut(l + layout.strength, t, texts.strengthLabel);

  // Frame.
  dc.SelectPen({platform::PenStyle::Solid, 1, selected ? ColorByIndex(kListFrame) : background});
  dc.SelectBrush({true, platform::kWhite});
  dc.Rectangle(item);

  // Line sample.
  const int m = (t + b) / 2;
  DrawLineOfType(dc, layout.Sample(r), m, r - 2, m, aspect.lineStyle,
                 AspectLineWidth(aspect.thickness), 0);
}

void DrawLineSample(platform::Dc& dc, const platform::Rect& box, int style, int thickness) {
  const int m = (box.top + box.bottom) / 2;
  DrawLineOfType(dc, box.left + 2, m, box.right - 2, m, style >= 0 && style <= 3 ? style : 0,
                 AspectLineWidth(thickness), 0);
}

}  // namespace settings
