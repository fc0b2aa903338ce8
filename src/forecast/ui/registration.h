// The forecast windows in the program: the planet-transit, lunar-transit and life-point views
// with the settings sheets their commands open first, the prediction-list dialog (Alt+Y) and the
// print view of a prediction list. The pattern of every ui part's registration is described in
// document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterForecastUi(UiRegistry& registry);
