// The list of text bases, their groups, and the selection of the texts that apply to a chart.
#include <algorithm>
#include <sstream>

#include "astro/chart/chart_context.h"
#include "conditions/core/tlr_base.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr char kBaseLineMark = '\x03';

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The base name of a path: an extension after the last '/' is cut.
std::string CutExtension(std::string path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot != std::string::npos) path.resize(dot);
  return path;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

struct ListLine {
  char switchByte;
  std::string name;
};

// The base lines of "tlr.bas" (at most 99).
std::vector<ListLine> ReadList(const std::string& bytes) {
  std::vector<ListLine> list;
  for (const std::string& line : Lines(bytes)) {
    if (line.empty() || line[0] != kBaseLineMark) continue;
    if (static_cast<int>(list.size()) >= TLRDATA::kMaxListedBases) break;
    if (line.size() < 3) continue;
    list.push_back({line[1] == 'F' ? 'F' : 'T', CutExtension(line.substr(2))});
  }
  return list;
}

std::string FormatList(const std::vector<ListLine>& list) {
  std::string bytes;
  for (const ListLine& l : list)
    bytes += std::string(1, kBaseLineMark) + l.switchByte + l.name + "\n";
  return bytes;
}

// The end of the record at `from` (the next '^' that begins a line).
std::size_t RecordEnd(std::string_view file, std::size_t from) {
  for (std::size_t i = file.find('^', from + 1); i != std::string_view::npos;
       i = file.find('^', i + 1))
    if (file[i - 1] == '\n' || file[i - 1] == '\r') return i;
  return file.size();
}

}  // namespace

TLRDATA::TLRDATA() = default;

fs::path TLRDATA::ListPath() { return GetSettings().GetPath(kListName); }
fs::path TLRDATA::OutputPath() { return GetSettings().GetPath(kOutputName); }

bool TLRDATA::CopyOutput(const fs::path& target, bool replace) {
  std::string output, old;
  if (target.empty() || !ReadWholeFile(OutputPath(), output).ok()) return false;
  std::error_code ec;
  if (!replace && fs::exists(target, ec) && !ReadWholeFile(target, old).ok()) return false;
  return RewriteFile(target, old + output).ok();
}

int TLRDATA::AddBase(std::string baseName, char switchByte) {
  if (Count() >= kMaxBases) return -1;
  bases.emplace_back();
  TLRBASE& base = bases.back();
  base.name = std::move(baseName);
  base.switchByte = switchByte == 'F' ? 'F' : 'T';
  base.owner_ = this;
  return Count() - 1;
}

void TLRDATA::RemoveBase(int i) {
  if (i < 0 || i >= Count()) return;
  bases.erase(bases.begin() + i);
}

int TLRDATA::LoadBases() {
  bases.clear();
  current = second = -1;
  std::string bytes;
  if (!Exists(ListPath()) || !ReadWholeFile(ListPath(), bytes).ok()) {
    (void)funcs.groups.LoadGroups();
    return -1;
  }
  for (ListLine& line : ReadList(bytes)) {
    std::string baseName = line.name;
    fs::path text = baseName + ".tlt";
    fs::path groupFile = baseName + ".tlg";
    if (!Exists(text) && !Exists(groupFile)) {
      const std::string missing = GetMessageText(kMsgTlrBaseMissing);
      const std::string question = missing + "\n" + PathText(text.native()) + "\n" + missing;
      platform::FileChoice choice;
      choice.filters = {{"Velm 5.* text database files (*.tlt)", "*.tlt"}};
      choice.path = text.string();
      // Located elsewhere, the base takes the path where its files were found.
      if (platform::GetPrompter().AskYesNo(kMsgTlrBaseMissing, question) == platform::Answer::Yes &&
          platform::GetPrompter().ChooseFile(choice)) {
        text = choice.path;
        std::string g = choice.path;
        if (!g.empty()) g.back() = 'g';
        groupFile = g;
        baseName = CutExtension(choice.path);
      }
    }
    const int slot = AddBase(baseName, line.switchByte);
    if (slot < 0) break;
    TLRBASE& base = bases[static_cast<std::size_t>(slot)];
    if (Exists(groupFile) && base.LoadGroupsFromFile(groupFile) >= 0) {
      if (Exists(text)) AddAbsentGroups(text, slot);
    } else if (Exists(text)) {
      CollectGroupNamesFromTextFile(base, text);
    }
  }
  (void)funcs.groups.LoadGroups();
  return 0;
}

int TLRDATA::Save() {
  std::vector<ListLine> list;
  for (const TLRBASE& base : bases) list.push_back({base.switchByte, base.name});
  const Status written = RewriteFile(ListPath(), FormatList(list));
  if (!written.ok()) {
    ReportError(written.ErrorCode(), "TLRDATA::Save", written.ErrorCode() == kErrWrite ? 0 : 1);
    return -1;
  }
  int result = 0;
  for (const TLRBASE& base : bases)
    if (base.SaveGroups() < 0) result = -2;
  return result;
}

int TLRDATA::AddAbsentGroups(const fs::path& textFile, int base) {
  if (base < 0 || base >= Count()) return 0;
  TLRBASE& b = bases[static_cast<std::size_t>(base)];
  std::string file;
  if (!ReadWholeFile(textFile, file).ok()) {
    ReportError(kErrCannotCreate, "TLRDATA::AddAbsentGroups", 0);
    return -1;
  }
  int added = 0;
  bool full = false;
  for (const TlrHeadingLine& h : FindTlrHeadings(file)) {
    const TlrHeading heading = ParseTlrHeading(h.line);
    if (heading.group.empty() || b.FindGroup(heading.group) >= 0) continue;
    if (b.AppendGroup({heading.group, 'T', 10}, &full) < 0) break;
    ++added;
  }
  if (added > 0)
    platform::GetPrompter().ShowMessage(kMsgTlrAbsentGroupsFound,
                                        GetMessageText(kMsgTlrAbsentGroupsFound) + " " +
                                            std::to_string(added) + " " +
                                            GetMessageText(kMsgTlrAbsentGroupsAdded),
                                        platform::Icon::Information);
  return added;
}

int CollectGroupNamesFromTextFile(TLRBASE& base, fs::path textFile) {
  const std::string path = textFile.string();
  if (path.size() < 4 || SearchKey(path.substr(path.size() - 4)) != ".TLT") textFile += ".tlt";
  std::string file;
  if (!ReadWholeFile(textFile, file).ok()) {
    ReportError(kErrCannotOpen, "DTlrFiles::CollectGroupNamesFromTextFile", 0);
    return -1;
  }
  ShowMessage(kMsgTlrGroupsFromText, platform::Icon::Information);
  int priority = 10;
  bool full = false;
  for (const TlrHeadingLine& h : FindTlrHeadings(file)) {
    const TlrHeading heading = ParseTlrHeading(h.line);
    if (heading.fault == TlrHeading::kNoGroup || heading.fault == TlrHeading::kGroupTooFar) {
      const int msg = heading.fault == TlrHeading::kNoGroup ? kMsgTlrNoGroup : kMsgTlrGroupTooFar;
      platform::GetPrompter().ShowMessage(
          msg, GetMessageText(msg) + " " + std::string(h.line.substr(1, 4)) + ".",
          platform::Icon::Warning);
      continue;
    }
    if (heading.group.empty() || base.FindGroup(heading.group) >= 0) continue;
    if (base.AppendGroup({heading.group, 'T', std::min(priority, 99)}, &full) < 0) break;
    ++priority;
  }
  return static_cast<int>(base.groups.size());
}

int RebaseTextBases(const fs::path& dataFolder) {
  const fs::path listPath = dataFolder / TLRDATA::kListName;
  std::string bytes;
  if (!Exists(listPath) || !ReadWholeFile(listPath, bytes).ok()) return 0;
  int moved = 0;
  std::string out;
  for (const std::string& line : Lines(bytes)) {
    if (line.size() < 3 || line[0] != kBaseLineMark) {
      out += line + "\n";
      continue;
    }
    fs::path name = line.substr(2);
    if (name.is_relative()) name = dataFolder / name;
    if (!Exists(fs::path(name.string() + ".tlt")) && !Exists(fs::path(name.string() + ".tlg"))) {
      const fs::path here = dataFolder / name.filename();
      if (Exists(fs::path(here.string() + ".tlt"))) name = here;
    }
    if (name.string() != line.substr(2)) ++moved;
    out += line.substr(0, 2) + name.string() + "\n";
  }
  if (moved > 0) ReportStatus(RewriteFile(listPath, out), "TLRDATA::LoadBases");
  return moved;
}

// --- Selection ---

void TLRDATA::CollectHits(const ChartContext& context, const Chart& chart) {
  hits.clear();
  for (int b = 0; b < Count() && static_cast<int>(hits.size()) < kMaxHits; ++b) {
    TLRBASE& base = bases[static_cast<std::size_t>(b)];
    if (base.switchByte == 'F') continue;
    // A base whose index could not be rebuilt is searched with the entries it has.
    (void)base.PrepareIndex();
    std::string file;
    if (!ReadWholeFile(base.FilePath("tlf"), file).ok()) continue;
    for (int n = 0; n < TLRBASE::kMaxTexts; ++n) {
      const TlrIndexEntry& e = base.index[static_cast<std::size_t>(n)];
      if (e.func < 0 || e.group < 0 || e.group >= static_cast<int>(base.groups.size())) continue;
      const TlrGroup& group = base.groups[static_cast<std::size_t>(e.group)];
      const auto from = static_cast<std::size_t>(e.func);
      if (group.flag == 'F' || from >= file.size()) continue;
      std::istringstream in(file.substr(from, RecordEnd(file, from) - from));
      funcs.ReadSelection(in);
      // A function that cannot be decided (-1) picks nothing; the other texts are still tried.
      if (funcs.Evaluate(context, chart, -1) != 1) continue;
      hits.push_back({static_cast<std::uint16_t>(n), static_cast<std::uint8_t>(b),
                      static_cast<std::uint8_t>(group.priority & 0xFF)});
      if (static_cast<int>(hits.size()) >= kMaxHits) break;
    }
  }
}

void TLRDATA::SortHits(std::vector<TlrHit>& hits, int sortOrder) {
  if (sortOrder == 2) return;
  const auto key = [sortOrder](const TlrHit& h) {
    return sortOrder == 1 ? std::pair(h.priority, h.base) : std::pair(h.base, h.priority);
  };
  std::stable_sort(hits.begin(), hits.end(),
                   [&key](const TlrHit& a, const TlrHit& b) { return key(a) < key(b); });
}

std::string TLRDATA::FormatHits(const TlrOutputOptions& options) {
  std::string out;
  std::vector<std::string> files(bases.size());
  std::vector<bool> read(bases.size(), false);
  bool told = false;
  for (const TlrHit& hit : hits) {
    if (hit.base >= bases.size()) continue;
    const TLRBASE& base = bases[hit.base];
    if (!read[hit.base]) {
      read[hit.base] = true;
      if (!ReadWholeFile(base.FilePath("tlt"), files[hit.base]).ok()) files[hit.base].clear();
    }
    TlrText text;
    if (files[hit.base].empty() || base.LoadTextFrom(files[hit.base], hit.number, text) < 0) {
      if (!told) ShowMessage(kMsgTlrCannotLoadText);
      told = true;
      continue;
    }
    if (options.titles) out += text.title + "\n";
    if (options.groupHeadings) out += "(" + text.group + ")\n";
    std::string_view body = text.body;
    if (!options.comments) body = body.substr(0, body.find("//"));
    out += std::string(body) + "\n";
  }
  return out;
}

int TLRDATA::SelectTexts(const ChartContext& context, const Chart& chart,
                         const TlrOutputOptions& options) {
  CollectHits(context, chart);
  SortHits(hits, options.sortOrder);
  const Status written = RewriteFile(OutputPath(), FormatHits(options));
  if (written.ok()) return 0;
  ReportError(written.ErrorCode(), "TLRDATA::SelectTexts", 0);
  return -1;
}
