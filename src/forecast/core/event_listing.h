// What the forecast list views draw, without a window: the transit, lunar-transit and life-point
// listings measure their lines on the screen and on paper, draw a heading, one line per event and
// the head of a printed page, all through a Dc in 0.01 mm with y growing upwards. A window view
// (the line-list base) scrolls, selects and prints them; the tests draw them on a RecordingDc.
#pragma once

#include <string>
#include <string_view>

#include "foundation/lists/column_pages.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

namespace forecast {

// The lines on the screen: x of each line, what lies above the first line, the line pitch.
struct ListingScreen {
  int left = 100;
  int top = 0;
  double pitch = 1.0;
};

// The lines of printed pages: line k of a page in column c and row r of `layout`, at
// x = left + c x columnStep, y = -(top + trunc(r x pitch)).
struct ListingPaper {
  lists::ColumnPageLayout layout{1, 1, lists::ColumnOrder::kAcross};
  int left = 0;
  int top = 0;
  double pitch = 1.0;
  double columnStep = 0.0;
};

class EventListing {
 public:
  virtual ~EventListing() = default;

  virtual int Count() const = 0;
  // The screen layout, measured on `dc` (MM_HIMETRIC).
  virtual ListingScreen MeasureScreen(platform::Dc& dc) = 0;
  // The printed layout, measured on `dc` (MM_HIMETRIC, paper); kept for the pages that follow.
  virtual ListingPaper MeasurePrint(platform::Dc& dc) = 0;
  // What stands above the first line on the screen.
  virtual void DrawHead(platform::Dc&) {}
  // Line `line` on the screen with its top-left corner at `at`.
  virtual void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) = 0;
  // Line `line` on paper.
  virtual void DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) {
    DrawLine(dc, line, at, false);
  }
  // The head of printed page `page` of `pageCount` whose lines fill `rowsUsed` rows.
  virtual void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) = 0;
};

// Draws printed page `page` (from 1) of `listing` laid out by `paper`: the head, then the page's
// lines. A page past the last draws the head alone.
void PrintListingPage(platform::Dc& dc, EventListing& listing, const ListingPaper& paper, int page);

// How far under the paper's top edge the first printed row of a listing (its headings) stands:
// `usual` under the top margin, or lower, under the page head of DrawPrintedPageHead, where a long
// header and `title` placed under it reach further down. `title` is the widest the pages show
// (lists::WidestPageTitle), so that every page keeps the same rows.
int PrintedHeadingTop(platform::Dc& dc, const Chart& chart, const Configuration& config,
                      std::string_view title, int usual);

// The font of the text face at `size` (tenths of a point).
platform::Font TextFont(int size);
// The extent of "W" in the text face at `size`.
platform::Size SampleW(platform::Dc& dc, int size);

// Draws an aspect code of the event lists at (x, y) in the current text colour, `size` high:
// 0..19 the aspect's glyph, below -1 minus the angle in minutes written as degrees and minutes
// ("33°20'"), anything else '?'. Returns the width drawn.
int DrawAspectCode(platform::Dc& dc, int x, int y, int size, int code);

// The glyph of an event target of the lunar transits and the life point: chart point n 'M' + n,
// the cusp 1000 + h 'o' + h, the ingress 1100 + s the sign 'A' + s; '?' for another code.
char EventTargetGlyph(int target);
// The phase glyph of face b: 'a' entering ('I'), 'b' exact ('E'), 'c' leaving (any other).
char PhaseGlyph(char phase);

// Fills the band of a selected line (palette colour 14) from `left` across the window, `pitch`
// high.
void FillSelectedLine(platform::Dc& dc, int left, int top, double pitch);

}  // namespace forecast
