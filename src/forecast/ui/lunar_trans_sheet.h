// The lunar-transit settings sheet ("ТРАНЗИТЫ ЛУНЫ"): the calculation page and the display page
// over the configuration's lunar-transit block. Opened by the chart document's lunar-transit
// command before the lunar-transit view.
#pragma once

#include "forecast/core/lunar_trans_page.h"
#include "platform/qt/property_sheet.h"

class Aspectarium;
class Configuration;
class SuperSource;

class LunarTransSheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  explicit LunarTransSheet(QWidget* parent = nullptr);
};

// What the command knows of its chart: its aspect system, daily lunar arc and chart kind.
LunarTransChartInput LunarTransInputOf(const SuperSource& definition);

// Runs the sheet until its values are accepted or the user cancels (messages 95 and 96 show it
// again with the values entered). OK: the block of `config` takes the values and true is
// returned; Cancel leaves the block as it was.
bool RunLunarTransSheet(Configuration& config, const Aspectarium& systems,
                        const LunarTransChartInput& chart, QWidget* parent = nullptr);
