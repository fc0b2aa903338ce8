#include "platform/core/recording_dc.h"

#include <cmath>

#include "platform/core/glyph_set.h"

namespace platform {

RecordedCall RecordingDc::Make(RecordedCall::Kind kind) const {
  RecordedCall c{
      kind,           {},          {},          GetPen(), GetBrush(), GetFont(), GetTextColor(),
      GetTextAlign(), GetBkMode(), GetMapMode()};
  return c;
}

void RecordingDc::Line(Point a, Point b) {
  RecordedCall c = Make(RecordedCall::Line);
  c.points = {a, b};
  calls_.push_back(std::move(c));
}

void RecordingDc::Polyline(const std::vector<Point>& points) {
  RecordedCall c = Make(RecordedCall::Polyline);
  c.points = points;
  calls_.push_back(std::move(c));
}

void RecordingDc::Polygon(const std::vector<Point>& points) {
  RecordedCall c = Make(RecordedCall::Polygon);
  c.points = points;
  calls_.push_back(std::move(c));
}

void RecordingDc::Rectangle(const Rect& r) {
  RecordedCall c = Make(RecordedCall::Rectangle);
  c.points = {{r.left, r.top}, {r.right, r.bottom}};
  calls_.push_back(std::move(c));
}

void RecordingDc::RoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
  RecordedCall c = Make(RecordedCall::RoundRect);
  c.points = {{r.left, r.top}, {r.right, r.bottom}, {cornerWidth, cornerHeight}};
  calls_.push_back(std::move(c));
}

void RecordingDc::Ellipse(const Rect& r) {
  RecordedCall c = Make(RecordedCall::Ellipse);
  c.points = {{r.left, r.top}, {r.right, r.bottom}};
  calls_.push_back(std::move(c));
}

void RecordingDc::Arc(const Rect& r, Point start, Point end) {
  RecordedCall c = Make(RecordedCall::Arc);
  c.points = {{r.left, r.top}, {r.right, r.bottom}, start, end};
  calls_.push_back(std::move(c));
}

void RecordingDc::FillRect(const Rect& r, Color color) {
  RecordedCall c = Make(RecordedCall::FillRect);
  c.points = {{r.left, r.top}, {r.right, r.bottom}};
  c.color = color;
  calls_.push_back(std::move(c));
}

void RecordingDc::FillPath(const Path& path, Color color) {
  RecordedCall c = Make(RecordedCall::FillPath);
  for (const PathElement& e : path)
    c.points.push_back({static_cast<int>(std::lround(e.x1)), static_cast<int>(std::lround(e.y1))});
  c.color = color;
  calls_.push_back(std::move(c));
}

void RecordingDc::TextOut(int x, int y, std::string_view text) {
  RecordedCall c = Make(RecordedCall::Text);
  c.points = {{x, y}};
  c.text = std::string(text);
  calls_.push_back(std::move(c));
}

Size RecordingDc::GetTextExtent(std::string_view text) {
  if (measure_ != nullptr) {
    measure_->SetMapMode(GetMapMode());
    measure_->SelectFont(GetFont());
    return measure_->GetTextExtent(text);
  }
  const double em = GetFont().EmHeight();
  const double perChar = GetFont().IsGlyphFace() ? em : em / 2.0;
  return {static_cast<int>(std::lround(perChar * static_cast<double>(text.size()))),
          static_cast<int>(std::lround(em))};
}

TextMetrics RecordingDc::GetTextMetrics() {
  if (measure_ != nullptr) {
    measure_->SetMapMode(GetMapMode());
    measure_->SelectFont(GetFont());
    return measure_->GetTextMetrics();
  }
  const double em = GetFont().EmHeight();
  TextMetrics m;
  m.ascent = static_cast<int>(std::lround(em * 0.8));
  m.descent = static_cast<int>(std::lround(em * 0.2));
  m.height = m.ascent + m.descent;
  m.averageCharWidth = static_cast<int>(std::lround(GetFont().IsGlyphFace() ? em : em / 2.0));
  return m;
}

const RecordedCall* RecordingDc::FindGlyph(char code, int face) const {
  for (const RecordedCall& c : calls_) {
    if (c.kind != RecordedCall::Text || !c.font.IsGlyphFace()) continue;
    if (face >= 0 && GlyphSet::FaceIndex(c.font.face) != face) continue;
    if (c.text.find(code) != std::string::npos) return &c;
  }
  return nullptr;
}

std::vector<std::string> RecordingDc::Texts() const {
  std::vector<std::string> out;
  for (const RecordedCall& c : calls_)
    if (c.kind == RecordedCall::Text) out.push_back(c.text);
  return out;
}

}  // namespace platform
