// The listing of the lunar-transit view: one line per event (the moment, the aspect's glyph, the
// target's glyph and the phase; an ingress shows its sign alone), printed in columns under the
// common page head, whose frame ends below the rows a page uses. Qt-free.
#pragma once

#include <string>

#include "forecast/core/event_listing.h"
#include "forecast/core/list_display_settings.h"
#include "forecast/core/lunar_trans.h"
#include "foundation/drawing/page_title.h"

class AspectSystem;
class Chart;
class Configuration;

namespace forecast {

class LunTranListing : public EventListing {
 public:
  static constexpr int kScreenChars = 18;  // the frame is 18 widths of "W" wide
  static constexpr int kScreenLeft = 100;
  static constexpr int kScreenTop = 150;
  static constexpr int kPrintLeft = 700;  // right of the left margin
  static constexpr int kPrintTop = 2000;  // below the top margin

  // `system`: the aspect system of the settings (the events' aspect positions are in it); null
  // draws their aspects as '?'. `natalTarget`: the events were found against the natal chart.
  LunTranListing(const std::vector<LunarTransitEvent>& events, const ListDisplaySettings& display,
                 const AspectSystem* system, bool natalTarget, const Configuration& config,
                 const Chart& chart);

  int Count() const override { return static_cast<int>(events_.size()); }
  ListingScreen MeasureScreen(platform::Dc& dc) override;
  ListingPaper MeasurePrint(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;

  // The frame's width (18 widths of "W") and the height the whole list needs (the heading row
  // and count + 2 pitches) at the screen font.
  int FrameWidth(platform::Dc& dc) const;
  int ListHeight(platform::Dc& dc) const;

  // The raise of a printed page frame's bottom edge so that it ends two pitches below the rows
  // used, the headings standing `headingTop` under the paper's top edge: 0 when that would lie
  // below the bottom margin.
  static int FrameRaise(int rowsUsed, double pitch, int headingTop, int bottomMargin);

  // Draws event `e` at (x, y) in the text face at `size` (the moment at 0.9 of it; the aspect 8.5
  // widths of "W" from x, or half a "W" after the moment's text when that is wider).
  void DrawEvent(platform::Dc& dc, const LunarTransitEvent& e, int x, int y, int size) const;
  // The column headings over the lines drawn at x, one pitch above them: "Дата и время" over the
  // moment, "Аспект" over the aspect, target and phase, in the moment's font.
  void DrawColumnHeads(platform::Dc& dc, int x, int y, int size) const;

 private:
  // The printed page's title where the page head puts it, with "к натальной карте" under it for
  // events found against the natal chart (centred on it, at the title's size times 0.875).
  struct PrintedTitles {
    PageTitlePlace title;
    int subtitleSize = 0;
    int subtitleTop = 0;
    int bottom = 0;  // under both
  };
  PrintedTitles PlaceTitles(platform::Dc& dc, const std::string& title) const;

  const std::vector<LunarTransitEvent>& events_;
  ListDisplaySettings display_;
  const AspectSystem* system_;
  bool natalTarget_;
  const Configuration& config_;
  const Chart& chart_;
  double screenPitch_ = 1.0;
  ListingPaper paper_;
  int headingTop_;  // of the printed column headings, under the paper's top edge (MeasurePrint)
};

}  // namespace forecast
