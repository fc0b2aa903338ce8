// The set-up of a synastry analysis without its window (DSYNANAL): the pairing mode with the
// controls each mode shows and its explanation, the archives of the modes kept in the synastry
// block, and the archive list of mode 1 ("synarcs.lst") in its container.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/cfunc.h"
#include "foundation/config/byte_block.h"

class Chart;

// The archive list of mode 1: at most 50 archives, each switched on or off, in the list file.
class CArcListContainer {
 public:
  static constexpr int kCapacity = 50;

  // The list file and the characters shown of each entry.
  void SetPath(const std::filesystem::path& file, int width);
  // Reads the list file (entries whose archive is gone are dropped): 0; 1 when there is no file
  // (an empty list); -1 when it exists but cannot be read (an empty list).
  int LoadArcs();
  // Rewrites the list file safely: 0; -1 after error 105; -2 after error 104.
  int SaveArcs() const;

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<ArchiveListEntry>& Entries() const { return entries_; }
  // Entry i shortened to the display width.
  std::string ItemText(int i) const;

  // "ДОБАВИТЬ" with the file chosen (".arc" added to a name without extension): nothing for a
  // file that is no archive; 1139 for one that cannot be opened, 561 for one already listed, 560
  // for a full list; otherwise appended switched on. The list file is saved in every case but
  // the first two. The message shown, or 0 (also when nothing happened).
  int Add(std::string path);
  // The entry's flag turned over; false for no such entry. Saved.
  bool Toggle(int i);
  // The entry removed, the later ones moving up; false for no such entry. Saved.
  bool Remove(int i);

 private:
  std::filesystem::path file_;
  int width_ = 40;
  std::vector<ArchiveListEntry> entries_;
};

// The controls a pairing mode shows.
struct SynastryControls {
  bool archive = false;     // "Архив" with its label
  bool archives12 = false;  // "Архив 1", "Архив 2" with their labels
  bool list = false;        // the list with "ДОБАВИТЬ", "ВКЛ/ВЫКЛ", "УДАЛИТЬ"
  bool chart = false;       // the group "Гороскоп"
  bool change1 = false;     // the first "ИЗМЕНИТЬ"
  bool change2 = false;     // the second "ИЗМЕНИТЬ"
  friend bool operator==(const SynastryControls&, const SynastryControls&) = default;
};
SynastryControls ControlsOfMode(int mode);
// Message 1143 + mode followed by 1148.
std::string ModeComment(int mode);

class SynastrySetupModel {
 public:
  static constexpr int kPathLength = 35;  // characters shown of an archive path

  // The mode and the archives from the synastry block; the chart's texts; the list loaded
  // (message 1141 when the list file exists but cannot be read).
  void Load(const cfg::ByteBlock& block, const Chart* current,
            const std::filesystem::path& listFile);

  int mode = 4;
  std::string name, title, moment, place;  // the current chart
  CArcListContainer list;
  int selected = -1;

  // The texts of the three archive fields: each path shortened, empty when it names no archive.
  std::string ArchiveText(const cfg::ByteBlock& block, int field) const;  // 0, 1, 2

  // An archive chosen with the first (`second` false) or the second "ИЗМЕНИТЬ": a file that is
  // no archive or cannot be opened changes nothing; otherwise it becomes, in the block at once,
  // archive 1 (modes 2, 3) or the single archive (other modes), or with `second` archive 2.
  // True when the block changed.
  bool ChooseArchive(std::string path, bool second, cfg::ByteBlock& block) const;

  // The list buttons (each saves the list file); the selection follows the rules of the dialog.
  int AddArchive(std::string path);
  void ToggleSelected();
  void RemoveSelected();

  // OK: the archives the mode needs checked (477 with the path; 1142 for mode 1 with no archive
  // switched on); the mode stored. False (the dialog stays) after a message.
  bool Accept(cfg::ByteBlock& block) const;
};
