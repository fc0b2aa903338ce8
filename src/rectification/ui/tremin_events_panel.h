// The event list of the Tremin method with its commands, as the settings page and the forecast
// dialog both show it: the owner-drawn list, the buttons to add, edit (also a double click),
// remove, switch on or off and export an event to the rectification by events, and the two order
// checks. Every change is saved to the method's file at once.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "rectification/core/rect_setup_pages.h"

class CRectEventsListBox;
class QCheckBox;
class QPushButton;

// Where the Tremin pages keep their events.
struct TreminEventFiles {
  LifeEventList* events = nullptr;  // the method's list, "velm.tev"
  std::filesystem::path eventsFile;
  LifeEventList* rectification = nullptr;  // the target of the export, "velm.lev"
  std::filesystem::path rectificationFile;
};

class TreminEventsPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kIdList = 1393;
  static constexpr int kIdAdd = 1390, kIdEdit = 1391, kIdRemove = 1392, kIdSwitch = 1407,
                       kIdExport = 1408, kIdByDate = 1505, kIdByText = 1506;

  // `eventKind` is the event dialog's kind (1 on the settings page, 3 in the forecast dialog):
  // both hide the planets. The list's order starts from the two flags.
  TreminEventsPanel(const TreminEventFiles& files, int eventKind, bool sortByDate, bool sortByText,
                    QWidget* parent = nullptr);

  bool SortByDate() const { return sortByDate_; }
  bool SortByText() const { return sortByText_; }
  // Called after every command that may change the number of events.
  void SetOnCountChanged(std::function<void()> callback) { onCountChanged_ = std::move(callback); }
  // The event controls (list, edit, remove, switch, export) enabled while the list holds events.
  void EnableEventControls(bool enabled);

  void OnAdd();
  void OnEdit();
  void OnRemove();
  void OnSwitch();
  void OnExport();
  void OnByDate();
  void OnByText();

  CRectEventsListBox* List() const { return list_; }
  QCheckBox* ByDateBox() const { return byDate_; }
  QCheckBox* ByTextBox() const { return byText_; }
  QPushButton* Button(int id) const;

 private:
  void Refill(int select);
  void ShowFailure(const Status& st);
  void ApplyOrder();

  TreminEventFiles files_;
  RectEventsEditor editor_;
  int eventKind_;
  bool sortByDate_;
  bool sortByText_;
  std::function<void()> onCountChanged_;
  CRectEventsListBox* list_;
  QCheckBox* byDate_;
  QCheckBox* byText_;
  std::vector<std::pair<int, QPushButton*>> buttons_;
};
