// The coordinate tables of a chart: the main table of longitudes (its rows and their order chosen
// for the screen and for print), its wide form with the antiscion and the contra-antiscion of each
// row, and the fixed tables of latitudes, speeds and equatorial or horizontal coordinates of the
// 30 bodies. Drawn in MM_HIMETRIC (y grows upwards, (x, y) the table's top-left corner) with the
// glyph face "VelmAstro5a".
#pragma once

#include "foundation/config/coord_conf.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

namespace coords {

// Detail table modes.
inline constexpr int kLatitudes = 1;
inline constexpr int kSpeeds = 2;
inline constexpr int kEquatorial = 3;
inline constexpr int kHorizontal = 4;

// The rows the names of the columns take over a detail table of `mode`: one over the equatorial
// and horizontal tables, none over the latitudes and speeds (their one value needs no name).
inline int DetailHeadRows(int mode) { return mode == kEquatorial || mode == kHorizontal ? 1 : 0; }

inline constexpr int kDetailRows = 16;
inline constexpr int kFirstCuspSlot = 50;

// The antiscion of a longitude (its mirror in the Cancer-Capricorn axis): 180 - L up to 180, else
// 540 - L, in [0, 360). The contra-antiscion (the mirror in the Aries-Libra axis): 360 - L in
// [0, 360). The absent value stays absent.
double Antiscion(double longitude);
double ContraAntiscion(double longitude);

// The measures of a table in a layout at a font scale, in logical units of `dc`.
struct TableMeasure {
  int fontSize = 1;     // of the glyph face, tenths of a point
  int textWidth = 0;    // of '+'
  int textHeight = 0;   // of '+'
  int columnWidth = 0;  // 1.1 widths of '+'
  int rowStep = 0;      // line step x scale + 0.7 heights of '+'
  int height = 0;       // rows x row step
  int widthUnit = 0;    // 10 widths of '+', times the scale
};
// `sixteenRows` measures the 16 rows of a detail table, else the layout's rows.
TableMeasure MeasureTable(const COORD_CONF& layout, platform::Dc& dc, bool sixteenRows,
                          double scale);

// The scale at which the table fits a height of `fitHeight` device pixels: 1.0 when `fitHeight` is
// 0 or the table has no height; else H / h when the table's height h at 1.0 lies outside
// 0.97 H .. H, then lowered by 5 % at a time (20 times at most) until the table fits.
double FitScale(const COORD_CONF& layout, platform::Dc& dc, bool sixteenRows, int fitHeight);

// Where a table goes: by the device (paper when it prints), or on a page whatever the device (a
// page's picture is drawn on a screen-like device).
enum class Medium { ByDevice, Paper };

// Which table: the main one (mode 0; `wide` adds the antiscia) or a detail table (modes 1..4).
struct TableKind {
  int mode = 0;
  bool wide = false;
};

// The size of a table on the screen at `scale`, in logical units of `dc`: the width of its blocks
// of rows (the main table's candidates stand in blocks to its right) and its height (with the
// wide form's row of column headings).
platform::Size ScreenTableSize(const COORD_CONF& layout, platform::Dc& dc, TableKind kind,
                               double scale);

// The glyphs of a table fitted to its window are never smaller than this many pixels (em height):
// below it the window scrolls instead.
inline constexpr int kMinFitGlyphPixels = 10;

// The scale at which the whole table fits a window of `fitWidth` x `fitHeight` device pixels: the
// smaller of the scale that fits the height (FitScale) and the one that fits the width (found the
// same way), but not below the scale of glyphs kMinFitGlyphPixels high (nor below the layout's own
// size when that is smaller).
double WindowFitScale(const COORD_CONF& layout, platform::Dc& dc, TableKind kind, int fitWidth,
                      int fitHeight);

// The main table of `chart` at (x, y) in the print layout of `config` on paper, else in the
// screen one; candidates outside the table go to blocks to the right (on paper only in the wide
// form). The wide form's first row names its columns ("Антис", "Контрантис") in the text face
// at 0.7 of the glyphs' size over every block. Returns the table's height.
int DrawCoordTable(platform::Dc& dc, const Chart& chart, const Configuration& config, int x, int y,
                   int fitHeight, bool wide, Medium medium = Medium::ByDevice);
// The same at a given font scale.
int DrawCoordTableAtScale(platform::Dc& dc, const Chart& chart, const Configuration& config, int x,
                          int y, double scale, bool wide, Medium medium = Medium::ByDevice);
// One row: the glyph of slot `slot` (a point, or a house cusp from slot 50 on) and its values.
void DrawCoordRow(platform::Dc& dc, const Chart& chart, const TableMeasure& measure, int slot,
                  int x, int y, bool wide);
// The width of a detail table's blocks of 16 rows in `mode`.
int DetailTableWidth(const TableMeasure& measure, int mode);
// The table of latitudes (bodies 0..15), speeds, equatorial or horizontal coordinates (bodies
// 0..29) in blocks of 16 rows. Returns its height.
int DrawCoordDetailTable(platform::Dc& dc, const Chart& chart, const Configuration& config, int x,
                         int y, int fitHeight, int mode, Medium medium = Medium::ByDevice);
// The same at a given font scale.
int DrawCoordDetailTableAtScale(platform::Dc& dc, const Chart& chart, const Configuration& config,
                                int x, int y, double scale, int mode,
                                Medium medium = Medium::ByDevice);

}  // namespace coords
