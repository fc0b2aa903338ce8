// The model of the group editor "Группы планет/домов/знаков": it creates, renames, re-members,
// deletes and reorders the groups of a Groups store, one kind at a time, and writes every change
// to "groups.lst" at once. The file as it was when the editor opened is kept (and copied to
// "___gr.tmp" beside it) so that Cancel puts it back byte for byte; a file that did not exist is
// removed again by Cancel.
//
// Names are normalised before they are checked: trailing blanks cut, every other blank made '_'.
// A name must then be 1..30 characters without '|' or control characters, and no other group of
// any kind may bear it; a refused name is asked again with its message.
#pragma once

#include <optional>
#include <string>

#include "conditions/core/groups.h"

// The dialogs the editor asks; the window gives the real ones, tests scripted ones.
class GroupEditorDialogs {
 public:
  virtual ~GroupEditorDialogs() = default;
  // The name dialog with the prompt text `prompt` (cp1251); `name` comes preset and receives the
  // text typed. false: Cancel.
  virtual bool AskName(const std::string& prompt, std::string& name) = 0;
  // The member chooser of `mode` (MemberChoice::Mode) without a limit; `flags` comes preset with
  // one 'Y'/'N' letter per entry and receives the choice. false: Cancel.
  virtual bool AskMembers(int mode, std::string& flags) = 0;
};

class GroupEditor {
 public:
  static constexpr const char* kBackupName = "___gr.tmp";

  GroupEditor(Groups& store, GroupEditorDialogs& dialogs) : store_(store), dialogs_(dialogs) {}

  // Keeps "groups.lst" as it is and writes the backup beside it; selects the planet kind and its
  // first group. false (after the error report) when the file exists but cannot be read: then
  // Cancel could not put it back, and the editor must not run.
  bool Open();
  // "СОХРАНИТЬ": the changes stay; the backup is removed.
  void Save();
  // "ОТМЕНА": "groups.lst" as it was at Open (removed when there was none), the backup removed,
  // the store read again. When the file cannot be put back the backup stays, and message 1901
  // names it.
  void Cancel();

  // The kind shown: 'P', 'S' or 'H'; its first group becomes the selected one.
  void SetKind(char kind);
  char Kind() const { return store_.CurrentKind(); }
  int Count() const { return store_.Count('C'); }
  // The selected group of the kind shown, or -1.
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index >= 0 && index < Count() ? index : -1; }

  // Each returns true when the store (and the file) changed.
  bool Add();
  bool Edit();    // the selected group
  bool Delete();  // the selected group, without a question
  bool MoveUp();
  bool MoveDown();

  // Normalises `name` (TrimRightUnderscore) and checks it for a group of the kind shown: 0, or
  // the message that refuses it. `self` is the index of the group being renamed (-1 when adding),
  // whose own name is no conflict.
  int CheckName(std::string& name, int self) const;

  // The member-chooser mode of a kind.
  static int ModeOfKind(char kind);

 private:
  // Asks the name until it is accepted; false on Cancel.
  bool AskGroupName(std::string& name, int self);
  // Asks the members; false on Cancel or when none is chosen (after message 694).
  bool AskGroupMembers(GroupRecord& group);
  bool Write() { return store_.SaveGroups(0, -1) == 0; }
  std::string Path(const char* name) const;

  Groups& store_;
  GroupEditorDialogs& dialogs_;
  int selected_ = -1;
  std::optional<std::string> original_;  // the file's bytes at Open; none when it did not exist
  bool opened_ = false;
};
