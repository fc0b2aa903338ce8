// The aspect graph's store of named pair lists ("velm.agr"): each list names up to 24 pairs of
// chart members (a point, a house cusp, the life point or a house ruler, each taken in one of
// eleven techniques, direct or converse) with the aspect system that judges them, a period and
// the orb class of house cusps. The store is loaded at start, edited through the settings sheet
// and rewritten after every edit. Also here: the technique and time-scale tables and the texts
// of members and pairs. Qt-free; texts are code page 1251.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/datetime/fdate.h"
#include "foundation/status.h"

class Aspectarium;

namespace aspgraph {

inline constexpr int kMaxLists = 100;  // the one limit of the store, also for adding a list
inline constexpr int kMaxPairs = 24;
inline constexpr int kMaxNameLength = 35;   // list names, characters
inline constexpr int kSystemNameWidth = 8;  // system names in the file, blank-padded
inline constexpr int kMaxLineLength = 435;  // longer lines are refused
inline constexpr int kTechniqueCount = 11;  // techniques 0..10
inline constexpr int kPeriodCount = 11;     // periods 0..10
inline constexpr int kSlotCount = 22;       // chart slots: technique + 11 x converse
inline constexpr int kMinHouseOrbClass = 1, kMaxHouseOrbClass = 5;

// Member codes. Points 0..33, cusps of houses 1..12 as 34..45; code 46 is the life point when it
// is the first member, and 46..57 the rulers of houses 1..12 when they are the second member.
inline constexpr int kPointCount = 34;
inline constexpr int kFirstCusp = 34;
inline constexpr int kLifePoint = 46;
inline constexpr int kFirstRuler = 46;
inline constexpr int kLastFirstMember = 46;
inline constexpr int kLastSecondMember = 57;

inline constexpr int kTechniqueRadix = 0;
inline constexpr int kTechniqueSymbolicDirections = 1;

// What a technique makes of the member's chart: its kind (0 natal, 3 transit, 4 progressed,
// 5 directed), the method (the chart's key kind) and the messages of its long and short names.
struct Technique {
  int kind = 0;
  int method = 0;
  int longName = 0;
  int shortName = 0;
};
// Technique 0..10; any other value reads as radix.
const Technique& TechniqueOf(int technique);

// A period of the graph: its span, its minor and major ticks (days) and the number of minor ticks.
struct TimeScale {
  int span = 0;
  int minorTick = 0;
  int majorTick = 0;
  int minorCount = 0;
};
// Period 0..10; any other value reads as period 10 ("50 лет").
const TimeScale& TimeScaleOf(int period);

// The chart slot of a member: technique + 11 x converse (0..21).
int SlotOf(int technique, int converse);

}  // namespace aspgraph

// One pair of a list: the two members and the aspect system that judges them.
struct AspGraphPair {
  std::string systemName;  // an aspect system, at most 8 characters in the file
  std::int16_t fromBody = 0;
  std::int16_t fromTechnique = aspgraph::kTechniqueSymbolicDirections;
  std::int16_t fromConverse = 0;
  std::int16_t toBody = 0;
  std::int16_t toTechnique = aspgraph::kTechniqueRadix;
  std::int16_t toConverse = 0;

  // True when every code has its range: first member 0..46, second 0..57, techniques 0..10,
  // converse flags 0 or 1.
  bool IsValid() const;
  friend bool operator==(const AspGraphPair&, const AspGraphPair&) = default;
};

// One named list of pairs.
struct AspGraphList {
  std::string name;  // 1..35 characters, unique in the store
  std::vector<AspGraphPair> pairs;
  std::int16_t period = 0;         // 0..10
  std::int16_t houseOrbClass = 1;  // 1..5: the orb class whenever a member is a house cusp

  int PairCount() const { return static_cast<int>(pairs.size()); }
  friend bool operator==(const AspGraphList&, const AspGraphList&) = default;
};

// Texts of members and pairs (code page 1251).
namespace aspgraph {
// The member's name: "Солнце" .. "Вертекс", "1 дом" .. "12 дом", "Точка Жизни" (first member 46),
// "Упр. 1 дома" .. (second member 46..57; `longRuler` gives "Управитель 1 дома" as the lists
// show it); empty for a code of no member.
std::string MemberName(int body, bool first, bool longRuler = false);
// The technique's short name with "[Обр]" when converse.
std::string TechniqueText(int technique, int converse);
// "Солнце[Транз.] - Луна[Рад.] {VELM}".
std::string PairText(const AspGraphPair& pair);
}  // namespace aspgraph

class CAspGraphData {
 public:
  CAspGraphData() = default;

  // Reads the store from `file` (and remembers it for Save). A missing file gives an empty store
  // and success. A line that is not a list (a count above 24, too short for its pairs or without
  // a name, a code out of its range, longer than 435 characters) is skipped; lines beyond the
  // 100th list are left unread; either gives error 106 naming the file with the number of the
  // first such line as detail, while every good list is kept. A file that cannot be read gives
  // error 102 or 103 and an empty store.
  Status Load(const std::filesystem::path& file);
  // Load at start: a missing file is an empty store without a message; any other problem is
  // shown once.
  void LoadAtStart(const std::filesystem::path& file);
  // Rewrites the file Load was given through a safe rewrite; a failure is returned and the old
  // file stays as it was. When lines of the file were refused or left unread, the old file is
  // first kept aside ("velm.agr.bad"), so that nothing of it is lost.
  Status Save();
  // The file contents: one line per list, "\n" after each.
  std::string Serialize() const;
  // One line (without its line end) into a list; false when it is not a list.
  static bool ParseLine(std::string_view line, AspGraphList& out);
  static std::string FormatLine(const AspGraphList& list);
  const std::filesystem::path& File() const { return file_; }
  void SetFile(std::filesystem::path file) { file_ = std::move(file); }

  int ListCount() const { return static_cast<int>(lists_.size()); }
  // List k, 0 <= k < ListCount().
  const AspGraphList& List(int k) const { return lists_.at(static_cast<std::size_t>(k)); }
  // The selected list, or nullptr when the selected index holds none.
  const AspGraphList* SelectedList() const;
  int SelectedIndex() const { return selected_; }
  void SetSelectedIndex(int k) { selected_ = k; }
  const FDate& FirstDay() const { return firstDay_; }
  void SetFirstDay(const FDate& day) { firstDay_ = day; }

  // Edits. Each names the list it changes; none of them saves (the caller saves after it).
  // A new list at the end (name cut to 35 characters); message 850 when the store is full.
  Status AddList(std::string_view name, int period, int houseOrbClass);
  // Name, period and house orb class of list k; false for no such list.
  bool SetList(int k, std::string_view name, int period, int houseOrbClass);
  // Removes list k (later lists move up); false for no such list.
  bool DeleteList(int k);
  // Appends a pair to list k; message 883 when it holds 24 pairs, error 107 for no such list.
  Status AddPair(int k, const AspGraphPair& pair);
  // Replaces or removes pair j of list k; false for no such pair.
  bool ReplacePair(int k, int j, const AspGraphPair& pair);
  bool DeletePair(int k, int j);
  // Exchanges pairs j and j2 of list k; false when either is not there.
  bool SwapPairs(int k, int j, int j2);
  // True when a list other than `except` has that name (letter case ignored).
  bool IsNameUsed(std::string_view name, int except = -1) const;

  // Every pair naming a system that `systems` does not hold is given the first loaded system
  // instead; the user is told once, one line per missing name. Returns 1 when nothing was
  // missing, else 0 (also when no system is loaded, and nothing is then changed).
  int CheckSystemNames(const Aspectarium& systems);

 private:
  AspGraphList* MutableList(int k);

  std::vector<AspGraphList> lists_;
  int selected_ = 0;
  FDate firstDay_;
  std::filesystem::path file_;
  bool damaged_ = false;  // lines of the file were refused or left unread
};
