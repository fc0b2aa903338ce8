// The listing of the life-point view: one row per life-point event (date, age, aspect, target,
// phase; an ingress shows its sign alone), after a row with the life point's current position on
// charts that have a natal chart behind them (transit, progressed, directed, return), where an
// exact event that is active now stands out. Printed in columns under the common page head.
// Qt-free.
#pragma once

#include <string>
#include <vector>

#include "forecast/core/event_listing.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/list_display_settings.h"

class AspectSystem;
class Chart;
class Configuration;

namespace forecast {

class LifePointListing : public EventListing {
 public:
  static constexpr int kScreenLeft = 100;
  static constexpr int kScreenTop = 200;
  static constexpr int kPrintLeft = 500;  // right of the left margin
  static constexpr int kPrintTop = 1500;  // below the top margin

  // The computation's results: the events, the type, the life point's current longitude (-777.0
  // for none) and the birth. `system`: the aspect system of the settings (the events' aspect
  // positions are in it). The listing keeps references to everything but the type.
  LifePointListing(const std::vector<LifePointEvent>& events, LifePoint type,
                   double currentLongitude, const Moment& birth, const ListDisplaySettings& display,
                   const AspectSystem* system, const Configuration& config, const Chart& chart);
  // The same for a computation that was run.
  LifePointListing(const LifePointComputation& computation, const ListDisplaySettings& display,
                   const AspectSystem* system, const Configuration& config, const Chart& chart)
      : LifePointListing(computation.Events(), computation.Type(), computation.CurrentLongitude(),
                         computation.Birth(), display, system, config, chart) {}

  int Count() const override { return static_cast<int>(events_.size()); }
  ListingScreen MeasureScreen(platform::Dc& dc) override;
  ListingPaper MeasurePrint(platform::Dc& dc) override;
  // The current-position row above the events (charts with a natal chart behind them).
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;

  // Charts of kinds 3, 4, 5 and 8 show the current-position row.
  bool ShowsCurrentRow() const;
  // An exact event that is active now: within 6 x years per house of the chart's moment, with
  // the life point's current longitude inside the aspect's orb about the event's point.
  bool IsActiveNow(const LifePointEvent& e) const;
  // The frame's width: 21 widths of "W" at the screen font (27 with the "Windows 2000" option).
  int FrameWidth(platform::Dc& dc) const;
  // The column unit for `w`, the width of "W": w, or w x 1.3 with the "Windows 2000" option.
  int ColumnUnit(int w) const;
  // The print font size after fitting (MeasurePrint).
  int PrintFontSize() const { return printSize_; }

  // Rows of the event row at (x, y) in the text face at `size` with column unit `unit`.
  void DrawEventRow(platform::Dc& dc, const LifePointEvent& e, int x, int y, int size, int unit,
                    bool paper) const;
  void DrawCurrentRow(platform::Dc& dc, int x, int y, int size, int unit, bool paper) const;
  // The names of the columns of DrawEventRow at (x, y).
  void DrawColumnNames(platform::Dc& dc, int x, int y, int size, int unit, bool paper) const;

 private:
  int TextColour(const LifePointEvent& e, bool paper) const;

  const std::vector<LifePointEvent>& events_;
  LifePoint type_;
  double currentLongitude_;
  const Moment& birth_;
  ListDisplaySettings display_;
  const AspectSystem* system_;
  const Configuration& config_;
  const Chart& chart_;
  int screenRow_ = 1;
  int screenUnit_ = 1;
  int printSize_ = 1;
  int printUnit_ = 1;
  int printRow_ = 1;
  int eventsTop_ = 0;
  ListingPaper paper_;
};

}  // namespace forecast
