#include "platform/qt/qt_dc.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/core/glyph_set.h"
#include "platform/qt/qt_text.h"

namespace platform {
namespace {

// Text is measured and drawn from a font of this pixel size, scaled: measurements do not depend
// on the device's hinting or resolution.
constexpr double kReferencePixels = 100.0;

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QtDc::QtDc(QPainter& painter, double dpiX, double dpiY, bool printing)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY), printing_(printing) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QtDc::QtDc(QPainter& painter, bool printing)
    : QtDc(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY(), printing) {}

QString QtDc::FamilyOf(const std::string& face) {
  if (face == kTextFace || face.empty()) return QStringLiteral("DejaVu Sans");
  return ToQt(face);
}

QPointF QtDc::ToDevice(double x, double y) const {
  const double sx = 1.0 / LogicalPerPixelX();
  const double sy = 1.0 / LogicalPerPixelY();
  return QPointF(x * sx + GetViewportOrg().x, (YUp() ? -y : y) * sy + GetViewportOrg().y);
}

QRectF QtDc::ToDevice(const Rect& r) const {
  return QRectF(ToDevice(r.left, r.top), ToDevice(r.right, r.bottom)).normalized();
}

QPen QtDc::MakePen() const {
  const Pen& p = GetPen();
  if (p.style == PenStyle::Null) return QPen(Qt::NoPen);
  // Never thinner than one device pixel.
  const double widthPx = std::max(1.0, p.width / LogicalPerPixelX());
  QPen pen(ToQColor(p.color), widthPx);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (p.style != PenStyle::Solid) {
    // Dash patterns in logical units (so that screen and paper look alike): a dash of 1.5 mm, a
    // dot and a gap of 0.5 mm, converted to multiples of the pen width as Qt wants them.
    double unitLogical = 4.0;  // MM_TEXT: pixels
    if (GetMapMode() == MapMode::HiMetric) unitLogical = 50.0;
    if (GetMapMode() == MapMode::LoMetric) unitLogical = 5.0;
    const double unit = unitLogical / LogicalPerPixelX() / widthPx;
    const double dash = 3 * unit, dot = unit, gap = unit;
    QList<qreal> pattern;
    switch (p.style) {
      case PenStyle::Dash:
        pattern = {dash, gap};
        break;
      case PenStyle::Dot:
        pattern = {dot, gap};
        break;
      case PenStyle::DashDot:
        pattern = {dash, gap, dot, gap};
        break;
      case PenStyle::DashDotDot:
        pattern = {dash, gap, dot, gap, dot, gap};
        break;
      default:
        break;
    }
    pen.setDashPattern(pattern);
  }
  return pen;
}

QBrush QtDc::MakeBrush() const {
  const Brush& b = GetBrush();
  return b.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(b.color));
}

void QtDc::SetClipRect(const Rect& logical) { painter_.setClipRect(ToDevice(logical)); }
void QtDc::ResetClip() { painter_.setClipping(false); }

void QtDc::Line(Point a, Point b) {
  painter_.setPen(MakePen());
  painter_.drawLine(ToDevice(a.x, a.y), ToDevice(b.x, b.y));
}

void QtDc::Polyline(const std::vector<Point>& points) {
  QPolygonF poly;
  for (const Point& p : points) poly << ToDevice(p.x, p.y);
  painter_.setPen(MakePen());
  painter_.drawPolyline(poly);
}

void QtDc::Polygon(const std::vector<Point>& points) {
  QPolygonF poly;
  for (const Point& p : points) poly << ToDevice(p.x, p.y);
  painter_.setPen(MakePen());
  painter_.setBrush(MakeBrush());
  painter_.drawPolygon(poly);
}

void QtDc::Rectangle(const Rect& r) {
  painter_.setPen(MakePen());
  painter_.setBrush(MakeBrush());
  painter_.drawRect(ToDevice(r));
}

void QtDc::RoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
  painter_.setPen(MakePen());
  painter_.setBrush(MakeBrush());
  // The corner is an ellipse of cornerWidth x cornerHeight: radii are halves.
  painter_.drawRoundedRect(ToDevice(r), cornerWidth / 2.0 / LogicalPerPixelX(),
                           cornerHeight / 2.0 / LogicalPerPixelY());
}

void QtDc::Ellipse(const Rect& r) {
  painter_.setPen(MakePen());
  painter_.setBrush(MakeBrush());
  painter_.drawEllipse(ToDevice(r));
}

void QtDc::Arc(const Rect& r, Point start, Point end) {
  // Angles measured counter-clockwise in logical (y-up for the metric modes) coordinates; Qt
  // measures counter-clockwise on the screen, which is the same visual sense.
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double sign = YUp() ? 1.0 : -1.0;
  const double a0 = std::atan2(sign * (start.y - cy), start.x - cx) * 180.0 / std::numbers::pi;
  const double a1 = std::atan2(sign * (end.y - cy), end.x - cx) * 180.0 / std::numbers::pi;
  double span = a1 - a0;
  if (span <= 0) span += 360.0;
  painter_.setPen(MakePen());
  painter_.drawArc(ToDevice(r), static_cast<int>(std::lround(a0 * 16)),
                   static_cast<int>(std::lround(span * 16)));
}

void QtDc::FillRect(const Rect& r, Color color) { painter_.fillRect(ToDevice(r), ToQColor(color)); }

void QtDc::FillRects(const std::vector<Rect>& rects, Color color) {
  if (rects.empty()) return;
  QList<QRect> device;
  device.reserve(static_cast<qsizetype>(rects.size()));
  for (const Rect& r : rects) {
    const QRectF f = ToDevice(r);
    const QPoint topLeft(static_cast<int>(std::lround(f.left())),
                         static_cast<int>(std::lround(f.top())));
    const QPoint bottomRight(static_cast<int>(std::lround(f.right())),
                             static_cast<int>(std::lround(f.bottom())));
    device.append(QRect(topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()),
                                       std::max(1, bottomRight.y() - topLeft.y()))));
  }
  const bool antialiased = painter_.testRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(color));
  painter_.drawRects(device.constData(), static_cast<int>(device.size()));
  painter_.setRenderHint(QPainter::Antialiasing, antialiased);
}

void QtDc::FillPath(const Path& path, Color color) {
  QPainterPath qp;
  qp.setFillRule(Qt::WindingFill);
  for (const PathElement& e : path) {
    switch (e.kind) {
      case PathElement::Move:
        qp.moveTo(ToDevice(e.x1, e.y1));
        break;
      case PathElement::Line:
        qp.lineTo(ToDevice(e.x1, e.y1));
        break;
      case PathElement::Quad:
        qp.quadTo(ToDevice(e.x1, e.y1), ToDevice(e.x2, e.y2));
        break;
      case PathElement::Cubic:
        qp.cubicTo(ToDevice(e.x1, e.y1), ToDevice(e.x2, e.y2), ToDevice(e.x3, e.y3));
        break;
      case PathElement::Close:
        qp.closeSubpath();
        break;
    }
  }
  painter_.fillPath(qp, ToQColor(color));
}

QFont QtDc::ReferenceFont() const {
  QFont f(FamilyOf(GetFont().face));
  f.setPixelSize(static_cast<int>(kReferencePixels));
  f.setBold(GetFont().bold);
  f.setItalic(GetFont().italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  return f;
}

double QtDc::TextWidthLogical(std::string_view text) {
  const double em = GetFont().EmHeight();
  const int face = GlyphSet::FaceIndex(GetFont().face);
  if (face >= 0) {
    double w = 0;
    for (char c : text) {
      const Glyph& g = Glyphs().Get(face, static_cast<unsigned char>(c));
      w += (g.Present() ? g.advance : 1.0) * em;
    }
    return w;
  }
  const QFontMetricsF fm(ReferenceFont());
  return fm.horizontalAdvance(ToQt(text)) * em / kReferencePixels;
}

Size QtDc::GetTextExtent(std::string_view text) {
  const TextMetrics m = GetTextMetrics();
  return {static_cast<int>(std::lround(TextWidthLogical(text))), m.height};
}

TextMetrics QtDc::GetTextMetrics() {
  const double em = GetFont().EmHeight();
  TextMetrics m;
  if (GlyphSet::FaceIndex(GetFont().face) >= 0) {
    m.ascent = static_cast<int>(std::lround(GlyphSet::kAscent * em));
    m.descent = static_cast<int>(std::lround(GlyphSet::kDescent * em));
    m.averageCharWidth = static_cast<int>(std::lround(em));
  } else {
    const QFontMetricsF fm(ReferenceFont());
    m.ascent = static_cast<int>(std::lround(fm.ascent() * em / kReferencePixels));
    m.descent = static_cast<int>(std::lround(fm.descent() * em / kReferencePixels));
    m.averageCharWidth =
        static_cast<int>(std::lround(fm.averageCharWidth() * em / kReferencePixels));
  }
  m.height = m.ascent + m.descent;
  return m;
}

void QtDc::TextOut(int x, int y, std::string_view text) {
  const TextMetrics m = GetTextMetrics();
  const double width = TextWidthLogical(text);
  const double em = GetFont().EmHeight();
  const unsigned align = GetTextAlign();
  // Offsets from the reference point to the start of the baseline, in the text's own frame
  // (x along the text, y upwards).
  double dx = 0;
  if ((align & TextAlign::kHorizontalMask) == TextAlign::kCenter)
    dx = -width / 2.0;
  else if ((align & TextAlign::kHorizontalMask) == TextAlign::kRight)
    dx = -width;
  double dy = -m.ascent;  // top: the baseline lies an ascent below the point
  if ((align & TextAlign::kVerticalMask) == TextAlign::kBaseline)
    dy = 0;
  else if ((align & TextAlign::kVerticalMask) == TextAlign::kBottom)
    dy = m.descent;
  const double angle = GetFont().escapement / 10.0 * std::numbers::pi / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const double up = YUp() ? 1.0 : -1.0;
  // The baseline origin in logical units.
  const double bx = x + dx * c - dy * s;
  const double by = y + up * (dx * s + dy * c);

  if (GetBkMode() == BkMode::Opaque) {
    // The text's cell, filled with the background colour.
    const double h = m.height;
    const double cx[4] = {0, width, width, 0};
    const double cy[4] = {-static_cast<double>(m.descent), -static_cast<double>(m.descent),
                          h - m.descent, h - m.descent};
    Path cell;
    for (int i = 0; i < 4; ++i) {
      PathElement e{i == 0 ? PathElement::Move : PathElement::Line};
      e.x1 = bx + cx[i] * c - cy[i] * s;
      e.y1 = by + up * (cx[i] * s + cy[i] * c);
      cell.push_back(e);
    }
    cell.push_back(PathElement{PathElement::Close});
    FillPath(cell, GetBkColor());
  }

  const int face = GlyphSet::FaceIndex(GetFont().face);
  if (face >= 0) {
    double advance = 0;
    for (char ch : text) {
      const Glyph& g = Glyphs().Get(face, static_cast<unsigned char>(ch));
      CheckGlyphDrawn(face, static_cast<unsigned char>(ch));
      const double gx = bx + advance * c;
      const double gy = by + up * advance * s;
      if (g.Present())
        FillPath(PlaceGlyph(g, gx, gy, em, GetFont().escapement, YUp()), GetTextColor());
      advance += (g.Present() ? g.advance : 1.0) * em;
    }
    return;
  }

  // Real text (searchable in a PDF), drawn from the reference font scaled to the em height.
  const QPointF origin = ToDevice(bx, by);
  const double pixelsPerEm = em / LogicalPerPixelY();
  painter_.save();
  painter_.translate(origin);
  painter_.rotate(-GetFont().escapement / 10.0);
  painter_.scale(pixelsPerEm / kReferencePixels * (LogicalPerPixelY() / LogicalPerPixelX()),
                 pixelsPerEm / kReferencePixels);
  painter_.setFont(ReferenceFont());
  painter_.setPen(ToQColor(GetTextColor()));
  painter_.drawText(QPointF(0, 0), ToQt(text));
  painter_.restore();
}

}  // namespace platform
