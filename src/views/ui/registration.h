// The analysis views in the program: the aspect table, the midpoints, the planetary hours and the
// coordinate tables, the commands of the chart document that open them and the commands of their
// settings. The pattern of every ui part's registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterViewsUi(UiRegistry& registry);
