// The archive browser: the modal dialog through which the user chooses the current archive (by
// name or from the recent list), sees its records, selects some, loads one into a chart document
// and runs the archive-wide commands (delete, copy, move, order, up and down, conversion between
// layouts, copy of the whole archive). The selection is held twice, as the list's selection and as
// the records' 'Y'/'N' marks; every command copies the list into the marks first, and the
// archive's operations act on the marks only.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <map>
#include <vector>

#include "archive/browser/archive_list_box.h"
#include "archive/store/archive.h"
#include "platform/qt/dialog.h"

class DArchiveSearch;

class ArchiveView : public platform::Dialog {
  Q_OBJECT

 public:
  // Controls.
  static constexpr int kIdLoad = 1;
  static constexpr int kIdExit = 2;
  static constexpr int kIdSelect = 1043;
  static constexpr int kIdList = 1074;
  static constexpr int kIdCopy = 1531;
  static constexpr int kIdMove = 1532;
  static constexpr int kIdOrder = 1533;
  static constexpr int kIdSearch = 1534;
  static constexpr int kIdDelete = 1535;
  static constexpr int kIdRecent = 1536;
  static constexpr int kIdComment = 1537;
  static constexpr int kIdSelectAll = 1575;
  static constexpr int kIdSelectNone = 1576;
  static constexpr int kIdInvert = 1577;
  static constexpr int kIdDown = 1578;
  static constexpr int kIdUp = 1579;
  static constexpr int kIdStatistics = 1601;
  static constexpr int kIdQuery = 1602;
  static constexpr int kIdSort = 1603;
  static constexpr int kIdPrint = 1604;
  static constexpr int kIdCopyWhole = 1606;
  static constexpr int kIdConvert = 1607;
  static constexpr int kIdSettings = 2012;
  static constexpr int kIdRecordCount = 2051;
  static constexpr int kIdSelectedCount = 2052;

  explicit ArchiveView(Archive& archive, QWidget* parent = nullptr);

  // Set by the caller: loading then takes any number of marked records (none included).
  bool noChoiceNeeded = false;
  // Set when the browser was closed to print the archive: the caller opens the listing.
  bool printRequested = false;
  // The query dialog behind "ЗАПРОС" (parent window): true when the query asks the browser to
  // close with OK. Without one the button stays disabled.
  std::function<bool(QWidget*)> queryCommand;
  // The statistics parameters dialog behind "СТАТИСТИКА" (parent window): true after its OK.
  // Without one the button stays disabled.
  std::function<bool(QWidget*)> statisticsCommand;
  // Set when the browser was closed to count the statistics: the caller runs them.
  bool statisticsRequested = false;

  void OnInitDialog() override;
  // The load rule: exactly one selected record (any number with noChoiceNeeded).
  bool CheckOk() override;
  void reject() override;
  void done(int result) override;

  // The rows from the archive's index (`reset`: emptied first and from the first row), the
  // record count shown, the record commands enabled when there are records.
  void RefillList(bool reset);
  // The rows afresh when the archive's index was read anew since they were filled (another copy of
  // the program changed the archive and a command was refused): true then.
  bool RefillIfReread();
  // Copies the list's selection into the marks (returns the number selected), or the marks into
  // the list's selection.
  int SyncSelection(ArchiveBrowserList::Sync direction);
  // Shows n as the selected count; -1 counts the marked records.
  void ShowSelectedCount(int n);
  // The record commands on or off; the conversion button named after the archive's layout.
  void EnableCommands(bool on);

  // --- Commands (the buttons' handlers) ---
  void OnSelectArchive();
  void OnRecentChosen(int k);
  void OnRemoveRecent(int k);
  virtual void OnDelete();
  void OnCopy(bool move);
  void OnOrder();
  void OnConvert();
  // "Копировать весь архив": the Save As dialog offers the archive copy first, then every export
  // format ("name(*.ext)"); the archive is copied with its comment files, or exported in the
  // format chosen.
  void OnCopyWholeArchive();
  // "НАСТРОЙКИ": the archive's save-target and insertion modes (DARCHIVEPAR).
  void OnSettings();
  void OnSelectAll();
  void OnSelectNone();
  void OnInvert();
  void OnUpDown(bool up);
  // The sort: its parameters asked (and kept in the configuration), every mark and row
  // deselected, the records written in the new order in place or into a new archive that becomes
  // current; message 779 when the sort did not happen.
  void OnSort();
  // Opens the search dialog when none is open, every mark 'N' and every row deselected first.
  void OnSearch();
  // The query dialog on the archive, the list's selection in the marks first; after it the rows
  // and their selection from the archive again (the query marks the charts it found), and when
  // the query's load flag is set the browser closes with OK.
  void OnQuery();
  // The statistics: the parameters dialog, the list's selection in the marks, message 532 when
  // only selected records are to be counted and none is selected; else the browser closes for the
  // caller to count them.
  void OnStatistics();
  // One find step of the configuration's last search over the rows (mode 0 first, 1 last,
  // 2 previous, 3 next, 4 all; `remembered` the last match or -1): the row taken, or -1, or for a
  // failed previous/next step `remembered`. Nothing found shows message 487; mode 4 shows the
  // number of rows taken. A list found stale is read again and shown anew: -1, nothing searched.
  int Find(int mode, int remembered = -1);
  // The search dialog is closing.
  void SearchClosed() { search_ = nullptr; }
  DArchiveSearch* SearchDialog() const { return search_; }
  // The switch to the commented browser: the first selected record marked alone, the browser
  // variant 0, the dialog cancelled.
  virtual void OnComment();
  // "Печать": the listing's parameters asked (DARCPRINT and its hint, kept in the configuration);
  // on OK the list's selection copied into the marks and the browser closed to print.
  void OnPrint();

  // --- For the tests and the caller ---
  // kIdOk or kIdCancel once the dialog ended, else 0.
  int EndResult() const { return endResult_; }
  QPushButton* Button(int id) const;
  QComboBox* RecentCombo() const { return recent_; }
  CArchiveListBox* ListBox() const { return list_; }
  ArchiveBrowserList& List() { return list_->List(); }
  QString RecordCountText() const { return recordCount_->text(); }
  QString SelectedCountText() const { return selectedCount_->text(); }

 protected:
  // The list's selection changed by the user.
  virtual void OnListSelectionChanged();
  // After the current archive changed: recent list, rows, comment button, caption.
  virtual void ArchiveChanged();
  // Before the current archive is changed or copied (the commented browser stores its text):
  // false when the change is not to be done (a text refused stays in the editor).
  virtual bool BeforeArchiveChange() { return true; }
  void CloseSearch();
  // The rows and the commands column, for the commented browser's own controls.
  QVBoxLayout* ListColumn() const { return listColumn_; }
  Archive& Arc() const { return archive_; }
  // The record and selected counts with their captions shown or hidden.
  void ShowCounts(bool on);

 private:
  QPushButton* AddButton(int id, const QString& text);
  // The recent names in their display form (most recent first, the first one current), each
  // whose file is not an archive now marked with its state.
  void FillRecentCombo();
  void UpdateCaption();
  // A damaged archive is read-only: message 524 before any question, and true.
  bool RefuseChange() const;
  void UpdateConvertCaption();
  void ShowRecordCount();

  Archive& archive_;
  CArchiveListBox* list_;
  QComboBox* recent_;
  QLabel* recordCount_;
  QLabel* selectedCount_;
  std::vector<QLabel*> countCaptions_;
  QVBoxLayout* listColumn_ = nullptr;
  std::map<int, QPushButton*> buttons_;
  DArchiveSearch* search_ = nullptr;  // a child of the dialog
  int endResult_ = 0;
  int readings_ = -1;  // the index's readings the rows were filled from
  bool fillingCombo_ = false;
};
