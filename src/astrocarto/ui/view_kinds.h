// The view kinds of astrocartography: their template numbers (fixed by the views that open them
// by number) and the open counters the chart document keeps for them.
#pragma once

#include <memory>

#include "document/doc_view_kind.h"

class ACLines;

inline constexpr int kTemplateAstroCart = 19;  // CAstroCartView
inline constexpr int kTemplateTownList = 21;   // CACLinesView
inline constexpr int kTemplateParan = 25;      // CParanView

inline constexpr DocViewKind kDocViewMap{};
inline constexpr DocViewKind kDocViewTownList{};
inline constexpr DocViewKind kDocViewParan{};

// The planetary lines of a document's open map view, for the paran table and the town lists,
// which copy what they need; expired once the map view has gone.
struct MapViewLines {
  std::weak_ptr<const ACLines> lines;
};
