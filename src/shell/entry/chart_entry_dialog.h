// The chart entry dialogs, one class per entry dialog (natal, horary and draconic charts share
// CD_ENTER_Natal). Each shows the birth data and what its kind needs beyond them (a second person,
// a target moment, a method, a key, the converse flag, a harmonic number, a return body), offers
// the recent entries of its group, checks every field with the catalogue's messages on OK (the
// dialog stays open on a refusal) and gives the accepted entry.
#pragma once

#include <vector>

#include "foundation/datetime/super_source.h"
#include "platform/qt/dialog.h"
#include "shell/core/entry/chart_entry_model.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace entry {

class SourceBox;

class ChartEntryDialog : public platform::Dialog {
  Q_OBJECT

 public:
  int Kind() const { return kind_; }

  bool DoDataExchange(bool save) override;

  // In: the preset entry; out: the accepted one (DefinitionFromEntry makes the kind's definition).
  ChartEntry entry;
  // The recent definitions of the group, the most recent first (offered in a list).
  std::vector<SuperSource> recent;

  SourceBox* PersonBox() const { return person_; }
  SourceBox* SecondBox() const { return second_; }
  SourceBox* TargetBox() const { return target_; }
  QLineEdit* TitleEdit() const { return title_; }
  QComboBox* RecentBox() const { return recentBox_; }
  QComboBox* MethodBox() const { return method_; }
  QSpinBox* ArcCountBox() const { return arcCount_; }
  QComboBox* ArcUnitBox() const { return arcUnit_; }
  QSpinBox* TimeCountBox() const { return timeCount_; }
  QComboBox* TimeUnitBox() const { return timeUnit_; }
  QCheckBox* ConverseBox() const { return converse_; }
  QCheckBox* CompositeBox() const { return composite_; }
  QSpinBox* HarmonicBox() const { return harmonic_; }
  QComboBox* ReturnBodyBox() const { return returnBody_; }

  void OnInitDialog() override;

 protected:
  ChartEntryDialog(int kind, QWidget* parent);

 private:
  void FillRecentBox();
  void OnRecentChosen(int row);
  void EnableKey();

  int kind_;
  SourceBox* person_ = nullptr;
  SourceBox* second_ = nullptr;
  SourceBox* target_ = nullptr;
  QLineEdit* title_ = nullptr;
  QComboBox* recentBox_ = nullptr;
  QComboBox* method_ = nullptr;
  QSpinBox* arcCount_ = nullptr;
  QComboBox* arcUnit_ = nullptr;
  QSpinBox* timeCount_ = nullptr;
  QComboBox* timeUnit_ = nullptr;
  QCheckBox* converse_ = nullptr;
  QCheckBox* composite_ = nullptr;
  QSpinBox* harmonic_ = nullptr;
  QComboBox* returnBody_ = nullptr;
};

// Natal, horary (1) and draconic (2) charts. The classes tell the dialogs apart (the modal driver
// answers by class); they add nothing to the common dialog.
class CD_ENTER_Natal : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Natal(int kind = kChartNatal, QWidget* parent = nullptr)
      : ChartEntryDialog(kind, parent) {}
};
class CD_ENTER_Transit : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Transit(QWidget* parent = nullptr) : ChartEntryDialog(kChartTransit, parent) {}
};
class CD_ENTER_Progressed : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Progressed(QWidget* parent = nullptr)
      : ChartEntryDialog(kChartProgressed, parent) {}
};
class CD_ENTER_Directed : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Directed(QWidget* parent = nullptr)
      : ChartEntryDialog(kChartDirected, parent) {}
};
class CD_ENTER_Synastry : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Synastry(QWidget* parent = nullptr)
      : ChartEntryDialog(kChartSynastry, parent) {}
};
class CD_ENTER_Harmonic : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Harmonic(QWidget* parent = nullptr)
      : ChartEntryDialog(kChartHarmonic, parent) {}
};
class CD_ENTER_Return : public ChartEntryDialog {
 public:
  explicit CD_ENTER_Return(QWidget* parent = nullptr) : ChartEntryDialog(kChartReturn, parent) {}
};
class CD_ENTER_LunarPhase : public ChartEntryDialog {
 public:
  explicit CD_ENTER_LunarPhase(QWidget* parent = nullptr)
      : ChartEntryDialog(kChartLunarPhase, parent) {}
};

}  // namespace entry
