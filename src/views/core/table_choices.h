// The page models of two small questions the table views ask before they print.
//
// The chart choice of a two-chart document (dialog "ВЫБОР ГОРОСКОПА"): three lines, 0 the inner
// chart, 1 the outer chart, 2 between the two; choice 3 (a one-chart document) is never offered.
// The print options ("Печать"): what else goes on the page under a view's own table.
#pragma once

#include <array>
#include <string>

namespace tables {

inline constexpr int kChoiceLineCount = 3;
// The texts of the three lines (code page 1251).
std::array<std::string, kChoiceLineCount> ChartChoiceLines();
// The question over the lines: "<50> <51 + tableKind>", the text of 52 + slot for a slot above 0,
// then "?". tableKind 0 the aspect table, 1 the midpoint table; slot 0 a view being opened, 1 the
// upper table of a printed page, 2 the lower one.
std::string ChartChoiceQuestion(int tableKind, int slot);

// Which view asks for the print options.
enum PrintOptionsCaller { kCallerAspectTable = 0, kCallerMidpoints = 1, kCallerPlanetaryHours = 2 };
inline constexpr int kPrintOptionCount = 3;  // 0 the aspect table, 1 midpoints, 2 planetary hours

struct PrintOptionsModel {
  int caller = kCallerAspectTable;
  int selection = -1;  // the chosen option after OK

  // Before the dialog shows: the caller's own table is preselected away from (midpoints for the
  // aspect table, the aspect table for everyone else).
  void Init();
  // False for the caller's own table.
  bool IsEnabled(int option) const;
};

}  // namespace tables
