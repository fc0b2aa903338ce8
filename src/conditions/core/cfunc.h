// The condition set: up to 100 numbered conditions, the evaluation mode, the logic expression and
// the groups that the conditions name; and the decision of one condition on a chart (kinds ASP, IN,
// INCL) or on a pair of charts (kinds 100, 101).
//
// Evaluation reads the chart, the set, its groups and the settings of the ChartContext it is given
// (orb classes, sign rulers, shown points, aspect systems), and changes none of them: several
// charts can be decided at once, and a run keeps the settings it started with.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/groups.h"
#include "conditions/core/query_condition.h"

class ArchiveTexts;
class Aspectarium;
class Chart;
class ChartContext;
class Configuration;

// What a list of condition lines gave.
struct ConditionListRead {
  int count = 0;                  // records taken
  std::vector<int> refusedLines;  // 1-based numbers of the lines refused
  bool linesLeft = false;         // lines past the limit were left unread
};

class CFunc {
 public:
  static constexpr int kCapacity = 100;
  static constexpr std::size_t kMaxLogicLength = 99;
  static constexpr std::uint16_t kNumberNotMet = 65535;

  CFunc();

  // --- The records ---
  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  // 1..100 (the query dialog's 100 when not set).
  void SetCapacity(int capacity);
  const QueryCondition& Condition(int i) const {
    return conditions_.at(static_cast<std::size_t>(i));
  }
  QueryCondition& Condition(int i) { return conditions_.at(static_cast<std::size_t>(i)); }
  // The index of the condition numbered `number`, -1 when none.
  int IndexOfNumber(int number) const;
  // The smallest number from 1 to the capacity that no condition carries; -1 when all are taken.
  int NextFreeNumber() const;
  // Puts a new condition at the head of the set (the others move down one place): words 1 to 18
  // and the texts of `condition`, switched on, with the next free number. Returns the new count,
  // or -1 (nothing changed) when the set is full or the condition is not valid.
  int AddCondition(const QueryCondition& condition);
  // Copies words 1 to 18 and the texts of `condition` into record i (number and enabled stay).
  void CopyCondition(int i, const QueryCondition& condition);
  // Removes record i; the others move up.
  void RemoveCondition(int i);
  void Clear() { count_ = 0; }

  // --- The condition list ---
  // Reads one line into record i: 0, or -1 when the line does not give a valid record.
  int LoadCondition(std::string_view line, int i);
  // Reads lines into records 0, 1, ... until `limit` records are read. A line without all 20
  // fields, whose fields are not valid for its kind, whose kind does not belong to the set
  // (synastry kinds only in synastry sets) or whose number is already taken is refused and the
  // reading goes on. The count becomes the number of records taken.
  ConditionListRead ParseFuncs(std::string_view bytes, int limit);
  // The same from a file; a missing file gives an empty set without a message, refused lines give
  // message 570 once with their numbers. Returns the count, or -1 after error 102 (trace
  // "DQuery::LoadFuncs") when the file exists but cannot be read (the set is then empty). A file
  // with refused lines or lines left past the limit is not read whole: see SaveFuncs.
  int LoadFuncs(const std::filesystem::path& file, int limit);
  // The lines of every record in order.
  std::string SerializeFuncs() const;
  // Rewrites `file` safely with every record: 0; -1 after error 105 when it cannot be created;
  // -2 after error 104 ("CFunc::SaveFuncs") when it cannot be written (the old file stays). Over
  // the file last loaded when it was not read whole, a copy of the old file is first kept as
  // "<name>.bad" and message 1900 names it.
  int SaveFuncs(const std::filesystem::path& file);

  // --- Set-wide fields ---
  int mode = 0;  // 0 all, 1 any, 2 logic expression
  bool synastry = false;
  std::string logic;  // at most 99 characters, without blanks
  // The condition numbers of the expression in their order of appearance (65535 in the entries not
  // filled); set by SetLogic, since every number is decided on every chart.
  std::array<std::uint16_t, kCapacity> numbersMet{};
  Groups groups;
  // The words w1..w18 a wizard page starts from: cleared for a new condition, copied from the
  // condition being edited; the aspect page keeps its class mask (w14) here while it is open.
  QueryCondition staged;

  // --- Selections of the interpretation texts ---
  // Skips one line, then reads the mode line (at most 998 characters, CR and LF cut): an
  // expression that passes the logic checks becomes the logic (mode 2); else a line holding "ANY"
  // gives mode 1, one holding "ALL" mode 0, and any other line is kept as the logic (mode 2). Then
  // condition lines into records 0, 1, ... until a line does not give a record; lines beyond the
  // capacity are left and message 571 is shown. Returns the number of conditions read (0 when the
  // text ends before the mode line).
  int ReadSelection(std::istream& in);
  // Mode 2: the logic; otherwise empty unless `wanted`, then the numbers of every condition in
  // list order joined by '&' (mode 0) or '|' (mode 1).
  std::string GetLogicText(bool wanted) const;

  // --- What the wizard's pages list ---
  // The configuration (comment-page names) and the aspect systems (their names and aspects) that
  // the wizard offers while conditions are edited (not owned); by default the program's own.
  // Evaluation never reads them: it reads the context it is given.
  void SetEnvironment(const Configuration* configuration, const Aspectarium* aspects);
  const Configuration& Config() const { return *configuration_; }
  const Aspectarium& Aspects() const { return *aspects_; }

  // --- Evaluation, under the settings of `context` ---
  // Decides condition `index` on a chart: 1 holds, 0 does not, -1 error (the caller's run ends).
  // `record` is the chart's record number in the current archive, -1 when none. Kinds not yet
  // decided here give 0, as do unknown ones.
  int QueryConditionEvaluate(const ChartContext& context, const Chart& chart, int index,
                             int record) const;
  // Decides condition `index` of kind 100 or 101 on a pair of charts; any other kind gives 0.
  int QueryConditionEvaluatePair(const ChartContext& context, const Chart& chart1,
                                 const Chart& chart2, int index) const;

  // The text of condition `index` (condition_text.h); empty outside the set.
  std::string QueryConditionText(int index, bool withNumber) const;

  // --- Combination of the conditions (the language: condition_logic.h) ---
  // All (mode 0) or any (mode 1) of the switched-on conditions, in set order: -1 from a condition
  // ends the walk with -1; any ends at the first 1, all at the first 0; a set without a switched-on
  // condition gives 0.
  int EvaluateAll(const ChartContext& context, const Chart& chart, int record, int mode) const;
  int EvaluateAllPair(const ChartContext& context, const Chart& chart1, const Chart& chart2,
                      int mode) const;
  // The stored logic expression: every number in it is decided (switched on or not, no short-cut)
  // and the expression reduced; -1 from a condition, or a fault of an expression stored without
  // its checks (told once), gives -1.
  int EvaluateLogic(const ChartContext& context, const Chart& chart, int record) const;
  int EvaluateLogicPair(const ChartContext& context, const Chart& chart1,
                        const Chart& chart2) const;
  // By the set's mode: EvaluateLogic for 2, else EvaluateAll.
  int Evaluate(const ChartContext& context, const Chart& chart, int record) const;
  // Stores the typed expression without its blanks (at most 99 characters) and checks it: 1 when
  // it passes (the numbers met are then those of the expression, in order), 0 after showing the
  // message of the first check that fails.
  int SetLogic(std::string_view typed);

  // The positions of the first object of condition `index` (one for a single object, one per
  // member for a group; -777.0 for an absent one); empty for an unknown group label.
  std::vector<double> GenerateE(const ChartContext& context, const Chart& chart, int index) const;
  // The member indices of the first object of condition `index`; for a single sign or house code
  // its index (code - 100 when the second object is a house, code - 200 otherwise).
  std::vector<int> GenerateENums(int index) const;

  // Before a run: shows message 592 once for every group label of a switched-on condition that
  // names no group, and aspect-system message 2 once for an aspect index outside its system (of
  // the context). Returns the number of such faults. Evaluation itself never shows a message.
  int ReportRunProblems(const ChartContext& context) const;

  // --- Comment pages, configurations and counts ---
  // The texts of the archive whose comment pages CONTEXT conditions search, readable while the
  // run holds its lock (not owned; set for the run over that archive, then unset). Without them,
  // or for a chart without a record number, a chart has no comment pages.
  void SetCommentTexts(const ArchiveTexts* texts) const { commentTexts_ = texts; }
  // Comment page `page` (0..9) of record `record` searched for the context text of `condition`:
  // 1 found, 0 not found, -1 no such page.
  int CheckContextInComment(int page, int record, const QueryCondition& condition) const;
  // Candidates of configurations and counts: 0..33 the chart points, 34..45 the cusps of houses
  // 1..12 (-1 stands for none and is always admitted). The cusps take part by the cusp word (0
  // none, 1 the angular cusps of houses 1, 4, 7 and 10, otherwise all twelve), the nodes 16 and
  // 17 exactly when the node flag is 1, every other point by the object set (0 points 0..9, 1 the
  // points the context's configuration shows on the wheel, 2 all). 1 admitted, 0 not.
  int IsObjectAdmitted(const ChartContext& context, int candidate, int objectSet, int cuspWord,
                       int nodeFlag) const;

 private:
  std::array<QueryCondition, kCapacity> conditions_{};
  int count_ = 0;
  int capacity_ = kCapacity;
  const Configuration* configuration_;
  const Aspectarium* aspects_;
  mutable const ArchiveTexts* commentTexts_ = nullptr;
  std::filesystem::path notReadWhole_;  // the list file last loaded, when lines were left out
};

// --- The list files of a query, per mode (plain query or synastry) ---
enum class QueryMode { kQuery, kSynastry };

const char* ArcsFileName(QueryMode mode);   // "quearcs.lst", "synarcs.lst"
const char* FuncsFileName(QueryMode mode);  // "quefuncs.lst", "synfuncs.lst"
const char* LogicFileName(QueryMode mode);  // "quelogic.lst", "synlogic.lst"

struct ArchiveListEntry {
  std::string path;
  bool on = true;
  friend bool operator==(const ArchiveListEntry&, const ArchiveListEntry&) = default;
};

inline constexpr int kMaxListLines = 50;

// The archive list: at most 50 lines "+path" or "-path"; a line whose path names no existing
// archive is dropped. A missing or unreadable file gives an empty list.
std::vector<ArchiveListEntry> LoadArcs(const std::filesystem::path& file);
// Rewrites the archive list safely: 0; -1 after error 105 (trace "DQuery::SaveArcs"); -2 after
// error 104.
int SaveArcs(const std::filesystem::path& file, const std::vector<ArchiveListEntry>& entries);
// The logic history: at most 50 lines, CR and LF cut.
std::vector<std::string> LoadLogic(const std::filesystem::path& file);
int SaveLogic(const std::filesystem::path& file, const std::vector<std::string>& history);
