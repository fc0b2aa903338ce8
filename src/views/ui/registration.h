// The analysis views in the program: the aspect table, the midpoints, the planetary hours, the
// coordinate tables, the Arabic parts, the graphic ephemeris and the aspect graph, the commands of
// the chart document that open them, the commands of their settings, and the start-up loaders of
// their lists. The pattern of every ui part's registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterViewsUi(UiRegistry& registry);
