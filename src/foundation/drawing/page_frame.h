// The frame of a printed A4 page (21000 x 29700 units of 0.01 mm, y negative downwards).
#pragma once

#include <array>

#include "platform/core/dc.h"

inline constexpr int kA4Width = 21000;
inline constexpr int kA4Height = 29700;

// The frame's rectangle: the page inset by each margin plus its offset (left, top, right, bottom;
// a positive bottom offset raises the bottom edge).
platform::Rect PageFrameRect(const std::array<int, 4>& margins, const std::array<int, 4>& offsets);

// When `frameOn`, draws the frame with rounded corners of 400 x 400 in the current pen and without
// filling; nothing otherwise.
void DrawPageFrame(platform::Dc& dc, const std::array<int, 4>& margins,
                   const std::array<int, 4>& offsets, bool frameOn);
