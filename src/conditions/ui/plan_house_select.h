// The member chooser "ВЫБОР  ПЛАНЕТ/ДОМОВ": a multiple-selection list of the chart points, houses
// or signs of a mode (MemberChoice), preset and answered through a 'Y'/'N' string with one letter
// per list entry. A limit mode of 0 or 1 refuses more than 10 or 12 chosen entries with message
// 448 and keeps the dialog open.
//
//   std::string flags = MemberChoice::FlagsOf(MemberChoice::kHouses, {0, 9});
//   if (RunPlanHouseSelect(MemberChoice::kHouses, flags, MemberChoice::kAtMost12, this)) ...
#pragma once

#include <QListWidget>
#include <string>

#include "conditions/core/member_choice.h"
#include "platform/qt/dialog.h"

class DPlanHouseSelect : public platform::Dialog {
  Q_OBJECT

 public:
  // `flags` (not owned; may be null: then the list is empty) is read when the dialog opens and
  // written after OK, one letter per list entry.
  DPlanHouseSelect(int mode, std::string* flags, int limit, QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;

  int Mode() const { return mode_; }
  std::string* Flags() const { return flags_; }
  QListWidget* List() const { return list_; }

 private:
  int mode_;
  std::string* flags_;
  int limit_;
  QListWidget* list_;
};

// Runs DPlanHouseSelect: true after OK with `flags` rewritten, false after Cancel (`flags` as it
// was).
bool RunPlanHouseSelect(int mode, std::string& flags, int limit, QWidget* parent = nullptr);
