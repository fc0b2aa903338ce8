#include "conditions/core/groups.h"

#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLabelCompareLength = 100;
constexpr char kKinds[3] = {'P', 'S', 'H'};

}  // namespace

int Groups::Slot(char kind) {
  switch (kind) {
    case 'P':
      return 0;
    case 'S':
      return 1;
    case 'H':
      return 2;
    default:
      return -1;
  }
}

char Groups::KindOfCode(int code) {
  if (code == 500 || code == 501) return 'P';
  if (code == 502 || code == 503) return 'S';
  return 'H';
}

int Groups::Count(char kind) const {
  const int slot = KindSlot(kind);
  return slot < 0 ? 0 : counts_[static_cast<std::size_t>(slot)];
}

const GroupRecord& Groups::Group(char kind, int i) const {
  return groups_.at(static_cast<std::size_t>(KindSlot(kind))).at(static_cast<std::size_t>(i));
}

GroupRecord& Groups::Group(char kind, int i) {
  return groups_.at(static_cast<std::size_t>(KindSlot(kind))).at(static_cast<std::size_t>(i));
}

int Groups::AddGroup(char kind, const GroupRecord& group) {
  const int slot = KindSlot(kind);
  if (slot < 0) return -1;
  int& count = counts_[static_cast<std::size_t>(slot)];
  if (count >= kGroupsPerKind || group.count < 0 || group.count > GroupRecord::kMaxMembers)
    return -1;
  if (group.name.empty() || group.name.find(' ') != std::string::npos) return -1;
  const int limit = MemberLimit(kKinds[slot]);
  for (int m = 0; m < group.count; ++m)
    if (group.members[static_cast<std::size_t>(m)] >= limit) return -1;
  GroupRecord& target = groups_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(count)];
  target = group;
  if (target.name.size() > GroupRecord::kMaxNameLength)
    target.name.resize(GroupRecord::kMaxNameLength);
  return count++;
}

int Groups::Parse(std::string_view bytes, int* cut) {
  counts_ = {0, 0, 0};
  int bad = 0, cuts = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos)
      line = line.substr(0, cr);
    const std::size_t bar = line.find('|');
    const int slot = line.empty() ? -1 : Slot(line[0]);
    if (bar == std::string_view::npos || bar == 0 || slot < 0) {
      ++bad;
      continue;
    }
    GroupRecord group;
    group.name = std::string(line.substr(1, bar - 1));
    const std::string_view letters = line.substr(bar + 1);
    const int limit = MemberLimit(kKinds[slot]);
    bool ok = true;
    for (std::size_t i = 0; i < letters.size() && group.count < GroupRecord::kMaxMembers; ++i) {
      const int member = static_cast<unsigned char>(letters[i]) - 'A';
      if (member < 0 || member >= limit) {
        ok = false;
        break;
      }
      group.members[static_cast<std::size_t>(group.count++)] = static_cast<std::uint8_t>(member);
      if (group.count == GroupRecord::kMaxMembers && i + 1 < letters.size()) ++cuts;
    }
    // A blank in a name could never be found back from a condition's label.
    for (char& c : group.name)
      if (c == ' ') c = '_';
    if (!ok || group.name.empty() || AddGroup(kKinds[slot], group) < 0) {
      ++bad;
    } else if (group.name.size() > GroupRecord::kMaxNameLength) {
      ++cuts;
    }
  }
  if (cut != nullptr) *cut = cuts;
  return bad;
}

int Groups::LoadGroups() { return LoadGroups(GetSettings().GetPath(kFileName)); }

int Groups::LoadGroups(const fs::path& file) {
  counts_ = {0, 0, 0};
  notReadWhole_.clear();
  std::error_code ec;
  if (!fs::exists(file, ec)) return 0;  // no groups yet
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) {
    ReportError(st.ErrorCode(), "Groups::LoadGroups", 0);
    return -1;
  }
  int cut = 0;
  const int bad = Parse(bytes, &cut);
  for (const int number : {bad > 0 ? kMsgGroupsBadLine : 0, cut > 0 ? kMsgGroupsCut : 0})
    if (number != 0) ShowMessage(number);
  if (bad > 0 || cut > 0) notReadWhole_ = file;
  return 0;
}

std::string Groups::Serialize(char skipKind, int skipIndex) const {
  std::string out;
  for (int slot = 0; slot < 3; ++slot) {
    for (int i = 0; i < counts_[static_cast<std::size_t>(slot)]; ++i) {
      if (kKinds[slot] == skipKind && i == skipIndex) continue;
      const GroupRecord& g = groups_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(i)];
      out += kKinds[slot];
      out += g.name;
      out += '|';
      for (int m = 0; m < g.count; ++m)
        out += static_cast<char>('A' + g.members[static_cast<std::size_t>(m)]);
      out += '\n';
    }
  }
  return out;
}

int Groups::SaveGroups(char kind, int index) {
  return SaveGroups(GetSettings().GetPath(kFileName), kind, index);
}

int Groups::SaveGroups(const fs::path& file, char kind, int index) {
  const char* trace = "Groups::SaveGroups";
  std::error_code ec;
  fs::path kept;
  const Status st = !notReadWhole_.empty() && notReadWhole_ == file && fs::exists(file, ec)
                        ? RewriteKeepingOld(file, Serialize(kind, index), kept)
                        : RewriteFile(file, Serialize(kind, index));
  if (!st.ok()) {
    ReportError(st.ErrorCode() != 0 ? st.ErrorCode() : kErrWrite, trace, 0);
    return -1;
  }
  if (notReadWhole_ == file) notReadWhole_.clear();
  if (!kept.empty()) ReportStatus(Status::Message(kMsgUnreadLinesKept, kept.string()), trace);
  return 0;
}

int Groups::IsMember(int index, int member) const {
  if (index < 0 || index >= Count('C')) return 0;
  const GroupRecord& g = Group('C', index);
  for (int m = 0; m < g.count; ++m)
    if (g.members[static_cast<std::size_t>(m)] == member) return 1;
  return 0;
}

void Groups::SwapGroups(int i, int j) {
  const int n = Count('C');
  if (i < 0 || j < 0 || i >= n || j >= n) return;
  std::swap(Group('C', i), Group('C', j));
}

std::string Groups::GetGroupLabel(char kind, int index, char quantifier) const {
  const char k = kind == 'C' ? current_ : kind;
  if (Slot(k) < 0 || index < 0 || index >= Count(k)) return {};
  std::string label = Group(k, index).name;
  if (quantifier == 'N')
    label += GetMessageText(k == 'P' ? kMsgSuffixPlanetOneOf : kMsgSuffixOneOf);
  else if (quantifier == 'A')
    label += GetMessageText(k == 'P' ? kMsgSuffixPlanetEach : kMsgSuffixEach);
  return label;
}

bool Groups::LabelEquals(char kind, int index, char quantifier, std::string_view text) const {
  // Names hold at most 30 characters, so a label never reaches the compared length.
  const std::string& name = Group(kind, index).name;
  std::string_view suffix;
  if (quantifier == 'N')
    suffix = GetMessageText(kind == 'P' ? kMsgSuffixPlanetOneOf : kMsgSuffixOneOf);
  else if (quantifier == 'A')
    suffix = GetMessageText(kind == 'P' ? kMsgSuffixPlanetEach : kMsgSuffixEach);
  if (text.size() > kLabelCompareLength) text = text.substr(0, kLabelCompareLength);
  return text.size() == name.size() + suffix.size() && text.substr(0, name.size()) == name &&
         text.substr(name.size()) == suffix;
}

const GroupRecord* Groups::LookUpGroup(std::string_view text, int code, char& quantifier) const {
  const char kind = KindOfCode(code);
  quantifier = (code == 500 || code == 502 || code == 504) ? 'N' : 'A';
  for (int i = 0; i < Count(kind); ++i)
    if (LabelEquals(kind, i, quantifier, text)) return &Group(kind, i);
  return nullptr;
}

int Groups::FindGroup(std::string_view text, int code, int& index, char& quantifier, int mode) {
  current_ = KindOfCode(code);
  if (mode == 1)
    quantifier = (code == 500 || code == 502 || code == 504) ? 'N' : 'A';
  else
    quantifier = '0';
  for (int i = 0; i < Count(current_); ++i) {
    if (LabelEquals(current_, i, quantifier, text)) {
      index = i;
      return Group(current_, i).count;
    }
  }
  const std::string message = GetMessageText(kMsgGroupNotFound) + "\n" + std::string(text) + ".";
  platform::GetPrompter().ShowMessage(kMsgGroupNotFound, message, platform::Icon::Warning);
  return -1;
}

int Groups::NameExists(std::string_view name) const {
  for (int slot = 0; slot < 3; ++slot)
    for (int i = 0; i < counts_[static_cast<std::size_t>(slot)]; ++i)
      if (groups_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(i)].name == name)
        return 1;
  return 0;
}
