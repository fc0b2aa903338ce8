// The glyph faces "VelmAstro5a" and "VelmAstro5b" are not font files: each glyph code of a face has
// a vector outline, drawn by the device context as a filled path. Outlines are in em units: x to
// the right, y upwards, the baseline at y = 0, the em box from -descent to ascent.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "platform/core/dc.h"

namespace platform {

struct Glyph {
  Path outline;          // em units
  double advance = 0.0;  // em units; 0 for a code the face does not have
  bool Present() const { return !outline.empty(); }
};

class GlyphSet {
 public:
  static constexpr double kAscent = 0.8;   // em units above the baseline
  static constexpr double kDescent = 0.2;  // em units below it

  // The face index of a face name: 0 for "VelmAstro5a", 1 for "VelmAstro5b", -1 for any other.
  static int FaceIndex(std::string_view face);

  const Glyph& Get(int face, unsigned char code) const { return glyphs_[face & 1][code]; }
  Glyph& Edit(int face, unsigned char code) { return glyphs_[face & 1][code]; }
  bool Empty() const { return empty_; }
  void MarkLoaded() { empty_ = false; }

 private:
  std::array<std::array<Glyph, 256>, 2> glyphs_{};
  bool empty_ = true;
};

// The program-wide glyph set, shared read-only by every device context once loaded.
const GlyphSet& Glyphs();
void InstallGlyphs(const GlyphSet* glyphs);

// Told of every glyph code a device context was asked to draw in a glyph face that the installed
// set does not have (tests watch it: a missing glyph draws nothing); nullptr: nobody.
using MissingGlyphWatcher = void (*)(int face, unsigned char code);
void WatchMissingGlyphs(MissingGlyphWatcher watcher);
// Reports `code` of `face` to the watcher when the installed set lacks it.
void CheckGlyphDrawn(int face, unsigned char code);

// The outline of `glyph` placed with its origin (baseline, left) at (x, y) logical units, scaled to
// `em` logical units and rotated by `escapementTenths` (tenths of a degree, counter-clockwise),
// for a y-up (`yUp`) or y-down mapping.
Path PlaceGlyph(const Glyph& glyph, double x, double y, double em, int escapementTenths, bool yUp);

}  // namespace platform
