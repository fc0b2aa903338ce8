// Where the texts of a printed page collide: every text drawn on a page recorded by a RecordingDc
// (MM_HIMETRIC or MM_LOMETRIC, the paper's top-left corner at the origin, y negative downwards) as
// a box of the recording device's metrics in 0.01 mm, checked against every other text box, the
// paper's edges and the page frame. Texts turned by a quarter turn count turned.
#pragma once

#include <string>
#include <vector>

#include "platform/core/recording_dc.h"

namespace testing_support {

struct TextBox {
  platform::Rect box;  // left < right, bottom < top (y up)
  std::string text;    // cp1251
};

// The box of every text of the page, level or turned by quarter turns, that shows more than blanks,
// its leading and trailing blanks left out, measured by `measure` (a device that measures as the
// paper does): its advance across, and from a descender's depth (the baseline for a text without
// descenders) to a capital's height; a text in a glyph face is the box of its glyphs' ink, and one
// that shows no glyph has none.
std::vector<TextBox> PageTextBoxes(const platform::RecordingDc& dc, platform::Dc& measure);

// One line (UTF-8) for every two texts whose boxes overlap by more than a tenth of the lower's
// height each way, every text that runs off the A4 paper, and every text that crosses the edge of
// a page frame (a rectangle drawn round the greater part of the page).
std::vector<std::string> PageOverlaps(const platform::RecordingDc& dc, platform::Dc& measure);

}  // namespace testing_support
