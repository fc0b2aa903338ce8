// The print question of the table views: what else to print under a view's own table
// (DPRINTPADE2, "Печать"). Its page model is in views/core/table_choices.h; the other question of
// the tables, which chart of a two-chart document a table is for, is the document's
// (document/chart_choice_dialog.h).
#pragma once

#include <array>
#include <string>

#include "document/chart_choice_dialog.h"
#include "platform/qt/dialog.h"
#include "views/core/table_choices.h"

class QRadioButton;

// Control numbers.
inline constexpr int kIdcPrintAspectTable = 1758;  // then 1759 midpoints, 1760 planetary hours

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
