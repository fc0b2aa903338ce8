// The archive object: the current file, its index, the recent list and the whole-file conversions.
#include "archive/store/archive.h"

#include <sys/stat.h>

#include <algorithm>
#include <new>
#include <system_error>

#include "archive/store/archive_internal.h"
#include "archive/store/archive_sort.h"
#include "archive/store/file_transaction.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"
#include "foundation/files/file_utils.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

platform::NullProgress g_noProgress;

}  // namespace

std::int64_t Archive::FileTimeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

bool Archive::IsSameFile(const fs::path& a, const fs::path& b) { return SameFile(a, b); }

std::string ArchiveFilterText(ArchiveFilter filter) {
  switch (filter) {
    case ArchiveFilter::kVersions45:
      return Cp1251("Архивы Velm 4.*/5.* (*.arc)");
    case ArchiveFilter::kVersion4:
      return Cp1251("Архивы Velm 4.* (*.arc)");
    case ArchiveFilter::kAnyVersion:
      break;
  }
  return Cp1251("Архивы Velm (*.arc)");
}

platform::FileChoice ArchiveFileChoice(bool open, ArchiveFilter filter, std::string start) {
  platform::FileChoice choice;
  choice.open = open;
  choice.mustExist = false;
  choice.filters.push_back({ArchiveFilterText(filter), "*.arc"});
  choice.path = std::move(start);
  return choice;
}

std::string Archive::DialogFolder() const {
  if (!path_.empty()) {
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) return folder.string() + '/';
  }
  return GetSettings().GetPath("");
}

Archive::Archive(CommentSlotTable& slots) : slots_(&slots), progress_(&g_noProgress) {}

Archive::~Archive() = default;

void Archive::SetProgress(platform::ProgressSink* sink) { progress_ = sink ? sink : &g_noProgress; }

int Archive::IfRealArchive(const fs::path& path) { return InspectArchiveFile(path).layout; }

int Archive::IsArchiveFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return 0;
  return IsKnownLayout(IfRealArchive(path)) ? 1 : 0;
}

int Archive::SetPath(const std::string& path) {
  const ArchiveFileInfo info = InspectArchiveFile(path);
  if (info.layout == kNotArchive) return -1;
  if (path != path_) FreeIndex();
  path_ = path;
  layout_ = info.layout;
  damaged_ = info.damaged;
  return info.layout;
}

void Archive::RefreshFileTime() { fileTime_ = FileTimeOf(path_); }

bool Archive::RefuseIfDamaged() const {
  if (!damaged_) return false;
  ShowMessage(kMsgDamagedReadOnly, platform::Icon::Information);
  return true;
}

bool Archive::RefuseUnknownLayout(int layout) {
  if (IsKnownLayout(layout)) return false;
  ShowMessage(kMsgUnknownLayout,
              GetMessageText(kMsgUnknownLayout) + " (" + std::to_string(layout) + ")",
              platform::Icon::Information);
  return true;
}

int Archive::InitIndex(int count) {
  index_.clear();
  capacity_ = count >= 50 ? count + 200 : 100;
  index_.reserve(static_cast<std::size_t>(capacity_));
  return 1;
}

void Archive::FreeIndex() {
  index_.clear();
  index_.shrink_to_fit();
  indexBuilt_ = false;
  capacity_ = 0;
  count_ = 0;
}

int Archive::ReadRecord(std::FILE* f, int layout, int n, Chart& chart, CommentRefBlock& block,
                        const char* trace) const {
  if (Status st = archive_file::ReadRecord(f, layout, n, chart, block); !st.ok()) {
    ReportError(st.ErrorCode(), trace, 1);
    return -1;
  }
  return n;
}

int Archive::CreateIndex() {
  RefreshFileTime();
  const ArchiveFileInfo info = InspectArchiveFile(path_);
  std::FILE* f = OpenForReading(path_);
  if (!f) {
    ReportError(kErrCannotOpen, "Archive::CreateIndex", 0);
    FreeIndex();
    return -1;
  }
  if (!IsKnownLayout(info.layout)) {
    std::fclose(f);
    ReportError(kErrRead, "Archive::CreateIndex", 0);
    layout_ = kNotArchive;
    FreeIndex();
    return -1;
  }
  layout_ = info.layout;
  damaged_ = info.damaged;
  InitIndex(static_cast<int>(info.records));
  const Status st = archive_file::ReadIndex(f, info, *progress_, index_);
  std::fclose(f);
  if (!st.ok()) {
    ReportError(st.ErrorCode(), "Archive::CreateIndex", st.Detail());
    FreeIndex();
    return -1;
  }
  count_ = static_cast<int>(index_.size());
  indexBuilt_ = true;
  return 0;
}

int Archive::HasComments(int n) const {
  if (n < 0 || n >= count_) return 0;
  return Entry(n).comments.HasAnyText() ? 1 : 0;
}

void Archive::ClearMarks() {
  for (ArchiveIndexEntry& e : index_) e.mark = 'N';
}

void Archive::MarkAll() {
  for (ArchiveIndexEntry& e : index_) e.mark = 'Y';
}

void Archive::InvertMarks() {
  for (ArchiveIndexEntry& e : index_) e.mark = e.IsSelected() ? 'N' : 'Y';
}

int Archive::MarkedCount() const {
  return static_cast<int>(
      std::count_if(index_.begin(), index_.end(), [](const auto& e) { return e.IsSelected(); }));
}

int Archive::OpenByName(const std::string& path) {
  if (!IsArchiveFile(path)) {
    ShowMessage(kMsgNotAnArchive, platform::Icon::Information);
    return -1;
  }
  FreeIndex();
  AddRecentName(path);
  SetPath(path);
  return CreateIndex();
}

// --- The recent list ---

int Archive::LoadNames() {
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
    if (line.empty() || line.size() > kMaxNameLength) continue;
    if (std::find(names_.begin(), names_.end(), line) != names_.end()) continue;
    names_.push_back(std::move(line));
  }
  return names_.empty() ? -1 : 0;
}

int Archive::SaveNames() {
  if (namesUnreadable_) return -1;  // the list on disk was never read: it is kept as it is
  std::string text;
  for (const std::string& n : names_) text += n + "\n";
  const Status st = RewriteFile(GetSettings().GetPath(kDataRecentArchives), text);
  if (st.ok()) return 0;
  // A folder where no file can be created (a read-only program folder) is passed over silently.
  if (st.ErrorCode() != kErrCannotCreate) ReportError(kErrWrite, "Archive::SaveNames", 1);
  return -1;
}

void Archive::AddRecentName(const std::string& path) {
  if (path.empty() || path.size() > kMaxNameLength) return;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] != path) continue;
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(i));
    names_.insert(names_.begin(), path);
    return;
  }
  names_.insert(names_.begin(), path);
  if (names_.size() > kMaxRecentNames) names_.resize(kMaxRecentNames);
}

bool Archive::RemoveRecentName(int i) {
  if (i < 0 || i >= static_cast<int>(names_.size())) return false;
  names_.erase(names_.begin() + i);
  return true;
}

Archive::RecentState Archive::RecentNameState(int i) const {
  if (i < 0 || i >= static_cast<int>(names_.size())) return RecentState::kMissing;
  const std::string& name = names_[static_cast<std::size_t>(i)];
  std::error_code ec;
  if (!fs::exists(name, ec)) return RecentState::kMissing;
  const int code = IfRealArchive(name);
  if (code == kCannotOpen) return RecentState::kUnreadable;
  return IsKnownLayout(code) ? RecentState::kArchive : RecentState::kNoArchive;
}

int Archive::Init() {
  layout_ = kNotArchive;
  if (LoadNames() == -1) return -1;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (!IsArchiveFile(names_[i])) continue;
    if (i > 0)  // the most recent archive cannot be opened now: said once, and its name kept
      ShowMessage(
          kMsgRecentArchiveAway,
          GetMessageText(kMsgRecentArchiveAway) + "\n" + platform::Utf8ToCp1251(names_.front()),
          platform::Icon::Information);
    const std::string name = names_[i];
    AddRecentName(name);
    SetPath(name);
    return CreateIndex();
  }
  ShowMessage(kMsgRecentArchiveAway,
              GetMessageText(kMsgRecentArchiveAway) + "\n" + platform::Utf8ToCp1251(names_.front()),
              platform::Icon::Information);
  return -1;
}

void Archive::SelectRecentArchive(int i) {
  if (i < 0 || i >= static_cast<int>(names_.size())) return;
  const std::string name = names_[static_cast<std::size_t>(i)];
  if (!IsArchiveFile(name)) {
    ShowMessage(kMsgNotAnArchive, platform::Icon::Information);
    return;
  }
  AddRecentName(name);
  if (SetPath(name) != -1) CreateIndex();
}

// --- Conversions ---

int Archive::ConvertTo44() {
  if (layout_ != kLayout4000 && layout_ != kLayout4200) return -1;
  return ConvertLayout(kLayout4400, "Archive::ConvertTo44");
}

int Archive::ConvertTo43() {
  if (layout_ != kLayout4400) return -1;
  return ConvertLayout(kLayout4200, "Archive::ConvertTo43");
}

int Archive::ConvertLayout(int target, const char* trace) {
  if (RefuseUnknownLayout(target) || RefuseIfDamaged()) return -1;
  // Texts exist only in layout 4400: leaving it drops them, after the user's consent.
  bool dropsTexts = false;
  if (layout_ == kLayout4400 && target != kLayout4400) {
    if (!indexBuilt_ && CreateIndex() != 0) return -1;
    for (int n = 0; n < count_ && !dropsTexts; ++n) dropsTexts = HasComments(n) == 1;
    if (dropsTexts && !AskYesNo(kMsgConvertDropsTexts)) return -1;
  }
  const std::int64_t count = InspectArchiveFile(path_).records;
  FileTransaction tx;
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return -1;
  const Status st =
      archive_file::ConvertRecords(rewrite.In(), layout_, count, rewrite.Out(), target);
  if (!st.ok()) {
    ReportError(st.ErrorCode(), trace, st.ErrorCode() == kErrRead ? 1 : 0);
    return -1;
  }
  // Comment files are dropped only with the records that referred to them.
  if (dropsTexts)
    for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(path_, k));
  if (FinishRewrite(true, tx, trace, 0, 1) != 0) return -1;
  for (ArchiveIndexEntry& e : index_) e.comments.Clear();
  layout_ = target;
  RefreshFileTime();
  ShowMessage(target == kLayout4400 ? kMsgConverted44 : kMsgConverted43,
              platform::Icon::Information);
  return 0;
}

// --- Query results ---

int Archive::InitSelectedRecordsInfo(int archives) {
  searched_.clear();
  selected_.clear();
  try {
    if (archives > 0) searched_.reserve(static_cast<std::size_t>(archives));
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "Archive::InitSelectedRecordsInfo", 1);
    return -1;
  }
  return 0;
}

int Archive::AddArchive2List() {
  searched_.push_back({path_, fileTime_});
  return static_cast<int>(searched_.size()) - 1;
}

int Archive::AddRecord2List(int archive, int n) {
  if (n < 0 || n >= count_) return -1;
  try {
    selected_.push_back(SelectedRecordNode{Entry(n), n, archive});
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "Archive::AddRecord2List", 0);
    return -1;
  }
  return 0;
}

void Archive::FreeSelectedRecordsInfo() {
  searched_.clear();
  selected_.clear();
}
