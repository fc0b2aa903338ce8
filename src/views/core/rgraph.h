// The plotting base of the time graphs (the graphic ephemeris, the rectification graph): a plot
// area laid out on the screen or on a printed page, an x axis of equally spaced sample points that
// stand for moments (a date or a time-of-day scale), a y axis of values from 0 up to a maximum,
// and curves of one value per sample point.
//
// Plot coordinates are 0.01 mm with y upwards: a plot point (x, y) has y = minus its distance from
// the top of the layout. ToPage maps a plot point to the screen (unchanged) or to the printed
// page, upright (portrait) or turned by 90 degrees (landscape). The fields are public: a derived
// graph reads and sets them directly.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "foundation/datetime/moment.h"
#include "platform/core/dc.h"

class Configuration;

// One layout, in 0.01 mm.
struct GraphLayout {
  int pageWidth = 0, pageHeight = 0;
  int innerWidth = 0, innerHeight = 0;
  int leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
  int xStep = 0;  // between two sample points
  // The y of the x axis (the bottom of the inner area).
  int AxisY() const { return bottomMargin - pageHeight; }
  // The x of sample point k.
  int PointX(int k) const { return xStep * k + leftMargin; }
};

class RGraph {
 public:
  static constexpr int kLayoutScreen = -1;
  static constexpr int kLayoutPortrait = 0;
  static constexpr int kLayoutLandscape = 1;
  // The printed graph fills the upper half of an A4 page (portrait) or the turned page
  // (landscape), in 0.01 mm.
  static constexpr int kA4Width = 21000, kA4Height = 29700, kPortraitGraphHeight = 14850;

  RGraph() = default;
  virtual ~RGraph() = default;
  RGraph(const RGraph&) = default;
  RGraph& operator=(const RGraph&) = default;

  // Sets the point count and the time step for the graph's period.
  virtual void DefineScale() = 0;

  // Takes the colour-printing switch and the printer page margins from `config`.
  void UsePrintSettings(const Configuration& config);

  // n curves: no values, visible, colour 0. An allocation failure is reported (error 2, detail
  // 1..3 for the values, visible and colour arrays) and leaves the graph without curves.
  void SetQLines(int n);

  // Lays out the block of the layout mode and makes it current; returns the x step. On the screen
  // the page is `width` x -`heightNegated` (the client rectangle's right and bottom in logical
  // units); printed pages take their size from the page margins. Fewer than 2 points give an x
  // step of the whole inner width.
  int DefineArea(int width, int heightNegated);

  void SetScreenMode();
  // Layout mode `mode` (portrait or landscape) with the print block current.
  void SetPrintMode(int mode);
  const GraphLayout& Current() const { return printCurrent ? print : screen; }
  GraphLayout& Current() { return printCurrent ? print : screen; }

  // The x axis (thickness 15) and the y axis (thickness 10), solid black.
  void DrawAxes(platform::Dc& dc) const;
  // Ticks, grid lines (grid 1, in palette colour `gridColour`) and labels of the x axis from the
  // moment of the first sample point: dates "DD.MM" (labelMode 0) or times "HH:MM" (other modes;
  // the time step is then in minutes). `evenStep` 1 makes the label step even. Returns the font
  // size of the labels, or -1 (nothing drawn) when no label fits.
  int DrawDateScale(platform::Dc& dc, int grid, const Moment& firstMoment, int evenStep,
                    int gridColour, int labelMode);
  // Every visible curve with values, as segments between consecutive sample points.
  void DrawCurves(platform::Dc& dc) const;
  // The palette number of curve i; black (0) when printing without the colour-printing switch.
  int GetCurveColour(int i) const;
  // One segment of a longitude curve between sample points index1 and index2; a segment that
  // crosses 0/360 is drawn as two lines meeting the top and bottom edges. No line when either
  // value is absent (-777.0).
  void DrawCurveSegment(platform::Dc& dc, int colour, double value1, double value2, int index1,
                        int index2) const;
  // A line between two plot points; `style` by the numbers of PenStyleByIndex.
  void DrawLine(platform::Dc& dc, int x1, int y1, int x2, int y2, int style, int thickness,
                platform::Color colour) const;
  void PutText(platform::Dc& dc, int x, int y, std::string_view text) const;
  // Sign s (0..11) and body b (0..9) in "VelmAstro5a" at `size` (tenths of a point), turned by
  // the landscape rotation when printing landscape. Signs are drawn with a transparent
  // background, bodies with `background`.
  void DrawSignGlyph(platform::Dc& dc, int x, int y, int sign, int size) const;
  void DrawPlanetGlyph(platform::Dc& dc, int x, int y, int body, platform::BkMode background,
                       int size) const;
  platform::Point ToPage(int x, int y) const;

  // The y of value v (the value maximum at the top of the inner area, 0 at its bottom).
  double ValueY(double v) const;

  int layoutMode = kLayoutScreen;
  GraphLayout screen, print;
  bool printCurrent = false;  // the print block in force, else the screen block
  int pointCount = 0;
  double timeStep = 0.0;  // days per sample point (minutes in the time-of-day scale)
  std::vector<const double*> curveValues;  // owned by the derived graph
  std::vector<int> curveVisible;
  std::vector<int> curveColour;  // palette numbers
  int curveCount = 0;
  int labelCount = 0, labelStep = 0;  // set by DrawDateScale
  int landscapeRotation = 0;          // degrees
  // Percent of the page width (left, right) or height (top, bottom).
  int leftPercent = 0, topPercent = 0, rightPercent = 0, bottomPercent = 0;
  int pageOffset = 0;  // from the top page margin to the printed graph (room for a heading)
  double valueMax = 0.0;

  // Read from the configuration (UsePrintSettings).
  int colourPrinting = 0;            // 1 curves printed in colour
  std::array<int, 4> pageMargins{};  // left, top, right, bottom, 0.01 mm

 private:
  void DrawGlyph(platform::Dc& dc, int x, int y, char glyph, platform::BkMode background,
                 int size) const;
};

// Fills `clientRect` (logical units) with the device context's background colour.
void FillBackground(platform::Dc& dc, const platform::Rect& clientRect);
