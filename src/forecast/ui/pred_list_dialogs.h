// The prediction-list dialogs: DPREDLIST_TRANSFER, opened by a right click on a forecast list,
// asks whether all events or the clicked one go to which list; DPREDICT_LIST shows one list at a
// time to read, comment, mark, move, delete, sort and print; CPredListBox draws its lines. Both
// dialogs are thin over their page models (forecast/core/pred_list_pages.h).
#pragma once

#include <QListWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "forecast/core/pred_list_pages.h"
#include "platform/qt/dialog.h"

class Configuration;
class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Control numbers the list dialog's buttons keep.
inline constexpr int kIdcDeleteList = 1043;
inline constexpr int kIdcEventUp = 1045;
inline constexpr int kIdcEventDown = 1046;
inline constexpr int kIdcPrintList = 1047;
inline constexpr int kIdcEventStatus = 1048;
inline constexpr int kIdcSortEvents = 1049;
inline constexpr int kIdcDeleteEvent = 1050;

class DPREDLIST_TRANSFER : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 296;

  // `clickedEvent`: the event under the pointer, -1 for none; the lists of `folder`, the one
  // named `lastUsed` preselected.
  DPREDLIST_TRANSFER(int clickedEvent, const std::filesystem::path& folder,
                     std::string_view lastUsed, QWidget* parent = nullptr);

  PredListTransferPage& Page() { return page_; }
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;
  // The two closing buttons: takes the fields and closes with OK, or shows message 1165 and
  // stays (false). Tests call it as the user's click.
  bool Close(bool openList);

  QButtonGroup* CountGroup() const { return count_; }
  QButtonGroup* TargetGroup() const { return target_; }
  QComboBox* ListBox() const { return lists_; }
  QLineEdit* NameEdit() const { return name_; }
  QLabel* NameLabel() const { return nameLabel_; }

 private:
  void Enable();

  PredListTransferPage page_;
  bool openList_ = false;
  QButtonGroup* count_;
  QButtonGroup* target_;
  QComboBox* lists_;
  QLineEdit* name_;
  QLabel* nameLabel_;
};

// The owner-drawn list of a prediction list's records, under a line of column names.
class CPredListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CPredListBox(QWidget* parent = nullptr);
  // One line per record; `select` selected (none outside the records).
  void Fill(const std::vector<PredListRecord>& records, int select);
  const std::vector<PredListRecord>* Records() const { return records_; }
  // The line of column names above the records.
  QWidget* Head() const { return head_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  const std::vector<PredListRecord>* records_ = nullptr;
  QWidget* head_;
};

class DPREDICT_LIST : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 295;

  // The lists of `folder`; the page opens on `lastUsed` with the configuration's print values.
  DPREDICT_LIST(const std::filesystem::path& folder, QWidget* parent = nullptr);

  // Opens the page on the configuration's list and print values; false when there is no list.
  bool Open(const Configuration& config);
  PredictListPage& Page() { return page_; }

  // The buttons, as the user's clicks (also for tests).
  void OnDeleteEvent();
  void OnUp();
  void OnDown();
  void OnStatus();
  void OnSort();
  void OnDeleteList();
  void OnPrint();
  void OnChooseList(int k);
  void OnSelectEvent(int i);

  // After OK or "Печать": the values the configuration keeps; after "Печать" the list to print.
  const std::optional<PredListFile>& ToPrint() const { return toPrint_; }

  void accept() override;
  void reject() override;

  CPredListBox* EventList() const { return events_; }
  QComboBox* ListChoice() const { return lists_; }
  QLineEdit* CommentEdit() const { return comment_; }
  QSpinBox* FontSizeBox() const { return fontSize_; }
  QDoubleSpinBox* IntervalBox() const { return interval_; }

 private:
  // The page to the controls.
  void Show();
  // The comment and print fields to the page.
  void Take();

  PredictListPage page_;
  std::optional<PredListFile> toPrint_;
  bool showing_ = false;
  QComboBox* lists_;
  CPredListBox* events_;
  QLineEdit* comment_;
  QSpinBox* fontSize_;
  QDoubleSpinBox* interval_;
};

// The configuration's prediction-list block: the last-used list's name (cut to 31 bytes), and the
// print font size and interval (hundredths).
void StorePredListName(Configuration& config, std::string_view name);
void StorePredListPrintValues(Configuration& config, int fontSize, int interval);
