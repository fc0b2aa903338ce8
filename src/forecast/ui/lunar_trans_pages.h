// The two pages of the lunar-transit settings sheet: DLunarTrans (the calculation) and
// DLunarTransInterf (screen and print layout of a line list, also the display page of the
// life-point, astrocartography, Tremin and planet-transit sheets).
#pragma once

#include <string>
#include <vector>

#include "forecast/core/list_display_settings.h"
#include "forecast/core/lunar_trans_page.h"
#include "forecast/ui/aspect_target_controls.h"
#include "platform/qt/property_sheet.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

class DLunarTrans : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 192;

  // `systemNames`: the loaded aspect systems, in their order.
  DLunarTrans(const LunarTransPage& page, const std::vector<std::string>& systemNames,
              QWidget* parent = nullptr);

  const LunarTransPage& Page() const { return page_; }

  bool DoDataExchange(bool save) override;

  // The controls, for the tests.
  QButtonGroup* TargetGroup() const { return target_; }
  QButtonGroup* PlanetsGroup() const { return targets_.planets; }
  QButtonGroup* HousesGroup() const { return targets_.houses; }
  QButtonGroup* PeriodGroup() const { return period_; }
  QButtonGroup* FromGroup() const { return from_; }
  QButtonGroup* ToGroup() const { return to_; }
  QButtonGroup* PlanetOrbsGroup() const { return orbs_.orbMode; }
  QButtonGroup* AspectsGroup() const { return orbs_.aspects; }
  QCheckBox* NodesBox() const { return targets_.nodes; }
  QCheckBox* EnteringBox() const { return phases_.entering; }
  QCheckBox* ExactBox() const { return phases_.exact; }
  QCheckBox* LeavingBox() const { return phases_.leaving; }
  QCheckBox* IngressesBox() const { return phases_.ingresses; }
  QSpinBox* YearsBeforeBox() const { return yearsBefore_; }
  QSpinBox* DaysBeforeBox() const { return daysBefore_; }
  QSpinBox* YearsAfterBox() const { return yearsAfter_; }
  QSpinBox* DaysAfterBox() const { return daysAfter_; }
  QSpinBox* SignsBox() const { return signs_; }
  QSpinBox* HouseOrbGroupBox() const { return targets_.houseOrbGroup; }
  QSpinBox* PlanetOrbGroupBox() const { return orbs_.planetOrbGroup; }
  QComboBox* SystemBox() const { return system_; }

 private:
  void BuildControls(const std::vector<std::string>& systemNames);
  void OnTargetClicked(int target);
  void ReadChoices();
  void Enable();

  LunarTransPage page_;
  QButtonGroup* target_ = nullptr;
  QButtonGroup* period_ = nullptr;
  QButtonGroup* from_ = nullptr;
  QButtonGroup* to_ = nullptr;
  QSpinBox* yearsBefore_ = nullptr;
  QSpinBox* daysBefore_ = nullptr;
  QSpinBox* yearsAfter_ = nullptr;
  QSpinBox* daysAfter_ = nullptr;
  QSpinBox* signs_ = nullptr;
  QComboBox* system_ = nullptr;
  AspectTargetControls targets_;
  AspectPhaseControls phases_;
  AspectOrbControls orbs_;
  std::vector<QWidget*> periodControls_;
  std::vector<QWidget*> signControls_;
};

class DLunarTransInterf : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 193;

  // The page over the display values of `kind`'s block (brought into their ranges).
  DLunarTransInterf(DisplayBlock kind, const cfg::ByteBlock& block, QWidget* parent = nullptr);

  DisplayBlock Kind() const { return kind_; }
  const ListDisplaySettings& Values() const { return values_; }
  // Writes the values into a block of the page's kind.
  void Store(cfg::ByteBlock& block) const { WriteDisplaySettings(kind_, values_, block); }

  bool DoDataExchange(bool save) override;

  QSpinBox* PrintFontBox() const { return printFont_; }
  QDoubleSpinBox* PrintSpacingBox() const { return printSpacing_; }
  QSpinBox* PrintColumnsBox() const { return printColumns_; }
  QButtonGroup* OrderGroup() const { return order_; }
  QSpinBox* ScreenFontBox() const { return screenFont_; }
  QDoubleSpinBox* ScreenSpacingBox() const { return screenSpacing_; }

 private:
  DisplayBlock kind_;
  ListDisplaySettings values_;
  QSpinBox* printFont_ = nullptr;
  QDoubleSpinBox* printSpacing_ = nullptr;
  QSpinBox* printColumns_ = nullptr;
  QButtonGroup* order_ = nullptr;
  QSpinBox* screenFont_ = nullptr;
  QDoubleSpinBox* screenSpacing_ = nullptr;
};
