#include "foundation/drawing/page_frame.h"

platform::Rect PageFrameRect(const std::array<int, 4>& margins, const std::array<int, 4>& offsets) {
  return {margins[0] + offsets[0], -(margins[1] + offsets[1]), kA4Width - margins[2] - offsets[2],
          -(kA4Height - margins[3] - offsets[3])};
}

void DrawPageFrame(platform::Dc& dc, const std::array<int, 4>& margins,
                   const std::array<int, 4>& offsets, bool frameOn) {
  if (!frameOn) return;
  constexpr int kCorner = 400;
  const platform::Brush old = dc.SelectBrush({true, platform::kWhite});
  dc.RoundRect(PageFrameRect(margins, offsets), kCorner, kCorner);
  dc.SelectBrush(old);
}
