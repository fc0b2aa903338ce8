#include "archive/store/archive_internal.h"

#include <sys/stat.h>

#include <system_error>

#include "archive/store/archive_index.h"
#include "archive/store/file_transaction.h"
#include "archive/store/list_lock.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace archive_detail {

bool AskYesNo(int n) { return AskYesNo(n, GetMessageText(n)); }

bool AskYesNo(int n, const std::string& text) {
  return platform::GetPrompter().AskYesNo(n, text) == platform::Answer::Yes;
}

const std::string& BaseName(const SuperSource& definition) {
  const Source* s = definition.GetBaseSource();
  return s ? s->Name() : definition.sources[0].Name();
}

std::int64_t FreeSpaceBeside(const fs::path& path) {
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  return GetFreeDiskSpace(folder);
}

bool SameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {
  }, sb{};
  const bool aExists = ::stat(a.c_str(), &sa) == 0, bExists = ::stat(b.c_str(), &sb) == 0;
  if (aExists && bExists) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (aExists != bExists) return false;
  std::error_code ec;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

bool SharesArchiveFiles(const fs::path& target, const fs::path& source) {
  if (SameFile(target, source)) return true;
  // Comment files are found by their names ignoring letter case, and the two names of an archive
  // and its comment files differ in the last character only ("a.arc" and "a.arC" both have
  // "a.ar0").
  const auto folded = [](const fs::path& p) {
    std::string name = p.filename().string();
    for (char& c : name)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
  };
  fs::path targetFolder = target.parent_path(), sourceFolder = source.parent_path();
  if (targetFolder.empty()) targetFolder = ".";
  if (sourceFolder.empty()) sourceFolder = ".";
  const bool sameFolder = SameFile(targetFolder, sourceFolder);
  for (int k = 0; k < kCommentPages; ++k) {
    const fs::path t = ArchiveCommentFileName(target, k), s = ArchiveCommentFileName(source, k);
    if (SameFile(t, s) || (sameFolder && folded(t) == folded(s))) return true;
  }
  return false;
}

ArchiveRewrite::ArchiveRewrite(const std::filesystem::path& path, FileTransaction& tx,
                               const char* trace)
    : in_(OpenForReading(path)) {
  Begin(path, path, tx, trace);
}

ArchiveRewrite::ArchiveRewrite(const ArchiveIndex& source, const ListLock& lock,
                               const std::filesystem::path& target, FileTransaction& tx,
                               const char* trace)
    : in_(source.OpenUnder(lock)) {
  if (lock.Ok()) Begin(source.GetPath(), target, tx, trace);
}

void ArchiveRewrite::Begin(const std::filesystem::path& source, const std::filesystem::path& target,
                           FileTransaction& tx, const char* trace) {
  if (!in_) {
    ReportStatus(Status::Error(kErrCannotOpen, source.string()), trace);
    return;
  }
  SafeRewrite& out = tx.Rewrite(target);
  if (!out.Ok()) {
    ReportStatus(Status::Error(kErrCannotCreate, target.string()), trace);
    return;
  }
  out_ = &out;
}

ArchiveRewrite::~ArchiveRewrite() {
  if (in_) std::fclose(in_);
}

int FinishRewrite(bool written, FileTransaction& tx, const char* trace, int writeDetail,
                  int commitDetail) {
  if (!written) {
    ReportError(kErrWrite, trace, writeDetail);
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), trace, commitDetail);
    return -1;
  }
  return 0;
}

}  // namespace archive_detail
