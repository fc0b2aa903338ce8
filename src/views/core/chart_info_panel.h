// The chart information panel: for one chart, the planetary hours of the day before and of the
// chart's day with the hour of the chart's moment marked, the risings and settings of the ten
// bodies, the lunar day and the weekday, the karmic coefficient, and the ten bodies over the
// elements and crosses by sign and by house. The planetary hours view shows it; the table views
// print it in the lower half of their pages.
//
// The computations show no messages: Problem() tells the view which one to show, once.
// Coordinates are 0.01 mm with y upwards; font sizes tenths of a point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/drawing/page_title.h"
#include "platform/core/dc.h"
#include "views/core/planetary_hours.h"

class Chart;
class ChartContext;
class Configuration;

// Above this latitude (degrees, either hemisphere) no hours, risings or lunar day are computed.
inline constexpr double kPanelPolarLatitude = 66.5;

// Page layouts of ChartInfoPanel::DrawPage: 3 the upper half of a page, any other the lower half.
inline constexpr int kPanelLayoutUpper = 3;
inline constexpr int kPanelLayoutLower = 4;

class ChartInfoPanel {
 public:
  static constexpr int kBodies = 10;
  static constexpr int kCurrentColour = 4;  // palette number of the current hour

  ChartInfoPanel() = default;

  // Keeps the chart (not owned) and sets the polar flag from its latitude. True when polar.
  bool SetChart(const Chart* chart);
  // The three computations, in order, and the lunar day and karmic coefficient.
  void Compute(const ChartContext& ctx);
  void ComputeElementCross();
  void ComputeRiseSetTexts(const ChartContext& ctx);
  void ComputePlanetaryHours(const ChartContext& ctx);
  void ComputeDayValues(const ChartContext& ctx);

  // The message to show once for the computed chart: 42 polar, 28 no hours, 0 none.
  int Problem() const;

  // The printed panel for `chart` in the upper (layout 3) or the lower half of the page. On a
  // page of its own (the upper half) it carries the page's title, placed by PlacePageTitle beside
  // or under `head` (the blocks of the page head drawn), and stands under both. Returns how far
  // the panel stands lower than its usual place (what follows it moves down as much).
  int DrawPage(platform::Dc& dc, const ChartContext& ctx, const Configuration& config,
               const Chart& chart, int layout, const PageHeadBlocks& head = {});

  // The blocks (see DrawPage and the view for their places).
  // `withTitle` false leaves the title (message 40) out: the panel's own page has it as its title.
  void DrawHoursTable(platform::Dc& dc, int x, int y, double scale, bool withTitle = true) const;
  // How far the dates over the hours' frames reach above the `y` DrawHoursTable is given.
  int HoursDatesRise(platform::Dc& dc) const;
  void DrawRiseSetTable(platform::Dc& dc, int x, int y) const;
  // Returns the text size of the block, also when the polar flag keeps it from drawing.
  int DrawLunarDay(platform::Dc& dc, int x, int y) const;
  void DrawKarmicCoefficient(platform::Dc& dc, int x, int y, int textSize) const;
  void DrawElementCross(platform::Dc& dc, int x, int y) const;

  // The lunar day as drawn: the number, or "-" when it could not be found.
  std::string LunarDayText() const;

  const Chart* chart = nullptr;
  // Element-cross index (element x 3 + cross) of bodies 0..9 by sign and by house; -1 absent.
  std::array<int, kBodies> bySign{}, byHouse{};
  // "HH:MM HH:MM" to the nearest minute, "-----" for a missing event.
  std::array<std::string, kBodies> riseSet;
  hours::HoursTable dayBefore{}, chartDay{};
  std::array<std::string, 2> dates;  // "DD:MM:YYYY" of the day before and of the chart's day
  int status = 0;                    // 1 the hours are computed
  int polar = 0;                     // 1 above kPanelPolarLatitude
  hours::CurrentHour current;
  int lunarDay = -1;
  int karmic = 0;
  int weekday = 0;  // 0 Monday .. 6 Sunday, of the chart's date
  int width = 0;    // logical units: the blocks are sized by it
  // The fill of the hours frames on the screen (the system's window colour); white on paper.
  platform::Color windowColour = platform::kWhite;

 private:
  // The Sun's rising and setting on the chart's date, searched once for the risings table and
  // the hours tables.
  const hours::SunOfDate& SunOfChartDay(const ChartContext& ctx);
  std::optional<hours::SunOfDate> sunOfChartDay_;
};
