#include "archive/store/archive_browser_list.h"

#include <algorithm>
#include <cstdio>

#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr std::size_t kPathDisplayLimit = 80;  // a display form stays under this length
constexpr std::size_t kPathHeadFrom = 4;       // the head's separator stands after this many
constexpr int kMsgNoArchiveRows = 473;
constexpr int kRowMarginDigits = 38;  // the row's width less this many widths of "1" is shared out

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

void DrawArchiveRow(platform::Dc& dc, const platform::Rect& item, int listWidth,
                    const ArchiveIndexEntry& entry, bool selected, int commentPage) {
  const bool commented =
      commentPage >= 0 && commentPage < kCommentPages && entry.comments.HasText(commentPage);
  const platform::Font old = BeginRow(dc, item, selected, commented ? kArchiveRowCommented : 0);
  const int w = dc.GetTextExtent("1").cx;
  const int q = std::max(listWidth - kRowMarginDigits * w, 0) / 4;
  const int x = item.left;
  const int y = item.top + 1;
  dc.TextOut(x, y, FitTextToWidth(dc, entry.name, 2 * q));
  dc.TextOut(x + 2 * q, y, FitTextToWidth(dc, entry.title, q));
  const std::string moment = ArchiveRowMomentText(entry);
  dc.TextOut(x + 3 * q, y, moment);
  const int placeX = x + 3 * q + dc.GetTextExtent(moment).cx;
  dc.TextOut(placeX, y, FitTextToWidth(dc, entry.town, q));
  dc.TextOut(placeX + q, y, ArchiveRowPlaceText(entry));
  dc.SelectFont(old);
}

void DrawArchiveEmptyRow(platform::Dc& dc, const platform::Rect& item, bool selected) {
  const platform::Font old = BeginRow(dc, item, selected, 0);
  dc.TextOut(item.left, item.top + 1, GetMessageText(kMsgNoArchiveRows));
  dc.SelectFont(old);
}

// --- The list ---

void ArchiveBrowserList::Refill() {
  const int count = archive_.IsIndexBuilt() ? archive_.RecordCount() : 0;
  records_.resize(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) records_[static_cast<std::size_t>(n)] = n;
  selected_.assign(records_.size(), 0);
  top_ = std::clamp(top_, 0, std::max(RecordRowCount() - 1, 0));
  current_ = records_.empty() ? -1 : std::clamp(current_, 0, RecordRowCount() - 1);
}

int ArchiveBrowserList::RecordOfRow(int row) const {
  return ValidRow(row) ? records_[static_cast<std::size_t>(row)] : -1;
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
    ArchiveIndexEntry& entry = archive_.Entry(RecordOfRow(row));
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
  if (archive_.IsIndexBuilt()) archive_.ClearMarks();
}

int ArchiveBrowserList::InvertSelection() {
  for (char& selected : selected_) selected = selected ? 0 : 1;
  return SyncSelection(Sync::kListToMarks);
}

int ArchiveBrowserList::RowOfInitial(char typed) const {
  const char wanted = CharToUpper(typed);
  for (int row = 0; row < RecordRowCount(); ++row) {
    const std::string& name = archive_.Entry(RecordOfRow(row)).name;
    if (!name.empty() && CharToUpper(name[0]) == wanted) return row;
  }
  return -1;
}

int ArchiveBrowserList::VisibleRows(int height, int rowHeight) {
  return std::max(height / std::max(rowHeight, 1), 1);
}

int ArchiveBrowserList::Paint(platform::Dc& dc, int width, int height, int commentPage) const {
  const int rowHeight = ArchiveRowHeight(dc);
  int drawn = 0;
  int y = 0;
  if (records_.empty()) {
    DrawArchiveEmptyRow(dc, {0, 0, width, rowHeight}, false);
    ++drawn;
    y = rowHeight;
  } else {
    for (int row = top_; row < RecordRowCount() && y < height; ++row, y += rowHeight, ++drawn) {
      DrawArchiveRow(dc, {0, y, width, y + rowHeight}, width, archive_.Entry(RecordOfRow(row)),
                     IsSelected(row), commentPage);
    }
  }
  if (y < height) dc.FillRect({0, y, width, height}, ColorByIndex(kArchiveRowBack));
  return drawn;
}
