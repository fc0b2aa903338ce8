// Measures of printed page pictures shared by the view tests.
#pragma once

#include <QImage>

// Ink (dark pixels) of a 100-dpi page picture in a rectangle of 0.01 mm (y negative down).
inline int Ink(const QImage& image, int left, int top, int right, int bottom) {
  const auto px = [](int units) { return units * 100 / 2540; };
  int n = 0;
  for (int y = px(-top); y < px(-bottom) && y < image.height(); ++y)
    for (int x = px(left); x < px(right) && x < image.width(); ++x)
      n += qGray(image.pixel(x, y)) < 160;
  return n;
}
