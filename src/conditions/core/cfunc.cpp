#include "conditions/core/cfunc.h"

#include <algorithm>
#include <system_error>

#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

CFunc::CFunc() : configuration_(&GetConfiguration()), aspects_(&GetAspectarium()) {
  numbersMet.fill(kNumberNotMet);
}

void CFunc::SetCapacity(int capacity) { capacity_ = std::clamp(capacity, 1, kCapacity); }

void CFunc::SetEnvironment(const Configuration* configuration, const Aspectarium* aspects) {
  configuration_ = configuration ? configuration : &GetConfiguration();
  aspects_ = aspects ? aspects : &GetAspectarium();
}

int CFunc::IndexOfNumber(int number) const {
  for (int i = 0; i < count_; ++i)
    if (conditions_[static_cast<std::size_t>(i)].Number() == number) return i;
  return -1;
}

int CFunc::NextFreeNumber() const {
  for (int n = 1; n <= capacity_; ++n)
    if (IndexOfNumber(n) < 0) return n;
  return -1;
}

int CFunc::AddCondition(const QueryCondition& condition) {
  const int number = NextFreeNumber();
  if (count_ >= capacity_ || number < 0) return -1;
  QueryCondition added;
  added.CopyContents(condition);
  added.w[0] = number;
  added.w[19] = 1;
  if (!ValidateCondition(added) || IsPairKind(added.Kind()) != synastry) return -1;
  std::move_backward(conditions_.begin(), conditions_.begin() + count_,
                     conditions_.begin() + count_ + 1);
  conditions_[0] = std::move(added);
  return ++count_;
}

void CFunc::CopyCondition(int i, const QueryCondition& condition) {
  if (i < 0 || i >= count_) return;
  conditions_[static_cast<std::size_t>(i)].CopyContents(condition);
}

void CFunc::RemoveCondition(int i) {
  if (i < 0 || i >= count_) return;
  std::move(conditions_.begin() + i + 1, conditions_.begin() + count_, conditions_.begin() + i);
  --count_;
}

int CFunc::LoadCondition(std::string_view line, int i) {
  if (i < 0 || i >= kCapacity) return -1;
  QueryCondition read;
  if (ParseConditionLine(line, read) != ConditionLineFault::kNone) return -1;
  conditions_[static_cast<std::size_t>(i)] = std::move(read);
  return 0;
}

ConditionListRead CFunc::ParseFuncs(std::string_view bytes, int limit) {
  ConditionListRead result;
  count_ = 0;
  limit = std::clamp(limit, 0, capacity_);
  std::size_t pos = 0;
  int lineNumber = 0;
  while (pos < bytes.size() && count_ < limit) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    QueryCondition read;
    const ConditionLineFault fault = ParseConditionLine(line, read);
    if (fault != ConditionLineFault::kNone || IsPairKind(read.Kind()) != synastry ||
        read.Number() > capacity_ || IndexOfNumber(read.Number()) >= 0) {
      result.refusedLines.push_back(lineNumber);
      continue;
    }
    conditions_[static_cast<std::size_t>(count_++)] = std::move(read);
  }
  result.count = count_;
  result.linesLeft = bytes.substr(std::min(pos, bytes.size())).find_first_not_of(" \t\r\n") !=
                     std::string_view::npos;
  return result;
}

int CFunc::LoadFuncs(const fs::path& file, int limit) {
  count_ = 0;
  notReadWhole_.clear();
  std::error_code ec;
  if (!fs::exists(file, ec)) return 0;
  std::string bytes;
  if (const Status st = ReadWholeFile(file, bytes); !st.ok()) {
    ReportError(st.ErrorCode(), "DQuery::LoadFuncs", 0);
    return -1;
  }
  const ConditionListRead read = ParseFuncs(bytes, limit);
  if (!read.refusedLines.empty()) {
    std::string text = GetMessageText(kMsgConditionsBadLines);
    for (std::size_t i = 0; i < read.refusedLines.size(); ++i)
      text += (i == 0 ? " " : ", ") + std::to_string(read.refusedLines[i]);
    platform::GetPrompter().ShowMessage(kMsgConditionsBadLines, text, platform::Icon::Warning);
  }
  if (!read.refusedLines.empty() || read.linesLeft) notReadWhole_ = file;
  return count_;
}

std::string CFunc::SerializeFuncs() const {
  std::string out;
  for (int i = 0; i < count_; ++i)
    out += FormatConditionLine(conditions_[static_cast<std::size_t>(i)]);
  return out;
}

namespace {

// Writes a list file safely, with a copy of the old file kept first when `keepOld`: 0; -1 after
// error 105; -2 after error 104 (or the read error of the old file).
int RewriteList(const fs::path& file, const std::string& contents, const char* trace,
                bool keepOld = false) {
  fs::path kept;
  const Status st = keepOld ? RewriteKeepingOld(file, contents, kept) : RewriteFile(file, contents);
  if (!st.ok()) {
    const bool created = st.ErrorCode() != kErrCannotCreate;
    ReportError(created ? (st.ErrorCode() != 0 ? st.ErrorCode() : kErrWrite) : kErrCannotCreate,
                trace, 0);
    return created ? -2 : -1;
  }
  if (!kept.empty()) ReportStatus(Status::Message(kMsgUnreadLinesKept, kept.string()), trace);
  return 0;
}

// At most `limit` lines of a text file, each cut at its first CR or LF; empty when the file is
// missing or unreadable.
std::vector<std::string> ReadLines(const fs::path& file, int limit) {
  std::vector<std::string> lines;
  std::string bytes;
  std::error_code ec;
  if (!fs::exists(file, ec) || !ReadWholeFile(file, bytes).ok()) return lines;
  std::size_t pos = 0;
  while (pos < bytes.size() && static_cast<int>(lines.size()) < limit) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (const std::size_t cr = line.find('\r'); cr != std::string::npos) line.resize(cr);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

int CFunc::SaveFuncs(const fs::path& file) {
  std::error_code ec;
  const bool keepOld = !notReadWhole_.empty() && notReadWhole_ == file && fs::exists(file, ec);
  const int result = RewriteList(file, SerializeFuncs(), "CFunc::SaveFuncs", keepOld);
  if (result == 0 && notReadWhole_ == file) notReadWhole_.clear();
  return result;
}

const char* ArcsFileName(QueryMode mode) {
  return mode == QueryMode::kSynastry ? "synarcs.lst" : "quearcs.lst";
}
const char* FuncsFileName(QueryMode mode) {
  return mode == QueryMode::kSynastry ? "synfuncs.lst" : "quefuncs.lst";
}
const char* LogicFileName(QueryMode mode) {
  return mode == QueryMode::kSynastry ? "synlogic.lst" : "quelogic.lst";
}

std::vector<ArchiveListEntry> LoadArcs(const fs::path& file) {
  std::vector<ArchiveListEntry> entries;
  for (const std::string& line : ReadLines(file, kMaxListLines)) {
    if (line.size() < 2) continue;
    ArchiveListEntry entry{line.substr(1), line[0] == '+'};
    if (Archive::IsArchiveFile(entry.path)) entries.push_back(std::move(entry));
  }
  return entries;
}

int SaveArcs(const fs::path& file, const std::vector<ArchiveListEntry>& entries) {
  std::string out;
  for (const ArchiveListEntry& e : entries) out += (e.on ? "+" : "-") + e.path + "\n";
  return RewriteList(file, out, "DQuery::SaveArcs");
}

std::vector<std::string> LoadLogic(const fs::path& file) { return ReadLines(file, kMaxListLines); }

int SaveLogic(const fs::path& file, const std::vector<std::string>& history) {
  std::string out;
  for (const std::string& e : history) out += e + "\n";
  return RewriteList(file, out, "DQuery::SaveLogic");
}
