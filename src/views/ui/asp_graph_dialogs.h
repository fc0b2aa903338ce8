// The aspect graph's settings sheet (the calculation page DASPGRAPH_CALC and the display page
// ASPGRAPH_CONF), the list dialog D_ASPGRAPHSET, the pair dialog DASPGRPH_ASP and the dialog of
// the aspects at one sample DASPGRAPHDATA. Each is thin over its page model (asp_graph_pages.h).
#pragma once

#include <QListWidget>
#include <array>
#include <functional>
#include <memory>

#include "foundation/config/byte_block.h"
#include "platform/qt/dialog.h"
#include "platform/qt/property_sheet.h"
#include "views/core/asp_graph_pages.h"

class Aspectarium;
class Configuration;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class D_ASPGRAPHSET : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 273;

  D_ASPGRAPHSET(AspGraphSetModel model, const CAspGraphData& data, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // An empty name (848), or a name another list has (849), keeps the dialog open.
  bool CheckOk() override;

  AspGraphSetModel model;
  QLineEdit* NameEdit() const { return name_; }
  QButtonGroup* PeriodGroup() const { return period_; }
  QSpinBox* HouseOrbBox() const { return houseOrb_; }

 private:
  const CAspGraphData& data_;
  QLineEdit* name_ = nullptr;
  QButtonGroup* period_ = nullptr;
  QSpinBox* houseOrb_ = nullptr;
};

class DASPGRPH_ASP : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 274;

  DASPGRPH_ASP(AspGraphPairModel model, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // No aspect system to name (59) keeps the dialog open.
  bool CheckOk() override;

  AspGraphPairModel model;
  QComboBox* FirstBody() const { return firstBody_; }
  QComboBox* FirstTechnique() const { return firstTechnique_; }
  QCheckBox* FirstConverse() const { return firstConverse_; }
  QComboBox* SecondBody() const { return secondBody_; }
  QComboBox* SecondTechnique() const { return secondTechnique_; }
  QCheckBox* SecondConverse() const { return secondConverse_; }
  QComboBox* System() const { return system_; }

 private:
  // The controls from the model: the second body list, the selections and the enabling.
  void Refresh();

  QComboBox* firstBody_ = nullptr;
  QComboBox* firstTechnique_ = nullptr;
  QCheckBox* firstConverse_ = nullptr;
  QComboBox* secondBody_ = nullptr;
  QComboBox* secondTechnique_ = nullptr;
  QCheckBox* secondConverse_ = nullptr;
  QComboBox* system_ = nullptr;
  bool refreshing_ = false;
};

class DASPGRAPH_CALC : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 272;

  DASPGRAPH_CALC(AspGraphCalcPage& page, const Aspectarium& systems, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  // The buttons' actions.
  void OnAddList();
  void OnDeleteList();
  void OnEditList();
  void OnAddPair();
  void OnDeletePair();
  void OnEditPair();
  void OnUp();
  void OnDown();

  QComboBox* Lists() const { return lists_; }
  QListWidget* Pairs() const { return pairs_; }
  QPushButton* Button(int id) const;
  // Control numbers of the buttons.
  enum : int {
    kListAdd = 1913,
    kListDelete = 1914,
    kListEdit = 1921,
    kPairAdd = 1916,
    kPairDelete = 1917,
    kPairEdit = 1918,
    kPairUp = 1919,
    kPairDown = 1920
  };

 private:
  // Lists, pairs and enabling from the page model.
  void Refresh();

  AspGraphCalcPage& page_;
  const Aspectarium& systems_;
  QComboBox* lists_ = nullptr;
  QListWidget* pairs_ = nullptr;
  std::vector<std::pair<int, QPushButton*>> buttons_;
  QSpinBox* day_ = nullptr;
  QSpinBox* month_ = nullptr;
  QSpinBox* year_ = nullptr;
  QButtonGroup* era_ = nullptr;
  bool refreshing_ = false;
};

class ASPGRAPH_CONF : public platform::PropertyPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 275;

  explicit ASPGRAPH_CONF(const AspGraphConfPage& values, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  AspGraphConfPage values;
  QSpinBox* RowsBox() const { return rows_; }
  QButtonGroup* FillGroup() const { return fill_; }
  QButtonGroup* SpeedGroup() const { return speed_; }

 private:
  QSpinBox* rows_ = nullptr;
  QButtonGroup* fill_ = nullptr;
  QButtonGroup* speed_ = nullptr;
};

class AspGraphSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  explicit AspGraphSheet(QWidget* parent = nullptr);
  DASPGRAPH_CALC* calculation = nullptr;
  ASPGRAPH_CONF* display = nullptr;
};

// Runs the sheet for a chart dated `chartDate`. List and pair edits are saved at once; OK (after
// the date check) stores the first day and the selected list in the store and the display words
// and the selected list in the configuration's block, and returns true. Cancel leaves the block.
bool RunAspGraphSheet(CAspGraphData& data, Configuration& config, const Aspectarium& systems,
                      const FDate& chartDate, QWidget* parent = nullptr);

// The owner-drawn list of DASPGRAPHDATA: one item per pair, drawn by DrawAspGraphDataItem.
class CAspGraphDataListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CAspGraphDataListBox(QWidget* parent = nullptr);
  void Show(const AspGraphDataModel& model, const AspGraphDataColumns& columns);
  // The columns for the items the list holds: the aspect's a gap after the widest pair text, the
  // arc's and the orb's after the widths of "аспекта нет" and "000:00" and a gap, each at least
  // `least` (the captions' widths) from the one before; measured in the font the items are drawn
  // in at the height the list gives them.
  AspGraphDataColumns MeasureColumns(const AspGraphDataModel& model,
                                     const std::array<int, 3>& least) const;
  const AspGraphDataModel* Model() const { return model_; }
  const AspGraphDataColumns& Columns() const { return columns_; }

 private:
  const AspGraphDataModel* model_ = nullptr;
  AspGraphDataColumns columns_;
};

class DASPGRAPHDATA : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 276;
  // Where the dialog stands over sample i (global x of the sample), while "Передвигать" is set.
  using SampleX = std::function<int(int sample)>;

  DASPGRAPHDATA(const CAspGraphCalc& calc, int sample, SampleX sampleX, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  void OnBack();
  void OnForward();

  AspGraphDataModel model;
  QLineEdit* MomentEdit() const { return moment_; }
  CAspGraphDataListBox* List() const { return list_; }
  QPushButton* BackButton() const { return back_; }
  QPushButton* ForwardButton() const { return forward_; }
  QCheckBox* MoveBox() const { return move_; }

 private:
  void Refresh();

  SampleX sampleX_;
  CAspGraphDataListBox* list_ = nullptr;
  QLineEdit* moment_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QCheckBox* move_ = nullptr;
  AspGraphDataColumns columns_;
};
