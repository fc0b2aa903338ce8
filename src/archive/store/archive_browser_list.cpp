#include "archive/store/archive_browser_list.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr std::size_t kPathDisplayLimit = 80;  // a display form stays under this length
constexpr std::size_t kPathHeadFrom = 4;       // the head's separator stands after this many
constexpr int kHeadingRule = 8;                // the line under the headings (palette)

platform::Font RowFont() {
  return platform::Font{std::string(platform::kTextFace), kArchiveRowFontSize};
}

}  // namespace

std::string ArchivePathDisplay(std::string_view path) {
  if (path.size() < kPathDisplayLimit) return std::string(path);
  const std::size_t cut = path.find('/', kPathHeadFrom);
  // Without a separator for the head (or with a head too long to leave room), the head is the
  // first characters, so that the display form still stays under the limit.
  const std::size_t headLength =
      cut != std::string_view::npos && cut + 1 + 3 < kPathDisplayLimit ? cut + 1 : kPathHeadFrom;
  std::string shown(path.substr(0, headLength));
  shown += "...";
  for (std::size_t from = path.find('/', headLength); from != std::string_view::npos;
       from = path.find('/', from + 1)) {
    if (shown.size() + (path.size() - from) < kPathDisplayLimit) {
      shown += path.substr(from);
      break;
    }
  }
  return shown;
}

std::string ArchiveRowMomentText(const ArchiveIndexEntry& e) {
  char text[64];
  std::snprintf(text, sizeof text, "%.02d.%.02d.%.04d  %.02d:%.02d  %c%.02d:%.02d  ", e.day,
                e.month, e.year, e.hours, e.minutes, e.zoneSign, e.zoneHours, e.zoneMinutes);
  return text;
}

std::string ArchiveRowPlaceText(const ArchiveIndexEntry& e) {
  char text[48];
  std::snprintf(text, sizeof text, "%.02d%c%.02d  %.03d%c%.02d", e.latDegrees, e.latLetter,
                e.latMinutes, e.lonDegrees, e.lonLetter, e.lonMinutes);
  return text;
}

int ArchiveRowHeight(platform::Dc& dc) {
  const platform::Font old = dc.SelectFont(RowFont());
  const int height = dc.GetTextMetrics().height + 2;
  dc.SelectFont(old);
  return std::max(height, 1);
}

namespace {

// Fills the row with its background and sets the text colours; returns the old font.
platform::Font BeginRow(platform::Dc& dc, const platform::Rect& item, bool selected, int text) {
  dc.FillRect(item, ColorByIndex(selected ? kArchiveRowSelectedBack : kArchiveRowBack));
  dc.SetTextColor(ColorByIndex(selected ? kArchiveRowSelectedText : text));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  return dc.SelectFont(RowFont());
}

}  // namespace

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// The widest of `texts` in the selected font. Texts are measured from the longest down, each
// different text once, and the search stops where no shorter text can be wider than the widest
// found: a character is never wider than the widest of the wide letters measured first.
int WidestText(platform::Dc& dc, const std::vector<std::string_view>& texts) {
  int widestCharacter = 1;
  for (const char* wide : {"W", "M", "m", "@", "Ж", "Ш", "Щ", "Ю", "Д", "Ф"})
    widestCharacter = std::max(widestCharacter, dc.GetTextExtent(Cp1251(wide)).cx);
  std::vector<std::vector<std::string_view>> byLength;
  for (std::string_view text : texts) {
    if (text.empty()) continue;
    if (byLength.size() <= text.size()) byLength.resize(text.size() + 1);
    byLength[text.size()].push_back(text);
  }
  int widest = 0;
  for (std::size_t length = byLength.size(); length-- > 1;) {
    if (static_cast<long long>(length) * widestCharacter <= widest) break;
    std::vector<std::string_view>& same = byLength[length];
    std::sort(same.begin(), same.end());
    same.erase(std::unique(same.begin(), same.end()), same.end());
    for (std::string_view text : same) widest = std::max(widest, dc.GetTextExtent(text).cx);
  }
  return widest;
}

}  // namespace

ArchiveColumnWidths MeasureArchiveColumns(platform::Dc& dc, const ArchiveIndex& index) {
  const platform::Font old = dc.SelectFont(RowFont());
  const int count = index.IsIndexBuilt() ? index.RecordCount() : 0;
  // The headings of the columns that fit their texts: shown whole over any rows, or none.
  std::vector<std::string_view> names{GetMessageText(kMsgNameColumn)},
      titles{GetMessageText(kMsgTypeColumn)}, places{GetMessageText(kMsgPlaceColumn)};
  names.reserve(static_cast<std::size_t>(count) + 1);
  titles.reserve(static_cast<std::size_t>(count) + 1);
  places.reserve(static_cast<std::size_t>(count) + 1);
  for (int n = 0; n < count; ++n) {
    const ArchiveIndexEntry& e = index.Entry(n);
    names.push_back(Trimmed(e.name));
    titles.push_back(Trimmed(e.title));
    places.push_back(Trimmed(e.town));
  }
  ArchiveColumnWidths widths;
  widths.name = WidestText(dc, names);
  widths.title = WidestText(dc, titles);
  widths.place = WidestText(dc, places);
  // The fixed forms in the widest digit, with either sign and hemisphere letters.
  char digit = '0';
  for (char d = '1'; d <= '9'; ++d)
    if (dc.GetTextExtent(std::string(1, d)).cx > dc.GetTextExtent(std::string(1, digit)).cx)
      digit = d;
  const std::string dd(2, digit), ddd(3, digit);
  for (const char* sign : {"+", "-"})
    widths.moment =
        std::max(widths.moment, dc.GetTextExtent(dd + '.' + dd + '.' + dd + dd + "  " + dd + ':' +
                                                 dd + "  " + sign + dd + ':' + dd)
                                    .cx);
  for (const char* letters : {"NE", "NW", "SE", "SW"})
    widths.coordinates =
        std::max(widths.coordinates,
                 dc.GetTextExtent(dd + letters[0] + dd + "  " + ddd + letters[1] + dd).cx);
  dc.SelectFont(old);
  return widths;
}

int ArchiveColumnGap(platform::Dc& dc) {
  const platform::Font old = dc.SelectFont(RowFont());
  const int gap = 2 * dc.GetTextExtent("1").cx;
  dc.SelectFont(old);
  return gap;
}

ArchiveColumns LayOutArchiveColumns(const ArchiveColumnWidths& widest, int gap, int digitWidth,
                                    int listWidth) {
  std::array<int, 3> texts{widest.name, widest.title, widest.place};
  // A gap after every column, the last one's keeping it off the list's edge.
  const int fixed = widest.moment + widest.coordinates + 5 * gap;
  const int room = listWidth - fixed;
  if (texts[0] + texts[1] + texts[2] > room) {
    // One width for the wide columns such that all three fill the room.
    const int least = kArchiveMinTextColumn * std::max(digitWidth, 1);
    std::array<int, 3> sorted = texts;
    std::sort(sorted.begin(), sorted.end());
    int cut = 0, left = std::max(room, 0);
    for (int i = 0; i < 3; ++i) {
      const int share = left / (3 - i);
      if (sorted[static_cast<std::size_t>(i)] <= share) {
        left -= sorted[static_cast<std::size_t>(i)];
        continue;
      }
      cut = share;
      break;
    }
    for (int& width : texts)
      if (width > cut) width = std::max(cut, std::min(width, least));
  }
  ArchiveColumns c;
  c.nameWidth = texts[0];
  c.titleX = c.nameX + c.nameWidth + gap;
  c.titleWidth = texts[1];
  c.momentX = c.titleX + c.titleWidth + gap;
  c.placeX = c.momentX + widest.moment + gap;
  c.placeWidth = texts[2];
  c.coordinatesX = c.placeX + c.placeWidth + gap;
  return c;
}

void DrawArchiveRow(platform::Dc& dc, const platform::Rect& item, const ArchiveColumns& columns,
                    const ArchiveIndexEntry& entry, bool selected, int commentPage) {
  const bool commented =
      commentPage >= 0 && commentPage < kCommentPages && entry.comments.HasText(commentPage);
  const platform::Font old = BeginRow(dc, item, selected, commented ? kArchiveRowCommented : 0);
  const int x = item.left;
  const int y = item.top + 1;
  dc.TextOut(x + columns.nameX, y, FitTextToWidth(dc, Trimmed(entry.name), columns.nameWidth));
  dc.TextOut(x + columns.titleX, y, FitTextToWidth(dc, Trimmed(entry.title), columns.titleWidth));
  dc.TextOut(x + columns.momentX, y, Trimmed(ArchiveRowMomentText(entry)));
  dc.TextOut(x + columns.placeX, y, FitTextToWidth(dc, Trimmed(entry.town), columns.placeWidth));
  dc.TextOut(x + columns.coordinatesX, y, ArchiveRowPlaceText(entry));
  dc.SelectFont(old);
}

void DrawArchiveEmptyRow(platform::Dc& dc, const platform::Rect& item, bool selected, int message) {
  const platform::Font old = BeginRow(dc, item, selected, 0);
  dc.TextOut(item.left, item.top + 1, GetMessageText(message));
  dc.SelectFont(old);
}

// --- The list ---

void ArchiveBrowserList::Refill() {
  widestKnown_ = false;
  const int count = index_.IsIndexBuilt() ? index_.RecordCount() : 0;
  std::error_code ec;
  unread_ = !index_.IsIndexBuilt() && !index_.GetPath().empty() &&
            std::filesystem::exists(index_.GetPath(), ec);
  records_.resize(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) records_[static_cast<std::size_t>(n)] = n;
  selected_.assign(records_.size(), 0);
  top_ = std::clamp(top_, 0, std::max(RecordRowCount() - 1, 0));
  current_ = records_.empty() ? -1 : std::clamp(current_, 0, RecordRowCount() - 1);
}

int ArchiveBrowserList::EmptyRowMessage() const {
  return unread_ ? kMsgArchiveNotRead : kMsgNoArchiveRows;
}

int ArchiveBrowserList::RecordOfRow(int row) const {
  // A row of a list the index no longer holds (an archive emptied under it) acts on nothing.
  const int record = ValidRow(row) ? records_[static_cast<std::size_t>(row)] : -1;
  return record < static_cast<int>(index_.Entries().size()) ? record : -1;
}

bool ArchiveBrowserList::IsSelected(int row) const {
  return ValidRow(row) && selected_[static_cast<std::size_t>(row)] != 0;
}

void ArchiveBrowserList::SetSelected(int row, bool on) {
  if (ValidRow(row)) selected_[static_cast<std::size_t>(row)] = on ? 1 : 0;
}

void ArchiveBrowserList::ClearSelection() { std::fill(selected_.begin(), selected_.end(), 0); }

void ArchiveBrowserList::SelectRange(int from, int to) {
  if (from > to) std::swap(from, to);
  for (int row = std::max(from, 0); row <= to && row < RecordRowCount(); ++row)
    selected_[static_cast<std::size_t>(row)] = 1;
}

int ArchiveBrowserList::SelectedCount() const {
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
}

int ArchiveBrowserList::FirstSelectedRow() const {
  const auto it = std::find(selected_.begin(), selected_.end(), 1);
  return it == selected_.end() ? -1 : static_cast<int>(it - selected_.begin());
}

void ArchiveBrowserList::SetCurrentRow(int row) {
  current_ = records_.empty() ? -1 : std::clamp(row, 0, RecordRowCount() - 1);
}

void ArchiveBrowserList::SetTopRow(int row, int visibleRows) {
  const int last = std::max(RecordRowCount() - std::max(visibleRows, 1), 0);
  top_ = std::clamp(row, 0, last);
}

void ArchiveBrowserList::EnsureVisible(int row, int visibleRows) {
  visibleRows = std::max(visibleRows, 1);
  if (row < top_)
    SetTopRow(row, visibleRows);
  else if (row >= top_ + visibleRows)
    SetTopRow(row - visibleRows + 1, visibleRows);
}

int ArchiveBrowserList::SyncSelection(Sync direction) {
  int count = 0;
  for (int row = 0; row < RecordRowCount(); ++row) {
    const int record = RecordOfRow(row);
    if (record < 0) continue;
    ArchiveIndexEntry& entry = index_.Entry(record);
    char& selected = selected_[static_cast<std::size_t>(row)];
    if (direction == Sync::kListToMarks)
      entry.mark = selected ? 'Y' : 'N';
    else
      selected = entry.IsSelected() ? 1 : 0;
    count += selected;
  }
  return count;
}

int ArchiveBrowserList::SelectAll() {
  std::fill(selected_.begin(), selected_.end(), 1);
  return SyncSelection(Sync::kListToMarks);
}

void ArchiveBrowserList::SelectNone() {
  ClearSelection();
  if (index_.IsIndexBuilt()) index_.ClearMarks();
}

int ArchiveBrowserList::InvertSelection() {
  for (char& selected : selected_) selected = selected ? 0 : 1;
  return SyncSelection(Sync::kListToMarks);
}

int ArchiveBrowserList::RowOfInitial(char typed) const {
  const char wanted = CharToUpper(typed);
  for (int row = 0; row < RecordRowCount(); ++row) {
    const int record = RecordOfRow(row);
    if (record < 0) continue;
    const std::string& name = index_.Entry(record).name;
    if (!name.empty() && CharToUpper(name[0]) == wanted) return row;
  }
  return -1;
}

int ArchiveBrowserList::VisibleRows(int height, int rowHeight) {
  return std::max(height / std::max(rowHeight, 1), 1);
}

ArchiveColumns ArchiveBrowserList::Columns(platform::Dc& dc, int width) const {
  if (!widestKnown_) {
    widest_ = MeasureArchiveColumns(dc, index_);
    widestKnown_ = true;
  }
  const platform::Font old = dc.SelectFont(RowFont());
  const int digit = dc.GetTextExtent("1").cx;
  dc.SelectFont(old);
  return LayOutArchiveColumns(widest_, ArchiveColumnGap(dc), digit, width);
}

void ArchiveBrowserList::PaintHeadings(platform::Dc& dc, int width) const {
  const int rowHeight = ArchiveRowHeight(dc);
  const ArchiveColumns columns = Columns(dc, width);
  const platform::Font old = BeginRow(dc, {0, 0, width, rowHeight}, false, 0);
  const int y = 1;
  dc.TextOut(columns.nameX, y,
             FitTextToWidth(dc, GetMessageText(kMsgNameColumn), columns.nameWidth));
  dc.TextOut(columns.titleX, y,
             FitTextToWidth(dc, GetMessageText(kMsgTypeColumn), columns.titleWidth));
  dc.TextOut(columns.momentX, y, GetMessageText(kMsgMomentColumn));
  dc.TextOut(columns.placeX, y,
             FitTextToWidth(dc, GetMessageText(kMsgPlaceColumn), columns.placeWidth));
  dc.TextOut(columns.coordinatesX, y, GetMessageText(kMsgCoordinatesColumn));
  dc.SelectFont(old);
  dc.FillRect({0, rowHeight - 1, width, rowHeight}, ColorByIndex(kHeadingRule));
}

int ArchiveBrowserList::Paint(platform::Dc& dc, int width, int height, int commentPage) const {
  const int rowHeight = ArchiveRowHeight(dc);
  const ArchiveColumns columns = Columns(dc, width);
  int drawn = 0;
  int y = 0;
  if (records_.empty()) {
    DrawArchiveEmptyRow(dc, {0, 0, width, rowHeight}, false, EmptyRowMessage());
    ++drawn;
    y = rowHeight;
  } else {
    for (int row = top_; row < RecordRowCount() && y < height; ++row, y += rowHeight, ++drawn) {
      if (RecordOfRow(row) < 0) break;
      DrawArchiveRow(dc, {0, y, width, y + rowHeight}, columns, index_.Entry(RecordOfRow(row)),
                     IsSelected(row), commentPage);
    }
  }
  if (y < height) dc.FillRect({0, y, width, height}, ColorByIndex(kArchiveRowBack));
  return drawn;
}
