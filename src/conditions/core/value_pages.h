// The wizard pages of the value kinds without their windows: MORE/LESS and INTERV (a quantity
// against one value or between two), BEFORE/AFTER (an object within a sector before or after a
// reference), CONTEXT (a text in the chart's name, type, place or comments) and QUANT (a count of
// planets or aspects). As in wizard_pages.h: controls as fields, their lists and enabling rules,
// the preset from the staged words, the checks and the words of OK.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/core/condition_text.h"
#include "conditions/core/quantity_values.h"
#include "conditions/core/query_condition.h"

class Aspectarium;
class Groups;

// --- MORE/LESS and INTERV ---

// What the value edits of a quantity show in a mode.
struct QuantityLayout {
  int modes = 0;            // mode radios: 2 for a longitude, 3 for a date, else none
  bool objectList = false;  // longitude, speed and ecliptic latitude belong to an object
  bool signBox = false;     // absolute longitude only
  bool secondValue = true;  // not for a date by day only
  bool thirdValue = false;  // the year of a whole date
  bool sides = false;       // the two hemisphere, sign-of-speed or era buttons
};
QuantityLayout LayoutOfQuantity(int quantity, int mode);

// The controls MORE/LESS and INTERV share: the object, the quantity and its mode.
class QuantityPageBase {
 public:
  static constexpr const char* kObjectMask = "YYYNYYNNYYN";
  static constexpr const char* kMovingObjectMask = "YNYNYYNNNNN";  // speed, ecliptic latitude
  static constexpr int kValueLimit = 99999;                        // five characters

  int object = 0;    // position in Objects()
  int quantity = 0;  // ConditionQuantity
  int mode = 0;

  const ObjectList& Objects() const { return objects_; }
  QuantityLayout Layout() const { return LayoutOfQuantity(quantity, mode); }
  // A new quantity: the object list follows it (keeping the object when the new list holds it)
  // and the mode restarts at 0.
  void SetQuantity(int q);

 protected:
  explicit QuantityPageBase(const Groups& groups);
  void PresetQuantity(const QueryCondition& staged);
  // Words 2, 3, 5 and 15.
  void StoreQuantity(QueryCondition& c) const;

 private:
  void BuildObjects();
  const Groups& groups_;
  ObjectList objects_;
};

class MoreLessPageModel : public QuantityPageBase {
 public:
  explicit MoreLessPageModel(const Groups& groups);
  void Preset(const QueryCondition& staged);

  int sense = 0;  // 0 "БОЛЬШЕ", 1 "МЕНЬШЕ"
  QuantityBound value;

  // 0, or the message of the value check.
  int Check() const;
  QueryCondition Words() const;
};

class IntervPageModel : public QuantityPageBase {
 public:
  explicit IntervPageModel(const Groups& groups);
  void Preset(const QueryCondition& staged);

  QuantityBound from, to;
  bool includeBegin = false, includeEnd = false;

  // 0, or the message of the first fault: the value check of "ОТ", then of "ДО", then 661 for
  // whole dates whose beginning lies after their end.
  int Check() const;
  QueryCondition Words() const;
};

// --- BEFORE/AFTER ---

class BeforeAfterPageModel {
 public:
  static constexpr const char* kObjectMask = "YYYNYYNNYYN";
  static constexpr const char* kReferenceMask = "YYYYYNYNYNY";

  explicit BeforeAfterPageModel(const Groups& groups);
  void Preset(const QueryCondition& staged);

  int object = 0;                            // position in Objects()
  int reference = 0;                         // position in References()
  int sense = 0;                             // 0 "До", 1 "После"
  int sectorDegrees = 0, sectorMinutes = 0;  // 0..180, 0..59
  int pointSign = 0, pointDegrees = 0, pointMinutes = 0;

  const ObjectList& Objects() const { return objects_; }
  const ObjectList& References() const { return references_; }
  // The arbitrary point's controls are enabled while the reference is that point.
  bool PointEnabled() const;
  QueryCondition Words() const;

 private:
  ObjectList objects_, references_;
};

// --- CONTEXT ---

// The text sought as a condition holds it: trailing blanks cut, each blank as code 4.
std::string StoredContextText(const std::string& shown);
// The stored text as the page shows it: code 4 as a blank.
std::string ShownContextText(const std::string& stored);

class ContextPageModel {
 public:
  static constexpr int kWhereComment = 3;
  static constexpr int kAllPages = 10;
  static constexpr int kAbsentOrNoComment = 2;

  void Preset(const QueryCondition& staged);

  int where = 0;     // 0 name, 1 type, 2 place, 3 comment
  int test = 0;      // 0 present, 1 absent, 2 absent or no comment
  int page = 0;      // 0..9 a comment page, 10 all
  std::string text;  // as shown (cp1251)
  bool ignoreBlanks = false, matchCase = false, partial = false;

  bool PageShown() const { return where == kWhereComment; }
  // "Контекст отсутствует или нет комментария" needs one comment page.
  bool NoCommentTestEnabled() const { return where == kWhereComment && page != kAllPages; }
  // Changes that may disable the third test, which then falls back to "absent".
  void SetWhere(int value);
  void SetPage(int value);
  QueryCondition Words() const;

 private:
  void Fallback();
};

// --- QUANT ---

struct QuantControls {
  bool objectList = false;
  bool addUp = false;         // "Суммировать": an each group only
  bool secondNumber = false;  // "В интервале от" ... "до"
  bool aspects = false;       // system, classes, orb
  bool exactBoxes = false;
  bool ownOrb = false;
  bool orbGroup = false;
};

class QuantPageModel {
 public:
  static constexpr int kCountPlanetsIn = 0;
  static constexpr int kCountInSignOf = 1;
  static constexpr int kCountInHouseOf = 2;
  static constexpr int kCountChartAspects = 3;
  static constexpr int kCountAspectsOf = 4;
  static constexpr int kBetween = 3;
  static constexpr const char* kPlaceMask = "NYNYNNYYYYN";
  static constexpr const char* kPlanetMask = "YNYNNNNNNNN";
  static constexpr const char* kAspectObjectMask = "YYYNYYNNYYN";
  static constexpr char kAddUpMark = '\x01';

  QuantPageModel(const Groups& groups, const Aspectarium& aspects);
  void Preset(const QueryCondition& staged);

  int count = kCountInSignOf;  // the radio group (word 2)
  int object = 0;              // position in Objects()
  bool addUp = false;
  int comparison = 0;            // 0 equal, 1 greater, 2 less, 3 between
  int number1 = 0, number2 = 0;  // 0..1000
  bool inclusive = false;
  std::string systemName;
  bool orbFromSystem = false;
  int orbDegrees = 0, orbMinutes = 0;  // 0..20, 0..59
  int mask = 0;                        // the class boxes, bits 0..8
  int houseOrbGroup = 1;               // 1..5
  bool nodes = false;
  int planets = 0;  // 0 Sun to Pluto, 1 those shown on the wheel, 2 all
  int houses = 0;   // 0 none, 1 angular, 2 all

  const ObjectList& Objects() const { return objects_; }
  std::vector<std::string> SystemNames() const;
  // A new count kind: the object list is rebuilt for it and its first entry chosen.
  void SetCount(int value);
  // A class box toggled, keeping one of each pair ticked.
  void SetClassBit(int bit, bool on);
  QuantControls Controls() const;
  // 0, or the message of the first fault: 59 no such aspect system, 636 no type box ticked (both
  // only while the aspect controls are enabled).
  int Check() const;
  QueryCondition Words() const;

 private:
  void BuildObjects();
  const Groups& groups_;
  const Aspectarium& aspects_;
  ObjectList objects_;
};
