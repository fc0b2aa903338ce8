// The condition wizard without its windows: the first page's choices, the staged words a page of
// a chosen kind starts from, and the pages of ASP, IN and INCL conditions as models (controls as
// fields, their lists and enabling rules, the preset from the staged words, the checks and words
// of OK; the other kinds' pages are in conf_page.h and value_pages.h). Every page's words start
// with w1..w4 and w8..w18 at -1 and empty texts; a word the page does not name stays -1, which
// loads and evaluates as the 0 of an unused word.
#pragma once

#include <string>
#include <vector>

#include "conditions/core/condition_text.h"
#include "conditions/core/conf_page.h"
#include "conditions/core/query_condition.h"

class Aspectarium;
class Groups;

// --- The flow ---

// The first pages: the one-chart page offers the nine kinds 0..8, the two-chart page ASP (0) and
// IN (1). True when the wizard has a second page for the kind.
bool WizardKindAvailable(int kind, bool twoChart);
// The remembered choice as the page preselects it: an unavailable or unknown one gives ASP.
int WizardInitialChoice(int remembered, bool twoChart);
// The staged words of a new condition: w1..w4 and w8..w18 0, the texts empty.
void ClearStagedWords(QueryCondition& staged);
// The preset for the page of `choice`: IN and INCL the first house as place (w3 = 200), CONTEXT
// an empty text, CONF the orb class 1 (w17), QUANT w2 and w15 1. A synastry aspect (`twoChart`)
// takes its orb from the aspect system, orb groups 1 (w11, w15, w16 1): a constant orb of 0
// would find no pair.
void PresetStagedWords(QueryCondition& staged, int choice, bool twoChart = false);
// The page a kind is edited on: 0..8 (kinds 100 and 101 give 0 and 1); -1 for any other kind.
int WizardPageOfKind(int kind);
// Words w1..w4 and w8..w18 -1, texts empty: the start of every page's words.
QueryCondition UnsetPageWords();

// --- The aspect page's enabling ---

// The aspect choice (word 4 of ASP) of entry `entry` of the aspect list of a system with `count`
// aspects: its aspects, then "любой" (1000) and "заданный" (1001); a system without aspects
// offers only "заданный".
int AspectChoiceOfEntry(int entry, int count);
// The list entry of an aspect choice: 1000 "любой", an index at or above the count "заданный".
int AspectEntryOfChoice(int choice, int count);
// The aspect-class boxes are enabled for "любой" only.
bool EnableAspectFilter(int choice);
// The given angle is enabled for "заданный" only.
bool EnableAspectAngle(int choice);

// The enabled state of the aspect page's controls.
struct AspectControls {
  bool classBoxes = false;  // type and strength boxes
  bool exactBoxes = false;  // "ТОЧНЫЕ", "НЕТОЧНЫЕ"
  bool givenAngle = false;
  bool systemOrbChoice = false;  // the radio "по системе аспектов"
  bool ownOrb = false;           // the constant orb's edits
  bool orbGroups = false;        // the two orb group numbers
};

// Keeps one box of a pair ticked: bits `a` and `b` of `mask` after the box of bit `changed` was
// set to `on`; unticking the last one ticks the other.
int TickPair(int mask, int a, int b, int changed, bool on);
// The aspect-class mask after the box of `bit` was set to `on`: major/minor and exact/inexact each
// keep one box ticked (TickPair), the aspect types are free.
int TickAspectClass(int mask, int bit, bool on);

class AspPageModel {
 public:
  static constexpr const char* kFirstMask = "YYYYYYNNYYY";
  static constexpr const char* kSecondMask = "YYYNYYNNYYN";
  static constexpr const char* kPairMask = "YYYNYYNNYYN";

  AspPageModel(const Groups& groups, const Aspectarium& aspects, bool twoChart);

  // Controls from the staged words (see the field comments for the rules).
  void Preset(const QueryCondition& staged);

  // --- Controls ---
  int first = 0;                                          // position in FirstList()
  int second = 0;                                         // position in SecondList()
  int pointSign = 0, pointDegrees = 0, pointMinutes = 0;  // the arbitrary point (code 506)
  std::string systemName;                                 // the drop-down's text (typed or chosen)
  int aspect = 0;                                         // entry of AspectNames()
  int givenDegrees = 0, givenMinutes = 0;                 // 0..180, 0..59
  int mask = 0;                // the class boxes, bits 0..8 of the class mask
  bool orbFromSystem = false;  // "по системе аспектов", else "постоянный"
  int orbDegrees = 0, orbMinutes = 0;       // 0..20, 0..59
  int houseOrbGroup = 1, signOrbGroup = 1;  // 1..5

  // --- Lists ---
  const ObjectList& FirstList() const { return firstList_; }
  const ObjectList& SecondList() const { return secondList_; }
  std::vector<std::string> SystemNames() const;
  // The chosen system's aspects by name, then "любой" and "заданный" ("заданный" alone for a
  // system without aspects or a name that is no system).
  std::vector<std::string> AspectNames() const;

  // The system named by `systemName` (12 characters, letter case ignored); -1 when none.
  int SystemIndex() const;
  int AspectCount() const;
  // Word 4 of the current entry.
  int Choice() const { return AspectChoiceOfEntry(aspect, AspectCount()); }

  // A change of the system (by name): the aspect list restarts at its first entry and the orb
  // becomes constant.
  void SetSystem(const std::string& name);
  // A change of the aspect entry: "заданный" switches the orb to constant.
  void SetAspect(int entry);
  // A class box toggled (bit 0..8), keeping one of each pair ticked.
  void SetClassBit(int bit, bool on);
  bool PointEnabled() const;
  AspectControls Controls() const;

  // 0, or the message of the first fault: 59 no such system, 636 "любой" without a type box.
  int Check() const;
  QueryCondition Words() const;

 private:
  const Groups& groups_;
  const Aspectarium& aspects_;
  bool twoChart_;
  ObjectList firstList_, secondList_;
};

class InPageModel {
 public:
  static constexpr const char* kObjectMask = "YYYNYYNNYYY";
  static constexpr const char* kPairObjectMask = "YYYNYYNNNNN";
  static constexpr const char* kHousePlaceMask = "NNNYNNYNNNN";
  static constexpr const char* kPlaceMask = "NYNYNNYNYNN";
  static constexpr const char* kPairPlaceMask = "NYNNNNNNYNN";

  InPageModel(const Groups& groups, bool twoChart);

  void Preset(const QueryCondition& staged);

  int object = 0;  // position in ObjectList()
  int place = 0;   // position in PlaceList()
  int pointSign = 0, pointDegrees = 0, pointMinutes = 0;
  bool swapped = false;  // two charts: the object from chart 2, the place from chart 1

  const ObjectList& Objects() const { return objects_; }
  const ObjectList& Places() const { return places_; }
  // A new object: the place list is rebuilt for it and its first entry chosen.
  void SetObject(int position);
  bool PointEnabled() const;
  bool TwoChart() const { return twoChart_; }
  QueryCondition Words() const;

 private:
  void BuildPlaces();
  const Groups& groups_;
  bool twoChart_;
  ObjectList objects_, places_;
};

class InclPageModel {
 public:
  static constexpr const char* kIncludedMask = "NYNYNNYYYYN";
  static constexpr const char* kHouseContainerMask = "NYNNNNNNYNN";
  static constexpr const char* kSignContainerMask = "NNNYNNYNNNN";

  explicit InclPageModel(const Groups& groups);

  void Preset(const QueryCondition& staged);

  int included = 0;   // position in Included()
  int container = 0;  // position in Containers()
  int inclusion = 0;  // 0 wholly, 1 partly, 2 wholly or partly

  const ObjectList& Included() const { return included_; }
  const ObjectList& Containers() const { return containers_; }
  void SetIncluded(int position);
  QueryCondition Words() const;

 private:
  void BuildContainers();
  const Groups& groups_;
  ObjectList included_, containers_;
};
