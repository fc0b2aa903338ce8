#include "views/core/coord_table.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"

namespace coords {

namespace {

constexpr int kMaxReductions = 20;
constexpr double kReduction = 0.95;
constexpr int kBlockColumns = 9;
constexpr int kWideBlockColumnsScreen = 16;
constexpr int kWideBlockColumnsPrint = 18;
constexpr int kBodyCount = 30;
constexpr int kLatitudeBodies = 16;
// The text face is taller than the glyphs at one size: the headings fit a row at 0.7 of it.
constexpr double kHeadingScale = 0.7;

bool OnPaper(const platform::Dc& dc, Medium medium) {
  return medium == Medium::Paper || dc.IsPrinting();
}

const COORD_CONF& LayoutFor(bool paper, const Configuration& config) {
  return paper ? config.printCoords : config.screenCoords;
}

int Truncate(double v) { return static_cast<int>(v); }

}  // namespace

double Antiscion(double longitude) {
  if (IsAbsent(longitude) || !std::isfinite(longitude)) return kAbsent;
  const double l = NormalizeDegrees(longitude);
  return NormalizeDegrees(l <= 180.0 ? 180.0 - l : 540.0 - l);
}

double ContraAntiscion(double longitude) {
  if (IsAbsent(longitude) || !std::isfinite(longitude)) return kAbsent;
  return NormalizeDegrees(360.0 - NormalizeDegrees(longitude));
}

TableMeasure MeasureTable(const COORD_CONF& layout, platform::Dc& dc, bool sixteenRows,
                          double scale) {
  TableMeasure m;
  m.fontSize = std::max(1, Truncate(layout.fontSize * scale));
  const platform::Size plus = FontCharSize(dc, platform::kGlyphFaceA, m.fontSize, '+');
  m.textWidth = plus.cx;
  m.textHeight = plus.cy;
  m.columnWidth = Truncate(1.1 * plus.cx);
  m.rowStep = Truncate(layout.lineStep * scale) + Truncate(0.7 * plus.cy);
  const int rows = sixteenRows ? kDetailRows : layout.GetRowCount();
  m.height = rows * m.rowStep;
  m.widthUnit = Truncate(10.0 * plus.cx * scale);
  return m;
}

namespace {

// The scale at which a measure (of the table at a scale) reaches `limit`: 1.0 when the measure at
// 1.0 lies within 0.97 limit .. limit, else limit / measure, then lowered by 5 % at a time (20
// times at most) until it fits. A table without the measure, or no limit, keeps 1.0.
template <class Measure>
double FitToLimit(const Measure& measure, int limit) {
  const int first = measure(1.0);
  if (first <= 0 || limit <= 0) return 1.0;
  double scale = 1.0;
  if (first > limit || first < Truncate(0.97 * limit)) scale = static_cast<double>(limit) / first;
  for (int i = 0; i < kMaxReductions; ++i) {
    if (measure(scale) <= limit) break;
    scale *= kReduction;
  }
  return scale;
}

int Extra(const COORD_CONF& layout) { return layout.CountExtraBefore(COORD_CONF::kSlotCount); }

// The widest value drawn in `layout` at `size`: the zodiac form in every sign, else the widest
// degrees and minutes.
int ValueWidth(platform::Dc& dc, int size, int layout) {
  platform::DcState state(dc);
  dc.SelectFont({std::string(platform::kGlyphFaceA), size});
  int widest = 0;
  const auto measure = [&](double value) {
    int width = 0;
    for (const LongitudePiece& piece : LongitudePieces(value, layout))
      width += dc.GetTextExtent(piece.text).cx;
    widest = std::max(widest, width);
  };
  const double lastMinute = 29.0 + 59.0 / 60.0;
  if (layout == 0) {
    for (int sign = 0; sign < 12; ++sign) measure(sign * 30.0 + lastMinute);
  } else if (layout == 1) {
    measure(330.0 + lastMinute);
  } else {
    measure(-60.0 - lastMinute);
  }
  return widest;
}

// How far the values of a table's last block of rows reach from the block's left edge.
int LastBlockReach(platform::Dc& dc, const TableMeasure& m, TableKind kind) {
  const int size = m.fontSize;
  switch (kind.mode) {
    case 0: {
      // Local Space charts write whole-circle degrees where the longitude stands.
      const int circle = 2 * m.columnWidth + ValueWidth(dc, size, 1);
      return std::max(circle, (kind.wide ? 9 : 2) * m.columnWidth + ValueWidth(dc, size, 0));
    }
    case kEquatorial:
      return std::max(m.textWidth + ValueWidth(dc, size, 1),
                      8 * m.textWidth + ValueWidth(dc, size, 2));
    case kHorizontal:
      return 7 * m.textWidth + ValueWidth(dc, size, 1);
    default:
      return m.textWidth + ValueWidth(dc, size, 2);
  }
}

}  // namespace

double FitScale(const COORD_CONF& layout, platform::Dc& dc, bool sixteenRows, int fitHeight) {
  if (fitHeight == 0) return 1.0;
  return FitToLimit(
      [&](double scale) { return MeasureTable(layout, dc, sixteenRows, scale).height; },
      Truncate(std::fabs(fitHeight * dc.LogicalPerPixelY())));
}

void DrawCoordRow(platform::Dc& dc, const Chart& chart, const TableMeasure& measure, int slot,
                  int x, int y, bool wide) {
  if (slot < 0 || slot >= COORD_CONF::kSlotCount) return;
  const bool cusp = slot >= kFirstCuspSlot;
  const char glyph = cusp ? glyphs::Cusp(slot - kFirstCuspSlot) : glyphs::Point(slot);
  const double value =
      cusp ? chart.GetCusp(slot - kFirstCuspSlot).Get() : chart.GetPointLongitude(slot).Get();
  const int size = measure.fontSize;
  const int column = measure.columnWidth;
  DrawGlyphText(dc, x, y, glyph, 'a', size, platform::BkMode::Transparent);
  if (chart.IsLocalSpace()) {
    // Local Space charts hold azimuths: degrees of the whole circle.
    DrawLongitudeGlyph(dc, size, value, x + 2 * column, y, 1);
  } else if (!wide) {
    if (!cusp && chart.points[static_cast<std::size_t>(slot)].status == 'R') {
      // At two thirds of the size, centred on the row, so that it fits between the glyph and the
      // longitude (as on the chart page).
      const int lower =
          Truncate(platform::Font{std::string(platform::kGlyphFaceA), size}.EmHeight() / 6.0);
      DrawGlyphText(dc, x + Truncate(1.3 * column), y - lower, glyphs::kRetrograde, 'a',
                    size * 2 / 3, platform::BkMode::Transparent);
    }
    DrawLongitudeGlyph(dc, size, value, x + 2 * column, y, 0);
  } else {
    DrawLongitudeGlyph(dc, size, Antiscion(value), x + 2 * column, y, 0);
    DrawLongitudeGlyph(dc, size, ContraAntiscion(value), x + 9 * column, y, 0);
  }
}

namespace {

void DrawAntisciaHeads(platform::Dc& dc, const TableMeasure& measure, int x, int y) {
  platform::DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(
      {std::string(platform::kTextFace), std::max(1, Truncate(kHeadingScale * measure.fontSize))});
  dc.TextOut(x + 2 * measure.columnWidth, y, GetMessageText(kMsgAntiscionColumn));
  dc.TextOut(x + 9 * measure.columnWidth, y, GetMessageText(kMsgContraAntiscionColumn));
}

}  // namespace

int DrawCoordTable(platform::Dc& dc, const Chart& chart, const Configuration& config, int x, int y,
                   int fitHeight, bool wide, Medium medium) {
  const COORD_CONF& layout = LayoutFor(OnPaper(dc, medium), config);
  return DrawCoordTableAtScale(dc, chart, config, x, y, FitScale(layout, dc, false, fitHeight),
                               wide, medium);
}

int DrawCoordTableAtScale(platform::Dc& dc, const Chart& chart, const Configuration& config, int x,
                          int y, double scale, bool wide, Medium medium) {
  const bool printing = OnPaper(dc, medium);
  const COORD_CONF& layout = LayoutFor(printing, config);
  const int rows = layout.GetRowCount();
  // The blocks of candidates are as tall as the table, and one row tall when it has no rows.
  const int blockRows = std::max(1, rows);
  platform::DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const TableMeasure m = MeasureTable(layout, dc, false, scale);
  const int blockColumns =
      wide ? (printing ? kWideBlockColumnsPrint : kWideBlockColumnsScreen) : kBlockColumns;
  const int blockWidth = blockColumns * m.columnWidth;
  // On paper the blocks that would run past the right margin begin again at the left, below.
  const int across =
      printing ? std::max(1, (kA4Width - config.print.marginRight - x) / std::max(1, blockWidth))
               : std::numeric_limits<int>::max();
  // The wide table names its two columns over every block of its first band; the rows follow
  // one row lower.
  const int headRows = wide ? 1 : 0;
  if (wide) {
    const int blocks = 1 + (Extra(layout) + blockRows - 1) / blockRows;
    for (int block = 0; block < std::min(blocks, across); ++block)
      DrawAntisciaHeads(dc, m, x + block * blockWidth, y);
    y -= m.rowStep;
  }
  int drawnRows = rows;
  for (int s = 0; s < COORD_CONF::kSlotCount; ++s) {
    const int v = layout.slots[static_cast<std::size_t>(s)];
    if (v == COORD_CONF::kNeverShown) continue;
    if (v < COORD_CONF::kNotInTable) {
      DrawCoordRow(dc, chart, m, s, x, y - (v % blockRows) * m.rowStep, wide);
      continue;
    }
    if (printing && !wide) continue;
    const int k = layout.CountExtraBefore(s);
    const int block = k / blockRows + 1;
    const int band = block / across;
    DrawCoordRow(dc, chart, m, s, x + (block % across) * blockWidth,
                 y - (band * blockRows + k % blockRows) * m.rowStep, wide);
    // A band's first block holds rows up to this one; a later block follows a full one.
    const int firstOfBand = band == 0 ? 1 : 0;
    const int inBand = block % across == firstOfBand ? k % blockRows + 1 : blockRows;
    drawnRows = std::max(drawnRows, band * blockRows + inBand);
  }
  return (headRows + drawnRows) * m.rowStep;
}

namespace {

int DetailBlockWidth(const TableMeasure& m, int mode) {
  return (mode == kSpeeds ? 10 : 15) * m.textWidth;
}

int DetailBodies(int mode) { return mode == kLatitudes ? kLatitudeBodies : kBodyCount; }

// The x of the second coordinate in a block of the equatorial or horizontal table.
int SecondColumn(const TableMeasure& m, int mode) {
  return (mode == kEquatorial ? 8 : 7) * m.textWidth;
}

// Right ascension and declination, or azimuth and altitude, over the two value columns.
void DrawDetailHeads(platform::Dc& dc, const TableMeasure& m, int mode, int x, int y) {
  platform::DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(
      {std::string(platform::kTextFace), std::max(1, Truncate(kHeadingScale * m.fontSize))});
  const bool equatorial = mode == kEquatorial;
  dc.TextOut(x + m.textWidth, y,
             GetMessageText(equatorial ? kMsgRightAscensionColumn : kMsgAzimuthColumn));
  dc.TextOut(x + SecondColumn(m, mode), y,
             GetMessageText(equatorial ? kMsgDeclinationColumn : kMsgAltitudeColumn));
}

}  // namespace

int DetailTableWidth(const TableMeasure& measure, int mode) {
  const int blocks = (DetailBodies(mode) + kDetailRows - 1) / kDetailRows;
  return blocks * DetailBlockWidth(measure, mode);
}

int DrawCoordDetailTable(platform::Dc& dc, const Chart& chart, const Configuration& config, int x,
                         int y, int fitHeight, int mode, Medium medium) {
  const COORD_CONF& layout = LayoutFor(OnPaper(dc, medium), config);
  return DrawCoordDetailTableAtScale(dc, chart, config, x, y, FitScale(layout, dc, true, fitHeight),
                                     mode, medium);
}

int DrawCoordDetailTableAtScale(platform::Dc& dc, const Chart& chart, const Configuration& config,
                                int x, int y, double scale, int mode, Medium medium) {
  if (mode < kLatitudes || mode > kHorizontal) return 0;
  const COORD_CONF& layout = LayoutFor(OnPaper(dc, medium), config);
  platform::DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const TableMeasure m = MeasureTable(layout, dc, true, scale);
  const int size = m.fontSize;
  const int blockWidth = DetailBlockWidth(m, mode);
  const int bodies = DetailBodies(mode);
  // The equatorial and horizontal tables name their two columns over every block; the rows
  // follow one row lower.
  const int headRows = DetailHeadRows(mode);
  if (headRows > 0) {
    const int blocks = (bodies + kDetailRows - 1) / kDetailRows;
    for (int block = 0; block < blocks; ++block)
      DrawDetailHeads(dc, m, mode, x + block * blockWidth, y);
    y -= m.rowStep;
  }
  for (int body = 0; body < bodies; ++body) {
    const int bx = x + (body / kDetailRows) * blockWidth;
    const int ry = y - (body % kDetailRows) * m.rowStep;
    DrawGlyphText(dc, bx, ry, glyphs::Point(body), 'a', size, platform::BkMode::Transparent);
    const PointRecord& point = chart.points[static_cast<std::size_t>(body)];
    double value = kAbsent;
    int layoutOfValue = 2;  // signed degrees: latitudes and speeds
    if (mode == kLatitudes) {
      value = point.latitude;
    } else if (mode == kSpeeds) {
      value = point.speed;
    } else {
      double second = kAbsent;
      chart.GetPointCoordinates(body, mode, value, second);
      // Right ascension and azimuth in degrees of the whole circle.
      layoutOfValue = 1;
      DrawLongitudeGlyph(dc, size, second, bx + SecondColumn(m, mode), ry,
                         mode == kEquatorial ? 2 : 1);
    }
    // A body that was not computed has no latitude or speed either.
    if (IsAbsent(point.longitude.Get())) value = kAbsent;
    DrawLongitudeGlyph(dc, size, value, bx + m.textWidth, ry, layoutOfValue);
  }
  return m.height + headRows * m.rowStep;
}

platform::Size ScreenTableSize(const COORD_CONF& layout, platform::Dc& dc, TableKind kind,
                               double scale) {
  // Every block of rows but the last is as wide as the blocks stand apart; the last reaches as far
  // as its values.
  if (kind.mode != 0) {
    const TableMeasure m = MeasureTable(layout, dc, true, scale);
    const int blocks = (DetailBodies(kind.mode) + kDetailRows - 1) / kDetailRows;
    return {(blocks - 1) * DetailBlockWidth(m, kind.mode) + LastBlockReach(dc, m, kind),
            m.height + DetailHeadRows(kind.mode) * m.rowStep};
  }
  const TableMeasure m = MeasureTable(layout, dc, false, scale);
  const int rows = layout.GetRowCount();
  const int blockRows = std::max(1, rows);
  const int extraBlocks = (Extra(layout) + blockRows - 1) / blockRows;
  const int blockColumns = kind.wide ? kWideBlockColumnsScreen : kBlockColumns;
  // Candidates of a table without rows stand in one row.
  const int shownRows = (rows > 0 ? rows : (Extra(layout) > 0 ? 1 : 0)) + (kind.wide ? 1 : 0);
  return {extraBlocks * blockColumns * m.columnWidth + LastBlockReach(dc, m, kind),
          shownRows * m.rowStep};
}

double WindowFitScale(const COORD_CONF& layout, platform::Dc& dc, TableKind kind, int fitWidth,
                      int fitHeight) {
  const double byHeight =
      FitToLimit([&](double scale) { return ScreenTableSize(layout, dc, kind, scale).cy; },
                 Truncate(std::fabs(fitHeight * dc.LogicalPerPixelY())));
  const double byWidth =
      FitToLimit([&](double scale) { return ScreenTableSize(layout, dc, kind, scale).cx; },
                 Truncate(std::fabs(fitWidth * dc.LogicalPerPixelX())));
  // The smallest readable glyphs: an em of kMinFitGlyphPixels pixels.
  const platform::Font font{std::string(platform::kGlyphFaceA), std::max(1, layout.fontSize)};
  const double em = std::fabs(font.EmHeight() / dc.LogicalPerPixelY());
  const double smallest = em > 0 ? std::min(1.0, kMinFitGlyphPixels / em) : 1.0;
  return std::max(std::min(byHeight, byWidth), smallest);
}

}  // namespace coords
