// The chart's identification block and the common head of a printed page.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/drawing/page_title.h"
#include "platform/core/dc.h"

class Configuration;

inline constexpr int kHeaderLineStep = 380;   // 0.01 mm between the lines of the block
inline constexpr int kHeaderFontSize = 2200;  // tenths of a point: an em of 293 units
inline constexpr int kPageTitleSize = 4000;   // the title of a printed page

// Whose the chart is (code page 1251): the base Source's name; for a synastry chart, composite or
// not, both people's, "Анна и Борис" (one name when the other is empty or the same).
std::string ChartPersonNames(const SuperSource& definition);
// What the chart is: the kind's name, "Синастрический, композит" for a composite chart.
std::string ChartKindText(const SuperSource& definition);
// The title as the header shows it: the kind alone when the title is empty or the kind's name
// (the entry's default), else "title (kind)"; the title alone for kinds beyond the ten.
std::string ChartTitleLine(const SuperSource& definition);

// The lines of the identification block (code page 1251): name, title, date and time with the
// zone (the tz database's abbreviation after it when TownZoneAbbreviation knows one), place,
// coordinates; with `compact` three lines: name and title, moment, place and
// coordinates. The moment and place are those the chart is cast for: a composite's midpoint,
// named after both people, at the place "Середина: Москва — Киев" (the two towns between which
// it lies; one town when both are the same).
std::vector<std::string> ChartHeaderLines(const Chart& chart, bool compact);

// No bound to a block's width: every line at kHeaderFontSize, the block as wide as its widest.
inline constexpr int kHeaderAnyWidth = 0;
// The paper kept clear between two blocks side by side.
inline constexpr int kHeaderPairGap = 400;
// The width each of two blocks side by side has when the left one starts at `left` and the right
// one ends at `right`: half the span less kHeaderPairGap, so that their lines never meet.
int HeaderPairWidth(int left, int right);
// The size (tenths of a point) `text` is drawn at in a block `width` wide: kHeaderFontSize, or
// less for a line wider than `width` at it, so that the whole line fits.
int HeaderLineSize(platform::Dc& dc, std::string_view text, int width);

// Draws the identification block in "Vudurez" with its top-left corner at (x, y), or its
// top-right corner when `align` is 1, lines kHeaderLineStep apart; a line wider than `width`
// (kHeaderAnyWidth: no bound) is drawn at HeaderLineSize, whole and no wider. Font and alignment
// are restored. Returns the extent of the block.
platform::Size DrawChartHeader(const Chart& chart, platform::Dc& dc, int x, int y, int align,
                               bool compact, int width = kHeaderAnyWidth);
// The extent DrawChartHeader gives, measured in `dc` without drawing.
platform::Size MeasureChartHeader(const Chart& chart, platform::Dc& dc, bool compact,
                                  int width = kHeaderAnyWidth);

inline constexpr int kPageTitleFontSize = 4000;  // the title of a printed page
inline constexpr int kPageTitleDrop = 600;       // its top below the top margin

// The ornament "?;<=>" of a printed page in "VelmAstro5a" at 6000 ending at 20300 - right margin,
// y = -250 - top margin.
void DrawPageOrnament(platform::Dc& dc, const Configuration& config);
// The title of a printed page in "Vudurez" at 4000 centred between the margins at y = -600 - top
// margin.
void DrawPageTitle(platform::Dc& dc, const Configuration& config, std::string_view title);

// The head of a printed page without its title: the page frame (its edges moved by
// `frameOffsets` as Configuration::DrawPageFrame has them: a positive bottom offset raises the
// bottom edge), the compact identification block at (left margin + 400, -150 - top margin) and
// the ornament "?;<=>" in "VelmAstro5a" at 6000 ending at 20300 - right margin, y = -250 - top
// margin. Returns the block's extent.
platform::Size DrawPrintedPageFrame(platform::Dc& dc, const Chart& chart,
                                    const Configuration& config,
                                    const std::array<int, 4>& frameOffsets = {});
// The blocks of the head DrawPrintedPageFrame draws (the identification block at the left, the
// ornament at the right), measured in `dc` without drawing.
PageHeadBlocks PrintedPageHeadBlocks(platform::Dc& dc, const Chart& chart,
                                     const Configuration& config);
// Where DrawPrintedPageHead puts `title`: PlacePageTitle beside or under PrintedPageHeadBlocks.
// Its bottom, through PageContentTop, is where the page's content may begin; a page laid out
// before it is drawn measures it here.
PageTitlePlace PlacePrintedPageTitle(platform::Dc& dc, const Chart& chart,
                                     const Configuration& config, std::string_view title);
// The head of a printed page of the listings and texts: DrawPrintedPageFrame and `title` where
// PlacePrintedPageTitle puts it. Returns that place.
PageTitlePlace DrawPrintedPageHead(platform::Dc& dc, const Chart& chart,
                                   const Configuration& config, std::string_view title,
                                   const std::array<int, 4>& frameOffsets = {});
