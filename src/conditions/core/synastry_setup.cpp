#include "conditions/core/synastry_setup.h"

#include <cstdio>
#include <system_error>

#include "archive/store/archive.h"
#include "conditions/core/query_dialog_model.h"
#include "conditions/core/synastry_run.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/files/file_dialog.h"
#include "foundation/files/file_utils.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace {

using S = cfg::SynastrySettings;
namespace fs = std::filesystem;

// The block's field of archive `field` (0 the single archive, 1 and 2 the two archives).
cfg::TextField ArchiveField(int field) {
  return field == 1 ? S::kArchive1 : field == 2 ? S::kArchive2 : S::kArchive;
}

}  // namespace

// --- The archive list ---

void CArcListContainer::SetPath(const fs::path& file, int width) {
  file_ = file;
  width_ = width;
}

int CArcListContainer::LoadArcs() {
  entries_.clear();
  std::error_code ec;
  if (!fs::exists(file_, ec)) return 1;
  std::FILE* readable = OpenForReading(file_);
  if (!readable) return -1;
  std::fclose(readable);
  entries_ = ::LoadArcs(file_);
  return 0;
}

int CArcListContainer::SaveArcs() const { return ::SaveArcs(file_, entries_); }

std::string CArcListContainer::ItemText(int i) const {
  if (i < 0 || i >= Count()) return {};
  return ShortenTextToLength(PathText(entries_[static_cast<std::size_t>(i)].path), width_);
}

int CArcListContainer::Add(std::string path) {
  if (!HasFileExtension(path)) path += ".arc";
  const int layout = Archive::IfRealArchive(path);
  if (layout == kNotArchive) return 0;
  if (layout < 0) return ShowMessage(kMsgNoSuchArchive);
  int shown = 0;
  bool listed = false;
  for (const ArchiveListEntry& e : entries_) listed = listed || Archive::IsSameFile(e.path, path);
  if (listed)
    shown = ShowMessage(kMsgArchiveInList);
  else if (Count() >= kCapacity)
    shown = ShowMessage(kMsgTooManyArchives);
  else
    entries_.push_back({path, true});
  SaveArcs();
  return shown;
}

bool CArcListContainer::Toggle(int i) {
  if (i < 0 || i >= Count()) return false;
  entries_[static_cast<std::size_t>(i)].on ^= true;
  SaveArcs();
  return true;
}

bool CArcListContainer::Remove(int i) {
  if (i < 0 || i >= Count()) return false;
  entries_.erase(entries_.begin() + i);
  SaveArcs();
  return true;
}

// --- The modes ---

SynastryControls ControlsOfMode(int mode) {
  SynastryControls c;
  const bool two = mode == kSynSamePosition || mode == kSynTwoArchives;
  c.archive = mode == kSynOneArchive || mode == kSynEveryPair || mode < 0 || mode > 4;
  c.archives12 = two;
  c.list = mode == kSynArchiveList;
  c.chart = mode == kSynOneArchive || mode == kSynArchiveList;
  c.change1 = mode != kSynArchiveList;
  c.change2 = two;
  return c;
}

std::string ModeComment(int mode) {
  const int m = mode >= 0 && mode <= 3 ? mode : kSynEveryPair;
  return GetMessageText(kMsgModeComment + m) + GetMessageText(kMsgModeCommentTail);
}

// --- The dialog ---

void SynastrySetupModel::Load(const cfg::ByteBlock& block, const Chart* current,
                              const fs::path& listFile) {
  mode = SynastrySetup::FromBlock(block).mode;
  if (current) {
    const SynChartTexts t = SynChartTexts::Of(*current);
    name = t.name;
    title = t.title;
    moment = t.date + "  " + t.time;
    place = t.place;
  }
  list.SetPath(listFile, 40);
  if (list.LoadArcs() < 0) ShowMessage(kMsgNoArchiveListFile);
  selected = list.Count() > 0 ? 0 : -1;
}

std::string SynastrySetupModel::ArchiveText(const cfg::ByteBlock& block, int field) const {
  const std::string path = block.Get(ArchiveField(field));
  if (path.empty() || Archive::IfRealArchive(path) == kNotArchive) return {};
  return ShortenTextToLength(PathText(path), kPathLength);
}

bool SynastrySetupModel::ChooseArchive(std::string path, bool second, cfg::ByteBlock& block) const {
  if (!HasFileExtension(path)) path += ".arc";
  const int layout = Archive::IfRealArchive(path);
  if (layout == kNotArchive || layout < 0) return false;
  const bool two = mode == kSynSamePosition || mode == kSynTwoArchives;
  const cfg::TextField field = ArchiveField(second ? 2 : two ? 1 : 0);
  if (!PathFitsOrTell(path, field.width)) return false;
  block.Set(field, path);
  return true;
}

int SynastrySetupModel::AddArchive(std::string path) {
  const int shown = list.Add(std::move(path));
  selected = list.Count() > 0 ? 0 : -1;
  return shown;
}

void SynastrySetupModel::ToggleSelected() { list.Toggle(selected); }

void SynastrySetupModel::RemoveSelected() {
  if (list.Remove(selected)) selected = -1;
}

bool SynastrySetupModel::Accept(cfg::ByteBlock& block) const {
  std::vector<int> needed;
  if (mode == kSynOneArchive || mode == kSynEveryPair) needed = {0};
  if (mode == kSynSamePosition || mode == kSynTwoArchives) needed = {1, 2};
  for (const int field : needed) {
    const std::string path = block.Get(ArchiveField(field));
    if (!Archive::IsArchiveFile(path)) {
      ShowMessage(kMsgNotAnArchive,
                  GetMessageText(kMsgNotAnArchive) + (path.empty() ? "" : "\n" + PathText(path)));
      return false;
    }
  }
  if (mode == kSynArchiveList) {
    bool anyOn = false;
    for (const ArchiveListEntry& e : list.Entries()) anyOn = anyOn || e.on;
    if (!anyOn) {
      ShowMessage(kMsgNoListedArchiveOn);
      return false;
    }
  }
  block.Set(S::kPairingMode, static_cast<std::int16_t>(mode));
  return true;
}
