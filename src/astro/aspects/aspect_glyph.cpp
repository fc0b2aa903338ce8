#include "astro/aspects/aspect.h"
#include "foundation/drawing/glyph_drawing.h"

int Aspect::DrawGlyph(platform::Dc& dc, int x, int y, int size, int colourMode) const {
  const int colour = colourMode == 2 ? exactColor : color;
  DrawAspectGlyph(dc, x, y, size, ClassifyAspectAngle(*this), abbreviation, colour);
  return colour;
}
