// The astrocartography windows in the program: the map view and its command on a chart document
// (after the settings sheet when it is shown every time), and the settings of the maps
// ("Астрокартография" of the menu "Конфигурация"). The pattern of every ui part's registration
// is described in document/ui_registry.h.
#pragma once

class UiRegistry;

void RegisterAstroCartoUi(UiRegistry& registry);
