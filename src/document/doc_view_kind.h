// A kind of view whose open windows the chart document counts (a command disabled while one is
// open, a view that wants to know whether another is there). The part that owns the views declares
// each kind once, in its ui folder, as an inline constexpr object:
//   inline constexpr DocViewKind kDocViewMap{};
// and the document keys its counter by that object, so no central list names the kinds and two
// parts cannot share a counter by accident. A kind cannot be copied: a copy would be another kind.
#pragma once

class DocViewKind {
 public:
  constexpr DocViewKind() = default;
  DocViewKind(const DocViewKind&) = delete;
  DocViewKind& operator=(const DocViewKind&) = delete;
};
