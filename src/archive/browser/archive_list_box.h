// The record list of the archive browser: an owner-drawn list with fixed row height over
// ArchiveBrowserList under a row of column headings, drawn through the device context row by row
// (only the rows in view), with extended multiple selection (click, Ctrl+click, Shift+click, the
// arrow and page keys) and the jump to the first record whose name begins with a typed character.
#pragma once

#include <QAbstractScrollArea>

#include "archive/store/archive_browser_list.h"

class CArchiveListBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  CArchiveListBox(ArchiveIndex& index, QWidget* parent = nullptr);

  ArchiveBrowserList& List() { return list_; }
  const ArchiveBrowserList& List() const { return list_; }
  // The rows from the archive's index (`reset`: from the first row), repainted.
  void Refill(bool reset);
  // Repaints after the list's selection or rows changed from outside.
  void Changed();
  int RowHeight() const { return rowHeight_; }
  int VisibleRows() const;
  // Where `row` is drawn on the screen (global coordinates); empty when it is out of view.
  QRect RowOnScreen(int row) const;
  // The comment page whose records are coloured (the commented browser); -1 none.
  void SetCommentPage(int page) { commentPage_ = page; }
  // Single selection (the commented browser): a click or a key selects the one row it reaches.
  void SetSingleSelection(bool on) { single_ = on; }
  // Rows drawn by the last paint.
  int LastPaintedRows() const { return lastPainted_; }

  // The typed character (cp1251) scrolls its first record to the top; false when none matched.
  bool JumpToInitial(char typed);

 Q_SIGNALS:
  void selectionChanged();
  void rowActivated(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int RowAt(int y) const;
  void UpdateScrollBar();
  // Moves the current row by the keyboard: `extend` selects from the anchor.
  void MoveCurrent(int row, bool extend, bool keepSelection);

  ArchiveBrowserList list_;
  QWidget* head_ = nullptr;  // the column headings above the rows
  int rowHeight_ = 16;
  int anchor_ = 0;
  int commentPage_ = -1;
  bool single_ = false;
  int lastPainted_ = 0;
};
