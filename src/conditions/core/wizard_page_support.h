// What the wizard page models share: a staged word taken within its range, an object found back
// in a list by code and label, an object stored as code and label, the arbitrary point's words
// and the aspect system named by a text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "conditions/core/condition_text.h"
#include "conditions/core/query_condition.h"

class Aspectarium;

namespace wizard_page {

inline int InRangeOr(int value, int low, int high, int fallback) {
  return value >= low && value <= high ? value : fallback;
}

// The list position of a staged code and label; the first entry when it is not in the list.
inline int PositionOr0(const ObjectList& list, int code, const std::string& label) {
  return std::max(list.PositionOfObjectCode(code, label), 0);
}

// The code of a position and, for a group, its label.
inline void StoreObject(const ObjectList& list, int position, std::int32_t& code,
                        std::string& label) {
  code = list.ObjectCodeOfPosition(position);
  label = IsGroupCode(code) ? list.names.at(static_cast<std::size_t>(position)) : std::string();
}

// The arbitrary point as words 8 (degrees), 9 (sign) and 10 (minutes).
inline void StorePoint(QueryCondition& c, int degrees, int sign, int minutes) {
  c.w[8] = degrees;
  c.w[9] = sign;
  c.w[10] = minutes;
}

// The system whose name equals `name` over 12 characters, letter case ignored; -1 when none.
int FindAspectSystem(const Aspectarium& aspects, const std::string& name);

}  // namespace wizard_page
