// The wizard page of a CONF condition (kind 7) without its window: the controls as fields, their
// lists and enabling rules, the preset from the staged words and the checks and words of OK.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/core/aspect_configurations.h"
#include "conditions/core/condition_text.h"
#include "conditions/core/query_condition.h"

class Groups;

class ConfPageModel {
 public:
  static constexpr int kMembers = 6;
  // Members 1 and 2 are chosen among points, cusps, rulers, planet groups one-of and house
  // groups one-of.
  static constexpr const char* kMemberMask = "YYYNYNNNYNN";

  // `systems`: the names of the loaded aspect systems, in the drop-down's order.
  ConfPageModel(const Groups& groups, std::vector<std::string> systems);

  // Controls from the staged words: the row (w2), object set (w3), houses (w4), apex (w8), others
  // too (w9), nodes (w10), orb source and own orb (w11 to w13), members (w14 to w16, 700 selects
  // "любая планета"; staged words of another kind, such as the cleared words of a new condition,
  // select it for every member), orb class (w17), and the system whose name equals w7 over 12
  // characters ignoring case (else the first).
  void Preset(const QueryCondition& staged);

  // --- Controls ---
  int row = 0;                         // "Тип конфигурации", 0..41
  int objectSet = 0;                   // 0 Sun to Pluto, 1 shown on the wheel, 2 all
  int houses = 0;                      // 0 none, 1 angular, 2 all
  bool apex = false;                   // "в вершине"
  bool othersToo = false;              // "остальные - также"
  bool nodes = false;                  // "В том числе Лунные узлы"
  int orbSource = 1;                   // 0 constant, 1 from the aspect system
  int orbDegrees = 0;                  // 0..20
  int orbMinutes = 0;                  // 0..59
  int orbClass = 1;                    // 1..5
  int system = 0;                      // index in the system names
  std::array<int, kMembers> member{};  // the selected entry of each member list (0 any planet)

  // --- Lists ---
  const std::vector<std::string>& RowNames() const { return rowNames_; }
  const std::vector<std::string>& SystemNames() const { return systems_; }
  // Members 1 and 2: "любая планета" and the object list; members 3 to 6: "любая планета", the 34
  // points and the 12 houses.
  const std::vector<std::string>& MemberNames(int k) const {
    return k < 2 ? objectNames_ : pointNames_;
  }

  // --- Enabling ---
  bool ApexEnabled() const;
  // Member k (0-based): member 1 always; the others only when "остальные - также" is not ticked,
  // and member k + 1 only when the configuration has at least k + 1 members (members 2 and 3
  // always then).
  bool MemberEnabled(int k) const;
  bool OwnOrbEnabled() const { return orbSource == 0; }
  bool SystemEnabled() const { return orbSource == 1; }

  // The stored value of member k: an object code for members 1 and 2, 0..45 for the others, 700
  // for any planet.
  int MemberValue(int k) const;

  // The checks of OK: 0, or the message number of the first fault (982 a member chosen twice, 59
  // no such aspect system, 1962 an orb or orb class out of range).
  int Check() const;
  // The page's words: w1..w4 and w8..w18 first -1 and the texts empty, then the controls' words.
  QueryCondition Words() const;

 private:
  const Groups& groups_;
  std::vector<std::string> systems_;
  ConfigurationTable table_{};
  ObjectList objects_;
  std::vector<std::string> rowNames_, objectNames_, pointNames_;
};
