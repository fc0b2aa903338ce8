// The page models of the two prediction-list dialogs, without a window: the transfer dialog that
// asks which events go to which list, and the list dialog that shows one list at a time to read,
// comment, mark, move, delete, sort, delete the list, set the print values and print. Questions
// and reports go through the prompt service. Qt-free.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forecast/core/pred_list_file.h"
#include "foundation/status.h"

// The list named `lastUsed` (letter case ignored, 32 characters compared), else the first; -1
// for no lists.
int PreselectedList(const std::vector<PredListFile>& lists, std::string_view lastUsed);

// DPREDLIST_TRANSFER.
class PredListTransferPage {
 public:
  // `clickedEvent`: the event under the pointer, -1 for none; `folder` holds the lists.
  PredListTransferPage(int clickedEvent, std::filesystem::path folder, std::string_view lastUsed);

  const std::vector<PredListFile>& Lists() const { return lists_; }
  int ClickedEvent() const { return clicked_; }

  // The two count buttons and their group: only with a clicked event.
  bool CountEnabled() const { return clicked_ >= 0; }
  // "Add to an existing list": only when a list exists.
  bool ExistingEnabled() const { return !lists_.empty(); }
  bool ListChoiceEnabled() const { return ExistingEnabled() && target == kExisting; }
  bool NewNameEnabled() const { return target == kNew; }

  static constexpr int kAllEvents = 0, kClickedEvent = 1;
  static constexpr int kExisting = 0, kNew = 1;
  int countChoice = kAllEvents;
  int target = kExisting;
  int selectedList = 0;
  std::string newName;  // as typed (code page 1251)

  // Closing with "just add" (openList false) or "add and open the list": takes the list's name,
  // the selected one or the cleaned new one. Message 1165 when a new name is empty (the dialog
  // stays open).
  Status Accept(bool openList);
  const std::string& ListName() const { return name_; }
  const std::filesystem::path& ListFile() const { return file_; }
  bool OpenList() const { return open_; }

  // The events handed over out of `eventCount`: all, or the clicked one (none when it lies
  // outside them).
  std::vector<int> Range(int eventCount) const;

 private:
  int clicked_;
  std::filesystem::path folder_;
  std::vector<PredListFile> lists_;
  std::string name_;
  std::filesystem::path file_;
  bool open_ = false;
};

// DPREDICT_LIST.
class PredictListPage {
 public:
  static constexpr int kMinFontSize = 100, kMaxFontSize = 10000;
  static constexpr double kMinInterval = 0.1, kMaxInterval = 10.0;
  // The comment field keeps what a record holds.
  static constexpr std::size_t kCommentLength = PredListRecord::kMaxComment;

  explicit PredictListPage(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // Opening: the lists of the folder, the one named `lastUsed` (else the first) loaded, its
  // first record current; the print values from the configuration's font size and interval in
  // hundredths. False when there is no list.
  bool Open(std::string_view lastUsed, int fontSize, int intervalHundredths);

  const std::vector<PredListFile>& Lists() const { return lists_; }
  int CurrentList() const { return currentList_; }
  const std::string& ListName() const;
  const std::vector<PredListRecord>& Records() const { return list_.records; }
  int Current() const { return current_; }

  // The comment field (code page 1251) and the print fields.
  std::string comment;
  int fontSize = 2500;
  double interval = 1.2;

  // True when the records differ from those last loaded or saved, the comment field included.
  bool Modified() const;

  // Selecting record `i` (in the list box): the comment field goes into the current record,
  // the new record's comment is shown.
  void SelectRecord(int i);
  // Choosing list `k`: the comment field is stored and a changed list saved; then `k` is loaded
  // with its first record current. A failed save is reported and the current list stays (false).
  bool ChooseList(int k);

  // The buttons. Delete asks message 1170; Up and Down move the current record (nothing at the
  // ends); Status marks or unmarks it; Sort orders the records by moment (the comment field
  // stored first) and makes the first current.
  void DeleteRecord();
  void MoveUp();
  void MoveDown();
  void ToggleStatus();
  void Sort();

  enum class Outcome { kStay, kClosedOk, kClosedCancel };
  // "%s %s?" of message 1167 and the list's name; on Yes the file is deleted and the first
  // remaining list loaded, or, when it was the only one, the dialog closes as Cancel.
  Outcome DeleteList();
  // "Печать": the comment field stored, a changed list saved; the list to print, or nothing
  // when the save failed (reported; the dialog stays).
  std::optional<PredListFile> Print();
  // OK: the comment field stored, a changed list saved; kStay when the save failed (reported).
  Outcome Ok();
  // Cancel: with changes, asks message 1166 and stays on No.
  Outcome Cancel();

  // The print values as the configuration keeps them: the font size and the interval in
  // hundredths (rounded).
  int StoredFontSize() const;
  int StoredInterval() const;

 private:
  void StoreComment();
  void ShowRecord(int i);
  bool Load(int k);
  bool SaveIfChanged();

  std::filesystem::path folder_;
  std::vector<PredListFile> lists_;
  int currentList_ = -1;
  PredList list_;
  std::vector<PredListRecord> saved_;
  int current_ = -1;
};
