// The settings' windows in the program: the commands of the menu "Конфигурация" that open the
// chart settings dialogs. Each copies the configuration into its dialog, runs it and copies it
// back only after OK; afterwards the views of the open charts are redrawn. The pattern of every
// ui part's registration is described in document/ui_registry.h.
#pragma once

class UiRegistry;
class Workbench;

// "Планеты", "Изображение гороскопа", "Система аспектов", "Расчеты" and "Управители" of the main
// window; "Фильтр аспектов" (Ctrl-F) and "Печать" of a chart document.
void RegisterSettingsUi(UiRegistry& registry);
// Publishes the program-wide settings (published_settings.h), then every view of every open chart
// redraws from them.
void UpdateAllChartViews(Workbench& workbench);
