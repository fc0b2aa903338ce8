// A device context that records every drawing call, for tests. Text metrics are deterministic: a
// character of the text face is half an em wide, a glyph-face character one em; ascent 0.8 em,
// descent 0.2 em; unless another device was given to measure the texts as it does.
#pragma once

#include <string>
#include <vector>

#include "platform/core/dc.h"

namespace platform {

struct RecordedCall {
  enum Kind {
    Line,
    Polyline,
    Polygon,
    Rectangle,
    RoundRect,
    Ellipse,
    Arc,
    FillRect,
    FillPath,
    Text
  };
  Kind kind;
  std::vector<Point> points;  // end points, vertices, or the rectangle's two corners
  std::string text;           // Text: the text drawn (cp1251)
  Pen pen;                    // the pen, brush, font and colours in force at the call
  Brush brush;
  Font font;
  Color color;  // text colour, or the fill colour of FillRect / FillPath
  unsigned align = 0;
  BkMode bkMode = BkMode::Opaque;
  MapMode mapMode = MapMode::Text;  // the mapping mode the points are in
};

class RecordingDc final : public Dc {
 public:
  explicit RecordingDc(double dpi = 96.0, bool printing = false) : dpi_(dpi), printing_(printing) {}

  double DpiX() const override { return dpi_; }
  double DpiY() const override { return dpi_; }
  bool IsPrinting() const override { return printing_; }
  void SetClipRect(const Rect& r) override {
    clip_ = r;
    clipped_ = true;
  }
  void ResetClip() override { clipped_ = false; }

  void Line(Point a, Point b) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
  void Ellipse(const Rect& r) override;
  void Arc(const Rect& r, Point start, Point end) override;
  void FillRect(const Rect& r, Color color) override;
  void FillPath(const Path& path, Color color) override;
  void TextOut(int x, int y, std::string_view text) override;
  Size GetTextExtent(std::string_view text) override;
  TextMetrics GetTextMetrics() override;

  // Texts are measured from now on by `measure` (in this device's font and mapping mode), as a
  // real device would; nullptr returns to the deterministic metrics.
  void MeasureWith(Dc* measure) { measure_ = measure; }

  const std::vector<RecordedCall>& Calls() const { return calls_; }
  // The texts drawn, in order.
  std::vector<std::string> Texts() const;
  // The first text drawn in a glyph face (face index 0 or 1 of GlyphSet::FaceIndex; -1 either)
  // that holds glyph code `code`; nullptr when there is none.
  const RecordedCall* FindGlyph(char code, int face = -1) const;
  void Clear() { calls_.clear(); }
  bool Clipped() const { return clipped_; }
  const Rect& Clip() const { return clip_; }

 private:
  RecordedCall Make(RecordedCall::Kind kind) const;
  double dpi_;
  bool printing_;
  bool clipped_ = false;
  Rect clip_{};
  std::vector<RecordedCall> calls_;
  Dc* measure_ = nullptr;
};

}  // namespace platform
