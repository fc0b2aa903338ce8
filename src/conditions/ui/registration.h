// The conditions' windows in the program: "Группы планет" of the main window (the planet groups
// of the conditions) and the query results view (the archive browser's "ЗАПРОС" opens the query
// dialog through RunArchiveQuery). The pattern of every ui part's registration is described in
// document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterConditionsUi(UiRegistry& registry);
