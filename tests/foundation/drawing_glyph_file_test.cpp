// The glyph file: the shipped outlines cover every glyph code in its box, and damaged files are
// refused with error 106 without touching the loaded set.
#include <gtest/gtest.h>

#include <string>

#include "foundation/drawing/glyph_file.h"
#include "foundation/files/binary_io.h"
#include "support/test_support.h"

namespace {

using platform::GlyphSet;
using platform::PathElement;

int PointsOf(PathElement::Kind kind) {
  return kind == PathElement::Cubic   ? 3
         : kind == PathElement::Quad  ? 2
         : kind == PathElement::Close ? 0
                                      : 1;
}

TEST(GlyphFile, EveryShippedGlyphHasAnOutlineInsideItsAdvanceBox) {
  GlyphSet set;
  const Status st = LoadGlyphSet(testing_support::SourceDir() / "data" / "velm.gly", set);
  ASSERT_TRUE(st.ok()) << st.ErrorCode() << " detail " << st.Detail();
  EXPECT_FALSE(set.Empty());
  for (int face = 0; face < 2; ++face) {
    for (unsigned char code : RequiredGlyphCodes(face)) {
      const platform::Glyph& g = set.Get(face, code);
      ASSERT_TRUE(g.Present()) << face << " " << int(code);
      EXPECT_GT(g.advance, 0.1) << face << " " << int(code);
      EXPECT_LE(g.advance, 1.5) << face << " " << int(code);
      for (const PathElement& e : g.outline) {
        const double xs[3] = {e.x1, e.x2, e.x3}, ys[3] = {e.y1, e.y2, e.y3};
        for (int i = 0; i < PointsOf(e.kind); ++i) {
          EXPECT_GE(xs[i], 0.0) << face << " " << int(code);
          EXPECT_LE(xs[i], g.advance) << face << " " << int(code);
          EXPECT_GE(ys[i], -GlyphSet::kDescent) << face << " " << int(code);
          EXPECT_LE(ys[i], GlyphSet::kAscent) << face << " " << int(code);
        }
      }
    }
  }
  // The faces keep their codes apart: digits are text in face a, aspects in face b.
  EXPECT_NE(set.Get(0, '0').outline.size(), 0u);
  EXPECT_FALSE(set.Get(1, 'M').Present());
}

// A file by hand: every required code a square 0.1..0.5 em with an advance of 0.6 em (face 1
// without its first code when asked).
std::string HandMadeFile(int version = 1, bool skipFirstCode = false) {
  BinaryWriter w;
  w.Bytes("VGLY");
  w.U16(static_cast<std::uint16_t>(version));
  w.U16(2);
  for (int face = 0; face < 2; ++face) {
    std::vector<unsigned char> codes = RequiredGlyphCodes(face);
    if (skipFirstCode && face == 1) codes.erase(codes.begin());
    w.U16(static_cast<std::uint16_t>(codes.size()));
    for (unsigned char code : codes) {
      w.U8(code);
      w.I16(600);
      w.U16(6);
      const int pts[4][2] = {{100, 100}, {100, 500}, {500, 500}, {500, 100}};
      for (int i = 0; i < 4; ++i) {
        w.U8(i == 0 ? 0 : 1);
        w.I16(static_cast<std::int16_t>(pts[i][0]));
        w.I16(static_cast<std::int16_t>(pts[i][1]));
      }
      w.U8(3);  // a cubic back to the start
      for (int v : {100, 300, 100, 200, 100, 100}) w.I16(static_cast<std::int16_t>(v));
      w.U8(4);
    }
  }
  return w.Take();
}

TEST(GlyphFile, AHandMadeFileReadsAsWritten) {
  GlyphSet set;
  ASSERT_TRUE(ParseGlyphSet(HandMadeFile(), "hand", set).ok());
  const platform::Glyph& g = set.Get(1, '0');
  EXPECT_DOUBLE_EQ(g.advance, 0.6);
  ASSERT_EQ(g.outline.size(), 6u);
  EXPECT_EQ(g.outline[0].kind, PathElement::Move);
  EXPECT_DOUBLE_EQ(g.outline[2].x1, 0.5);
  EXPECT_DOUBLE_EQ(g.outline[2].y1, 0.5);
  EXPECT_EQ(g.outline[4].kind, PathElement::Cubic);
  EXPECT_DOUBLE_EQ(g.outline[4].y1, 0.3);
  EXPECT_DOUBLE_EQ(g.outline[4].x3, 0.1);
  EXPECT_EQ(g.outline[5].kind, PathElement::Close);
}

TEST(GlyphFile, DamagedFilesAreRefusedWith106AndLeaveTheSetAlone) {
  const std::string good = HandMadeFile();
  std::string badKind = good;
  badKind[4 + 2 + 2 + 2 + 1 + 2 + 2] = 9;  // the first element of the first glyph
  std::string notMove = good;
  notMove[4 + 2 + 2 + 2 + 1 + 2 + 2] = 1;
  std::string farPoint = good;
  farPoint[4 + 2 + 2 + 2 + 1 + 2 + 2 + 2] = 0x7F;  // x of the first point: 0x7F64 = 32612
  std::string twice = good;
  twice[10 + 39] = twice[10];  // glyph records are 39 bytes: the 2nd code = the 1st
  struct Case {
    const char* name;
    std::string bytes;
    int detail;  // which check refused it
  };
  const Case cases[] = {
      {"empty", "", 1},
      {"magic", "VGLX" + good.substr(4), 1},
      {"version", HandMadeFile(2), 2},
      {"cut_short", good.substr(0, good.size() - 1), 7},
      {"bytes_left_over", good + '\0', 7},
      {"missing_required_code", HandMadeFile(1, true), 8},
      {"unknown_element", badKind, 5},
      {"not_starting_with_move", notMove, 5},
      {"coordinate_out_of_range", farPoint, 6},
      {"code_twice", twice, 4},
  };
  GlyphSet set;
  ASSERT_TRUE(ParseGlyphSet(good, "hand", set).ok());
  for (const Case& c : cases) {
    const Status st = ParseGlyphSet(c.bytes, "damaged", set);
    EXPECT_EQ(st.ErrorCode(), kErrFormat) << c.name;
    EXPECT_EQ(st.Where(), "damaged") << c.name;
    EXPECT_EQ(st.Detail(), c.detail) << c.name;
    EXPECT_DOUBLE_EQ(set.Get(1, '0').advance, 0.6) << c.name;
  }
  testing_support::TempFolder folder;
  EXPECT_EQ(LoadGlyphSet(folder / "none.gly", set).ErrorCode(), kErrCannotOpen);
}

}  // namespace
