// The 35 view kinds of the chart document, one document template each, by template number. The
// numbers 10, 11, 19, 21 and 25 are fixed by the views that open their templates by number.
#pragma once

#include <array>

inline constexpr int kViewKindCount = 35;

enum ViewTemplate : int {
  kMainChartTemplate = 0,  // CKovraView
  kTemplateAspectTable = 1,
  kTemplateMidpoints = 2,
  kTemplateAntiscia = 3,
  kTemplateArabicParts = 4,
  kTemplateCoordinates = 5,
  kTemplateCoordinates2 = 6,
  kTemplateCoordLatitudes = 7,
  kTemplateCoordSpeeds = 8,
  kTemplateCoordEquatorial = 9,
  kTemplateSabians = 10,
  kTemplateBindhu = 11,
  kTemplateAspectGraph = 12,
  kTemplateGraphicEphemeris = 13,
  kTemplatePlanetaryHours = 14,
  kTemplateComment = 15,
  kTemplateStarsList = 16,
  kTemplateStarText = 17,
  kTemplatePlanetEnergy = 18,
  kTemplateAstroCart = 19,
  kTemplatePlanet = 20,
  kTemplateTownList = 21,
  kTemplateQueryResults = 22,
  kTemplateSynastryResults = 23,
  kTemplateStatistics = 24,
  kTemplateParan = 25,
  kTemplateInterpretation = 26,
  kTemplateTransits = 27,
  kTemplateLunarTransits = 28,
  kTemplateLifePoint = 29,
  kTemplateTremin = 30,
  kTemplateTreminForecast = 31,
  kTemplateRectification = 32,
  kTemplatePredictionList = 33,
  kTemplateArchivePrint = 34,
};

struct ViewKind {
  int number;
  const char* viewClass;
};

// The view class of every template number, in number order.
inline constexpr std::array<ViewKind, kViewKindCount> kViewKinds = {{
    {kMainChartTemplate, "CKovraView"},         {kTemplateAspectTable, "CAspTableView"},
    {kTemplateMidpoints, "CMidpointsView"},     {kTemplateAntiscia, "AntisView"},
    {kTemplateArabicParts, "ArabView"},         {kTemplateCoordinates, "CCoordView"},
    {kTemplateCoordinates2, "CCoord2View"},     {kTemplateCoordLatitudes, "CCoordLatView"},
    {kTemplateCoordSpeeds, "CCoordSpeedView"},  {kTemplateCoordEquatorial, "CCoordEquView"},
    {kTemplateSabians, "CSabiansView"},         {kTemplateBindhu, "CBindhuView"},
    {kTemplateAspectGraph, "CAspGraphView"},    {kTemplateGraphicEphemeris, "EphemView"},
    {kTemplatePlanetaryHours, "CInfoView"},     {kTemplateComment, "CCommentView"},
    {kTemplateStarsList, "CStarsListView"},     {kTemplateStarText, "CStarsView"},
    {kTemplatePlanetEnergy, "CPlanEnergyView"}, {kTemplateAstroCart, "CAstroCartView"},
    {kTemplatePlanet, "CPlanetView"},           {kTemplateTownList, "CACLinesView"},
    {kTemplateQueryResults, "CQueryView"},      {kTemplateSynastryResults, "CSynAnalView"},
    {kTemplateStatistics, "CStatView"},         {kTemplateParan, "CParanView"},
    {kTemplateInterpretation, "CTLRVIEW"},      {kTemplateTransits, "CTransitsView"},
    {kTemplateLunarTransits, "CLunTranView"},   {kTemplateLifePoint, "LifePointView"},
    {kTemplateTremin, "CTreminView"},           {kTemplateTreminForecast, "CPrTreminView"},
    {kTemplateRectification, "RectifView"},     {kTemplatePredictionList, "CPredListPrint"},
    {kTemplateArchivePrint, "CArchivePrint"},
}};
