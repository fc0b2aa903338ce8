// The nearest-towns question of the map's right click (DSELECTED_TOWNS, "АСТРОКАРТОГРАФИЯ -
// БЛИЖАЙШИЕ ГОРОДА"): the clicked point and the towns near it in a list of several choices, and
// whether a relocated or a geodetic chart is to be built for those chosen. Its page model is
// SelectedTownsPage (astrocarto/core/near_towns.h).
#pragma once

#include "astrocarto/core/near_towns.h"
#include "platform/qt/dialog.h"

class QButtonGroup;
class QListWidget;

// Control numbers.
inline constexpr int kIdcTownList = 1516;
inline constexpr int kIdcRelocation = 1514;
inline constexpr int kIdcGeodetic = 1515;

class DSELECTED_TOWNS : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DSELECTED_TOWNS(QWidget* parent = nullptr);

  // The lines of the page, the first (the point) selected, the chart a relocation.
  void OnInitDialog() override;
  // Out: the lines selected and the kind of chart.
  bool DoDataExchange(bool save) override;

  // Filled (SelectedTownsPage::Init) before the dialog runs; the choice after OK.
  SelectedTownsPage page;

  QListWidget* List() const { return list_; }
  QButtonGroup* KindGroup() const { return kind_; }

 private:
  QListWidget* list_;
  QButtonGroup* kind_;
};
