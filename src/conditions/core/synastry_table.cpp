#include "conditions/core/synastry_table.h"

#include <algorithm>

#include "archive/store/archive.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

namespace {

using platform::Dc;
using platform::Font;

constexpr int kColourCursorFill = 1;
constexpr int kColourRowFill = 15;
constexpr int kColourMarked = 12;
constexpr int kColourCursorText = 14;
constexpr int kColourText = 0;
constexpr int kFirstColumn = 100;  // the first column's distance from the left edge
constexpr int kTimeShift = 20;     // the time column's distance from the date's end
constexpr int kPrintHead = 2500;   // the head of a printed page
constexpr int kPrintInset = 250;   // the rows' distance from the left margin on paper
constexpr int kHeadingLine = 30;   // the thick lines' width

Font TextFont(int size) { return Font{std::string(platform::kTextFace), size}; }

const SynChartTexts& ChartOf(const SynAnalResult& r, int chart) {
  return chart == 1 ? r.chart1 : r.chart2;
}

std::string FieldText(const SynAnalTable& table, const SynAnalResult& r, const SynColumn& c) {
  const SynChartTexts& t = ChartOf(r, c.chart);
  switch (c.field) {
    case SynField::kName:
      return t.name;
    case SynField::kTitle:
      return t.title;
    case SynField::kDate:
      return t.date;
    case SynField::kTime:
      return t.time;
    case SynField::kPlace:
      return t.place;
    case SynField::kArchive:
      return r.slot1 >= 0 && r.slot1 < static_cast<int>(table.Archives().size())
                 ? table.Archives()[static_cast<std::size_t>(r.slot1)].path
                 : std::string();
  }
  return {};
}

// The current chart as the heading names it: name, title, moment and place joined by blanks.
std::string CurrentText(const SynAnalTable& table) {
  if (!table.Current()) return {};
  const SynChartTexts& c = *table.Current();
  return c.name + " " + c.title + " " + c.date + "  " + c.time + " " + c.place;
}

std::string SlotPath(const SynAnalTable& table, int slot) {
  return slot >= 0 && slot < static_cast<int>(table.Archives().size())
             ? table.Archives()[static_cast<std::size_t>(slot)].path
             : std::string();
}

}  // namespace

std::vector<std::string> SynButtonTitles() {
  std::vector<std::string> titles;
  for (const int number :
       {kMsgSynLoad, kMsgSynCopy, kMsgSynMarkAll, kMsgSynUnmarkAll, kMsgSynInvert})
    titles.push_back(GetMessageText(number));
  return titles;
}

std::vector<SynColumn> SynColumns(int mode) {
  using F = SynField;
  if (mode == kSynOneArchive)
    return {{1, F::kName, 0.0, kFirstColumn, 0.3, -kFirstColumn},
            {1, F::kTitle, 0.31, 0, 0.2, 0},
            {1, F::kDate, 0.51, 0, 0.2, 0},
            {1, F::kTime, 0.71, kTimeShift, 0.1, 0},
            {1, F::kPlace, 0.81, kTimeShift, 0.3, 0}};
  if (mode == kSynArchiveList)
    return {{1, F::kName, 0.0, kFirstColumn, 0.2, -kFirstColumn},
            {1, F::kTitle, 0.2, 0, 0.1, 0},
            {1, F::kDate, 0.3, 0, 0.12, 0},
            {1, F::kTime, 0.42, kTimeShift, 0.08, 0},
            {1, F::kPlace, 0.5, kTimeShift, 0.15, 0},
            {1, F::kArchive, 0.65, kTimeShift, 0.0, 0}};
  std::vector<SynColumn> columns;
  for (const int chart : {1, 2}) {
    const double half = chart == 1 ? 0.0 : 0.5;
    columns.push_back({chart, F::kName, half, kFirstColumn, 0.12, -kFirstColumn});
    columns.push_back({chart, F::kTitle, half + 0.12, 0, 0.08, 0});
    columns.push_back({chart, F::kDate, half + 0.2, 0, 0.11, 0});
    columns.push_back({chart, F::kTime, half + 0.31, kTimeShift, 0.06, 0});
    columns.push_back({chart, F::kPlace, half + 0.37, kTimeShift, 0.1, 0});
  }
  return columns;
}

// --- The table ---

void SynAnalTable::TakeOver(SynastryHandOver handOver, bool showArchives) {
  mode_ = handOver.mode;
  results_.clear();
  archives_.clear();
  if (handOver.results) {
    results_ = handOver.results->CopyToArray();
    for (const SynastryArchive& a : handOver.results->Archives())
      archives_.push_back({a.path, a.fileTime, false});
    current_ = handOver.results->current;
    handOver.results->RemoveAll();
  }
  marks_.assign(results_.size(), false);
  description_.clear();
  if (showArchives) {
    description_.push_back(GetMessageText(kMsgHeaderArchives));
    if (current_ && (mode_ == kSynOneArchive || mode_ == kSynArchiveList))
      description_.push_back(GetMessageText(kMsgChartWord) + " " + current_->Line(" "));
    for (const QueryResultArchive& a : archives_) description_.push_back(PathText(a.path));
    description_.emplace_back();
  }
  for (std::string& line : handOver.header) description_.push_back(std::move(line));
}

void SynAnalTable::ToggleMark(int row) {
  if (row >= 0 && row < Count()) marks_[static_cast<std::size_t>(row)] = !Marked(row);
}
void SynAnalTable::MarkAll() { marks_.assign(marks_.size(), true); }
void SynAnalTable::UnmarkAll() { marks_.assign(marks_.size(), false); }
void SynAnalTable::InvertMarks() { marks_.flip(); }

std::vector<int> SynAnalTable::ChosenRows(int cursor) const {
  std::vector<int> chosen;
  for (int i = 0; i < Count(); ++i)
    if (Marked(i)) chosen.push_back(i);
  if (chosen.empty() && cursor >= 0 && cursor < Count()) chosen.push_back(cursor);
  return chosen;
}

std::vector<SynChartRef> SynAnalTable::OpeningOrder(const std::vector<int>& rows) const {
  std::vector<SynChartRef> order;
  for (const int row : rows) {
    const SynAnalResult& r = Result(row);
    const SynChartRef first{r.slot1, r.record1, r.entry1}, second{r.slot2, r.record2, r.entry2};
    if (mode_ == kSynSamePosition || mode_ == kSynTwoArchives) {
      order.push_back(second);
      order.push_back(first);
    } else if (mode_ == kSynEveryPair) {
      order.push_back(first);
      order.push_back(second);
    } else {
      order.push_back(first);
    }
  }
  return order;
}

std::vector<SynCopyOp> SynAnalTable::CopyOrder(const std::vector<int>& rows, bool inPairs) const {
  std::vector<SynCopyOp> ops;
  if (rows.empty()) return ops;
  const auto first = [this](int row) {
    const SynAnalResult& r = Result(row);
    return SynChartRef{r.slot1, r.record1, r.entry1};
  };
  const auto second = [this](int row) {
    const SynAnalResult& r = Result(row);
    return SynChartRef{r.slot2, r.record2, r.entry2};
  };
  const auto each = [&](auto chart) {
    SynCopyOp op{chart(rows.front()).slot, {}};
    for (const int row : rows) op.charts.push_back(chart(row));
    ops.push_back(std::move(op));
  };
  switch (mode_) {
    case kSynOneArchive:
      each(first);
      break;
    case kSynArchiveList:
      for (const int row : rows) {
        const SynChartRef ref = first(row);
        if (ops.empty() || ops.back().slot != ref.slot) ops.push_back({ref.slot, {}});
        ops.back().charts.push_back(ref);
      }
      break;
    case kSynSamePosition:
    case kSynTwoArchives:
      each(first);
      each(second);
      break;
    default:
      if (inPairs) {
        for (const int row : rows) {
          ops.push_back({first(row).slot, {first(row)}});
          ops.push_back({second(row).slot, {second(row)}});
        }
      } else {
        for (const int row : rows) ops.push_back({first(row).slot, {first(row)}});
        for (const int row : rows) ops.push_back({second(row).slot, {second(row)}});
      }
      break;
  }
  return ops;
}

QueryRowsDone SynAnalTable::Load(Archive& archive, const std::vector<int>& rows,
                                 const std::function<bool(Archive&, int)>& open) {
  QueryRowsDone done;
  ResultArchiveAction action(archive, archives_);
  for (const SynChartRef& ref : OpeningOrder(rows)) {
    if (action.Use(ref.slot) && action.Matches(ref.record, ref.entry) && open(archive, ref.record))
      ++done.done;
    else
      ++done.skipped;
  }
  action.Finish();
  return done;
}

QueryRowsDone SynAnalTable::Copy(Archive& archive, const std::vector<int>& rows) {
  QueryRowsDone done;
  if (rows.empty()) return done;
  bool inPairs = true;
  if (mode_ == kSynEveryPair && rows.size() > 1)
    inPairs = platform::GetPrompter().AskYesNo(kMsgCopyInPairs, GetMessageText(kMsgCopyInPairs)) ==
              platform::Answer::Yes;
  std::string target;
  int exists = 0, layout = 0;
  if (archive.Records().ChooseDestinationFile(target, exists, layout) != 0) return done;

  ResultArchiveAction action(archive, archives_);
  for (const SynCopyOp& op : CopyOrder(rows, inPairs)) {
    int marked = 0, taken = 0;  // a chart named by several rows is copied once
    // An archive is never copied into itself.
    if (!Archive::IsSameFile(SlotPath(*this, op.slot), target) && action.Use(op.slot)) {
      archive.ClearMarks();
      for (const SynChartRef& ref : op.charts) {
        if (!action.Matches(ref.record, ref.entry)) continue;
        ++taken;
        if (archive.Entry(ref.record).mark == 'Y') continue;
        archive.Entry(ref.record).mark = 'Y';
        ++marked;
      }
    }
    if (marked > 0 &&
        archive.Records().CopyToArchive(target, exists, layout, false, true, false) == 0) {
      done.done += marked;
      exists = 1;
    } else {
      taken = 0;
    }
    done.skipped += static_cast<int>(op.charts.size()) - taken;
    if (archive.IsOpen()) archive.ClearMarks();
  }
  action.Finish();
  TellCopied(done);
  return done;
}

// --- Drawing ---

std::string SynHeading(Dc& dc, const SynAnalTable& table, int width) {
  const int mode = table.Mode();
  const auto room = [&](const std::string& fixed, int paths) {
    return std::max(0, (width - dc.GetTextExtent(fixed).cx) / std::max(1, paths));
  };
  const std::string path0 = SlotPath(table, 0), path1 = SlotPath(table, 1);
  switch (mode) {
    case kSynOneArchive: {
      const std::string tail = GetMessageText(kMsgForChart) + CurrentText(table);
      const std::string head = GetMessageText(kMsgFromArchive);
      return head + ShortenPathToWidth(dc, path0, room(head + tail, 1)) + tail;
    }
    case kSynArchiveList:
      return GetMessageText(kMsgFromList) + CurrentText(table);
    case kSynSamePosition:
    case kSynTwoArchives: {
      const std::string head =
          GetMessageText(mode == kSynSamePosition ? kMsgTwoArchivesInStep : kMsgTwoArchives);
      const int each = room(head + " ", 2);
      return head + ShortenPathToWidth(dc, path0, each) + " " + ShortenPathToWidth(dc, path1, each);
    }
    default: {
      const std::string head = GetMessageText(kMsgFromArchive);
      return head + ShortenPathToWidth(dc, path0, room(head, 1));
    }
  }
}

SynScreenLayout LayoutSynScreen(Dc& dc, int width, int height, const QueryViewSettings& view,
                                bool largeFont) {
  SynScreenLayout layout;
  layout.width = std::max(1, width);
  layout.fontSize = QueryScreenFontSize(view, largeFont);
  layout.rowHeight = std::max(1, FontCharHeight(dc, platform::kTextFace, layout.fontSize, 'W'));
  layout.gap = view.Clamped().screenGap;
  layout.strip = LayoutButtonStrip(dc, layout.width, SynButtonTitles());
  // The strip stands at the bottom of the window.
  const int top = -std::max(layout.strip.height, height - layout.strip.height);
  layout.strip = LayoutButtonStrip(dc, layout.width, SynButtonTitles(), top);
  return layout;
}

void DrawSynHeading(Dc& dc, const SynAnalTable& table, const SynScreenLayout& layout) {
  const Font oldFont = dc.SelectFont(TextFont(layout.fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(kColourText));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(kFirstColumn, 0, SynHeading(dc, table, layout.width - 2 * kFirstColumn));
  const platform::Pen oldPen = dc.SelectPen(
      platform::Pen{platform::PenStyle::Solid, kHeadingLine, ColorByIndex(kColourText)});
  const int line = -layout.rowHeight * 6 / 5;
  dc.Line({0, line}, {layout.width, line});
  dc.SelectPen(oldPen);
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

void DrawSynStrip(Dc& dc, const SynScreenLayout& layout) {
  DrawButtonStrip(dc, layout.strip, SynButtonTitles(), layout.width);
  const platform::Pen oldPen = dc.SelectPen(
      platform::Pen{platform::PenStyle::Solid, kHeadingLine, ColorByIndex(kColourText)});
  dc.Line({0, layout.strip.top}, {layout.width, layout.strip.top});
  dc.SelectPen(oldPen);
}

void DrawSynRow(Dc& dc, const SynAnalTable& table, int row, int left, int width, int top, int pitch,
                int fontSize, bool cursor, bool paper) {
  if (row < 0 || row >= table.Count()) return;
  const bool marked = table.Marked(row);
  if (!paper)
    dc.FillRect({left, -top, left + width, -(top + pitch)},
                ColorByIndex(cursor ? kColourCursorFill : kColourRowFill));
  const int colour = marked ? kColourMarked : cursor && !paper ? kColourCursorText : kColourText;
  const Font oldFont = dc.SelectFont(TextFont(fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(colour));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const SynAnalResult& r = table.Result(row);
  for (const SynColumn& c : SynColumns(table.Mode())) {
    const int x = left + static_cast<int>(c.x * width) + c.xUnits;
    const int rest = left + width - x;
    const int cell = c.width > 0.0 ? static_cast<int>(c.width * width) + c.widthUnits : rest;
    const std::string text = FieldText(table, r, c);
    dc.TextOut(x, -top,
               c.field == SynField::kArchive
                   ? ShortenPathToWidth(dc, text, std::max(0, rest))
                   : FitTextToWidth(dc, text, std::max(0, std::min(cell, rest))));
  }
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

SynPrintLayout LayoutSynPrint(Dc& dc, const Configuration& config, const QueryViewSettings& view,
                              const SynAnalTable& table) {
  const cfg::PrintSettings& p = config.print;
  SynPrintLayout layout;
  layout.fontSize = QueryPrintFontSize(view, config.largeFont != 0);
  layout.pitch = QueryRowPitch(dc, layout.fontSize, view.Clamped().printGap);
  layout.left = p.marginLeft + kPrintInset;
  layout.width = std::max(1, kA4Width - p.marginRight - layout.left);
  layout.top = p.marginTop + kPrintHead;
  layout.rowsPerPage =
      lists::FitCount(kA4Height - p.marginTop - p.marginBottom - kPrintHead, layout.pitch);
  layout.lines = static_cast<int>(table.Description().size()) + table.Count();
  return layout;
}

void DrawSynPage(Dc& dc, const Configuration& config, const SynPrintLayout& layout,
                 const SynAnalTable& table, int page) {
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  DrawPageOrnament(dc, config);
  DrawPageTitle(dc, config, lists::PageTitle(GetMessageText(kMsgSynastryPrintTitle), page));
  const int described = static_cast<int>(table.Description().size());
  const int first = (page - 1) * layout.rowsPerPage;
  const int last = std::min(layout.lines, first + layout.rowsPerPage);
  const Font oldFont = dc.SelectFont(TextFont(layout.fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(kColourText));
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  for (int line = first; line < last; ++line) {
    const int top = layout.top + (line - first) * layout.pitch;
    if (line < described) {
      const std::string& text = table.Description()[static_cast<std::size_t>(line)];
      dc.TextOut(layout.left, -top, FitTextToWidth(dc, text, layout.width));
    } else {
      DrawSynRow(dc, table, line - described, layout.left, layout.width, top, layout.pitch,
                 layout.fontSize, false, true);
    }
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}
