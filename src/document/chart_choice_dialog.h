// The question of the tables of a two-chart document: which chart a table is for
// (D_CHOOSE_AT_FOR_DW, "ВЫБОР ГОРОСКОПА"), asked through ChartDocument::ChooseChartForTable. Its
// page model is in views/core/table_choices.h.
#pragma once

#include <string>

#include "platform/qt/dialog.h"

class QLabel;
class QListWidget;

// Control numbers.
inline constexpr int kIdcChartChoiceList = 1160;
inline constexpr int kIdcChartChoiceQuestion = 1215;

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
