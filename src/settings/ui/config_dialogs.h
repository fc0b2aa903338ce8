// The configuration dialogs of the chart: objects shown and their aspect switches and orb groups
// (DCONFIG_PLANETS), calculation (CConfigCalculations), the wheel (DCONFIG_WHEEL), printing
// (DCONFIG_PRINT) and the sign rulers (DRulers). Each edits a page model of settings/core; the
// command that opens it copies the page back into the configuration after OK.
#pragma once

#include <array>

#include "platform/qt/dialog.h"
#include "settings/core/settings_pages.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class DCONFIG_PLANETS : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DCONFIG_PLANETS(QWidget* parent = nullptr);
  // Out: an orb group that is no whole number 1..5 is refused (message 1945), the dialog stays
  // open.
  bool DoDataExchange(bool save) override;

  settings::PlanetsPage page;

  QCheckBox* Shown(int object) const { return rows_[static_cast<std::size_t>(object)].shown; }
  QCheckBox* Aspect1(int object) const { return rows_[static_cast<std::size_t>(object)].a1; }
  QCheckBox* Aspect2(int object) const { return rows_[static_cast<std::size_t>(object)].a2; }
  QLineEdit* OrbGroup(int object) const { return rows_[static_cast<std::size_t>(object)].orb; }

 private:
  struct Row {
    QCheckBox* shown;
    QCheckBox* a1;
    QCheckBox* a2;
    QLineEdit* orb;
  };
  std::array<Row, Configuration::kObjectCount> rows_{};
};

class CConfigCalculations : public platform::Dialog {
  Q_OBJECT

 public:
  explicit CConfigCalculations(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // Geodetic houses with a system that has no geodetic form: message 470, the dialog stays open.
  bool CheckOk() override;

  settings::CalculationsPage page;

  QButtonGroup* Houses() const { return houses_; }
  QButtonGroup* Nodes() const { return nodes_; }
  QButtonGroup* BlackMoon() const { return blackMoon_; }
  QCheckBox* DayNight() const { return dayNight_; }
  QCheckBox* Geodetic() const { return geodetic_; }

 private:
  QButtonGroup* houses_;
  QButtonGroup* nodes_;
  QButtonGroup* blackMoon_;
  QCheckBox* dayNight_;
  QCheckBox* geodetic_;
};

class DCONFIG_WHEEL : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DCONFIG_WHEEL(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  settings::WheelPage page;
  // The program's wheel constants, edited at once by "СИСТЕМНЫЕ ПАРАМЕТРЫ" after message 71.
  WheelConstants* constants = nullptr;
  void OnSystemParameters();

  // The radio groups in the order of the page's fields: direction, wheel type, division,
  // orientation, degrees, angles, Local Space drawing, Local Space orientation.
  QButtonGroup* Group(int i) const { return groups_[static_cast<std::size_t>(i)]; }
  QCheckBox* CentreCircle() const { return centre_; }
  QPushButton* SystemParameters() const { return systemParameters_; }

 private:
  std::array<QButtonGroup*, 8> groups_{};
  QCheckBox* centre_;
  QPushButton* systemParameters_;
};

class DCONFIG_PRINT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DCONFIG_PRINT(QWidget* parent = nullptr);
  void OnInitDialog() override;
  // Out: numbers that cannot be read or lie outside their range are refused with message 1947
  // (margins) or 1948 (offsets), and the dialog stays open.
  bool DoDataExchange(bool save) override;
  // Enables the margins and offset rows after the four check boxes.
  void UpdateEnabling();

  settings::PrintPage page;
  int colourMode = 0;  // 0 black and white, 1 colour (the configuration's colour printing)

  QCheckBox* AspectTable() const { return aspectTable_; }
  QCheckBox* Coordinates() const { return coordinates_; }
  QCheckBox* Header() const { return header_; }
  QCheckBox* Frame() const { return frame_; }
  QLineEdit* Margin(int i) const { return margins_[static_cast<std::size_t>(i)]; }
  // The offset edit of row 0..9 and column 0..2; nullptr where the row has no such column.
  QLineEdit* Offset(int row, int column) const;

 private:
  QCheckBox *aspectTable_, *coordinates_, *header_, *frame_;
  QButtonGroup* colour_;
  QButtonGroup* size_;
  std::array<QLineEdit*, 4> margins_{};
  std::array<QLineEdit*, cfg::PrintSettings::kOffsetCount> offsets_{};
};

class DRulers : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DRulers(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  settings::RulersPage page;

  // The combo box of sign 0..11 and column 0..3.
  QComboBox* Box(int sign, int column) const {
    return boxes_[static_cast<std::size_t>(12 * column + sign)];
  }

 private:
  std::array<QComboBox*, Configuration::kRulerCount> boxes_{};
};
