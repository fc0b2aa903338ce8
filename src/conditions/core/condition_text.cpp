#include "conditions/core/condition_text.h"

#include <cstdio>

#include "conditions/core/aspect_configurations.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/groups.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

const std::string& M(int n) { return GetMessageText(n); }

std::string SignName(int sign) {
  return sign >= 0 && sign < 12 ? M(kMsgSignNameFirst + sign) : "?";
}
std::string HouseName(int house) {
  return house >= 0 && house < 12 ? M(kMsgHouseNameFirst + house) : "?";
}

// "%d:%02d"
std::string DegMin(int degrees, int minutes) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d", degrees, minutes);
  return buffer;
}

std::string OwnOrb(const QueryCondition& c) { return M(kMsgOrb) + " " + DegMin(c.w[12], c.w[13]); }

std::string NameOf(int code, const std::string& label) {
  return QueryObjectName(code, label, 0, 0, 0);
}
// The first object, a fixed degree by words 8 to 10.
std::string FirstName(const QueryCondition& c) {
  return QueryObjectName(c.w[2], c.text1, c.w[8], c.w[9], c.w[10]);
}

// The quantity of MORE/LESS and INTERV and its mode.
std::string QuantityText(const QueryCondition& c) {
  const int q = c.w[3];
  std::string text;
  if (q == 0)
    text = NameOf(c.w[2], c.text1);
  else if (q >= 1 && q <= 4)
    text = M(kMsgQuantity + q - 1);
  else if (q == 5 || q == 6)
    text = M(q == 5 ? kMsgSpeed : kMsgEclipticLatitude) + "; " + NameOf(c.w[2], c.text1);
  if (q == 0) text += M(c.w[15] == 1 ? kMsgDegreeOfSign : kMsgAbsolute);
  if (q == 1 && c.w[15] == 1) text += M(kMsgDayAndMonth);
  if (q == 1 && c.w[15] == 2) text += M(kMsgDayOnly);
  return text;
}

std::string AspectChoiceText(const QueryCondition& c) {
  if (c.w[4] == kArbitraryAngle) return DegMin(c.w[17], c.w[18]);
  if (c.w[4] == kAnyAspectOfClasses) return "[" + c.text3 + "]:" + AspectClassMaskText(c.w[14]);
  return DegMin(c.w[17], c.w[18]) + " [" + c.text3 + "]";
}

std::string ContextText(const QueryCondition& c) {
  std::string text = "CONTEXT(";
  if (c.w[2] >= 0 && c.w[2] <= 3) text += M(kMsgContextField + c.w[2]);
  if (c.w[2] == 3) text += c.w[4] == 10 ? M(kMsgEveryPage) : "[" + std::to_string(c.w[4]) + "]";
  text += " ; ";
  if (c.w[3] == 1) text += M(kMsgAbsent);
  if (c.w[3] == 2) text += M(kMsgAbsentOrNoPage);
  std::string words = c.text1;
  ReplaceChar(words, kBlankInText, ' ');
  text += " \"" + TruncateText(words, 20) + "\"";
  if (c.w[11] == 1) text += M(kMsgNoBlanks);
  if (c.w[12] == 1) text += M(kMsgCase);
  if (c.w[13] == 1) text += M(kMsgPartial);
  return text + ")";
}

std::string ConfText(const QueryCondition& c) {
  ConfigurationTable table;
  BuildConfigurationTable(table);
  std::string name;
  if (c.w[2] >= 0 && c.w[2] < kConfigurationCount) {
    name = CopyBeforeChar(M(kMsgConfigurationName + c.w[2]), ' ');
    if (table[static_cast<std::size_t>(c.w[2])].withOppositions) name += "[+asp]";
  }
  const std::string orb = c.w[11] == 1 ? "[" + c.text3 + "]" : OwnOrb(c);
  return "CONF(\"" + name + "\"; " + ConfRestrictionText(c) + "; " + orb + ")";
}

std::string QuantText(const QueryCondition& c) {
  const int place = c.w[3];
  std::string text;
  switch (c.w[2]) {
    case 0:
      if (IsHouseCode(place))
        text = M(kMsgPlanetsIn) + " " + HouseName(place - kHouseBase) + M(kMsgEndingE);
      else if (IsSignCode(place))
        text = M(kMsgPlanetsInSign) + M(kMsgEndingE) + " " + SignName(place - kSignBase);
      else if (IsSignGroupCode(place))
        text = M(kMsgPlanetsInSign) + M(kMsgEndingAh) + " " + c.text1;
      else if (IsHouseGroupCode(place))
        text = M(kMsgPlanetsInHouses) + " " + c.text1;
      else
        text = NameOf(place, c.text1);
      break;
    case 1:
      text = M(kMsgPlanetsInSign) + M(kMsgEndingE) + M(kMsgWhere) + " " + NameOf(place, c.text1);
      break;
    case 2:
      text = M(kMsgPlanetsInHouseOf) + " " + NameOf(place, c.text1);
      break;
    case 3:
      text = M(kMsgAspectsInChart);
      break;
    case 4:
      text = M(kMsgAspectsOf) + " " + NameOf(place, c.text1) + " ";
      break;
  }
  if (!c.text2.empty()) text += M(kMsgSummed);
  if (c.w[4] >= 0 && c.w[4] <= 2) {
    text += M(kMsgEqual + c.w[4]) + " " + std::to_string(c.w[8]);
  } else if (c.w[4] == 3) {
    text +=
        M(kMsgFrom) + " " + std::to_string(c.w[8]) + " " + M(kMsgTo) + " " + std::to_string(c.w[9]);
    if (c.w[10] == 1) text += M(kMsgIncluded);
  }
  if (c.w[2] == 3 || c.w[2] == 4) {
    text += "; \"[" + c.text3 + "]:" + AspectClassMaskText(c.w[14]) + "\"";
    if (c.w[11] == 0) text += " " + OwnOrb(c);
  }
  return "QUANT(" + text + ")";
}

// A member 3 to 6 of CONF: a point 0..33, a cusp 34..45, or any planet.
std::string ConfMemberName(int value) {
  if (value == kAnyPlanet) return "*";
  if (value >= 0 && value < kSelectablePoints) return M(kMsgPointNameFirst + value);
  if (value >= kSelectablePoints && value < kSelectablePoints + 12)
    return M(kMsgHouseNameFirst + value - kSelectablePoints);
  return "?";
}

}  // namespace

std::string QueryObjectName(int code, std::string_view label, int degree, int sign, int minutes) {
  if (code >= 0 && code < kSignBase) return M(kMsgPointNameFirst + code);
  if (IsSignCode(code)) return SignName(code - kSignBase);
  if (IsHouseCode(code)) return HouseName(code - kHouseBase);
  if (IsRulerCode(code))
    return M(kMsgRuler) + " " + HouseName(code - kRulerBase) + M(kMsgRulerSuffix);
  if (IsGroupCode(code)) return std::string(label);
  if (code >= kFixedDegree) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "\"%02d:%02d ", degree, minutes);
    return buffer + SignName(sign) + "\"";
  }
  return "?";
}

std::string AspectClassMaskText(int mask) {
  if ((mask & kMaskAll) == kMaskAll) return M(kMsgAnyAspect);
  std::string text;
  for (int bit = 0; bit <= kMaskOtherClass; ++bit) {
    if (!(mask >> bit & 1)) continue;
    if (!text.empty()) text += ",";
    text += M(kMsgClassNames + bit);
  }
  const auto add = [&text](const std::string& word) { text += (text.empty() ? "" : ",") + word; };
  const bool major = mask >> kMaskMajor & 1, minor = mask >> kMaskMinor & 1;
  if (!(major && minor)) add(M(major ? kMsgMajor : kMsgMinor));
  const bool exact = mask >> kMaskExact & 1, inexact = mask >> kMaskInexact & 1;
  if (!(exact && inexact)) add(M(exact ? kMsgExact : kMsgInexact));
  return text;
}

std::string QueryValueText(const QueryCondition& c, bool second) {
  const int first = second ? c.w[8] : c.w[11];
  const int next = second ? c.w[9] : c.w[12];
  const int third = second ? c.w[10] : c.w[13];
  const int flag = second ? c.w[17] : c.w[14];
  const int sign = second ? c.w[18] : c.w[16];
  char buffer[48] = "";
  switch (c.w[3]) {
    case 0:
      if (c.w[15] == 1) return DegMin(first, next);
      return SignName(sign) + " " + DegMin(first, next);
    case 1:
      if (c.w[15] == 1) {
        std::snprintf(buffer, sizeof buffer, "%d.%d", first, next);
      } else if (c.w[15] == 2) {
        std::snprintf(buffer, sizeof buffer, "%d", first);
      } else {
        std::snprintf(buffer, sizeof buffer, "%d.%d.%d", first, next, third);
        if (flag == 0) return buffer + (" " + M(kMsgEraBc));
      }
      break;
    case 2:
      std::snprintf(buffer, sizeof buffer, "%02d:%02d", first, next);
      break;
    case 3:
    case 6:
      std::snprintf(buffer, sizeof buffer, "%02d%c%02d", first, flag == 1 ? 'S' : 'N', next);
      break;
    case 4:
      std::snprintf(buffer, sizeof buffer, "%03d%c%02d", first, flag == 1 ? 'W' : 'E', next);
      break;
    case 5:
      std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", flag == 1 ? '-' : ' ', first, next);
      break;
  }
  return buffer;
}

std::string ConfRestrictionText(const QueryCondition& c) {
  ConfigurationTable table;
  BuildConfigurationTable(table);
  const int row = c.w[2];
  const int members =
      row >= 0 && row < kConfigurationCount ? table[static_cast<std::size_t>(row)].members : 3;
  const auto memberName = [](int code, const std::string& label) {
    return code == kAnyPlanet ? std::string("*") : NameOf(code, label);
  };
  std::string text = memberName(c.w[14] / 1000, c.text1);
  if (c.w[8] == 1) text += M(kMsgAtApex);
  text += "," + memberName(c.w[14] % 1000, c.text2) + ",";
  const int values[] = {c.w[15] / 1000, c.w[15] % 1000, c.w[16] / 1000, c.w[16] % 1000};
  for (int k = 3; k <= members; ++k) {
    if (k > 3) text += "-";
    text += ConfMemberName(values[k - 3]);
  }
  return text;
}

std::string QueryConditionText(const QueryCondition& c, bool withNumber) {
  std::string text;
  if (withNumber) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%3d   ", c.Number());
    text = buffer;
  }
  const std::string a = FirstName(c);
  const std::string b = NameOf(c.w[3], c.text2);
  switch (c.Kind()) {
    case kCondAsp: {
      const std::string orb = c.w[11] == 0 ? OwnOrb(c) : "";
      return text + "ASP(" + a + " ; " + b + " ; \"" + AspectChoiceText(c) + "\" " + orb + ")";
    }
    case kCondPairAsp: {
      const std::string orb = c.w[11] == 0 ? OwnOrb(c) : "";
      return text + "ASP(" + a + ":1 ; " + b + ":2 ; \"" + AspectChoiceText(c) + "\" " + orb + ")";
    }
    case kCondIn:
      return text + "IN(" + a + " ; " + b + ")";
    case kCondPairIn:
      return text + "IN(" + a + ":" + std::to_string(c.w[11] + 1) + " ; " + b + ":" +
             std::to_string(2 - c.w[11]) + ")";
    case kCondIncl:
      return text + "INCL(" + a + " ; " + b + " ; " +
             (c.w[4] >= 0 && c.w[4] <= 2 ? M(kMsgWholly + c.w[4]) : "") + ")";
    case kCondInterval:
      return text + "INTERV(" + QuantityText(c) + " ; " + QueryValueText(c, false) + " - " +
             QueryValueText(c, true) + " " + ((c.w[4] & 1) ? '[' : ']') +
             ((c.w[4] & 2) ? ']' : '[') + " )";
    case kCondMoreLess:
      return text + M(kMsgMore + (c.w[4] == 1 ? 1 : 0)) + "(" + QuantityText(c) + " ; " +
             QueryValueText(c, false) + " )";
    case kCondBeforeAfter:
      return text + M(kMsgBefore + (c.w[4] == 1 ? 1 : 0)) + "(" + NameOf(c.w[2], c.text1) + " ; " +
             QueryObjectName(c.w[3], c.text2, c.w[8], c.w[9], c.w[10]) + " ; " +
             DegMin(c.w[11], c.w[12]) + ")";
    case kCondContext:
      return text + ContextText(c);
    case kCondConf:
      return text + ConfText(c);
    case kCondQuant:
      return text + QuantText(c);
  }
  return text;
}

std::string CFunc::QueryConditionText(int index, bool withNumber) const {
  if (index < 0 || index >= count_) return {};
  return ::QueryConditionText(conditions_[static_cast<std::size_t>(index)], withNumber);
}

// --- Object lists ---

namespace {

constexpr std::array<int, kObjectCategories> kBaseCode = {
    0, kHouseBase, kRulerBase, kSignBase, 500, 501, 502, 503, 504, 505, kFixedDegree};

bool IsGroupCategory(int k) { return k >= kCatPlanetGroupsOneOf && k <= kCatHouseGroupsEach; }

}  // namespace

ObjectList BuildObjectList(const Groups& groups, std::string_view mask, bool anyPoint) {
  ObjectList list;
  list.first.fill(-1);
  list.size.fill(0);
  for (int k = 0; k < kObjectCategories; ++k) {
    if (static_cast<std::size_t>(k) >= mask.size() || mask[static_cast<std::size_t>(k)] != 'Y')
      continue;
    const std::size_t at = static_cast<std::size_t>(k);
    list.first[at] = list.Count();
    if (k == kCatPoints) {
      for (int i = 0; i < kSelectablePoints; ++i) list.names.push_back(M(kMsgPointNameFirst + i));
    } else if (k == kCatHouses || k == kCatRulers || k == kCatSigns) {
      for (int i = 0; i < 12; ++i)
        list.names.push_back(QueryObjectName(kBaseCode[at] + i, {}, 0, 0, 0));
    } else if (IsGroupCategory(k)) {
      const char kind = Groups::KindOfCode(kBaseCode[at]);
      const char quantifier = (k - kCatPlanetGroupsOneOf) % 2 == 0 ? 'N' : 'A';
      for (int i = 0; i < groups.Count(kind); ++i)
        list.names.push_back(groups.GetGroupLabel(kind, i, quantifier));
    } else {
      list.names.push_back(M(anyPoint ? kMsgAnyPoint : kMsgArbitraryPointQuery));
    }
    list.size[at] = list.Count() - list.first[at];
  }
  return list;
}

int ObjectList::CategoryOfPosition(int position) const {
  for (int k = 0; k < kObjectCategories; ++k) {
    const std::size_t at = static_cast<std::size_t>(k);
    if (first[at] >= 0 && position >= first[at] && position < first[at] + size[at]) return k;
  }
  return -1;
}

int ObjectList::ObjectCodeOfPosition(int position) const {
  const int k = CategoryOfPosition(position);
  if (k < 0) return -1;
  const std::size_t at = static_cast<std::size_t>(k);
  // A group category stands for its group code; the entry's text is the group's label.
  if (IsGroupCategory(k) || k == kCatFixedDegree) return kBaseCode[at];
  return kBaseCode[at] + position - first[at];
}

int ObjectList::PositionOfObjectCode(int code, std::string_view label) const {
  for (int k = 0; k < kObjectCategories; ++k) {
    const std::size_t at = static_cast<std::size_t>(k);
    if (first[at] < 0) continue;
    if (IsGroupCategory(k) || k == kCatFixedDegree) {
      if (code != kBaseCode[at]) continue;
      if (k == kCatFixedDegree) return first[at];
      for (int i = 0; i < size[at]; ++i)
        if (names[static_cast<std::size_t>(first[at] + i)] == label) return first[at] + i;
      return -1;
    }
    const int offset = code - kBaseCode[at];
    const int span = k == kCatPoints ? kSelectablePoints : 12;
    if (offset >= 0 && offset < span) return first[at] + offset;
  }
  return -1;
}

int ObjectList::NextCategory(int k) const {
  for (int next = k + 1; next < kObjectCategories; ++next)
    if (first[static_cast<std::size_t>(next)] >= 0) return next;
  return -1;
}

bool ObjectList::IsSignPosition(int position) const {
  const int k = CategoryOfPosition(position);
  return k == kCatSigns || k == kCatSignGroupsOneOf || k == kCatSignGroupsEach;
}
