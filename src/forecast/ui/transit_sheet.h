// The planet-transit settings sheet ("ТРАНЗИТЫ ПЛАНЕТ"): the calculation page DTRANSCALC and the
// display page over the configuration's transit block. Opened by the chart document's
// planet-transit command; shown again until the calculation page accepts its values.
#pragma once

#include <array>

#include "forecast/core/transit_calc_page.h"
#include "platform/qt/property_sheet.h"

class Aspectarium;
class Configuration;
class Groups;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;
class SuperSource;

class TransitSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  explicit TransitSheet(QWidget* parent = nullptr);
};

// The calculation page ("РАСЧЕТЫ").
class DTRANSCALC : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 256;

  DTRANSCALC(const TransitCalcPage& page, const Aspectarium& systems, const Groups& groups,
             QWidget* parent = nullptr);

  const TransitCalcPage& Page() const { return page_; }
  bool DoDataExchange(bool save) override;

  // The controls, for the tests.
  QButtonGroup* ModeGroup() const { return mode_; }
  QComboBox* TransitingBox() const { return transiting_; }
  QComboBox* TargetBox() const { return target_; }
  QComboBox* SystemBox() const { return system_; }
  QComboBox* AspectBox() const { return aspect_; }
  QButtonGroup* OrbGroup() const { return orb_; }
  QButtonGroup* PrecisionGroup() const { return precision_; }
  QCheckBox* ClassBox(int bit) const { return classes_[static_cast<std::size_t>(bit)]; }
  QCheckBox* ExactBox() const { return exact_; }
  QCheckBox* EnteringBox() const { return entering_; }
  QCheckBox* LeavingBox() const { return leaving_; }
  QSpinBox* AngleDegreesBox() const { return angleDegrees_; }
  QSpinBox* AngleMinutesBox() const { return angleMinutes_; }
  QSpinBox* OrbDegreesBox() const { return orbDegrees_; }
  QSpinBox* OrbMinutesBox() const { return orbMinutes_; }
  QSpinBox* HouseOrbGroupBox() const { return houseOrbGroup_; }
  // Start and end: day, month, year; era group (0 BC, 1 AD).
  QSpinBox* DateBox(int end, int field) const { return dates_[end][field]; }
  QButtonGroup* EraGroup(int end) const { return eras_[end]; }

 private:
  void BuildControls();
  void FillTargets();
  void FillAspects();
  void Enable();
  void ShowClasses();

  TransitCalcPage page_;
  const Aspectarium& systems_;
  const Groups& groups_;
  bool filling_ = false;
  QButtonGroup* mode_ = nullptr;
  QComboBox* transiting_ = nullptr;
  QComboBox* target_ = nullptr;
  QComboBox* system_ = nullptr;
  QComboBox* aspect_ = nullptr;
  QButtonGroup* orb_ = nullptr;
  QButtonGroup* precision_ = nullptr;
  std::array<QCheckBox*, 9> classes_{};
  QCheckBox* exact_ = nullptr;
  QCheckBox* entering_ = nullptr;
  QCheckBox* leaving_ = nullptr;
  QCheckBox* sortByTime_ = nullptr;
  QSpinBox* angleDegrees_ = nullptr;
  QSpinBox* angleMinutes_ = nullptr;
  QSpinBox* orbDegrees_ = nullptr;
  QSpinBox* orbMinutes_ = nullptr;
  QSpinBox* houseOrbGroup_ = nullptr;
  std::array<std::array<QSpinBox*, 3>, 2> dates_{};
  std::array<QButtonGroup*, 2> eras_{};
};

// What the command knows of its chart: its kind, the date it is computed for, its time factor;
// with the table of longest periods read from `periodsFile` (the shipped copy when that cannot
// be read: the run reports it).
TransitChartInput TransitInputOf(const ChartContext& ctx, const SuperSource& definition,
                                 const std::filesystem::path& periodsFile);

// Runs the sheet until the calculation page accepts its values or the user cancels (a refusal
// shows its message and the sheet again with the values entered). OK: the transit block of
// `config` takes the values and true is returned; Cancel leaves the block as it was.
bool RunTransitSheet(Configuration& config, const Aspectarium& systems, const Groups& groups,
                     const TransitChartInput& chart, QWidget* parent = nullptr);
