// The group editor "Группы планет/домов/знаков" over a Groups store (GroupEditor is its model),
// and the owner-drawn list of the groups of one kind.
//
//   RunGroupsDialog(store, this);   // from a dialog that holds its own store
//   RunPlanetGroupsCommand(this);   // the configuration command: a fresh store from "groups.lst"
#pragma once

#include <QListWidget>

#include "conditions/core/group_editor.h"
#include "platform/qt/dialog.h"

class QRadioButton;

// Item i draws group i of the store's current kind (DrawGroupItem).
class CGroupsListBox : public QListWidget {
  Q_OBJECT

 public:
  // The font size of the list, tenths of a point (the dialog's 9-point face).
  static constexpr int kFontSize = 90;
  static constexpr int kItemHeight = 22;

  CGroupsListBox(const Groups& store, QWidget* parent = nullptr);
  // One item per group of the current kind; `selected` (or none) selected.
  void Refill(int selected);
  const Groups& Store() const { return store_; }

 private:
  const Groups& store_;
};

// The editor's questions asked through the real dialogs: CEnterName and DPlanHouseSelect.
class WindowGroupDialogs : public GroupEditorDialogs {
 public:
  explicit WindowGroupDialogs(QWidget* parent) : parent_(parent) {}
  bool AskName(const std::string& prompt, std::string& name) override;
  bool AskMembers(int mode, std::string& flags) override;

 private:
  QWidget* parent_;
};

class DGROUPS : public platform::Dialog {
  Q_OBJECT

 public:
  // `store` is edited in place (not owned). Open the editor (Editor().Open()) before DoModal, and
  // after it Save() or Cancel() by the result: RunGroupsDialog does both.
  explicit DGROUPS(Groups& store, QWidget* parent = nullptr);

  void OnInitDialog() override;

  GroupEditor& Editor() { return editor_; }
  CGroupsListBox* List() const { return list_; }

  // The buttons' actions.
  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnUp();
  void OnDown();
  void OnKind(char kind);

 private:
  void Refresh();

  WindowGroupDialogs dialogs_;
  GroupEditor editor_;
  CGroupsListBox* list_;
  QRadioButton* kinds_[3];
};

// Opens the editor on `store` and runs it: after "СОХРАНИТЬ" the changes stay, after "ОТМЕНА"
// "groups.lst" and the store are as they were. kIdOk or kIdCancel (also when "groups.lst" exists
// but cannot be read: then the editor does not open).
int RunGroupsDialog(Groups& store, QWidget* parent = nullptr);

// The configuration command "Группы планет": a fresh store read from "groups.lst", the editor, and
// after "СОХРАНИТЬ" the store written again. Nothing runs when the file cannot be read.
void RunPlanetGroupsCommand(QWidget* parent = nullptr);
