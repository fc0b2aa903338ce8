// The view kinds of the archive: their template numbers and the open counters the chart document
// keeps for them.
#pragma once

#include "document/doc_view_kind.h"

class CCommentView;

inline constexpr int kTemplateComment = 15;       // CCommentView
inline constexpr int kTemplateArchivePrint = 34;  // CArchivePrint

inline constexpr DocViewKind kDocViewComment{};
inline constexpr DocViewKind kDocViewArchivePrint{};

// A document's open comment view (set by the view, cleared when it goes): its text is stored in
// the page file before the chart's pages are looked at.
struct OpenCommentView {
  CCommentView* view = nullptr;
};
