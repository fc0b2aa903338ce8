// The model behind the aspect table and the midpoint table: the points chosen for the table (up
// to 34 chart points and 6 house cusps), their positions in the chart of the columns and in the
// chart of the rows, their orb classes, the list of midpoints that have aspects, and the drawing
// of the square grid through a Dc (aspect_table_draw.cpp).
//
// Table points 0..39: 0..33 the chart points, 34..39 the cusps of houses X, XI, XII, I, II, III.
// Chart choices: 0 the inner chart, 1 the outer chart, 2 between the two (columns from the inner
// chart, rows from the outer), 3 the only chart of a one-chart document; -1 (a cancelled choice)
// and a choice that needs an outer chart the document lacks are drawn as 0.
//
// Coordinates are 0.01 mm with y upwards; font sizes tenths of a point. The table reads the
// configuration and the aspect systems it is given and changes neither.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/drawing/longitude_drawing.h"
#include "platform/core/dc.h"

class Aspectarium;
class AspectSystem;
class Configuration;

// Page layouts of AspectTable::Draw.
enum AspectTableLayout : int {
  kLayoutChartPageLarge = 0,  // under the large wheel of a one-chart page
  kLayoutChartPageTwo = 1,    // on a two-chart page
  kLayoutChartPageSmall = 2,  // under the small wheel of a one-chart page
  kLayoutTableUpper = 3,      // the upper table of a table page
  kLayoutTableLower = 4,      // the lower table of a table page
};

// One midpoint that has aspects.
struct MidpointEntry {
  // Point codes: a chart point 0..33, a cusp 100 + (house - 1) (X 109, XI 110, XII 111, I 100).
  std::int8_t code1 = 0;
  std::int8_t code2 = 0;
  double longitude = 0.0;             // degrees
  std::vector<std::uint8_t> aspects;  // aspect index 0..19 of each aspect found
  std::vector<std::uint8_t> points;   // 0..33 a chart point, 34..45 the cusp of house I..XII
  std::int16_t count = 0;             // the number of aspects (at least 1)
  std::uint8_t pageBreak = 0;         // 1: the entry begins a page of the printed list
};

// One aspect from a midpoint to a point or cusp of a chart.
struct MidpointAspect {
  int target = 0;      // 0..33 a chart point, 34..45 the cusp of house I..XII
  int position = -1;   // of the aspect in the midpoint aspect system
  bool exact = false;  // within the aspect's exact orb
  double arc = 0.0;    // the separation, 0..180
  double orb = 0.0;    // its distance from the aspect's angle
};

class AspectTable {
 public:
  static constexpr int kTablePoints = 40;
  static constexpr int kSwitchCount = 56;
  static constexpr int kChartPoints = 34;
  static constexpr int kFirstCuspPoint = 34;
  static constexpr int kLocalSpacePoints = 30;  // Local Space charts: chart points 0..29
  static constexpr int kMidpointTargets = 46;   // chart points 0..33, cusps of houses I..XII
  static constexpr int kKindAspects = 0;
  static constexpr int kKindMidpoints = 1;
  static constexpr int kChoiceBetween = 2;

  AspectTable(const Configuration& config, const Aspectarium& systems);

  // Switches, colour mode, cell mode and house orb group from the configuration; a Local Space
  // chart keeps chart points 0..29 only.
  void LoadSettings(const Chart& chart);
  // `count` from the switches; the cell sizes and the font size are cleared.
  void CountPoints();
  // The columns, rows, their orb classes and the system name for a chart choice. `outer` may be
  // null: the inner chart stands in for it.
  void SetPlanets(int choice, const Chart& inner, const Chart* outer);
  void FreePlanets();

  // The table points of the cell under (x, y); false outside the cells (headers included).
  bool HitCell(int x, int y, int& columnPoint, int& rowPoint) const;

  // Aspects from `longitude` to the points (and, when configured, the cusps) of `chart` under the
  // configured midpoint highlight mode and midpoint aspect system; with `codes` and `points` also
  // the aspect indexes and the aspected points (0..33, 34 + cusp index). 0 in mode 0 or when the
  // system is not loaded.
  int FindMidpointAspects(double longitude, const Chart& chart, std::vector<std::uint8_t>* codes,
                          std::vector<std::uint8_t>* points) const;
  // Every aspect from `longitude` to the same selection of points and cusps of `chart`, whatever
  // the highlight mode; empty when the midpoint aspect system is not loaded.
  std::vector<MidpointAspect> AspectsToMidpoint(double longitude, const Chart& chart) const;
  // The configured midpoint aspect system; null when it is not loaded.
  const AspectSystem* MidpointSystem() const;
  // The longitude in `chart` of table point 0..39 (34..36 the cusps of X..XII, 37..39 of I..III).
  static AngleValue TablePointLongitude(const Chart& chart, int tablePoint);
  // 3 when the midpoint has an aspect, else 0.
  int GetMidpointMark(double longitude, const Chart& chart) const;

  // The list of midpoints with aspects to the points of `aspectChart`, for the pairs of the
  // table set up for `choice`: between two charts every (column, row) pair, else each pair once.
  // The page count of the printed list, or -1 (message 683 shown) when no midpoint has an aspect.
  int CreateMidpList(platform::Dc& dc, int choice, const Chart& inner, const Chart* outer,
                     const Chart& aspectChart);
  void FreeMidpList();
  // Page `page` (1..) of the list made by CreateMidpList: the page head, then each entry's two
  // point glyphs, its longitude and its aspects, `entriesPerLine` to a line.
  void DrawListPage(platform::Dc& dc, int page, const Chart& inner, const Chart* outer) const;
  // The index of the first entry of page `page` and one past its last; {0, 0} beyond the list.
  std::pair<std::size_t, std::size_t> ListPageEntries(int page) const;
  // The list's page layout from the configured margins, list font and interval, its lines under
  // the page head of `inner` and `outer` (DrawTablePageHeader) with its widest title.
  void SetListLayout(platform::Dc& dc, const Chart& inner, const Chart* outer);

  // The point code of table position p (chart point 0..33, cusp 100..111); -1 beyond the points.
  int PointCode(int position) const;
  // The table point number of table position p; -1 beyond the points.
  int TablePointAt(int position) const;

  // Sets the table up for a page placement and draws it (for printing); `drop` lowers a table in
  // the lower half under a panel that stands lower than usual (ChartInfoPanel::DrawPage).
  void Draw(platform::Dc& dc, int layout, const Chart& inner, const Chart* outer, int choice,
            int drawKind, int drop = 0);
  // Lays the grid out when needed, then draws grid, headers, the chart names (choice 2) and the
  // cells of `kind`.
  void Render(platform::Dc& dc, int choice, const Chart& inner, const Chart* outer);

  // One cell's aspect glyph and orb (the cell's top-left corner at x, y); `result` 2 for an
  // aspect within its exact orb.
  void DrawAspectCell(platform::Dc& dc, int x, int y, const AspectSystem& system, int position,
                      int result, double orb) const;

  // The choice actually drawn: -1, and 1 or 2 without an outer chart, become 0.
  static int EffectiveChoice(int choice, bool hasOuter);

  // Fields, as the views and the drawing use them.
  std::uint16_t kind = kKindAspects;
  int count = 0;
  std::array<int, kSwitchCount> switches{};
  int cellWidth = 0, cellHeight = 0, fontSize = 0;
  std::vector<PointRecord> columns, rows;
  std::vector<int> columnOrbClass, rowOrbClass;
  int colourMode = 0;  // 0 none, 1 aspect glyphs, 2 everything
  int cellMode = 0;    // between two charts, aspect / no aspect: 0 glyph / -, 1 glyph / arc,
                       // 2 arc / arc, 3 arc / -
  int houseOrbClass = 1;
  int originX = 0, originY = 0;
  int needsLayout = 1;
  int tableWidth = 0;   // the width to fill on a printed page
  int clientWidth = 0;  // the width to fill on the screen (logical units), set by the view
  int onPage = 0;       // 1 once placed on a page by Draw: tableWidth also on a picture
  std::array<char, 9> systemName{};
  std::vector<MidpointEntry> midpoints;
  int entriesPerLine = 1, lineHeight = 1, firstEntryX = 0, linesPerPage = 1, glyphWidth = 0;
  int listTop = 0;  // the list's first line, under the paper's top edge
  int localSpace = 0;

 private:
  int TableWidthForLayout(int layout) const;
  LongitudeFonts CellFonts() const;
  void Layout(platform::Dc& dc);
  void DrawGrid(platform::Dc& dc, bool monochrome) const;
  void DrawHeaders(platform::Dc& dc, int choice) const;
  void DrawChartNames(platform::Dc& dc, const Chart& inner, const Chart& outer,
                      bool monochrome) const;
  void DrawAspectCells(platform::Dc& dc, int choice, bool printingMonochrome);
  void DrawMidpointCells(platform::Dc& dc, int choice, const Chart& inner, bool printingMonochrome);

  const Configuration& config_;
  const Aspectarium& systems_;
};
