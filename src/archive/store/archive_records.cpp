// Operations on the records marked 'Y': delete, move one up or down, copy or move into another
// archive, and the alphabetical order of the whole archive.
#include <algorithm>
#include <numeric>
#include <system_error>

#include "archive/store/archive.h"
#include "archive/store/archive_internal.h"
#include "archive/store/file_transaction.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/messages.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

constexpr int kNameCompareLength = 260;
constexpr std::int64_t kChartPart4200 = 1776;

bool WriteHeader(SafeRewrite& out, int layout) {
  if (layout == kLayout4000) return out.Ok();
  BinaryWriter head;
  head.I32(LayoutHeaderWord(layout));
  return out.Write(head.Data());
}

}  // namespace

bool Archive::IndexMatchesFile(const char* trace) const {
  if (indexBuilt_ && InspectArchiveFile(path_).records == count_ &&
      static_cast<int>(index_.size()) == count_)
    return true;
  ReportError(kErrFormat, trace, 2);
  return false;
}

int Archive::DeleteArchiveFiles() {
  FileTransaction tx;
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(path_, k));
  tx.Remove(path_);
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), "Archive::DeleteArchiveFiles", 0);
    return -1;
  }
  FreeIndex();
  layout_ = kCannotOpen;
  damaged_ = false;
  RefreshFileTime();
  return 0;
}

int Archive::Delete(bool confirm) {
  const char* trace = "Archive::Delete";
  int marked = 0, first = -1;
  for (int n = 0; n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (first < 0) first = n;
    ++marked;
  }
  if (marked == 0) return 0;
  if (confirm) {
    const bool yes = marked == 1 ? AskYesNo(483, GetMessageText(483) + "\n\"" + Entry(first).name +
                                                     ",  " + Entry(first).title + "\" ?")
                                 : AskYesNo(484);
    if (!yes) return -1;
  }
  if (RefuseIfDamaged(trace) || !IndexMatchesFile(trace)) return -1;
  if (marked == count_) return DeleteArchiveFiles();

  std::vector<CommentRefBlock> saved;
  saved.reserve(index_.size());
  for (const ArchiveIndexEntry& e : index_) saved.push_back(e.comments);
  auto restore = [&] {
    for (std::size_t i = 0; i < index_.size(); ++i) index_[i].comments = saved[i];
  };

  FileTransaction tx;
  bool textsMoved = false;
  if (layout_ == kLayout4400) {
    for (int n = 0; n < count_ && !textsMoved; ++n)
      textsMoved = Entry(n).IsSelected() && HasComments(n);
    if (textsMoved && DeleteSelectedComments(tx) != 0) {
      restore();
      return -1;
    }
  }
  std::FILE* f = std::fopen(path_.c_str(), "rb");
  if (!f) {
    restore();
    ReportError(kErrCannotOpen, trace, 0);
    return -1;
  }
  SafeRewrite& out = tx.Rewrite(path_);
  bool ok = WriteHeader(out, layout_);
  if (!out.Ok()) {
    std::fclose(f);
    restore();
    ReportError(kErrCannotCreate, trace, 0);
    return -1;
  }
  // Runs of kept records are copied as they stand; with texts cut out, the 4400 blocks come from
  // the index.
  int runStart = -1;
  for (int n = 0; ok && n <= count_; ++n) {
    const bool keep = n < count_ && !Entry(n).IsSelected();
    if (keep && textsMoved) {
      std::string chartPart;
      BinaryWriter block;
      Entry(n).comments.Write(block);
      ok = SeekRecord(f, layout_, n) &&
           ReadExactly(f, static_cast<std::size_t>(kChartPart4200), chartPart) &&
           out.Write(chartPart) && out.Write(block.Data());
      continue;
    }
    if (keep && runStart < 0) runStart = n;
    if (!keep && runStart >= 0) {
      ok = SeekRecord(f, layout_, runStart) && CopyRecords(f, out, layout_, n - runStart);
      runStart = -1;
    }
  }
  std::fclose(f);
  if (!ok) {
    restore();
    ReportError(kErrWrite, trace, 1);
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    restore();
    ReportError(st.ErrorCode(), trace, 2);
    return -1;
  }
  std::erase_if(index_, [](const ArchiveIndexEntry& e) { return e.IsSelected(); });
  count_ = static_cast<int>(index_.size());
  ClearMarks();
  RefreshFileTime();
  return 0;
}

int Archive::ChartUpDown(bool up) {
  const char* trace = "Archive::ChartUpDown";
  int s = -1, marked = 0;
  for (int n = 0; n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (s < 0) s = n;
    ++marked;
  }
  if (marked != 1) {
    Tell(1157);
    return -1;
  }
  if ((up && s == 0) || (!up && s == count_ - 1)) {
    Tell(1156);
    return -1;
  }
  if (RefuseIfDamaged(trace) || !IndexMatchesFile(trace)) return -1;
  const int a = up ? s - 1 : s;  // the first of the two records exchanged
  FileTransaction tx;
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return -1;
  std::FILE* f = rewrite.In();
  SafeRewrite& out = rewrite.Out();
  const std::size_t size = static_cast<std::size_t>(LayoutRecordSize(layout_));
  std::string first, second;
  bool ok = WriteHeader(out, layout_) && SeekRecord(f, layout_, 0) &&
            CopyRecords(f, out, layout_, a) && ReadExactly(f, size, first) &&
            ReadExactly(f, size, second) && out.Write(second) && out.Write(first) &&
            CopyRecords(f, out, layout_, count_ - a - 2);
  if (FinishRewrite(ok, tx, trace, 1, 2) != 0) return -1;
  std::swap(index_[static_cast<std::size_t>(a)], index_[static_cast<std::size_t>(a + 1)]);
  RefreshFileTime();
  return 0;
}

int Archive::ChooseDestinationFile(std::string& path, int& exists, int& layout) {
  platform::FileChoice choice;
  choice.open = false;
  choice.mustExist = false;
  choice.filters.push_back({"Velm 4.* archive files (*.arc)", "*.arc"});
  if (!platform::GetPrompter().ChooseFile(choice)) return -1;
  std::string name = choice.path;
  if (!HasFileExtension(name)) name += ".arc";
  std::error_code ec;
  if (!fs::exists(name, ec)) {
    path = name;
    exists = 0;
    layout = kLayout4400;
    return 0;
  }
  const int code = IfRealArchive(name);
  if (code != kLayout4000 && code != kLayout4200 && code != kLayout4400) {
    Tell(477);
    return -1;
  }
  path = name;
  exists = 1;
  layout = code;
  return 0;
}

void Archive::CopyTextsTo(const CommentRefBlock& source, const fs::path& target, bool targetExisted,
                          FileTransaction& tx, CommentRefBlock& block) {
  block.Clear();
  for (int k = 0; k < kCommentPages; ++k) {
    if (!source.HasText(k)) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    std::string text;
    std::FILE* f = std::fopen(ArchiveCommentFileName(path_, k).c_str(), "rb");
    const std::size_t length = std::min<std::size_t>(source.lengths[i], kCommentMaxLength);
    const bool read = f && SeekTo(f, source.offsets[i]) && ReadExactly(f, length, text);
    if (f) std::fclose(f);
    if (!read) {
      Tell(529);
      continue;
    }
    const fs::path file = ArchiveCommentFileName(target, k);
    const bool fresh = !tx.Rewrites(file);
    SafeRewrite& out = tx.Rewrite(file);
    std::string old;
    bool exists = false;
    if (fresh && targetExisted && !ReadFileIfExists(file, old, exists)) {
      ReportError(kErrRead, "Archive::CopyToArchive", 2);
      Tell(530);
      continue;
    }
    if (fresh) out.Write(old);
    const std::int64_t offset = out.Ok() ? static_cast<std::int64_t>(std::ftell(out.Handle())) : -1;
    if (offset < 0 || !out.Write(text)) {
      ReportError(out.TempPath().empty() ? kErrCannotCreate : kErrWrite, "Archive::CopyToArchive",
                  2);
      Tell(530);
      return;
    }
    block.offsets[i] = static_cast<std::uint32_t>(offset);
    block.lengths[i] = static_cast<std::uint16_t>(text.size());
  }
}

int Archive::CopyToArchive(const std::string& target, int targetExists, int targetLayout, bool move,
                           bool noQuestions) {
  const char* trace = "Archive::CopyToArchive";
  if (SameFile(target, path_)) {  // the source would be read while it is replaced
    ReportError(kErrParameter, trace, 3);
    return -1;
  }
  std::error_code ec;
  if (!targetExists && fs::exists(target, ec)) {  // a file there is never replaced by a copy
    ReportError(kErrParameter, trace, 4);
    return -1;
  }
  if (!IndexMatchesFile(trace)) return -1;
  if (layout_ == kLayout4400 && targetLayout != kLayout4400) {
    bool texts = false;
    for (int n = 0; n < count_ && !texts; ++n) texts = Entry(n).IsSelected() && HasComments(n);
    if (texts && !AskYesNo(531)) return -1;
  }
  std::int64_t targetSize = 4;
  if (targetExists) {
    const ArchiveFileInfo info = InspectArchiveFile(target);
    if (info.layout != targetLayout || info.damaged) {
      ReportError(info.damaged ? kErrFormat : kErrCannotOpen, "Archive::PrepareDestinationFile", 0);
      return -1;
    }
    targetSize = info.length;
  }
  const std::int64_t needed = std::max<std::int64_t>(std::int64_t{count_} * 1836, targetSize);
  if (FreeSpaceBeside(target) < needed) {
    Tell(476);
    return -1;
  }
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(target);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, "Archive::PrepareDestinationFile", 0);
    return -1;
  }
  bool ok = true;
  if (targetExists) {
    std::FILE* t = std::fopen(target.c_str(), "rb");
    ok = t && out.CopyFrom(t);
    if (t) std::fclose(t);
    if (!ok) {
      ReportError(kErrCannotOpen, "Archive::PrepareDestinationFile", 0);
      return -1;
    }
  } else {
    ok = WriteHeader(out, targetLayout);
    // Comment files left beside a new target by an earlier archive of that name are dropped.
    if (targetLayout == kLayout4400)
      for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(target, k));
  }
  std::FILE* f = std::fopen(path_.c_str(), "rb");
  if (!f) {
    ReportError(kErrCannotOpen, trace, 1);
    return -1;
  }
  const std::size_t size = static_cast<std::size_t>(LayoutRecordSize(layout_));
  Chart chart;
  CommentRefBlock block;
  for (int n = 0; ok && n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (layout_ == targetLayout && layout_ != kLayout4400) {
      std::string bytes;
      ok = SeekRecord(f, layout_, n) && ReadExactly(f, size, bytes) && out.Write(bytes);
      continue;
    }
    if (ReadRecord(f, layout_, n, chart, block, trace) < 0) {
      ok = false;
      break;
    }
    if (layout_ == kLayout4000) ResetAspectSystemName(chart.definition);
    chart.commentSlot = 0;
    BinaryWriter w;
    chart.Save(w, LayoutChartVersion(targetLayout));
    if (targetLayout == kLayout4400) {
      CommentRefBlock copied;
      if (layout_ == kLayout4400) CopyTextsTo(block, target, targetExists != 0, tx, copied);
      copied.Write(w);
    }
    ok = out.Write(w.Data());
  }
  std::fclose(f);
  if (!ok) {
    ReportError(kErrWrite, trace, 1);
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {  // nothing of the copy reaches the target
    ReportError(st.ErrorCode(), trace, 2);
    return -1;
  }
  std::vector<char> marks;
  for (const ArchiveIndexEntry& e : index_) marks.push_back(e.mark);
  if (move) Delete(true);
  if (!noQuestions && (NeedsOrdering() || targetExists) && AskYesNo(479)) {
    const std::string former = path_;
    SwitchTo(target);
    if (IsIndexBuilt() && NeedsOrdering()) Order();
    SwitchTo(former);
    // The marks of a copy stay set (the index was rebuilt on the way back).
    if (!move && static_cast<int>(marks.size()) == count_)
      for (int n = 0; n < count_; ++n) Entry(n).mark = marks[static_cast<std::size_t>(n)];
  }
  Tell(45);
  return 0;
}

void Archive::SwitchTo(const std::string& path) {
  AddRecentName(path);
  if (SetPath(path) != -1) CreateIndex();
}

int Archive::Order() {
  const char* trace = "Archive::Order";
  if (count_ < 2) return -1;
  if (RefuseIfDamaged(trace) || !IndexMatchesFile(trace)) return -1;
  // Groups by initial (upper-cased), in order of first appearance.
  struct Group {
    char key;
    std::vector<int> records;
  };
  std::vector<Group> groups;
  for (int n = 0; n < count_; ++n) {
    const std::string& name = Entry(n).name;
    const char key = CharToUpper(name.empty() ? '\0' : name[0]);
    auto it =
        std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.key == key; });
    if (it == groups.end()) {
      groups.push_back({key, {}});
      it = groups.end() - 1;
    }
    it->records.push_back(n);
  }
  progress_->Begin();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    progress_->SetPos(static_cast<int>(static_cast<double>(g) / groups.size() * 100.0));
    // Stable: records with equal names keep their order.
    std::stable_sort(groups[g].records.begin(), groups[g].records.end(), [&](int a, int b) {
      return CompareStrings(Entry(a).name, Entry(b).name, kNameCompareLength, true,
                            Collation::kLatinFirst) == kCompareLess;
    });
  }
  std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
    // Records without a name come first, as the name comparison puts the shorter text first.
    if (a.key == '\0' || b.key == '\0') return a.key == '\0' && b.key != '\0';
    return CompareChars(a.key, b.key, Collation::kLatinFirst) == kCompareLess;
  });
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(count_));
  for (const Group& g : groups) order.insert(order.end(), g.records.begin(), g.records.end());

  std::FILE* f = std::fopen(path_.c_str(), "rb");
  if (!f) {
    progress_->End();
    ReportError(kErrCannotOpen, "Archive::WriteData", 0);
    return -1;
  }
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(path_);
  bool ok = WriteHeader(out, layout_);
  const std::size_t size = static_cast<std::size_t>(LayoutRecordSize(layout_));
  std::string bytes;
  for (std::size_t i = 0; ok && i < order.size(); ++i)
    ok = SeekRecord(f, layout_, order[i]) && ReadExactly(f, size, bytes) && out.Write(bytes);
  std::fclose(f);
  progress_->End();
  if (!ok) {
    ReportError(out.TempPath().empty() ? kErrCannotCreate : kErrWrite, "Archive::WriteData", 1);
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), "Archive::WriteData", 2);
    return -1;
  }
  std::vector<ArchiveIndexEntry> ordered;
  ordered.reserve(index_.capacity());
  for (int n : order) ordered.push_back(index_[static_cast<std::size_t>(n)]);
  index_ = std::move(ordered);
  ClearMarks();
  RefreshFileTime();
  return 0;
}
