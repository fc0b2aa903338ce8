// Conditions as the user reads them: the one-line text of each condition kind, the display name
// of an object code, the text of an aspect-class mask; and the lists of selectable objects that
// the wizard pages offer, with the maps between a list position and an object code. Every word
// comes from the message catalogue; texts are code page 1251.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/query_condition.h"

class Groups;

// The display name of an object: a point, sign, house, "Управитель <house>а", the group label as
// stored, or for the fixed degree (506) "\"DD:MM <sign>\"".
std::string QueryObjectName(int code, std::string_view label, int degree, int sign, int minutes);

// "любой" when bits 0 to 8 are all set; else, joined by commas, the names of the set class bits 0
// to 4, then "маж" or "мин" unless both size bits are set, then "точн" or "неточн" unless both
// exactness bits are set.
std::string AspectClassMaskText(int mask);

// The text of a bound of MORE/LESS or INTERV: `second` false for the first bound (words 11 to 14
// and 16), true for the second (words 8 to 10, 17 and 18).
std::string QueryValueText(const QueryCondition& c, bool second);

// The members of a CONF condition: "member 1[верш.],member 2,members 3-n", the members 3 to n
// joined by '-' (n the configuration's member count); a member left to any planet (700) is '*'.
std::string ConfRestrictionText(const QueryCondition& c);

// The text of a condition, preceded by its number in "%3d   " when `withNumber`.
std::string QueryConditionText(const QueryCondition& c, bool withNumber);

// --- Lists of selectable objects ---

// The eleven categories of an object list, in list order, with the mask letter of each.
enum ObjectCategory {
  kCatPoints,             // 34 chart points (codes 0..33)
  kCatHouses,             // 12 house cusps (200 + n)
  kCatRulers,             // 12 house rulers (300 + n)
  kCatSigns,              // 12 signs (100 + n)
  kCatPlanetGroupsOneOf,  // planet groups (500), and so on for 501..505
  kCatPlanetGroupsEach,
  kCatSignGroupsOneOf,
  kCatSignGroupsEach,
  kCatHouseGroupsOneOf,
  kCatHouseGroupsEach,
  kCatFixedDegree,  // one entry (506)
  kObjectCategories
};

struct ObjectList {
  std::vector<std::string> names;
  // The first position and the number of entries of each category; -1 and 0 when it is not in
  // the list.
  std::array<int, kObjectCategories> first{};
  std::array<int, kObjectCategories> size{};

  int Count() const { return static_cast<int>(names.size()); }
  // The category of a position; -1 outside the list.
  int CategoryOfPosition(int position) const;
  // The object code of a position (a group category gives its group code 500..505); -1 outside.
  int ObjectCodeOfPosition(int position) const;
  // The position of an object code; for a group code the entry whose text is `label`. -1 when the
  // code (or the label) is not in the list.
  int PositionOfObjectCode(int code, std::string_view label = {}) const;
  // The next category after k that is in the list; -1 when none.
  int NextCategory(int k) const;
  // True when the position stands for a sign or a sign group.
  bool IsSignPosition(int position) const;
};

// The list of the categories whose letter in the 11-letter mask is 'Y': names of points, houses,
// rulers and signs from the catalogue, groups under their labels, the fixed degree named "Любая"
// when `anyPoint` else "Произвольная точка". A mask shorter than 11 letters leaves the missing
// categories out.
ObjectList BuildObjectList(const Groups& groups, std::string_view mask, bool anyPoint);
