#include "conditions/core/conf_page.h"

#include <algorithm>

#include "conditions/core/groups.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr int kMemberPositions = kSelectablePoints + 12;  // points, then house cusps

// 12 characters compared without regard to letter case.
bool SameSystemName(const std::string& a, const std::string& b) {
  return SearchKey(a.substr(0, 12)) == SearchKey(b.substr(0, 12));
}

// A member in one form for comparing: a point p as p, a cusp as 34 + house (whether it was chosen
// as an object code or a list position), a ruler apart from both; -1 for a member that is never
// compared (any planet, a group).
int Comparable(int k, int value) {
  if (value == kAnyPlanet) return -1;
  if (k >= 2) return value;
  if (IsPointCode(value)) return value;
  if (IsHouseCode(value)) return kSelectablePoints + value - kHouseBase;
  if (IsRulerCode(value)) return 1000 + value - kRulerBase;
  return -1;
}

}  // namespace

ConfPageModel::ConfPageModel(const Groups& groups, std::vector<std::string> systems)
    : groups_(groups), systems_(std::move(systems)) {
  BuildConfigurationTable(table_);
  for (int r = 0; r < kConfigurationCount; ++r)
    rowNames_.push_back(GetMessageText(kMsgConfigurationName + r));
  objects_ = BuildObjectList(groups_, kMemberMask, false);
  objectNames_.push_back(GetMessageText(kMsgConfAnyPlanet));
  objectNames_.insert(objectNames_.end(), objects_.names.begin(), objects_.names.end());
  pointNames_.push_back(GetMessageText(kMsgConfAnyPlanet));
  for (int p = 0; p < kMemberPositions; ++p)
    pointNames_.push_back(p < kSelectablePoints
                              ? GetMessageText(kMsgPointNameFirst + p)
                              : GetMessageText(kMsgHouseNameFirst + p - kSelectablePoints));
}

void ConfPageModel::Preset(const QueryCondition& staged) {
  const auto& w = staged.w;
  row = w[2] >= 0 && w[2] < kConfigurationCount ? w[2] : 0;
  objectSet = std::clamp(w[3], 0, 2);
  houses = std::clamp(w[4], 0, 2);
  apex = w[8] == 1;
  othersToo = w[9] == 1;
  nodes = w[10] == 1;
  orbSource = w[11] == 0 ? 0 : 1;
  orbDegrees = std::clamp(w[12], 0, 20);
  orbMinutes = std::clamp(w[13], 0, 59);
  orbClass = w[17] >= 1 && w[17] <= 5 ? w[17] : 1;
  system = 0;
  for (std::size_t i = 0; i < systems_.size(); ++i)
    if (SameSystemName(systems_[i], staged.text3)) {
      system = static_cast<int>(i);
      break;
    }
  const int values[kMembers] = {w[14] / 1000, w[14] % 1000, w[15] / 1000,
                                w[15] % 1000, w[16] / 1000, w[16] % 1000};
  // Cleared words (a new condition) hold no members: every list starts at "любая планета" rather
  // than at the Sun, which OK would refuse as chosen twice.
  const bool fresh = staged.Kind() != kCondConf;
  for (int k = 0; k < kMembers; ++k) {
    const int v = values[k];
    int entry = 0;
    if (!fresh && v != kAnyPlanet && w[14 + (k / 2)] >= 0) {
      if (k < 2)
        entry = objects_.PositionOfObjectCode(v, k == 0 ? staged.text1 : staged.text2) + 1;
      else if (v >= 0 && v < kMemberPositions)
        entry = v + 1;
    }
    member[static_cast<std::size_t>(k)] = std::max(entry, 0);
  }
}

bool ConfPageModel::ApexEnabled() const { return table_[static_cast<std::size_t>(row)].apex == 1; }

bool ConfPageModel::MemberEnabled(int k) const {
  if (k == 0) return true;
  if (othersToo) return false;
  return k <= 2 || table_[static_cast<std::size_t>(row)].members > k;
}

int ConfPageModel::MemberValue(int k) const {
  const int entry = member[static_cast<std::size_t>(k)];
  if (entry <= 0) return kAnyPlanet;
  if (k < 2) {
    const int code = objects_.ObjectCodeOfPosition(entry - 1);
    return code < 0 ? kAnyPlanet : code;
  }
  return entry - 1 < kMemberPositions ? entry - 1 : kAnyPlanet;
}

int ConfPageModel::Check() const {
  if (!othersToo) {
    std::array<int, kMembers> m{};
    for (int k = 0; k < kMembers; ++k)
      m[static_cast<std::size_t>(k)] = Comparable(k, MemberValue(k));
    const auto clash = [&m](int a, int b) {
      return m[static_cast<std::size_t>(a)] >= 0 &&
             m[static_cast<std::size_t>(a)] == m[static_cast<std::size_t>(b)];
    };
    const int members = table_[static_cast<std::size_t>(row)].members;
    if (clash(0, 1) || clash(0, 2) || clash(1, 2)) return kMsgConfMemberTwice;
    // Member k (3..5, 0-based) against members 3 .. k-1 and members 1 and 2.
    for (int k = 3; k < members && k < kMembers; ++k)
      for (int other = 0; other < k; ++other)
        if (clash(k, other)) return kMsgConfMemberTwice;
  }
  if (system < 0 || system >= static_cast<int>(systems_.size())) return kMsgAspectSystemNotFound;
  if (orbDegrees < 0 || orbDegrees > 20 || orbMinutes < 0 || orbMinutes > 59 || orbClass < 1 ||
      orbClass > 5)
    return kMsgConfOrbRange;
  return 0;
}

QueryCondition ConfPageModel::Words() const {
  QueryCondition c;
  for (int i = 1; i <= 18; ++i)
    if (i < 5 || i > 7) c.w[static_cast<std::size_t>(i)] = -1;
  c.w[1] = kCondConf;
  c.w[2] = row;
  c.w[3] = objectSet;
  c.w[4] = houses;
  const int m1 = MemberValue(0), m2 = MemberValue(1);
  if (IsGroupCode(m1)) c.text1 = objectNames_[static_cast<std::size_t>(member[0])];
  if (IsGroupCode(m2)) c.text2 = objectNames_[static_cast<std::size_t>(member[1])];
  if (system >= 0 && system < static_cast<int>(systems_.size()))
    c.text3 = systems_[static_cast<std::size_t>(system)];
  c.w[8] = ApexEnabled() && apex ? 1 : 0;
  c.w[9] = othersToo ? 1 : 0;
  c.w[10] = nodes ? 1 : 0;
  c.w[11] = orbSource;
  c.w[12] = orbDegrees;
  c.w[13] = orbMinutes;
  c.w[14] = m1 * 1000 + m2;
  c.w[15] = MemberValue(2) * 1000 + MemberValue(3);
  c.w[16] = MemberValue(4) * 1000 + MemberValue(5);
  c.w[17] = orbClass;
  return c;
}
