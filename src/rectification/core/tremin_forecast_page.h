// The forecast dialog of the Tremin method without a window: the year, the order of the rows, the
// font size, the fill of printed bars, the two aspect systems, the order of the event list, the
// controls each mode enables, and the checks of OK. Mode 1 (one event over a period) is kept by
// the dialog, its controls hidden; the forecast view computes the year forecast only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rectification/core/tremin_forecast.h"

class Chart;
class Configuration;
class LifeEventList;

inline constexpr int kTmForecastDialogId = 283;
inline constexpr std::size_t kTmForecastEventWidth = 50;

class TmForecastPage {
 public:
  // Control numbers the enabling refers to.
  enum Control {
    kYear = 1992,
    kYearLabel = 1993,
    kPeriodFrom = 1996,
    kPeriodTo = 1997,
    kPeriodLabel = 1995,
    kPeriodGroup = 1994,
    kEventChoice = 2001,
    kEventLabel = 2000,
    kOrderGroup = 1987,
    kOrderList = 1989,
    kOrderText = 1990,
    kOrderProbability = 1991,
    kFontLabel = 1998,
    kFont = 1999,
    kFill = 2002,
    kEventList = 1074,
    kEventEdit = 1391,
    kEventRemove = 1392,
    kEventSwitch = 1407,
    kEventExport = 1408,
  };

  // The block's values; the year is that of the date `chart` was moved to (transit, progressed,
  // directed and return charts), else the block's.
  TmForecastPage(const TmForecastSettings& settings, const Chart& chart);

  TmForecastSettings values;
  std::string eventChoice;  // the text of the event choice

  // Mode 0 enables the year, the ordering, the font size and the fill; mode 1 the period and the
  // event choice. The event controls need at least one event.
  bool Enabled(Control control, const LifeEventList& events) const;

  // The entries of the event choice: the texts in display order; and the one to select, whose
  // text equals the block's event (position 0 when none does).
  static std::vector<std::string> EventTexts(const LifeEventList& events);
  static int ChosenEvent(const LifeEventList& events, std::string_view text);

  // Step 2 of OK: both names checked as on the settings page (separating first); the texts to
  // show go to `told`. False when no aspect system is loaded.
  bool CheckSystems(const std::vector<std::string>& sortedNames, std::vector<std::string>& told);
  // Steps 1 and 3 to 5 of OK: 0 accepted; 777 for the year 0 and 776 out of range (of the year in
  // mode 0, of the period in mode 1); 1035 for an empty list, and in mode 0 for a list without an
  // event in use; 1037 in mode 1 when the event choice names no event of the list (the caller
  // refills the choice and selects its first entry).
  int CheckOk(const LifeEventList& events) const;
  // Step 6: the values and the chosen event into the forecast block.
  void Store(Configuration& config) const;
};
