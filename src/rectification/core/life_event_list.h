// A list of at most 200 life events kept in a text file of the data folder: "velm.lev" for the
// rectification by events, "velm.tev" for the Tremin method. The application owns one of each
// for the whole run. Lists show their events in a display order: events in use first, each group
// sorted by date or by text when asked.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "foundation/status.h"
#include "rectification/core/life_event.h"

namespace platform {
class Dc;
}

class LifeEventList {
 public:
  static constexpr int kMaxEvents = 200;

  int Count() const { return static_cast<int>(events_.size()); }
  // Event `i` in storage (file) order, 0 <= i < Count().
  const LifeEvent& Event(int i) const { return events_.at(static_cast<std::size_t>(i)); }
  LifeEvent& Event(int i) { return events_.at(static_cast<std::size_t>(i)); }
  // The storage index of the k-th event shown; -1 outside 0..Count()-1.
  int OrderAt(int k) const;
  // The event shown at display position k; nullptr outside 0..Count()-1.
  const LifeEvent* AtDisplay(int k) const;
  LifeEvent* AtDisplay(int k);

  // Reads the list from `file`, replacing it; at most 200 events, the rest of the file ignored.
  // Returns the number of events read, or -1 when the file cannot be read (the list is then
  // empty). Lines shorter than 2 bytes or without a separator are skipped silently; another
  // rejected line is skipped and reported once for the file in `problem`: the first of messages
  // 444, 445, 447 met (naming the file), else error 106 (a date that does not exist, a missing
  // separator). A file that exists but cannot be read gives error 102 or 103 there. A missing
  // file leaves `problem` ok.
  int Load(const std::filesystem::path& file, Status& problem);
  // Load at start: a missing file is an empty list without a message; any other problem is shown
  // once.
  void LoadAtStart(const std::filesystem::path& file);
  // Rewrites `file` with every event in storage order, through a safe rewrite: on failure the
  // old file stays as it was, and the failure is returned. When the list was loaded from `file`
  // and lines of it were refused or left unread (past the 200th event, or a file that could not
  // be read), a copy of the old file is kept as "<name>.bad" before the new one replaces it
  // (RewriteKeepingOld), and message 1900 names the copy.
  Status Save(const std::filesystem::path& file);
  // The contents Save writes.
  std::string Serialize() const;

  // Appends a new event (status 'Y') and rebuilds the display order. Message 450 when the list is
  // full; the date's message when the date does not exist.
  Status Add(std::string_view text, int day, int month, int year, std::string_view planetMask,
             std::string_view houseMask);
  // Appends a copy of an event (of the other list) and saves this list to `file`. Message 450
  // when the list is full (nothing changes); a failed save is returned, the copy stays in the
  // list. The display order is rebuilt.
  Status AddCopyAndSave(const LifeEvent& event, const std::filesystem::path& file);
  // Removes the event shown at display position k and rebuilds the order; the new count. A
  // position outside the list changes nothing.
  int Delete(int k);
  // Rebuilds the display order: storage order, then, when a sort flag is set and there are two
  // events or more, events in use ahead of those left out, each group ascending by date (sort by
  // date 1) or by text (sort by text 1).
  void BuildOrder();
  // The widest event text on `dc` in its logical units; 0 for an empty list.
  int GetMaxTextWidth(platform::Dc& dc) const;

  int sortByDate = 0;
  int sortByText = 0;

 private:
  std::vector<LifeEvent> events_;
  std::vector<std::uint16_t> order_;
  std::filesystem::path damagedFile_;  // the file last loaded, when lines of it were refused
};
