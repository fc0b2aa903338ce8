// The view kinds of the rectification: their template numbers and the open counters the chart
// document keeps for them.
#pragma once

#include "document/doc_view_kind.h"

inline constexpr int kTemplateTremin = 30;          // CTreminView
inline constexpr int kTemplateTreminForecast = 31;  // CPrTreminView
inline constexpr int kTemplateRectification = 32;   // RectifView

inline constexpr DocViewKind kDocViewTreminResults{};
inline constexpr DocViewKind kDocViewTreminForecast{};
inline constexpr DocViewKind kDocViewRectification{};
