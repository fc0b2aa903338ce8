// The condition wizard's pages of the value kinds: MORE/LESS and INTERV (a quantity against one
// value or between two), BEFORE/AFTER, CONTEXT and QUANT. Each is thin over its model
// (value_pages.h): the controls follow the model's enabling rules and OK runs its checks.
#pragma once

#include <array>

#include "conditions/core/value_pages.h"
#include "platform/qt/dialog.h"

class CFunc;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The edits of one bound of a quantity: three values with their labels, the two side (or era)
// buttons and the sign of an absolute longitude.
struct BoundEditors {
  QGroupBox* box = nullptr;
  std::array<QSpinBox*, 3> values{};
  std::array<QLabel*, 3> labels{};
  QButtonGroup* sides = nullptr;
  std::array<QRadioButton*, 2> sideButtons{};
  QComboBox* sign = nullptr;

  void Build(QWidget* owner, const char* title, QBoxLayout* into);
  // Labels and visibility for the quantity and mode.
  void Show(int quantity, int mode);
  void Load(const QuantityBound& bound);
  QuantityBound Save() const;
};

// What MORE/LESS and INTERV share: the object, the quantity radios and the mode radios.
class QuantityPageDialog : public platform::Dialog {
  Q_OBJECT

 public:
  QComboBox* ObjectBox() const { return object_; }
  QRadioButton* QuantityButton(int q) const;
  QRadioButton* ModeButton(int m) const;

 protected:
  QuantityPageDialog(QuantityPageBase& model, const char* title, QWidget* parent);
  // The object, quantity and mode controls into `into`; call once from the derived constructor.
  void BuildQuantityControls(QBoxLayout* into);
  void LoadQuantity();
  void SaveQuantity();
  // Shows the controls the quantity and mode call for, the bounds' included.
  virtual void ShowLayout();

  bool loading_ = false;

 private:
  void FillObjects();

  QuantityPageBase& base_;
  QComboBox* object_ = nullptr;
  QLabel* objectLabel_ = nullptr;
  QButtonGroup* quantity_ = nullptr;
  QButtonGroup* modes_ = nullptr;
  QGroupBox* modeBox_ = nullptr;
};

// The page of a MORE/LESS condition (kind 4).
class QWIZMORELESS : public QuantityPageDialog {
  Q_OBJECT

 public:
  explicit QWIZMORELESS(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // The value check; the page stays open after its message.
  bool CheckOk() override;

  MoreLessPageModel& Model() { return model_; }
  QueryCondition words;

  const BoundEditors& Value() const { return value_; }
  QRadioButton* SenseButton(int s) const { return sense_.at(static_cast<std::size_t>(s)); }

 protected:
  void ShowLayout() override;

 private:
  MoreLessPageModel model_;
  BoundEditors value_;
  std::array<QRadioButton*, 2> sense_{};
};

// The page of an INTERV condition (kind 3).
class DQWIZINTERV : public QuantityPageDialog {
  Q_OBJECT

 public:
  explicit DQWIZINTERV(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // The value checks of both ends and, for whole dates, their order (661).
  bool CheckOk() override;

  IntervPageModel& Model() { return model_; }
  QueryCondition words;

  const BoundEditors& From() const { return from_; }
  const BoundEditors& To() const { return to_; }
  QCheckBox* BeginBox() const { return begin_; }
  QCheckBox* EndBox() const { return end_; }

 protected:
  void ShowLayout() override;

 private:
  IntervPageModel model_;
  BoundEditors from_, to_;
  QCheckBox* begin_;
  QCheckBox* end_;
};

// The page of a BEFORE/AFTER condition (kind 5).
class DQWIZBEFOREAFTER : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DQWIZBEFOREAFTER(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;

  BeforeAfterPageModel& Model() { return model_; }
  QueryCondition words;

  QComboBox* ObjectBox() const { return object_; }
  QComboBox* ReferenceBox() const { return reference_; }
  QRadioButton* SenseButton(int s) const { return sense_.at(static_cast<std::size_t>(s)); }
  QSpinBox* SectorDegreesBox() const { return sectorDegrees_; }
  QComboBox* PointSignBox() const { return pointSign_; }
  QSpinBox* PointDegreesBox() const { return pointDegrees_; }

 private:
  void UpdateEnabling();

  BeforeAfterPageModel model_;
  bool loading_ = false;
  QComboBox* object_;
  QComboBox* reference_;
  std::array<QRadioButton*, 2> sense_{};
  QSpinBox* sectorDegrees_;
  QSpinBox* sectorMinutes_;
  QComboBox* pointSign_;
  QSpinBox* pointDegrees_;
  QSpinBox* pointMinutes_;
};

// The page of a CONTEXT condition (kind 6).
class QWIZCONTEXT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit QWIZCONTEXT(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  bool CheckOk() override;

  ContextPageModel& Model() { return model_; }
  QueryCondition words;

  QRadioButton* WhereButton(int w) const { return where_.at(static_cast<std::size_t>(w)); }
  QRadioButton* TestButton(int t) const { return test_.at(static_cast<std::size_t>(t)); }
  QComboBox* PageBox() const { return page_; }
  QLineEdit* TextEdit() const { return text_; }

 private:
  void UpdateEnabling();

  ContextPageModel model_;
  bool loading_ = false;
  std::array<QRadioButton*, 4> where_{};
  std::array<QRadioButton*, 3> test_{};
  QComboBox* page_;
  QLineEdit* text_;
  QCheckBox* ignoreBlanks_;
  QCheckBox* matchCase_;
  QCheckBox* partial_;
};

// The page of a QUANT condition (kind 8).
class QWIZQUANT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit QWIZQUANT(CFunc& set, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // 59 no such aspect system, 636 no aspect type; the page stays open after the message.
  bool CheckOk() override;

  QuantPageModel& Model() { return model_; }
  QueryCondition words;

  QRadioButton* CountButton(int k) const { return count_.at(static_cast<std::size_t>(k)); }
  QComboBox* ObjectBox() const { return object_; }
  QCheckBox* AddUpBox() const { return addUp_; }
  QRadioButton* ComparisonButton(int k) const {
    return comparison_.at(static_cast<std::size_t>(k));
  }
  QSpinBox* SecondNumberBox() const { return number2_; }
  QComboBox* SystemBox() const { return system_; }
  QCheckBox* ClassBox(int bit) const { return classes_.at(static_cast<std::size_t>(bit)); }
  QRadioButton* SystemOrbButton() const { return systemOrb_; }
  QSpinBox* OrbDegreesBox() const { return orbDegrees_; }

 private:
  void FillObjects();
  void ShowMask();
  void UpdateEnabling();

  QuantPageModel model_;
  bool loading_ = false;
  std::array<QRadioButton*, 5> count_{};
  QComboBox* object_;
  QCheckBox* addUp_;
  std::array<QRadioButton*, 4> comparison_{};
  QSpinBox* number1_;
  QLabel* andLabel_;
  QSpinBox* number2_;
  QCheckBox* inclusive_;
  QComboBox* system_;
  std::array<QCheckBox*, 9> classes_{};
  QRadioButton* ownOrb_;
  QRadioButton* systemOrb_;
  QSpinBox* orbDegrees_;
  QSpinBox* orbMinutes_;
  QSpinBox* houseGroup_;
  QCheckBox* nodes_;
  QButtonGroup* planets_;
  QButtonGroup* houses_;
};
