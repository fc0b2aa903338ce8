// The settings page of the Tremin rectification without a window: the possible birth interval,
// the step of the search, the two aspect systems, the order of the event list and of the results,
// the threshold, and the checks of OK. The event list of the method ("velm.tev") is edited through
// RectEventsEditor, as on the page of the rectification by events.
#pragma once

#include <string>
#include <vector>

#include "foundation/datetime/moment.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/status.h"
#include "rectification/core/rect_matrix.h"

class Configuration;
class LifeEventList;
class LifeEvent;

inline constexpr int kTreminConfDialogId = 233;
// The step choices, messages 534 ("2 сек.") to 539 ("1 мин.").
inline constexpr int kTreminStepCount = 6;

// The aspect systems' names as the page's combo boxes list them: alphabetically (the archive's
// collation, letter case ignored).
std::vector<std::string> SortedSystemNames(std::vector<std::string> names);

// The check of one aspect-system name of the Tremin pages. The typed name stands when it has at
// most 8 characters and names a loaded system (letter case ignored). Otherwise the first of
// `sortedNames` replaces it and `told` gets "%s %s\n%s %s" (message 59, the typed name, message
// 60, the replacement); true either way. With no system loaded no name can be used: false, and
// `told` gets message 59 with the typed name.
bool CheckTmSystemName(std::string& name, const std::vector<std::string>& sortedNames,
                       std::string& told);

class TreminConfPage {
 public:
  static constexpr int kYearMin = -3000, kYearMax = 3000;
  static constexpr int kMinimumScoreMax = 100;
  // What CheckRun answers when the user must be asked whether to go on (message 495).
  static constexpr int kAskEventsBeforeBirth = kMsgTreminEventsBeforeBirth;

  // The values of the Tremin settings block; the interval opens on a day around `birth` (the
  // document chart's birth date, hours and minutes), half a day either side, which the checks of
  // OK accept (a year before Christ negative). Stored values out of range are brought into it.
  TreminConfPage(const Configuration& config, const Moment& birth);

  RectInterval interval;  // begin and end words: year, month, day, hour, minute
  int step = 0;           // 0..5: 2, 5, 10, 20, 30 s, 1 min
  std::string applying;   // aspect-system names
  std::string separating;
  bool sortByDate = false;  // the event list's order
  bool sortByText = false;
  bool oneRulerOnly = false;  // kept; the computation does not use it
  int resultOrder = 0;        // 0 by time, 1 by score
  int minimumScore = 0;       // points, 0..100

  // One of the two order checks was clicked and is now `checked`: the checks exclude each other,
  // so checking one clears the other.
  void ClickSortByDate(bool checked);
  void ClickSortByText(bool checked);

  // Step 2 of OK: both names checked (CheckTmSystemName, separating first); the texts to show, in
  // order, go to `told`. False when no aspect system is loaded.
  bool CheckSystems(const std::vector<std::string>& sortedNames, std::vector<std::string>& told);
  // Steps 4 to 6 of OK: 0 accepted; the date or time message of an interval word that does not
  // exist (657, 656, 777, 776, 775, 659); 89 an end not later than the begin; 90 a span of more
  // than 1.4 days; 451 no event in use; kAskEventsBeforeBirth when an event in use lies on or
  // before `birth` (the user is asked once).
  int CheckRun(const LifeEventList& events, const Moment& birth) const;
  // The first event in use (display order) without a house: it cannot be scored, so the user is
  // warned (message 1932 naming it); nullptr when there is none.
  static const LifeEvent* EventWithoutHouses(const LifeEventList& events);
  // The warning's text for `event`.
  static std::string WithoutHousesText(const LifeEvent& event);

  // Writes the page into the Tremin settings block and the possible interval.
  void Store(Configuration& config) const;
};
