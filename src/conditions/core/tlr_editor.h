// The models of the interpretation-text editor's two pages: the bases with their groups, and the
// texts of the current group with each text's selection function. Both work on the program-wide
// TLRDATA: its current base (`current`) and the editor's current group (`second`, -1 none).
// Texts and functions go to the base's files at once, and so does the base's group file (so that
// no text names a group its base has lost); the list of bases is written by Ok().
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/tlr_base.h"

// What the pages ask through the small dialogs and the condition wizard.
class TlrEditorDialogs {
 public:
  virtual ~TlrEditorDialogs() = default;
  // The group dialog: name and priority in and out; false on Cancel.
  virtual bool AskGroup(std::string& name, int& priority) = 0;
  // The text dialog: title and body in and out; false on Cancel.
  virtual bool AskText(std::string& title, std::string& body) = 0;
  // The condition wizard: 0 when a condition was added to `set`.
  virtual int AddCondition(CFunc& set) = 0;
  // The page of condition `index`: 0 when confirmed.
  virtual int EditCondition(CFunc& set, int index) = 0;
  // The group editor on the groups of `set`.
  virtual void EditGroups(CFunc& set) = 0;
};

// The checks of the text dialog's OK: 0, or the message of the refusal (1010 no title, 2080 '^'
// or '/' in it, 1011 a title another text of the base has, compared without blanks and letter
// case, 2081 a body line beginning with '^'). `editing`: the number of the text being edited,
// -1 for a new one.
int CheckTlrTextParams(const TLRBASE& base, std::string_view title, std::string_view body,
                       int editing);
// The checks of the group dialog's OK: 0, 992 ('^' or '/'), 1121 (empty without blanks).
int CheckTlrGroupParams(std::string_view name);
// A body for the text dialog from a file: at most 10000 bytes (a longer file is told, message
// 2083); when one of the first 100 characters is not one the program writes, message 1017 asks
// and Cancel abandons. 0 loaded, 1 abandoned, -1 unreadable (reported).
int LoadTlrBodyFromFile(const std::filesystem::path& path, std::string& body);

class TlrFilesPage {
 public:
  TlrFilesPage(TLRDATA& data, TlrEditorDialogs& dialogs) : data_(data), dialogs_(dialogs) {}

  // Re-reads the list; base 0 becomes current with its first group.
  void Activate();
  void SelectBase(int base);
  void SelectGroup(int group);
  // The base list's buttons.
  bool ConnectBase();
  bool DisconnectBase();
  void FlipBase();
  // The group list's buttons.
  bool AddGroup();
  bool EditGroup();
  bool DeleteGroup();
  void FlipGroup();
  // The sheet's OK: the list and the group files are written. 0, or negative.
  int Ok() { return data_.Save(); }

  TLRBASE* Base();
  struct Enabling {
    bool addBase, removeBase, flipBase, groups, addGroup, editGroup, removeGroup, flipGroup;
  };
  Enabling GetEnabling() const;

 private:
  bool AskUniqueGroup(std::string& name, int& priority, int editing);

  TLRDATA& data_;
  TlrEditorDialogs& dialogs_;
};

class TlrTextsPage {
 public:
  static constexpr int kMaxListed = 100;
  static constexpr int kMaxConditions = 20;
  static constexpr int kMaxTitle = 40;
  static constexpr int kMaxBody = 10000;

  TlrTextsPage(TLRDATA& data, TlrEditorDialogs& dialogs) : data_(data), dialogs_(dialogs) {}

  // Each time the page is shown: the index made ready, the texts of the current group listed and
  // the first selected. False (message 989) when no group is current.
  bool Activate();
  void ChooseGroup(int group);
  void SelectText(int line);

  bool AddText();
  bool EditText();
  bool DeleteText();
  bool AddCondition();
  bool DeleteCondition(int index);
  bool EditCondition(int index);
  void SetMode(int mode);
  // The typed expression: kept and written back when it passes its checks; otherwise the last
  // valid one stays (its message was shown) and false is returned.
  bool SetExpression(std::string_view typed);
  void EditGroups() { dialogs_.EditGroups(data_.funcs); }

  const std::vector<int>& Numbers() const { return numbers_; }
  const std::vector<std::string>& Titles() const { return titles_; }
  int Selected() const { return selected_; }
  int SelectedNumber() const;
  const CFunc& Set() const { return data_.funcs; }
  bool HasGroup() const { return hasGroup_; }

  struct Enabling {
    bool groupCombo, groupEditor, texts, removeText, editText, addText, conditions, addCondition,
        removeCondition, editCondition, modes, expression;
  };
  Enabling GetEnabling() const;

 private:
  TLRBASE* Base();
  void Refill();
  void ShowFunction();
  bool WriteBack();
  void ClearSet();

  TLRDATA& data_;
  TlrEditorDialogs& dialogs_;
  std::vector<int> numbers_;
  std::vector<std::string> titles_;
  int selected_ = -1;
  bool hasGroup_ = false;
};
