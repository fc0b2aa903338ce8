// The owner-drawn list of life events (used by the rectification pages): one line per event in
// display order, the text cut to the width of a sample, the date after the longest text, in
// mode 0 the planet and house glyphs; events left out in grey, the selected line on navy.
#pragma once

#include <QListWidget>

#include "rectification/core/rect_setup_pages.h"

class CRectEventsListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CRectEventsListBox(int mode = 0, QWidget* parent = nullptr);

  // Refills the list from `events` (one empty line for an empty list) and selects line `select`
  // (none when outside the list).
  void Fill(const LifeEventList& events, int select);
  int Mode() const { return mode_; }
  // The lines as drawn, for the current selection.
  std::vector<RectEventLine> Lines() const;

 private:
  friend class RectEventsDelegate;
  const LifeEventList* events_ = nullptr;
  int mode_;
};
