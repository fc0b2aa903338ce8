// The state of a line list on the screen: the hand-made lists of events, towns, crossings, results
// and records that draw one line per item in 0.01 mm with y growing upwards. The list knows its
// line count, the first visible line, the selected line and how many lines fit the window; the
// scroll codes and list keys move them (list_navigation.h), and a point of the window is mapped to
// the line under it.
//
// Geometry: line r of the page (r = 0 for the first visible line) has its top edge at
// y = -(top + trunc(r x pitch)) and takes the band down to the next line's top edge; `top` is what
// lies above the first line (a heading, a button bar, a margin), `pitch` is the character height
// times the line spacing. The pitch is at least one unit.
#pragma once

namespace lists {

// How far the first visible line may scroll.
enum class ScrollLimit {
  kFullLastPage,  // to count - linesPerPage: the last page is full (the shared navigation)
  kLastLine,      // to count - 1: the last line may stand alone at the top
};

class LineList {
 public:
  explicit LineList(ScrollLimit limit = ScrollLimit::kFullLastPage) : limit_(limit) {}

  // A new line count keeps the first line and the selection inside the list.
  void SetCount(int count);
  // Lines on a page; a value below 0 counts as 0. The selection is kept on the page.
  void SetLinesPerPage(int lines);
  // The lines that fit a window `height` units high under the list's top: trunc((height - top) /
  // pitch), at least 0. Sets and returns it.
  int FitLines(int height);
  void SetGeometry(int top, double pitch);

  int Count() const { return count_; }
  int First() const { return first_; }
  int Selection() const { return selection_; }
  int LinesPerPage() const { return lines_; }
  int Top() const { return top_; }
  double Pitch() const { return pitch_; }
  // The highest first line, the scroll bar's maximum.
  int MaxFirst() const;
  // The lines on show: First() .. First() + VisibleCount() - 1.
  int VisibleCount() const;

  // A scroll-bar code (kScroll*, with the thumb position for the thumb codes); the result says
  // what changed (kListUnchanged, kListSelectionMoved, kListScrolled).
  int Scroll(int code, int position = 0);
  // A list key (kKey*); the result as for Scroll.
  int Key(int key);
  // Makes `line` the selection and scrolls it onto the page; a line outside the list changes
  // nothing. The result as for Scroll.
  int Select(int line);

  // The top edge (y) of page row `row`.
  int RowTop(int row) const;
  // The page row whose band holds `y`, or -1 above the first row or below the page.
  int RowAt(int y) const;
  // The line under `y`: First() + RowAt(y) when that is a line of the list, else -1.
  int LineAt(int y) const;

 private:
  void Clamp();

  ScrollLimit limit_;
  int count_ = 0;
  int first_ = 0;
  int selection_ = 0;
  int lines_ = 0;
  int top_ = 0;
  double pitch_ = 1.0;
};

}  // namespace lists
