// The main chart view: the chart's identification block (name, title, date and time with the
// zone, place and coordinates, one line each) and under it the chart wheel, on screen and on
// paper. A click on a planet's glyph shows its DPlanetInfo.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/qt/view.h"

class Chart;
class CKovraDoc;
namespace wheel {
class Wheel;
}

class CKovraView : public platform::View {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131201;
  // The identification block: left edge and first baseline on the page (0.01 mm), line distance.
  static constexpr int kHeaderLeft = 1500;
  static constexpr int kHeaderTop = -1500;

  // The wheel's square on the page (0.01 mm, y negative downwards), under the identification block.
  static constexpr platform::Rect kWheelArea{1500, -3800, 19500, -21800};
  // The part of the page the view shows, scaled to fit its window: the header and the wheel.
  static constexpr platform::Size kDrawnArea{21000, 22300};

  explicit CKovraView(QWidget* parent = nullptr);
  ~CKovraView() override;

  CKovraDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  int HelpContext() const override { return kHelpContext; }

  // The lines of the identification block of a chart (code page 1251).
  static std::vector<std::string> HeaderLines(const Chart& chart);

 protected:
  void OnLButtonDown(platform::Point point) override;

 private:
  std::unique_ptr<wheel::Wheel> wheel_;
};
