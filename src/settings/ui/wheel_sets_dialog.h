// The chooser of the wheel's constant sets ("ПАРАМЕТРЫ РИСУНКА ГОРОСКОПА"): one of the 14 wheel
// forms chosen in a list, its 21 values edited; OK keeps the edits of every set.
#pragma once

#include <array>

#include "platform/qt/dialog.h"
#include "settings/core/settings_pages.h"

class QComboBox;
class QLineEdit;

class DWheelSets : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DWheelSets(QWidget* parent = nullptr);

  void OnInitDialog() override;
  // Out: the shown set's values; one that is no number in 0..360 is refused with message 1949.
  bool DoDataExchange(bool save) override;
  // Another set chosen: the shown one is taken first (and a refusal keeps it shown).
  void OnSetChosen(int k);

  settings::WheelSetsPage page;

  QComboBox* Sets() const { return sets_; }
  QLineEdit* Value(int i) const { return values_[static_cast<std::size_t>(i)]; }

 private:
  QComboBox* sets_;
  std::array<QLineEdit*, settings::kWheelSetValues> values_{};
  int shown_ = 0;
};

// Runs the chooser on `constants`: true after OK with the edits stored there.
bool EditWheelSets(WheelConstants& constants, QWidget* parent = nullptr);
