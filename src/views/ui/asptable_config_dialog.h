// The aspect-table configuration dialog (dialog 161, "Конфигурация > Таблица аспектов"): the points
// of the aspect table and its options, over the page model tables::AspTableConfigModel.
#pragma once

#include <array>

#include "platform/qt/dialog.h"
#include "views/core/asptable_config.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class Aspectarium;
class Configuration;

// Control numbers.
inline constexpr int kIdcHouseOrbGroup = 1157;
inline constexpr int kIdcCellMode = 1158;
inline constexpr int kIdcColourMode = 1159;
inline constexpr int kIdcDiagonalMode = 1160;
inline constexpr int kIdcMidpointHighlight = 1537;
inline constexpr int kIdcMidpointSystem = 1551;
inline constexpr int kIdcAspectsToHouses = 1759;
inline constexpr int kIdcOnlyDisplayed = 1760;

class CASPTABLE_CONFIG : public platform::Dialog {
  Q_OBJECT

 public:
  // The loaded systems fill the combo's list.
  explicit CASPTABLE_CONFIG(const Aspectarium& systems, QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  // The system name rule: a name that is not loaded becomes the first loaded one, with a notice.
  bool CheckOk() override;

  tables::AspTableConfigModel model;

  QCheckBox* Point(int i) const { return points_[static_cast<std::size_t>(i)]; }
  QComboBox* SystemCombo() const { return system_; }
  QSpinBox* HouseOrbGroup() const { return houseOrb_; }
  QRadioButton* CellMode(int i) const { return cell_[static_cast<std::size_t>(i)]; }

 private:
  const Aspectarium& systems_;
  std::array<QCheckBox*, tables::AspTableConfigModel::kPoints> points_{};
  QSpinBox* houseOrb_ = nullptr;
  std::array<QRadioButton*, 4> cell_{};
  std::array<QRadioButton*, 3> colour_{};
  std::array<QSpinBox*, 3> widths_{};
  std::array<QSpinBox*, 3> layouts_{};
  std::array<QRadioButton*, 4> diagonal_{};
  std::array<QRadioButton*, 5> highlight_{};
  QCheckBox* onlyDisplayed_ = nullptr;
  QCheckBox* toHouses_ = nullptr;
  QComboBox* system_ = nullptr;
};

// The configuration command: the fields copied in, the dialog run, copied back on OK. True on OK.
bool RunAspectTableConfig(Configuration& config, const Aspectarium& systems,
                          QWidget* parent = nullptr);
