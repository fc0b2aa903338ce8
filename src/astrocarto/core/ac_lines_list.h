// The town list of the planetary lines: the atlas towns through or near which a line of the
// chart passes. In lines mode, for one body and the angle lines chosen (ASC, IC, DSC, MC), every
// town where that angle lies within the orb of the body, with the distance in arc-minutes
// (negative for a body before the angle, positive after it). In crossing mode, for a crossing of
// two lines, every town inside the crossing's latitude band, with its distance in latitude from
// the crossing. The list draws its rows and the head of its printed pages.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astrocarto/core/ac_lines.h"
#include "foundation/config/byte_block.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;
class TOWNS;

// The values of the town list's settings (the configuration's ACLinesListSettings block), as the
// dialog DACLINES_CONF edits them.
struct ACLinesListPage {
  static constexpr int kMinFontSize = 100, kMaxFontSize = 10000;  // tenths of a point
  static constexpr double kMinInterval = 0.001, kMaxInterval = 100.0;
  static constexpr int kMinOrb = 1, kMaxOrb = 1000;  // arc-minutes
  static constexpr int kBodyCount = 30;              // chart points 0..29
  // The lines in list order.
  enum Line { kAsc = 0, kIc = 1, kDsc = 2, kMc = 3 };

  int body = 0;
  int screenFontSize = 100, printFontSize = 2500;  // on the screen, on paper
  double printInterval = 1.2, screenInterval = 1.2;
  std::array<bool, 4> lines{true, true, true, true};  // by Line
  int orbAfter = 60, orbBefore = 60;                  // after and before the cusp

  int LineCount() const;
  // 480 when no line is chosen, else 0.
  int Check() const;
  friend bool operator==(const ACLinesListPage&, const ACLinesListPage&) = default;
};

// The block's values, each brought into its range (a body outside 0..29 to 0).
ACLinesListPage ReadACLinesListPage(const cfg::ByteBlock& block);
void WriteACLinesListPage(const ACLinesListPage& page, cfg::ByteBlock& block);

// One row of the list.
struct ACLinesEntry {
  std::int32_t town = 0;      // atlas number (the atlas holds more towns than 16 bits count)
  std::int16_t body = 0;      // chart point; 0 in crossing mode
  char line = '0';            // 'A', 'I', 'D', 'M'; '0' in crossing mode
  std::int32_t distance = 0;  // arc-minutes, signed
  friend bool operator==(const ACLinesEntry&, const ACLinesEntry&) = default;
};

// A screen font size (tenths of a point as the screen shows it: 100 is 10 points) as the size of
// a font drawn on the screen in 0.01 mm, where a size s has an em of s x 96 / 720 units.
int ScreenFontSizeInHiMetric(int screenSize);

// The signed distance d in degrees from a body to an angle: their separation folded into
// 0..180, negative when the angle lies 180 degrees or more ahead of the body (going forward).
double SignedCuspDistance(double angle, double bodyLongitude);
// The distance listed for d: trunc(d x -60) arc-minutes when 0 <= d < orbBefore / 60 or when
// d < 0 and -d < orbAfter / 60 (orbs in arc-minutes; both limits strict); nothing otherwise.
std::optional<int> ListedDistance(double d, int orbBefore, int orbAfter);

// The line codes in list order (ASC, IC, DSC, MC) and the caption of a crossing of two lines,
// "Солнце-AS/Луна-MC": the bodies' names and their line names (code page 1251).
inline constexpr std::array<char, 4> kAngleLineCodes{'A', 'I', 'D', 'M'};
std::string CrossingCaption(const Crossing& crossing);
// A crossing's latitude "DDLMM" ('N' or 'S') and longitude "DDDLMM" ('E' or 'W') to the nearest
// arc-minute, the numbers without sign.
std::string CrossingLatitudeText(std::int32_t arcSeconds);
std::string CrossingLongitudeText(std::int32_t arcSeconds);

// The measures of the rows at one font size: the widest town text and the width and height of
// "W" in "Vudurez".
struct TownRowMetrics {
  int fontSize = 100;
  int widest = 0;
  int charWidth = 1, charHeight = 1;
};

class ACLinesList {
 public:
  enum class Mode { kLines, kCrossing };

  // Empties the list and makes room for `capacity` rows.
  void Reset(Mode mode, std::size_t capacity);
  // Appends a row; false, with the row dropped, when the list is full. The list remembers that a
  // row was dropped.
  bool AddEvent(const ACLinesEntry& entry);

  // Lines mode: for each atlas town in atlas order, the four angles at the moment (from the
  // apparent sidereal time, as the planetary lines take it), then the chosen lines in the order
  // ASC, IC, DSC, MC, each listed when it lies within the orbs of the body's longitude. A body
  // without a longitude lists nothing. Stops at the first row dropped.
  void FillLines(const TOWNS& towns, const LineMoment& moment, int body, double bodyLongitude,
                 const ACLinesListPage& settings);
  // Crossing mode: every atlas town whose latitude lies within the crossing's band (both limits
  // included), with trunc((latitude - crossing latitude) x 60) arc-minutes. Stops at the first
  // row dropped.
  void FillCrossing(const TOWNS& towns, const Crossing& crossing);

  Mode GetMode() const { return mode_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  std::size_t Capacity() const { return capacity_; }
  const std::vector<ACLinesEntry>& Entries() const { return entries_; }
  // True when a row was dropped for want of room since the last Reset.
  bool Dropped() const { return dropped_; }

  // The measures of the rows in `dc` at `fontSize`.
  TownRowMetrics Measure(platform::Dc& dc, const TOWNS& towns, int fontSize) const;
  // Row `row` with its top-left corner at `at`: the town text; in lines mode the body's glyph at
  // widest, the line name one character further and the distance ending six characters after the
  // widest text; in crossing mode the distance beginning two characters after it. The selected
  // row in colour 4, the others in colour 0.
  void DrawRow(platform::Dc& dc, const TOWNS& towns, int row, platform::Point at,
               const TownRowMetrics& metrics, bool selected) const;
  // The column headings of rows drawn at `at.x`, in the rows' font, at `at`: "Город" over the
  // towns; in lines mode "Линия" over the glyph and line name and "мин." ending over the
  // distance; in crossing mode "мин." over the distance.
  void DrawColumnHeads(platform::Dc& dc, platform::Point at, const TownRowMetrics& metrics) const;
  // The message written where the rows would be when there are none (469).
  static void DrawEmpty(platform::Dc& dc, platform::Point at, int fontSize);

 private:
  Mode mode_ = Mode::kLines;
  std::size_t capacity_ = 0;
  std::vector<ACLinesEntry> entries_;
  bool dropped_ = false;
};

// The printed page of the town list: the column headings, then the rows, from the left print
// margin + 400 and 20 mm below the top print margin (`headDrop` lower), down to the bottom margin.
struct TownListPrintFrame {
  int left = 0, top = 0, width = 0, height = 0;
};
TownListPrintFrame TownListPrintFrameOf(const Configuration& config, int headDrop = 0);
// How much lower than usual the list's name, the crossing's caption and the rows stand on a page
// of `chart`: under the page head (DrawPrintedPageHead) however far a long header and the title
// under it reach.
int TownListHeadDrop(platform::Dc& dc, const Configuration& config, const Chart& chart);
// The head of printed page `page`: the common page head of the chart with the title
// "АСТРОКАРТОГРАФИЯ"; under it, in crossing mode the crossing's caption with its latitude and
// longitude, and the list title "СПИСОК ГОРОДОВ", with "(стр. n)" after the first page.
void DrawTownListPageHead(platform::Dc& dc, const Configuration& config, const Chart& chart,
                          const std::optional<Crossing>& crossing, int page);
