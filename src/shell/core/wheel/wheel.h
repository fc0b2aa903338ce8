// The chart wheel: the sign ring, the house ring, the planets' glyphs (spread apart where they
// crowd, with a pointer to their true position) and the aspect lines, drawn through a device
// context in any mapping mode. The classes build on each other:
//   WheelParam        the settings of one drawing: wheel settings, geometry set, colours, place
//   WheelDraw         the drawing steps shared by every wheel
//   Wheel             one chart without aspect lines
//   WheelWithAspects  one chart with aspect lines
//   Wheel2            two charts: the inner chart and, on a ring outside it, the outer chart
// A view keeps one wheel object and calls Draw with its chart(s) and the area to fill; HitTest
// then tells which glyph lies under a mouse click.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "platform/core/dc.h"
#include "shell/core/wheel/place.h"
#include "shell/core/wheel/wheel_aspects.h"
#include "shell/core/wheel/wheel_frame.h"

namespace wheel {

// The eleven wheel colours: entries of the screen and print colour tables.
enum ColourEntry : int {
  kBackground = 0,    // "Фон": behind the wheel on the screen
  kCircles = 1,       // "Окружности": circles, sign boundaries, cusps, ticks of the scale
  kOuterRing = 2,     // "Круг (внешний)": filling of the sign ring
  kPlanetGlyphs = 3,  // "Значки планет": the planets of the inner or only chart
  kPlanetTicks = 4,   // "Риски положения планет": position ticks and pointers
  kAngles = 5,        // "Углы гороскопа": the axes ASC-DSC and MC-IC and their arrows
  kInnerGlyphs = 6,  // "Значки (внутренние)": sign glyphs, house numbers, direction letters
  kOuterGlyphs = 7,   // "Значки (внешние)": the planets of the outer chart
  kPlanetRing = 8,    // "Круг с планетами": filling inside the sign ring
  kCentreCircle = 9,  // "Центральный круг": filling of the centre circle
  kDegrees = 10,      // "Градусы": the planets' degrees
  kWheelColourCount = 11,
};

// A planet glyph as drawn: its chart (0 inner or only, 1 outer), point, true and drawn page
// angles, and its box in logical units.
struct PlacedGlyph {
  int chart = 0;
  int point = 0;
  double trueAngle = 0.0;
  double angle = 0.0;
  platform::Rect box;
};

struct WheelHit {
  int chart = -1;
  int point = -1;
  bool Found() const { return point >= 0; }
};

class WheelParam {
 public:
  virtual ~WheelParam() = default;

  const cfg::WheelSettings& Settings() const { return settings_; }
  // A value of the geometry set in use: a fraction of the outer radius, or degrees.
  double Geometry(cfg::Field<double> field) const { return geometry_.Get(field); }
  int GeometrySet() const { return set_; }
  // Colour entry 0..10 for the device of the drawing: the screen table, or the print table when
  // printing; printing in black and white draws lines and glyphs black and fills white.
  platform::Color Colour(int entry) const;
  platform::Color PaletteColour(int number) const;
  bool Printing() const { return printing_; }
  const WheelFrame& Frame() const { return frame_; }
  double CentreX() const { return cx_; }
  double CentreY() const { return cy_; }
  double Radius() const { return radius_; }
  // The logical point at a page angle and a distance from the centre given as a fraction of the
  // outer radius.
  platform::Point At(double angle, double fraction) const;
  // The pen width of thin lines: one device pixel on the screen, a share of the radius on paper.
  int ThinWidth() const;
  // The share of the area's half-width (or half-height) that the outer circle takes.
  double RadiusShare() const;

 protected:
  // Reads everything one drawing needs and places the wheel in the middle of `area`.
  void LoadParams(const Configuration& config, const platform::Dc& dc, int set,
                  const WheelFrame& frame, const platform::Rect& area);

  const Configuration* config_ = nullptr;

 private:
  cfg::WheelSettings settings_;
  cfg::ByteBlock geometry_{cfg::WheelSet::kSize};
  int set_ = 0;
  std::array<std::uint16_t, kWheelColourCount> colours_{};
  bool printing_ = false;
  bool blackAndWhite_ = false;
  WheelFrame frame_ = WheelFrame::LocalSpace(kNorthUp);
  double cx_ = 0.0, cy_ = 0.0, radius_ = 0.0;
  bool yUp_ = true;
};

class WheelDraw : public WheelParam {
 public:
  // One character of a glyph face ('a' "VelmAstro5a", 'b' "VelmAstro5b") at (x, y) by the
  // current alignment, with a font of `size` (tenths of a point) made for the call. Returns the
  // extent drawn.
  static platform::Size DrawGlyphText(platform::Dc& dc, int x, int y, char glyph, char fontLetter,
                                      int size, platform::BkMode bkMode);
  // '0' + n (n below 20, else '?') in "VelmAstro5b" at the selected font's size.
  static platform::Size DrawGlyphNumber(platform::Dc& dc, int x, int y, int n);
  // The ruler reference of a house (0..11).
  static platform::Size DrawRulerGlyph(platform::Dc& dc, int x, int y, int house);

  // The point size (tenths of a point) whose em is `em` logical units.
  static int SizeOfEm(double em);

 protected:
  void DrawBackground(platform::Dc& dc, const platform::Rect& area);
  // The filled rings and the circles between them.
  void DrawRings(platform::Dc& dc, bool localSpace);
  // The degree scale, sign boundaries and sign glyphs.
  void DrawZodiac(platform::Dc& dc);
  // Local Space: the scale of azimuths and the four directions.
  void DrawDirections(platform::Dc& dc);
  // Cusp lines, house numbers and, with the division by houses or signs, the spokes.
  void DrawHouses(platform::Dc& dc, const Chart& chart);
  // The axes ASC-DSC and MC-IC with their arrows.
  void DrawAngles(platform::Dc& dc, const Chart& chart);
  // The glyphs of one chart's shown points on one ring: chart 0 on the planet ring (with their
  // degrees when the settings show them), chart 1 on the outer planet ring.
  void DrawPlanets(platform::Dc& dc, const Chart& chart, int chartIndex);
  // Local Space: a line from the centre to each shown point.
  void DrawVectors(platform::Dc& dc, const Chart& chart);
  // A line between the true positions of two points on the centre circle.
  void DrawAspectLine(platform::Dc& dc, double angleA, double angleB, const platform::Pen& pen);

  std::vector<PlacedGlyph> placed_;
};

class Wheel : public WheelDraw {
 public:
  explicit Wheel(const Configuration& config = GetConfiguration(),
                 Aspectarium& systems = GetAspectarium());

  // Draws `chart` centred in `area` (logical units of the current mapping mode), as large as the
  // area allows. `outer` is drawn only by Wheel2.
  virtual void Draw(platform::Dc& dc, const Chart& chart, const Chart* outer,
                    const platform::Rect& area);
  void Draw(platform::Dc& dc, const Chart& chart, const platform::Rect& area) {
    Draw(dc, chart, nullptr, area);
  }

  // The glyph under `p` (logical units) in the last drawing; none when no glyph box holds it.
  WheelHit HitTest(platform::Point p) const;
  const std::vector<PlacedGlyph>& Glyphs() const { return placed_; }

 protected:
  // The geometry set: `screen`, or when printing `printLarge` / `printSmall` by the size choice of
  // the print settings; Local Space and the equal-house type have sets of their own.
  int ChooseSet(const platform::Dc& dc, const Chart& chart, int screen, int printLarge,
                int printSmall) const;
  virtual int SetFor(const platform::Dc& dc, const Chart& chart) const;
  // The aspect lines (none on this wheel).
  virtual void DrawAspects(platform::Dc& dc, const Chart& chart, const Chart* outer);
  // Draws the wheel of `chart` with the geometry set `set`; `outer` on the outer ring.
  void DrawWheel(platform::Dc& dc, const Chart& chart, const Chart* outer, int set,
                 const platform::Rect& area);
  // The aspect lines of a list found for the charts.
  void DrawAspectList(platform::Dc& dc, const std::vector<WheelAspect>& aspects,
                      const AspectSystem& system, const Chart& inner, const Chart* outer);

  Aspectarium* systems_;
};

class WheelWithAspects : public Wheel {
 public:
  using Wheel::Wheel;

 protected:
  int SetFor(const platform::Dc& dc, const Chart& chart) const override;
  void DrawAspects(platform::Dc& dc, const Chart& chart, const Chart* outer) override;
};

class Wheel2 : public WheelWithAspects {
 public:
  using WheelWithAspects::WheelWithAspects;

  // Which aspects are drawn: 0 of the inner chart, 1 of the outer chart, 2 between the two;
  // nullopt (the start) follows the aspect filter of the configuration.
  void SetOverlayChoice(std::optional<int> choice) { overlay_ = choice; }

  using WheelWithAspects::Draw;
  // Without an outer chart the wheel is drawn as WheelWithAspects.
  void Draw(platform::Dc& dc, const Chart& chart, const Chart* outer,
            const platform::Rect& area) override;

 protected:
  void DrawAspects(platform::Dc& dc, const Chart& chart, const Chart* outer) override;

 private:
  std::optional<int> overlay_;
};

}  // namespace wheel

using wheel::Wheel;
using wheel::Wheel2;
using wheel::WheelDraw;
using wheel::WheelParam;
using wheel::WheelWithAspects;
