// The user's named groups of chart points, signs and houses (50 of each kind), kept in the text
// file "groups.lst" of the data folder: one group a line, "P", "S" or "H", the name, '|', then one
// letter per member ('A' + member index). A group is found back from its label: the name, followed
// for the one-of and each readings by a quantifier suffix from the message catalogue.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/status.h"

struct GroupRecord {
  static constexpr int kMaxMembers = 50;
  static constexpr std::size_t kMaxNameLength = 30;

  std::int16_t count = 0;                           // 0..50
  std::array<std::uint8_t, kMaxMembers> members{};  // points 0..33, signs or houses 0..11
  std::string name;                                 // code page 1251, no blanks
};

class Groups {
 public:
  static constexpr int kGroupsPerKind = 50;
  static constexpr const char* kFileName = "groups.lst";

  // The number of members a kind allows: 34 chart points, 12 signs or houses.
  static int MemberLimit(char kind) { return kind == 'P' ? 34 : 12; }

  // Reads "groups.lst" of the data folder. A missing file leaves the store empty and is no error.
  // Returns 0, or -1 when the file exists but cannot be read (error 102, "Groups::LoadGroups").
  // Refused lines give message 565, names and member lists that had to be cut message 1902, each
  // once for the file; such a file is not read whole, and the first save over it keeps a copy of
  // it (see SaveGroups).
  int LoadGroups();
  // The same from a file of the caller's choice.
  int LoadGroups(const std::filesystem::path& file);
  // Rewrites "groups.lst" safely with every group except the one given by kind letter ('P', 'S',
  // 'H') and index; kind 0 and index -1 write every group. Returns 0, or -1 after error 105 or 104
  // ("Groups::SaveGroups"; the old file is then unchanged). Over the file last loaded when it was
  // not read whole, a copy of the old file is first kept as "groups.lst.bad" and message 1900
  // names it.
  int SaveGroups(char kind, int index);
  int SaveGroups(const std::filesystem::path& file, char kind, int index);
  // The file contents SaveGroups writes.
  std::string Serialize(char skipKind = 0, int skipIndex = -1) const;
  // Reads file contents into the store (emptied first). Returns the number of bad lines (each a
  // line without '|', of an unknown kind, with a member letter outside its kind, or of a kind
  // whose 50 groups are already read); the caller shows message 565 once when there were any.
  // `cut` (when given) receives the number of groups read with a name cut to 30 bytes or members
  // past the 50th left out.
  int Parse(std::string_view bytes, int* cut = nullptr);

  // The kind the index-based operations act on: 'P', 'S' or 'H'.
  char CurrentKind() const { return current_; }
  void SetCurrentKind(char kind) { current_ = Slot(kind) >= 0 ? kind : 'P'; }
  int Count(char kind) const;
  // Group i of a kind (0 <= i < Count(kind)); 'C' the current kind.
  const GroupRecord& Group(char kind, int i) const;
  GroupRecord& Group(char kind, int i);
  // Appends a group of a kind: its index, or -1 when the kind holds 50 already, a member lies
  // outside the kind or the name is empty or holds a blank (the name is cut to 30 characters).
  int AddGroup(char kind, const GroupRecord& group);

  // 1 when group `index` of the current kind has the member, else 0.
  int IsMember(int index, int member) const;
  // Exchanges groups i and j of the current kind.
  void SwapGroups(int i, int j);
  // The label of group `index` of `kind` ('C' the current kind): its name, followed for
  // quantifier 'N' or 'A' by the suffix of the kind; any other quantifier gives the bare name.
  std::string GetGroupLabel(char kind, int index, char quantifier) const;
  // Sets the current kind from the object code (500, 501 planets; 502, 503 signs; every other code
  // houses) and the quantifier ('N' for 500, 502, 504 and 'A' for the others with mode 1, '0'
  // otherwise), and finds the first group whose label equals `text` over 100 characters. Returns
  // its member count (index and quantifier set), or -1 after showing message 592 with the text.
  int FindGroup(std::string_view text, int code, int& index, char& quantifier, int mode);
  // The same search without a message and without changing the current kind: the group, or
  // nullptr; `quantifier` receives 'N' or 'A' (mode 1 reading).
  const GroupRecord* LookUpGroup(std::string_view text, int code, char& quantifier) const;
  // 1 when a group of any kind bears exactly that name.
  int NameExists(std::string_view name) const;

  // The kind letter of a group code: 'P' for 500, 501; 'S' for 502, 503; 'H' for the others.
  static char KindOfCode(int code);

 private:
  static int Slot(char kind);  // 0, 1, 2 for 'P', 'S', 'H'; -1 otherwise
  int KindSlot(char kind) const { return Slot(kind == 'C' ? current_ : kind); }
  bool LabelEquals(char kind, int index, char quantifier, std::string_view text) const;

  std::array<std::array<GroupRecord, kGroupsPerKind>, 3> groups_{};
  std::array<int, 3> counts_{};
  char current_ = 'P';
  std::filesystem::path notReadWhole_;  // the file last loaded, when lines were refused or cut
};
