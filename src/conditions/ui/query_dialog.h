// The archive query dialog "ЗАПРОС НА ПОИСК В АРХИВЕ" (DQuery, dialog 248) over its model
// (QueryDialogModel): the list of archives to search (CQueArcListBox), the conditions
// (CFuncList) with the condition wizard behind their buttons, the evaluation mode with the logic
// expression and its history, the group editor and the settings of the results view
// (D_QUERY_PARAMS). OK runs the query with the progress dialog and closes.
#pragma once

#include <QListWidget>
#include <functional>
#include <map>

#include "conditions/core/query_dialog_model.h"
#include "conditions/core/synastry_run.h"
#include "platform/qt/dialog.h"

class Archive;
class Chart;
class QGroupBox;
class Workbench;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// An owner-drawn list of the dialog: item i is drawn by `text(i)` and `on(i)` (DrawQueryListItem).
class QueryListBox : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 20;

  QueryListBox(std::function<std::string(int)> text, std::function<bool(int)> on,
               QWidget* parent = nullptr);
  // Empties the list and adds one item per entry, `selected` (or none) selected.
  void Refill(int count, int selected);
  std::string ItemText(int i) const { return text_(i); }
  bool ItemOn(int i) const { return on_(i); }

 private:
  std::function<std::string(int)> text_;
  std::function<bool(int)> on_;
};

// The conditions of the set, each in its text with its number, greyed when switched off.
class CFuncList : public QueryListBox {
  Q_OBJECT

 public:
  CFuncList(const CFunc& set, QWidget* parent = nullptr);
};

// The archives to search, each shortened for 50 characters, greyed when left out.
class CQueArcListBox : public QueryListBox {
  Q_OBJECT

 public:
  CQueArcListBox(const std::vector<ArchiveListEntry>& archives, QWidget* parent = nullptr);
};

// "Запрос - конфигурация": font sizes and line spacings of the results view on paper and on the
// screen, and which lists the printout carries.
class D_QUERY_PARAMS : public platform::Dialog {
  Q_OBJECT

 public:
  explicit D_QUERY_PARAMS(const QueryViewSettings& values, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  QueryViewSettings values;

 private:
  QSpinBox* printFont_;
  QSpinBox* printGap_;
  QSpinBox* screenFont_;
  QSpinBox* screenGap_;
  QCheckBox* showArchives_;
  QCheckBox* showQuery_;
};

class DQuery : public platform::Dialog {
  Q_OBJECT

 public:
  // Controls.
  static constexpr int kIdArchiveList = 1074;
  static constexpr int kIdCurrentOnly = 1629;
  static constexpr int kIdAddArchive = 1630;
  static constexpr int kIdRemoveArchive = 1631;
  static constexpr int kIdToggleArchive = 1632;
  static constexpr int kIdAddCondition = 1633;
  static constexpr int kIdDeleteCondition = 1634;
  static constexpr int kIdEditCondition = 1635;
  static constexpr int kIdToggleCondition = 1636;
  static constexpr int kIdAll = 1637;
  static constexpr int kIdAny = 1638;
  static constexpr int kIdLogic = 1639;
  static constexpr int kIdGroups = 1640;
  static constexpr int kIdSettings = 1641;
  static constexpr int kIdConditionList = 1643;
  static constexpr int kIdLogicCombo = 1645;
  static constexpr int kIdCurrentName = 1657;
  static constexpr int kIdModeText = 2039;

  // The query mode: `showResults` opens the results view after a list run with hits (true when
  // it opened).
  DQuery(Archive& archive, std::function<bool()> showResults, QWidget* parent = nullptr);
  // The synastry mode with `current` the current chart of the analysis: `showSynastry` opens the
  // synastry result view with the run's results (true when it opened).
  DQuery(Archive& archive, const Chart* current, std::function<bool(SynastryHandOver)> showSynastry,
         QWidget* parent = nullptr);

  // The lists, groups and settings loaded; the controls filled.
  void OnInitDialog() override;
  // Controls to the model (current-archive switch, mode, the typed expression) and back.
  bool DoDataExchange(bool save) override;
  // OK: the run (with the progress dialog), then the dialog closes.
  void accept() override;
  // OK in the synastry mode: the synastry run over the pairs of the configured pairing mode.
  void OnOK_Synastry();
  bool IsSynastry() const { return model_.Mode() == QueryMode::kSynastry; }
  QLabel* ModeText() const { return modeText_; }
  QGroupBox* ArchiveBox() const { return archiveBox_; }

  // The load flag: the last run opened the results view, and the browser that opened the dialog
  // closes with OK to let it be seen.
  bool LoadFlag() const { return model_.resultsShown; }
  QueryDialogModel& Model() { return model_; }
  QPushButton* Button(int id) const;
  CFuncList* Conditions() const { return conditions_; }
  CQueArcListBox* Archives() const { return archives_; }
  QComboBox* LogicCombo() const { return logic_; }
  QCheckBox* CurrentOnly() const { return currentOnly_; }

  // --- The buttons' actions ---
  void OnCurrentOnly();
  void OnAddArchive();
  void OnRemoveArchive();
  void OnToggleArchive();
  void OnAddCondition();
  void OnDeleteCondition();
  void OnEditCondition();
  void OnToggleCondition();
  void OnMode(int mode);
  void OnGroups();
  void OnSettings();

 private:
  DQuery(Archive& archive, QueryMode mode, QWidget* parent);
  QPushButton* AddButton(int id, const QString& text);
  // Shows, hides and enables the controls by the model's rules.
  void UpdateControls();
  void RefillArchives();
  void RefillConditions();

  Archive& archive_;
  std::function<bool()> showResults_;
  const Chart* current_ = nullptr;
  std::function<bool(SynastryHandOver)> showSynastry_;
  QueryDialogModel model_;
  QGroupBox* archiveBox_;
  QLabel* modeText_;
  CFuncList* conditions_;
  CQueArcListBox* archives_;
  QCheckBox* currentOnly_;
  QLabel* currentName_;
  QButtonGroup* modes_;
  QComboBox* logic_;
  std::map<int, QPushButton*> buttons_;
};

// The browser's "ЗАПРОС": DQuery on the program's archive, the results of a list run opened in a
// query results view (CQueryView) on a new results document. The load flag after OK, false after
// Cancel.
bool RunArchiveQuery(Workbench& workbench, QWidget* parent);
