// The main chart view. Until the wheel is drawn here it shows the chart's identification block:
// name, title, date and time with the zone, place and coordinates, one line each, on screen and
// on paper.
#pragma once

#include <string>
#include <vector>

#include "platform/qt/view.h"

class Chart;
class CKovraDoc;

class CKovraView : public platform::View {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131201;
  // The identification block: left edge and first baseline on the page (0.01 mm), line distance.
  static constexpr int kHeaderLeft = 1500;
  static constexpr int kHeaderTop = -1500;
  static constexpr int kHeaderLineStep = 380;
  static constexpr int kHeaderFontSize = 2400;  // tenths of a point

  explicit CKovraView(QWidget* parent = nullptr);

  CKovraDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  int HelpContext() const override { return kHelpContext; }

  // The lines of the identification block of a chart (code page 1251).
  static std::vector<std::string> HeaderLines(const Chart& chart);
};
