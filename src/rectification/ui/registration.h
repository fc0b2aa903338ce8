// The rectification windows in the program: the rectification by events of a chart document
// (its set-up sheet and score matrix, kept with the document for the rectification view). The
// pattern of every ui part's registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterRectificationUi(UiRegistry& registry);
