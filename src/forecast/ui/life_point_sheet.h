// The life-point settings sheet ("ТОЧКА ЖИЗНИ - КОНФИГУРАЦИЯ"): the calculation page DLPConf and
// the shared display page on the life-point block. Opened by the chart document's life-point
// command before the life-point view.
#pragma once

#include <string>
#include <vector>

#include "forecast/core/life_point_page.h"
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
  QButtonGroup* PlanetsGroup() const { return planets_; }
  QButtonGroup* HousesGroup() const { return houses_; }
  QButtonGroup* AspectsGroup() const { return aspects_; }
  QButtonGroup* OrbModeGroup() const { return orbMode_; }
  QCheckBox* NodesBox() const { return nodes_; }
  QCheckBox* IngressesBox() const { return ingresses_; }
  QCheckBox* ExactBox() const { return exact_; }
  QCheckBox* EnteringBox() const { return entering_; }
  QCheckBox* LeavingBox() const { return leaving_; }
  QSpinBox* PlanetOrbGroupBox() const { return planetOrbGroup_; }
  QSpinBox* HouseOrbGroupBox() const { return houseOrbGroup_; }
  QSpinBox* BeginAgeBox() const { return beginAge_; }

 private:
  LifePointPage page_;
  QComboBox* type_ = nullptr;
  QComboBox* system_ = nullptr;
  QButtonGroup* chart_ = nullptr;
  QButtonGroup* planets_ = nullptr;
  QButtonGroup* houses_ = nullptr;
  QButtonGroup* aspects_ = nullptr;
  QButtonGroup* orbMode_ = nullptr;
  QCheckBox* nodes_ = nullptr;
  QCheckBox* ingresses_ = nullptr;
  QCheckBox* exact_ = nullptr;
  QCheckBox* entering_ = nullptr;
  QCheckBox* leaving_ = nullptr;
  QSpinBox* planetOrbGroup_ = nullptr;
  QSpinBox* houseOrbGroup_ = nullptr;
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
