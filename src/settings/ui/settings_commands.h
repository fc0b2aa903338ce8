// The commands of the menu "Конфигурация" that open the chart settings dialogs. Each copies the
// configuration into its dialog, runs it and copies it back only after OK; afterwards the views
// of the open charts are redrawn.
#pragma once

class CKovraApp;
class CKovraDoc;

namespace platform {
class CommandTarget;
}

// "Планеты", "Изображение гороскопа", "Система аспектов", "Расчеты" and "Управители" of the main
// window.
void RegisterSettingsFrameCommands(platform::CommandTarget& frame, CKovraApp& app);
// "Фильтр аспектов" (Ctrl-F) and "Печать" of a chart document.
void RegisterSettingsDocumentCommands(CKovraDoc& document, CKovraApp& app);
// Every view of every open chart redraws.
void UpdateAllChartViews(CKovraApp& app);
