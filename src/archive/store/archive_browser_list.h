// The record list of the archive browser without a window: one row per record of the archive's
// index (the row's item data is the record number), the list's own selection beside the records'
// 'Y'/'N' marks and the copying between the two, the first visible row, the jump by a typed
// initial, the texts and the drawing of a row through a device context, and the display form of
// an archive path in the recent-archive list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/store/archive_index.h"
#include "archive/store/archive_index_entry.h"
#include "platform/core/dc.h"

// The display form of an archive path: a path of fewer than 80 characters as it is; a longer one
// as its head (up to the first '/' after the fourth character), "..." and the longest tail from a
// '/' that keeps the whole under 80 characters (nothing after the dots when no tail fits).
std::string ArchivePathDisplay(std::string_view path);

// "DD.MM.YYYY  HH:MM  +ZZ:ZZ  ": the date, the local time and the zone of a record.
std::string ArchiveRowMomentText(const ArchiveIndexEntry& entry);
// "DDNMM  DDDEMM": latitude and longitude of a record.
std::string ArchiveRowPlaceText(const ArchiveIndexEntry& entry);

// The row font and its height in pixels (the list draws in MM_TEXT).
inline constexpr int kArchiveRowFontSize = 90;
int ArchiveRowHeight(platform::Dc& dc);

// Colours of a row (palette numbers).
inline constexpr int kArchiveRowSelectedText = 14;
inline constexpr int kArchiveRowSelectedBack = 1;
inline constexpr int kArchiveRowCommented = 4;
inline constexpr int kArchiveRowBack = 15;

// The widest text of each column of the rows (in the row font of the device context).
struct ArchiveColumnWidths {
  int name = 0, title = 0, moment = 0, place = 0, coordinates = 0;
};
// The widest texts of the records of the index (none indexed: no records), the name, second text
// and place columns never narrower than their headings. The date and time and the coordinates are
// measured in their widest digits and letters.
ArchiveColumnWidths MeasureArchiveColumns(platform::Dc& dc, const ArchiveIndex& index);
// The space between two columns: two widths of "1" in the row font.
int ArchiveColumnGap(platform::Dc& dc);

// Where the texts of a row stand: x from the row's left edge and the width the name, second text
// and place are fitted into (the date and time and the coordinates are never cut).
struct ArchiveColumns {
  int nameX = 0, nameWidth = 0;
  int titleX = 0, titleWidth = 0;
  int momentX = 0;
  int placeX = 0, placeWidth = 0;
  int coordinatesX = 0;
};
// The columns in the order name, second text, date and time, place, coordinates, each as wide as
// its widest text with `gap` after it (the last one's too), while they fit `listWidth`. When they
// do not, the date and time and the coordinates keep their widths and the three texts share the
// rest: a text column narrower than the share keeps its width, the wider ones are cut to one width,
// never below kArchiveMinTextColumn widths of "1" (the row then runs past the list's edge).
inline constexpr int kArchiveMinTextColumn = 6;
ArchiveColumns LayOutArchiveColumns(const ArchiveColumnWidths& widest, int gap, int digitWidth,
                                    int listWidth);

// Draws the row of `entry` into `item` in `columns`: name, second text, date, time and zone,
// place, coordinates. `commentPage` 0..9 colours a record that has a text on that page (the
// commented browser); -1 none.
void DrawArchiveRow(platform::Dc& dc, const platform::Rect& item, const ArchiveColumns& columns,
                    const ArchiveIndexEntry& entry, bool selected, int commentPage = -1);
// The one row of a list without records: catalogue message `message`.
void DrawArchiveEmptyRow(platform::Dc& dc, const platform::Rect& item, bool selected, int message);

class ArchiveBrowserList {
 public:
  // The index listed; it must outlive the list.
  explicit ArchiveBrowserList(ArchiveIndex& index) : index_(index) {}

  // One row per record of the index (none indexed: no records), every row deselected; the first
  // visible and the current row kept inside the list.
  void Refill();
  // True when the list has no records: it then shows one message row, EmptyRowMessage().
  bool IsEmptyArchive() const { return records_.empty(); }
  // The message row of a list without records: 473 for an archive without records or no archive;
  // kMsgArchiveNotRead for an archive file that is there but whose index could not be built (a
  // damaged or unreadable file), as at the last refill.
  int EmptyRowMessage() const;
  // Rows shown: the records, or the one message row.
  int RowCount() const { return records_.empty() ? 1 : static_cast<int>(records_.size()); }
  // Rows that are records (0 for an empty archive).
  int RecordRowCount() const { return static_cast<int>(records_.size()); }
  // The item data of a row: its record number; -1 for the message row or no such row.
  int RecordOfRow(int row) const;

  // --- The list's own selection (rows of records only) ---
  bool IsSelected(int row) const;
  void SetSelected(int row, bool on);
  void ClearSelection();
  // Rows from..to (either order) selected, the others kept.
  void SelectRange(int from, int to);
  int SelectedCount() const;
  // The first selected row; -1 when none.
  int FirstSelectedRow() const;

  // --- The current (focused) row and the first visible row ---
  int CurrentRow() const { return current_; }
  void SetCurrentRow(int row);
  int TopRow() const { return top_; }
  // The first visible row, kept so that `visibleRows` rows fill the list where there are enough.
  void SetTopRow(int row, int visibleRows);
  // Scrolls so that `row` is visible.
  void EnsureVisible(int row, int visibleRows);

  // --- Selection and marks ---
  enum class Sync { kListToMarks, kMarksToList };
  // List to marks: every record's mark 'Y' when its row is selected, else 'N'; returns the number
  // selected. Marks to list: every row selected whose record is marked 'Y'; returns that number.
  int SyncSelection(Sync direction);
  // Every row selected and every record marked 'Y'; the number selected.
  int SelectAll();
  // Every mark 'N' and every row deselected.
  void SelectNone();
  // Every row's selection turned over and its mark set to match; the number selected.
  int InvertSelection();

  // The row of the first record whose name begins with the typed character (cp1251), compared
  // without regard to case; -1 when none.
  int RowOfInitial(char typed) const;

  // Draws the rows visible in a list `width` x `height` pixels from the first visible row (only
  // those rows are drawn), the area below the last row filled with the list's background; the
  // columns are laid out from the widest texts of the whole list (measured once per refill).
  // Returns the number of rows drawn.
  int Paint(platform::Dc& dc, int width, int height, int commentPage = -1) const;
  // The row of column headings over a list `width` pixels wide, one row high, in the row font and
  // the rows' columns: "Имя", "Тип", "Дата, время, пояс", "Место", "Координаты" (the first, second
  // and fourth fitted to their columns), a line under them.
  void PaintHeadings(platform::Dc& dc, int width) const;
  // The columns the rows of a list `width` pixels wide are drawn in.
  ArchiveColumns Columns(platform::Dc& dc, int width) const;
  // Rows that fit `height` pixels wholly (at least 1).
  static int VisibleRows(int height, int rowHeight);

 private:
  bool ValidRow(int row) const { return row >= 0 && row < RecordRowCount(); }

  ArchiveIndex& index_;
  std::vector<int> records_;
  bool unread_ = false;  // the index could not be built of a file that is there
  std::vector<char> selected_;
  int current_ = -1;
  int top_ = 0;
  // The widest texts, measured at the first paint after a refill.
  mutable ArchiveColumnWidths widest_;
  mutable bool widestKnown_ = false;
};
