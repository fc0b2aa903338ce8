// The forecast windows in the program. Their sheets (transits, lunar transits, the life point)
// are opened by the forecast views, which register here with their commands as they are built. The
// pattern of every ui part's registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterForecastUi(UiRegistry& registry);
