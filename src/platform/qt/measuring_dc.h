// A device context for measuring text before anything is drawn: the page count of a printout is
// needed before the printer exists, and a view lays out its lines before its first paint. Fonts
// are measured unhinted, so the logical sizes found here are those of the screen or the paper.
#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/qt/qt_dc.h"

namespace platform {

class MeasuringDc {
 public:
  // `dpi`: the resolution of the device measured for; `printing`: whether it stands for paper.
  // The mapping mode is `mode`, the origin at the device's top-left corner.
  MeasuringDc(double dpi, bool printing, MapMode mode);
  ~MeasuringDc();
  MeasuringDc(const MeasuringDc&) = delete;
  MeasuringDc& operator=(const MeasuringDc&) = delete;

  Dc& dc() { return *dc_; }

 private:
  QImage image_;
  QPainter painter_;
  std::unique_ptr<QtDc> dc_;
};

}  // namespace platform
