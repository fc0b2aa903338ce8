#include "platform/core/glyph_set.h"

#include <cmath>
#include <numbers>

namespace platform {
namespace {

const GlyphSet g_empty;
const GlyphSet* g_glyphs = nullptr;
MissingGlyphWatcher g_watcher = nullptr;

}  // namespace

int GlyphSet::FaceIndex(std::string_view face) {
  if (face == kGlyphFaceA) return 0;
  if (face == kGlyphFaceB) return 1;
  return -1;
}

const GlyphSet& Glyphs() { return g_glyphs ? *g_glyphs : g_empty; }
void InstallGlyphs(const GlyphSet* glyphs) { g_glyphs = glyphs; }

void WatchMissingGlyphs(MissingGlyphWatcher watcher) { g_watcher = watcher; }

void CheckGlyphDrawn(int face, unsigned char code) {
  // A space is a blank em in every face.
  if (g_watcher == nullptr || code == ' ') return;
  if (!Glyphs().Get(face, code).Present()) g_watcher(face, code);
}

Path PlaceGlyph(const Glyph& glyph, double x, double y, double em, int escapementTenths, bool yUp) {
  const double angle = escapementTenths / 10.0 * std::numbers::pi / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const double flip = yUp ? 1.0 : -1.0;  // em units are y-up; a y-down mapping flips them
  const auto map = [&](double ex, double ey, double& ox, double& oy) {
    const double rx = ex * c - ey * s;
    const double ry = ex * s + ey * c;
    ox = x + rx * em;
    oy = y + flip * ry * em;
  };
  Path out;
  out.reserve(glyph.outline.size());
  for (const PathElement& e : glyph.outline) {
    PathElement p = e;
    map(e.x1, e.y1, p.x1, p.y1);
    map(e.x2, e.y2, p.x2, p.y2);
    map(e.x3, e.y3, p.x3, p.y3);
    out.push_back(p);
  }
  return out;
}

}  // namespace platform
