// The astrocartography map view without its window: the map and the part of it on show, the
// frame that lays it out on the screen or on the upper half of a printed page, the rectangles of
// the map's cells and sea runs, the planetary lines of the document's chart and of an optional
// second chart, and the painting in the view's order (land, sea, borders, grid, country names,
// towns, lines, line signs). The window class forwards sizes, clicks, scrolling and painting.
#pragma once

#include <array>
#include <memory>

#include "astro/chart/chart.h"
#include "astrocarto/core/ac_lines.h"
#include "astrocarto/core/astrocart_page.h"
#include "astrocarto/core/map_drawing.h"
#include "astrocarto/core/map_frame.h"
#include "astrocarto/core/regional_maps.h"
#include "platform/core/dc.h"
#include "platform/core/progress_sink.h"

class Configuration;
class TOWNS;

class AstroCartMap {
 public:
  // The maps and the atlas outlive the view.
  AstroCartMap(AllMaps& maps, const TOWNS& towns);

  // Opens on the full world map, sets the line density of the maps by the speed setting and
  // computes the lines of `chart` into the first half. False when the calculation was cancelled
  // (the view then shows no lines).
  bool Init(const AstroCartPage& settings, const Configuration& config, const Chart& chart,
            platform::ProgressSink& progress);
  // The lines of the first chart again, for a chart that has changed (stepped in time); the
  // bodies, density and second chart stay. False when cancelled.
  bool RecalculateFirst(const Chart& chart, platform::ProgressSink& progress);
  // The settings read at every paint (colours, grid, names, font selectors).
  void SetSettings(const AstroCartPage& settings) { settings_ = settings; }
  const AstroCartPage& Settings() const { return settings_; }

  // The client area in logical units and in device pixels; a minimised window (no pixels)
  // keeps a one-pixel cell.
  void Resize(int logicalWidth, int logicalHeight, int pixelWidth, int pixelHeight);

  // The screen drawing, in MM_HIMETRIC with the client's top left at the logical origin.
  void Paint(platform::Dc& dc);
  // The printed page: its head (page frame, chart header, ornament, title) and the map on the
  // upper half page, with the print colour rules of `config` and the settings. The screen
  // layout is left as it is.
  void Print(platform::Dc& dc, const Configuration& config, const Chart& chart) const;

  // A double-click at a logical point of the client: zooms in (`back` false) or out (Shift or
  // Ctrl); false when nothing changed.
  bool DoubleClick(platform::Point logical, bool back);
  // A scroll bar's action; false when the window did not move.
  bool Scroll(bool vertical, ScrollCode code, int thumb);
  ScrollBar Bar(bool vertical) const;

  // The atlas towns near a logical point of the client, nearest first (at most 999), searched
  // within the radius of the window on show; the point in degrees is returned with them. The
  // list stays until ClearNearTowns.
  const NearTownList& CollectNearTowns(platform::Point logical, double& longitude,
                                       double& latitude);
  const NearTownList& NearTowns() const { return nearTowns_; }
  void ClearNearTowns() { nearTowns_.Clear(); }
  // True when the window is not the current map's full extent.
  bool Zoomed() const;

  // The second chart: its lines go into the second half. False (and no second chart) when the
  // calculation was cancelled.
  bool AddSecondChart(const Chart& chart, platform::ProgressSink& progress);
  void RemoveSecondChart();
  bool HasSecondChart() const { return second_ != nullptr; }
  const Chart* SecondChart() const { return second_.get(); }

  const ACLines& Lines() const { return *lines_; }
  // The lines for the windows that read them while the view lives (the document keeps a weak
  // reference).
  std::shared_ptr<const ACLines> SharedLines() const { return lines_; }
  const MapState& State() const { return state_; }
  const ACMap& CurrentMap() const { return maps_.Map(state_.map); }
  const MapGeometry& Geometry() const { return geometry_; }
  const CellRects& Rects() const { return rects_; }
  platform::Size MinCell() const { return minCell_; }

  // The colours of the map's parts: on the screen, or printed by the configuration's colour
  // printing switch and the print background setting.
  static MapColours ScreenColours(const AstroCartPage& settings);
  static MapColours PrintColours(const AstroCartPage& settings, bool colourPrinting);

 private:
  void Rebuild();
  ACMapView MakeView(const MapGeometry& geometry, const MapColours& colours, bool blackLines) const;
  void DrawMap(platform::Dc& dc, ACMap& map, const ACMapView& view, const CellRects& rects) const;
  void DrawCountryNames(platform::Dc& dc, const ACMap& map, const ACMapView& view) const;

  AllMaps& maps_;
  const TOWNS& towns_;
  AstroCartPage settings_;
  MapState state_;
  int clientWidth_ = 0, clientHeight_ = 0;
  platform::Size minCell_{1, 1};
  MapGeometry geometry_;
  CellRects rects_;
  std::shared_ptr<ACLines> lines_ = std::make_shared<ACLines>();
  // The line signs' places on the screen, found again when the lines or the view change.
  LineSignCache signCache_;
  std::unique_ptr<Chart> second_;
  NearTownList nearTowns_;
};
