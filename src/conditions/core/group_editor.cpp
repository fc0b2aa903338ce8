#include "conditions/core/group_editor.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "conditions/core/member_choice.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

// A user who keeps typing refused names is asked at most this often.
constexpr int kMaxNameAttempts = 100;

}  // namespace

int GroupEditor::ModeOfKind(char kind) {
  if (kind == 'S') return MemberChoice::kSigns;
  if (kind == 'H') return MemberChoice::kHouses;
  return MemberChoice::kPlanets;
}

std::string GroupEditor::Path(const char* name) const { return GetSettings().GetPath(name); }

bool GroupEditor::Open() {
  const fs::path file = Path(Groups::kFileName);
  std::error_code ec;
  original_.reset();
  if (fs::exists(file, ec)) {
    std::string bytes;
    if (const Status st = ReadWholeFile(file, bytes); !st.ok()) {
      ReportError(st.ErrorCode(), "DGROUPS::OnInitDialog", 0);
      return false;
    }
    // The backup beside the file is for the user should the program end while the editor is open;
    // Cancel restores from the bytes kept here.
    if (const Status st = RewriteFile(Path(kBackupName), bytes); !st.ok())
      ReportError(st.ErrorCode(), "DGROUPS::OnInitDialog", 1);
    original_ = std::move(bytes);
  }
  opened_ = true;
  SetKind('P');
  return true;
}

void GroupEditor::Save() {
  if (!opened_) return;
  std::error_code ec;
  fs::remove(Path(kBackupName), ec);
  opened_ = false;
}

void GroupEditor::Cancel() {
  if (!opened_) return;
  const fs::path file = Path(Groups::kFileName);
  const fs::path backup = Path(kBackupName);
  std::error_code ec;
  Status restored;
  if (original_) {
    restored = RewriteFile(file, *original_);
  } else if (fs::remove(file, ec); ec) {
    restored = Status::Error(kErrWrite, file.string());
  }
  if (restored.ok()) {
    fs::remove(backup, ec);
  } else if (original_ && (fs::exists(backup, ec) || RewriteFile(backup, *original_).ok())) {
    // The groups as they were stay in the backup, and the user is told where.
    ReportStatus(Status::Message(kMsgGroupsNotRestored, backup.string()), "DGROUPS::OnCancel");
  } else {
    ReportError(restored.ErrorCode(), "DGROUPS::OnCancel", 0);
  }
  store_.LoadGroups();
  opened_ = false;
  Select(0);
}

void GroupEditor::SetKind(char kind) {
  store_.SetCurrentKind(kind);
  Select(0);
}

int GroupEditor::CheckName(std::string& name, int self) const {
  TrimRightUnderscore(name);
  if (name.empty()) return kMsgGroupNameEmpty;
  if (name.size() > GroupRecord::kMaxNameLength) return kMsgGroupNameTooLong;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '|') return kMsgGroupNameBadChar;
  }
  const char shown = store_.CurrentKind();
  for (const char kind : {'P', 'S', 'H'}) {
    for (int i = 0; i < store_.Count(kind); ++i) {
      if (kind == shown && i == self) continue;
      if (store_.Group(kind, i).name == name) return kMsgGroupNameTaken;
    }
  }
  return 0;
}

bool GroupEditor::AskGroupName(std::string& name, int self) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    if (!dialogs_.AskName(GetMessageText(kMsgGroupNamePrompt), name)) return false;
    std::string normalised = name;
    const int refusal = CheckName(normalised, self);
    if (refusal == 0) {
      name = normalised;
      return true;
    }
    ShowMessage(refusal);
  }
  return false;
}

bool GroupEditor::AskGroupMembers(GroupRecord& group) {
  const int mode = ModeOfKind(store_.CurrentKind());
  std::vector<int> members(group.members.begin(), group.members.begin() + group.count);
  std::string flags = MemberChoice::FlagsOf(mode, members);
  if (!dialogs_.AskMembers(mode, flags)) return false;
  const std::vector<int> chosen = MemberChoice::ChosenIndices(flags);
  if (chosen.empty()) {
    ShowMessage(kMsgGroupNeedsMember);
    return false;
  }
  const int limit = std::min(MemberChoice::EntryCount(mode), GroupRecord::kMaxMembers);
  group.count = 0;
  for (const int m : chosen)
    if (m < limit)
      group.members[static_cast<std::size_t>(group.count++)] = static_cast<std::uint8_t>(m);
  return group.count > 0;
}

bool GroupEditor::Add() {
  if (Count() >= Groups::kGroupsPerKind) {
    ShowMessage(kMsgTooManyGroups);
    return false;
  }
  GroupRecord group;
  if (!AskGroupName(group.name, -1) || !AskGroupMembers(group)) return false;
  const Groups before = store_;
  const int index = store_.AddGroup('C', group);
  if (index < 0) return false;
  if (!Write()) {
    store_ = before;
    return false;
  }
  Select(index);
  return true;
}

bool GroupEditor::Edit() {
  const int index = selected_;
  if (index < 0) return false;
  GroupRecord group = store_.Group('C', index);
  if (!AskGroupName(group.name, index) || !AskGroupMembers(group)) return false;
  const Groups before = store_;
  store_.Group('C', index) = group;
  if (!Write()) {
    store_ = before;
    return false;
  }
  return true;
}

bool GroupEditor::Delete() {
  const int index = selected_;
  if (index < 0) return false;
  if (store_.SaveGroups(store_.CurrentKind(), index) != 0) return false;
  store_.LoadGroups();
  Select(std::min(index, Count() - 1));
  return true;
}

bool GroupEditor::MoveUp() {
  const int index = selected_;
  if (index <= 0) return false;
  store_.SwapGroups(index, index - 1);
  if (!Write()) {
    store_.SwapGroups(index, index - 1);
    return false;
  }
  Select(index - 1);
  return true;
}

bool GroupEditor::MoveDown() {
  const int index = selected_;
  if (index < 0 || index + 1 >= Count()) return false;
  store_.SwapGroups(index, index + 1);
  if (!Write()) {
    store_.SwapGroups(index, index + 1);
    return false;
  }
  Select(index + 1);
  return true;
}
