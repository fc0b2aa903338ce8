// The archive's windows in the program: the comment view of a chart, "Загрузить из архива" of the
// main window and "Сохранить в архиве" of a chart document. The pattern of every ui part's
// registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterArchiveUi(UiRegistry& registry);
