// What the chart entry dialogs edit, independent of the chart kind: the birth data, the second
// person of a synastry chart, the target moment of the charts that look at another moment, and the
// settings of each kind. A chart definition is made from it for one kind and read back from a
// definition of any kind, so the last entry of a group presets the next one.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/datetime/present_moment.h"
#include "foundation/datetime/super_source.h"

// The entry dialogs: natal, horary and draconic charts share the first; every other kind has its
// own. The entry history keeps one list per group.
inline constexpr int kEntryGroupCount = 8;
// The group (0..7) of a chart kind 0..9; kinds outside 0..9 count as natal.
int EntryGroupOfKind(int kind);

// The return bodies offered: the Sun (0) to Pluto (9).
inline constexpr int kLastReturnBody = 9;
// Harmonic numbers accepted by the entry.
inline constexpr int kMinHarmonic = 1;
inline constexpr int kMaxHarmonic = 360;
// The units of the user's key: arc 1 degree, 2 minute, 3 second; time 1 year, 2 month, 3 day.
inline constexpr int kKeyUnitCount = 3;
inline constexpr int kMaxKeyCount = 999;

// The controls a kind's entry shows beyond the birth data.
struct EntryFields {
  bool secondPerson = false;       // synastry
  bool composite = false;          // synastry
  bool target = false;             // transit, progressed, directed, return, lunar phase
  bool progressionMethod = false;  // progressed: methods 0..4, 4 the user's key
  bool directionMethod = false;    // directed: methods 0..5, 5 the user's key
  bool converse = false;           // transit, progressed, directed
  bool harmonic = false;           // harmonic
  bool returnBody = false;         // return
};
EntryFields FieldsOfKind(int kind);

// The method number that selects the user's key for a kind (progressed 4, directed 5); -1 for a
// kind without methods.
int UserKeyMethod(int kind);

struct ChartEntry {
  Source person;  // the birth data; for a horary chart the moment and place of the question
  Source second;  // the second person of a synastry chart
  Source target;  // the moment and place looked at (its name is the person's)
  std::string title;
  bool converse = false;
  int method = 0;                  // progression or direction method
  ProgressionKey key{1, 1, 1, 1};  // the user's key
  bool composite = false;
  int harmonic = 2;
  int returnBody = 0;  // 0 Sun .. 9 Pluto

  friend bool operator==(const ChartEntry&, const ChartEntry&) = default;
};

// Reads an entry from a definition of any kind (what it does not hold keeps its default; the
// target and the second person default to the birth data).
ChartEntry EntryFromDefinition(const SuperSource& definition);

// The entry a new chart of `kind` starts from: `last`, the group's most recent entry in the
// history, when there is one (its title only when it is of the same kind), else the entry read
// from `fallback`. With `active`, the definition of the active chart, every kind derived from a
// birth chart (all but natal) and a horary chart take the active chart's birth data for their
// person (a synastry chart for its first person) with an empty title, and keep only their other
// choices from `last`. The moment looked at (a transit, progression or direction, the start of a
// return's or lunar phase's search) starts at the present moment of `clock` at the person's place
// whenever it is not the history's own entry; a horary chart's question always does. A moment
// taken from the active chart's birth data is given in its zone, any other in the clock's.
ChartEntry InitialEntry(const SuperSource* last, const SuperSource& fallback,
                        const SuperSource* active, int kind, const Clock& clock);

// True for the kinds that are drawn from someone's birth data rather than typed as a chart of
// their own: every kind but natal and horary.
bool IsDerivedKind(int kind);

// The definition of a chart of `kind` (0..9) from an entry:
// - natal, horary, draconic, harmonic: every Source holds the birth data; harmonic: the key's arc
//   count is the harmonic number;
// - transit, progressed, directed, return, lunar phase: the first Source the birth data, the
//   second and third the target moment and place under the person's name; the key kind is the
//   method (progressed, directed; the key only with the user's key), 1 for a return with the
//   body in the key's arc count, 0 for a lunar phase, none for a transit; the converse flag for
//   transit, progressed and directed charts;
// - synastry: the first Source the first person, the second and third the second person; the key
//   kind is the composite switch (1 composite, 0 not).
// The title is the entry's; the aspect-system name is left empty.
SuperSource DefinitionFromEntry(const ChartEntry& entry, int kind);
