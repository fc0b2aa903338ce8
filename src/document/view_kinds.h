// The template number of the main chart view, the document's own view. Every other view kind
// belongs to the part that registers it: its template number and open counter are declared in
// that part's ui folder (view_kinds.h) and registered in its registration function. The numbers
// 10, 11, 19, 21 and 25 are fixed by the views that open their templates by number.
#pragma once

inline constexpr int kMainChartTemplate = 0;  // CKovraView
