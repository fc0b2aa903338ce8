// A strip of hot areas: tabs and buttons that a view draws itself under its text and finds again
// by the position of a click. Each area is placed in thousandths of the strip (x from its left
// edge, y from its top edge), so the strip keeps its look at every window size and on paper.
#pragma once

#include <string>
#include <vector>

#include "platform/core/dc.h"

struct HotArea {
  // Thousandths of the strip: x from the left, y from the top.
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;  // code page 1251
  int state = 0;     // 0 normal, 1 marked, 2 current
  int maxChars = 0;  // a longer text is shown cut to maxChars - 1 characters and "..."
};

class HotAreaStrip {
 public:
  static constexpr int kMaxAreas = 20;

  void Clear() { areas_.clear(); }
  // False (nothing added) when the strip already holds kMaxAreas.
  bool Add(HotArea area);
  int Count() const { return static_cast<int>(areas_.size()); }
  const HotArea& Area(int i) const { return areas_[static_cast<std::size_t>(i)]; }

  // The strip: the bottom (1 - fraction) of `client` (either vertical orientation; with y upward
  // the top edge has the larger y). A fraction outside 0..1 is taken as its nearest end.
  static platform::Rect StripRect(const platform::Rect& client, double fraction);
  // An area's rectangle in `strip`: each edge at the strip's left or top edge plus thousandths x
  // the strip's width or height / 1000, downwards from the top edge in either orientation.
  static platform::Rect AreaRect(const HotArea& area, const platform::Rect& strip);
  // The shown text: itself, or its first maxChars - 1 characters and "..." when it is longer than
  // maxChars.
  static std::string ShownText(const HotArea& area);

  // The index of the first area whose rectangle holds `point` (edges included), or -1.
  int FindHotArea(platform::Point point, const platform::Rect& strip) const;

  // The separator along the strip's top edge across `client` (thickness 20, palette colour 0),
  // then every area: a shadow in palette colour 7 (moved right by 0.003 of the strip's width and
  // down by 0.016 of its height), the face in palette colour 16, and the text in "Vudurez" fitted
  // to 0.9 of the area's height and 0.95 of its width (at most 5000), in palette colour 0, 2 or 4
  // by the state, from 0.03 of the width right of the left edge and 0.05 of the height below the
  // top edge. Pen, brush, font, colours and alignment are restored.
  void Draw(platform::Dc& dc, const platform::Rect& client, double fraction) const;
  static void DrawHotArea(platform::Dc& dc, const HotArea& area, const platform::Rect& strip);

 private:
  std::vector<HotArea> areas_;
};
