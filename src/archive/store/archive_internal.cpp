#include "archive/store/archive_internal.h"

#include <system_error>

#include "archive/store/file_transaction.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace archive_detail {

bool AskYesNo(int n) { return AskYesNo(n, GetMessageText(n)); }

bool AskYesNo(int n, const std::string& text) {
  return platform::GetPrompter().AskYesNo(n, text) == platform::Answer::Yes;
}

void Tell(int n) { Tell(n, GetMessageText(n)); }

void Tell(int n, const std::string& text) {
  platform::GetPrompter().ShowMessage(n, text, platform::Icon::Information);
}

platform::FileChoice ArchiveChoice(bool open, const char* description) {
  platform::FileChoice choice;
  choice.open = open;
  choice.mustExist = false;
  choice.filters.push_back({description, "*.arc"});
  return choice;
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
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

ArchiveRewrite::ArchiveRewrite(const std::filesystem::path& source,
                               const std::filesystem::path& target, FileTransaction& tx,
                               const char* trace) {
  in_ = std::fopen(source.c_str(), "rb");
  if (!in_) {
    ReportError(kErrCannotOpen, trace, 0);
    return;
  }
  SafeRewrite& out = tx.Rewrite(target);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, trace, 0);
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
