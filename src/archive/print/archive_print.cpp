#include "archive/print/archive_print.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "archive/store/list_lock.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr int kCuspPoints = 50;      // points 50..61 are the cusps 1..12
constexpr int kHeadFontSize = 4000;  // 40 pt
constexpr int kScreenFirstSize = 3000;
constexpr int kPrintStep = 100;          // 10 pt
constexpr int kCoordinateIndent = 1000;  // the coordinate cells, right of the left margin
constexpr int kPrintHeight = 29200;
constexpr int kHeaderHeight = 1400;

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

std::string Trimmed(std::string_view s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

std::string Format(const char* fmt, int a, int b, int c = 0) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, fmt, a, b, c);
  return buffer;
}

std::string DateText(const ArchiveIndexEntry& e) {
  return Format("%02d:%02d:%04d", e.day, e.month, e.year) + (e.era == 'B' ? " BC" : "");
}

std::string LongitudeText(double longitude) {
  if (IsAbsent(longitude)) return "-777.0";
  const int minutes =
      static_cast<int>(std::floor(NormalizeDegrees(longitude) * 60.0 + 0.5)) % 21600;
  const int sign = minutes / 1800, inSign = minutes % 1800;
  std::string text = Format("%02d", inSign / 60, 0);
  text += glyphs::kDegreeMark;
  text += Format("%02d", inSign % 60, 0);
  text += glyphs::kMinuteMark;
  return std::string(1, glyphs::Sign(sign)) + text;
}

char PointGlyph(int point) {
  return point >= kCuspPoints ? glyphs::Cusp(point - kCuspPoints) : glyphs::Point(point);
}

int HeightOfW(platform::Dc& dc, int size) {
  return FontCharHeight(dc, platform::kTextFace, size, 'W');
}

}  // namespace

namespace {

using P = ArchivePrintParams;
using cfg::Bind;

// Read into range (a comment page out of range as none, an interval that is not a number as its
// default); written as they stand.
constexpr cfg::FieldTable kFields{
    Bind(&P::fontSize, cfg::ArchivePrintParams::kFontSize,
         cfg::Clamp{P::kMinFontSize, P::kMaxFontSize}),
    Bind(&P::lineInterval, cfg::ArchivePrintParams::kLineInterval,
         cfg::Clamp{P::kMinInterval, P::kMaxInterval}),
    Bind(&P::coordinates, cfg::ArchivePrintParams::kCoordinates, cfg::NonZero{}),
    Bind(cfg::Element{&P::commentPages, 0}, cfg::ArchivePrintParams::kCommentPage1,
         cfg::InRange{0, P::kNoPage}),
    Bind(cfg::Element{&P::commentPages, 1}, cfg::ArchivePrintParams::kCommentPage2,
         cfg::InRange{0, P::kNoPage}),
    Bind(&P::selectedOnly, cfg::ArchivePrintParams::kSelectedOnly, cfg::NonZero{}),
    Bind(&P::hint, cfg::ArchivePrintParams::kHint, cfg::NonZero{})};

}  // namespace

ArchivePrintParams ArchivePrintParams::FromBlock(const cfg::ByteBlock& block) {
  ArchivePrintParams p;
  kFields.Read(block, p);
  return p;
}

void ArchivePrintParams::ToBlock(cfg::ByteBlock& block) const { kFields.Write(*this, block); }

bool ArchivePrintHintDue(int hint, std::uint32_t launchCounter) {
  return hint != 0 || launchCounter % 20 == 0;
}

std::string CommentLineText(std::string_view text) {
  std::string line(text.substr(0, kCommentLineChars));
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

std::vector<int> PrintedPoints(const COORD_CONF& layout) {
  std::vector<int> points;
  for (int k = 0; k < COORD_CONF::kSlotCount; ++k)
    if (layout.slots[static_cast<std::size_t>(k)] < COORD_CONF::kNotInTable) points.push_back(k);
  return points;
}

int PaginateCharts(std::vector<PrintedChart>& charts, int linesPerPage) {
  linesPerPage = std::max(1, linesPerPage);
  int pages = 1, sum = 0;
  for (std::size_t i = 0; i < charts.size(); ++i) {
    PrintedChart& c = charts[i];
    c.newPage = i == 0;
    if (i > 0 && sum + c.lines > linesPerPage) {
      c.newPage = true;
      ++pages;
      sum = 0;
    }
    sum += c.lines;
  }
  return pages;
}

int ArchivePrintList::Build(Archive& archive, const ArchivePrintParams& params,
                            const COORD_CONF& layout) {
  charts_.clear();
  points_.clear();
  // The records and their texts are read whole, of the file the list describes: a list another
  // copy of the program changed is read again (message kMsgArchiveChangedElsewhere) and nothing
  // is printed, since the marks chosen on the old list are gone.
  const ListLock lock(archive.Index(), LockMode::kShared);
  if (!lock.Ok()) return -1;
  try {
    const int count = archive.RecordCount();
    const bool selectedOnly = params.selectedOnly != 0 && archive.MarkedCount() > 0;
    if (params.coordinates != 0) points_ = PrintedPoints(layout);
    std::FILE* handle = points_.empty() ? nullptr : archive.Open(lock);
    for (int n = 0; n < count; ++n) {
      const ArchiveIndexEntry& entry = archive.Entry(n);
      if (selectedOnly && !entry.IsSelected()) continue;
      PrintedChart& c = charts_.emplace_back();
      c.entry = entry;
      c.record = n;
      if (!points_.empty()) {
        c.longitudes.assign(points_.size(), kAbsent);
        Chart chart;
        if (handle && archive.Load(handle, chart, n) == n) {
          c.localSpace = chart.IsLocalSpace();
          for (std::size_t k = 0; k < points_.size(); ++k) {
            const int p = points_[k];
            c.longitudes[k] = p >= kCuspPoints ? chart.GetCusp(p - kCuspPoints).Get()
                                               : chart.GetPointLongitude(p).Get();
          }
        }
        c.lines += CoordinateLineCount(static_cast<int>(points_.size()));
      }
      for (std::size_t k = 0; k < 2; ++k) {
        const int page = params.commentPages[k];
        if (page < 0 || page >= ArchivePrintParams::kNoPage) continue;
        std::string text;
        archive.Comments().ReadComment(n, page, text, lock);
        c.comments[k] = CommentLineText(text);
        ++c.lines;
      }
    }
    if (handle) archive.Close(handle);
  } catch (const std::bad_alloc&) {
    charts_ = {};
    points_ = {};
    ReportError(kErrNoMemory, "CArchivePrint::OnInitialUpdate", 1);
    return -1;
  }
  return 0;
}

int ArchivePrintList::TotalLines() const {
  int total = 0;
  for (const PrintedChart& c : charts_) total += c.lines;
  return total;
}

ArchivePrinter::ArchivePrinter(ArchivePrintList& list, const ArchivePrintParams& params,
                               PageMargins margins, std::string archivePath, int layout)
    : list_(list),
      params_(params),
      margins_(margins),
      path_(std::move(archivePath)),
      layout_(layout) {
  params_.lineInterval = std::max(params_.lineInterval, ArchivePrintParams::kMinInterval);
}

void ArchivePrinter::MeasurePrint(platform::Dc& dc) {
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(params_.fontSize));
  const int w = std::max(1, dc.GetTextExtent(" ").cx);
  // The name and type columns get a blank beyond their widest text, so that the text that set a
  // column's width still fits it once the font is stepped down.
  int a = w, b = w;
  for (const PrintedChart& c : list_.Charts()) {
    a = std::max(a, dc.GetTextExtent(Trimmed(c.entry.name)).cx + w);
    b = std::max(b, dc.GetTextExtent(Trimmed(c.entry.title)).cx + w);
  }
  const int cPlace = dc.GetTextExtent("5555555555555").cx + 3 * w;
  const int dDate = dc.GetTextExtent(kDateLineSample).cx + 3 * w;
  const int eBase = dc.GetTextExtent("5555555555").cx;
  const int e = layout_ == kLayout4400 ? eBase + 3 * w : eBase / 5;
  const int f = dc.GetTextExtent("55555").cx;
  const double s = std::max(1.0, static_cast<double>(a) + b + cPlace + dDate + e + f);
  columns_ = {a / s * 100,     b / s * 100, cPlace / s * 100,
              dDate / s * 100, e / s * 100, f / s * 100};

  const int dateWidth = static_cast<int>(PrintableWidth() * columns_.date / 100);
  // Stepping down by 10 pt from the largest size: the first size at which the sample fits.
  int size = params_.fontSize;
  while (size > kPrintStep &&
         TextWidthInFont(dc, platform::kTextFace, size, kDateLineSample) > dateWidth)
    size -= kPrintStep;
  printFontSize_ = std::max(size, ArchivePrintParams::kMinFontSize);
  printLineHeight_ =
      std::max(1, static_cast<int>(HeightOfW(dc, printFontSize_) * params_.lineInterval));
  // The column headings take the header's last line.
  headerHeight_ = kHeaderHeight + printLineHeight_;
  linesPerPage_ = std::max(
      1, (kPrintHeight - headerHeight_ - margins_.top - margins_.bottom) / printLineHeight_);
  pageCount_ = PaginateCharts(list_.Charts(), linesPerPage_);
}

void ArchivePrinter::MeasureScreen(platform::Dc& dc, int width) {
  if (columns_.date <= 0) MeasurePrint(dc);
  const int dateWidth = std::max(1, static_cast<int>(width * columns_.date / 100));
  const int size =
      FitFontWidth(dc, platform::kTextFace, kScreenFirstSize, dateWidth, kDateLineSample);
  screenFontSize_ = size > 0 ? size : ArchivePrintParams::kMinFontSize;
  screenRowHeight_ =
      std::max(1, static_cast<int>(HeightOfW(dc, screenFontSize_) * params_.lineInterval));
}

int ArchivePrinter::PageOfChart(int chart) const {
  int page = 0;
  const auto& charts = list_.Charts();
  for (int i = 0; i <= chart && i < static_cast<int>(charts.size()); ++i)
    if (charts[static_cast<std::size_t>(i)].newPage) ++page;
  return std::max(1, page);
}

void ArchivePrinter::DrawPageHead(platform::Dc& dc, int page) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), 6000});
  // The whole ornament, as every printed page of the program draws it, ending at the right.
  const int ornamentRight = 20300 - margins_.right;
  const int ornamentLeft = ornamentRight - dc.GetTextExtent(glyphs::kOrnament).cx;
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(ornamentRight, -250 - margins_.top, glyphs::kOrnament);

  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(kHeadFontSize));
  std::string suffix;
  if (pageCount_ > 1) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " (%s %d)", GetMessageText(kMsgPageWord).c_str(), page);
    suffix = buffer;
  }
  // Centred between the margins, the title keeps a blank's width from the ornament: the path is
  // shortened to what is left of 10000 units and of that room.
  const int middle = margins_.left + (21000 - margins_.left - margins_.right) / 2;
  const int room = 2 * (ornamentLeft - dc.GetTextExtent(" ").cx - middle);
  const int pathWidth = std::min(10000, room - dc.GetTextExtent(suffix).cx);
  const std::string title = ShortenPathToWidth(dc, path_, pathWidth) + suffix;
  const int width = dc.GetTextExtent(title).cx;
  dc.TextOut(middle - width / 2, -600 - margins_.top, title);
}

ArchivePrinter::LineColumns ArchivePrinter::ColumnsOfLine(int x0, int width) const {
  const double u = width * columns_.gap * 0.002;
  // Rounded up: the widest text of a column keeps its whole width.
  const auto share = [width](double percent) {
    return static_cast<int>(std::ceil(width * percent / 100 - 1e-9));
  };
  LineColumns c;
  c.name = x0;
  c.nameWidth = share(columns_.name);
  c.typeWidth = share(columns_.type);
  const int dw = share(columns_.date);
  c.placeWidth = share(columns_.place);
  c.type = x0 + c.nameWidth + static_cast<int>(3 * u);
  c.date = c.type + c.typeWidth + static_cast<int>(u);
  c.time = c.date + static_cast<int>(0.28 * dw);
  c.zone = c.date + static_cast<int>(0.42 * dw);
  c.latitude = c.date + static_cast<int>(0.62 * dw);
  c.longitude = c.date + static_cast<int>(0.80 * dw);
  c.place = c.date + dw + static_cast<int>(u);
  c.marks = c.place + c.placeWidth + static_cast<int>(u);
  return c;
}

void ArchivePrinter::DrawChartLine(platform::Dc& dc, const PrintedChart& chart, int x0, int y,
                                   int width) const {
  const LineColumns c = ColumnsOfLine(x0, width);
  const ArchiveIndexEntry& e = chart.entry;
  dc.TextOut(c.name, y, FitTextToWidth(dc, Trimmed(e.name), c.nameWidth));
  dc.TextOut(c.type, y, FitTextToWidth(dc, Trimmed(e.title), c.typeWidth));
  dc.TextOut(c.date, y, DateText(e));
  dc.TextOut(c.time, y, Format("%02d:%02d", e.hours, e.minutes));
  dc.TextOut(c.zone, y,
             std::string(1, e.zoneSign) + Format("%02d:%02d", e.zoneHours, e.zoneMinutes));
  dc.TextOut(c.latitude, y, Format("%02d%c%02d", e.latDegrees, e.latLetter, e.latMinutes));
  dc.TextOut(c.longitude, y, Format("%03d%c%02d", e.lonDegrees, e.lonLetter, e.lonMinutes));
  dc.TextOut(c.place, y, FitTextToWidth(dc, Trimmed(e.town), c.placeWidth));
  if (layout_ == kLayout4400) {
    std::string marks(kCommentPages, '-');
    for (int k = 0; k < kCommentPages; ++k)
      if (e.comments.HasText(k)) marks[static_cast<std::size_t>(k)] = '*';
    dc.TextOut(c.marks, y, marks);
  }
}

void ArchivePrinter::DrawColumnHeads(platform::Dc& dc, int x0, int y, int width) const {
  const LineColumns c = ColumnsOfLine(x0, width);
  dc.TextOut(c.name, y, FitTextToWidth(dc, GetMessageText(kMsgNameColumn), c.nameWidth));
  dc.TextOut(c.type, y, FitTextToWidth(dc, GetMessageText(kMsgTypeColumn), c.typeWidth));
  dc.TextOut(c.date, y, GetMessageText(kMsgDateColumn));  // over the date and the time
  dc.TextOut(c.zone, y, GetMessageText(kMsgZoneColumn));
  dc.TextOut(c.latitude, y, GetMessageText(kMsgLatitudeColumn));
  dc.TextOut(c.longitude, y, GetMessageText(kMsgLongitudeColumn));
  dc.TextOut(c.place, y, FitTextToWidth(dc, GetMessageText(kMsgPlaceColumn), c.placeWidth));
  if (layout_ == kLayout4400) dc.TextOut(c.marks, y, GetMessageText(kMsgMarksColumn));
}

int ArchivePrinter::DrawCoordinateLines(platform::Dc& dc, const PrintedChart& chart, int y) const {
  const auto& points = list_.Points();
  const int cell = CommentWidth() / kPointsPerLine;
  const int glyphSize = printFontSize_;
  const platform::Color colour = chart.localSpace ? ColorByIndex(1) : platform::kBlack;
  int lines = 0;
  for (std::size_t k = 0; k < points.size() && k < chart.longitudes.size(); ++k) {
    const int column = static_cast<int>(k) % kPointsPerLine;
    if (column == 0 && k > 0) ++lines;
    const int x = margins_.left + kCoordinateIndent + column * cell;
    const int yy = y - lines * printLineHeight_;
    dc.SetTextColor(colour);
    DrawGlyphText(dc, x, yy, PointGlyph(points[k]), 'a', glyphSize, platform::BkMode::Transparent);
    const platform::DcState keep(dc);
    dc.SelectFont(TextFont(printFontSize_));
    const std::string text = LongitudeText(chart.longitudes[k]);
    if (text.front() == '-') {
      dc.TextOut(x + cell / 5, yy, text);
    } else {
      DrawGlyphText(dc, x + cell / 5, yy, text.front(), 'a', glyphSize,
                    platform::BkMode::Transparent);
      dc.TextOut(x + cell / 5 + cell / 8, yy, text.substr(1));
    }
  }
  dc.SetTextColor(platform::kBlack);
  return points.empty() ? 0 : lines + 1;
}

void ArchivePrinter::PrintPage(platform::Dc& dc, int page) const {
  DrawPageHead(dc, page);
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(printFontSize_));
  const auto& charts = list_.Charts();
  int current = 0;
  std::size_t i = 0;
  while (i < charts.size() && current < page) {
    if (charts[i].newPage && ++current == page) break;
    ++i;
  }
  DrawColumnHeads(dc, margins_.left, -(margins_.top + kHeaderHeight), PrintableWidth());
  int y = -(margins_.top + headerHeight_);
  for (; i < charts.size(); ++i) {
    const PrintedChart& c = charts[i];
    if (c.newPage && PageOfChart(static_cast<int>(i)) != page) break;
    DrawChartLine(dc, c, margins_.left, y, PrintableWidth());
    y -= printLineHeight_;
    for (const std::string& comment : c.comments) {
      if (comment.empty()) continue;
      dc.TextOut(margins_.left, y, FitTextToWidth(dc, comment, CommentWidth()));
      y -= printLineHeight_;
    }
    const int used = DrawCoordinateLines(dc, c, y);
    y -= used * printLineHeight_;
  }
}

void ArchivePrinter::DrawScreenHeads(platform::Dc& dc, int y, int width) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(screenFontSize_));
  DrawColumnHeads(dc, static_cast<int>(width * columns_.mark / 200), y, width);
}

void ArchivePrinter::DrawScreenRow(platform::Dc& dc, int chart, int y, int width) const {
  const auto& charts = list_.Charts();
  if (chart < 0 || chart >= static_cast<int>(charts.size())) return;
  const PrintedChart& c = charts[static_cast<std::size_t>(chart)];
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(screenFontSize_));
  const int dw = static_cast<int>(width * columns_.date / 100);
  if (c.newPage) {
    dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 10, platform::kBlack});
    dc.Line({0, y}, {width, y});
    dc.TextOut(width - static_cast<int>(0.15 * dw), y + screenRowHeight_ / 5,
               Format("%d", PageOfChart(chart), 0));
  }
  const int x0 = static_cast<int>(width * columns_.mark / 200);
  DrawChartLine(dc, c, x0, y, width);
}
