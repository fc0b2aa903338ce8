// The midpoints view's dialogs: DMPAList ("АСПЕКТЫ К МИДПОЙНТУ"), the chart's points in aspect to
// one midpoint under a heading with the midpoint's two points and its longitude, opened at the
// click; and DMIDPOINTS_PRINT ("Печать мидпойнтов - конфигурация"), whether the midpoints are
// printed as the grid or as the list, with what.
#pragma once

#include <QPoint>
#include <QRect>
#include <array>

#include "platform/qt/dialog.h"
#include "views/core/midpoint_dialogs.h"

class CAspectsListBox;
class QButtonGroup;
class QRadioButton;
class QSpinBox;

inline constexpr int kIdcMidpointAspectList = 1417;
inline constexpr int kIdcPrintAsGrid = 1760, kIdcPrintAsList = 1761;
inline constexpr int kIdcSamePageFirst = 1762;
inline constexpr int kIdcListFontSize = 1765, kIdcListInterval = 1766;
inline constexpr int kIdcListChartThis = 1767, kIdcListChartOuter = 1768;

class DMPAList : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DMPAList(QWidget* parent = nullptr);

  // Placed at the click inside `area` (both in global pixels); the list's rows filled.
  void OnInitDialog() override;

  CAspectsListBox* List() const { return list_; }
  QPoint click;
  QRect area;
  int point1 = 0, point2 = 0;  // table points 0..39 of the midpoint
  double longitude = 0.0;      // the midpoint
  int longitudeLayout = 1;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CAspectsListBox* list_;
};

class DMIDPOINTS_PRINT : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DMIDPOINTS_PRINT(QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool DoDataExchange(bool save) override;

  tables::MidpointPrintModel model;  // loaded and told of an outer chart before the dialog runs

  QRadioButton* Form(int form) const { return form == 0 ? grid_ : list_; }
  QRadioButton* SamePage(int i) const { return same_[static_cast<std::size_t>(i)]; }
  QSpinBox* FontSize() const { return fontSize_; }
  QSpinBox* Interval() const { return interval_; }
  QRadioButton* ListChart(int i) const { return chart_[static_cast<std::size_t>(i)]; }

 private:
  // The controls of the chosen form enabled, the others disabled.
  void Enable();

  QRadioButton* grid_;
  QRadioButton* list_;
  std::array<QRadioButton*, 3> same_{};
  QSpinBox* fontSize_;
  QSpinBox* interval_;
  std::array<QRadioButton*, 2> chart_{};
};
