// The glyph file ("velm.gly", made by tools/glyphs): the outlines of the glyph faces.
//
// Layout, little-endian: "VGLY"; u16 version (1); u16 face count (2); per face: u16 glyph count,
// then per glyph: u8 code, i16 advance, u16 element count and the elements, each a u8 kind
// (0 move, 1 line, 2 quadratic, 3 cubic, 4 close) followed by its points (1, 1, 2, 3 or 0 pairs of
// i16 x, y). Coordinates and advances are in thousandths of an em, y upward, baseline at 0.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"
#include "platform/core/glyph_set.h"

inline constexpr std::string_view kGlyphFileName = "velm.gly";
inline constexpr int kGlyphFileVersion = 1;

// Every code the program draws in face 0 ("VelmAstro5a") or 1 ("VelmAstro5b").
std::vector<unsigned char> RequiredGlyphCodes(int face);

// Reads glyph outlines from the bytes of a glyph file. Error 106 (with `where`; the detail tells
// the check) when the data is not a glyph file (1), of another version (2) or face count (3), has
// a code twice or a glyph without advance or elements (4), an element of an unknown kind or not
// starting with a move (5), a coordinate outside -4..4 em (6), is cut short or has bytes left over
// (7), or lacks a required code (8); `out` is changed only on success.
Status ParseGlyphSet(std::string_view bytes, const std::string& where, platform::GlyphSet& out);

// Reads the glyph file at `path`: error 102 when it cannot be opened, 103 on a read error, 106 as
// ParseGlyphSet.
Status LoadGlyphSet(const std::filesystem::path& path, platform::GlyphSet& out);
