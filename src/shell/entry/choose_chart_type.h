// The chart-kind dialog "ТИП ГОРОСКОПА": the ten kind names (messages 100..109) in kind order,
// the first selected; OK (or a double click) takes the selected kind.
#pragma once

#include "platform/qt/dialog.h"

class QListWidget;

// Control number of the kind list.
inline constexpr int kIdcChartTypeList = 1059;
// What ChooseChartType returns on Cancel.
inline constexpr int kNoChartType = 65535;

class DChooseChartType : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DChooseChartType(QWidget* parent = nullptr);

  bool DoDataExchange(bool save) override;

  // In: the kind selected at first (0); out: the chosen kind 0..9.
  int kind = 0;

  QListWidget* KindList() const { return list_; }

 private:
  QListWidget* list_;
};

// Runs DChooseChartType: the chosen kind 0..9, or 65535 when cancelled.
int ChooseChartType(QWidget* parent = nullptr);
