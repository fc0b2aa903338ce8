// The forecast list views of a chart document: planet transits (CTransitsView), lunar transits
// (CLunTranView) and the life point (LifePointView). Each runs its computation at its first
// update, lists the events with its listing (forecast/core), scrolls, selects, prints, and on a
// right click hands events over to a prediction list; a double click (or Enter) on a planet
// transit opens the transit chart of its moment.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/groups.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/life_point_settings.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/lunar_trans_settings.h"
#include "forecast/core/transit_calculation.h"
#include "forecast/ui/forecast_list_view.h"
#include "foundation/config/configuration.h"

inline constexpr int kHelpPlanetTransits = 131319;
inline constexpr int kHelpLunarTransits = 131269;
inline constexpr int kHelpLifePoint = 131271;

class CTransitsView : public ForecastListView {
  Q_OBJECT

 public:
  CTransitsView();

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpPlanetTransits; }
  // The calculation, once run; nullptr before.
  const TransitCalculation* Calculation() const { return calc_.get(); }

 protected:
  void OnOpenLine(int line) override;
  void OnLineRightClick(int line) override;

 private:
  Configuration config_;
  Chart chart_;
  Groups groups_;
  std::unique_ptr<TransitCalculation> calc_;
};

class CLunTranView : public ForecastListView {
  Q_OBJECT

 public:
  CLunTranView();

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpLunarTransits; }
  const CLunarTrans* Transits() const { return trans_.get(); }

 protected:
  void OnLineRightClick(int line) override;

 private:
  Configuration config_;
  Chart chart_;
  LunarTransSettings settings_;
  std::optional<ChartContext> ctx_;
  std::unique_ptr<CLunarTrans> trans_;
};

class LifePointView : public ForecastListView {
  Q_OBJECT

 public:
  LifePointView();

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpLifePoint; }
  const LifePointComputation* Computation() const { return computation_.get(); }

 protected:
  void OnLineRightClick(int line) override;

 private:
  Configuration config_;
  Chart chart_;
  LifePointSettings settings_;
  std::optional<ChartContext> ctx_;
  std::unique_ptr<LifePointComputation> computation_;
};
