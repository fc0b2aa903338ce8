// The life-point settings sheet ("ТОЧКА ЖИЗНИ - КОНФИГУРАЦИЯ"): the calculation page DLPConf and
// the shared display page on the life-point block. Opened by the chart document's life-point
// command before the life-point view.
#pragma once

#include <string>
#include <vector>

#include "forecast/core/life_point_page.h"
#include "forecast/ui/aspect_target_controls.h"
#include "platform/qt/property_sheet.h"

class Aspectarium;
class Configuration;
class LifePointAll;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;

class DLPConf : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 223;

  // `typeNames` the life-point types in file order; `systemNames` the loaded aspect systems.
  DLPConf(const LifePointPage& page, const std::vector<std::string>& typeNames,
          const std::vector<std::string>& systemNames, QWidget* parent = nullptr);

  const LifePointPage& Page() const { return page_; }
  bool DoDataExchange(bool save) override;

  // The controls, for the tests.
  QComboBox* TypeBox() const { return type_; }
  QComboBox* SystemBox() const { return system_; }
  QButtonGroup* ChartGroup() const { return chart_; }
  QButtonGroup* PlanetsGroup() const { return targets_.planets; }
  QButtonGroup* HousesGroup() const { return targets_.houses; }
  QButtonGroup* AspectsGroup() const { return orbs_.aspects; }
  QButtonGroup* OrbModeGroup() const { return orbs_.orbMode; }
  QCheckBox* NodesBox() const { return targets_.nodes; }
  QCheckBox* IngressesBox() const { return phases_.ingresses; }
  QCheckBox* ExactBox() const { return phases_.exact; }
  QCheckBox* EnteringBox() const { return phases_.entering; }
  QCheckBox* LeavingBox() const { return phases_.leaving; }
  QSpinBox* PlanetOrbGroupBox() const { return orbs_.planetOrbGroup; }
  QSpinBox* HouseOrbGroupBox() const { return targets_.houseOrbGroup; }
  QSpinBox* BeginAgeBox() const { return beginAge_; }

 private:
  LifePointPage page_;
  QComboBox* type_ = nullptr;
  QComboBox* system_ = nullptr;
  QButtonGroup* chart_ = nullptr;
  AspectTargetControls targets_;
  AspectPhaseControls phases_;
  AspectOrbControls orbs_;
  QSpinBox* beginAge_ = nullptr;
};

class LifePointSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  explicit LifePointSheet(QWidget* parent = nullptr);
};

// Runs the sheet for a chart of `chartKind`. OK: the configuration's life-point block takes both
// pages' values and true is returned; Cancel leaves it as it was.
bool RunLifePointSheet(Configuration& config, const Aspectarium& systems, const LifePointAll& types,
                       int chartKind, QWidget* parent = nullptr);
