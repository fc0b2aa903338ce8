#include "conditions/core/member_choice.h"

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kPointCount = 34;
constexpr int kHouseOrSignCount = 12;

}  // namespace

int MemberChoice::EntryCount(int mode) {
  switch (mode) {
    case kPlanets:
      return kPointCount;
    case kHouses:
    case kSigns:
      return kHouseOrSignCount;
    default:
      return 0;
  }
}

const std::string& MemberChoice::EntryName(int mode, int i) {
  static const std::string kNone;
  if (i < 0 || i >= EntryCount(mode)) return kNone;
  const int first = mode == kPlanets  ? kMsgPointNameFirst
                    : mode == kHouses ? kMsgHouseNameFirst
                                      : kMsgSignNameFirst;
  return GetMessageText(first + i);
}

int MemberChoice::MaxChosen(int limit) {
  if (limit == kAtMost10) return 10;
  if (limit == kAtMost12) return 12;
  return -1;
}

int MemberChoice::CheckCount(int chosen, int limit) {
  const int most = MaxChosen(limit);
  return most >= 0 && chosen > most ? kMsgTooManyChosen : 0;
}

std::vector<bool> MemberChoice::FromFlags(int mode, std::string_view flags) {
  std::vector<bool> selected(static_cast<std::size_t>(EntryCount(mode)), false);
  for (std::size_t i = 0; i < selected.size() && i < flags.size(); ++i)
    selected[i] = flags[i] == 'Y';
  return selected;
}

std::string MemberChoice::ToFlags(const std::vector<bool>& selected) {
  std::string flags;
  flags.reserve(selected.size());
  for (const bool s : selected) flags += s ? 'Y' : 'N';
  return flags;
}

std::vector<int> MemberChoice::ChosenIndices(std::string_view flags) {
  std::vector<int> chosen;
  for (std::size_t i = 0; i < flags.size(); ++i)
    if (flags[i] == 'Y') chosen.push_back(static_cast<int>(i));
  return chosen;
}

std::string MemberChoice::FlagsOf(int mode, const std::vector<int>& members) {
  std::string flags(static_cast<std::size_t>(EntryCount(mode)), 'N');
  for (const int m : members)
    if (m >= 0 && m < static_cast<int>(flags.size())) flags[static_cast<std::size_t>(m)] = 'Y';
  return flags;
}
