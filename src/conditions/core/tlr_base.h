// The interpretation-text bases. A base is four files beside each other, named after the base:
//   ".tlt"  the texts: a heading line "^NNNN ^title^ /group/" and the body lines under it;
//   ".tlf"  the selection functions: "^NNNN", a mode line ("ALL", "ANY" or an expression), then
//           the condition lines of the text's condition set;
//   ".tlg"  the groups: "PPFname" per line (priority as two digits, flag 'T' or 'F', name);
//   ".tli"  the index: 5000 records of 10 bytes (group i16, heading offset i32, function offset
//           i32; -1 none), rebuilt whenever it is older than the text or the function file.
// TLRDATA holds every base of the list file "tlr.bas" (one line per base: 0x03, the switch 'T'
// or 'F', the base's path without extension), the condition set the functions are read into,
// and the hits of the last selection.
//
// Failures are reported (error reporter, catalogue messages through the prompter) where they
// happen, and the operation returns a negative status; the program goes on.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/cfunc.h"

class Chart;
class ChartContext;
class TLRDATA;

struct TlrGroup {
  std::string name;   // code page 1251, without '^' and '/'
  char flag = 'T';    // 'F': the group's texts are never selected
  int priority = 10;  // 0..99
};

struct TlrIndexEntry {
  std::int16_t group = -1;  // -1: the number is free
  std::int32_t text = -1;   // offset of the heading in ".tlt"
  std::int32_t func = -1;   // offset of the function record in ".tlf"
  friend bool operator==(const TlrIndexEntry&, const TlrIndexEntry&) = default;
};

// One text as the text file holds it.
struct TlrText {
  std::string title, body, group;
};

// A heading line "^NNNN ^title^ /group/" taken apart. The group lies between the first two '/'
// after the title's closing '^', so that a title with '/' in it cannot shift it.
struct TlrHeading {
  enum Fault { kNone, kBadNumber, kNoTitle, kNoGroup, kGroupTooFar };
  Fault fault = kNone;
  int number = -1;  // valid unless kBadNumber
  std::string title, group;
};
// `line`: the heading line without its line end.
TlrHeading ParseTlrHeading(std::string_view line);
// "^NNNN ^title^ /group/\n".
std::string FormatTlrHeading(int number, std::string_view title, std::string_view group);
// Group names compare without regard to letter case over at most `n` characters.
bool SameTlrGroupName(std::string_view a, std::string_view b, int n = 200);
// Refusals of what a text or a group may hold: 0, or the message number that tells why (992 '^'
// or '/' in a group name, 2080 in a title, 2081 a body line beginning with '^').
int CheckTlrGroupName(std::string_view name);
int CheckTlrTitle(std::string_view title);
int CheckTlrBody(std::string_view body);
// Every heading of a text file: its offset and its line (without the line end).
struct TlrHeadingLine {
  std::size_t offset;
  std::string_view line;
};
std::vector<TlrHeadingLine> FindTlrHeadings(std::string_view file);

class TLRBASE {
 public:
  static constexpr int kMaxTexts = 5000;
  static constexpr int kMaxGroups = 50;
  static constexpr int kIndexRecordSize = 10;
  static constexpr std::int64_t kMaxFileLength = 2147483647LL - 30;

  TLRBASE();

  std::string name;  // the path without extension
  char switchByte = 'T';
  std::vector<TlrGroup> groups;
  std::array<TlrIndexEntry, kMaxTexts> index;

  // "<name>.<extension>" ("tlt", "tlf", "tlg", "tli").
  std::filesystem::path FilePath(std::string_view extension) const;

  // --- Groups ---
  // The group of that name (case-insensitive), -1 when none.
  int FindGroup(std::string_view groupName, int n = 200) const;
  // Appends a group: its index; -1 (message 2082 once per `reported` flag) when 50 are held.
  int AppendGroup(const TlrGroup& group, bool* reported = nullptr);
  // Reads the group file: the number of groups read; -1 after error 102 when it cannot be opened
  // (no groups then). Lines past the 50th and lines too short are skipped.
  int LoadGroupsFromFile(const std::filesystem::path& path);
  // Rewrites the group file safely: 0, or -1 after error 105/104 under "TLRDATA::Save".
  int SaveGroups() const;

  // --- The index ---
  // True when the text file exists and the index is newer than the text and the function file.
  bool IsIndexFresh() const;
  // 0; -1 after error 102; -2 after error 103 (short file, detail the field); -3 when a record
  // does not fit the base (a group or an offset out of range): the index must be rebuilt.
  int LoadIndex();
  // Rewrites the index safely: 0, -3 after error 105, -4 after error 104.
  int WriteIndex() const;
  // Rebuilds the index from the text and function files and writes it: 0, or -1.
  int RebuildIndex();
  // Loads the index when fresh and readable, else rebuilds it: 0, or -1.
  int PrepareIndex();
  // Parses the headings of the text file into the index (creating a missing file, message 1020).
  // Groups named by a heading that the base lacks are appended (message 996/997) and the list is
  // saved. 0, or -1.
  int ReadText4Index();
  // Sets the function offsets from the function file (every one reset first); a record of a
  // number without a text is reported (1001/1002) when `report`. 0, or -1.
  int ReadFuncs4Index(bool report = true);

  // --- Texts ---
  // The title of text `number`; nothing when it cannot be read (reported).
  std::optional<std::string> GetTextName(int number) const;
  // Title, body and group of text `number`: 0, or -1 (error 102 when the file cannot be opened).
  int LoadText(int number, TlrText& text) const;
  // The same from the text file's bytes already read.
  int LoadTextFrom(std::string_view file, int number, TlrText& text) const;
  // Appends a text of group `group` under the lowest free number 1..4999: the number, or -1
  // (refused with its message, or a file error reported).
  int InsertText(std::string_view body, std::string_view title, int group);
  // Replaces text `number` in place: 0, or -1.
  int ReplaceText(int number, std::string_view body, std::string_view title, int group);
  // Removes text `number` and its function: 0, or -1.
  int DeleteText(int number);
  // Writes `set` as the selection function of text `number` (no conditions: the function is
  // removed), re-reads the function offsets and writes the index: 0, or -1.
  int WriteFunction(int number, const CFunc& set);
  // Reads the selection function of text `number` into `set` (cleared when it has none): the
  // number of conditions, or -1 when the function file cannot be read.
  int ReadFunction(int number, CFunc& set) const;
  // Removes every text of group `groupName` (case-insensitive) and their functions, after message
  // 1124 is answered Yes: 1 done (or no text to remove), 0 declined (nothing changed), -1 error.
  // The index is stale afterwards (the files are newer); the caller rebuilds it.
  int DeleteTextsForGroup(std::string_view groupName);
  // Writes `newName` for `oldName` (case-insensitive) in the heading of every text of that group,
  // the text file rewritten safely once: 1 done (or no text of the group), -1 error (the file as
  // it was). The index is stale afterwards; the caller rebuilds it.
  int RenameTextsGroup(std::string_view oldName, std::string_view newName);

  // The numbers that hold a text, ascending.
  std::vector<int> TextNumbers() const;

 private:
  friend class TLRDATA;
  // The end of the stretch that begins at `offset` in a file of `length` bytes: the next larger
  // offset of the same kind in the index, else the length.
  std::int64_t StretchEnd(std::int32_t TlrIndexEntry::*field, std::int32_t offset,
                          std::int64_t length) const;
  int SpliceText(std::int64_t from, std::int64_t to, std::string_view insert, const char* trace);
  int SpliceFunctions(std::int64_t from, std::int64_t to, std::string_view insert,
                      const char* trace);
  bool HasRoomFor(std::size_t bytes) const;
  TLRDATA* owner_ = nullptr;
};

// The output options of a selection (kept in the configuration's interpretation block).
struct TlrOutputOptions {
  int sortOrder = 0;  // 0 base then priority, 1 priority then base, 2 as found
  bool titles = true;
  bool groupHeadings = true;
  bool comments = false;
};

struct TlrHit {
  std::uint16_t number = 0;
  std::uint8_t base = 0;
  std::uint8_t priority = 0;
  friend bool operator==(const TlrHit&, const TlrHit&) = default;
};

class TLRDATA {
 public:
  static constexpr int kMaxBases = 100;
  static constexpr int kMaxListedBases = 99;
  static constexpr int kMaxHits = 2000;
  static constexpr const char* kListName = "tlr.bas";
  static constexpr const char* kOutputName = "_tlr.tmp";

  TLRDATA();
  TLRDATA(const TLRDATA&) = delete;
  TLRDATA& operator=(const TLRDATA&) = delete;

  std::vector<TLRBASE> bases;
  int current = -1;
  int second = -1;
  CFunc funcs;
  std::vector<TlrHit> hits;

  int Count() const { return static_cast<int>(bases.size()); }
  // A new slot at the end (at most 100): its index, or -1.
  int AddBase(std::string baseName, char switchByte);
  void RemoveBase(int i);

  // Re-reads "tlr.bas" of the data folder, then the groups of the condition set: 0, or -1 when
  // the list is missing (no bases).
  int LoadBases();
  // Writes "tlr.bas" and every base's group file: 0, or a negative status.
  int Save();
  // Adds every group named in the headings of `textFile` that base `base` lacks (priority 10):
  // the number added, -1 after error 105.
  int AddAbsentGroups(const std::filesystem::path& textFile, int base);

  // Picks the texts whose functions hold on `chart` (no archive record) into `hits`, in the
  // order `options` asks, and writes them to "_tlr.tmp": 0, or -1 when the output file cannot be
  // written.
  int SelectTexts(const ChartContext& context, const Chart& chart, const TlrOutputOptions& options);
  // The hits without the output.
  void CollectHits(const ChartContext& context, const Chart& chart);
  static void SortHits(std::vector<TlrHit>& hits, int sortOrder);
  // The output bytes of the hits.
  std::string FormatHits(const TlrOutputOptions& options);

  static std::filesystem::path ListPath();
  static std::filesystem::path OutputPath();
  // Copies the output of the last selection into the user's file `target`, replacing it or
  // appended to what it holds, through the safe rewrite: false when the output or the old target
  // cannot be read or the target cannot be written (it is then as it was).
  static bool CopyOutput(const std::filesystem::path& target, bool replace);
};

// Builds the groups of a base without a group file from the headings of its text file (".tlt"
// appended unless the path ends so): message 1119 first, then each group name once, flag 'T',
// priorities 10, 11, 12 ... in order of first appearance. The number of groups, or -1 after
// error 102.
int CollectGroupNamesFromTextFile(TLRBASE& base, std::filesystem::path textFile);

// At start: a listed base whose files are not where the list says, but whose text file lies in
// `dataFolder` under the same file name, is moved there; a relative name is taken in the data
// folder. The list is rewritten when anything moved. The number of bases moved.
int RebaseTextBases(const std::filesystem::path& dataFolder);
