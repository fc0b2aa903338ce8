// The condition wizard's page for a CONF condition: a configuration of the table, which objects
// may stand in it, and the orb. The page is thin over ConfPageModel.
#pragma once

#include <array>

#include "conditions/core/conf_page.h"
#include "platform/qt/dialog.h"

class CFunc;
class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

class DQWIZCONFIG : public platform::Dialog {
  Q_OBJECT

 public:
  // `set` gives the groups and the aspect systems; `staged` the words the controls start from.
  DQWIZCONFIG(const CFunc& set, const QueryCondition& staged, QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;
  // The checks of the page: a member chosen twice (982), an unknown aspect system (59), the orb's
  // ranges; the page stays open after the message.
  bool CheckOk() override;

  ConfPageModel& Model() { return model_; }
  // The page's words after OK (kind 7).
  QueryCondition words;

  // The controls, for tests.
  QComboBox* RowBox() const { return row_; }
  QComboBox* MemberBox(int k) const { return members_.at(static_cast<std::size_t>(k)); }
  QCheckBox* ApexBox() const { return apex_; }
  QCheckBox* OthersBox() const { return others_; }
  QRadioButton* OwnOrbButton() const { return ownOrb_; }
  QSpinBox* OrbDegreesBox() const { return orbDegrees_; }
  QComboBox* SystemBox() const { return system_; }

 private:
  // Enables the controls by the model's rules.
  void UpdateEnabling();

  ConfPageModel model_;
  bool loading_ = false;  // controls are being set from the model
  QComboBox* row_;
  QComboBox* objectSet_;
  QComboBox* houses_;
  std::array<QComboBox*, ConfPageModel::kMembers> members_{};
  QCheckBox* apex_;
  QCheckBox* others_;
  QCheckBox* nodes_;
  QRadioButton* ownOrb_;
  QRadioButton* systemOrb_;
  QSpinBox* orbDegrees_;
  QSpinBox* orbMinutes_;
  QComboBox* system_;
  QSpinBox* orbClass_;
};
