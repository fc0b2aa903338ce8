#include "foundation/drawing/glyph_file.h"

#include <array>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"

namespace {

constexpr double kUnitsPerEm = 1000.0;
constexpr int kLimit = 4000;  // 4 em

int PointsOf(std::uint8_t kind) {
  switch (kind) {
    case platform::PathElement::Move:
    case platform::PathElement::Line:
      return 1;
    case platform::PathElement::Quad:
      return 2;
    case platform::PathElement::Cubic:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

std::vector<unsigned char> RequiredGlyphCodes(int face) {
  std::vector<unsigned char> codes;
  const auto add = [&](char c) { codes.push_back(static_cast<unsigned char>(c)); };
  if (face == 0) {
    for (int n = 0; n < glyphs::kPointCount; ++n) add(glyphs::Point(n));
    for (int s = 0; s < glyphs::kSignCount; ++s) add(glyphs::Sign(s));
    for (int h = 0; h < glyphs::kCuspCount; ++h) add(glyphs::Cusp(h));
    add(glyphs::kRetrograde);
    for (char c : glyphs::kOrnament) add(c);
    for (char c = '0'; c <= '9'; ++c) add(c);
    for (char c :
         {'+', '-', '.', ':', glyphs::kDegreeMark, glyphs::kMinuteMark, glyphs::kSecondMark})
      add(c);
  } else {
    for (int k = 0; k < glyphs::kAspectCount; ++k) add(glyphs::Aspect(k));
    for (char c : {glyphs::kPhaseApplying, glyphs::kPhaseExact, glyphs::kPhaseSeparating, '+',
                   glyphs::kRulerMark})
      add(c);
  }
  return codes;
}

Status ParseGlyphSet(std::string_view bytes, const std::string& where, platform::GlyphSet& out) {
  const auto bad = [&](int detail) { return Status::Error(kErrFormat, where, detail); };
  BinaryReader in(bytes);
  if (in.Bytes(4) != "VGLY" || !in.Ok()) return bad(1);
  if (in.U16() != kGlyphFileVersion) return bad(2);
  if (in.U16() != 2) return bad(3);
  platform::GlyphSet set;
  for (int face = 0; face < 2; ++face) {
    std::array<bool, 256> seen{};
    const int count = in.U16();
    for (int g = 0; g < count && in.Ok(); ++g) {
      const std::uint8_t code = in.U8();
      const int advance = in.I16();
      const int elements = in.U16();
      if (seen[code] || advance <= 0 || advance > kLimit || elements == 0) return bad(4);
      seen[code] = true;
      platform::Glyph glyph;
      glyph.advance = advance / kUnitsPerEm;
      for (int e = 0; e < elements && in.Ok(); ++e) {
        const std::uint8_t kind = in.U8();
        if (kind > platform::PathElement::Close) return bad(5);
        if (e == 0 && kind != platform::PathElement::Move) return bad(5);
        double v[6] = {};
        for (int i = 0; i < 2 * PointsOf(kind); ++i) {
          const int raw = in.I16();
          if (raw < -kLimit || raw > kLimit) return bad(6);
          v[i] = raw / kUnitsPerEm;
        }
        glyph.outline.push_back(
            {static_cast<platform::PathElement::Kind>(kind), v[0], v[1], v[2], v[3], v[4], v[5]});
      }
      set.Edit(face, code) = std::move(glyph);
    }
    if (!in.Ok()) return bad(7);
    for (unsigned char code : RequiredGlyphCodes(face))
      if (!seen[code]) return bad(8);
  }
  if (!in.Ok() || in.Remaining() != 0) return bad(7);
  set.MarkLoaded();
  out = std::move(set);
  return Status::Ok();
}

Status LoadGlyphSet(const std::filesystem::path& path, platform::GlyphSet& out) {
  std::string bytes;
  if (Status st = ReadWholeFile(path, bytes); !st.ok()) return st;
  return ParseGlyphSet(bytes, path.string(), out);
}
