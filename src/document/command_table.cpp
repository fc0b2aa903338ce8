#include "document/command_table.h"

#include "document/command_ids.h"
#include "platform/qt/main_frame.h"

using platform::CommandDef;
using platform::CommandTable;
using platform::kMenuRecentFiles;
using platform::kMenuSeparator;
using platform::kMenuWindowList;

namespace {

CommandTable MakeTable() {
  CommandTable table;
  table.commands = {
      // The ten chart kinds, named as the chart-kind list names them (messages 100..109).
      {cmd::NewChart(0), "Натальный", "Ctrl+N", "Новый натальный гороскоп", true},
      {cmd::NewChart(1), "Хорарный", "", "Новый хорарный гороскоп", false},
      {cmd::NewChart(2), "Драконический", "", "Новый драконический гороскоп", false},
      {cmd::NewChart(3), "Транзитный", "", "Новый гороскоп транзитов", true},
      {cmd::NewChart(4), "Прогрессивный", "", "Новый прогрессированный гороскоп", false},
      {cmd::NewChart(5), "Дирекционный", "", "Новый дирекционный гороскоп", false},
      {cmd::NewChart(6), "Синастрический", "", "Новый синастрический гороскоп", true},
      {cmd::NewChart(7), "Гармонический", "", "Новый гармонический гороскоп", false},
      {cmd::NewChart(8), "Революционный", "", "Новый гороскоп возвращения", false},
      {cmd::NewChart(9), "Фаза Луны", "", "Новый гороскоп фазы Луны", false},
      {cmd::kLoadFromArchive, "Загрузить из архива...", "", "", true},
      {cmd::kSaveToArchive, "Сохранить в архиве...", "", "", true},
      {cmd::kDynamicArchive, "Динамический архив...", "", "", false},
      {cmd::kChartInfo, "Информация о гороскопе...", "Alt+Return", "", false},
      {cmd::StepForward(0), "Вперед на минуту", "Shift+Right", "", false},
      {cmd::StepBack(0), "Назад на минуту", "Shift+Left", "", false},
      {cmd::StepForward(1), "Вперед на час", "Ctrl+Right", "", false},
      {cmd::StepBack(1), "Назад на час", "Ctrl+Left", "", false},
      {cmd::StepForward(2), "Вперед на день", "Ctrl+Up", "", false},
      {cmd::StepBack(2), "Назад на день", "Ctrl+Down", "", false},
      {cmd::StepForward(3), "Вперед на месяц", "Shift+Up", "", false},
      {cmd::StepBack(3), "Назад на месяц", "Shift+Down", "", false},
      {cmd::StepForward(4), "Вперед на год", "Ctrl+Shift+Up", "", false},
      {cmd::StepBack(4), "Назад на год", "Ctrl+Shift+Down", "", false},
      {cmd::kFilePrint, "Печать...", "Ctrl+F1", "Печать окна", true},
      {cmd::kFilePrintPreview, "Печать - просмотр", "", "Просмотр страниц перед печатью", false},
      {cmd::kFileClose, "Закрыть", "", "Закрыть окно", false},
      {cmd::kAppExit, "Выход", "", "Завершить работу программы", false},

      {cmd::kAspectTable, "Таблица аспектов", "Ctrl+B", "", true},
      {cmd::kMidpoints, "Мидпойнты", "Ctrl+O", "", false},
      {cmd::kAntiscia, "Антисы и контрантисы", "Ctrl+K", "", false},
      {cmd::kArabicParts, "Арабские точки", "Ctrl+X", "", false},
      {cmd::kCoordinates, "Координаты", "", "", false},
      {cmd::kCoordinates2, "Координаты двух гороскопов", "", "", false},
      {cmd::kCoordLatitudes, "Широты", "", "", false},
      {cmd::kCoordSpeeds, "Скорости", "", "", false},
      {cmd::kCoordEquatorial, "Экваториальные координаты", "", "", false},
      {cmd::kCoordHorizontal, "Горизонтальные координаты", "", "", false},
      {cmd::kFixedStars, "Неподвижные звезды", "Ctrl+I", "", false},
      {cmd::kPlanetaryHours, "Планетарные часы", "", "", false},
      {cmd::kComment, "Комментарий", "", "", false},

      {cmd::kAspectGraph, "Графические аспекты", "Alt+R", "", false},
      {cmd::kGraphicEphemeris, "Графические эфемериды", "Alt+G", "", false},
      {cmd::kBindhuTable, "Таблица Биндху", "Alt+H", "", false},
      {cmd::kSabianSymbols, "Сабианские символы", "Alt+A", "", false},
      {cmd::kThematicChart, "Тематическая карта...", "", "", false},
      {cmd::kPlanetTransits, "Транзиты планет", "Alt+P", "", true},
      {cmd::kMoonTransits, "Транзиты Луны", "Alt+L", "", true},
      {cmd::kLifePoint, "Точка Жизни", "Alt+V", "", true},
      {cmd::kAspectList, "Список аспектов", "Alt+Y", "", true},
      {cmd::kSynastryAnalysis, "Синастрический анализ", "Alt+I", "", false},
      {cmd::kTreminForecast, "Прогноз по методу Тремина", "Alt+J", "", true},

      {cmd::kAstroCartMap, "Карта", "Alt+C", "", false},
      {cmd::kTownList, "Список городов", "Alt+T", "", false},
      {cmd::kAddRemoveChart, "Добавить/Убрать гороскоп", "", "", false},
      {cmd::kLineCrossings, "Пересечения линий", "Alt+X", "", false},

      {cmd::kRectifyByEvents, "Ректификация по событиям", "", "", true},
      {cmd::kTreminRectification, "Ректификация по методу Тремина", "", "", true},
      {cmd::kHermesTrutine, "Трутина Гермеса", "", "", false},
      {cmd::kMoravNumber, "Число Морава", "", "", false},

      {cmd::kInterpretationOutput, "Вывод интерпретации", "", "", false},
      {cmd::kEditTexts, "Редактировать тексты", "", "", false},

      {cmd::kConfigPlanets, "Планеты", "", "", false},
      {cmd::kConfigWheel, "Изображение гороскопа", "", "", false},
      {cmd::kConfigAspectSystem, "Система аспектов", "", "", false},
      {cmd::kConfigCalculations, "Расчеты", "", "", false},
      {cmd::kConfigColours, "Цвета", "", "", false},
      {cmd::kConfigAspectFilter, "Фильтр аспектов", "Ctrl+F", "", false},
      {cmd::kConfigPrint, "Печать", "", "", false},
      {cmd::kConfigAspectTable, "Таблица аспектов", "", "", false},
      {cmd::kConfigArabicParts, "Арабские точки", "", "", false},
      {cmd::kConfigCoordinates, "Координаты", "", "", false},
      {cmd::kConfigBindhu, "Таблица Биндху", "", "", false},
      {cmd::kConfigSabian, "Сабианские символы", "", "", false},
      {cmd::kConfigFixedStars, "Неподвижные звезды", "", "", false},
      {cmd::kConfigAstroCart, "Астрокартография", "", "", false},
      {cmd::kConfigRulers, "Управители", "", "", false},
      {cmd::kConfigPlanetGroups, "Группы планет", "", "", true},
      {cmd::kConfigExportFormats, "Форматы экспорта архивов", "", "", false},
      {cmd::kConfigImport, "Импорт установок", "", "", false},
      {cmd::kConfigWindows2000, "Windows 2000", "", "Широкие колонки таблиц", false},

      {cmd::kWindowCascade, "Каскадом", "", "", false},
      {cmd::kWindowTileHorz, "Мозаикой", "", "", false},
      {cmd::kWindowArrange, "Упорядочить значки", "", "", false},
      {cmd::kHelp, "Справка", "F1", "Раздел справки активного окна", false},
      {cmd::kAppAbout, "О программе...", "", "", false},
  };
  table.menus = {
      {"&Гороскоп",
       {cmd::NewChart(0),     cmd::NewChart(1),       cmd::NewChart(2), cmd::NewChart(3),
        cmd::NewChart(4),     cmd::NewChart(5),       cmd::NewChart(6), cmd::NewChart(7),
        cmd::NewChart(8),     cmd::NewChart(9),       kMenuSeparator,   cmd::kLoadFromArchive,
        cmd::kSaveToArchive,  cmd::kDynamicArchive,   kMenuSeparator,   cmd::kChartInfo,
        cmd::kAddRemoveChart, cmd::StepForward(0),    cmd::StepBack(0), cmd::StepForward(1),
        cmd::StepBack(1),     cmd::StepForward(2),    cmd::StepBack(2), cmd::StepForward(3),
        cmd::StepBack(3),     cmd::StepForward(4),    cmd::StepBack(4), kMenuSeparator,
        cmd::kFilePrint,      cmd::kFilePrintPreview, kMenuSeparator,   cmd::kFileClose,
        kMenuRecentFiles,     cmd::kAppExit}},
      {"&Просмотр",
       {cmd::kAspectTable, cmd::kMidpoints, cmd::kAntiscia, cmd::kArabicParts, kMenuSeparator,
        cmd::kCoordinates, cmd::kCoordinates2, cmd::kCoordLatitudes, cmd::kCoordSpeeds,
        cmd::kCoordEquatorial, cmd::kCoordHorizontal, kMenuSeparator, cmd::kFixedStars,
        cmd::kPlanetaryHours, cmd::kComment}},
      {"&Анализ",
       {cmd::kAspectGraph, cmd::kGraphicEphemeris, cmd::kBindhuTable, cmd::kSabianSymbols,
        cmd::kThematicChart, kMenuSeparator, cmd::kPlanetTransits, cmd::kMoonTransits,
        cmd::kLifePoint, cmd::kAspectList, kMenuSeparator, cmd::kSynastryAnalysis,
        cmd::kTreminForecast}},
      {"Астро&картография",
       {cmd::kAstroCartMap, cmd::kTownList, cmd::kAddRemoveChart, cmd::kLineCrossings}},
      {"&Ректификация",
       {cmd::kRectifyByEvents, cmd::kTreminRectification, cmd::kHermesTrutine, cmd::kMoravNumber}},
      {"&Интерпретатор", {cmd::kInterpretationOutput, cmd::kEditTexts}},
      {"&Конфигурация",
       {cmd::kConfigPlanets,
        cmd::kConfigWheel,
        cmd::kConfigAspectSystem,
        cmd::kConfigCalculations,
        cmd::kConfigColours,
        kMenuSeparator,
        cmd::kConfigAspectFilter,
        cmd::kConfigPrint,
        cmd::kConfigAspectTable,
        cmd::kConfigArabicParts,
        cmd::kConfigCoordinates,
        cmd::kConfigBindhu,
        cmd::kConfigSabian,
        cmd::kConfigFixedStars,
        cmd::kConfigAstroCart,
        kMenuSeparator,
        cmd::kConfigRulers,
        cmd::kConfigPlanetGroups,
        cmd::kConfigExportFormats,
        cmd::kConfigImport,
        kMenuSeparator,
        cmd::kConfigWindows2000}},
      {"&Окно", {cmd::kWindowCascade, cmd::kWindowTileHorz, cmd::kWindowArrange, kMenuWindowList}},
      {"&Справка", {cmd::kHelp, kMenuSeparator, cmd::kAppAbout}},
  };
  return table;
}

}  // namespace

const CommandTable& KovraCommandTable() {
  static const CommandTable table = MakeTable();
  return table;
}
