// One interpretation-text base: its headings, groups, index and the edits of its text and function
// files. Edits splice the changed stretch into the file (InsertFile2File over a temporary file in
// the data folder) and keep the index by arithmetic; the stretch of a text or a function record
// runs to the next line that begins with '^', or to the end of the file.
#include "conditions/core/tlr_base.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kEditTemp = "__edtxt_.tmp";
constexpr const char* kFuncTemp = "_func__.tmp";
constexpr std::size_t kGroupTooFarColumn = 100;

// "<message> <number>."
void ShowWithNumber(int message, int number) {
  ShowMessage(message, GetMessageText(message) + " " + std::to_string(number) + ".");
}

bool IsLineStart(std::string_view file, std::size_t i) {
  return i == 0 || file[i - 1] == '\n' || file[i - 1] == '\r';
}

// The end of the line that begins at `i` (its CR or LF, or the end of the file).
std::size_t LineEnd(std::string_view file, std::size_t i) {
  const std::size_t end = file.find_first_of("\r\n", i);
  return end == std::string_view::npos ? file.size() : end;
}

// Past one line end ("\r\n", "\n" or "\r") at `i`.
std::size_t SkipLineEnd(std::string_view file, std::size_t i) {
  if (i < file.size() && file[i] == '\r') ++i;
  if (i < file.size() && file[i] == '\n') ++i;
  return i;
}

// The offset of the next '^' that begins a line, after offset `from`; the file's length when none.
std::size_t NextRecord(std::string_view file, std::size_t from) {
  for (std::size_t i = file.find('^', from + 1); i != std::string_view::npos;
       i = file.find('^', i + 1))
    if (IsLineStart(file, i)) return i;
  return file.size();
}

// The four digits after a '^' at `i`: the number, -1 when they are not four digits.
int RecordNumber(std::string_view file, std::size_t i) {
  if (i + 5 > file.size()) return -1;
  int number = 0;
  for (std::size_t k = i + 1; k < i + 5; ++k) {
    if (file[k] < '0' || file[k] > '9') return -1;
    number = number * 10 + (file[k] - '0');
  }
  return number;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string WithLineEnd(std::string_view body) {
  std::string text(body);
  if (text.empty() || text.back() != '\n') text += '\n';
  return text;
}

// Writes `bytes` into the temporary file `tempName` of the data folder and splices it over
// [from, to) of `file`; the temporary file is removed. 0, or -1 (reported).
int Splice(const fs::path& file, std::int64_t from, std::int64_t to, std::string_view bytes,
           const char* tempName, const char* trace) {
  fs::path temp;
  if (!bytes.empty()) {
    temp = GetSettings().GetPath(tempName);
    if (!RewriteFile(temp, bytes).ok()) {
      ReportError(kErrCannotCreate, trace, 0);
      return -1;
    }
  }
  const int result = InsertFile2File(file, from, to, temp);
  std::error_code ec;
  if (!temp.empty()) fs::remove(temp, ec);
  return result;
}

// Reads a whole file; the failure is reported under `trace` with `code` and `detail`.
bool ReadFile(const fs::path& path, std::string& bytes, const char* trace, int code = 0,
              int detail = 0) {
  const Status read = ReadWholeFile(path, bytes);
  if (read.ok()) return true;
  ReportError(code != 0 ? code : read.ErrorCode(), trace, detail);
  return false;
}

}  // namespace

// --- Headings ---

TlrHeading ParseTlrHeading(std::string_view line) {
  TlrHeading heading;
  heading.number = RecordNumber(line, 0);
  if (line.empty() || line[0] != '^' || heading.number < 0 ||
      heading.number >= TLRBASE::kMaxTexts) {
    heading.number = -1;
    heading.fault = TlrHeading::kBadNumber;
  }
  const std::size_t open = line.size() > 1 ? line.find('^', 1) : std::string_view::npos;
  const std::size_t close = open == std::string_view::npos ? open : line.find('^', open + 1);
  if (close == std::string_view::npos || close == open + 1) {
    if (heading.fault == TlrHeading::kNone) heading.fault = TlrHeading::kNoTitle;
    return heading;
  }
  heading.title = std::string(line.substr(open + 1, close - open - 1));
  const std::size_t first = line.find('/', close + 1);
  const std::size_t second = first == std::string_view::npos ? first : line.find('/', first + 1);
  if (second == std::string_view::npos || second == first + 1) {
    if (heading.fault == TlrHeading::kNone) heading.fault = TlrHeading::kNoGroup;
    return heading;
  }
  if (second >= kGroupTooFarColumn) {
    if (heading.fault == TlrHeading::kNone) heading.fault = TlrHeading::kGroupTooFar;
    return heading;
  }
  heading.group = std::string(line.substr(first + 1, second - first - 1));
  return heading;
}

std::string FormatTlrHeading(int number, std::string_view title, std::string_view group) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", number);
  return "^" + std::string(digits) + " ^" + std::string(title) + "^ /" + std::string(group) + "/\n";
}

bool SameTlrGroupName(std::string_view a, std::string_view b, int n) {
  return CompareStrings(a, b, n, true, Collation::kCyrillicFirst) == kCompareEqual;
}

int CheckTlrGroupName(std::string_view name) {
  return name.find_first_of("^/") != std::string_view::npos ? kMsgTlrBadGroupChar : 0;
}
int CheckTlrTitle(std::string_view title) {
  return title.find_first_of("^/\r\n") != std::string_view::npos ? kMsgTlrBadTitleChar : 0;
}
int CheckTlrBody(std::string_view body) {
  for (std::size_t i = body.find('^'); i != std::string_view::npos; i = body.find('^', i + 1))
    if (IsLineStart(body, i)) return kMsgTlrBodyCaret;
  return 0;
}

std::vector<TlrHeadingLine> FindTlrHeadings(std::string_view file) {
  std::vector<TlrHeadingLine> headings;
  for (std::size_t i = file.find('^'); i != std::string_view::npos; i = file.find('^', i + 1))
    if (IsLineStart(file, i)) headings.push_back({i, file.substr(i, LineEnd(file, i) - i)});
  return headings;
}

// --- The base ---

TLRBASE::TLRBASE() { index.fill({}); }

fs::path TLRBASE::FilePath(std::string_view extension) const {
  return fs::path(name + "." + std::string(extension));
}

int TLRBASE::FindGroup(std::string_view groupName, int n) const {
  for (std::size_t g = 0; g < groups.size(); ++g)
    if (SameTlrGroupName(groups[g].name, groupName, n)) return static_cast<int>(g);
  return -1;
}

int TLRBASE::AppendGroup(const TlrGroup& group, bool* reported) {
  if (static_cast<int>(groups.size()) >= kMaxGroups) {
    if (reported == nullptr || !*reported)
      ShowMessage(kMsgTlrTooManyGroups, GetMessageText(kMsgTlrTooManyGroups) + "\n" + group.name);
    if (reported != nullptr) *reported = true;
    return -1;
  }
  groups.push_back(group);
  return static_cast<int>(groups.size()) - 1;
}

int TLRBASE::LoadGroupsFromFile(const fs::path& path) {
  groups.clear();
  std::string bytes;
  if (!ReadFile(path, bytes, "TLRBASE::LoadGroupsFromFile", kErrCannotOpen)) return -1;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line) && static_cast<int>(groups.size()) < kMaxGroups;) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.size() < 4 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9' ||
        (line[2] != 'T' && line[2] != 'F') || CheckTlrGroupName(line.substr(3)) != 0)
      continue;
    groups.push_back({line.substr(3), line[2], (line[0] - '0') * 10 + (line[1] - '0')});
  }
  return static_cast<int>(groups.size());
}

int TLRBASE::SaveGroups() const {
  std::string bytes;
  for (const TlrGroup& g : groups) {
    char head[4];
    std::snprintf(head, sizeof head, "%02d", std::clamp(g.priority, 0, 99));
    bytes += std::string(head) + (g.flag == 'F' ? 'F' : 'T') + g.name + "\n";
  }
  const Status written = RewriteFile(FilePath("tlg"), bytes);
  if (written.ok()) return 0;
  ReportError(written.ErrorCode(), "TLRDATA::Save", written.ErrorCode() == kErrWrite ? 0 : 2);
  return -1;
}

// --- The index ---

bool TLRBASE::IsIndexFresh() const {
  std::error_code e1, e2, e3;
  const auto tli = fs::last_write_time(FilePath("tli"), e1);
  const auto tlt = fs::last_write_time(FilePath("tlt"), e2);
  const auto tlf = fs::last_write_time(FilePath("tlf"), e3);
  // Equal times count as fresh: file times move in steps of a clock tick, and the index is always
  // written after the files it indexes.
  return !e1 && !e2 && !e3 && tli >= tlt && tli >= tlf;
}

int TLRBASE::LoadIndex() {
  constexpr const char* kTrace = "TLRBASE::LoadIndex";
  std::string bytes;
  if (!ReadFile(FilePath("tli"), bytes, kTrace, kErrCannotOpen)) return -1;
  constexpr std::size_t kSize = kMaxTexts * kIndexRecordSize;
  if (bytes.size() < kSize) {
    const std::size_t inRecord = bytes.size() % kIndexRecordSize;
    ReportError(kErrRead, kTrace, inRecord < 2 ? 1 : inRecord < 6 ? 2 : 3);
    return -2;
  }
  const std::int64_t tltLength = GetFileLength(FilePath("tlt"));
  const std::int64_t tlfLength = GetFileLength(FilePath("tlf"));
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto i32 = [](const unsigned char* q) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(q[0]) | (q[1] << 8) | (q[2] << 16) |
                                     (static_cast<std::uint32_t>(q[3]) << 24));
  };
  std::array<TlrIndexEntry, kMaxTexts> read;
  const int groupCount = static_cast<int>(groups.size());
  for (std::size_t n = 0; n < read.size(); ++n, p += kIndexRecordSize) {
    TlrIndexEntry& e = read[n];
    e.group = static_cast<std::int16_t>(p[0] | (p[1] << 8));
    e.text = i32(p + 2);
    e.func = i32(p + 6);
    const bool free = e.group == -1 && e.text == -1 && e.func == -1;
    const bool fits = e.group >= 0 && e.group < groupCount && e.text >= 0 && e.text < tltLength &&
                      e.func >= -1 && e.func < tlfLength;
    if (!free && !fits) return -3;
  }
  index = read;
  return 0;
}

int TLRBASE::WriteIndex() const {
  std::string bytes;
  bytes.reserve(kMaxTexts * kIndexRecordSize);
  const auto put = [&bytes](std::uint32_t v, int width) {
    for (int k = 0; k < width; ++k) bytes += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  for (const TlrIndexEntry& e : index) {
    put(static_cast<std::uint16_t>(e.group), 2);
    put(static_cast<std::uint32_t>(e.text), 4);
    put(static_cast<std::uint32_t>(e.func), 4);
  }
  const Status written = RewriteFile(FilePath("tli"), bytes);
  if (written.ok()) return 0;
  ReportError(written.ErrorCode(), "TLRBASE::WriteIndex", 0);
  return written.ErrorCode() == kErrCannotCreate ? -3 : -4;
}

int TLRBASE::RebuildIndex() {
  index.fill({});
  if (ReadText4Index() < 0 || ReadFuncs4Index() < 0) return -1;
  return WriteIndex() < 0 ? -1 : 0;
}

int TLRBASE::PrepareIndex() {
  if (IsIndexFresh() && LoadIndex() == 0) return 0;
  return RebuildIndex();
}

int TLRBASE::ReadText4Index() {
  constexpr const char* kTrace = "TLRBASE::ReadText4Index";
  const fs::path path = FilePath("tlt");
  if (!Exists(path)) {
    if (!RewriteFile(path, "").ok()) {
      ReportError(kErrCannotCreate, kTrace, 0);
      return -1;
    }
    ShowMessage(kMsgTlrTextFileCreated);
    return 0;
  }
  std::string file;
  if (!ReadFile(path, file, kTrace)) return -1;
  if (static_cast<std::int64_t>(file.size()) > kMaxFileLength) {
    ShowMessage(kMsgTlrFileTooLarge);
    return -1;
  }
  bool added = false, full = false;
  for (const TlrHeadingLine& h : FindTlrHeadings(file)) {
    const TlrHeading heading = ParseTlrHeading(h.line);
    if (heading.fault == TlrHeading::kBadNumber) {
      ShowMessage(kMsgTlrBadNumber,
                  GetMessageText(kMsgTlrBadNumber) + " " +
                      std::string(h.line.substr(0, std::min<std::size_t>(50, h.line.size()))));
      continue;
    }
    TlrIndexEntry& entry = index[static_cast<std::size_t>(heading.number)];
    if (entry.text >= 0) ShowWithNumber(kMsgTlrDuplicateNumber, heading.number);
    if (heading.fault == TlrHeading::kNoTitle) {
      ShowWithNumber(kMsgTlrNoTitle, heading.number);
      continue;
    }
    if (heading.fault == TlrHeading::kNoGroup || heading.fault == TlrHeading::kGroupTooFar) {
      ShowWithNumber(heading.fault == TlrHeading::kNoGroup ? kMsgTlrNoGroup : kMsgTlrGroupTooFar,
                     heading.number);
      continue;
    }
    int group = FindGroup(heading.group, 100);
    if (group < 0) {
      if (full) continue;
      ShowMessage(kMsgTlrUnknownGroup, GetMessageText(kMsgTlrUnknownGroup) + heading.group + "\n" +
                                           GetMessageText(kMsgTlrGroupAdded));
      group = AppendGroup({heading.group, 'T', 10}, &full);
      if (group < 0) continue;
      added = true;
    }
    entry.group = static_cast<std::int16_t>(group);
    entry.text = static_cast<std::int32_t>(h.offset);
  }
  if (added) {
    if (owner_ != nullptr)
      (void)owner_->Save();
    else
      (void)SaveGroups();
  }
  return 0;
}

int TLRBASE::ReadFuncs4Index(bool report) {
  constexpr const char* kTrace = "TLRBASE::ReadFuncs4Index";
  for (TlrIndexEntry& e : index) e.func = -1;
  const fs::path path = FilePath("tlf");
  if (!Exists(path)) {
    if (!RewriteFile(path, "").ok()) {
      ReportError(kErrCannotCreate, kTrace, 0);
      return -1;
    }
    ShowMessage(kMsgTlrFuncFileCreated);
    return 0;
  }
  std::string file;
  if (!ReadFile(path, file, kTrace)) return -1;
  for (std::size_t i = file.find('^'); i != std::string::npos; i = file.find('^', i + 1)) {
    if (!IsLineStart(file, i)) continue;
    const int number = RecordNumber(file, i);
    if (number < 0 || number >= kMaxTexts) continue;
    TlrIndexEntry& entry = index[static_cast<std::size_t>(number)];
    if (entry.text >= 0)
      entry.func = static_cast<std::int32_t>(i);
    else if (report)
      ShowMessage(kMsgTlrOrphanFunction, GetMessageText(kMsgTlrOrphanFunction) + " " +
                                             std::to_string(number) + "\n" +
                                             GetMessageText(kMsgTlrOrphanFunctionTail));
  }
  return 0;
}

// --- Texts ---

std::optional<std::string> TLRBASE::GetTextName(int number) const {
  TlrText text;
  if (LoadText(number, text) < 0) return std::nullopt;
  return text.title;
}

int TLRBASE::LoadText(int number, TlrText& text) const {
  std::string file;
  if (!ReadFile(FilePath("tlt"), file, "TLRBASE::LoadText", kErrCannotOpen)) return -1;
  return LoadTextFrom(file, number, text);
}

int TLRBASE::LoadTextFrom(std::string_view file, int number, TlrText& text) const {
  if (number < 0 || number >= kMaxTexts) return -1;
  const std::int32_t offset = index[static_cast<std::size_t>(number)].text;
  if (offset < 0) return -1;
  const auto at = static_cast<std::size_t>(offset);
  if (at >= file.size() || file[at] != '^' || !IsLineStart(file, at)) {
    ShowWithNumber(kMsgTlrBadHeading, number);
    return -1;
  }
  const std::size_t end = LineEnd(file, at);
  const TlrHeading heading = ParseTlrHeading(file.substr(at, end - at));
  if (heading.fault == TlrHeading::kNoTitle || heading.fault == TlrHeading::kBadNumber) {
    ShowWithNumber(heading.fault == TlrHeading::kNoTitle ? kMsgTlrNoTitle : kMsgTlrBadHeading,
                   number);
    return -1;
  }
  text.title = heading.title;
  text.group = heading.group;
  const std::size_t body = SkipLineEnd(file, end);
  text.body = std::string(file.substr(body, NextRecord(file, body == 0 ? 0 : body - 1) - body));
  return 0;
}

bool TLRBASE::HasRoomFor(std::size_t bytes) const {
  const std::int64_t free = GetFreeDiskSpace(GetSettings().Folder());
  const std::int64_t length = std::max<std::int64_t>(0, GetFileLength(FilePath("tlt")));
  return free < 0 || free > length + static_cast<std::int64_t>(bytes) + 1000;
}

std::vector<int> TLRBASE::TextNumbers() const {
  std::vector<int> numbers;
  for (int n = 0; n < kMaxTexts; ++n)
    if (index[static_cast<std::size_t>(n)].text >= 0) numbers.push_back(n);
  return numbers;
}

int TLRBASE::SpliceText(std::int64_t from, std::int64_t to, std::string_view insert,
                        const char* trace) {
  return Splice(FilePath("tlt"), from, to, insert, kEditTemp, trace);
}

int TLRBASE::SpliceFunctions(std::int64_t from, std::int64_t to, std::string_view insert,
                             const char* trace) {
  return Splice(FilePath("tlf"), from, to, insert, kFuncTemp, trace);
}

namespace {

// The refusal of a text's fields: 0, or the message shown.
int RefuseText(std::string_view body, std::string_view title, const TLRBASE& base, int group) {
  int refusal = CheckTlrTitle(title);
  if (refusal == 0 && title.empty()) refusal = kMsgTlrNoTitleEntered;
  if (refusal == 0) refusal = CheckTlrBody(body);
  if (refusal == 0 && (group < 0 || group >= static_cast<int>(base.groups.size())))
    refusal = kMsgTlrNoGroupChosen;
  if (refusal == 0) refusal = CheckTlrGroupName(base.groups[static_cast<std::size_t>(group)].name);
  if (refusal != 0) ShowMessage(refusal);
  return refusal;
}

}  // namespace

int TLRBASE::InsertText(std::string_view body, std::string_view title, int group) {
  constexpr const char* kTrace = "TLRBASE::InsertText";
  if (RefuseText(body, title, *this, group) != 0) return -1;
  const TlrGroup& g = groups[static_cast<std::size_t>(group)];
  if (!HasRoomFor(body.size() + title.size() + g.name.size())) {
    ShowMessage(kMsgNoDiskSpace);
    return -1;
  }
  const fs::path path = FilePath("tlt");
  std::string file;
  if (Exists(path) && !ReadFile(path, file, kTrace)) return -1;
  std::string text = FormatTlrHeading(0, title, g.name) + WithLineEnd(body);
  if (static_cast<std::int64_t>(file.size() + text.size() + 1) >= kMaxFileLength) {
    ShowMessage(kMsgTlrFileTooLarge);
    return -1;
  }
  int number = 1;
  while (number < kMaxTexts && index[static_cast<std::size_t>(number)].text >= 0) ++number;
  if (number >= kMaxTexts) {
    ShowMessage(kMsgTlrTooManyTexts);
    return -1;
  }
  text = FormatTlrHeading(number, title, g.name) + WithLineEnd(body);
  std::size_t offset = file.size();
  if (!file.empty() && file.back() != '\n' && file.back() != '\r') {
    text.insert(0, "\n");
    ++offset;
  }
  if (!Exists(path) && !RewriteFile(path, "").ok()) {
    ReportError(kErrCannotCreate, kTrace, 0);
    return -1;
  }
  const auto length = static_cast<std::int64_t>(file.size());
  if (SpliceText(length, length, text, kTrace) < 0) return -1;
  index[static_cast<std::size_t>(number)] = {static_cast<std::int16_t>(group),
                                             static_cast<std::int32_t>(offset), -1};
  // A function record left in the file under this number belongs to the new text now.
  if (ReadFuncs4Index(false) < 0 || WriteIndex() < 0) return -1;
  (void)SaveGroups();
  ShowMessage(kMsgTlrTextAdded);
  return number;
}

int TLRBASE::ReplaceText(int number, std::string_view body, std::string_view title, int group) {
  constexpr const char* kTrace = "TLRBASE::ReplaceText";
  if (number < 0 || number >= kMaxTexts || index[static_cast<std::size_t>(number)].text < 0)
    return -1;
  if (RefuseText(body, title, *this, group) != 0) return -1;
  const TlrGroup& g = groups[static_cast<std::size_t>(group)];
  if (!HasRoomFor(body.size() + title.size() + g.name.size())) {
    ShowMessage(kMsgNoDiskSpace);
    return -1;
  }
  std::string file;
  if (!ReadFile(FilePath("tlt"), file, kTrace)) return -1;
  TlrIndexEntry& entry = index[static_cast<std::size_t>(number)];
  const auto from = static_cast<std::size_t>(entry.text);
  if (from >= file.size()) return -1;
  const std::size_t to = NextRecord(file, from);
  const std::string text = FormatTlrHeading(number, title, g.name) + WithLineEnd(body);
  if (static_cast<std::int64_t>(file.size() - (to - from) + text.size()) >= kMaxFileLength) {
    ShowMessage(kMsgTlrFileTooLarge);
    return -1;
  }
  if (SpliceText(static_cast<std::int64_t>(from), static_cast<std::int64_t>(to), text, kTrace) < 0)
    return -1;
  const auto delta = static_cast<std::int32_t>(text.size()) - static_cast<std::int32_t>(to - from);
  for (TlrIndexEntry& e : index)
    if (e.text > entry.text) e.text += delta;
  entry.group = static_cast<std::int16_t>(group);
  if (WriteIndex() < 0) return -1;
  (void)SaveGroups();
  return 0;
}

int TLRBASE::DeleteText(int number) {
  constexpr const char* kTrace = "TLRBASE::DeleteText";
  if (number < 0 || number >= kMaxTexts || index[static_cast<std::size_t>(number)].text < 0)
    return -1;
  TlrIndexEntry& entry = index[static_cast<std::size_t>(number)];
  std::string file;
  if (!ReadFile(FilePath("tlt"), file, kTrace)) return -1;
  const auto from = static_cast<std::size_t>(entry.text);
  if (from >= file.size()) return -1;
  const std::size_t to = NextRecord(file, from);
  if (SpliceText(static_cast<std::int64_t>(from), static_cast<std::int64_t>(to), {}, kTrace) < 0)
    return -1;
  for (TlrIndexEntry& e : index)
    if (e.text > entry.text) e.text -= static_cast<std::int32_t>(to - from);
  if (entry.func >= 0) {
    std::string funcs;
    if (!ReadFile(FilePath("tlf"), funcs, kTrace)) return -1;
    const auto ffrom = static_cast<std::size_t>(entry.func);
    const std::size_t fto = ffrom < funcs.size() ? NextRecord(funcs, ffrom) : ffrom;
    if (fto > ffrom && SpliceFunctions(static_cast<std::int64_t>(ffrom),
                                       static_cast<std::int64_t>(fto), {}, kTrace) < 0)
      return -1;
    for (TlrIndexEntry& e : index)
      if (e.func > entry.func) e.func -= static_cast<std::int32_t>(fto - ffrom);
  }
  entry = {};
  if (WriteIndex() < 0) return -1;
  (void)SaveGroups();
  return 0;
}

int TLRBASE::WriteFunction(int number, const CFunc& set) {
  constexpr const char* kTrace = "TLRBASE::WriteFunction";
  if (number < 0 || number >= kMaxTexts || index[static_cast<std::size_t>(number)].text < 0)
    return -1;
  const fs::path path = FilePath("tlf");
  std::string file;
  if (Exists(path)) {
    if (!ReadFile(path, file, kTrace)) return -1;
  } else if (!RewriteFile(path, "").ok()) {
    ReportError(kErrCannotCreate, kTrace, 0);
    return -1;
  }
  std::string record;
  if (set.Count() > 0) {
    char head[16];
    std::snprintf(head, sizeof head, "^%04d\n", number);
    record = head;
    record += set.mode == 1 ? "ANY\n" : set.mode == 2 ? set.logic + "\n" : "ALL\n";
    record += set.SerializeFuncs();
  }
  const std::int32_t old = index[static_cast<std::size_t>(number)].func;
  std::size_t from, to;
  if (old >= 0 && static_cast<std::size_t>(old) < file.size()) {
    from = static_cast<std::size_t>(old);
    to = NextRecord(file, from);
  } else {
    if (record.empty()) return 0;
    from = to = file.empty() || file[0] == '^' ? 0 : NextRecord(file, 0);
    if (from == file.size() && !file.empty() && file.back() != '\n' && file.back() != '\r')
      record.insert(0, "\n");
  }
  if (SpliceFunctions(static_cast<std::int64_t>(from), static_cast<std::int64_t>(to), record,
                      kTrace) < 0)
    return -1;
  if (ReadFuncs4Index(false) < 0) return -1;
  return WriteIndex() < 0 ? -1 : 0;
}

int TLRBASE::ReadFunction(int number, CFunc& set) const {
  set.Clear();
  set.mode = 0;
  set.logic.clear();
  if (number < 0 || number >= kMaxTexts) return 0;
  const std::int32_t offset = index[static_cast<std::size_t>(number)].func;
  if (offset < 0) return 0;
  std::string file;
  if (!ReadFile(FilePath("tlf"), file, "TLRBASE::ReadFunction", kErrCannotOpen)) return -1;
  const auto from = static_cast<std::size_t>(offset);
  if (from >= file.size()) return 0;
  std::istringstream in(file.substr(from, NextRecord(file, from) - from));
  return set.ReadSelection(in);
}

int TLRBASE::RenameTextsGroup(std::string_view oldName, std::string_view newName) {
  constexpr const char* kTrace = "TLRBASE::RenameTextsGroup";
  std::string texts;
  if (!ReadFile(FilePath("tlt"), texts, kTrace, kErrRead)) return -1;
  std::string renamed;
  std::size_t copied = 0;
  for (const TlrHeadingLine& h : FindTlrHeadings(texts)) {
    const TlrHeading heading = ParseTlrHeading(h.line);
    if (heading.group.empty() || !SameTlrGroupName(heading.group, oldName)) continue;
    // The group stands between the first two '/' after the title; the rest of the line stays.
    const std::size_t title = h.line.find('^', h.line.find('^', 1) + 1);
    const std::size_t first = h.line.find('/', title + 1);
    renamed.append(texts, copied, h.offset + first + 1 - copied);
    renamed.append(newName);
    copied = h.offset + first + 1 + heading.group.size();
  }
  if (copied == 0) return 1;
  renamed.append(texts, copied);
  if (!RewriteFile(FilePath("tlt"), renamed).ok()) {
    ReportError(kErrWrite, kTrace, 3);
    return -1;
  }
  return 1;
}

int TLRBASE::DeleteTextsForGroup(std::string_view groupName) {
  constexpr const char* kTrace = "TLRBASE::DeleteTextsForGroup";
  std::string texts;
  if (!ReadFile(FilePath("tlt"), texts, kTrace, kErrRead)) return -1;
  std::string kept;
  std::set<int> removed;
  bool asked = false;
  std::size_t copied = 0;
  for (const TlrHeadingLine& h : FindTlrHeadings(texts)) {
    const TlrHeading heading = ParseTlrHeading(h.line);
    if (heading.group.empty() || !SameTlrGroupName(heading.group, groupName)) continue;
    if (!asked) {
      if (platform::GetPrompter().AskYesNo(kMsgTlrDeleteGroupTexts,
                                           GetMessageText(kMsgTlrDeleteGroupTexts)) !=
          platform::Answer::Yes)
        return 0;
      asked = true;
    }
    kept.append(texts, copied, h.offset - copied);
    copied = NextRecord(texts, h.offset);
    if (heading.number >= 0) removed.insert(heading.number);
  }
  if (!asked) return 1;
  kept.append(texts, copied);

  std::string funcs, keptFuncs;
  const bool haveFuncs = Exists(FilePath("tlf"));
  if (haveFuncs && !ReadFile(FilePath("tlf"), funcs, kTrace, kErrRead)) return -1;
  copied = 0;
  for (std::size_t i = funcs.find('^'); i != std::string::npos; i = funcs.find('^', i + 1)) {
    if (!IsLineStart(funcs, i) || !removed.contains(RecordNumber(funcs, i))) continue;
    keptFuncs.append(funcs, copied, i - copied);
    copied = NextRecord(funcs, i);
    i = copied - 1;
  }
  keptFuncs.append(funcs, copied);

  if (!RewriteFile(FilePath("tlt"), kept).ok()) {
    ReportError(kErrWrite, kTrace, 3);
    return -1;
  }
  if (haveFuncs && !RewriteFile(FilePath("tlf"), keptFuncs).ok()) {
    ReportError(kErrWrite, kTrace, 4);
    return -1;
  }
  return 1;
}
