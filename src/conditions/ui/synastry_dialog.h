// The set-up dialog of the synastry analysis "ПАРАМЕТРЫ СИНАСТРИЧЕСКОГО АНАЛИЗА" (DSYNANAL) over
// its model (SynastrySetupModel): the pairing mode with the controls it shows, the archives of
// the modes (stored in the configuration at once) and the archive list of mode 1 in its
// owner-drawn list box (CSynAnalArcListBox); and the command that chains it with the query dialog
// in the synastry mode.
#pragma once

#include <functional>
#include <map>

#include "conditions/core/synastry_run.h"
#include "conditions/core/synastry_setup.h"
#include "conditions/ui/query_dialog.h"
#include "platform/qt/dialog.h"

class Chart;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class Workbench;

// The archives of mode 1, each shortened to the container's width, greyed when switched off.
class CSynAnalArcListBox : public QueryListBox {
  Q_OBJECT

 public:
  explicit CSynAnalArcListBox(const CArcListContainer& container, QWidget* parent = nullptr);
  // Empties the list and adds one item per entry of the container, `selected` (or none) selected.
  void Refill(int selected);

 private:
  const CArcListContainer& container_;
};

class DSYNANAL : public platform::Dialog {
  Q_OBJECT

 public:
  enum Button { kChange1, kChange2, kAdd, kToggle, kRemove };

  // `current` is the chart of the document whose command opened the dialog.
  explicit DSYNANAL(const Chart* current, QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  // OK: the mode's archives checked, the mode stored.
  bool CheckOk() override;

  SynastrySetupModel& Model() { return model_; }
  QPushButton* ButtonOf(Button b) const { return buttons_.at(b); }
  QButtonGroup* Modes() const { return modes_; }
  CSynAnalArcListBox* List() const { return list_; }
  QLineEdit* ArchiveEdit(int field) const { return archiveEdits_[field]; }
  QLabel* Comment() const { return comment_; }
  QGroupBox* ChartBox() const { return chartBox_; }
  // Which of the controls are shown now.
  SynastryControls Shown() const;

  // The buttons' actions.
  void OnMode(int mode);
  void OnChange(bool second);
  void OnAdd();
  void OnToggle();
  void OnRemove();

 private:
  void ApplyMode();
  void FillArchives();
  QPushButton* AddButton(Button b, const char* text);

  const Chart* current_;
  SynastrySetupModel model_;
  QButtonGroup* modes_;
  CSynAnalArcListBox* list_;
  QLineEdit* archiveEdits_[3];
  QLabel* archiveLabels_[3];
  QLineEdit* chartEdits_[4];
  QGroupBox* chartBox_;
  QLabel* comment_;
  std::map<Button, QPushButton*> buttons_;
};

// "Анализ > Синастрический анализ" on `current`: DSYNANAL, then the query dialog in the synastry
// mode (its Cancel shows the set-up dialog again); the results handed to `show`.
void RunSynastryAnalysis(Workbench& workbench, const Chart& current,
                         const std::function<bool(SynastryHandOver)>& show);
