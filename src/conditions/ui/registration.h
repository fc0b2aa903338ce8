// The conditions' windows in the program: "Группы планет" of the main window (the planet groups
// of the conditions), the query results view (the archive browser's "ЗАПРОС" opens the query
// dialog through RunArchiveQuery), and the synastry analysis of a chart document (Alt+I) with
// its result view. The pattern of every ui part's registration is described in
// document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterConditionsUi(UiRegistry& registry);
