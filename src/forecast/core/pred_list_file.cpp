#include "forecast/core/pred_list_file.h"

#include <algorithm>
#include <system_error>

#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/vector_state.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/codepage.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".pls";
// Characters a list name may not hold: they mean something to file names or shells.
constexpr std::string_view kRefused = "?',.;:~`@#$%^&*()|\\/=\"<>";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool IsListFile(const fs::directory_entry& entry) {
  std::error_code ec;
  if (!entry.is_regular_file(ec)) return false;
  const std::string ext = entry.path().extension().string();
  return EqualIgnoringCase(ext, kExtension) && !entry.path().stem().empty();
}

bool Blank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

void ReplaceFirst(std::string& text, std::string_view what, std::string_view with) {
  if (const std::size_t at = text.find(what); at != std::string::npos)
    text.replace(at, what.size(), with);
}

}  // namespace

std::vector<PredListFile> EnumeratePredLists(const fs::path& folder) {
  std::vector<PredListFile> lists;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsListFile(*it)) continue;
    bool lossless = true;
    std::string name = platform::Utf8ToCp1251(it->path().stem().string(), &lossless);
    if (lossless) lists.push_back({std::move(name), it->path()});
  }
  // In name order regardless of letter case, as a folder listing shows them.
  const auto key = [](const PredListFile& f) {
    std::string upper = f.name;
    StringToUpper(upper);
    return std::make_pair(upper, f.path.filename().string());
  };
  std::sort(lists.begin(), lists.end(),
            [&](const PredListFile& a, const PredListFile& b) { return key(a) < key(b); });
  return lists;
}

fs::path PredListPath(const fs::path& folder, std::string_view name) {
  const std::string stem = platform::Cp1251ToUtf8(name);
  fs::path ignoringCase;
  int caseMatches = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsListFile(*it)) continue;
    const std::string found = it->path().stem().string();
    if (found == stem) return it->path();
    if (EqualIgnoringCase(found, stem)) {
      ignoringCase = it->path();
      ++caseMatches;
    }
  }
  if (caseMatches == 1) return ignoringCase;
  return folder / (stem + std::string(kExtension));
}

Status CleanListName(std::string& name) {
  std::string clean = name;
  RemoveAllBlanks(clean);
  if (clean.empty()) return Status::Message(kMsgNewListName);
  StringToUpper(clean);
  for (char& c : clean)
    if (kRefused.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20) c = '_';
  name = std::move(clean);
  return Status::Ok();
}

Status PredList::Load(const fs::path& file) {
  CleanVectorState();  // a window's dialog came before (foundation/numbers/vector_state.h)
  std::string bytes;
  if (Status st = ReadWholeFile(file, bytes); !st.ok()) return st;
  std::vector<PredListRecord> read;
  int skipped = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line(bytes.data() + at, end - at);
    at = end + 1;
    if (Blank(line)) continue;
    if (std::optional<PredListRecord> record = PredListRecord::FromText(line))
      read.push_back(std::move(*record));
    else
      ++skipped;
  }
  records = std::move(read);
  skipped_ = skipped;
  damagedFile_ = skipped > 0 ? file : fs::path();
  return Status::Ok();
}

std::string PredList::Serialize() const {
  std::string contents;
  for (const PredListRecord& r : records) contents += r.ToText() + '\n';
  return contents;
}

Status PredList::Save(const fs::path& file) {
  CleanVectorState();  // a window's dialog came before (foundation/numbers/vector_state.h)
  std::error_code ec;
  fs::path kept;
  const bool keepOld = !damagedFile_.empty() && damagedFile_ == file && fs::exists(file, ec);
  if (Status st =
          keepOld ? RewriteKeepingOld(file, Serialize(), kept) : RewriteFile(file, Serialize());
      !st.ok())
    return st;
  damagedFile_.clear();
  skipped_ = 0;
  return Status::Ok();
}

void PredList::SortByMoment() {
  CleanVectorState();  // a window's dialog came before (foundation/numbers/vector_state.h)
  std::vector<std::pair<double, PredListRecord>> keyed;
  keyed.reserve(records.size());
  for (PredListRecord& r : records) keyed.emplace_back(r.when.JulianDay(), std::move(r));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) records[i] = std::move(keyed[i].second);
}

std::string SkippedLinesText(int skipped, const fs::path& file) {
  std::string text = GetMessageText(kMsgListLinesSkipped);
  ReplaceFirst(text, "%d", std::to_string(skipped));
  ReplaceFirst(text, "%s", platform::Utf8ToCp1251(file.native()));
  return text;
}

Status AppendPredListRecords(const fs::path& file, const std::vector<PredListRecord>& records) {
  std::string contents;
  std::error_code ec;
  if (fs::exists(file, ec)) {
    if (Status st = ReadWholeFile(file, contents); !st.ok()) return st;
    if (!contents.empty() && contents.back() != '\n') contents += '\n';
  }
  for (const PredListRecord& r : records) contents += r.ToText() + '\n';
  return RewriteFile(file, contents);
}

PredListHandOver HandOverEvents(const fs::path& file, const std::vector<int>& events,
                                const std::function<std::optional<PredListRecord>(int)>& make) {
  PredListHandOver result;
  std::vector<PredListRecord> records;
  for (int event : events) {
    std::optional<PredListRecord> record = make(event);
    if (!record) continue;
    result.unknownAspect = result.unknownAspect || record->aspect == kPredUnknownAspect;
    records.push_back(std::move(*record));
  }
  if (records.empty()) return result;
  result.status = AppendPredListRecords(file, records);
  if (result.status.ok()) result.written = static_cast<int>(records.size());
  return result;
}
