// The set-up of the rectification by events, without windows: the calculation page (events,
// birth interval, aspect systems, form of the result), the methods page (the weight of each of
// the fourteen methods), the dialog of one event and the lines of the event list.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/datetime/moment.h"
#include "foundation/status.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"

class Configuration;

// Aspect-system names are at most 8 characters; the combo boxes read up to 12.
inline constexpr std::size_t kSystemNameWidth = 8;
inline constexpr std::size_t kSystemNameReadWidth = 12;

// The calculation page ("РАСЧЕТЫ").
class RectConfPage {
 public:
  // The combo boxes in the order they are stored.
  enum SystemBox { kDirections = 0, kProgressions = 1, kTransits = 2, kLifePoint = 3 };
  static constexpr int kYearMin = -3000, kYearMax = 3000;

  // The values of the rectification block; the interval opens on a day around `chartMoment`, half
  // a day either side (a year before Christ negative), which the checks of OK accept.
  RectConfPage(const Configuration& config, const Moment& chartMoment);

  std::array<std::string, 4> systems;  // directions, progressions, transits, life point
  int displayMode = 0;                 // 0 table by events, 1 table by methods, 2 graph
  bool verticalGrid = false;
  bool horizontalGrid = false;
  bool chronological = false;
  RectInterval interval;

  // The grid checks are enabled only while the graph is chosen.
  bool GridEnabled() const { return displayMode == 2; }

  // The system-name check: a name longer than 8 characters or not among `systemNames` is replaced
  // by the first of them (when there is one) and the text of the message to show is returned
  // (59 + the typed name + 60 + the new name); empty when every name stands. Without systems the
  // names are kept as typed, cut to 8 characters.
  std::string CheckSystems(const std::vector<std::string>& systemNames);
  // The checks of OK after the names, in order: the interval's date and time messages, 89, 90,
  // 451 (no event in use), 452 (an event in use on or before the interval start), 2097 (no event
  // in use names a planet or a house: nothing could be scored). 0 accepted.
  int CheckRun(const LifeEventList& events) const;
  // Writes the page into the rectification block.
  void Store(Configuration& config) const;
};

// The methods page ("СПИСОК МЕТОДОВ"): eighteen rows, rows 0..13 the methods.
class RectMethodsPage {
 public:
  static constexpr int kRows = 18;
  explicit RectMethodsPage(const Configuration& config);
  // Settings 0 main, 1 additional, 2 not taken into account; a stored value out of range reads 0.
  std::array<int, kRows> settings{};
  static bool RowShown(int row) { return row >= 0 && row < kRectMethodCount; }
  void Store(Configuration& config) const;
};

// The dialog of one event.
class RectEventPage {
 public:
  static constexpr std::size_t kMaxText = 50;
  // A new event: 1.1.1980, no text, nothing marked.
  RectEventPage();
  // The page of an existing event.
  explicit RectEventPage(const LifeEvent& event);

  int day = 1, month = 1, year = 1980;  // a negative year is before Christ
  std::string text;
  std::string planetMask = std::string(kLifeEventPlanetCount, 'N');
  std::string houseMask = std::string(kLifeEventHouseCount, 'N');
  int mode = 0;  // 1 or 3 hide the planet button and its caption

  bool PlanetButtonShown() const { return mode != 1 && mode != 3; }
  // OK: 449 for an empty text (blanks only count as empty), the date's message (657, 656, 777,
  // 776, 775) for a date that does not exist; 0 accepted.
  int CheckOk() const;
  // The event's values into `event` (text, date, masks).
  Status ApplyTo(LifeEvent& event) const;
  // The marked planets and houses as glyph codes of the glyph face.
  std::string PlanetGlyphs() const;
  std::string HouseGlyphs() const;
};

// The commands of the event list on the calculation page, over the list and its file. Each
// answers the line to select afterwards (-1 none) and any failure to show.
class RectEventsEditor {
 public:
  RectEventsEditor(LifeEventList& events, std::filesystem::path file)
      : events_(events), file_(std::move(file)) {}

  LifeEventList& Events() { return events_; }
  // Adds the event of `page` and saves; the first line is selected.
  Status Add(const RectEventPage& page, int& select);
  // Replaces the event shown at k and saves; the line stays selected.
  Status Edit(int k, const RectEventPage& page);
  // Removes the event shown at k and saves; selects the same position or the previous one when
  // the last line was removed. Nothing for a position outside the list.
  Status Remove(int k, int& select);
  // Switches the event shown at k on or off and saves; with an order by date or by text the order
  // is rebuilt. `select` follows the event.
  Status Toggle(int k, int& select);
  // The chronological check into the list's sort-by-date flag; with 2 events or more the order
  // is rebuilt and the first line selected (else `select` is unchanged).
  void SetChronological(bool on, int& select);
  // Both order checks into the list's sort flags; with 2 events or more the order is rebuilt and
  // the first line selected (else `select` is unchanged).
  void SetSortOrder(bool byDate, bool byText, int& select);
  // Copies the event shown at k into `other` and saves that list to `otherFile`: 781 without a
  // selection, 450 when that list is full.
  Status Transfer(int k, LifeEventList& other, const std::filesystem::path& otherFile);

 private:
  LifeEventList& events_;
  std::filesystem::path file_;
};

// One line of the event list as it is drawn.
struct RectEventLine {
  std::string text;  // the event's text (the view cuts it to the sample's width)
  std::string date;  // "DD:MM:YYYY"; empty in mode 3
  std::string planetGlyphs, houseGlyphs;  // mode 0 only
  int textColour = 0;                     // palette index
  int fillColour = -1;                    // palette index of the selected line's fill; -1 none
};

// The width sample of the text column: of mode 0, or of the list's other modes.
std::string_view RectEventTextSample(int mode);
// The lines of the list in display order (one empty line for an empty list). Text colour 0 for
// an event in use, 7 for one left out; the selected line on fill 1 in 14 (in use) or 7.
std::vector<RectEventLine> RectEventLines(const LifeEventList& events, int mode, int selected);
