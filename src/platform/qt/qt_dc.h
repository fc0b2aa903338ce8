// The device context over a QPainter: screen, print preview, printer, PDF, PNG and SVG.
#pragma once

#include <QFont>
#include <QPainter>

#include "platform/core/dc.h"

namespace platform {

class QtDc final : public Dc {
 public:
  // `painter` is active on its device and outlives the QtDc. `dpi` is the device's resolution
  // (for a QPaintDevice: logicalDpiX/Y); `printing` is true for printers, preview and PDF.
  QtDc(QPainter& painter, double dpiX, double dpiY, bool printing);
  // Takes the resolution from the painter's device.
  QtDc(QPainter& painter, bool printing);

  double DpiX() const override { return dpiX_; }
  double DpiY() const override { return dpiY_; }
  bool IsPrinting() const override { return printing_; }
  void SetClipRect(const Rect& logical) override;
  void ResetClip() override;

  void Line(Point a, Point b) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
  void Ellipse(const Rect& r) override;
  void Arc(const Rect& r, Point start, Point end) override;
  void FillRect(const Rect& r, Color color) override;
  // On whole device pixels, without antialiasing: cells that share an edge leave no seam.
  void FillRects(const std::vector<Rect>& rects, Color color) override;
  void FillPath(const Path& path, Color color) override;
  void TextOut(int x, int y, std::string_view text) override;
  Size GetTextExtent(std::string_view text) override;
  TextMetrics GetTextMetrics() override;

  // The Qt family that stands for a face name of the program ("Vudurez" is DejaVu Sans).
  static QString FamilyOf(const std::string& face);

 private:
  QPointF ToDevice(double x, double y) const;
  QRectF ToDevice(const Rect& r) const;
  QPen MakePen() const;
  QBrush MakeBrush() const;
  // The font at the reference pixel size, unhinted: measurements scale linearly from it.
  QFont ReferenceFont() const;
  double TextWidthLogical(std::string_view text);

  QPainter& painter_;
  double dpiX_;
  double dpiY_;
  bool printing_;
};

}  // namespace platform
