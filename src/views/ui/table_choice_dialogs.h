// The two small questions of the table views: which chart of a two-chart document a table is for
// (D_CHOOSE_AT_FOR_DW, "ВЫБОР ГОРОСКОПА") and what else to print under a view's own table
// (DPRINTPADE2, "Печать"). Their page models are in views/core/table_choices.h.
#pragma once

#include <array>
#include <string>

#include "platform/qt/dialog.h"
#include "views/core/table_choices.h"

class QLabel;
class QListWidget;
class QRadioButton;

// Control numbers.
inline constexpr int kIdcChartChoiceList = 1160;
inline constexpr int kIdcChartChoiceQuestion = 1215;
inline constexpr int kIdcPrintAspectTable = 1758;  // then 1759 midpoints, 1760 planetary hours

class D_CHOOSE_AT_FOR_DW : public platform::Dialog {
  Q_OBJECT

 public:
  explicit D_CHOOSE_AT_FOR_DW(QWidget* parent = nullptr);

  // The three lines, the first selected, and the question.
  void OnInitDialog() override;
  // Out: the selected line.
  bool DoDataExchange(bool save) override;

  int choice = 0;        // 0 inner chart, 1 outer chart, 2 between the two
  std::string question;  // code page 1251, set before the dialog runs

  QListWidget* List() const { return list_; }
  QLabel* Question() const { return label_; }

 private:
  QLabel* label_;
  QListWidget* list_;
};

class DPRINTPADE2 : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DPRINTPADE2(QWidget* parent = nullptr);

  // The caller's own table disabled, the preselection of the model checked.
  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;

  tables::PrintOptionsModel model;  // set model.caller before the dialog runs

  QRadioButton* Option(int i) const { return options_[static_cast<std::size_t>(i)]; }

 private:
  std::array<QRadioButton*, tables::kPrintOptionCount> options_{};
};
