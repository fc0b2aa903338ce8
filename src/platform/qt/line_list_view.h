// The base of the views that list one line per item (events, towns, crossings, results, records)
// in 0.01 mm with y growing upwards. The base keeps the list state (lists::LineList): the vertical
// scroll bar moves the first line by the scroll codes, Page Up, Page Down, Home, End, Up and Down
// move the selection and the page (the shared list navigation), a left click selects the line under
// the pointer, a double click or Enter opens it, a right click hands over the line under the
// pointer (or none). Printing lays the lines out in columns on pages (lists::ColumnPageLayout).
//
// A view derived from it measures its lines (MeasureScreen, MeasurePrint), draws its heading and
// its lines (DrawHead, DrawLine, DrawPageHead), and calls SetLineCount when its items change.
#pragma once

#include "foundation/lists/column_pages.h"
#include "foundation/lists/line_list.h"
#include "platform/qt/view.h"

namespace platform {

// Where the lines of the screen stand: x of each line, the room above the first line (heading,
// bar), the line pitch (character height x line spacing), the room kept below the last line
// (a button strip) and the width of a line from `left`. A window narrower than the lines with
// `left` on each side scrolls them sideways; with width 0 the lines fit any window.
struct ScreenLines {
  int left = 100;
  int top = 0;
  double pitch = 1.0;
  int bottom = 0;
  int width = 0;
};

// Where the lines of a printed page stand: line k of a page goes to column c and row r of the
// layout, at x = left + c x columnStep, y = -(top + trunc(r x pitch)).
struct PrintedLines {
  lists::ColumnPageLayout layout{1, 1, lists::ColumnOrder::kAcross};
  int left = 0;
  int top = 0;
  double pitch = 1.0;
  double columnStep = 0.0;
};

class LineListView : public View {
  Q_OBJECT

 public:
  explicit LineListView(lists::ScrollLimit limit = lists::ScrollLimit::kFullLastPage,
                        QWidget* parent = nullptr);

  const lists::LineList& List() const { return list_; }
  const PrintedLines& Printed() const { return printed_; }

  // A new item count (the list state stays inside it); the window is laid out again.
  void SetLineCount(int count);
  // The view's frame made wide enough to show the lines whole (never narrower than it is); the
  // template then keeps it inside the window area, where it scrolls sideways.
  void WidenFrameToLines();
  // Measures the screen lines again (after a change of fonts or spacing) and repaints.
  void Relayout();
  // The list actions, as the scroll bar, the keys and the mouse give them (also for tests).
  // Scroll and Key return what changed (kListUnchanged, kListSelectionMoved, kListScrolled).
  int Scroll(int code, int position = 0);
  int Key(int virtualKey);

  void OnPrepareDC(Dc& dc) override;
  void OnDraw(Dc& dc) override;
  bool OnPreparePrinting(PrintInfo& info) override;
  void OnPrint(Dc& dc, int page) override;

  // The virtual key of a Qt key for the list (kKey*), or 0.
  static int ListKeyOf(int qtKey);

 protected:
  // The screen layout, measured in `dc` (MM_HIMETRIC, the view's resolution).
  virtual ScreenLines MeasureScreen(Dc& dc) = 0;
  // The printed layout, measured in `dc` (MM_HIMETRIC, paper).
  virtual PrintedLines MeasurePrint(Dc& dc) = 0;
  // What lies above the first line on the screen (heading, bar); nothing by default.
  virtual void DrawHead(Dc&) {}
  // Line `line` with its top-left corner at `at` (on paper `selected` is false).
  virtual void DrawLine(Dc& dc, int line, Point at, bool selected) = 0;
  // The head of printed page `page` of `pageCount`, whose lines fill `rowsUsed` rows.
  virtual void DrawPageHead(Dc&, int /*page*/, int /*pageCount*/, int /*rowsUsed*/) {}
  // With nothing to list the screen shows this instead of lines (at the first line's place).
  virtual void DrawEmpty(Dc&, Point) {}

  // A double click on a line (already selected) and Enter on the selection.
  virtual void OnOpenLine(int) {}
  // A right click: the line under the pointer, or -1.
  virtual void OnLineRightClick(int) {}
  // A left click that was not on the list's lines (a heading, a bar).
  virtual void OnHeadClick(Point) {}

  void OnLButtonDown(Point at) override;
  void OnLButtonDblClk(Point at) override;
  void OnRButtonDown(Point at) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateBar();
  void OnBarAction(int action);
  // The window's height in logical units.
  int VisibleHeight() const;
  // The width in pixels the lines take with their margins; 0 when they fit any window.
  int LinesWidthInPixels() const;

  lists::LineList list_;
  bool widenOnShow_ = false;  // WidenFrameToLines again once the view shows
  ScreenLines screen_;
  PrintedLines printed_;
};

}  // namespace platform
