// Command numbers of the menus, accelerators and toolbar. The numbers of the framework's own
// commands (print, preview, close, exit, windows, help) and of the chart commands named by the
// program's resources are kept; commands without a fixed number have numbers from 33000 on.
#pragma once

namespace cmd {

// The framework's commands.
inline constexpr int kFileClose = 57602;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTileHorz = 57651;
inline constexpr int kHelp = 57670;

// New charts of the ten kinds: kNewChartFirst + kind.
inline constexpr int kNewChartFirst = 33000;
inline constexpr int kNewChartLast = 33009;
inline constexpr int NewChart(int kind) { return kNewChartFirst + kind; }

// "Гороскоп"
inline constexpr int kLoadFromArchive = 33010;
inline constexpr int kSaveToArchive = 33011;
inline constexpr int kDynamicArchive = 32895;
inline constexpr int kChartInfo = 33070;
// The chart stepped in time: unit 0 minute, 1 hour, 2 day, 3 month, 4 year.
inline constexpr int kStepUnitCount = 5;
inline constexpr int StepForward(int unit) { return 33060 + 2 * unit; }
inline constexpr int StepBack(int unit) { return 33061 + 2 * unit; }

// "Просмотр"
inline constexpr int kAspectTable = 32793;
inline constexpr int kMidpoints = 32838;
inline constexpr int kAntiscia = 32861;
inline constexpr int kArabicParts = 32862;
inline constexpr int kCoordinates = 33020;
inline constexpr int kCoordinates2 = 33021;
inline constexpr int kCoordLatitudes = 33022;
inline constexpr int kCoordSpeeds = 33023;
inline constexpr int kCoordEquatorial = 33024;
inline constexpr int kCoordHorizontal = 33027;
inline constexpr int kFixedStars = 32836;
inline constexpr int kComment = 33025;
inline constexpr int kPlanetaryHours = 33026;

// "Анализ"
inline constexpr int kAspectGraph = 33030;
inline constexpr int kGraphicEphemeris = 32865;
inline constexpr int kBindhuTable = 32847;
inline constexpr int kSabianSymbols = 32846;
inline constexpr int kThematicChart = 33031;
inline constexpr int kPlanetTransits = 33032;
inline constexpr int kMoonTransits = 33033;
inline constexpr int kLifePoint = 33034;
inline constexpr int kAspectList = 33035;
inline constexpr int kSynastryAnalysis = 33036;
inline constexpr int kTreminForecast = 33037;

// "Астрокартография"
inline constexpr int kAstroCartMap = 32867;
inline constexpr int kTownList = 32871;
inline constexpr int kAddRemoveChart = 32883;
inline constexpr int kLineCrossings = 32884;

// "Ректификация"
inline constexpr int kRectifyByEvents = 33040;
inline constexpr int kTreminRectification = 33041;
inline constexpr int kHermesTrutine = 33042;
inline constexpr int kMoravNumber = 32855;

// "Интерпретатор"
inline constexpr int kInterpretationOutput = 33045;
inline constexpr int kEditTexts = 33046;

// "Конфигурация"
inline constexpr int kConfigPlanets = 32773;
inline constexpr int kConfigWheel = 32774;
inline constexpr int kConfigAspectSystem = 32775;
inline constexpr int kConfigCalculations = 32835;
inline constexpr int kConfigColours = 32813;
inline constexpr int kConfigAspectFilter = 32825;
inline constexpr int kConfigPrint = 32830;
inline constexpr int kConfigAspectTable = 32834;
inline constexpr int kConfigArabicParts = 32866;
inline constexpr int kConfigCoordinates = 32853;
inline constexpr int kConfigBindhu = 32851;
inline constexpr int kConfigSabian = 32849;
inline constexpr int kConfigFixedStars = 32845;
inline constexpr int kConfigAstroCart = 32870;
inline constexpr int kConfigRulers = 32869;
inline constexpr int kConfigImport = 32858;
inline constexpr int kConfigExportFormats = 32890;
inline constexpr int kConfigPlanetGroups = 33050;
inline constexpr int kConfigWindows2000 = 32878;

}  // namespace cmd
