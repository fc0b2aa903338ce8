// The view kinds of the analysis tables and pictures: their template numbers (10 and 11 are fixed
// by the views that open them by number) and the open counters the chart document keeps for them.
#pragma once

#include "document/doc_view_kind.h"

inline constexpr int kTemplateAspectTable = 1;        // CAspTableView
inline constexpr int kTemplateMidpoints = 2;          // CMidpointsView
inline constexpr int kTemplateAntiscia = 3;           // AntisView
inline constexpr int kTemplateArabicParts = 4;        // ArabView
inline constexpr int kTemplateCoordinates = 5;        // CCoordView
inline constexpr int kTemplateCoordinates2 = 6;       // CCoord2View
inline constexpr int kTemplateCoordLatitudes = 7;     // CCoordLatView
inline constexpr int kTemplateCoordSpeeds = 8;        // CCoordSpeedView
inline constexpr int kTemplateCoordEquatorial = 9;    // CCoordEquView
inline constexpr int kTemplateSabians = 10;           // CSabiansView
inline constexpr int kTemplateBindhu = 11;            // CBindhuView
inline constexpr int kTemplateAspectGraph = 12;       // CAspGraphView
inline constexpr int kTemplateGraphicEphemeris = 13;  // EphemView
inline constexpr int kTemplatePlanetaryHours = 14;    // CInfoView
inline constexpr int kTemplateStarsList = 16;         // CStarsListView
inline constexpr int kTemplateStarText = 17;          // CStarsView
inline constexpr int kTemplatePlanetEnergy = 18;      // CPlanEnergyView
inline constexpr int kTemplatePlanet = 20;            // CPlanetView

inline constexpr DocViewKind kDocViewAspectTable{};
inline constexpr DocViewKind kDocViewMidpoints{};
inline constexpr DocViewKind kDocViewAntiscia{};
// Every table of coordinates (templates 5..9).
inline constexpr DocViewKind kDocViewCoordinates{};
inline constexpr DocViewKind kDocViewAspectGraph{};
inline constexpr DocViewKind kDocViewGraphicEphemeris{};
inline constexpr DocViewKind kDocViewPlanetaryHours{};
inline constexpr DocViewKind kDocViewBindhu{};
inline constexpr DocViewKind kDocViewSabian{};
inline constexpr DocViewKind kDocViewPlanetEnergy{};
inline constexpr DocViewKind kDocViewPlanet{};
inline constexpr DocViewKind kDocViewFixedStars{};
inline constexpr DocViewKind kDocViewStarText{};

// The mode of the next equatorial/horizontal table of a document, set by the command that opens
// it: 3 equatorial, 4 horizontal.
struct CoordinateTableChoice {
  int mode = 3;
};
