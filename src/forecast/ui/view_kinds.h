// The view kinds of the forecast: their template numbers and the open counters the chart
// document keeps for them.
#pragma once

#include "document/doc_view_kind.h"

inline constexpr int kTemplateTransits = 27;        // CTransitsView
inline constexpr int kTemplateLunarTransits = 28;   // CLunTranView
inline constexpr int kTemplateLifePoint = 29;       // LifePointView
inline constexpr int kTemplatePredictionList = 33;  // CPredListPrint

inline constexpr DocViewKind kDocViewPlanetTransits{};
inline constexpr DocViewKind kDocViewLunarTransits{};
inline constexpr DocViewKind kDocViewLifePoint{};
inline constexpr DocViewKind kDocViewPredictionListPrint{};
