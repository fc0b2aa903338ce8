// The device context: everything the program draws goes through a Dc, in logical units of the
// current mapping mode. Qt-free; QtDc (platform_qt) draws with QPainter on the screen, printer,
// PDF, PNG and SVG, RecordingDc records the calls for tests.
//
// Mapping modes: MM_TEXT (device pixels, y down), MM_LOMETRIC (0.1 mm, y up) and MM_HIMETRIC
// (0.01 mm, y up: a page lies at negative y). Fonts are created in tenths of a point; their em
// height is size x 96 / 720 logical units of the current mapping mode, whatever the device (the
// sizes were tuned on a 96-dpi screen). Text is never mirrored by a y-up mapping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

enum class MapMode { Text, LoMetric, HiMetric };

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0, cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// left/top/right/bottom in logical units; with a y-up mapping top > bottom.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 0;  // logical units; 0 (and anything thinner than a device pixel) draws one pixel
  Color color = kBlack;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  bool hollow = false;  // a hollow brush fills nothing
  Color color = kWhite;
  friend bool operator==(const Brush&, const Brush&) = default;
};

// The text face "Vudurez" and the two glyph faces "VelmAstro5a" and "VelmAstro5b".
inline constexpr std::string_view kTextFace = "Vudurez";
inline constexpr std::string_view kGlyphFaceA = "VelmAstro5a";
inline constexpr std::string_view kGlyphFaceB = "VelmAstro5b";

struct Font {
  std::string face{kTextFace};
  int pointSize = 100;  // tenths of a point
  int escapement = 0;   // tenths of a degree, counter-clockwise
  bool bold = false;
  bool italic = false;
  friend bool operator==(const Font&, const Font&) = default;
  // The em height in logical units: pointSize x 96 / 720.
  double EmHeight() const { return pointSize * 96.0 / 720.0; }
  bool IsGlyphFace() const { return face == kGlyphFaceA || face == kGlyphFaceB; }
};

// Text alignment flags: one horizontal and one vertical choice, or-ed.
namespace TextAlign {
inline constexpr unsigned kLeft = 0, kRight = 2, kCenter = 6;
inline constexpr unsigned kTop = 0, kBottom = 8, kBaseline = 24;
inline constexpr unsigned kHorizontalMask = 6, kVerticalMask = 24;
}  // namespace TextAlign

enum class BkMode { Transparent, Opaque };

struct TextMetrics {
  int height = 0;  // ascent + descent, logical units
  int ascent = 0;
  int descent = 0;
  int averageCharWidth = 0;
};

// A closed or open outline in logical units (doubles), filled with the current brush colour or an
// explicit colour.
struct PathElement {
  enum Kind : std::uint8_t { Move, Line, Quad, Cubic, Close } kind;
  // Move, Line: the point (x1, y1). Quad: control (x1, y1), end (x2, y2). Cubic: controls
  // (x1, y1) and (x2, y2), end (x3, y3).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
};
using Path = std::vector<PathElement>;

class Dc {
 public:
  virtual ~Dc() = default;

  // --- mapping -------------------------------------------------------------------------------
  MapMode SetMapMode(MapMode mode);
  MapMode GetMapMode() const { return mapMode_; }
  // Device origin of logical (0, 0), in device pixels.
  Point SetViewportOrg(Point deviceOrigin);
  Point GetViewportOrg() const { return viewportOrg_; }
  Point LPtoDP(Point logical) const;
  Point DPtoLP(Point device) const;
  // Logical units per device pixel in the current mapping mode (x and y).
  double LogicalPerPixelX() const;
  double LogicalPerPixelY() const;
  bool YUp() const { return mapMode_ != MapMode::Text; }

  // Resolution of the device in pixels per inch.
  virtual double DpiX() const = 0;
  virtual double DpiY() const = 0;
  // True for printers, print preview and PDF.
  virtual bool IsPrinting() const = 0;

  // --- clipping ------------------------------------------------------------------------------
  virtual void SetClipRect(const Rect& logical) = 0;
  virtual void ResetClip() = 0;

  // --- objects and attributes: each setter returns the previous value -------------------------
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  Font SelectFont(const Font& font);
  Color SetTextColor(Color color);
  Color SetBkColor(Color color);
  BkMode SetBkMode(BkMode mode);
  unsigned SetTextAlign(unsigned align);
  const Pen& GetPen() const { return pen_; }
  const Brush& GetBrush() const { return brush_; }
  const Font& GetFont() const { return font_; }
  Color GetTextColor() const { return textColor_; }
  Color GetBkColor() const { return bkColor_; }
  BkMode GetBkMode() const { return bkMode_; }
  unsigned GetTextAlign() const { return textAlign_; }

  // --- drawing, logical units ----------------------------------------------------------------
  void MoveTo(int x, int y) { current_ = {x, y}; }
  void LineTo(int x, int y);
  Point GetCurrentPosition() const { return current_; }
  virtual void Line(Point a, Point b) = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  // Outline with the pen, filled with the brush.
  virtual void Polygon(const std::vector<Point>& points) = 0;
  virtual void Rectangle(const Rect& r) = 0;
  virtual void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) = 0;
  virtual void Ellipse(const Rect& r) = 0;
  // Counter-clockwise arc of the ellipse in `r` from the ray to `start` to the ray to `end`.
  virtual void Arc(const Rect& r, Point start, Point end) = 0;
  virtual void FillRect(const Rect& r, Color color) = 0;
  // Fills many rectangles in one colour, without outline: the same as FillRect on each, which
  // is what this default does; devices override it to fill them in one go.
  virtual void FillRects(const std::vector<Rect>& rects, Color color);
  virtual void FillPath(const Path& path, Color color) = 0;

  // Text in the selected font at (x, y) by the text alignment. Code page 1251.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual Size GetTextExtent(std::string_view text) = 0;
  virtual TextMetrics GetTextMetrics() = 0;

 protected:
  // Called after the corresponding attribute changed, for implementations that cache.
  virtual void OnMappingChanged() {}
  virtual void OnFontChanged() {}

 private:
  MapMode mapMode_ = MapMode::Text;
  Point viewportOrg_{};
  Pen pen_{};
  Brush brush_{};
  Font font_{};
  Color textColor_ = kBlack;
  Color bkColor_ = kWhite;
  BkMode bkMode_ = BkMode::Opaque;
  unsigned textAlign_ = TextAlign::kLeft | TextAlign::kTop;
  Point current_{};
};

// Logical units of one inch in a mapping mode (0 for MM_TEXT, which has none).
double LogicalUnitsPerInch(MapMode mode);

// Saves the drawing attributes of a device context (pen, brush, font, text colour, background
// mode, text alignment) and restores them when it goes.
class DcState {
 public:
  explicit DcState(Dc& dc)
      : dc_(dc),
        pen_(dc.GetPen()),
        brush_(dc.GetBrush()),
        font_(dc.GetFont()),
        text_(dc.GetTextColor()),
        bkMode_(dc.GetBkMode()),
        align_(dc.GetTextAlign()) {}
  ~DcState() {
    dc_.SelectPen(pen_);
    dc_.SelectBrush(brush_);
    dc_.SelectFont(font_);
    dc_.SetTextColor(text_);
    dc_.SetBkMode(bkMode_);
    dc_.SetTextAlign(align_);
  }
  DcState(const DcState&) = delete;
  DcState& operator=(const DcState&) = delete;

 private:
  Dc& dc_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Color text_;
  BkMode bkMode_;
  unsigned align_;
};

}  // namespace platform
