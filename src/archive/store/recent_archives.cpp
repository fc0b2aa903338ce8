// The recent-archive list.
#include "archive/store/recent_archives.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/commit_record.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/codepage.h"

namespace fs = std::filesystem;
using namespace archive_detail;

int RecentArchives::LoadNames() {
  names_.clear();
  namesUnreadable_ = false;
  const fs::path file = GetSettings().GetPath(kDataRecentArchives);
  std::string text;
  bool exists = false;
  if (!ReadFileIfExists(file, text, exists)) {
    namesUnreadable_ = true;
    ShowMessage(
        kMsgRecentListUnreadable,
        GetMessageText(kMsgRecentListUnreadable) + "\n" + platform::Utf8ToCp1251(file.native()),
        platform::Icon::Information);
    return -1;
  }
  if (!exists) return -1;
  std::size_t start = 0;
  while (start < text.size() && names_.size() < kMaxRecentNames) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    // A name the system's calls would cut (a NUL byte in it) names another file: refused.
    if (line.empty() || line.size() > kMaxNameLength || !FitsSystemCalls(line)) continue;
    if (std::find(names_.begin(), names_.end(), line) != names_.end()) continue;
    names_.push_back(std::move(line));
  }
  return names_.empty() ? -1 : 0;
}

int RecentArchives::SaveNames() {
  if (namesUnreadable_) return -1;  // the list on disk was never read: it is kept as it is
  std::string text;
  for (const std::string& n : names_) text += n + "\n";
  const Status st = RewriteFile(GetSettings().GetPath(kDataRecentArchives), text);
  if (st.ok()) return 0;
  // A folder where no file can be created (a read-only program folder) is passed over silently.
  if (st.ErrorCode() != kErrCannotCreate) ReportError(kErrWrite, "Archive::SaveNames", 1);
  return -1;
}

void RecentArchives::AddRecentName(const std::string& path) {
  if (path.size() > kMaxNameLength || !FitsSystemCalls(path)) return;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] != path) continue;
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(i));
    names_.insert(names_.begin(), path);
    return;
  }
  names_.insert(names_.begin(), path);
  if (names_.size() > kMaxRecentNames) names_.resize(kMaxRecentNames);
}

bool RecentArchives::RemoveRecentName(int i) {
  if (i < 0 || i >= static_cast<int>(names_.size())) return false;
  names_.erase(names_.begin() + i);
  return true;
}

RecentArchives::RecentState RecentArchives::RecentNameState(int i) const {
  if (i < 0 || i >= static_cast<int>(names_.size())) return RecentState::kMissing;
  const std::string& name = names_[static_cast<std::size_t>(i)];
  std::error_code ec;
  if (!fs::exists(name, ec)) return RecentState::kMissing;
  const int code = ArchiveIndex::IfRealArchive(name);
  if (code == kCannotOpen) return RecentState::kUnreadable;
  return IsKnownLayout(code) ? RecentState::kArchive : RecentState::kNoArchive;
}
