// The condition wizard: a first page chooses the kind of condition, a second page of that kind
// its objects and bounds; the result is added to a condition set, or replaces a condition being
// edited. The pages of ASP, IN and INCL conditions are thin over their models (wizard_pages.h);
// those of the value kinds are in value_page_dialogs.h.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "conditions/core/wizard_pages.h"
#include "platform/qt/dialog.h"

class CFunc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Adds one condition to `set`: 0 when added, -1 when the user cancelled on the first page (or the
// set is full, which is told).
int RunConditionWizard(CFunc& set, QWidget* parent = nullptr);
// Removes condition `index` (the others keep their numbers): 0, or -1 for an index outside.
int DeleteCondition(CFunc& set, int index);
// Edits condition `index` on the page of its kind: 0 when confirmed, -1 on Cancel, an index
// outside or a kind without a page. The number and the enabled flag stay.
int EditCondition(CFunc& set, int index, QWidget* parent = nullptr);
// Reads "groups.lst" again into the set's groups.
int ReloadGroups(CFunc& set);

// A first page: one radio button per condition kind with its note beside it; the kinds the mode
// cannot run are disabled and the last row is kept hidden. `choice` is the chosen kind.
class QueryWizardFirstPage : public platform::Dialog {
  Q_OBJECT

 public:
  struct KindName {
    const char* name;  // UTF-8
    const char* note;
  };

  bool DoDataExchange(bool save) override;
  int choice = 0;
  QRadioButton* Button(int kind) const { return buttons_.at(static_cast<std::size_t>(kind)); }

 protected:
  QueryWizardFirstPage(const QString& title, std::span<const KindName> kinds, bool twoChart,
                       int remembered, QWidget* parent);

 private:
  std::vector<QRadioButton*> buttons_;
  QButtonGroup* group_;
};

// The one-chart first page: the kinds 0..8 as radio buttons.
class CQueryWizardMain : public QueryWizardFirstPage {
  Q_OBJECT

 public:
  explicit CQueryWizardMain(int remembered, QWidget* parent = nullptr);
};

// The two-chart first page: ASP (0) or IN (1).
class CQueryWizardMain_Syn : public QueryWizardFirstPage {
  Q_OBJECT

 public:
  explicit CQueryWizardMain_Syn(int remembered, QWidget* parent = nullptr);
};

// The page of an ASP condition (kinds 0 and 100).
class DQWIZASP : public platform::Dialog {
  Q_OBJECT

 public:
  DQWIZASP(CFunc& set, bool twoChart, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // 59 no such aspect system, 636 "любой" without a type; the page stays open after the message.
  bool CheckOk() override;

  AspPageModel& Model() { return model_; }
  QueryCondition words;  // after OK

  QComboBox* FirstBox() const { return first_; }
  QComboBox* SystemBox() const { return system_; }
  QComboBox* AspectBox() const { return aspect_; }
  QCheckBox* ClassBox(int bit) const { return classes_.at(static_cast<std::size_t>(bit)); }
  QSpinBox* GivenDegreesBox() const { return givenDegrees_; }
  QRadioButton* OwnOrbButton() const { return ownOrb_; }
  QRadioButton* SystemOrbButton() const { return systemOrb_; }
  QSpinBox* OrbDegreesBox() const { return orbDegrees_; }
  QComboBox* PointSignBox() const { return pointSign_; }

 private:
  void FillAspects();
  void UpdateEnabling();
  void ShowMask();

  CFunc& set_;
  AspPageModel model_;
  bool loading_ = false;
  QComboBox* first_;
  QComboBox* second_;
  QComboBox* pointSign_;
  QSpinBox* pointDegrees_;
  QSpinBox* pointMinutes_;
  QComboBox* system_;
  QComboBox* aspect_;
  QSpinBox* givenDegrees_;
  QSpinBox* givenMinutes_;
  std::array<QCheckBox*, 9> classes_{};
  QRadioButton* ownOrb_;
  QRadioButton* systemOrb_;
  QSpinBox* orbDegrees_;
  QSpinBox* orbMinutes_;
  QSpinBox* houseGroup_;
  QSpinBox* signGroup_;
};

// The page of an IN condition (kinds 1 and 101).
class DQWIZIN : public platform::Dialog {
  Q_OBJECT

 public:
  DQWIZIN(CFunc& set, bool twoChart, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;

  InPageModel& Model() { return model_; }
  QueryCondition words;

  QComboBox* ObjectBox() const { return object_; }
  QComboBox* PlaceBox() const { return place_; }
  QPushButton* SwapButton() const { return swap_; }
  QLabel* ObjectChartLabel() const { return chart1_; }

 private:
  void FillPlaces();
  void UpdateEnabling();

  InPageModel model_;
  bool loading_ = false;
  QComboBox* object_;
  QComboBox* place_;
  QComboBox* pointSign_;
  QSpinBox* pointDegrees_;
  QSpinBox* pointMinutes_;
  QLabel* chart1_;
  QLabel* chart2_;
  QPushButton* swap_;
};

// The page of an INCL condition (kind 2).
class DQWIZINCL : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DQWIZINCL(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;

  InclPageModel& Model() { return model_; }
  QueryCondition words;

  QComboBox* IncludedBox() const { return included_; }
  QComboBox* ContainerBox() const { return container_; }

 private:
  void FillContainers();

  InclPageModel model_;
  bool loading_ = false;
  QComboBox* included_;
  QComboBox* container_;
  std::array<QRadioButton*, 3> inclusion_{};
};
