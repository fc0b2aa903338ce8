#include "foundation/drawing/hot_areas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr int kSeparatorThickness = 20;
constexpr int kShadowColour = 7;
constexpr int kFaceColour = 16;
constexpr int kLargestTextSize = 5000;
constexpr int kStateColours[] = {0, 2, 4};  // normal, marked, current

int Along(int edge, int size, int thousandths) {
  return edge + static_cast<int>(std::lround(static_cast<double>(thousandths) * size / 1000.0));
}

}  // namespace

bool HotAreaStrip::Add(HotArea area) {
  if (Count() >= kMaxAreas) return false;
  areas_.push_back(std::move(area));
  return true;
}

platform::Rect HotAreaStrip::StripRect(const platform::Rect& client, double fraction) {
  const double share = std::clamp(fraction, 0.0, 1.0);
  platform::Rect strip = client;
  strip.top =
      client.bottom + static_cast<int>(std::lround((1.0 - share) * (client.top - client.bottom)));
  return strip;
}

platform::Rect HotAreaStrip::AreaRect(const HotArea& area, const platform::Rect& strip) {
  const int width = strip.right - strip.left;
  const int height = strip.bottom - strip.top;  // negative with y upward: "down" is -y
  return {Along(strip.left, width, area.left), Along(strip.top, height, area.top),
          Along(strip.left, width, area.right), Along(strip.top, height, area.bottom)};
}

std::string HotAreaStrip::ShownText(const HotArea& area) {
  if (static_cast<int>(area.text.size()) <= area.maxChars) return area.text;
  return TruncateText(area.text, std::max(area.maxChars - 1, 0));
}

int HotAreaStrip::FindHotArea(platform::Point point, const platform::Rect& strip) const {
  for (int i = 0; i < Count(); ++i)
    if (PointInRect(point.x, point.y, AreaRect(Area(i), strip))) return i;
  return -1;
}

void HotAreaStrip::Draw(platform::Dc& dc, const platform::Rect& client, double fraction) const {
  const platform::Rect strip = StripRect(client, fraction);
  DrawThickLine(dc, client.left, strip.top, client.right, strip.top, PenStyleByIndex(0),
                kSeparatorThickness, ColorByIndex(0));
  for (const HotArea& area : areas_) DrawHotArea(dc, area, strip);
}

void HotAreaStrip::DrawHotArea(platform::Dc& dc, const HotArea& area, const platform::Rect& strip) {
  const platform::Rect face = AreaRect(area, strip);
  const int stripWidth = strip.right - strip.left;
  const int stripHeight = strip.bottom - strip.top;  // signed: "down" in either orientation
  const int dx = static_cast<int>(std::lround(0.003 * stripWidth));
  const int dy = static_cast<int>(std::lround(0.016 * stripHeight));
  dc.FillRect({face.left + dx, face.top + dy, face.right + dx, face.bottom + dy},
              ColorByIndex(kShadowColour));
  dc.FillRect(face, ColorByIndex(kFaceColour));

  const std::string text = ShownText(area);
  if (text.empty()) return;
  const int width = std::abs(face.right - face.left);
  const int height = face.bottom - face.top;  // signed like the strip
  const int size =
      FitFontSize(dc, platform::kTextFace, kLargestTextSize,
                  static_cast<int>(0.9 * std::abs(height)), static_cast<int>(0.95 * width), text);
  if (size < 1) return;
  const int state = std::clamp(area.state, 0, 2);
  const platform::Font oldFont =
      dc.SelectFont(platform::Font{std::string(platform::kTextFace), size, 0, false, false});
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(kStateColours[state]));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(face.left + static_cast<int>(std::lround(0.03 * width)),
             face.top + static_cast<int>(std::lround(0.05 * height)), text);
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}
