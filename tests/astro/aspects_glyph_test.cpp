#include <gtest/gtest.h>

#include "astro/aspects/aspect.h"
#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"

namespace {

TEST(AspectGlyph, ExactAspectsTakeTheExactColourAndIndexedAnglesTheirGlyph) {
  Aspect trine;
  trine.angle = 120.0;
  trine.abbreviation = "Tri";
  trine.color = 12;
  trine.exactColor = 14;
  platform::RecordingDc dc;
  EXPECT_EQ(trine.DrawGlyph(dc, 10, 20, 3000, 2), 14);
  EXPECT_EQ(trine.DrawGlyph(dc, 10, 20, 3000, 0), 12);
  ASSERT_EQ(dc.Texts().size(), 2u);
  EXPECT_EQ(dc.Texts()[0], "3");  // aspect index 3 (120 degrees) is '0' + 3
  EXPECT_EQ(dc.Calls()[0].font.face, "VelmAstro5b");
  EXPECT_EQ(dc.Calls()[0].color, ColorByIndex(14));

  Aspect odd;  // an angle without an aspect index is written by its abbreviation
  odd.angle = 17.0;
  odd.abbreviation = "Odd";
  dc.Clear();
  odd.DrawGlyph(dc, 0, 0, 3000, 0);
  ASSERT_EQ(dc.Texts().size(), 1u);
  EXPECT_EQ(dc.Texts()[0], "Odd");
  EXPECT_EQ(dc.Calls()[0].font.face, "Vudurez");
}

}  // namespace
