#include "shell/core/wheel/wheel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/cp1251.h"

namespace wheel {

namespace {

using cfg::WheelSet;
using platform::Dc;
using platform::Point;

// Glyph symbols stand centred 0.32 em above their baseline, digits of the text face 0.36 em.
constexpr double kGlyphMiddle = 0.32;
constexpr double kTextMiddle = 0.36;
// The height of a glyph's box in em: the symbols are 0.72 em high.
constexpr double kGlyphBoxHeight = 0.8;
// The outer chart's band of degrees holds two lines of text and a fifth of a line of room.
constexpr double kOuterDegreeBandLines = 2.2;
// Degrees smaller than this share of the set's degree size are not drawn on the outer ring.
constexpr double kLegibleDegreeShare = 0.5;
// The retrograde mark is drawn at this share of the planet glyph's size.
constexpr double kRetrogradeScale = 0.5;
// A glyph moved by less than this (degrees) keeps its tick without a pointer.
constexpr double kPointerThreshold = 0.05;
// Arrows of the angles: head length and half-width, label size and room, as shares of the radius.
constexpr double kArrowHead = 0.045;
constexpr double kArrowHalfWidth = 0.016;
constexpr double kAngleLabelEm = 0.05;
constexpr double kAngleLabelRoom = 0.09;

// Thin lines on paper: a share of the radius (0.13 mm on a wheel of 85 mm), where a device pixel
// of a printer would be a hairline.
constexpr double kPrintedLineShare = 0.0015;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The angle (degrees) at which two points `distance` apart stand on a circle of `radius`.
double ChordAngle(double distance, double radius) {
  if (radius <= 0.0) return 360.0;
  return 2.0 * std::asin(std::min(1.0, distance / (2.0 * radius))) * 180.0 / std::numbers::pi;
}

platform::Rect CircleRect(const Point& centre, int r, bool yUp) {
  return yUp ? platform::Rect{centre.x - r, centre.y + r, centre.x + r, centre.y - r}
             : platform::Rect{centre.x - r, centre.y - r, centre.x + r, centre.y + r};
}

using platform::DcState;

// Text of the text face centred on (x, y).
void TextCentred(Dc& dc, double x, double y, std::string_view text, double em,
                 platform::Color colour) {
  platform::Font font;
  font.pointSize = WheelDraw::SizeOfEm(em);
  dc.SelectFont(font);
  dc.SetTextColor(colour);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBaseline);
  const double baseline = dc.YUp() ? y - kTextMiddle * em : y + kTextMiddle * em;
  dc.TextOut(RoundToNearest(x), RoundToNearest(baseline), text);
}

// A glyph of face 'a' or 'b' centred on (x, y).
void GlyphCentred(Dc& dc, double x, double y, char glyph, char face, double em,
                  platform::Color colour) {
  dc.SetTextColor(colour);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBaseline);
  const double baseline = dc.YUp() ? y - kGlyphMiddle * em : y + kGlyphMiddle * em;
  WheelDraw::DrawGlyphText(dc, RoundToNearest(x), RoundToNearest(baseline), glyph, face,
                           WheelDraw::SizeOfEm(em), platform::BkMode::Transparent);
}

// The width of one glyph at the size whose em is `em`.
int GlyphWidth(Dc& dc, char glyph, double em) {
  platform::Font font;
  font.face = std::string(platform::kGlyphFaceA);
  font.pointSize = WheelDraw::SizeOfEm(em);
  const platform::Font old = dc.SelectFont(font);
  const int width = dc.GetTextExtent(std::string_view(&glyph, 1)).cx;
  dc.SelectFont(old);
  return width;
}

int TextWidth(Dc& dc, std::string_view text, double em) {
  platform::Font font;
  font.pointSize = WheelDraw::SizeOfEm(em);
  const platform::Font old = dc.SelectFont(font);
  const int width = dc.GetTextExtent(text).cx;
  dc.SelectFont(old);
  return width;
}

// Degrees within the sign (or of the whole circle: Local Space azimuths) and minutes of a
// longitude, rounded to the minute.
void DegreeTexts(double longitude, bool wholeCircle, std::string& degrees, std::string& minutes) {
  const long total = std::lround(NormalizeDegrees(longitude) * 60.0) % (360L * 60L);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%ld", wholeCircle ? total / 60 : (total / 60) % 30);
  degrees = std::string(buffer) + glyphs::kDegreeMark;
  std::snprintf(buffer, sizeof buffer, "%02ld", total % 60);
  minutes = std::string(buffer) + glyphs::kMinuteMark;
}

// Where the segment from `from` towards `to` enters the box of half-extents hw, hh about `to`;
// `from` itself when it lies inside.
void ClipToBox(double fx, double fy, double tx, double ty, double hw, double hh, double& ex,
               double& ey) {
  double enter = 0.0;
  const double dx = tx - fx, dy = ty - fy;
  if (std::fabs(dx) > hw) enter = std::max(enter, (std::fabs(dx) - hw) / std::fabs(dx));
  if (std::fabs(dy) > hh) enter = std::max(enter, (std::fabs(dy) - hh) / std::fabs(dy));
  ex = fx + dx * enter;
  ey = fy + dy * enter;
}

}  // namespace

// --- WheelParam ------------------------------------------------------------------------------

double WheelParam::RadiusShare() const {
  if (settings_.angleMarking == 0) return 1.0 / 1.03;
  const double arrow = std::clamp(Geometry(WheelSet::kAngleArrowLength), 0.0, 1.0);
  return 1.0 / (1.0 + arrow + kAngleLabelRoom);
}

void WheelParam::LoadParams(const Configuration& config, const Dc& dc, int set,
                            const WheelFrame& frame, const platform::Rect& area) {
  config_ = &config;
  settings_ = config.wheel;
  set_ = set;
  geometry_ = config.wheelConstants.GetSet(set);
  // Values from the settings file are taken only within sense: finite, 0 .. 360.
  for (std::size_t offset = 0; offset + 8 <= WheelSet::kSize; offset += 8) {
    const cfg::Field<double> field{offset};
    const double v = geometry_.Get(field);
    geometry_.Set(field, std::isfinite(v) ? std::clamp(v, 0.0, 360.0) : 0.0);
  }
  printing_ = dc.IsPrinting();
  blackAndWhite_ = printing_ && config.colourPrinting == 0;
  const auto& table = printing_ ? config.printColours : config.screenColours;
  std::copy_n(table.begin(), kWheelColourCount, colours_.begin());
  frame_ = frame;
  yUp_ = dc.YUp();
  cx_ = (area.left + area.right) / 2.0;
  cy_ = (area.top + area.bottom) / 2.0;
  const double half =
      std::min(std::abs(area.right - area.left), std::abs(area.top - area.bottom)) / 2.0;
  radius_ = half * RadiusShare();
}

platform::Color WheelParam::Colour(int entry) const {
  if (blackAndWhite_) {
    const bool filling = entry == kBackground || entry == kOuterRing || entry == kPlanetRing ||
                         entry == kCentreCircle;
    return filling ? platform::kWhite : platform::kBlack;
  }
  if (entry < 0 || entry >= kWheelColourCount) return platform::kBlack;
  return ColorByIndexShort(colours_[static_cast<std::size_t>(entry)]);
}

platform::Color WheelParam::PaletteColour(int number) const {
  return blackAndWhite_ ? platform::kBlack : ColorByIndex(number);
}

int WheelParam::ThinWidth() const {
  return printing_ ? RoundToNearest(radius_ * kPrintedLineShare) : 0;
}

Point WheelParam::At(double angle, double fraction) const {
  const double r = fraction * radius_;
  const double x = cx_ + r * std::cos(Radians(angle));
  const double dy = r * std::sin(Radians(angle));
  return {RoundToNearest(x), RoundToNearest(yUp_ ? cy_ + dy : cy_ - dy)};
}

// --- WheelDraw -------------------------------------------------------------------------------

platform::Size WheelDraw::DrawGlyphText(Dc& dc, int x, int y, char glyph, char fontLetter, int size,
                                        platform::BkMode bkMode) {
  return ::DrawGlyphText(dc, x, y, glyph, fontLetter, size, bkMode);
}

platform::Size WheelDraw::DrawGlyphNumber(Dc& dc, int x, int y, int n) {
  return ::DrawGlyphNumber(dc, x, y, n);
}

platform::Size WheelDraw::DrawRulerGlyph(Dc& dc, int x, int y, int house) {
  return ::DrawRulerGlyph(dc, x, y, house);
}

int WheelDraw::SizeOfEm(double em) { return std::max(1, RoundToNearest(em * 720.0 / 96.0)); }

void WheelDraw::DrawBackground(Dc& dc, const platform::Rect& area) {
  if (!Printing()) dc.FillRect(area, Colour(kBackground));
}

void WheelDraw::DrawRings(Dc& dc, bool localSpace) {
  const Point centre = At(0.0, 0.0);
  const bool yUp = dc.YUp();
  const auto circle = [&](double fraction, bool filled, platform::Color fill, int width) {
    if (fraction <= 0.0) return;
    dc.SelectPen({platform::PenStyle::Solid, width, Colour(kCircles)});
    dc.SelectBrush({!filled, fill});
    dc.Ellipse(CircleRect(centre, RoundToNearest(fraction * Radius()), yUp));
  };
  const double zodiacInner = Geometry(WheelSet::kZodiacInner);
  circle(Geometry(WheelSet::kZodiacOuter), true, Colour(kOuterRing),
         RoundToNearest(Radius() * 0.004));
  circle(zodiacInner, true, Colour(kPlanetRing), ThinWidth());
  if (!localSpace) {
    for (const double ring :
         {Geometry(WheelSet::kHouseRingOuter), Geometry(WheelSet::kHouseRingInner)})
      if (std::fabs(ring - zodiacInner) > 1e-9) circle(ring, false, platform::kWhite, ThinWidth());
  }
  if (Settings().centreCircleOff == 0)
    circle(Geometry(WheelSet::kCentreCircleRadius), true, Colour(kCentreCircle), ThinWidth());
}

void WheelDraw::DrawZodiac(Dc& dc) {
  const double inner = Geometry(WheelSet::kZodiacInner);
  const double outer = Geometry(WheelSet::kZodiacOuter);
  dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), Colour(kCircles)});
  for (int d = 0; d < 360; ++d) {
    const double angle = Frame().AngleOf(d);
    const double length = d % 30 == 0   ? outer - inner
                          : d % 10 == 0 ? Geometry(WheelSet::kTickTenDegrees)
                          : d % 5 == 0  ? Geometry(WheelSet::kTickFiveDegrees)
                                        : Geometry(WheelSet::kTickOneDegree);
    dc.Line(At(angle, inner), At(angle, inner + length));
  }
  const double em = Geometry(WheelSet::kSignGlyphSize) * Radius();
  if (em <= 0.0) return;
  for (int s = 0; s < 12; ++s) {
    const Point p = At(Frame().AngleOf(s * 30.0 + 15.0), Geometry(WheelSet::kSignGlyphRadius));
    GlyphCentred(dc, p.x, p.y, glyphs::Sign(s), 'a', em, Colour(kInnerGlyphs));
  }
}

void WheelDraw::DrawDirections(Dc& dc) {
  const double inner = Geometry(WheelSet::kZodiacInner);
  const double outer = Geometry(WheelSet::kZodiacOuter);
  dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), Colour(kCircles)});
  for (int d = 0; d < 360; ++d) {
    if (d % 45 == 0) continue;  // the direction letters stand there
    const double angle = Frame().AngleOf(d);
    const double length = d % 10 == 0  ? Geometry(WheelSet::kTickTenDegrees)
                          : d % 5 == 0 ? Geometry(WheelSet::kTickFiveDegrees)
                                       : Geometry(WheelSet::kTickOneDegree);
    dc.Line(At(angle, inner), At(angle, inner + length));
  }
  const double em = Geometry(WheelSet::kSignGlyphSize) * Radius();
  static const char* const kNames[8] = {"С", "СВ", "В", "ЮВ", "Ю", "ЮЗ", "З", "СЗ"};
  for (int k = 0; k < 8; ++k) {
    const double angle = Frame().AngleOf(k * 45.0);
    dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), Colour(kCircles)});
    if (k % 2 == 1) {
      dc.Line(At(angle, inner), At(angle, outer));
      continue;
    }
    const Point p = At(angle, Geometry(WheelSet::kSignGlyphRadius));
    TextCentred(dc, p.x, p.y, Cp1251(kNames[k]), em, Colour(kInnerGlyphs));
  }
}

void WheelDraw::DrawHouses(Dc& dc, const Chart& chart) {
  for (int h = 0; h < 12; ++h)
    if (!chart.cusps[h].IsSet() || !std::isfinite(chart.cusps[h].Get())) return;
  const double from = Geometry(WheelSet::kZodiacInner);
  const double to = Geometry(WheelSet::kHouseRingInner);
  const bool markAngles = Settings().angleMarking != 0;
  for (int h = 0; h < 12; ++h) {
    const double angle = Frame().AngleOf(chart.cusps[h].Get());
    const bool axis = markAngles && h % 3 == 0;
    dc.SelectPen({platform::PenStyle::Solid, axis ? RoundToNearest(Radius() * 0.005) : ThinWidth(),
                  Colour(axis ? kAngles : kCircles)});
    dc.Line(At(angle, from), At(angle, to));
  }

  // The spokes through the planet ring divide it by houses or by signs; they stop at the aspect
  // circle, drawn or not, and leave the aspect lines alone.
  const double centre = Geometry(WheelSet::kCentreCircleRadius);
  dc.SelectPen({platform::PenStyle::Dot, ThinWidth(), Colour(kCircles)});
  for (int k = 0; k < 12; ++k) {
    const double longitude = Settings().division == 1 ? chart.cusps[k].Get() : k * 30.0;
    const double angle = Frame().AngleOf(longitude);
    dc.Line(At(angle, to), At(angle, centre));
  }

  const double em = Geometry(WheelSet::kHouseNumberSize) * Radius();
  if (em <= 0.0) return;
  for (int h = 0; h < 12; ++h) {
    const double a = chart.cusps[h].Get();
    const double middle = a + AngleDifference360(a, chart.cusps[(h + 1) % 12].Get()) / 2.0;
    const Point p = At(Frame().AngleOf(middle), Geometry(WheelSet::kHouseNumberRadius));
    GlyphCentred(dc, p.x, p.y, glyphs::Cusp(h), 'a', em, Colour(kInnerGlyphs));
  }
}

void WheelDraw::DrawAngles(Dc& dc, const Chart& chart) {
  const int marking = Settings().angleMarking;
  if (marking != 1 && marking != 2) return;
  const double asc = chart.cusps[0].Get();
  const double mc = chart.cusps[9].Get();
  if (IsAbsent(asc) || IsAbsent(mc) || !std::isfinite(asc) || !std::isfinite(mc)) return;
  const double outer = Geometry(WheelSet::kZodiacOuter);
  const double tip = outer + Geometry(WheelSet::kAngleArrowLength);
  const double from =
      Settings().centreCircleOff == 0 ? Geometry(WheelSet::kCentreCircleRadius) : 0.0;
  const double to = Geometry(WheelSet::kHouseRingInner);
  const platform::Color colour = Colour(kAngles);
  const int width = RoundToNearest(Radius() * 0.005);

  struct End {
    double longitude;
    char code;
    bool arrow;
  };
  const End ends[4] = {{asc, 'A', true},
                       {mc, 'M', true},
                       {NormalizeDegrees(asc + 180.0), 'D', marking == 2},
                       {NormalizeDegrees(mc + 180.0), 'I', marking == 2}};
  for (const End& end : ends) {
    const double angle = Frame().AngleOf(end.longitude);
    dc.SelectPen({platform::PenStyle::Solid, width, colour});
    dc.Line(At(angle, from), At(angle, to));
    if (!end.arrow) continue;
    dc.Line(At(angle, outer), At(angle, tip - kArrowHead / 2.0));
    // The head: a triangle with its point at the tip.
    const double back = tip - kArrowHead;
    const double spread = kArrowHalfWidth / back * 180.0 / std::numbers::pi;
    dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), colour});
    dc.SelectBrush({false, colour});
    dc.Polygon({At(angle, tip), At(angle + spread, back), At(angle - spread, back)});
    const Point label = At(angle, tip + kAngleLabelRoom / 2.0);
    TextCentred(dc, label.x, label.y, AngleLineName(end.code, false), kAngleLabelEm * Radius(),
                colour);
  }
}

void WheelDraw::DrawPlanets(Dc& dc, const Chart& chart, int chartIndex) {
  const bool outerRing = chartIndex == 1;
  const double glyphRadius =
      Geometry(outerRing ? WheelSet::kOuterPlanetGlyphRadius : WheelSet::kPlanetGlyphRadius);
  if (glyphRadius <= 0.0) return;
  const double tickFrom = Geometry(outerRing ? WheelSet::kZodiacInner : WheelSet::kHouseRingInner);
  const double tickTo = tickFrom - Geometry(outerRing ? WheelSet::kOuterPlanetTickLength
                                                      : WheelSet::kPlanetTickLength);
  const int degreesShown = Settings().degreesShown;
  bool degrees = degreesShown == 2 || (degreesShown == 1 && Printing());
  double degreeRadius = Geometry(WheelSet::kDegreeTextRadius);
  // The outer chart's degrees stand between its glyphs and the house ring, as large as that band
  // allows (two lines and a little room); a band too narrow for legible text shows none.
  const auto outerDegreeBand = [&](double glyphBoxHeight, double& em) {
    const double inner = Geometry(WheelSet::kHouseRingOuter) * Radius();
    const double glyphInner = glyphRadius * Radius() - glyphBoxHeight / 2.0;
    degreeRadius = (inner + glyphInner) / 2.0 / Radius();
    em = std::min(em, (glyphInner - inner) / kOuterDegreeBandLines);
  };

  struct Item {
    int point;
    double longitude;
    bool retrograde;
  };
  std::vector<Item> items;
  PLACE place;
  for (int i = 0; i < kWheelObjectCount; ++i) {
    if (!IsPointShown(*config_, chart, i)) continue;
    const double longitude = chart.points[i].longitude.Get();
    items.push_back({i, longitude, chart.points[i].status == 'R'});
    place.Add(Frame().AngleOf(longitude));
  }
  if (items.empty()) return;

  // The spacing that keeps the boxes of neighbours apart: for boxes w wide and h high whose
  // middles differ along the ring's tangent at page angle a, min(w / |sin a|, h / |cos a|) as a
  // chord of the ring; the same for the degree texts on theirs. Sizes shrink when the circle
  // cannot hold the glyphs.
  double em = Geometry(WheelSet::kPlanetGlyphSize) * Radius();
  double degreeEm = Geometry(WheelSet::kDegreeTextSize) * Radius();
  if (outerRing && degrees) {
    const double wanted = degreeEm;
    outerDegreeBand(kGlyphBoxHeight * em, degreeEm);
    degrees = degreeEm >= kLegibleDegreeShare * wanted;
  }
  const int n = static_cast<int>(items.size());
  const double minimum = Geometry(WheelSet::kMinimumGlyphSpacing);
  double glyphWidth = 0.0, boxHeight = 0.0, degreeWidth = 0.0;
  const PLACE::SpacingAt spacingAt = [&](double angle) {
    const double s = std::fabs(std::sin(Radians(angle)));
    const double c = std::fabs(std::cos(Radians(angle)));
    const auto apart = [&](double w, double h) {
      return std::min(s > 1e-9 ? w / s : HUGE_VAL, c > 1e-9 ? h / c : HUGE_VAL);
    };
    double spacing =
        std::max(minimum, ChordAngle(apart(glyphWidth, boxHeight), glyphRadius * Radius()));
    if (degrees && degreeEm > 0.0)
      spacing = std::max(spacing,
                         ChordAngle(apart(degreeWidth, 2.0 * degreeEm), degreeRadius * Radius()));
    return spacing;
  };
  for (int attempt = 0; attempt < 40; ++attempt) {
    glyphWidth = 0.0;
    for (const Item& item : items) {
      double w = GlyphWidth(dc, glyphs::Point(item.point), em);
      if (item.retrograde) w += GlyphWidth(dc, glyphs::kRetrograde, em * kRetrogradeScale);
      glyphWidth = std::max(glyphWidth, w);
    }
    boxHeight = kGlyphBoxHeight * em;
    if (outerRing && degrees) outerDegreeBand(boxHeight, degreeEm);
    degreeWidth = std::max(TextWidth(dc, chart.IsLocalSpace() ? "359\xB0" : "29\xB0", degreeEm),
                           TextWidth(dc, "59'", degreeEm));
    if (PLACE::LargestSpacing(spacingAt) * n <= 360.0) break;
    em *= 0.9;
    degreeEm *= 0.9;
  }
  place.Spread(spacingAt);

  const platform::Color glyphColour = Colour(outerRing ? kOuterGlyphs : kPlanetGlyphs);
  const platform::Color tickColour = Colour(kPlanetTicks);
  const double up = dc.YUp() ? 1.0 : -1.0;
  for (int k = 0; k < n; ++k) {
    const Item& item = items[static_cast<std::size_t>(k)];
    const double trueAngle = place.TrueAngle(k);
    const double angle = place.PlacedAngle(k);
    const Point centre = At(angle, glyphRadius);
    const double retroWidth =
        item.retrograde ? GlyphWidth(dc, glyphs::kRetrograde, em * kRetrogradeScale) : 0.0;
    const double ownWidth = GlyphWidth(dc, glyphs::Point(item.point), em) + retroWidth;

    dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), tickColour});
    const Point tickEnd = At(trueAngle, tickTo);
    dc.Line(At(trueAngle, tickFrom), tickEnd);
    if (std::fabs(place.Shift(k)) > kPointerThreshold) {
      double ex = 0.0, ey = 0.0;
      const double gap = 0.1 * em;
      ClipToBox(tickEnd.x, tickEnd.y, centre.x, centre.y, ownWidth / 2.0 + gap,
                boxHeight / 2.0 + gap, ex, ey);
      const Point end{RoundToNearest(ex), RoundToNearest(ey)};
      if (!(end == tickEnd)) dc.Line(tickEnd, end);
    }

    const double glyphX = centre.x - retroWidth / 2.0;
    GlyphCentred(dc, glyphX, centre.y, glyphs::Point(item.point), 'a', em, glyphColour);
    if (item.retrograde) {
      const double markX = centre.x + ownWidth / 2.0 - retroWidth / 2.0;
      const double markY = centre.y - up * 0.25 * em;
      GlyphCentred(dc, markX, markY, glyphs::kRetrograde, 'a', em * kRetrogradeScale, glyphColour);
    }
    if (degrees && degreeEm > 0.0) {
      std::string degreeText, minuteText;
      DegreeTexts(item.longitude, chart.IsLocalSpace(), degreeText, minuteText);
      const Point at = At(angle, degreeRadius);
      TextCentred(dc, at.x, at.y + up * 0.5 * degreeEm, degreeText, degreeEm, Colour(kDegrees));
      TextCentred(dc, at.x, at.y - up * 0.5 * degreeEm, minuteText, degreeEm, Colour(kDegrees));
    }

    PlacedGlyph glyph;
    glyph.chart = chartIndex;
    glyph.point = item.point;
    glyph.trueAngle = trueAngle;
    glyph.angle = angle;
    glyph.box = {
        RoundToNearest(centre.x - ownWidth / 2.0), RoundToNearest(centre.y + up * boxHeight / 2.0),
        RoundToNearest(centre.x + ownWidth / 2.0), RoundToNearest(centre.y - up * boxHeight / 2.0)};
    placed_.push_back(glyph);
  }
}

void WheelDraw::DrawVectors(Dc& dc, const Chart& chart) {
  const double to = Geometry(WheelSet::kHouseRingInner);
  for (int i = 0; i < kWheelObjectCount; ++i) {
    if (!IsPointShown(*config_, chart, i)) continue;
    dc.SelectPen({platform::PenStyle::Solid, ThinWidth(), Colour(kPlanetGlyphs)});
    dc.Line(At(0.0, 0.0), At(Frame().AngleOf(chart.points[i].longitude.Get()), to));
  }
}

void WheelDraw::DrawAspectLine(Dc& dc, double angleA, double angleB, const platform::Pen& pen) {
  const double r = Geometry(WheelSet::kCentreCircleRadius);
  dc.SelectPen(pen);
  dc.Line(At(angleA, r), At(angleB, r));
}

// --- Wheel -----------------------------------------------------------------------------------

Wheel::Wheel(const Configuration& config, Aspectarium& systems) : systems_(&systems) {
  config_ = &config;
}

int Wheel::ChooseSet(const Dc& dc, const Chart& chart, int screen, int printLarge,
                     int printSmall) const {
  const bool printing = dc.IsPrinting();
  if (chart.IsLocalSpace())
    return printing ? WheelConstants::kLocalSpacePrint : WheelConstants::kLocalSpaceScreen;
  if (config_->wheel.wheelType == 1 && screen != WheelConstants::kOverlayScreen)
    return printing ? WheelConstants::kEqualHousesPrint : WheelConstants::kEqualHousesScreen;
  if (!printing) return screen;
  return config_->print.sizeChoice == 1 ? printSmall : printLarge;
}

int Wheel::SetFor(const Dc& dc, const Chart& chart) const {
  return ChooseSet(dc, chart, WheelConstants::kSingleScreen, WheelConstants::kSinglePrintLarge,
                   WheelConstants::kSinglePrintSmall);
}

void Wheel::Draw(Dc& dc, const Chart& chart, const Chart* /*outer*/, const platform::Rect& area) {
  DrawWheel(dc, chart, nullptr, SetFor(dc, chart), area);
}

void Wheel::DrawAspects(Dc&, const Chart&, const Chart*) {}

void Wheel::DrawWheel(Dc& dc, const Chart& chart, const Chart* outer, int set,
                      const platform::Rect& area) {
  const Configuration& config = *config_;
  const bool localSpace = chart.IsLocalSpace();
  const WheelFrame frame = localSpace ? WheelFrame::LocalSpace(config.wheel.localSpaceOrientation)
                                      : WheelFrame::Zodiac(config.wheel, chart);
  LoadParams(config, dc, set, frame, area);
  placed_.clear();
  const DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);

  DrawBackground(dc, area);
  DrawRings(dc, localSpace);
  if (localSpace) {
    DrawDirections(dc);
  } else {
    DrawZodiac(dc);
    DrawHouses(dc, chart);
  }
  if (localSpace && Settings().localSpaceDrawing == 1)
    DrawVectors(dc, chart);
  else
    DrawAspects(dc, chart, outer);
  if (!localSpace) DrawAngles(dc, chart);
  DrawPlanets(dc, chart, 0);
  if (outer != nullptr) DrawPlanets(dc, *outer, 1);
}

void Wheel::DrawAspectList(Dc& dc, const std::vector<WheelAspect>& aspects,
                           const AspectSystem& system, const Chart& inner, const Chart* outer) {
  for (const WheelAspect& found : aspects) {
    const Chart& chartA = found.chartA == 1 && outer != nullptr ? *outer : inner;
    const Chart& chartB = found.chartB == 1 && outer != nullptr ? *outer : inner;
    const AspectLineLook look = LookOfAspect(system.GetAspect(found.position), found.exact,
                                             config_->aspectFilter, Printing());
    const platform::Pen pen{look.style, look.thick ? RoundToNearest(Radius() * 0.006) : ThinWidth(),
                            PaletteColour(look.colourNumber)};
    DrawAspectLine(dc, Frame().AngleOf(chartA.points[found.a].longitude.Get()),
                   Frame().AngleOf(chartB.points[found.b].longitude.Get()), pen);
  }
}

WheelHit Wheel::HitTest(Point p) const {
  for (auto it = placed_.rbegin(); it != placed_.rend(); ++it)
    if (PointInRect(p.x, p.y, it->box)) return {it->chart, it->point};
  return {};
}

// --- WheelWithAspects ------------------------------------------------------------------------

int WheelWithAspects::SetFor(const Dc& dc, const Chart& chart) const {
  return ChooseSet(dc, chart, WheelConstants::kAspectsScreen, WheelConstants::kAspectsPrintLarge,
                   WheelConstants::kAspectsPrintSmall);
}

void WheelWithAspects::DrawAspects(Dc& dc, const Chart& chart, const Chart*) {
  const AspectSystem* system = SystemOfChart(chart, *config_, *systems_);
  if (system == nullptr) return;
  DrawAspectList(dc, FindWheelAspects(chart, 0, *system, *config_), *system, chart, nullptr);
}

// --- Wheel2 ----------------------------------------------------------------------------------

void Wheel2::Draw(Dc& dc, const Chart& chart, const Chart* outer, const platform::Rect& area) {
  if (outer == nullptr) {
    WheelWithAspects::Draw(dc, chart, nullptr, area);
    return;
  }
  DrawWheel(dc, chart, outer,
            ChooseSet(dc, chart, WheelConstants::kOverlayScreen, WheelConstants::kOverlayPrintLarge,
                      WheelConstants::kOverlayPrintSmall),
            area);
}

void Wheel2::DrawAspects(Dc& dc, const Chart& chart, const Chart* outer) {
  if (outer == nullptr) {
    WheelWithAspects::DrawAspects(dc, chart, nullptr);
    return;
  }
  int choice = overlay_.value_or(config_->aspectFilter.overlay);
  if (choice < 0 || choice > 2) choice = 2;
  const Chart& owner = choice == 1 ? *outer : chart;
  const AspectSystem* system = SystemOfChart(owner, *config_, *systems_);
  if (system == nullptr) return;
  const std::vector<WheelAspect> aspects =
      choice == 2 ? FindWheelAspectsBetween(chart, *outer, *system, *config_)
                  : FindWheelAspects(owner, choice, *system, *config_);
  DrawAspectList(dc, aspects, *system, chart, outer);
}

}  // namespace wheel
