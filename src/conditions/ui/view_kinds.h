// The view kinds of the searches and the interpreter: their template numbers and the open
// counters the chart document keeps for them.
#pragma once

#include "document/doc_view_kind.h"

inline constexpr int kTemplateQueryResults = 22;     // CQueryView
inline constexpr int kTemplateSynastryResults = 23;  // CSynAnalView
inline constexpr int kTemplateStatistics = 24;       // CStatView
inline constexpr int kTemplateInterpretation = 26;   // CTLRVIEW

inline constexpr DocViewKind kDocViewQueryResults{};
inline constexpr DocViewKind kDocViewSynastryResults{};
inline constexpr DocViewKind kDocViewStatistics{};
inline constexpr DocViewKind kDocViewInterpretationText{};
