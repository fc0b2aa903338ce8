#include "platform/qt/measuring_dc.h"

#include <cmath>

namespace platform {

MeasuringDc::MeasuringDc(double dpi, bool printing, MapMode mode)
    : image_(8, 8, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image_.setDotsPerMeterX(dotsPerMeter);
  image_.setDotsPerMeterY(dotsPerMeter);
  image_.fill(Qt::white);
  painter_.begin(&image_);
  dc_ = std::make_unique<QtDc>(painter_, dpi, dpi, printing);
  dc_->SetMapMode(mode);
}

MeasuringDc::~MeasuringDc() {
  dc_.reset();
  painter_.end();
}

}  // namespace platform
